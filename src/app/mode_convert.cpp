// Placeholder until the export is wired in.
#include "app/startup_log.h"
#include "app/unattended.h"

namespace tamble {

int RunConvertMode(AppRecords& records, const QString& /*dataFile*/)
{
    return EndWithLog(LogRoutine::Csv, records.programDir,
                      QStringLiteral("Convert mode is not available in this build"), kExitFailure);
}

} // namespace tamble
