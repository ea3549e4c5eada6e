// The pre-set date dialog's rules: its two forms, the dial-out interval and
// days written at once, and what OK writes into the record and the start entry.

#include "setup/get_date_model.h"

#include "setup/start_field.h"

#include <gtest/gtest.h>

using namespace tamble;

namespace {

const QDate kToday(2026, 12, 9);  // a Wednesday
const QTime kFiveAfterTwo(14, 5, 30);

SetupRecord setupWith(std::uint8_t kind, std::uint8_t weekday, std::uint8_t monthDay, std::uint8_t today = 0)
{
    SetupRecord r = DefaultSetupRecord(QDateTime(kToday, QTime(9, 0)));
    r.setDialOutKind(kind);
    r.setDialOutWeekday(weekday);
    r.setDialOutMonthDay(monthDay);
    r.setStartDateIsToday(today);
    return r;
}

} // namespace

TEST(GetDateOpening, DialOutFormStartsFromTheStoredSchedule)
{
    struct Case { std::uint8_t kind; std::uint8_t weekday; std::uint8_t monthDay; DialOutInterval interval;
                  int weekdayIndex; int monthDayIndex; bool weekdayOn; bool monthDayOn; };
    const Case cases[] = {
        {'a', 3, 22, DialOutInterval::Monthly, 2, 21, false, true},
        {'b', 4, 0, DialOutInterval::Weekly, 3, 0, true, false},
        {'c', 0, 0, DialOutInterval::Daily, 0, 0, false, false},
        {0, 9, 40, DialOutInterval::Daily, 0, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.kind));
        const GetDateView v = OpenGetDate(setupWith(c.kind, c.weekday, c.monthDay), true);
        EXPECT_EQ(v.caption, QStringLiteral("Pre-set Dial-out Time for modem communications"));
        EXPECT_TRUE(v.dialOut);
        EXPECT_EQ(v.interval, c.interval);
        EXPECT_EQ(v.weekday, c.weekdayIndex);
        EXPECT_EQ(v.monthDay, c.monthDayIndex);
        EXPECT_EQ(v.weekdayEnabled, c.weekdayOn);
        EXPECT_EQ(v.monthDayEnabled, c.monthDayOn);
    }
}

TEST(GetDateOpening, DateFormShowsTheTodayBox)
{
    const GetDateView plain = OpenGetDate(setupWith(0, 0, 0, 0), false);
    EXPECT_EQ(plain.caption, QStringLiteral("Pre-set Date and Time"));
    EXPECT_FALSE(plain.dialOut);
    EXPECT_FALSE(plain.today);
    EXPECT_TRUE(plain.datePickerEnabled);
    const GetDateView today = OpenGetDate(setupWith(0, 0, 0, 1), false);
    EXPECT_TRUE(today.today);
    EXPECT_FALSE(today.datePickerEnabled);
}

TEST(GetDateChoices, RadioGroupAndListsWriteTheRecordAtOnce)
{
    SetupRecord r = setupWith(0, 0, 0);
    const std::pair<DialOutInterval, std::uint8_t> kinds[] = {
        {DialOutInterval::Daily, 'c'}, {DialOutInterval::Weekly, 'b'}, {DialOutInterval::Monthly, 'a'}};
    for (const auto& [interval, kind] : kinds) {
        ChooseDialOutInterval(r, interval);
        EXPECT_EQ(r.dialOutKind(), kind);
    }
    ChooseDialOutWeekday(r, 6);
    EXPECT_EQ(r.dialOutWeekday(), 7);
    ChooseDialOutMonthDay(r, 30);
    EXPECT_EQ(r.dialOutMonthDay(), 31);
    EXPECT_EQ(DialOutWeekdayTexts(), (QStringList{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}));
    EXPECT_EQ(DialOutMonthDayTexts().size(), 31);
    EXPECT_EQ(DialOutMonthDayTexts().last(), QStringLiteral("31"));
}

struct DialOutCase {
    const char* name;
    DialOutInterval interval;
    int weekday;
    int monthDay;
    const char* entry;
    const char* field;  // the start field sent to the logger
};

class GetDateDialOutOk : public ::testing::TestWithParam<DialOutCase> {};

TEST_P(GetDateDialOutOk, WritesTheScheduleAndTheEntry)
{
    const DialOutCase& c = GetParam();
    SetupRecord r = setupWith(0, 0, 0);
    const GetDateResult result = AcceptDialOut(r, kToday, kFiveAfterTwo, c.interval, c.weekday, c.monthDay, QLocale::c());
    EXPECT_EQ(result.entry, 3);
    EXPECT_EQ(result.text, QString::fromLatin1(c.entry));
    EXPECT_EQ(r.startDate(), SetupDayNumber(kToday));
    EXPECT_EQ(r.startTime(), 14 * 3600 + 5 * 60 + 30);
    EXPECT_EQ(StartField(ScheduleOf(r), DayNumberOf(2027, 3, 15)), QByteArray(c.field));
}

INSTANTIATE_TEST_SUITE_P(
    Intervals, GetDateDialOutOk,
    ::testing::Values(
        DialOutCase{"Daily", DialOutInterval::Daily, 0, 0, "immediate; with 14:05 dialout", "0005140912499"},
        DialOutCase{"WeeklyWednesday", DialOutInterval::Weekly, 3, 0, "immediate; dialout on Wed at 14:05", "0005140912498"},
        DialOutCase{"MonthlyTwentySecond", DialOutInterval::Monthly, 0, 21, "immediate; dialout on 22nd at 14:05",
                    "0005142212497"},
        DialOutCase{"MonthlyEleventh", DialOutInterval::Monthly, 0, 10, "immediate; dialout on 11th at 14:05",
                    "0005141112497"},
        DialOutCase{"MonthlyFifth", DialOutInterval::Monthly, 0, 4, "immediate; dialout on 5th at 14:05",
                    "0005140512497"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GetDatePresetOk, WritesTheDateOrAlwaysToday)
{
    SetupRecord r = setupWith('c', 0, 0);
    GetDateResult result = AcceptPresetDate(r, false, QDate(2027, 1, 4), QTime(6, 30, 15), kToday, QLocale::c());
    EXPECT_EQ(result.entry, 1);
    EXPECT_EQ(r.dialOutKind(), 0);
    EXPECT_EQ(r.startDateIsToday(), 0);
    EXPECT_EQ(r.startDate(), SetupDayNumber(QDate(2027, 1, 4)));
    EXPECT_EQ(r.startTime(), 6 * 3600 + 30 * 60 + 15);
    EXPECT_TRUE(result.text.startsWith(QStringLiteral("Monday, "))) << result.text.toStdString();
    EXPECT_TRUE(result.text.endsWith(QStringLiteral("06:30"))) << result.text.toStdString();

    result = AcceptPresetDate(r, true, QDate(2027, 1, 4), QTime(6, 30), kToday, QLocale::c());
    EXPECT_EQ(r.startDateIsToday(), 1);
    EXPECT_EQ(r.startDate(), SetupDayNumber(kToday));
    // Sent on a later day, the start is that day's date.
    EXPECT_EQ(StartField(ScheduleOf(r), DayNumberOf(2027, 3, 15)).mid(6, 4), QByteArray("1503"));
}
