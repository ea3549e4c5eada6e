// What a new user meets first, offscreen: the session window in front during a download, the graph
// offered after it, message boxes owned by the window that asks, Cancel as the default of a
// question that erases data, colours and read-out of the graph, Ctrl+G with no file, the help
// window, and the home view of the main window.
#include "ui/app/home_view.h"
#include "ui/app/main_window.h"
#include "ui/common/qt_message_service.h"
#include "ui/graph/graph_window.h"
#include "ui/help/help_window.h"
#include "ui/link/session_window.h"
#include "ui/link/status_window.h"

#include "e2e/support/sim_process.h"
#include "support/scripted_messages.h"
#include "ui/support/main_window_rig.h"
#include "ui/support/graph_rig.h"
#include "ui/support/screens.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::test;
using tamble::e2e::ProgramHome;
using tamble::e2e::SimProcess;

namespace {

using Window = MainWindowRig;

// Runs `look` on the next message box the program opens, then closes it with `button`.
void OnNextBox(std::function<void(QMessageBox&)> look, const QString& button)
{
    QTimer::singleShot(0, [look = std::move(look), button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        look(*box);
        for (QAbstractButton* b : box->buttons())
            if (b->text().remove(QLatin1Char('&')) == button)
                b->click();
    });
}

} // namespace

TEST(FirstHour, DownloadKeepsTheSessionWindowInFrontAndYesOpensTheGraph)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--baud", "19200", "--protocol", "fast", "--pointer", "3000", "--description", "Cold room"}));
    Window w(sim.ptyPath());
    const QString file = w.home.filePath(QStringLiteral("OUT.TL1"));
    w.main->chooseDataFile = [&] { return file; };
    w.messages.answers.push_back(DialogAnswer::Yes);   // "Graph Data?"
    w.main->run(MainCommand::ReceiveData);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.main->statusWindow().isVisible(); }, 30000));
    SessionWindow& session = w.main->sessionWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return session.blockCount() >= 1; }, 30000));
    // The Status window opened during the download: the session window is its transient, above it.
    ASSERT_TRUE(session.isVisible());
    ASSERT_NE(session.windowHandle(), nullptr);
    EXPECT_EQ(session.windowHandle()->transientParent(), w.main->statusWindow().windowHandle());

    ASSERT_TRUE(QTest::qWaitFor([&] { return w.messages.shown.size() >= 1; }, 60000));
    EXPECT_TRUE(w.messages.lastText().startsWith(QStringLiteral("Transfer complete: OUT.TL1")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.main->graph().isVisible(); }, 5000));
    EXPECT_TRUE(w.main->graph().hasRecording());
    EXPECT_EQ(w.records.dataSet.description.trimmed(), QByteArray("Cold room"));
    // The download is the newest recent file, and the status shows on the home view.
    auto& recent = w.main->homeView().recentList();
    ASSERT_GE(recent.count(), 1);
    EXPECT_TRUE(recent.item(0)->text().startsWith(QStringLiteral("OUT.TL1 — Cold room"))) << recent.item(0)->text().toStdString();
    EXPECT_EQ(w.main->homeView().findChild<QLabel*>(QStringLiteral("HomeDescription"))->text(), QStringLiteral("Cold room"));
}

TEST(FirstHour, MessageBoxesBelongToTheAskingWindowAndEraseQuestionsDefaultToCancel)
{
    RecordingHelp help;
    QWidget main;
    QtMessageService messages(help, &main);
    main.show();
    QWidget graph(nullptr, Qt::Window);
    graph.show();
    graph.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&graph));

    QWidget* parent = nullptr;
    OnNextBox([&](QMessageBox& box) { parent = box.parentWidget(); }, QStringLiteral("OK"));
    messages.ask({DialogKind::Information, QStringLiteral("Maximum Zoom")});
    EXPECT_EQ(parent, &graph);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&graph));   // the focus goes back to the window that asked

    UserMessage erase{DialogKind::Warning, QStringLiteral("data is about to be erased"), DialogButtons::OkCancel};
    erase.destructive = true;
    QString defaultButton;
    OnNextBox([&](QMessageBox& box) { defaultButton = box.defaultButton()->text(); }, QStringLiteral("Cancel"));
    EXPECT_EQ(messages.ask(erase), DialogAnswer::Cancel);
    EXPECT_EQ(defaultButton, QStringLiteral("Cancel"));
}

