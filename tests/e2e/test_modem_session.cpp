// A setup sent through a dial-up modem, with the real program against
// tamble-sim's modem front end: dialling, the echoed dial command, a busy line
// and a line without carrier.

#include "e2e/support/sim_process.h"

#include "settings/settings_record.h"
#include "setup/setup_file.h"
#include "setup/setup_record.h"

#include <gtest/gtest.h>

#include <QDateTime>

using namespace tamble;
using namespace tamble::e2e;

namespace {

struct ModemRun {
    SimProcess sim;
    ProgramHome home;
    ProgramRun run;

    bool go(const QStringList& simOptions, const QString& phone = QStringLiteral("5551234"),
            const QByteArray& phoneList = QByteArray())
    {
        if (!phoneList.isEmpty())
            home.writeFile(QStringLiteral("Phone.ini"), phoneList);
        if (!sim.start(QStringList{QStringLiteral("--modem")} + simOptions))
            return false;
        SettingsRecord set;
        set.baud = 9600;
        set.useModem = true;
        set.network = true;
        set.localModemInit = QStringLiteral("ATZ");
        home.writeFile(QStringLiteral("tblog.ini"), SerializeSettings(set));
        const SetupRecord setup = DefaultSetupRecord(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 30)));
        if (!SaveSetupFile(home.filePath(QStringLiteral("SITE.SET")), setup).ok)
            return false;
        run = RunProgram(home, sim.ptyPath(),
                         {QStringLiteral("SITE.SET"), QStringLiteral("s"), QStringLiteral("0"), phone}, 120000);
        return true;
    }
    QString log() const { return home.readText(QStringLiteral("TLLOG.TXT")); }
};

} // namespace

TEST(ModemSession, DialsThenSendsTheSetupOverTheLine)
{
    for (bool echo : {false, true}) {
        SCOPED_TRACE(echo ? "echoing modem" : "quiet modem");
        ModemRun r;
        ASSERT_TRUE(r.go(echo ? QStringList{QStringLiteral("--modem-echo")} : QStringList{}))
            << r.sim.errorText().toStdString();
        EXPECT_EQ(r.run.exitCode, 0) << r.log().toStdString();
        EXPECT_TRUE(r.log().startsWith(QStringLiteral("Running new configuration: ")))
            << r.log().toStdString() << r.sim.logLines().join('\n').toStdString();
        EXPECT_EQ(r.sim.logLines(QStringLiteral("DIAL")), QStringList{QStringLiteral("DIAL ATDT 5551234")});
        EXPECT_EQ(r.sim.logLines(QStringLiteral("SETUP")).size(), 4);
    }
}

TEST(ModemSession, BusyAndNoCarrierEndTheRunWithTheirText)
{
    struct Case { const char* result; const char* line; };
    const Case cases[] = {{"BUSY", "Line is busy "}, {"NO CARRIER", "NO CARRIER "}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        ModemRun r;
        ASSERT_TRUE(r.go({QStringLiteral("--modem-result"), QString::fromLatin1(c.result)}));
        EXPECT_NE(r.run.exitCode, 0);
        EXPECT_FALSE(r.run.timedOut);
        EXPECT_TRUE(r.log().startsWith(QString::fromLatin1(c.line))) << r.log().toStdString();
        EXPECT_TRUE(r.sim.logLines(QStringLiteral("SETUP")).isEmpty());
    }
}

TEST(ModemSession, LongestPhoneNumberIsDialledAsGiven)
{
    ModemRun r;
    const QString number(254, QLatin1Char('7'));
    ASSERT_TRUE(r.go({}, number));
    EXPECT_FALSE(r.run.crashed);
    const QStringList dials = r.sim.logLines(QStringLiteral("DIAL"));
    ASSERT_EQ(dials.size(), 1);
    EXPECT_TRUE(dials[0].startsWith(QStringLiteral("DIAL ATDT 7777777777"))) << dials[0].toStdString();
}

TEST(ModemSession, AnEntryNumberDialsThatEntryOfThePhoneList)
{
    ModemRun r;
    const QByteArray list = "[Index]\r\nZeta site=#\r\nalpha site=#\r\n[Defaults]\r\n_Entries=2\r\n"
                            "[Zeta site]\r\nNumber=0199 777\r\n[alpha site]\r\nNumber=0100 111\r\n";
    ASSERT_TRUE(r.go({}, QStringLiteral("2"), list));
    EXPECT_EQ(r.run.exitCode, 0) << r.log().toStdString();
    EXPECT_EQ(r.sim.logLines(QStringLiteral("DIAL")), QStringList{QStringLiteral("DIAL ATDT 0199 777")});
}
