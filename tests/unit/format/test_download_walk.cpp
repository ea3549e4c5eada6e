#include "format/download_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tamble {
namespace {

// The walk as the lines of a data file: "A0200" for a block of bank A at
// 0x200, "ZA" for a bank line.
std::vector<std::string> Walk(const DownloadWalkStart& start)
{
    std::vector<std::string> out;
    DownloadWalk walk(start);
    char text[8];
    do {
        std::snprintf(text, sizeof text, "%c%04X", walk.bank(), walk.address());
        out.emplace_back(text);
        if (const char bank = walk.advance())
            out.push_back(std::string("Z") + bank);
    } while (!walk.finished() && out.size() < 2000);
    return out;
}

struct WalkCase {
    const char* name;
    DownloadWalkStart start;
    std::size_t lines;                    // blocks and bank lines
    std::vector<std::string> head;        // first lines
    std::vector<std::string> tail;        // last lines
};

class DownloadWalkOrder : public ::testing::TestWithParam<WalkCase> {};

TEST_P(DownloadWalkOrder, BlocksAndBankLinesComeInTheDownloadsOrder)
{
    const WalkCase& c = GetParam();
    const auto lines = Walk(c.start);
    ASSERT_EQ(lines.size(), c.lines);
    for (std::size_t i = 0; i < c.head.size(); ++i)
        EXPECT_EQ(lines[i], c.head[i]) << i;
    for (std::size_t i = 0; i < c.tail.size(); ++i)
        EXPECT_EQ(lines[lines.size() - c.tail.size() + i], c.tail[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Walks, DownloadWalkOrder,
    ::testing::Values(
        // 8 bit, one bank, three blocks written: 512 + 3 x 96 = 800.
        WalkCase{"EightBitThreeBlocks", {8, '1', false, 800, 'A'}, 3, {"A0200", "A0260", "A02C0"}, {}},
        // A pointer inside the first block still reads that block.
        WalkCase{"EightBitPartOfOneBlock", {8, '1', false, 513, 'A'}, 1, {"A0200"}, {}},
        // 10 bit, wrapped at 0x7000: up to the top (32762), round to 512, back to the pointer.
        WalkCase{"TenBitWrapped", {10, '1', true, 0x7000, 'A'}, 430, {"A7000", "A704B"}, {"A6F6A", "A6FB5"}},
        // 12 bit, whole memory not wrapped: 336 blocks of 96 bytes.
        WalkCase{"TwelveBitFull", {12, '5', false, 32768, 'A'}, 336, {"A0200"}, {"A7FA0"}},
        // Four banks not wrapped, writing in B at 512 + 2 x 96: all of A, its bank line, two blocks of B.
        WalkCase{"FourBanksIntoB", {8, '6', false, 704, 'B'}, 336 + 1 + 2, {"A0200"}, {"A7FA0", "ZA", "B0200", "B0260"}},
        // Four banks wrapped at 800 in C: from the pointer round all four banks,
        // a bank line where each of D, A, B passes the pointer, ending in C.
        WalkCase{"FourBanksWrapped", {8, '6', true, 800, 'C'}, 4 * 336 + 3, {"C0320", "C0380"}, {"B7FA0", "C0200", "C0260", "C02C0"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DownloadWalk, WrappedFourBanksWriteTheLetterOfTheBankThatBegins)
{
    const auto lines = Walk({8, '6', true, 800, 'C'});
    std::vector<std::string> bankLines;
    for (const auto& l : lines)
        if (l[0] == 'Z')
            bankLines.push_back(l);
    EXPECT_EQ(bankLines, (std::vector<std::string>{"ZD", "ZA", "ZB"}));
}

TEST(DownloadWalk, NoDownloadReadsMoreThanAWholeMemory)
{
    // A pointer the wrapped walk never meets again (not on a block boundary).
    DownloadWalk one({10, '1', true, 0x7001, 'A'});
    DownloadWalk four({8, '6', true, 801, 'A'});
    EXPECT_EQ(one.blockLimit(), 430);
    EXPECT_EQ(four.blockLimit(), 1344);
    EXPECT_EQ(Walk({10, '1', true, 0x7001, 'A'}).size(), 430u);
    int blocks = 0;
    for (const auto& l : Walk({8, '6', true, 801, 'A'}))
        blocks += l[0] != 'Z';
    EXPECT_EQ(blocks, 1344);
}

} // namespace
} // namespace tamble
