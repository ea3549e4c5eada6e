#include "ui/app/main_window.h"

#include "directory/directory_list_rules.h"
#include "help/help_pages.h"
#include "link/baud_rate.h"
#include "link/modem.h"
#include "link/setup_sender.h"
#include "program/close_program.h"
#include "program/dialler_wiring.h"
#include "settings/port_diagnosis.h"
#include "settings/port_map.h"
#include "setup/setup_window_model.h"
#include "ui/app/data_file_dialog.h"
#include "ui/app/gui_session_runner.h"
#include "ui/app/home_view.h"
#include "ui/app/main_menu_bar.h"
#include "ui/app/session_window_keeper.h"
#include "ui/app/settings_dialog.h"
#include "ui/archive/archive_window.h"
#include "ui/common/qt_message_service.h"
#include "ui/directory/local_modem_list_dialog.h"
#include "ui/directory/phone_list_dialog.h"
#include "ui/directory/remote_modem_list_dialog.h"
#include "ui/graph/graph_window.h"
#include "ui/graph/graph_window_owner.h"
#include "ui/help/about_box.h"
#include "ui/help/help_window.h"
#include "ui/link/com_test_dialog.h"
#include "ui/link/remote_modem_setup_dialog.h"
#include "ui/link/session_window.h"
#include "ui/link/station_address_dialog.h"
#include "ui/link/status_window.h"
#include "ui/setup/get_date_dialog.h"
#include "ui/setup/scaling_dialogs.h"
#include "ui/setup/setup_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

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
        return AskDataFileName(this, m_records.programDir,
                               SuggestedDataFileNameIn(m_records.programDir, m_records.loggerInfo.description,
                                                       QDate::currentDate()));
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
    m_keeper.reset();
    m_runner->finished = [](int) {};
}

void MainWindow::setMessageService(MessageService& messages) { m_relay.target = &messages; }

void MainWindow::buildMenus()
{
    m_menuBar = BuildMainMenuBar(*menuBar(), this, [this](MainCommand command) { run(command); });
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
        m_graphs->openFile(path);
    });
    setCentralWidget(central);
}

void MainWindow::createWindows()
{
    m_graphs = std::make_unique<GraphWindowOwner>(m_records, *m_messages, *m_help, this);
    m_graphs->created = [this](GraphWindow& graph) { graphWindowCreated(graph); };
    m_runner = std::make_unique<GuiSessionRunner>(m_records, *this);
    m_runner->onDataFileComplete = [this](const QString& file) {
        m_recent.addDownload(file, m_records.loggerInfo);
        recentFilesChanged();
    };
    // The download is complete either way; the archive's trouble is said once the session is done.
    m_runner->onArchiveNote = [this](const ArchiveNote& note) {
        QTimer::singleShot(0, this, [this, text = ArchiveNoteMessage(note)] {
            m_messages->ask({DialogKind::Warning, text, DialogButtons::Ok, 0, {}, {}});
        });
    };
    SessionEngine& engine = m_runner->engine();
    m_dialler = std::make_unique<ModemDialler>();
    InstallDialler(engine, m_records, *m_dialler, [this] {
        const PhoneEntryApplied phone = ApplySelectedPhoneEntry(m_records.programDir, m_records.settings);
        if (phone.applied)
            m_phoneBox->setText(phone.name);
    });
    m_baud = std::make_unique<BaudRateChanger>();
    m_baud->install(engine);
    m_sender = std::make_unique<SetupSender>(m_records.setup);
    m_commands = std::make_unique<MainCommands>(m_records.settings, m_records.session, m_records.dataFileName,
                                                *m_messages, static_cast<MainCommandWindows&>(*this));
    engine.setTransactionHandler(TransactionKind::SendSetup, m_sender.get());

    // Windows are created once, in this order, and only shown and hidden afterwards.
    m_station = new StationAddressDialog(m_records.settings, engine, *m_messages, *m_help, this);
    createSetupWindow();
    m_about = new AboutBox(this);
    m_settings = new SettingsDialog(m_records.settings, m_records.programDir, *m_messages, *m_help, this);
    m_getDate = new GetDateDialog(m_records.setup, *m_help, m_setupWindow);
    m_setupWindow->setDateDialog(m_getDate);
    m_session = new SessionWindow(this);
    m_keeper = std::make_unique<SessionWindowKeeper>(m_session, this);
    m_status = new StatusWindow({m_records.settings, m_records.session, m_records.loggerInfo, m_records.programDir}, engine, *m_messages, *m_help, this);
    m_comTest = new ComTestDialog(engine, *m_messages, *m_help, this);
    m_remoteSetup = new RemoteModemSetupDialog(m_records.settings, engine, *m_messages, *m_help, this);
    m_remoteList = new RemoteModemListDialog(m_records.settings, m_records.programDir, *m_messages, *m_help, this);
    m_phoneList = new PhoneListDialog(m_records.settings, m_records.programDir, *m_messages, *m_help, this);
    m_localList = new LocalModemListDialog(m_records.settings, m_records.programDir, *m_messages, *m_help, this);

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
    m_archive = MakeArchiveWindow(m_records.programDir, *m_messages, *m_graphs, m_records.settings.lastDataFile, this);
}

