#include "datafiles/timebase.h"

#include <cmath>

namespace tamble {

// ================================================================ rate table

namespace {

constexpr std::array<RateEntry, kRateCount> kRates{{
    {'4', "200/second", 1.0f / 12000.0f},
    {'5', "100/second", 1.0f / 6000.0f},
    {'6', " 50/second", 1.0f / 3000.0f},
    {'7', " 20/second", 1.0f / 1200.0f},
    {'8', " 10/second", 1.0f / 600.0f},
    {'9', "  5/second", 1.0f / 300.0f},
    {':', "  2/second", 1.0f / 120.0f},
    {';', "  1/second", 1.0f / 60.0f},
    {'C', "~2 seconds", 1.0f / 30.0f},
    {'T', "~4 seconds", 1.0f / 15.0f},
    {'V', "~6 seconds", 1.0f / 10.0f},
    {'D', "10 seconds", 1.0f / 6.0f},
    {'E', "20 seconds", 1.0f / 3.0f},
    {'F', "30 seconds", 1.0f / 2.0f},
    {'G', " 1 minute ", 1.0f},
    {'H', " 2 minutes", 2.0f},
    {'I', " 5 minutes", 5.0f},
    {'J', "10 minutes", 10.0f},
    {'U', "15 minutes", 15.0f},
    {'K', "20 minutes", 20.0f},
    {'L', "30 minutes", 30.0f},
    {'M', " 1 hour   ", 60.0f},
    {'N', " 2 hours  ", 120.0f},
    {'S', " 3 hours  ", 180.0f},
    {'O', " 4 hours  ", 240.0f},
    {'P', " 6 hours  ", 360.0f},
    {'Q', " 8 hours  ", 480.0f},
    {'R', "12 hours  ", 720.0f},
}};

} // namespace

const std::array<RateEntry, kRateCount>& RateTable() { return kRates; }

int RateOrder(int code)
{
    for (int i = 0; i < kRateCount; ++i)
        if (static_cast<int>(kRates[static_cast<std::size_t>(i)].code) == code)
            return i;
    return -1;
}

float RateMinutes(int code)
{
    const int i = RateOrder(code);
    return i < 0 ? 60.0f : kRates[static_cast<std::size_t>(i)].minutes;
}

bool RateName(int code, QString& text)
{
    const int i = RateOrder(code);
    if (i < 0)
        return false;
    text = QString::fromLatin1(kRates[static_cast<std::size_t>(i)].name);
    return true;
}

double ApproxRateCorrection(double m)
{
    if (!(m > 0.02))
        return m;
    if (m < 0.04)
        return 2.3 / 60.0;
    if (m < 0.08)
        return 4.6 / 60.0;
    if (m < 0.12)
        return 0.115;
    return m;
}

// ================================================================ calendar

namespace {

constexpr const char* kNames[19] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat",
                                    "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int floorMod(std::int64_t a, int m) { return static_cast<int>(FloorMod(a, m)); }

void setMonthFacts(CalendarCursor& c)
{
    c.leapYear = IsLeapYear(c.year);
    c.daysInMonth = DaysInMonth(c.year, c.month);
}

// Weekday (0 = Sunday) a date actually falls on; the day is kept inside its month.
int weekdayOfDate(int year, int month, int day)
{
    if (month < 1 || month > 12)
        month = 1;
    const int dim = DaysInMonth(year, month);
    if (day < 1)
        day = 1;
    if (day > dim)
        day = dim;
    return WeekdayFromDays(DaysFromCivil(year, month, day));
}

void previousSecond(CalendarCursor& c)
{
    if (--c.second < 0) {
        c.second = 59;
        PreviousMinute(c);
    }
}

// Moves by whole seconds: days first, then hours, minutes and single seconds,
// each step with its carries.
void addSeconds(CalendarCursor& c, std::int64_t s)
{
    if (s == 0)
        return;
    const bool forward = s > 0;
    const std::int64_t a = forward ? s : -s;
    AddDays(c, forward ? a / 86400 : -(a / 86400));
    const int rest = static_cast<int>(a % 86400);
    for (int i = 0; i < rest / 3600; ++i)
        forward ? NextHour(c) : PreviousHour(c);
    for (int i = 0; i < (rest % 3600) / 60; ++i)
        forward ? NextMinute(c) : PreviousMinute(c);
    for (int i = 0; i < rest % 60; ++i)
        forward ? NextSecond(c) : previousSecond(c);
}

} // namespace

int NormaliseYear(int year)
{
    if (year < 90)
        return year + 2000;
    if (year < 100)
        return year + 1900;
    return year;
}

const char* WeekdayName(int weekday) { return weekday >= 0 && weekday <= 6 ? kNames[weekday] : "???"; }
const char* MonthName(int month) { return month >= 1 && month <= 12 ? kNames[6 + month] : "???"; }

void NextDay(CalendarCursor& c)
{
    c.weekday = floorMod(static_cast<std::int64_t>(c.weekday) + 1, 7);
    if (++c.day > c.daysInMonth) {
        c.day = 1;
        if (++c.month > 12) {
            c.month = 1;
            ++c.year;
        }
        setMonthFacts(c);
    }
}

void PreviousDay(CalendarCursor& c)
{
    c.weekday = floorMod(static_cast<std::int64_t>(c.weekday) + 6, 7);
    if (--c.day < 1) {
        if (--c.month < 1) {
            c.month = 12;
            --c.year;
        }
        setMonthFacts(c);
        c.day = c.daysInMonth;
    }
}

void NextHour(CalendarCursor& c)
{
    if (++c.hour > 23) {
        c.hour = 0;
        NextDay(c);
    }
}

void PreviousHour(CalendarCursor& c)
{
    if (--c.hour < 0) {
        c.hour = 23;
        PreviousDay(c);
    }
}

void NextMinute(CalendarCursor& c)
{
    if (++c.minute > 59) {
        c.minute = 0;
        NextHour(c);
    }
}

void PreviousMinute(CalendarCursor& c)
{
    if (--c.minute < 0) {
        c.minute = 59;
        PreviousHour(c);
    }
}

void NextSecond(CalendarCursor& c)
{
    if (++c.second > 59) {
        c.second = 0;
        NextMinute(c);
    }
}

void AddDays(CalendarCursor& c, std::int64_t days)
{
    if (days == 0)
        return;
    // About 2.7 million years either way: far beyond any recording, and keeps
    // the year inside an int.
    constexpr std::int64_t kLimit = 1'000'000'000;
    if (days > kLimit)
        days = kLimit;
    if (days < -kLimit)
        days = -kLimit;
    if (c.month < 1 || c.month > 12)
        c.month = 1;
    setMonthFacts(c);
    if (c.day < 1)
        c.day = 1;
    if (c.day > c.daysInMonth)
        c.day = c.daysInMonth;
    std::int64_t y = 0;
    int m = 1;
    int d = 1;
    CivilFromDays(DaysFromCivil(c.year, c.month, c.day) + days, y, m, d);
    c.year = static_cast<int>(y);
    c.month = m;
    c.day = d;
    c.weekday = floorMod(static_cast<std::int64_t>(floorMod(c.weekday, 7)) + floorMod(days, 7), 7);
    setMonthFacts(c);
}

// ================================================================ text helpers

namespace {

// Character at 1-based position `pos`, or 0 past either end.
inline char at(QByteArrayView t, qsizetype pos)
{
    return pos >= 1 && pos <= t.size() ? t[pos - 1] : '\0';
}

inline bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }

// Decimal number at 1-based positions from..to (cut at the end of the text),
// leading blanks allowed. Anything else reads as 0 with `ok` cleared.
int readNumber(QByteArrayView t, qsizetype from, qsizetype to, bool& ok)
{
    qsizetype i = from;
    while (i <= to && at(t, i) == ' ')
        ++i;
    int value = 0;
    int digits = 0;
    for (; i <= to; ++i) {
        const char ch = at(t, i);
        if (!isDigit(ch)) {
            ok = false;
            return 0;
        }
        value = value * 10 + (ch - '0');
        ++digits;
    }
    if (digits == 0) {
        ok = false;
        return 0;
    }
    return value;
}

// Two characters at 1-based positions, both required to be digits.
inline int twoDigits(QByteArrayView t, qsizetype pos, bool& ok)
{
    const char a = at(t, pos);
    const char b = at(t, pos + 1);
    if (!isDigit(a) || !isDigit(b)) {
        ok = false;
        return 0;
    }
    return (a - '0') * 10 + (b - '0');
}

int nameIndex(QByteArrayView t, qsizetype pos, int first, int count)
{
    const char a = at(t, pos);
    const char b = at(t, pos + 1);
    const char c = at(t, pos + 2);
    for (int i = first; i < first + count; ++i)
        if (kNames[i][0] == a && kNames[i][1] == b && kNames[i][2] == c)
            return i - first;
    return -1;
}

// Writes `value` with at least `width` characters, padding with `pad`.
inline int putNumber(char* out, int value, int width, char pad)
{
    char tmp[16];
    int n = 0;
    const bool negative = value < 0;
    unsigned u = negative ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        tmp[n++] = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u != 0);
    int len = 0;
    if (negative)
        out[len++] = '-';
    for (int i = n + (negative ? 1 : 0); i < width; ++i)
        out[len++] = pad;
    while (n > 0)
        out[len++] = tmp[--n];
    return len;
}

