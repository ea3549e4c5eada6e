// The texts of the Status window, the dial-out schedule text and the value texts.

#include "link/status_text.h"

#include "link/status_record.h"
#include "test_status_support.h"

#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::status_test;

namespace {

LoggerInfo DecodeInfo(const QByteArray& record)
{
    StatusContext c;
    c.twelveHourClock = false;
    c.lastRevision = 'q';
    LoggerInfo info;
    MemoryGeometry g;
    EXPECT_EQ(DecodeStatusRecord(record, c, info, g).outcome, StatusOutcome::Decoded);
    return info;
}

QByteArray StatusWithField(QByteArray record, int position, const QByteArray& text)
{
    record.replace(position - 1, text.size(), text);
    return record;
}

} // namespace

TEST(StatusText, ModelNamesByDigitAndResolution)
{
    struct Case { char digit; int bits; const char* text; };
    const std::vector<Case> cases = {
        {'1', 12, "LX700"}, {'1', 10, "LX600"}, {'1', 8, "LX500"},
        {'5', 12, "LX900     12 bit"}, {'5', 10, "LX900     10 bit"}, {'5', 8, "LX900     8 bit"},
        {'6', 12, "LX900-M 12 bit"}, {'6', 10, "LX900-M 10 bit"}, {'6', 8, "LX900-M 8 bit"},
        {'0', 12, "LX540"}, {'3', 10, "LX533"}, {'9', 8, "LX529"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ModelText(c.digit, c.bits), QString::fromLatin1(c.text)) << c.digit << " " << c.bits;
}

TEST(StatusText, RevisionAboveTildeIsShownAsTwoAndTheLetterSixtyTwoBelow)
{
    EXPECT_EQ(RevisionText('q'), QStringLiteral(" q"));
    EXPECT_EQ(RevisionText('~'), QStringLiteral(" ~"));
    EXPECT_EQ(RevisionText('\x7F'), QStringLiteral(" 2A"));
    EXPECT_EQ(RevisionText('\x83'), QStringLiteral(" 2E"));
}

TEST(StatusText, BatteryIsShownFromRevisionC)
{
    EXPECT_EQ(BatteryText('^', 12.16), QString()) << "'^' is below 'c'";
    EXPECT_EQ(BatteryText('b', 12.16), QString());
    EXPECT_EQ(BatteryText('c', 12.16), QStringLiteral("12.2 volts"));
    EXPECT_EQ(BatteryText('q', 3.04), QStringLiteral("3.0 volts"));
}

TEST(StatusText, StationAddressIsHiddenWhenZero)
{
    EXPECT_EQ(StationAddressText(0), QString());
    EXPECT_EQ(StationAddressText(5), QStringLiteral(" 5"));
    EXPECT_EQ(StationAddressText(200), QStringLiteral("200"));
    const LoggerInfo zero = DecodeInfo(StatusWithField(Golden12Bit(), 196, "00"));
    const StatusTexts t = BuildStatusTexts(zero, {}, {}, ClockStyle::Hour24);
    EXPECT_FALSE(t.stationVisible);
    EXPECT_EQ(t.stationAddress, QString());
}

TEST(StatusText, InputTypeNames)
{
    const char* const expected[] = {"standard", "temp/RH", "average", "", "pulse", "0.1s Exc", "", ""};
    for (int type = 0; type < 8; ++type)
        EXPECT_EQ(InputTypeName(type), QString::fromLatin1(expected[type])) << type;
}

TEST(StatusText, ScalingBoxShowsThermocoupleNamesAndLinearForms)
{
    struct Case { char code; const char* text; bool old; const char* shown; };
    const std::vector<Case> cases = {
        {'3', "0.0000100.00", false, "0.0000 100.00"},
        {'3', "0.0000100.00", true, "0.0000100.00"},
        {'X', "4.0000020.00", false, "c 4.0000020.00"},
        {'A', "A           ", false, "A           "},
        {'Y', "", false, "B thermocouple"}, {'b', "", false, "B thermocouple"}, {'v', "", false, "B thermocouple"},
        {'Z', "", false, "C thermocouple"}, {'c', "", false, "C thermocouple"}, {'w', "", false, "C thermocouple"},
        {'d', "", false, "E thermocouple"}, {'e', "", false, "E thermocouple"}, {'x', "", false, "E thermocouple"},
        {'f', "", false, "E low temp"},
        {'g', "", false, "J thermocouple"}, {'j', "", false, "J thermocouple"}, {'y', "", false, "J thermocouple"},
        {'i', "", false, "J low temp"},
        {'h', "", false, "K thermocouple"}, {'k', "", false, "K thermocouple"}, {'z', "", false, "K thermocouple"},
        {'l', "", false, "K low temp"},
        {'m', "", false, "N low temp"},
        {'^', "", false, "N thermocouple"}, {'n', "", false, "N thermocouple"}, {'{', "", false, "N thermocouple"},
        {'_', "", false, "R thermocouple"}, {'q', "", false, "R thermocouple"}, {'r', "", false, "R thermocouple"},
        {'s', "", false, "S thermocouple"}, {'}', "", false, "S thermocouple"},
        {'a', "", false, "T thermocouple"}, {'t', "", false, "T thermocouple"}, {'~', "", false, "T thermocouple"},
        {'u', "", false, "T low temp"},
        {'`', "grave       ", false, "grave       "},
        {'h', "h           ", true, "h           "},
        {'3', "ab", false, "ab "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScalingBoxText(c.code, c.text, c.old), QString::fromLatin1(c.shown)) << c.code;
}

TEST(StatusText, DateCodeShowsTwoTwoCharacterNumbers)
{
    EXPECT_EQ(DateCodeText({true, 3, 97}), QStringLiteral(" 3/97"));
    EXPECT_EQ(DateCodeText({false, 3, 97}), QString());
    const LoggerInfo info = DecodeInfo(Golden12Bit());
    const StatusTexts t = BuildStatusTexts(info, {true, 12, 5}, {}, ClockStyle::Hour24);
    EXPECT_TRUE(t.dateCodeVisible);
    EXPECT_EQ(t.dateCode, QStringLiteral("12/ 5"));
}

TEST(StatusText, ValueTextsHaveWidthSevenDecimalsAndUnitCutToEighteen)
{
    EXPECT_EQ(ValueText(23.456f, {false, QStringLiteral("Deg C")}), QStringLiteral("  23.46Deg C"));
    EXPECT_EQ(ValueText(1.5f, {true, QStringLiteral("Metres")}), QStringLiteral("  1.500Metres"));
    EXPECT_EQ(ValueText(-94.99f, {false, {}}), QStringLiteral(" -94.99"));
    EXPECT_EQ(ValueText(-95.0f, {false, QStringLiteral("Deg C")}), QStringLiteral(" Open"));
    EXPECT_EQ(ValueText(-100.0f, {false, {}}), QStringLiteral(" Open"));
    EXPECT_EQ(ValueText(123456.0f, {false, QStringLiteral("Ohms")}), QStringLiteral("123456.00Ohms"));
    EXPECT_EQ(ValueText(1.0f, {false, QStringLiteral("123456789012345")}), QStringLiteral("   1.0012345678901"));
}

TEST(StatusText, UnitsFollowTheScalingCodeAndTheLabel)
{
    struct Case { char code; int type; const char* label; bool f; int hq; const char* unit; };
    const std::vector<Case> cases = {
        {'A', 0, "", false, 0, "Deg C"}, {'P', 0, "", true, 0, "Deg F"}, {'h', 0, "", false, 0, "Deg C"},
        {'L', 0, "", false, 0, "FtCn"}, {'R', 0, "", false, 0, "Ohms"},
        {'3', 1, "", false, 0, "% RH"}, {'3', 1, "", false, 1, "Dew P"}, {'3', 1, "", false, 2, "Wet B"},
        {'3', 0, "", false, 0, ""},
        {'3', 0, "Flow;l/min    ", false, 0, "l/min"},
        {'A', 0, "a;b;verylongunit", false, 0, "verylongu"},
        {'A', 0, "ends in;", false, 0, "Deg C"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChannelUnitText(c.code, c.type, c.label, c.f, c.hq), QString::fromLatin1(c.unit)) << c.label;
}

TEST(StatusText, ValueBoxesShowOffForChannelsNotFitted)
{
    const LoggerInfo info = DecodeInfo(Golden12Bit());  // codes A 3 0 h
    const auto boxes = ValueBoxTexts(info, {"a", "b", "c", "d"});
    EXPECT_EQ(boxes, (std::array<QString, 4>{"a", "b", "OFF", "d"}));
}

TEST(StatusText, GoldenTwelveBitRecordShowsEveryText)
{
    const LoggerInfo info = DecodeInfo(Golden12Bit());
    const StatusTexts t = BuildStatusTexts(info, {}, {"1", "2", "OFF", "4"}, ClockStyle::Hour24);
    EXPECT_EQ(t.model, QStringLiteral("LX700"));
    EXPECT_EQ(t.revision, QStringLiteral(" q"));
    EXPECT_TRUE(t.stationVisible);
    EXPECT_EQ(t.stationAddress, QStringLiteral(" 5"));
    EXPECT_EQ(t.battery, QStringLiteral("12.2 volts"));
    EXPECT_EQ(t.sampleRate, QStringLiteral(" 2 minutes"));
    EXPECT_EQ(t.timeSpan, QStringLiteral("10.0 days  "));
    EXPECT_EQ(t.firstReadingLabel, QStringLiteral("First reading"));
    EXPECT_EQ(t.firstReading, QStringLiteral("Sun 15-Mar-1998 15:04:05"));
    EXPECT_EQ(t.currentState, QStringLiteral("* Recording *  ( memory full Wed 25-Mar-1998 14:00:05 )"));
    EXPECT_EQ(t.clock, QStringLiteral("Thu 20-Dec-1998 11:15:00"));
    EXPECT_EQ(t.stopMode, QStringLiteral("Stop if memory is full"));
    EXPECT_EQ(t.description, QStringLiteral("Boiler house                   "));
    EXPECT_EQ(t.onOff, (std::array<QString, 4>{"ON", "ON", "OFF", "ON"}));
    EXPECT_EQ(t.values, (std::array<QString, 4>{"1", "2", "OFF", "4"}));
    EXPECT_EQ(t.labels[1], QStringLiteral("Level;Metres            "));
    EXPECT_EQ(t.scaling, (std::array<QString, 4>{"A           ", "0.0000 100.00", "            ", "K thermocouple"}));
    EXPECT_EQ(t.inputTypes, (std::array<QString, 4>{"temp/RH", "temp/RH", "temp/RH", "standard"}));
    EXPECT_FALSE(t.dateCodeVisible);
}

TEST(StatusText, GoldenOldEightBitRecordShowsEveryText)
{
    const LoggerInfo info = DecodeInfo(Golden8BitOld());
    const StatusTexts t = BuildStatusTexts(info, {}, {}, ClockStyle::Hour24);
    EXPECT_EQ(t.model, QStringLiteral("LX520"));
    EXPECT_EQ(t.revision, QStringLiteral(" C"));
    EXPECT_FALSE(t.stationVisible);
    EXPECT_EQ(t.battery, QString());
    EXPECT_EQ(t.sampleRate, QStringLiteral(" 5 minutes"));
    EXPECT_EQ(t.timeSpan, QStringLiteral(" 3.7 months"));
    EXPECT_EQ(t.currentState, QStringLiteral("* Recording *  ( memory full Sun 23-Apr-1991 10:00:00 )"));
    EXPECT_EQ(t.scaling[0], QStringLiteral("2           "));
}

TEST(StatusText, GoldenTenBitRecordShowsAStoppedContinuousRun)
{
    const LoggerInfo info = DecodeInfo(Golden10Bit());
    const StatusTexts t = BuildStatusTexts(info, {}, {}, ClockStyle::Hour24);
    EXPECT_EQ(t.model, QStringLiteral("LX533"));
    EXPECT_EQ(t.battery, QString()) << "revision 'N' is below 'c'";
    EXPECT_EQ(t.firstReading, QStringLiteral("Thu 14-Aug-1995  0:00:00"));
    EXPECT_EQ(t.currentState, QStringLiteral("Memory full;  Stopped recording: Tue  1-Feb-1997 12:00:00"));
    EXPECT_EQ(t.stopMode, QStringLiteral("Run continuously"));
    EXPECT_EQ(t.timeSpan, QStringLiteral("17.7 months"));
    EXPECT_EQ(t.scaling[1], QStringLiteral("-10.0  040.00"));
}

namespace {

struct StateCase {
    const char* name;
    const char* flags;      // status byte 1
    const char* channels;   // status byte 3
    char revision;
    const char* rate;       // status byte 2
    const char* clock;      // 14 characters at 182
    const char* state;
    const char* stopMode;
    const char* firstLabel;
    const char* firstText;
};

} // namespace

TEST(StatusText, CurrentStateStopModeAndFirstReadingFollowTheFlags)
{
    const char* good = "00151120120598";
    const char* powerFail = "80151120120598";  // seconds 80: the logger's power-fail mark
    const std::vector<StateCase> cases = {
        {"no channel on", "C2", "20", 'q', "48", good, "Not Recording", "Stop if memory is full", "First reading",
         "All Channels Off"},
        {"recording continuously", "C1", "0F", 'q', "48", good, "* Recording *", "Run continuously", "First reading",
         "Sun 15-Mar-1998 15:04:05"},
        {"recording fast: approx.", "C0", "01", 'q', "56", good,
         "* Recording *  ( memory full approx. Tue 17-Mar-1998  2:54:29 )", "Stop if memory is full",
         "First reading", "Sun 15-Mar-1998 15:04:05"},
        {"waiting for probes, new revision", "D0", "21", 'q', "48", good,
         "Not Recording (waiting for ch1 temp probe to be attached)", "Stop if memory is full", "Start logging",
         "when ch1 temp. probe is attached"},
        {"waiting for probes, old revision", "D3", "21", 'n', "48", good,
         "Not Recording (waiting for ch1 temp probe to be attached)", "Stop if probes detach", "Start logging",
         "when all temp. probes are attached"},
        {"waiting on pre-set time", "C6", "01", 'q', "48", good, "Not Recording (waiting on pre-set time)",
         "Stop if memory is full", "Start logging", "Sun 15-Mar-1998 15:04:05"},
        {"probe detached, new revision", "C3", "21", 'q', "48", good,
         "Ch1 probe detached - Stopped recording: Mon 16-Mar-1998 20:30:10", "Stop if ch1 temp. probe is detached",
         "First reading", "Sun 15-Mar-1998 15:04:05"},
        {"probes detached, old revision", "C3", "21", 'n', "48", good,
         "Probes detached - Stopped recording: Mon 16-Mar-1998 20:30:10", "Stop if probes detach", "First reading",
         "Sun 15-Mar-1998 15:04:05"},
        {"detach mode, power failed", "C2", "21", 'q', "48", powerFail,
         "Power failed - Stopped recording: Mon 16-Mar-1998 20:30:10", "Stop if memory is full", "First reading",
         "Sun 15-Mar-1998 15:04:05"},
        {"detach mode at 200/second", "C2", "21", 'q', "34", good, "Stopped recording: Mon 16-Mar-1998 20:30:10",
         "Stop if memory is full", "First reading", "Sun 15-Mar-1998 15:04:05"},
        {"memory full", "C2", "01", 'q', "48", good, "Memory full;  Stopped recording: Mon 16-Mar-1998 20:30:10",
         "Stop if memory is full", "First reading", "Sun 15-Mar-1998 15:04:05"},
        {"power failed", "C2", "01", 'q', "48", powerFail,
         "Power failed;  Stopped recording: Mon 16-Mar-1998 20:30:10", "Stop if memory is full", "First reading",
         "Sun 15-Mar-1998 15:04:05"},
    };
    for (const auto& c : cases) {
        QByteArray rec = StatusWithField(Golden12Bit(), 29, c.flags);
        rec = StatusWithField(rec, 31, c.rate);
        rec = StatusWithField(rec, 33, c.channels);
        rec = StatusWithField(rec, 182, c.clock);
        rec[249] = c.revision;
        const LoggerInfo info = DecodeInfo(rec);
        EXPECT_EQ(CurrentStateText(info, ClockStyle::Hour24), QString::fromLatin1(c.state)) << c.name;
        EXPECT_EQ(StopModeText(info), QString::fromLatin1(c.stopMode)) << c.name;
        EXPECT_EQ(FirstReadingLabelText(info), QString::fromLatin1(c.firstLabel)) << c.name;
        EXPECT_EQ(FirstReadingText(info), QString::fromLatin1(c.firstText)) << c.name;
    }
}

TEST(StatusText, PowerFailUsesTheTwentyThirdStampCharacterOrTheClockSecondsBehindAFallback)
{
    LoggerInfo info;
    info.clockStamp = QStringLiteral("Thu 20-Dec-1998 11:15:80");
    EXPECT_TRUE(PowerFailed(info));
    info.clockStamp = QStringLiteral("Thu 20-Dec-1998 11:15:59");
    EXPECT_FALSE(PowerFailed(info));
    info.clockStamp = QString::fromLatin1(kFallbackClockStamp);
    info.clockText = "80151120120598";
    EXPECT_TRUE(PowerFailed(info));
    info.clockText = "ZZ";
    EXPECT_TRUE(PowerFailed(info));
    info.clockText = "0";
    EXPECT_FALSE(PowerFailed(info));
    info.clockText.clear();
    EXPECT_FALSE(PowerFailed(info));
}

TEST(StatusText, FirstReadingOfOneJanuary91IsPlainRecording)
{
    LoggerInfo info = DecodeInfo(Golden12Bit());
    info.firstReadingStamp = QStringLiteral("Tue  1-Jan-91 12:00:00am");
    EXPECT_EQ(CurrentStateText(info, ClockStyle::AmPm), QStringLiteral("* Recording *"));
}

TEST(StatusText, SpanUnitsAtEveryBoundary)
{
    LoggerInfo info;
    info.channelsOn = 1;
    struct Case { int capacity; float minutes; const char* text; };
    const std::vector<Case> cases = {
        {32256, 1.0f / 12000, " 2.7 mins  "},   // 2.688 minutes
        {1, 0.5f, "30.0 secs  "},
        {1, 1.0f, " 1.0 mins  "},
        {1, 59.0f, "59.0 mins  "},
        {1, 60.0f, " 1.0 hours "},
        {1, 2879.0f, "48.0 hours "},
        {1, 2880.0f, " 2.0 days  "},
        {1, 86399.0f, "60.0 days  "},
        {1, 86400.0f, " 2.0 months"},
        {1, 1576972.0f, "36.0 months"},
        {1, 1576973.0f, " 3.0 years "},
    };
    for (const auto& c : cases) {
        info.memoryCapacity = c.capacity;
        info.minutesPerReading = c.minutes;
        EXPECT_EQ(TimeSpanText(info), QString::fromLatin1(c.text)) << c.capacity << " x " << c.minutes;
    }
    info.channelsOn = 0;
    EXPECT_EQ(TimeSpanText(info), QStringLiteral("0.0      "));
}

TEST(StatusText, DialOutScheduleTexts)
{
    struct Case { const char* reply; const char* text; };
    const std::vector<Case> cases = {
        {"993014000000", "Daily dialout at 14:30"},
        {"98451634000099", "Weekly dialout: Wednesday at 16:45"},
        {"980008310000", "Weekly dialout: Sunday at 08:00"},
        {"980008370000", "Weekly dialout: Saturday at 08:00"},
        {"980008390000", "Weekly dialout:  at 08:00"},
        {"970523000100", "Monthly dialout on the 1st at 23:05"},
        {"970523000200", "Monthly dialout on the 2nd at 23:05"},
        {"970523000300", "Monthly dialout on the 3rd at 23:05"},
        {"970523003100", "Monthly dialout on the 31st at 23:05"},
        {"970523000700", "Monthly dialout on the 7th at 23:05"},
        {"970523001500", "Monthly dialout on the 15th at 23:05"},
        {"970523002200", "Monthly dialout on the 22th at 23:05"},
        {"960523001500", ""},
        {"", ""},
        {"9", ""},
        {"99", "Daily dialout at :"},
        {"9930", "Daily dialout at :30"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DialOutText(c.reply), QString::fromLatin1(c.text)) << c.reply;
    EXPECT_STREQ(kDialOutQueryCommand, "DA01D0");
}
