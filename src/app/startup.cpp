#include "app/startup.h"

#include "app/startup_log.h"
#include "app/unattended.h"

#include <QDir>
#include <QFileInfo>

namespace tamble {

CommandLineResult StartUp(AppRecords& records, const QString& programDir, const QStringList& params)
{
    records.programDir = programDir;
    records.parameters = params;
    QDir::setCurrent(programDir);

    records.settings = LoadSettings(programDir);
    records.dataFileName = records.settings.lastDataFile;
    ApplyResolutionType(records.geometry, records.settings.resolutionType);
    // The status copy starts with the scaling of the setup held at this moment.
    for (int channel = 1; channel <= 4; ++channel)
        records.loggerInfo.scalingCodes[static_cast<std::size_t>(channel - 1)] = records.setup.scalingCode(channel);

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

void CloseProgram(AppRecords& records)
{
    if (records.settings.baud > 19200 && !records.settings.fastProtocol)
        records.settings.fastProtocol = true;
    SaveSettings(records.programDir, records.settings);
}

} // namespace tamble