inline int putName(char* out, const char* name)
{
    out[0] = name[0];
    out[1] = name[1];
    out[2] = name[2];
    return 3;
}

} // namespace

// ================================================================ logger clock text

bool LoggerClockValid(QByteArrayView text)
{
    if (text.size() < 14)
        return false;
    for (qsizetype pos : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14})
        if (!isDigit(at(text, pos)))
            return false;
    bool ok = true;
    const int seconds = twoDigits(text, 1, ok);
    const int minutes = twoDigits(text, 3, ok);
    const int hours = twoDigits(text, 5, ok);
    const int day = twoDigits(text, 7, ok);
    const int month = twoDigits(text, 9, ok);
    return ok && seconds < 60 && minutes < 60 && hours < 24 && day >= 1 && day <= 31 && month >= 1 && month <= 12;
}

QString LoggerClockToStamp(QByteArrayView text, ClockStyle style)
{
    bool ok = true;
    CalendarCursor c;
    c.second = twoDigits(text, 1, ok);
    c.minute = twoDigits(text, 3, ok);
    c.hour = twoDigits(text, 5, ok);
    c.day = twoDigits(text, 7, ok);
    c.month = twoDigits(text, 9, ok);
    if (c.month < 1 || c.month > 12)
        c.month = 1;
    c.year = (at(text, 13) == '9' ? 1900 : 2000) + twoDigits(text, 13, ok);
    setMonthFacts(c);
    const char w = at(text, 12);
    c.weekday = w >= '1' && w <= '7' ? w - '1' : weekdayOfDate(c.year, c.month, c.day);
    return FormatStamp(c, style);
}

