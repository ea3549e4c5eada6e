#pragma once
// "Local Modem" (object name "TDB1"): set-up strings of the PC-side modem in "Local.ini". OK makes
// the selected string the local modem init string.

#include "ui/directory/directory_list_dialog.h"

namespace tamble {

class LocalModemListDialog : public DirectoryListDialog {
    Q_OBJECT
public:
    LocalModemListDialog(SettingsRecord& settings, const QString& programDir, MessageService& messages, HelpService& help, QWidget* parent = nullptr);
};

} // namespace tamble
