#pragma once
// The start and schedule field of the setup command, the pre-set start rule
// and the texts of the start list entries.
//
// Dates are day numbers counted from 1 January 1600 (day 0, a Saturday), times
// are seconds after midnight; both come straight from the setup record and may
// hold any value, so every calculation here is done on 64-bit integers and never
// on a calendar type that could be invalid.

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

namespace tamble {

// The schedule fields of the setup record that decide the start moment.
struct StartSchedule {
    std::int32_t startDate = 0;        // day number, -1 = no date
    std::int32_t startTime = 0;        // seconds after midnight, -1 = no time
    std::uint8_t startDateIsToday = 0; // 1 = the date is always today
    std::uint8_t dialOutKind = 0;      // 0, 'a' monthly, 'b' weekly, 'c' daily
    std::uint8_t dialOutWeekday = 0;   // 1 = Sunday .. 7 = Saturday
    std::uint8_t dialOutMonthDay = 0;  // 1..31
};

// A calendar moment broken into fields; built only by the functions below.
struct CivilMoment {
    std::int64_t dayNumber = 0; // days from 1 January 1600
    std::int64_t year = 1600;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 6; // 0 = Sunday .. 6 = Saturday
};

// Day number of a calendar date and back (proleptic Gregorian calendar).
std::int64_t DayNumberOf(std::int64_t year, int month, int day);
CivilMoment MomentOf(std::int64_t dayNumber, std::int64_t secondsOfDay);

// The start moment: today when startDateIsToday is 1, otherwise startDate;
// plus startTime seconds.
CivilMoment StartMoment(const StartSchedule& schedule, std::int64_t todayDayNumber);

// The 13 characters "00" mm hh dd MM w yy (see the setup command layout).
QByteArray StartField(const StartSchedule& schedule, std::int64_t todayDayNumber);

// The 13 characters of the PC clock: ss mm hh dd MM w yy.
QByteArray ClockField(const CivilMoment& now);

// True when the start choice is "at pre-set time" (1) and its start moment lies
// before `now`.
bool PresetStartPassed(int startChoice, const StartSchedule& schedule, const CivilMoment& now);

// Suffix after a day of month: "st at ", "nd at ", "rd at " or "th at ".
QString MonthDaySuffix(int day);

// Drops every ':' after the first together with the two characters after it:
// "2:05:30 PM" becomes "2:05 PM".
QString RemoveSeconds(const QString& text);

// A time of day in the locale's long time format without its seconds (the
// dial-out entries' time).
QString DialOutTimeText(std::int64_t secondsOfDay, const QLocale& locale);

// Weekday names of the weekly dial-out entry: "Sun".."Sat" for 1..7, else "err".
QString DialOutWeekdayName(int weekday);

// What the start list shows for a setup (entry index and its new text). Entry
// 3 keeps its text when DialOutKind is 0 (text is then empty). clearDialOutKind
// tells the caller to set DialOutKind to 0.
struct StartEntry {
    int entry = 1;
    std::optional<QString> text;
    bool clearDialOutKind = false;
};
StartEntry StartEntryText(int startChoice, const StartSchedule& schedule,
                          std::int64_t todayDayNumber, const QLocale& locale);

// The entry texts the pre-set date dialog writes on OK.
QString DailyDialOutEntry(const QString& timeText);
QString WeeklyDialOutEntry(const QString& weekdayText, const QString& timeText);
QString MonthlyDialOutEntry(int monthDay, const QString& timeText);

} // namespace tamble
