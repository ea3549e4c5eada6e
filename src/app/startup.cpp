#include "app/startup.h"

#include "settings/log_routines.h"
#include "platform/startup_log.h"
#include "app/unattended.h"
#include "link/modem.h"
#include "program/startup_setup.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace tamble {

CommandLineResult StartUp(AppRecords& records, const QString& programDir, const QStringList& params)
{
    records.programDir = programDir;
    records.parameters = params;
    QDir::setCurrent(programDir);

    records.settings = LoadSettings(programDir);
    records.dataFileName = records.settings.lastDataFile;
    ApplyResolutionType(records.geometry, records.settings.resolutionType);

    if (params.isEmpty())
        return {};
    const QString p1 = params.value(0);
    const bool exists = !p1.isEmpty() && QFileInfo(p1).isFile();
    CommandLineResult result = ParseCommandLine(params, exists, records.settings);
    records.mode = result.mode;
    if (result.dataFileName)
        records.dataFileName = *result.dataFileName;
    return result;
}

StartupSetupReport LoadStartupSetup(AppRecords& records, bool headless)
{
    StartupSetupReport report;
    const StartupSetupOutcome loaded = LoadSetupIntoRecords(records, QDateTime::currentDateTime());
    if (!loaded.message)
        return report;
    const QString text = loaded.message->text;
    switch (loaded.result) {
    case StartupSetupOutcome::Result::CommandLineFailed:
        // The final log entry of the run; no modem can be on line before the first session.
        report.endStatus = EndWithLog(LogRoutine::Fatal, records.programDir, text, kExitFailure);
        break;
    case StartupSetupOutcome::Result::AutoAnswerFailed:
    case StartupSetupOutcome::Result::DefaultLoaded:
        if (headless) {
            AppendLogLine(records.programDir, text);
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        } else {
            report.warning = text;
        }
        break;
    case StartupSetupOutcome::Result::Loaded:
        break;
    }
    return report;
}

int RunDeferredAction(AppRecords& records)
{
    CommandLineMode& mode = records.mode;
    if (mode.started)
        return kExitSuccess;
    mode.started = true;
    const QString p1 = records.parameters.value(0);
    if (mode.hangup)
        return RunHangupMode(records);
    if (mode.receiveCsv) {
        mode.receive = true;
        records.dataFileName = p1;
        return RunReceiveCsvMode(records, p1);
    }
    if (mode.sendSetup)
        return RunSendSetupMode(records, records.settings.lastSetupFile);
    if (mode.receive) {
        records.dataFileName = p1;
        return RunReceiveMode(records, p1);
    }
    if (mode.convert) {
        records.dataFileName = p1;
        return RunConvertMode(records, p1);
    }
    return kExitSuccess;
}

} // namespace tamble
