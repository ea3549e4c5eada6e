#include "ui/graph/graph_window.h"
#include "ui/graph/viewports_dialog.h"

#include "util/user_dialog.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <cmath>

namespace tamble {

GraphWindow::GraphWindow(const GraphRecords& records, MessageService& messages, HelpService* help, QWidget* parent)
    : QMainWindow(parent), m_records(records), m_messages(messages), m_doc(records, messages), m_help(help),
      m_chart(std::make_unique<ChartAdapter>(this)),
      m_channelColours{QColor(Qt::blue), QColor(Qt::red), QColor(0, 128, 0), QColor(Qt::magenta)}
{
    setObjectName(QStringLiteral("TGraph"));
    setWindowTitle(GraphCaption(false));
    setAcceptDrops(true);
    setCentralWidget(m_chart->widget());
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("GraphStatus"));
    m_status->setAccessibleName(QStringLiteral("Value under the mouse"));
    statusBar()->addWidget(m_status, 1);
    buildMenus();
    connect(m_chart->widget(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) {
                m_popupTime = m_chart->pixelToDateTime(at.x());
                m_popup->popup(m_chart->widget()->mapToGlobal(at));
            });
    m_chart->setMouseMoveHandler([this](double dateTime, int, int) { mouseMoved(dateTime); });
    m_chart->setZoomHandler([this](double from, double to) { ZoomIn(from, to); });
    m_chart->setMouseDownHandler([this](bool down) { m_live.setMouseDown(down); });
    m_chart->setZoomOutHandler([this] {
        if (m_undoZoom->isEnabled())
            UndoZoom();
    });
    chooseFile = [this] {
        QFileDialog dialog(this, QString::fromLatin1(kSelectGraphTitle), m_records.programDir, GraphFileFilter());
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(QStringLiteral("tl1"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        if (auto* buttons = dialog.findChild<QDialogButtonBox*>(); buttons && m_help) {
            QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
            help->setAccessibleName(QStringLiteral("Help"));
            connect(help, &QPushButton::clicked, this, [this] { m_help->showHelp(kSelectGraphHelpContext); });
        }
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                        : QString();
    };
    SetUpChart();
}

GraphWindow::~GraphWindow() = default;

void GraphWindow::setChannelColours(const std::array<QColor, 4>& colours)
{
    m_channelColours = colours;
    applySubsetColours();
    m_chart->redraw();
}

void GraphWindow::applySubsetColours()
{
    const DataSet& data = m_records.dataSet;
    const int subsets = std::min<int>(m_chart->subsetCount(), static_cast<int>(m_plan.subsets.size()));
    for (int k = 0; k < subsets; ++k) {
        const int position = m_plan.subsets[static_cast<std::size_t>(k)];
        const int channel = position < data.channelCount() ? data.channelList[static_cast<std::size_t>(position)] : 1;
        m_chart->setSubsetColour(k, m_channelColours[static_cast<std::size_t>(channel - 1)]);
    }
    for (const OverlaySubset& o : m_overlaySubsets)
        m_chart->setSubsetColour(o.subset, OverlayColour(m_channelColours[static_cast<std::size_t>(o.channel - 1)], o.file + 1));
}

void GraphWindow::setChartColours(const ChartFrameColours& colours)
{
    m_chart->setColours(colours);
}

void GraphWindow::SetUpChart()
{
    m_chart->setXAxisLabel(QString());
    m_chart->setTitles(QString(), QString());
    m_chart->setPrecision(2);
    m_precision = 2;
    checkItem(m_precisionGroup, 2);
    m_undoZoom->setEnabled(false);
    const bool live = m_records.session.realTimeGraph;
    m_export->setEnabled(!live);
    command(QStringLiteral("Temperature"))->setEnabled(!live);
    command(QStringLiteral("Moisture"))->setEnabled(!live);
    m_doc.prepareChart(live);
    applyPreferences();
}

void GraphWindow::applyPreferences()
{
    const SettingsRecord& s = m_records.settings;
    m_gridInFront->setChecked(s.gridInFront);
    m_chart->setGridInFront(s.gridInFront);
    m_markPoints->setChecked(s.markDataPoints);
    m_thick->setChecked(s.thickPlotting);
    m_chart->setThickLines(s.thickPlotting);
    checkItem(m_temperatureGroup, s.fahrenheit ? 0 : 1);
    // An unknown grid, text size or colour mode leaves the chart as it was and checks nothing.
    checkOnly(m_gridGroup, GridItem(s.grid));
    if (GridItem(s.grid) >= 0)
        m_chart->setGrid(s.grid);
    checkOnly(m_fontGroup, FontSizeItem(s.textSize));
    if (FontSizeItem(s.textSize) >= 0)
        m_chart->setFontSize(s.textSize);
    checkOnly(m_displayGroup, DisplayModeItem(s.colourMode));
    if (DisplayModeItem(s.colourMode) >= 0)
        m_chart->setViewingStyle(s.colourMode);
    checkItem(m_moistureGroup, MoistureItem(s.humidityQuantity));
}

void GraphWindow::setBusy(bool busy)
{
    setEnabled(!busy);
    m_chart->widget()->setEnabled(!busy);
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool GraphWindow::hasRecording() const
{
    return m_liveShown || m_doc.hasReadings();
}

bool GraphWindow::OpenGraphFile()
{
    const QString chosen = chooseFile ? chooseFile() : QString();
    if (chosen.isEmpty()) {
        m_doc.setLoadError(true);
        return false;
    }
    return openChosenFile(chosen);
}

bool GraphWindow::openChosenFile(const QString& path)
{
    if (!m_doc.open(path))
        return false;
    if (m_records.session.realTimeGraph && endRealTimeSession)
        endRealTimeSession();
    SetUpChart();
    return true;
}

void GraphWindow::clearZoomState()
{
    m_doc.clearZoom();
}

void GraphWindow::ZoomIn(double zmin, double zmax)
{
    if (m_liveShown) {   // a live chart, or what is left of it, zooms the view only
        liveZoomIn(zmin, zmax);
        return;
    }
    if (!m_doc.overlays().empty()) {   // every file narrowed to the range alike
        if (zmax > zmin) {
            m_overlayView = {zmin, zmax};
            BuildGraph();
        }
        return;
    }
    setBusy(true);
    if (m_doc.zoomIn(zmin, zmax) != GraphDocument::ZoomStep::Refused)
        BuildGraph();
    setBusy(false);
}

void GraphWindow::UndoZoom()
{
    if (m_liveShown) {
        liveUndoZoom();
        return;
    }
    if (m_overlayView) {
        m_overlayView.reset();
        BuildGraph();
        return;
    }
    setBusy(true);
    if (m_doc.undoZoom())
        BuildGraph();
    setBusy(false);
}

ViewportsDialog& GraphWindow::viewportsDialog()
{
    if (!m_viewportsDlg) {
        HelpService* help = m_help;
        if (!help) {
            struct NoHelp final : HelpService {
                void showHelp(int) override {}
            };
            m_noHelp = std::make_unique<NoHelp>();
            help = m_noHelp.get();
        }
        m_viewportsDlg = new ViewportsDialog(m_records.settings, m_doc.visibility(), m_messages, *help, this);
        connect(m_viewportsDlg, &QDialog::accepted, this, [this] {
            m_plan = PlanViewports(m_records.settings, viewportSource(), m_doc.visibility(), false);
            LayoutViewports();
            m_chart->refresh();
        });
        prepareViewportsDialog();
    }
    return *m_viewportsDlg;
}

void GraphWindow::prepareViewportsDialog()
{
    if (!m_viewportsDlg)
        return;
    const DataSet& data = m_records.dataSet;
    std::array<int, 4> channels{};
    for (int p = 0; p < data.channelCount() && p < 4; ++p)
        channels[static_cast<std::size_t>(p)] = data.channelList[static_cast<std::size_t>(p)];
    m_viewportsDlg->prepare(channels, data.channelLabel, m_records.session.realTimeGraph);
}

void GraphWindow::openFromMenu()
{
    if (OpenGraphFile()) {
        clearZoomState();
        LoadGraph();
    }
}

bool GraphWindow::LoadGraph()
{
    setBusy(true);
    const bool ok = m_doc.load();
    if (ok)
        showLoaded();
    setBusy(false);
    return ok;
}

// A recording just read: the chart set up for it and drawn.
void GraphWindow::showLoaded()
{
    m_liveShown = false;
    prepareViewportsDialog();
    SetUpChart();
    BuildGraph();
    emit fileLoaded();
}

void GraphWindow::BuildGraph()
{
    setBusy(true);
    m_status->clear();   // the read-out named the readings of the chart before
    const DataSet& data = m_records.dataSet;
    m_undoZoom->setEnabled(m_liveShown ? m_live.zoomed() || m_live.hold() : data.zoom.zoomed || m_overlayView);
    m_chart->setTitles(m_doc.title(), QString());
    m_chart->setXAxisLabel(m_liveShown ? QString() : XAxisLabelText(m_records.dataFileName, FileNameDisplay::NameOnly));

    // An unzoomed build chooses the viewports afresh, except the one right after an undo.
    const bool choose = m_liveShown || (!data.zoom.zoomed && !m_doc.zoom().takeKeepViewportsOnce());
    m_plan = PlanViewports(m_records.settings, viewportSource(), m_doc.visibility(), choose);
    LayoutViewports();
    m_chart->setMarkDataPoints(PointMarksShown(m_records.settings.markDataPoints, m_doc.buffer().graphStep));
    m_chart->refresh();
    refreshAnalysis();
    setBusy(false);
}

void GraphWindow::LayoutViewports()
{
    std::vector<std::vector<int>> subsets;
    std::vector<double> shares;
    int k = 0;
    for (const ViewportAxis& axis : m_plan.axes) {
        subsets.emplace_back();
        for (std::size_t i = 0; i < axis.positions.size(); ++i)
            subsets.back().push_back(k++);
        shares.push_back(m_plan.heightShare);
    }
    placeOverlaySubsets(subsets, k);
    m_chart->setViewports(subsets, shares);
    FillChartData();
    ApplyViewportAxes();
    m_chart->setXRange(m_liveShown ? m_liveView : ChartRange{});
    // The layout made the bands anew: the cursors and limits go back in.
    drawCursors();
    drawLimitMarks();
}

void GraphWindow::FillChartData()
{
    DataSet& data = m_records.dataSet;
    std::vector<double> x;
    if (m_liveShown) {
        x.assign(m_live.x().begin(), m_live.x().begin() + m_live.count());
    } else {
        x = m_doc.pointTimes();
    }
    const auto points = static_cast<std::ptrdiff_t>(x.size());
    const int subsets = std::min<int>(m_chart->subsetCount(), static_cast<int>(m_plan.subsets.size()));
    for (int k = 0; k < subsets; ++k) {
        const int position = m_plan.subsets[static_cast<std::size_t>(k)];
        if (m_liveShown) {
            const auto& values = m_live.y(position);
            m_chart->setSubsetData(k, x, std::vector<float>(values.begin(), values.begin() + points));
        } else {
            const auto& values = m_doc.buffer().values[static_cast<std::size_t>(position)];
            m_chart->setSubsetData(k, x, std::vector<float>(values.begin(), values.begin() + points));
        }
        const int channel = position < data.channelCount() ? data.channelList[static_cast<std::size_t>(position)] : 1;
        m_chart->setSubsetLabel(k, QString::fromLatin1(LegendText(data.channelLabel[static_cast<std::size_t>(channel - 1)])));
    }
    if (!m_liveShown && !m_doc.overlays().empty())
        fillOverlayData();
    applySubsetColours();
    m_chart->setThickLines(m_records.settings.thickPlotting);
}

void GraphWindow::ApplyViewportAxes()
{
    std::vector<YRange> running;
    if (m_liveShown) {
        std::vector<std::vector<int>> bands;
        for (const ViewportAxis& axis : m_plan.axes)
            bands.push_back(axis.positions);
        running = m_live.viewportRanges(bands);
    }
    for (std::size_t v = 0; v < m_plan.axes.size(); ++v) {
        const ViewportAxis& axis = m_plan.axes[v];
        ChartRange range;
        if (axis.scale == AxisScale::Fixed)
            range = {true, axis.min, axis.max};
        else if (axis.scale == AxisScale::Manual && v < running.size() && running[v].min <= running[v].max)
            range = {true, running[v].min, running[v].max};
        m_chart->setYAxis(static_cast<int>(v), QString::fromLatin1(axis.label), range);
    }
}

ViewportSource GraphWindow::viewportSource() const
{
    ViewportSource source = m_doc.viewportSource();
    source.realTime = m_liveShown;
    return source;
}

void GraphWindow::RedrawGraph()
{
    m_chart->redraw();
}

bool GraphWindow::refillBuffer()
{
    return m_doc.refill();
}

// A unit choice of the Change menu: the chart follows what the recording made of it, and a choice
// the recording refused is unchecked again.
void GraphWindow::applyUnitStep(GraphDocument::UnitStep step)
{
    switch (step) {
    case GraphDocument::UnitStep::Unchanged: return;
    case GraphDocument::UnitStep::Recomputed:
        m_plan = PlanViewports(m_records.settings, viewportSource(), m_doc.visibility(), false);
        FillChartData();
        ApplyViewportAxes();
        drawLimitMarks();
        m_status->clear();
        m_chart->refresh();
        refreshAnalysis();
        return;
    case GraphDocument::UnitStep::Reloaded: showLoaded(); return;
    case GraphDocument::UnitStep::Refused:
        checkItem(m_temperatureGroup, m_records.settings.fahrenheit ? 0 : 1);
        checkItem(m_moistureGroup, MoistureItem(m_records.settings.humidityQuantity));
        return;
    }
}

QString GraphWindow::statusText() const
{
    return m_status->text();
}

void GraphWindow::mouseMoved(double dateTime)
{
    if (!std::isfinite(dateTime))
        return;
    std::vector<QString> labels;
    for (int k = 0; k < m_chart->subsetCount(); ++k)
        labels.push_back(m_chart->subsetLabel(k));
    m_status->setText(ReadoutText(dateTime, labels, m_chart->valuesAt(dateTime), m_precision));
}

void GraphWindow::showEvent(QShowEvent* event)
{
    const int screenHeight = screen() ? screen()->geometry().height() : 480;
    const WindowSize size = GraphWindowSize(screenHeight);
    resize(size.width, size.height);
    setWindowTitle(GraphCaption(m_records.session.realTimeGraph));
    QMainWindow::showEvent(event);
    m_live.setWindowVisible(true);
    if (m_liveShown) {   // everything that arrived while the window was hidden
        applyLiveView();
        m_chart->refresh();
    }
    // A live chart (running or ended) stays until a file is chosen.
    if (m_loadOnShow && !m_records.session.realTimeGraph && !m_liveShown) {
        m_loadOnShow = false;
        LoadGraph();
    }
}

void GraphWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (m_records.session.realTimeGraph) {
        UserMessage m;
        m.kind = DialogKind::Confirmation;
        m.text = QString::fromLatin1(kTerminateRealTimeGraphQuestion);
        m.buttons = DialogButtons::YesNo;
        if (m_messages.ask(m) == DialogAnswer::Yes) {
            if (endRealTimeSession)
                endRealTimeSession();
        } else if (hideSessionWindow) {
            hideSessionWindow();   // the readings go on arriving, undrawn
        }
    }
    m_live.setWindowVisible(false);
    hide();
    emit closed();
}

QString GraphWindow::graphFileIn(const QMimeData* mime)
{
    const auto urls = mime ? mime->urls() : QList<QUrl>{};
    if (urls.size() != 1 || !urls.front().isLocalFile() || !IsGraphFileName(urls.front().toLocalFile()))
        return {};
    return urls.front().toLocalFile();
}

bool GraphWindow::openDropped(const QString& path)
{
    if (!openChosenFile(path))
        return false;
    clearZoomState();
    if (!isVisible()) {
        m_loadOnShow = true;   // the next show loads it
        return true;
    }
    return LoadGraph();
}

void GraphWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!graphFileIn(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void GraphWindow::dropEvent(QDropEvent* event)
{
    const QString path = graphFileIn(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    openDropped(path);
}

} // namespace tamble
