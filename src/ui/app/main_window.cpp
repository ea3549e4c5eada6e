#include "ui/app/main_window.h"
#include "ui/app/gui_session_runner.h"
#include "ui/app/home_view.h"
#include "ui/graph/graph_window.h"
#include "ui/graph/graphic_size_dialog.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "settings/port_diagnosis.h"
#include "settings/port_map.h"
#include "program/close_program.h"
#include "directory/directory_list_rules.h"
#include "help/help_pages.h"
#include "link/baud_rate.h"
#include "link/download.h"
#include "link/download_progress.h"
#include "link/modem.h"
#include "link/setup_sender.h"
#include "link/status_text.h"
#include "setup/scaling_dialog_rules.h"
#include "setup/setup_window_lists.h"
#include "graph/colour_scheme.h"
#include "ui/app/settings_dialog.h"
#include "ui/graph/colour_dialog.h"
#include "ui/graph/export_dialog.h"
#include "ui/setup/adjust_scale_dialog.h"
#include "ui/setup/contact_closure_dialog.h"
#include "ui/setup/linear_scale_dialog.h"
#include "ui/setup/scaling_dialogs.h"
#include "ui/setup/select_table_dialog.h"
#include "ui/common/qt_message_service.h"
#include "ui/directory/local_modem_list_dialog.h"
#include "ui/directory/phone_list_dialog.h"
#include "ui/directory/remote_modem_list_dialog.h"
#include "ui/help/about_box.h"
#include "ui/help/help_window.h"
#include "ui/link/com_test_dialog.h"
#include "ui/link/remote_modem_setup_dialog.h"
#include "ui/link/session_window.h"
#include "ui/link/station_address_dialog.h"
#include "ui/link/status_window.h"
#include "ui/setup/get_date_dialog.h"
#include "ui/setup/setup_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QHeaderView>
#include <QPointer>
#include <QScreen>
#include <QTreeView>
#include <QWindow>

