// The real program on its command line: every outcome, its log line, its
// standard output and its exit status, in a program directory of its own that
// is also the folder each command is started in, unless a test names another.

#include "settings/settings_record.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

using namespace tamble;

namespace {

struct ProgramRun {
    int exitCode = -1;
    bool finished = false;
    QString out;    // standard output, trimmed
    QString err;    // standard error, trimmed
};

class CommandLine : public ::testing::Test {
protected:
    QTemporaryDir home;

    QString file(const QString& name) const { return home.path() + "/" + name; }

    ProgramRun run(const QStringList& params, const QString& program = QStringLiteral(TAMBLE_BIN_DIR "/tamble-logger"),
                   const QString& programHome = {}, const QString& startDir = {})
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (program.startsWith(home.path()))
            env.remove("TAMBLE_HOME");
        else
            env.insert("TAMBLE_HOME", programHome.isEmpty() ? home.path() : programHome);
        env.insert("TAMBLE_QUIT_AFTER_START", "1");
        env.insert("TAMBLE_COM20", home.path() + "/no-such-port");   // unattended runs fail fast
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(startDir.isEmpty() ? home.path() : startDir);
        p.start(program, params);
        ProgramRun r;
        if (!p.waitForFinished(120000)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.finished = p.exitStatus() == QProcess::NormalExit;
        r.exitCode = p.exitCode();
        r.out = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
        r.err = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        return r;
    }

