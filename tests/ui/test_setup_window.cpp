// The setup window and the pre-set date dialog, offscreen: loading and the Modified label, the
// scaling dialog hook and its Cancel, the dial-out choices reaching the start field, Exit with
// unsaved changes, the main window's three ways in, and sending from the window to the virtual
// logger in full-setup and scaling-only mode.
#include "ui/app/main_window.h"
#include "ui/link/session_window.h"
#include "ui/setup/get_date_dialog.h"
#include "ui/setup/setup_window.h"

#include "e2e/support/sim_process.h"
#include "link/setup_sender.h"
#include "setup/setup_file.h"
#include "setup/start_field.h"
#include "support/scripted_messages.h"
#include "ui/support/screens.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimeEdit>
#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::test;
using tamble::e2e::ProgramHome;
using tamble::e2e::SimProcess;

namespace {

const QDateTime kNow(QDate(2026, 12, 9), QTime(9, 15, 0));

SetupRecord siteSetup()
{
    SetupRecord r = DefaultSetupRecord(kNow);
    r.setDescription(PadWithSpaces("North tank", kDescriptionWidth));
    r.setChannelLabel(1, PadWithSpaces("Inlet", kChannelLabelWidth));
    r.setScalingCode(2, 'X');
    r.setLinearValues(2, "1.00000.0000");
    r.setRateCode('G');
    return r;
}

struct SetupUi {
    SetupUi()
    {
        records.programDir = home.path() + QLatin1Char('/');
        records.setup = siteSetup();
        records.savedSetupCopy = records.setup;
        records.settings.lastSetupFile = QStringLiteral("SITE.SET");
        records.settings.resolutionType = 1;  // LX500
        window = std::make_unique<SetupWindow>(SetupWindowRecordsOf(records), messages, help);
        window->now = [] { return kNow; };
        window->prepare();
        window->show();
    }

    template <class T> T* child(const QString& name) { return window->findChild<T*>(name); }
    QComboBox* box(const QString& name) { return child<QComboBox>(name); }
    void choose(const QString& name, int index)
    {
        QComboBox* b = box(name);
        b->setCurrentIndex(index);
        emit b->activated(index);
    }
    bool modifiedShown() { return child<QLabel>(QStringLiteral("ModifiedLabel"))->isVisible(); }

    ProgramHome home;
    AppRecords records;
    ScriptedMessages messages;
    RecordingHelp help;
    std::unique_ptr<SetupWindow> window;
};

} // namespace

TEST(SetupWindowUi, LoadThenEditShowsModified)
{
    SetupUi w;
    SetupRecord other = siteSetup();
    other.setChannelLabel(3, PadWithSpaces("Roof", kChannelLabelWidth));
    other.setScalingCode(3, '`');
    ASSERT_TRUE(SaveSetupFile(w.home.filePath(QStringLiteral("ROOF.SET")), other).ok);
    w.window->chooseLoadFile = [&] { return w.home.filePath(QStringLiteral("ROOF.SET")); };
    w.window->loadBtnClick();
    EXPECT_EQ(w.child<QLineEdit>(QStringLiteral("FileNameLabel"))->text(), QStringLiteral("ROOF.SET"));
    EXPECT_EQ(w.child<QLineEdit>(QStringLiteral("Ch3Edit"))->text(), QStringLiteral("Roof"));
    EXPECT_EQ(w.box(QStringLiteral("ScalingBox3"))->currentText(), QStringLiteral("S Type & Tcq-B02"));
    EXPECT_EQ(w.box(QStringLiteral("ScalingBox2"))->currentText(), QStringLiteral("Cls/opn: 1.0000 / 0.0000"));
    EXPECT_EQ(w.child<QLineEdit>(QStringLiteral("TTimeLabelBox"))->text(), QStringLiteral(" 5.6 days  "));
    EXPECT_FALSE(w.modifiedShown());
    EXPECT_EQ(w.records.settings.lastSetupFile, w.home.filePath(QStringLiteral("ROOF.SET")));

    QTest::keyClicks(w.child<QLineEdit>(QStringLiteral("Ch1Edit")), QStringLiteral("x"));
    EXPECT_TRUE(w.modifiedShown());
    QTest::keyClick(w.child<QLineEdit>(QStringLiteral("Ch1Edit")), Qt::Key_Backspace);
    EXPECT_FALSE(w.modifiedShown());
    QTest::mouseClick(w.child<QPushButton>(QStringLiteral("onoffbtn4")), Qt::LeftButton);
    EXPECT_EQ(w.child<QPushButton>(QStringLiteral("onoffbtn4"))->text(), QStringLiteral("OFF"));
    EXPECT_EQ(w.child<QLineEdit>(QStringLiteral("TTimeLabelBox"))->text(), QStringLiteral(" 7.5 days  "));
    EXPECT_TRUE(w.modifiedShown());
    SaveScreen(*w.window, QStringLiteral("setup_window"));
}

