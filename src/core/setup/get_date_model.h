#pragma once
// The rules of the pre-set date dialog: which of its two forms it shows for the
// start entry the user picked, the dial-out interval and days it starts from,
// and what OK writes into the setup record and the start entry.

#include "setup/setup_record.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTime>

namespace tamble {

inline constexpr const char* kDialOutCaption = "Pre-set Dial-out Time for modem communications";
inline constexpr const char* kPresetDateCaption = "Pre-set Date and Time";

enum class DialOutInterval { Daily = 0, Weekly = 1, Monthly = 2 };

// "Sun" .. "Sat" and "1" .. "31".
const QStringList& DialOutWeekdayTexts();
const QStringList& DialOutMonthDayTexts();

// What the dialog shows when it opens.
struct GetDateView {
    QString caption;
    bool dialOut = false;        // radio group and day lists; otherwise date picker and today box
    DialOutInterval interval = DialOutInterval::Daily;
    int weekday = 0;             // list index, Sunday = 0
    int monthDay = 0;            // list index, day 1 = 0
    bool weekdayEnabled = false;
    bool monthDayEnabled = false;
    bool today = false;          // "is always current date" ticked
    bool datePickerEnabled = true;
};
GetDateView OpenGetDate(const SetupRecord& setup, bool dialOutMode);

// Daily enables neither list, Weekly the weekday list, Monthly the month-day list.
void DayListsEnabled(DialOutInterval interval, bool& weekday, bool& monthDay);

// The radio group and the lists write the record at once.
void ChooseDialOutInterval(SetupRecord& setup, DialOutInterval interval);
void ChooseDialOutWeekday(SetupRecord& setup, int index);
void ChooseDialOutMonthDay(SetupRecord& setup, int index);

// What OK leaves for the setup window: the start entry to select and its text.
struct GetDateResult {
    int entry = 1;
    QString text;
};

// OK in the dial-out form: today and the picked time of day become the start
// moment, the interval and both days are taken from the controls.
GetDateResult AcceptDialOut(SetupRecord& setup, const QDate& today, const QTime& time, DialOutInterval interval,
                            int weekdayIndex, int monthDayIndex, const QLocale& locale = QLocale());

// OK in the date form: the picked date (or today, always, when the box is ticked) and time.
GetDateResult AcceptPresetDate(SetupRecord& setup, bool alwaysToday, const QDate& date, const QTime& time,
                               const QDate& today, const QLocale& locale = QLocale());

} // namespace tamble