    void write(const QString& name, const QByteArray& bytes)
    {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray read(const QString& name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QStringList lines(const QString& name) const
    {
        QStringList l = QString::fromUtf8(read(name)).split('\n');
        if (!l.isEmpty() && l.last().isEmpty())
            l.removeLast();
        return l;
    }
};

// A log line is the message, a blank, then the date and time.
void expectLogLine(const QString& line, const QString& message)
{
    EXPECT_TRUE(line.startsWith(message + " ")) << line.toStdString();
    const QString stamp = line.mid(message.size() + 1);
    EXPECT_FALSE(stamp.trimmed().isEmpty()) << line.toStdString();
    EXPECT_TRUE(stamp.contains(QRegularExpression("\\d"))) << line.toStdString();
}

struct ErrorCase {
    const char* name;
    QStringList params;
    const char* existing;   // file to create in the program directory first, or nullptr
    const char* log;
    QString message;
};

} // namespace

TEST_F(CommandLine, EachCommandLineError_LogsItsExactTextPrintsItAndExitsWithStatus2)
{
    const std::vector<ErrorCase> cases = {
        {"one file of another type", {"notes.txt"}, nullptr, "CSVLOG.TXT", "Invalid command line; no .TL1 file type"},
        {"one data file that is missing", {"gone.tl1"}, nullptr, "CSVLOG.TXT",
         "Invalid command; File: gone.tl1 does not exist."},
        {"a data file sent as setup", {"site.tl1", "s"}, nullptr, "TLLOG.TXT", "Invalid command line; no .set file type"},
        {"receive into a text file", {"out.txt", "r"}, nullptr, "TLLOG.TXT", "Invalid file name extension"},
        {"a station that is no number", {"out.tl1", "r", "abc"}, nullptr, "TLLOG.TXT",
         "Invalid command line; abc is not a station address"},
        {"a phone entry that is no number", {"out.tl1", "r", "1", "ab"}, nullptr, "TLLOG.TXT",
         "Invalid command line; ab is not a phone list entry"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(home.path()).removeRecursively();
        QDir().mkpath(home.path());
        const bool tlLog = QString(c.log) == "TLLOG.TXT";
        write("TLLOG.TXT", "old line 1\nold line 2\nold line 3\n");
        write("CSVLOG.TXT", "old csv 1\nold csv 2\n");

        const ProgramRun r = run(c.params);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 2);
        const QStringList log = lines(c.log);
        ASSERT_FALSE(log.isEmpty());
        expectLogLine(log.last(), c.message);
        EXPECT_EQ(r.out, log.last());
        if (tlLog) {
            EXPECT_EQ(log.size(), 1);   // recreated
            EXPECT_EQ(lines("CSVLOG.TXT").size(), 2);
        } else {
            EXPECT_EQ(log.size(), 3);   // appended
            EXPECT_EQ(log.first(), "old csv 1");
            EXPECT_EQ(lines("TLLOG.TXT").size(), 3);
        }
        EXPECT_FALSE(QFile::exists(file("tblog.ini")));   // settings are not saved on this path
    }
}

TEST_F(CommandLine, UnattendedModes_EndByThemselvesWithOneLogLineAndNoCommandLineError)
{
    struct Case { const char* name; QStringList params; const char* log; bool tlLogRecreated; };
    const std::vector<Case> cases = {
        {"convert", {"site.TL1"}, "CSVLOG.TXT", false},
        {"send setup", {"job.set", "s", "0", "0"}, "TLLOG.TXT", true},
        {"receive", {"out.tl1", "r", "0", "0"}, "TLLOG.TXT", true},
        {"receive to CSV", {"out.Csv", "r", "0", "0"}, "TLLOG.TXT", true},
        {"hang up", {"x", "h", "0", "0"}, "TLLOG.TXT", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(home.path()).removeRecursively();
        QDir().mkpath(home.path());
        SettingsRecord settings;
        settings.portNumber = 20;   // see TAMBLE_COM20 above
        SaveSettings(home.path(), settings);
        const QByteArray settingsBefore = read("tblog.ini");
        write("site.TL1", QByteArray());
        write("TLLOG.TXT", "old line 1\nold line 2\n");

        const ProgramRun r = run(c.params);
        ASSERT_TRUE(r.finished);
        EXPECT_TRUE(r.exitCode == 0 || r.exitCode == 1) << r.exitCode;
        const QStringList log = lines(c.log);
        ASSERT_FALSE(log.isEmpty());
        EXPECT_EQ(r.out.split('\n').last(), log.last());
        if (c.tlLogRecreated) {
            EXPECT_EQ(log.size(), 1);
        }
        EXPECT_EQ(read("tblog.ini"), settingsBefore);
    }
}

TEST_F(CommandLine, NoParameters_StartsInteractivelyTouchesNoLogAndSavesDefaultSettingsOnClose)
{
    write("TLLOG.TXT", "kept\n");
    const ProgramRun r = run({});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(read("TLLOG.TXT"), "kept\n");
    EXPECT_FALSE(QFile::exists(file("CSVLOG.TXT")));
    const QByteArray s = read("tblog.ini");
    ASSERT_EQ(s.size(), 1596);
    EXPECT_EQ(s.mid(0, 4).toHex(), "004b0000");
    EXPECT_EQ(s.mid(290, 11), QByteArray("\x0asite1a.tl1"));
    EXPECT_EQ(s.at(1588), 1);
    // The setup window's start-up load found no "default.set" and made one.
    EXPECT_EQ(read("default.set").size(), 781);
}

TEST_F(CommandLine, StartupSetupLoad_EndsASendSetupRunOrLogsTheDefaultInOthers)
{
    struct Case {
        const char* name;
        QStringList params;
        const char* existingSetup;  // in the program directory, or nullptr
        int exitCode;               // -1: not checked
        const char* tlLogLine;      // the only line expected in TLLOG.TXT, or nullptr for no file
        const char* lastSetup = "default.set"; // the settings' last setup file
    };
    const std::vector<Case> cases = {
        {"send-setup run with a missing file", {"job.set", "s", "0", "0"}, nullptr, 1,
         "Setup File: job.set not found; command not executed"},
        // The shipped "default.set" is copied into every new program
        // directory, so the fallback shows with another remembered name.
        {"convert run whose remembered setup is gone", {"site.TL1"}, nullptr, -1,
         "Setup File: other.set not found; loading default.", "other.set"},
        {"convert run with the default setup present", {"site.TL1"}, "default.set", -1, nullptr},
        {"hang-up runs before any setup is loaded", {"x", "h", "0", "0"}, nullptr, -1,
         "Unable to open selected ComPort - check Settings"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(home.path()).removeRecursively();
        QDir().mkpath(home.path());
        SettingsRecord settings;
        settings.portNumber = 20;   // a missing device: the runs end at once
        settings.lastSetupFile = QString::fromLatin1(c.lastSetup);
        SaveSettings(home.path(), settings);
        write("site.TL1", QByteArray());
        if (c.existingSetup)
            write(c.existingSetup, QByteArray(781, '\0'));

        const ProgramRun r = run(c.params);
        ASSERT_TRUE(r.finished);
        if (c.exitCode >= 0) {
            EXPECT_EQ(r.exitCode, c.exitCode);
        }
        const QStringList log = lines("TLLOG.TXT");
        if (!c.tlLogLine) {
            EXPECT_TRUE(log.isEmpty());
            continue;
        }
        ASSERT_EQ(log.size(), 1);
        expectLogLine(log.first(), c.tlLogLine);
    }
    // Only the interactive and default cases write the default setup, never the send-setup run.
    QDir(home.path()).removeRecursively();
    QDir().mkpath(home.path());
    const QByteArray own(781, 'u');
    write("default.set", own);
    ASSERT_TRUE(run({"gone.set", "s"}).finished);
    QFile kept(file("default.set"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), own);
}

TEST_F(CommandLine, ShippedDataFiles_AreCopiedWhenMissingAndNeverOverwritten)
{
    const QDir data(TAMBLE_SOURCE_DIR "/data");
    const QStringList shipped = data.entryList(QDir::Files, QDir::Name);
    if (shipped.isEmpty())
        GTEST_SKIP() << "no shipped data files yet";
    write(shipped.first(), "the user's own copy");
    ASSERT_TRUE(run({}).finished);
    EXPECT_EQ(read(shipped.first()), "the user's own copy");
    for (const QString& name : shipped.mid(1))
        EXPECT_EQ(read(name), [&] { QFile f(data.filePath(name)); f.open(QIODevice::ReadOnly); return f.readAll(); }())
            << name.toStdString();
}

TEST_F(CommandLine, OpenGraphWithStationAndPhoneEntry_KeepsThemInTheSettingsSavedOnClose)
{
    const ProgramRun r = run({"/data/site 7.tl1", "R", "7", "12"});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0);
    const QByteArray s = read("tblog.ini");
    ASSERT_EQ(s.size(), 1596);
    EXPECT_EQ(s.at(9), 1);                                  // network
    EXPECT_EQ(s.at(10), 1);                                 // use modem
    EXPECT_EQ(s.at(18), 7);                                 // station address
    EXPECT_EQ(s.mid(28, 4).toHex(), "0b000000");            // phone entry 12 is index 11
    EXPECT_EQ(s.mid(290, 17), QByteArray("\x10/data/site 7.tl1"));
    EXPECT_FALSE(QFile::exists(file("TLLOG.TXT")));
    EXPECT_FALSE(QFile::exists(file("CSVLOG.TXT")));
}

TEST_F(CommandLine, SingleLoggerAndPhoneNumber_OverrideTheStoredSettings)
{
    SettingsRecord settings;
    settings.network = true;
    settings.stationAddress = 33;
    SaveSettings(home.path(), settings);
    ASSERT_TRUE(run({"x.tl1", "view", "0", "5551234567"}).finished);
    const QByteArray s = read("tblog.ini");
    ASSERT_EQ(s.size(), 1596);
    EXPECT_EQ(s.at(9), 0);
    EXPECT_EQ(s.at(18), 33);
    EXPECT_EQ(s.at(10), 1);
    EXPECT_EQ(s.mid(1324, 11), QByteArray("\x0a" "5551234567"));
}

TEST_F(CommandLine, FastBaudWithoutFastProtocol_IsSavedWithFastProtocolOn)
{
    QByteArray b = SerializeSettings(SettingsRecord{});
    b.replace(0, 4, QByteArray::fromHex("00e10000"));   // 57600
    b[1588] = 0;
    write("tblog.ini", b);
    ASSERT_TRUE(run({}).finished);
    const QByteArray s = read("tblog.ini");
    ASSERT_EQ(s.size(), 1596);
    EXPECT_EQ(s.mid(0, 4).toHex(), "00e10000");
    EXPECT_EQ(s.at(1588), 1);
}

TEST_F(CommandLine, ShortSettingsFile_StartsWithDefaults)
{
    QByteArray b = SerializeSettings(SettingsRecord{});
    b.replace(0, 4, QByteArray::fromHex("00960000"));   // 38400, but the file is one byte short
    write("tblog.ini", b.left(1595));
    ASSERT_TRUE(run({}).finished);
    const QByteArray s = read("tblog.ini");
    ASSERT_EQ(s.size(), 1596);
    EXPECT_EQ(s.mid(0, 4).toHex(), "004b0000");
}

TEST_F(CommandLine, WithoutTambleHome_TheWritableExecutableFolderIsTheProgramDirectory)
{
    ASSERT_TRUE(QDir(home.path()).mkdir("bin"));
    const QString program = file("bin/tamble-logger");
    ASSERT_TRUE(QFile::copy(TAMBLE_BIN_DIR "/tamble-logger", program));
    const ProgramRun r = run({"notes.txt"}, program);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(QFile::exists(file("bin/CSVLOG.TXT")));
    EXPECT_FALSE(QFile::exists(file("CSVLOG.TXT")));
    const QStringList shipped = QDir(TAMBLE_SOURCE_DIR "/data").entryList(QDir::Files);
    for (const QString& name : shipped)
        EXPECT_TRUE(QFile::exists(file("bin/" + name))) << name.toStdString();
}

TEST_F(CommandLine, HelpAndVersion_PrintAndExitWithStatus0WithoutTouchingTheProgramFolder)
{
    struct Case { QStringList params; const char* first; const char* contains; };
    const std::vector<Case> cases = {
        {{"--help"}, "Usage:", "--configure-remote-modem"},
        {{"-h"}, "Usage:", "2  the command line is invalid"},
        {{"--version"}, "tamble-logger 0.", "tamble-logger"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params.join(' ').toStdString());
        const ProgramRun r = run(c.params);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(r.out.startsWith(c.first)) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains(c.contains));
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(QDir(home.path()).isEmpty()) << "nothing is copied or logged";
    }
}

TEST_F(CommandLine, UnknownOption_IsRefusedWithAHintAndStatus2WhateverFollowsIt)
{
    write("site.TL1", QByteArray());
    for (const QStringList& params : {QStringList{"--bogus"}, QStringList{"--typo", "site.TL1"},
                                      QStringList{"--typo", "site.TL1", "open"}}) {
        SCOPED_TRACE(params.join(' ').toStdString());
        const ProgramRun r = run(params);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err, "tamble-logger: unknown option " + params.first() + "; see 'tamble-logger --help'");
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList{"site.TL1"}) << "nothing is logged or copied";
    }
}

