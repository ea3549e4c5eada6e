// The Settings dialog driven through its real controls, offscreen.

#include "ui/app/port_map_dialog.h"
#include "ui/app/settings_dialog.h"

#include "program/app_records.h"
#include "support/scripted_messages.h"
#include "ui/support/screens.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace tamble;
using tamble::test::RecordingHelp;
using tamble::test::ScriptedMessages;

namespace {

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        for (int n = 1; n <= 20; ++n)
            qunsetenv(ComEnvironmentName(n).toLatin1().constData());
        records.programDir = home.path() + "/";
        dialog = std::make_unique<SettingsDialog>(records.settings, records.programDir, messages, help);
        connect();
    }

    void connect()
    {
        QObject::connect(dialog.get(), &SettingsDialog::applied,
                         [this](const SettingsApplied& a) { appliedResults.push_back(a); });
    }

    template <typename T = QAbstractButton>
    T* control(const char* name)
    {
        T* w = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    void click(const char* name) { QTest::mouseClick(control(name), Qt::LeftButton); }

    QTemporaryDir home;
    AppRecords records;
    ScriptedMessages messages;
    RecordingHelp help;
    std::unique_ptr<SettingsDialog> dialog;
    std::vector<SettingsApplied> appliedResults;
};

} // namespace

TEST_F(SettingsDialogTest, ShowsTheRecord)
{
    records.settings.baud = 57600;
    records.settings.portNumber = 7;
    records.settings.network = true;
    records.settings.amPm = false;
    records.settings.useModem = true;
    records.settings.autoAnswer = true;
    dialog->show();
    EXPECT_TRUE(control("Baud57600")->isChecked());
    EXPECT_TRUE(control("COM7")->isChecked());
    EXPECT_TRUE(control("NetworkBtn")->isChecked());
    EXPECT_TRUE(control("Hour24Btn")->isChecked());
    EXPECT_TRUE(control("AutoAnswerCheck")->isVisible());
    EXPECT_TRUE(control("AutoAnswerCheck")->isChecked());
    EXPECT_EQ(dialog->windowTitle(), "Settings");
    tamble::test::SaveScreen(*dialog, "settings");
}

TEST_F(SettingsDialogTest, UseModemShowsAndHidesAutoAnswerAtOnce)
{
    dialog->show();
    QAbstractButton* autoAnswer = control("AutoAnswerCheck");
    EXPECT_FALSE(autoAnswer->isVisible());
    click("UseModemCheck");
    EXPECT_TRUE(autoAnswer->isVisible());
    click("UseModemCheck");
    EXPECT_FALSE(autoAnswer->isVisible());
    EXPECT_FALSE(records.settings.useModem);   // nothing stored before OK
}

TEST_F(SettingsDialogTest, OkWithModemAndSingleLoggerStaysOpenUntilNetworkIsChosen)
{
    dialog->show();
    click("UseModemCheck");
    click("AutoAnswerCheck");
    click("Baud9600");
    click("COM4");
    ASSERT_TRUE(control("SingleLoggerBtn")->isChecked());
    click("OKBtn");
    EXPECT_EQ(messages.texts(), QStringList({"Must check 'Network' if using modems"}));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(appliedResults.empty());
    EXPECT_EQ(records.settings, SettingsRecord{});

    click("NetworkBtn");
    click("OKBtn");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    ASSERT_EQ(appliedResults.size(), 1u);
    EXPECT_TRUE(appliedResults[0].useModem);
    EXPECT_TRUE(appliedResults[0].autoAnswer);
    EXPECT_TRUE(appliedResults[0].network);
    EXPECT_EQ(records.settings.baud, 9600);
    EXPECT_EQ(records.settings.portNumber, 4);
    EXPECT_TRUE(records.settings.useModem && records.settings.autoAnswer
                && records.settings.network);
}

TEST_F(SettingsDialogTest, CancelKeepsTheDateFormatAndAutoExport)
{
    dialog->show();
    click("DateDayFirstBtn");
    click("AutoExportCheck");
    click("Baud1200");
    click("CancelBtn");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(records.settings.exportDateFormat, 1);
    EXPECT_TRUE(records.settings.autoExport);
    EXPECT_EQ(records.settings.baud, 19200);
    EXPECT_TRUE(appliedResults.empty());
}

TEST_F(SettingsDialogTest, HelpOpensContextOne)
{
    dialog->show();
    click("HelpBtn");
    EXPECT_EQ(help.contexts, std::vector<int>({1}));
}

TEST_F(SettingsDialogTest, ShowsEachPortsDeviceAndMapsOne)
{
    {
        QFile ini(home.filePath("ports.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("; bench\nCOM2=/dev/null\n");
    }
    const QString byId = home.filePath("by-id");
    ASSERT_TRUE(QDir().mkpath(byId));
    QFile(home.filePath("ttyUSB0")).open(QIODevice::WriteOnly);
    QFile(home.filePath("ttyUSB5")).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(home.filePath("ttyUSB0"), byId + "/usb-Cable_A-if00"));
    dialog->setDeviceProbe({byId, [this] {
                                return QStringList{home.filePath("ttyUSB5"),
                                                   home.filePath("ttyUSB0")};
                            }});
    dialog->show();
    EXPECT_EQ(control<QLabel>("COM2Device")->text(), "/dev/null (ports.ini)");
    EXPECT_TRUE(control<QLabel>("COM1Device")->text().startsWith("/dev/ttyS0"));

    click("COM3");
    click("MapBtn");
    auto* map = dialog->findChild<PortMapDialog*>();
    ASSERT_NE(map, nullptr);
    ASSERT_TRUE(map->isVisible());
    auto* list = map->findChild<QListWidget*>("DeviceList");
    ASSERT_EQ(list->count(), 3);   // stable name, the other device, the default
    EXPECT_TRUE(list->item(0)->text().startsWith(byId + "/usb-Cable_A-if00"));
    EXPECT_EQ(list->item(1)->text(), home.filePath("ttyUSB5"));
    tamble::test::SaveScreen(*map, "settings-port-map");
    list->setCurrentRow(0);
    QTest::mouseClick(map->findChild<QPushButton*>("OKBtn"), Qt::LeftButton);

    QFile ini(home.filePath("ports.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), "; bench\nCOM2=/dev/null\nCOM3=" + (byId + "/usb-Cable_A-if00").toUtf8()
                                 + "\n");
    EXPECT_EQ(control<QLabel>("COM3Device")->toolTip(), byId + "/usb-Cable_A-if00 (ports.ini)");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsDialogTest, EveryControlHasItsAccessibleName)
{
    dialog->show();
    for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) {
        EXPECT_EQ(b->accessibleName(), QString(b->text()).remove('&')) << b->objectName().toStdString();
    }
    for (QGroupBox* g : dialog->findChildren<QGroupBox*>())
        EXPECT_EQ(g->accessibleName(), g->title());
    for (QLabel* l : dialog->findChildren<QLabel*>()) {
        if (l->objectName().endsWith("Device")) {
            EXPECT_FALSE(l->accessibleName().isEmpty());
        }
    }
}
