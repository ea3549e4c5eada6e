// The start field of the setup command, the pre-set start rule and the start
// entry texts.

#include "setup/start_field.h"

#include <gtest/gtest.h>

#include <climits>

using namespace tamble;

namespace {

StartSchedule at(std::int64_t day, int secs, std::uint8_t kind = 0, std::uint8_t weekday = 0,
                 std::uint8_t monthDay = 0, std::uint8_t today = 0)
{
    StartSchedule s;
    s.startDate = static_cast<std::int32_t>(day);
    s.startTime = secs;
    s.dialOutKind = kind;
    s.dialOutWeekday = weekday;
    s.dialOutMonthDay = monthDay;
    s.startDateIsToday = today;
    return s;
}

const std::int64_t kWed9Dec2026 = DayNumberOf(2026, 12, 9);

} // namespace

TEST(DayNumbers, CountFromFirstJanuary1600WhichIsASaturday)
{
    EXPECT_EQ(DayNumberOf(1600, 1, 1), 0);
    EXPECT_EQ(DayNumberOf(1600, 3, 1), 60);
    EXPECT_EQ(MomentOf(0, 0).weekday, 6);
    const CivilMoment m = MomentOf(kWed9Dec2026, 14 * 3600 + 5 * 60 + 30);
    EXPECT_EQ(m.year, 2026);
    EXPECT_EQ(m.month, 12);
    EXPECT_EQ(m.day, 9);
    EXPECT_EQ(m.weekday, 3);
    EXPECT_EQ(m.hour, 14);
    EXPECT_EQ(m.minute, 5);
    EXPECT_EQ(m.second, 30);
}

struct FieldCase {
    const char* name;
    StartSchedule schedule;
    const char* expected;
};

class StartFieldTable : public ::testing::TestWithParam<FieldCase> {};

