#pragma once
// How an unattended run ends: its one log line goes to the log file of the
// routine and to standard output, and the caller returns the exit status.

#include "settings/command_line.h"

#include <QString>

namespace tamble {

// Exit statuses of unattended runs.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitCommandLineError = 2;

// Writes `message` with `routine` into `programDir`, prints the line on
// stdout and returns `status`. A log file that cannot be written turns a
// success into a failure (status 1) and is reported on stderr.
int EndWithLog(LogRoutine routine, const QString& programDir, const QString& message, int status);

} // namespace tamble
