// The logger's side: status records and real-time lines built by the encoder
// are read back by the decoder unchanged.

#include "link/status_encode.h"

#include "link/realtime.h"
#include "link/status_record.h"
#include "test_status_support.h"

#include <gtest/gtest.h>

using namespace tamble;

namespace {

StatusRecordFields Sample(int bits, char model, char revision)
{
    StatusRecordFields f;
    f.firstReadingClock = "05041515030198";
    f.lastReadingClock = "10302016030298";
    f.clockText = "00151120120598";
    f.statusFlags = 0x09;
    f.rateCode = 'U';
    f.channelFlags = 0x2F;
    f.inputTypes = 0x249;   // every channel temp/RH
    f.phaseByte = 0xA7;
    f.memoryPointer = 0x7ABC;
    f.labels = {"North wall", "South;Deg X", "", "Roof [2.25]"};
    f.description = "site1a";
    f.currentCounts = bits == 12 ? std::array<std::uint16_t, 4>{1, 4095, 2048, 77}
                    : bits == 10 ? std::array<std::uint16_t, 4>{1, 1023, 512, 77}
                                 : std::array<std::uint16_t, 4>{1, 255, 128, 77};
    f.batteryByte = 111;
    f.stationAddress = 0x1F;
    f.scalingTexts = {"A", "0.0000100.00", "", "C"};
    f.scalingCodes = {'A', '3', '0', 'C'};
    f.revision = revision;
    f.modelDigit = model;
    f.resolutionBits = bits;
    f.lastBank = 'C';
    return f;
}

} // namespace

TEST(StatusEncode, EncodedRecordsDecodeToTheSameFields)
{
    struct Case { int bits; char model; char revision; int length; int capacity; };
    const std::vector<Case> cases = {
        {12, '1', 'q', 254, 21504}, {10, '1', 'q', 253, 25800}, {8, '1', 'q', 253, 32256},
        {12, '6', 'q', 254, 86016}, {10, '5', 'p', 253, 25800}, {8, '6', 'S', 253, 129024},
    };
    for (const auto& c : cases) {
        const StatusRecordFields f = Sample(c.bits, c.model, c.revision);
        const QByteArray rec = EncodeStatusRecord(f);
        ASSERT_EQ(rec.size(), c.length) << c.bits;
        StatusContext ctx;
        ctx.twelveHourClock = false;
        LoggerInfo info;
        MemoryGeometry g;
        ASSERT_EQ(DecodeStatusRecord(rec, ctx, info, g).outcome, StatusOutcome::Decoded) << c.bits;
        EXPECT_EQ(info.resolutionBits, c.bits);
        EXPECT_EQ(info.memoryCapacity, c.capacity);
        EXPECT_EQ(info.firstReadingClock, f.firstReadingClock);
        EXPECT_EQ(info.lastReadingClock, f.lastReadingClock);
        EXPECT_EQ(info.statusFlags & 0x3F, f.statusFlags);
        EXPECT_EQ(info.rateCode, f.rateCode);
        EXPECT_EQ(info.channelFlags, f.channelFlags);
        EXPECT_EQ(info.inputTypes, f.inputTypes);
        EXPECT_EQ(info.phaseByte, f.phaseByte);
        EXPECT_EQ(info.memoryPointer, f.memoryPointer);
        EXPECT_EQ(info.labels[1], QByteArray("South;Deg X").leftJustified(24));
        EXPECT_EQ(info.description, QByteArray("site1a").leftJustified(31));
        EXPECT_EQ(info.stationAddress, f.stationAddress);
        EXPECT_EQ(info.scalingTexts[1], QByteArray("0.0000100.00"));
        EXPECT_EQ(info.scalingCodes, f.scalingCodes);
        EXPECT_EQ(info.revision, f.revision);
        EXPECT_EQ(info.modelDigit, f.modelDigit);
        EXPECT_EQ(info.batteryByte, f.batteryByte);
        EXPECT_EQ(info.lastBank, c.model == '6' ? 'C' : 'A');
        EXPECT_FLOAT_EQ(info.labelOffsets[3], 2.25f);
        const auto raw = DecodeReadingFields(info.currentReadings, c.bits);
        ASSERT_TRUE(raw.has_value());
        EXPECT_EQ(raw->counts, f.currentCounts);
        EXPECT_TRUE(ReadingChecksumValid(rec)) << "the record ends in a checksum";
    }
}

