#pragma once
// Recordings shown together on one time axis: the files added to a graph over the one it opened.
// On the common absolute time axis consecutive downloads of one logger join into one record;
// aligned by time since start, runs that share no time can be compared. The export of an overlay
// has one time column and a column per file and channel, empty where a file has no reading then.

#include "analysis/series.h"

#include <QByteArray>
#include <vector>

namespace tamble {

enum class OverlayAlignment { AbsoluteTime, SinceStart };

// The shift (days) added to `other`'s times to draw it beside `first`: none on the absolute axis,
// the difference of their first readings when aligned by time since start.
double OverlayShift(const RecordingSeries& first, const RecordingSeries& other, OverlayAlignment alignment);

// At most `points` values of a channel between `from` and `to` (days, after `shift`): every
// reading when they fit, else the minimum and maximum of equal buckets, in time order.
void DecimatedPoints(const ChannelSeries& channel, double shift, double from, double to, int points,
                     std::vector<double>& x, std::vector<double>& y);

// "Time,<file>: <label> (<unit>),..." then one line per distinct time of any file (after its
// shift), ISO 8601 times, values unrounded, empty cells where a file has no reading at that time.
QByteArray OverlayCsv(const std::vector<const RecordingSeries*>& recordings, const std::vector<double>& shifts);

} // namespace tamble
