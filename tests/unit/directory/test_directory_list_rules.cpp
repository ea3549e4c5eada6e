// The rules of the phone and modem list windows: selection, Insert, Modify, Delete, OK,
// Configure, and the phone entry applied again before a call.

#include "directory/directory_list_rules.h"
#include "support/scripted_messages.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tamble;
using tamble::test::ScriptedMessages;

namespace {

const QByteArray kThree = "[Index]\r\nCharlie=#\r\nalpha=#\r\nBravo=#\r\n\r\n[Defaults]\r\n_Entries=3\r\n\r\n"
                          "[Charlie]\r\nNumber=333\r\n\r\n[alpha]\r\nNumber=111\r\n\r\n[Bravo]\r\nNumber=222\r\n";

struct PhoneFixture {
    explicit PhoneFixture(const QByteArray& bytes, int entry = 0)
    {
        settings.phoneEntry = entry;
        auto storage = std::make_unique<IniMemoryStorage>(bytes);
        mem = storage.get();
        rules = std::make_unique<PhoneListRules>(std::move(storage), settings, messages);
        rules->phoneNameChosen = [this](const QString& n) { chosenNames << n; };
        rules->hangUp = [this] { ++hangUps; };
        rules->show();
    }
    SettingsRecord settings;
    ScriptedMessages messages;
    IniMemoryStorage* mem;
    std::unique_ptr<PhoneListRules> rules;
    QStringList chosenNames;
    int hangUps = 0;
};

std::unique_ptr<DirectoryListRules> MakeRules(DirectoryList list, std::unique_ptr<IniStorage> storage,
                                              SettingsRecord& settings, MessageService& messages)
{
    switch (list) {
    case DirectoryList::Phone: return std::make_unique<PhoneListRules>(std::move(storage), settings, messages);
    case DirectoryList::LocalModem:
        return std::make_unique<LocalModemListRules>(std::move(storage), settings, messages);
    case DirectoryList::RemoteModem: break;
    }
    return std::make_unique<RemoteModemListRules>(std::move(storage), settings, messages);
}

} // namespace

TEST(DirectoryListSelection, SettingsEntrySelectsItsRowOrTheFirst)
{
    struct Case {
        int entry;
        int row;
        const char* name;
        const char* value;
    };
    for (const Case& c : std::vector<Case>{{0, 0, "alpha", "111"}, {2, 2, "Charlie", "333"},
                                           {3, 0, "alpha", "111"}, {5, 0, "alpha", "111"},
                                           {-1, -1, "", ""}}) {
        PhoneFixture f(kThree, c.entry);
        EXPECT_EQ(f.rules->names(), (QStringList{"alpha", "Bravo", "Charlie"}));
        EXPECT_EQ(f.rules->selected(), c.row) << c.entry;
        EXPECT_EQ(f.rules->nameField(), c.name) << c.entry;
        EXPECT_EQ(f.rules->valueField(), c.value) << c.entry;
    }
}

TEST(DirectoryListSelection, EmptyFile_EmptyListFieldsAndOkChangesNothing)
{
    PhoneFixture f("");
    EXPECT_TRUE(f.rules->names().isEmpty());
    EXPECT_EQ(f.rules->selected(), -1);
    EXPECT_EQ(f.rules->selectedName(), QString());
    EXPECT_TRUE(f.rules->nameField().isEmpty());
    EXPECT_TRUE(f.rules->valueField().isEmpty());
    const SettingsRecord before = f.settings;
    EXPECT_FALSE(f.rules->accept());
    EXPECT_EQ(f.settings, before);
    EXPECT_TRUE(f.chosenNames.isEmpty());
    EXPECT_EQ(f.hangUps, 0);
}

TEST(DirectoryListSelection, ClickingShowsTheRecord_NoRowEmptiesTheFields)
{
    PhoneFixture f(kThree);
    f.rules->select(1);
    EXPECT_EQ(f.rules->nameField(), "Bravo");
    EXPECT_EQ(f.rules->valueField(), "222");
    f.rules->select(-1);
    EXPECT_TRUE(f.rules->nameField().isEmpty());
    EXPECT_TRUE(f.rules->valueField().isEmpty());
}

