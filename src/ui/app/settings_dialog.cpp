#include "ui/app/settings_dialog.h"

#include "ui/common/button_row.h"

#include "ui/app/port_map_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

namespace tamble {

namespace {

constexpr int kDeviceTextWidth = 300;

QStringList SystemSerialPorts()
{
    QStringList paths;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        paths << info.systemLocation();
    return paths;
}

QGroupBox* NewGroup(QWidget* parent, const QString& title, const QString& name)
{
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(name);
    box->setAccessibleName(title);
    return box;
}

// Selects button `id` of an exclusive group; an id it does not hold selects nothing.
void Select(QButtonGroup* group, int id)
{
    if (QAbstractButton* button = group->button(id)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

} // namespace

SettingsDialog::SettingsDialog(SettingsRecord& settings, const QString& programDir, MessageService& messages, HelpService& help,
                               QWidget* parent)
    : QDialog(parent), m_programDir(programDir), m_messages(messages), m_help(help),
      m_model(settings)
{
    setObjectName(QStringLiteral("TSettings2"));
    setWindowTitle(QStringLiteral("Settings"));
    m_probe.enumerate = SystemSerialPorts;

    auto* columns = new QHBoxLayout;
    columns->addWidget(buildChoices());
    columns->addWidget(buildPortGroup());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buildButtons());

    m_mapDialog = new PortMapDialog(this);
    connect(m_mapDialog, &QDialog::accepted, this, &SettingsDialog::mapAccepted);

    // The export date format follows the record from the start; clicks store it at once.
    Select(m_dateFormat, m_model.onShow().dateFormatItem);
}

QRadioButton* SettingsDialog::addRadio(QButtonGroup* group, int id, const QString& caption,
                                       const QString& name)
{
    auto* radio = new QRadioButton(caption, this);
    radio->setObjectName(name);
    radio->setAccessibleName(caption);
    group->addButton(radio, id);
    return radio;
}

QCheckBox* SettingsDialog::addCheck(const QString& caption, const QString& name)
{
    auto* check = new QCheckBox(caption, this);
    check->setObjectName(name);
    check->setAccessibleName(caption);
    return check;
}

QWidget* SettingsDialog::buildChoices()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);

    static const char* const kBaudNames[] = {"Baud1200", "Baud2400", "Baud4800", "Baud9600",
                                              "Baud19200", "Baud28800", "Baud38400", "Baud57600"};
    m_baud = new QButtonGroup(this);
    QGroupBox* baudBox = NewGroup(panel, QStringLiteral("Baud"), QStringLiteral("BaudGroup"));
    auto* baudLayout = new QVBoxLayout(baudBox);
    const QStringList bauds = SettingsDialogModel::baudItems();
    for (int i = 0; i < bauds.size(); ++i)
        baudLayout->addWidget(addRadio(m_baud, i, bauds[i], QString::fromLatin1(kBaudNames[i])));
    grid->addWidget(baudBox, 0, 0, 2, 1);

    m_connected = new QButtonGroup(this);
    QGroupBox* connBox = NewGroup(panel, QStringLiteral("Connected to"),
                                  QStringLiteral("ConnectedGroup"));
    auto* connLayout = new QVBoxLayout(connBox);
    const QStringList conn = SettingsDialogModel::connectedItems();
    connLayout->addWidget(addRadio(m_connected, 0, conn[0], QStringLiteral("SingleLoggerBtn")));
    connLayout->addWidget(addRadio(m_connected, 1, conn[1], QStringLiteral("NetworkBtn")));
    grid->addWidget(connBox, 0, 1);

    m_time = new QButtonGroup(this);
    QGroupBox* timeBox = NewGroup(panel, QStringLiteral("Time"), QStringLiteral("TimeGroup"));
    auto* timeLayout = new QVBoxLayout(timeBox);
    const QStringList times = SettingsDialogModel::timeItems();
    timeLayout->addWidget(addRadio(m_time, 0, times[0], QStringLiteral("Hour24Btn")));
    timeLayout->addWidget(addRadio(m_time, 1, times[1], QStringLiteral("AmPmBtn")));
    grid->addWidget(timeBox, 1, 1);

    auto* checks = new QVBoxLayout;
    m_wireless = addCheck(QStringLiteral("Wireless Comm"), QStringLiteral("WirelessCheck"));
    m_fastProtocol = addCheck(QStringLiteral("LX9xx Protocol"), QStringLiteral("ProtocolCheck"));
    m_useModem = addCheck(QStringLiteral("Use Modem"), QStringLiteral("UseModemCheck"));
    m_autoAnswer = addCheck(QStringLiteral("Auto Answer"), QStringLiteral("AutoAnswerCheck"));
    m_autoExport = addCheck(QStringLiteral("Auto Export Data"), QStringLiteral("AutoExportCheck"));
    for (QCheckBox* check : {m_wireless, m_fastProtocol, m_useModem, m_autoAnswer, m_autoExport})
        checks->addWidget(check);
    checks->addStretch();
    grid->addLayout(checks, 2, 0);
    connect(m_useModem, &QCheckBox::clicked, this, &SettingsDialog::useModemClick);
    connect(m_autoExport, &QCheckBox::clicked, this,
            [this](bool checked) { m_model.autoExportClicked(checked); });

    m_dateFormat = new QButtonGroup(this);
    QGroupBox* dateBox = NewGroup(panel, QStringLiteral("Export Date Format"),
                                  QStringLiteral("DateFormatGroup"));
    auto* dateLayout = new QVBoxLayout(dateBox);
    const QStringList dates = SettingsDialogModel::dateFormatItems();
    dateLayout->addWidget(addRadio(m_dateFormat, 0, dates[0], QStringLiteral("DateUsaBtn")));
    dateLayout->addWidget(addRadio(m_dateFormat, 1, dates[1], QStringLiteral("DateDayFirstBtn")));
    grid->addWidget(dateBox, 2, 1, Qt::AlignTop);
    connect(m_dateFormat, &QButtonGroup::idClicked, this,
            [this](int id) { m_model.dateFormatClicked(id); });
    grid->setRowStretch(3, 1);
    return panel;
}

