#include "datafiles/graph_buffer.h"

#include "conversion/channel_scaling.h"

#include <algorithm>

namespace tamble {

namespace {

constexpr int kAllOrigins[] = {0, 8192, 10922, 16384, 21844, 24576};

} // namespace

void BuildGraphBuffer(DataSet& data, GraphBuffer& buffer, bool fahrenheit)
{
    const int channels = std::min(data.channelCount(), 4);
    ChannelScaling& scaling = data.scaling;
    scaling.fahrenheit = fahrenheit;
    const bool zoomed = data.zoom.zoomed;
    int& windowCount = zoomed ? data.zoom.readingCount : data.readingsPerChannel;
    const int first = zoomed ? std::max(0, data.zoom.firstReading) : 0;

    buffer.graphPointCount = 0;
    buffer.graphStep = 1;
    if (channels <= 0 || windowCount <= 0)
        return;

    // A window never reaches past the raw buffer, even with a zoom window
    // that does not belong to this recording.
    const int lastOrigin = data.channelOrigin(channels - 1);
    const int room = RawPlanes::kEntries - lastOrigin - first - 2 * 16 - 2;
    if (room <= 0)
        return;
    windowCount = std::min(windowCount, room);

    if (windowCount == 1) {
        // The chart always gets two points.
        windowCount = 2;
        for (int origin : kAllOrigins)
            data.rawPlanes[origin + 1] = data.rawPlanes[origin];
    }
    const int r = windowCount;
    const int step = (r + kGraphPoints - 1) / kGraphPoints;
    buffer.graphStep = step;

    std::array<int, 4> channel{};
    std::array<bool, 4> toFahrenheit{};
    std::array<std::uint16_t*, 4> plane{};
    for (int p = 0; p < channels; ++p) {
        const auto pos = static_cast<std::size_t>(p);
        channel[pos] = data.channelList[pos];
        toFahrenheit[pos] = fahrenheit && CountsAsTemperature(scaling, channel[pos]);
        plane[pos] = data.rawPlanes.data() + data.channelOrigin(p);
    }

    if (!zoomed) {
        const int copies = step == 1 ? 2 : 2 * step + 1;
        for (int p = 0; p < channels; ++p) {
            std::uint16_t* pl = plane[static_cast<std::size_t>(p)];
            std::fill(pl + r, pl + r + copies, pl[r - 1]);
        }
    }

    if (step == 1) {
        for (int i = 0; i < r; ++i) {
            for (int p = 0; p < channels; ++p) {
                const auto pos = static_cast<std::size_t>(p);
                float v = ConvertReading(scaling, plane[pos][first + i], channel[pos]);
                if (toFahrenheit[pos])
                    v = CelsiusToFahrenheit(v);
                buffer.values[pos][static_cast<std::size_t>(i)] = v;
            }
        }
        buffer.graphPointCount = r;
        return;
    }

    const int startCount = r / step;
    const int bucket = 2 * step;
    int buckets = 0;
    for (int k = 0; 2 * k < startCount; ++k, ++buckets) {
        const int start = first + k * bucket;
        for (int p = 0; p < channels; ++p) {
            const auto pos = static_cast<std::size_t>(p);
            std::uint16_t* pl = plane[pos] + start;
            int hi = 0;
            int lo = 0;
            for (int j = 1; j < bucket; ++j) {
                if (pl[j] > pl[hi])
                    hi = j;
                else if (pl[j] < pl[lo])
                    lo = j;
            }
            float a = ConvertReading(scaling, pl[hi], channel[pos]);
            float b = ConvertReading(scaling, pl[lo], channel[pos]);
            if (scaling.channels[static_cast<std::size_t>(channel[pos] - 1)].countInput) {
                if (a > b)
                    std::swap(a, b);
            } else if (toFahrenheit[pos]) {
                a = CelsiusToFahrenheit(a);
                b = CelsiusToFahrenheit(b);
            }
            const bool hiFirst = hi < lo;
            buffer.values[pos][static_cast<std::size_t>(2 * k)] = hiFirst ? a : b;
            buffer.values[pos][static_cast<std::size_t>(2 * k + 1)] = hiFirst ? b : a;
        }
    }
    buffer.graphPointCount = 2 * buckets;
}

} // namespace tamble
