// The main window, offscreen: its menu, the commands that refuse or ask, and sessions from the
// menu against the virtual logger on a pseudo-terminal.
#include "ui/app/gui_session_runner.h"
#include "ui/app/main_window.h"
#include "ui/link/session_window.h"
#include "ui/graph/graph_window.h"
#include "ui/setup/setup_window.h"
#include "ui/help/help_window.h"
#include "ui/link/status_window.h"

#include "e2e/support/sim_process.h"
#include "support/scripted_messages.h"
#include "ui/support/main_window_rig.h"
#include "ui/support/screens.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QComboBox>
#include <QProgressBar>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::test;
using tamble::e2e::ProgramHome;
using tamble::e2e::SimProcess;

namespace {

using Window = MainWindowRig;

QStringList MenuCaptions(QMenuBar* bar)
{
    QStringList out;
    for (QAction* a : bar->actions())
        out << (a->isVisible() ? a->text() : QStringLiteral("(hidden) ") + a->text());
    return out;
}

} // namespace

TEST(MainWindowUi, MenusInOrderWithShortcuts)
{
    Window w;
    EXPECT_EQ(MenuCaptions(w.main->menuBar()),
              (QStringList{"&File  ", "&Send   ", "&Receive   ", "&Graph   ", "S&ettings   ", "&Dial-up  ",
                           "(hidden) Terminal", "&Utilities  ", "&Help   "}));
    EXPECT_EQ(w.main->action(MainCommand::ReceiveData)->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));
    EXPECT_EQ(w.main->action(MainCommand::RealTime)->shortcut(), QKeySequence(QStringLiteral("Ctrl+T")));
    EXPECT_EQ(w.main->action(MainCommand::Graph)->shortcut(), QKeySequence(QStringLiteral("Ctrl+G")));
    EXPECT_TRUE(w.main->action(MainCommand::FileGraph)->isEnabled());
    EXPECT_EQ(w.main->action(MainCommand::RealTimeGraph)->shortcut(), QKeySequence(QStringLiteral("Ctrl+R")));
    EXPECT_TRUE(w.main->action(MainCommand::RealTimeGraph)->isEnabled());
    EXPECT_TRUE(w.main->action(MainCommand::ReceiveStatus)->isEnabled());
    EXPECT_EQ(w.main->windowTitle(), QStringLiteral("Tamble Logger"));
    SaveScreen(*w.main, QStringLiteral("main_window"));
}

TEST(MainWindowUi, RefusalsAndTheDownloadNameRule)
{
    Window w;
    w.main->run(MainCommand::LastStatus);
    EXPECT_EQ(w.messages.lastText(), QStringLiteral("No Status to show; Select Receive/Status"));

    w.records.settings.network = true;
    w.main->run(MainCommand::StationAddress);
    EXPECT_EQ(w.messages.lastText(), QStringLiteral("Must be connected to a single logger; check Settings"));

    w.records.settings.useModem = true;
    w.main->run(MainCommand::SetBaudRate);
    EXPECT_EQ(w.messages.lastText(), QStringLiteral("Must first uncheck 'Use Modem' in Settings"));

    w.main->chooseDataFile = [&] { return w.home.filePath(QStringLiteral("OUT.CSV")); };
    w.main->run(MainCommand::ReceiveData);
    EXPECT_EQ(w.messages.lastText(), QStringLiteral("File name must end in '.TL1'"));
    EXPECT_EQ(w.records.session.transaction, TransactionKind::None);
}

TEST(MainWindowUi, SettingsShowTheStationAndPhoneGroupsAndTheRealTimeGuardAsks)
{
    Window w;
    auto* station = w.main->findChild<QWidget*>(QStringLiteral("NetBevelMain"));
    auto* phone = w.main->findChild<QWidget*>(QStringLiteral("PhoneBevelMain"));
    EXPECT_FALSE(station->isVisible());
    EXPECT_FALSE(phone->isVisible());
    w.records.settings.network = true;
    w.records.settings.useModem = true;
    w.main->refresh();
    EXPECT_TRUE(station->isVisible());
    EXPECT_TRUE(phone->isVisible());

    w.records.session.realTimeGraph = true;
    w.messages.answers = {DialogAnswer::Cancel};
    w.main->run(MainCommand::ReceiveStatus);
    EXPECT_EQ(w.messages.lastText(), QStringLiteral("This action will terminate Real Time Graph"));
    EXPECT_EQ(w.records.session.transaction, TransactionKind::None);
}

