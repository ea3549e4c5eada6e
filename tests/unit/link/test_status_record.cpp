// Decoding of the status record: validity, field positions, derived values,
// stamps and their fallbacks, and records of every length.

#include "link/status_record.h"

#include "settings/settings_record.h"
#include "conversion/channel_scaling.h"
#include "test_status_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::status_test;

namespace {

StatusContext Context24h(char lastRevision = 'q')
{
    StatusContext c;
    c.transferStamp = QStringLiteral("12/09/2026 07:30:00");
    c.twelveHourClock = false;
    c.lastRevision = lastRevision;
    return c;
}

struct Decoded {
    StatusDecodeResult result;
    LoggerInfo info;
    MemoryGeometry geometry;
};

Decoded Decode(const QByteArray& record, const StatusContext& context = Context24h())
{
    Decoded d;
    d.result = DecodeStatusRecord(record, context, d.info, d.geometry);
    return d;
}

QByteArray WithChar(QByteArray record, int position, char c)
{
    record[position - 1] = c;
    return record;
}

QByteArray WithField(QByteArray record, int position, const QByteArray& text)
{
    record.replace(position - 1, text.size(), text);
    return record;
}

} // namespace

// ---------------------------------------------------------------- validity

TEST(StatusRecordValidity, NeedsTwoHundredFiftyCharactersAndAnHourDigitAtPositionFive)
{
    const QByteArray good = Golden8BitOld();  // exactly 250 characters
    ASSERT_EQ(good.size(), 250);
    struct Case { const char* name; QByteArray record; bool valid; };
    const std::vector<Case> cases = {
        {"250 characters", good, true},
        {"249 characters", good.left(249), false},
        {"empty", QByteArray(), false},
        {"four characters", QByteArray("0000"), false},
        {"character 5 is '0'", WithChar(good, 5, '0'), true},
        {"character 5 is '2'", WithChar(good, 5, '2'), true},
        {"character 5 is '3'", WithChar(good, 5, '3'), false},
        {"character 5 is a blank", WithChar(good, 5, ' '), false},
        {"a megabyte", good + QByteArray(1 << 20, 'x'), true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StatusRecordValid(c.record), c.valid) << c.name;
        const Decoded d = Decode(c.record);
        EXPECT_EQ(d.result.outcome == StatusOutcome::Decoded, c.valid) << c.name;
    }
}

TEST(StatusRecordValidity, InvalidRecordLeavesInfoAndGeometryUntouched)
{
    LoggerInfo info;
    info.description = "kept";
    MemoryGeometry geometry{123, 45, 6};
    const auto r = DecodeStatusRecord(Golden12Bit().left(249), Context24h(), info, geometry);
    EXPECT_EQ(r.outcome, StatusOutcome::Invalid);
    EXPECT_EQ(info.description, QByteArray("kept"));
    EXPECT_EQ(geometry.memoryCapacity, 123);
    EXPECT_EQ(geometry.fullScaleCount, 45);
    EXPECT_EQ(geometry.resolutionType, 6);
}

TEST(StatusRecordValidity, InvalidMessageNamesCharacterFiveLengthRecordAndLastCommand)
{
    EXPECT_EQ(InvalidStatusMessage("ABCD3XYZ", ">C005D"),
              QStringLiteral("Invalid response from logger; 3 Length =  8\rABCD3XYZ >C005D"));
    const QByteArray long249 = WithChar(Golden12Bit().left(249), 5, '7');
    EXPECT_EQ(InvalidStatusMessage(long249, "C"),
              QStringLiteral("Invalid response from logger; 7 Length = 249\r") + QString::fromLatin1(long249)
                  + QStringLiteral(" C"));
    // Shorter than five characters: no character 5 to show, and nothing is read past the end.
    EXPECT_EQ(InvalidStatusMessage("12", "C"), QStringLiteral("Invalid response from logger;  Length =  2\r12 C"));
    // An oversized record is taken as its first 255 characters.
    const QString big = InvalidStatusMessage(QByteArray(300, '9'), "C");
    EXPECT_TRUE(big.startsWith(QStringLiteral("Invalid response from logger; 9 Length = 255\r")));
}

