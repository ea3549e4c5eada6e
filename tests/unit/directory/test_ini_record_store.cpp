// The record store behind the phone and modem lists: file layout, record operations,
// damaged files, names and values that could break the file, and files that cannot be used.

#include "directory/ini_record_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tamble;

namespace {

RecordStoreLayout PhoneLayout()
{
    return RecordStoreLayout{QStringLiteral("Number"), 31, 83, 999};
}

// A store over bytes in memory; `mem` stays valid while the store lives.
struct MemStore {
    explicit MemStore(const QByteArray& bytes, bool exists = true)
    {
        auto storage = std::make_unique<IniMemoryStorage>(bytes);
        storage->exists = exists;
        mem = storage.get();
        store = std::make_unique<IniRecordStore>(PhoneLayout(), std::move(storage));
    }
    IniMemoryStorage* mem;
    std::unique_ptr<IniRecordStore> store;
};

QString ValueOf(IniRecordStore& store, const QString& name)
{
    DirectoryRecord r;
    const StoreStatus s = store.get(name, r);
    return s.ok() ? r.value : QStringLiteral("<%1>").arg(s.message);
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

const QByteArray kThreeRecords = "[Index]\r\nCharlie=#\r\nalpha=#\r\nBravo=#\r\n\r\n[Defaults]\r\n_Entries=3\r\n\r\n"
                          "[Charlie]\r\nNumber=333\r\n\r\n[alpha]\r\nNumber=111\r\n\r\n[Bravo]\r\nNumber=222\r\n";

} // namespace

TEST(IniRecordStoreFile, MissingFile_IsCreatedWithEmptyIndexAndZeroEntries)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Phone.ini"));
    IniRecordStore store(PhoneLayout(), std::make_unique<IniFileStorage>(path));
    EXPECT_TRUE(store.names().isEmpty());
    EXPECT_EQ(ReadAll(path), QByteArray("[Index]\r\n\r\n[Defaults]\r\n_Entries=0\r\n"));
}

TEST(IniRecordStoreFile, AddUpdateDelete_WriteTheIndexTheCountAndOneSectionPerRecord)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Phone.ini"));
    IniRecordStore store(PhoneLayout(), std::make_unique<IniFileStorage>(path));
    ASSERT_TRUE(store.add({QStringLiteral("Bob"), QStringLiteral("555")}).ok());
    EXPECT_EQ(ReadAll(path), QByteArray("[Index]\r\nBob=#\r\n\r\n[Defaults]\r\n_Entries=1\r\n\r\n[Bob]\r\nNumber=555\r\n"));

    ASSERT_TRUE(store.add({QStringLiteral("Ann"), QStringLiteral("1 800 42")}).ok());
    ASSERT_TRUE(store.update(QStringLiteral("bob"), {QStringLiteral("Rob"), QStringLiteral("556")}).ok());
    EXPECT_EQ(ReadAll(path), QByteArray("[Index]\r\nRob=#\r\nAnn=#\r\n\r\n[Defaults]\r\n_Entries=2\r\n\r\n"
                                        "[Rob]\r\nNumber=556\r\n\r\n[Ann]\r\nNumber=1 800 42\r\n"));

    ASSERT_TRUE(store.remove(QStringLiteral("ROB")).ok());
    EXPECT_EQ(ReadAll(path), QByteArray("[Index]\r\nAnn=#\r\n\r\n[Defaults]\r\n_Entries=1\r\n\r\n"
                                        "[Ann]\r\nNumber=1 800 42\r\n"));
    // No temporary file is left beside the list.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Phone.ini")});
}