// --- sessions against the virtual logger ---

TEST(MainWindowSession, ReceiveStatusShowsTheLoggersStatus)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--baud", "19200", "--protocol", "fast", "--description", "Cold store"}))
        << sim.errorText().toStdString();
    Window w(sim.ptyPath());
    w.main->run(MainCommand::ReceiveStatus);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.main->statusWindow().isVisible(); }, 30000))
        << w.messages.texts().join('|').toStdString();
    auto* description = w.main->statusWindow().findChild<QLineEdit*>(QStringLiteral("IdStatBox"));
    ASSERT_NE(description, nullptr);
    EXPECT_TRUE(description->text().startsWith(QStringLiteral("Cold store")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.main->sessionWindow().isVisible(); }, 5000));
    EXPECT_TRUE(w.main->menuBar()->isEnabled());
    SaveScreen(w.main->statusWindow(), QStringLiteral("status_from_logger"));
}

TEST(MainWindowSession, ReceiveDataWritesTheFileAndShowsTheBlocks)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--baud", "19200", "--protocol", "fast", "--pointer", "2000", "--no-pace"}));
    Window w(sim.ptyPath());
    const QString file = w.home.filePath(QStringLiteral("OUT.TL1"));
    w.home.writeFile(QStringLiteral("OUT.TL2"), "stale");
    w.main->chooseDataFile = [&] { return file; };
    w.main->run(MainCommand::ReceiveData);
    ASSERT_TRUE(w.waitForMessages(1)) << "no outcome";
    EXPECT_TRUE(w.messages.lastText().startsWith(QStringLiteral("Transfer complete: OUT.TL1")))
        << w.messages.lastText().toStdString();
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_FALSE(w.home.exists(QStringLiteral("OUT.TL2")));
    EXPECT_GT(w.main->sessionWindow().blockCount(), 0);
}

TEST(MainWindowSession, AbortDuringADownloadLeavesNoFile)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--baud", "19200", "--protocol", "fast", "--pointer", "30000"}));
    Window w(sim.ptyPath());
    const QString file = w.home.filePath(QStringLiteral("ABORT.TL1"));
    w.main->chooseDataFile = [&] { return file; };
    w.main->run(MainCommand::ReceiveData);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.main->sessionWindow().blockCount() >= 3; }, 30000));
    SaveScreen(w.main->sessionWindow(), QStringLiteral("session_download"));
    auto* progress = w.main->sessionWindow().findChild<QProgressBar*>(QStringLiteral("DownloadProgress"));
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->isVisible());
    EXPECT_LT(progress->value(), 100);
    auto* abort = w.main->sessionWindow().findChild<QPushButton*>(QStringLiteral("AbortBtn"));
    ASSERT_TRUE(abort->isVisible());
    QTest::mouseClick(abort, Qt::LeftButton);
    ASSERT_TRUE(w.waitForMessages(1));
    EXPECT_EQ(w.messages.lastText(), QStringLiteral("Transfer aborted; No data file created"));
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(w.main->menuBar()->isEnabled());
}

TEST(MainWindowSession, ADeadLoggerGivesNoResponse)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--baud", "19200", "--protocol", "fast", "--dead"}));
    Window w(sim.ptyPath());
    w.main->run(MainCommand::ReceiveStatus);
    ASSERT_TRUE(w.waitForMessages(1));
    EXPECT_EQ(w.messages.lastText(), QStringLiteral("No response from logger (c)"));
    EXPECT_EQ(w.messages.shown.back().helpContext, 24);
    EXPECT_FALSE(w.main->sessionWindow().isVisible());
}

