#pragma once
// The time base: the sample-rate table and every conversion between times and
// their texts (logger clock text, file time stamp, export time stamp).
//
// Texts come from files and from loggers, so every reader here accepts text of
// any length and content: a missing character reads as nothing, a field that is
// not a number reads as 0, and nothing is ever indexed outside the text.
//
// The export path (FirstExportStamp / NextExportStamp) works on a small cursor
// and fixed character buffers so that stamping a line allocates nothing.

#include "util/calendar.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <concepts>
#include <cstdint>
#include <string_view>

namespace tamble {

// ---------------------------------------------------------------- rate table

struct RateEntry {
    char code;          // the rate code character ('G' is stored as 71 in data files)
    const char* name;   // exactly ten characters, blank padded
    float minutes;      // minutes per reading, single precision
};

inline constexpr int kRateCount = 28;

// The 28 rates in ascending order of interval (the order of the rate list).
const std::array<RateEntry, kRateCount>& RateTable();

// Position of a code in RateTable(), or -1 for a code not in the table.
// Takes the code as a character or as its decimal value.
int RateOrder(int code);

// Minutes per reading; 60 for `M` and for every code not in the table.
float RateMinutes(int code);

// Sets `text` to the ten-character name of the rate; leaves it untouched for a
// code not in the table. Returns whether the code was found.
bool RateName(int code, QString& text);

// Intervals of the four-channel fast models at the approximate rates: 2.3 s,
// 4.6 s and 6.9 s instead of 2, 4 and 6 s. Intervals of 0.02 minutes or less
// and of 0.12 minutes or more are returned unchanged.
double ApproxRateCorrection(double minutesPerReading);

// ---------------------------------------------------------------- calendar

// Clock option of the settings field am/pm: 1 = 12-hour with am/pm, 0 = 24-hour.
enum class ClockStyle : std::uint8_t { Hour24 = 0, AmPm = 1 };
constexpr ClockStyle ClockStyleFromSetting(bool amPm) { return amPm ? ClockStyle::AmPm : ClockStyle::Hour24; }

// Settings field export date format: 0 = mm/dd/yyyy, 1 = dd/mm/yyyy.
enum class ExportDateOrder : std::uint8_t { MonthFirst = 0, DayFirst = 1 };
constexpr ExportDateOrder ExportDateOrderFromSetting(std::uint8_t v)
{
    return v == 1 ? ExportDateOrder::DayFirst : ExportDateOrder::MonthFirst;
}

// Broken-down time on which all arithmetic is done.
struct CalendarCursor {
    int year = 2000;        // four digits once normalised
    int month = 1;          // 1..12
    int daysInMonth = 31;
    int day = 1;            // 1..daysInMonth
    int weekday = 6;        // 0 = Sunday .. 6 = Saturday
    int hour = 0;           // 0..23
    int minute = 0;
    int second = 0;
    bool leapYear = true;
    double msRemainder = 0; // milliseconds under a second carried by the export
};

// Year below 90 gets 2000 added, 90..99 gets 1900, larger years are kept.
int NormaliseYear(int year);
// IsLeapYear and DaysInMonth: util/calendar.h.

// "Sun".."Sat" for 0..6, "Jan".."Dec" for 1..12 (any other value: "???").
const char* WeekdayName(int weekday);
const char* MonthName(int month);

// Steps of the cursor with their carries (the day steps advance the weekday).
void NextDay(CalendarCursor& c);
void PreviousDay(CalendarCursor& c);
void NextHour(CalendarCursor& c);
void PreviousHour(CalendarCursor& c);
void NextMinute(CalendarCursor& c);
void PreviousMinute(CalendarCursor& c);
void NextSecond(CalendarCursor& c);
// Moves by whole days (either direction) in one go; same result as stepping.
void AddDays(CalendarCursor& c, std::int64_t days);

// ---------------------------------------------------------------- logger clock text

// Fourteen characters: ss mm hh dd MM, one unread character, weekday digit
// (1 = Sunday), yy. Valid when the digits are digits and the numbers in range.
bool LoggerClockValid(QByteArrayView text);

// File time stamp of a valid logger clock text. A weekday digit outside 1..7 is
// replaced by the weekday the date actually falls on. Never reads past `text`.
QString LoggerClockToStamp(QByteArrayView text, ClockStyle style);

// ---------------------------------------------------------------- file time stamp

// Largest stamp FormatStampInto writes (26 characters for realistic years).
inline constexpr int kStampBufferSize = 48;
// Width of the fixed fields in which files store stamps.
inline constexpr int kStampFieldWidth = 28;

// Reads a file time stamp (24 or 26 characters, or an older two-digit-year
// form) into the cursor. Every field but msRemainder is overwritten. A weekday
// name outside the table takes the weekday of the date; a month name outside
// the table counts as January. Returns false when the text does not form a
// date and time (fields not numbers, day past the month, hour/minute/second out
// of range); the cursor is filled all the same.
bool ParseStampInto(QByteArrayView text, CalendarCursor& cursor);
CalendarCursor ParseStamp(QByteArrayView text);
template <typename S>
    requires std::same_as<S, QString>
CalendarCursor ParseStamp(const S& text) { return ParseStamp(QByteArrayView(text.toLatin1())); }

// Writes the stamp into `out` (at least kStampBufferSize bytes); returns its
// length: 24, or 26 with the am/pm suffix.
int FormatStampInto(const CalendarCursor& cursor, ClockStyle style, char* out);
QString FormatStamp(const CalendarCursor& cursor, ClockStyle style);

// `minutes` rounded to whole seconds and added; 0 seconds returns the stamp
// unchanged. A negative amount moves the time back.
QString AddMinutes(QByteArrayView stamp, double minutes, ClockStyle style);
template <typename S>
    requires std::same_as<S, QString>
QString AddMinutes(const S& stamp, double minutes, ClockStyle style)
{
    return AddMinutes(QByteArrayView(stamp.toLatin1()), minutes, style);
}

// Moves the stamp back by `minutes` (single precision, stepping whole days,
// hours and minutes, then raising seconds for the fraction).
QString SubtractMinutes(QByteArrayView stamp, float minutes, ClockStyle style);
template <typename S>
    requires std::same_as<S, QString>
QString SubtractMinutes(const S& stamp, float minutes, ClockStyle style)
{
    return SubtractMinutes(QByteArrayView(stamp.toLatin1()), minutes, style);
}

// Minutes from the first stamp to the last, in single precision. 0 when either
// text is not a date and time, so that no interval is derived from it.
float StampSpanMinutes(QByteArrayView first, QByteArrayView last);
template <typename S>
    requires std::same_as<S, QString>
float StampSpanMinutes(const S& first, const S& last)
{
    return StampSpanMinutes(QByteArrayView(first.toLatin1()), QByteArrayView(last.toLatin1()));
}

// ---------------------------------------------------------------- export time stamp

// An export time stamp held in a fixed buffer: "mm/dd/yyyy,hh:mm:ss[,mmm]".
struct ExportStamp {
    std::array<char, 48> text{};
    int length = 0;

