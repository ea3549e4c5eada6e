#include "ui/app/port_map_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tamble {

namespace {

constexpr int kDeviceRole = Qt::UserRole;

} // namespace

PortMapDialog::PortMapDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TPortMap"));
    setWindowTitle(QStringLiteral("Map COM Port"));

    m_label = new QLabel(this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("DeviceList"));
    m_list->setAccessibleName(QStringLiteral("Device"));
    m_label->setBuddy(m_list);
    m_note = new QLabel(QStringLiteral("No serial device was detected."), this);
    m_note->setObjectName(QStringLiteral("NoDeviceNote"));
    m_note->setAccessibleName(m_note->text());

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("OKBtn"));
    m_ok->setAccessibleName(QStringLiteral("OK"));
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    cancel->setAccessibleName(QStringLiteral("Cancel"));
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_list, &QListWidget::currentRowChanged, this,
            [this](int row) { m_ok->setEnabled(row >= 0); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_list);
    layout->addWidget(m_note);
    layout->addLayout(buttons);
    resize(560, 320);
}

void PortMapDialog::setChoices(int number, const QString& current,
                               const std::vector<SerialChoice>& choices)
{
    m_number = number;
    m_label->setText(QStringLiteral("&Device for COM%1:").arg(number));
    m_list->setAccessibleName(QStringLiteral("Device for COM%1").arg(number));
    m_list->clear();
    for (const SerialChoice& c : choices) {
        const QString text = c.byId && c.target != c.path
                                 ? QStringLiteral("%1  (%2)").arg(c.path, c.target)
                                 : c.path;
        auto* item = new QListWidgetItem(text, m_list);
        item->setData(kDeviceRole, c.path);
        if (c.path == current)
            m_list->setCurrentItem(item);
    }
    const QString fallback = DefaultComDevice(number);
    auto* item = new QListWidgetItem(
        QStringLiteral("Default: %1 (no line in ports.ini)").arg(fallback), m_list);
    item->setData(kDeviceRole, QString());
    if (!m_list->currentItem())
        m_list->setCurrentRow(choices.empty() ? 0 : -1);
    m_note->setVisible(choices.empty());
    m_ok->setEnabled(m_list->currentRow() >= 0);
}

QString PortMapDialog::chosenDevice() const
{
    const QListWidgetItem* item = m_list->currentItem();
    return item ? item->data(kDeviceRole).toString() : QString();
}

} // namespace tamble
