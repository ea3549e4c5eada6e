// The modem in front of the virtual logger, on virtual time.

#include "sim_harness.h"

#include <gtest/gtest.h>

namespace tamble::sim {
namespace {

using testing::Frame;
using testing::Harness;

SimConfig ModemConfig()
{
    SimConfig c;
    c.modem = true;
    c.modemDelayMs = 10;
    c.callDelayMs = 100;
    return c;
}

ModemFront& Modem(Harness& h)
{
    return static_cast<ModemFront&>(*h.device);
}

TEST(ModemFront, InitStringIsAnsweredWithOk)
{
    Harness h(ModemConfig(), true);
    EXPECT_EQ(h.run("ATZ&F\r", 100), QByteArray("\r\nOK\r\n"));
    EXPECT_EQ(h.log.back(), QByteArray("MODEM ATZ&F"));
}

struct DialCase {
    const char* result;
    bool online;
};

class DialResult : public ::testing::TestWithParam<DialCase> {};

TEST_P(DialResult, DialCommandGetsTheConfiguredResult)
{
    SimConfig c = ModemConfig();
    c.modemResult = GetParam().result;
    Harness h(c, true);
    EXPECT_EQ(h.run("ATDT 5551234\r", 100), "\r\n" + QByteArray(GetParam().result) + "\r\n");
    EXPECT_EQ(Modem(h).online(), GetParam().online);
    EXPECT_EQ(h.logLines("DIAL")[0], QByteArray("DIAL ATDT 5551234"));
}

INSTANTIATE_TEST_SUITE_P(Results, DialResult,
                         ::testing::Values(DialCase{"CONNECT 9600", true}, DialCase{"BUSY", false},
                                           DialCase{"NO CARRIER", false}));

TEST(ModemFront, EchoRepeatsTheCommandBeforeTheResult)
{
    SimConfig c = ModemConfig();
    c.modemEcho = true;
    Harness h(c, true);
    EXPECT_EQ(h.run("ATD 5551234\r", 100), QByteArray("ATD 5551234\r\r\nCONNECT 9600\r\n"));
}

TEST(ModemFront, OnLineBytesReachTheLoggerAndEscapeThenHangUpDropTheLine)
{
    Harness h(ModemConfig(), true);
    h.run("ATDT 1\r", 100);
    EXPECT_EQ(h.run(QByteArray(500, 'U'), 100), QByteArray(1, '\x80'));
    EXPECT_EQ(h.logLines("WAKEUP").size(), 1u);
    EXPECT_EQ(h.run("+++", 100), QByteArray("\r\nOK\r\n"));
    EXPECT_FALSE(Modem(h).online());
    EXPECT_EQ(h.run("ATH\r", 100), QByteArray("\r\nOK\r\n"));
    EXPECT_EQ(h.logLines("HANGUP").size(), 1u);
    EXPECT_TRUE(h.run(Frame("C00"), 1000).startsWith("\r\nERROR"));
}

TEST(ModemFront, CommandLineWhileOnLineIsTakenAsAHangUpByDtr)
{
    Harness h(ModemConfig(), true);
    h.run("ATDT 1\r", 100);
    EXPECT_EQ(h.run("ATZ\r", 100), QByteArray("\r\nOK\r\n"));
    EXPECT_EQ(h.logLines("HANGUP")[0], QByteArray("HANGUP dtr"));
    EXPECT_FALSE(Modem(h).online());
}

TEST(ModemFront, CallIsPlacedAfterTheProgramHangsItsModemUp)
{
    SimConfig c = ModemConfig();
    c.call = true;
    c.callCount = 1;
    Harness h(c, true);
    EXPECT_EQ(h.run("+++", 50), QByteArray());
    EXPECT_EQ(h.run("ATH\r", 50), QByteArray("\r\nOK\r\n"));
    // The program listens again 20 ticks after its ATH: no call comes before 1.5 s.
    EXPECT_TRUE(h.wait(1400).isEmpty());
    const QByteArray call = h.wait(1000);
    EXPECT_EQ(call, QByteArray("\r\nRING\r\n\r\nCONNECT 9600\r\n"));
    EXPECT_TRUE(Modem(h).online());
    EXPECT_EQ(h.logLines("CALL")[0], QByteArray("CALL 1"));
    // The program wakes the logger that called.
    EXPECT_EQ(h.run(QByteArray(500, 'U'), 100), QByteArray(1, '\x80'));
    // Its hang-up after the cycle places no further call.
    h.run("+++", 50);
    h.run("ATH\r", 50);
    EXPECT_TRUE(h.wait(3000).isEmpty());
    EXPECT_EQ(Modem(h).callsPlaced(), 1);
}

TEST(ModemFront, LongCommandLinesAreBounded)
{
    Harness h(ModemConfig(), true);
    h.run(QByteArray(100000, 'x') + "\r", 100);
    ASSERT_FALSE(h.log.empty());
    EXPECT_LT(h.log.back().size(), 1200);
}

} // namespace
} // namespace tamble::sim
