#include "test_export_support.h"

#include <QDir>

using namespace tamble;
using namespace tamble::testing;

namespace {

RecordingPlan ExportTwoChannelPlan(int perChannel, char rate = 'G')
{
    RecordingPlan plan;
    plan.header = TestHeader(8, 0x03);
    plan.header.rateCode = rate;
    plan.readings = CountingReadings(perChannel, 2);
    return plan;
}

struct ExportFixture : ::testing::Test {
    QTemporaryDir dir;
    ExportSettings settings;
    DataSet data;

    QList<QByteArray> exportLines(const QString& name, int averaging, bool csv = true, QByteArray note = {})
    {
        ExportRequest req;
        req.path = dir.path() + "/" + name;
        req.csv = csv;
        req.averaging = averaging;
        req.note = note;
        const ExportResult r = ExportData(data, req, settings);
        EXPECT_TRUE(r.ok) << r.message.toStdString();
        return FileLines(req.path);
    }
};

} // namespace

TEST_F(ExportFixture, CsvHeaderHasSeventeenLinesInTheirExactForm)
{
    ASSERT_TRUE(LoadPlan(ExportTwoChannelPlan(10), dir.path(), data, settings));
    const auto lines = exportLines("out.csv", 1, true, "bench note");
    ASSERT_EQ(lines.size(), 17 + 10);
    EXPECT_EQ(lines[0], " bench note");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], " Source File: " + (dir.path() + "/rec.TL1").toLocal8Bit());
    EXPECT_EQ(lines[3], " ID: Greenhouse bench 3               LX500");
    EXPECT_EQ(lines[4], " Ch1 lbl/scl: Channel 1               /0.0000 100.00");
    EXPECT_EQ(lines[5], " Ch2 lbl/scl: Channel 2               /0.0000 100.00");
    EXPECT_EQ(lines[6], " Ch3 lbl/scl: Channel 3               /             ");
    EXPECT_EQ(lines[8], " Rate (mins):  1.0000000000000        Bat: 3.6");
    EXPECT_EQ(lines[9], " First:       Thu  5-Mar-1998  9:07:03");
    EXPECT_EQ(lines[10], " Last:        Thu  5-Mar-1998 19:07:03");
    // Line 5 of the data file holds the clock, four blanks and the PC time:
    // its first 26 characters are the transferred stamp.
    EXPECT_EQ(lines[11], " Transferred: Fri  6-Mar-1998 08:00:00  ");
    EXPECT_EQ(lines[12], " Eq. PC time: 06/03/1998 08:00:05");
    EXPECT_EQ(lines[13], "");
    EXPECT_EQ(lines[14], " ");
    EXPECT_EQ(lines[15], "");
    EXPECT_EQ(lines[16], "Date,Time,Ch1:,Ch2:");
    EXPECT_EQ(lines[17], "03/05/1998,09:07:03,0.392,0.784");
    EXPECT_EQ(lines[18], "03/05/1998,09:08:03,0.784,1.176");
}

TEST_F(ExportFixture, AveragesOfThreeOverTenReadingsPadTheLastGroupWithTheLastReading)
{
    ASSERT_TRUE(LoadPlan(ExportTwoChannelPlan(10), dir.path(), data, settings));
    const auto all = exportLines("all.csv", 1);
    const auto avg = exportLines("avg.csv", 3);
    ASSERT_EQ(all.size(), 17 + 10);
    ASSERT_EQ(avg.size(), 17 + 4);
    EXPECT_EQ(avg[14], " Note: Each reading is the average of 3 consecutive samples.");
    // Stamped with the time of the 3rd, 6th, 9th and 12th reading: the last
    // two intervals after the end of the recording.
    EXPECT_EQ(avg[17], "03/05/1998,09:09:03,0.784,1.176");
    EXPECT_EQ(avg[18].left(19), "03/05/1998,09:12:03");
    EXPECT_EQ(avg[19].left(19), "03/05/1998,09:15:03");
    EXPECT_EQ(avg[20].left(19), "03/05/1998,09:18:03");
    // The fourth averages the tenth reading with two copies of it.
    EXPECT_EQ(avg[20].mid(19), all[26].mid(19));
}

TEST_F(ExportFixture, AveragesThatDivideEvenlyWriteNoExtraLine)
{
    ASSERT_TRUE(LoadPlan(ExportTwoChannelPlan(9), dir.path(), data, settings));
    EXPECT_EQ(exportLines("avg.csv", 3).size(), 17 + 3);
}

TEST_F(ExportFixture, SingleAverageIsOneLineStampedWithTheLastReading)
{
    ASSERT_TRUE(LoadPlan(ExportTwoChannelPlan(500), dir.path(), data, settings));
    const auto lines = exportLines("one.csv", 9999);
    ASSERT_EQ(lines.size(), 17 + 1);
    EXPECT_EQ(lines[14], " Note: Average for the above period (500 consecutive samples).");
    // 499 minutes after 09:07:03.
    EXPECT_EQ(lines[17].left(19), "03/05/1998,17:26:03");
}

