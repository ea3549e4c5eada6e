#pragma once
// The command run after each call ("after_each_call_run" in "archive.ini"), and the log line
// that says how it went.
//
// The command text is split into words the way a shell splits quoted text: blanks separate
// words, 'single quotes' keep everything, in "double quotes" a backslash escapes only " \ $
// and `, and a backslash outside quotes keeps the next character. It never goes through a
// shell: there are no variables, wildcards, pipes or redirections. The first word is the
// program; three more arguments follow the command's own: the call's data file (an absolute
// path, or empty when the call left none), its outcome (the call's last log line) and the
// logger's description. The command runs in the program folder.

#include "archive/archive_target.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

namespace tamble {

// What the command is told of a call.
struct CallFacts {
    QString dataFile;     // as the session named it; empty when the call left no data file
    QString outcome;      // the call's last log line, without the date and time
    QString logger;       // the logger's description
};

struct CallHookCommand {
    QString program;
    QStringList arguments;
    QString workingDir;
    int timeLimitSeconds = 60;

    bool operator==(const CallHookCommand&) const = default;
};

struct CallHookPlan {
    std::optional<CallHookCommand> command;   // nothing to run when empty
    QString error;                            // the command text cannot be split: the log line
};

struct CommandWords {
    QStringList words;
    QString error;        // a quote is not closed: why; the words are then empty
};

// The words of `text` (see above).
CommandWords SplitCommandWords(const QString& text);

// The longest time limit a command gets, whatever the setting says: a day.
inline constexpr int kCallHookLongestLimitSeconds = 24 * 60 * 60;

// The command for one call: no command when the setting is empty or blank. Relative data
// files are taken from `programDir`; the description is trimmed.
CallHookPlan PlanCallHook(const ArchiveSettings& settings, const CallFacts& call, const QString& programDir);

// Keeps the first line of a command's output while the rest is read and dropped: it holds at
// most kHeldBytes bytes, however much the command writes.
class FirstLineCollector {
public:
    static constexpr qsizetype kHeldBytes = 4 * 1024;

    void feed(QByteArrayView bytes);
    // A line end was seen or the limit reached: what comes now is dropped.
    bool complete() const { return m_complete; }
    // The line for the log: control characters as blanks, trimmed, cut at kShownLength.
    QString line() const;
    static constexpr qsizetype kShownLength = 200;

private:
    QByteArray m_bytes;
    bool m_complete = false;
};

// The log lines; every one starts with kCallHookLogPrefix.
inline constexpr const char* kCallHookLogPrefix = "After-call command: ";

// "After-call command: exit 3: <first line>" (no ": ..." when it wrote nothing).
QString CallHookExitText(int exitCode, const QString& firstLine);
// "After-call command: stopped after 60 s": it ran out of time and was killed.
QString CallHookStoppedText(int seconds);
// "After-call command: cannot run <program>: <reason>".
QString CallHookCannotRunText(const QString& program, const QString& reason);
// "After-call command: crashed: <first line>": ended by a signal that was not the time limit's.
QString CallHookCrashedText(const QString& firstLine);
// "After-call command: cannot read <text>: <reason>": the setting could not be split.
QString CallHookUnreadableText(const QString& commandText, const QString& reason);

// Reasons for CallHookCannotRunText found before starting the program.
inline constexpr const char* kCallHookNotFoundReason = "not found";
inline constexpr const char* kCallHookNotExecutableReason = "not an executable file";

} // namespace tamble
