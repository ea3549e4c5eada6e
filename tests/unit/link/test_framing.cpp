// Command frames, checksums and the speed tables, against literal wire bytes.
#include "link/framing.h"

#include <gtest/gtest.h>

using namespace tamble;

struct FrameCase {
    QByteArray body;
    char revision;
    int station;
    QByteArray wire;  // between '>' and CR
};

class CommandFrame : public ::testing::TestWithParam<FrameCase> {};

TEST_P(CommandFrame, CarriesAddressAndChecksumAsTheLoggerExpects)
{
    const FrameCase c = GetParam();
    EXPECT_EQ(FrameCommand(c.body, c.revision, c.station), c.wire);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, CommandFrame,
    ::testing::Values(FrameCase{"C", 'q', 0, "C005D"}, FrameCase{"C", 'q', 5, "C0558"},
                      FrameCase{"DA01D0", 'q', 0, "DA01D00046"},
                      // Below 'S' no station address is carried, whatever the settings say.
                      FrameCase{"C", 'R', 5, "CBD"}, FrameCase{"C", 'S', 5, "C0558"},
                      // Lower-case revisions rank above upper-case ones.
                      FrameCase{"B", 'e', 0, "B005E"},
                      // Checksum digits above 9 are upper case.
                      FrameCase{"DA0200", 'q', 255, "DA0200FF2D"}, FrameCase{"F05", 'A', 0, "F0555"}));

struct ResponseCase {
    QByteArray line;
    bool valid;
};

class ResponseChecksum : public ::testing::TestWithParam<ResponseCase> {};

TEST_P(ResponseChecksum, SumWithTheTrailingHexPairMustBeZeroModulo256)
{
    EXPECT_EQ(ResponseChecksumValid(GetParam().line), GetParam().valid) << GetParam().line.constData();
}

INSTANTIATE_TEST_SUITE_P(Lines, ResponseChecksum,
                         ::testing::Values(ResponseCase{"1234" "36", true},   // 0x31+0x32+0x33+0x34 = 0xCA
                                           ResponseCase{"1234" "37", false},
                                           ResponseCase{"OK" "66", true},     // 0x9A + 0x66 = 256 exactly
                                           ResponseCase{"ZZZZ" "98", true},   // 0x168 + 0x98 = 0x200
                                           ResponseCase{"FF" "74", true},     // 0x8C + 0x74 = 256
                                           ResponseCase{"1234" "3a", false},  // lower case reads wrong
                                           ResponseCase{"00", true}, ResponseCase{"0", false},
                                           ResponseCase{"", false}));

TEST(WireTables, EchoBytesBySettingsBaud)
{
    const std::pair<int, int> table[] = {{1200, 0xFF}, {2400, 0xFE}, {4800, 0xF8},
                                         {9600, 0x80}, {19200, 0x00}, {57600, 0x00}};
    for (const auto& [baud, echo] : table)
        EXPECT_EQ(EchoByteForBaud(baud), echo) << baud;
}

TEST(WireTables, BaudCodesOfTheSpeedCommand)
{
    const std::pair<int, char> table[] = {{1200, 'A'}, {2400, 'B'}, {4800, 'D'}, {9600, 'H'},
                                          {19200, 'P'}, {28800, 'X'}, {38400, '`'}, {57600, 'p'}};
    for (const auto& [baud, code] : table)
        EXPECT_EQ(BaudCode(baud), code) << baud;
}

TEST(WireTables, BaudLettersAfterAnRAnswer)
{
    const std::pair<int, char> table[] = {{1200, 'A'}, {2400, 'B'}, {4800, 'C'},
                                          {9600, 'D'}, {19200, 'E'}, {38400, 'E'}};
    for (const auto& [baud, letter] : table)
        EXPECT_EQ(BaudLetter(baud), letter) << baud;
}

TEST(WireTables, BaseTimeoutTicksBySettingsBaud)
{
    const std::pair<int, int> table[] = {{1200, 49}, {2400, 29}, {4800, 18}, {9600, 36},
                                         {19200, 9}, {28800, 9}, {57600, 9}, {300, -1}};
    for (const auto& [baud, ticks] : table)
        EXPECT_EQ(BaseTimeoutForBaud(baud), ticks) << baud;
}

TEST(WireTables, RealTimeReadingIsTrimmedToTheGreaterThanSign)
{
    EXPECT_EQ(TrimRealTimeReading("abc>0102030405060708"), QByteArray("0102030405060708"));
    // Only while more than 17 characters remain is the front dropped; then the first goes.
    EXPECT_EQ(TrimRealTimeReading("xx>0102030405AB"), QByteArray("x>0102030405AB"));
}