// ---------------------------------------------------------------- fields

TEST(StatusRecordFields, TwelveBitRecordFieldsComeFromTheirPositions)
{
    const Decoded d = Decode(Golden12Bit());
    ASSERT_EQ(d.result.outcome, StatusOutcome::Decoded);
    const LoggerInfo& i = d.info;
    EXPECT_EQ(i.firstReadingClock, QByteArray("05041515030198"));
    EXPECT_EQ(i.lastReadingClock, QByteArray("10302016030298"));
    EXPECT_EQ(i.statusFlags, 0xC0);
    EXPECT_EQ(i.rateCode, 'H');
    EXPECT_EQ(i.channelFlags, 0x2B);
    EXPECT_EQ(i.inputTypeChars, QByteArray("IA"));
    EXPECT_EQ(i.inputTypes, 73);
    EXPECT_EQ(i.inputType(1), 1);
    EXPECT_EQ(i.inputType(2), 1);
    EXPECT_EQ(i.inputType(3), 1);
    EXPECT_EQ(i.inputType(4), 0);
    EXPECT_EQ(i.phaseByte, 5);
    EXPECT_EQ(i.memoryPointer, 0x1234);
    EXPECT_EQ(i.labels[0], Pad("Tank [-1.5]", 24));
    EXPECT_EQ(i.labels[3], Pad("Flue", 24));
    EXPECT_EQ(i.description, Pad("Boiler house", 31));
    EXPECT_EQ(i.currentReadings, QByteArray("4001237FF00F"));
    EXPECT_EQ(i.clockText, QByteArray("00151120120598"));
    EXPECT_EQ(i.stationAddress, 5);
    EXPECT_EQ(i.scalingTexts[1], QByteArray("0.0000100.00"));
    EXPECT_EQ(i.scalingTexts[3], Pad("k", 12));
    EXPECT_EQ((std::array<char, 4>{'A', '3', '0', 'h'}), i.scalingCodes);
    EXPECT_EQ(i.revision, 'q');
    EXPECT_FALSE(i.oldFamily);
    EXPECT_EQ(i.modelDigit, '1');
    EXPECT_EQ(i.batteryByte, 110);
    EXPECT_NEAR(i.batteryVolts, 110 * 0.10873 + 0.2, 1e-9);
    EXPECT_EQ(i.lastBank, 'A');
    EXPECT_EQ(i.channelsOn, 3);
    EXPECT_FLOAT_EQ(i.labelOffsets[0], -1.5f);
    EXPECT_FLOAT_EQ(i.labelOffsets[1], 0.0f);
    EXPECT_FLOAT_EQ(i.minutesPerReading, 2.0f);
    EXPECT_EQ(i.referenceOhms, 30100);
    EXPECT_EQ(i.referenceCode, 'C');
    EXPECT_EQ(i.transferStamp, QStringLiteral("12/09/2026 07:30:00"));
}

TEST(StatusRecordFields, TenBitRecordTakesBatteryFromCurrentReadingsAndIgnoresLateFields)
{
    const Decoded d = Decode(Golden10Bit());
    ASSERT_EQ(d.result.outcome, StatusOutcome::Decoded);
    const LoggerInfo& i = d.info;
    EXPECT_EQ(i.resolutionBits, 10);
    EXPECT_EQ(i.revision, 'N');
    EXPECT_EQ(i.modelDigit, '3');
    EXPECT_EQ(i.stationAddress, 0) << "station address is ignored up to revision 'N'";
    EXPECT_EQ(i.inputTypeChars, QByteArray("@@")) << "no input types up to revision 'P'";
    EXPECT_EQ(i.inputTypes, 0);
    EXPECT_EQ(i.batteryByte, 0x80);
    EXPECT_EQ(i.referenceOhms, 30015) << "battery byte 128 is not above 128";
    EXPECT_EQ(i.referenceCode, 'B');
    EXPECT_FLOAT_EQ(i.minutesPerReading, 60.0f);
}