    std::string_view view() const { return {text.data(), static_cast<std::size_t>(length)}; }
    QByteArrayView bytes() const { return {text.data(), length}; }
    QString toString() const { return QString::fromLatin1(text.data(), length); }
};

// The export's own cursor: it lives from the first line of an export to the
// last so that the millisecond remainder carries from line to line.
struct ExportClock {
    CalendarCursor cursor;
    double intervalMinutes = 1;   // interval of the data set being exported
    ExportDateOrder dateOrder = ExportDateOrder::MonthFirst;
    bool showMilliseconds = false; // decided by FirstExportStamp
};

// Milliseconds are written when the interval is 0.15 minutes (9 s) or less.
bool ExportShowsMilliseconds(double intervalMinutes);

// Stamp of the first exported line: `fileStamp` advanced by `offsetMinutes`.
// Resets the millisecond remainder and decides whether milliseconds are shown
// from clock.intervalMinutes. `comma` selects "," (CSV) or a blank (text).
ExportStamp FirstExportStamp(ExportClock& clock, QByteArrayView fileStamp, double offsetMinutes, bool comma);

// Stamp `readings` intervals after `previous` (an export stamp of this clock's
// date order); the remainder under a second carries over.
ExportStamp NextExportStamp(ExportClock& clock, QByteArrayView previous, std::int64_t readings, bool comma);

// Adds `ms` to the cursor's remainder and carries whole days, hours, minutes
// and seconds into the cursor; what is left (under a second) stays.
void AdvanceMilliseconds(CalendarCursor& c, double ms);

} // namespace tamble
