// A virtual logger serving a data file gives back the same memory and status values.

#include "sim_harness.h"
#include "sim_tl1.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tamble::sim {
namespace {

struct FileCase {
    int bits;
    bool wrapped;
    int banks;
    const char* name;
};

class ServedFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(ServedFile, LoggerFromItsOwnImageFileAnswersTheSameBlocksAndStatus)
{
    SimConfig c;
    c.bits = GetParam().bits;
    c.wrap = GetParam().wrapped;
    c.banks = GetParam().banks;
    c.model = c.banks > 1 ? '6' : '1';
    c.channelMask = 0x07;
    c.labels[2] = "Third";
    c.description = "From a file";
    c.seed = 42;
    testing::Harness original(c);

    QTemporaryDir dir;
    const QString path = dir.filePath("IMAGE.TL1");
    QString error;
    ASSERT_TRUE(WriteImageFile(original.logger(), path, 0, &error)) << qPrintable(error);

    std::vector<QByteArray> log;
    auto served = LoggerFromTl1(SimConfig{}, path, [&log](const QByteArray& l) { log.push_back(l); }, 0,
                                testing::FixedClock(), &error);
    ASSERT_TRUE(served) << qPrintable(error);
    const LoggerSim& a = original.logger();
    const LoggerSim& b = *served;
    EXPECT_EQ(b.config().bits, c.bits);
    EXPECT_EQ(b.memory().pointer(), a.memory().pointer());
    EXPECT_EQ(b.lastBank(), a.lastBank());
    EXPECT_EQ(b.phaseByte(), a.phaseByte());
    const int step = a.memory().blockStep();
    for (int bank = 0; bank < a.memory().banks(); ++bank) {
        for (int address = 512; address + step <= 512 + a.memory().bankBytes(); address += step * 37) {
            // Memory past the end of an unwrapped recording is not in the file.
            const bool recorded = c.wrap || bank < a.lastBank() ||
                                  (bank == a.lastBank() && address + step <= a.memory().pointer());
            if (!recorded)
                continue;
            ASSERT_EQ(b.blockLine(bank, address), a.blockLine(bank, address)) << bank << " " << address;
        }
    }
    // Everything in the status record but the running clock and current readings.
    const QByteArray sa = a.statusRecord(0);
    const QByteArray sb = b.statusRecord(0);
    EXPECT_EQ(sb.mid(28, 14), sa.mid(28, 14));   // status bytes and pointer
    EXPECT_EQ(sb.mid(42, 127), sa.mid(42, 127)); // labels and description
    EXPECT_EQ(sb.mid(195, 54), sa.mid(195, 54)); // station, scaling texts and codes
    EXPECT_EQ(sb.mid(249, 2), sa.mid(249, 2));   // revision and model
}

INSTANTIATE_TEST_SUITE_P(Files, ServedFile,
                         ::testing::Values(FileCase{8, false, 1, "EightBit"}, FileCase{10, true, 1, "TenBitWrapped"},
                                           FileCase{12, true, 1, "TwelveBitWrapped"},
                                           FileCase{12, false, 2, "TwoBanks"}, FileCase{8, true, 4, "FourBanksWrapped"}),
                         [](const ::testing::TestParamInfo<FileCase>& info) { return std::string(info.param.name); });

TEST(ServedFileErrors, MissingOrTruncatedFileIsAClearError)
{
    QString error;
    EXPECT_FALSE(LoggerFromTl1(SimConfig{}, "/nonexistent/X.TL1", {}, 0, testing::FixedClock(), &error));
    EXPECT_FALSE(error.isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath("SHORT.TL1");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("A3333q1@@ 3.6 A\r\nonly two lines\r\n");
    f.close();
    error.clear();
    EXPECT_FALSE(LoggerFromTl1(SimConfig{}, path, {}, 0, testing::FixedClock(), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(ServedFileStamps, FileStampBecomesALoggerClockText)
{
    EXPECT_EQ(ClockTextFromStamp("Sun 15-Mar-1998 15:04:05"), QByteArray("05041515030198"));
    EXPECT_EQ(ClockTextFromStamp("Sun 15-Mar-1998  3:04:05pm"), QByteArray("05041515030198"));
}

} // namespace
} // namespace tamble::sim