TEST(StatusRecordFields, OldestFamilyRebuildsScalingTextsAndFoldsLowCodes)
{
    const Decoded d = Decode(Golden8BitOld());
    ASSERT_EQ(d.result.outcome, StatusOutcome::Decoded);
    const LoggerInfo& i = d.info;
    EXPECT_EQ(i.revision, 'C');
    EXPECT_TRUE(i.oldFamily);
    EXPECT_EQ(i.modelDigit, '0') << "no model digit before revision 'J'";
    EXPECT_EQ(i.resolutionBits, 8);
    EXPECT_EQ(i.scalingTexts[0], QByteArray("2           "));
    EXPECT_EQ(i.scalingCodes[0], '1');
    EXPECT_EQ(i.scalingCodes[1], '0');
    EXPECT_EQ(i.scalingTexts[1], QByteArray("0           "));
    EXPECT_EQ(i.batteryByte, 0x9A);
    EXPECT_EQ(i.referenceOhms, 10000) << "revision below 'G'";
    EXPECT_EQ(i.referenceCode, 'A');
}

TEST(StatusRecordFields, RevisionBelowAIsRaisedToAAndMarksTheOldestFamily)
{
    const Decoded d = Decode(WithChar(Golden12Bit(), 250, '7'));
    EXPECT_EQ(d.info.revision, 'A');
    EXPECT_TRUE(d.info.oldFamily);
    EXPECT_EQ(d.info.modelDigit, '0');
    EXPECT_TRUE(d.result.revisionChanged);
}

TEST(StatusRecordFields, RevisionChangeIsReportedAgainstTheSettings)
{
    EXPECT_FALSE(Decode(Golden12Bit(), Context24h('q')).result.revisionChanged);
    EXPECT_TRUE(Decode(Golden12Bit(), Context24h('n')).result.revisionChanged);
}

TEST(StatusRecordFields, YearNinetyOneInTheClockReplacesAllScalingTextsByC)
{
    const Decoded d = Decode(WithField(Golden12Bit(), 194, "91"));
    for (const auto& text : d.info.scalingTexts)
        EXPECT_EQ(text, QByteArray("C           "));
    EXPECT_EQ(d.info.scalingCodes[1], '3') << "codes stay";
}

TEST(StatusRecordFields, NulsInTheLabelAreaBecomeBlanksButNowhereElse)
{
    QByteArray rec = Golden12Bit();
    rec[42] = '\0';    // position 43, label 1
    rec[137] = '\0';   // position 138, label 4
    rec[138] = '\0';   // position 139, description
    const Decoded d = Decode(rec);
    EXPECT_EQ(d.info.labels[0][0], ' ');
    EXPECT_EQ(d.info.labels[3][23], ' ');
    EXPECT_EQ(d.info.description[0], '\0');
}

TEST(StatusRecordFields, BankLetterFromClockPositionElevenOnlyForRealBanks)
{
    struct Case { char c; char bank; };
    for (const Case c : {Case{'0', 'A'}, Case{'@', 'A'}, Case{'A', 'A'}, Case{'C', 'C'}, Case{'D', 'D'},
                         Case{'E', 'A'}, Case{'z', 'A'}, Case{'\xF0', 'A'}})
        EXPECT_EQ(Decode(WithChar(Golden12Bit(), 192, c.c)).info.lastBank, c.bank) << int(c.c);
}

TEST(StatusRecordFields, LowerCaseHexDigitsGiveWrongButBoundedValues)
{
    // The logger's hex reader only knows upper case: "0f" is not 15.
    const Decoded d = Decode(WithField(Golden12Bit(), 33, "0f"));
    EXPECT_NE(d.info.channelFlags, 0x0F);
    EXPECT_EQ(d.info.channelFlags, (0 * 16 + ('f' - 'A' + 10)) & 0xFF);
}

// ---------------------------------------------------------------- geometry

