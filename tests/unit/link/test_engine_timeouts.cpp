// Response time-outs, retries and the engine's own messages, on virtual time.
#include "virtual_host.h"

#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::vt;

struct TimeoutCase {
    const char* name;
    int baud;
    bool useModem;
    bool wireless;
    bool setupSending;
    bool realTime;
    char revision;
    TransactionKind transaction;
    LinkState state;
    int ticks;
};

class SendCommandTimeout : public ::testing::TestWithParam<TimeoutCase> {};

TEST_P(SendCommandTimeout, ArmsTheTicksOfItsSpeedLineAndTransaction)
{
    const TimeoutCase c = GetParam();
    VirtualLink link;
    SessionState& s = link.records.session;
    link.records.settings.baud = c.baud;
    link.records.settings.useModem = c.useModem;
    link.records.settings.wireless = c.wireless;
    s.baseTimeout = static_cast<std::uint16_t>(BaseTimeoutForBaud(c.baud));
    s.setupSending = c.setupSending;
    s.realTimeRequested = c.realTime;
    s.revision = c.revision;
    s.transaction = c.transaction;
    s.linkState = c.state;
    link.engine.SendCommand("C005D");
    ASSERT_FALSE(link.host.armings.empty());
    EXPECT_EQ(link.host.armings.back(), c.ticks);
    EXPECT_EQ(link.host.vport.writes.back(), QByteArray(">C005D\r"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SendCommandTimeout,
    ::testing::Values(
        TimeoutCase{"Base1200", 1200, false, false, false, false, 'q', TransactionKind::ReadStatus, LinkState::Handshake, 49},
        TimeoutCase{"Base2400", 2400, false, false, false, false, 'q', TransactionKind::ReadStatus, LinkState::Handshake, 29},
        TimeoutCase{"Base4800", 4800, false, false, false, false, 'q', TransactionKind::ReadStatus, LinkState::Handshake, 18},
        TimeoutCase{"Base9600", 9600, false, false, false, false, 'q', TransactionKind::ReadStatus, LinkState::Handshake, 36},
        TimeoutCase{"Base19200", 19200, false, false, false, false, 'q', TransactionKind::ReadStatus, LinkState::Handshake, 9},
        TimeoutCase{"Base57600", 57600, false, false, false, false, 'q', TransactionKind::ReadStatus, LinkState::Handshake, 9},
        TimeoutCase{"ModemAdds24", 9600, true, false, false, false, 'q', TransactionKind::ReadStatus, LinkState::Handshake, 60},
        TimeoutCase{"WirelessAdds24", 19200, false, true, false, false, 'q', TransactionKind::ReadStatus, LinkState::Handshake, 33},
        TimeoutCase{"NotInTransfer", 19200, false, true, false, false, 'q', TransactionKind::ReceiveData, LinkState::Transfer, 9},
        TimeoutCase{"SetupDirect", 1200, false, false, true, false, 'q', TransactionKind::SendSetup, LinkState::AwaitResponse, 9},
        TimeoutCase{"SetupModem", 1200, true, false, true, false, 'q', TransactionKind::SendSetup, LinkState::AwaitResponse, 36},
        TimeoutCase{"RealTimeUpToO", 19200, false, false, false, true, 'o', TransactionKind::RealTime, LinkState::Transfer, 73},
        TimeoutCase{"RealTimeFromP", 19200, false, false, false, true, 'p', TransactionKind::RealTime, LinkState::Transfer, 9},
        TimeoutCase{"SetBaudRate", 1200, false, false, false, false, 'q', TransactionKind::SetBaudRate, LinkState::FastStart, 9}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SendCommand, ShowsTheRetryCountRightAlignedBeforeTheFrame)
{
    VirtualLink link;
    link.records.session.retryCount = 3;
    link.engine.SendCommand("C005D");
    EXPECT_EQ(link.host.statusTexts.last(), QStringLiteral("Send:  3 >C005D"));
    link.records.session.retryCount = 0;
    link.engine.SendCommand("C005D");
    EXPECT_EQ(link.host.statusTexts.last(), QStringLiteral("Send:  0 >C005D"));
}

TEST(Retries, NormalProtocolGivesUpAtTheFirstTimeOutWithMessageD)
{
    VirtualLink link;
    link.logger.silentCommands = 100;
    link.start(TransactionKind::ReadStatus);
    link.host.run();
    EXPECT_EQ(link.logger.commands.size(), 1);
    ASSERT_EQ(link.host.messages.size(), 1);
    EXPECT_EQ(link.host.messages[0].message, QStringLiteral("No response from logger (d)"));
    EXPECT_EQ(link.host.messages[0].kind, DialogKind::Information);
    EXPECT_EQ(link.host.messages[0].buttons, DialogButtons::OkHelp);
    EXPECT_EQ(link.host.messages[0].helpContext, 24);
    EXPECT_FALSE(link.host.vport.opened);
}

TEST(Retries, FastProtocolSendsTheCommandThreeTimesThenMessageC)
{
    VirtualLink link;
    link.records.settings.fastProtocol = true;
    link.logger.protocol = ScriptedLogger::Protocol::Fast;
    link.logger.dead = true;
    link.start(TransactionKind::ReadStatus);
    link.host.run();
    EXPECT_EQ(link.frames(), (QList<QByteArray>{"C005D", "C005D", "C005D"}));
    ASSERT_EQ(link.host.messages.size(), 1);
    EXPECT_EQ(link.host.messages[0].message, QStringLiteral("No response from logger (c)"));
    EXPECT_EQ(link.host.messages[0].helpContext, 24);
}

TEST(Retries, ModemLinkRestartsTheWholeSessionFiveTimesThenNamesTheTransaction)
{
    VirtualLink link;
    link.records.settings.useModem = true;
    link.records.settings.network = true;
    link.records.session.modemOnline = true;
    link.host.vport.opened = true;  // the line is up: no dialling
    link.logger.silentCommands = 100;
    link.start(TransactionKind::ReceiveData);
    link.host.run();
    // Six wake-ups, each armed for 83 + 6 ticks.
    EXPECT_EQ(std::count(link.host.armings.begin(), link.host.armings.end(), 89), 6);
    EXPECT_EQ(link.logger.commands.size(), 6);
    ASSERT_EQ(link.host.messages.size(), 1);
    EXPECT_EQ(link.host.messages[0].message, QStringLiteral("No response from logger; TLcmd: 3"));
    EXPECT_EQ(link.host.messages[0].buttons, DialogButtons::Ok);
}

TEST(Retries, NoAnswerToStatusFirstBeforeADownloadNamesTheDataFile)
{
    VirtualLink link;
    link.logger.dead = true;
    link.start(TransactionKind::ReceiveData);
    link.host.run();
    ASSERT_EQ(link.host.messages.size(), 1);
    EXPECT_EQ(link.host.messages[0].message, QStringLiteral("No response from logger; No new data file created."));
    EXPECT_EQ(link.host.messages[0].buttons, DialogButtons::Ok);
    EXPECT_FALSE(link.fileExists());
}

TEST(Retries, AnInvalidStatusRecordIsRequestedOnceMoreAfterNineTicks)
{
    VirtualLink link;
    link.logger.status = QByteArray(249, '0');
    link.start(TransactionKind::ReadStatus);
    link.host.run();
    int statusCommands = 0;
    for (const QByteArray& c : link.logger.commands)
        statusCommands += c == "C";
    EXPECT_EQ(statusCommands, 2);
    EXPECT_NE(std::find(link.host.waits.begin(), link.host.waits.end(), 9), link.host.waits.end());
    ASSERT_EQ(link.host.messages.size(), 1);
    EXPECT_TRUE(link.host.messages[0].message.startsWith(QStringLiteral("Invalid response from logger; 0 Length = ")))
        << link.host.messages[0].message.toStdString();
}

TEST(Outcomes, PortThatCannotBeOpenedGivesTheSettingsWarning)
{
    VirtualLink link;
    link.host.vport.refuseOpen = true;
    link.start(TransactionKind::ReadStatus);
    ASSERT_EQ(link.host.messages.size(), 1);
    EXPECT_EQ(link.host.messages[0].message, QStringLiteral("Unable to open selected ComPort - check Settings"));
    EXPECT_EQ(link.host.messages[0].kind, DialogKind::Warning);
    EXPECT_EQ(link.records.session.transaction, TransactionKind::None);
}

TEST(Outcomes, UnattendedReceiveEndsTheProgramWithTheMessageInsteadOfADialog)
{
    VirtualLink link;
    link.records.mode.receive = true;
    link.logger.silentCommands = 100;
    link.start(TransactionKind::ReceiveData);
    link.host.run();
    EXPECT_TRUE(link.host.messages.isEmpty());
    EXPECT_EQ(link.host.fatalLine, QStringLiteral("No response from logger (d)"));
    EXPECT_EQ(link.host.fatalCode, 1);
}

TEST(Outcomes, DialledInLoggerGetsALogLineAndTheModemIsHungUp)
{
    VirtualLink link;
    link.records.session.autoAnswerCount = 5;
    link.records.session.modemOnline = true;
    link.logger.silentCommands = 100;
    link.start(TransactionKind::ReceiveData);
    link.host.run();
    EXPECT_TRUE(link.host.messages.isEmpty());
    EXPECT_EQ(link.host.logLines, QStringList{QStringLiteral("No response from logger (d)")});
    EXPECT_EQ(link.host.autoAnswerHangups, 1);
    EXPECT_FALSE(link.records.session.modemOnline);
}

TEST(Outcomes, EndRealTimeWithoutAnswerReportsTheLinkTerminated)
{
    VirtualLink link;
    link.logger.dead = true;
    link.start(TransactionKind::EndRealTime);
    link.host.run();
    ASSERT_EQ(link.host.messages.size(), 1);
    EXPECT_EQ(link.host.messages[0].message, QStringLiteral("Real Time Link terminated"));
    EXPECT_TRUE(link.host.statusTexts.contains(QStringLiteral("Terminating link...")));
}

TEST(Outcomes, StationAddressIsZeroWithAutoAnswerAndWithoutNetwork)
{
    VirtualLink link;
    link.records.settings.stationAddress = 7;
    EXPECT_EQ(link.engine.stationAddress(), 0);
    link.records.settings.network = true;
    EXPECT_EQ(link.engine.stationAddress(), 7);
    link.records.settings.autoAnswer = true;
    EXPECT_EQ(link.engine.stationAddress(), 0);
}

TEST(EndSession, ClosesThePortReleasesTheTriggerAndClearsTheTransaction)
{
    VirtualLink link;
    link.logger.silentCommands = 100;
    link.records.session.realTimeRequested = true;
    link.records.session.setupSending = true;
    link.start(TransactionKind::ReadStatus);
    link.records.session.retryCount = 4;
    link.engine.EndSession();
    const SessionState& s = link.records.session;
    EXPECT_EQ(s.transaction, TransactionKind::None);
    EXPECT_FALSE(s.triggerHeld);
    EXPECT_FALSE(s.realTimeRequested);
    EXPECT_FALSE(s.setupSending);
    EXPECT_EQ(s.retryCount, 0);
    EXPECT_FALSE(link.host.vport.opened);
    EXPECT_FALSE(link.host.triggerAt.has_value());
}

TEST(EndSession, KeepsThePortOpenWhileAModemIsOnLine)
{
    VirtualLink link;
    link.logger.silentCommands = 100;
    link.start(TransactionKind::ReadStatus);
    link.records.session.modemOnline = true;
    link.engine.EndSession();
    EXPECT_TRUE(link.host.vport.opened);
    EXPECT_TRUE(link.records.session.triggerHeld);
}