TEST(SetupWindowUi, ScalingDialogOpensOnTheEditedChannelAndCancelPutsTheListsBack)
{
    SetupUi w;
    std::vector<int> channels;
    bool answer = false;
    w.window->openScalingDialog = [&](int channel, ScalingChoice& choice) {
        channels.push_back(channel);
        EXPECT_EQ(choice.dialog, ScalingChoice::Dialog::LinearScale);
        choice.low = QStringLiteral("4.0000");
        choice.high = QStringLiteral("20.000");
        return answer;
    };
    w.choose(QStringLiteral("ScalingBox1"), 3);
    w.choose(QStringLiteral("ScalingBox3"), 5);
    EXPECT_EQ(channels, std::vector<int>{3});
    EXPECT_EQ(w.box(QStringLiteral("ScalingBox3"))->currentIndex(), 2);
    EXPECT_EQ(w.box(QStringLiteral("ScalingBox1"))->currentIndex(), 3);
    EXPECT_EQ(w.box(QStringLiteral("ScalingBox2"))->currentIndex(), 10);

    answer = true;
    w.choose(QStringLiteral("ScalingBox4"), 5);
    EXPECT_EQ(channels, (std::vector<int>{3, 4}));
    EXPECT_EQ(w.box(QStringLiteral("ScalingBox4"))->currentText(), QStringLiteral("Linear: 4.0000 / 20.000"));
    w.window->SENDBtnClick();  // no sender installed: only builds the record
    EXPECT_EQ(w.records.setup.scalingCode(4), '3');
    EXPECT_EQ(w.records.setup.linearValues(4), QByteArray("4.000020.000"));
    EXPECT_EQ(w.records.setup.scalingCode(1), 'L');
}

TEST(SetupWindowUi, DialOutChoicesReachTheStartField)
{
    SetupUi w;
    w.choose(QStringLiteral("StartBox"), 3);
    GetDateDialog& d = w.window->dateDialog();
    ASSERT_TRUE(d.isVisible());
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Pre-set Dial-out Time for modem communications"));
    EXPECT_FALSE(d.findChild<QWidget*>(QStringLiteral("DatePicker"))->isVisible());
    QTest::mouseClick(d.findChild<QRadioButton*>(QStringLiteral("WeeklyRadio")), Qt::LeftButton);
    EXPECT_EQ(w.records.setup.dialOutKind(), 'b');  // at once
    auto* weekday = d.findChild<QComboBox*>(QStringLiteral("dialoutdayofweek"));
    EXPECT_TRUE(weekday->isEnabled());
    EXPECT_FALSE(d.findChild<QComboBox*>(QStringLiteral("dialoutdayofmonth"))->isEnabled());
    weekday->setCurrentIndex(3);
    emit weekday->activated(3);
    d.findChild<QTimeEdit*>(QStringLiteral("TimePicker"))->setTime(QTime(14, 5, 30));
    SaveScreen(d, QStringLiteral("get_date"));
    QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("OKBtn")), Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(w.box(QStringLiteral("StartBox"))->currentIndex(), 3);
    EXPECT_EQ(w.box(QStringLiteral("StartBox"))->currentText(),
              QStringLiteral("immediate; dialout on Wed at ") + DialOutTimeText(14 * 3600 + 5 * 60, QLocale()));

    w.window->SENDBtnClick();
    const QByteArray field = StartField(ScheduleOf(w.records.setup), DayNumberOf(2027, 3, 15));
    EXPECT_EQ(field.mid(2, 4), QByteArray("0514"));
    EXPECT_EQ(field.mid(10, 3), QByteArray("498"));
    EXPECT_EQ(w.records.setup.startChoice(), 3);

    // The date form; Cancel goes back to the entry chosen before.
    w.choose(QStringLiteral("StartBox"), 1);
    ASSERT_TRUE(d.isVisible());
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Pre-set Date and Time"));
    EXPECT_FALSE(d.findChild<QWidget*>(QStringLiteral("dialOutRadioGroup"))->isVisible());
    QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("CancelBtn")), Qt::LeftButton);
    EXPECT_EQ(w.box(QStringLiteral("StartBox"))->currentIndex(), 3);
}