// Screen readers name every control by its caption or label, without the "&".
TEST(MainWindowUi, EveryControlOfEveryWindowHasAnAccessibleName)
{
    Window w;
    QList<QWidget*> roots{w.main.get(), &w.main->help()};
    QStringList unnamed;
    for (QWidget* root : roots) {
        QList<QWidget*> widgets = root->findChildren<QWidget*>();
        widgets << root;
        for (QWidget* widget : widgets) {
            const bool control = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                                 qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QComboBox*>(widget) ||
                                 qobject_cast<QAbstractItemView*>(widget) || qobject_cast<QProgressBar*>(widget);
            if (!control || widget->objectName().startsWith(QLatin1String("qt_")) ||
                qobject_cast<QLineEdit*>(widget->parentWidget()) ||
                qobject_cast<QAbstractSpinBox*>(widget->parentWidget()) ||
                qobject_cast<QComboBox*>(widget->parentWidget()))
                continue;  // Qt's own parts, and the inner parts of a composite control
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            const QString name = accessible ? accessible->text(QAccessible::Name) : QString();
            if (name.trimmed().isEmpty() || name.contains(QLatin1Char('&')))
                unnamed << QStringLiteral("%1 %2 in %3 \"%4\"")
                               .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName(),
                                    widget->window()->objectName(), name);
        }
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(QLatin1Char('\n')).toStdString();
}

TEST(MainWindowSession, APortThatVanishesEndsTheDownloadWithAMessageAndNoFile)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--baud", "19200", "--protocol", "fast", "--pointer", "30000"}));
    Window w(sim.ptyPath());
    const QString file = w.home.filePath(QStringLiteral("GONE.TL1"));
    w.main->chooseDataFile = [&] { return file; };
    w.main->run(MainCommand::ReceiveData);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.main->sessionWindow().blockCount() >= 2; }, 30000));
    sim.stop();
    ASSERT_TRUE(w.waitForMessages(1));
    EXPECT_TRUE(w.messages.lastText().contains(QStringLiteral("comm. aborted")) ||
                w.messages.lastText().startsWith(QStringLiteral("Transfer aborted")))
        << w.messages.lastText().toStdString();
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(w.main->menuBar()->isEnabled());
    EXPECT_FALSE(w.main->sessionWindow().isVisible());
}

TEST(MainWindowUi, ClosingSavesTheSettings)
{
    Window w;
    w.records.settings.baud = 57600;
    w.records.settings.fastProtocol = false;
    w.main->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.main->isVisible(); }, 5000));
    const auto saved = DeserializeSettings(w.home.readFile(QStringLiteral("tblog.ini")));
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->baud, 57600);
    EXPECT_TRUE(saved->fastProtocol);  // the speed only the fast protocol has
}

// The setup window's scaling lists open the real scaling dialog on the edited channel; its OK
// puts the new scale into the setup and the list.
TEST(MainWindowUi, ANewLinearScaleFromTheSetupWindowReachesTheSetup)
{
    Window w;
    w.main->run(MainCommand::FileSetup);
    auto* box = w.main->findChild<QComboBox*>(QStringLiteral("ScalingBox2"));
    ASSERT_NE(box, nullptr);
    bool dialogSeen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialogSeen = dialog->objectName() == QLatin1String("TLinscaleDlg");
        dialog->findChild<QLineEdit*>(QStringLiteral("LoVal_dlg"))->setText(QStringLiteral("-10"));
        dialog->findChild<QLineEdit*>(QStringLiteral("HiVal_dlg"))->setText(QStringLiteral("50"));
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("OKBtn")), Qt::LeftButton);
    });
    box->setCurrentIndex(5);
    emit box->activated(5);
    EXPECT_TRUE(dialogSeen);
    EXPECT_EQ(w.records.setup.scalingCode(2), '3');
    EXPECT_TRUE(box->currentText().startsWith(QStringLiteral("Linear: "))) << box->currentText().toStdString();
}

