#include "archive/archive_window_model.h"

#include "archive/archive_history.h"
#include "datafiles/dataset.h"
#include "util/file_write.h"

#include <QDir>
#include <QFileInfo>

namespace tamble {

namespace {

QString Count(std::int64_t n)
{
    return QString::number(n);
}

} // namespace

QString ArchiveShownTime(std::int64_t time)
{
    return ArchiveTimeText(time).replace(QLatin1Char('T'), QLatin1Char(' '));
}

QString ArchiveSourceText(ArchiveSource source)
{
    switch (source) {
    case ArchiveSource::Window: return QStringLiteral("Window");
    case ArchiveSource::Unattended: return QStringLiteral("Unattended");
    case ArchiveSource::AutoAnswer: return QStringLiteral("Auto answer");
    case ArchiveSource::Import: break;
    }
    return QStringLiteral("Import");
}

ArchiveWindowModel::ArchiveWindowModel(MessageService& messages) : m_messages(messages) {}

ArchiveWindowModel::~ArchiveWindowModel() = default;

void ArchiveWindowModel::fail(const QString& text)
{
    m_messages.ask({DialogKind::Error, text});
}

void ArchiveWindowModel::refresh(const ArchiveOpener& opener)
{
    // Row ids start at 1: 0 keeps nothing.
    const std::int64_t keptLogger = chosenLogger() ? chosenLogger()->id : 0;
    const std::int64_t keptDownload = m_download >= 0 ? m_downloads[static_cast<std::size_t>(m_download)].id : 0;
    m_store.reset();
    m_loggers.clear();
    m_downloads.clear();
    m_logger = -1;
    m_download = -1;
    if (!opener) {
        fail(QString::fromLatin1(kArchiveOffText));
        return;
    }
    QString error;
    m_store = opener(error);
    if (!m_store) {
        fail(error);
        return;
    }
    auto rows = m_store->loggers(error);
    if (!rows) {
        fail(error);
        m_store.reset();
        return;
    }
    m_loggers = std::move(*rows);
    for (std::size_t i = 0; i < m_loggers.size(); ++i) {
        if (keptLogger && m_loggers[i].id == keptLogger)
            chooseLogger(static_cast<int>(i));
    }
    if (m_logger < 0 && !m_loggers.empty())
        chooseLogger(0);
    for (std::size_t i = 0; i < m_downloads.size(); ++i) {
        if (keptDownload && m_downloads[i].id == keptDownload)
            chooseDownload(static_cast<int>(i));
    }
}

ArchiveTable ArchiveWindowModel::loggers() const
{
    ArchiveTable t;
    t.headings = {QStringLiteral("Description"), QStringLiteral("Model"), QStringLiteral("Station"),
                  QStringLiteral("Downloads"), QStringLiteral("Last download"), QStringLiteral("Readings stored")};
    t.numberColumns = {2, 3, 5};
    for (const ArchiveLoggerRow& r : m_loggers) {
        t.rows.push_back({r.logger.description, r.logger.model,
                          r.logger.station ? QString::number(r.logger.station) : QString(),
                          QString::number(r.downloads), QString(r.lastDownload).replace(QLatin1Char('T'), QLatin1Char(' ')),
                          Count(r.readings)});
    }
    return t;
}

ArchiveTable ArchiveWindowModel::downloads() const
{
    ArchiveTable t;
    t.headings = {QStringLiteral("Downloaded at"), QStringLiteral("Source"),          QStringLiteral("File"),
                  QStringLiteral("First reading"), QStringLiteral("Last reading"),    QStringLiteral("Readings in file"),
                  QStringLiteral("New readings")};
    t.numberColumns = {5, 6};
    for (const ArchiveDownloadRow& d : m_downloads) {
        t.rows.push_back({QString(d.downloadedAt).replace(QLatin1Char('T'), QLatin1Char(' ')), ArchiveSourceText(d.source),
                          QFileInfo(d.file).fileName(), ArchiveShownTime(d.firstTime), ArchiveShownTime(d.lastTime),
                          Count(d.readingCount), Count(d.newReadings)});
        t.tips.push_back(d.file);
    }
    return t;
}

const ArchiveLoggerRow* ArchiveWindowModel::chosenLogger() const
{
    return m_logger >= 0 && m_logger < static_cast<int>(m_loggers.size()) ? &m_loggers[static_cast<std::size_t>(m_logger)]
                                                                            : nullptr;
}

void ArchiveWindowModel::chooseLogger(int row)
{
    m_downloads.clear();
    m_download = -1;
    m_logger = row >= 0 && row < static_cast<int>(m_loggers.size()) ? row : -1;
    const ArchiveLoggerRow* logger = chosenLogger();
    if (!logger || !m_store)
        return;
    m_from = logger->firstTime;
    m_to = logger->lastTime;
    QString error;
    auto rows = m_store->downloads(logger->id, error);
    if (!rows) {
        fail(error);
        return;
    }
    m_downloads = std::move(*rows);
}

void ArchiveWindowModel::chooseDownload(int row)
{
    m_download = row >= 0 && row < static_cast<int>(m_downloads.size()) ? row : -1;
}

bool ArchiveWindowModel::periodEnabled() const
{
    const ArchiveLoggerRow* logger = chosenLogger();
    return logger && logger->readings > 0;
}

std::optional<QString> ArchiveWindowModel::graphFile()
{
    if (m_download < 0)
        return std::nullopt;
    const QString file = m_downloads[static_cast<std::size_t>(m_download)].file;
    if (!QFileInfo(file).isFile()) {
        fail(FileNotFoundText(file));
        return std::nullopt;
    }
    return file;
}

std::optional<QString> ArchiveWindowModel::historyFile()
{
    const ArchiveLoggerRow* logger = chosenLogger();
    if (!logger || !m_store || !periodEnabled())
        return std::nullopt;
    if (m_from > m_to) {
        fail(QStringLiteral("The period starts at %1, after its end at %2").arg(ArchiveShownTime(m_from), ArchiveShownTime(m_to)));
        return std::nullopt;
    }
    if (!m_folder)
        m_folder = std::make_unique<QTemporaryDir>();
    if (!m_folder->isValid()) {
        fail(QStringLiteral("No temporary folder for the history can be made: ") + m_folder->errorString());
        m_folder.reset();
        return std::nullopt;
    }
    const QString path = m_folder->filePath(ArchiveHistoryFileName(logger->logger.description, m_from, m_to));
    const ArchiveHistoryText history = BuildArchiveHistory(*m_store, *logger, m_downloads, m_from, m_to, path);
    if (!history.ok) {
        fail(history.message);
        return std::nullopt;
    }
    if (!WriteFileReplacing(path, history.text)) {
        fail(UnableToWriteText(path));
        return std::nullopt;
    }
    return path;
}

bool ArchiveWindowModel::isHistoryFile(const QString& path) const
{
    return m_folder && QFileInfo(path).absolutePath() == QDir(m_folder->path()).absolutePath();
}

} // namespace tamble
