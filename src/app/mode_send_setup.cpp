// Parameter 2 "s": send the setup file named by the settings' last setup file
// to the logger, unattended, and end with one log line.

#include "platform/session_runner.h"
#include "platform/startup_log.h"
#include "app/unattended.h"
#include "program/dialler_wiring.h"
#include "link/setup_sender.h"
#include "setup/setup_file.h"

namespace tamble {

int RunSendSetupMode(AppRecords& records, const QString& /*setupFile*/)
{
    SetupRecord savedCopy;
    const StartupSetupOutcome loaded =
        StartupLoadSetup(records.programDir, records.settings.lastSetupFile, SetupStartupContext::CommandLineSendSetup,
                         QDateTime::currentDateTime(), records.setup, savedCopy);
    if (loaded.result != StartupSetupOutcome::Result::Loaded) {
        const QString text =
            loaded.message ? loaded.message->text : SetupFileNotFoundText(records.settings.lastSetupFile);
        return EndWithLog(LogRoutine::Fatal, records.programDir, text, kExitFailure);
    }
    PrepareSetupForSending(records.setup);
    records.session.scalingOnly = false;

    // An unattended run asks nothing: only a setup the logger must never get is refused here.
    const SetupFields fields = FieldsOf(records.setup);
    const bool passed = PresetStartPassed(fields.startChoice(), fields.schedule,
                                          CivilMomentOf(QDateTime::currentDateTime()));
    const SetupCheckPlan plan = PlanSetupChecks(fields, false, true, passed);
    if (plan.refusal)
        return EndWithLog(LogRoutine::Fatal, records.programDir, *plan.refusal, kExitFailure);

    UnattendedSessionRunner runner(records);
    ModemDialler dialler;
    InstallDialler(runner.engine(), records, dialler);
    SetupSender sender(records.setup);
    runner.engine().setTransactionHandler(TransactionKind::SendSetup, &sender);
    runner.startUnattended(TransactionKind::SendSetup);
    return RunToOutcome(runner);
}

} // namespace tamble
