#include "format/hex.h"
#include "format/memory_layout.h"
#include "format/status_flags.h"
#include "util/calendar.h"

#include <gtest/gtest.h>

namespace tamble {
namespace {

TEST(MemoryLayout, CapacitiesByResolutionAndModel)
{
    struct Case { int bits; char model; int capacity; int whole; int imageBytes; int block; int fullScale; };
    for (const Case c : {Case{8, '1', 32256, 32256, 32256, 96, 255}, Case{10, '5', 25800, 25800, 32250, 75, 1023},
                         Case{12, '5', 21504, 21504, 32256, 96, 4095}, Case{8, '6', 32256, 129024, 32256, 96, 255},
                         Case{10, '6', 25800, 103200, 32250, 75, 1023}, Case{12, '6', 21504, 86016, 32256, 96, 4095},
                         Case{9, '1', 32256, 32256, 32256, 96, 255}}) {
        const MemoryLayout& l = LayoutForBits(c.bits);
        EXPECT_EQ(MemoryCapacityFor(c.bits), c.capacity) << c.bits;
        EXPECT_EQ(LoggerMemoryCapacity(c.bits, c.model), c.whole) << c.bits << c.model;
        EXPECT_EQ(l.imageBytes, c.imageBytes) << c.bits;
        EXPECT_EQ(l.blockBytes, c.block) << c.bits;
        EXPECT_EQ(l.fullScaleCount, c.fullScale) << c.bits;
    }
    EXPECT_EQ(kTenBitLayout.topAddress(), 32762);
    EXPECT_EQ(kEightBitLayout.blocksPerImage(), 336);
    EXPECT_EQ(kTenBitLayout.blocksPerImage(), 430);
    EXPECT_EQ(LayoutForResolutionType(4), nullptr);
    EXPECT_EQ(LayoutForResolutionType(3)->capacity, 21504);
}

TEST(StatusFlags, ModeFlagsGiveTheResolution)
{
    struct Case { std::uint8_t flags; int bits; };
    for (const Case c : {Case{0x00, 8}, Case{0x4F, 8}, Case{0x80, 12}, Case{0x89, 12}, Case{0xC0, 10}, Case{0xC8, 10}})
        EXPECT_EQ(ResolutionBitsFromModeFlags(c.flags), c.bits) << int(c.flags);
}

TEST(Hex, DigitsAndChecksums)
{
    EXPECT_EQ(HexByte(0x0F), QByteArray("0F"));
    EXPECT_EQ(HexWord(0x7FFA), QByteArray("7FFA"));
    EXPECT_EQ(Checksum("C00"), 0x5D);
    EXPECT_EQ(WithCheckDigits("D" "A" "0200"), QByteArray("DA0200") + HexByte(Checksum("DA0200")));
    EXPECT_EQ(Checksum(""), 0x00);
    EXPECT_TRUE(ResponseChecksumValid("C005D"));
    EXPECT_FALSE(ResponseChecksumValid("C005E"));
}

TEST(Hex, TheThreeReadingsOfADigitDifferOnlyOutsideUpperCaseHex)
{
    // Upper-case pairs read alike everywhere.
    EXPECT_EQ(HexPairValue("7E", 0), 0x7E);
    EXPECT_EQ(ReadingHexPair('7', 'E'), 0x7E);
    EXPECT_EQ(LooseHexByte("7E"), 0x7E);
    // Lower case: refused, read off by the letter's distance, read as upper case.
    EXPECT_EQ(HexPairValue("7e", 0), -1);
    EXPECT_EQ(ReadingHexPair('7', 'e'), static_cast<std::uint8_t>(7 * 16 + ('e' - 'A' + 10)));
    EXPECT_EQ(LooseHexByte("7e"), 0x7E);
    EXPECT_FALSE(ResponseChecksumValid("C005d"));
    EXPECT_FALSE(ReadingChecksumValid("C005d"));
    EXPECT_TRUE(ReadingChecksumValid("C005D"));
}

TEST(Calendar, DayNumbersWeekdaysAndMonths)
{
    EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(DaysFromCivil(2000, 3, 1), 11017);
    EXPECT_EQ(DaysFromCivil(1600, 1, 1), -135140);
    EXPECT_EQ(WeekdayFromDays(DaysFromCivil(2026, 12, 9)), 3);   // a Wednesday
    EXPECT_EQ(WeekdayFromDays(DaysFromCivil(1600, 1, 1)), 6);    // a Saturday
    for (const std::int64_t days : {-135140LL, -1LL, 0LL, 11016LL, 11017LL, 20796LL}) {
        std::int64_t y = 0;
        int m = 0;
        int d = 0;
        CivilFromDays(days, y, m, d);
        EXPECT_EQ(DaysFromCivil(y, m, d), days);
    }
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2024, 4), 30);
    EXPECT_EQ(FloorDiv(-1, 7), -1);
    EXPECT_EQ(FloorMod(-1, 7), 6);
}

} // namespace
} // namespace tamble