TEST(IniRecordStoreOps, RefusedChanges_WriteNothing)
{
    struct Case {
        const char* what;
        std::function<StoreStatus(IniRecordStore&)> op;
        StoreError error;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"add of a name differing only in case", [](auto& s) { return s.add({"BRAVO", "9"}); },
         StoreError::Exists, "A record with that name already exists"},
        {"rename onto another record", [](auto& s) { return s.update("alpha", {"charlie", "9"}); },
         StoreError::Exists, "A record with that name already exists"},
        {"update of a missing record", [](auto& s) { return s.update("delta", {"Echo", "9"}); },
         StoreError::NotFound, "No record named \"delta\" exists"},
        {"delete of a missing record", [](auto& s) { return s.remove("delta"); },
         StoreError::NotFound, "No record named \"delta\" exists"},
    };
    for (const Case& c : cases) {
        MemStore m(kThreeRecords);
        const StoreStatus s = c.op(*m.store);
        EXPECT_EQ(s.error, c.error) << c.what;
        EXPECT_EQ(s.message, QString::fromUtf8(c.message)) << c.what;
        EXPECT_EQ(m.mem->writes, 0) << c.what;
        EXPECT_EQ(m.store->names(), (QStringList{"Charlie", "alpha", "Bravo"})) << c.what;
        EXPECT_EQ(ValueOf(*m.store, "alpha"), "111") << c.what;
    }
}

TEST(IniRecordStoreOps, UpdateOfTheSameNameInOtherCase_RewritesValueAndSpelling)
{
    MemStore m(kThreeRecords);
    ASSERT_TRUE(m.store->update(QStringLiteral("ALPHA"), {QStringLiteral("Alpha"), QStringLiteral("112")}).ok());
    EXPECT_EQ(m.store->names(), (QStringList{"Charlie", "Alpha", "Bravo"}));
    EXPECT_EQ(ValueOf(*m.store, "alpha"), "112");
    MemStore again(m.mem->bytes);
    EXPECT_EQ(again.store->names(), (QStringList{"Charlie", "Alpha", "Bravo"}));
    EXPECT_EQ(ValueOf(*again.store, "alpha"), "112");
}

TEST(IniRecordStoreOps, EmptyValue_RemovesTheKeyAndDefaultsFillMissingValues)
{
    MemStore m("[Index]\nA=#\nB=#\n[Defaults]\n_Entries=2\nNumber=000\n[A]\nNumber=1\n");
    EXPECT_EQ(ValueOf(*m.store, "B"), "000");
    ASSERT_TRUE(m.store->update("A", {"A", ""}).ok());
    EXPECT_FALSE(m.mem->bytes.contains("Number=1"));
    EXPECT_EQ(ValueOf(*m.store, "A"), "000");
}

TEST(IniRecordStoreOps, FullAt999_ButLargerDamagedFilesStillLoadAndShrink)
{
    for (const int count : {999, 5000}) {
        QByteArray bytes = "[Index]\n";
        for (int i = 0; i < count; ++i)
            bytes += "N" + QByteArray::number(i) + "=#\n";
        bytes += "[Defaults]\n_Entries=" + QByteArray::number(count) + "\n";
        MemStore m(bytes);
        EXPECT_EQ(m.store->names().size(), count);
        const StoreStatus s = m.store->add({"Extra", "1"});
        EXPECT_EQ(s.error, StoreError::Full);
        EXPECT_EQ(s.message, QStringLiteral("The list is full: it holds at most 999 entries"));
        ASSERT_TRUE(m.store->remove("N7").ok());
        EXPECT_TRUE(m.mem->bytes.contains("_Entries=" + QByteArray::number(count - 1) + "\n"));
        EXPECT_EQ(m.store->add({"Extra", "1"}).ok(), count == 999);
    }
}

