// The graph window's menus: the menu bar and the pop-up menu that holds the same actions, each
// named by its caption without "&" so that tests and screen readers find it.
#include "ui/graph/graph_window.h"
#include "ui/graph/viewports_dialog.h"

#include "util/dialog_buttons.h"
#include "util/user_dialog.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace tamble {

QAction* GraphWindow::addCommand(QMenu* parent, const QString& caption, const QString& shortcut,
                                 std::function<void()> run)
{
    QAction* a = parent->addAction(caption);
    a->setObjectName(WithoutMnemonic(caption));
    if (!shortcut.isEmpty())
        a->setShortcut(QKeySequence(shortcut));
    connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
    m_actions.push_back(a);
    return a;
}

QAction* GraphWindow::addToggle(QMenu* parent, const QString& caption, std::function<void(bool)> toggled)
{
    QAction* a = parent->addAction(caption);
    a->setObjectName(WithoutMnemonic(caption));
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [toggled = std::move(toggled)](bool on) { toggled(on); });
    m_actions.push_back(a);
    return a;
}

QMenu* GraphWindow::addRadioMenu(QMenu* parent, const QString& title, const QStringList& items,
                                 std::function<void(int)> chosen, QActionGroup*& group)
{
    QMenu* menu = parent->addMenu(title);
    menu->setObjectName(WithoutMnemonic(title));
    m_actions.push_back(menu->menuAction());
    group = new QActionGroup(this);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int i = 0; i < items.size(); ++i) {
        QAction* a = menu->addAction(items[i]);
        a->setObjectName(WithoutMnemonic(items[i]));
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
    addCommand(file, QStringLiteral("&Add File..."), {}, [this] { addOverlayFile(); });
    m_removeFileMenu = file->addMenu(QStringLiteral("&Remove File"));
    m_removeFileMenu->setObjectName(QStringLiteral("Remove File"));
    m_removeFileMenu->menuAction()->setEnabled(false);
    m_actions.push_back(m_removeFileMenu->menuAction());
    m_export = addCommand(file, QStringLiteral("&Export"), QStringLiteral("Ctrl+E"), [this] {
        if (!m_doc.overlays().empty())
            exportOverlay();
        else if (onExport)
            onExport();
    });
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
        m_records.settings.markDataPoints = on; m_chart->setMarkDataPoints(PointMarksShown(on, m_doc.buffer().graphStep)); RedrawGraph(); });
    m_thick = addToggle(change, QStringLiteral("T&hick Plotting"), [this](bool on) {
        m_records.settings.thickPlotting = on; m_chart->setThickLines(on); RedrawGraph(); });
    m_undoZoom = addCommand(change, QStringLiteral("Undo &Zoom"), {}, [this] { UndoZoom(); });
    QAction* colors = addCommand(change, QStringLiteral("&Colors"), {}, [this] { if (onColors) onColors(); });
    QMenu* temperature = addRadioMenu(change, QStringLiteral("&Temperature"), {QStringLiteral("Fahrenheit"), QStringLiteral("Celsius")},
        [this](int i) {
            setBusy(true);
            applyUnitStep(m_doc.chooseTemperature(i == 0, m_liveShown));
            setBusy(false);
        }, m_temperatureGroup);
    QMenu* moisture = addRadioMenu(change, QStringLiteral("&Moisture"), {QStringLiteral("% RH"), QStringLiteral("Wet Bulb"), QStringLiteral("Dew Point")},
        [this](int i) {
            setBusy(true);
            applyUnitStep(m_doc.chooseMoisture(HumidityForItem(i), m_liveShown));
            setBusy(false);
        }, m_moistureGroup);
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

    buildAnalysisMenu();

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
    m_popup->addSeparator();
    for (QAction* a : m_analysisActions)
        m_popup->addAction(a);
}

QAction* GraphWindow::command(const QString& caption) const
{
    for (QAction* a : m_actions)
        if (WithoutMnemonic(a->text()) == caption)
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

} // namespace tamble