TEST(MainWindowSession, RealTimeShowsLiveReadingsAndClosingTheStatusWindowEndsIt)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--baud", "19200", "--protocol", "fast", "--realtime-interval", "200"}));
    Window w(sim.ptyPath());
    w.main->run(MainCommand::RealTime);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.logLines(QStringLiteral("REALTIME")).size() >= 2; }, 30000))
        << w.messages.texts().join('|').toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.main->statusWindow().isVisible(); }, 10000));
    EXPECT_EQ(w.main->statusWindow().windowTitle(), QStringLiteral("Real Time Display"));
    auto* value = w.main->statusWindow().findChild<QLineEdit*>(QStringLiteral("Value1Box"));
    ASSERT_NE(value, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !value->text().trimmed().isEmpty(); }, 10000));
    w.main->statusWindow().close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.records.session.transaction == TransactionKind::None; }, 15000));
    EXPECT_TRUE(w.main->menuBar()->isEnabled());
}

// The real-time graph against the virtual logger: its first points are the numbers the Real Time
// Display shows for the same readings; closing with No keeps the session, Yes ends it.
TEST(MainWindowSession, RealTimeGraphPlotsWhatTheDisplayShowsAndEndsOnlyOnYes)
{
    const QStringList options{"--baud", "19200", "--protocol", "fast", "--realtime-interval", "150", "--seed", "7"};
    const auto withTables = [](Window& w) {
        for (const char* name : {"A.Rvt", "B.Rvt", "C.Rvt", "L.Rvt", "P.Rvt"})
            w.home.copyFromSource(QStringLiteral("data/") + QLatin1String(name));
    };
    std::vector<double> shown;
    {
        SimProcess sim;
        ASSERT_TRUE(sim.start(options));
        Window w(sim.ptyPath());
        withTables(w);
        w.main->run(MainCommand::RealTime);
        auto* first = w.main->statusWindow().findChild<QLineEdit*>(QStringLiteral("Value1Box"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !first->text().trimmed().isEmpty(); }, 30000));
        for (int c = 1; c <= 4; ++c) {
            const QString text = w.main->statusWindow().findChild<QLineEdit*>(QStringLiteral("Value%1Box").arg(c))->text();
            bool number = false;
            const double value = text.trimmed().section(QLatin1Char(' '), 0, 0).remove(QRegularExpression("[^0-9.+-].*$")).toDouble(&number);
            if (number && w.records.loggerInfo.channelOn(c))
                shown.push_back(value);
        }
        w.main->statusWindow().close();
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.records.session.transaction == TransactionKind::None; }, 15000));
    }
    ASSERT_FALSE(shown.empty());

    SimProcess sim;
    ASSERT_TRUE(sim.start(options));
    Window w(sim.ptyPath());
    withTables(w);
    w.main->action(MainCommand::RealTimeGraph)->trigger();
    GraphWindow& graph = w.main->graph();
    ASSERT_TRUE(QTest::qWaitFor([&] { return graph.isVisible() && graph.live().count() >= 3; }, 30000))
        << w.messages.texts().join('|').toStdString();
    EXPECT_EQ(graph.windowTitle(), QStringLiteral("Tamble Logger / Real Time Graph"));
    EXPECT_FALSE(graph.command(QStringLiteral("Export"))->isEnabled());
    EXPECT_FALSE(w.main->sessionWindow().isVisible());
    ASSERT_EQ(graph.chart().subsetCount(), static_cast<int>(shown.size()));
    for (int k = 0; k < graph.chart().subsetCount(); ++k)
        EXPECT_NEAR(graph.chart().subsetY(k).front(), shown[static_cast<std::size_t>(k)], 0.006) << "channel " << k + 1;
    SaveScreen(graph, QStringLiteral("realtime_graph"));

    // No: the window goes, the readings keep arriving; the Graph command shows all of them.
    w.messages.answers = {DialogAnswer::No};
    graph.close();
    EXPECT_EQ(w.messages.lastText(), QStringLiteral("Terminate Real Time Graph?"));
    EXPECT_FALSE(graph.isVisible());
    EXPECT_TRUE(w.records.session.realTimeGraph);
    const int hiddenAt = graph.live().count();
    ASSERT_TRUE(QTest::qWaitFor([&] { return graph.live().count() >= hiddenAt + 3; }, 15000));
    w.main->run(MainCommand::Graph);
    EXPECT_TRUE(graph.isVisible());
    EXPECT_GE(static_cast<int>(graph.chart().subsetY(0).size()), hiddenAt + 3);

    // Yes ends the session; the picture stays.
    w.messages.answers = {DialogAnswer::Yes};
    graph.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.records.session.transaction == TransactionKind::None; }, 15000));
    EXPECT_FALSE(w.records.session.realTimeGraph);
    EXPECT_FALSE(w.main->runner().port().isOpen());
    EXPECT_FALSE(graph.chart().subsetY(0).empty());
    EXPECT_TRUE(w.main->menuBar()->isEnabled());
}

