#include "analysis/overlay.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace tamble {

double OverlayShift(const RecordingSeries& first, const RecordingSeries& other, OverlayAlignment alignment)
{
    if (alignment == OverlayAlignment::AbsoluteTime)
        return 0;
    const double a = first.firstTime();
    const double b = other.firstTime();
    return std::isfinite(a) && std::isfinite(b) ? a - b : 0;
}

void DecimatedPoints(const ChannelSeries& channel, double shift, double from, double to, int points,
                     std::vector<double>& x, std::vector<double>& y)
{
    x.clear();
    y.clear();
    const auto begin = std::lower_bound(channel.time.begin(), channel.time.end(), from - shift);
    const auto end = std::upper_bound(begin, channel.time.end(), to - shift);
    const auto i0 = static_cast<std::size_t>(begin - channel.time.begin());
    const auto n = static_cast<std::size_t>(end - begin);
    if (n == 0 || points <= 0)
        return;
    const std::size_t buckets = std::max<std::size_t>(1, static_cast<std::size_t>(points) / 2);
    const std::size_t step = n <= static_cast<std::size_t>(points) ? 1 : (n + buckets - 1) / buckets;
    for (std::size_t b = 0; b < n; b += step) {
        std::size_t lo = i0 + b, hi = i0 + b;
        for (std::size_t k = i0 + b; k < i0 + std::min(n, b + step); ++k) {
            const double v = channel.value[k];
            if (std::isnan(v))
                continue;
            if (std::isnan(channel.value[lo]) || v < channel.value[lo])
                lo = k;
            if (std::isnan(channel.value[hi]) || v > channel.value[hi])
                hi = k;
        }
        for (const std::size_t k : {std::min(lo, hi), std::max(lo, hi)}) {
            x.push_back(channel.time[k] + shift);
            y.push_back(channel.value[k]);
            if (lo == hi)
                break;
        }
    }
}

QByteArray OverlayCsv(const std::vector<const RecordingSeries*>& recordings, const std::vector<double>& shifts)
{
    // Columns in order of file and channel; a cursor per column walks its readings.
    struct Column {
        const ChannelSeries* channel;
        double shift;
        std::size_t next = 0;
    };
    std::vector<Column> columns;
    QByteArray out = "Time";
    for (std::size_t r = 0; r < recordings.size(); ++r) {
        const double shift = r < shifts.size() ? shifts[r] : 0;
        const QString file = QFileInfo(recordings[r]->file).fileName();
        for (const ChannelSeries& c : recordings[r]->channels) {
            columns.push_back({&c, shift});
            QString heading = file + QStringLiteral(": ") + c.label;
            if (!c.unit.isEmpty())
                heading += QStringLiteral(" (") + c.unit + QLatin1Char(')');
            heading.replace(QLatin1Char(','), QLatin1Char(' '));
            out += ',' + heading.toUtf8();
        }
    }
    out += "\r\n";
    // Times within a millisecond are one line.
    constexpr double kSame = 0.5 / 86400000.0;
    for (;;) {
        double t = INFINITY;
        for (const Column& c : columns)
            if (c.next < c.channel->time.size())
                t = std::min(t, c.channel->time[c.next] + c.shift);
        if (!std::isfinite(t))
            break;
        out += IsoTime(t).toLatin1();
        for (Column& c : columns) {
            out += ',';
            if (c.next < c.channel->time.size() && c.channel->time[c.next] + c.shift <= t + kSame) {
                const double v = c.channel->value[c.next];
                if (!std::isnan(v))
                    out += QByteArray::number(v, 'g', 10);
                ++c.next;
            }
        }
        out += "\r\n";
    }
    return out;
}

} // namespace tamble