TEST(SetupWindowUi, ExitAnswersKeepOrHideTheWindow)
{
    SetupUi w;
    const auto edit = [&] {
        QTest::keyClicks(w.child<QLineEdit>(QStringLiteral("IDedit")), QStringLiteral(" east"));
        ASSERT_TRUE(w.modifiedShown());
    };

    edit();
    w.messages.answers = {DialogAnswer::Cancel};
    w.window->exitBtnClick();
    EXPECT_EQ(w.messages.lastText(), QStringLiteral("Save changes?"));
    EXPECT_TRUE(w.window->isVisible());

    w.messages.answers = {DialogAnswer::No};
    w.window->exitBtnClick();
    EXPECT_FALSE(w.window->isVisible());
    EXPECT_EQ(w.child<QLineEdit>(QStringLiteral("IDedit"))->text(), QStringLiteral("North tank"));

    w.window->show();
    edit();
    w.window->chooseSaveFile = [&] { return w.home.filePath(QStringLiteral("EAST.SET")); };
    w.messages.answers = {DialogAnswer::Yes};
    w.window->exitBtnClick();
    EXPECT_FALSE(w.window->isVisible());
    EXPECT_EQ(w.child<QLineEdit>(QStringLiteral("FileNameLabel"))->text(), QStringLiteral("EAST.SET"));
    EXPECT_FALSE(w.modifiedShown());
}

TEST(SetupWindowUi, HelpTopicFollowsTheMode)
{
    SetupUi w;
    QTest::mouseClick(w.child<QPushButton>(QStringLiteral("HelpButton")), Qt::LeftButton);
    w.records.session.scalingOnly = true;
    QTest::mouseClick(w.child<QPushButton>(QStringLiteral("HelpButton")), Qt::LeftButton);
    EXPECT_EQ(w.help.contexts, (std::vector<int>{3, 4}));
}

TEST(SetupWindowUi, LastStatusNeedsAReceivedStatus)
{
    SetupUi w;
    w.window->loadStatBtnClick();
    EXPECT_EQ(w.messages.lastText(), QStringLiteral("No Status to load; Exit and select Receive/Status"));
    w.records.loggerInfo.record = "x";
    w.records.loggerInfo.channelFlags = 0x03;
    w.records.loggerInfo.rateCode = 'D';
    w.records.loggerInfo.resolutionType = 5;
    w.records.loggerInfo.resolutionBits = 8;
    w.window->loadStatBtnClick();
    EXPECT_EQ(w.child<QLineEdit>(QStringLiteral("FileNameLabel"))->text(), QStringLiteral("LAST STATUS"));
    EXPECT_EQ(w.box(QStringLiteral("ModelBox"))->currentText(), QStringLiteral("LX900"));
    EXPECT_TRUE(w.box(QStringLiteral("ResBox"))->isVisible());
    EXPECT_EQ(w.box(QStringLiteral("ResBox"))->currentText(), QStringLiteral("  8 bit <Low>"));
    EXPECT_EQ(w.child<QPushButton>(QStringLiteral("onoffbtn3"))->text(), QStringLiteral("OFF"));
}

// --- through the main window ---

namespace {

struct MainUi {
    explicit MainUi(const QString& com = QString())
    {
        records.programDir = home.path() + QLatin1Char('/');
        records.setup = siteSetup();
        records.savedSetupCopy = records.setup;
        records.settings.lastSetupFile = home.filePath(QStringLiteral("SITE.SET"));
        SaveSetupFile(records.settings.lastSetupFile, records.setup);
        qputenv("TAMBLE_COM1", com.toLocal8Bit());
        home.copyFromSource(QStringLiteral("data/default.gcf"));  // no warning about colours
        main = std::make_unique<MainWindow>(records, QStringLiteral(TAMBLE_SOURCE_DIR "/data"));
        main->setMessageService(messages);
        main->show();
    }
    ~MainUi() { qunsetenv("TAMBLE_COM1"); }

    SetupWindow& setup() { return main->setupWindow(); }
    template <class T> T* child(const QString& name) { return setup().findChild<T*>(name); }

    ProgramHome home;
    AppRecords records;
    ScriptedMessages messages;
    std::unique_ptr<MainWindow> main;
};

} // namespace

