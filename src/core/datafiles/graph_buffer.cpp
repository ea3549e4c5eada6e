#include "datafiles/graph_buffer.h"

#include "conversion/channel_scaling.h"

#include <algorithm>

namespace tamble {

namespace {

constexpr int kAllOrigins[] = {0, 8192, 10922, 16384, 21844, 24576};

// One recorded channel as the graph reads it: its number, whether its
// values are shown in degrees Fahrenheit, and its raw plane.
struct PlaneView {
    int channel = 0;
    bool toFahrenheit = false;
    std::uint16_t* plane = nullptr;
};

// Limits the window to what the raw buffer holds (even a zoom window that
// does not belong to this recording) and gives a window of one reading a
// second, equal reading: the chart always gets two points. Returns false
// when nothing is left to show.
bool FitWindow(DataSet& data, int channels, int first, int& windowCount)
{
    const int lastOrigin = data.channelOrigin(channels - 1);
    const int room = RawPlanes::kEntries - lastOrigin - first - 2 * 16 - 2;
    if (room <= 0)
        return false;
    windowCount = std::min(windowCount, room);
    if (windowCount == 1) {
        windowCount = 2;
        for (int origin : kAllOrigins)
            data.rawPlanes[origin + 1] = data.rawPlanes[origin];
    }
    return true;
}

std::array<PlaneView, 4> PlaneViews(DataSet& data, int channels, bool fahrenheit)
{
    std::array<PlaneView, 4> views{};
    for (int p = 0; p < channels; ++p) {
        PlaneView& view = views[static_cast<std::size_t>(p)];
        view.channel = data.channelList[static_cast<std::size_t>(p)];
        view.toFahrenheit = fahrenheit && CountsAsTemperature(data.scaling, view.channel);
        view.plane = data.rawPlanes.data() + data.channelOrigin(p);
    }
    return views;
}

// One point per reading.
int ConvertEveryReading(ChannelScaling& scaling, const std::array<PlaneView, 4>& views, int channels,
                        int first, int r, GraphBuffer& buffer)
{
    for (int i = 0; i < r; ++i) {
        for (int p = 0; p < channels; ++p) {
            const auto pos = static_cast<std::size_t>(p);
            const PlaneView& view = views[pos];
            float v = ConvertReading(scaling, view.plane[first + i], view.channel);
            if (view.toFahrenheit)
                v = CelsiusToFahrenheit(v);
            buffer.values[pos][static_cast<std::size_t>(i)] = v;
        }
    }
    return r;
}

// Two points per bucket of 2 * step readings: the highest and the lowest
// raw reading, in the order they occurred (a count input's pair always
// ascending). Returns the number of points.
int DecimateBuckets(ChannelScaling& scaling, const std::array<PlaneView, 4>& views, int channels, int first,
                    int r, int step, GraphBuffer& buffer)
{
    const int startCount = r / step;
    const int bucket = 2 * step;
    int buckets = 0;
    for (int k = 0; 2 * k < startCount; ++k, ++buckets) {
        const int start = first + k * bucket;
        for (int p = 0; p < channels; ++p) {
            const auto pos = static_cast<std::size_t>(p);
            const PlaneView& view = views[pos];
            std::uint16_t* pl = view.plane + start;
            int hi = 0;
            int lo = 0;
            for (int j = 1; j < bucket; ++j) {
                if (pl[j] > pl[hi])
                    hi = j;
                else if (pl[j] < pl[lo])
                    lo = j;
            }
            float a = ConvertReading(scaling, pl[hi], view.channel);
            float b = ConvertReading(scaling, pl[lo], view.channel);
            if (scaling.channels[static_cast<std::size_t>(view.channel - 1)].countInput) {
                if (a > b)
                    std::swap(a, b);
            } else if (view.toFahrenheit) {
                a = CelsiusToFahrenheit(a);
                b = CelsiusToFahrenheit(b);
            }
            const bool hiFirst = hi < lo;
            buffer.values[pos][static_cast<std::size_t>(2 * k)] = hiFirst ? a : b;
            buffer.values[pos][static_cast<std::size_t>(2 * k + 1)] = hiFirst ? b : a;
        }
    }
    return 2 * buckets;
}

} // namespace

void BuildGraphBuffer(DataSet& data, GraphBuffer& buffer, bool fahrenheit)
{
    const int channels = std::min(data.channelCount(), 4);
    data.scaling.fahrenheit = fahrenheit;
    const bool zoomed = data.zoom.zoomed;
    int& windowCount = zoomed ? data.zoom.readingCount : data.readingsPerChannel;
    const int first = zoomed ? std::max(0, data.zoom.firstReading) : 0;

    buffer.graphPointCount = 0;
    buffer.graphStep = 1;
    if (channels <= 0 || windowCount <= 0)
        return;
    if (!FitWindow(data, channels, first, windowCount))
        return;
    const int r = windowCount;
    const int step = (r + kGraphPoints - 1) / kGraphPoints;
    buffer.graphStep = step;

    const std::array<PlaneView, 4> views = PlaneViews(data, channels, fahrenheit);
    if (!zoomed) {
        // The entries after each plane's last reading repeat it.
        const int copies = step == 1 ? 2 : 2 * step + 1;
        for (int p = 0; p < channels; ++p) {
            std::uint16_t* pl = views[static_cast<std::size_t>(p)].plane;
            std::fill(pl + r, pl + r + copies, pl[r - 1]);
        }
    }
    buffer.graphPointCount = step == 1 ? ConvertEveryReading(data.scaling, views, channels, first, r, buffer)
                                       : DecimateBuckets(data.scaling, views, channels, first, r, step, buffer);
}

} // namespace tamble
