// Station address programming, the logger speed change, the remote modem
// configuration and the cable loop-back test, on virtual time.

#include "link/baud_rate.h"
#include "link/com_test.h"
#include "link/network.h"
#include "link/remote_modem.h"
#include "virtual_host.h"
#include "test_status_support.h"

#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::vt;

namespace {

// A status record of revision `rev` ending in a valid response checksum.
QByteArray statusRecord(char rev)
{
    QByteArray r = status_test::Golden12Bit().left(252);
    r[249] = rev;
    unsigned sum = 0;
    for (char c : r)
        sum += static_cast<unsigned char>(c);
    const unsigned cs = (256 - sum % 256) % 256;
    r += QByteArray::number(cs, 16).toUpper().rightJustified(2, '0');
    return r;
}

struct StationRun : FakeRun {
    StationAddressProgrammer programmer;
    StationRun()
    {
        settings.network = false;
        programmer.install(engine());
    }
    void start(std::uint16_t address)
    {
        programmer.start(engine(), address);
        engine().onTimeout();  // fast start: revision taken as 'q', status command sent
    }
};

} // namespace

TEST(StationAddress, MenuRefusesOnANetwork)
{
    SettingsRecord set;
    set.network = true;
    EXPECT_EQ(StationAddressMenuRefusal(set).value_or(QString()),
              QStringLiteral("Must be connected to a single logger; check Settings"));
    set.network = false;
    EXPECT_FALSE(StationAddressMenuRefusal(set).has_value());
}

TEST(StationAddress, RevisionQIsProgrammedWithStationZeroCommands)
{
    StationRun run;
    run.start(0x12A);  // the low byte is used: 42
    ASSERT_EQ(run.host.vport.frames().size(), 1);
    EXPECT_EQ(run.host.vport.frames()[0], QByteArray(">C005D\r"));
    run.reply(statusRecord('q'));
    ASSERT_EQ(run.host.vport.frames().size(), 2);
    EXPECT_EQ(run.host.vport.frames()[1], QByteArray(">F2A00E7\r"));
    EXPECT_EQ(run.state.linkState, LinkState::Transfer);
    run.reply("busy");   // not the answer: still waiting, with a time-out armed
    EXPECT_GT(run.host.armed, 0);
    EXPECT_TRUE(run.host.messages.empty());
    run.reply("OK");
    ASSERT_EQ(run.host.messages.size(), 1u);
    EXPECT_EQ(run.host.messages[0].message, QStringLiteral("Station Address #42 programmed into logger."));
    EXPECT_FALSE(run.host.vport.isOpen());
}

TEST(StationAddress, RevisionRCannotBeNetworkedAndNothingIsChanged)
{
    StationRun run;
    run.start(5);
    run.reply(statusRecord('R'));
    EXPECT_EQ(run.host.vport.frames().size(), 1);
    ASSERT_EQ(run.host.messages.size(), 1u);
    EXPECT_EQ(run.host.messages[0].message,
              QStringLiteral("This Tamble Logger can not be networked.  Contact factory for upgrade."));
}

TEST(StationAddress, BadChecksumShowsTheReplyAndItsLength)
{
    StationRun run;
    run.start(5);
    run.reply("garbage");
    ASSERT_EQ(run.host.messages.size(), 1u);
    EXPECT_EQ(run.host.messages[0].message, QStringLiteral("garbage 7"));
    EXPECT_EQ(run.host.messages[0].kind, DialogKind::Error);
}

TEST(StationAddress, NoOkInTimeCannotProgram)
{
    StationRun run;
    run.start(5);
    run.reply(statusRecord('q'));
    run.engine().onTimeout();
    ASSERT_EQ(run.host.messages.size(), 1u);
    EXPECT_EQ(run.host.messages[0].message, QStringLiteral("Unable to program Station Address"));
    EXPECT_EQ(run.host.messages[0].kind, DialogKind::Error);
}

TEST(LoggerBaudRate, NobodyAnswersSixSpeedsThenNoResponseB)
{
    for (bool fast : {true, false}) {
        FakeRun run;
        BaudRateChanger changer;
        changer.install(run.engine());
        run.settings.fastProtocol = fast;
        run.settings.baud = 9600;
        EXPECT_FALSE(changer.start(run.engine()).has_value());
        EXPECT_EQ(run.host.vport.bauds.front(), fast ? 28800 : 1200);
        run.engine().onTimeout();  // fast start
        for (int i = 0; i < 5; ++i)
            run.engine().onTimeout();
        EXPECT_TRUE(run.host.messages.empty());
        run.engine().onTimeout();
        const QList<QByteArray> frames = run.host.vport.frames();
        ASSERT_EQ(frames.size(), 6);
        for (const QByteArray& f : frames)
            EXPECT_EQ(f, QByteArray(">IH000F\r"));
        EXPECT_EQ(std::vector<int>(run.host.vport.bauds.end() - 5, run.host.vport.bauds.end()),
                  (std::vector<int>{19200, 9600, 4800, 2400, 1200}));
        EXPECT_EQ(run.host.statusTexts.back(), QStringLiteral("Sending command: >IH000F"));
        ASSERT_EQ(run.host.messages.size(), 1u);
        EXPECT_EQ(run.host.messages[0].message, QStringLiteral("No response from logger (b)"));
        EXPECT_EQ(run.host.messages[0].buttons, DialogButtons::OkHelp);
        EXPECT_EQ(run.host.messages[0].helpContext, 26);
        EXPECT_EQ(run.settings.baud, 9600);
        EXPECT_EQ(run.state.lastTimeout, 9);
    }
}

