#pragma once
// "Phone List" (object name "TDB0"): the loggers' phone numbers in "Phone.ini". OK makes the
// selected entry the one dialled and puts its name into the phone fields of the main and setup
// windows.

#include "ui/directory/directory_list_dialog.h"

namespace tamble {

class PhoneListDialog : public DirectoryListDialog {
    Q_OBJECT
public:
    PhoneListDialog(SettingsRecord& settings, const QString& programDir, MessageService& messages, HelpService& help, QWidget* parent = nullptr);

signals:
    // OK with an entry selected: the name for PhoneBox of the main window and the setup window.
    void phoneEntryChosen(const QString& name);
    // OK with an entry selected: a modem call in progress must be hung up.
    void hangUpRequested();
};

} // namespace tamble
