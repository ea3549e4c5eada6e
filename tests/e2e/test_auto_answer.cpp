// The auto-answer service ("tamble-logger --auto-answer") with tamble-sim
// calling in: the call is answered, the logger read into the next automatic
// data file, its named setup sent back, the modem hung up; and a caller whose
// description tries to name files outside the program directory.

#include "e2e/support/sim_process.h"

#include "settings/settings_record.h"
#include "setup/setup_file.h"
#include "setup/setup_record.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>

using namespace tamble;
using namespace tamble::e2e;

namespace {

struct AutoAnswerRun {
    SimProcess sim;
    ProgramHome home;
    ProgramRun run;

    bool go(const QString& description, int counter)
    {
        if (!sim.start({QStringLiteral("--call"), QStringLiteral("--call-delay"), QStringLiteral("300"),
                        QStringLiteral("--description"), description}))
            return false;
        if (!PrepareAutoAnswerHome(home, "Pump three", {QStringLiteral("Pump3.set"), QStringLiteral("default.set")},
                                   counter))
            return false;
        // The settings name COM2; the service is told COM1 on its command line.
        auto set = DeserializeSettings(home.readFile(QStringLiteral("tblog.ini")));
        set->portNumber = 2;
        home.writeFile(QStringLiteral("tblog.ini"), SerializeSettings(*set));
        run = RunProgram(home, sim.ptyPath(), {QStringLiteral("--auto-answer"), QStringLiteral("--calls"), QStringLiteral("1"),
                                                  QStringLiteral("--com"), QStringLiteral("1")},
                         120000);
        return true;
    }
    QStringList log() const
    {
        return home.readText(QStringLiteral("TLLOG.TXT")).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};

} // namespace

TEST(AutoAnswerService, AnswersDownloadsSendsTheNamedSetupAndHangsUp)
{
    AutoAnswerRun r;
    ASSERT_TRUE(r.go(QStringLiteral("Site;Pump3"), 41)) << r.sim.errorText().toStdString();
    EXPECT_FALSE(r.run.crashed);
    EXPECT_FALSE(r.run.timedOut);
    EXPECT_EQ(r.run.exitCode, 0) << r.run.stderrText.toStdString();
    const QStringList log = r.log();
    ASSERT_EQ(log.size(), 2) << log.join(QLatin1Char(10)).toStdString() << r.sim.logLines().join(QLatin1Char(10)).toStdString() << r.run.stdoutText.toStdString() << r.run.stderrText.toStdString();
    EXPECT_TRUE(log[0].startsWith(QStringLiteral("Rec. "))) << log[0].toStdString();
    EXPECT_TRUE(log[0].contains(QStringLiteral("Pump3000042.tl1"))) << log[0].toStdString();
    EXPECT_TRUE(log[1].startsWith(QStringLiteral("Sent "))) << log[1].toStdString();
    EXPECT_TRUE(log[1].contains(QStringLiteral("Pump3000042.tl1  0,0 "))) << log[1].toStdString();
    EXPECT_TRUE(r.home.exists(QStringLiteral("Pump3000042.tl1")));

    const auto saved = DeserializeSettings(r.home.readFile(QStringLiteral("tblog.ini")));
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->autoFileCounter, 42);
    EXPECT_EQ(saved->portNumber, 2);
    // The lines reach a service's journal too, and the call's download is in the archive.
    EXPECT_TRUE(r.run.stdoutText.contains(QStringLiteral("Rec. "))) << r.run.stdoutText.toStdString();
    const ProgramRun loggers = RunProgram(r.home, {}, {QStringLiteral("--archive-loggers")});
    EXPECT_TRUE(loggers.stdoutText.contains(QStringLiteral("Site;Pump3,"))) << loggers.stdoutText.toStdString();

    const QStringList parts = r.sim.logLines(QStringLiteral("SETUP"));
    ASSERT_EQ(parts.size(), 4);
    EXPECT_TRUE(parts[0].contains(QStringLiteral("Pump three"))) << parts[0].toStdString();
    EXPECT_GE(r.sim.logLines(QStringLiteral("ESCAPE")).size(), 1);
    EXPECT_GE(r.sim.logLines(QStringLiteral("HANGUP")).size(), 1);
}

TEST(AutoAnswerService, HostileDescriptionsStayInsideTheProgramDirectory)
{
    AutoAnswerRun r;
    ASSERT_TRUE(r.go(QStringLiteral("x;../../evil"), 0));
    EXPECT_FALSE(r.run.crashed);
    const QStringList log = r.log();
    ASSERT_EQ(log.size(), 2) << log.join(QLatin1Char(10)).toStdString() << r.sim.logLines().join(QLatin1Char(10)).toStdString() << r.run.stdoutText.toStdString() << r.run.stderrText.toStdString();
    EXPECT_TRUE(r.home.exists(QStringLiteral("___.._evil000001.tl1"))) << r.home.files().join(' ').toStdString();
    EXPECT_TRUE(log[1].startsWith(QStringLiteral("Unable to send setup; ../../evil.set not found"))) << log[1].toStdString();
    QDir parent(r.home.path());
    parent.cdUp();
    EXPECT_FALSE(parent.exists(QStringLiteral("evil000001.tl1")));
    EXPECT_TRUE(r.sim.logLines(QStringLiteral("SETUP")).isEmpty());
}
