// Convert mode: one existing ".TL1" parameter is loaded without any window and
// exported as CSV (all points, no note) beside it; the log line stays in the program directory.
#include "program/export_wiring.h"
#include "platform/startup_log.h"
#include "app/unattended.h"
#include "datafiles/tl2.h"

#include <QDir>
#include <QFileInfo>

namespace tamble {

int RunConvertMode(AppRecords& records, const QString& dataFile)
{
    records.dataFileName = dataFile;
    const QString csvName = AutoExportName(dataFile);
    const ExportSettings exportSettings = ExportSettingsFrom(records.settings, records.programDir);

    // The export header names the data file by its full path.
    DataSet& data = records.dataSet;
    data.dataFileName = QFileInfo(QDir(records.programDir), dataFile).absoluteFilePath();
    Tl2BankWriter bankWriter(exportSettings);
    const LoadResult loaded = LoadDataFile(data, LoadOptionsFrom(records.settings, records.programDir, &bankWriter));
    if (!loaded.ok || !bankWriter.ok()) {
        // The graph would have shown the reason; unattended, it is the log line.
        QString why = !loaded.message.isEmpty() ? loaded.message : bankWriter.message();
        if (why.isEmpty())
            why = QStringLiteral("Unable to load ") + dataFile;
        return EndWithLog(LogRoutine::Csv, records.programDir, why, kExitFailure);
    }
    records.settings.lastDataFile = data.dataFileName;

    ExportRequest request;
    request.path = QFileInfo(data.dataFileName).dir().filePath(csvName);
    request.csv = true;
    request.averaging = 1;
    const ExportResult exported = ExportData(data, request, exportSettings);
    if (!exported.ok)
        return EndWithLog(LogRoutine::Csv, records.programDir, exported.message, kExitFailure);
    return EndWithLog(LogRoutine::Csv, records.programDir, QStringLiteral("File written: ") + csvName, kExitSuccess);
}

} // namespace tamble