TEST_P(StartFieldTable, GivesTheThirteenCharacters)
{
    const FieldCase& c = GetParam();
    const QByteArray field = StartField(c.schedule, DayNumberOf(2027, 3, 15));
    EXPECT_EQ(field.size(), 13);
    EXPECT_EQ(field, QByteArray(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Schedules, StartFieldTable,
    ::testing::Values(
        // 9 Dec 2026, a Wednesday, 14:05:30: seconds are not sent.
        FieldCase{"PresetStart", at(kWed9Dec2026, 14 * 3600 + 5 * 60 + 30), "0005140912426"},
        // Daily dial-out at 06:30: the year becomes 99.
        FieldCase{"DailyDialOut", at(kWed9Dec2026, 6 * 3600 + 30 * 60, 'c'), "0030060912499"},
        // Weekly dial-out on Wednesday: weekday digit 4, year 98, the stored date is kept.
        FieldCase{"WeeklyDialOut", at(DayNumberOf(2026, 12, 12), 60, 'b', 4), "0001001212498"},
        // Monthly dial-out on the 5th: the day becomes 05 whatever the stored date.
        FieldCase{"MonthlyDialOut", at(kWed9Dec2026, 14 * 3600 + 5 * 60, 'a', 0, 5), "0005140512497"},
        // The today box takes the date given as today (Monday 15 March 2027).
        FieldCase{"TodayBox", at(kWed9Dec2026, 8 * 3600, 0, 0, 0, 1), "0000081503227"},
        // Day 0 is a Saturday.
        FieldCase{"DayZero", at(0, 0), "0000000101700"},
        // "No date, no time" (-1, -1) still gives thirteen digits.
        FieldCase{"NoDateNoTime", at(-1, -1), "0059233012599"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StartField, AnyFieldValuesGiveThirteenDigitsWithoutFault)
{
    const std::int32_t values[] = {INT_MIN, -86401, -1, 0, 86399, 86400, INT_MAX};
    const std::uint8_t kinds[] = {0, 'a', 'b', 'c', 1, 255};
    for (std::int32_t d : values)
        for (std::int32_t t : values)
            for (std::uint8_t k : kinds) {
                StartSchedule s = at(d, t, k, 255, 255);
                const QByteArray f = StartField(s, 0);
                ASSERT_EQ(f.size(), 13);
                for (char ch : f)
                    ASSERT_TRUE(ch >= '0' && ch <= '9') << f.constData();
            }
}

TEST(ClockField, SecondsMinutesHoursDayMonthWeekdayYear)
{
    EXPECT_EQ(ClockField(MomentOf(kWed9Dec2026, 7 * 3600 + 30 * 60 + 45)), QByteArray("4530070912426"));
    // Sunday 3 January 2027 gives weekday digit 1, Saturday 2 January 7.
    EXPECT_EQ(ClockField(MomentOf(DayNumberOf(2027, 1, 3), 0)), QByteArray("0000000301127"));
    EXPECT_EQ(ClockField(MomentOf(DayNumberOf(2027, 1, 2), 0)), QByteArray("0000000201727"));
}

TEST(PresetStartPassed, OnlyForPresetStartsBeforeNow)
{
    const CivilMoment now = MomentOf(kWed9Dec2026, 12 * 3600);
    EXPECT_TRUE(PresetStartPassed(1, at(kWed9Dec2026, 12 * 3600 - 1), now));
    EXPECT_FALSE(PresetStartPassed(1, at(kWed9Dec2026, 12 * 3600), now));
    EXPECT_FALSE(PresetStartPassed(1, at(kWed9Dec2026 + 1, 0), now));
    EXPECT_TRUE(PresetStartPassed(1, at(kWed9Dec2026 - 1, 86399), now));
    // Other start choices never count as a passed pre-set start.
    EXPECT_FALSE(PresetStartPassed(0, at(0, 0), now));
    EXPECT_FALSE(PresetStartPassed(3, at(0, 0), now));
    // The today box compares today's date with the stored time only.
    EXPECT_TRUE(PresetStartPassed(1, at(0, 11 * 3600, 0, 0, 0, 1), now));
    EXPECT_FALSE(PresetStartPassed(1, at(0, 13 * 3600, 0, 0, 0, 1), now));
}

TEST(StartEntryTexts, SuffixesAndWeekdayNames)
{
    const struct { int day; const char* suffix; } suffixes[] = {
        {1, "st at "}, {2, "nd at "}, {3, "rd at "}, {4, "th at "}, {11, "th at "}, {12, "th at "},
        {13, "th at "}, {21, "st at "}, {22, "nd at "}, {23, "rd at "}, {31, "st at "}, {0, "th at "}};
    for (const auto& s : suffixes)
        EXPECT_EQ(MonthDaySuffix(s.day), QString::fromLatin1(s.suffix)) << s.day;
    EXPECT_EQ(DialOutWeekdayName(1), QStringLiteral("Sun"));
    EXPECT_EQ(DialOutWeekdayName(4), QStringLiteral("Wed"));
    EXPECT_EQ(DialOutWeekdayName(7), QStringLiteral("Sat"));
    EXPECT_EQ(DialOutWeekdayName(0), QStringLiteral("err"));
    EXPECT_EQ(DialOutWeekdayName(8), QStringLiteral("err"));
}

TEST(StartEntryTexts, SecondsRemovalKeepsOnlyTheFirstColon)
{
    EXPECT_EQ(RemoveSeconds(QStringLiteral("2:05:30 PM")), QStringLiteral("2:05 PM"));
    EXPECT_EQ(RemoveSeconds(QStringLiteral("14:05:30")), QStringLiteral("14:05"));
    EXPECT_EQ(RemoveSeconds(QStringLiteral("no colon")), QStringLiteral("no colon"));
    EXPECT_EQ(RemoveSeconds(QStringLiteral("1:2:")), QStringLiteral("1:2"));
}

TEST(StartEntryTexts, DialOutEntriesOfTheDialog)
{
    const QString t = QStringLiteral("14:05");
    EXPECT_EQ(DailyDialOutEntry(t), QStringLiteral("immediate; with 14:05 dialout"));
    EXPECT_EQ(WeeklyDialOutEntry(QStringLiteral("Wed"), t), QStringLiteral("immediate; dialout on Wed at 14:05"));
    EXPECT_EQ(MonthlyDialOutEntry(22, t), QStringLiteral("immediate; dialout on 22nd at 14:05"));
    EXPECT_EQ(MonthlyDialOutEntry(11, t), QStringLiteral("immediate; dialout on 11th at 14:05"));
}

TEST(StartEntryTexts, ShownSetupSelectsTheEntryTextByStartChoice)
{
    const QLocale c(QLocale::C);
    const std::int32_t at1405 = 14 * 3600 + 5 * 60 + 30;
    StartEntry daily = StartEntryText(3, at(kWed9Dec2026, at1405, 'c'), 0, c);
    EXPECT_EQ(daily.entry, 3);
    EXPECT_EQ(daily.text.value(), QStringLiteral("immediate; dialout at 14:05"));
    EXPECT_EQ(StartEntryText(3, at(kWed9Dec2026, at1405, 'b', 0), 0, c).text.value(),
              QStringLiteral("immediate; dialout on err at 14:05"));
    EXPECT_EQ(StartEntryText(3, at(kWed9Dec2026, at1405, 'a', 0, 23), 0, c).text.value(),
              QStringLiteral("immediate; dialout on 23rd at 14:05"));
    EXPECT_FALSE(StartEntryText(3, at(kWed9Dec2026, at1405, 0), 0, c).text.has_value());

    StartEntry preset = StartEntryText(1, at(kWed9Dec2026, at1405), 0, c);
    EXPECT_EQ(preset.entry, 1);
    ASSERT_TRUE(preset.text.has_value());
    EXPECT_TRUE(preset.text->startsWith(QStringLiteral("Wednesday, "))) << preset.text->toStdString();
    EXPECT_TRUE(preset.text->endsWith(QStringLiteral("14:05"))) << preset.text->toStdString();

    StartEntry other = StartEntryText(0, at(kWed9Dec2026, at1405, 'c'), 0, c);
    EXPECT_EQ(other.text.value(), QStringLiteral("at pre-set time"));
    EXPECT_TRUE(other.clearDialOutKind);
}
