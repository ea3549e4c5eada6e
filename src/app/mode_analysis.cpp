// The analysis for scripts: --summary prints the statistics and excursions of data files to
// stdout, --report writes them as a PDF. Headless; one line on stderr says what was done or why not.
#include "app/unattended.h"

#include "analysis/analysis_command.h"
#include "platform/startup_log.h"
#include "program/recording_series.h"

#include <cstdio>

namespace tamble {

namespace {

void PrintError(const QString& line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

} // namespace

int RunAnalysisCommand(const QStringList& params, const QString& currentDir, const QString& programDir,
                       const ReportWriter& writeReport)
{
    const AnalysisCommand command = ParseAnalysisCommand(params, currentDir);
    if (!command.error.isEmpty()) {
        PrintError(command.error);
        return kExitCommandLineError;
    }
    // Values in the units the CSV export uses by default.
    const SettingsRecord units;
    std::vector<RecordingSeries> recordings;
    for (const QString& file : command.files) {
        SeriesResult loaded = LoadRecordingSeries(file, units, programDir);
        if (!loaded.series) {
            PrintError(loaded.message);
            return kExitFailure;
        }
        recordings.push_back(std::move(*loaded.series));
    }
    const Summary summary = Summarise(recordings, command.from, command.to, command.limits);
    if (command.report) {
        if (const QString error = writeReport ? writeReport(command.reportPath, recordings, summary)
                                              : QStringLiteral("No report writer");
            !error.isEmpty()) {
            PrintError(error);
            return kExitFailure;
        }
        PrintError(QStringLiteral("File written: ") + command.reportPath);
        return kExitSuccess;
    }
    const QByteArray out = FormatSummary(summary, command.format);
    std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
    std::fflush(stdout);
    PrintError(QStringLiteral("Summary of %1 file(s), %2 channel(s)").arg(recordings.size()).arg(summary.rows.size()));
    return kExitSuccess;
}

} // namespace tamble
