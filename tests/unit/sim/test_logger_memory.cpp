// The virtual logger's memory image: what a download of it gives back through the
// data-file loader must be exactly the readings the logger recorded.

#include "logger_memory.h"
#include "logger_sim.h"
#include "sim_harness.h"

#include "datafiles/dataset.h"
#include "datafiles/tl1_loader.h"
#include "writer/tl1_writer.h"

#include <gtest/gtest.h>

namespace tamble::sim {
namespace {

struct ImageCase {
    int bits;
    std::uint8_t mask;
    bool wrapped;
    int pointer;
    const char* name;
};

std::vector<int> Channels(std::uint8_t mask)
{
    std::vector<int> out;
    for (int ch = 0; ch < 4; ++ch)
        if (mask & (1 << ch))
            out.push_back(ch);
    return out;
}

qint64 ReadingsIn(int bits, qint64 bytes)
{
    if (bits == 8)
        return bytes;
    if (bits == 10)
        return 4 * (bytes / 5) + bytes % 5;
    return 2 * (bytes / 3) + bytes % 3;
}

class DownloadedImage : public ::testing::TestWithParam<ImageCase> {};

TEST_P(DownloadedImage, LoaderReadsBackTheRecordedReadings)
{
    const ImageCase& p = GetParam();
    const ReadingSource source(7, p.bits == 8 ? 255 : p.bits == 10 ? 1023 : 4095);
    LoggerMemory memory(p.bits, 1);
    const int phase = memory.record(p.mask, p.pointer, 0, p.wrapped, source);

    Tl1Recording rec;
    Tl1Header& h = rec.header;
    h.typeCodes = {'3', '3', '3', '3'};
    h.resolutionBits = p.bits;
    h.modelDigit = '1';
    h.firstStamp = "Fri 15-Mar-2024 10:30:00";
    h.lastStamp = "Fri 15-Mar-2024 12:30:00";
    h.clockStamp = "Fri 15-Mar-2024 12:31:00";
    h.description = "image";
    h.statusByte1 = (p.bits == 8 ? 0 : 0xC0) | (p.wrapped ? 0x09 : 0);
    h.rateCode = 'G';
    h.channelFlags = p.mask;
    h.endPointer = memory.pointer();
    h.phaseByte = phase;
    for (auto& t : h.scalingTexts)
        t = "0.0000100.00";
    rec.banks.push_back(memory.bytes(0, LoggerMemory::kDataStart, kMemoryImageBytes));

    DataSet data;
    LoadOptions options;
    const LoadResult loaded = LoadTl1FromBytes(data, FormatTl1(rec), options);
    ASSERT_TRUE(loaded.ok) << qPrintable(loaded.message);

    const std::vector<int> channels = Channels(p.mask);
    const qint64 C = static_cast<qint64>(channels.size());
    const int S = memory.bankBytes();
    const qint64 written = ReadingsIn(p.bits, (p.wrapped ? S : 0) + memory.pointer() - 512);
    const qint64 oldest = p.wrapped ? written - (p.bits == 8 ? 32256 : p.bits == 10 ? 25800 : 21504) : 0;
    const int P = p.bits == 10 ? phase & 3 : p.bits == 12 ? phase & 1 : 0;
    ASSERT_GT(data.readingsPerChannel, 0);
    for (int n = 0; n < static_cast<int>(C); ++n) {
        for (int i = 0; i < data.readingsPerChannel; ++i) {
            const qint64 g = oldest + static_cast<qint64>(i) * C + n;
            int expected = source.value(channels[static_cast<size_t>(n)], g / C);
            if (p.bits == 10 && P > 0 && g == written - P)
                expected = (expected & ~3) | P; // the group position shares the phase byte's low bits
            ASSERT_EQ(data.reading(n, i), expected) << "channel position " << n << " reading " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Images, DownloadedImage,
    ::testing::Values(ImageCase{8, 0x03, false, 512 + 96 * 5, "EightBitTwoChannels"},
                      ImageCase{10, 0x0F, false, 512 + 75 * 3, "TenBitFourChannels"},
                      ImageCase{12, 0x07, false, 512 + 96 * 4 + 1, "TwelveBitThreeChannelsPartialGroup"},
                      ImageCase{8, 0x01, true, 1000, "EightBitWrapped"},
                      ImageCase{10, 0x07, true, 512 + 3007, "TenBitWrappedPhaseTwo"},
                      ImageCase{10, 0x01, true, 512 + 3003, "TenBitWrappedPhaseThree"},
                      ImageCase{12, 0x01, true, 512 + 3001, "TwelveBitWrappedPhaseOne"}),
    [](const ::testing::TestParamInfo<ImageCase>& info) { return std::string(info.param.name); });

TEST(LoggerMemoryLayout, PointerIsMovedBackToTheEndOfTheLastWholeTimeStep)
{
    const ReadingSource source(1, 4095);
    LoggerMemory memory(12, 1);
    memory.record(0x03, 512 + 100, 0, false, source); // 100 bytes: 66 readings, 33 steps
    EXPECT_EQ(memory.pointer(), 512 + 99);
}

TEST(LoggerMemoryLayout, BlockPastTheTopOfASingleBankContinuesAtItsStart)
{
    const ReadingSource source(1, 255);
    LoggerMemory memory(8, 1);
    memory.record(0x01, 1000, 0, true, source);
    const QByteArray block = memory.bytes(0, 32768 - 10, 96);
    EXPECT_EQ(block.left(10), memory.bytes(0, 32758, 10));
    EXPECT_EQ(block.mid(10), memory.bytes(0, 512, 86));
}

TEST(LoggerMemoryLayout, BlockPastTheTopOfABankContinuesInTheNextBank)
{
    const ReadingSource source(1, 255);
    LoggerMemory memory(8, 2);
    memory.record(0x01, 2000, 1, false, source);
    EXPECT_EQ(memory.bytes(0, 32768 - 4, 8).mid(4), memory.bytes(1, 512, 4));
    EXPECT_EQ(memory.lastBank(), 1);
    EXPECT_EQ(memory.byteAt(1, 512), static_cast<std::uint8_t>(source.value(0, 32256)));
}

TEST(LoggerMemoryLayout, ConfigurationAreaIsSharedBelowAddress512)
{
    LoggerMemory memory(12, 4);
    memory.setByte(2, 0x1D0, 0x99);
    EXPECT_EQ(memory.byteAt(0, 0x1D0), 0x99);
}

TEST(LoggerMemoryLayout, ReadingsStayInsideTheCountRange)
{
    for (int full : {255, 1023, 4095}) {
        const ReadingSource source(99, full);
        for (int ch = 0; ch < 4; ++ch) {
            for (qint64 step = 0; step < 5000; step += 7) {
                const int v = source.value(ch, step);
                ASSERT_GE(v, 1);
                ASSERT_LT(v, full);
            }
        }
    }
}

TEST(LoggerMemoryLayout, FourBankDefaultLoggerHasFullBanksBeforeTheLast)
{
    SimConfig c;
    c.banks = 4;
    c.model = '6';
    c.bits = 8;
    c.channelMask = 0x01;
    testing::Harness h(c);
    EXPECT_EQ(h.logger().lastBank(), 3);
    EXPECT_NE(h.logger().memory().byteAt(0, 32767), 0xFF);
    EXPECT_NE(h.logger().memory().byteAt(2, 32767), 0xFF);
}

} // namespace
} // namespace tamble::sim
