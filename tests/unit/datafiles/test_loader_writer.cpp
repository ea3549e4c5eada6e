// The .TL1 writer: header lines byte for byte, block lines with their
// checksum, the download's block order and bank lines, and the way back from
// a file to memory images.

#include "test_loader_support.h"

#include <QList>

#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::testing;

namespace {

QList<QByteArray> DataLines(const QByteArray& file, int headerLines)
{
    QList<QByteArray> lines = file.split('\n');
    for (auto& l : lines)
        if (l.endsWith('\r'))
            l.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.mid(headerLines);
}

QByteArray Hex1(int v)
{
    return QByteArray::number(v & 0xFF, 16).rightJustified(2, '0').toUpper();
}

// The first three bytes of a block read at `address` of ImageWithAddresses().
QByteArray Hex3(int address)
{
    return Hex1(address / 3) + Hex1((address + 1) / 3) + Hex1((address + 2) / 3);
}

QByteArray ImageWithAddresses()
{
    // Every byte holds the low byte of (address / 3), so a block shows where
    // it was read from.
    QByteArray image(kMemoryImageBytes, '\0');
    for (int i = 0; i < kMemoryImageBytes; ++i)
        image[i] = static_cast<char>(((512 + i) / 3) & 0xFF);
    return image;
}

TEST(Tl1Writer, BlockLineIsUpperCaseHexWithTheResponseChecksum)
{
    const std::uint8_t block[] = {0x00, 0xFF, 0xa5};
    // '0'+'0'+'F'+'F'+'A'+'5' = 48+48+70+70+65+53 = 354; 354 mod 256 = 98; 256-98 = 158 = 0x9E
    EXPECT_EQ(FormatBlockLine(block), QByteArray("00FFA59E"));
}

TEST(Tl1Writer, HeaderLinesFollowTheDownloadLayout)
{
    Tl1Header h;
    h.referenceCode = 'C';
    h.typeCodes = {'A', '3', '0', 'h'};
    h.revision = 'q';
    h.modelDigit = '5';
    h.inputTypeChars = "AB";
    h.resolutionBits = 10;
    h.batteryVolts = 3.63f;
    h.lastBank = 'A';
    h.firstStamp = "Thu  5-Mar-1998  9:07:03";
    h.lastStamp = "Thu  5-Mar-1998 19:07:03";
    h.description = "Cold store";
    h.clockStamp = "Fri  6-Mar-1998  8:00:00";
    h.pcClockText = "06/03/1998 08:00:05";
    h.amPm = false;
    h.labels = {"Air", "Door", "", "Coil"};
    h.statusByte1 = 0xCA;
    h.rateCode = 'T';
    h.channelFlags = 0x0B;
    h.endPointer = 1000;
    h.phaseByte = 6;
    h.scalingTexts = {"A           ", "0.0000100.00", "            ", "k           "};
    EXPECT_EQ(FormatTl1Header(h),
              QByteArray("CA30hq5ABB3.6 A\r\n"
                         "Thu  5-Mar-1998  9:07:03\r\n"
                         "Thu  5-Mar-1998 19:07:03\r\n"
                         "Cold store\r\n"
                         "Fri  6-Mar-1998  8:00:00    06/03/1998 08:00:05\r\n"
                         "Air\r\nDoor\r\n\r\nCoil\r\n"
                         "202\r\n84\r\n11\r\n1000 6\r\n"
                         "A           \r\n0.0000100.00\r\n            \r\nk           \r\n"));
}

TEST(Tl1Writer, IdentificationLineVariants)
{
    Tl1Header h = TestHeader(12, 1, '1');
    h.batteryVolts = 12.37f;
    h.inputTypeChars = "";
    EXPECT_EQ(FormatIdLine(h), QByteArray("A3000q1@@ 12.4 A"));
    h.modelDigit = '6';
    h.lastBank = 'C';
    EXPECT_EQ(FormatIdLine(h), QByteArray("A3000q6@@C12.4 C"));
    h.resolutionBits = 8;
    h.batteryVolts = 0.5f;
    EXPECT_EQ(FormatIdLine(h), QByteArray("A3000q6@@A0.5 C"));
}

TEST(Tl1Writer, LineFiveSeparatorAndCutFollowTheClockOption)
{
    Tl1Header h = TestHeader(8, 1);
    h.clockStamp = "Fri  6-Mar-1998  8:00:00am";
    h.pcClockText = QByteArray(40, 'x');
    h.amPm = true;
    const QList<QByteArray> lines = FormatTl1Header(h).split('\n');
    EXPECT_EQ(lines[4], QByteArray("Fri  6-Mar-1998  8:00:00am  ") + QByteArray(30, 'x') + '\r');
    h.amPm = false;
    h.clockStamp = "Fri  6-Mar-1998  8:00:00";
    EXPECT_EQ(FormatTl1Header(h).split('\n')[4], QByteArray("Fri  6-Mar-1998  8:00:00    ") + QByteArray(32, 'x') + '\r');
}

TEST(Tl1Writer, OlderTwelveBitModelsWriteTheModeByteLess64)
{
    Tl1Header h = TestHeader(12, 1, '1');
    h.statusByte1 = 0xC2;
    EXPECT_EQ(FormatTl1Header(h).split('\n')[9], QByteArray("130\r"));
    h.modelDigit = '5';
    h.statusByte1 = 0x82;
    EXPECT_EQ(FormatTl1Header(h).split('\n')[9], QByteArray("130\r"));
}

TEST(Tl1Writer, OlderIdentificationLineHasNoScalingLines)
{
    Tl1Header h = TestHeader(8, 1);
    h.idLineOverride = "3";
    EXPECT_EQ(FormatTl1Header(h).count('\n'), 13);
}

TEST(Tl1Writer, TenBitPointerOneBlockPastTheStartIsReadInOneBlock)
{
    Tl1Recording rec;
    rec.header = TestHeader(10, 1);
    rec.header.statusByte1 = 0xC2;
    rec.header.endPointer = 587;
    rec.banks = {ImageWithAddresses()};
    const auto lines = DataLines(FormatTl1(rec), 17);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].size(), 152);
}

