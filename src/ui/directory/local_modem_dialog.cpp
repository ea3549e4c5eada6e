#include "ui/directory/local_modem_dialog.h"

#include "program/app_records.h"
#include "directory/directory_list_rules.h"

namespace tamble {

TDB1::TDB1(AppRecords& records, MessageService& messages, HelpService& help, QWidget* parent)
    : TDirectoryListDialog(std::make_unique<LocalModemListRules>(
                               DirectoryListRules::fileIn(DirectoryList::LocalModem, records.programDir),
                               records.settings, messages),
                           help, parent)
{
    setObjectName(QStringLiteral("TDB1"));
}

} // namespace tamble
