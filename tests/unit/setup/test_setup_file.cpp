// Setup files on disk: load and save, the start-up load with its name folding
// and failure outcomes, the setup sent back to a calling logger, and the
// copy kept for "Save changes?" -> No.

#include "setup/setup_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace tamble;

namespace {

const QDateTime kNow(QDate(2003, 6, 24), QTime(10, 1, 5));

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// A record whose every byte differs from its neighbours, reserved bytes included.
SetupRecord patterned()
{
    QByteArray image(781, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    return *SetupRecord::fromBytes(image);
}

SetupMessage error(const QString& text) { return SetupMessage{text, SetupMessage::Kind::Error}; }

class SetupFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
};

} // namespace

// ------------------------------------------------------------------ load and save

TEST_F(SetupFiles, SavedFileLoadsBackIdenticallyReservedBytesIncluded)
{
    const SetupRecord original = patterned();
    ASSERT_TRUE(SaveSetupFile(path("site.set"), original).ok);
    EXPECT_EQ(readAll(path("site.set")), original.bytes());
    SetupRecord loaded;
    const SetupFileOutcome outcome = LoadSetupFile(path("site.set"), loaded);
    EXPECT_TRUE(outcome.ok);
    EXPECT_FALSE(outcome.message);
    EXPECT_EQ(loaded, original);
}

TEST_F(SetupFiles, LongerFileLoadsItsFirstRecord)
{
    const SetupRecord original = patterned();
    writeAll(path("long.set"), original.bytes() + QByteArray(500, 'z'));
    SetupRecord loaded;
    EXPECT_TRUE(LoadSetupFile(path("long.set"), loaded).ok);
    EXPECT_EQ(loaded, original);
}

TEST_F(SetupFiles, ShortOrMissingFileFailsWithTheFileNameAndLeavesTheRecord)
{
    const SetupRecord before = DefaultSetupRecord(kNow);
    for (int size : {0, 1, 780}) {
        writeAll(path("short.set"), QByteArray(size, 'q'));
        SetupRecord r = before;
        const SetupFileOutcome outcome = LoadSetupFile(path("short.set"), r);
        EXPECT_FALSE(outcome.ok) << size;
        EXPECT_EQ(outcome.message, error("File I/O error: " + path("short.set")));
        EXPECT_EQ(r, before);
    }
    SetupRecord r = before;
    EXPECT_EQ(LoadSetupFile(path("none.set"), r).message, error("File I/O error: " + path("none.set")));
    EXPECT_EQ(r, before);
}

TEST_F(SetupFiles, PipeOrFolderUnderTheNameFailsAsUnreadableWithoutWaiting)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.set")).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.tl1")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.set"));
    const SetupRecord before = DefaultSetupRecord(kNow);
    for (const char* name : {"pipe.set", "folder.set"}) {
        SetupRecord r = before;
        EXPECT_EQ(LoadSetupFile(path(name), r).message, error("File I/O error: " + path(name))) << name;
        EXPECT_EQ(r, before);
    }
    SetupRecord r = before;
    EXPECT_EQ(ImportSetupFromDataFile(path("pipe.tl1"), r).message, error("File I/O error: " + path("pipe.tl1")));
    EXPECT_EQ(r, before);
}

TEST_F(SetupFiles, FailedSaveIsReportedWithTheFileName)
{
    const QString missingDir = path("no/such/dir/x.set");
    EXPECT_EQ(SaveSetupFile(missingDir, patterned()).message, error("File I/O error: " + missingDir));
}

TEST_F(SetupFiles, GraveAccentScalingCodeSurvivesSaveAndLoad)
{
    SetupRecord r = DefaultSetupRecord(kNow);
    r.setScalingCode(3, '`');
    ASSERT_TRUE(SaveSetupFile(path("s.set"), r).ok);
    SetupRecord back;
    ASSERT_TRUE(LoadSetupFile(path("s.set"), back).ok);
    EXPECT_EQ(back.scalingCode(3), '`');
    EXPECT_EQ(static_cast<unsigned char>(readAll(path("s.set")).at(148)), 96);
}

TEST_F(SetupFiles, MakeDefaultSetupWritesDefaultDotSet)
{
    SetupRecord r = patterned();
    EXPECT_TRUE(MakeDefaultSetup(r, kNow, dir.path()));
    EXPECT_EQ(r, DefaultSetupRecord(kNow));
    EXPECT_EQ(readAll(path("default.set")), r.bytes());
}

// ------------------------------------------------------------------ the window's load and save

