// The Status window and the station address, remote modem and cable test dialogs, driven through
// their controls against a session engine on an in-memory port.

#include "ui/link/com_test_dialog.h"
#include "ui/link/remote_modem_setup_dialog.h"
#include "ui/link/station_address_dialog.h"
#include "ui/link/status_window.h"

#include "link/status_record.h"
#include "support/scripted_messages.h"
#include "ui/support/screens.h"
#include "unit/link/test_status_support.h"
#include "unit/link/window_fake_host.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::test;

namespace {

const QString kTables = QStringLiteral(TAMBLE_SOURCE_DIR "/data/");

QByteArray WithChecksum(QByteArray line)
{
    unsigned sum = 0;
    for (char c : line)
        sum += static_cast<unsigned char>(c);
    return line + QByteArray::number((256 - sum % 256) % 256, 16).toUpper().rightJustified(2, '0');
}

// The golden 12-bit record of revision `rev`, ending in a valid response checksum.
QByteArray StatusReply(char rev)
{
    QByteArray r = status_test::Golden12Bit().left(252);
    r[249] = rev;
    return WithChecksum(r);
}

struct Rig : WindowRig {
    Rig() : WindowRig(messages)
    {
        records.programDir = kTables;
        records.settings.fahrenheit = false;
        records.settings.amPm = false;
    }

    void decode(const QByteArray& record)
    {
        ChannelScaling scaling;
        scaling.tableDirectory = kTables;
        const StatusContext context = MakeStatusContext(records.settings, QStringLiteral("now"), false);
        ASSERT_EQ(DecodeStatus(record, context, records.loggerInfo, records.geometry, scaling).outcome,
                  StatusOutcome::Decoded);
    }

    // The host's window callbacks reach the Status window as the application forwards them.
    void forwardTo(StatusWindow& status)
    {
        host.onShowStatus = [&status] { status.ShowStatus(); };
        host.onShowStatusWindow = [&status] { status.showStatusWindow(); };
        host.onCloseStatusWindow = [&status] { status.closeStatusWindow(); };
        host.onRealTimeLine = [&status](const QByteArray& line) { status.realTimeLine(line); };
    }

    StatusWindowRecords statusRecords()
    {
        return {records.settings, records.session, records.loggerInfo, records.programDir};
    }

    ScriptedMessages messages;
    RecordingHelp help;
};

QString BoxText(QWidget& window, const char* name)
{
    auto* box = window.findChild<QLineEdit*>(QLatin1String(name));
    EXPECT_NE(box, nullptr) << name;
    return box ? box->text() : QString();
}

QWidget* Child(QWidget& window, const char* name)
{
    auto* w = window.findChild<QWidget*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void Click(QWidget& window, const char* name)
{
    if (auto* button = window.findChild<QAbstractButton*>(QLatin1String(name)))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        ADD_FAILURE() << "no button " << name;
}

void ExpectAccessibleNames(QWidget& window)
{
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w)) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
            EXPECT_FALSE(w->accessibleName().contains(QLatin1Char('&'))) << w->objectName().toStdString();
        }
    }
}

} // namespace

