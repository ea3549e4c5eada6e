// The after-call command of "archive.ini" run by the real program: after an unattended
// download from tamble-sim, after a run that failed, and after the last call of the
// auto-answer service. The commands are small shell scripts that record their arguments.

#include "e2e/support/sim_process.h"

#include "settings/settings_record.h"
#include "setup/setup_file.h"
#include "setup/setup_record.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::e2e;

namespace {

const QString kHookLine = QStringLiteral("After-call command: ");

// A folder of scripts beside the program folder; a script writes its arguments, each ended
// by a NUL, to "<script>.args".
struct Scripts {
    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& body) const
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write("#!/bin/sh\n" + body) < 0)
            ADD_FAILURE() << "cannot write " << path.toStdString();
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return path;
    }
    QStringList arguments(const QString& script) const
    {
        QFile file(script + QStringLiteral(".args"));
        if (!file.open(QIODevice::ReadOnly))
            return {QStringLiteral("(no arguments recorded)")};
        QStringList args = QString::fromUtf8(file.readAll()).split(QChar(0));
        args.removeLast();   // after the last NUL
        return args;
    }
};

const QByteArray kRecordArguments = "printf '%s\\0' \"$@\" > \"$0.args\"\n";

// archive.ini with the archive off and the command given.
QByteArray ArchiveIni(const QString& command, int timeLimit = 60)
{
    return "[archive]\nengine=off\n[calls]\nafter_each_call_run=" + command.toUtf8() +
           "\ntime_limit_s=" + QByteArray::number(timeLimit) + "\n";
}

QStringList LogLines(const ProgramHome& home)
{
    return home.readText(QStringLiteral("TLLOG.TXT")).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

std::string Shown(const ProgramRun& run, const QStringList& log)
{
    return (log.join(QLatin1Char('\n')) + QLatin1Char('\n') + run.stdoutText + run.stderrText).toStdString();
}

// Downloads the virtual logger into OUT.TL1 (10 blocks, 19200 baud, fast protocol).
ProgramRun Download(SimProcess& sim, const ProgramHome& home, const QStringList& simOptions)
{
    if (!sim.start(QStringList{"--bits", "10", "--pointer", "1262", "--baud", "19200", "--protocol", "fast"} +
                   simOptions)) {
        ADD_FAILURE() << sim.errorText().toStdString();
        return {};
    }
    SettingsRecord s;
    s.baud = 19200;
    s.fastProtocol = true;
    s.portNumber = 1;
    home.writeFile("tblog.ini", SerializeSettings(s));
    return RunProgram(home, sim.ptyPath(), {"OUT.TL1", "r"}, 120000);
}

QString Canonical(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

} // namespace

TEST(CallHooks, AfterADownloadTheCommandGetsTheDataFileTheOutcomeAndTheLogger)
{
    Scripts scripts;
    const QString hook = scripts.write("after call.sh", kRecordArguments + "echo \"$# arguments\"\n");
    SimProcess sim;
    ProgramHome home;
    home.writeFile("archive.ini", ArchiveIni("'" + hook + "' \"fixed word\""));
    const ProgramRun run = Download(sim, home, {"--description", "North \"A\" site"});
    const QStringList log = LogLines(home);

    EXPECT_EQ(run.exitCode, 0) << Shown(run, log);
    ASSERT_EQ(log.size(), 2) << Shown(run, log);
    const QStringList args = scripts.arguments(hook);
    ASSERT_EQ(args.size(), 4) << args.join('|').toStdString();
    EXPECT_EQ(args[0], QStringLiteral("fixed word"));
    EXPECT_TRUE(QFileInfo(args[1]).isAbsolute()) << args[1].toStdString();
    EXPECT_EQ(Canonical(args[1]), Canonical(home.filePath("OUT.TL1")));
    EXPECT_TRUE(args[2].startsWith(QStringLiteral("Transfer complete: "))) << args[2].toStdString();
    EXPECT_TRUE(log[0].startsWith(args[2] + QLatin1Char(' '))) << log[0].toStdString();
    EXPECT_EQ(args[3], QStringLiteral("North \"A\" site"));
    EXPECT_TRUE(log[1].startsWith(kHookLine + "exit 0: 4 arguments ")) << log[1].toStdString();
    EXPECT_TRUE(run.stdoutText.contains(kHookLine + "exit 0: 4 arguments ")) << run.stdoutText.toStdString();
}

TEST(CallHooks, ACommandThatFloodsAndHangsIsStoppedAndTheDownloadStands)
{
    Scripts scripts;
    const QString hook =
        scripts.write("flood.sh", "echo flooding\nhead -c 20000000 /dev/zero\nexec sleep 60\n");
    SimProcess sim;
    ProgramHome home;
    home.writeFile("archive.ini", ArchiveIni(hook, 1));
    const ProgramRun run = Download(sim, home, {});
    const QStringList log = LogLines(home);

    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0) << Shown(run, log);
    ASSERT_EQ(log.size(), 2) << Shown(run, log);
    EXPECT_TRUE(log[0].startsWith(QStringLiteral("Transfer complete: "))) << log[0].toStdString();
    EXPECT_TRUE(log[1].startsWith(kHookLine + "stopped after 1 s ")) << log[1].toStdString();
    EXPECT_EQ(DataLines(home.readFile("OUT.TL1")).size(), 10);
}