TEST(StatusRecordGeometry, ResolutionAndModelFixCapacityFullScaleAndType)
{
    const QByteArray tenBit = Golden10Bit();                  // flags 0xCB
    const QByteArray eightBit = WithField(Golden10Bit(), 29, "0B");
    struct Case { const char* name; QByteArray record; int bits; int capacity; int fullScale; int type; };
    const std::vector<Case> cases = {
        {"12 bit, model 1", Golden12Bit(), 12, 21504, 4095, 3},
        {"12 bit, model 5", WithChar(Golden12Bit(), 251, '5'), 12, 21504, 4095, 5},
        {"12 bit, model 6", WithChar(Golden12Bit(), 251, '6'), 12, 86016, 4095, 6},
        {"12 bit, 300 characters", Golden12Bit() + QByteArray(46, 'x'), 12, 21504, 4095, 3},
        {"10 bit, model 3", tenBit, 10, 25800, 1023, 2},
        {"10 bit, model 6", WithChar(tenBit, 251, '6'), 10, 103200, 1023, 6},
        {"10 bit, 253 characters", tenBit + "xy", 10, 25800, 1023, 2},
        {"8 bit", eightBit, 8, 32256, 255, 1},
        {"8 bit, model 5", WithChar(eightBit, 251, '5'), 8, 32256, 255, 5},
        {"8 bit, model 6", WithChar(eightBit, 251, '6'), 8, 129024, 255, 6},
        {"12-bit record cut to 253 is read as 10 bit", Golden12Bit().left(253), 10, 25800, 1023, 2},
    };
    for (const auto& c : cases) {
        const Decoded d = Decode(c.record);
        ASSERT_EQ(d.result.outcome, StatusOutcome::Decoded) << c.name;
        EXPECT_EQ(d.info.resolutionBits, c.bits) << c.name;
        EXPECT_EQ(d.geometry.memoryCapacity, c.capacity) << c.name;
        EXPECT_EQ(d.geometry.fullScaleCount, c.fullScale) << c.name;
        EXPECT_EQ(d.geometry.resolutionType, c.type) << c.name;
        EXPECT_EQ(d.info.memoryCapacity, c.capacity) << c.name;
    }
}

TEST(StatusRecordGeometry, FastModelsCorrectTheApproximateRates)
{
    const QByteArray sixSeconds = WithField(Golden12Bit(), 31, "56");  // 'V'
    EXPECT_FLOAT_EQ(Decode(sixSeconds).info.minutesPerReading, 0.1f);
    EXPECT_FLOAT_EQ(Decode(WithChar(sixSeconds, 251, '5')).info.minutesPerReading, 0.115f);
    EXPECT_FLOAT_EQ(Decode(WithChar(sixSeconds, 251, '6')).info.minutesPerReading, 0.115f);
    // An unknown rate code reads as 60 minutes.
    EXPECT_FLOAT_EQ(Decode(WithField(Golden12Bit(), 31, "3C")).info.minutesPerReading, 60.0f);
}

// ---------------------------------------------------------------- stamps

TEST(StatusRecordStamps, ValidClocksBecomeStampsInvalidOnesTakeTheFixedFallbacks)
{
    const Decoded good = Decode(Golden12Bit());
    EXPECT_EQ(good.info.firstReadingStamp, QStringLiteral("Sun 15-Mar-1998 15:04:05"));
    EXPECT_EQ(good.info.lastReadingStamp, QStringLiteral("Mon 16-Mar-1998 20:30:10"));
    EXPECT_EQ(good.info.clockStamp, QStringLiteral("Thu 20-Dec-1998 11:15:00"));

    QByteArray bad = WithField(Golden12Bit(), 1, "0504241503");  // hour 24
    bad = WithField(bad, 15, "10302016130298");                    // month 13
    bad = WithField(bad, 182, "9915");                              // seconds 99
    const Decoded d = Decode(bad);
    EXPECT_EQ(d.info.firstReadingStamp, QStringLiteral("Tue 10-Jun-2003 10:01"));
    EXPECT_EQ(d.info.lastReadingStamp, QStringLiteral("Tue 17-Jun-2003 10:01"));
    EXPECT_EQ(d.info.clockStamp, QStringLiteral("Tue 24-Jun-2003 10:01"));
}

