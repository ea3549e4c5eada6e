// Faults the virtual logger strikes at random for long runs: damaged replies, silent calls,
// calls that lose the carrier, and calls one after another from the logger as it started.

#include "sim_config.h"
#include "sim_harness.h"

#include <gtest/gtest.h>

namespace tamble::sim {
namespace {

using testing::Frame;
using testing::Harness;
using testing::ResponseChecksumValid;

// Asks for `count` memory blocks from 0x0200 on; the reply lines without their CR.
QList<QByteArray> Blocks(Harness& h, int count)
{
    QList<QByteArray> lines;
    for (int i = 0; i < count; ++i) {
        const QByteArray address = QByteArray::number(0x200 + 96 * (i % 20), 16).toUpper().rightJustified(4, '0');
        QByteArray line = h.run(Frame("DA" + address + "00"), 200);
        if (line.endsWith('\r'))
            line.chop(1);
        lines << line;
    }
    return lines;
}

int DifferingBytes(const QByteArray& a, const QByteArray& b)
{
    int n = 0;
    for (qsizetype i = 0; i < qMin(a.size(), b.size()); ++i)
        n += a[i] != b[i];
    return n + static_cast<int>(qAbs(a.size() - b.size()));
}

struct NoiseCase {
    double percent;
    quint64 seed;
    int minDamaged;
    int maxDamaged;
};

class ReplyNoise : public ::testing::TestWithParam<NoiseCase> {};

TEST_P(ReplyNoise, DamagedRepliesHaveOneFlippedByteAndFailTheirChecksum)
{
    SimConfig c;
    c.corruptRepliesPercent = GetParam().percent;
    c.faultSeed = GetParam().seed;
    Harness h(c);
    h.wakeUp();
    const QList<QByteArray> lines = Blocks(h, 400);
    int damaged = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray clean = h.logger().blockLine(0, 0x200 + 96 * (i % 20));
        ASSERT_FALSE(lines[i].contains('\r'));
        if (lines[i] == clean)
            continue;
        ++damaged;
        EXPECT_EQ(DifferingBytes(lines[i], clean), 1) << i;
        EXPECT_FALSE(ResponseChecksumValid(lines[i])) << i;
    }
    EXPECT_GE(damaged, GetParam().minDamaged);
    EXPECT_LE(damaged, GetParam().maxDamaged);
    EXPECT_EQ(h.logLines("NOISE").size(), static_cast<std::size_t>(damaged));
}

INSTANTIATE_TEST_SUITE_P(Rates, ReplyNoise,
                         ::testing::Values(NoiseCase{0, 1, 0, 0}, NoiseCase{1, 1, 1, 12}, NoiseCase{1, 99, 1, 12},
                                           NoiseCase{100, 5, 400, 400}));

TEST(ReplyNoiseSeed, TheSameSeedDamagesTheSameRepliesAnotherSeedOthers)
{
    const auto run = [](quint64 seed) {
        SimConfig c;
        c.corruptRepliesPercent = 10;
        c.faultSeed = seed;
        Harness h(c);
        h.wakeUp();
        return Blocks(h, 60);
    };
    EXPECT_EQ(run(7), run(7));
    EXPECT_NE(run(7), run(8));
}

// --- Calls -------------------------------------------------------------------------

SimConfig CallingConfig(int calls)
{
    SimConfig c;
    c.modem = true;
    c.call = true;
    c.freshCalls = true;
    c.callCount = calls;
    c.modemDelayMs = 10;
    c.callDelayMs = 100;
    return c;
}

// The program's hang-up; true when the next call rings within three seconds.
bool HangUpAndGetCalled(Harness& h)
{
    h.run("+++", 50);
    h.run("ATH\r", 50);
    return h.wait(3000).contains("CONNECT 9600");
}

TEST(Calls, EveryCallComesFromTheLoggerAsItStarted)
{
    Harness h(CallingConfig(3), true);
    ASSERT_TRUE(HangUpAndGetCalled(h));
    const int pointer = h.logger().memory().pointer();
    const QByteArray firstBlock = h.logger().blockLine(0, 0x200);
    h.wakeUp();
    // A setup sent back during the call erases the memory ...
    QByteArray part1 = "0" + QByteArray(64, '0');
    part1[27] = 'G';
    part1[28] = '\x03';
    part1[29] = '\0';
    h.run(Frame(part1 + "00"), 200);
    ASSERT_EQ(h.logLines("SETUP").size(), 1u);
    EXPECT_NE(h.logger().memory().pointer(), pointer);
    // ... and the next caller has it back, as does the one after.
    for (int call = 2; call <= 3; ++call) {
        ASSERT_TRUE(HangUpAndGetCalled(h)) << call;
        EXPECT_EQ(h.logger().memory().pointer(), pointer);
        h.wakeUp();
        EXPECT_EQ(Blocks(h, 1).value(0), firstBlock);
    }
    EXPECT_FALSE(HangUpAndGetCalled(h));  // three calls, then quiet
    EXPECT_EQ(h.logLines("CALL").size(), 3u);
}

TEST(Calls, ASilentCallConnectsButNeverAnswersAndTheNextCallDoes)
{
    SimConfig c = CallingConfig(2);
    c.silentCallsPercent = 100;
    Harness h(c, true);
    ASSERT_TRUE(HangUpAndGetCalled(h));
    EXPECT_EQ(h.logLines("CALL")[0], QByteArray("CALL 1 silent"));
    EXPECT_TRUE(h.run(QByteArray(500, 'U'), 100).isEmpty());
    EXPECT_TRUE(h.run(Frame("C00"), 1000).isEmpty());
    EXPECT_TRUE(HangUpAndGetCalled(h)) << QList<QByteArray>(h.log.begin(), h.log.end()).join('\n').constData();
    EXPECT_EQ(h.logLines("CALL")[1], QByteArray("CALL 2 silent"));
}

TEST(Calls, ADroppedCallLosesTheCarrierAfterSomeBlocksAndAHangUpBringsTheNextCall)
{
    SimConfig c = CallingConfig(2);
    c.dropCallsPercent = 100;
    Harness h(c, true);
    ASSERT_TRUE(HangUpAndGetCalled(h));
    const QByteArray call = h.logLines("CALL")[0];
    ASSERT_TRUE(call.startsWith("CALL 1 drop after ")) << call.constData();
    const int after = call.mid(18).toInt();
    ASSERT_GE(after, 1);
    ASSERT_LE(after, 10);
    h.wakeUp();
    const QList<QByteArray> lines = Blocks(h, after + 2);
    for (int i = 0; i < after - 1; ++i)
        EXPECT_TRUE(ResponseChecksumValid(lines[i])) << i;
    // The block asked for when the line drops is lost; "NO CARRIER" comes instead, then nothing.
    EXPECT_EQ(lines[after - 1], QByteArray("\r\nNO CARRIER\r\n"));
    EXPECT_EQ(lines[after], QByteArray("\r\nERROR\r\n"));  // the modem's answer to a line that is no command
    EXPECT_EQ(h.logLines("NOCARRIER").size(), 1u);
    EXPECT_TRUE(HangUpAndGetCalled(h));
    EXPECT_EQ(h.logLines("CALL").size(), 2u);
}

TEST(Calls, FaultsFallOnCallsInTheShareAskedFor)
{
    SimConfig c = CallingConfig(400);
    c.silentCallsPercent = 10;
    c.dropCallsPercent = 20;
    Harness h(c, true);
    for (int i = 0; i < 400; ++i)
        ASSERT_TRUE(HangUpAndGetCalled(h)) << i;
    int silent = 0, dropped = 0;
    for (const QByteArray& l : h.logLines("CALL")) {
        silent += l.endsWith(" silent");
        dropped += l.contains(" drop after ");
    }
    EXPECT_NEAR(silent, 40, 20);
    EXPECT_NEAR(dropped, 80, 28);
}

TEST(SimFaultOptions, CallsAndPercentagesAreReadAndBadOnesRefused)
{
    const auto r = ParseSimArguments({"s", "--calls", "200", "--corrupt-replies", "0.5", "--silent-calls", "3",
                                      "--drop-calls", "4", "--fault-seed", "0x10"});
    ASSERT_TRUE(r) << qPrintable(r.error());
    EXPECT_TRUE(r->config.call && r->config.modem && r->config.freshCalls);
    EXPECT_EQ(r->config.callCount, 200);
    EXPECT_DOUBLE_EQ(r->config.corruptRepliesPercent, 0.5);
    EXPECT_DOUBLE_EQ(r->config.silentCallsPercent, 3);
    EXPECT_DOUBLE_EQ(r->config.dropCallsPercent, 4);
    EXPECT_EQ(r->config.faultSeed, 16u);
    const auto plain = ParseSimArguments({"s", "--call", "--call-count", "3"});
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->config.freshCalls);  // calls of --call keep what a setup changed

    const std::pair<QStringList, const char*> refused[] = {
        {{"--calls", "0"}, "--calls must be a number of calls"},
        {{"--corrupt-replies", "x"}, "--corrupt-replies must be a percentage 0-100"},
        {{"--silent-calls", "101"}, "--silent-calls must be a percentage 0-100"},
        {{"--drop-calls", "-1"}, "--drop-calls must be a percentage 0-100"},
        {{"--silent-calls", "60", "--drop-calls", "50"}, "--silent-calls and --drop-calls add up to more than 100 %"},
        {{"--fault-seed", "y"}, "--fault-seed must be a number"},
    };
    for (const auto& [args, reason] : refused) {
        const auto bad = ParseSimArguments(QStringList{"s"} + args);
        EXPECT_FALSE(bad) << qPrintable(args.join(' '));
        EXPECT_EQ(bad.error(), QString::fromLatin1(reason)) << qPrintable(args.join(' '));
    }
}

} // namespace
} // namespace tamble::sim
