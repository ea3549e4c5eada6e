#include "ui/link/station_address_dialog.h"

#include "settings/settings_record.h"
#include "link/session_engine.h"
#include "ui/link/link_widgets.h"
#include "util/user_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

namespace tamble {

namespace {

QToolButton* SpinButton(QWidget* parent, Qt::ArrowType arrow, const QString& name, const QString& accessible)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setArrowType(arrow);
    b->setAccessibleName(accessible);
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

StationAddressDialog::StationAddressDialog(const SettingsRecord& settings, SessionEngine& engine, MessageService& messages,
                                           HelpService& help, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_engine(engine), m_messages(messages), m_help(help)
{
    setObjectName(QStringLiteral("TSndNetAddr"));
    setWindowTitle(QStringLiteral("Set Station Address (for network)"));
    m_programmer.install(engine);

    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("StationAddrField"));
    m_field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}")), m_field));
    m_field->setMaxLength(3);
    m_field->setMaximumWidth(m_field->fontMetrics().averageCharWidth() * 5 + 12);
    m_field->installEventFilter(this);
    QLabel* label = ui::BuddyLabel(this, QStringLiteral("Station &Address"), m_field, QStringLiteral("StationAddrLabel"));
    m_up = SpinButton(this, Qt::UpArrow, QStringLiteral("StationAddrUp"), QStringLiteral("Station Address Up"));
    m_down = SpinButton(this, Qt::DownArrow, QStringLiteral("StationAddrDown"), QStringLiteral("Station Address Down"));

    auto* spinner = new QVBoxLayout;
    spinner->setSpacing(0);
    spinner->addWidget(m_up);
    spinner->addWidget(m_down);
    auto* fieldRow = new QHBoxLayout;
    fieldRow->addWidget(label);
    fieldRow->addWidget(m_field);
    fieldRow->addLayout(spinner);
    fieldRow->addStretch(1);

    m_send = ui::Button(this, QStringLiteral("SEND"), QStringLiteral("SENDBtn"));
    m_send->setDefault(true);
    QPushButton* cancel = ui::Button(this, QStringLiteral("Cancel"), QStringLiteral("CancelBtn"));
    QPushButton* helpButton = ui::Button(this, QStringLiteral("&Help"), QStringLiteral("HelpBtn"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_send);
    buttons->addWidget(cancel);
    buttons->addWidget(helpButton);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(fieldRow);
    outer->addLayout(buttons);

    connect(m_field, &QLineEdit::textEdited, this, &StationAddressDialog::fieldEdited);
    connect(m_up, &QToolButton::clicked, this, [this] { step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
    connect(m_send, &QPushButton::clicked, this, &StationAddressDialog::SENDBtnClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [this] { m_help.showHelp(kStationAddressHelpContext); });
}

void StationAddressDialog::showEvent(QShowEvent* event)
{
    m_form = StationAddressForm(m_settings.stationAddress);
    m_field->setText(m_form.text());
    m_field->selectAll();
    m_field->setFocus();
    setEnabled(true);
    QDialog::showEvent(event);
}

bool StationAddressDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void StationAddressDialog::fieldEdited(const QString& text)
{
    m_form.setText(text);
    if (m_field->text() != m_form.text())
        m_field->setText(m_form.text());
}

void StationAddressDialog::step(int steps)
{
    m_form.stepBy(steps);
    m_field->setText(m_form.text());
}

void StationAddressDialog::SENDBtnClick()
{
    if (const auto refusal = m_form.sendRefusal()) {
        UserMessage m;
        m.kind = DialogKind::Warning;
        m.text = *refusal;
        m_messages.ask(m);
        m_field->setFocus();
        m_field->selectAll();
        return;
    }
    setEnabled(false);
    m_programmer.start(m_engine, m_form.address());
}

void StationAddressDialog::closeStationAddressDialog()
{
    setEnabled(true);
    if (isVisible())
        reject();
}

void StationAddressDialog::sessionEnded()
{
    setEnabled(true);
}

} // namespace tamble
