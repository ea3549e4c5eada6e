// The main window's home view without widgets, the recent data files and the name a download
// suggests.

#include "program/app_records.h"
#include "program/home_view.h"
#include "program/main_window_rules.h"
#include "program/recent_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tamble;

TEST(HomeView, ConnectionNamesPortDeviceSpeedAndKindOfLink)
{
    SettingsRecord set;
    set.portNumber = 3;
    set.baud = 9600;
    HomeViewModel model;
    HomeConnection c = model.connection(set, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(c.port, QStringLiteral("COM3 → /dev/ttyUSB0"));
    EXPECT_EQ(c.speed, QStringLiteral("9600 baud"));
    EXPECT_EQ(c.kind, QStringLiteral("Single logger"));
    set.network = true;
    set.stationAddress = 12;
    EXPECT_EQ(model.connection(set, {}).kind, QStringLiteral("Network station 12"));
    set.useModem = true;   // a modem wins: the station is reached through it
    EXPECT_EQ(model.connection(set, {}).kind, QStringLiteral("Modem"));
}

TEST(HomeView, StatusIsUnknownUntilReadThenShowsChannelsOnAndTheClockAgainstThePc)
{
    HomeViewModel model;
    LoggerInfo info;
    EXPECT_FALSE(model.status(info).known);
    info.description = "Cold room                      ";
    info.channelFlags = 0b0101;
    info.labels = {"Air", "Door", "Floor", "Spare"};
    info.modelDigit = '5';
    info.resolutionBits = 10;
    info.clockStamp = QStringLiteral("Thu 10-Dec-2026  9:59:50am");
    model.statusRead(QDateTime(QDate(2026, 12, 10), QTime(10, 2)));
    const HomeStatus s = model.status(info);
    ASSERT_TRUE(s.known);
    EXPECT_EQ(s.description, QStringLiteral("Cold room"));
    EXPECT_EQ(s.channels, (std::vector<QString>{QStringLiteral("1  Air"), QStringLiteral("3  Floor")}));
    EXPECT_EQ(s.clock, QStringLiteral("Thu 10-Dec-2026  9:59:50am (2 min 10 s behind the PC)"));
    EXPECT_EQ(s.readAt, QStringLiteral("Read 10 Dec 2026 10:02"));
    EXPECT_GE(s.memoryPercent, 0);
    EXPECT_LE(s.memoryPercent, 100);
    const QDateTime pc(QDate(2026, 12, 10), QTime(10, 0, 5));
    EXPECT_EQ(ClockDifferenceText(QStringLiteral("Thu 10 Dec 2026 10:00:05"), pc), QStringLiteral("in step with the PC"));
    EXPECT_EQ(ClockDifferenceText(QStringLiteral("Thu 10 Dec 2026 11:00:15"), pc), QStringLiteral("1 h 0 min ahead of the PC"));
    EXPECT_EQ(ClockDifferenceText(QStringLiteral("garbage"), pc), QString());
}

TEST(HomeView, ServiceCountsTodaysCallsAndNamesTheLast)
{
    HomeViewModel model;
    const QDateTime now(QDate(2026, 12, 10), QTime(12, 0));
    EXPECT_EQ(model.service(false, now).lastCall, QStringLiteral("No call yet"));
    model.callEnded(QStringLiteral("Rec. north000011.tl1"), now.addDays(-1));
    model.callEnded(QStringLiteral("Rec. north000012.tl1 "), now.addSecs(-3600));
    const HomeService s = model.service(true, now);
    EXPECT_EQ(s.state, QStringLiteral("Logger connected"));
    EXPECT_EQ(s.lastCall, QStringLiteral("11:00  Rec. north000012.tl1"));
    EXPECT_EQ(s.callsToday, 1);
    EXPECT_EQ(s.callsText, QStringLiteral("1 call today"));
}

TEST(RecentFiles, NewestFirstOnceEachAtMostTenAndMissingFilesMarked)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    RecentFiles recent(folder);
    for (int i = 0; i < 12; ++i)
        recent.add(folder + QStringLiteral("f%1.TL1").arg(i), QStringLiteral("Tank\t%1").arg(i), QStringLiteral("p"));
    recent.add(folder + QStringLiteral("f5.TL1"), QStringLiteral("again"), {});
    ASSERT_EQ(recent.entries().size(), 10u);
    EXPECT_EQ(recent.entries()[0].description, QStringLiteral("again"));
    EXPECT_EQ(recent.entries()[1].description, QStringLiteral("Tank 11"));   // a tab would split the line
    EXPECT_FALSE(recent.entries()[0].exists);
    EXPECT_EQ(RecentFileText(recent.entries()[0]), QStringLiteral("f5.TL1 — again (missing)"));
    ASSERT_TRUE(recent.save());

    RecentFiles again(folder);
    QFile(folder + QStringLiteral("f5.TL1")).open(QIODevice::WriteOnly);
    again.load();
    ASSERT_EQ(again.entries().size(), 10u);
    EXPECT_TRUE(again.entries()[0].exists);
    EXPECT_EQ(again.entries()[1].path, folder + QStringLiteral("f11.TL1"));
    EXPECT_TRUE(RecentFiles::fromText(QStringLiteral("\n\t\tno path\n")).empty());
}

TEST(SuggestedDataFileName, DescriptionAndDateMadeSafeAndUnique)
{
    const QDate day(2026, 12, 10);
    EXPECT_EQ(SuggestedDataFileName("Cold room                      ", day), QStringLiteral("Cold room 2026-12-10.TL1"));
    EXPECT_EQ(SuggestedDataFileName("a/b:c\x01 ", day), QStringLiteral("a_b_c_ 2026-12-10.TL1"));
    EXPECT_EQ(SuggestedDataFileName("..hidden", day), QStringLiteral("hidden 2026-12-10.TL1"));
    EXPECT_EQ(SuggestedDataFileName("   ", day), QStringLiteral("Logger 2026-12-10.TL1"));
    const auto taken = [](const QString& name) { return !name.contains(QStringLiteral("(3)")); };
    EXPECT_EQ(SuggestedDataFileName("Tank", day, taken), QStringLiteral("Tank 2026-12-10 (3).TL1"));
}
