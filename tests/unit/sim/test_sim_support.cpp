// Wire helpers, pacing and the command line of the virtual logger.

#include "paced_writer.h"
#include "sim_config.h"
#include "sim_wire.h"

#include <gtest/gtest.h>

namespace tamble::sim {
namespace {

TEST(SimWire, ChecksumIsTheTwosComplementOfTheCharacterSumInTwoHexDigits)
{
    EXPECT_EQ(ChecksumChars("C05"), QByteArray("58"));
    EXPECT_EQ(ChecksumChars("C00"), QByteArray("5D"));
    EXPECT_EQ(WithChecksum("DA01D0"), QByteArray("DA01D0") + ChecksumChars("DA01D0"));
    EXPECT_EQ(ChecksumChars(""), QByteArray("00"));
}

TEST(SimWire, HexReaderAcceptsOnlyUpperCaseDigits)
{
    EXPECT_EQ(ParseHexByte("5D"), std::optional<std::uint8_t>(0x5D));
    EXPECT_FALSE(ParseHexByte("5d"));
    EXPECT_FALSE(ParseHexByte("G0"));
    EXPECT_FALSE(ParseHexByte("5"));
    EXPECT_EQ(ParseHexWord("01D0"), std::optional<std::uint16_t>(0x01D0));
    EXPECT_EQ(HexWord(0x7FFF), QByteArray("7FFF"));
}

TEST(SimWire, LogEscapesControlBytesAndBackslash)
{
    EXPECT_EQ(EscapeForLog(QByteArray("a\rb\\\xff", 5)), QByteArray("a\\x0Db\\x5C\\xFF"));
}

TEST(PacedWriter, BytesLeaveAtTenBitsEachAtTheLineSpeed)
{
    PacedWriter w(true);
    w.enqueue(OutChunk{0, QByteArray(96, 'x'), 9600}, 0); // 960 bytes a second
    EXPECT_EQ(w.takeReady(0).size(), 0);
    EXPECT_EQ(w.takeReady(50).size(), 48);
    EXPECT_EQ(w.takeReady(99).size(), 47);
    EXPECT_EQ(w.takeReady(100).size(), 1);
    EXPECT_TRUE(w.empty());
}

TEST(PacedWriter, NextReadyTimeIsWhenTheNextByteHasArrived)
{
    PacedWriter w(true);
    w.enqueue(OutChunk{20, QByteArray("OK\r"), 1200}, 0);
    EXPECT_NEAR(w.nextReadyMs(0), 20 + 10000.0 / 1200, 1e-6);
}

TEST(PacedWriter, UnpacedWriterReleasesEverythingAtOnce)
{
    PacedWriter w(false);
    w.enqueue(OutChunk{0, QByteArray(1000, 'x'), 1200}, 0);
    EXPECT_EQ(w.takeReady(0).size(), 1000);
}

TEST(PacedWriter, SpeedChangeBetweenChunksPacesEachAtItsOwnSpeed)
{
    PacedWriter w(true);
    w.enqueue(OutChunk{0, QByteArray(12, 'a'), 1200}, 0);   // 100 ms
    w.enqueue(OutChunk{0, QByteArray(96, 'b'), 9600}, 0);   // 100 ms more
    EXPECT_EQ(w.takeReady(100).size(), 12);
    EXPECT_EQ(w.takeReady(200).size(), 96);
}

TEST(SimConfigParse, OptionsFillTheConfiguration)
{
    const auto r = ParseSimArguments({"tamble-sim", "--revision", "R", "--bits", "10", "--channels", "134",
                                      "--label", "2=Soil", "--wrap", "--banks", "2", "--station", "17",
                                      "--corrupt-every", "5", "--silent-first", "3", "--modem-result",
                                      "NO CARRIER", "--pointer", "0x1000"});
    ASSERT_TRUE(r) << qPrintable(r.error());
    const SimConfig& c = r->config;
    EXPECT_EQ(c.revision, 'R');
    EXPECT_EQ(c.bits, 10);
    EXPECT_EQ(c.channelMask, 0x0D);
    EXPECT_EQ(c.labels[1], QByteArray("Soil"));
    EXPECT_TRUE(c.wrap);
    EXPECT_EQ(c.banks, 2);
    EXPECT_EQ(c.model, '6'); // more than one bank is the four-bank model
    EXPECT_EQ(c.station, 17);
    EXPECT_EQ(c.corruptEvery, 5);
    EXPECT_EQ(c.silentFirst, 3);
    EXPECT_EQ(c.modemResult, QByteArray("NO CARRIER"));
    EXPECT_EQ(c.pointer, std::optional<int>(0x1000));
}

TEST(SimConfigParse, BadValuesAreRefusedWithAReason)
{
    // Arguments after the program name, and the reason (the first refused value wins).
    const std::pair<QStringList, const char*> cases[] = {
        {{"--revision", ""}, "--revision needs one letter"},
        {{"--model", "x"}, "--model needs one digit"},
        {{"--bits", "9"}, "--bits must be 8, 10 or 12"},
        {{"--channels", "5"}, "--channels lists channel numbers 1-4"},
        {{"--label", "7=x"}, "--label needs N=TEXT with N 1-4"},
        {{"--scaling-codes", "33"}, "--scaling-codes needs four characters"},
        {{"--scaling-text", "5=abc"}, "--scaling-text needs N=TEXT with N 1-4"},
        {{"--input-types", "5000"}, "--input-types must be 0-4095"},
        {{"--rate", "GG"}, "--rate needs one code character"},
        {{"--flags", "300"}, "--flags must be a byte"},
        {{"--channel-flags", "-1"}, "--channel-flags must be a byte"},
        {{"--pointer", "70000"}, "--pointer must be 0-65535"},
        {{"--phase", "256"}, "--phase must be a byte"},
        {{"--banks", "5"}, "--banks must be 1-4"},
        {{"--banks", "2", "--model", "1"}, "more than one bank needs model '6'"},
        {{"--station", "256"}, "--station must be 0-255"},
        {{"--baud", "100"}, "--baud must be a line speed"},
        {{"--battery", "999"}, "--battery must be a byte"},
        {{"--clock", "123"}, "clock texts have 14 characters"},
        {{"--last-reading", "12345678901234567"}, "clock texts have 14 characters"},
        {{"--dialout", "1"}, "--dialout needs 12 hex digits"},
        {{"--seed", "x"}, "--seed must be a number"},
        {{"--protocol", "slow"}, "--protocol is auto, normal or fast"},
        {{"--date-code", "1"}, "--date-code needs two characters"},
        {{"--realtime-interval", "-5"}, "--realtime-interval must be milliseconds"},
        {{"--silent-first", "-1"}, "--silent-first must be a whole number"},
        {{"--call-count", "200000000"}, "--call-count must be a whole number"},
        {{"--nonsense"}, "Unknown option 'nonsense'."},
        {{"stray"}, "unexpected argument: stray"},
        {{"--bits", "9", "--channels", "5"}, "--bits must be 8, 10 or 12"},
        {{"--banks", "5", "--flags", "300"}, "--flags must be a byte"},
    };
    for (const auto& [args, reason] : cases) {
        const auto r = ParseSimArguments(QStringList{"s"} + args);
        EXPECT_FALSE(r) << qPrintable(args.join(' '));
        EXPECT_EQ(r.error(), QString::fromLatin1(reason)) << qPrintable(args.join(' '));
    }
}

TEST(SimConfigParse, HelpIsReportedNotFailed)
{
    const auto r = ParseSimArguments({"s", "--help"});
    ASSERT_TRUE(r);
    EXPECT_TRUE(r->helpRequested);
    EXPECT_TRUE(r->helpText.contains("--corrupt-every"));
}

} // namespace
} // namespace tamble::sim

