#include "ui/directory/local_modem_list_dialog.h"

#include "settings/settings_record.h"
#include "directory/directory_list_rules.h"

namespace tamble {

LocalModemListDialog::LocalModemListDialog(SettingsRecord& settings, const QString& programDir, MessageService& messages, HelpService& help,
                                           QWidget* parent)
    : DirectoryListDialog(std::make_unique<LocalModemListRules>(
                              DirectoryListRules::fileIn(DirectoryList::LocalModem, programDir),
                              settings, messages),
                          help, parent)
{
    setObjectName(QStringLiteral("TDB1"));
}

} // namespace tamble