TEST(SetupWindowFromMenu, FullSetupAndScalingOnlyOpenTheWindowInTheirMode)
{
    MainUi w;
    ASSERT_TRUE(w.main->action(MainCommand::FileSetup)->isEnabled());
    w.main->run(MainCommand::FileSetup);
    EXPECT_TRUE(w.setup().isVisible());
    EXPECT_EQ(w.setup().windowTitle(), QStringLiteral("Tamble Logger Setup"));
    EXPECT_FALSE(w.main->menuBar()->isEnabled());
    EXPECT_TRUE(w.child<QComboBox>(QStringLiteral("RateBox"))->isEnabled());
    EXPECT_EQ(w.child<QLineEdit>(QStringLiteral("FileNameLabel"))->text(), QStringLiteral("SITE.SET"));
    w.setup().exitBtnClick();
    EXPECT_TRUE(w.main->menuBar()->isEnabled());

    w.main->run(MainCommand::ScalingLabels);
    EXPECT_EQ(w.setup().windowTitle(), QStringLiteral("Change Scaling and/or Labels"));
    EXPECT_TRUE(w.records.session.scalingOnly);
    for (const char* name : {"onoffbtn1", "onoffbtn4", "InpBox2", "InpBox4", "StartBox", "RunBox", "RateBox", "ResBox"})
        EXPECT_FALSE(w.child<QWidget>(QString::fromLatin1(name))->isEnabled()) << name;
    EXPECT_TRUE(w.child<QWidget>(QStringLiteral("ScalingBox1"))->isEnabled());
    EXPECT_TRUE(w.child<QWidget>(QStringLiteral("Ch1Edit"))->isEnabled());
    w.setup().exitBtnClick();
    w.main->run(MainCommand::SendSetup);
    EXPECT_FALSE(w.records.session.scalingOnly);
    EXPECT_TRUE(w.child<QWidget>(QStringLiteral("RateBox"))->isEnabled());

    EXPECT_FALSE(w.child<QWidget>(QStringLiteral("PhoneBox"))->isVisible());
    EXPECT_FALSE(w.child<QWidget>(QStringLiteral("NetFieldSetup"))->isVisible());
    w.records.settings.useModem = true;
    w.records.settings.network = true;
    w.records.settings.stationAddress = 42;
    w.main->refresh();
    EXPECT_TRUE(w.child<QWidget>(QStringLiteral("PhoneBox"))->isVisible());
    EXPECT_TRUE(w.child<QWidget>(QStringLiteral("NetFieldSetup"))->isVisible());
    w.child<QSpinBox>(QStringLiteral("NetFieldSetup"))->setValue(7);
    EXPECT_EQ(w.records.settings.stationAddress, 7);

    QTest::mouseClick(w.child<QWidget>(QStringLiteral("PhoneBox")), Qt::LeftButton);
    QWidget* phoneList = w.main->findChild<QWidget*>(QStringLiteral("TDB0"));
    ASSERT_NE(phoneList, nullptr);
    EXPECT_TRUE(phoneList->isVisible());
}

TEST(SetupWindowFromMenu, SendAsksFirstAndCancelSendsNothing)
{
    MainUi w;
    w.main->run(MainCommand::SendSetup);
    w.records.session.realTimeGraph = true;
    w.messages.answers = {DialogAnswer::Cancel};
    w.setup().SENDBtnClick();
    EXPECT_EQ(w.messages.texts(), QStringList{"This action will terminate Real Time Graph"});
    w.records.session.realTimeGraph = false;

    w.messages.shown.clear();
    w.messages.answers = {DialogAnswer::Cancel};
    w.setup().SENDBtnClick();
    EXPECT_EQ(w.messages.texts(),
              QStringList{"Tamble Logger's data is about to be erased, and its clock set to the date/time of this computer."});
    EXPECT_EQ(w.records.session.transaction, TransactionKind::None);
    EXPECT_TRUE(w.setup().isEnabled());
    EXPECT_FALSE(w.main->sessionWindow().isVisible());

    // A pre-set start already past is asked about after the erase warning.
    auto* start = w.child<QComboBox>(QStringLiteral("StartBox"));
    start->setCurrentIndex(1);
    emit start->activated(1);
    GetDateDialog& d = w.setup().dateDialog();
    ASSERT_TRUE(d.isVisible());
    d.findChild<QDateEdit*>(QStringLiteral("DatePicker"))->setDate(QDate(2020, 1, 6));
    QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("OKBtn")), Qt::LeftButton);
    EXPECT_TRUE(start->currentText().startsWith(QLocale().dayName(1))) << start->currentText().toStdString();
    w.messages.shown.clear();
    w.messages.answers = {DialogAnswer::Ok, DialogAnswer::Cancel};
    w.setup().SENDBtnClick();
    EXPECT_EQ(w.messages.texts().value(1), QStringLiteral("Pre-set start time has passed;  Recording will start immediately"));
    EXPECT_EQ(w.records.setup.startChoice(), 1);
    EXPECT_EQ(w.records.setup.startDate(), SetupDayNumber(QDate(2020, 1, 6)));

    // A fast rate with a continuous run is refused before anything is asked.
    auto* rate = w.child<QComboBox>(QStringLiteral("RateBox"));
    rate->setCurrentIndex(0);
    emit rate->activated(0);
    auto* run = w.child<QComboBox>(QStringLiteral("RunBox"));
    run->setCurrentIndex(1);
    emit run->activated(1);
    w.messages.shown.clear();
    w.setup().SENDBtnClick();
    EXPECT_EQ(w.messages.texts(),
              QStringList{"Improper setup; Cannot select 'Run continuously' if sample rate is less than 2 seconds."});
}

