// Placeholder until the download and status sessions are wired in.
#include "app/startup_log.h"
#include "app/unattended.h"

namespace tamble {

int RunReceiveMode(AppRecords& records, const QString& /*dataFile*/)
{
    return EndWithLog(LogRoutine::Fatal, records.programDir,
                      QStringLiteral("Receive mode is not available in this build"), kExitFailure);
}

int RunReceiveCsvMode(AppRecords& records, const QString& /*csvFile*/)
{
    return EndWithLog(LogRoutine::Fatal, records.programDir,
                      QStringLiteral("Receive to CSV mode is not available in this build"), kExitFailure);
}

} // namespace tamble
