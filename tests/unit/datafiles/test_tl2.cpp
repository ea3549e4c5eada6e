#include "test_export_support.h"
#include "datafiles/bank_file.h"

using namespace tamble;
using namespace tamble::testing;

namespace {

// A four-channel LX900-M recording: bank A full (8064 readings a channel),
// bank B with `inB` readings a channel.
RecordingPlan TwoBankPlan(int inB, char rate = 'G')
{
    RecordingPlan plan;
    plan.header = TestHeader(8, 0x0F, '6');
    plan.header.rateCode = rate;
    plan.readings = CountingReadings(8064 + inB, 4);
    return plan;
}

struct Tl2Fixture : ::testing::Test {
    QTemporaryDir dir;
    ExportSettings settings;
    DataSet data;

    QList<QByteArray> reexport(int averaging, bool csv, const QString& name)
    {
        ExportRequest req;
        req.path = dir.path() + "/" + name;
        req.csv = csv;
        req.averaging = averaging;
        const ExportResult r = ExportData(data, req, settings);
        EXPECT_TRUE(r.ok) << r.message.toStdString();
        return FileLines(req.path);
    }
};

} // namespace

TEST_F(Tl2Fixture, TwoBanksFollowOneAnotherWithTwoIntervalsBetween)
{
    ASSERT_TRUE(LoadPlan(TwoBankPlan(100), dir.path(), data, settings));
    ASSERT_TRUE(data.multiBank);
    EXPECT_EQ(data.dataFileName, dir.path() + "/rec.TL2");
    const auto lines = FileLines(dir.path() + "/rec.TL2");
    ASSERT_EQ(lines.size(), 17 + 8164);
    EXPECT_EQ(lines[2], " Source File: " + (dir.path() + "/rec.TL1").toLocal8Bit());
    EXPECT_EQ(lines[14], " "); // no averaging note
    EXPECT_EQ(lines[16], "Date,Time,Ch1:,Ch2:,Ch3:,Ch4:");
    EXPECT_EQ(lines[17].left(19), "03/05/1998,09:07:03");
    // Line 8064 is 8063 minutes after the first (5 days 14:23 later) ...
    EXPECT_EQ(lines[17 + 8063].left(19), "03/10/1998,23:30:03");
    // ... and the first line of bank B two minutes after it.
    EXPECT_EQ(lines[17 + 8064].left(19), "03/10/1998,23:32:03");
}

TEST_F(Tl2Fixture, ReexportAllPointsCopiesLinesAndTextTurnsEveryCommaIntoABlank)
{
    ASSERT_TRUE(LoadPlan(TwoBankPlan(10), dir.path(), data, settings));
    const auto tl2 = FileLines(dir.path() + "/rec.TL2");
    const auto csv = reexport(1, true, "all.csv");
    const auto txt = reexport(1, false, "all.txt");
    ASSERT_EQ(csv.size(), 17 + 8074);
    ASSERT_EQ(txt.size(), 17 + 8074);
    EXPECT_EQ(csv[17 + 8073], tl2[17 + 8073]);
    QByteArray blanked = tl2[17];
    blanked.replace(',', ' ');
    EXPECT_EQ(txt[17], blanked);
    EXPECT_EQ(csv[14], " ");
}

TEST_F(Tl2Fixture, ReexportAveragesStampLikeTheLastLineOfEachGroup)
{
    ASSERT_TRUE(LoadPlan(TwoBankPlan(10), dir.path(), data, settings));
    const auto tl2 = FileLines(dir.path() + "/rec.TL2");
    const auto one = reexport(9999, true, "one.csv");
    ASSERT_EQ(one.size(), 17 + 1);
    EXPECT_EQ(one[14], " Note: Average for the above period.");
    EXPECT_EQ(one[17].left(20), tl2.last().left(20));

    // 8074 lines in groups of 3: 2691 full groups and one of a single line,
    // which averages only that line.
    const auto three = reexport(3, true, "three.csv");
    ASSERT_EQ(three.size(), 17 + 2692);
    const auto lastValues = tl2.last().mid(20).split(',');
    const auto avgValues = three.last().mid(20).split(',');
    ASSERT_EQ(avgValues.size(), 4);
    for (int c = 0; c < 4; ++c)
        EXPECT_DOUBLE_EQ(avgValues[c].toDouble(), lastValues[c].toDouble()) << c;
    EXPECT_EQ(three.last().left(20), tl2.last().left(20));
}

