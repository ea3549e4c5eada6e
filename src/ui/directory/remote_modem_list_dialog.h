#pragma once
// "Remote Modem" (object name "TDB2"): set-up strings of the logger-side modem in "Remote.ini". OK
// makes the selected string the remote modem init string; "Configure" takes the string as typed and
// opens the remote modem configuration window.

#include "ui/directory/directory_list_dialog.h"

#include <functional>

namespace tamble {

class RemoteModemListRules;

class RemoteModemListDialog : public DirectoryListDialog {
    Q_OBJECT
public:
    RemoteModemListDialog(SettingsRecord& settings, const QString& programDir, MessageService& messages, HelpService& help, QWidget* parent = nullptr);

    // What "Configure" opens (the remote modem configuration window); called after the typed
    // setup string has become the settings' remote modem init string.
    void setConfigureHandler(std::function<void()> openConfiguration);

private:
    RemoteModemListRules* m_remote;  // owned by the base window
};

} // namespace tamble
