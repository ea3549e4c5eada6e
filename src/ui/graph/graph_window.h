#pragma once
// The graph window: a data file (.TL1, or the .TL2 file of a multi-bank
// recording) drawn as time plots, with its display menus mirrored in a pop-up
// menu. Rules live in graph/graph_rules.h; the chart is a ChartAdapter.

#include "program/graph_document.h"
#include "graph/graph_rules.h"
#include "graph/graphic_export.h"
#include "graph/realtime_graph.h"
#include "graph/viewports.h"
#include "graph/zoom.h"
#include "ui/graph/chart_adapter.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QMimeData;
class QTimer;

namespace tamble {

class ChartAdapter;
class HelpService;
class MessageService;
class ViewportsDialog;
class StatisticsPanel;
class ExcursionsPanel;
class CursorReadoutPanel;
class LimitsDialog;

// The colour of a channel in the `file`-th file of an overlay (0: the loaded file's own).
QColor OverlayColour(const QColor& channel, int file);

class GraphWindow : public QMainWindow {
    Q_OBJECT
public:
    GraphWindow(const GraphRecords& records, MessageService& messages, HelpService* help, QWidget* parent = nullptr);
    ~GraphWindow() override;

    // File dialog, then the open step; false on cancel or failure (load error flag set).
    bool OpenGraphFile();
    // The open step for a chosen name: "File: <name> not found" when it cannot be read.
    bool openChosenFile(const QString& path);
    // Loads the data file name of the records and builds the graph; false on failure.
    bool LoadGraph();
    void SetUpChart();
    void BuildGraph();
    void FillChartData();
    void RedrawGraph();

    void setLoadOnShow(bool on) { m_loadOnShow = on; }
    bool loadOnShow() const { return m_loadOnShow; }
    bool loadError() const { return m_doc.loadError(); }
    // The chart holds a recording (a file's readings or a live chart).
    bool hasRecording() const;
    void clearZoomState();
    // A horizontal range picked on the chart (date-times): a file graph reads the
    // readings of the window again at full detail.
    void ZoomIn(double zmin, double zmax);
    // "Undo Zoom" and the chart's zoom-out gesture: back to the whole recording.
    void UndoZoom();
    // The chart laid out again for the settings' viewports and the visible channels.
    void LayoutViewports();
    // "Viewports": the "Set Viewports" dialog, prepared for the loaded recording.
    ViewportsDialog& viewportsDialog();

    // The real-time graph: the window's part of starting it (the next reading
    // starts the chart), and each real-time line of the session.
    void startRealTime();
    void AppendRealTimeReading(const QByteArray& line);
    const RealTimeGraph& live() const { return m_live; }
    bool showsLiveChart() const { return m_liveShown; }
    // Ends the session of the running real-time graph (the main window's runner).
    std::function<void()> endRealTimeSession;
    // Hides the session window while the real-time graph runs on.
    std::function<void()> hideSessionWindow;
    // The PC clock (tests replace it).
    std::function<QDateTime()> clock;
    // Shortest time between two repaints of the live chart: a logger polled as
    // fast as the line allows would otherwise keep a core busy drawing.
    int liveRepaintMs = 200;
    // Reads the readings of the current window (records.dataSet.zoom) into the graph
    // buffer again: the zoom code sets the window, calls this, then BuildGraph.
    bool refillBuffer();
    // A single dropped .tl1/.tl2 file (any case), else empty; opening it as a graph.
    static QString graphFileIn(const QMimeData* mime);
    bool openDropped(const QString& path);

    // Command of the window's menus by its caption without "&" (e.g. "Celsius", "Dew Point").
    QAction* command(const QString& caption) const;
    ChartAdapter& chart() { return *m_chart; }
    QMenu* popupMenu() const { return m_popup; }
    const GraphBuffer& graphBuffer() const { return m_doc.buffer(); }
    int numericPrecision() const { return m_precision; }
    QString statusText() const;

    // Plug-in points for the colours and export windows.
    std::function<void()> onColors;           // "&Colors"
    std::function<void()> onExport;           // "&Export"
    // File chooser of "Select Graph" (tests replace it); returns an empty name on cancel.
    std::function<QString()> chooseFile;
    // The save dialog of Analysis/Report (tests replace it); an empty name on cancel.
    std::function<QString()> chooseReportFile;

    // The analysis: cursors placed on readings, the statistics and excursions docks.
    void placeCursor(CursorName name, double at);
    StatisticsPanel& statisticsPanel() { return *m_statistics; }
    ExcursionsPanel& excursionsPanel() { return *m_excursions; }
    CursorReadoutPanel& cursorPanel() { return *m_cursorPanel; }
    GraphDocument& document() { return m_doc; }

    // The chart as a picture file; the format follows the file name.
    bool exportPicture(const QString& path, const GraphicSize& size);

