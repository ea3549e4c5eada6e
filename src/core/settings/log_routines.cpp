#include "settings/log_routines.h"

#include <QDir>
#include <QFile>

namespace tamble {

namespace {

LogWrite writeLine(const QString& programDir, const char* fileName, const QString& message,
                   const QDateTime& when, QIODevice::OpenMode mode)
{
    LogWrite result;
    result.line = FormatLogLine(message, when);
    QFile file(QDir(programDir).filePath(QString::fromLatin1(fileName)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text | mode))
        return result;
    const QByteArray bytes = result.line.toUtf8() + '\n';
    result.written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    return result;
}

} // namespace

QString FormatLogLine(const QString& message, const QDateTime& when, const QLocale& locale)
{
    // One format string, so a time-zone field names the zone of `when`.
    const QString format = locale.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.timeFormat(QLocale::LongFormat);
    return message + QLatin1Char(' ') + locale.toString(when, format);
}

LogWrite AppendLogLine(const QString& programDir, const QString& message, const QDateTime& when)
{
    return writeLine(programDir, kTlLogFileName, message, when, QIODevice::Append);
}

LogWrite FatalLogAndExit(const QString& programDir, const QString& message, const QDateTime& when)
{
    return writeLine(programDir, kTlLogFileName, message, when, QIODevice::Truncate);
}

LogWrite CsvLogAndExit(const QString& programDir, const QString& message, const QDateTime& when)
{
    return writeLine(programDir, kCsvLogFileName, message, when, QIODevice::Append);
}

} // namespace tamble
