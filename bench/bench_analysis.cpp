// The analysis on a full memory: statistics with limits over a 4-bank 8-bit recording
// (129,024 readings), a cursor step with its read-out, the summary of banks4.TL1 as JSON.
#include "analysis/graph_analysis.h"
#include "analysis/summary.h"
#include "program/recording_series.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

using namespace tamble;

ChannelSeries FullMemory()
{
    ChannelSeries s;
    s.channel = 1;
    s.label = QStringLiteral("Tank");
    constexpr int kReadings = 129024;
    for (int i = 0; i < kReadings; ++i) {
        s.time.push_back(45355.0 + i / 1440.0);
        s.value.push_back(10 + 8 * std::sin(i / 500.0) + (i % 7) * 0.1);
    }
    return s;
}

void BM_StatisticsFullMemory(benchmark::State& state)
{
    const ChannelSeries s = FullMemory();
    const ChannelLimits limits{4.0, 16.0};
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeStatistics(s, 1 / 1440.0, -1e300, 1e300, limits));
}
BENCHMARK(BM_StatisticsFullMemory)->Unit(benchmark::kMillisecond);

void BM_CursorStepAndReadout(benchmark::State& state)
{
    std::vector<ChannelSeries> channels(4, FullMemory());
    std::vector<const ChannelSeries*> shown;
    for (const ChannelSeries& c : channels)
        shown.push_back(&c);
    GraphCursors cursors;
    cursors.set(CursorName::A, 45360.0, channels[0].time);
    cursors.set(CursorName::B, 45400.0, channels[0].time);
    int direction = 1;
    for (auto _ : state) {
        cursors.step(CursorName::B, direction, channels[0].time);
        direction = -direction;
        benchmark::DoNotOptimize(CursorReadoutText(shown, cursors, 2));
    }
}
BENCHMARK(BM_CursorStepAndReadout)->Unit(benchmark::kMicrosecond);

void BM_SummaryOfBanks4(benchmark::State& state)
{
    const SettingsRecord units;
    // The load writes the .TL2 beside the data file: a copy in a folder of its own.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("banks4.TL1"));
    QFile::copy(QStringLiteral(TAMBLE_SOURCE_DIR "/data/samples/banks4.TL1"), file);
    for (auto _ : state) {
        SeriesResult r = LoadRecordingSeries(file, units, QStringLiteral(TAMBLE_SOURCE_DIR "/data/"));
        if (!r.series) {
            state.SkipWithError(r.message.toStdString().c_str());
            return;
        }
        benchmark::DoNotOptimize(FormatSummary(Summarise({*r.series}, std::nullopt, std::nullopt, {}), SummaryFormat::Json));
    }
}
BENCHMARK(BM_SummaryOfBanks4)->Unit(benchmark::kMillisecond);

} // namespace
