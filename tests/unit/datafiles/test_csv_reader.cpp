#include "test_export_support.h"

#include "datafiles/csv_reader.h"

#include <QTextStream>

using namespace tamble;
using namespace tamble::testing;

namespace {

struct Tl2Text {
    char prefix = ' ';
    QByteArray rate = " 1.0000000000000";
    QByteArray first = "Thu  5-Mar-1998  9:07:03";
    QByteArray last = "Thu  5-Mar-1998 10:46:03";
    QByteArray headings = "Date,Time,Ch1:Deg C,Ch2:Ohms";
    std::vector<QByteArray> lines;

    QByteArray bytes() const
    {
        const QByteArray p(1, prefix);
        QByteArray t;
        auto line = [&t](const QByteArray& s) { t += s + "\r\n"; };
        line(p);
        line("");
        line(p + "Source File: /data/site.TL1");
        line(p + "ID: Cold store 2                      LX900-M 8 bit");
        line(p + "Ch1 lbl/scl: Air [-1.5]                 /A            ");
        line(p + "Ch2 lbl/scl: Door                      /R            ");
        line(p + "Ch3 lbl/scl: Channel 3                 /             ");
        line(p + "Ch4 lbl/scl: Channel 4                 /             ");
        line(p + "Rate (mins): " + rate + "        Bat: 3.6");
        line(p + "First:       " + first);
        line(p + "Last:        " + last);
        line(p + "Transferred: Fri  6-Mar-1998 08:00:00  ");
        line(p + "Eq. PC time: 06/03/1998 08:00:05");
        line("");
        line(p);
        line("");
        line(headings);
        for (const QByteArray& l : lines)
            line(l);
        return t;
    }
};

// `count` lines whose first value is i and second 100 - i.
std::vector<QByteArray> RampLines(int count, bool ms = false)
{
    std::vector<QByteArray> v;
    for (int i = 0; i < count; ++i)
        v.push_back("03/05/1998,09:07:03," + QByteArray(ms ? "000," : "") + QByteArray::number(i) + ".000," +
                    QByteArray::number(100 - i) + ".000");
    return v;
}

struct CsvReaderFixture : ::testing::Test {
    QTemporaryDir dir;
    DataSet data;
    GraphBuffer buffer;

    CsvReadResult read(const Tl2Text& t, const QString& name = "bank.TL2")
    {
        QFile f(dir.path() + "/" + name);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(t.bytes());
        f.close();
        data.bankFileName = dir.path() + "/" + name;
        return ReadCsvDataFile(data, buffer, dir.path() + "/");
    }
};

} // namespace

TEST_F(CsvReaderFixture, HeaderFieldsAndChannelsComeFromTheirPositions)
{
    Tl2Text t;
    t.lines = RampLines(100);
    const CsvReadResult r = read(t);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_TRUE(r.message.isEmpty());
    EXPECT_EQ(data.dataFileName, dir.path() + "/bank.TL2");
    EXPECT_EQ(data.description, "Cold store 2                   ");
    EXPECT_EQ(data.channelLabel[0], "Air [-1.5]              ");
    EXPECT_FLOAT_EQ(data.labelOffset[0], -1.5f);
    EXPECT_DOUBLE_EQ(data.intervalMinutes, 1.0);
    EXPECT_EQ(data.firstStamp, "Thu  5-Mar-1998  9:07:03");
    EXPECT_EQ(data.channelList, (std::vector<int>{1, 2}));
    EXPECT_EQ(data.unitText[0], "Deg C");
    EXPECT_EQ(data.unitText[1], "Ohms");
    EXPECT_EQ(r.fahrenheit, std::optional<bool>(false));
    EXPECT_FALSE(r.humidityQuantity.has_value());
}

TEST_F(CsvReaderFixture, HundredLinesAtOneMinuteGiveOnePointPerLine)
{
    Tl2Text t;
    t.lines = RampLines(100);
    ASSERT_TRUE(read(t).ok);
    EXPECT_EQ(data.totalLines, 103); // round(99 x 1.04)
    EXPECT_EQ(buffer.graphStep, 1);
    ASSERT_EQ(buffer.graphPointCount, 100);
    EXPECT_FLOAT_EQ(buffer.values[0][99], 99.0f);
    EXPECT_FLOAT_EQ(buffer.values[1][99], 1.0f);
}

TEST_F(CsvReaderFixture, ApproximateRatesExpectMoreLinesAndStillFitThem)
{
    Tl2Text t;
    t.rate = " 0.0333333333333";
    t.last = "Thu  5-Mar-1998  9:40:23"; // 33.33 minutes: 1000 lines at the named rate
    t.lines = RampLines(1500, true);
    t.headings = "Date,Time,millisecs,Ch1:Deg C,Ch2:Ohms";
    ASSERT_TRUE(read(t).ok);
    EXPECT_EQ(data.totalLines, 1350);
    EXPECT_EQ(buffer.graphStep, 1);
    EXPECT_EQ(buffer.graphPointCount, 1500);
    EXPECT_FLOAT_EQ(buffer.values[0][1499], 1499.0f); // values after the milliseconds field
}

