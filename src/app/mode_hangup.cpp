// Placeholder until the modem hang-up sequence is wired in.
#include "app/startup_log.h"
#include "app/unattended.h"

namespace tamble {

int RunHangupMode(AppRecords& records)
{
    return EndWithLog(LogRoutine::Fatal, records.programDir,
                      QStringLiteral("Hang up mode is not available in this build"), kExitFailure);
}

} // namespace tamble