TEST(StatusWindowUi, ShowsEveryTextOfTheLastStatus)
{
    Rig rig;
    rig.decode(status_test::Golden12Bit());
    rig.records.session.dateCode = {true, 4, 98};
    StatusWindow status(rig.statusRecords(), *rig.engine, rig.messages, rig.help);
    rig.forwardTo(status);
    rig.host.showStatus();
    rig.host.showStatusWindow();

    EXPECT_TRUE(status.isVisible());
    EXPECT_EQ(status.windowTitle(), QStringLiteral("Status"));
    EXPECT_EQ(BoxText(status, "ModelBox"), QStringLiteral("LX700"));
    EXPECT_EQ(BoxText(status, "RevBox"), QStringLiteral(" q"));
    EXPECT_EQ(BoxText(status, "StationAddrBox"), QStringLiteral(" 5"));
    EXPECT_TRUE(Child(status, "StationLabel")->isVisible());
    EXPECT_EQ(BoxText(status, "BatteryBox"), QStringLiteral("12.2 volts"));
    EXPECT_EQ(BoxText(status, "SampRateBox"), QStringLiteral(" 2 minutes"));
    EXPECT_EQ(BoxText(status, "TimeSpanBox"), QStringLiteral("10.0 days  "));
    EXPECT_EQ(static_cast<QLabel*>(Child(status, "FirstReadingLabel"))->text(), QStringLiteral("First reading"));
    EXPECT_EQ(BoxText(status, "FirstReadingBox"), QStringLiteral("Sun 15-Mar-1998 15:04:05"));
    EXPECT_EQ(BoxText(status, "CurrentStateBox"),
              QStringLiteral("* Recording *  ( memory full Wed 25-Mar-1998 14:00:05 )"));
    EXPECT_EQ(BoxText(status, "ClockBox"), QStringLiteral("Thu 20-Dec-1998 11:15:00"));
    EXPECT_TRUE(Child(status, "ClockBox")->isVisible());
    EXPECT_EQ(BoxText(status, "StopModeBox"), QStringLiteral("Stop if memory is full"));
    EXPECT_EQ(BoxText(status, "IdStatBox"), QStringLiteral("Boiler house                   "));
    EXPECT_EQ(BoxText(status, "onoff3box"), QStringLiteral("OFF"));
    EXPECT_EQ(BoxText(status, "onoff4box"), QStringLiteral("ON"));
    EXPECT_EQ(BoxText(status, "Value3Box"), QStringLiteral("OFF"));
    EXPECT_EQ(BoxText(status, "Desc2Box"), QStringLiteral("Level;Metres            "));
    EXPECT_EQ(BoxText(status, "scal4box"), QStringLiteral("K thermocouple"));
    EXPECT_EQ(BoxText(status, "inp1box"), QStringLiteral("temp/RH"));
    EXPECT_TRUE(Child(status, "Panel2")->isVisible());
    EXPECT_EQ(static_cast<QLabel*>(Child(status, "DateCodeLabel"))->text(), QStringLiteral(" 4/98"));
    ExpectAccessibleNames(status);
    SaveScreen(status, QStringLiteral("status"));

    QSignalSpy shownMain(&status, &StatusWindow::mainWindowShowRequested);
    Click(status, "OKButton");
    EXPECT_FALSE(status.isVisible());
    EXPECT_EQ(shownMain.count(), 1);
}

TEST(StatusWindowUi, DialOutScheduleIsShownUntilTheNextStatus)
{
    Rig rig;
    rig.decode(status_test::Golden12Bit());
    StatusWindow status(rig.statusRecords(), *rig.engine, rig.messages, rig.help);
    status.ShowStatus();
    status.dialOutReply("983015340000");
    auto* label = static_cast<QLabel*>(Child(status, "DialOutLabel"));
    EXPECT_EQ(label->text(), QStringLiteral("Weekly dialout: Wednesday at 15:30"));
    status.ShowStatus();
    EXPECT_EQ(label->text(), QString());
}

TEST(StatusWindowUi, StationAddressZeroHidesTheBoxAndItsLabel)
{
    Rig rig;
    QByteArray record = status_test::Golden12Bit();
    record.replace(195, 2, "00");
    rig.decode(record);
    StatusWindow status(rig.statusRecords(), *rig.engine, rig.messages, rig.help);
    status.ShowStatus();
    status.showStatusWindow();
    EXPECT_FALSE(Child(status, "StationAddrBox")->isVisible());
    EXPECT_FALSE(Child(status, "StationLabel")->isVisible());
    EXPECT_FALSE(Child(status, "Panel2")->isVisible());
}

