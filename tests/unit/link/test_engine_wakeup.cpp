// Waking a logger: bursts, echo bytes, speed confirmation, handshake acknowledgement, fast start.
#include "virtual_host.h"

#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::vt;

namespace {

QByteArray Repeat(char c, int n) { return QByteArray(n, c); }

} // namespace

TEST(StatusReadOnTheWire, At9600FromRevisionQ_SendsBurstsEchoStatusAndScheduleBytes)
{
    VirtualLink link;
    link.logger.dialOut = "991530000000";
    link.start(TransactionKind::ReadStatus);
    link.host.run();

    const QList<QByteArray>& w = link.host.vport.writes;
    ASSERT_GE(w.size(), 5);
    // 250 x 'U' twice at 1200 baud.
    EXPECT_EQ(w[0], Repeat('U', 250));
    EXPECT_EQ(w[1], Repeat('U', 250));
    EXPECT_EQ(link.host.vport.writeBauds[0], 1200);
    EXPECT_EQ(link.host.armings[0], 83);
    // The echo 0x80: the port goes to 9600 and sends 0x80, then 7 ticks for the acknowledgement.
    EXPECT_EQ(w[2], QByteArray("\x80", 1));
    EXPECT_EQ(link.host.vport.writeBauds[2], 9600);
    EXPECT_EQ(link.host.armings[1], 7);
    EXPECT_EQ(w[3], QByteArray(">C005D\r"));
    EXPECT_EQ(link.host.armings[2], 36);
    EXPECT_EQ(w[4], QByteArray(">DA01D00046\r"));
    EXPECT_EQ(link.records.session.revision, 'q');
    EXPECT_FALSE(link.host.vport.opened);
    EXPECT_EQ(link.records.session.transaction, TransactionKind::None);
    EXPECT_TRUE(link.host.messages.isEmpty());
}

struct BurstCase {
    bool fast;
    int settingsBaud;
    bool wireless;
    int blockLength;
    int blocks;
    std::uint8_t character;
    int portBaud;
};

class WakeUpBurst : public ::testing::TestWithParam<BurstCase> {};

TEST_P(WakeUpBurst, SendsBlocksOfTheProtocolsCharacterLengthAndCount)
{
    const BurstCase c = GetParam();
    VirtualLink link;
    link.logger.dead = true;
    link.records.settings.fastProtocol = c.fast;
    link.records.settings.baud = c.settingsBaud;
    link.records.settings.wireless = c.wireless;
    link.start(TransactionKind::ReadStatus);

    const QList<QByteArray>& w = link.host.vport.writes;
    ASSERT_EQ(w.size(), c.blocks);
    for (const QByteArray& block : w)
        EXPECT_EQ(block, QByteArray(c.blockLength, static_cast<char>(c.character)));
    EXPECT_EQ(link.host.vport.baudRate, c.portBaud);
}

INSTANTIATE_TEST_SUITE_P(
    BySpeed, WakeUpBurst,
    ::testing::Values(
        // Normal protocol: the port opens at 1200 unless wireless or modem.
        BurstCase{false, 1200, false, 250, 2, 0x55, 1200}, BurstCase{false, 9600, false, 250, 2, 0x55, 1200},
        BurstCase{false, 19200, false, 250, 2, 0x55, 1200}, BurstCase{false, 2400, true, 250, 4, 0x99, 2400},
        BurstCase{false, 4800, true, 250, 8, 0x99, 4800}, BurstCase{false, 9600, true, 250, 16, 0xF0, 9600},
        BurstCase{false, 19200, true, 250, 32, 0xF0, 19200},
        // No count is defined for these speeds: nothing is sent.
        BurstCase{false, 28800, true, 250, 0, 0xF0, 28800}, BurstCase{false, 57600, true, 250, 0, 0xF0, 57600},
        // Fast protocol: 5 x 'U' at the settings speed.
        BurstCase{true, 1200, false, 5, 1, 0x55, 1200}, BurstCase{true, 2400, false, 5, 2, 0x55, 2400},
        BurstCase{true, 4800, false, 5, 4, 0x55, 4800}, BurstCase{true, 9600, false, 5, 8, 0x55, 9600},
        BurstCase{true, 19200, false, 5, 16, 0x55, 19200}, BurstCase{true, 28800, false, 5, 24, 0x55, 28800},
        BurstCase{true, 38400, false, 5, 32, 0x55, 38400}, BurstCase{true, 57600, false, 5, 48, 0x55, 57600}));

