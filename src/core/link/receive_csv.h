#pragma once
// The receive-csv mode: one line of current readings appended to a CSV file
// after a status read, then the program ends with "Data written to " + file.

#include "format/logger_info.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <array>

namespace tamble {

struct ChannelScaling;

// The list separator of a locale: ";" where the decimal separator is a comma
// (a comma would split the numbers), otherwise ",".
QChar ListSeparator(const QLocale& locale);

// The present date and time in the locale's short date and long time format.
QString ShortDateLongTime(const QDateTime& when, const QLocale& locale);

// The date and time, then for each channel that is on the separator and its
// value text.
QString ReceiveCsvLine(const QString& dateTime, QChar separator, const LoggerInfo& info,
                       const std::array<QString, 4>& valueTexts);

// The line for the last status: current value texts of the channels that
// are on, after the present date and time, in `locale`.
QString BuildReceiveCsvLine(const LoggerInfo& info, const ChannelScaling& scaling, bool fahrenheit,
                            int humidityQuantity, const QDateTime& now, const QLocale& locale);

// Appends `line` and a line end to `path`, creating the file when missing.
// False when the file cannot be opened or written.
bool AppendReceiveCsvLine(const QString& path, const QString& line);

// The log line the mode ends with.
QString ReceiveCsvDoneMessage(const QString& file);

} // namespace tamble
