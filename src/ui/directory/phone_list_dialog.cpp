#include "ui/directory/phone_list_dialog.h"

#include "program/app_records.h"
#include "directory/directory_list_rules.h"

namespace tamble {

namespace {

std::unique_ptr<PhoneListRules> MakePhoneRules(AppRecords& records, MessageService& messages)
{
    return std::make_unique<PhoneListRules>(DirectoryListRules::fileIn(DirectoryList::Phone, records.programDir),
                                            records.settings, messages);
}

} // namespace

PhoneListDialog::PhoneListDialog(AppRecords& records, MessageService& messages, HelpService& help, QWidget* parent)
    : DirectoryListDialog(
          [&] {
              auto rules = MakePhoneRules(records, messages);
              rules->phoneNameChosen = [this](const QString& name) { emit phoneEntryChosen(name); };
              rules->hangUp = [this] { emit hangUpRequested(); };
              return rules;
          }(),
          help, parent)
{
    setObjectName(QStringLiteral("TDB0"));
}

} // namespace tamble
