#include "graph/realtime_graph.h"
#include "format/day_number.h"

#include "format/logger_info.h"
#include "link/realtime.h"
#include "link/status_window_model.h"

#include <algorithm>
#include <utility>

namespace tamble {

YRange ReadingMargins(double reading)
{
    if (reading > 0)
        return {reading * 0.99, reading * 1.01};
    if (reading < 0)
        return {reading * 1.01, reading * 0.99};
    return {-kZeroReadingMargin, kZeroReadingMargin};
}

void WidenRange(YRange& range, double reading)
{
    const YRange margins = ReadingMargins(reading);
    if (reading < range.min)
        range.min = margins.min;
    if (reading > range.max)
        range.max = margins.max;
}

RealTimeGraph::RealTimeGraph() : m_x(kRealTimeChartPoints, 0.0)
{
    for (auto& subset : m_y)
        subset.assign(kRealTimeChartPoints, 0.0);
}

void RealTimeGraph::restart()
{
    m_count = 0;
}

double RealTimeGraph::reading(const std::array<double, 4>& readingsByChannel, int position) const
{
    const int channel = m_channelList[static_cast<std::size_t>(position)];
    return readingsByChannel[static_cast<std::size_t>(channel - 1)];
}

void RealTimeGraph::init(double now, std::uint8_t channelMask)
{
    m_channelList = {};
    m_channelCount = 0;
    for (int channel = 1; channel <= 4; ++channel) {
        if ((channelMask >> (channel - 1)) & 1)
            m_channelList[static_cast<std::size_t>(m_channelCount++)] = channel;
    }
    m_windowWidth = kRealTimeWindowDays;
    m_scrollStep = kRealTimeScrollDays;
    m_windowStart = now;
    m_windowEnd = now + m_windowWidth;
    m_xMin = m_windowStart;
    m_xMax = m_windowEnd;
    std::fill(m_x.begin(), m_x.end(), 0.0);
    for (auto& subset : m_y)
        std::fill(subset.begin(), subset.end(), 0.0);
    m_hold = false;
    m_zoomed = false;
}

void RealTimeGraph::dropOldest(const std::array<double, 4>& readingsByChannel)
{
    for (int k = 0; k < m_channelCount; ++k)
        m_ranges[static_cast<std::size_t>(k)] = ReadingMargins(reading(readingsByChannel, k));
    m_xMin = m_x[kRealTimeDropCount];
    for (int t = kRealTimeDropCount; t < m_count; ++t) {
        m_x[static_cast<std::size_t>(t - kRealTimeDropCount)] = m_x[static_cast<std::size_t>(t)];
        for (int k = 0; k < m_channelCount; ++k) {
            auto& subset = m_y[static_cast<std::size_t>(k)];
            const double value = subset[static_cast<std::size_t>(t)];
            subset[static_cast<std::size_t>(t - kRealTimeDropCount)] = value;
            WidenRange(m_ranges[static_cast<std::size_t>(k)], value);
        }
    }
    for (int t = m_count - kRealTimeDropCount; t < kRealTimeChartPoints; ++t) {
        m_x[static_cast<std::size_t>(t)] = 0;
        for (auto& subset : m_y)
            subset[static_cast<std::size_t>(t)] = 0;
    }
    m_count -= kRealTimeDropCount;
}

RealTimeAppend RealTimeGraph::append(double now, const std::array<double, 4>& readingsByChannel,
                                     std::uint8_t channelMask)
{
    RealTimeAppend out;
    if (m_count >= kRealTimeFullCount) {
        dropOldest(readingsByChannel);
        out.dropped = true;
    }
    if (m_count == 0) {
        init(now, channelMask);
        out.started = true;
    }
    m_x[static_cast<std::size_t>(m_count)] = now;
    for (int k = 0; k < m_channelCount; ++k)
        m_y[static_cast<std::size_t>(k)][static_cast<std::size_t>(m_count)] = reading(readingsByChannel, k);
    ++m_count;

    // A gap longer than one step (a sleeping computer, a slow logger) must not
    // leave the newest point beyond the window: step on until it is inside.
    bool scrolled = false;
    while (now > m_windowEnd) {
        m_windowEnd += m_scrollStep;
        m_windowStart = m_windowEnd - m_windowWidth;
        scrolled = true;
    }
    if (scrolled) {
        m_xMin = m_x[0];
        m_xMax = m_windowEnd;
    }

    if (out.started) {
        for (int k = 0; k < m_channelCount; ++k)
            m_ranges[static_cast<std::size_t>(k)] = ReadingMargins(reading(readingsByChannel, k));
        m_windowVisible = true;
        out.xRangeChanged = true;
        return out;
    }
    for (int k = 0; k < m_channelCount; ++k)
        WidenRange(m_ranges[static_cast<std::size_t>(k)], reading(readingsByChannel, k));
    out.xRangeChanged = (scrolled || out.dropped) && !m_hold;
    out.redraw = !m_mouseDown && !m_hold && m_windowVisible;
    return out;
}

void RealTimeGraph::rangesOver(int from, int to)
{
    for (int k = 0; k < m_channelCount; ++k) {
        const auto& subset = m_y[static_cast<std::size_t>(k)];
        YRange& range = m_ranges[static_cast<std::size_t>(k)];
        range = ReadingMargins(subset[static_cast<std::size_t>(from)]);
        for (int p = from + 1; p <= to; ++p)
            WidenRange(range, subset[static_cast<std::size_t>(p)]);
    }
}

RealTimeZoom RealTimeGraph::zoomIn(double zmin, double zmax, double now)
{
    if (zmax < zmin)
        std::swap(zmin, zmax);
    RealTimeZoom out;
    if (now > zmax) {
        m_hold = true;
        out = {true, zmin, zmax};
    } else {
        m_windowWidth = (zmax - zmin) * kRealTimeZoomWidening;
        m_windowStart = zmin;
        m_windowEnd = zmin + m_windowWidth;
        out = {false, m_windowStart, m_windowEnd};
    }
    if (m_count > 0) {
        int from = 0;
        for (int p = 1; p < m_count; ++p) {
            if (m_x[static_cast<std::size_t>(p)] >= zmin) {
                from = p;
                break;
            }
        }
        int to = m_count - 1;
        for (int p = from + 1; p < m_count; ++p) {
            if (m_x[static_cast<std::size_t>(p)] >= zmax) {
                to = p;
                break;
            }
        }
        rangesOver(from, to);
    }
    m_zoomed = true;
    return out;
}

RealTimeUndo RealTimeGraph::undoZoom(double now)
{
    m_hold = false;
    // The oldest point is left out of the ranges; with only one point there
    // is nothing else to take them from.
    if (m_count >= 2)
        rangesOver(1, m_count - 1);
    else if (m_count == 1)
        rangesOver(0, 0);
    if (now >= m_xMax)
        m_xMax = now + kRealTimeUndoLeadDays;
    m_zoomed = false;
    return {m_xMin, m_xMax};
}

std::vector<YRange> RealTimeGraph::viewportRanges(const std::vector<std::vector<int>>& viewports) const
{
    std::vector<YRange> axes;
    axes.reserve(viewports.size());
    for (const auto& positions : viewports) {
        YRange axis{kUnsetAxisMinimum, kUnsetAxisMaximum};
        for (int p : positions) {
            if (p < 0 || p >= m_channelCount)
                continue;
            const YRange& range = m_ranges[static_cast<std::size_t>(p)];
            if (range.min < axis.min)
                axis.min = range.min;
            if (range.max > axis.max)
                axis.max = range.max;
        }
        axes.push_back(axis);
    }
    return axes;
}

bool RealTimeReadingDecoder::prepare(const LoggerInfo& info, const SettingsRecord& settings,
                                     const QString& tableDirectory)
{
    return PrepareDisplayScaling(info, settings, tableDirectory, m_scaling);
}

std::optional<std::array<double, 4>> RealTimeReadingDecoder::decode(QByteArrayView line, LoggerInfo& info,
                                                                    bool fahrenheit)
{
    const RealTimeReading reading = DecodeRealTimeLine(line, info, m_scaling, fahrenheit);
    if (!reading.checksumOk)
        return std::nullopt;
    std::array<double, 4> values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<double>(reading.values[i]);
    return values;
}

double DateTimeDays(const QDateTime& local)
{
    return DayNumber(local);
}

} // namespace tamble
