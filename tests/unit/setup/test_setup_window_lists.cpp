// The setup window's lists: rates, models and memory, scaling entries and
// their codes, input types, firmware entries and the total log time text.

#include "setup/setup_window_lists.h"

#include <gtest/gtest.h>

using namespace tamble;

TEST(SetupWindowLists, RateListHasTwentyEightEntriesInOrderWithTheirCodes)
{
    const char* texts[] = {"(rf) 200/sec", "(rf) 100/sec", "(rf) 50/sec", "(rf) 20/sec", "(rf) 10/sec",
                           "(rf) 5/sec",   "(rf) 2/sec",   "(rf) 1/sec",  "~ 2 secs",    "~ 4 secs",
                           "~ 6 secs",     "10 secs",      "20 secs",     "30 secs",     "1 minute",
                           "2 minutes",    "5 minutes",    "10 minutes",  "15 minutes",  "20 minutes",
                           "30 minutes",   "1 hour",       "2 hours",     "3 hours",     "4 hours",
                           "6 hours",      "8 hours",      "12 hours"};
    const char codes[] = "456789:;CTVDEFGHIJUKLMNSOPQR";
    ASSERT_EQ(RateTexts().size(), 28);
    for (int i = 0; i < 28; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(RateTexts()[i], QString::fromLatin1(texts[i]));
        EXPECT_EQ(RateCodeAt(i), codes[i]);
        EXPECT_EQ(RateIndexOf(codes[i]), i);
    }
    EXPECT_EQ(RateIndexOf('Z'), 11);
    EXPECT_EQ(RateIndexOf('\0'), 11);
    EXPECT_EQ(RateCodeAt(28), 'D');
}

TEST(SetupWindowLists, ModelsDecideTheMemoryCapacityAndWhetherResolutionIsOffered)
{
    struct Case { int model; int resolution; int capacity; bool choice; };
    const Case cases[] = {
        {0, 0, 32256, false},  {0, 2, 32256, false},  {1, 0, 25800, false},   {2, 1, 21504, false},
        {3, 0, 21504, true},   {3, 1, 25800, true},   {3, 2, 32256, true},
        {4, 0, 86016, true},   {4, 1, 103200, true},  {4, 2, 129024, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.model << "/" << c.resolution);
        EXPECT_EQ(MemoryCapacityOf(c.model, c.resolution), c.capacity);
        EXPECT_EQ(ModelHasResolution(c.model), c.choice);
    }
    EXPECT_EQ(ModelTexts(), (QStringList{"LX500", "LX600", "LX700", "LX900", "LX900-M"}));
    EXPECT_EQ(ResolutionTexts(), (QStringList{"12 bit <High>", "10 bit <Med>", "  8 bit <Low>"}));
    EXPECT_EQ(ModelIndexOfResolutionType(1), 0);
    EXPECT_EQ(ModelIndexOfResolutionType(3), 2);
    EXPECT_EQ(ModelIndexOfResolutionType(5), 3);
    EXPECT_EQ(ModelIndexOfResolutionType(6), 4);
    EXPECT_FALSE(ModelIndexOfResolutionType(4));
    EXPECT_FALSE(ModelIndexOfResolutionType(0));
}

struct ScalingCase {
    int channel;
    int index;
    char code;
    const char* text;  // empty: the entry's text comes from the setup
};

class ScalingEntries : public ::testing::TestWithParam<ScalingCase> {};

