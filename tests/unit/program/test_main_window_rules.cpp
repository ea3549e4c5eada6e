// The main window's rules: which commands ask before ending a real-time graph, the download
// name rule, what the settings show, and the download progress beside the block number.
#include "program/main_window_rules.h"
#include "link/download_progress.h"
#include "support/scripted_messages.h"

#include <gtest/gtest.h>

using namespace tamble;
using tamble::test::ScriptedMessages;

TEST(RealTimeGuard, AsksOnlyForTheCommandsThatWouldEndTheGraphAndOnlyWhileItRuns)
{
    const MainCommand guarded[] = {MainCommand::FileSetup, MainCommand::SendSetup, MainCommand::StationAddress,
                                   MainCommand::ScalingLabels, MainCommand::SetBaudRate, MainCommand::ReceiveData,
                                   MainCommand::ReceiveStatus, MainCommand::RealTime};
    const MainCommand free[] = {MainCommand::RealTimeGraph, MainCommand::Graph, MainCommand::Settings,
                                MainCommand::LastStatus, MainCommand::ComTest, MainCommand::PhoneList};
    SessionState running;
    running.realTimeGraph = true;
    for (MainCommand c : guarded) {
        ScriptedMessages ok, cancel;
        cancel.answers = {DialogAnswer::Cancel};
        ok.answers = {DialogAnswer::Ok};
        EXPECT_TRUE(PassRealTimeGuard(c, running, ok));
        EXPECT_FALSE(PassRealTimeGuard(c, running, cancel));
        ASSERT_EQ(cancel.shown.size(), 1u);
        EXPECT_EQ(cancel.shown[0].text, QStringLiteral("This action will terminate Real Time Graph"));
        EXPECT_EQ(cancel.shown[0].buttons, DialogButtons::OkCancel);
        ScriptedMessages idle;
        EXPECT_TRUE(PassRealTimeGuard(c, SessionState{}, idle));
        EXPECT_TRUE(idle.shown.empty());
    }
    for (MainCommand c : free) {
        ScriptedMessages none;
        EXPECT_TRUE(PassRealTimeGuard(c, running, none));
        EXPECT_TRUE(none.shown.empty());
    }
}

TEST(ReceiveDataName, OnlyATl1NameIsTakenAndTheBankFileBesideItGoesUnlessTheGraphRuns)
{
    struct Case {
        const char* chosen;
        bool graphRunning;
        bool taken;
        const char* stale;
    } cases[] = {
        {"/d/SITE.TL1", false, true, "/d/SITE.TL2"},
        {"/d/site.tl1", false, true, "/d/site.TL2"},
        {"/d/a.b.Tl1", false, true, "/d/a.b.TL2"},
        {"/d/SITE.TL1", true, true, ""},
        {"/d/SITE.CSV", false, false, ""},
        {"/d/SITE", false, false, ""},
        {"/d/SITE.TL10", false, false, ""},
    };
    for (const Case& c : cases) {
        ScriptedMessages messages;
        const auto target = ReceiveDataTarget(QString::fromLatin1(c.chosen), c.graphRunning, messages);
        EXPECT_EQ(target.has_value(), c.taken) << c.chosen;
        if (target) {
            EXPECT_EQ(target->dataFile, QString::fromLatin1(c.chosen));
            EXPECT_EQ(target->staleBankFile, QString::fromLatin1(c.stale)) << c.chosen;
            EXPECT_TRUE(messages.shown.empty());
        } else {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].text, QStringLiteral("File name must end in '.TL1'"));
            EXPECT_EQ(messages.shown[0].kind, DialogKind::Error);
        }
    }
}

TEST(MainWindowLook, StationWithNetworkModemPanelOnlyOnLineAndPhoneWithModem)
{
    SettingsRecord set;
    SessionState s;
    set.network = false;
    set.useModem = false;
    EXPECT_FALSE(LookOf(set, s).stationVisible);
    EXPECT_FALSE(LookOf(set, s).phoneVisible);
    s.modemOnline = true;
    EXPECT_FALSE(LookOf(set, s).modemPanelVisible);  // a single logger shows no modem panel
    set.network = true;
    set.useModem = true;
    set.stationAddress = 42;
    const MainWindowLook look = LookOf(set, s);
    EXPECT_TRUE(look.stationVisible && look.modemPanelVisible && look.phoneVisible);
    EXPECT_EQ(look.stationAddress, 42);
}

TEST(DownloadProgressText, ShareSpeedAndTimeLeft)
{
    EXPECT_EQ(ProgressText(0, 336, ProgressOf(0, 336, 96, 0)), QStringLiteral("0 of 336 blocks"));
    const DownloadProgress half = ProgressOf(168, 336, 96, 8000);  // 16128 bytes in 8 s
    EXPECT_EQ(half.percent, 50);
    EXPECT_EQ(half.secondsLeft, 8);
    EXPECT_EQ(ProgressText(168, 336, half), QStringLiteral("168 of 336 blocks, 2.0 kB/s, 0:08 left"));
    EXPECT_EQ(ProgressOf(100, 336, 96, 1000).secondsLeft, 3);  // 2.36 s left: rounded up
    EXPECT_EQ(ProgressOf(400, 336, 96, 1000).percent, 100);  // never past the end
    EXPECT_EQ(ProgressOf(5, 0, 96, 1000).percent, 0);        // unknown size
}
