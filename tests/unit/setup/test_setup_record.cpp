// The 781-byte setup record: every field at its offset, the defaults, and
// damaged length bytes.

#include "setup/setup_record.h"

#include <gtest/gtest.h>

using namespace tamble;

namespace {

// Writes literal bytes into an expected image at a literal offset.
void poke(QByteArray& image, int offset, const QByteArray& bytes)
{
    ASSERT_LE(offset + bytes.size(), image.size());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        image[offset + i] = bytes[i];
}

QByteArray lit(const char* bytes, int n) { return QByteArray(bytes, n); }

} // namespace

TEST(SetupRecord, NewRecordIsSevenHundredEightyOneZeroBytes)
{
    const SetupRecord r;
    EXPECT_EQ(r.bytes(), QByteArray(781, '\0'));
}

TEST(SetupRecord, EveryFieldIsWrittenAtItsOffset)
{
    SetupRecord r;
    r.setRateCode('G');
    r.setStartRun(1, 2);
    r.setChannelOn(1, true);
    r.setChannelOn(3, true);
    r.setChannelOn(4, true);
    r.setDescription("Hello");
    r.setChannelLabel(1, "abc");
    r.setChannelLabel(2, "Ch 2");
    r.setChannelLabel(3, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"); // cut to 24
    r.setChannelLabel(4, "");
    r.setStartDate(147367);   // 24 June 2003
    r.setStartTime(36065);    // 10:01:05
    r.setScalingCode(1, 'A');
    r.setScalingCode(2, '`'); // S type, Tcq-B02
    r.setScalingCode(3, 'k');
    r.setScalingCode(4, 'X');
    r.setInputType(1, 1);
    r.setInputType(2, 2);
    r.setInputType(3, 5);
    r.setInputType(4, 4);
    r.setTableName(1, "TEMP1");
    r.setTableName(2, "123456789"); // cut to 8
    r.setTableName(4, "X");
    r.setLinearValues(1, "0.0000100.00");
    r.setLinearValues(2, "-10.00050.000");
    r.setLinearValues(4, "1");
    r.setDialOutWeekday(3);
    r.setDialOutMonthDay(15);
    r.setDialOutKind('b');
    r.setStartDateIsToday(1);
    r.setResolution(2);

    QByteArray expected(781, '\0');
    poke(expected, 0, "G");
    poke(expected, 1, lit("\x0a", 1));
    poke(expected, 2, lit("\x01\x00\x01\x01", 4));
    poke(expected, 6, "\x05" "Hello");
    poke(expected, 38, "\x03" "abc");
    poke(expected, 63, "\x04" "Ch 2");
    poke(expected, 88, "\x18" "ABCDEFGHIJKLMNOPQRSTUVWX");
    poke(expected, 138, lit("\xa7\x3f\x02\x00", 4));
    poke(expected, 142, lit("\xe1\x8c\x00\x00", 4));
    poke(expected, 146, "A`kX");
    poke(expected, 150, lit("\x51\x09", 2));
    poke(expected, 152, "\x05" "TEMP1");
    poke(expected, 161, "\x08" "12345678");
    poke(expected, 179, "\x01" "X");
    poke(expected, 188, "\x0c" "0.0000100.00");
    poke(expected, 201, "\x0c" "-10.00050.00");
    poke(expected, 227, "\x01" "1");
    poke(expected, 776, lit("\x03\x0f\x62\x01\x02", 5));
    EXPECT_EQ(r.bytes(), expected);
}

TEST(SetupRecord, FieldsReadBackFromALiteralImage)
{
    QByteArray image(781, '\0');
    poke(image, 0, ":");
    poke(image, 1, lit("\x19", 1)); // start 3, run 1
    poke(image, 2, lit("\x00\x01\x00\x01", 4));
    poke(image, 6, "\x04" "Site");
    poke(image, 113, "\x02" "Rh");
    poke(image, 138, lit("\xff\xff\xff\xff", 4));
    poke(image, 142, lit("\x7f\x51\x01\x00", 4)); // 86399
    poke(image, 146, "^_`a");
    poke(image, 150, lit("\x00\x08", 2)); // channel 4 pulse
    poke(image, 170, "\x03" "abc");
    poke(image, 214, "\x0c" "0.0000100.00");
    poke(image, 776, lit("\x07\x1f\x61\x00\x03", 5));

    const auto r = SetupRecord::fromBytes(image);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->rateCode(), ':');
    EXPECT_EQ(r->startChoice(), 3);
    EXPECT_EQ(r->runChoice(), 1);
    EXPECT_FALSE(r->channelOn(1));
    EXPECT_TRUE(r->channelOn(2));
    EXPECT_FALSE(r->channelOn(3));
    EXPECT_TRUE(r->channelOn(4));
    EXPECT_EQ(r->channelsOn(), 2);
    EXPECT_EQ(r->description(), QByteArray("Site"));
    EXPECT_EQ(r->channelLabel(4), QByteArray("Rh"));
    EXPECT_EQ(r->startDate(), -1);
    EXPECT_EQ(r->startTime(), 86399);
    EXPECT_EQ(r->scalingCode(1), '^');
    EXPECT_EQ(r->scalingCode(3), '`');
    EXPECT_EQ(r->inputType(4), 4);
    EXPECT_EQ(r->inputType(1), 0);
    EXPECT_EQ(r->tableName(3), QByteArray("abc"));
    EXPECT_EQ(r->linearValues(3), QByteArray("0.0000100.00"));
    EXPECT_EQ(r->dialOutWeekday(), 7);
    EXPECT_EQ(r->dialOutMonthDay(), 31);
    EXPECT_EQ(r->dialOutKind(), 'a');
    EXPECT_EQ(r->startDateIsToday(), 0);
    EXPECT_EQ(r->resolution(), 3);
}

