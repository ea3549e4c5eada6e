#pragma once
// "Pre-set Date and Time" / "Pre-set Dial-out Time for modem communications": the time a logger
// starts recording, or the daily, weekly or monthly time its modem calls back. The rules are in
// setup/get_date_model.h; the radio group and the day lists write the setup record at once, OK
// writes the start moment and leaves the start entry for the setup window.

#include "setup/get_date_model.h"

#include <QDateTime>
#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QRadioButton;
class QTimeEdit;

namespace tamble {

class HelpService;

class GetDateDialog : public QDialog {
    Q_OBJECT
public:
    GetDateDialog(SetupRecord& setup, HelpService& help, QWidget* parent = nullptr);

    // The clock the pickers start from (tests replace it).
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    // Shows the dialog (not blocking) in its dial-out or its date form.
    void openFor(bool dialOutMode);
    bool dialOutMode() const { return m_dialOut; }
    // What the last OK chose.
    const GetDateResult& result() const { return m_result; }

    void accept() override;

private:
    DialOutInterval interval() const;
    void intervalChosen();

    SetupRecord& m_setup;
    HelpService& m_help;
    bool m_dialOut = false;
    GetDateResult m_result;
    QLabel* m_dateLabel = nullptr;
    QDateEdit* m_date = nullptr;
    QTimeEdit* m_time = nullptr;
    QCheckBox* m_today = nullptr;
    QGroupBox* m_group = nullptr;
    QRadioButton* m_daily = nullptr;
    QRadioButton* m_weekly = nullptr;
    QRadioButton* m_monthly = nullptr;
    QComboBox* m_weekday = nullptr;
    QComboBox* m_monthDay = nullptr;
};

} // namespace tamble
