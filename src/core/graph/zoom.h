#pragma once
// Zooming a file graph: a horizontal range picked on the chart selects a
// window of the recording (first reading S, count R), which the graph
// buffer then reads again at full detail; undo returns to the whole
// recording. The window also limits what the export writes. S, R, the
// window's stamps and the zoomed flag live in DataSet::zoom, where the graph
// buffer, the .TL2 reader and the export read them; this class keeps the
// window's times and does the arithmetic.

#include "datafiles/dataset.h"
#include "datafiles/timebase.h"

#include <QString>

namespace tamble {

inline constexpr int kMaxZoomReadingsSingleBank = 32320;
inline constexpr int kMinZoomReadings = 3;
inline constexpr double kMinutesPerDay = 1440;

enum class ZoomOutcome {
    Zoomed,          // DataSet::zoom holds the new window: refill the buffer, rebuild
    TooManySamples,  // refused with a message
    MaximumZoom,     // refused with a message
    Ignored,         // nothing to zoom into (outside the data); nothing said
};

struct ZoomResult {
    ZoomOutcome outcome = ZoomOutcome::Ignored;
    int readings = 0;       // n, the readings the range spans
    QString message;        // information, OK; empty when nothing is to be said
};

// X values of the graph points: point i at start + i * spacing (days).
struct PointPlacement {
    double start = 0;
    double spacing = 0;
};

class ZoomWindow {
public:
    // Before a new file is loaded: not zoomed, S = 0, offset 0.
    void clear(DataSet& data);

    // Where the points of the built buffer go. Not zoomed, `fileStart` (the
    // time of the first stamp) also becomes the window start, and the whole
    // recording's length is remembered for undo. The window end becomes the
    // time of the last point.
    PointPlacement placePoints(const DataSet& data, double fileStart, int pointCount, int graphStep);

    // A range [zmin, zmax] (days) picked on a file graph. On Zoomed the
    // caller refills the buffer for DataSet::zoom (BuildGraphBuffer, or the
    // .TL2 reader for a multi-bank set) and rebuilds the graph.
    ZoomResult zoomIn(DataSet& data, double zmin, double zmax, ClockStyle clock);

    // Back to the whole recording (a file graph). The caller then shows every
    // channel (single-bank), refills the buffer and rebuilds; the viewport
    // choice of that one rebuild is kept (takeKeepViewportsOnce).
    void undo(DataSet& data);

    // True once after an undo: the next unzoomed build keeps the viewports.
    bool takeKeepViewportsOnce();

    bool zoomed(const DataSet& data) const { return data.zoom.zoomed; }
    double fileStart() const { return m_fileStart; }
    double windowStart() const { return m_windowStart; }
    double windowEnd() const { return m_windowEnd; }
    double offsetMinutes() const { return m_offset; }
    int wholeReadings() const { return m_wholeReadings; }

private:
    double m_fileStart = 0;
    double m_windowStart = 0;
    double m_windowEnd = 0;
    double m_offset = 0;           // minutes from the file start to the window start
    int m_wholeReadings = 0;       // R of the whole single-bank recording
    bool m_keepViewportsOnce = false;
};

} // namespace tamble
