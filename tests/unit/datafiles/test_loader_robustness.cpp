// Damaged and hostile files: the loader ends, stays inside its buffers and
// loads what it can (run under the sanitizer build to catch stray accesses).

#include "test_loader_support.h"

#include <gtest/gtest.h>

#include <QList>

#include <random>

using namespace tamble;
using namespace tamble::testing;

namespace {

// Whatever was loaded fits the planes of its channel count.
void ExpectLoadFits(const DataSet& d, const LoadResult& r, const std::string& what)
{
    if (!r.ok)
        return;
    if (d.multiBank && d.channelList.empty())
        return;
    ASSERT_GE(d.channelCount(), 1) << what;
    EXPECT_GE(d.readingsPerChannel, 0) << what;
    EXPECT_LE(d.readingsPerChannel, RawPlanes::planeCapacity(d.channelCount())) << what;
    EXPECT_LE(d.readingsPerChannel, d.memoryCapacity / d.channelCount()) << what;
}

QByteArray SmallFile(int bits, bool wrapped, char model = '1')
{
    RecordingPlan plan;
    plan.header = TestHeader(bits, 0x5, model);
    plan.wrapped = wrapped;
    plan.phase = bits == 8 ? 0 : 1;
    plan.endPointer = 512 + (bits == 10 ? 5 : 3) * 40 + plan.phase;
    plan.sections = model == '6' ? 4 : 1;
    plan.readings = TestReadings(wrapped ? static_cast<std::size_t>(MemoryCapacityFor(bits)) * plan.sections : 300, bits);
    return FormatTl1(MakeRecording(plan));
}

TEST(LoaderRobustness, FileCutAnywhereLoadsWhatItHolds)
{
    for (int bits : {8, 10, 12}) {
        const QByteArray file = SmallFile(bits, false);
        for (qsizetype cut = 0; cut <= file.size(); ++cut) {
            DataSet d;
            const LoadResult r = LoadBytes(d, file.left(cut));
            ExpectLoadFits(d, r, "bits " + std::to_string(bits) + " cut " + std::to_string(cut));
        }
    }
}

TEST(LoaderRobustness, WrappedAndMultiBankFilesCutInsideTheDataGiveShorterBanks)
{
    for (int bits : {10, 12}) {
        for (char model : {'1', '6'}) {
            const QByteArray file = SmallFile(bits, true, model);
            for (qsizetype cut = 600; cut < file.size(); cut += 9973) {
                DataSet d;
                KeepingBankSink sink;
                const LoadResult r = LoadBytes(d, file.left(cut), &sink);
                ASSERT_TRUE(r.ok);
                ExpectLoadFits(d, r, "cut " + std::to_string(cut));
                for (const auto& bank : sink.banks)
                    EXPECT_LE(bank.readingsPerChannel, d.memoryCapacity / d.channelCount());
            }
        }
    }
}

TEST(LoaderRobustness, RandomBytesNeverCrash)
{
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes(static_cast<qsizetype>(random() % 3000), '\0');
        for (auto& b : bytes)
            b = static_cast<char>(random() % 5 == 0 ? '\n' : random());
        DataSet d;
        KeepingBankSink sink;
        ExpectLoadFits(d, LoadBytes(d, bytes, &sink), "round " + std::to_string(round));
    }
}

TEST(LoaderRobustness, RandomDataLinesAfterAValidHeaderNeverCrash)
{
    std::mt19937 random(11);
    const QByteArray header = FormatTl1Header(TestHeader(10, 0xF, '6'));
    for (int round = 0; round < 200; ++round) {
        QByteArray file = header;
        const int lines = static_cast<int>(random() % 60);
        for (int l = 0; l < lines; ++l) {
            const int kind = static_cast<int>(random() % 6);
            if (kind == 0)
                file += "Z" + QByteArray(1, static_cast<char>('A' + random() % 6));
            else if (kind == 1)
                file += "";
            else
                for (int n = static_cast<int>(random() % 400); n > 0; --n)
                    file += "0123456789ABCDEFabcdefXYZ!"[random() % 26];
            file += "\r\n";
        }
        DataSet d;
        KeepingBankSink sink;
        ExpectLoadFits(d, LoadBytes(d, file, &sink), "round " + std::to_string(round));
        EXPECT_LE(sink.banks.size(), 4u);
    }
}