TEST(LoggerBaudRate, OkAtAStepSetsTheNewSpeed)
{
    FakeRun run;
    BaudRateChanger changer;
    changer.install(run.engine());
    run.settings.baud = 57600;
    changer.start(run.engine());
    EXPECT_EQ(run.settings.baud, 28800);
    run.engine().onTimeout();
    run.engine().onTimeout();
    run.engine().onTimeout();
    run.reply("OK");
    ASSERT_EQ(run.host.messages.size(), 1u);
    EXPECT_EQ(run.host.messages[0].message, QStringLiteral("Tamble Logger set to 57600 baud."));
    EXPECT_EQ(run.settings.baud, 57600);
    EXPECT_EQ(run.state.transaction, TransactionKind::None);
}

TEST(LoggerBaudRate, RefusedWithAModem)
{
    FakeRun run;
    BaudRateChanger changer;
    run.settings.useModem = true;
    EXPECT_EQ(changer.start(run.engine()).value_or(QString()), QStringLiteral("Must first uncheck 'Use Modem' in Settings"));
    EXPECT_EQ(run.host.vport.opens, 0);
}

namespace {
struct RemoteRun : FakeRun {
    std::vector<bool> enabled;
    RemoteModemSetup remote{[this](bool on) { enabled.push_back(on); }};
    RemoteRun()
    {
        settings.remoteModemInit = QStringLiteral("AT&C1S0=1&W");
        remote.install(engine());
    }
};
} // namespace

TEST(RemoteModem, FactorySettingsThenInitStringThenConfigured)
{
    RemoteRun run;
    run.remote.proceed(run.engine());
    EXPECT_EQ(run.host.vport.writes.back(), QByteArray("AT&F0E0\r"));
    EXPECT_EQ(run.host.armed, 36);
    run.reply("AT&F0E0");   // the echo
    EXPECT_TRUE(run.host.messages.empty());
    run.reply("OK");
    EXPECT_EQ(run.host.vport.writes.back(), QByteArray("AT&C1S0=1&W\r"));
    EXPECT_EQ(run.host.waits, (std::vector<int>{18, 18}));
    ASSERT_EQ(run.host.messages.size(), 1u);
    EXPECT_EQ(run.host.messages[0].message, QStringLiteral("Modem configured as remote"));
    EXPECT_FALSE(run.host.vport.isOpen());
    EXPECT_FALSE(run.state.triggerHeld);
    EXPECT_EQ(run.enabled, (std::vector<bool>{false, true}));
}

TEST(RemoteModem, FailuresAreReported)
{
    {
        RemoteRun run;
        run.remote.proceed(run.engine());
        run.reply("AT&F0E0");
        run.reply("ERROR");
        ASSERT_EQ(run.host.messages.size(), 1u);
        EXPECT_EQ(run.host.messages[0].message, QStringLiteral("Bad response from modem: AT&F0E0ERROR"));
        EXPECT_FALSE(run.host.vport.isOpen());
    }
    {
        RemoteRun run;
        run.remote.proceed(run.engine());
        run.engine().onBytes("garb");
        run.engine().onTimeout();
        ASSERT_EQ(run.host.messages.size(), 1u);
        EXPECT_EQ(run.host.messages[0].message, QStringLiteral("Invalid response from modem. garb"));
        EXPECT_FALSE(run.host.vport.isOpen());
    }
    {
        RemoteRun run;
        run.host.vport.refuseOpen = true;
        run.remote.proceed(run.engine());
        ASSERT_EQ(run.host.messages.size(), 1u);
        EXPECT_EQ(run.host.messages[0].message, QStringLiteral("Unable to open selected ComPort - check Settings"));
        EXPECT_EQ(run.enabled, (std::vector<bool>{false, true}));
    }
}

TEST(ComTestProcedure, LoopBackModemAndMismatch)
{
    const struct { QByteArray reply; const char* text; DialogKind kind; } cases[] = {
        {"AT\r", "Com Test OK", DialogKind::Information},
        {"OK\r", "A modem is connected to the selected Com Port.", DialogKind::Information},
        {"XY\r", "Data sent does not match data received.\rAT / XY", DialogKind::Warning},
    };
    for (const auto& c : cases) {
        FakeRun run;
        ComTest test;
        test.install(run.engine());
        test.run(run.engine());
        EXPECT_EQ(run.host.vport.bauds.back(), 1200);
        EXPECT_EQ(run.host.vport.dtr, (std::vector<bool>{true, false, true}));
        EXPECT_EQ(run.host.waits, (std::vector<int>{4, 9, 4}));
        EXPECT_EQ(run.host.vport.writes.back(), QByteArray("AT\r"));
        EXPECT_EQ(run.host.armed, 18);
        run.engine().onBytes(c.reply);
        ASSERT_EQ(run.host.messages.size(), 1u);
        EXPECT_EQ(run.host.messages[0].message, QString::fromLatin1(c.text));
        EXPECT_EQ(run.host.messages[0].kind, c.kind);
        EXPECT_FALSE(run.host.vport.isOpen());
    }
}

TEST(ComTestProcedure, SilenceFailsAndLeavesThePortOpen)
{
    FakeRun run;
    ComTest test;
    test.install(run.engine());
    test.run(run.engine());
    run.engine().onTimeout();
    ASSERT_EQ(run.host.messages.size(), 1u);
    EXPECT_EQ(run.host.messages[0].message, QStringLiteral("Test Failed - No data received."));
    EXPECT_TRUE(run.host.vport.isOpen());
}
