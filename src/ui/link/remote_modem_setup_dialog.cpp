#include "ui/link/remote_modem_setup_dialog.h"

#include "settings/settings_record.h"
#include "link/logger_dialogs_model.h"
#include "link/session_engine.h"
#include "ui/link/link_widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tamble {

RemoteModemSetupDialog::RemoteModemSetupDialog(const SettingsRecord& settings, SessionEngine& engine, MessageService& messages,
                                               HelpService& help, QWidget* parent)
    : QDialog(parent),
      m_settings(settings),
      m_engine(engine),
      m_messages(messages),
      m_help(help),
      m_setup([this](bool on) { setEnabled(on); })
{
    setObjectName(QStringLiteral("TCremote1"));
    setWindowTitle(QStringLiteral("Configure Remote Modem"));
    m_setup.install(engine);

    m_port = ui::ReadOnlyBox(this, QStringLiteral("Edit1"), QStringLiteral("Com port"), 6);
    m_baud = ui::ReadOnlyBox(this, QStringLiteral("Edit2"), QStringLiteral("Baud rate"), 6);
    m_port->setMaximumWidth(m_port->minimumWidth());
    m_baud->setMaximumWidth(m_baud->minimumWidth());

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(new QLabel(QStringLiteral("1. Using a suitable cable, connect remote modem to"), this));
    auto* portRow = new QHBoxLayout;
    portRow->addWidget(m_port);
    portRow->addWidget(new QLabel(QStringLiteral("com port.  (Set Port and Baud in Settings)."), this), 1);
    outer->addLayout(portRow);
    outer->addWidget(new QLabel(QStringLiteral("2. Click Proceed to initialize modem with setup string."), this));
    auto* baudRow = new QHBoxLayout;
    baudRow->addWidget(new QLabel(QStringLiteral("All modems must be configured at the same baud rate."), this), 1);
    baudRow->addWidget(m_baud);
    outer->addLayout(baudRow);

    QPushButton* proceed = ui::Button(this, QStringLiteral("&Proceed"), QStringLiteral("ProceedBtn"));
    proceed->setDefault(true);
    QPushButton* exitButton = ui::Button(this, QStringLiteral("E&xit"), QStringLiteral("ExitBtn"));
    QPushButton* helpButton = ui::Button(this, QStringLiteral("&Help"), QStringLiteral("HelpBtn"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(proceed);
    buttons->addWidget(exitButton);
    buttons->addWidget(helpButton);
    outer->addLayout(buttons);

    connect(proceed, &QPushButton::clicked, this, &RemoteModemSetupDialog::proceedBtnClick);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [this] { m_help.showHelp(kRemoteModemSetupHelpContext); });
}

void RemoteModemSetupDialog::showEvent(QShowEvent* event)
{
    m_baud->setText(RemoteModemBaudText(m_settings));
    m_port->setText(RemoteModemPortText(m_settings));
    QDialog::showEvent(event);
}

void RemoteModemSetupDialog::proceedBtnClick()
{
    if (!ClearPortForProcedure(m_engine, m_messages))
        return;
    m_setup.proceed(m_engine);
}

} // namespace tamble
