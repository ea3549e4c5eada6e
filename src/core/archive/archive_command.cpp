#include "archive/archive_command.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QLocale>
#include <cmath>

namespace tamble {

namespace {

bool IsDataFileName(const QString& name)
{
    return name.endsWith(QLatin1String(".tl1"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".tl2"), Qt::CaseInsensitive);
}

QByteArray NumberText(double v)
{
    return QByteArray::number(v, 'g', QLocale::FloatingPointShortest);
}

QByteArray JsonString(const QString& text)
{
    // A one-element array serialises the string with JSON's escapes; strip the brackets.
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

} // namespace

ArchiveCommand ParseArchiveCommand(const QStringList& params, const QString& currentDir)
{
    ArchiveCommand c;
    const QString option = params.value(0);
    c.kind = option == QLatin1String("--archive-import")    ? ArchiveCommandKind::Import
             : option == QLatin1String("--archive-loggers") ? ArchiveCommandKind::Loggers
                                                             : ArchiveCommandKind::Query;
    const auto fail = [&](const QString& why) {
        c.error = why;
        return c;
    };
    for (qsizetype i = 1; i < params.size(); ++i) {
        const QString& p = params[i];
        const bool hasValue = i + 1 < params.size();
        if (c.kind == ArchiveCommandKind::Import) {
            c.paths << QDir::cleanPath(QDir(currentDir).absoluteFilePath(p));
            continue;
        }
        if (p == QLatin1String("--format")) {
            const QString f = hasValue ? params[++i] : QString();
            if (f == QLatin1String("csv"))
                c.format = ArchiveOutputFormat::Csv;
            else if (f == QLatin1String("json"))
                c.format = ArchiveOutputFormat::Json;
            else
                return fail(QStringLiteral("--format needs csv or json"));
            continue;
        }
        if (c.kind == ArchiveCommandKind::Query && p == QLatin1String("--logger")) {
            if (!hasValue)
                return fail(QStringLiteral("--logger needs a text"));
            c.query.logger = params[++i];
            continue;
        }
        if (c.kind == ArchiveCommandKind::Query && (p == QLatin1String("--from") || p == QLatin1String("--to"))) {
            std::int64_t t = 0;
            if (!hasValue || !ParseArchiveTimeText(params[i + 1], t))
                return fail(p + QStringLiteral(" needs a time such as 2024-03-04T08:00:00"));
            (p == QLatin1String("--from") ? c.query.from : c.query.to) = t;
            ++i;
            continue;
        }
        return fail(QStringLiteral("unknown option ") + p);
    }
    if (c.kind == ArchiveCommandKind::Import && c.paths.isEmpty())
        return fail(QStringLiteral("--archive-import needs a file or folder"));
    if (c.query.from && c.query.to && *c.query.from > *c.query.to)
        return fail(QStringLiteral("--from is after --to"));
    return c;
}

QStringList ArchiveImportFiles(const QStringList& paths)
{
    QStringList files;
    for (const QString& path : paths) {
        if (!QFileInfo(path).isDir()) {
            files << path;
            continue;
        }
        QStringList found;
        QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (IsDataFileName(file))
                found << file;
        }
        found.sort();
        QStringList firstHalves;
        for (const QString& file : found) {
            if (file.endsWith(QLatin1String(".tl1"), Qt::CaseInsensitive))
                firstHalves << file.left(file.size() - 4).toLower();
        }
        for (const QString& file : found) {
            const bool secondHalf = file.endsWith(QLatin1String(".tl2"), Qt::CaseInsensitive) &&
                                    firstHalves.contains(file.left(file.size() - 4).toLower());
            if (!secondHalf)
                files << file;
        }
    }
    return files;
}

QByteArray CsvField(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') && !bytes.contains('\r'))
        return bytes;
    bytes.replace("\"", "\"\"");
    return '"' + bytes + '"';
}

QByteArray ArchiveReadingWriter::begin() const
{
    return m_format == ArchiveOutputFormat::Csv ? QByteArray("logger,time,channel,label,unit,value\n") : QByteArray("[");
}

const QByteArray& ArchiveReadingWriter::encodedLogger(const QString& logger)
{
    if (m_logger.bytes.isEmpty() || m_logger.logger != logger) {
        m_logger.logger = logger;
        m_logger.bytes = m_format == ArchiveOutputFormat::Csv ? CsvField(logger) + ','
                                                              : "{\"logger\":" + JsonString(logger) + ",\"time\":\"";
    }
    return m_logger.bytes;
}

const QByteArray& ArchiveReadingWriter::encodedChannel(const ArchiveReadingRow& r)
{
    Encoded& e = m_channel[r.channel >= 1 && r.channel <= 4 ? r.channel : 0];
    if (e.bytes.isEmpty() || e.label != r.label || e.unit != r.unit) {
        e.label = r.label;
        e.unit = r.unit;
        e.bytes = m_format == ArchiveOutputFormat::Csv
                      ? ',' + QByteArray::number(r.channel) + ',' + CsvField(r.label) + ',' + CsvField(r.unit) + ','
                      : "\",\"channel\":" + QByteArray::number(r.channel) + ",\"label\":" + JsonString(r.label) +
                            ",\"unit\":" + JsonString(r.unit) + ",\"value\":";
    }
    return e.bytes;
}

void ArchiveReadingWriter::row(const ArchiveReadingRow& r, QByteArray& out)
{
    const bool number = r.value && std::isfinite(*r.value);
    if (m_format == ArchiveOutputFormat::Json)
        out += m_first ? "\n" : ",\n";
    m_first = false;
    out += encodedLogger(r.logger);
    AppendArchiveTime(out, r.time);
    out += encodedChannel(r);
    if (number)
        out += NumberText(*r.value);
    else if (m_format == ArchiveOutputFormat::Json)
        out += "null";
    out += m_format == ArchiveOutputFormat::Csv ? '\n' : '}';
}

QByteArray ArchiveReadingWriter::row(const ArchiveReadingRow& r)
{
    QByteArray out;
    row(r, out);
    return out;
}

QByteArray ArchiveReadingWriter::end() const
{
    return m_format == ArchiveOutputFormat::Csv ? QByteArray() : QByteArray(m_first ? "]\n" : "\n]\n");
}

QByteArray FormatArchiveLoggers(const std::vector<ArchiveLoggerRow>& rows, ArchiveOutputFormat format)
{
    const auto timeOrEmpty = [](const ArchiveLoggerRow& r, std::int64_t t) {
        return r.readings ? ArchiveTimeText(t) : QString();
    };
    QByteArray out;
    if (format == ArchiveOutputFormat::Csv) {
        out = "logger,model,station,downloads,last_download,readings,first,last\n";
        for (const ArchiveLoggerRow& r : rows) {
            out += CsvField(r.logger.description) + ',' + CsvField(r.logger.model) + ',' +
                   QByteArray::number(r.logger.station) + ',' + QByteArray::number(r.downloads) + ',' +
                   r.lastDownload.toLatin1() + ',' + QByteArray::number(static_cast<qlonglong>(r.readings)) + ',' +
                   timeOrEmpty(r, r.firstTime).toLatin1() + ',' + timeOrEmpty(r, r.lastTime).toLatin1() + '\n';
        }
        return out;
    }
    out = "[";
    bool first = true;
    for (const ArchiveLoggerRow& r : rows) {
        out += first ? "\n" : ",\n";
        first = false;
        const auto stamp = [](const QString& t) { return t.isEmpty() ? QByteArray("null") : JsonString(t); };
        out += "{\"logger\":" + JsonString(r.logger.description) + ",\"model\":" + JsonString(r.logger.model) +
               ",\"station\":" + QByteArray::number(r.logger.station) + ",\"downloads\":" +
               QByteArray::number(r.downloads) + ",\"last_download\":" + stamp(r.lastDownload) +
               ",\"readings\":" + QByteArray::number(static_cast<qlonglong>(r.readings)) +
               ",\"first\":" + stamp(timeOrEmpty(r, r.firstTime)) + ",\"last\":" + stamp(timeOrEmpty(r, r.lastTime)) +
               '}';
    }
    out += first ? "]\n" : "\n]\n";
    return out;
}

} // namespace tamble