TEST(StatusWindowUi, LastStatusBeforeAnyStatusOnlyTells)
{
    Rig rig;
    StatusWindow status(rig.statusRecords(), *rig.engine, rig.messages, rig.help);
    status.lastStatus();
    EXPECT_FALSE(status.isVisible());
    EXPECT_EQ(rig.messages.texts(), QStringList{QStringLiteral("No Status to show; Select Receive/Status")});
    rig.decode(status_test::Golden12Bit());
    status.ShowStatus();
    status.lastStatus();
    EXPECT_TRUE(status.isVisible());
    EXPECT_EQ(rig.messages.shown.size(), 1u);
}

TEST(StatusWindowUi, RealTimeReadingsFillTheValueBoxesAndOkEndsPolledRealTime)
{
    Rig rig;
    rig.decode(status_test::Golden12Bit());
    StatusWindow status(rig.statusRecords(), *rig.engine, rig.messages, rig.help);
    rig.forwardTo(status);
    rig.startRealTime('q', false);
    rig.host.showStatus();
    rig.host.showStatusWindow();
    EXPECT_EQ(status.windowTitle(), QStringLiteral("Real Time Display"));
    EXPECT_FALSE(Child(status, "ClockBox")->isVisible());
    EXPECT_FALSE(Child(status, "ClockLabel")->isVisible());
    EXPECT_EQ(Child(status, "Value1Box")->palette().color(QPalette::Base), QColor(Qt::white));

    rig.host.vport.written.clear();
    rig.engine->onBytes(">" + WithChecksum("000000000000") + "\r");
    EXPECT_TRUE(BoxText(status, "Value2Box").startsWith(QStringLiteral("0.000"))) << BoxText(status, "Value2Box").toStdString();
    EXPECT_EQ(BoxText(status, "Value3Box"), QStringLiteral("OFF"));
    EXPECT_TRUE(rig.host.vport.written.startsWith(">Y")) << "the next reading is polled";

    rig.engine->onBytes(">00000000000001\r");
    for (const char* box : {"Value1Box", "Value2Box", "Value3Box", "Value4Box"})
        EXPECT_EQ(BoxText(status, box), QStringLiteral("Checksum error")) << box;
    SaveScreen(status, QStringLiteral("status_realtime"));
    EXPECT_EQ(status.windowTitle(), QStringLiteral("Real Time Display"));

    QSignalSpy shownMain(&status, &StatusWindow::mainWindowShowRequested);
    Click(status, "OKButton");
    EXPECT_FALSE(status.isVisible());
    EXPECT_EQ(rig.records.session.transaction, TransactionKind::None);
    EXPECT_FALSE(rig.host.vport.isOpen());
    EXPECT_EQ(shownMain.count(), 0);

    status.showStatusWindow();
    EXPECT_EQ(status.windowTitle(), QStringLiteral("Status")) << "after real time the window is the status again";
    EXPECT_TRUE(Child(status, "ClockBox")->isVisible());
}

TEST(StatusWindowUi, RealTimeEndingUnderTheOpenWindowTurnsItBackIntoTheStatus)
{
    Rig rig;
    rig.decode(status_test::Golden12Bit());
    StatusWindow status(rig.statusRecords(), *rig.engine, rig.messages, rig.help);
    rig.forwardTo(status);
    rig.host.onSessionEnded = [&status] { status.sessionEnded(); };
    rig.startRealTime('q', false);
    rig.host.showStatus();
    rig.host.showStatusWindow();
    rig.engine->onPortError(QStringLiteral("device removed"));
    EXPECT_TRUE(status.isVisible());
    EXPECT_EQ(status.windowTitle(), QStringLiteral("Status"));
    EXPECT_TRUE(Child(status, "ClockBox")->isVisible());
}

TEST(StatusWindowUi, ClosingTheWindowOverAnOldLoggerTerminatesTheLink)
{
    Rig rig;
    rig.records.settings.fastProtocol = false;
    rig.decode(status_test::Golden12Bit());
    StatusWindow status(rig.statusRecords(), *rig.engine, rig.messages, rig.help);
    rig.forwardTo(status);
    rig.startRealTime('n', false);
    rig.host.showStatus();
    rig.host.showStatusWindow();
    status.close();
    EXPECT_FALSE(status.isVisible());
    EXPECT_EQ(rig.records.session.transaction, TransactionKind::EndRealTime);
    EXPECT_EQ(rig.host.statusText, QStringLiteral("Terminating link..."));
    rig.engine->onTimeout();
    EXPECT_EQ(rig.messages.texts(), QStringList{QStringLiteral("Real Time Link terminated")});
    EXPECT_EQ(rig.host.mainShown, 1);
    EXPECT_FALSE(rig.host.vport.isOpen());
}