TEST(WakeUpBurst, SetBaudRateSendsShortBlocksEvenWithoutFastProtocol)
{
    VirtualLink link;
    link.logger.dead = true;
    link.records.settings.baud = 28800;
    link.start(TransactionKind::SetBaudRate);
    ASSERT_EQ(link.host.vport.writes.size(), 1);  // port at 1200: one block
    // Without the fast flag the character follows the port speed: 'U' at 1200.
    EXPECT_EQ(link.host.vport.writes[0], QByteArray(5, 'U'));
    EXPECT_EQ(link.host.armings[0], 3);
}

struct EchoCase {
    int baud;
    std::uint8_t echo;
    QByteArray confirmation;
    int finalPortBaud;
};

class EchoAndConfirmation : public ::testing::TestWithParam<EchoCase> {};

TEST_P(EchoAndConfirmation, TheEchoOfTheSpeedLeadsToTheConfirmationBytes)
{
    const EchoCase c = GetParam();
    VirtualLink link;
    link.records.settings.baud = c.baud;
    link.logger.echoByte = c.echo;
    link.logger.ack.clear();  // stop after the confirmation
    link.start(TransactionKind::ReadStatus);
    link.host.run(1);
    ASSERT_GE(link.host.vport.writes.size(), 3);
    EXPECT_EQ(link.host.vport.writes[2], c.confirmation);
    EXPECT_EQ(link.host.vport.baudRate, c.finalPortBaud);
    EXPECT_EQ(link.records.session.linkState, LinkState::Handshake);
}

INSTANTIATE_TEST_SUITE_P(BySettingsBaud, EchoAndConfirmation,
                         ::testing::Values(EchoCase{1200, 0xFF, QByteArray("\xC0", 1), 1200},
                                           EchoCase{2400, 0xFE, QByteArray("\x80", 1), 2400},
                                           EchoCase{4800, 0xF8, QByteArray("\x80", 1), 4800},
                                           EchoCase{9600, 0x80, QByteArray("\x80", 1), 9600},
                                           EchoCase{19200, 0x00, QByteArray("E"), 19200}));

TEST(EchoAndConfirmation, At19200OverWirelessSendsTheSevenByteConfirmation)
{
    VirtualLink link;
    link.records.settings.baud = 19200;
    link.records.settings.wireless = true;
    link.logger.echoByte = 0x00;
    link.logger.ack.clear();
    link.start(TransactionKind::ReadStatus);
    link.host.run(3);
    ASSERT_GE(link.host.vport.writes.size(), 33);
    EXPECT_EQ(link.host.vport.writes[32], QByteArray("\x00\xE0\xFF\xFF\xFF\x00\x00", 7));
}

TEST(EchoAndConfirmation, WrongEchoByteIsNotTakenForTheEcho)
{
    VirtualLink link;
    link.logger.echoByte = 0xFF;  // the echo for 1200, but the settings say 9600
    link.logger.ack.clear();
    link.start(TransactionKind::ReadStatus);
    link.host.run(1);
    EXPECT_EQ(link.records.session.linkState, LinkState::WakeUp);
}

struct AckCase {
    QByteArray ack;
    bool accepted;
    char revision;
    bool oldLogger;
    bool dateCode;
    int first;
    int second;
};

class HandshakeAcknowledgement : public ::testing::TestWithParam<AckCase> {};

TEST_P(HandshakeAcknowledgement, LengthDecidesRevisionAndDateCode)
{
    const AckCase c = GetParam();
    VirtualLink link;
    link.logger.ack = c.ack;
    link.logger.dead = false;
    link.logger.silentCommands = 100;  // stop after the handshake
    link.start(TransactionKind::ReadStatus);
    link.host.run(2);
    SessionState& s = link.records.session;
    if (c.accepted) {
        EXPECT_TRUE(s.linkUp);
        EXPECT_EQ(s.revision, c.revision);
        EXPECT_EQ(s.oldLogger, c.oldLogger);
        EXPECT_EQ(s.dateCode.present, c.dateCode);
        if (c.dateCode) {
            EXPECT_EQ(s.dateCode.first, c.first);
            EXPECT_EQ(s.dateCode.second, c.second);
        }
        EXPECT_TRUE(link.host.messages.isEmpty());
    } else {
        ASSERT_EQ(link.host.messages.size(), 1);
        EXPECT_EQ(link.host.messages[0].message,
                  QStringLiteral("Rcvd Ack str/%1 %2").arg(c.ack.size()).arg(QString::fromLatin1(c.ack)));
        EXPECT_EQ(link.host.messages[0].kind, DialogKind::Error);
        EXPECT_FALSE(link.host.vport.opened);
    }
}

