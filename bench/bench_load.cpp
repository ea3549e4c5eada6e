// Loading .TL1 files: a full 8-bit four-channel memory, a full wrapped 12-bit
// memory and a four-bank LX900-M recording, from disk and from memory.

#include "datafiles/dataset.h"
#include "datafiles/tl1_loader.h"
#include "writer/tl1_writer.h"
#include "datafiles/tl2.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

using namespace tamble;

namespace {

Tl1Header Header(int bits, int mask, char model, char code)
{
    Tl1Header h;
    h.modelDigit = model;
    h.resolutionBits = bits;
    for (int c = 0; c < 4; ++c) {
        const bool on = (mask >> c) & 1;
        h.typeCodes[static_cast<std::size_t>(c)] = on ? code : '0';
        h.scalingTexts[static_cast<std::size_t>(c)] = code == '3' ? "-40.00125.00" : "A           ";
        h.labels[static_cast<std::size_t>(c)] = "Probe";
    }
    h.firstStamp = "Mon  2-Mar-1998  0:00:00";
    h.lastStamp = "Wed 30-Sep-1998 12:00:00";
    h.description = "Cold room";
    h.clockStamp = "Thu  1-Oct-1998  9:00:00";
    h.pcClockText = "01/10/1998 09:00:02";
    h.amPm = false;
    h.statusByte1 = 0x02;
    h.rateCode = 'I';
    h.channelFlags = mask;
    return h;
}

std::vector<std::uint16_t> Daily(std::size_t count, int bits)
{
    const double top = bits == 8 ? 255 : bits == 10 ? 1023 : 4095;
    std::vector<std::uint16_t> r(count);
    for (std::size_t i = 0; i < count; ++i)
        r[i] = static_cast<std::uint16_t>(top * (0.5 + 0.3 * std::sin(static_cast<double>(i) * 0.0007)) + static_cast<double>(i % 7));
    return r;
}

QByteArray FullEightBitFourChannels(char code = '3')
{
    RecordingPlan plan;
    plan.header = Header(8, 0xF, '5', code);
    plan.readings = Daily(32256, 8);
    return FormatTl1(MakeRecording(plan));
}

QByteArray FullTwelveBitWrapped()
{
    RecordingPlan plan;
    plan.header = Header(12, 0x7, '5', '3');
    plan.wrapped = true;
    plan.phase = 1;
    plan.endPointer = 512 + 3 * 4000 + 1;
    plan.readings = Daily(21504, 12);
    return FormatTl1(MakeRecording(plan));
}

QByteArray FourBanks()
{
    RecordingPlan plan;
    plan.header = Header(12, 0xF, '6', '3');
    plan.readings = Daily(3 * 21504 + 4 * 3000, 12);
    return FormatTl1(MakeRecording(plan));
}

void LoadFromDisk(benchmark::State& state, const QByteArray& bytes, const char* dataDir = nullptr)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.TL1"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.close();
    auto data = std::make_unique<DataSet>();
    LoadOptions options;
    if (dataDir)
        options.programDir = QString::fromLatin1(dataDir);
    for (auto _ : state) {
        data->dataFileName = path;
        const LoadResult r = LoadDataFile(*data, options);
        if (!r.ok)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(data->rawPlanes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes.size());
}

// The whole multi-bank load as the graph runs it: the banks go into a .TL2 file.
void BM_LoadFourBankModemWritingBankFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.TL1"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    const QByteArray bytes = FourBanks();
    file.write(bytes);
    file.close();
    auto data = std::make_unique<DataSet>();
    for (auto _ : state) {
        Tl2BankWriter writer(ExportSettings{});
        LoadOptions options;
        options.bankSink = &writer;
        data->dataFileName = path;
        const LoadResult r = LoadDataFile(*data, options);
        if (!r.ok || !writer.ok())
            state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes.size());
}

void LoadFromMemory(benchmark::State& state, const QByteArray& bytes)
{
    auto data = std::make_unique<DataSet>();
    LoadOptions options;
    for (auto _ : state) {
        data->dataFileName = QStringLiteral("bench.TL1");
        const LoadResult r = LoadTl1FromBytes(*data, bytes, options);
        if (!r.ok)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(data->rawPlanes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes.size());
}

void BM_LoadFullEightBitFourChannels(benchmark::State& state) { LoadFromDisk(state, FullEightBitFourChannels()); }
void BM_LoadFullEightBitFourThermistors(benchmark::State& state)
{
    LoadFromDisk(state, FullEightBitFourChannels('A'), TAMBLE_SOURCE_DIR "/data/");
}
void BM_LoadFullTwelveBitWrapped(benchmark::State& state) { LoadFromDisk(state, FullTwelveBitWrapped()); }
void BM_LoadFourBankModem(benchmark::State& state) { LoadFromDisk(state, FourBanks()); }
void BM_DecodeFullEightBitFourChannelsInMemory(benchmark::State& state) { LoadFromMemory(state, FullEightBitFourChannels()); }
void BM_DecodeFullTwelveBitWrappedInMemory(benchmark::State& state) { LoadFromMemory(state, FullTwelveBitWrapped()); }

} // namespace

BENCHMARK(BM_LoadFullEightBitFourChannels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadFullEightBitFourThermistors)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadFullTwelveBitWrapped)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadFourBankModem)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadFourBankModemWritingBankFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeFullEightBitFourChannelsInMemory)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeFullTwelveBitWrappedInMemory)->Unit(benchmark::kMicrosecond);