namespace tamble::sim {
namespace {

TEST(PacedReader, CommandIsHeardWhenItsLastByteHasArrived)
{
    PacedReader r(true);
    r.arrived(QByteArray(">C005D\r"), 9600, 0); // 7 bytes: 7.29 ms
    EXPECT_EQ(r.takeArrived(5), QByteArray(">C00"));     // 1.04 ms a byte
    EXPECT_EQ(r.takeArrived(7), QByteArray("5D"));
    EXPECT_NEAR(r.nextArrivalMs(), 70000.0 / 9600, 1e-6);
    EXPECT_EQ(r.takeArrived(8), QByteArray("\r"));
    EXPECT_LT(r.nextArrivalMs(), 0);
}

TEST(PacedReader, UnpacedReaderHearsEverythingAtOnce)
{
    PacedReader r(false);
    r.arrived(QByteArray(500, 'U'), 1200, 3);
    EXPECT_EQ(r.takeArrived(3).size(), 500);
}

} // namespace
} // namespace tamble::sim

namespace tamble::sim {
namespace {

TEST(PacedReader, WakeUpBurstIsHeardAtOnceWhateverItsSpeed)
{
    PacedReader r(true);
    r.arrived(QByteArray(8000, '\xF0'), 9600, 0);
    EXPECT_EQ(r.takeArrived(0).size(), 8000);
}

} // namespace
} // namespace tamble::sim
