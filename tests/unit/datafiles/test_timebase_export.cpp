// Export time stamps: the first stamp of an export, the stamps that follow and
// the millisecond remainder carried between them.

#include "datafiles/timebase.h"

#include <gtest/gtest.h>

#include <string>

using namespace tamble;

namespace {

// Intervals as a data set holds them: the single-precision rate widened.
const double k200PerSecond = static_cast<double>(RateMinutes('4'));
const double k100PerSecond = static_cast<double>(RateMinutes('5'));
const double kOneSecond = static_cast<double>(RateMinutes(';'));
const double kSixSeconds = static_cast<double>(RateMinutes('V'));
const double kTenSeconds = static_cast<double>(RateMinutes('D'));
const double kOneMinute = static_cast<double>(RateMinutes('G'));

ExportClock clockFor(double interval, ExportDateOrder order = ExportDateOrder::MonthFirst)
{
    ExportClock clock;
    clock.intervalMinutes = interval;
    clock.dateOrder = order;
    return clock;
}

std::string str(const ExportStamp& s) { return std::string(s.view()); }

} // namespace

TEST(ExportStamp, FirstStampShowsDateInEitherOrderWithEitherSeparator)
{
    struct Case { ExportDateOrder order; bool comma; const char* expected; };
    const Case cases[] = {
        {ExportDateOrder::MonthFirst, true, "03/05/1998,14:07:03,010"},
        {ExportDateOrder::DayFirst, true, "05/03/1998,14:07:03,010"},
        {ExportDateOrder::MonthFirst, false, "03/05/1998 14:07:03 010"},
        {ExportDateOrder::DayFirst, false, "05/03/1998 14:07:03 010"},
    };
    for (const Case& c : cases) {
        ExportClock clock = clockFor(k100PerSecond, c.order);
        // The reading after the first, at 100 readings a second.
        EXPECT_EQ(str(FirstExportStamp(clock, "Thu  5-Mar-1998 14:07:03", 1 * k100PerSecond, c.comma)), c.expected);
    }
}

TEST(ExportStamp, SettingValuesChooseClockAndDateOrder)
{
    EXPECT_EQ(ExportDateOrderFromSetting(0), ExportDateOrder::MonthFirst);
    EXPECT_EQ(ExportDateOrderFromSetting(1), ExportDateOrder::DayFirst);
    EXPECT_EQ(ClockStyleFromSetting(true), ClockStyle::AmPm);
    EXPECT_EQ(ClockStyleFromSetting(false), ClockStyle::Hour24);
}

