#include "ui/link/status_window.h"

#include "link/session_engine.h"
#include "ui/link/link_widgets.h"
#include "util/user_dialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tamble {

using ui::BuddyLabel;
using ui::ReadOnlyBox;

StatusWindow::StatusWindow(const StatusWindowRecords& records, SessionEngine& engine, MessageService& messages, HelpService& /*help*/,
                           QWidget* parent)
    : QDialog(parent), m_engine(engine), m_messages(messages), m_model(records)
{
    setObjectName(QStringLiteral("TStatus"));
    setWindowTitle(QStringLiteral("Status"));
    setModal(false);

    auto* outer = new QVBoxLayout(this);
    m_grid = new QGridLayout;
    outer->addLayout(m_grid);
    buildBoxes();
    m_channels = new QGridLayout;
    outer->addLayout(m_channels);
    buildChannels();

    auto* bottom = new QHBoxLayout;
    m_panel2 = new QFrame(this);
    m_panel2->setObjectName(QStringLiteral("Panel2"));
    m_panel2->setFrameShape(QFrame::StyledPanel);
    auto* panelLayout = new QHBoxLayout(m_panel2);
    panelLayout->setContentsMargins(4, 2, 4, 2);
    m_dateCode = new QLabel(m_panel2);
    m_dateCode->setObjectName(QStringLiteral("DateCodeLabel"));
    m_dateCode->setAccessibleName(QStringLiteral("Date Code"));
    panelLayout->addWidget(m_dateCode);
    m_panel2->hide();
    bottom->addWidget(m_panel2);
    m_dialOut = new QLabel(this);
    m_dialOut->setObjectName(QStringLiteral("DialOutLabel"));
    m_dialOut->setAccessibleName(QStringLiteral("Dial-out Schedule"));
    bottom->addWidget(m_dialOut, 1);
    m_ok = ui::Button(this, QStringLiteral(" OK"), QStringLiteral("OKButton"));
    m_ok->setDefault(true);
    bottom->addWidget(m_ok);
    outer->addLayout(bottom);

    connect(m_ok, &QPushButton::clicked, this, &StatusWindow::oKButtonClick);
}

void StatusWindow::buildBoxes()
{
    struct Row {
        QLineEdit** box;
        const char* name;
        const char* caption;
        int chars;
        int row;
        int column;
        int span;
    };
    const Row rows[] = {
        {&m_modelBox, "ModelBox", "Model", 18, 0, 0, 1},
        {&m_rev, "RevBox", "Revision", 5, 0, 2, 1},
        {&m_station, "StationAddrBox", "Station Addr.", 5, 1, 0, 1},
        {&m_battery, "BatteryBox", "Battery", 12, 1, 2, 1},
        {&m_rate, "SampRateBox", "Sample Rate", 18, 2, 0, 1},
        {&m_span, "TimeSpanBox", "Span", 14, 2, 2, 1},
        {&m_first, "FirstReadingBox", "First reading", 34, 3, 0, 3},
        {&m_state, "CurrentStateBox", "Current State", 70, 4, 0, 3},
        {&m_clock, "ClockBox", "Clock", 34, 5, 0, 3},
        {&m_stop, "StopModeBox", "Stop Mode", 36, 6, 0, 3},
        {&m_id, "IdStatBox", "Description", 34, 7, 0, 3},
    };
    for (const Row& r : rows) {
        *r.box = ReadOnlyBox(this, QLatin1String(r.name), QLatin1String(r.caption), r.chars);
        QLabel* label = BuddyLabel(this, QLatin1String(r.caption), *r.box);
        m_grid->addWidget(label, r.row, r.column);
        m_grid->addWidget(*r.box, r.row, r.column + 1, 1, r.span);
        if (r.box == &m_station) {
            label->setObjectName(QStringLiteral("StationLabel"));
            m_stationLabel = label;
        } else if (r.box == &m_first) {
            label->setObjectName(QStringLiteral("FirstReadingLabel"));
            m_firstLabel = label;
        } else if (r.box == &m_clock) {
            label->setObjectName(QStringLiteral("ClockLabel"));
            m_clockLabel = label;
        }
    }
}