TEST(SetupWindowSession, SendsTheFullSetupAsTheWindowShowsIt)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--baud", "19200", "--protocol", "fast"})) << sim.errorText().toStdString();
    MainUi w(sim.ptyPath());
    w.main->run(MainCommand::SendSetup);
    QTest::keyClicks(w.child<QLineEdit>(QStringLiteral("Ch2Edit")), QStringLiteral("Outlet"));
    w.messages.answers = {DialogAnswer::Ok};  // data about to be erased
    QTest::mouseClick(w.child<QPushButton>(QStringLiteral("SENDBtn")), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.messages.shown.size() >= 2; }, 30000)) << w.messages.texts().join('|').toStdString();
    EXPECT_EQ(w.messages.shown[0].text,
              QStringLiteral("Tamble Logger's data is about to be erased, and its clock set to the date/time of this computer."));
    EXPECT_EQ(w.messages.lastText(), QStringLiteral("Tamble Logger running new configuration: ") + w.records.settings.lastSetupFile);
    const QStringList parts = sim.logLines(QStringLiteral("SETUP"));
    ASSERT_EQ(parts.size(), 4) << sim.logLines().join('\n').toStdString();
    const auto body = [](const QString& line) { return line.section(QLatin1Char(' '), 3); };
    EXPECT_EQ(body(parts[0]).left(1), QStringLiteral("0"));
    EXPECT_EQ(body(parts[0]).mid(27), QStringLiteral("GO@North tank                     CXCC"));
    EXPECT_EQ(body(parts[1]), QStringLiteral("2Inlet                   Channel 2Outlet         "));
    EXPECT_EQ(body(parts[3]), QStringLiteral("4C           1.00000.0000C           C            @@ C"));
    EXPECT_TRUE(w.setup().isEnabled());
    EXPECT_TRUE(w.setup().isVisible());
}

TEST(SetupWindowSession, ScalingOnlySendsWithoutAskingAndOlderFirmwareRefuses)
{
    {
        SimProcess sim;
        ASSERT_TRUE(sim.start({"--baud", "19200", "--protocol", "fast"}));
        MainUi w(sim.ptyPath());
        w.main->run(MainCommand::ScalingLabels);
        QTest::mouseClick(w.child<QPushButton>(QStringLiteral("SENDBtn")), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !w.messages.shown.empty(); }, 30000));
        EXPECT_EQ(w.messages.lastText(), QStringLiteral("Tamble Logger running with new scaling and/or labels."));
        const QStringList parts = sim.logLines(QStringLiteral("SETUP"));
        ASSERT_EQ(parts.size(), 4);
        EXPECT_EQ(parts[0].section(QLatin1Char(' '), 3).left(1), QStringLiteral("K"));
    }
    {
        SimProcess sim;
        ASSERT_TRUE(sim.start({"--baud", "19200", "--protocol", "normal", "--revision", "K"}));
        MainUi w(sim.ptyPath());
        w.records.settings.fastProtocol = false;
        w.main->run(MainCommand::SendSetup);
        auto* rate = w.child<QComboBox>(QStringLiteral("RateBox"));
        rate->setCurrentIndex(9);  // "~ 4 secs" needs revision 'L'
        emit rate->activated(9);
        w.messages.answers = {DialogAnswer::Ok};
        QTest::mouseClick(w.child<QPushButton>(QStringLiteral("SENDBtn")), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.messages.shown.size() >= 2; }, 30000)) << w.messages.texts().join('|').toStdString();
        EXPECT_EQ(w.messages.lastText(), QStringLiteral("Logger does not support selected sample rate"));
        EXPECT_TRUE(sim.logLines(QStringLiteral("SETUP")).isEmpty()) << sim.logLines().join('\n').toStdString();
    }
}
