#include "ui/directory/remote_modem_list_dialog.h"

#include "settings/settings_record.h"
#include "directory/directory_list_rules.h"

#include <QLineEdit>
#include <QPushButton>

namespace tamble {

namespace {

std::unique_ptr<RemoteModemListRules> MakeRemoteRules(SettingsRecord& settings, const QString& programDir, MessageService& messages)
{
    return std::make_unique<RemoteModemListRules>(
        DirectoryListRules::fileIn(DirectoryList::RemoteModem, programDir), settings, messages);
}

} // namespace

RemoteModemListDialog::RemoteModemListDialog(SettingsRecord& settings, const QString& programDir, MessageService& messages, HelpService& help,
                                             QWidget* parent)
    : DirectoryListDialog(MakeRemoteRules(settings, programDir, messages), help, parent),
      m_remote(static_cast<RemoteModemListRules*>(&rules()))
{
    setObjectName(QStringLiteral("TDB2"));
    QPushButton* configure = makeButton(QStringLiteral("Configure"), QStringLiteral("ConfigureBtn"));
    connect(configure, &QPushButton::clicked, this, [this] { m_remote->configure(valueField()->text()); });
}

void RemoteModemListDialog::setConfigureHandler(std::function<void()> openConfiguration)
{
    m_remote->openConfiguration = std::move(openConfiguration);
}

} // namespace tamble