QAction* MainWindow::action(MainCommand command) const
{
    const auto it = m_menuBar.actions.find(command);
    return it == m_menuBar.actions.end() ? nullptr : it->second;
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
    recentFilesChanged();
}

void MainWindow::recentFilesChanged()
{
    m_recent.save();
    refreshHome();
}

void MainWindow::applyAutoAnswer()
{
    const bool on = m_records.settings.autoAnswer;
    for (const QString& name : AutoAnswerDisabledMenus()) {
        if (auto it = m_menuBar.menus.find(name); it != m_menuBar.menus.end())
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
    m_graphs->loadColoursOnce();
    if (std::exchange(m_records.mode.openGraph, false))
        showGraph();   // the data file named on the command line
    else if (std::exchange(m_records.mode.openSetup, false))
        run(MainCommand::FileSetup);  // the setup file named on the command line, loaded at start
    applyAutoAnswer();
    if (!m_startupWarning.isEmpty())
        m_messages->ask({DialogKind::Warning, std::exchange(m_startupWarning, QString()), DialogButtons::Ok, 0, {}, {}});
}

void MainWindow::graphWindowCreated(GraphWindow& graph)
{
    connect(&graph, &GraphWindow::fileLoaded, this, [this] {
        if (m_archive->model().isHistoryFile(m_records.dataSet.dataFileName))
            return;   // gone with the archive window's folder
        m_recent.addGraphed(m_records.dataSet);
        recentFilesChanged();
    });
    connect(&graph, &GraphWindow::closed, this, [this] {
        m_runner->setMainWindowEnabled(true);
        show();
    });
    graph.endRealTimeSession = [this] {
        if (m_runner->engine().active())
            m_runner->engine().EndSession();
        m_records.session.realTimeGraph = false;
    };
    graph.hideSessionWindow = [this] { m_session->hide(); };
}

GraphWindow& MainWindow::graphWindow() { return m_graphs->window(); }
void MainWindow::showGraph() { m_graphs->show(); }
void MainWindow::showDownloadedGraph() { m_graphs->showDownloaded(); }
void MainWindow::openGraphFile() { m_graphs->openFromMenu(); }

void MainWindow::setGraphLoadOnShow(bool on)
{
    if (GraphWindow* graph = m_graphs->existing())
        graph->setLoadOnShow(on);
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
    m_graphs->openFile(path);
}

void MainWindow::showModal(QDialog& dialog)
{
    dialog.open();
}

void MainWindow::run(MainCommand command)
{
    m_commands->run(command);
}

// --- MainCommandWindows ---
bool MainWindow::sessionActive() const { return m_runner->engine().active(); }
void MainWindow::endSession() { m_runner->engine().EndSession(); }
void MainWindow::startSession(TransactionKind kind) { m_runner->startInteractive(kind); }
std::optional<QString> MainWindow::startBaudRateChange() { return m_baud->start(m_runner->engine()); }
void MainWindow::showLastStatus() { m_status->lastStatus(); }
void MainWindow::closeProgram() { close(); }
void MainWindow::hideStatusWindow() { m_status->hide(); }
void MainWindow::prepareRealTimeGraph() { graphWindow().startRealTime(); }
void MainWindow::showHelpContents() { m_help->showHelp(kContentsHelpContext); }
QString MainWindow::askDataFileName() { return chooseDataFile ? chooseDataFile() : QString(); }

void MainWindow::showStationAddress()
{
    m_runner->setMainWindowEnabled(false);
    m_station->show();
}

void MainWindow::openDialog(MainCommand command)
{
    switch (command) {
    case MainCommand::Settings: showModal(*m_settings); return;
    case MainCommand::PhoneList: showModal(*m_phoneList); return;
    case MainCommand::LocalModem: showModal(*m_localList); return;
    case MainCommand::RemoteModem: showModal(*m_remoteList); return;
    case MainCommand::ComTest: m_comTest->open(); return;
    case MainCommand::Archive: m_archive->openWindow(); return;
    case MainCommand::About: showModal(*m_about); return;
    default: return;
    }
}

void MainWindow::createSetupWindow()
{
    m_setupWindow = new SetupWindow(SetupWindowRecordsOf(m_records), *m_messages, *m_help, this);
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
    m_scalingDialogs = new ScalingDialogs({m_records.setup, m_records.programDir}, *m_messages, *m_help, m_setupWindow);
    m_setupWindow->openScalingDialog = [this](int channel, ScalingChoice& choice) {
        return m_scalingDialogs->runFor(channel, choice);
    };
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

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
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