void StatusWindow::buildChannels()
{
    const char* const headings[] = {"Channel", "On/Off", "Value", "Label", "Scaling", "Input"};
    for (int c = 0; c < 6; ++c) {
        auto* heading = new QLabel(QLatin1String(headings[c]), this);
        m_channels->addWidget(heading, 0, c);
    }
    const QString off = QStringLiteral("Channel %1 ");
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        const QString prefix = off.arg(n);
        m_channels->addWidget(new QLabel(n, this), i + 1, 0);
        m_onOff[i] = ReadOnlyBox(this, QStringLiteral("onoff%1box").arg(n), prefix + QStringLiteral("On/Off"), 4);
        m_value[i] = ReadOnlyBox(this, QStringLiteral("Value%1Box").arg(n), prefix + QStringLiteral("Value"), 18);
        m_desc[i] = ReadOnlyBox(this, QStringLiteral("Desc%1Box").arg(n), prefix + QStringLiteral("Label"), 24);
        m_scal[i] = ReadOnlyBox(this, QStringLiteral("scal%1box").arg(n), prefix + QStringLiteral("Scaling"), 15);
        m_inp[i] = ReadOnlyBox(this, QStringLiteral("inp%1box").arg(n), prefix + QStringLiteral("Input"), 9);
        QLineEdit* const boxes[] = {m_onOff[i], m_value[i], m_desc[i], m_scal[i], m_inp[i]};
        for (int c = 0; c < 5; ++c)
            m_channels->addWidget(boxes[c], i + 1, c + 1);
    }
}

void StatusWindow::ShowStatus()
{
    applyTexts(m_model.ShowStatus());
}

void StatusWindow::applyTexts(const StatusTexts& t)
{
    m_modelBox->setText(t.model);
    m_rev->setText(t.revision);
    m_station->setText(t.stationAddress);
    m_station->setVisible(t.stationVisible);
    m_stationLabel->setVisible(t.stationVisible);
    m_battery->setText(t.battery);
    m_rate->setText(t.sampleRate);
    m_span->setText(t.timeSpan);
    m_firstLabel->setText(t.firstReadingLabel);
    m_first->setAccessibleName(t.firstReadingLabel);
    m_first->setText(t.firstReading);
    m_state->setText(t.currentState);
    m_clock->setText(t.clock);
    m_stop->setText(t.stopMode);
    m_id->setText(t.description);
    for (std::size_t i = 0; i < 4; ++i) {
        m_onOff[i]->setText(t.onOff[i]);
        m_desc[i]->setText(t.labels[i]);
        m_scal[i]->setText(t.scaling[i]);
        m_inp[i]->setText(t.inputTypes[i]);
    }
    setValueBoxes(t.values);
    m_dateCode->setText(t.dateCode);
    m_panel2->setVisible(t.dateCodeVisible);
    // A schedule belongs to the logger it was read from; this status's own query refills it.
    m_dialOut->clear();
    for (QLineEdit* box : {m_first, m_state, m_clock, m_id})
        box->setCursorPosition(0);
}

void StatusWindow::setValueBoxes(const std::array<QString, 4>& values)
{
    for (std::size_t i = 0; i < 4; ++i)
        m_value[i]->setText(values[i]);
}

void StatusWindow::applyLook()
{
    const StatusWindowLook look = m_model.look();
    setWindowTitle(look.caption);
    m_clock->setVisible(look.clockVisible);
    m_clockLabel->setVisible(look.clockVisible);
    for (QLineEdit* box : m_value) {
        QPalette p = box->palette();
        p.setColor(QPalette::Base, look.valuesWhite ? QColor(Qt::white) : palette().color(QPalette::Button));
        box->setPalette(p);
    }
}

void StatusWindow::showEvent(QShowEvent* event)
{
    applyLook();
    QDialog::showEvent(event);
}

void StatusWindow::showStatusWindow()
{
    applyLook();
    show();
    raise();
}

void StatusWindow::closeStatusWindow()
{
    QDialog::done(QDialog::Rejected);
}

void StatusWindow::sessionEnded()
{
    if (isVisible())
        applyLook();
}

void StatusWindow::realTimeLine(const QByteArray& line)
{
    if (const auto boxes = m_model.realTimeLine(line))
        setValueBoxes(*boxes);
}

void StatusWindow::dialOutReply(const QByteArray& reply)
{
    m_dialOut->setText(StatusWindowModel::dialOut(reply));
}

void StatusWindow::lastStatus()
{
    if (const auto refusal = m_model.lastStatusRefusal()) {
        UserMessage m;
        m.kind = DialogKind::Information;
        m.text = *refusal;
        m_messages.ask(m);
        return;
    }
    showStatusWindow();
}

void StatusWindow::oKButtonClick()
{
    closeByUser(StatusCloseTrigger::OkButton);
}

void StatusWindow::reject()
{
    closeByUser(StatusCloseTrigger::Window);
}

void StatusWindow::closeByUser(StatusCloseTrigger trigger)
{
    QDialog::done(QDialog::Rejected);
    if (m_model.close(trigger, m_engine))
        emit mainWindowShowRequested();
}

} // namespace tamble
