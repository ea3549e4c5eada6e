#pragma once
// The recording a graph window shows: which data file, its readings at the detail of the current
// zoom window, the channels shown and the unit choices. It reads, zooms and converts; the window
// only draws what it holds. Every message goes through the message service, as the window's own.

#include "analysis/graph_analysis.h"
#include "analysis/limits.h"
#include "analysis/overlay.h"
#include "datafiles/dataset.h"
#include "datafiles/graph_buffer.h"
#include "graph/graph_rules.h"
#include "graph/viewports.h"
#include "graph/zoom.h"
#include "format/logger_info.h"
#include "link/session_state.h"
#include "settings/settings_record.h"
#include "util/user_dialog.h"

#include <QString>
#include <array>
#include <vector>

namespace tamble {

struct AppRecords;

// The records a graph edits: the preferences and unit choices of the settings, the loaded
// recording and the data file name; the session is read only (a running real-time graph).
struct GraphRecords {
    SettingsRecord& settings;
    const SessionState& session;
    DataSet& dataSet;
    QString& dataFileName;
    const QString& programDir;
    LoggerInfo& loggerInfo;   // the last status: a real-time chart's channels and their decoding
};
GraphRecords GraphRecordsOf(AppRecords& records);

// A name ending .tl1 or .tl2 in any case: a file the graph opens.
bool IsGraphFileName(const QString& path);

// The read-out of the values under the mouse: "dd MMM yyyy hh:mm:ss" and "   label: value" for
// each curve with a value there (NaN: none), at `precision` decimals.
QString ReadoutText(double dateTime, const std::vector<QString>& labels, const std::vector<double>& values,
                    int precision);

class GraphDocument {
public:
    GraphDocument(const GraphRecords& records, MessageService& messages);

    // A chosen file becomes the data file; "File: <name> not found" when it cannot be read.
    bool open(const QString& path);
    // The data file read and its buffer built. The recording is read aside, so a file that fails
    // leaves the loaded one as it was. On success every channel is shown.
    bool load();
    // The readings of the current zoom window read into the buffer again.
    bool refill();
    // Before a chart is set up: a real-time chart has no data file, a file chart without one
    // takes the last data file of the settings.
    void prepareChart(bool realTime);
    void clearZoom();
    // A live chart: a recording made from the last status with the given channels, all shown.
    void startLive(const std::vector<int>& channels);

    enum class ZoomStep { Refused, Zoomed, Whole };
    // A range picked on the chart: Zoomed when the window's readings are in the buffer, Whole when
    // the bank file could not give them back and the whole recording is shown again, Refused
    // (with its message) when there is nothing to zoom into.
    ZoomStep zoomIn(double from, double to);
    // Back to the whole recording; false when the graph was not zoomed.
    bool undoZoom();

    enum class UnitStep { Unchanged, Recomputed, Reloaded, Refused };
    // A unit choice of the Change menu. A single-bank recording is recomputed from its raw
    // readings; a multi-bank one is read again from its .TL1 file (Reloaded: as after load), and
    // when that fails the choice is put back (Refused). Unchanged: nothing shown depends on it.
    UnitStep chooseTemperature(bool fahrenheit, bool liveChart);
    UnitStep chooseMoisture(int humidityQuantity, bool liveChart);

    // X values of the buffer's points (days); the first stamp's complaints are shown unless the
    // program answers calls.
    std::vector<double> pointTimes();

    bool hasReadings() const { return m_records.dataSet.channelCount() > 0 && m_buffer.graphPointCount > 0; }
    // The description without its trailing blanks: the chart's title.
    QString title() const;
    std::array<ChannelUnit, 4> channelUnits() const;
    ViewportSource viewportSource() const;

    // --- Analysis ---
    // The readings at full resolution, read once per load or unit change; null for a live chart
    // or when they cannot be read.
    const RecordingSeries* series();
    // The limits of the file, from its side-car file (read at load).
    const LimitSet& limits() const { return m_limits; }
    // New limits kept in the side-car file; the error text, empty when kept.
    QString setLimits(const LimitSet& limits);
    GraphCursors& cursors() { return m_cursors; }
    // The statistics of the visible channels between the cursors when both are set (and asked
    // for), else over [viewFrom, viewTo].
    Summary analysis(double viewFrom, double viewTo, bool betweenCursors = true);
    // The visible channels' readings, for the cursor read-out.
    std::vector<const ChannelSeries*> visibleSeries();

    // --- Overlays: more data files on the loaded one's time axis ---
    // Adds `path` (.TL1 or .TL2) over the loaded recording; false, with its load's message shown,
    // when it cannot be read (the graph stays as it was).
    bool addOverlay(const QString& path);
    void removeOverlay(int index);
    const std::vector<RecordingSeries>& overlays() const { return m_overlays; }
    OverlayAlignment alignment() const { return m_alignment; }
    void setAlignment(OverlayAlignment alignment) { m_alignment = alignment; }
    // Days added to overlay `index`'s times.
    double overlayShift(int index);
    // The loaded recording and every overlay, and their shifts, for the export of an overlay.
    std::vector<const RecordingSeries*> allSeries();
    std::vector<double> allShifts();

    const GraphBuffer& buffer() const { return m_buffer; }
    ZoomWindow& zoom() { return m_zoom; }
    const ZoomWindow& zoom() const { return m_zoom; }
    ChannelVisibility& visibility() { return m_visibility; }
    const GraphRecords& records() const { return m_records; }
    bool loadError() const { return m_loadError; }
    void setLoadError(bool error) { m_loadError = error; }

private:
    UnitStep applyUnitChoice(bool temperature, bool liveChart);
    bool reloadForUnits();
    void show(const QString& text, bool error, int helpContext = 0);

    GraphRecords m_records;
    MessageService& m_messages;
    GraphBuffer m_buffer;
    ZoomWindow m_zoom;
    ChannelVisibility m_visibility;
    bool m_loadError = false;
    std::optional<RecordingSeries> m_series;
    bool m_seriesRead = false;
    LimitSet m_limits;
    std::vector<RecordingSeries> m_overlays;
    QString m_overlayBase;   // the file the overlays were added to
    OverlayAlignment m_alignment = OverlayAlignment::AbsoluteTime;
    void reloadOverlays();
    GraphCursors m_cursors;
    bool m_temperatureColumn = false;   // a multi-bank file's columns that depend on the choices
    bool m_humidityColumn = false;
};

} // namespace tamble