INSTANTIATE_TEST_SUITE_P(
    ByLength, HandshakeAcknowledgement,
    ::testing::Values(AckCase{"x", true, 'A', true, false, 0, 0},
                      AckCase{"0q", true, 'q', false, false, 0, 0},
                      // Three characters lose the first and read as two: no date code.
                      AckCase{"90R", true, 'R', false, false, 0, 0},
                      AckCase{"0q3A", true, 'q', false, true, 3, 113},
                      // Five characters read as four, with a date code.
                      AckCase{"90q1\x10", true, 'q', false, true, 1, 64},
                      AckCase{"0q3A45", false, 0, false, false, 0, 0}));

TEST(HandshakeAcknowledgement, AnEmptyLineIsAnError)
{
    VirtualLink link;
    link.logger.ack = "";
    link.logger.silentCommands = 100;
    link.start(TransactionKind::ReadStatus);
    link.host.run(1);
    link.engine.onBytes("\r");
    ASSERT_EQ(link.host.messages.size(), 1);
    EXPECT_EQ(link.host.messages[0].message, QStringLiteral("Rcvd Ack str/0 "));
}

TEST(SilentLogger, GetsConfirmationAfter83TicksThenStatusFirstWithRevisionS)
{
    VirtualLink link;
    link.logger.echo = false;
    link.logger.ack.clear();
    link.logger.silentCommands = 100;
    link.start(TransactionKind::ReadStatus);
    link.host.run(1);  // wake-up time-out
    EXPECT_EQ(link.host.armings[0], 83);
    EXPECT_EQ(link.host.armings[1], 16);
    EXPECT_EQ(link.records.session.lastTimeout, 16);
    ASSERT_EQ(link.host.vport.writes.size(), 3);
    EXPECT_EQ(link.host.vport.writes[2], QByteArray("\x80", 1));
    link.host.run(1);  // handshake time-out
    EXPECT_EQ(link.records.session.revision, 'S');
    EXPECT_EQ(link.records.session.transaction, TransactionKind::StatusFirst);
    EXPECT_EQ(link.host.vport.writes.last(), QByteArray(">C005D\r"));
    link.host.run();
    ASSERT_EQ(link.host.messages.size(), 1);
    EXPECT_EQ(link.host.messages[0].message, QStringLiteral("No response from logger (a)"));
    EXPECT_EQ(link.host.messages[0].helpContext, 24);
    EXPECT_EQ(link.host.messages[0].buttons, DialogButtons::OkHelp);
}

TEST(SilentLogger, OneByteDuringTheHandshakeMakesAnOldestFamilyLogger)
{
    VirtualLink link;
    link.logger.ack = "";
    link.logger.silentCommands = 100;
    link.start(TransactionKind::ReadStatus);
    link.host.run(1);
    link.engine.onBytes("x");
    link.host.run(1);
    EXPECT_EQ(link.records.session.revision, 'A');
    EXPECT_TRUE(link.records.session.oldLogger);
    EXPECT_EQ(link.records.session.transaction, TransactionKind::ReadStatus);
}

TEST(StatusFirst, TakesTheRevisionFromCharacter250AndDecodesTheRecordAlreadyReceived)
{
    VirtualLink link;
    link.logger.echo = false;
    link.logger.ack.clear();
    link.logger.status = "\x01\x02" + StatusRecord{}.revision('k').bits(12).build();
    link.start(TransactionKind::ReadStatus);
    link.host.run();
    EXPECT_EQ(link.records.session.revision, 'k');
    EXPECT_FALSE(link.records.session.oldLogger);
    // One status command only: the record that arrived for StatusFirst is decoded at once.
    int statusCommands = 0;
    for (const QByteArray& c : link.logger.commands)
        statusCommands += c == "C";
    EXPECT_EQ(statusCommands, 1);
    EXPECT_EQ(link.frames().last(), QByteArray("DA01D0") + "00" + "46");
}

