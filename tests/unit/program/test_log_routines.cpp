// Log lines of unattended runs: "TLLOG.TXT" and "CSVLOG.TXT".

#include "settings/log_routines.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

using namespace tamble;

namespace {

const QDateTime kWhen(QDate(2026, 3, 7), QTime(14, 5, 9), QTimeZone::utc());

QStringList linesOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

TEST(LogLine, IsMessageBlankShortDateAndLongTimeOfTheLocale)
{
    EXPECT_EQ(FormatLogLine("File written: site1a.csv", kWhen, QLocale(QLocale::English, QLocale::UnitedStates))
                  .toStdString(),
              "File written: site1a.csv 3/7/26 2:05:09 PM UTC");
    EXPECT_EQ(FormatLogLine("Data written to a.csv", kWhen, QLocale(QLocale::English, QLocale::UnitedKingdom))
                  .toStdString(),
              "Data written to a.csv 07/03/2026 14:05:09 UTC");
    EXPECT_EQ(FormatLogLine("Invalid file name extension", kWhen, QLocale(QLocale::German, QLocale::Germany)).toStdString(),
              "Invalid file name extension 07.03.26 14:05:09 UTC");
}

TEST(LogRoutines, AppendLogLine_AddsLinesToTlLog)
{
    QTemporaryDir dir;
    EXPECT_TRUE(AppendLogLine(dir.path(), "one", kWhen).written);
    const LogWrite second = AppendLogLine(dir.path(), "two", kWhen);
    EXPECT_TRUE(second.written);
    EXPECT_EQ(linesOf(dir.path() + "/TLLOG.TXT"), (QStringList{FormatLogLine("one", kWhen), second.line}));
    EXPECT_FALSE(QFile::exists(dir.path() + "/CSVLOG.TXT"));
}

TEST(LogRoutines, FatalLogAndExit_RecreatesTlLogWithItsOneLine)
{
    QTemporaryDir dir;
    AppendLogLine(dir.path(), "earlier call", kWhen);
    AppendLogLine(dir.path(), "earlier call", kWhen);
    const LogWrite w = FatalLogAndExit(dir.path(), "session finished, modem on hook", kWhen);
    EXPECT_TRUE(w.written);
    EXPECT_TRUE(w.line.startsWith("session finished, modem on hook "));
    EXPECT_EQ(linesOf(dir.path() + "/TLLOG.TXT"), QStringList{w.line});
}

TEST(LogRoutines, CsvLogAndExit_AppendsToCsvLogOnly)
{
    QTemporaryDir dir;
    FatalLogAndExit(dir.path(), "kept", kWhen);
    CsvLogAndExit(dir.path(), "first", kWhen);
    const LogWrite w = CsvLogAndExit(dir.path(), "second", kWhen);
    EXPECT_EQ(linesOf(dir.path() + "/CSVLOG.TXT").size(), 2);
    EXPECT_EQ(linesOf(dir.path() + "/CSVLOG.TXT").last(), w.line);
    EXPECT_EQ(linesOf(dir.path() + "/TLLOG.TXT").size(), 1);
}

TEST(LogRoutines, AFolderThatCannotBeWritten_IsReportedAndStillGivesTheLine)
{
    QTemporaryDir dir;
    const QString missing = dir.path() + "/missing";
    for (const LogWrite& w : {AppendLogLine(missing, "a", kWhen), FatalLogAndExit(missing, "a", kWhen),
                              CsvLogAndExit(missing, "a", kWhen)}) {
        EXPECT_FALSE(w.written);
        EXPECT_TRUE(w.line.startsWith("a "));
    }
}