TEST_F(SetupFiles, WindowLoadRemembersSetupFilesButNotImportsAndAlwaysRefreshesTheCopy)
{
    const SetupRecord onDisk = patterned();
    ASSERT_TRUE(SaveSetupFile(path("a.SET"), onDisk).ok);
    SetupRecord record = DefaultSetupRecord(kNow);
    SetupRecord copy;
    QString last = QStringLiteral("default.set");

    EXPECT_TRUE(OpenSetupForWindow(path("a.SET"), record, copy, last).ok);
    EXPECT_EQ(record, onDisk);
    EXPECT_EQ(copy, onDisk);
    EXPECT_EQ(last, path("a.SET"));

    // A failed load still refreshes the copy and keeps the remembered name.
    record.setRateCode('R');
    EXPECT_FALSE(OpenSetupForWindow(path("gone.set"), record, copy, last).ok);
    EXPECT_EQ(copy, record);
    EXPECT_EQ(last, path("a.SET"));

    // A data file is imported (here it is corrupt) and never remembered.
    writeAll(path("data.Tl1"), "C\nshort\n");
    const SetupFileOutcome imported = OpenSetupForWindow(path("data.Tl1"), record, copy, last);
    EXPECT_EQ(imported.message, error("File corrupt or invalid"));
    EXPECT_EQ(last, path("a.SET"));
}

TEST_F(SetupFiles, WindowSaveRemembersThePathAndTakesTheCopy)
{
    const SetupRecord record = patterned();
    SetupRecord copy;
    QString last;
    EXPECT_TRUE(SaveSetupForWindow(path("b.set"), record, copy, last).ok);
    EXPECT_EQ(copy, record);
    EXPECT_EQ(last, path("b.set"));
}

TEST(SetupFileNames, OnlyTl1InAnyCaseIsADataFile)
{
    EXPECT_TRUE(IsDataFileName("x/site1a.tl1"));
    EXPECT_TRUE(IsDataFileName("SITE1A.TL1"));
    EXPECT_FALSE(IsDataFileName("site.set"));
    EXPECT_FALSE(IsDataFileName("site.tl2"));
    EXPECT_FALSE(IsDataFileName("tl1"));
}

// ------------------------------------------------------------------ start-up load

TEST(StartupSetup, DefaultAndAlloffNamesAreFoldedIntoTheProgramDirectory)
{
    struct Case { const char* last; const char* readName; const char* path; };
    const Case cases[] = {
        {"C:\\old\\Default.SET", "default.set", "/prog/default.set"},
        {"default.set", "default.set", "/prog/default.set"},
        {"/home/u/other/DEFAULT.set", "default.set", "/prog/default.set"},
        {"D:AllOff.Set", "alloff.set", "/prog/alloff.set"},
        {"site4.set", "site4.set", "/prog/site4.set"},
        {"/data/Site4.SET", "/data/Site4.SET", "/data/Site4.SET"},
        {"C:\\old\\mydefault.set", "C:\\old\\mydefault.set", "/prog/C:\\old\\mydefault.set"},
    };
    for (const Case& c : cases) {
        QString readName;
        EXPECT_EQ(StartupSetupPath(c.last, "/prog", &readName), QString(c.path)) << c.last;
        EXPECT_EQ(readName, QString(c.readName)) << c.last;
    }
    EXPECT_EQ(FileNamePart("C:\\old\\Default.SET"), QStringLiteral("Default.SET"));
    EXPECT_EQ(FileNamePart("/a/b.set"), QStringLiteral("b.set"));
    EXPECT_EQ(FileNamePart("b.set"), QStringLiteral("b.set"));
}

TEST_F(SetupFiles, StartupReadsFoldedDefaultFromTheProgramDirectory)
{
    const SetupRecord onDisk = patterned();
    ASSERT_TRUE(SaveSetupFile(path("default.set"), onDisk).ok);
    QString last = QStringLiteral("C:\\old\\Default.SET");
    SetupRecord record;
    SetupRecord copy;
    const StartupSetupOutcome out =
        StartupLoadSetup(dir.path(), last, SetupStartupContext::Interactive, kNow, record, copy);
    EXPECT_EQ(out.result, StartupSetupOutcome::Result::Loaded);
    EXPECT_FALSE(out.message);
    EXPECT_EQ(out.fileFieldName, QStringLiteral("default.set"));
    EXPECT_EQ(record, onDisk);
    EXPECT_EQ(copy, onDisk);
    EXPECT_EQ(last, QStringLiteral("C:\\old\\Default.SET"));
}

