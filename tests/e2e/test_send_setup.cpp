// Unattended send-setup mode ("FILE.SET s ...") with the real program against
// tamble-sim: the parts as the logger received them, the log line of each
// outcome, the limits of nine rejected answers and nine time-outs, and the
// refusals that depend on the logger's firmware.

#include "e2e/support/sim_process.h"

#include "settings/settings_record.h"
#include "setup/setup_file.h"
#include "setup/setup_record.h"

#include <gtest/gtest.h>

#include <QDateTime>

using namespace tamble;
using namespace tamble::e2e;

namespace {

SetupRecord siteSetup()
{
    SetupRecord r = DefaultSetupRecord(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 30)));
    r.setDescription(PadWithSpaces("North tank", kDescriptionWidth));
    r.setChannelLabel(1, PadWithSpaces("Inlet", kChannelLabelWidth));
    r.setChannelLabel(2, PadWithSpaces("Outlet", kChannelLabelWidth));
    r.setRateCode('G');
    return r;
}

struct SendSetupRun {
    SimProcess sim;
    ProgramHome home;
    ProgramRun run;

    // Starts the sim, writes the settings and the setup file, runs "SITE.SET s".
    bool go(const QStringList& simOptions, const SetupRecord& setup, bool fastProtocol = true,
            const QStringList& extraParams = {})
    {
        if (!sim.start(simOptions))
            return false;
        SettingsRecord set;
        set.baud = 9600;
        set.fastProtocol = fastProtocol;
        home.writeFile(QStringLiteral("tblog.ini"), SerializeSettings(set));
        if (!SaveSetupFile(home.filePath(QStringLiteral("SITE.SET")), setup).ok)
            return false;
        run = RunProgram(home, sim.ptyPath(), QStringList{QStringLiteral("SITE.SET"), QStringLiteral("s")} + extraParams,
                         120000);
        return true;
    }
    QString log() const { return home.readText(QStringLiteral("TLLOG.TXT")); }
    QStringList parts() const { return sim.logLines(QStringLiteral("SETUP")); }
};

// The body of a SETUP log line ("SETUP @00 2 <body>").
QString bodyOf(const QString& line)
{
    return line.section(QLatin1Char(' '), 3);
}

} // namespace

TEST(SendSetupMode, SendsFourPartsAndLogsTheRunningConfiguration)
{
    SendSetupRun r;
    ASSERT_TRUE(r.go({}, siteSetup())) << r.sim.errorText().toStdString();
    EXPECT_FALSE(r.run.crashed);
    EXPECT_EQ(r.run.exitCode, 0) << r.log().toStdString();
    EXPECT_TRUE(r.log().startsWith(QStringLiteral("Running new configuration: "))) << r.log().toStdString();
    EXPECT_TRUE(r.log().contains(QStringLiteral("SITE.SET"))) << r.log().toStdString();
    EXPECT_EQ(r.log().count(QLatin1Char('\n')), 1);

    const QStringList parts = r.parts();
    ASSERT_EQ(parts.size(), 4) << r.sim.logLines().join('\n').toStdString();
    const QString p1 = bodyOf(parts[0]);
    ASSERT_EQ(p1.size(), 65) << p1.toStdString();
    EXPECT_EQ(p1.left(1), QStringLiteral("0"));
    // start field: 14:05 on Wednesday 9 December 2026
    EXPECT_EQ(p1.mid(14, 13), QStringLiteral("0005140912426"));
    EXPECT_EQ(p1.mid(27), QStringLiteral("GO@North tank                     CCCC"));
    EXPECT_EQ(bodyOf(parts[1]), QStringLiteral("2Inlet                   Outlet                  "));
    EXPECT_EQ(bodyOf(parts[2]), QStringLiteral("3Channel 3               Channel 4               "));
    EXPECT_EQ(bodyOf(parts[3]), QStringLiteral("4C           C           C           C            @@"));
}

TEST(SendSetupMode, EightRejectedAnswersStillSucceedNineFail)
{
    {
        SendSetupRun r;
        ASSERT_TRUE(r.go({QStringLiteral("--garble-acks"), QStringLiteral("8")}, siteSetup()));
        EXPECT_EQ(r.run.exitCode, 0) << r.log().toStdString();
        EXPECT_TRUE(r.log().startsWith(QStringLiteral("Running new configuration: "))) << r.log().toStdString();
        EXPECT_EQ(r.parts().size(), 12);  // part 1 eight times rejected, then parts 1-4
    }
    {
        SendSetupRun r;
        ASSERT_TRUE(r.go({QStringLiteral("--garble-acks"), QStringLiteral("9")}, siteSetup()));
        EXPECT_NE(r.run.exitCode, 0);
        EXPECT_TRUE(r.log().startsWith(QStringLiteral("Unable to send Setup (comm errors) "))) << r.log().toStdString();
        EXPECT_EQ(r.parts().size(), 10);  // part 1 ten times: nine rejected, the tenth answer ends it
    }
}

