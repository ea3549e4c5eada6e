#include "ui/graph/graph_window.h"
#include "format/day_number.h"
#include "ui/graph/viewports_dialog.h"

#include "datafiles/csv_reader.h"
#include "datafiles/tl1_loader.h"
#include "datafiles/tl2.h"
#include "conversion/channel_units.h"
#include "program/app_records.h"
#include "program/export_wiring.h"
#include "util/user_dialog.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimeZone>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <cmath>

namespace tamble {
namespace {

QString plain(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

bool isGraphFile(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("tl1") || suffix == QLatin1String("tl2");
}

} // namespace

GraphWindow::GraphWindow(AppRecords& records, MessageService& messages, HelpService* help, QWidget* parent)
    : QMainWindow(parent), m_records(records), m_messages(messages), m_help(help),
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
            [this](const QPoint& at) { m_popup->popup(m_chart->widget()->mapToGlobal(at)); });
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

QAction* GraphWindow::addCommand(QMenu* parent, const QString& caption, const QString& shortcut,
                                 std::function<void()> run)
{
    QAction* a = parent->addAction(caption);
    a->setObjectName(plain(caption));
    if (!shortcut.isEmpty())
        a->setShortcut(QKeySequence(shortcut));
    connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
    m_actions.push_back(a);
    return a;
}

QAction* GraphWindow::addToggle(QMenu* parent, const QString& caption, std::function<void(bool)> toggled)
{
    QAction* a = parent->addAction(caption);
    a->setObjectName(plain(caption));
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [toggled = std::move(toggled)](bool on) { toggled(on); });
    m_actions.push_back(a);
    return a;
}

QMenu* GraphWindow::addRadioMenu(QMenu* parent, const QString& title, const QStringList& items,
                                 std::function<void(int)> chosen, QActionGroup*& group)
{
    QMenu* menu = parent->addMenu(title);
    menu->setObjectName(plain(title));
    m_actions.push_back(menu->menuAction());
    group = new QActionGroup(this);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int i = 0; i < items.size(); ++i) {
        QAction* a = menu->addAction(items[i]);
        a->setObjectName(plain(items[i]));
        a->setCheckable(true);
        group->addAction(a);
        m_actions.push_back(a);
        connect(a, &QAction::triggered, this, [a, i, chosen] {
            a->setChecked(true);
            chosen(i);
        });
    }
    return menu;
}

void GraphWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QMenu* change = menuBar()->addMenu(QStringLiteral("&Change"));
    QAction* open = addCommand(file, QStringLiteral("&Open"), QStringLiteral("Ctrl+O"), [this] { openFromMenu(); });
    m_export = addCommand(file, QStringLiteral("&Export"), QStringLiteral("Ctrl+E"), [this] { if (onExport) onExport(); });
    QAction* print = addCommand(file, QStringLiteral("&Print"), QStringLiteral("Ctrl+P"), [this] { printGraph(); });
    addCommand(file, QStringLiteral("Exit Graph"), QStringLiteral("Ctrl+X"), [this] { close(); });

    QAction* viewports = addCommand(change, QStringLiteral("&Viewports"), {}, [this] {
        if (m_records.dataSet.channelCount() > 0)
            viewportsDialog().open();
    });
    QMenu* font = addRadioMenu(change, QStringLiteral("Font &Size"), {QStringLiteral("Large"), QStringLiteral("Medium"), QStringLiteral("Small")},
        [this](int i) { m_records.settings.textSize = static_cast<std::uint8_t>(TextSizeForItem(i)); m_chart->setFontSize(TextSizeForItem(i)); RedrawGraph(); }, m_fontGroup);
    QMenu* grid = addRadioMenu(change, QStringLiteral("Grid &Lines"),
        {QStringLiteral("Both X and Y Axis"), QStringLiteral("Y Axis"), QStringLiteral("X Axis"), QStringLiteral("No Grid")},
        [this](int i) { m_records.settings.grid = static_cast<std::uint8_t>(GridForItem(i)); m_chart->setGrid(GridForItem(i)); RedrawGraph(); }, m_gridGroup);
    m_gridInFront = addToggle(change, QStringLiteral("&Grid in Front"), [this](bool on) {
        m_records.settings.gridInFront = on; m_chart->setGridInFront(on); RedrawGraph(); });
    m_markPoints = addToggle(change, QStringLiteral("Ma&rk Data Points"), [this](bool on) {
        m_records.settings.markDataPoints = on; m_chart->setMarkDataPoints(PointMarksShown(on, m_buffer.graphStep)); RedrawGraph(); });
    m_thick = addToggle(change, QStringLiteral("T&hick Plotting"), [this](bool on) {
        m_records.settings.thickPlotting = on; m_chart->setThickLines(on); RedrawGraph(); });
    m_undoZoom = addCommand(change, QStringLiteral("Undo &Zoom"), {}, [this] { UndoZoom(); });
    QAction* colors = addCommand(change, QStringLiteral("&Colors"), {}, [this] { if (onColors) onColors(); });
    QMenu* temperature = addRadioMenu(change, QStringLiteral("&Temperature"), {QStringLiteral("Fahrenheit"), QStringLiteral("Celsius")},
        [this](int i) { chooseTemperature(i == 0); }, m_temperatureGroup);
    QMenu* moisture = addRadioMenu(change, QStringLiteral("&Moisture"), {QStringLiteral("% RH"), QStringLiteral("Wet Bulb"), QStringLiteral("Dew Point")},
        [this](int i) { chooseMoisture(HumidityForItem(i)); }, m_moistureGroup);
    QMenu* precision = addRadioMenu(change, QStringLiteral("Numeric &Precision"),
        {QStringLiteral("No Decimals"), QStringLiteral("One Decimal"), QStringLiteral("Two Decimals"), QStringLiteral("Three Decimals")},
        [this](int i) { m_precision = i; m_chart->setPrecision(i); RedrawGraph(); }, m_precisionGroup);
    QMenu* fileName = addRadioMenu(change, QStringLiteral("File N&ame"), {QStringLiteral("Name Only"), QStringLiteral("Path + Name"), QStringLiteral("Hide")},
        [this](int i) {
            m_fileNameDisplay = static_cast<FileNameDisplay>(i);
            m_chart->setXAxisLabel(XAxisLabelText(m_records.dataFileName, m_fileNameDisplay));
            RedrawGraph();
        }, m_fileNameGroup);
    QMenu* display = addRadioMenu(change, QStringLiteral("&Display Mode"),
        {QStringLiteral("Color"), QStringLiteral("Monochrome"), QStringLiteral("Monochrome + Symbols")},
        [this](int i) { m_records.settings.colourMode = static_cast<std::uint8_t>(ColourModeForItem(i)); m_chart->setViewingStyle(ColourModeForItem(i)); RedrawGraph(); }, m_displayGroup);
    checkItem(m_precisionGroup, 2);
    checkItem(m_fileNameGroup, 0);

    QAction* help = menuBar()->addAction(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help"));
    m_actions.push_back(help);
    help->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    connect(help, &QAction::triggered, this, [this] {
        if (m_help)
            m_help->showHelp(m_records.session.realTimeGraph ? kRealTimeGraphHelpContext : kGraphHelpContext);
    });

    // Ctrl+C puts the graph on the clipboard as a picture.
    auto* copy = new QAction(QStringLiteral("Copy"), this);
    copy->setObjectName(QStringLiteral("Copy"));
    copy->setShortcut(QKeySequence::Copy);
    connect(copy, &QAction::triggered, this,
            [this] { QApplication::clipboard()->setImage(m_chart->widget()->grab().toImage()); });
    addAction(copy);
    m_actions.push_back(copy);

    // The pop-up menu holds the same actions, so checks and enabling stay in step.
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("GraphPopup"));
    m_popup->addActions({open, viewports, font->menuAction(), grid->menuAction(), m_gridInFront, m_markPoints, m_thick,
                         m_undoZoom, m_export, colors, temperature->menuAction(), moisture->menuAction(),
                         precision->menuAction(), fileName->menuAction(), display->menuAction(), print});
}

QAction* GraphWindow::command(const QString& caption) const
{
    for (QAction* a : m_actions)
        if (plain(a->text()) == caption)
            return a;
    return nullptr;
}

void GraphWindow::checkItem(QActionGroup* group, int item)
{
    const auto actions = group->actions();
    if (item < 0 || item >= actions.size())
        return;   // an unknown value leaves the checks as they were
    for (int i = 0; i < actions.size(); ++i)
        actions[i]->setChecked(i == item);
}

void GraphWindow::checkOnly(QActionGroup* group, int item)
{
    const auto actions = group->actions();
    for (int i = 0; i < actions.size(); ++i)
        actions[i]->setChecked(i == item);
}