// The graph window's Colors and Export commands open their dialogs; the colours of the colour
// file reach the chart.
TEST(MainWindowUi, TheGraphWindowOpensItsColourAndExportDialogs)
{
    Window w;
    for (const char* name : {"default.gcf", "A.Rvt", "B.Rvt", "C.Rvt", "L.Rvt", "P.Rvt"})
        w.home.copyFromSource(QStringLiteral("data/") + QLatin1String(name));
    GraphWindow& graph = w.main->graph();
    ASSERT_TRUE(graph.openChosenFile(QStringLiteral(TAMBLE_SOURCE_DIR "/data/samples/sample8.TL1")));
    graph.show();
    ASSERT_NE(graph.command(QStringLiteral("Colors")), nullptr);
    graph.command(QStringLiteral("Colors"))->trigger();
    auto* colours = graph.findChild<QDialog*>(QStringLiteral("TColorSetup"));
    ASSERT_NE(colours, nullptr);
    EXPECT_TRUE(colours->isVisible());
    colours->reject();
    graph.command(QStringLiteral("Export"))->trigger();
    auto* exportDialog = graph.findChild<QDialog*>(QStringLiteral("TExpDialog"));
    ASSERT_NE(exportDialog, nullptr);
    EXPECT_TRUE(exportDialog->isVisible());
    exportDialog->reject();
    EXPECT_TRUE(w.messages.shown.empty()) << w.messages.texts().join('|').toStdString();
}

// A desktop launch: a ".set" file opens the setup window; a data file that does not exist gives
// its message and nothing crashes.
TEST(MainWindowUi, ADesktopLaunchOpensTheSetupWindowOrSaysTheFileIsMissing)
{
    {
        ProgramHome home;
        AppRecords records;
        records.programDir = home.path() + QLatin1Char('/');
        records.mode.openSetup = true;
        ScriptedMessages messages;
        home.copyFromSource(QStringLiteral("data/default.gcf"));  // no warning about colours
        MainWindow main(records, QStringLiteral(TAMBLE_SOURCE_DIR "/data"));
        main.setMessageService(messages);
        main.show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return main.setupWindow().isVisible(); }, 5000));
        EXPECT_FALSE(records.mode.openSetup);
    }
    {
        ProgramHome home;
        AppRecords records;
        records.programDir = home.path() + QLatin1Char('/');
        records.mode.openGraph = true;
        records.dataFileName = home.filePath(QStringLiteral("GONE.TL1"));
        records.settings.lastDataFile = records.dataFileName;
        ScriptedMessages messages;
        home.copyFromSource(QStringLiteral("data/default.gcf"));  // no warning about colours
        MainWindow main(records, QStringLiteral(TAMBLE_SOURCE_DIR "/data"));
        main.setMessageService(messages);
        bool asked = false;
        main.graph().chooseFile = [&] {   // then the chooser, instead of an empty chart
            asked = true;
            return QString();
        };
        main.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return asked; }, 5000));
        EXPECT_FALSE(main.graph().isVisible());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.shown.empty(); }, 5000));
        EXPECT_TRUE(messages.texts().join('|').contains(QStringLiteral("not found")))
            << messages.texts().join('|').toStdString();
    }
}