// Damaged files: what can be shown is shown, and an Insert keeps all of it.
TEST(IniRecordStoreDamaged, LoadShowWhatTheyCan_AndAnInsertKeepsIt)
{
    struct Case {
        const char* what;
        QByteArray bytes;
        QStringList names;
        QStringList values;
    };
    const QByteArray longLine(1024 * 1024, 'x');
    const std::vector<Case> cases = {
        {"duplicate sections", "[Index]\nA=#\n[A]\nNumber=1\n[Index]\nB=#\nA=#\n[B]\n[Defaults]\n_Entries=2\n[B]\nNumber=2\n",
         {"A", "B"}, {"1", "2"}},
        {"duplicate keys", "[Index]\nA=#\na=#\n[A]\nNumber=1\nNumber=9\n[Defaults]\n_Entries=7\n", {"A"}, {"1"}},
        {"missing index", "[Defaults]\n_Entries=2\n[A]\nNumber=1\n[B]\nNumber=2\n", {"A", "B"}, {"1", "2"}},
        {"missing defaults", "[Index]\nA=#\n[A]\nNumber=1\n", {"A"}, {"1"}},
        {"mixed line endings", "[Index]\r\nA=#\nB=#\r\n[A]\nNumber=1\r\n[B]\r\nNumber=2", {"A", "B"}, {"1", "2"}},
        {"spaces, comments, a line without =", "; list\n [ Index ] \n A = # \nB\n[A]\n Number = 1 \n", {"A", "B"}, {"1", ""}},
        {"a 1 MiB line", "[Index]\nA=#\n" + longLine + "\n[A]\nNumber=" + longLine + "\n",
         {"A", QString::fromLatin1(longLine)}, {QString::fromLatin1(longLine), ""}},
        {"binary noise", QByteArray("\0\xff[\n=\n[Index\n\r\r\nA=#\0", 19), {"A"}, {""}},
    };
    for (const Case& c : cases) {
        MemStore m(c.bytes);
        ASSERT_EQ(m.store->names(), c.names) << c.what;
        for (int i = 0; i < c.names.size(); ++i)
            EXPECT_EQ(ValueOf(*m.store, c.names.at(i)), c.values.at(i)) << c.what;

        ASSERT_TRUE(m.store->add({"New", "42"}).ok()) << c.what;
        MemStore reread(m.mem->bytes);
        EXPECT_EQ(reread.store->names(), c.names + QStringList{"New"}) << c.what;
        for (int i = 0; i < c.names.size(); ++i)
            EXPECT_EQ(ValueOf(*reread.store, c.names.at(i)), c.values.at(i)) << c.what;
        EXPECT_EQ(ValueOf(*reread.store, "New"), "42") << c.what;
        EXPECT_TRUE(m.mem->bytes.contains("_Entries=" + QByteArray::number(c.names.size() + 1))) << c.what;
    }
}

TEST(IniRecordStoreDamaged, UntouchedLines_AreWrittenBackAsTheyWere)
{
    const QByteArray bytes = "; dial-up numbers\n[Index]\n  A = # \n\n[Defaults]\n_Entries=1\nOther=keep\n[A]\nNumber = 1\nNote=x\n";
    MemStore m(bytes);
    ASSERT_TRUE(m.store->add({"B", "2"}).ok());
    EXPECT_EQ(m.mem->bytes, QByteArray("; dial-up numbers\n[Index]\n  A = # \nB=#\n\n[Defaults]\n_Entries=2\nOther=keep\n"
                                       "[A]\nNumber = 1\nNote=x\n\n[B]\nNumber=2\n"));
}

TEST(IniRecordStoreText, NamesAndValuesThatWouldBreakTheFile_AreRefused)
{
    struct Case {
        QString name;
        QString value;
        StoreError error;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"a]b", "1", StoreError::BadName, "A name cannot hold \"]\" or \"=\""},
        {"a=b", "1", StoreError::BadName, "A name cannot hold \"]\" or \"=\""},
        {"[ab", "1", StoreError::BadName, "A name cannot begin with \"[\" or \";\""},
        {";ab", "1", StoreError::BadName, "A name cannot begin with \"[\" or \";\""},
        {"a\nb", "1", StoreError::BadName, "A name cannot hold a line break, tab or other control character"},
        {"a\rb", "1", StoreError::BadName, "A name cannot hold a line break, tab or other control character"},
        {" ab", "1", StoreError::BadName, "A name cannot begin or end with a space"},
        {"defaults", "1", StoreError::BadName, "\"Index\" and \"Defaults\" cannot be used as names"},
        {"INDEX", "1", StoreError::BadName, "\"Index\" and \"Defaults\" cannot be used as names"},
        {QString(32, 'n'), "1", StoreError::BadName, "A name holds at most 31 characters"},
        {QString::fromUtf8("\xc5\x81od\xc5\xba"), "1", StoreError::BadName,
         "A name can only hold characters of the Western European (Latin-1) set"},
        {"ok", "55\n[Index]", StoreError::BadValue, "A value cannot hold a line break, tab or other control character"},
        {"ok", "55 ", StoreError::BadValue, "A value cannot begin or end with a space"},
        {"ok", QString(84, '5'), StoreError::BadValue, "A value holds at most 83 characters"},
    };
    for (const Case& c : cases) {
        MemStore m(kThreeRecords);
        const StoreStatus added = m.store->add({c.name, c.value});
        EXPECT_EQ(added.error, c.error) << c.name.toStdString();
        EXPECT_EQ(added.message, QString::fromUtf8(c.message)) << c.name.toStdString();
        const StoreStatus renamed = m.store->update("alpha", {c.name, c.value});
        EXPECT_EQ(renamed.error, c.error) << c.name.toStdString();
        EXPECT_EQ(m.mem->writes, 0);
        EXPECT_EQ(m.mem->bytes, kThreeRecords);
    }
}