TEST(StatusEncode, ResolutionBitsOfStatusByteOneAsTheDataFileExpectsThem)
{
    struct Case { int bits; char model; const char* flagsHex; };
    for (const Case c : {Case{8, '1', "09"}, Case{10, '1', "C9"}, Case{12, '1', "C9"}, Case{12, '5', "89"},
                         Case{10, '6', "C9"}}) {
        StatusRecordFields f = Sample(c.bits, c.model, 'q');
        f.statusFlags = 0xC9;  // the caller's resolution bits are replaced
        if (c.bits == 8)
            f.statusFlags = 0x09;
        EXPECT_EQ(EncodeStatusRecord(f).mid(28, 2), QByteArray(c.flagsHex)) << c.bits << c.model;
    }
}

TEST(StatusEncode, GoldenRecordSurvivesDecodeAndEncode)
{
    const QByteArray golden = status_test::Golden12Bit();
    StatusContext ctx;
    LoggerInfo info;
    MemoryGeometry g;
    ASSERT_EQ(DecodeStatusRecord(golden, ctx, info, g).outcome, StatusOutcome::Decoded);
    const auto counts = DecodeReadingFields(info.currentReadings, 12)->counts;
    const QByteArray again = EncodeStatusRecord(FieldsFromLoggerInfo(info, counts));
    // Everything up to the battery byte is the same; the last two characters are a checksum.
    EXPECT_EQ(again.left(252), golden.left(252));
}

TEST(StatusEncode, OldRevisionsSendNoInputTypes)
{
    StatusRecordFields f = Sample(10, '1', 'P');
    EXPECT_EQ(EncodeStatusRecord(f).mid(34, 2), QByteArray("@@"));
    f.revision = 'Q';
    EXPECT_EQ(EncodeStatusRecord(f).mid(34, 2), InputTypeChars(0x249));
    EXPECT_EQ(InputTypeChars(0), QByteArray("@@"));
    EXPECT_EQ(InputTypeChars(73), QByteArray("IA"));
}

TEST(StatusEncode, RealTimeLinesDecodeBackToTheirCounts)
{
    struct Case { int bits; std::array<std::uint16_t, 4> counts; int length; };
    for (const Case c : {Case{12, {0, 4095, 1234, 3000}, 14}, Case{10, {0, 1023, 513, 3}, 14},
                         Case{8, {0, 255, 128, 7}, 12}}) {
        const QByteArray line = EncodeRealTimeLine(c.counts, 100, c.bits);
        EXPECT_EQ(line.size(), c.length);
        EXPECT_TRUE(ReadingChecksumValid(line));
        const auto raw = DecodeReadingFields(TrimRealTimeLine(">" + line), c.bits);
        ASSERT_TRUE(raw.has_value());
        EXPECT_EQ(raw->counts, c.counts) << c.bits;
    }
}

TEST(StatusEncode, LoggerClockTextOfADateAndTime)
{
    // Sunday 15 March 1998, 15:04:05
    EXPECT_EQ(LoggerClockText(QDateTime(QDate(1998, 3, 15), QTime(15, 4, 5))), QByteArray("05041515030198"));
    // Saturday 1 January 2005
    EXPECT_EQ(LoggerClockText(QDateTime(QDate(2005, 1, 1), QTime(0, 0, 0))), QByteArray("00000001010705"));
    EXPECT_EQ(HexByte(0xAB), QByteArray("AB"));
    EXPECT_EQ(WithCheckDigits("C00"), QByteArray("C005D"));
}
