// The "Create ASCII File" dialog's rules: averaging choice from the settings,
// save-name checks, the header option, and OK running the export.

#include "datafiles/ascii_dialog_model.h"

#include "support/scripted_messages.h"
#include "test_export_support.h"

using namespace tamble;
using namespace tamble::testing;
using tamble::test::ScriptedMessages;

namespace {

struct AsciiDialogFixture : ::testing::Test {
    QTemporaryDir dir;
    DataSet data;
    std::int32_t averaging = 1;
    bool noHeader = false;
    ScriptedMessages messages;

    AsciiDialogModel make()
    {
        return AsciiDialogModel(data, averaging, noHeader, [] { return ExportSettings{}; }, messages);
    }

    void load(int perChannel)
    {
        RecordingPlan plan;
        plan.header = TestHeader(8, 0x03);
        plan.readings = CountingReadings(perChannel, 2);
        ASSERT_TRUE(LoadPlan(plan, dir.path(), data, ExportSettings{}));
    }
};

} // namespace

TEST_F(AsciiDialogFixture, StoredAveragingSelectsTheChoice)
{
    struct Case {
        std::int32_t stored;
        AveragingChoice choice;
        int n;
    };
    for (const Case& c : std::vector<Case>{{0, AveragingChoice::AllPoints, 1},
                                           {1, AveragingChoice::AllPoints, 1},
                                           {9999, AveragingChoice::OneAverage, 9999},
                                           {25, AveragingChoice::AverageEvery, 25},
                                           {2, AveragingChoice::AverageEvery, 2}}) {
        averaging = c.stored;
        const AsciiDialogModel m = make();
        EXPECT_EQ(m.averaging(), c.choice) << c.stored;
        EXPECT_EQ(m.averagingN(), c.n) << c.stored;
        EXPECT_EQ(m.everyFieldEnabled(), c.choice == AveragingChoice::AverageEvery);
    }
}

TEST_F(AsciiDialogFixture, AverageEveryKeepsToItsRangeAnd9999MeansOneAverage)
{
    AsciiDialogModel m = make();
    m.setAveraging(AveragingChoice::AverageEvery);
    for (const auto& [typed, n] : std::vector<std::pair<int, int>>{{1, 2}, {0, 2}, {50, 50}, {9999, 9999}, {20000, 9999}}) {
        m.setEvery(typed);
        EXPECT_EQ(m.averagingN(), n) << typed;
    }
}

TEST_F(AsciiDialogFixture, SaveNameMustEndInTheLayoutsExtension)
{
    struct Case {
        QString chosen;
        bool csv;
        QString path;
        QString warning;
    };
    const std::vector<Case> cases{
        {"/d/out.csv", true, "/d/out.csv", {}},
        {"/d/out.CSV", true, "/d/out.CSV", {}},
        {"/d/out", true, "/d/out.CSV", {}},
        {"/d/out.txt", true, {}, "File name must end in '.CSV'"},
        {"/d/out.csv", false, {}, "File name must end in '.TXT'"},
        {"/d/out.Txt", false, "/d/out.Txt", {}},
        {"/d.v/out", false, "/d.v/out.TXT", {}},
    };
    for (const Case& c : cases) {
        const SaveNameCheck r = CheckAsciiSaveName(c.chosen, c.csv);
        EXPECT_EQ(r.path, c.path) << c.chosen.toStdString();
        EXPECT_EQ(r.warning, c.warning) << c.chosen.toStdString();
    }
    EXPECT_EQ(AsciiSaveNameSpec(true).filter, "CSV File|*.CSV");
    EXPECT_EQ(AsciiSaveNameSpec(false).filter, "Text File|*.TXT");
}

TEST_F(AsciiDialogFixture, RefusedNameIsWarnedAndNotTaken)
{
    AsciiDialogModel m = make();
    EXPECT_FALSE(m.chooseSaveName("/d/out.txt"));
    EXPECT_EQ(messages.lastText(), "File name must end in '.CSV'");
    EXPECT_EQ(messages.shown.back().kind, DialogKind::Warning);
    EXPECT_TRUE(m.saveAs().isEmpty());
    EXPECT_FALSE(m.chooseSaveName({}));
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(AsciiDialogFixture, NoHeaderIsStoredAtOnceAndHidesTheNote)
{
    AsciiDialogModel m = make();
    EXPECT_TRUE(m.noteVisible());
    m.setNoHeader(true);
    EXPECT_TRUE(noHeader);
    EXPECT_FALSE(m.noteVisible());
}

TEST_F(AsciiDialogFixture, OkWithoutNameAsksForOneAndStays)
{
    AsciiDialogModel m = make();
    EXPECT_FALSE(m.ok());
    EXPECT_EQ(messages.lastText(), "Please enter a file name in 'Save as'");
    EXPECT_EQ(messages.shown.back().kind, DialogKind::Information);
}

TEST_F(AsciiDialogFixture, OkStoresTheChoicesExportsAndSaysSo)
{
    load(10);
    AsciiDialogModel m = make();
    m.setAveraging(AveragingChoice::AverageEvery);
    m.setEvery(3);
    m.setNote("bench");
    ASSERT_TRUE(m.chooseSaveName(dir.path() + "/out.csv"));
    EXPECT_TRUE(m.ok());
    EXPECT_EQ(averaging, 3);
    EXPECT_EQ(messages.lastText(), dir.path() + "/out.csv saved to disk");
    const auto lines = FileLines(dir.path() + "/out.csv");
    ASSERT_EQ(lines.size(), 17 + 4);
    EXPECT_EQ(lines[0], " bench");
    EXPECT_EQ(lines[14], " Note: Each reading is the average of 3 consecutive samples.");
}

TEST_F(AsciiDialogFixture, NoHeaderTextExportStartsWithData)
{
    load(5);
    AsciiDialogModel m = make();
    m.setCsv(false);
    m.setNoHeader(true);
    ASSERT_TRUE(m.chooseSaveName(dir.path() + "/out"));
    EXPECT_EQ(m.saveAs(), dir.path() + "/out.TXT");
    m.shown();
    EXPECT_TRUE(m.saveAs().isEmpty());
    ASSERT_TRUE(m.chooseSaveName(dir.path() + "/out.txt"));
    EXPECT_TRUE(m.ok());
    const auto lines = FileLines(dir.path() + "/out.txt");
    ASSERT_EQ(lines.size(), 5);
    EXPECT_FALSE(lines[0].startsWith('"'));
}

TEST_F(AsciiDialogFixture, LayoutChangedAfterChoosingTheNameIsRefusedOnOk)
{
    load(5);
    AsciiDialogModel m = make();
    ASSERT_TRUE(m.chooseSaveName(dir.path() + "/out.csv"));
    m.setCsv(false);
    EXPECT_FALSE(m.ok());
    EXPECT_EQ(messages.lastText(), "File name must end in '.TXT'");
    EXPECT_FALSE(QFile::exists(dir.path() + "/out.csv"));
}

TEST_F(AsciiDialogFixture, FailedExportIsReportedAndNotCalledSaved)
{
    load(5);
    AsciiDialogModel m = make();
    ASSERT_TRUE(m.chooseSaveName(dir.path() + "/none/out.csv"));
    EXPECT_FALSE(m.ok());
    EXPECT_EQ(messages.shown.back().kind, DialogKind::Error);
    EXPECT_FALSE(messages.lastText().endsWith(" saved to disk"));
}