// ================================================================ file time stamp

bool ParseStampInto(QByteArrayView t, CalendarCursor& c)
{
    const qsizetype len = t.size();
    const bool suffixed = len > 0 && !isDigit(t[len - 1]);
    const bool fourDigitYear = len == 26 || (len == 24 && !suffixed);
    const qsizetype d = fourDigitYear ? 2 : 0;

    bool ok = true;
    const int weekday = nameIndex(t, 1, 0, 7);
    int day = readNumber(t, 5, 6, ok);
    const int month = nameIndex(t, 8, 7, 12);
    int year = readNumber(t, 12, 13 + d, ok);
    int hour = readNumber(t, 15 + d, 16 + d, ok);
    const int minute = readNumber(t, 18 + d, 19 + d, ok);
    int second = 0;
    char s1 = '\0';
    char s2 = '\0';
    if (len == 24 || len == 26) {
        second = readNumber(t, 21 + d, 22 + d, ok);
        s1 = at(t, 23 + d);
        s2 = at(t, 24 + d);
    } else if (len == 21) {
        s1 = at(t, 20 + d);
        s2 = at(t, 21 + d);
    } else {
        s1 = at(t, 23 + d);
        s2 = 'm';
    }
    if (suffixed) {
        if (s1 == 'p' && s2 == 'm')
            hour += 12;
        else if (hour == 12)
            hour = 0;
        if (hour == 24)
            hour = 12;
    }

    c.year = NormaliseYear(year);
    c.month = month < 0 ? 1 : month + 1;
    setMonthFacts(c);
    c.day = day;
    c.hour = hour;
    c.minute = minute;
    c.second = second;
    c.weekday = weekday >= 0 ? weekday : weekdayOfDate(c.year, c.month, day);
    return ok && day >= 1 && day <= c.daysInMonth && hour >= 0 && hour <= 23 && minute <= 59 && second <= 59;
}

CalendarCursor ParseStamp(QByteArrayView text)
{
    CalendarCursor c;
    ParseStampInto(text, c);
    return c;
}