TEST(SetupRecord, LengthBytesLargerThanTheFieldAreClampedToTheField)
{
    QByteArray image(781, 'x');
    const auto r = SetupRecord::fromBytes(image); // every length byte is 'x' (120)
    ASSERT_TRUE(r);
    EXPECT_EQ(r->description().size(), 31);
    for (int ch = 1; ch <= 4; ++ch) {
        EXPECT_EQ(r->channelLabel(ch).size(), 24);
        EXPECT_EQ(r->tableName(ch).size(), 8);
        EXPECT_EQ(r->linearValues(ch).size(), 12);
    }
    image[6] = char(255);
    EXPECT_EQ(SetupRecord::fromBytes(image)->description(), QByteArray(31, 'x'));
}

TEST(SetupRecord, ChannelsOutsideOneToFourReadEmptyAndAreNeverWritten)
{
    SetupRecord r;
    for (int ch : {-1, 0, 5, 1000}) {
        r.setChannelOn(ch, true);
        r.setChannelLabel(ch, "label");
        r.setScalingCode(ch, 'A');
        r.setInputType(ch, 7);
        r.setTableName(ch, "T");
        r.setLinearValues(ch, "L");
        EXPECT_FALSE(r.channelOn(ch));
        EXPECT_TRUE(r.channelLabel(ch).isEmpty());
        EXPECT_EQ(r.scalingCode(ch), '\0');
        EXPECT_EQ(r.inputType(ch), 0);
    }
    EXPECT_EQ(r.bytes(), QByteArray(781, '\0'));
}

TEST(SetupRecord, ImagesShorterThanTheRecordAreRefusedAndLongerOnesCut)
{
    EXPECT_FALSE(SetupRecord::fromBytes(QByteArray(780, 'a')));
    EXPECT_FALSE(SetupRecord::fromBytes(QByteArray()));
    const auto r = SetupRecord::fromBytes(QByteArray(781, 'a') + QByteArray(50, 'b'));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->bytes(), QByteArray(781, 'a'));
}

TEST(SetupRecord, DefaultRecordHasTheDefaultFieldsAndTheGivenMoment)
{
    const SetupRecord r = DefaultSetupRecord(QDateTime(QDate(2003, 6, 24), QTime(10, 1, 5, 700)));
    QByteArray expected(781, '\0');
    poke(expected, 0, "D");
    poke(expected, 2, lit("\x01\x01\x01\x01", 4));
    poke(expected, 6, "\x1f" "Orvane Scientific Inc.         ");
    poke(expected, 38, "\x18" "Channel 1               ");
    poke(expected, 63, "\x18" "Channel 2               ");
    poke(expected, 88, "\x18" "Channel 3               ");
    poke(expected, 113, "\x18" "Channel 4               ");
    poke(expected, 138, lit("\xa7\x3f\x02\x00", 4));
    poke(expected, 142, lit("\xe1\x8c\x00\x00", 4));
    poke(expected, 146, "CCCC");
    for (int offset : {152, 161, 170, 179})
        poke(expected, offset, "\x05" "1.RVT");
    for (int offset : {188, 201, 214, 227})
        poke(expected, offset, "\x0c" "100.000.0000");
    EXPECT_EQ(r.bytes(), expected);
}

TEST(SetupRecord, DayNumbersCountFromTheFirstOfJanuary1600)
{
    struct Case { QDate date; std::int32_t day; };
    const Case cases[] = {
        {QDate(1600, 1, 1), 0},       {QDate(1600, 3, 1), 60},
        {QDate(1998, 3, 5), 145430},  {QDate(2003, 6, 24), 147367},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SetupDayNumber(c.date), c.day);
        EXPECT_EQ(SetupDate(c.day), c.date);
    }
    EXPECT_EQ(SetupDayNumber(QDate()), -1);
    EXPECT_FALSE(SetupDate(-1).isValid());
    EXPECT_EQ(SetupSecondsOfDay(QTime(23, 59, 59, 999)), 86399);
    EXPECT_EQ(SetupSecondsOfDay(QTime()), -1);
}

TEST(SetupRecord, TextsArePaddedForStorageAndTrimmedForShowing)
{
    EXPECT_EQ(PadWithSpaces("ab", 5), QByteArray("ab   "));
    EXPECT_EQ(PadWithSpaces("abcdef", 3), QByteArray("abc"));
    EXPECT_EQ(TrimTrailingSpaces("ab  c   "), QByteArray("ab  c"));
    EXPECT_EQ(TrimTrailingSpaces("   "), QByteArray());
}
