#include "ui/setup/get_date_dialog.h"

#include "ui/link/link_widgets.h"
#include "util/user_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace tamble {

namespace {

constexpr int kPresetDateHelpContext = 14;

QComboBox* List(QWidget* parent, const QString& name, const QString& accessible, const QStringList& items)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessible);
    box->addItems(items);
    return box;
}

QRadioButton* Radio(QWidget* parent, const QString& caption)
{
    auto* r = new QRadioButton(caption, parent);
    r->setObjectName(caption + QStringLiteral("Radio"));
    r->setAccessibleName(caption);
    return r;
}

} // namespace

GetDateDialog::GetDateDialog(SetupRecord& setup, HelpService& help, QWidget* parent)
    : QDialog(parent), m_setup(setup), m_help(help)
{
    setObjectName(QStringLiteral("TGetDate"));
    setModal(true);

    m_date = new QDateEdit(this);
    m_date->setObjectName(QStringLiteral("DatePicker"));
    m_date->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    m_date->setCalendarPopup(true);
    m_dateLabel = ui::BuddyLabel(this, QStringLiteral("Preset Date"), m_date, QStringLiteral("Label1"));
    m_time = new QTimeEdit(this);
    m_time->setObjectName(QStringLiteral("TimePicker"));
    m_time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    m_time->setToolTip(QStringLiteral("Seconds field is not currently used"));
    QLabel* timeLabel = ui::BuddyLabel(this, QStringLiteral("Preset Time (ignore seconds)"), m_time);
    m_today = new QCheckBox(QStringLiteral("is always current date"), this);
    m_today->setObjectName(QStringLiteral("TodayCheckBox"));
    m_today->setAccessibleName(m_today->text());

    m_group = new QGroupBox(QStringLiteral("Dial Out Interval"), this);
    m_group->setObjectName(QStringLiteral("dialOutRadioGroup"));
    m_daily = Radio(m_group, QStringLiteral("Daily"));
    m_weekly = Radio(m_group, QStringLiteral("Weekly"));
    m_monthly = Radio(m_group, QStringLiteral("Monthly"));
    m_weekday = List(m_group, QStringLiteral("dialoutdayofweek"), QStringLiteral("Day of week"), DialOutWeekdayTexts());
    m_monthDay = List(m_group, QStringLiteral("dialoutdayofmonth"), QStringLiteral("Day of month"),
                      DialOutMonthDayTexts());
    auto* groupLayout = new QGridLayout(m_group);
    groupLayout->addWidget(m_daily, 0, 0);
    groupLayout->addWidget(m_weekly, 1, 0);
    groupLayout->addWidget(m_weekday, 1, 1);
    groupLayout->addWidget(m_monthly, 2, 0);
    groupLayout->addWidget(m_monthDay, 2, 1);

    auto* form = new QFormLayout;
    form->addRow(m_dateLabel, m_date);
    form->addRow(QString(), m_today);
    form->addRow(timeLabel, m_time);

    QPushButton* ok = ui::Button(this, QStringLiteral("OK"), QStringLiteral("OKBtn"));
    ok->setDefault(true);
    QPushButton* cancel = ui::Button(this, QStringLiteral("Cancel"), QStringLiteral("CancelBtn"));
    QPushButton* helpButton = ui::Button(this, QStringLiteral("&Help"), QStringLiteral("HelpBtn"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(helpButton);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(form);
    outer->addWidget(m_group);
    outer->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &GetDateDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &GetDateDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [this] { m_help.showHelp(kPresetDateHelpContext); });
    connect(m_today, &QCheckBox::toggled, this, [this](bool on) { m_date->setEnabled(!on); });
    for (QRadioButton* r : {m_daily, m_weekly, m_monthly})
        connect(r, &QRadioButton::clicked, this, &GetDateDialog::intervalChosen);
    connect(m_weekday, &QComboBox::activated, this, [this](int i) { ChooseDialOutWeekday(m_setup, i); });
    connect(m_monthDay, &QComboBox::activated, this, [this](int i) { ChooseDialOutMonthDay(m_setup, i); });
}

void GetDateDialog::openFor(bool dialOutMode)
{
    m_dialOut = dialOutMode;
    const GetDateView v = OpenGetDate(m_setup, dialOutMode);
    setWindowTitle(v.caption);
    m_dateLabel->setVisible(!v.dialOut);
    m_date->setVisible(!v.dialOut);
    m_today->setVisible(!v.dialOut);
    m_group->setVisible(v.dialOut);
    m_daily->setChecked(v.interval == DialOutInterval::Daily);
    m_weekly->setChecked(v.interval == DialOutInterval::Weekly);
    m_monthly->setChecked(v.interval == DialOutInterval::Monthly);
    m_weekday->setCurrentIndex(v.weekday);
    m_monthDay->setCurrentIndex(v.monthDay);
    m_weekday->setEnabled(v.weekdayEnabled);
    m_monthDay->setEnabled(v.monthDayEnabled);
    const QDateTime present = now();
    m_date->setDate(present.date());
    m_time->setTime(present.time());
    m_today->setChecked(v.today);
    m_date->setEnabled(v.datePickerEnabled);
    open();
}

DialOutInterval GetDateDialog::interval() const
{
    if (m_monthly->isChecked())
        return DialOutInterval::Monthly;
    if (m_weekly->isChecked())
        return DialOutInterval::Weekly;
    return DialOutInterval::Daily;
}

void GetDateDialog::intervalChosen()
{
    ChooseDialOutInterval(m_setup, interval());
    bool weekday = false;
    bool monthDay = false;
    DayListsEnabled(interval(), weekday, monthDay);
    m_weekday->setEnabled(weekday);
    m_monthDay->setEnabled(monthDay);
}

void GetDateDialog::accept()
{
    const QDate today = now().date();
    if (m_dialOut)
        m_result = AcceptDialOut(m_setup, today, m_time->time(), interval(), m_weekday->currentIndex(),
                                 m_monthDay->currentIndex());
    else
        m_result = AcceptPresetDate(m_setup, m_today->isChecked(), m_date->date(), m_time->time(), today);
    QDialog::accept();
}

} // namespace tamble