QWidget* SettingsDialog::buildPortGroup()
{
    QGroupBox* box = NewGroup(this, QStringLiteral("Port"), QStringLiteral("PortGroup"));
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    m_port = new QButtonGroup(this);
    const QStringList ports = SettingsDialogModel::portItems();
    for (int i = 0; i < ports.size(); ++i) {
        grid->addWidget(addRadio(m_port, i, ports[i], ports[i]), i, 0);
        auto* device = new QLabel(box);
        device->setObjectName(QStringLiteral("%1Device").arg(ports[i]));
        device->setAccessibleName(QStringLiteral("%1 device").arg(ports[i]));
        device->setMinimumWidth(kDeviceTextWidth);
        device->setEnabled(false);   // greyed: information, not a choice
        grid->addWidget(device, i, 1);
        m_devices[std::size_t(i)] = device;
    }
    QPushButton* map = NewButton(box, QStringLiteral("Map to &Device..."), QStringLiteral("MapBtn"));
    connect(map, &QPushButton::clicked, this, &SettingsDialog::mapBtnClick);
    grid->addWidget(map, int(ports.size()), 0, 1, 2, Qt::AlignLeft);
    return box;
}

QWidget* SettingsDialog::buildButtons()
{
    return OkCancelHelpRow(this, m_help, kSettingsHelpContext, [this] { OKBtnClick(); }, [this] { reject(); });
}

void SettingsDialog::setDeviceProbe(DeviceProbe probe)
{
    m_probe = std::move(probe);
}

void SettingsDialog::showEvent(QShowEvent* event)
{
    writeControls(m_model.onShow());
    refreshDevices();
    QDialog::showEvent(event);
}

SettingsControls SettingsDialog::readControls() const
{
    SettingsControls c;
    c.baudItem = m_baud->checkedId();
    c.portItem = m_port->checkedId();
    c.network = m_connected->checkedId() == 1;
    c.amPm = m_time->checkedId() == 1;
    c.dateFormatItem = m_dateFormat->checkedId();
    c.wireless = m_wireless->isChecked();
    c.fastProtocol = m_fastProtocol->isChecked();
    c.useModem = m_useModem->isChecked();
    c.autoAnswer = m_autoAnswer->isChecked();
    c.autoExport = m_autoExport->isChecked();
    return c;
}

void SettingsDialog::writeControls(const SettingsControls& c)
{
    Select(m_baud, c.baudItem);
    Select(m_port, c.portItem);
    Select(m_connected, c.network ? 1 : 0);
    Select(m_time, c.amPm ? 1 : 0);
    Select(m_dateFormat, c.dateFormatItem);
    m_wireless->setChecked(c.wireless);
    m_fastProtocol->setChecked(c.fastProtocol);
    m_useModem->setChecked(c.useModem);
    m_autoAnswer->setChecked(c.autoAnswer);
    m_autoExport->setChecked(c.autoExport);
    m_autoAnswer->setVisible(SettingsDialogModel::autoAnswerVisible(c));
}

void SettingsDialog::refreshDevices()
{
    for (std::size_t i = 0; i < m_devices.size(); ++i) {
        const int number = int(i) + 1;
        const QString text = CurrentComDeviceText(number, m_programDir);
        QLabel* label = m_devices[i];
        label->setText(label->fontMetrics().elidedText(text, Qt::ElideMiddle, kDeviceTextWidth));
        label->setToolTip(text);
        label->setAccessibleDescription(text);
    }
}

void SettingsDialog::useModemClick()
{
    m_autoAnswer->setVisible(SettingsDialogModel::autoAnswerVisible(readControls()));
}

void SettingsDialog::OKBtnClick()
{
    const std::optional<SettingsApplied> result = m_model.ok(readControls(), m_messages);
    if (!result)
        return;
    emit applied(*result);
    accept();
}

void SettingsDialog::mapBtnClick()
{
    const int item = m_port->checkedId();
    if (item < 0) {
        UserMessage m;
        m.text = QStringLiteral("Select a COM port first.");
        m_messages.ask(m);
        return;
    }
    const int number = item + 1;
    const QStringList enumerated = m_probe.enumerate ? m_probe.enumerate() : QStringList();
    m_mapDialog->setChoices(number, LookUpComDevice(number, m_programDir).path,
                            ListSerialChoices(m_probe.byIdDir, enumerated));
    m_mapDialog->open();
}

void SettingsDialog::mapAccepted()
{
    const int number = m_mapDialog->portNumber();
    const QString device = m_mapDialog->chosenDevice();
    const Result<QString> written = WritePortMapping(m_programDir, number, device);
    refreshDevices();
    if (!written) {
        UserMessage m;
        m.kind = DialogKind::Error;
        m.text = QStringLiteral("Unable to save the port mapping in ports.ini");
        m.informative = written.error();
        m_messages.ask(m);
        return;
    }
    const ComDevice now = LookUpComDevice(number, m_programDir);
    if (now.source == ComSource::Environment) {
        UserMessage m;
        m.text = QStringLiteral("ports.ini now maps COM%1, but $%2 is set and COM%1 keeps "
                                "leading to %3 until it is unset.")
                     .arg(number).arg(ComEnvironmentName(number), now.path);
        m_messages.ask(m);
    }
}

} // namespace tamble
