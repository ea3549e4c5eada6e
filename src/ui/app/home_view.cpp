#include "ui/app/home_view.h"

#include "util/dialog_buttons.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tamble {

namespace {

QPushButton* CommandButton(QWidget* parent, const QString& caption, QLayout* row)
{
    auto* button = new QPushButton(caption, parent);
    const QString plain = WithoutMnemonic(caption);
    button->setAccessibleName(plain);
    button->setObjectName(QString(plain).remove(QLatin1Char(' ')) + QStringLiteral("Btn"));
    row->addWidget(button);
    return button;
}

} // namespace

QLabel* HomeView::addLine(QWidget* box, const QString& name, const QString& accessible)
{
    auto* value = new QLabel(box);
    value->setObjectName(name);
    value->setAccessibleName(accessible);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    static_cast<QFormLayout*>(box->layout())->addRow(accessible, value);
    return value;
}

HomeView::HomeView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("HomeView"));
    auto* columns = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    columns->addLayout(left, 1);

    m_connectionBox = new QGroupBox(QStringLiteral("Connection"), this);
    m_connectionBox->setObjectName(QStringLiteral("ConnectionBox"));
    auto* connection = new QVBoxLayout(m_connectionBox);
    auto* connectionFields = new QWidget(m_connectionBox);
    connectionFields->setLayout(new QFormLayout);
    m_port = addLine(connectionFields, QStringLiteral("HomePort"), QStringLiteral("Port"));
    m_speed = addLine(connectionFields, QStringLiteral("HomeSpeed"), QStringLiteral("Speed"));
    m_kind = addLine(connectionFields, QStringLiteral("HomeLink"), QStringLiteral("Link"));
    connection->addWidget(connectionFields);
    auto* connectionRow = new QHBoxLayout;
    connectionRow->addStretch();
    connect(CommandButton(m_connectionBox, QStringLiteral("&Settings..."), connectionRow), &QPushButton::clicked, this,
            [this] { emit commandChosen(MainCommand::Settings); });
    connection->addLayout(connectionRow);
    left->addWidget(m_connectionBox);

    m_statusBox = new QGroupBox(QStringLiteral("Last status"), this);
    m_statusBox->setObjectName(QStringLiteral("LastStatusBox"));
    auto* status = new QVBoxLayout(m_statusBox);
    m_noStatus = new QLabel(QStringLiteral("No status read yet."), m_statusBox);
    m_noStatus->setObjectName(QStringLiteral("NoStatusLabel"));
    status->addWidget(m_noStatus);
    m_statusFields = new QWidget(m_statusBox);
    auto* form = new QFormLayout(m_statusFields);
    m_model = addLine(m_statusFields, QStringLiteral("HomeModel"), QStringLiteral("Model"));
    m_description = addLine(m_statusFields, QStringLiteral("HomeDescription"), QStringLiteral("Description"));
    m_channels = addLine(m_statusFields, QStringLiteral("HomeChannels"), QStringLiteral("Channels"));
    m_memory = new QProgressBar(m_statusFields);
    m_memory->setObjectName(QStringLiteral("HomeMemory"));
    m_memory->setAccessibleName(QStringLiteral("Memory used"));
    m_memory->setRange(0, 100);
    form->addRow(QStringLiteral("Memory used"), m_memory);
    m_battery = addLine(m_statusFields, QStringLiteral("HomeBattery"), QStringLiteral("Battery"));
    m_clock = addLine(m_statusFields, QStringLiteral("HomeClock"), QStringLiteral("Logger clock"));
    m_readAt = addLine(m_statusFields, QStringLiteral("HomeReadAt"), QStringLiteral("Status"));
    status->addWidget(m_statusFields);
    auto* commands = new QHBoxLayout;
    const std::pair<const char*, MainCommand> buttons[] = {
        {"&Read status", MainCommand::ReceiveStatus},
        {"&Download", MainCommand::ReceiveData},
        {"&Live readings", MainCommand::RealTime},
        {"Send s&etup", MainCommand::SendSetup},
    };
    for (const auto& [caption, command] : buttons) {
        const MainCommand chosen = command;
        connect(CommandButton(m_statusBox, QString::fromLatin1(caption), commands), &QPushButton::clicked, this,
                [this, chosen] { emit commandChosen(chosen); });
    }
    status->addLayout(commands);
    left->addWidget(m_statusBox);

    m_serviceBox = new QGroupBox(QStringLiteral("Auto answer"), this);
    m_serviceBox->setObjectName(QStringLiteral("ServiceBox"));
    m_serviceBox->setLayout(new QFormLayout);
    m_serviceState = addLine(m_serviceBox, QStringLiteral("ServiceState"), QStringLiteral("State"));
    m_lastCall = addLine(m_serviceBox, QStringLiteral("LastCall"), QStringLiteral("Last call"));
    m_callsToday = addLine(m_serviceBox, QStringLiteral("CallsToday"), QStringLiteral("Today"));
    left->addWidget(m_serviceBox);
    left->addStretch();

    m_recentBox = new QGroupBox(QStringLiteral("Recent data files"), this);
    m_recentBox->setObjectName(QStringLiteral("RecentFilesBox"));
    auto* recent = new QVBoxLayout(m_recentBox);
    m_recent = new QListWidget(m_recentBox);
    m_recent->setObjectName(QStringLiteral("RecentFiles"));
    m_recent->setAccessibleName(QStringLiteral("Recent data files"));
    recent->addWidget(m_recent);
    columns->addWidget(m_recentBox, 1);
    // A click (or Enter) opens the file's graph.
    auto open = [this](QListWidgetItem* item) {
        if (item && (item->flags() & Qt::ItemIsEnabled))
            emit recentFileChosen(item->data(Qt::UserRole).toString());
    };
    connect(m_recent, &QListWidget::itemClicked, this, open);
    connect(m_recent, &QListWidget::itemActivated, this, open);
}

void HomeView::display(const HomeViewContent& c)
{
    m_port->setText(c.connection.port);
    m_speed->setText(c.connection.speed);
    m_kind->setText(c.connection.kind);

    m_noStatus->setVisible(!c.status.known);
    m_statusFields->setVisible(c.status.known);
    m_model->setText(c.status.model);
    m_description->setText(c.status.description);
    QStringList channels;
    for (const QString& channel : c.status.channels)
        channels << channel;
    m_channels->setText(channels.join(QLatin1Char('\n')));
    m_memory->setValue(c.status.memoryPercent);
    m_memory->setFormat(QStringLiteral("%p %"));
    m_memory->setToolTip(c.status.memory);
    m_battery->setText(c.status.battery);
    m_clock->setText(c.status.clock);
    m_readAt->setText(c.status.readAt);

    m_recent->clear();
    for (const RecentFile& file : c.recent) {
        auto* item = new QListWidgetItem(RecentFileText(file), m_recent);
        item->setData(Qt::UserRole, file.path);
        item->setToolTip(file.path);
        if (!file.exists)
            item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
    }
    if (c.recent.empty()) {
        auto* item = new QListWidgetItem(QStringLiteral("No data file used yet."), m_recent);
        item->setFlags(Qt::NoItemFlags);
    }

    m_statusBox->setVisible(!c.autoAnswer);
    m_recentBox->setVisible(!c.autoAnswer);
    m_serviceBox->setVisible(c.autoAnswer);
    m_serviceState->setText(c.service.state);
    m_lastCall->setText(c.service.lastCall);
    m_callsToday->setText(c.service.callsText);
}

} // namespace tamble