    void setChannelColours(const std::array<QColor, 4>& colours);
    void setChartColours(const ChartFrameColours& colours);
    ChannelVisibility& visibility() { return m_doc.visibility(); }
    const ViewportPlan& viewportPlan() const { return m_plan; }
    const ZoomWindow& zoomWindow() const { return m_doc.zoom(); }

signals:
    void closed();
    // A data file was read and drawn (records.dataSet holds it).
    void fileLoaded();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    QMenu* addRadioMenu(QMenu* parent, const QString& title, const QStringList& items,
                        std::function<void(int)> chosen, QActionGroup*& group);
    QAction* addToggle(QMenu* parent, const QString& caption, std::function<void(bool)> toggled);
    QAction* addCommand(QMenu* parent, const QString& caption, const QString& shortcut, std::function<void()> run);
    void checkItem(QActionGroup* group, int item);   // an unknown item changes nothing
    void checkOnly(QActionGroup* group, int item);   // an unknown item unchecks all
    void applyPreferences();
    void applySubsetColours();
    void ApplyViewportAxes();
    ViewportSource viewportSource() const;
    void InitRealTimeChart();
    void applyLiveView();
    void liveZoomIn(double zmin, double zmax);
    void liveUndoZoom();
    void repaintLive();
    double now() const;
    void prepareViewportsDialog();
    void applyUnitStep(GraphDocument::UnitStep step);
    void showLoaded();
    void mouseMoved(double dateTime);
    void printGraph();
    void openFromMenu();
    void setBusy(bool busy);
    void buildAnalysisMenu();
    // Overlays: the subsets of the added files after the loaded file's, and their points.
    void placeOverlaySubsets(std::vector<std::vector<int>>& subsets, int firstSubset);
    void fillOverlayData();
    void addOverlayFile();
    void removeOverlayFile(int index);
    void overlaysChanged();
    void exportOverlay();
    struct OverlaySubset {
        int file = 0;       // index among the overlays
        int channel = 1;    // 1..4
        int series = 0;     // index in the overlay's channels
        int subset = 0;
    };
    std::vector<OverlaySubset> m_overlaySubsets;
    std::optional<std::pair<double, double>> m_overlayView;   // zoomed view with overlays shown
    QMenu* m_removeFileMenu = nullptr;
    QAction* m_alignSinceStart = nullptr;
    // File chooser of File/Add File (tests replace it).
public:
    std::function<QString()> chooseOverlayFile;
    std::function<QString()> chooseOverlayExport;
private:
    std::pair<double, double> viewSpan() const;
    void stepCursor(int readings);
    void cursorsMoved();
    void showCursorReadout();
    void drawCursors();
    void drawLimitMarks();
    void refreshAnalysis();
    void openLimits();
    void zoomToExcursion(double from, double to);
    void writeReport();

    GraphRecords m_records;
    MessageService& m_messages;
    GraphDocument m_doc;
    HelpService* m_help;
    std::unique_ptr<ChartAdapter> m_chart;
    ViewportPlan m_plan;
    RealTimeGraph m_live;
    RealTimeReadingDecoder m_decoder;
    bool m_liveShown = false;          // the chart holds the real-time graph's points
    ChartRange m_liveView;             // X range of the live chart
    QTimer* m_liveRepaint = nullptr;   // a repaint held back by liveRepaintMs
    QElapsedTimer m_sinceLiveRepaint;
    ViewportsDialog* m_viewportsDlg = nullptr;
    std::unique_ptr<HelpService> m_noHelp;
    std::array<QColor, 4> m_channelColours;
    bool m_loadOnShow = true;
    int m_precision = 2;
    FileNameDisplay m_fileNameDisplay = FileNameDisplay::NameOnly;

    QMenu* m_popup = nullptr;
    StatisticsPanel* m_statistics = nullptr;
    ExcursionsPanel* m_excursions = nullptr;
    CursorReadoutPanel* m_cursorPanel = nullptr;
    LimitsDialog* m_limitsDialog = nullptr;
    std::vector<QAction*> m_analysisActions;
    double m_popupTime = 0;   // the date-time under the pop-up menu
    QLabel* m_status = nullptr;
    std::vector<QAction*> m_actions;
    QActionGroup* m_fontGroup = nullptr;
    QActionGroup* m_gridGroup = nullptr;
    QActionGroup* m_temperatureGroup = nullptr;
    QActionGroup* m_moistureGroup = nullptr;
    QActionGroup* m_precisionGroup = nullptr;
    QActionGroup* m_fileNameGroup = nullptr;
    QActionGroup* m_displayGroup = nullptr;
    QAction* m_gridInFront = nullptr;
    QAction* m_markPoints = nullptr;
    QAction* m_thick = nullptr;
    QAction* m_undoZoom = nullptr;
    QAction* m_export = nullptr;
};

} // namespace tamble