TEST(StationAddressUi, FieldChecksAndProgramming)
{
    Rig rig;
    rig.records.settings.stationAddress = 7;
    StationAddressDialog dialog(rig.records.settings, *rig.engine, rig.messages, rig.help);
    rig.host.onCloseStationAddressDialog = [&dialog] { dialog.closeStationAddressDialog(); };
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Set Station Address (for network)"));
    auto* field = static_cast<QLineEdit*>(Child(dialog, "StationAddrField"));
    EXPECT_EQ(field->text(), QStringLiteral("7"));
    EXPECT_EQ(field->accessibleName(), QStringLiteral("Station Address"));
    ExpectAccessibleNames(dialog);

    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("300"));
    Click(dialog, "SENDBtn");
    EXPECT_EQ(rig.messages.texts(), QStringList{QStringLiteral("Station Address must be a number from 0 to 255")});
    EXPECT_EQ(rig.messages.shown.back().kind, DialogKind::Warning);
    EXPECT_EQ(rig.records.session.transaction, TransactionKind::None);

    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("42"));
    QTest::keyClick(field, Qt::Key_Up);
    Click(dialog, "StationAddrUp");
    Click(dialog, "StationAddrDown");
    EXPECT_EQ(field->text(), QStringLiteral("43"));
    Click(dialog, "HelpBtn");
    EXPECT_EQ(rig.help.contexts, std::vector<int>{5});
    SaveScreen(dialog, QStringLiteral("station_address"));

    Click(dialog, "SENDBtn");
    EXPECT_FALSE(dialog.isEnabled());
    EXPECT_EQ(rig.records.session.transaction, TransactionKind::ProgramStationAddress);
    rig.engine->onTimeout();  // fast start
    EXPECT_TRUE(rig.host.vport.written.endsWith(">C005D\r")) << rig.host.vport.written.right(12).constData();
    rig.host.vport.written.clear();
    rig.engine->onBytes(StatusReply('q') + "\r");
    EXPECT_TRUE(rig.host.vport.written.startsWith(">F2B00")) << rig.host.vport.written.constData();

    QSignalSpy finished(&dialog, &QDialog::finished);
    rig.engine->onBytes("OK\r");
    EXPECT_EQ(rig.messages.lastText(), QStringLiteral("Station Address #43 programmed into logger."));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.isEnabled());
    EXPECT_EQ(finished.count(), 1) << "the main window is enabled again on finished()";
}

TEST(StationAddressUi, LoggerThatCannotBeNetworkedClosesTheDialogWithTheMessage)
{
    Rig rig;
    StationAddressDialog dialog(rig.records.settings, *rig.engine, rig.messages, rig.help);
    rig.host.onCloseStationAddressDialog = [&dialog] { dialog.closeStationAddressDialog(); };
    dialog.show();
    Click(dialog, "SENDBtn");
    rig.engine->onTimeout();
    rig.engine->onBytes(StatusReply('R') + "\r");
    EXPECT_EQ(rig.messages.texts(),
              QStringList{QStringLiteral("This Tamble Logger can not be networked.  Contact factory for upgrade.")});
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.isEnabled());

    dialog.show();
    Click(dialog, "CancelBtn");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(rig.records.session.transaction, TransactionKind::None);
}

