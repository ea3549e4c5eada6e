// Export speed: CSV exports of a full 8-bit four-channel memory, a full
// 12-bit wrapped memory and a four-bank LX900-M recording (re-exported from
// its .TL2 file). Reports values written per second.
#include "datafiles/export.h"
#include "datafiles/tl1_loader.h"
#include "writer/tl1_writer.h"
#include "datafiles/tl2.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tamble;

namespace {

RecordingPlan Plan(int bits, int mask, char model, int perChannel, bool wrapped)
{
    RecordingPlan plan;
    Tl1Header& h = plan.header;
    int channels = 0;
    for (int c = 0; c < 4; ++c) {
        const bool on = (mask >> c) & 1;
        channels += on;
        h.typeCodes[static_cast<std::size_t>(c)] = on ? '3' : '0';
        h.scalingTexts[static_cast<std::size_t>(c)] = on ? "-40.00125.000" : "            ";
    }
    h.modelDigit = model;
    h.resolutionBits = bits;
    h.firstStamp = "Mon  2-Nov-2026  8:00:00";
    h.lastStamp = "Mon 30-Nov-2026  8:00:00";
    h.description = "Benchmark";
    h.clockStamp = "Mon 30-Nov-2026 08:00:00";
    h.pcClockText = "30/11/2026 08:00:02";
    h.rateCode = 'G';
    h.channelFlags = mask;
    const int top = bits == 8 ? 255 : bits == 10 ? 1023 : 4095;
    for (int i = 0; i < perChannel * channels; ++i)
        plan.readings.push_back(static_cast<std::uint16_t>((i * 7919) % (top + 1)));
    plan.wrapped = wrapped;
    if (wrapped) {
        plan.phase = 1;
        plan.endPointer = 9000;
    }
    return plan;
}

void RunExport(benchmark::State& state, const RecordingPlan& plan)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/bench.TL1";
    WriteTl1File(path, MakeRecording(plan));
    ExportSettings settings;
    DataSet data;
    data.dataFileName = path;
    Tl2BankWriter sink(settings);
    LoadOptions options;
    options.programDir = QStringLiteral(TAMBLE_SOURCE_DIR "/data/");
    options.bankSink = &sink;
    if (!LoadDataFile(data, options).ok) {
        state.SkipWithError("load failed");
        return;
    }
    ExportRequest request;
    request.path = dir.path() + "/bench.csv";
    qint64 values = 0;
    for (auto _ : state) {
        const ExportResult r = ExportData(data, request, settings);
        values += r.dataLines * data.channelCount();
    }
    state.counters["values/s"] = benchmark::Counter(static_cast<double>(values), benchmark::Counter::kIsRate);
}

void BM_ExportFull8Bit4Channels(benchmark::State& state)
{
    RunExport(state, Plan(8, 0x0F, '5', 8064, false));
}
void BM_ExportFull12BitWrapped(benchmark::State& state)
{
    RunExport(state, Plan(12, 0x03, '5', 10752, true));
}
void BM_ExportFourBankLX900M(benchmark::State& state)
{
    RunExport(state, Plan(8, 0x0F, '6', 4 * 8064 - 100, false));
}

} // namespace

BENCHMARK(BM_ExportFull8Bit4Channels)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportFull12BitWrapped)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportFourBankLX900M)->Unit(benchmark::kMillisecond);
