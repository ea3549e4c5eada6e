// Arbitrary bytes as a recording already loaded: channel count, scaling
// codes, resolution, a zoom window and the raw readings come from the input.
// The graph buffer must stay inside its points and planes and end.

#include "conversion/channel_scaling.h"
#include "datafiles/dataset.h"
#include "datafiles/graph_buffer.h"
#include "support/fuzz_tables.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    constexpr std::size_t kHead = 13;
    if (size < kHead)
        return 0;
    static auto data = std::make_unique<tamble::DataSet>();
    static auto buffer = std::make_unique<tamble::GraphBuffer>();
    static const char kCodes[] = {'A', 'B', 'C', 'L', 'P', 'R', 'X', 'T', '3', 'W', 'Y', 'Z'};
    static const char* const kTexts[] = {"A           ", "-40.00125.00", "0.0000100.00", "T           "};

    const int channels = bytes[0] % 4 + 1;
    const int bits = bytes[1] % 3 == 0 ? 8 : bytes[1] % 3 == 1 ? 10 : 12;
    data->channelList.clear();
    data->channelMask = 0;
    for (int c = 1; c <= channels; ++c) {
        data->channelList.push_back(c);
        data->channelMask |= static_cast<std::uint8_t>(1 << (c - 1));
    }
    data->scaling = tamble::ChannelScaling{};
    data->scaling.tableSource = &tamble::fuzz::MemoryTables();
    data->scaling.fullScaleCount = static_cast<std::uint16_t>((1 << bits) - 1);
    data->fullScaleCount = data->scaling.fullScaleCount;
    for (int c = 1; c <= channels; ++c) {
        const std::uint8_t pick = bytes[1 + static_cast<std::size_t>(c)];
        data->typeCodes[static_cast<std::size_t>(c - 1)] = kCodes[pick % sizeof(kCodes)];
        tamble::SetUpChannelScaling(data->scaling, c, kCodes[pick % sizeof(kCodes)], kTexts[(pick >> 4) % 4]);
    }
    data->intervalMinutes = static_cast<float>(bytes[6] % 60 + 1);

    // The readings of the input, repeated up to 16 times so that long recordings
    // (more readings than graph points) come within reach of short inputs.
    const int given = static_cast<int>((size - kHead) / 2) / channels;
    if (given == 0)
        return 0;
    const int repeat = bytes[12] % 16 + 1;
    data->readingsPerChannel = std::min(given * repeat, tamble::RawPlanes::kEntries / 4);
    for (int p = 0; p < channels; ++p)
        for (int i = 0; i < data->readingsPerChannel; ++i) {
            const std::size_t at = kHead + 2 * (static_cast<std::size_t>(i % given) * static_cast<std::size_t>(channels) +
                                                static_cast<std::size_t>(p));
            data->rawPlanes[data->channelOrigin(p) + i] =
                static_cast<std::uint16_t>((bytes[at] | bytes[at + 1] << 8) & data->fullScaleCount);
        }
    data->zoom = tamble::ZoomState{};
    if (bytes[7] & 1) {
        data->zoom.zoomed = true;
        data->zoom.firstReading = bytes[8] | bytes[9] << 8;
        data->zoom.readingCount = bytes[10] | bytes[11] << 8;
    }
    buffer->graphPointCount = 0;
    tamble::BuildGraphBuffer(*data, *buffer, bytes[7] & 2);
    return 0;
}