TEST_F(Tl2Fixture, ReexportOfLinesWithMillisecondsTakesTheValuesAfterThem)
{
    // At 200 readings a second every line carries a milliseconds field after
    // the time; its digits are no value.
    ASSERT_TRUE(LoadPlan(TwoBankPlan(2, '4'), dir.path(), data, settings));
    const auto tl2 = FileLines(dir.path() + "/rec.TL2");
    ASSERT_EQ(tl2[16], "Date,Time,millisecs,Ch1:,Ch2:,Ch3:,Ch4:");
    const auto avg = reexport(2, true, "ms.csv");
    ASSERT_GT(avg.size(), 18);
    // Group 1: the first two lines.
    const auto a = tl2[17].mid(24).split(',');
    const auto b = tl2[18].mid(24).split(',');
    ASSERT_EQ(a.size(), 4);
    EXPECT_EQ(avg[17].left(24), tl2[18].left(24));
    const auto got = avg[17].mid(24).split(',');
    ASSERT_EQ(got.size(), 4);
    for (int c = 0; c < 4; ++c)
        EXPECT_NEAR(got[c].toDouble(), (a[c].toDouble() + b[c].toDouble()) / 2, 0.0011) << c;
}

TEST_F(Tl2Fixture, ReexportReportsAMissingOrMisnamedBankFile)
{
    ASSERT_TRUE(LoadPlan(TwoBankPlan(2), dir.path(), data, settings));
    QFile out(dir.path() + "/x.csv");
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    TextOut sink(&out);

    data.dataFileName = dir.path() + "/gone.TL2";
    ReexportResult r = ReexportFromBankFile(data, sink, true, 1, dir.path() + "/nowhere/");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "File: " + dir.path() + "/gone.TL2 not found");

    data.dataFileName = dir.path() + "/rec.TL1";
    r = ReexportFromBankFile(data, sink, true, 1, dir.path() + "/");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, dir.path() + "/rec.TL1 is not a TL2 type file");
}

TEST(Tl2Values, SplittingSearchesEachCommaFromTheFifthCharacter)
{
    float v[4] = {};
    EXPECT_EQ(SplitBankLineValues("03/05/1998,09:07:03,12.5", 20, 1, v), 1);
    EXPECT_FLOAT_EQ(v[0], 12.5f);
    EXPECT_EQ(SplitBankLineValues("03/05/1998,09:07:03,-1.000,2.000,3.5", 20, 3, v), 3);
    EXPECT_FLOAT_EQ(v[0], -1.0f);
    EXPECT_FLOAT_EQ(v[1], 2.0f);
    EXPECT_FLOAT_EQ(v[2], 3.5f);
    EXPECT_EQ(SplitBankLineValues("short", 20, 2, v), 0);
    EXPECT_EQ(SplitBankLineValues("03/05/1998,09:07:03,abc,", 20, 2, v), 1);
    EXPECT_FLOAT_EQ(v[0], 0.0f);
}

TEST(BankFileNames, TheTl2NameFollowsFromTheTl1NameAndBack)
{
    EXPECT_EQ(BankFileNameFor(QStringLiteral("/data/run/site1a.tl1")), QStringLiteral("/data/run/site1a.TL2"));
    EXPECT_EQ(DataFileNameFor(QStringLiteral("/data/run/site1a.TL2")), QStringLiteral("/data/run/site1a.TL1"));
    EXPECT_EQ(DataFileNameFor(QStringLiteral("/d.x/run")), QStringLiteral("/d.x/run.TL1"));
    EXPECT_EQ(DataFileNameFor(QStringLiteral("/d/a.tl22")), QStringLiteral("/d/a.tl22.TL1"));
}
