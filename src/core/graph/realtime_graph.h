#pragma once
// The real-time graph without its window: the points of the chart (one per
// reading and channel, against the PC clock, at most 999 per channel with the
// oldest 200 dropped at once), the running Y range of each channel, the
// scrolling X window, and the chart-only zoom of a live graph. Times are days
// since 30 December 1899, like every X value of the graph. The window feeds
// readings in and carries out what each call returns.

#include "conversion/channel_scaling.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tamble {

struct LoggerInfo;
struct SettingsRecord;

inline constexpr int kRealTimeChartPoints = 1000;     // cells per subset of the chart
inline constexpr int kRealTimeFullCount = 999;        // readings that fill the chart
inline constexpr int kRealTimeDropCount = 200;        // dropped at once when full
inline constexpr double kRealTimeWindowDays = 6.0 / 1440.0;
inline constexpr double kRealTimeScrollDays = 30.0 / 86400.0;
inline constexpr double kRealTimeUndoLeadDays = 30.0 / 86400.0; // X room past now after an undo
inline constexpr double kRealTimeZoomWidening = 1.1;
inline constexpr const char* kTerminateRealTimeGraphQuestion = "Terminate Real Time Graph?";
inline constexpr double kUnsetAxisMinimum = 99999;    // replaced by the first range
inline constexpr double kUnsetAxisMaximum = -9999;
// A reading of exactly 0 still gets an axis of some height: one step of the
// two decimals the value boxes show, each way.
inline constexpr double kZeroReadingMargin = 0.01;

struct YRange {
    double min = 0;
    double max = 0;
};

// The axis range a single reading asks for: 1 % of its size below and above
// (r × 0.99 .. r × 1.01 for a positive r, the other way round for a negative
// one), and ±kZeroReadingMargin around 0.
YRange ReadingMargins(double reading);

// Widens `range` for one more reading the way the running ranges do: a value
// below the minimum moves the minimum to that value's lower margin, a value
// above the maximum moves the maximum to its upper margin.
void WidenRange(YRange& range, double reading);

// What the window does after a reading was appended.
struct RealTimeAppend {
    bool started = false;      // the first reading: build the graph (viewports, ranges) and show it
    bool dropped = false;      // the oldest readings went: every subset moved down
    bool xRangeChanged = false; // set the chart's manual X range and its zoom window from the state
    bool redraw = false;       // apply the ranges, reset the image and redraw
};

struct RealTimeZoom {
    bool hold = false;         // the range lies in the past: the view stays, redrawing stops
    double zoomMin = 0;        // the chart's zoom window
    double zoomMax = 0;
};

struct RealTimeUndo {
    double xMin = 0;           // the chart's manual X range (zoom mode off)
    double xMax = 0;
};

class RealTimeGraph {
public:
    RealTimeGraph();

    // StartRealTimeGraph: the chart is empty and the next reading starts it.
    void restart();

    // AppendRealTimeReading: one reading of channels 1-4 (index 0 = channel 1)
    // in display units at `now`. `channelMask` (bit 0 = channel 1) is read only
    // when the chart starts. Nothing is redrawn while the mouse is down, the
    // view is held or the window is hidden; the points are kept regardless.
    RealTimeAppend append(double now, const std::array<double, 4>& readingsByChannel, std::uint8_t channelMask);

    // A range [zmin, zmax] picked on the live chart. The running ranges
    // become those of the readings in view; the window then rebuilds.
    RealTimeZoom zoomIn(double zmin, double zmax, double now);

    // Back to the whole live chart: redrawing resumes and the ranges cover
    // every reading but the oldest.
    RealTimeUndo undoZoom(double now);

    // Axis ranges of the viewports: `viewports` lists the display positions
    // of each band (ViewportAxis::positions). An axis starts at 99999/−9999
    // and takes in the running range of each of its positions.
    std::vector<YRange> viewportRanges(const std::vector<std::vector<int>>& viewports) const;

    void setMouseDown(bool down) { m_mouseDown = down; }
    void setWindowVisible(bool visible) { m_windowVisible = visible; }

    int count() const { return m_count; }                       // readings in the chart
    int channelCount() const { return m_channelCount; }         // C
    const std::array<int, 4>& channelList() const { return m_channelList; } // channel 1..4 by position
    const std::vector<double>& x() const { return m_x; }        // shared by every subset, 1000 cells
    const std::vector<double>& y(int position) const { return m_y[static_cast<std::size_t>(position)]; }
    const YRange& range(int position) const { return m_ranges[static_cast<std::size_t>(position)]; }
    double windowStart() const { return m_windowStart; }
    double windowEnd() const { return m_windowEnd; }
    double windowWidth() const { return m_windowWidth; }
    double xMin() const { return m_xMin; }                      // the chart's manual X range
    double xMax() const { return m_xMax; }
    bool hold() const { return m_hold; }
    bool zoomed() const { return m_zoomed; }
    bool mouseDown() const { return m_mouseDown; }
    bool windowVisible() const { return m_windowVisible; }

private:
    void init(double now, std::uint8_t channelMask);
    void dropOldest(const std::array<double, 4>& readingsByChannel);
    void rangesOver(int from, int to);
    double reading(const std::array<double, 4>& readingsByChannel, int position) const;

    std::vector<double> m_x;
    std::array<std::vector<double>, 4> m_y;
    std::array<YRange, 4> m_ranges{};
    std::array<int, 4> m_channelList{};
    int m_channelCount = 0;
    int m_count = 0;
    double m_windowStart = 0;
    double m_windowEnd = 0;
    double m_windowWidth = kRealTimeWindowDays;
    double m_scrollStep = kRealTimeScrollDays;
    double m_xMin = 0;
    double m_xMax = 0;
    bool m_hold = false;
    bool m_zoomed = false;
    bool m_mouseDown = false;
    bool m_windowVisible = false;
};

// Decodes the real-time lines of a graph session into the numbers the
// Status window's value boxes show for the same lines: the channel set-up of
// the status display (Fahrenheit and the humidity quantity included).
// A PC clock reading as a graph X value: the local date and time of day in
// days since 30 December 1899.
double DateTimeDays(const QDateTime& local);

class RealTimeReadingDecoder {
public:
    // Sets the channels up from the last status; false when a sensor table
    // could not be used (the values of its channel are then the fallback's).
    bool prepare(const LoggerInfo& info, const SettingsRecord& settings, const QString& tableDirectory);

    // The four values of a line; nullopt for a line with a checksum error,
    // which the graph skips.
    std::optional<std::array<double, 4>> decode(QByteArrayView line, LoggerInfo& info, bool fahrenheit);

    const ChannelScaling& scaling() const { return m_scaling; }

private:
    ChannelScaling m_scaling;
};

} // namespace tamble