TEST(LoaderRobustness, OddLengthAndGarbageHexGiveValuesNotErrors)
{
    QByteArray file = FormatTl1Header(TestHeader(8, 0x1));
    file.replace("\r\n512\r\n", "\r\n520\r\n");
    file += "ABC\r\n";          // one byte and a lone digit
    file += "zz!!\r\n";         // not hex at all
    file += "0\r\n";            // a lone digit
    DataSet d;
    const LoadResult r = LoadBytes(d, file);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(d.readingsPerChannel, 3);
    EXPECT_EQ(d.rawPlanes[0], 0xAB);
}

TEST(LoaderRobustness, LinesOfMegabytesAreCutNotCopied)
{
    const QByteArray huge(2 * 1024 * 1024, 'F');
    for (int at : {0, 3, 4, 9, 12, 17, 18}) {
        QList<QByteArray> lines = SmallFile(8, false).split('\n');
        lines[at] = huge + '\r';
        const QByteArray file = lines.join('\n');
        DataSet d;
        ExpectLoadFits(d, LoadBytes(d, file), "line " + std::to_string(at));
    }
}

TEST(LoaderRobustness, NonNumericHeaderNumbersReadAsWhatTheyStartWith)
{
    QList<QByteArray> lines = SmallFile(8, false).split('\n');
    lines[9] = "two\r";      // mode flags
    lines[10] = "\r";        // rate code
    lines[11] = "5x\r";      // channel mask: 5
    lines[12] = "end\r";     // end pointer: a full memory
    DataSet d;
    const LoadResult r = LoadBytes(d, lines.join('\n'));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(d.modeFlags, 0);
    EXPECT_EQ(d.channelMask, 5);
    EXPECT_EQ(d.endPointer, 0);
    EXPECT_EQ(d.lastBankReadings, 32256 / 2);
    EXPECT_DOUBLE_EQ(d.intervalMinutes, 60.0);
    ExpectLoadFits(d, r, "numbers");
}

TEST(LoaderRobustness, EndPointersOfAnyValueKeepCountsInsideOneMemory)
{
    const char* pointers[] = {"-2147483648", "-1", "0", "511", "512", "513", "32761", "32762", "32763",
                              "32768", "32769", "65535", "65536", "99999999999999999999999"};
    for (int bits : {8, 10, 12}) {
        for (const char* pointer : pointers) {
            for (bool wrapped : {false, true}) {
                QList<QByteArray> lines = SmallFile(bits, false).split('\n');
                const int mode = (bits == 8 ? 0x02 : bits == 10 ? 0xC2 : 0x82) | (wrapped ? 0x08 : 0);
                lines[9] = QByteArray::number(mode) + '\r';
                lines[12] = QByteArray(pointer) + (bits == 8 ? "" : " 255") + '\r';
                DataSet d;
                KeepingBankSink sink;
                ExpectLoadFits(d, LoadBytes(d, lines.join('\n'), &sink), std::string(pointer) + " bits " + std::to_string(bits));
                EXPECT_LE(d.lastBankReadings, d.memoryCapacity / 2);
            }
        }
    }
}

TEST(LoaderRobustness, MissingHeaderLinesFailWithTheDateMessage)
{
    DataSet d;
    const LoadResult r = LoadBytes(d, "A3000q1@@ 3.6 A\r\nThu  5-Mar-1998  9:00:00\r\n");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("Bad date format /tmp/test.TL1  0"));
    EXPECT_FALSE(LoadBytes(d, QByteArray()).ok);
}

TEST(LoaderRobustness, ManyBankLinesDoNotMakeMoreThanFourBanks)
{
    RecordingPlan plan;
    plan.header = TestHeader(8, 0x1, '6');
    plan.header.lastBank = 'D';
    plan.wrapped = true;
    plan.endPointer = 700;
    plan.sections = 4;
    plan.readings = TestReadings(4 * 32256, 8);
    QByteArray file = FormatTl1(MakeRecording(plan));
    for (int i = 0; i < 5000; ++i)
        file += "ZA\r\n00\r\n";
    DataSet d;
    KeepingBankSink sink;
    ASSERT_TRUE(LoadBytes(d, file, &sink).ok);
    EXPECT_EQ(sink.banks.size(), 4u);
}

} // namespace
