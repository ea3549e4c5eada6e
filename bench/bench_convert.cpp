// ConvertReading per reading for a linear, a thermistor and a thermocouple
// channel, sweeping the whole 12-bit range with the shipped tables.

#include "conversion/channel_scaling.h"

#include <benchmark/benchmark.h>

#include <cstdint>

using namespace tamble;

namespace {

ChannelScaling MakeScaling(int channel, char code, std::string_view text)
{
    ChannelScaling s;
    s.tableDirectory = QStringLiteral(TAMBLE_SOURCE_DIR "/data");
    s.fullScaleCount = 4095;
    s.referenceOhms = 30100.0f;
    s.lastChannel1Value = 21.5f;
    SetUpChannelScaling(s, channel, code, text);
    return s;
}

void RunSweep(benchmark::State& state, ChannelScaling& s, int channel)
{
    std::uint16_t next = 0;
    for (auto _ : state) {
        std::uint16_t reading = next;
        benchmark::DoNotOptimize(ConvertReading(s, reading, channel));
        next = static_cast<std::uint16_t>((next + 37) & 4095);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ConvertLinear(benchmark::State& state)
{
    ChannelScaling s = MakeScaling(2, '3', "0.0000100.00");
    RunSweep(state, s, 2);
}

void BM_ConvertThermistor(benchmark::State& state)
{
    ChannelScaling s = MakeScaling(2, 'A', "A");
    RunSweep(state, s, 2);
}

void BM_ConvertThermocouple(benchmark::State& state)
{
    ChannelScaling s = MakeScaling(3, 'k', "");
    RunSweep(state, s, 3);
}

} // namespace

BENCHMARK(BM_ConvertLinear);
BENCHMARK(BM_ConvertThermistor);
BENCHMARK(BM_ConvertThermocouple);
