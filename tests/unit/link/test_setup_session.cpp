// A setup session through the engine on virtual time: the parts on the wire,
// the answers and time-outs up to their limits, and how each outcome is told.

#include "link/setup_sender.h"
#include "virtual_host.h"

#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::vt;

namespace {

SetupRecord sampleSetup()
{
    SetupRecord r = DefaultSetupRecord(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 30)));
    return r;
}

struct SetupRun : FakeRun {
    SetupRecord setup = sampleSetup();
    SetupSender sender{setup};

    SetupRun() { engine().setTransactionHandler(TransactionKind::SendSetup, &sender); }

    // CheckAndSendSetup, then the fast start's 3-tick time-out, which takes the
    // revision as 'q' and sends part 1.
    void start()
    {
        state.transaction = TransactionKind::SendSetup;
        CheckAndSendSetup(engine(), setup);
        if (state.linkState == LinkState::FastStart)
            engine().onTimeout();
    }
};

} // namespace

TEST(SetupSession, UnattendedSendSetupSendsFourFramedPartsAndEndsTheRun)
{
    SetupRun run;
    run.mode.sendSetup = true;
    run.start();
    for (int i = 0; i < 4; ++i)
        run.reply("OK");
    const QList<QByteArray> frames = run.host.vport.frames();
    ASSERT_EQ(frames.size(), 4);
    EXPECT_TRUE(frames[0].startsWith(">04530070912426"));
    EXPECT_EQ(frames[0].size(), 1 + 65 + 2 + 2 + 1);
    EXPECT_EQ(frames[1], QByteArray(">2Channel 1               Channel 2               0099\r"));
    EXPECT_EQ(frames[2], QByteArray(">3Channel 3               Channel 4               0094\r"));
    EXPECT_TRUE(frames[3].startsWith(">4C           C           C           C            @@00"));
    EXPECT_EQ(run.host.fatalLines, QStringList{QStringLiteral("Running new configuration: site.set")});
    EXPECT_EQ(run.host.fatalCode, 0);
    EXPECT_TRUE(run.host.messages.empty());
    // 10 ticks before part 1, 4 ticks before each further part; 9-tick answer time-outs.
    EXPECT_EQ(run.host.waits, (std::vector<int>{10, 4, 4, 4}));
    EXPECT_EQ(run.host.armings.back(), 9);
}

TEST(SetupSession, NineRejectedAnswersEndWithCommErrors)
{
    SetupRun run;
    run.mode.sendSetup = true;
    run.start();
    run.reply("OK");
    for (int i = 0; i < 9; ++i)
        run.reply("garbled");
    EXPECT_TRUE(run.host.fatalLines.isEmpty());
    run.reply("OK");
    EXPECT_EQ(run.host.fatalLines, QStringList{QStringLiteral("Unable to send Setup (comm errors)")});
    const QList<QByteArray> frames = run.host.vport.frames();
    // part 1, part 2, then part 1 again after each of the nine rejections.
    ASSERT_EQ(frames.size(), 11);
    int partOnes = 0;
    for (const QByteArray& f : frames)
        partOnes += f.startsWith(">0") ? 1 : 0;
    EXPECT_EQ(partOnes, 10);
}

TEST(SetupSession, NineTimeOutsEndWithNoResponse)
{
    SetupRun run;
    run.mode.sendSetup = true;
    run.start();
    for (int i = 0; i < 8; ++i) {
        run.engine().onTimeout();
        ASSERT_TRUE(run.host.fatalLines.isEmpty()) << i;
    }
    run.engine().onTimeout();
    EXPECT_EQ(run.host.fatalLines, QStringList{QStringLiteral("Unable to send Setup to logger (no response)")});
    EXPECT_EQ(run.host.vport.frames().size(), 9);
    EXPECT_FALSE(run.host.vport.isOpen());
}

TEST(SetupSession, InteractiveSendAsksThenReportsTheNewConfiguration)
{
    SetupRun run;
    run.settings.network = true;
    run.settings.stationAddress = 123;
    run.start();
    ASSERT_EQ(run.host.messages.size(), 1u);
    EXPECT_EQ(run.host.messages[0].message,
              QStringLiteral("Tamble Logger's data is about to be erased, and its clock set to the date/time of this computer."));
    EXPECT_EQ(run.host.messages[0].buttons, DialogButtons::OkCancel);
    EXPECT_EQ(run.host.messages[0].kind, DialogKind::Warning);
    EXPECT_TRUE(run.host.messages[0].destructive);   // Cancel is the default button
    for (int i = 0; i < 4; ++i)
        run.reply("OK");
    ASSERT_EQ(run.host.messages.size(), 2u);
    EXPECT_EQ(run.host.messages[1].message,
              QStringLiteral("Tamble Logger station # 123 running new configuration: site.set"));
    EXPECT_EQ(run.host.messages[1].kind, DialogKind::Information);
    EXPECT_EQ(run.state.transaction, TransactionKind::None);
}

TEST(SetupSession, SuccessNamesTheLastStatusWhenThatWasSent_TheLogLineKeepsTheFile)
{
    SetupRun run;
    run.sender.setSourceName(QStringLiteral("LAST STATUS"));
    run.start();
    for (int i = 0; i < 4; ++i)
        run.reply("OK");
    ASSERT_EQ(run.host.messages.size(), 2u);
    EXPECT_EQ(run.host.messages[1].message, QStringLiteral("Tamble Logger running new configuration: LAST STATUS"));

    SetupRun unattended;
    unattended.mode.sendSetup = true;
    unattended.sender.setSourceName(QStringLiteral("LAST STATUS"));
    unattended.start();
    for (int i = 0; i < 4; ++i)
        unattended.reply("OK");
    EXPECT_EQ(unattended.host.fatalLines, QStringList{QStringLiteral("Running new configuration: site.set")});
}

