#include "graph/zoom.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tamble {

namespace {

ZoomResult Refused(ZoomOutcome outcome, int n)
{
    ZoomResult result;
    result.outcome = outcome;
    result.readings = n;
    result.message = outcome == ZoomOutcome::TooManySamples
                         ? QStringLiteral("To many samples: ") + QString::number(n) + QStringLiteral(" for TL1 file")
                         : QStringLiteral("Maximum Zoom");
    return result;
}

QByteArray StampAfter(const DataSet& data, double minutes, ClockStyle clock)
{
    return AddMinutes(QByteArrayView(data.firstStamp), minutes, clock).toLatin1();
}

} // namespace

void ZoomWindow::clear(DataSet& data)
{
    data.zoom.zoomed = false;
    data.zoom.firstReading = 0;
    data.zoom.readingCount = 0;
    data.zoom.reachesEnd = true;
    m_offset = 0;
}

PointPlacement ZoomWindow::placePoints(const DataSet& data, double fileStart, int pointCount, int graphStep)
{
    if (!data.zoom.zoomed) {
        m_fileStart = fileStart;
        m_windowStart = fileStart;
        m_offset = 0;
        if (!data.multiBank)
            m_wholeReadings = data.readingsPerChannel;
    }
    PointPlacement placement;
    placement.start = m_windowStart;
    placement.spacing = std::max(graphStep, 1) * data.intervalMinutes / kMinutesPerDay;
    m_windowEnd = placement.start + std::max(pointCount - 1, 0) * placement.spacing;
    return placement;
}

ZoomResult ZoomWindow::zoomIn(DataSet& data, double zmin, double zmax, ClockStyle clock)
{
    if (zmin > zmax)
        std::swap(zmin, zmax);
    const double interval = data.intervalMinutes;
    // A range wholly beside the data has nothing to show.
    if (!(interval > 0) || zmax < m_windowStart || zmin > m_windowEnd)
        return {};
    // Narrower than one reading: refused before the window is touched.
    const double picked = (zmax - zmin) * kMinutesPerDay;
    if (picked < interval * (1 - 1e-6))
        return Refused(ZoomOutcome::MaximumZoom, static_cast<int>(std::lround(picked / interval)) + 1);

    // The picked range narrows the window even when the zoom is then refused:
    // a later zoom stays inside it until undo.
    if (zmin > m_windowStart) {
        m_offset = zmin * kMinutesPerDay - m_fileStart * kMinutesPerDay;
        m_windowStart = zmin;
    }
    if (zmax < m_windowEnd) {
        m_windowEnd = zmax;
        data.zoom.reachesEnd = false;
    }
    const double span = m_windowEnd * kMinutesPerDay - m_windowStart * kMinutesPerDay;
    const long long n = std::llround(span / interval) + 1;
    if (!data.multiBank && n > kMaxZoomReadingsSingleBank)
        return Refused(ZoomOutcome::TooManySamples, static_cast<int>(n));

    int first = std::max(0, static_cast<int>(std::lround(m_offset / interval)));
    int count = static_cast<int>(n);
    // The last point of a decimated buffer can lie past the last reading:
    // the window never reaches beyond the recording.
    if (!data.multiBank && m_wholeReadings > 0) {
        first = std::min(first, m_wholeReadings - 1);
        count = std::min(count, m_wholeReadings - first);
    }
    if (count < kMinZoomReadings)
        return Refused(ZoomOutcome::MaximumZoom, count);

    // The window starts on a reading, so the points, the export's header and
    // its lines all carry the times of the readings they show.
    m_offset = first * interval;
    m_windowStart = m_fileStart + m_offset / kMinutesPerDay;
    data.zoom.firstReading = first;
    data.zoom.readingCount = count;
    data.zoom.startStamp = StampAfter(data, m_offset, clock);
    data.zoom.endStamp = StampAfter(data, m_offset + (count - 1) * interval, clock);
    if (data.multiBank && data.zoom.reachesEnd) {
        data.zoom.readingCount = std::max(data.totalLines - first, 1);
        data.zoom.endStamp = data.lastStamp;
    }
    data.zoom.zoomed = true;
    ZoomResult result;
    result.outcome = ZoomOutcome::Zoomed;
    result.readings = data.zoom.readingCount;
    return result;
}

void ZoomWindow::undo(DataSet& data)
{
    if (!data.multiBank && m_wholeReadings > 0)
        data.readingsPerChannel = m_wholeReadings;
    m_offset = 0;
    m_windowStart = m_fileStart;
    data.zoom.zoomed = false;
    data.zoom.firstReading = 0;
    data.zoom.readingCount = 0;
    data.zoom.reachesEnd = true;
    m_keepViewportsOnce = true;
}

bool ZoomWindow::takeKeepViewportsOnce()
{
    return std::exchange(m_keepViewportsOnce, false);
}

} // namespace tamble
