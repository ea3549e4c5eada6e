// Rate table, logger clock texts and file time stamps.

#include "datafiles/timebase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace tamble;

namespace {

constexpr ClockStyle k24 = ClockStyle::Hour24;
constexpr ClockStyle k12 = ClockStyle::AmPm;

std::string str(const QString& s) { return s.toStdString(); }

CalendarCursor cursorOf(int year, int month, int day, int weekday, int hour, int minute, int second)
{
    CalendarCursor c;
    c.year = year;
    c.month = month;
    c.day = day;
    c.weekday = weekday;
    c.hour = hour;
    c.minute = minute;
    c.second = second;
    c.leapYear = IsLeapYear(year);
    c.daysInMonth = DaysInMonth(year, month);
    return c;
}

} // namespace

// ------------------------------------------------------------------ rate table

struct RateRow {
    int order;
    int value;           // code as stored in data files
    const char* name;
    double numerator;    // minutes per reading = numerator / denominator
    double denominator;
};

// The table written out literally: order, code value, ten-character name, minutes.
const RateRow kRateRows[] = {
    {0, 52, "200/second", 1, 12000}, {1, 53, "100/second", 1, 6000}, {2, 54, " 50/second", 1, 3000},
    {3, 55, " 20/second", 1, 1200},  {4, 56, " 10/second", 1, 600},  {5, 57, "  5/second", 1, 300},
    {6, 58, "  2/second", 1, 120},   {7, 59, "  1/second", 1, 60},   {8, 67, "~2 seconds", 1, 30},
    {9, 84, "~4 seconds", 1, 15},    {10, 86, "~6 seconds", 1, 10},  {11, 68, "10 seconds", 1, 6},
    {12, 69, "20 seconds", 1, 3},    {13, 70, "30 seconds", 1, 2},   {14, 71, " 1 minute ", 1, 1},
    {15, 72, " 2 minutes", 2, 1},    {16, 73, " 5 minutes", 5, 1},   {17, 74, "10 minutes", 10, 1},
    {18, 85, "15 minutes", 15, 1},   {19, 75, "20 minutes", 20, 1},  {20, 76, "30 minutes", 30, 1},
    {21, 77, " 1 hour   ", 60, 1},   {22, 78, " 2 hours  ", 120, 1}, {23, 83, " 3 hours  ", 180, 1},
    {24, 79, " 4 hours  ", 240, 1},  {25, 80, " 6 hours  ", 360, 1}, {26, 81, " 8 hours  ", 480, 1},
    {27, 82, "12 hours  ", 720, 1},
};

TEST(RateTable, EveryRowHasItsCodeNameAndSinglePrecisionMinutesInListOrder)
{
    ASSERT_EQ(RateTable().size(), std::size(kRateRows));
    for (const RateRow& row : kRateRows) {
        SCOPED_TRACE(row.name);
        const RateEntry& e = RateTable()[static_cast<std::size_t>(row.order)];
        const float minutes = static_cast<float>(row.numerator / row.denominator);
        EXPECT_EQ(static_cast<int>(e.code), row.value);
        EXPECT_EQ(std::string(e.name), row.name);
        EXPECT_EQ(std::string(e.name).size(), 10u);
        EXPECT_EQ(e.minutes, minutes);
        EXPECT_EQ(RateOrder(row.value), row.order);
        EXPECT_EQ(RateMinutes(row.value), minutes);
        QString text;
        EXPECT_TRUE(RateName(row.value, text));
        EXPECT_EQ(str(text), row.name);
    }
}

TEST(RateTable, HourCodeAndUnlistedCodesAllGiveSixtyMinutes)
{
    EXPECT_EQ(RateMinutes('M'), 60.0f);
    for (int code : std::initializer_list<int>{'<', '=', '>', '?', '@', 'A', 'B', 'W', '3', 0, 255, -56, 327})
        EXPECT_EQ(RateMinutes(code), 60.0f) << code;
    EXPECT_EQ(RateOrder('<'), -1);
}

TEST(RateTable, NameOfAnUnlistedCodeLeavesTheTextAsItWas)
{
    QString text = QStringLiteral("untouched");
    EXPECT_FALSE(RateName('B', text));
    EXPECT_EQ(text, QStringLiteral("untouched"));
    EXPECT_TRUE(RateName('G', text));
    EXPECT_EQ(text, QStringLiteral(" 1 minute "));
}