TEST(DirectoryListInsert, FieldChecks_StopInOrderAndWriteNothing)
{
    struct Case {
        DirectoryList list;
        const char* name;
        const char* value;
        ListReaction reaction;
        const char* message;
    };
    const std::vector<Case> cases = {
        {DirectoryList::Phone, "", "", ListReaction::FocusName, "You must enter a Name"},
        {DirectoryList::Phone, "  ", "5", ListReaction::FocusName, "You must enter a Name"},
        {DirectoryList::Phone, "Delta", "", ListReaction::FocusValue, "You must enter a Phone Number"},
        {DirectoryList::LocalModem, "", "AT", ListReaction::FocusName, "You must enter a Modem Name"},
        {DirectoryList::RemoteModem, "Mine", " ", ListReaction::FocusValue, "You must enter a Setup String"},
        {DirectoryList::Phone, "BRAVO", "5", ListReaction::None, "A record with that name already exists"},
    };
    for (const Case& c : cases) {
        for (const bool modify : {false, true}) {
            SettingsRecord settings;
            ScriptedMessages messages;
            auto storage = std::make_unique<IniMemoryStorage>(kThree);
            IniMemoryStorage* mem = storage.get();
            const auto rules = MakeRules(c.list, std::move(storage), settings, messages);
            DirectoryListRules* r = rules.get();
            r->show();
            r->setFields(c.name, c.value);
            EXPECT_EQ(modify ? r->modify() : r->insert(), c.reaction) << c.name << c.value;
            ASSERT_EQ(messages.shown.size(), 1u) << c.name << c.value;
            EXPECT_EQ(messages.shown[0].kind, DialogKind::Error);
            EXPECT_EQ(messages.shown[0].buttons, DialogButtons::Ok);
            EXPECT_EQ(messages.lastText(), c.message);
            EXPECT_EQ(r->names(), (QStringList{"alpha", "Bravo", "Charlie"}));
            EXPECT_EQ(mem->writes, 0);
        }
    }
}

TEST(DirectoryListInsert, NewRecord_IsWrittenAndSelectedAtItsSortedPlace)
{
    PhoneFixture f(kThree, 2);
    f.rules->setFields(QStringLiteral(" Able "), QStringLiteral("0044 1"));
    EXPECT_EQ(f.rules->insert(), ListReaction::None);
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_EQ(f.rules->names(), (QStringList{"Able", "alpha", "Bravo", "Charlie"}));
    EXPECT_EQ(f.rules->selectedName(), "Able");
    EXPECT_EQ(f.rules->nameField(), "Able");
    EXPECT_TRUE(f.mem->bytes.contains("[Able]\r\nNumber=0044 1\r\n"));
    // The settings entry still names Charlie, now one row further down.
    EXPECT_EQ(f.settings.phoneEntry, 3);
}