TEST(IniRecordStoreText, OddButHarmlessTexts_ReadBackExactly)
{
    const std::vector<DirectoryRecord> records = {
        {"a[b", "[Index]"}, {"x;y", "=x=y="}, {QString::fromLatin1("Z\xfcrich #2"), "AT&F0 E0 ]["}, {QString(31, 'n'), QString(83, '9')},
        {"sp ace", "; not a comment"},
    };
    MemStore m("", false);
    for (const DirectoryRecord& r : records)
        ASSERT_TRUE(m.store->add(r).ok()) << r.name.toStdString();
    MemStore reread(m.mem->bytes);
    QStringList names;
    for (const DirectoryRecord& r : records) {
        names << r.name;
        EXPECT_EQ(ValueOf(*reread.store, r.name), r.value) << r.name.toStdString();
    }
    EXPECT_EQ(reread.store->names(), names);
}

TEST(IniRecordStoreFailure, WriteRefused_LeavesFileAndStoreAsTheyWere)
{
    MemStore m(kThreeRecords);
    m.mem->writeError = QStringLiteral("No space left on device");
    const std::vector<std::function<StoreStatus(IniRecordStore&)>> ops = {
        [](auto& s) { return s.add({"Delta", "4"}); },
        [](auto& s) { return s.update("alpha", {"Alfa", "4"}); },
        [](auto& s) { return s.remove("alpha"); },
    };
    for (const auto& op : ops) {
        const StoreStatus s = op(*m.store);
        EXPECT_EQ(s.error, StoreError::WriteFailed);
        EXPECT_EQ(s.message, QStringLiteral("Unable to write \"memory\" (No space left on device); the list is unchanged"));
        EXPECT_EQ(m.store->names(), (QStringList{"Charlie", "alpha", "Bravo"}));
        EXPECT_EQ(ValueOf(*m.store, "alpha"), "111");
        EXPECT_EQ(m.mem->bytes, kThreeRecords);
    }
}

TEST(IniRecordStoreFailure, UnreadableFile_IsReportedAndNeverOverwritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Phone.ini"));
    ASSERT_TRUE(QDir().mkpath(path));  // a folder where the list should be
    IniRecordStore store(PhoneLayout(), std::make_unique<IniFileStorage>(path));
    const StoreStatus opened = store.open();
    EXPECT_EQ(opened.error, StoreError::ReadFailed);
    EXPECT_EQ(opened.message, QStringLiteral("Unable to read \"Phone.ini\" (it is a folder)"));
    EXPECT_TRUE(store.names().isEmpty());
    EXPECT_EQ(store.add({"A", "1"}).error, StoreError::ReadFailed);
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST(IniRecordStoreFailure, FolderThatCannotHoldTheFile_ReportsTheFirstChange)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gone/Phone.ini"));
    IniRecordStore store(PhoneLayout(), std::make_unique<IniFileStorage>(path));
    EXPECT_TRUE(store.open().ok());
    const StoreStatus s = store.add({"A", "1"});
    EXPECT_EQ(s.error, StoreError::WriteFailed);
    EXPECT_TRUE(s.message.startsWith(QStringLiteral("Unable to write \"Phone.ini\" ("))) << s.message.toStdString();
    EXPECT_TRUE(store.names().isEmpty());
}

TEST(IniRecordStoreOps, Close_ReadsTheFileAgainOnTheNextUse)
{
    MemStore m(kThreeRecords);
    EXPECT_EQ(m.store->names().size(), 3);
    m.mem->bytes = "[Index]\nOnly=#\n";
    EXPECT_EQ(m.store->names().size(), 3);
    m.store->close();
    EXPECT_EQ(m.store->names(), QStringList{"Only"});
}
