#include "program/startup_setup.h"

namespace tamble {

StartupSetupOutcome LoadSetupIntoRecords(AppRecords& records, const QDateTime& now)
{
    // No logger call can be in progress this early, so only a send-setup run
    // ends on a missing file.
    const SetupStartupContext context =
        records.mode.sendSetup ? SetupStartupContext::CommandLineSendSetup : SetupStartupContext::Interactive;
    StartupSetupOutcome loaded = StartupLoadSetup(records.programDir, records.settings.lastSetupFile, context, now,
                                                  records.setup, records.savedSetupCopy);
    for (int channel = 1; channel <= 4; ++channel)
        records.loggerInfo.scalingCodes[static_cast<std::size_t>(channel - 1)] = records.setup.scalingCode(channel);
    return loaded;
}

} // namespace tamble