TEST_F(CommandLine, RelativeNamesTypedInAnotherFolder_AreTakenFromThereWhileTheLogStaysInTheProgramFolder)
{
    QTemporaryDir work;
    ASSERT_TRUE(QDir(work.path()).mkdir("in"));
    ASSERT_TRUE(QFile::copy(TAMBLE_SOURCE_DIR "/data/samples/sample10.TL1", work.filePath("in/Site 4.TL1")));
    const QString program = QStringLiteral(TAMBLE_BIN_DIR "/tamble-logger");
    const QString workDir = QDir(work.path()).canonicalPath();

    const ProgramRun converted = run({"in/Site 4.TL1"}, program, {}, work.path());
    ASSERT_TRUE(converted.finished);
    EXPECT_EQ(converted.exitCode, 0) << converted.out.toStdString() << converted.err.toStdString();
    expectLogLine(converted.out, "File written: Site 4.csv");
    EXPECT_EQ(lines("CSVLOG.TXT"), QStringList{converted.out});
    QFile csv(work.filePath("in/Site 4.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_TRUE(csv.readAll().contains(" Source File: " + (workDir + "/in/Site 4.TL1").toUtf8() + "\r\n"));
    EXPECT_FALSE(QFile::exists(file("Site 4.csv")));

    // A name missing there is reported by the path looked for, even when the program folder has it.
    write("gone.tl1", QByteArray());
    const ProgramRun missing = run({"gone.tl1"}, program, {}, work.path());
    EXPECT_EQ(missing.exitCode, 2);
    expectLogLine(missing.out, "Invalid command; File: " + workDir + "/gone.tl1 does not exist.");
}

TEST_F(CommandLine, ProgramFolderThatCannotBeWritten_IsNamedAtStartOfEveryKindOfRun)
{
    // Not even root can create a folder here, so the check holds for every user.
    const QString folder = QStringLiteral("/proc/tamble-no-such-folder");
    for (const QStringList& params : {QStringList{}, QStringList{"site.tl1"}, QStringList{"--com-test"}}) {
        SCOPED_TRACE(params.join(' ').toStdString());
        const ProgramRun r = run(params, QStringLiteral(TAMBLE_BIN_DIR "/tamble-logger"), folder);
        ASSERT_TRUE(r.finished);
        EXPECT_TRUE(r.err.contains("The program folder " + folder + " cannot be written")) << r.err.toStdString();
    }
    const ProgramRun fine = run({});
    ASSERT_TRUE(fine.finished);
    EXPECT_FALSE(fine.err.contains("cannot be written")) << fine.err.toStdString();
}
