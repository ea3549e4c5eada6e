// The station address and logger speed procedures run headless by option
// ("--program-station N", "--set-logger-baud B") with the real program against
// tamble-sim.

#include "e2e/support/sim_process.h"

#include "settings/settings_record.h"
#include "setup/setup_file.h"
#include "setup/setup_record.h"

#include <gtest/gtest.h>

#include <QDateTime>

using namespace tamble;
using namespace tamble::e2e;

namespace {

struct ProcedureRun {
    SimProcess sim;
    ProgramHome home;
    ProgramRun run;

    bool go(const QStringList& simOptions, bool fastProtocol, const QStringList& arguments)
    {
        if (!sim.start(simOptions))
            return false;
        SettingsRecord set;
        set.baud = 9600;
        set.fastProtocol = fastProtocol;
        home.writeFile(QStringLiteral("tblog.ini"), SerializeSettings(set));
        SaveSetupFile(home.filePath(QStringLiteral("default.set")),
                      DefaultSetupRecord(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 30))));
        run = RunProgram(home, sim.ptyPath(), arguments, 120000);
        return true;
    }
    QString log() const { return home.readText(QStringLiteral("TLLOG.TXT")); }
    QString all() const { return log() + sim.logLines().join(QLatin1Char('\n')); }
};

} // namespace

TEST(StationProgramming, RevisionQTakesTheNewAddress)
{
    ProcedureRun r;
    ASSERT_TRUE(r.go({QStringLiteral("--revision"), QStringLiteral("q")}, true,
                     {QStringLiteral("--program-station"), QStringLiteral("42")}))
        << r.sim.errorText().toStdString();
    EXPECT_EQ(r.run.exitCode, 0) << r.all().toStdString();
    EXPECT_TRUE(r.log().startsWith(QStringLiteral("Station Address #42 programmed into logger. "))) << r.all().toStdString();
    EXPECT_EQ(r.sim.logLines(QStringLiteral("STATION")), QStringList{QStringLiteral("STATION @00 2A")});
}

TEST(StationProgramming, RevisionRCannotBeNetworked)
{
    ProcedureRun r;
    ASSERT_TRUE(r.go({QStringLiteral("--revision"), QStringLiteral("R"), QStringLiteral("--protocol"),
                      QStringLiteral("normal")},
                     false, {QStringLiteral("--program-station"), QStringLiteral("42")}));
    EXPECT_EQ(r.run.exitCode, 1);
    EXPECT_TRUE(r.log().startsWith(
        QStringLiteral("This Tamble Logger can not be networked.  Contact factory for upgrade. ")))
        << r.all().toStdString();
    EXPECT_TRUE(r.sim.logLines(QStringLiteral("STATION")).isEmpty());
}

TEST(LoggerBaudChange, NobodyAnswersSixSpeedsThenNoResponseB)
{
    ProcedureRun r;
    ASSERT_TRUE(r.go({QStringLiteral("--silent-first"), QStringLiteral("100")}, true,
                     {QStringLiteral("--set-logger-baud"), QStringLiteral("9600")}));
    EXPECT_EQ(r.run.exitCode, 1);
    EXPECT_TRUE(r.log().startsWith(QStringLiteral("No response from logger (b) "))) << r.all().toStdString();
    const QStringList commands = r.sim.logLines(QStringLiteral("BAUD"));
    EXPECT_EQ(commands.size(), 6) << r.all().toStdString();
    for (const QString& c : commands)
        EXPECT_TRUE(c.startsWith(QStringLiteral("BAUD @00 H 9600"))) << c.toStdString();
    const auto saved = DeserializeSettings(r.home.readFile(QStringLiteral("tblog.ini")));
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->baud, 9600);
}

TEST(LoggerBaudChange, AnsweredChangeIsReported)
{
    ProcedureRun r;
    ASSERT_TRUE(r.go({}, true, {QStringLiteral("--set-logger-baud"), QStringLiteral("19200")}));
    EXPECT_EQ(r.run.exitCode, 0) << r.all().toStdString();
    EXPECT_TRUE(r.log().startsWith(QStringLiteral("Tamble Logger set to 19200 baud. "))) << r.all().toStdString();
}
