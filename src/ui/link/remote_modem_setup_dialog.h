#pragma once
// "Configure Remote Modem": factory settings and the remote modem init string sent to a modem
// cabled to the session port. The dialog owns the engine's remote modem procedure and installs it
// on the engine when it is created (once for the run, like every window); the procedure enables
// and disables the dialog.

#include "link/remote_modem.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tamble {

struct SettingsRecord;
class SessionEngine;
class MessageService;
class HelpService;

class RemoteModemSetupDialog : public QDialog {
    Q_OBJECT
public:
    RemoteModemSetupDialog(const SettingsRecord& settings, SessionEngine& engine, MessageService& messages, HelpService& help,
                           QWidget* parent = nullptr);

    RemoteModemSetup& procedure() { return m_setup; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void proceedBtnClick();

    const SettingsRecord& m_settings;
    SessionEngine& m_engine;
    MessageService& m_messages;
    HelpService& m_help;
    RemoteModemSetup m_setup;
    QLineEdit* m_port = nullptr;
    QLineEdit* m_baud = nullptr;
};

} // namespace tamble
