#pragma once
// The main window: the menu through which every function is reached, the station and phone
// fields, the modem panel and auto-answer mode. It owns the session runner and the windows around
// a session and passes the engine's window callbacks on to them. Its rules are in
// app/main_window_rules.h.

#include "program/main_commands.h"
#include "ui/app/main_menu_bar.h"
#include "program/main_window_rules.h"
#include "program/app_records.h"
#include "program/home_view.h"
#include "program/recent_files.h"
#include "link/session_engine.h"

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;

namespace tamble {

class BaudRateChanger;
class ModemDialler;
class QtMessageService;
class ScalingDialogs;
class SetupSender;
struct ScalingChoice;
class AboutBox;
class ArchiveWindow;
class SessionWindow;
class ComTestDialog;
class RemoteModemSetupDialog;
class PhoneListDialog;
class LocalModemListDialog;
class RemoteModemListDialog;
class GetDateDialog;
class GraphWindow;
class GraphWindowOwner;
class HelpWindow;
class SettingsDialog;
class SetupWindow;
class StationAddressDialog;
class StatusWindow;
struct SettingsApplied;

class GuiSessionRunner;
class HomeView;
class SessionWindowKeeper;

class MainWindow : public QMainWindow, private MainCommandWindows {
    Q_OBJECT
public:
    // `shippedDataDir` holds the help pages shipped with the program.
    MainWindow(AppRecords& records, const QString& shippedDataDir, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Chooses the target of Receive/Data (the save dialog); tests replace it.
    std::function<QString()> chooseDataFile;
    // Replaces the message boxes (tests).
    void setMessageService(MessageService& messages);

    void run(MainCommand command);
    QAction* action(MainCommand command) const;
    GuiSessionRunner& runner() { return *m_runner; }
    SessionWindow& sessionWindow() { return *m_session; }
    StatusWindow& statusWindow() { return *m_status; }
    SetupWindow& setupWindow() { return *m_setupWindow; }
    MessageService& messages() { return m_relay; }
    HelpWindow& help() { return *m_help; }
    ArchiveWindow& archiveWindow() { return *m_archive; }
    GraphWindow& graph() { return graphWindow(); }

    // Every paint: caption, station and phone groups, modem panel.
    void refresh();
    // Auto-answer mode on or off, as the settings say.
    void applyAutoAnswer();
    void setAaText(const QString& text, bool visible);
    // The home view shown again from the records (a status read, a session ended, a file used).
    void refreshHome();
    HomeView& homeView() { return *m_home; }
    HomeViewModel& homeModel() { return m_homeModel; }
    RecentFiles& recentFiles() { return m_recent; }
    // A data file was downloaded or opened as a graph: first in the recent files.
    void noteRecentFile(const QString& path, const QByteArray& description, const QString& period);
    // "Graph Data?" answered Yes: the graph window on the file just downloaded.
    void showDownloadedGraph();
    // The graph window (when made) reads the data file again the next time it shows.
    void setGraphLoadOnShow(bool on);
    // A warning to show once the window is up (the setup loaded at start-up).
    void setStartupWarning(const QString& text) { m_startupWarning = text; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class GuiSessionRunner;
    void buildMenus();
    void buildControls();
    void createWindows();
    void firstPaint();
    GraphWindow& graphWindow();
    void graphWindowCreated(GraphWindow& graph);
    // --- MainCommandWindows ---
    bool sessionActive() const override;
    void endSession() override;
    void startSession(TransactionKind kind) override;
    std::optional<QString> startBaudRateChange() override;
    void showLastStatus() override;
    void closeProgram() override;
    void showStationAddress() override;
    void openSetupWindow(bool scalingOnly) override;
    QString askDataFileName() override;
    void hideStatusWindow() override;
    void prepareRealTimeGraph() override;
    void showGraph() override;
    void openGraphFile() override;
    void openDialog(MainCommand command) override;
    void showHelpContents() override;
    void recentFilesChanged();
    void onSettingsApplied(const SettingsApplied& applied);
    void showModal(QDialog& dialog);
    // The Archive window, opening its downloads and histories in the graph window.
    // The setup window: created with the other windows, opened by File/Setup, Send/Setup and
    // Send/Scaling and Labels, sending through the engine.
    void createSetupWindow();
    void startSetupSend();
    void wireSetupWindow();

    AppRecords& m_records;
    std::unique_ptr<HelpWindow> m_help;
    std::unique_ptr<QtMessageService> m_qtMessages;
    // Every window asks through the relay, so the message boxes can be replaced in one place.
    struct Relay : MessageService {
        MessageService* target = nullptr;
        DialogAnswer ask(const UserMessage& message) override { return target->ask(message); }
    } m_relay;
    MessageService* m_messages = &m_relay;
    std::unique_ptr<GuiSessionRunner> m_runner;
    std::unique_ptr<ModemDialler> m_dialler;
    std::unique_ptr<BaudRateChanger> m_baud;
    std::unique_ptr<SetupSender> m_sender;
    std::unique_ptr<MainCommands> m_commands;
    std::unique_ptr<SessionWindowKeeper> m_keeper;
    SessionWindow* m_session = nullptr;
    StatusWindow* m_status = nullptr;
    StationAddressDialog* m_station = nullptr;
    SetupWindow* m_setupWindow = nullptr;
    ScalingDialogs* m_scalingDialogs = nullptr;
    GetDateDialog* m_getDate = nullptr;
    RemoteModemSetupDialog* m_remoteSetup = nullptr;
    ComTestDialog* m_comTest = nullptr;
    PhoneListDialog* m_phoneList = nullptr;
    LocalModemListDialog* m_localList = nullptr;
    RemoteModemListDialog* m_remoteList = nullptr;
    SettingsDialog* m_settings = nullptr;
    AboutBox* m_about = nullptr;
    ArchiveWindow* m_archive = nullptr;
    std::unique_ptr<GraphWindowOwner> m_graphs;
    MainMenuBar m_menuBar;
    QFrame* m_stationGroup = nullptr;
    QSpinBox* m_stationField = nullptr;
    QFrame* m_phoneGroup = nullptr;
    QLineEdit* m_phoneBox = nullptr;
    QFrame* m_modemPanel = nullptr;
    QPushButton* m_hangUp = nullptr;
    QLabel* m_autoAnswerLabel = nullptr;
    QLineEdit* m_aaEdit = nullptr;
    HomeView* m_home = nullptr;
    HomeViewModel m_homeModel;
    RecentFiles m_recent;
    QString m_startupWarning;
    bool m_firstPaintDone = false;
    bool m_closing = false;
    bool m_closed = false;
};

} // namespace tamble
