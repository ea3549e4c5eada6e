#pragma once
// What the main window's commands do: the real-time guard first, then the refusals, the one
// session at a time, and which window or session each command opens. The window binds the
// effects on its windows through MainCommandWindows.

#include "program/main_window_rules.h"
#include "link/session_state.h"
#include "settings/settings_record.h"
#include "util/user_dialog.h"

#include <QString>
#include <optional>

namespace tamble {

class MainCommandWindows {
public:
    virtual ~MainCommandWindows() = default;
    // The session of the windows.
    virtual bool sessionActive() const = 0;
    virtual void endSession() = 0;
    virtual void startSession(TransactionKind kind) = 0;
    // Starts the baud rate change; its refusal when it cannot start.
    virtual std::optional<QString> startBaudRateChange() = 0;
    // The windows.
    virtual void showLastStatus() = 0;
    virtual void closeProgram() = 0;
    virtual void showStationAddress() = 0;
    virtual void openSetupWindow(bool scalingOnly) = 0;
    virtual QString askDataFileName() = 0;   // the target of a download; empty on cancel
    virtual void hideStatusWindow() = 0;
    virtual void prepareRealTimeGraph() = 0;   // the graph window waits for the first reading
    virtual void showGraph() = 0;
    virtual void openGraphFile() = 0;
    virtual void openDialog(MainCommand command) = 0;   // Settings, the lists, COM test, Archive, About
    virtual void showHelpContents() = 0;
};

class MainCommands {
public:
    MainCommands(const SettingsRecord& settings, SessionState& session, QString& dataFileName,
                 MessageService& messages, MainCommandWindows& windows);

    void run(MainCommand command);
    // A transaction of the windows, unless one runs; a running real-time graph hands over.
    void startTransaction(TransactionKind kind);

private:
    void receiveData();
    void startRealTimeGraph();

    const SettingsRecord& m_settings;
    SessionState& m_session;
    QString& m_dataFileName;
    MessageService& m_messages;
    MainCommandWindows& m_windows;
};

} // namespace tamble
