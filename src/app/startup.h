#pragma once
// Start-up and closing of the program, apart from the windows.

#include "app/app_records.h"

#include <QString>
#include <QStringList>

namespace tamble {

// The start-up steps that need no window, in order: the records take their
// start values, `programDir` becomes the current directory, the settings file
// is read, the data file name and memory geometry follow from it, and the
// command line `params` is parsed into records.mode (parameter 1 is looked up
// relative to the program directory).
CommandLineResult StartUp(AppRecords& records, const QString& programDir, const QStringList& params);

// Runs the action an unattended command line asked for (records.mode), once,
// and returns the exit status. Needs a QCoreApplication.
int RunDeferredAction(AppRecords& records);

// Closing the main window: the fast protocol is forced on for speeds only it
// supports, and the settings file is written.
void CloseProgram(AppRecords& records);

} // namespace tamble
