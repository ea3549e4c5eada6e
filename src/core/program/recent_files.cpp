#include "program/recent_files.h"

#include "datafiles/bank_file.h"

#include "datafiles/dataset.h"
#include "format/logger_info.h"
#include "graph/graph_rules.h"
#include "util/file_write.h"

#include <QFile>
#include <QFileInfo>

namespace tamble {

namespace {

// Tabs and line ends would split the line.
QString OneField(QString text)
{
    for (QChar& c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return text.trimmed();
}

} // namespace

QString RecentFiles::toText(const std::vector<RecentFile>& entries)
{
    QString text;
    for (const RecentFile& f : entries)
        text += OneField(f.path) + QLatin1Char('\t') + OneField(f.description) + QLatin1Char('\t') +
                OneField(f.period) + QLatin1Char('\n');
    return text;
}

std::vector<RecentFile> RecentFiles::fromText(const QString& text)
{
    std::vector<RecentFile> entries;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        const QString path = fields.value(0).trimmed();
        if (path.isEmpty())
            continue;
        bool listed = false;
        for (const RecentFile& f : entries)
            listed = listed || f.path == path;
        if (listed)
            continue;
        entries.push_back({path, fields.value(1).trimmed(), fields.value(2).trimmed(), true});
        if (static_cast<int>(entries.size()) == kMax)
            break;
    }
    return entries;
}

void RecentFiles::load()
{
    QFile file(m_dir + QLatin1String(kRecentFilesName));
    m_entries.clear();
    if (!file.open(QIODevice::ReadOnly))
        return;
    m_entries = fromText(QString::fromUtf8(file.read(64 * 1024)));
    for (RecentFile& f : m_entries)
        f.exists = QFileInfo::exists(f.path);
}

bool RecentFiles::save() const
{
    return WriteFileReplacing(m_dir + QLatin1String(kRecentFilesName), toText(m_entries).toUtf8());
}

void RecentFiles::add(const QString& path, const QString& description, const QString& period)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    std::erase_if(m_entries, [&full](const RecentFile& f) { return f.path == full; });
    m_entries.insert(m_entries.begin(), {full, OneField(description), OneField(period), QFileInfo::exists(full)});
    if (static_cast<int>(m_entries.size()) > kMax)
        m_entries.resize(kMax);
}

void RecentFiles::addDownload(const QString& dataFile, const LoggerInfo& info)
{
    add(dataFile, QString::fromLatin1(info.description), info.firstReadingStamp + QStringLiteral(" – ") + info.lastReadingStamp);
}

void RecentFiles::addGraphed(const DataSet& data)
{
    const QString tl1 = data.multiBank ? DataFileNameFor(data.dataFileName) : data.dataFileName;
    add(QFileInfo::exists(tl1) ? tl1 : data.dataFileName, QString::fromLatin1(data.description),
        QString::fromLatin1(data.firstStamp.trimmed()) + QStringLiteral(" – ") + QString::fromLatin1(data.lastStamp.trimmed()));
}

} // namespace tamble