TEST(Tl1Writer, WrappedMemoryIsReadFromThePointerRoundToItAgain)
{
    Tl1Recording rec;
    rec.header = TestHeader(8, 1);
    rec.header.statusByte1 = 0x0A;
    rec.header.endPointer = 1000;
    rec.banks = {ImageWithAddresses()};
    const auto lines = DataLines(FormatTl1(rec), 17);
    ASSERT_EQ(lines.size(), 336);
    EXPECT_EQ(lines[0].left(6), Hex3(1000));
    // The block that passes the top of memory continues at address 512.
    const int straddle = (32768 - 1000) / 96;   // block starting at 1000 + 96 * 330
    const int start = 1000 + 96 * straddle;
    const int inside = 32768 - start;
    const QByteArray line = lines[straddle];
    EXPECT_EQ(line.mid(2 * (inside - 1), 2), Hex1((32767 / 3) & 0xFF));
    EXPECT_EQ(line.mid(2 * inside, 2), Hex1((512 / 3) & 0xFF));
    EXPECT_EQ(lines[335].mid(2 * 95, 2), Hex1((999 / 3) & 0xFF));
}

TEST(Tl1Writer, MultiBankRecordingMarksTheEndOfEachFullBank)
{
    Tl1Recording rec;
    rec.header = TestHeader(8, 1, '6');
    rec.header.lastBank = 'C';
    rec.header.endPointer = 600;
    rec.banks.assign(4, ImageWithAddresses());
    const auto lines = DataLines(FormatTl1(rec), 17);
    ASSERT_EQ(lines.size(), 336 + 1 + 336 + 1 + 1);
    EXPECT_EQ(lines[336], QByteArray("ZA"));
    EXPECT_EQ(lines[673], QByteArray("ZB"));
    EXPECT_EQ(lines[674].size(), 194);
}

TEST(Tl1Writer, WrappedMultiBankRecordingMarksEachReturnToThePointer)
{
    Tl1Recording rec;
    rec.header = TestHeader(10, 1, '6');
    rec.header.statusByte1 = 0xCA;
    rec.header.lastBank = 'B';
    rec.header.endPointer = 5000;
    rec.banks.assign(4, ImageWithAddresses());
    const auto lines = DataLines(FormatTl1(rec), 17);
    ASSERT_EQ(lines.size(), 4 * 430 + 3);
    EXPECT_EQ(lines[430], QByteArray("ZC"));
    EXPECT_EQ(lines[861], QByteArray("ZD"));
    EXPECT_EQ(lines[1292], QByteArray("ZA"));
}

struct ParseCase {
    const char* name;
    int bits;
    char model;
    bool wrapped;
    int phase;
    int endPointer;
    int sections;
    std::size_t readings;
};

TEST(Tl1Writer, ParsedRecordingWritesTheSameFileAgain)
{
    const ParseCase cases[] = {
        {"EightBitPartial", 8, '1', false, 0, 0, 1, 5000},
        {"TenBitWrappedPhase2", 10, '5', true, 2, 512 + 5 * 3000 + 2, 1, 0},
        {"TwelveBitOlderModel", 12, '1', false, 0, 0, 1, 999},
        {"FourBanksTwelveBitWrapped", 12, '6', true, 1, 512 + 3 * 500 + 1, 4, 0},
        {"ThreeBanksEightBit", 8, '6', false, 0, 0, 1, 2 * 32256 + 77},
    };
    for (const auto& c : cases) {
        RecordingPlan plan;
        plan.header = TestHeader(c.bits, 0x3, c.model);
        plan.header.lastBank = c.wrapped && c.model == '6' ? 'D' : 'A';
        plan.wrapped = c.wrapped;
        plan.phase = c.phase;
        plan.endPointer = c.endPointer;
        plan.sections = c.sections;
        plan.readings = TestReadings(c.wrapped ? static_cast<std::size_t>(MemoryCapacityFor(c.bits)) * c.sections : c.readings, c.bits);
        const QByteArray file = FormatTl1(MakeRecording(plan));
        const Result<Tl1Recording> parsed = ParseTl1Recording(file);
        ASSERT_TRUE(parsed.has_value()) << c.name;
        EXPECT_EQ(parsed->header.endPointer, c.wrapped ? c.endPointer : parsed->header.endPointer) << c.name;
        EXPECT_TRUE(FormatTl1(*parsed) == file) << c.name;
    }
}

TEST(Tl1Writer, ParsingAHeaderWithoutItsThirteenLinesFails)
{
    EXPECT_FALSE(ParseTl1Recording("A3000q1@@ 3.6 A\r\nThu\r\n").has_value());
}

} // namespace