int FormatStampInto(const CalendarCursor& c, ClockStyle style, char* out)
{
    int n = 0;
    n += putName(out + n, WeekdayName(c.weekday));
    out[n++] = ' ';
    n += putNumber(out + n, c.day, 2, ' ');
    out[n++] = '-';
    n += putName(out + n, MonthName(c.month));
    out[n++] = '-';
    n += putNumber(out + n, c.year, 4, '0');
    out[n++] = ' ';
    int hour = c.hour;
    if (style == ClockStyle::AmPm)
        hour = hour > 12 ? hour - 12 : (hour == 0 ? 12 : hour);
    n += putNumber(out + n, hour, 2, ' ');
    out[n++] = ':';
    n += putNumber(out + n, c.minute, 2, '0');
    out[n++] = ':';
    n += putNumber(out + n, c.second, 2, '0');
    if (style == ClockStyle::AmPm) {
        out[n++] = c.hour < 12 ? 'a' : 'p';
        out[n++] = 'm';
    }
    return n;
}

QString FormatStamp(const CalendarCursor& cursor, ClockStyle style)
{
    char buf[kStampBufferSize];
    const int n = FormatStampInto(cursor, style, buf);
    return QString::fromLatin1(buf, n);
}

QString AddMinutes(QByteArrayView stamp, double minutes, ClockStyle style)
{
    if (!std::isfinite(minutes))
        return QString::fromLatin1(stamp.data(), stamp.size());
    // Past 1e9 days the date stops moving anyway (AddDays limit).
    constexpr double kLimitSeconds = 8.64e13;
    double s = std::nearbyint(minutes * 60.0);
    if (s > kLimitSeconds)
        s = kLimitSeconds;
    if (s < -kLimitSeconds)
        s = -kLimitSeconds;
    const auto seconds = static_cast<std::int64_t>(s);
    if (seconds == 0)
        return QString::fromLatin1(stamp.data(), stamp.size());
    CalendarCursor c = ParseStamp(stamp);
    addSeconds(c, seconds);
    return FormatStamp(c, style);
}

QString SubtractMinutes(QByteArrayView stamp, float minutes, ClockStyle style)
{
    float m = minutes;
    if (m == 0.0f)
        return QString::fromLatin1(stamp.data(), stamp.size());
    CalendarCursor c = ParseStamp(stamp);
    constexpr float kLimitMinutes = 1.0e9f;
    if (m > kLimitMinutes)
        m = kLimitMinutes;
    if (m < -kLimitMinutes)
        m = -kLimitMinutes;
    if (m > 1440.0f) {
        // Whole days in one go; the same as subtracting 1440 repeatedly, which
        // is exact in single precision for these magnitudes.
        const auto days = static_cast<std::int64_t>(std::ceil((static_cast<double>(m) - 1440.0) / 1440.0));
        AddDays(c, -days);
        m = static_cast<float>(static_cast<double>(m) - static_cast<double>(days) * 1440.0);
        while (m > 1440.0f) {
            PreviousDay(c);
            m -= 1440.0f;
        }
    }
    while (m > 60.0f) {
        PreviousHour(c);
        m -= 60.0f;
    }
    while (m > 0.0f) {
        PreviousMinute(c);
        m -= 1.0f;
    }
    if (m < 0.0f) {
        // The fraction of a minute stepped back too far is given back in whole
        // seconds, with the carry into the minute. The small tolerance keeps
        // single-precision noise from adding a second.
        const auto raise = static_cast<std::int64_t>(std::ceil(-static_cast<double>(m) * 60.0 - 1e-4));
        addSeconds(c, raise);
    }
    return FormatStamp(c, style);
}

float StampSpanMinutes(QByteArrayView first, QByteArrayView last)
{
    CalendarCursor a;
    CalendarCursor b;
    if (!ParseStampInto(first, a) || !ParseStampInto(last, b))
        return 0.0f;
    const std::int64_t sa = DaysFromCivil(a.year, a.month, a.day) * 86400 + a.hour * 3600 + a.minute * 60 + a.second;
    const std::int64_t sb = DaysFromCivil(b.year, b.month, b.day) * 86400 + b.hour * 3600 + b.minute * 60 + b.second;
    return static_cast<float>(static_cast<double>(sb - sa) / 60.0);
}

// ================================================================ export time stamp