TEST(ExportStamp, MillisecondsAreShownUpToNineSecondIntervals)
{
    struct Case { double interval; bool shown; const char* first; };
    const Case cases[] = {
        {k200PerSecond, true, "12/10/2003,10:00:00,000"},
        {kOneSecond, true, "12/10/2003,10:00:00,000"},
        {kSixSeconds, true, "12/10/2003,10:00:00,000"},
        {static_cast<double>(0.15f), true, "12/10/2003,10:00:00,000"},
        {0.15, true, "12/10/2003,10:00:00,000"},
        {0.1501, false, "12/10/2003,10:00:00"},
        {kTenSeconds, false, "12/10/2003,10:00:00"},
        {kOneMinute, false, "12/10/2003,10:00:00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExportShowsMilliseconds(c.interval), c.shown) << c.interval;
        ExportClock clock = clockFor(c.interval);
        EXPECT_EQ(str(FirstExportStamp(clock, "Wed 10-Dec-2003 10:00:00am", 0, true)), c.first);
        EXPECT_EQ(clock.showMilliseconds, c.shown);
    }
}

TEST(ExportStamp, AtTwoHundredPerSecondTheSecondChangesEveryTwoHundredLinesWithoutDrift)
{
    ExportClock clock = clockFor(k200PerSecond);
    ExportStamp s = FirstExportStamp(clock, "Thu  5-Mar-1998 14:07:03", 0, true);
    EXPECT_EQ(str(s), "03/05/1998,14:07:03,000");
    const char* expectFirst[] = {"03/05/1998,14:07:03,005", "03/05/1998,14:07:03,010", "03/05/1998,14:07:03,015",
                                 "03/05/1998,14:07:03,020"};
    for (const char* expected : expectFirst) {
        s = NextExportStamp(clock, s.bytes(), 1, true);
        EXPECT_EQ(str(s), expected);
    }
    // Ten minutes of lines: line k carries second 3 + k / 200 and k % 200 * 5 ms.
    for (int k = 5; k <= 120'000; ++k) {
        s = NextExportStamp(clock, s.bytes(), 1, true);
        const int totalMs = k * 5;
        const int secondOfDay = 14 * 3600 + 7 * 60 + 3 + totalMs / 1000;
        char expected[32];
        std::snprintf(expected, sizeof expected, "03/05/1998,%02d:%02d:%02d,%03d", secondOfDay / 3600,
                      secondOfDay / 60 % 60, secondOfDay % 60, totalMs % 1000);
        if (str(s) != expected) {
            ADD_FAILURE() << "line " << k << ": " << str(s) << " expected " << expected;
            break;
        }
    }
}

TEST(ExportStamp, OneReadingAfterNineHundredNinetyFiveMillisecondsStartsTheNextSecond)
{
    ExportClock clock = clockFor(k200PerSecond);
    const ExportStamp s = FirstExportStamp(clock, "Thu  5-Mar-1998 14:07:03", 199 * k200PerSecond, true);
    EXPECT_EQ(str(s), "03/05/1998,14:07:03,995");
    EXPECT_EQ(str(NextExportStamp(clock, s.bytes(), 1, true)), "03/05/1998,14:07:04,000");
}

TEST(ExportStamp, NextStampsReadThePreviousStampBackAndCarryDaysMonthsAndYears)
{
    struct Case {
        double interval;
        ExportDateOrder order;
        bool comma;
        const char* previous;
        std::int64_t readings;
        const char* expected;
    };
    const Case cases[] = {
        {kTenSeconds, ExportDateOrder::MonthFirst, true, "03/05/1998,14:07:03", 1, "03/05/1998,14:07:13"},
        {kTenSeconds, ExportDateOrder::DayFirst, false, "05/03/1998 14:07:03", 1, "05/03/1998 14:07:13"},
        {kOneMinute, ExportDateOrder::MonthFirst, true, "12/31/1998,23:55:00", 10, "01/01/1999,00:05:00"},
        {kOneMinute, ExportDateOrder::DayFirst, true, "31/12/1998,23:55:00", 10, "01/01/1999,00:05:00"},
        {kOneMinute, ExportDateOrder::MonthFirst, true, "02/28/2000,23:59:00", 1, "02/29/2000,00:00:00"},
        {kOneMinute, ExportDateOrder::MonthFirst, true, "02/28/2001,23:59:00", 1, "03/01/2001,00:00:00"},
        {kOneMinute * 720, ExportDateOrder::MonthFirst, true, "03/05/1998,12:00:00", 4, "03/07/1998,12:00:00"},
        {kOneSecond, ExportDateOrder::MonthFirst, true, "12/31/1998,23:59:59,000", 1, "01/01/1999,00:00:00,000"},
        // A two-digit year moves the time fields two places to the left.
        {kTenSeconds, ExportDateOrder::MonthFirst, false, "03/05/98 14:07:03", 1, "03/05/1998 14:07:13"},
        // The milliseconds of the previous stamp are not read.
        {kOneSecond, ExportDateOrder::MonthFirst, true, "03/05/1998,14:07:03,999", 2, "03/05/1998,14:07:05,000"},
    };
    for (const Case& c : cases) {
        ExportClock clock = clockFor(c.interval, c.order);
        clock.showMilliseconds = ExportShowsMilliseconds(c.interval);
        EXPECT_EQ(str(NextExportStamp(clock, c.previous, c.readings, c.comma)), c.expected) << c.previous;
    }
}

TEST(ExportStamp, FirstStampDropsAnEarlierRemainderAndAddsTheOffset)
{
    ExportClock clock = clockFor(k100PerSecond);
    clock.cursor.msRemainder = 700;
    EXPECT_EQ(str(FirstExportStamp(clock, "Thu  5-Mar-1998 11:59:59pm", 0, true)), "03/05/1998,23:59:59,000");
    // 100 readings on at 100 a second is 999.99999 ms in single precision: it
    // rounds to a whole second, which moves into the next day.
    EXPECT_EQ(str(FirstExportStamp(clock, "Thu  5-Mar-1998 11:59:59pm", 100 * k100PerSecond, true)),
              "03/06/1998,00:00:00,000");
    ExportClock hours = clockFor(kOneMinute);
    EXPECT_EQ(str(FirstExportStamp(hours, "Thu  5-Mar-1998  9:07:03", 24 * 60 * 366 + 61, false)),
              "03/06/1999 10:08:03");
}

TEST(ExportStamp, AdvancingMillisecondsKeepsOnlyTheFractionOfASecond)
{
    CalendarCursor c = ParseStamp("Thu  5-Mar-1998 23:59:59");
    AdvanceMilliseconds(c, 1000.4);
    EXPECT_EQ(c.day, 6);
    EXPECT_EQ(c.hour, 0);
    EXPECT_EQ(c.second, 0);
    EXPECT_NEAR(c.msRemainder, 0.4, 1e-9);
    // A remainder that rounds to a whole second moves on and never goes negative.
    AdvanceMilliseconds(c, 999.2);
    EXPECT_EQ(c.second, 1);
    EXPECT_EQ(c.msRemainder, 0.0);
}