TEST(CallHooks, AFailedRunStillCallsTheCommandAndKeepsItsOwnStatus)
{
    Scripts scripts;
    const QString hook = scripts.write("after.sh", kRecordArguments + "echo refused\nexit 7\n");
    ProgramHome home;
    home.writeFile("archive.ini", ArchiveIni(hook));
    const ProgramRun run = RunProgram(home, home.filePath("no-such-port"), {"OUT.TL1", "r"});
    const QStringList log = LogLines(home);

    EXPECT_EQ(run.exitCode, 1) << Shown(run, log);
    ASSERT_EQ(log.size(), 2) << Shown(run, log);
    const QStringList args = scripts.arguments(hook);
    ASSERT_EQ(args.size(), 3) << args.join('|').toStdString();
    EXPECT_EQ(args[0], QString());
    EXPECT_TRUE(log[0].startsWith(args[1] + QLatin1Char(' '))) << log[0].toStdString();
    EXPECT_TRUE(log[1].startsWith(kHookLine + "exit 7: refused ")) << log[1].toStdString();

    // A program that is not there is a log line too.
    home.writeFile("archive.ini", ArchiveIni(scripts.dir.filePath("missing") + " x"));
    const ProgramRun missing = RunProgram(home, home.filePath("no-such-port"), {"OUT.TL1", "r"});
    const QStringList missingLog = LogLines(home);
    EXPECT_EQ(missing.exitCode, 1) << Shown(missing, missingLog);
    ASSERT_EQ(missingLog.size(), 2) << Shown(missing, missingLog);
    EXPECT_TRUE(missingLog[1].startsWith(kHookLine + "cannot run " + scripts.dir.filePath("missing") + ": not found "))
        << missingLog[1].toStdString();
}

TEST(CallHooks, TheServiceLetsTheLastCallsCommandFinishBeforeItEnds)
{
    Scripts scripts;
    const QString hook = scripts.write("after.sh", "sleep 2\n" + kRecordArguments + "echo archived\n");
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--call", "--call-delay", "300", "--description", "Site;Pump3"})) << sim.errorText().toStdString();
    ProgramHome home;
    ASSERT_TRUE(PrepareAutoAnswerHome(home, "Pump three", {"Pump3.set"}, 41));
    home.writeFile("archive.ini", ArchiveIni(hook));
    const ProgramRun run = RunProgram(home, sim.ptyPath(), {"--auto-answer", "--calls", "1"}, 120000);
    const QStringList log = LogLines(home);

    EXPECT_EQ(run.exitCode, 0) << Shown(run, log);
    ASSERT_EQ(log.size(), 3) << Shown(run, log);
    EXPECT_TRUE(log[1].startsWith(QStringLiteral("Sent "))) << log[1].toStdString();
    EXPECT_TRUE(log[2].startsWith(kHookLine + "exit 0: archived ")) << log[2].toStdString();
    const QStringList args = scripts.arguments(hook);
    ASSERT_EQ(args.size(), 3) << args.join('|').toStdString();
    EXPECT_EQ(Canonical(args[0]), Canonical(home.filePath("Pump3000042.tl1")));
    EXPECT_TRUE(log[1].startsWith(args[1] + QLatin1Char(' '))) << log[1].toStdString();
    EXPECT_EQ(args[2], QStringLiteral("Site;Pump3"));
}