bool GraphWindow::exportPicture(const QString& path, const GraphicSize& size)
{
    switch (GraphicFormatOf(path)) {
    case GraphicFormat::Svg: return m_chart->saveSvg(path, size.width, size.height);
    case GraphicFormat::Pdf: return m_chart->savePdf(path, size.width, size.height);
    case GraphicFormat::Png: break;
    }
    return m_chart->savePng(path, size.width, size.height, size.scale);
}

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
    if (live)
        m_records.dataFileName.clear();
    else if (!m_records.settings.lastDataFile.isEmpty() && m_records.dataFileName.isEmpty())
        m_records.dataFileName = m_records.settings.lastDataFile;
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

void GraphWindow::showLoadMessage(const QString& text, bool error, int helpContext)
{
    if (text.isEmpty())
        return;
    UserMessage m;
    m.kind = error ? DialogKind::Error : DialogKind::Information;
    m.text = text;
    m.helpContext = helpContext;
    m.buttons = helpContext ? DialogButtons::OkHelp : DialogButtons::Ok;
    m_messages.ask(m);
}

bool GraphWindow::hasRecording() const
{
    return m_liveShown || (m_records.dataSet.channelCount() > 0 && m_buffer.graphPointCount > 0);
}

bool GraphWindow::OpenGraphFile()
{
    const QString chosen = chooseFile ? chooseFile() : QString();
    if (chosen.isEmpty()) {
        m_loadError = true;
        return false;
    }
    return openChosenFile(chosen);
}

bool GraphWindow::openChosenFile(const QString& path)
{
    m_records.dataFileName = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showLoadMessage(FileNotFoundText(path), false);
        m_loadError = true;
        return false;
    }
    m_loadError = false;
    if (m_records.session.realTimeGraph && endRealTimeSession)
        endRealTimeSession();
    m_records.settings.lastDataFile = path;
    SetUpChart();
    return true;
}

void GraphWindow::clearZoomState()
{
    m_records.dataSet.zoom = ZoomState{};
    m_zoom.clear(m_records.dataSet);
}

void GraphWindow::ZoomIn(double zmin, double zmax)
{
    if (m_liveShown) {   // a live chart, or what is left of it, zooms the view only
        liveZoomIn(zmin, zmax);
        return;
    }
    DataSet& data = m_records.dataSet;
    if (m_buffer.graphPointCount <= 0 || data.channelCount() == 0)
        return;
    const ZoomResult result = m_zoom.zoomIn(data, zmin, zmax, ClockStyleFromSetting(m_records.settings.amPm));
    if (result.outcome != ZoomOutcome::Zoomed) {
        showLoadMessage(result.message, false);
        return;
    }
    setBusy(true);
    if (refillBuffer()) {
        BuildGraph();
    } else {
        // A window the bank file cannot give back: the whole recording again.
        m_zoom.undo(data);
        refillBuffer();
        BuildGraph();
    }
    setBusy(false);
}

