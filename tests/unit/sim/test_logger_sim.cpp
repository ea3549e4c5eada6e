// The virtual logger's protocol, on virtual time, with literal wire bytes.

#include "sim_harness.h"

#include "settings/memory_geometry.h"
#include "format/logger_info.h"
#include "link/status_record.h"

#include <gtest/gtest.h>

namespace tamble::sim {
namespace {

using testing::Frame;
using testing::Harness;
using testing::ResponseChecksumValid;

SimConfig Config()
{
    SimConfig c;
    return c;
}

// --- Wake-up -------------------------------------------------------------------------

struct EchoCase {
    int baud;
    char echo;
};

class EchoByte : public ::testing::TestWithParam<EchoCase> {};

TEST_P(EchoByte, NormalBurstIsAnsweredWithTheEchoOfTheLoggersSpeed)
{
    SimConfig c = Config();
    c.baud = GetParam().baud;
    Harness h(c);
    EXPECT_EQ(h.run(QByteArray(500, 'U'), 100), QByteArray(1, GetParam().echo));
}

INSTANTIATE_TEST_SUITE_P(Speeds, EchoByte,
                         ::testing::Values(EchoCase{1200, '\xFF'}, EchoCase{2400, '\xFE'}, EchoCase{4800, '\xF8'},
                                           EchoCase{9600, '\x80'}, EchoCase{19200, '\x00'}));

struct BurstCase {
    int count;
    char ch;
    const char* logged;
};

class BurstSpeed : public ::testing::TestWithParam<BurstCase> {};

TEST_P(BurstSpeed, TheBurstTellsTheProgramsPortSpeedAndProtocol)
{
    Harness h(Config());
    h.run(QByteArray(GetParam().count, GetParam().ch), 100);
    ASSERT_EQ(h.logLines("WAKEUP").size(), 1u);
    EXPECT_EQ(h.logLines("WAKEUP")[0], QByteArray(GetParam().logged));
}

INSTANTIATE_TEST_SUITE_P(
    Bursts, BurstSpeed,
    ::testing::Values(BurstCase{500, 'U', "WAKEUP count=500 char=55 speed=1200 protocol=normal"},
                      BurstCase{1000, '\x99', "WAKEUP count=1000 char=99 speed=2400 protocol=normal"},
                      BurstCase{2000, '\x99', "WAKEUP count=2000 char=99 speed=4800 protocol=normal"},
                      BurstCase{4000, '\xF0', "WAKEUP count=4000 char=F0 speed=9600 protocol=normal"},
                      BurstCase{8000, '\xF0', "WAKEUP count=8000 char=F0 speed=19200 protocol=normal"},
                      BurstCase{5, 'U', "WAKEUP count=5 char=55 speed=1200 protocol=fast"},
                      BurstCase{40, 'U', "WAKEUP count=40 char=55 speed=9600 protocol=fast"},
                      BurstCase{80, 'U', "WAKEUP count=80 char=55 speed=19200 protocol=fast"},
                      BurstCase{120, 'U', "WAKEUP count=120 char=55 speed=28800 protocol=fast"},
                      BurstCase{240, 'U', "WAKEUP count=240 char=55 speed=57600 protocol=fast"}));

TEST(LoggerSimWakeUp, FastBurstGetsNoEchoAndCommandsAreAnsweredAtTheBurstSpeed)
{
    Harness h(Config());
    EXPECT_TRUE(h.run(QByteArray(80, 'U'), 200).isEmpty());
    const QByteArray status = h.run(Frame("C00"), 1000);
    EXPECT_EQ(status.size(), 255);
    EXPECT_EQ(h.bauds.back(), 19200);
}

struct ConfirmCase {
    std::uint8_t byte;
    int expectedSpeed;
};

class Confirmation : public ::testing::TestWithParam<ConfirmCase> {};

TEST_P(Confirmation, ConfirmationByteSetsTheSpeedOfTheAcknowledgement)
{
    Harness h(Config());
    EXPECT_EQ(h.wakeUp(GetParam().byte), QByteArray("0q\r"));
    EXPECT_EQ(h.bauds.back(), GetParam().expectedSpeed);
    EXPECT_EQ(h.logger().lineBaud(), GetParam().expectedSpeed);
}

INSTANTIATE_TEST_SUITE_P(Bytes, Confirmation,
                         ::testing::Values(ConfirmCase{0xC0, 1200}, ConfirmCase{0x80, 9600}, ConfirmCase{'E', 19200}));

TEST(LoggerSimWakeUp, AcknowledgementAfterTheNineteenTwoHundredLetterWaitsForTheProgramsSpeedChange)
{
    // The program sends "E", waits two ticks (110 ms) and only then changes its speed.
    Harness h(Config());
    h.run(QByteArray(500, 'U'), 100);
    const qint64 sent = h.now;
    h.run("E", 500);
    ASSERT_FALSE(h.dueTimes.empty());
    EXPECT_GT(h.dueTimes.back() - sent, 110);
    EXPECT_LT(h.dueTimes.back() - sent, 110 + 385);
}

TEST(LoggerSimWakeUp, SevenByteModemConfirmationIsCollectedBeforeTheAcknowledgement)
{
    Harness h(Config());
    h.run(QByteArray(500, 'U'), 100);
    EXPECT_TRUE(h.run(QByteArray("\x00\xE0\xFF", 3), 5).isEmpty());
    EXPECT_EQ(h.run(QByteArray("\xFF\xFF\x00\x00", 4), 500), QByteArray("0q\r"));
    EXPECT_EQ(h.logLines("CONFIRM")[0], QByteArray("CONFIRM byte=00E0FFFFFF0000 speed=19200"));
}

TEST(LoggerSimWakeUp, RVariantSendsAnRLineAndTakesTheBaudLetter)
{
    SimConfig c = Config();
    c.wakeVariant = WakeVariant::RLine;
    Harness h(c);
    EXPECT_EQ(h.run(QByteArray(500, 'U'), 100), QByteArray("R\r"));
    EXPECT_EQ(h.run("D", 500), QByteArray("0q\r"));
    EXPECT_EQ(h.logger().lineBaud(), 9600);
}

struct AckCase {
    char revision;
    const char* dateCode;
    const char* ack;
};

class Acknowledgement : public ::testing::TestWithParam<AckCase> {};

TEST_P(Acknowledgement, AcknowledgementFollowsTheRevision)
{
    SimConfig c = Config();
    c.revision = GetParam().revision;
    c.dateCode = GetParam().dateCode;
    Harness h(c);
    EXPECT_EQ(h.wakeUp(), QByteArray(GetParam().ack) + '\r');
}

INSTANTIATE_TEST_SUITE_P(Revisions, Acknowledgement,
                         ::testing::Values(AckCase{'C', "", "C"}, AckCase{'G', "", "G"}, AckCase{'H', "", "0H"},
                                           AckCase{'R', "", "0R"}, AckCase{'q', "", "0q"},
                                           AckCase{'q', "25", "0q25"}));

TEST(LoggerSimWakeUp, SilentWakeUpGivesNoEchoButTheLateConfirmationIsStillAcknowledged)
{
    SimConfig c = Config();
    c.silentWakeups = 1;
    Harness h(c);
    EXPECT_TRUE(h.run(QByteArray(500, 'U'), 100).isEmpty());
    EXPECT_EQ(h.run("\x80", 500), QByteArray("0q\r"));
    EXPECT_EQ(h.run(QByteArray(500, 'U'), 100), QByteArray(1, '\x80'));
}

TEST(LoggerSimWakeUp, DeadLoggerAnswersNothingButLogsWhatItHeard)
{
    SimConfig c = Config();
    c.dead = true;
    Harness h(c);
    EXPECT_TRUE(h.wakeUp().isEmpty());
    EXPECT_TRUE(h.run(Frame("C00"), 1000).isEmpty());
    EXPECT_EQ(h.logLines("STATUS").size(), 1u);
}

// --- Framing and addressing ----------------------------------------------------------

TEST(LoggerSimFraming, StatusCommandToStation05WithChecksum58IsAnswered)
{
    SimConfig c = Config();
    c.station = 5;
    Harness h(c);
    h.wakeUp();
    const QByteArray reply = h.run(">C0558\r", 1000);
    EXPECT_EQ(reply.size(), 255);
    EXPECT_EQ(h.logLines("STATUS")[0], QByteArray("STATUS @05 C"));
}

TEST(LoggerSimFraming, WrongChecksumGetsNoReply)
{
    Harness h(Config());
    h.wakeUp();
    EXPECT_TRUE(h.run(">C005E\r", 1000).isEmpty());
    EXPECT_TRUE(h.run(">C005d\r", 1000).isEmpty()); // lower-case hex is not a checksum
    EXPECT_EQ(h.logLines("BADSUM").size(), 2u);
}

TEST(LoggerSimFraming, RevisionBelowSCarriesNoStationAddress)
{
    SimConfig c = Config();
    c.revision = 'R';
    Harness h(c);
    h.wakeUp();
    EXPECT_EQ(h.run(">CBD\r", 1000).size(), 255); // 12-bit record of 254 + CR
    EXPECT_EQ(h.logLines("STATUS")[0], QByteArray("STATUS @-- C"));
}

TEST(LoggerSimFraming, OtherStationsAreIgnoredAndStationZeroAnsweredUnlessStrict)
{
    SimConfig c = Config();
    c.station = 7;
    Harness h(c);
    h.wakeUp();
    EXPECT_TRUE(h.run(Frame("C05"), 1000).isEmpty());
    EXPECT_EQ(h.logLines("IGNORED")[0], QByteArray("IGNORED @05 C"));
    EXPECT_FALSE(h.run(Frame("C00"), 1000).isEmpty());
    EXPECT_FALSE(h.run(Frame("C07"), 1000).isEmpty());

    c.strictAddress = true;
    Harness strict(c);
    strict.wakeUp();
    EXPECT_TRUE(strict.run(Frame("C00"), 1000).isEmpty());
}

// --- Status record -------------------------------------------------------------------

TEST(LoggerSimStatus, StatusRecordCarriesTheConfiguredLoggerAtItsPositions)
{
    SimConfig c = Config();
    c.bits = 10;
    c.model = '5';
    c.revision = 's';
    c.channelMask = 0x05;
    c.labels[0] = "Outside";
    c.description = "Greenhouse";
    c.station = 0x2A;
    c.rate = 'I';
    c.inputTypes = 0x041;
    c.pointer = 512 + 75 * 4;
    Harness h(c);
    h.wakeUp();
    QByteArray rec = h.run(Frame("C2A"), 1000);
    ASSERT_TRUE(rec.endsWith('\r'));
    rec.chop(1);
    ASSERT_EQ(rec.size(), 253);
    EXPECT_TRUE(ResponseChecksumValid(rec));
    EXPECT_EQ(rec.mid(28, 2), QByteArray("C0"));     // byte 1: 10 bit, recording
    EXPECT_EQ(rec.mid(30, 2), QByteArray("49"));     // rate 'I'
    EXPECT_EQ(rec.mid(32, 2), QByteArray("05"));     // channels 1 and 3
    EXPECT_EQ(rec.mid(34, 2), QByteArray("AA"));     // input types 0x041
    EXPECT_EQ(rec.mid(38, 4), QByteArray("032C"));   // pointer 812
    EXPECT_EQ(rec.mid(42, 24), QByteArray("Outside                 "));
    EXPECT_EQ(rec.mid(138, 31), QByteArray("Greenhouse                     "));
    EXPECT_EQ(rec.mid(195, 2), QByteArray("2A"));
    EXPECT_EQ(rec.mid(249, 2), QByteArray("s5"));

    LoggerInfo info;
    MemoryGeometry geometry;
    StatusContext context;
    ASSERT_EQ(DecodeStatusRecord(rec, context, info, geometry).outcome, StatusOutcome::Decoded);
    EXPECT_EQ(info.resolutionBits, 10);
    EXPECT_EQ(info.memoryPointer, 812);
    EXPECT_EQ(info.stationAddress, 0x2A);
    EXPECT_EQ(info.channelsOn, 2);
}

TEST(LoggerSimStatus, WrappedMemoryReportsWrapAndContinuousBits)
{
    SimConfig c = Config();
    c.wrap = true;
    Harness h(c);
    h.wakeUp();
    const QByteArray rec = h.run(Frame("C00"), 1000);
    EXPECT_EQ(rec.mid(28, 2), QByteArray("C9")); // 12 bit single memory, bits 0 and 3
}

// --- Memory blocks -------------------------------------------------------------------

TEST(LoggerSimBlocks, BlockReplyIsTheMemoryInHexWithAValidChecksum)
{
    Harness h(Config());
    h.wakeUp();
    QByteArray line = h.run(Frame("DA020000"), 1000);
    ASSERT_TRUE(line.endsWith('\r'));
    line.chop(1);
    ASSERT_EQ(line.size(), 194);
    EXPECT_TRUE(ResponseChecksumValid(line));
    EXPECT_EQ(line, h.logger().blockLine(0, 0x200));
    EXPECT_EQ(h.logLines("BLOCK")[0], QByteArray("BLOCK @00 A 0200"));
}

TEST(LoggerSimBlocks, TenBitBlocksAreSeventyFiveBytes)
{
    SimConfig c = Config();
    c.bits = 10;
    Harness h(c);
    h.wakeUp();
    EXPECT_EQ(h.run(Frame("DA020000"), 1000).size(), 153);
}

TEST(LoggerSimBlocks, DialOutScheduleIsReadFromTheConfigurationArea)
{
    SimConfig c = Config();
    c.dialout = "983006340000";
    Harness h(c);
    h.wakeUp();
    EXPECT_TRUE(h.run(Frame("DA01D000"), 1000).startsWith("983006340000"));
}

TEST(LoggerSimBlocks, EveryKthBlockIsCorruptedAndTheRetryIsClean)
{
    SimConfig c = Config();
    c.corruptEvery = 2;
    Harness h(c);
    h.wakeUp();
    QByteArray first = h.run(Frame("DA020000"), 1000);
    QByteArray second = h.run(Frame("DA026000"), 1000);
    QByteArray retry = h.run(Frame("DA026000"), 1000);
    first.chop(1), second.chop(1), retry.chop(1);
    EXPECT_TRUE(ResponseChecksumValid(first));
    EXPECT_FALSE(ResponseChecksumValid(second));
    EXPECT_TRUE(ResponseChecksumValid(retry));
    EXPECT_EQ(retry, h.logger().blockLine(0, 0x260));
    EXPECT_EQ(h.logLines("BLOCK")[1], QByteArray("BLOCK @00 A 0260 corrupt"));
}

TEST(LoggerSimBlocks, ReplyDelayPostponesEveryReply)
{
    SimConfig c = Config();
    c.replyDelayMs = 700;
    Harness h(c);
    h.wakeUp();
    const qint64 sent = h.now;
    EXPECT_TRUE(h.run(Frame("DA020000"), 600).isEmpty());
    EXPECT_FALSE(h.run({}, 200).isEmpty());
    EXPECT_EQ(h.dueTimes.back(), sent + 700);
}

// --- Station, baud, real time --------------------------------------------------------

TEST(LoggerSimCommands, StationProgrammingAnswersOkAndTakesTheNewAddress)
{
    Harness h(Config());
    h.wakeUp();
    EXPECT_EQ(h.run(Frame("F0700"), 500), QByteArray("OK\r"));
    EXPECT_EQ(h.logger().config().station, 7);
    EXPECT_EQ(h.logLines("STATION")[0], QByteArray("STATION @00 07"));
    EXPECT_FALSE(h.run(Frame("C07"), 1000).isEmpty());
}

TEST(LoggerSimCommands, BaudChangeAnswersAtTheOldSpeedThenSwitches)
{
    Harness h(Config());
    h.wakeUp();
    EXPECT_EQ(h.run(Frame("IP00"), 500), QByteArray("OK\r"));
    EXPECT_EQ(h.bauds.back(), 9600);
    EXPECT_EQ(h.logger().config().baud, 19200);
    EXPECT_EQ(h.logLines("BAUD")[0], QByteArray("BAUD @00 P 19200"));
}

TEST(LoggerSimCommands, FirstPollIsAcknowledgedAndEveryPollGetsOneReading)
{
    SimConfig c = Config();
    c.realtimeIntervalMs = 100;
    Harness h(c);
    h.wakeUp();
    const QByteArray first = h.run(Frame("Y00"), 500);
    ASSERT_TRUE(first.startsWith("OK\r>"));
    const QByteArray reading = first.mid(3);
    EXPECT_EQ(reading.size(), 16); // ">" + 12 fields + checksum + CR
    EXPECT_TRUE(ResponseChecksumValid(reading.mid(1, 14)));
    const QByteArray next = h.run(Frame("Y00"), 500);
    EXPECT_EQ(next.size(), 16);
    EXPECT_TRUE(next.startsWith('>'));
}

TEST(LoggerSimCommands, StreamingReadingsStopAtTheNextWakeUp)
{
    SimConfig c = Config();
    c.revision = 'n';
    c.realtimeIntervalMs = 100;
    Harness h(c);
    h.wakeUp();
    EXPECT_EQ(h.run(Frame("Z00"), 50), QByteArray("OK\r"));
    EXPECT_EQ(h.run({}, 1000).count('>'), 10);
    h.run(QByteArray(500, 'U'), 5);
    EXPECT_TRUE(h.wait(1000).count('>') == 0);
}

TEST(LoggerSimCommands, EightBitReadingLineIsTwelveCharactersAfterTheMark)
{
    SimConfig c = Config();
    c.bits = 8;
    Harness h(c);
    EXPECT_EQ(h.logger().realTimeLine(0).size(), 13);
}

// --- Setup parts ---------------------------------------------------------------------

QByteArray PartOne(char prefix)
{
    // prefix, PC clock ssnnhhddmm + weekday + yy, start time, rate, channel byte,
    // mode byte, description (31), four scaling codes.
    return QByteArray(1, prefix) + "0530101503" "6" "24" + "0030100000" "1" "99" + "H" + "C" + "@" +
           QByteArray("New session").leftJustified(31, ' ') + "3300";
}

TEST(LoggerSimSetup, SetupPartsAreLoggedAsReceivedAndAcknowledged)
{
    Harness h(Config());
    h.wakeUp();
    const QByteArray one = PartOne('0');
    ASSERT_EQ(one.size(), 65);
    EXPECT_EQ(h.run(Frame(one + "00"), 500), QByteArray("OK\r"));
    EXPECT_EQ(h.run(Frame("2" + QByteArray("Air").leftJustified(24) + QByteArray("Soil").leftJustified(24) + "00"), 500),
              QByteArray("OK\r"));
    ASSERT_EQ(h.logLines("SETUP").size(), 2u);
    EXPECT_EQ(h.logLines("SETUP")[0], "SETUP @00 1 " + one);
    EXPECT_TRUE(h.logLines("SETUP")[1].startsWith("SETUP @00 2 2Air "));
}

TEST(LoggerSimSetup, NewSetupErasesTheMemoryAndChangesTheStatus)
{
    Harness h(Config());
    h.wakeUp();
    h.run(Frame(PartOne('0') + "00"), 500);
    const QByteArray rec = h.run(Frame("C00"), 1000);
    EXPECT_EQ(rec.mid(0, 10), QByteArray("0530101503")); // clock set from the PC: first reading now
    EXPECT_EQ(rec.mid(30, 2), QByteArray("48"));        // rate 'H'
    EXPECT_EQ(rec.mid(32, 2), QByteArray("03"));        // channels 1 and 2
    EXPECT_EQ(rec.mid(38, 4), QByteArray("0200"));      // memory empty
    EXPECT_EQ(rec.mid(138, 11), QByteArray("New session"));
    EXPECT_TRUE(h.run(Frame("DA01D000"), 1000).startsWith("993010310000")); // daily dial-out at 10:30
}

TEST(LoggerSimSetup, ScalingOnlyPartKeepsTheRecording)
{
    Harness h(Config());
    h.wakeUp();
    const QByteArray before = h.run(Frame("C00"), 1000).mid(38, 4);
    h.run(Frame(PartOne('K') + "00"), 500);
    EXPECT_EQ(h.run(Frame("C00"), 1000).mid(38, 4), before);
}

// The fault modes that treat the first N requests of a kind differently: each exchange
// is a request and the reply it gets (none, any, or these exact bytes).
struct Exchange {
    enum class Reply { None, Any, Exactly };
    QByteArray request;
    Reply reply;
    QByteArray exactly = {};
};

struct FirstRequestsCase {
    const char* name;
    int silentFirst;
    int silentBlocks;
    int garbleAcks;
    std::vector<Exchange> exchanges;
    const char* logKind = nullptr;  // and the first log line of that kind
    const char* firstLogLine = nullptr;
};

std::vector<FirstRequestsCase> FirstRequestsCases()
{
    using R = Exchange::Reply;
    const QByteArray status = Frame("C00");
    const QByteArray block = Frame("DA020000");
    const QByteArray part = Frame(PartOne('0') + "00");
    return {
        {"SilentFirstRequestsGetNoReplyThenTheLoggerAnswers", 2, 0, 0,
         {{status, R::None}, {status, R::None}, {status, R::Any}}, "STATUS", "STATUS @00 C silent"},
        {"SilentBlocksOnlyAffectBlockRequests", 0, 1, 0, {{status, R::Any}, {block, R::None}, {block, R::Any}}},
        {"GarbledAcknowledgementsComeFirstThenOk", 0, 0, 2,
         {{part, R::Exactly, "ER\r"}, {part, R::Exactly, "ER\r"}, {part, R::Exactly, "OK\r"}}},
    };
}

class FirstRequests : public ::testing::TestWithParam<FirstRequestsCase> {};

TEST_P(FirstRequests, AreTreatedByTheirFaultModeAndLaterOnesAnswered)
{
    const FirstRequestsCase& c = GetParam();
    SimConfig config = Config();
    config.silentFirst = c.silentFirst;
    config.silentBlocks = c.silentBlocks;
    config.garbleAcks = c.garbleAcks;
    Harness h(config);
    h.wakeUp();
    for (std::size_t i = 0; i < c.exchanges.size(); ++i) {
        const Exchange& e = c.exchanges[i];
        const QByteArray reply = h.run(e.request, e.reply == Exchange::Reply::Exactly ? 500 : 1000);
        SCOPED_TRACE(i);
        switch (e.reply) {
        case Exchange::Reply::None: EXPECT_TRUE(reply.isEmpty()); break;
        case Exchange::Reply::Any: EXPECT_FALSE(reply.isEmpty()); break;
        case Exchange::Reply::Exactly: EXPECT_EQ(reply, e.exactly); break;
        }
    }
    if (c.logKind) {
        EXPECT_EQ(h.logLines(c.logKind)[0], QByteArray(c.firstLogLine));
    }
}

INSTANTIATE_TEST_SUITE_P(LoggerSimFaults, FirstRequests, ::testing::ValuesIn(FirstRequestsCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Robustness ----------------------------------------------------------------------

TEST(LoggerSimInput, ByteWiseDeliveryGivesTheSameRepliesAsOneChunk)
{
    const QByteArray input = QByteArray(500, 'U');
    Harness whole(Config());
    whole.run(input, 100);
    QByteArray a = whole.run("\x80", 300);
    a += whole.run(Frame("C00") + Frame("DA026000"), 2000);

    Harness bytes(Config());
    for (char ch : input)
        bytes.run(QByteArray(1, ch), 0);
    QByteArray b = bytes.wait(100);
    b = bytes.run("\x80", 300);
    for (char ch : Frame("C00") + Frame("DA026000"))
        b += bytes.run(QByteArray(1, ch), 0);
    b += bytes.wait(2000);
    EXPECT_EQ(a, b);
}

TEST(LoggerSimInput, EndlessLineWithoutCrIsDroppedAndTheLoggerRecovers)
{
    Harness h(Config());
    h.wakeUp();
    h.run(">" + QByteArray(1 << 20, 'A'), 10);
    EXPECT_EQ(h.logLines("OVERFLOW").size(), 1u);
    EXPECT_EQ(h.run(Frame("C00"), 1000).size(), 255);
}

TEST(LoggerSimInput, RandomBytesNeverCrash)
{
    Harness h(Config());
    quint32 x = 12345;
    QByteArray junk;
    for (int i = 0; i < 200000; ++i) {
        x = x * 1664525u + 1013904223u;
        junk += static_cast<char>(x >> 24);
    }
    h.run(junk, 100);
    EXPECT_LE(h.log.size(), 200000u);
}

} // namespace
} // namespace tamble::sim

namespace tamble::sim {
namespace {

TEST(LoggerSimStatus, PointerOutsideTheMemoryIsReportedAsAskedWithAFullMemoryBehindIt)
{
    SimConfig c;
    c.pointer = 40;
    testing::Harness h(c);
    h.wakeUp();
    const QByteArray rec = h.run(testing::Frame("C00"), 1000);
    EXPECT_EQ(rec.mid(38, 4), QByteArray("0028"));
    EXPECT_NE(h.logger().memory().byteAt(0, 512), 0xFF);
}

} // namespace
} // namespace tamble::sim