TEST(RateTable, ApproximateRatesOfFastModelsAreStretched)
{
    struct Case { double in; double out; };
    const Case cases[] = {
        {1.0 / 30, 2.3 / 60}, {1.0 / 15, 4.6 / 60}, {1.0 / 10, 0.115},
        {static_cast<float>(1.0 / 30), 2.3 / 60}, {static_cast<float>(1.0 / 10), 0.115},
        {0.02, 0.02}, {0.01, 0.01}, {1.0 / 60, 1.0 / 60}, {1.0 / 12000, 1.0 / 12000}, {0.0, 0.0},
        {0.12, 0.12}, {1.0 / 6, 1.0 / 6}, {60.0, 60.0}, {0.0201, 2.3 / 60}, {0.04, 4.6 / 60}, {0.08, 0.115},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(ApproxRateCorrection(c.in), c.out) << c.in;
}

// ------------------------------------------------------------------ logger clock text

TEST(LoggerClock, ValidityFollowsDigitsAndRanges)
{
    struct Case { const char* text; bool valid; };
    const Case cases[] = {
        {"05041515030198", true},
        {"00000000010100", false}, // day 0
        {"59592331120799", true},
        {"05042415030198", false}, // hour 24
        {"05041515130198", false}, // month 13
        {"05041515000198", false}, // month 0
        {"05041532030198", false}, // day 32
        {"60041515030198", false}, // second 60
        {"05601515030198", false}, // minute 60
        {"0504151503AB98", true},  // positions 11 and 12 are not checked
        {"0504151503019X", false},
        {"0 041515030198", false},
        {"0504151503019", false},  // 13 characters
        {"", false},
        {"050415150301981", true}, // characters past 14 are not read
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoggerClockValid(c.text), c.valid) << c.text;
}

TEST(LoggerClock, TextBecomesAFileStampInBothClockStyles)
{
    struct Case { const char* text; const char* h24; const char* h12; };
    const Case cases[] = {
        {"05041515030198", "Sun 15-Mar-1998 15:04:05", "Sun 15-Mar-1998  3:04:05pm"},
        {"00000001010190", "Sun  1-Jan-1990  0:00:00", "Sun  1-Jan-1990 12:00:00am"},
        {"00000001010199", "Sun  1-Jan-1999  0:00:00", "Sun  1-Jan-1999 12:00:00am"},
        {"00000001010100", "Sun  1-Jan-2000  0:00:00", "Sun  1-Jan-2000 12:00:00am"},
        {"00000001010189", "Sun  1-Jan-2089  0:00:00", "Sun  1-Jan-2089 12:00:00am"},
        {"03071224060503", "Thu 24-Jun-2003 12:07:03", "Thu 24-Jun-2003 12:07:03pm"},
        {"59592331120799", "Sat 31-Dec-1999 23:59:59", "Sat 31-Dec-1999 11:59:59pm"},
        // A weekday digit outside 1..7 gives the weekday of the date itself.
        {"05041515030898", "Sun 15-Mar-1998 15:04:05", "Sun 15-Mar-1998  3:04:05pm"},
        {"0504151503x098", "Sun 15-Mar-1998 15:04:05", "Sun 15-Mar-1998  3:04:05pm"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(str(LoggerClockToStamp(c.text, k24)), c.h24) << c.text;
        EXPECT_EQ(str(LoggerClockToStamp(c.text, k12)), c.h12) << c.text;
    }
}

// ------------------------------------------------------------------ file time stamp

TEST(FileStamp, FormattingPadsDayAndHourWithBlanksInBothClockStyles)
{
    struct Case { CalendarCursor c; const char* h24; const char* h12; };
    const Case cases[] = {
        {cursorOf(1998, 3, 5, 4, 9, 7, 3), "Thu  5-Mar-1998  9:07:03", "Thu  5-Mar-1998  9:07:03am"},
        {cursorOf(1998, 3, 15, 0, 15, 4, 5), "Sun 15-Mar-1998 15:04:05", "Sun 15-Mar-1998  3:04:05pm"},
        {cursorOf(1999, 1, 1, 5, 0, 0, 30), "Fri  1-Jan-1999  0:00:30", "Fri  1-Jan-1999 12:00:30am"},
        {cursorOf(1999, 1, 1, 5, 12, 30, 0), "Fri  1-Jan-1999 12:30:00", "Fri  1-Jan-1999 12:30:00pm"},
        {cursorOf(1999, 1, 1, 5, 13, 30, 0), "Fri  1-Jan-1999 13:30:00", "Fri  1-Jan-1999  1:30:00pm"},
        {cursorOf(1999, 1, 1, 5, 11, 59, 59), "Fri  1-Jan-1999 11:59:59", "Fri  1-Jan-1999 11:59:59am"},
        {cursorOf(2003, 6, 24, 2, 23, 1, 9), "Tue 24-Jun-2003 23:01:09", "Tue 24-Jun-2003 11:01:09pm"},
        {cursorOf(2003, 12, 10, 3, 10, 0, 0), "Wed 10-Dec-2003 10:00:00", "Wed 10-Dec-2003 10:00:00am"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(str(FormatStamp(c.c, k24)), c.h24);
        EXPECT_EQ(str(FormatStamp(c.c, k12)), c.h12);
        char buf[kStampBufferSize];
        EXPECT_EQ(FormatStampInto(c.c, k24, buf), 24);
        EXPECT_EQ(FormatStampInto(c.c, k12, buf), 26);
    }
}

TEST(FileStamp, ParsingReadsEveryWrittenAndOlderForm)
{
    struct Case { const char* text; int year, month, day, weekday, hour, minute, second; bool valid; };
    const Case cases[] = {
        {"Thu  5-Mar-1998  9:07:03", 1998, 3, 5, 4, 9, 7, 3, true},
        {"Thu  5-Mar-1998 12:30:00am", 1998, 3, 5, 4, 0, 30, 0, true},
        {"Thu  5-Mar-1998 12:30:00pm", 1998, 3, 5, 4, 12, 30, 0, true},
        {"Thu  5-Mar-1998  1:30:00pm", 1998, 3, 5, 4, 13, 30, 0, true},
        {"Thu  5-Mar-1998 11:59:59am", 1998, 3, 5, 4, 11, 59, 59, true},
        {"Sat 31-Dec-1999 23:59:59", 1999, 12, 31, 6, 23, 59, 59, true},
        // 24 characters with a suffix: the two-digit-year form.
        {"Tue  1-Jan-91 12:00:00am", 1991, 1, 1, 2, 0, 0, 0, true},
        {"Tue  1-Jan-91 12:00:00pm", 1991, 1, 1, 2, 12, 0, 0, true},
        {"Tue  1-Jan-03  4:05:06pm", 2003, 1, 1, 2, 16, 5, 6, true},
        // Older forms: no seconds.
        {"Thu  5-Mar-98  9:07pm", 1998, 3, 5, 4, 21, 7, 0, true},
        {"Thu  5-Mar-98  9:07am", 1998, 3, 5, 4, 9, 7, 0, true},
        {"Thu  5-Mar-98  9:07", 1998, 3, 5, 4, 9, 7, 0, true},
        {"Thu  5-Mar-98  9:07:03p", 1998, 3, 5, 4, 21, 7, 0, true},
        // Names outside the table: January, and the weekday of the date.
        {"Thu  5-Xyz-1998  9:07:03", 1998, 1, 5, 4, 9, 7, 3, true},
        {"Xyz  5-Mar-1998  9:07:03", 1998, 3, 5, 4, 9, 7, 3, true},
        // Not a date: read all the same, reported as not valid.
        {"Mon 30-Feb-1998  9:07:03", 1998, 2, 30, 1, 9, 7, 3, false},
        {"Thu  5-Mar-1998 2x:07:03", 1998, 3, 5, 4, 0, 7, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CalendarCursor cur;
        cur.msRemainder = 123.0;
        EXPECT_EQ(ParseStampInto(c.text, cur), c.valid);
        EXPECT_EQ(cur.year, c.year);
        EXPECT_EQ(cur.month, c.month);
        EXPECT_EQ(cur.day, c.day);
        EXPECT_EQ(cur.weekday, c.weekday);
        EXPECT_EQ(cur.hour, c.hour);
        EXPECT_EQ(cur.minute, c.minute);
        EXPECT_EQ(cur.second, c.second);
        EXPECT_EQ(cur.msRemainder, 123.0); // parsing keeps the remainder
    }
}

TEST(FileStamp, ParsingSetsLeapYearAndMonthLength)
{
    const CalendarCursor feb2000 = ParseStamp("Tue 29-Feb-2000 10:00:00");
    EXPECT_TRUE(feb2000.leapYear);
    EXPECT_EQ(feb2000.daysInMonth, 29);
    const CalendarCursor feb1900 = ParseStamp("Wed 28-Feb-1900 10:00:00");
    EXPECT_FALSE(feb1900.leapYear);
    EXPECT_EQ(feb1900.daysInMonth, 28);
    EXPECT_EQ(ParseStamp("Wed 28-Feb-2001 10:00:00").daysInMonth, 28);
    EXPECT_EQ(ParseStamp("Sun 30-Apr-2000 10:00:00").daysInMonth, 30);
    EXPECT_EQ(ParseStamp(QStringLiteral("Sun 31-Dec-2000 10:00:00")).daysInMonth, 31);
}

TEST(FileStamp, YearsNormaliseIntoTwoCenturies)
{
    struct Case { int in; int out; };
    for (const Case& c : {Case{0, 2000}, {89, 2089}, {90, 1990}, {99, 1999}, {100, 100}, {1998, 1998}})
        EXPECT_EQ(NormaliseYear(c.in), c.out);
}

// ------------------------------------------------------------------ arithmetic

TEST(FileStamp, AddMinutesCarriesThroughSecondsMinutesHoursDaysMonthsAndYears)
{
    struct Case { const char* stamp; double minutes; ClockStyle style; const char* result; };
    const Case cases[] = {
        {"Thu 31-Dec-1998 23:59:30", 1, k24, "Fri  1-Jan-1999  0:00:30"},
        {"Thu 31-Dec-1998 23:59:30", 1, k12, "Fri  1-Jan-1999 12:00:30am"},
        {"Mon 28-Feb-2000 10:00:00", 1440, k24, "Tue 29-Feb-2000 10:00:00"},
        {"Wed 28-Feb-2001 10:00:00", 1440, k24, "Thu  1-Mar-2001 10:00:00"},
        {"Thu  5-Mar-1998 10:59:45", 0.5, k24, "Thu  5-Mar-1998 11:00:15"},
        {"Thu  1-Jan-1998  0:00:00", 525600, k24, "Fri  1-Jan-1999  0:00:00"},
        {"Thu  5-Mar-1998 11:30:00pm", 60, k12, "Fri  6-Mar-1998 12:30:00am"},
        {"Thu  5-Mar-1998 11:30:00pm", 60, k24, "Fri  6-Mar-1998  0:30:00"},
        {"Tue  1-Jan-91 12:00:00am", 90.25, k24, "Tue  1-Jan-1991  1:30:15"},
        // A negative amount moves back.
        {"Fri  1-Jan-1999  0:00:30", -1, k24, "Thu 31-Dec-1998 23:59:30"},
        {"Wed  1-Mar-2000  0:00:00", -1440, k24, "Tue 29-Feb-2000  0:00:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(AddMinutes(c.stamp, c.minutes, c.style)), c.result) << c.stamp << " + " << c.minutes;
}

TEST(FileStamp, AddingLessThanHalfASecondReturnsTheStampAsItWas)
{
    for (const char* stamp : {"Thu  5-Mar-1998  9:07:03", "Thu  5-Mar-98  9:07", "odd text"}) {
        EXPECT_EQ(str(AddMinutes(stamp, 0.004, k12)), stamp);
        EXPECT_EQ(str(AddMinutes(stamp, 0.0, k12)), stamp);
        EXPECT_EQ(str(AddMinutes(stamp, std::nan(""), k12)), stamp);
    }
    EXPECT_EQ(AddMinutes(QStringLiteral("Thu  5-Mar-1998  9:07:03"), 1.0, k24),
              QStringLiteral("Thu  5-Mar-1998  9:08:03"));
}

TEST(FileStamp, SubtractMinutesStepsBackDaysHoursMinutesAndGivesBackSeconds)
{
    struct Case { const char* stamp; float minutes; const char* result; };
    const Case cases[] = {
        {"Thu  5-Mar-1998 10:00:00", 1.0f, "Thu  5-Mar-1998  9:59:00"},
        {"Fri  1-Jan-1999  0:00:30", 1.0f, "Thu 31-Dec-1998 23:59:30"},
        {"Wed  1-Mar-2000 12:00:00", 1440.0f, "Tue 29-Feb-2000 12:00:00"},
        {"Wed  1-Mar-2000 12:00:00", 3 * 1440.0f + 90.0f, "Sun 27-Feb-2000 10:30:00"},
        {"Thu  1-Mar-2001 12:00:00", 366 * 1440.0f, "Tue 29-Feb-2000 12:00:00"},
        // 8064 readings at one a second.
        {"Thu  5-Mar-1998 10:00:00", 8064.0f * (1.0f / 60.0f), "Thu  5-Mar-1998  7:45:36"},
        {"Thu  5-Mar-1998 10:00:00", 0.5f, "Thu  5-Mar-1998  9:59:30"},
        // Giving back the seconds carries into the minute.
        {"Thu  5-Mar-1998 10:00:40", 0.5f, "Thu  5-Mar-1998 10:00:10"},
        {"Thu 31-Dec-1998 23:59:50", 0.25f, "Thu 31-Dec-1998 23:59:35"},
        {"Thu  5-Mar-1998 10:00:00pm", 60.0f, "Thu  5-Mar-1998 21:00:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(SubtractMinutes(c.stamp, c.minutes, k24)), c.result) << c.stamp << " - " << c.minutes;
    EXPECT_EQ(str(SubtractMinutes("Thu  5-Mar-1998 10:00:00", 1.0f, k12)), "Thu  5-Mar-1998  9:59:00am");
}

TEST(FileStamp, SubtractingZeroReturnsTheStampAsItWas)
{
    EXPECT_EQ(str(SubtractMinutes("Thu  5-Mar-98  9:07", 0.0f, k24)), "Thu  5-Mar-98  9:07");
}

TEST(FileStamp, SpanIsMinutesFromFirstToLast)
{
    struct Case { const char* first; const char* last; float minutes; };
    const Case cases[] = {
        {"Thu  5-Mar-1998  9:07:03", "Thu  5-Mar-1998 10:07:03", 60.0f},
        {"Thu 31-Dec-1998 23:59:30", "Fri  1-Jan-1999  0:00:30", 1.0f},
        {"Thu  5-Mar-1998 11:00:00pm", "Fri  6-Mar-1998 12:30:00am", 90.0f},
        {"Thu  5-Mar-1998  9:07:03", "Thu  5-Mar-1998  9:07:33", 0.5f},
        {"Mon 28-Feb-2000  0:00:00", "Wed  1-Mar-2000  0:00:00", 2880.0f},
        {"Thu  5-Mar-1998 10:07:03", "Thu  5-Mar-1998  9:07:03", -60.0f},
        // A month name outside the table counts as January.
        {"Thu  5-Xxx-1998  0:00:00", "Thu  5-Feb-1998  0:00:00", 31 * 1440.0f},
        // Texts that are not a date and time give no span.
        {"Bad date format", "Thu  5-Mar-1998  9:07:03", 0.0f},
        {"Thu  5-Mar-1998  9:07:03", "", 0.0f},
        {"Mon 30-Feb-1998  9:07:03", "Thu  5-Mar-1998  9:07:03", 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StampSpanMinutes(c.first, c.last), c.minutes) << c.first << " .. " << c.last;
}

TEST(FileStamp, WeekdayAndMonthNamesFormOneTable)
{
    const char* expected[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    for (int i = 0; i < 7; ++i)
        EXPECT_STREQ(WeekdayName(i), expected[i]);
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int i = 1; i <= 12; ++i)
        EXPECT_STREQ(MonthName(i), months[i - 1]);
}

// ------------------------------------------------------------------ hostile text

TEST(FileStamp, TextsOfAnyLengthAndContentNeverBreakTheReaders)
{
    // Every length up to 40 with several fillings, including the characters the
    // readers look for at the wrong places.
    const char fills[] = {' ', '9', 'p', '\0', '\xff', '-', ':'};
    for (char fill : fills) {
        for (int len = 0; len <= 40; ++len) {
            std::string text(static_cast<std::size_t>(len), fill);
            for (int i = 0; i < len; i += 3)
                text[static_cast<std::size_t>(i)] = "Thu 12-Mar-98 99:99:99pm"[i % 24];
            const QByteArrayView v(text.data(), static_cast<qsizetype>(text.size()));
            CalendarCursor c;
            ParseStampInto(v, c);
            char buf[kStampBufferSize];
            EXPECT_LE(FormatStampInto(c, k12, buf), kStampBufferSize);
            LoggerClockValid(v);
            EXPECT_LE(LoggerClockToStamp(v, k12).size(), kStampBufferSize);
            AddMinutes(v, 1e12, k12);
            AddMinutes(v, -1e12, k24);
            SubtractMinutes(v, 3.0e38f, k12);
            SubtractMinutes(v, -3.0e38f, k12);
            SubtractMinutes(v, -INFINITY, k12);
            StampSpanMinutes(v, v);
            ExportClock clock;
            clock.intervalMinutes = 1.0 / 12000;
            EXPECT_LE(NextExportStamp(clock, v, 1'000'000'000'000LL, true).length, 48);
            EXPECT_LE(FirstExportStamp(clock, v, 1e300, false).length, 48);
        }
    }
}