TEST_F(CsvReaderFixture, MoreLinesThanPromisedFillTwoThousandPointsAndSaySo)
{
    Tl2Text t;
    t.last = "Thu  5-Mar-1998 10:07:03"; // 60 lines promised
    t.lines = RampLines(2100);
    const CsvReadResult r = read(t);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(buffer.graphPointCount, 2048);
    EXPECT_EQ(r.message, dir.path() + "/bank.TL2 has 4% or more lines of data then calculated from 'First' / "
                                      "'Last' time stamps and 'Rate (mins)'.  Lines at end of file were not loaded.");
}

TEST_F(CsvReaderFixture, LongFilesAreDecimatedToMinimumAndMaximumInTheirOrder)
{
    Tl2Text t;
    t.last = "Sat  7-Mar-1998  9:06:03"; // 2879 minutes: step 2, buckets of 4 lines
    t.lines = RampLines(8);
    t.lines[1] = "03/05/1998,09:07:03,50.000,-7.000";
    ASSERT_TRUE(read(t).ok);
    EXPECT_EQ(buffer.graphStep, 2);
    ASSERT_EQ(buffer.graphPointCount, 4);
    // Bucket 1, channel 1: 0, 50, 2, 3 -> smallest (line 0) before largest.
    EXPECT_FLOAT_EQ(buffer.values[0][0], 0.0f);
    EXPECT_FLOAT_EQ(buffer.values[0][1], 50.0f);
    // Channel 2: 100, -7, 98, 97 -> largest (line 0) first.
    EXPECT_FLOAT_EQ(buffer.values[1][0], 100.0f);
    EXPECT_FLOAT_EQ(buffer.values[1][1], -7.0f);
}

TEST_F(CsvReaderFixture, HeadingsNameChannelsAndUnitChoices)
{
    Tl2Text t;
    t.prefix = '"'; // a text export's header passes as well
    t.headings = "Date,Time,Ch1:Deg C,Ch3:% RH";
    t.lines = RampLines(3);
    const CsvReadResult r = read(t);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(data.channelList, (std::vector<int>{1, 3}));
    EXPECT_EQ(data.unitText[2], "% RH");
    EXPECT_EQ(r.fahrenheit, std::optional<bool>(false));
    EXPECT_EQ(r.humidityQuantity, std::optional<int>(0));
    EXPECT_TRUE(r.hasHumidityColumn);
}

TEST_F(CsvReaderFixture, ZoomedReadTakesOnlyTheWindow)
{
    Tl2Text t;
    t.lines = RampLines(100);
    data.zoom.zoomed = true;
    data.zoom.firstReading = 10;
    data.zoom.readingCount = 5;
    ASSERT_TRUE(read(t).ok);
    ASSERT_EQ(buffer.graphPointCount, 5);
    EXPECT_FLOAT_EQ(buffer.values[0][0], 10.0f);
    EXPECT_FLOAT_EQ(buffer.values[0][4], 14.0f);
}

TEST_F(CsvReaderFixture, BadFilesFailWithTheirMessages)
{
    Tl2Text t;
    t.lines = RampLines(3);
    QByteArray bytes = t.bytes();

    data.bankFileName = dir.path() + "/none.TL2";
    CsvReadResult r = ReadCsvDataFile(data, buffer, dir.path() + "/");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "File: " + dir.path() + "/none.TL2 not found");

    data.bankFileName.clear();
    r = ReadCsvDataFile(data, buffer, dir.path() + "/");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.isEmpty());

    Tl2Text wrong = t;
    wrong.headings = "x";
    QByteArray b = wrong.bytes();
    b.replace("Source File", "Target File");
    QFile f(dir.path() + "/bad.TL2");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(b);
    f.close();
    data.bankFileName = f.fileName();
    r = ReadCsvDataFile(data, buffer, dir.path() + "/");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Incompatible file format - click Help for details");
    EXPECT_EQ(r.helpContext, 28);

    Tl2Text badRate = t;
    badRate.rate = "   one minute   ";
    r = read(badRate, "rate.TL2");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Sample Rate field is invalid:  Rate (mins):    one minute           Bat: 3.6 - click "
                         "Help for details");
}

TEST_F(CsvReaderFixture, ATl2WrittenByTheLoaderReadsBack)
{
    RecordingPlan plan;
    plan.header = TestHeader(8, 0x0F, '6');
    plan.readings = CountingReadings(8064 + 50, 4);
    ExportSettings settings;
    ASSERT_TRUE(LoadPlan(plan, dir.path(), data, settings));
    DataSet back;
    back.bankFileName = data.bankFileName;
    GraphBuffer gb;
    const CsvReadResult r = ReadCsvDataFile(back, gb, dir.path() + "/");
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(back.channelList.size(), 4u);
    EXPECT_EQ(back.firstStamp, data.firstStamp);
    EXPECT_GT(gb.graphPointCount, 0);
}