namespace tamble {

MainWindow::MainWindow(AppRecords& records, const QString& shippedDataDir, QWidget* parent)
    : QMainWindow(parent), m_records(records), m_recent(records.programDir)
{
    m_recent.load();
    setObjectName(QStringLiteral("TMain"));
    m_help = std::make_unique<HelpWindow>(HelpFolders(records.programDir, shippedDataDir));
    m_qtMessages = std::make_unique<QtMessageService>(*m_help, this);
    m_relay.target = m_qtMessages.get();
    chooseDataFile = [this] {
        QFileDialog dialog(this, QStringLiteral("Receive data"), m_records.programDir,
                           QStringLiteral("Tamble Logger Data (*.TL1)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("TL1"));
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setViewMode(QFileDialog::Detail);
        // Wide enough for the name, size, type and date columns, and never larger than the screen.
        const QRect area = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
        dialog.resize(std::min(860, area.width() - 40), std::min(520, area.height() - 60));
        if (auto* files = dialog.findChild<QTreeView*>()) {
            files->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
            files->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        }
        const QString folder = m_records.programDir;
        dialog.selectFile(SuggestedDataFileName(m_records.loggerInfo.description, QDate::currentDate(),
                                                [folder](const QString& name) {
                                                    return QFileInfo::exists(QDir(folder).filePath(name));
                                                }));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    // The caption until the first paint replaces it.
    setWindowTitle(QStringLiteral("Tamble Logger Setup"));
    resize(800, 480);
    buildControls();
    buildMenus();
    createWindows();
    refresh();
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    m_runner->finished = [](int) {};
}

void MainWindow::setMessageService(MessageService& messages) { m_relay.target = &messages; }

void MainWindow::buildMenus()
{
    for (const Menu& menu : MainMenus()) {
        if (menu.command) {
            // A menu that is a command itself.
            auto* item = menuBar()->addAction(menu.caption);
            item->setObjectName(menu.objectName);
            if (!menu.shortcut.isEmpty())
                item->setShortcut(QKeySequence(menu.shortcut));
            const MainCommand command = *menu.command;
            connect(item, &QAction::triggered, this, [this, command] { run(command); });
            m_actions[command] = item;
            continue;
        }
        QMenu* m = menuBar()->addMenu(menu.caption);
        m->setObjectName(menu.objectName);
        m->menuAction()->setObjectName(menu.objectName);
        m->menuAction()->setVisible(!menu.hidden);
        m_menus[menu.objectName] = m;
        for (const MenuEntry& entry : menu.entries) {
            if (!entry.command) {
                m->addSeparator();
                continue;
            }
            QAction* item = m->addAction(entry.caption);
            const MainCommand command = *entry.command;
            if (!entry.shortcut.isEmpty())
                item->setShortcut(QKeySequence(entry.shortcut));
            connect(item, &QAction::triggered, this, [this, command] { run(command); });
            m_actions[command] = item;
        }
    }
}

namespace {

QFrame* Group(QWidget* parent, const QString& name)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    return frame;
}

} // namespace

void MainWindow::buildControls()
{
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    auto* row = new QHBoxLayout;
    column->addLayout(row);

    m_stationGroup = Group(central, QStringLiteral("NetBevelMain"));
    auto* stationRow = new QHBoxLayout(m_stationGroup);
    auto* stationLabel = new QLabel(QStringLiteral("Station"), m_stationGroup);
    stationLabel->setObjectName(QStringLiteral("NetLabelMain"));
    m_stationField = new QSpinBox(m_stationGroup);
    m_stationField->setObjectName(QStringLiteral("NetFieldMain"));
    m_stationField->setAccessibleName(QStringLiteral("Station"));
    m_stationField->setRange(0, 255);
    m_stationField->setAccelerated(true);
    stationLabel->setBuddy(m_stationField);
    stationRow->addWidget(stationLabel);
    stationRow->addWidget(m_stationField);
    connect(m_stationField, &QSpinBox::valueChanged, this,
            [this](int value) { m_records.settings.stationAddress = static_cast<std::uint8_t>(value); });
    row->addWidget(m_stationGroup);

    m_phoneGroup = Group(central, QStringLiteral("PhoneBevelMain"));
    auto* phoneRow = new QHBoxLayout(m_phoneGroup);
    auto* phoneLabel = new QLabel(QStringLiteral("Phone"), m_phoneGroup);
    phoneLabel->setObjectName(QStringLiteral("PhoneLabelMain"));
    m_phoneBox = new QLineEdit(m_phoneGroup);
    m_phoneBox->setObjectName(QStringLiteral("PhoneBox"));
    m_phoneBox->setAccessibleName(QStringLiteral("Phone"));
    m_phoneBox->setReadOnly(true);
    m_phoneBox->installEventFilter(this);
    phoneLabel->setBuddy(m_phoneBox);
    phoneRow->addWidget(phoneLabel);
    phoneRow->addWidget(m_phoneBox);
    row->addWidget(m_phoneGroup);

    m_modemPanel = Group(central, QStringLiteral("ModemPanel"));
    auto* modemRow = new QHBoxLayout(m_modemPanel);
    modemRow->addWidget(new QLabel(QStringLiteral("Modem"), m_modemPanel));
    m_hangUp = new QPushButton(QStringLiteral("Hang up"), m_modemPanel);
    m_hangUp->setObjectName(QStringLiteral("HangUpBtn"));
    m_hangUp->setAccessibleName(QStringLiteral("Hang up"));
    m_hangUp->setToolTip(QStringLiteral("Set modem \"on hook\""));
    connect(m_hangUp, &QPushButton::clicked, this, [this] {
        HangupModem(*m_runner, m_records.session, [this] { refresh(); });
    });
    modemRow->addWidget(m_hangUp);
    row->addWidget(m_modemPanel);
    row->addStretch();

    m_autoAnswerLabel = new QLabel(QStringLiteral("Auto Answer Mode Active"), central);
    m_autoAnswerLabel->setObjectName(QStringLiteral("AutoAnswerLbl"));
    m_aaEdit = new QLineEdit(central);
    m_aaEdit->setObjectName(QStringLiteral("aaEditbox"));
    m_aaEdit->setAccessibleName(QStringLiteral("Auto Answer Mode Active"));
    m_aaEdit->setReadOnly(true);
    column->addWidget(m_autoAnswerLabel);
    column->addWidget(m_aaEdit);
    m_home = new HomeView(central);
    column->addWidget(m_home, 1);
    connect(m_home, &HomeView::commandChosen, this, [this](MainCommand command) { run(command); });
    connect(m_home, &HomeView::recentFileChosen, this, [this](const QString& path) {
        if (graphWindow().openDropped(path))
            showGraph();
    });
    setCentralWidget(central);
}

void MainWindow::createWindows()
{
    m_runner = std::make_unique<GuiSessionRunner>(m_records, *this);
    m_runner->onDataFileComplete = [this](const QString& file) {
        const LoggerInfo& info = m_records.loggerInfo;
        noteRecentFile(file, info.description, info.firstReadingStamp + QStringLiteral(" – ") + info.lastReadingStamp);
    };
    SessionEngine& engine = m_runner->engine();
    m_dialler = std::make_unique<ModemDialler>([this] {
        const PhoneEntryApplied phone = ApplySelectedPhoneEntry(m_records.programDir, m_records.settings);
        if (phone.applied)
            m_phoneBox->setText(phone.name);
    });
    m_dialler->setPhoneNumberFromCommandLine(m_records.parameters.value(3).size() > 4);
    m_dialler->install(engine);
    m_baud = std::make_unique<BaudRateChanger>();
    m_baud->install(engine);
    m_sender = std::make_unique<SetupSender>(m_records.setup);
    engine.setTransactionHandler(TransactionKind::SendSetup, m_sender.get());

    // Windows are created once, in this order, and only shown and hidden afterwards.
    m_station = new StationAddressDialog(m_records, engine, *m_messages, *m_help, this);
    createSetupWindow();
    m_about = new AboutBox(this);
    m_settings = new SettingsDialog(m_records, *m_messages, *m_help, this);
    m_getDate = new GetDateDialog(m_records.setup, *m_help, m_setupWindow);
    m_setupWindow->setDateDialog(m_getDate);
    m_session = new SessionWindow(this);
    qApp->installEventFilter(this);   // every window that shows: keepSessionWindowInFront
    m_status = new StatusWindow(m_records, engine, *m_messages, *m_help, this);
    m_comTest = new ComTestDialog(m_records, engine, *m_messages, *m_help, this);
    m_remoteSetup = new RemoteModemSetupDialog(m_records, engine, *m_messages, *m_help, this);
    m_remoteList = new RemoteModemListDialog(m_records, *m_messages, *m_help, this);
    m_phoneList = new PhoneListDialog(m_records, *m_messages, *m_help, this);
    m_localList = new LocalModemListDialog(m_records, *m_messages, *m_help, this);

    connect(m_session, &SessionWindow::abortClicked, this, [this] { m_runner->engine().onAbort(); });
    connect(m_status, &StatusWindow::mainWindowShowRequested, this, [this] { show(); });
    connect(m_station, &QDialog::finished, this, [this] { m_runner->setMainWindowEnabled(true); });
    connect(m_settings, &SettingsDialog::applied, this, &MainWindow::onSettingsApplied);
    connect(m_phoneList, &PhoneListDialog::phoneEntryChosen, this,
            [this](const QString& name) { m_phoneBox->setText(name); });
    connect(m_phoneList, &PhoneListDialog::hangUpRequested, this, [this] {
        if (m_records.session.modemOnline && m_records.session.transaction == TransactionKind::None)
            HangupModem(*m_runner, m_records.session, [this] { refresh(); });
    });
    m_remoteList->setConfigureHandler([this] { showModal(*m_remoteSetup); });
    m_phoneBox->setText(m_phoneList->selectedName());
    wireSetupWindow();
}

QAction* MainWindow::action(MainCommand command) const
{
    const auto it = m_actions.find(command);
    return it == m_actions.end() ? nullptr : it->second;
}

void MainWindow::refresh()
{
    setWindowTitle(QStringLiteral("Tamble Logger"));
    setAcceptDrops(true);
    const MainWindowLook look = LookOf(m_records.settings, m_records.session);
    {
        const QSignalBlocker block(m_stationField);
        m_stationField->setValue(look.stationAddress);
    }
    m_stationGroup->setVisible(look.stationVisible);
    m_modemPanel->setVisible(look.modemPanelVisible);
    m_phoneGroup->setVisible(look.phoneVisible);
    m_autoAnswerLabel->setVisible(look.autoAnswerMode);
    m_aaEdit->setVisible(look.autoAnswerMode);
    if (m_setupWindow)
        m_setupWindow->followSettings(look.phoneVisible, m_phoneBox->text());
    refreshHome();
}

void MainWindow::refreshHome()
{
    const bool connected = m_records.session.modemOnline || (m_runner && m_runner->engine().active());
    m_home->display(m_homeModel.content(m_records, ResolveComDevice(m_records.settings.portNumber, m_records.programDir),
                                        m_recent, connected, QDateTime::currentDateTime()));
}

void MainWindow::noteRecentFile(const QString& path, const QByteArray& description, const QString& period)
{
    m_recent.add(path, QString::fromLatin1(description), period);
    m_recent.save();
    refreshHome();
}

void MainWindow::applyAutoAnswer()
{
    const bool on = m_records.settings.autoAnswer;
    for (const QString& name : AutoAnswerDisabledMenus()) {
        if (auto it = m_menus.find(name); it != m_menus.end())
            it->second->menuAction()->setEnabled(!on);
        else if (QAction* command = menuBar()->findChild<QAction*>(name))
            command->setEnabled(!on && command->isEnabled());
    }
    if (QAction* graph = action(MainCommand::Graph))
        graph->setEnabled(!on);
    m_phoneBox->setEnabled(!on);
    m_stationField->setEnabled(!on);
    m_hangUp->setEnabled(!on);
    m_autoAnswerLabel->setVisible(on);
    m_aaEdit->setVisible(on);
    if (on) {
        if (!m_runner->autoAnswer().setupAaComPort())
            m_messages->ask({DialogKind::Warning, QString::fromLatin1(kPortOpenFailedText),
                             DialogButtons::Ok, 0, PortOpenDiagnosis(m_runner->aaQtPort().devicePath()), {}});
    } else {
        m_runner->autoAnswer().disableAutoAnswer();
    }
}

void MainWindow::setAaText(const QString& text, bool visible)
{
    m_aaEdit->setText(text);
    m_aaEdit->setVisible(visible || m_records.settings.autoAnswer);
}

void MainWindow::onSettingsApplied(const SettingsApplied& applied)
{
    Q_UNUSED(applied);
    applyAutoAnswer();
    refresh();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    refresh();
    if (!m_firstPaintDone) {
        m_firstPaintDone = true;
        QTimer::singleShot(0, this, &MainWindow::firstPaint);
    }
}

void MainWindow::firstPaint()
{
    m_runner->setMainWindowEnabled(true);
    loadColoursOnce();
    if (std::exchange(m_records.mode.openGraph, false))
        showGraph();   // the data file named on the command line
    else if (std::exchange(m_records.mode.openSetup, false))
        run(MainCommand::FileSetup);  // the setup file named on the command line, loaded at start
    applyAutoAnswer();
    if (!m_startupWarning.isEmpty())
        m_messages->ask({DialogKind::Warning, std::exchange(m_startupWarning, QString()), DialogButtons::Ok, 0, {}, {}});
}

// The graph window is made once, on first use, and afterwards only shown and hidden.
GraphWindow& MainWindow::graphWindow()
{
    if (!m_graph) {
        m_graph = new GraphWindow(GraphRecordsOf(m_records), *m_messages, m_help.get(), this);
        m_graph->setWindowFlag(Qt::Window);
        wireGraphWindow(*m_graph);
        connect(m_graph, &GraphWindow::fileLoaded, this, [this] {
            const DataSet& data = m_records.dataSet;
            const QString tl1 = data.multiBank ? ReloadTl1Name(data.dataFileName) : data.dataFileName;
            noteRecentFile(QFileInfo::exists(tl1) ? tl1 : data.dataFileName,
                           data.description,
                           QString::fromLatin1(data.firstStamp.trimmed()) + QStringLiteral(" – ") +
                               QString::fromLatin1(data.lastStamp.trimmed()));
        });
        connect(m_graph, &GraphWindow::closed, this, [this] {
            m_runner->setMainWindowEnabled(true);
            show();
        });
    }
    return *m_graph;
}

// The graph colours of the settings' colour file, read at start-up (or when the graph
// window is made before the first paint).
void MainWindow::loadColoursOnce()
{
    if (std::exchange(m_coloursLoaded, true))
        return;
    m_colours = LoadStartupColours(m_records.settings.colourFile, m_records.programDir, *m_messages);
}

// The colours of the colour file, the colour dialog and the export of the graph window.
void MainWindow::wireGraphWindow(GraphWindow& graph)
{
    loadColoursOnce();
    auto apply = [this, &graph] {
        const ChartColours c = ChartColoursOf(m_colours);
        std::array<QColor, 4> channels;
        for (std::size_t i = 0; i < channels.size(); ++i)
            channels[i] = QColor::fromRgb(c.channel[i]);
        graph.setChannelColours(channels);
        graph.setChartColours({QColor::fromRgb(c.text), QColor::fromRgb(c.grid), QColor::fromRgb(c.background),
                               QColor::fromRgb(c.border)});
    };
    apply();
    auto* colours = new ColourDialog(m_colours, m_records.settings.colourFile, m_records.dataSet,
                                     m_records.programDir, *m_messages, *m_help, &graph);
    colours->applyColours = [apply, &graph] {
        apply();
        graph.RedrawGraph();
    };
    graph.onColors = [colours] { colours->open(); };

    auto* exportDialog = new ExportDialog(m_records, *m_messages, *m_help, &graph);
    exportDialog->exportGraphic = [this, &graph] {
        const QString chosen = QFileDialog::getSaveFileName(&graph, QStringLiteral("Export Graphic"),
                                                            m_records.programDir,
                                                            QString::fromLatin1(kGraphicFileFilter));
        if (chosen.isEmpty())
            return;
        const QString path = GraphicFileName(chosen);
        auto* size = new GraphicSizeDialog(GraphicFormatOf(path), graph.chart().widget()->width(),
                                           graph.chart().widget()->height(), &graph);
        size->setAttribute(Qt::WA_DeleteOnClose);
        connect(size, &QDialog::accepted, &graph, [this, &graph, size, path] {
            if (!graph.exportPicture(path, size->size()))
                m_messages->ask({DialogKind::Error, QStringLiteral("Unable to write ") + path, DialogButtons::Ok, 0, {}, {}});
        });
        size->open();
    };
    graph.onExport = [exportDialog] { exportDialog->open(); };
    graph.endRealTimeSession = [this] {
        if (m_runner->engine().active())
            m_runner->engine().EndSession();
        m_records.session.realTimeGraph = false;
    };
    graph.hideSessionWindow = [this] { m_session->hide(); };
}

// Receive/Real Time Graph: the graph window appears at the first reading.
void MainWindow::StartRealTimeGraph()
{
    SessionState& s = m_records.session;
    if (s.realTimeGraph) {
        showGraph();
        return;
    }
    if (m_runner->engine().active())
        return;  // one session at a time
    s.realTimeRequested = true;
    graphWindow().startRealTime();
    s.realTimeGraph = true;
    m_status->hide();
    startTransaction(TransactionKind::RealTime);
}

void MainWindow::showDownloadedGraph()
{
    GraphWindow& graph = graphWindow();
    graph.clearZoomState();
    graph.setLoadOnShow(true);
    showGraph();
}

void MainWindow::setGraphLoadOnShow(bool on)
{
    if (m_graph)
        m_graph->setLoadOnShow(on);
}

// File/Graph: choose a file, then show it from its first reading.
void MainWindow::openGraphFromMenu()
{
    GraphWindow& graph = graphWindow();
    if (!graph.OpenGraphFile())
        return;
    graph.clearZoomState();
    graph.setLoadOnShow(true);
    showGraph();
}

void MainWindow::showGraph()
{
    GraphWindow& graph = graphWindow();
    // A window that would open empty reads its file first; when that fails it asks for another
    // file instead of showing an empty chart, and stays closed when none is chosen.
    if (!graph.isVisible() && !graph.hasRecording() && !m_records.session.realTimeGraph) {
        graph.setLoadOnShow(false);
        if (!graph.LoadGraph() && !graph.hasRecording()) {
            if (!graph.OpenGraphFile())
                return;
            graph.clearZoomState();
            if (!graph.LoadGraph())
                return;
        }
    }
    graph.show();
    graph.raise();
    graph.activateWindow();
    if (graph.isVisible() && graph.loadOnShow()) {   // already showing: load now
        graph.setLoadOnShow(false);
        graph.LoadGraph();
    }
}

// A .tl1 or .tl2 file dropped on the main window opens as a graph.
void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!GraphWindow::graphFileIn(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QString path = GraphWindow::graphFileIn(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    if (graphWindow().openDropped(path))
        showGraph();
}

void MainWindow::showModal(QDialog& dialog)
{
    dialog.open();
}

void MainWindow::startTransaction(TransactionKind kind)
{
    // A command that passed the real-time guard takes the session over.
    if (m_records.session.realTimeGraph && m_runner->engine().active())
        m_runner->engine().EndSession();
    if (m_runner->engine().active())
        return;  // one session at a time
    m_runner->startInteractive(kind);
}

void MainWindow::run(MainCommand command)
{
    if (!PassRealTimeGuard(command, m_records.session, *m_messages))
        return;
    SessionState& s = m_records.session;
    switch (command) {
    case MainCommand::LastStatus: m_status->lastStatus(); return;
    case MainCommand::Exit: close(); return;
    case MainCommand::StationAddress:
        if (const auto refusal = StationAddressMenuRefusal(m_records.settings)) {
            m_messages->ask({DialogKind::Warning, *refusal, DialogButtons::Ok, 0, {}, {}});
            return;
        }
        m_runner->setMainWindowEnabled(false);
        m_station->show();
        return;
    case MainCommand::SetBaudRate:
        if (m_runner->engine().active())
            return;
        if (const auto refusal = m_baud->start(m_runner->engine()))
            m_messages->ask({DialogKind::Information, *refusal, DialogButtons::Ok, 0, {}, {}});
        return;
    case MainCommand::FileSetup:
    case MainCommand::SendSetup: openSetupWindow(false); return;
    case MainCommand::ScalingLabels: openSetupWindow(true); return;
    case MainCommand::ReceiveData: ReceiveData(); return;
    case MainCommand::ReceiveStatus:
        s.retryCount = 0;
        startTransaction(TransactionKind::ReadStatus);
        return;
    case MainCommand::RealTimeGraph: StartRealTimeGraph(); return;
    case MainCommand::RealTime:
        s.realTimeRequested = true;
        m_status->hide();
        startTransaction(TransactionKind::RealTime);
        return;
    case MainCommand::Settings: showModal(*m_settings); return;
    case MainCommand::PhoneList: showModal(*m_phoneList); return;
    case MainCommand::LocalModem: showModal(*m_localList); return;
    case MainCommand::RemoteModem: showModal(*m_remoteList); return;
    case MainCommand::ComTest: m_comTest->open(); return;
    case MainCommand::HelpContents:
        m_help->showHelp(kContentsHelpContext);
        return;
    case MainCommand::About: showModal(*m_about); return;
    case MainCommand::FileGraph: openGraphFromMenu(); return;
    case MainCommand::Graph: showGraph(); return;
    default: return;
    }
}

void MainWindow::createSetupWindow()
{
    m_setupWindow = new SetupWindow(m_records, *m_messages, *m_help, this);
    m_setupWindow->startSendSetup = [this] { startSetupSend(); };
    m_setupWindow->openPhoneList = [this] { run(MainCommand::PhoneList); };
    connect(m_setupWindow, &SetupWindow::closed, this, [this] {
        m_runner->setMainWindowEnabled(true);
        activateWindow();
    });
}

void MainWindow::wireSetupWindow()
{
    // The setup window's phone field shows the same phone entry as the main window's.
    connect(m_phoneList, &PhoneListDialog::phoneEntryChosen, this, [this] { refresh(); });
    m_scalingDialogs = new ScalingDialogs(m_records, *m_messages, *m_help, m_setupWindow);
    m_setupWindow->openScalingDialog = [this](int channel, ScalingChoice& choice) {
        return openScalingDialog(channel, choice);
    };
}

bool MainWindow::openScalingDialog(int channel, ScalingChoice& choice)
{
    // The dialog writes the channel's scaling into the setup; the window takes its entry.
    std::optional<ScalingEntry> entry;
    switch (choice.dialog) {
    case ScalingChoice::Dialog::LinearScale:
        m_scalingDialogs->linearScale().setLinearEntry(LinearEntryText(choice.currentLinear));
        if (!m_scalingDialogs->linearScale().openFor(channel))
            return false;
        entry = m_scalingDialogs->linearScale().entry();
        break;
    case ScalingChoice::Dialog::ContactClosure:
        if (!m_scalingDialogs->contactClosure().openFor(channel))
            return false;
        entry = m_scalingDialogs->contactClosure().entry();
        break;
    case ScalingChoice::Dialog::CustomTable:
        if (!m_scalingDialogs->selectTable().openFor(channel))
            return false;
        entry = m_scalingDialogs->selectTable().entry();
        break;
    }
    if (!entry)
        return false;
    return TakeScalingEntry(entry->text, choice);
}

void MainWindow::openSetupWindow(bool scalingOnly)
{
    m_runner->setMainWindowEnabled(false);
    m_setupWindow->openFor(scalingOnly);
}

void MainWindow::startSetupSend()
{
    SessionEngine& engine = m_runner->engine();
    if (engine.active())
        return;  // one session at a time
    SessionState& s = m_records.session;
    s.transaction = TransactionKind::SendSetup;
    s.retryCount = 0;
    m_runner->resetStopwatch();
    // The success message names what was sent: the last status, or the file.
    m_sender->setSourceName(m_setupWindow->model().showsStatus() ? QString::fromLatin1(kLastStatusName) : QString());
    CheckAndSendSetup(engine, m_records.setup);
}

void MainWindow::ReceiveData()
{
    const QString chosen = chooseDataFile ? chooseDataFile() : QString();
    if (chosen.isEmpty())
        return;
    const auto target = ReceiveDataTarget(chosen, m_records.session.realTimeGraph, *m_messages);
    if (!target)
        return;
    m_records.dataFileName = target->dataFile;
    if (!target->staleBankFile.isEmpty())
        QFile::remove(target->staleBankFile);
    startTransaction(TransactionKind::ReceiveData);
}

// While a session runs its window stays in front of every other window of the program: a window
// that shows meanwhile (the Status window of a download, the graph) becomes the session window's
// transient parent, so the window manager keeps it above, and the session window is raised.
// Message boxes and other modal dialogs are questions about the session and stay on top.
void MainWindow::keepSessionWindowInFront(QWidget* shown)
{
    if (!m_session || shown == m_session || !m_session->isVisible())
        return;
    const Qt::WindowType type = shown->windowType();
    if ((type != Qt::Window && type != Qt::Dialog) || shown->isModal() || shown->parentWidget() == m_session)
        return;
    QWindow* session = m_session->windowHandle();
    QWindow* over = shown->windowHandle();
    if (!session || !over || session == over)
        return;
    // The window manager reads the transient parent when a window is mapped: the session window is
    // shown again once the other window is up, which also puts it on top.
    const QPointer<QWidget> other = shown;
    QTimer::singleShot(0, m_session, [this, other] {
        if (!other || !other->isVisible() || !m_session->isVisible())
            return;
        m_session->windowHandle()->setTransientParent(other->windowHandle());
        if (m_session->testAttribute(Qt::WA_Mapped)) {
            m_session->hide();
            m_session->show();
        }
        m_session->raise();
    });
    session->setTransientParent(over);
}

void MainWindow::sessionWindowOwnerHidden(QWidget* hidden)
{
    QWindow* session = m_session ? m_session->windowHandle() : nullptr;
    if (session && hidden->windowHandle() && session->transientParent() == hidden->windowHandle())
        session->setTransientParent(windowHandle());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow()) {
            if (event->type() == QEvent::Show)
                keepSessionWindowInFront(widget);
            else
                sessionWindowOwnerHidden(widget);
        }
        return false;
    }
    if (watched == m_phoneBox && event->type() == QEvent::MouseButtonRelease && m_phoneBox->isEnabled()) {
        run(MainCommand::PhoneList);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_closed) {
        QMainWindow::closeEvent(event);
        return;
    }
    event->ignore();
    if (m_closing)
        return;
    m_closing = true;
    m_runner->autoAnswer().disableAutoAnswer();
    // Settings saved, and a modem still on line hung up before the window goes.
    CloseProgram(m_records, m_runner.get(), [this] {
        m_closed = true;
        m_help->close();
        QTimer::singleShot(0, this, &QWidget::close);
    });
}

} // namespace tamble
