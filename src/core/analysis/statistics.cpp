#include "analysis/statistics.h"

#include <algorithm>
#include <cmath>

namespace tamble {

namespace {

// A run of readings outside one limit, being followed.
struct Run {
    bool open = false;
    Excursion excursion;
    double lastTime = 0;
};

void Close(Run& run, double intervalDays, ChannelStatistics& out)
{
    if (!run.open)
        return;
    Excursion& e = run.excursion;
    e.end = run.lastTime;
    e.durationDays = e.end - e.start + intervalDays;
    (e.side == LimitSide::Low ? out.belowLowDays : out.aboveHighDays) += e.durationDays;
    out.excursions.push_back(e);
    run.open = false;
}

void Follow(Run& run, LimitSide side, bool outside, double t, double v, double intervalDays, ChannelStatistics& out)
{
    const bool consecutive = run.open && t - run.lastTime <= 1.5 * intervalDays;
    if (run.open && (!outside || !consecutive))
        Close(run, intervalDays, out);
    if (!outside)
        return;
    if (!run.open) {
        run.open = true;
        run.excursion = Excursion{side, t, t, 0, v, 0};
    }
    Excursion& e = run.excursion;
    e.extreme = side == LimitSide::Low ? std::min(e.extreme, v) : std::max(e.extreme, v);
    ++e.readings;
    run.lastTime = t;
}

} // namespace

ChannelStatistics ComputeStatistics(const ChannelSeries& series, double intervalDays, double from, double to,
                                    const ChannelLimits& limits)
{
    ChannelStatistics out;
    const auto begin = std::lower_bound(series.time.begin(), series.time.end(), from);
    const auto end = std::upper_bound(begin, series.time.end(), to);
    const auto i0 = static_cast<std::size_t>(begin - series.time.begin());
    const auto i1 = static_cast<std::size_t>(end - series.time.begin());

    // Mean and deviation by Welford's method: one pass, no loss over long spans.
    double mean = 0, m2 = 0;
    Run low, high;
    for (std::size_t i = i0; i < i1; ++i) {
        const double v = series.value[i];
        const double t = series.time[i];
        if (std::isnan(v)) {
            ++out.notNumbers;
            continue;
        }
        if (out.count == 0) {
            out.min = out.max = out.first = v;
            out.minTime = out.maxTime = out.firstTime = t;
        }
        if (v < out.min) {
            out.min = v;
            out.minTime = t;
        }
        if (v > out.max) {
            out.max = v;
            out.maxTime = t;
        }
        out.last = v;
        out.lastTime = t;
        ++out.count;
        const double delta = v - mean;
        mean += delta / out.count;
        m2 += delta * (v - mean);
        if (limits.low)
            Follow(low, LimitSide::Low, v < *limits.low, t, v, intervalDays, out);
        if (limits.high)
            Follow(high, LimitSide::High, v > *limits.high, t, v, intervalDays, out);
    }
    Close(low, intervalDays, out);
    Close(high, intervalDays, out);
    out.mean = mean;
    out.stddev = out.count > 1 ? std::sqrt(m2 / (out.count - 1)) : 0.0;
    std::sort(out.excursions.begin(), out.excursions.end(),
              [](const Excursion& a, const Excursion& b) { return a.start < b.start; });
    return out;
}

} // namespace tamble