TEST(RemoteModemUi, PortRefusedThenModemConfigured)
{
    Rig rig;
    rig.records.settings.remoteModemInit = QStringLiteral("ATS0=1&W");
    RemoteModemSetupDialog dialog(rig.records.settings, *rig.engine, rig.messages, rig.help);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Configure Remote Modem"));
    EXPECT_EQ(BoxText(dialog, "Edit1"), QStringLiteral("Com3"));
    EXPECT_EQ(BoxText(dialog, "Edit2"), QStringLiteral("9600"));
    ExpectAccessibleNames(dialog);
    SaveScreen(dialog, QStringLiteral("remote_modem"));

    rig.host.vport.refuseOpen = true;
    Click(dialog, "ProceedBtn");
    EXPECT_EQ(rig.messages.texts(), QStringList{QStringLiteral("Unable to open selected ComPort - check Settings")});
    EXPECT_TRUE(dialog.isEnabled());

    rig.host.vport.refuseOpen = false;
    Click(dialog, "ProceedBtn");
    EXPECT_FALSE(dialog.isEnabled());
    EXPECT_EQ(rig.host.vport.written, QByteArray("AT&F0E0\r"));
    EXPECT_EQ(rig.host.armed, 36);
    rig.engine->onBytes("AT&F0E0\r");  // the echo
    EXPECT_FALSE(dialog.isEnabled());
    rig.engine->onBytes("OK\r");
    EXPECT_EQ(rig.host.vport.written, QByteArray("AT&F0E0\rATS0=1&W\r"));
    EXPECT_EQ(rig.messages.lastText(), QStringLiteral("Modem configured as remote"));
    EXPECT_TRUE(dialog.isEnabled());
    EXPECT_FALSE(rig.host.vport.isOpen());

    Click(dialog, "HelpBtn");
    EXPECT_EQ(rig.help.contexts, std::vector<int>{6});
    Click(dialog, "ExitBtn");
    EXPECT_FALSE(dialog.isVisible());
}

TEST(ComTestUi, TestDisablesTheDialogUntilTheAnswerOrTheTimeOut)
{
    struct Case {
        QByteArray reply;  // empty: no answer (time-out)
        const char* message;
        DialogKind kind;
    };
    const std::vector<Case> cases = {
        {"AT\r", "Com Test OK", DialogKind::Information},
        {"", "Test Failed - No data received.", DialogKind::Warning},
    };
    for (const Case& c : cases) {
        Rig rig;
        ComTestDialog dialog(*rig.engine, rig.messages, rig.help);
        dialog.show();
        Click(dialog, "TestBtn");
        EXPECT_FALSE(dialog.isEnabled());
        EXPECT_EQ(rig.host.vport.written, QByteArray("AT\r"));
        EXPECT_EQ(rig.host.vport.baud(), 1200);
        if (c.reply.isEmpty())
            rig.engine->onTimeout();
        else
            rig.engine->onBytes(c.reply);
        EXPECT_EQ(rig.messages.lastText(), QString::fromLatin1(c.message)) << c.reply.constData();
        EXPECT_EQ(rig.messages.shown.back().kind, c.kind) << c.reply.constData();
        EXPECT_TRUE(dialog.isEnabled()) << c.reply.constData();
    }
}

TEST(ComTestUi, RealTimeGraphIsAskedAboutFirst)
{
    Rig rig;
    ComTestDialog dialog(*rig.engine, rig.messages, rig.help);
    dialog.show();
    ExpectAccessibleNames(dialog);
    SaveScreen(dialog, QStringLiteral("com_test"));
    rig.startRealTime('q', true);
    rig.host.vport.written.clear();
    rig.messages.answers = {DialogAnswer::Cancel};
    Click(dialog, "TestBtn");
    EXPECT_EQ(rig.messages.texts(), QStringList{QStringLiteral("This action will terminate Real Time Graph")});
    EXPECT_TRUE(rig.host.vport.written.isEmpty());
    EXPECT_EQ(rig.records.session.transaction, TransactionKind::RealTime);

    rig.messages.answers = {DialogAnswer::Ok};
    Click(dialog, "TestBtn");
    EXPECT_EQ(rig.records.session.transaction, TransactionKind::None);
    EXPECT_EQ(rig.host.vport.written, QByteArray("AT\r"));
    EXPECT_FALSE(dialog.isEnabled());
}