TEST_F(SetupFiles, StartupFailureEndsAccordingToWhyTheProgramRuns)
{
    struct Case {
        SetupStartupContext context;
        StartupSetupOutcome::Result result;
        const char* message;
        SetupMessage::Kind kind;
        bool defaultWritten;
        const char* lastAfter;
    };
    const Case cases[] = {
        {SetupStartupContext::Interactive, StartupSetupOutcome::Result::DefaultLoaded,
         "Setup File: site9.set not found; loading default.", SetupMessage::Kind::Warning, true, "default.set"},
        {SetupStartupContext::AutoAnswerCall, StartupSetupOutcome::Result::AutoAnswerFailed,
         "Setup File: site9.set not found; command not executed", SetupMessage::Kind::Error, false, "site9.set"},
        {SetupStartupContext::CommandLineSendSetup, StartupSetupOutcome::Result::CommandLineFailed,
         "Setup File: site9.set not found; command not executed", SetupMessage::Kind::Error, false, "site9.set"},
    };
    for (const Case& c : cases) {
        QTemporaryDir own;
        QString last = QStringLiteral("site9.set");
        SetupRecord record = patterned();
        SetupRecord copy;
        const StartupSetupOutcome out = StartupLoadSetup(own.path(), last, c.context, kNow, record, copy);
        SCOPED_TRACE(c.message);
        EXPECT_EQ(out.result, c.result);
        ASSERT_TRUE(out.message);
        EXPECT_EQ(out.message->text, QString(c.message));
        EXPECT_EQ(out.message->kind, c.kind);
        EXPECT_EQ(QFile::exists(own.filePath("default.set")), c.defaultWritten);
        EXPECT_EQ(last, QString(c.lastAfter));
        // The record is never left unset: it holds the defaults either way.
        EXPECT_EQ(record, DefaultSetupRecord(kNow));
        EXPECT_EQ(copy, record);
    }
}

TEST_F(SetupFiles, StartupTreatsAShortFileAsMissing)
{
    writeAll(path("default.set"), QByteArray(100, 'x'));
    QString last = QStringLiteral("default.set");
    SetupRecord record;
    SetupRecord copy;
    const StartupSetupOutcome out =
        StartupLoadSetup(dir.path(), last, SetupStartupContext::Interactive, kNow, record, copy);
    EXPECT_EQ(out.result, StartupSetupOutcome::Result::DefaultLoaded);
    EXPECT_EQ(out.message->text, QStringLiteral("Setup File: default.set not found; loading default."));
    EXPECT_EQ(readAll(path("default.set")), DefaultSetupRecord(kNow).bytes());
    EXPECT_EQ(out.fileFieldName, QStringLiteral("default.set"));
}

// ------------------------------------------------------------------ setup sent back to a caller

TEST(ResendSetup, BaseNameIsTheDescriptionAfterItsFirstSemicolon)
{
    struct Case { const char* description; const char* name; };
    const Case cases[] = {
        {"Site 3;north   ", "north.set"},
        {"no semicolon at all", "A.set"},
        {"", "A.set"},
        {"a;b;c  ", "b;c.set"},
        {"x;  lead", "  lead.set"},
        {";", ".set"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResendSetupFileName(c.description), QString(c.name)) << c.description;
}

TEST_F(SetupFiles, ResendLoadsTheNamedSetupFromTheProgramDirectory)
{
    const SetupRecord onDisk = patterned();
    ASSERT_TRUE(SaveSetupFile(path("north.set"), onDisk).ok);
    SetupRecord record;
    SetupRecord copy;
    EXPECT_TRUE(LoadResendSetup(dir.path(), "Site 3;north  ", record, copy).ok);
    EXPECT_EQ(record, onDisk);
    EXPECT_EQ(copy, onDisk);
}

TEST_F(SetupFiles, ResendFailsForMissingFilesAndNeverLeavesTheProgramDirectory)
{
    // A file outside the directory that a hostile description could point at.
    QDir(dir.path()).mkdir("inner");
    ASSERT_TRUE(SaveSetupFile(path("outside.set"), patterned()).ok);
    struct Case { const char* description; const char* message; };
    const Case cases[] = {
        {"Site;south", "Unable to send setup; south.set not found"},
        {"x;../outside", "Unable to send setup; ../outside.set not found"},
        {"x;..\\outside", "Unable to send setup; ..\\outside.set not found"},
        {"x;/etc/passwd", "Unable to send setup; /etc/passwd.set not found"},
    };
    for (const Case& c : cases) {
        SetupRecord record = DefaultSetupRecord(kNow);
        SetupRecord copy;
        const SetupFileOutcome out = LoadResendSetup(dir.filePath("inner"), c.description, record, copy);
        EXPECT_FALSE(out.ok) << c.description;
        EXPECT_EQ(out.message, error(c.message));
        EXPECT_EQ(record, DefaultSetupRecord(kNow));
    }
}