TEST(FirstHour, ColoursRedrawAtOnceAndTheReadOutClearsOnLoadAndZoom)
{
    Graph g;
    g.window->resize(800, 500);
    g.window->show();
    ASSERT_TRUE(g.openSample(QStringLiteral("sample10.TL1"))) << g.said();
    g.window->setChannelColours({QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue), QColor(Qt::black)});
    EXPECT_EQ(g.window->chart().drawnColour(0), QColor(Qt::red));

    QWidget* plot = g.window->chart().widget();
    QTest::mouseMove(plot, QPoint(plot->width() / 2, plot->height() / 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !g.window->statusText().isEmpty(); }, 2000));
    ASSERT_TRUE(g.openSample(QStringLiteral("sample8.TL1")));
    EXPECT_TRUE(g.window->statusText().isEmpty());
    QTest::mouseMove(plot, QPoint(plot->width() / 2 + 5, plot->height() / 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !g.window->statusText().isEmpty(); }, 2000));
    const ChartRange x = g.window->chart().xRange();
    g.window->ZoomIn(x.min + (x.max - x.min) / 4, x.max - (x.max - x.min) / 4);
    EXPECT_TRUE(g.window->statusText().isEmpty());
}

TEST(FirstHour, GraphWithNoFileSaysSoThenAsksForOne)
{
    Window w;
    w.records.dataFileName = w.home.filePath(QStringLiteral("site1a.tl1"));
    GraphWindow& graph = w.main->graph();
    int asked = 0;
    graph.chooseFile = [&] {
        ++asked;
        return QString();   // cancelled: no empty chart
    };
    w.main->run(MainCommand::Graph);
    EXPECT_TRUE(w.messages.lastText().contains(QStringLiteral("not found"))) << w.messages.lastText().toStdString();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(graph.isVisible());

    const QString sample = w.sample(QStringLiteral("sample10.TL1"));
    graph.chooseFile = [&] { return sample; };
    w.main->run(MainCommand::Graph);
    ASSERT_TRUE(graph.isVisible());
    EXPECT_TRUE(graph.hasRecording());
}

TEST(FirstHour, HelpFitsTheScreenNamesItselfOnceAndEscapeClosesIt)
{
    Window w;
    HelpWindow& help = w.main->help();
    help.resize(2000, 3000);
    help.showHelp(0);
    ASSERT_TRUE(help.isVisible());
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Tamble Logger Help: Contents"));
    EXPECT_TRUE(help.screen()->availableGeometry().contains(help.frameGeometry())) << help.width() << "x" << help.height();
    help.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&help));
    QTest::keyClick(&help, Qt::Key_Escape);
    EXPECT_FALSE(help.isVisible());
}

TEST(FirstHour, HomeViewOpensARecentFileAndMarksAMissingOne)
{
    Window w;
    const QString sample = w.sample(QStringLiteral("sample10.TL1"));
    w.main->noteRecentFile(w.home.filePath(QStringLiteral("gone.TL1")), "Old tank", QString());
    w.main->noteRecentFile(sample, "Warehouse", QStringLiteral("a – b"));
    QListWidget& recent = w.main->homeView().recentList();
    ASSERT_EQ(recent.count(), 2);
    EXPECT_EQ(recent.item(0)->text(), QStringLiteral("sample10.TL1 — Warehouse — a – b"));
    EXPECT_TRUE(recent.item(1)->text().endsWith(QStringLiteral("(missing)")));
    EXPECT_FALSE(recent.item(1)->flags() & Qt::ItemIsEnabled);
    auto* port = w.main->homeView().findChild<QLabel*>(QStringLiteral("HomePort"));
    EXPECT_TRUE(port->text().startsWith(QStringLiteral("COM1 → "))) << port->text().toStdString();
    SaveScreen(*w.main, QStringLiteral("main_window_home"));

    QTest::mouseClick(recent.viewport(), Qt::LeftButton, {}, recent.visualItemRect(recent.item(0)).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.main->graph().isVisible(); }, 5000));
    EXPECT_EQ(QFileInfo(w.records.dataFileName).fileName(), QStringLiteral("sample10.TL1"));
}