bool ExportShowsMilliseconds(double intervalMinutes)
{
    // The interval is a single-precision value widened to double; comparing in
    // single precision keeps a widened 0.15 on the "shown" side.
    return static_cast<float>(intervalMinutes) <= 0.15f;
}

void AdvanceMilliseconds(CalendarCursor& c, double ms)
{
    constexpr double kDay = 86'400'000.0;
    double r = c.msRemainder + ms;
    if (!std::isfinite(r))
        r = 0;
    if (r >= kDay) {
        const double wholeDays = std::floor(r / kDay);
        if (wholeDays > 1e9) { // far past any recording: keep the date finite
            AddDays(c, 1'000'000'000);
            r = std::fmod(r, kDay);
        } else {
            auto days = static_cast<std::int64_t>(wholeDays);
            if (r - static_cast<double>(days) * kDay < 0)
                --days;
            AddDays(c, days);
            r -= static_cast<double>(days) * kDay;
            if (r >= kDay) {
                NextDay(c);
                r -= kDay;
            }
        }
    }
    while (r >= 3'600'000.0) {
        NextHour(c);
        r -= 3'600'000.0;
    }
    while (r >= 60'000.0) {
        NextMinute(c);
        r -= 60'000.0;
    }
    while (std::nearbyint(r) >= 1000.0) {
        NextSecond(c);
        r -= 1000.0;
    }
    if (r < 0)
        r = 0;
    c.msRemainder = r;
}

namespace {

ExportStamp formatExport(const ExportClock& clock, bool comma)
{
    ExportStamp s;
    char* out = s.text.data();
    const CalendarCursor& c = clock.cursor;
    const char sep = comma ? ',' : ' ';
    int n = 0;
    const bool monthFirst = clock.dateOrder == ExportDateOrder::MonthFirst;
    n += putNumber(out + n, monthFirst ? c.month : c.day, 2, '0');
    out[n++] = '/';
    n += putNumber(out + n, monthFirst ? c.day : c.month, 2, '0');
    out[n++] = '/';
    n += putNumber(out + n, c.year, 4, '0');
    out[n++] = sep;
    n += putNumber(out + n, c.hour, 2, '0');
    out[n++] = ':';
    n += putNumber(out + n, c.minute, 2, '0');
    out[n++] = ':';
    n += putNumber(out + n, c.second, 2, '0');
    if (clock.showMilliseconds) {
        out[n++] = sep;
        n += putNumber(out + n, static_cast<int>(std::nearbyint(c.msRemainder)), 3, '0');
    }
    s.length = n;
    return s;
}

} // namespace

ExportStamp FirstExportStamp(ExportClock& clock, QByteArrayView fileStamp, double offsetMinutes, bool comma)
{
    ParseStampInto(fileStamp, clock.cursor);
    clock.cursor.msRemainder = 0;
    AdvanceMilliseconds(clock.cursor, offsetMinutes * 60'000.0);
    clock.showMilliseconds = ExportShowsMilliseconds(clock.intervalMinutes);
    return formatExport(clock, comma);
}

ExportStamp NextExportStamp(ExportClock& clock, QByteArrayView previous, std::int64_t readings, bool comma)
{
    CalendarCursor& c = clock.cursor;
    bool ok = true; // fields that are not numbers read as 0, as everywhere
    const int first = readNumber(previous, 1, 2, ok);
    const int second = readNumber(previous, 4, 5, ok);
    int month = first;
    int day = second;
    if (clock.dateOrder == ExportDateOrder::DayFirst) {
        day = first;
        month = second;
    }
    const bool twoDigitYear = at(previous, 9) == ' ';
    const qsizetype shift = twoDigitYear ? -2 : 0;
    const int year = readNumber(previous, 7, twoDigitYear ? 8 : 10, ok);
    c.hour = readNumber(previous, 12 + shift, 13 + shift, ok);
    c.minute = readNumber(previous, 15 + shift, 16 + shift, ok);
    c.second = readNumber(previous, 18 + shift, 19 + shift, ok);
    c.year = NormaliseYear(year);
    c.month = month >= 1 && month <= 12 ? month : 1;
    setMonthFacts(c);
    c.day = day;
    AdvanceMilliseconds(c, static_cast<double>(readings) * clock.intervalMinutes * 60'000.0);
    return formatExport(clock, comma);
}

} // namespace tamble