TEST(StatusRecordStamps, TwelveHourClockWritesAmPmStamps)
{
    StatusContext c = Context24h();
    c.twelveHourClock = true;
    EXPECT_EQ(Decode(Golden12Bit(), c).info.firstReadingStamp, QStringLiteral("Sun 15-Mar-1998  3:04:05pm"));
}

TEST(StatusRecordStamps, ContinuousWrappedRunCountsTheFirstReadingBackFromTheLast)
{
    // Three channels, capacity 21504, 2 minutes: 14336 minutes before the last reading.
    const QByteArray rec = WithField(Golden12Bit(), 29, "C9");  // continuous + wrapped
    const Decoded d = Decode(rec);
    EXPECT_EQ(d.info.lastReadingStamp, QStringLiteral("Mon 16-Mar-1998 20:30:10"));
    // 14336 minutes = 9 days 22 hours 56 minutes.
    EXPECT_EQ(d.info.firstReadingStamp, QStringLiteral("Fri  6-Mar-1998 21:34:10"));
}

TEST(StatusRecordStamps, ContinuousWrappedWithNoChannelOnKeepsTheLoggersFirstReading)
{
    QByteArray rec = WithField(Golden12Bit(), 29, "C9");
    rec = WithField(rec, 33, "20");
    const Decoded d = Decode(rec);
    EXPECT_EQ(d.info.channelsOn, 0);
    EXPECT_EQ(d.info.firstReadingStamp, QStringLiteral("Sun 15-Mar-1998 15:04:05"));
}

TEST(StatusRecordStamps, AutoAnswerCorrectsAnUnsetFirstReadingYear)
{
    StatusContext c = Context24h();
    c.autoAnswer = true;
    struct Case { const char* first; const char* last; const char* expected; };
    const std::vector<Case> cases = {
        // first reading month before the last: same year as the last reading
        {"00000801020399", "00001215030205", "Tue  1-Feb-2005  8:00:00"},
        // first reading month after the last: the year before
        {"00000801110397", "00001215030205", "Tue  1-Nov-2004  8:00:00"},
        // other years stay
        {"00000801110398", "00001215030205", "Tue  1-Nov-1998  8:00:00"},
    };
    for (const auto& k : cases) {
        QByteArray rec = WithField(Golden12Bit(), 1, k.first);
        rec = WithField(rec, 15, k.last);
        EXPECT_EQ(Decode(rec, c).info.firstReadingStamp, QString::fromLatin1(k.expected)) << k.first;
        EXPECT_EQ(Decode(rec).info.firstReadingStamp.mid(11, 4), QString::fromLatin1(k.first + 12, 2).prepend(
                                                                      k.first[12] == '9' ? "19" : "20"))
            << "no correction without auto answer";
    }
}

// ---------------------------------------------------------------- robustness

TEST(StatusRecordRobustness, RecordsOfEveryLengthDecodeWithoutReadingPastTheEnd)
{
    const QByteArray full = Golden12Bit() + QByteArray(40, '\xFF');
    for (int n = 0; n <= full.size(); ++n) {
        // A copy of exactly n bytes, so a read past the end is caught by the sanitizers.
        const QByteArray rec(full.constData(), n);
        LoggerInfo info;
        MemoryGeometry g;
        const auto r = DecodeStatusRecord(rec, Context24h(), info, g);
        EXPECT_EQ(r.outcome == StatusOutcome::Decoded, n >= 250) << n;
        if (n == 250) {
            EXPECT_EQ(info.modelDigit, '0') << "no model digit in a 250-character record";
            EXPECT_EQ(info.resolutionBits, 10);
        }
    }
}

// ---------------------------------------------------------------- with the channel conversion