TEST(FastStart, After3TicksTakesRevisionQAndSendsTheStatusCommand)
{
    VirtualLink link;
    link.records.settings.fastProtocol = true;
    link.records.settings.baud = 19200;
    link.logger.protocol = ScriptedLogger::Protocol::Fast;
    link.start(TransactionKind::ReadStatus);
    EXPECT_EQ(link.records.session.linkState, LinkState::FastStart);
    EXPECT_EQ(link.host.armings[0], 3);
    link.host.run();
    EXPECT_EQ(link.host.vport.writes[16], QByteArray(">C005D\r"));
    EXPECT_EQ(link.host.armings[1], 9);
    EXPECT_EQ(link.records.session.transaction, TransactionKind::None);
}

TEST(ProgressMeter, AddsFourPercentPerTickAndStopsAtOneHundred)
{
    VirtualLink link;
    link.logger.dead = true;
    link.start(TransactionKind::ReadStatus);
    EXPECT_TRUE(link.host.progressRunning);
    for (int i = 0; i < 25; ++i)
        link.engine.onProgressTick();
    EXPECT_EQ(link.host.meter, 100);
    EXPECT_TRUE(link.host.progressRunning);
    link.engine.onProgressTick();
    EXPECT_EQ(link.host.meter, 100);
    EXPECT_FALSE(link.host.progressRunning);
}

TEST(ProgressMeter, DoesNotRunWithTheFastProtocol)
{
    VirtualLink link;
    link.logger.dead = true;
    link.records.settings.fastProtocol = true;
    link.start(TransactionKind::ReadStatus);
    EXPECT_FALSE(link.host.progressRunning);
}

TEST(WakeUpAnswerR, SendsTheBaudLetterAndSwitchesToTheSettingsSpeed)
{
    VirtualLink link;
    link.logger.echo = false;
    link.logger.silentCommands = 100;
    link.start(TransactionKind::ReadStatus);
    link.engine.onBytes("R\r");
    link.host.run(0);  // the speed letter's settling wait
    EXPECT_EQ(link.host.vport.writes.last(), QByteArray("D"));
    EXPECT_EQ(link.host.vport.baudRate, 9600);
    EXPECT_EQ(link.host.armings.back(), 10);
    EXPECT_EQ(link.records.session.linkState, LinkState::Handshake);
}

TEST(RealTime, PolledLoggerGetsYAfterEveryReadingAndOkArms146Ticks)
{
    VirtualLink link;
    link.logger.revision = 'q';
    link.records.session.realTimeRequested = true;
    link.start(TransactionKind::RealTime);
    link.host.run(4);  // echo, ack, status, "OK"
    EXPECT_EQ(link.records.session.linkState, LinkState::Transfer);
    EXPECT_EQ(link.frames().last(), QByteArray("Y0047"));
    EXPECT_EQ(link.host.armings.back(), 146);
    EXPECT_EQ(link.records.session.lastTimeout, 146);
    link.engine.onBytes(">0102030405060708090A0B0C00\r");
    ASSERT_EQ(link.host.realTimeLines.size(), 1);
    EXPECT_EQ(link.frames().last(), QByteArray("Y0047"));
    EXPECT_EQ(link.logger.commands.count("Y"), 2);
}

TEST(RealTime, SecondSilentPeriodAsksWithCommFailureTicksAndRetries)
{
    VirtualLink link;
    link.records.session.realTimeRequested = true;
    link.logger.silentRealTime = true;
    link.host.answers.push_back(DialogAnswer::Ok);
    link.start(TransactionKind::RealTime);
    link.host.run();
    ASSERT_EQ(link.host.messages.size(), 1);
    EXPECT_TRUE(link.host.messages[0].message.startsWith(QStringLiteral("Real Time Display: Comm Failure ")))
        << link.host.messages[0].message.toStdString();
    EXPECT_EQ(link.host.messages[0].buttons, DialogButtons::OkRetryHelp);
    EXPECT_EQ(link.host.messages[0].helpContext, 29);
    EXPECT_EQ(link.records.session.realTimeFailed, 1);
    // The first silence restarted the session without a word: two status reads.
    EXPECT_EQ(link.logger.commands.count("C"), 2);
    EXPECT_EQ(link.records.session.transaction, TransactionKind::None);
}
