#pragma once
// The Settings dialog: binds its groups and check boxes to SettingsDialogModel. What an accepted
// OK means for the other windows leaves through applied(); the main window acts on it.

#include "settings/settings_record.h"
#include "settings/port_map.h"
#include "settings/settings_dialog_model.h"
#include "util/user_dialog.h"

#include <QDialog>

#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tamble {

class PortMapDialog;

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    SettingsDialog(SettingsRecord& settings, const QString& programDir, MessageService& messages, HelpService& help,
                   QWidget* parent = nullptr);

    // Where the devices offered for a COM mapping come from: the stable names folder and the
    // serial ports the system reports (QSerialPortInfo unless replaced).
    struct DeviceProbe {
        QString byIdDir = QString::fromLatin1(kSerialByIdDir);
        std::function<QStringList()> enumerate;
    };
    void setDeviceProbe(DeviceProbe probe);

signals:
    // OK passed its checks and stored the record; the dialog then closes.
    void applied(const tamble::SettingsApplied& result);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildChoices();
    QWidget* buildPortGroup();
    QWidget* buildButtons();
    QRadioButton* addRadio(QButtonGroup* group, int id, const QString& caption,
                           const QString& name);
    QCheckBox* addCheck(const QString& caption, const QString& name);
    SettingsControls readControls() const;
    void writeControls(const SettingsControls& controls);
    void refreshDevices();

    void OKBtnClick();
    void useModemClick();
    void mapBtnClick();
    void mapAccepted();

    const QString& m_programDir;
    MessageService& m_messages;
    HelpService& m_help;
    SettingsDialogModel m_model;
    DeviceProbe m_probe;

    QButtonGroup* m_baud = nullptr;
    QButtonGroup* m_connected = nullptr;
    QButtonGroup* m_time = nullptr;
    QButtonGroup* m_port = nullptr;
    QButtonGroup* m_dateFormat = nullptr;
    QCheckBox* m_wireless = nullptr;
    QCheckBox* m_fastProtocol = nullptr;
    QCheckBox* m_useModem = nullptr;
    QCheckBox* m_autoAnswer = nullptr;
    QCheckBox* m_autoExport = nullptr;
    std::array<QLabel*, 20> m_devices{};
    PortMapDialog* m_mapDialog = nullptr;
};

} // namespace tamble