void GraphWindow::UndoZoom()
{
    if (m_liveShown) {
        liveUndoZoom();
        return;
    }
    DataSet& data = m_records.dataSet;
    if (!data.zoom.zoomed)
        return;
    setBusy(true);
    m_zoom.undo(data);
    if (!data.multiBank)
        m_visibility.showAll(data.channelCount());
    refillBuffer();
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
        m_viewportsDlg = new ViewportsDialog(m_records.settings, m_visibility, m_messages, *help, this);
        connect(m_viewportsDlg, &QDialog::accepted, this, [this] {
            m_plan = PlanViewports(m_records.settings, viewportSource(),
                                   m_visibility, false);
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
    m_loadError = false;
    setBusy(true);
    // The new recording is read aside, so a file that fails leaves the graph as it was.
    auto loaded = std::make_unique<DataSet>();
    loaded->dataFileName = m_records.dataFileName;
    loaded->zoom = m_records.dataSet.zoom;
    const ExportSettings exportSettings = ExportSettingsFrom(m_records.settings, m_records.programDir);
    Tl2BankWriter bankWriter(exportSettings);
    const LoadResult result = LoadDataFile(*loaded, LoadOptionsFrom(m_records.settings, m_records.programDir, &bankWriter));
    GraphBuffer buffer;
    bool ok = result.ok && bankWriter.ok();
    if (!ok)
        showLoadMessage(!result.message.isEmpty() ? result.message : bankWriter.message(), true);
    if (ok && loaded->multiBank) {
        const CsvReadResult csv = ReadCsvDataFile(*loaded, buffer, m_records.programDir);
        ok = csv.ok;
        showLoadMessage(csv.message, !csv.ok || csv.errorKind, csv.helpButton ? csv.helpContext : 0);
        if (csv.fahrenheit)
            m_records.settings.fahrenheit = *csv.fahrenheit;
        if (csv.humidityQuantity)
            m_records.settings.humidityQuantity = static_cast<std::uint8_t>(*csv.humidityQuantity);
        m_temperatureColumn = csv.hasTemperatureColumn;
        m_humidityColumn = csv.hasHumidityColumn;
    } else if (ok) {
        BuildGraphBuffer(*loaded, buffer, m_records.settings.fahrenheit);
    }
    if (ok && (loaded->channelCount() == 0 || buffer.graphPointCount <= 0)) {
        showLoadMessage(QStringLiteral("No readings in ") + QFileInfo(m_records.dataFileName).fileName(), true);
        ok = false;
    }
    if (ok) {
        m_liveShown = false;
        m_records.dataSet = std::move(*loaded);
        m_records.dataFileName = m_records.dataSet.dataFileName;
        m_buffer = buffer;
        m_visibility.showAll(m_records.dataSet.channelCount());
        prepareViewportsDialog();
        SetUpChart();
        BuildGraph();
        emit fileLoaded();
    }
    m_loadError = !ok;
    setBusy(false);
    return ok;
}

void GraphWindow::BuildGraph()
{
    setBusy(true);
    m_status->clear();   // the read-out named the readings of the chart before
    const DataSet& data = m_records.dataSet;
    m_undoZoom->setEnabled(m_liveShown ? m_live.zoomed() || m_live.hold() : data.zoom.zoomed);
    QByteArray title = data.description;
    while (!title.isEmpty() && title.back() == ' ')
        title.chop(1);
    m_chart->setTitles(QString::fromLatin1(title), QString());
    m_chart->setXAxisLabel(m_liveShown ? QString() : XAxisLabelText(m_records.dataFileName, FileNameDisplay::NameOnly));

    // An unzoomed build chooses the viewports afresh, except the one right after an undo.
    const bool choose = m_liveShown || (!data.zoom.zoomed && !m_zoom.takeKeepViewportsOnce());
    m_plan = PlanViewports(m_records.settings, viewportSource(), m_visibility, choose);
    LayoutViewports();
    m_chart->setMarkDataPoints(PointMarksShown(m_records.settings.markDataPoints, m_buffer.graphStep));
    m_chart->refresh();
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
    m_chart->setViewports(subsets, shares);
    FillChartData();
    ApplyViewportAxes();
    m_chart->setXRange(m_liveShown ? m_liveView : ChartRange{});
}

void GraphWindow::FillChartData()
{
    DataSet& data = m_records.dataSet;
    std::vector<double> x;
    if (m_liveShown) {
        x.assign(m_live.x().begin(), m_live.x().begin() + m_live.count());
    } else {
        const StampDateTime t = StampToDateTime(QByteArrayView(data.firstStamp).trimmed());
        if (!m_records.settings.autoAnswer)
            for (const QString& text : t.messages)
                showLoadMessage(text, false);
        const int points = std::clamp(m_buffer.graphPointCount, 0, kGraphPoints);
        const PointPlacement placement = m_zoom.placePoints(data, t.value, points, m_buffer.graphStep);
        x.resize(static_cast<std::size_t>(points));
        for (int i = 0; i < points; ++i)
            x[static_cast<std::size_t>(i)] = placement.start + i * placement.spacing;
    }
    const auto points = static_cast<std::ptrdiff_t>(x.size());
    const int subsets = std::min<int>(m_chart->subsetCount(), static_cast<int>(m_plan.subsets.size()));
    for (int k = 0; k < subsets; ++k) {
        const int position = m_plan.subsets[static_cast<std::size_t>(k)];
        if (m_liveShown) {
            const auto& values = m_live.y(position);
            m_chart->setSubsetData(k, x, std::vector<float>(values.begin(), values.begin() + points));
        } else {
            const auto& values = m_buffer.values[static_cast<std::size_t>(position)];
            m_chart->setSubsetData(k, x, std::vector<float>(values.begin(), values.begin() + points));
        }
        const int channel = position < data.channelCount() ? data.channelList[static_cast<std::size_t>(position)] : 1;
        m_chart->setSubsetLabel(k, QString::fromLatin1(LegendText(data.channelLabel[static_cast<std::size_t>(channel - 1)])));
    }
    applySubsetColours();
    m_chart->setThickLines(m_records.settings.thickPlotting);
}

std::array<ChannelUnit, 4> GraphWindow::channelUnits() const
{
    return DataSetChannelUnits(m_records.dataSet, m_records.settings.fahrenheit, m_records.settings.humidityQuantity);
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
    ViewportSource source = ViewportSourceOf(m_records.dataSet, channelUnits());
    source.realTime = m_liveShown;
    return source;
}

void GraphWindow::RedrawGraph()
{
    m_chart->redraw();
}

bool GraphWindow::refillBuffer()
{
    DataSet& data = m_records.dataSet;
    if (!data.multiBank) {
        BuildGraphBuffer(data, m_buffer, m_records.settings.fahrenheit);
        return true;
    }
    const CsvReadResult csv = ReadCsvDataFile(data, m_buffer, m_records.programDir);
    showLoadMessage(csv.message, !csv.ok || csv.errorKind, csv.helpButton ? csv.helpContext : 0);
    return csv.ok;
}

void GraphWindow::refillAfterUnitChange()
{
    DataSet& data = m_records.dataSet;
    data.scaling.fahrenheit = m_records.settings.fahrenheit;
    data.scaling.humidityQuantity = m_records.settings.humidityQuantity;
    BuildGraphBuffer(data, m_buffer, m_records.settings.fahrenheit);
    m_plan = PlanViewports(m_records.settings, viewportSource(), m_visibility, false);
    FillChartData();
    ApplyViewportAxes();
    m_status->clear();
    m_chart->refresh();
}

// A multi-bank recording holds converted values: it is read again from its .TL1 file.
bool GraphWindow::reloadForUnits(bool temperature)
{
    if (!(temperature ? m_temperatureColumn : m_humidityColumn))
        return true;   // nothing in the file depends on the choice
    const QString previous = m_records.dataFileName;
    m_records.dataFileName = ReloadTl1Name(previous);
    const ZoomState zoom = m_records.dataSet.zoom;
    if (!zoom.zoomed)
        m_records.dataSet.zoom = ZoomState{};
    if (LoadGraph())
        return true;
    m_records.dataFileName = previous;
    m_records.dataSet.zoom = zoom;
    return false;
}

void GraphWindow::chooseTemperature(bool fahrenheit)
{
    const bool before = m_records.settings.fahrenheit;
    m_records.settings.fahrenheit = fahrenheit;
    applyUnitChoice(true, [this, fahrenheit, before] {
        m_records.settings.fahrenheit = !fahrenheit;
        checkItem(m_temperatureGroup, before ? 0 : 1);
    });
}

void GraphWindow::chooseMoisture(int humidityQuantity)
{
    const std::uint8_t before = m_records.settings.humidityQuantity;
    m_records.settings.humidityQuantity = static_cast<std::uint8_t>(humidityQuantity);
    applyUnitChoice(false, [this, before] {
        m_records.settings.humidityQuantity = before;
        checkItem(m_moistureGroup, MoistureItem(before));
    });
}

// A unit change: a single-bank set is recomputed from its raw readings, a multi-bank set is read
// again from its .TL1; `undo` puts the choice back when that fails.
void GraphWindow::applyUnitChoice(bool temperature, const std::function<void()>& undo)
{
    if (!m_records.dataSet.valid && m_records.dataSet.channelCount() == 0)
        return;
    if (!m_records.dataSet.multiBank) {
        if (!m_records.session.realTimeGraph && !m_liveShown)
            refillAfterUnitChange();
        return;
    }
    if (!reloadForUnits(temperature))
        undo();
}

QString GraphWindow::statusText() const
{
    return m_status->text();
}

void GraphWindow::mouseMoved(double dateTime)
{
    if (!std::isfinite(dateTime))
        return;
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(
        static_cast<qint64>(std::llround((dateTime - kUnixEpochDayNumber) * 86400000.0)), QTimeZone::utc());
    QString text = when.toString(QStringLiteral("dd MMM yyyy hh:mm:ss"));
    const std::vector<double> values = m_chart->valuesAt(dateTime);
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (std::isnan(values[k]))
            continue;
        text += QStringLiteral("   ") + m_chart->subsetLabel(static_cast<int>(k)) + QStringLiteral(": ") +
                QString::number(values[k], 'f', m_precision);
    }
    m_status->setText(text);
}

void GraphWindow::printGraph()
{
    auto* preview = new QPrintPreviewDialog(this);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->printer()->setPageOrientation(QPageLayout::Landscape);
    connect(preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
        m_chart->render(*printer, printer->pageLayout().paintRectPixels(printer->resolution()).translated(
                                      -printer->pageLayout().paintRectPixels(printer->resolution()).topLeft()));
    });
    preview->open();
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
    if (urls.size() != 1 || !urls.front().isLocalFile() || !isGraphFile(urls.front().toLocalFile()))
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
