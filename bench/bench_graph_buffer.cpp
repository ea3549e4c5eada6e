// BuildGraphBuffer over a full memory: one channel of 32256 readings, four
// channels of 8064, linear and thermistor conversions.

#include "conversion/channel_scaling.h"
#include "datafiles/dataset.h"
#include "datafiles/graph_buffer.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

using namespace tamble;

namespace {

std::unique_ptr<DataSet> FullMemory(int channels, char code)
{
    auto d = std::make_unique<DataSet>();
    for (int ch = 1; ch <= channels; ++ch) {
        d->channelList.push_back(ch);
        d->channelMask |= static_cast<std::uint8_t>(1 << (ch - 1));
    }
    d->fullScaleCount = 255;
    d->readingsPerChannel = 32256 / channels;
    d->scaling.fullScaleCount = 255;
    d->scaling.tableDirectory = QStringLiteral(TAMBLE_SOURCE_DIR "/data/");
    for (int ch = 1; ch <= channels; ++ch)
        SetUpChannelScaling(d->scaling, ch, code, code == 'X' ? "-40.00125.00" : "A           ");
    for (int p = 0; p < channels; ++p)
        for (int i = 0; i < d->readingsPerChannel; ++i)
            d->rawPlanes[d->channelOrigin(p) + i] =
                static_cast<std::uint16_t>(128 + 90 * std::sin(i * 0.001 + p) + (i % 5));
    return d;
}

void Build(benchmark::State& state, int channels, char code)
{
    auto data = FullMemory(channels, code);
    auto buffer = std::make_unique<GraphBuffer>();
    for (auto _ : state) {
        BuildGraphBuffer(*data, *buffer, true);
        benchmark::DoNotOptimize(buffer->values[0].data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 32256);
}

void BM_GraphBufferOneChannelLinear(benchmark::State& state) { Build(state, 1, 'X'); }
void BM_GraphBufferFourChannelsLinear(benchmark::State& state) { Build(state, 4, 'X'); }
void BM_GraphBufferOneChannelThermistor(benchmark::State& state) { Build(state, 1, 'A'); }
void BM_GraphBufferFourChannelsThermistor(benchmark::State& state) { Build(state, 4, 'A'); }

} // namespace

BENCHMARK(BM_GraphBufferOneChannelLinear)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GraphBufferFourChannelsLinear)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GraphBufferOneChannelThermistor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GraphBufferFourChannelsThermistor)->Unit(benchmark::kMicrosecond);