TEST_F(ExportFixture, TextExportSeparatesByBlanksAndPadsValuesToEight)
{
    ASSERT_TRUE(LoadPlan(ExportTwoChannelPlan(3, 'D'), dir.path(), data, settings));
    const auto lines = exportLines("out.txt", 1, false);
    ASSERT_EQ(lines.size(), 17 + 3);
    EXPECT_EQ(lines[0], "\"");
    EXPECT_EQ(lines[2].left(14), "\"Source File: ");
    EXPECT_EQ(lines[16], "Date,Time,Ch1:,Ch2:"); // headings keep their commas
    EXPECT_EQ(lines[17], "03/05/1998 09:07:03    0.392    0.784");
    EXPECT_EQ(lines[18], "03/05/1998 09:07:13    0.784    1.176");
}

TEST_F(ExportFixture, FastRatesCarryMillisecondsInHeadingAndLines)
{
    ASSERT_TRUE(LoadPlan(ExportTwoChannelPlan(3, '4'), dir.path(), data, settings));
    const auto lines = exportLines("fast.csv", 1);
    ASSERT_EQ(lines.size(), 17 + 3);
    EXPECT_EQ(lines[16], "Date,Time,millisecs,Ch1:,Ch2:");
    EXPECT_EQ(lines[17], "03/05/1998,09:07:03,000,0.392,0.784");
    EXPECT_EQ(lines[18], "03/05/1998,09:07:03,005,0.784,1.176");
}

TEST_F(ExportFixture, NoHeaderAppliesOnlyToCsvAndTxtNames)
{
    ASSERT_TRUE(LoadPlan(ExportTwoChannelPlan(2), dir.path(), data, settings));
    settings.noHeader = true;
    const auto csv = exportLines("bare.CsV", 1);
    ASSERT_EQ(csv.size(), 2);
    EXPECT_EQ(csv[0], "03/05/1998,09:07:03,0.392,0.784");
    EXPECT_EQ(exportLines("other.dat", 1).size(), 17 + 2);
}

TEST_F(ExportFixture, FahrenheitConvertsTemperatureChannelsOnly)
{
    RecordingPlan plan = ExportTwoChannelPlan(1);
    plan.header.typeCodes = {'A', 'R', '0', '0'};
    plan.header.scalingTexts = {"A           ", "R           ", "            ", "            "};
    plan.readings = {128, 128};
    ASSERT_TRUE(LoadPlan(plan, dir.path(), data, settings));
    const auto celsius = exportLines("c.csv", 1);
    settings.fahrenheit = true;
    const auto fahrenheit = exportLines("f.csv", 1);
    ASSERT_EQ(celsius.size(), 18);
    ASSERT_EQ(fahrenheit.size(), 18);
    EXPECT_EQ(celsius[16], "Date,Time,Ch1:Deg C,Ch2:Ohms");
    EXPECT_EQ(fahrenheit[16], "Date,Time,Ch1:Deg F,Ch2:Ohms");
    const auto c = celsius[17].split(',');
    const auto f = fahrenheit[17].split(',');
    ASSERT_EQ(c.size(), 4);
    ASSERT_EQ(f.size(), 4);
    EXPECT_NEAR(f[2].toDouble(), c[2].toDouble() * 9 / 5 + 32, 0.002);
    EXPECT_EQ(f[3], c[3]);
}

TEST_F(ExportFixture, ZoomedExportWritesTheWindowAndItsStamps)
{
    ASSERT_TRUE(LoadPlan(ExportTwoChannelPlan(20), dir.path(), data, settings));
    data.zoom.zoomed = true;
    data.zoom.firstReading = 5;
    data.zoom.readingCount = 4;
    data.zoom.startStamp = "Thu  5-Mar-1998  9:12:03";
    data.zoom.endStamp = "Thu  5-Mar-1998  9:15:03";
    const auto lines = exportLines("zoom.csv", 1);
    ASSERT_EQ(lines.size(), 17 + 4);
    EXPECT_EQ(lines[9], " First:       Thu  5-Mar-1998  9:12:03");
    EXPECT_EQ(lines[10], " Last:        Thu  5-Mar-1998  9:15:03");
    EXPECT_EQ(lines[17].left(19), "03/05/1998,09:12:03");
    // The readings after a zoom window are real data: an average group that
    // runs past the window uses them.
    const auto avg = exportLines("zavg.csv", 3);
    ASSERT_EQ(avg.size(), 17 + 2);
    // Readings 8, 9 and 10 hold the counts 9, 10 and 11: their mean is 10.
    EXPECT_EQ(avg[18], "03/05/1998,09:17:03,3.922,4.314");
}

TEST_F(ExportFixture, AFailedExportLeavesAnExistingFileAlone)
{
    ASSERT_TRUE(LoadPlan(ExportTwoChannelPlan(2), dir.path(), data, settings));
    ExportRequest req;
    req.path = dir.path() + "/missing-folder/out.csv";
    const ExportResult r = ExportData(data, req, settings);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.message.isEmpty());
    EXPECT_FALSE(QFile::exists(req.path));
}