TEST(SetupSession, CancelSendsNothingAndOpensNoPort)
{
    SetupRun run;
    run.host.answers = {DialogAnswer::Cancel};
    run.start();
    EXPECT_EQ(run.host.vport.opens, 0);
    EXPECT_TRUE(run.host.vport.writes.isEmpty());
    EXPECT_EQ(run.state.transaction, TransactionKind::None);
}

TEST(SetupSession, ImproperFastSetupEndsAnUnattendedRunWithItsText)
{
    SetupRun run;
    run.mode.sendSetup = true;
    run.setup.setRateCode('4');
    run.setup.setStartRun(0, 1);
    run.start();
    EXPECT_EQ(run.host.fatalLines,
              QStringList{QStringLiteral("Improper setup; Cannot select 'Run continuously' if sample rate is less than 2 seconds.")});
    EXPECT_TRUE(run.host.vport.writes.isEmpty());
}

TEST(SetupSession, ScalingOnlyAsksNothingAndSendsPrefixK)
{
    SetupRun run;
    run.state.scalingOnly = true;
    run.start();
    EXPECT_TRUE(run.host.messages.empty());
    for (int i = 0; i < 4; ++i)
        run.reply("OK");
    ASSERT_FALSE(run.host.vport.frames().isEmpty());
    EXPECT_TRUE(run.host.vport.frames()[0].startsWith(">K"));
    ASSERT_EQ(run.host.messages.size(), 1u);
    EXPECT_EQ(run.host.messages[0].message, QStringLiteral("Tamble Logger running with new scaling and/or labels."));
}

TEST(SetupSession, ScalingOnlyRejectedNineTimesIsToldByRevision)
{
    const struct { char revision; const char* text; DialogKind kind; } cases[] = {
        {'T', "Sending new scaling and/or labels is not supported by this logger.  A firmware upgrade is available; contact factory for details.", DialogKind::Information},
        // Lower-case revisions rank above upper-case ones.
        {'q', "Unable to send new scaling and/or labels", DialogKind::Warning},
    };
    for (const auto& c : cases) {
        SetupRun run;
        run.state.scalingOnly = true;
        run.state.transaction = TransactionKind::SendSetup;
        run.host.vport.opened = true;
        run.state.linkUp = true;
        run.state.revision = c.revision;
        run.engine().DispatchTransaction();
        for (int i = 0; i < 10; ++i)
            run.reply("?");
        ASSERT_EQ(run.host.messages.size(), 1u);
        EXPECT_EQ(run.host.messages[0].message, QString::fromLatin1(c.text));
        EXPECT_EQ(run.host.messages[0].kind, c.kind);
    }
}

TEST(SetupSession, DialledInLoggerGetsTheSentLogLineAndTheAutoAnswerHangUp)
{
    SetupRun run;
    run.state.autoAnswerCount = 5;
    run.state.modemOnline = true;
    run.dataFile = QStringLiteral("/p/Pump000042.tl1");
    run.start();
    run.reply("OK");
    run.reply("K");
    run.reply("bad");
    run.reply("OK");
    run.reply("OK");
    run.reply("OK");
    run.reply("OK");
    EXPECT_EQ(run.host.logLines, QStringList{QStringLiteral("Sent /p/Pump000042.tl1 K, 1,0")});
    EXPECT_EQ(run.host.autoAnswerHangups, 1);
    EXPECT_EQ(run.state.autoAnswerCount, 0);
    EXPECT_FALSE(run.state.modemOnline);
    EXPECT_TRUE(run.host.messages.empty());
}

TEST(SetupSession, RevisionRefusalsEndTheSessionBeforeAnythingIsSent)
{
    const struct { char rate; char revision; bool old; const char* text; } cases[] = {
        {'4', 'G', true, "Logger does not support selected sample rate"},
        {'T', 'K', false, "Logger does not support selected sample rate"},
        {'D', 'A', true, nullptr}, // refused for its scaling (below)
    };
    for (const auto& c : cases) {
        SetupRun run;
        run.mode.sendSetup = true;
        run.setup.setRateCode(c.rate);
        if (!c.text)
            run.setup.setScalingCode(2, 'X');
        run.state.transaction = TransactionKind::SendSetup;
        run.host.vport.opened = true;
        run.state.linkUp = true;
        run.state.revision = c.revision;
        run.state.oldLogger = c.old;
        run.engine().DispatchTransaction();
        ASSERT_EQ(run.host.fatalLines.size(), 1);
        if (c.text) {
            EXPECT_EQ(run.host.fatalLines[0], QString::fromLatin1(c.text));
        } else {
            EXPECT_TRUE(run.host.fatalLines[0].startsWith(QStringLiteral("Scaling values are not supported in this Tamble Logger\r")));
        }
        EXPECT_TRUE(run.host.vport.frames().isEmpty());
    }
}

TEST(SetupSession, OffChannelsLoseTheirInputTypesInTheRecord)
{
    SetupRun run;
    run.setup.setInputTypes(5 | (1 << 3) | (2 << 6) | (4 << 9));
    run.setup.setChannelOn(2, false);
    run.mode.sendSetup = true;
    run.start();
    EXPECT_EQ(run.setup.inputTypes(), 5 | (2 << 6) | (4 << 9));
}
