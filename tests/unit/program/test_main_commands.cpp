#include "program/main_commands.h"
#include "support/scripted_messages.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tamble {
namespace {

struct FakeWindows : MainCommandWindows {
    bool active = false;
    QStringList calls;
    QString chosen;
    std::optional<QString> baudRefusal;

    bool sessionActive() const override { return active; }
    void endSession() override { calls << "end"; active = false; }
    void startSession(TransactionKind kind) override { calls << "start " + QString::number(int(kind)); active = true; }
    std::optional<QString> startBaudRateChange() override { calls << "baud"; return baudRefusal; }
    void showLastStatus() override { calls << "last status"; }
    void closeProgram() override { calls << "close"; }
    void showStationAddress() override { calls << "station"; }
    void openSetupWindow(bool scalingOnly) override { calls << (scalingOnly ? "scaling" : "setup"); }
    QString askDataFileName() override { calls << "ask"; return chosen; }
    void hideStatusWindow() override { calls << "hide status"; }
    void prepareRealTimeGraph() override { calls << "graph waits"; }
    void showGraph() override { calls << "graph"; }
    void openGraphFile() override { calls << "open graph"; }
    void openDialog(MainCommand) override { calls << "dialog"; }
    void showHelpContents() override { calls << "help"; }
};

struct CommandsRig {
    SettingsRecord settings;
    SessionState session;
    QString dataFile;
    test::ScriptedMessages messages;
    FakeWindows windows;
    MainCommands commands{settings, session, dataFile, messages, windows};
};

TEST(MainCommands, OneSessionAtATimeAndTheRealTimeGraphHandsOver)
{
    CommandsRig rig;
    rig.commands.run(MainCommand::ReceiveStatus);
    rig.commands.run(MainCommand::ReceiveStatus);   // the first still runs
    rig.commands.run(MainCommand::SetBaudRate);
    EXPECT_EQ(rig.windows.calls, QStringList({"start " + QString::number(int(TransactionKind::ReadStatus))}));

    // A running real-time graph: a guarded command asks first; Cancel leaves it running.
    CommandsRig graph;
    graph.commands.run(MainCommand::RealTimeGraph);
    EXPECT_TRUE(graph.session.realTimeGraph && graph.session.realTimeRequested);
    EXPECT_EQ(graph.windows.calls,
              QStringList({"graph waits", "hide status", "start " + QString::number(int(TransactionKind::RealTime))}));
    graph.windows.calls.clear();
    graph.commands.run(MainCommand::RealTimeGraph);   // running: shown again, nothing started
    EXPECT_EQ(graph.windows.calls, QStringList({"graph"}));
    graph.windows.calls.clear();
    graph.messages.answers = {DialogAnswer::Cancel};
    graph.commands.run(MainCommand::ReceiveStatus);
    EXPECT_TRUE(graph.windows.calls.isEmpty());
    graph.messages.answers = {DialogAnswer::Ok};
    graph.commands.run(MainCommand::ReceiveStatus);
    EXPECT_EQ(graph.windows.calls, QStringList({"end", "start " + QString::number(int(TransactionKind::ReadStatus))}));
}

TEST(MainCommands, ReceiveDataTakesTheChosenFileAndRemovesItsOldBankFile)
{
    QTemporaryDir dir;
    CommandsRig rig;
    rig.windows.chosen = dir.filePath("RUN.TL1");
    QFile bank(dir.filePath("RUN.TL2"));
    ASSERT_TRUE(bank.open(QIODevice::WriteOnly));
    bank.close();
    rig.commands.run(MainCommand::ReceiveData);
    EXPECT_EQ(rig.dataFile, dir.filePath("RUN.TL1"));
    EXPECT_FALSE(QFile::exists(dir.filePath("RUN.TL2")));
    EXPECT_EQ(rig.windows.calls.last(), "start " + QString::number(int(TransactionKind::ReceiveData)));

    // Cancel, or a name that is not .TL1, starts nothing.
    CommandsRig cancelled;
    cancelled.commands.run(MainCommand::ReceiveData);
    cancelled.windows.chosen = dir.filePath("RUN.csv");
    cancelled.commands.run(MainCommand::ReceiveData);
    EXPECT_EQ(cancelled.windows.calls, QStringList({"ask", "ask"}));
    EXPECT_EQ(cancelled.messages.lastText(), QString::fromLatin1(kTl1NameText));
}

TEST(MainCommands, RefusalsAreShownAndOpenNothing)
{
    CommandsRig rig;
    rig.windows.baudRefusal = QStringLiteral("not now");
    rig.commands.run(MainCommand::SetBaudRate);
    EXPECT_EQ(rig.messages.lastText(), QStringLiteral("not now"));
    rig.settings.network = true;
    rig.commands.run(MainCommand::StationAddress);
    EXPECT_FALSE(rig.windows.calls.contains("station"));
    EXPECT_EQ(rig.messages.shown.size(), 2u);
}

} // namespace
} // namespace tamble
