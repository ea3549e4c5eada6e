#pragma once
// Statistics and limit excursions of one channel's readings over a span of time, computed from
// every reading of the span (never from the points a chart draws).
//
// An excursion is a run of consecutive readings outside one limit; a reading equal to a limit is
// inside. It lasts from its first reading's time to its last reading's, plus one sample interval,
// so a single reading lasts one interval. Readings further apart than one and a half intervals are
// not consecutive: a gap in the recording ends a run and is never counted as time outside.

#include "analysis/series.h"

#include <optional>
#include <vector>

namespace tamble {

struct ChannelLimits {
    std::optional<double> low;
    std::optional<double> high;
    bool any() const { return low || high; }
};

enum class LimitSide { Low, High };

struct Excursion {
    LimitSide side = LimitSide::High;
    double start = 0;           // time of its first reading (days)
    double end = 0;             // time of its last reading
    double durationDays = 0;    // end - start + one interval
    double extreme = 0;         // lowest (Low) or highest (High) value
    int readings = 0;
};

struct ChannelStatistics {
    int count = 0;              // numeric readings in the span
    int notNumbers = 0;         // readings of the span that are not numbers, left out
    double min = 0, minTime = 0;
    double max = 0, maxTime = 0;
    double mean = 0;
    double stddev = 0;          // sample standard deviation (n - 1); 0 for one reading
    double first = 0, firstTime = 0;
    double last = 0, lastTime = 0;
    double belowLowDays = 0;
    double aboveHighDays = 0;
    std::vector<Excursion> excursions;   // in time order
};

// The readings of `series` with from <= time <= to.
ChannelStatistics ComputeStatistics(const ChannelSeries& series, double intervalDays, double from, double to,
                                    const ChannelLimits& limits = {});

} // namespace tamble
