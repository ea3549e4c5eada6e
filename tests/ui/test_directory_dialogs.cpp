// The phone list and the two modem lists driven through their real widgets, offscreen.

#include "program/app_records.h"
#include "support/scripted_messages.h"
#include "ui/directory/local_modem_list_dialog.h"
#include "ui/directory/phone_list_dialog.h"
#include "ui/directory/remote_modem_list_dialog.h"
#include "ui/support/screens.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace tamble;
using tamble::test::RecordingHelp;
using tamble::test::SaveScreen;
using tamble::test::ScriptedMessages;

namespace {

const QByteArray kPhones = "[Index]\r\nCharlie=#\r\nalpha=#\r\nBravo=#\r\n\r\n[Defaults]\r\n_Entries=3\r\n\r\n"
                           "[Charlie]\r\nNumber=333\r\n\r\n[alpha]\r\nNumber=111\r\n\r\n[Bravo]\r\nNumber=222\r\n";
const QByteArray kModems = "[Index]\nHayes=#\nFast=#\n[Hayes]\nSetup=ATZ\n[Fast]\nSetup=AT&F0E0\n";

struct Env {
    Env()
    {
        records.programDir = dir.path() + QLatin1Char('/');
    }
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& name) const
    {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
    AppRecords records;
    ScriptedMessages messages;
    RecordingHelp help;
};

template <typename T>
T* Child(QWidget& w, const char* name)
{
    T* c = w.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

QStringList Items(QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

void ClickRow(QListWidget* list, int row)
{
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

void Type(QWidget& dlg, const char* field, const QString& text)
{
    auto* edit = Child<QLineEdit>(dlg, field);
    edit->clear();
    QTest::keyClicks(edit, text);
}

void Click(QWidget& dlg, const char* button)
{
    QTest::mouseClick(Child<QPushButton>(dlg, button), Qt::LeftButton);
}

} // namespace

TEST(DirectoryDialogs, EveryControlHasItsNames_HelpOpensItsTopic)
{
    Env env;
    PhoneListDialog phone(env.records.settings, env.records.programDir, env.messages, env.help);
    LocalModemListDialog local(env.records.settings, env.records.programDir, env.messages, env.help);
    RemoteModemListDialog remote(env.records.settings, env.records.programDir, env.messages, env.help);
    struct Case {
        QDialog* dlg;
        const char* caption;
        const char* valueName;
    };
    for (const Case& c : {Case{&phone, "Phone List", "Phone Number"}, Case{&local, "Local Modem", "Setup String"},
                          Case{&remote, "Remote Modem", "Setup String"}}) {
        EXPECT_EQ(c.dlg->windowTitle(), c.caption);
        const std::vector<std::pair<const char*, const char*>> controls = {
            {"ListBox1", "Select"}, {"Edit1", "Name"}, {"Edit2", c.valueName}, {"InsertBtn", "Insert"},
            {"ModifyBtn", "Modify"}, {"DeleteBtn", "Delete"}, {"OKBtn", "OK"}, {"CancelBtn", "Cancel"},
            {"HelpBtn", "Help"}};
        for (const auto& [name, accessible] : controls)
            EXPECT_EQ(Child<QWidget>(*c.dlg, name)->accessibleName(), accessible) << c.caption << " " << name;
    }
    EXPECT_EQ(Child<QWidget>(remote, "ConfigureBtn")->accessibleName(), "Configure");
    EXPECT_EQ(phone.findChild<QWidget*>(QStringLiteral("ConfigureBtn")), nullptr);
    EXPECT_EQ(Child<QLineEdit>(phone, "Edit1")->maxLength(), 31);
    for (QDialog* d : std::initializer_list<QDialog*>{&phone, &local, &remote}) {
        d->show();
        Click(*d, "HelpBtn");
    }
    EXPECT_EQ(env.help.contexts, (std::vector<int>{16, 17, 18}));
}

TEST(DirectoryDialogs, PhoneList_InsertClickDeleteAndOk)
{
    Env env;
    env.write(QStringLiteral("Phone.ini"), kPhones);
    env.records.settings.phoneEntry = 5;  // beyond the end: the first entry
    PhoneListDialog dlg(env.records.settings, env.records.programDir, env.messages, env.help);
    EXPECT_EQ(dlg.selectedName(), "alpha");
    QSignalSpy chosen(&dlg, &PhoneListDialog::phoneEntryChosen);
    QSignalSpy hangUp(&dlg, &PhoneListDialog::hangUpRequested);
    dlg.show();
    auto* list = Child<QListWidget>(dlg, "ListBox1");
    EXPECT_EQ(Items(list), (QStringList{"alpha", "Bravo", "Charlie"}));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(Child<QLineEdit>(dlg, "Edit2")->text(), "111");

    ClickRow(list, 2);
    EXPECT_EQ(Child<QLineEdit>(dlg, "Edit1")->text(), "Charlie");
    EXPECT_EQ(Child<QLineEdit>(dlg, "Edit2")->text(), "333");

    Type(dlg, "Edit1", QStringLiteral("Delta"));
    Type(dlg, "Edit2", QStringLiteral("0044 444"));
    Click(dlg, "InsertBtn");
    EXPECT_TRUE(env.messages.shown.empty());
    EXPECT_EQ(Items(list), (QStringList{"alpha", "Bravo", "Charlie", "Delta"}));
    EXPECT_EQ(list->currentItem()->text(), "Delta");
    EXPECT_TRUE(env.read(QStringLiteral("Phone.ini")).contains("[Delta]\r\nNumber=0044 444\r\n"));
    SaveScreen(dlg, QStringLiteral("phone_list"));

    ClickRow(list, 1);
    env.messages.answers.push_back(DialogAnswer::Yes);
    Click(dlg, "DeleteBtn");
    EXPECT_EQ(env.messages.lastText(), QStringLiteral("Are you sure you want to delete \"Bravo\"?"));
    EXPECT_EQ(Items(list), (QStringList{"alpha", "Charlie", "Delta"}));
    EXPECT_EQ(Child<QLineEdit>(dlg, "Edit1")->text(), "Charlie");
    EXPECT_FALSE(env.read(QStringLiteral("Phone.ini")).contains("Bravo"));

    Click(dlg, "OKBtn");
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(env.records.settings.phoneEntry, 1);
    EXPECT_EQ(env.records.settings.phoneNumber, "333");
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toString(), "Charlie");
    EXPECT_EQ(hangUp.count(), 1);
}

TEST(DirectoryDialogs, LocalModem_OkSetsTheInitString_CancelChangesNothing)
{
    Env env;
    env.write(QStringLiteral("Local.ini"), kModems);
    LocalModemListDialog dlg(env.records.settings, env.records.programDir, env.messages, env.help);
    dlg.show();
    auto* list = Child<QListWidget>(dlg, "ListBox1");
    EXPECT_EQ(Items(list), (QStringList{"Fast", "Hayes"}));
    ClickRow(list, 1);
    const SettingsRecord before = env.records.settings;
    Click(dlg, "CancelBtn");
    EXPECT_EQ(env.records.settings, before);

    dlg.show();
    EXPECT_EQ(list->currentRow(), 0);  // selected from the settings again
    SaveScreen(dlg, QStringLiteral("local_modem_list"));
    ClickRow(list, 1);
    Click(dlg, "OKBtn");
    EXPECT_EQ(env.records.settings.localModemEntry, 1);
    EXPECT_EQ(env.records.settings.localModemInit, "ATZ");
    EXPECT_EQ(env.records.settings.remoteModemInit, QString());
}

TEST(DirectoryDialogs, RemoteModem_ConfigureTakesTheTypedString)
{
    Env env;
    env.write(QStringLiteral("Remote.ini"), kModems);
    RemoteModemListDialog dlg(env.records.settings, env.records.programDir, env.messages, env.help);
    int opened = 0;
    dlg.setConfigureHandler([&] { ++opened; });
    dlg.show();
    SaveScreen(dlg, QStringLiteral("remote_modem_list"));
    Type(dlg, "Edit2", QStringLiteral("ATS0=1&W"));
    Click(dlg, "ConfigureBtn");
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(env.records.settings.remoteModemInit, "ATS0=1&W");
    EXPECT_EQ(env.read(QStringLiteral("Remote.ini")), kModems);
}

TEST(DirectoryDialogs, UnreadableList_IsReportedWhenTheWindowOpens)
{
    Env env;
    ASSERT_TRUE(QDir(env.dir.path()).mkdir(QStringLiteral("Phone.ini")));
    PhoneListDialog dlg(env.records.settings, env.records.programDir, env.messages, env.help);
    EXPECT_TRUE(env.messages.shown.empty());
    dlg.show();
    EXPECT_EQ(env.messages.texts(), QStringList{"Unable to read \"Phone.ini\" (it is a folder)"});
    EXPECT_EQ(Child<QListWidget>(dlg, "ListBox1")->count(), 0);
}
