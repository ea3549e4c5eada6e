#include "ui/directory/local_modem_list_dialog.h"

#include "program/app_records.h"
#include "directory/directory_list_rules.h"

namespace tamble {

LocalModemListDialog::LocalModemListDialog(AppRecords& records, MessageService& messages, HelpService& help,
                                           QWidget* parent)
    : DirectoryListDialog(std::make_unique<LocalModemListRules>(
                              DirectoryListRules::fileIn(DirectoryList::LocalModem, records.programDir),
                              records.settings, messages),
                          help, parent)
{
    setObjectName(QStringLiteral("TDB1"));
}

} // namespace tamble
