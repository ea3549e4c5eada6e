#pragma once
// The command line: up to four positional parameters that select an unattended
// mode (send a setup, receive a logger, append readings to a CSV file, convert
// a data file, hang up a modem) or a graph to open after start.
//
// Parsing is a pure function: it is told whether parameter 1 names an existing
// file and changes only the settings record it is given.

#include "settings/settings_record.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace tamble {

// Independent flags, all false at start.
struct CommandLineMode {
    bool sendSetup = false;   // "s": send the setup file of parameter 1, then end
    bool receive = false;     // "r" with a ".TL1" file: download into it, then end
    bool receiveCsv = false;  // "r" with a ".CSV" file: append current readings, then end
    bool convert = false;     // one existing ".TL1" file: export it as CSV, then end
    bool openGraph = false;   // show the graph of the named data file after start
    bool openSetup = false;   // show the setup window with the named ".SET" file after start
    bool hangup = false;      // "h": hang up a modem at once, then end
    bool started = false;     // the deferred action has begun (it runs once)

    // True when the run is unattended: it ends by itself with a log line.
    bool unattended() const { return sendSetup || receive || receiveCsv || convert || hangup; }

    bool operator==(const CommandLineMode&) const = default;
};

// A file handed to "--open" (a desktop launch) that is a setup file: it opens in the setup window.
bool IsSetupFileToOpen(const QStringList& openParameters);

// Which log routine reports a command-line error.
enum class LogRoutine {
    None,
    Append,  // AppendLogLine: "TLLOG.TXT", append
    Fatal,   // FatalLogAndExit: "TLLOG.TXT", recreated
    Csv,     // CsvLogAndExit: "CSVLOG.TXT", append
};

struct CommandLineResult {
    CommandLineMode mode;
    // Set when the command line is in error: write `message` with `routine`
    // and end the program (exit status 2). Nothing else then runs and the
    // settings are not saved.
    LogRoutine routine = LogRoutine::None;
    QString message;
    // The new current data file name, when the command line names one.
    std::optional<QString> dataFileName;

    bool failed() const { return routine != LogRoutine::None; }
};

// A command line that cannot be acted on: "Invalid command line; " + why.
QString InvalidCommandLineText(const QString& why);

// Upper-cased extension of the last path component, with its dot (".TL1"),
// or empty when the name has none.
QString UpperExtension(const QString& path);

// `params` are the parameters after the program name (parameter 1 first).
// Parameters 3 and 4 change `settings` in memory (4 first, then 3); "s" stores
// parameter 1 as the last setup file; the open-graph case stores it as the last
// data file. On an error the settings may already hold parameters 3 and 4, but
// the caller does not save them on that path.
CommandLineResult ParseCommandLine(const QStringList& params, bool parameter1Exists,
                                   SettingsRecord& settings);

// What the first parameter asks for, before any mode is parsed.
enum class CommandLineRequest {
    Modes,          // no parameters, or positional ones: ParseCommandLine
    Service,        // a headless option (--auto-answer, --program-station, ...)
    Help,           // "--help" or "-h": print UsageText, exit 0
    Version,        // "--version": print VersionText, exit 0
    Open,           // "--open [FILE]" (desktop launches): OpenParameters gives the positional form
    Analysis,       // "--summary" or "--report": statistics of data files, headless
    Archive,        // "--archive-import", "--archive-query", "--archive-loggers": the archive, headless
    UnknownOption,  // another "--" word: UsageHint on stderr, exit status 2, whatever follows
};

// The headless options that may stand first: "--auto-answer", "--program-station",
// "--set-logger-baud", "--com-test", "--configure-remote-modem".
bool IsServiceOption(const QString& parameter);

CommandLineRequest ClassifyCommandLine(const QStringList& params);

// "--open FILE" as positional parameters: FILE (made absolute against `currentDir`, the folder the
// program was started in) and the mode word "open", which shows its graph after start and never
// converts it; "--open" alone is a plain interactive start (no parameters).
QStringList OpenParameters(const QStringList& params, const QString& currentDir);

// The text of --help: the positional forms, parameters 3 and 4, the options, the exit statuses,
// where files are looked up and written.
QString UsageText(const QString& program);

// "tamble-logger 0.1.0".
QString VersionText(const QString& program, const QString& version);

// One line for stderr after an unknown option.
QString UsageHint(const QString& program, const QString& option);

} // namespace tamble