namespace {

void WriteFile(const QString& path, const QByteArray& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

} // namespace

TEST(StatusDecode, SetsUpTheChannelsAndConvertsTheCurrentReadings)
{
    // Channel 1 linear 'X' 0..50, channel 2 linear count '3' 0..100, 3 off, 4 resistance.
    QByteArray rec = WithField(Golden12Bit(), 198, "0.0000050.00");
    rec = WithField(rec, 246, "X30R");
    ChannelScaling scaling;
    scaling.tableDirectory = QStringLiteral(TAMBLE_SOURCE_DIR "/data");
    LoggerInfo info;
    MemoryGeometry g;
    const auto r = DecodeStatus(rec, Context24h(), info, g, scaling);
    ASSERT_EQ(r.outcome, StatusOutcome::Decoded);
    // Counts 1027, 18, 2047, 3840; label 1 carries an offset of -1.5.
    EXPECT_NEAR(info.currentValues[0], 50.0f * 1027 / 4095 - 1.5f, 1e-3);
    EXPECT_NEAR(info.currentValues[1], 100.0f * 18 / 4095, 1e-4);
    EXPECT_FLOAT_EQ(info.currentValues[2], 0.0f);
    // Resistance against the 30100-ohm reference of a revision-'q' 12-bit logger.
    const float v = 3840.0f * 5 / 4095;
    EXPECT_NEAR(info.currentValues[3], 30100.0f * v / (5 - v), 1.0);
    EXPECT_EQ(scaling.fullScaleCount, 4095);
    EXPECT_FLOAT_EQ(scaling.referenceOhms, 30100.0f);
    EXPECT_EQ(scaling.inputTypes, 73);
}

TEST(StatusDecode, UnusableTableEndsWithTableErrorAndItsMessage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteFile(dir.filePath("C.Rvt"), "title\nT\nheadings\n25 10000\n");  // one point only
    ChannelScaling scaling;
    scaling.tableDirectory = dir.path();
    LoggerInfo info;
    info.currentValues = {7, 7, 7, 7};
    MemoryGeometry g;
    const auto r = DecodeStatus(Golden12Bit(), Context24h(), info, g, scaling);
    EXPECT_EQ(r.outcome, StatusOutcome::TableError);
    ASSERT_FALSE(r.tableMessages.isEmpty());
    EXPECT_TRUE(r.tableMessages.first().contains(QStringLiteral("has improper format")));
    EXPECT_EQ(info.currentValues, (std::array<float, 4>{7, 7, 7, 7})) << "nothing converted after a table error";
    EXPECT_EQ(info.revision, 'q') << "the fields are decoded all the same";
}

// While auto answer is on, a first-reading year of 1999 or 1997 (a clock never set) takes the
// last reading's year, one less when the last reading's month comes earlier in the year.
struct YearCase {
    const char* name;
    QByteArray firstClock;  // positions 1-14: ss mm hh DD MM dw YY
    QByteArray lastClock;   // positions 15-28
    bool autoAnswer;
    QString firstYear;      // characters 12-15 of the first-reading stamp
};

class FirstReadingYear : public ::testing::TestWithParam<YearCase> {};

TEST_P(FirstReadingYear, IsCorrectedOnlyForNineteenNinetyNineOrNinetySevenUnderAutoAnswer)
{
    const YearCase c = GetParam();
    StatusContext context = Context24h();
    context.autoAnswer = c.autoAnswer;
    QByteArray rec = WithField(Golden12Bit(), 1, c.firstClock);
    rec = WithField(rec, 15, c.lastClock);
    const Decoded d = Decode(rec, context);
    ASSERT_GE(d.info.firstReadingStamp.size(), 15) << d.info.firstReadingStamp.toStdString();
    EXPECT_EQ(d.info.firstReadingStamp.mid(11, 4), c.firstYear) << d.info.firstReadingStamp.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FirstReadingYear,
    ::testing::Values(
        // Jan 1999 before Mar 2004: same year as the last reading.
        YearCase{"NinetyNineLaterMonth", "00001001010599", "00001016030304", true, "2004"},
        // Nov 1997 with the last reading in Mar 2004: the year before.
        YearCase{"NinetySevenEarlierMonth", "00001001110597", "00001016030304", true, "2003"},
        // Same month: not earlier, so the same year.
        YearCase{"NinetyNineSameMonth", "00001001030599", "00001016030304", true, "2004"},
        YearCase{"NinetyEightStays", "00001001010598", "00001016030304", true, "1998"},
        YearCase{"WithoutAutoAnswerStays", "00001001010599", "00001016030304", false, "1999"}),
    [](const auto& info) { return std::string(info.param.name); });
