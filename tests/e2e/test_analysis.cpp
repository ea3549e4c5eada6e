// The analysis for scripts end to end: --summary and --report run headless against data files.
#include "e2e/support/sim_process.h"

#include "writer/tl1_writer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::e2e;

namespace {

bool WriteDock(const QString& path, int readings)
{
    return WriteTwoProbeRecording(path, readings, "Loading dock");
}

TEST(AnalysisCommand, SummaryAsJsonOverASpanWithALimit)
{
    ProgramHome home;
    ASSERT_TRUE(WriteDock(home.filePath("dock.TL1"), 60));
    const ProgramRun run = RunProgram(home, {}, {"--summary", home.filePath("dock.TL1"), "--from", "2026-11-02T08:10:00",
                                                 "--to", "2026-11-02T08:19:00", "--limit", "1::15", "--format", "json"});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();
    const QJsonObject top = QJsonDocument::fromJson(run.stdoutText.toUtf8()).object();
    EXPECT_EQ(top.value("from").toString(), QStringLiteral("2026-11-02T08:10:00"));
    const QJsonArray channels = top.value("channels").toArray();
    ASSERT_EQ(channels.size(), 2);
    const QJsonObject one = channels.at(0).toObject();
    EXPECT_EQ(one.value("channel").toInt(), 1);
    EXPECT_EQ(one.value("count").toInt(), 10);
    EXPECT_EQ(one.value("min_time").toString(), QStringLiteral("2026-11-02T08:10:00"));
    EXPECT_EQ(one.value("max_time").toString(), QStringLiteral("2026-11-02T08:19:00"));
    // Readings 16..19 lie above 15: four minutes in one excursion.
    EXPECT_EQ(one.value("above_high_s").toDouble(), 240.0);
    ASSERT_EQ(one.value("excursions").toArray().size(), 1);
    EXPECT_EQ(one.value("excursions").toArray().at(0).toObject().value("start").toString(),
              QStringLiteral("2026-11-02T08:16:00"));
    EXPECT_EQ(channels.at(1).toObject().value("stddev").toDouble(), 0.0);
}

TEST(AnalysisCommand, MistakesEndWithTheirStatus)
{
    ProgramHome home;
    ASSERT_TRUE(WriteDock(home.filePath("dock.TL1"), 30));
    EXPECT_EQ(RunProgram(home, {}, {"--summary", home.filePath("none.TL1")}).exitCode, 1);
    EXPECT_EQ(RunProgram(home, {}, {"--summary", home.filePath("dock.TL1"), "--from", "yesterday"}).exitCode, 2);
    EXPECT_EQ(RunProgram(home, {}, {"--summary", home.filePath("dock.TL1"), "--limit", "1:9:2"}).exitCode, 2);
    EXPECT_EQ(RunProgram(home, {}, {"--summary", home.filePath("dock.TL1"), "--format", "xml"}).exitCode, 2);
}

TEST(AnalysisCommand, ReportIsAPdfWithTheStatistics)
{
    ProgramHome home;
    ASSERT_TRUE(WriteDock(home.filePath("dock.TL1"), 60));
    const ProgramRun run = RunProgram(home, {}, {"--report", home.filePath("dock.pdf"), home.filePath("dock.TL1"),
                                                 "--limit", "1::50"});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {home.filePath("dock.pdf"), QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000)) << "pdftotext (poppler-utils) is needed";
    const QString pdf = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(pdf.contains(QStringLiteral("Loading dock")));
    EXPECT_TRUE(pdf.contains(QStringLiteral("dock.TL1, channel 1: Probe 1")));
    EXPECT_TRUE(pdf.contains(QStringLiteral("Readings 60")));
    EXPECT_TRUE(pdf.contains(QStringLiteral("Excursions")));
    EXPECT_TRUE(pdf.contains(QStringLiteral("Page 1 of")));
}

} // namespace
