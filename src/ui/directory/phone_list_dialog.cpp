#include "ui/directory/phone_list_dialog.h"

#include "settings/settings_record.h"
#include "directory/directory_list_rules.h"

namespace tamble {

namespace {

std::unique_ptr<PhoneListRules> MakePhoneRules(SettingsRecord& settings, const QString& programDir, MessageService& messages)
{
    return std::make_unique<PhoneListRules>(DirectoryListRules::fileIn(DirectoryList::Phone, programDir),
                                            settings, messages);
}

} // namespace

PhoneListDialog::PhoneListDialog(SettingsRecord& settings, const QString& programDir, MessageService& messages, HelpService& help, QWidget* parent)
    : DirectoryListDialog(
          [&] {
              auto rules = MakePhoneRules(settings, programDir, messages);
              rules->phoneNameChosen = [this](const QString& name) { emit phoneEntryChosen(name); };
              rules->hangUp = [this] { emit hangUpRequested(); };
              return rules;
          }(),
          help, parent)
{
    setObjectName(QStringLiteral("TDB0"));
}

} // namespace tamble