TEST(DirectoryListModify, WithoutSelection_Beeps)
{
    PhoneFixture f("");
    f.rules->setFields(QStringLiteral("A"), QStringLiteral("1"));
    EXPECT_EQ(f.rules->modify(), ListReaction::Beep);
    EXPECT_EQ(f.rules->remove(), ListReaction::Beep);
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(DirectoryListModify, Rename_MovesTheRecordAndKeepsItSelected)
{
    PhoneFixture f(kThree, 0);
    f.rules->select(0);
    f.rules->setFields(QStringLiteral("Zulu"), QStringLiteral("999"));
    EXPECT_EQ(f.rules->modify(), ListReaction::None);
    EXPECT_EQ(f.rules->names(), (QStringList{"Bravo", "Charlie", "Zulu"}));
    EXPECT_EQ(f.rules->selectedName(), "Zulu");
    EXPECT_FALSE(f.mem->bytes.contains("alpha"));
    EXPECT_TRUE(f.mem->bytes.contains("[Zulu]\r\nNumber=999"));
    EXPECT_EQ(f.settings.phoneEntry, 2);  // follows the renamed record
}

TEST(DirectoryListModify, RenameOntoAnotherRecord_KeepsBothAndTheEntryText)
{
    PhoneFixture f(kThree);
    f.rules->select(0);
    f.rules->setFields(QStringLiteral("charlie"), QStringLiteral("999"));
    f.rules->modify();
    EXPECT_EQ(f.messages.lastText(), QStringLiteral("A record with that name already exists"));
    EXPECT_EQ(f.rules->names(), (QStringList{"alpha", "Bravo", "Charlie"}));
    EXPECT_EQ(f.rules->selectedName(), "alpha");
    EXPECT_EQ(f.mem->bytes, kThree);
}

TEST(DirectoryListDelete, AsksWithTheNameAndSelectsTheNeighbour)
{
    struct Case {
        int row;
        DialogAnswer answer;
        QStringList names;
        int selected;
        const char* field;
    };
    const std::vector<Case> cases = {
        {0, DialogAnswer::No, {"alpha", "Bravo", "Charlie"}, 0, "alpha"},
        {0, DialogAnswer::Yes, {"Bravo", "Charlie"}, 0, "Bravo"},
        {1, DialogAnswer::Yes, {"alpha", "Charlie"}, 1, "Charlie"},
        {2, DialogAnswer::Yes, {"alpha", "Bravo"}, 1, "Bravo"},
    };
    for (const Case& c : cases) {
        PhoneFixture f(kThree);
        f.rules->select(c.row);
        f.messages.answers.push_back(c.answer);
        EXPECT_EQ(f.rules->remove(), ListReaction::None);
        ASSERT_EQ(f.messages.shown.size(), 1u);
        EXPECT_EQ(f.messages.shown[0].kind, DialogKind::Confirmation);
        EXPECT_EQ(f.messages.shown[0].buttons, DialogButtons::YesNo);
        EXPECT_TRUE(f.messages.shown[0].destructive);   // No is the default button
        EXPECT_EQ(f.messages.lastText(), QStringLiteral("Are you sure you want to delete \"%1\"?")
                                             .arg(QStringList{"alpha", "Bravo", "Charlie"}.at(c.row)));
        EXPECT_EQ(f.rules->names(), c.names) << c.row;
        EXPECT_EQ(f.rules->selected(), c.selected) << c.row;
        EXPECT_EQ(f.rules->nameField(), c.field) << c.row;
    }
}

TEST(DirectoryListDelete, OnlyEntry_LeavesNothingSelected_LongNameGives66Characters)
{
    const QString name(31, QLatin1Char('w'));
    PhoneFixture f("[Index]\n" + name.toLatin1() + "=#\n[" + name.toLatin1() + "]\nNumber=1\n");
    f.messages.answers.push_back(DialogAnswer::Yes);
    f.rules->remove();
    EXPECT_EQ(f.messages.lastText().size(), 66);
    EXPECT_TRUE(f.rules->names().isEmpty());
    EXPECT_EQ(f.rules->selected(), -1);
    EXPECT_TRUE(f.rules->nameField().isEmpty());
    EXPECT_TRUE(f.rules->valueField().isEmpty());
}

TEST(DirectoryListDelete, WriteFailure_IsReportedAndTheEntryStays)
{
    PhoneFixture f(kThree);
    f.mem->writeError = QStringLiteral("Read-only file system");
    f.messages.answers.push_back(DialogAnswer::Yes);
    f.rules->remove();
    EXPECT_EQ(f.messages.lastText(),
              QStringLiteral("Unable to write \"memory\" (Read-only file system); the list is unchanged"));
    EXPECT_EQ(f.rules->names().size(), 3);
    EXPECT_EQ(f.rules->selectedName(), "alpha");
}

TEST(DirectoryListOk, PhoneList_SetsEntryNumberPhoneFieldsAndHangsUp)
{
    PhoneFixture f(kThree);
    f.rules->select(2);
    f.rules->setFields(QStringLiteral("Charlie"), QStringLiteral("typed but not stored"));
    EXPECT_TRUE(f.rules->accept());
    EXPECT_EQ(f.settings.phoneEntry, 2);
    EXPECT_EQ(f.settings.phoneNumber, "333");
    EXPECT_EQ(f.chosenNames, QStringList{"Charlie"});
    EXPECT_EQ(f.hangUps, 1);
}

TEST(DirectoryListOk, ModemLists_SetTheirEntryAndInitStringOnly)
{
    const QByteArray modems = "[Index]\nA=#\nB=#\n[A]\nSetup=ATZ\n[B]\nSetup=AT&F0E0\n";
    for (const DirectoryList list : {DirectoryList::LocalModem, DirectoryList::RemoteModem}) {
        SettingsRecord settings;
        ScriptedMessages messages;
        const auto rules = MakeRules(list, std::make_unique<IniMemoryStorage>(modems), settings, messages);
        rules->show();
        rules->select(1);
        ASSERT_TRUE(rules->accept());
        SettingsRecord expected;
        if (list == DirectoryList::LocalModem) {
            expected.localModemEntry = 1;
            expected.localModemInit = QStringLiteral("AT&F0E0");
        } else {
            expected.remoteModemEntry = 1;
            expected.remoteModemInit = QStringLiteral("AT&F0E0");
        }
        EXPECT_EQ(settings, expected);
    }
}

TEST(ApplySelectedPhoneEntry, SetsEntryAndNumberFromTheFile)
{
    QTemporaryDir dir;
    SettingsRecord settings;
    settings.phoneNumber = QStringLiteral("old");

    settings.phoneEntry = 0;
    PhoneEntryApplied none = ApplySelectedPhoneEntry(dir.path(), settings);  // creates an empty list
    EXPECT_FALSE(none.applied);
    EXPECT_EQ(settings.phoneNumber, "old");

    QFile file(dir.filePath(QStringLiteral("Phone.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kThree);
    file.close();
    for (const auto& [entry, row, name, number] : std::vector<std::tuple<int, int, QString, QString>>{
             {1, 1, "Bravo", "222"}, {7, 0, "alpha", "111"}}) {
        settings.phoneEntry = entry;
        const PhoneEntryApplied applied = ApplySelectedPhoneEntry(dir.path(), settings);
        EXPECT_TRUE(applied.applied);
        EXPECT_EQ(applied.name, name);
        EXPECT_EQ(settings.phoneEntry, row);
        EXPECT_EQ(settings.phoneNumber, number);
    }
}

TEST(ApplySelectedPhoneEntry, UnreadableList_ReportsAndKeepsTheSettings)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Phone.ini")));
    SettingsRecord settings;
    settings.phoneNumber = QStringLiteral("555");
    const PhoneEntryApplied applied = ApplySelectedPhoneEntry(dir.path(), settings);
    EXPECT_FALSE(applied.applied);
    EXPECT_EQ(applied.error, QStringLiteral("Unable to read \"Phone.ini\" (it is a folder)"));
    EXPECT_EQ(settings.phoneNumber, "555");
}