TEST(SendSetupMode, EightSilencesStillSucceedNineFail)
{
    {
        SendSetupRun r;
        ASSERT_TRUE(r.go({QStringLiteral("--silent-first"), QStringLiteral("8")}, siteSetup()));
        EXPECT_EQ(r.run.exitCode, 0) << r.log().toStdString();
        EXPECT_TRUE(r.log().startsWith(QStringLiteral("Running new configuration: "))) << r.log().toStdString();
    }
    {
        SendSetupRun r;
        ASSERT_TRUE(r.go({QStringLiteral("--silent-first"), QStringLiteral("9")}, siteSetup()));
        EXPECT_NE(r.run.exitCode, 0);
        EXPECT_TRUE(r.log().startsWith(QStringLiteral("Unable to send Setup to logger (no response) ")))
            << r.log().toStdString();
        EXPECT_EQ(r.parts().size(), 9);
    }
}

TEST(SendSetupMode, FastRatesAreRefusedByOlderRevisions)
{
    struct Case { char revision; char rate; bool refused; };
    const Case cases[] = {{'K', 'T', true}, {'L', 'T', false}, {'G', 'S', true}, {'N', '4', false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.revision) + " " + std::string(1, c.rate));
        SetupRecord setup = siteSetup();
        setup.setRateCode(c.rate);
        SendSetupRun r;
        ASSERT_TRUE(r.go({QStringLiteral("--revision"), QString(QLatin1Char(c.revision)), QStringLiteral("--protocol"),
                          QStringLiteral("normal")},
                         setup, false));
        if (c.refused) {
            EXPECT_TRUE(r.log().startsWith(QStringLiteral("Logger does not support selected sample rate ")))
                << r.log().toStdString();
            EXPECT_TRUE(r.parts().isEmpty());
        } else {
            EXPECT_TRUE(r.log().startsWith(QStringLiteral("Running new configuration: "))) << r.log().toStdString();
        }
    }
}

TEST(SendSetupMode, OldestFamilyRefusesScalingValues)
{
    SetupRecord setup = siteSetup();
    setup.setScalingCode(2, '3');
    SendSetupRun r;
    ASSERT_TRUE(r.go({QStringLiteral("--revision"), QStringLiteral("C"), QStringLiteral("--protocol"),
                      QStringLiteral("normal")},
                     setup, false));
    EXPECT_TRUE(r.log().startsWith(QStringLiteral("Scaling values are not supported in this Tamble Logger\r")))
        << r.log().toStdString();
    EXPECT_TRUE(r.parts().isEmpty());
}

TEST(SendSetupMode, DamagedSetupFilesEndWithAClearLineAndSendNothingMisleading)
{
    struct Case { const char* name; QByteArray bytes; const char* start; };
    QByteArray random(781, '\0');
    for (int i = 0; i < random.size(); ++i)
        random[i] = static_cast<char>((i * 131 + 7) % 256);
    random[0] = '\r';   // no sample rate at all
    QByteArray longFile = siteSetup().bytes() + QByteArray(500, 'x');
    const Case cases[] = {
        {"short", QByteArray(100, 'D'), "Setup File: "},
        {"random", random, "Logger does not support selected sample rate"},
        {"long", longFile, "Running new configuration: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimProcess sim;
        ASSERT_TRUE(sim.start({}));
        ProgramHome home;
        SettingsRecord set;
        set.baud = 9600;
        home.writeFile(QStringLiteral("tblog.ini"), SerializeSettings(set));
        home.writeFile(QStringLiteral("SITE.SET"), c.bytes);
        const ProgramRun run = RunProgram(home, sim.ptyPath(), {QStringLiteral("SITE.SET"), QStringLiteral("s")}, 60000);
        EXPECT_FALSE(run.crashed);
        EXPECT_FALSE(run.timedOut);
        EXPECT_TRUE(home.readText(QStringLiteral("TLLOG.TXT")).startsWith(QString::fromLatin1(c.start)))
            << home.readText(QStringLiteral("TLLOG.TXT")).toStdString();
        for (const QString& part : sim.logLines(QStringLiteral("SETUP")))
            EXPECT_FALSE(part.contains(QStringLiteral("\\x0D"))) << part.toStdString();
    }
}
