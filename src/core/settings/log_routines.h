#pragma once
// The log lines that unattended runs and auto-answer sessions leave behind:
// one line, the message, a blank and the date and time in the system's short
// date and long time format, in "TLLOG.TXT" or "CSVLOG.TXT" of the program
// directory. These routines only write the line; ending the program (and
// hanging up a modem after FatalLogAndExit) is the caller's job.

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace tamble {

inline constexpr const char* kTlLogFileName = "TLLOG.TXT";
inline constexpr const char* kCsvLogFileName = "CSVLOG.TXT";

struct LogWrite {
    QString line;        // the text written, without the line end
    bool written = false; // false: the file could not be opened or written
};

// message + " " + short date + " " + long time, in `locale`.
QString FormatLogLine(const QString& message, const QDateTime& when,
                      const QLocale& locale = QLocale::system());

// "TLLOG.TXT": appended to, or created.
LogWrite AppendLogLine(const QString& programDir, const QString& message,
                       const QDateTime& when = QDateTime::currentDateTime());

// "TLLOG.TXT" created anew: afterwards it holds this one line.
LogWrite FatalLogAndExit(const QString& programDir, const QString& message,
                         const QDateTime& when = QDateTime::currentDateTime());

// "CSVLOG.TXT": appended to, or created.
LogWrite CsvLogAndExit(const QString& programDir, const QString& message,
                       const QDateTime& when = QDateTime::currentDateTime());

} // namespace tamble