TEST_P(ScalingEntries, IndexAndCodeMapBothWays)
{
    const ScalingCase& c = GetParam();
    EXPECT_EQ(ScalingCodeAt(c.channel, c.index), c.code);
    EXPECT_EQ(ScalingIndexOf(c.channel, c.code), c.index);
    EXPECT_EQ(FixedScalingText(c.channel, c.index), QString::fromLatin1(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    EveryStoredEntry, ScalingEntries,
    ::testing::Values(ScalingCase{1, 0, 'A', "Thermistor \"A\"  (A.rvt)"}, ScalingCase{2, 1, 'B', "Thermistor \"B\"  (B.rvt)"},
                      ScalingCase{4, 2, 'C', "Thermistor \"C\"  (C.rvt)"}, ScalingCase{1, 3, 'L', "Light Sensor     (L.rvt)"},
                      ScalingCase{1, 4, '3', ""}, ScalingCase{2, 6, '1', ""}, ScalingCase{4, 8, 'R', "Resistance"},
                      ScalingCase{3, 9, 'P', "Platinum Rtd 10k (P.rvt)"}, ScalingCase{3, 10, 'X', ""},
                      ScalingCase{3, 12, 'b', "B Type & Tcq-A01"}, ScalingCase{3, 16, 'k', "K Type & Tcq-A01"},
                      ScalingCase{3, 20, 't', "T Type & Tcq-A01"}, ScalingCase{3, 21, 'f', "E Type & Tcq-A01 \"cold\""},
                      ScalingCase{3, 22, 'i', "J Type & Tcq-A01 \"cold\""}, ScalingCase{3, 25, 'u', "T Type & Tcq-A01 \"cold\""},
                      ScalingCase{3, 26, 'Y', "B Type & Tcq-B02"}, ScalingCase{3, 31, '^', "N Type & Tcq-B02"},
                      ScalingCase{3, 32, '_', "R Type & Tcq-B02"}, ScalingCase{3, 33, '`', "S Type & Tcq-B02"},
                      ScalingCase{3, 34, 'a', "T Type & Tcq-B02"}, ScalingCase{3, 35, 'v', "B Type & Tcq-C03"},
                      ScalingCase{3, 40, '{', "N Type & Tcq-C03"}, ScalingCase{3, 41, 'q', "R Type & Tcq-C03"},
                      ScalingCase{3, 42, '}', "S Type & Tcq-C03"}, ScalingCase{3, 43, '~', "T Type & Tcq-C03"}));

TEST(SetupWindowLists, DialogEntriesStoreNothingAndThermocouplesExistOnlyOnChannelThree)
{
    for (int ch = 1; ch <= 4; ++ch)
        for (int index : {5, 7, 11})
            EXPECT_FALSE(ScalingCodeAt(ch, index)) << ch << " " << index;
    EXPECT_EQ(ScalingEntryCount(3), 44);
    EXPECT_EQ(ScalingEntryCount(2), 12);
    EXPECT_FALSE(ScalingIndexOf(1, 'k'));
    EXPECT_FALSE(ScalingIndexOf(4, '`'));
    EXPECT_FALSE(ScalingIndexOf(2, '0'));
    EXPECT_FALSE(ScalingCodeAt(1, 12));
    EXPECT_EQ(FixedScalingText(1, 11), QStringLiteral("New values Cls/opn:"));
    EXPECT_EQ(FixedScalingText(3, 11), QStringLiteral("New values cls/opn:"));
    EXPECT_EQ(FixedScalingText(2, 5), QStringLiteral("New Linear Scale:"));
    EXPECT_EQ(FixedScalingText(2, 7), QStringLiteral("Custom Table:"));
}

TEST(SetupWindowLists, EntryTextsAndTableNames)
{
    EXPECT_EQ(LinearEntryText(QStringLiteral("0.0000100.00")), QStringLiteral("Linear: 0.0000 / 100.00"));
    EXPECT_EQ(ContactEntryText(QStringLiteral("1.00000.0000")), QStringLiteral("Cls/opn: 1.0000 / 0.0000"));
    EXPECT_EQ(TableEntryText(QStringLiteral("TANK.RVT")), QStringLiteral("Table: (TANK.RVT)"));
    struct Case { const char* file; const char* name; };
    const Case cases[] = {{"TANK.RVT", "TANK"}, {"tank.rvt", "tank"}, {"LONGNAME12.RVT", "LONGNAME"},
                          {"1.RVT.rvt", "1"}, {"NODOT", "NODOT"}, {".RVT", ""}};
    for (const Case& c : cases)
        EXPECT_EQ(TableNameOfFile(QString::fromLatin1(c.file)), QByteArray(c.name)) << c.file;
}

TEST(SetupWindowLists, InputTypesStoreThePulseAndExcitationValues)
{
    EXPECT_EQ(InputTypeTexts(1), (QStringList{"Standard", "Temp/RH", "Average", "0.1s Excit"}));
    EXPECT_EQ(InputTypeTexts(4), (QStringList{"Standard", "Temp/RH", "Average", "Pulse"}));
    struct Case { int channel; int value; std::optional<int> index; };
    const Case cases[] = {{1, 0, 0}, {2, 1, 1}, {3, 2, 2}, {1, 5, 3}, {4, 4, 3},
                          {4, 5, std::nullopt}, {2, 4, std::nullopt}, {3, 3, std::nullopt}, {1, 7, std::nullopt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.channel << "/" << c.value);
        EXPECT_EQ(InputTypeIndexOf(c.channel, c.value), c.index);
        if (c.index) {
            EXPECT_EQ(InputTypeValueAt(c.channel, *c.index), c.value);
        }
    }
}

TEST(SetupWindowLists, ThirdStartAndRunEntriesFollowTheFirmwareLetter)
{
    struct Case { char revision; const char* start; const char* run; };
    const Case cases[] = {
        {'n', "when all thermistor(s) are attached", "until thermistor probes detach"},
        {'a', "when all thermistor(s) are attached", "until thermistor probes detach"},
        {'P', "when all thermistor(s) are attached", "until thermistor probes detach"},  // capitals sort below 'n'
        {'o', "when ch1 temp. probe is attached", "until ch1 temp. probe is detached"},
        {'q', "when ch1 temp. probe is attached", "until ch1 temp. probe is detached"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.revision);
        EXPECT_EQ(StartEntries(c.revision),
                  (QStringList{"immediate", "at pre-set time", c.start, "immediate, with pre-set dial-out time"}));
        EXPECT_EQ(RunEntries(c.revision), (QStringList{"until memory is full", "continuously (wrap-around)", c.run}));
    }
}

struct LogTimeCase {
    const char* name;
    char rate;
    int model;
    int resolution;
    int channels;
    const char* text;
};

class TotalLogTime : public ::testing::TestWithParam<LogTimeCase> {};

TEST_P(TotalLogTime, ShowsTheTimeInItsUnit)
{
    const LogTimeCase& c = GetParam();
    EXPECT_EQ(TotalLogTimeText(c.rate, c.model, MemoryCapacityOf(c.model, c.resolution), c.channels),
              QString::fromLatin1(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    ExamplesAndLimits, TotalLogTime,
    ::testing::Values(LogTimeCase{"AllOff", 'D', 0, 0, 0, " 0.0"},
                      LogTimeCase{"Lx900EightBitTwoSeconds", 'C', 3, 2, 1, "20.6 hours "},
                      LogTimeCase{"Lx500TenSecondsFourChannels", 'D', 0, 0, 4, "22.4 hours "},
                      LogTimeCase{"FastestRateInSeconds", '4', 0, 0, 4, "40.3 secs  "},
                      LogTimeCase{"FastestRateIsNotCorrected", '4', 3, 2, 4, "40.3 secs  "},
                      LogTimeCase{"TenPerSecondInMinutes", '8', 0, 0, 1, "53.8 mins  "},
                      LogTimeCase{"FourSecondsOnLx500", 'T', 0, 0, 4, " 9.0 hours "},
                      LogTimeCase{"FourSecondsOnLx900IsFourPointSix", 'T', 3, 0, 4, " 6.9 hours "},
                      LogTimeCase{"SixSecondsOnLx900IsSixPointNine", 'V', 3, 0, 4, "10.3 hours "},
                      LogTimeCase{"OneMinuteInDays", 'G', 0, 0, 4, " 5.6 days  "},
                      LogTimeCase{"TenMinutesInMonths", 'J', 0, 0, 1, " 7.4 months"},
                      LogTimeCase{"OneHourInYears", 'M', 0, 0, 1, " 3.7 years "},
                      LogTimeCase{"LongestOnLx900M", 'R', 4, 2, 1, "176.7 years "},
                      LogTimeCase{"FastestOnLx900MInMinutes", '4', 4, 0, 4, " 1.8 mins  "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SetupWindowLists, LoggerTextBlanksWhatTheLoggerCannotStore)
{
    EXPECT_EQ(LoggerText(QStringLiteral("Tank 3 (north)")), QStringLiteral("Tank 3 (north)"));
    EXPECT_EQ(LoggerText(QString::fromUtf8("T\x01" "a>nk\xc3\xa9~")), QStringLiteral("T a nk ~"));
}
