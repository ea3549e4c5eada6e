#pragma once
// The unattended command-line modes. Each runs headless under a
// QCoreApplication, never waits on a dialog, reports its outcome with the log
// routine its mode uses (EndWithLog, startup_log.h) and returns the process
// exit status: 0 on success, 1 on any failure.

#include "analysis/summary.h"
#include "program/app_records.h"
#include "platform/session_runner.h"

#include <QCoreApplication>
#include <QString>
#include <functional>
#include <vector>

namespace tamble {

// Parameter 2 "r" with a ".TL1" file: download the logger into `dataFile`.
int RunReceiveMode(AppRecords& records, const QString& dataFile);

// Parameter 2 "r" with a ".CSV" file: append the logger's current readings to `csvFile`.
int RunReceiveCsvMode(AppRecords& records, const QString& csvFile);

// Parameter 2 "s": send the setup file named by the settings' last setup file.
int RunSendSetupMode(AppRecords& records, const QString& setupFile);

// One existing ".TL1" parameter: export `dataFile` as CSV into a file beside it.
int RunConvertMode(AppRecords& records, const QString& dataFile);

// Writes the report PDF of `recordings`; the error text, empty when written.
using ReportWriter = std::function<QString(const QString& path, const std::vector<RecordingSeries>& recordings,
                                           const Summary& summary)>;

// "--summary ..." or "--report OUT.pdf ...": relative names from `currentDir`, sensor tables from
// `programDir`. Exit status 0, 1 (a file could not be read or written) or 2 (the command line).
int RunAnalysisCommand(const QStringList& params, const QString& currentDir, const QString& programDir,
                       const ReportWriter& writeReport);

// "--archive-import PATH...", "--archive-query ..." or "--archive-loggers ...": relative paths from
// `currentDir`. Exit status 0, 1 (the archive or a file failed) or 2 (the command line).
int RunArchiveCommand(const QStringList& params, const QString& currentDir, const QString& programDir);

// Parameter 2 "h": hang up a modem on the session port.
int RunHangupMode(AppRecords& records);

// The program's event loop, until a run that `runner` started unattended has its outcome.
inline int RunToOutcome(SessionRunner& runner)
{
    return runner.done() ? runner.exitCode() : QCoreApplication::exec();
}

} // namespace tamble
