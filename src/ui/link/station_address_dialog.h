#pragma once
// "Set Station Address (for network)": the address to program into a single logger, sent by the
// engine's station address transaction. The dialog owns that transaction and installs it on the
// engine when it is created (once for the run, like every window).

#include "link/logger_dialogs_model.h"
#include "link/network.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QToolButton;

namespace tamble {

struct SettingsRecord;
class SessionEngine;
class MessageService;
class HelpService;

class StationAddressDialog : public QDialog {
    Q_OBJECT
public:
    StationAddressDialog(const SettingsRecord& settings, SessionEngine& engine, MessageService& messages, HelpService& help,
                         QWidget* parent = nullptr);

    StationAddressProgrammer& programmer() { return m_programmer; }

public slots:
    // SessionHost::closeStationAddressDialog: the session has ended; enable and close.
    void closeStationAddressDialog();
    // SessionHost::sessionEnded: a session that ended without reaching the dialog leaves it usable.
    void sessionEnded();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SENDBtnClick();
    void fieldEdited(const QString& text);
    void step(int steps);

    const SettingsRecord& m_settings;
    SessionEngine& m_engine;
    MessageService& m_messages;
    HelpService& m_help;
    StationAddressProgrammer m_programmer;
    StationAddressForm m_form;
    QLineEdit* m_field = nullptr;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    QPushButton* m_send = nullptr;
};

} // namespace tamble
