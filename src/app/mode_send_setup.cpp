// Placeholder until setup sending is wired in.
#include "app/startup_log.h"
#include "app/unattended.h"

namespace tamble {

int RunSendSetupMode(AppRecords& records, const QString& /*setupFile*/)
{
    return EndWithLog(LogRoutine::Fatal, records.programDir,
                      QStringLiteral("Send setup mode is not available in this build"), kExitFailure);
}

} // namespace tamble
