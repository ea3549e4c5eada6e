#pragma once
// Start-up and closing of the program, apart from the windows.

#include "program/app_records.h"
#include "link/session_host.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace tamble {

// The start-up steps that need no window, in order: the records take their
// start values, `programDir` becomes the current directory, the settings file
// is read, the data file name and memory geometry follow from it, and the
// command line `params` is parsed into records.mode (a relative parameter 1 is
// looked up in the program directory: main() has made any name typed elsewhere
// absolute, see command_line_paths.h).
CommandLineResult StartUp(AppRecords& records, const QString& programDir, const QStringList& params);

// What the start-up load of the last setup file leaves for the caller.
struct StartupSetupReport {
    std::optional<QString> warning; // to show as a warning (OK) once the main window is up
    std::optional<int> endStatus;   // the run ends here: its log line is written, return this status
};

// The setup load of start-up (done when the setup window would be created,
// after the command line): the last setup file of the settings is read into
// records.setup and records.savedSetupCopy, and its four scaling codes become
// the scaling codes of the status copy in records.loggerInfo. A send-setup run
// whose file cannot be read ends here with its log line (status 1). When the
// default setup is loaded instead, a `headless` run appends the warning to
// "TLLOG.TXT" (and prints it on stderr); otherwise it is returned for showing.
// The hang-up mode and failed command lines end before this load.
StartupSetupReport LoadStartupSetup(AppRecords& records, bool headless);

// Runs the action an unattended command line asked for (records.mode), once,
// and returns the exit status. Needs a QCoreApplication.
int RunDeferredAction(AppRecords& records);


} // namespace tamble
