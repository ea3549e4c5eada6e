#pragma once
// The rules of the main window without widgets: its menu in order, which commands first ask
// before ending a running real-time graph, the checks of the commands that refuse, the target of
// a download, and which controls the settings and the session show.

#include "settings/settings_record.h"
#include "link/session_state.h"
#include "util/user_dialog.h"

#include <QString>
#include <QDate>
#include <functional>
#include <optional>
#include <vector>

namespace tamble {

enum class MainCommand {
    FileGraph, FileSetup, LastStatus, Exit, Archive,
    SendSetup, StationAddress, ScalingLabels, SetBaudRate,
    ReceiveData, ReceiveStatus, RealTime, RealTimeGraph,
    Graph, Settings,
    PhoneList, LocalModem, RemoteModem,
    ComTest,
    HelpContents, About,
};

struct MenuEntry {
    QString caption;               // with its "&"; empty: a separator line
    std::optional<MainCommand> command;
    QString shortcut;              // "Ctrl+L", or empty
};

struct Menu {
    QString caption;
    QString objectName;
    std::vector<MenuEntry> entries;  // empty: the menu is a command itself
    std::optional<MainCommand> command;
    QString shortcut;
    bool hidden = false;
};

// The menu bar, left to right.
const std::vector<Menu>& MainMenus();


// Commands that ask "This action will terminate Real Time Graph" first while it runs.
bool RealTimeGuarded(MainCommand command);

inline constexpr const char* kTl1NameText = "File name must end in '.TL1'";

// The real-time guard: true when the command may go on (no graph running, or OK).
bool PassRealTimeGuard(MainCommand command, const SessionState& session, MessageService& messages);

// The target of Receive/Data for the name the save dialog gave.
struct DownloadTarget {
    QString dataFile;        // the chosen path
    QString staleBankFile;   // the ".TL2" beside it to delete; empty when none is to go
};
// The name must end in ".TL1" (any case); otherwise the error is shown and nullopt returned.
// A running real-time graph keeps the ".TL2" beside the file.
// The name the Receive/Data save dialog suggests: the logger's description and the date,
// "Cold room 2026-12-10.TL1". Characters a file name cannot hold become "_"; with no description
// the name is "Logger <date>.TL1". `taken` tells whether a name is in use: then " (2)", " (3)", ...
QString SuggestedDataFileName(QByteArrayView description, QDate date,
                              const std::function<bool(const QString&)>& taken = {});

// The suggestion for a download into `folder`, skipping the names already there.
QString SuggestedDataFileNameIn(const QString& folder, QByteArrayView description, QDate date);
std::optional<DownloadTarget> ReceiveDataTarget(const QString& chosen, bool realTimeGraphRunning,
                                                MessageService& messages);

// What the main window shows, from the settings and the session.
struct MainWindowLook {
    bool stationVisible = false;   // NetLabelMain, NetBevelMain, NetFieldMain, NetSpinMain
    bool modemPanelVisible = false;
    bool phoneVisible = false;     // PhoneLabelMain, PhoneBevelMain, PhoneBox
    bool autoAnswerMode = false;   // AutoAnswerLbl, aaEditbox shown; menus and connection controls off
    int stationAddress = 1;
};
MainWindowLook LookOf(const SettingsRecord& settings, const SessionState& session);

// Menus that auto-answer mode disables (by objectName).
const std::vector<QString>& AutoAnswerDisabledMenus();

} // namespace tamble
