// CSV exports in other dialects: separators, the decimal comma, ISO 8601
// stamps and the spreadsheet layout; the bank file and tabular exports that
// keep their layout; the choice kept in the program folder.

#include "datafiles/ascii_dialog_model.h"
#include "datafiles/csv_dialect.h"

#include "support/scripted_messages.h"
#include "test_export_support.h"

#include <QDir>

using namespace tamble;
using namespace tamble::testing;

namespace {

RecordingPlan TwoChannelPlan(int perChannel, char rate = 'G', int extraBankReadings = 0)
{
    RecordingPlan plan;
    plan.header = TestHeader(8, 0x03, extraBankReadings > 0 ? '6' : '1');
    plan.header.rateCode = rate;
    plan.header.labels[0] = "Bench air;Deg C";
    plan.header.labels[1] = "Shed, north";
    plan.readings = CountingReadings(perChannel + extraBankReadings, 2);
    return plan;
}

CsvDialect Dialect(FieldSeparator s, DecimalMark m, StampLayout t = StampLayout::DateAndTime,
                   HeaderLayout h = HeaderLayout::Full)
{
    return {s, m, t, h};
}

struct DialectFixture : ::testing::Test {
    QTemporaryDir dir;
    ExportSettings settings;
    DataSet data;

    QList<QByteArray> exportLines(const CsvDialect& dialect, int averaging = 1, bool csv = true)
    {
        ExportRequest req;
        req.path = dir.path() + (csv ? "/out.csv" : "/out.txt");
        req.csv = csv;
        req.averaging = averaging;
        req.dialect = dialect;
        const ExportResult r = ExportData(data, req, settings);
        EXPECT_TRUE(r.ok) << r.message.toStdString();
        return FileLines(req.path);
    }
};

} // namespace

TEST_F(DialectFixture, SeparatorAndDecimalMarkRewriteHeadingsAndLinesOnly)
{
    ASSERT_TRUE(LoadPlan(TwoChannelPlan(3), dir.path(), data, settings));
    const auto own = exportLines({});
    const auto semi = exportLines(Dialect(FieldSeparator::Semicolon, DecimalMark::Comma));
    ASSERT_EQ(semi.size(), 17 + 3);
    EXPECT_EQ(semi.mid(0, 16), own.mid(0, 16));   // the header lines stay as they are
    EXPECT_EQ(own[16], "Date,Time,Ch1:Deg C,Ch2:");
    EXPECT_EQ(semi[16], "Date;Time;Ch1:Deg C;Ch2:");
    EXPECT_EQ(own[17], "03/05/1998,09:07:03,0.392,0.784");
    EXPECT_EQ(semi[17], "03/05/1998;09:07:03;0,392;0,784");

    // Tabs; the heading holding a comma is then not quoted.
    const auto tab = exportLines(Dialect(FieldSeparator::Tab, DecimalMark::Point, StampLayout::DateAndTime,
                                         HeaderLayout::Spreadsheet));
    EXPECT_EQ(tab[0], "Date\tTime\tBench air (Deg C)\tShed, north");
    EXPECT_EQ(tab[1], "03/05/1998\t09:07:03\t0.392\t0.784");
}

TEST_F(DialectFixture, IsoStampsFollowTheDateOrderAndCarryMilliseconds)
{
    settings.dateOrder = ExportDateOrder::DayFirst;
    ASSERT_TRUE(LoadPlan(TwoChannelPlan(3, '4'), dir.path(), data, settings));
    EXPECT_EQ(exportLines({})[18], "05/03/1998,09:07:03,005,0.784,1.176");
    const auto iso = exportLines(Dialect(FieldSeparator::Comma, DecimalMark::Point, StampLayout::Iso8601));
    EXPECT_EQ(iso[16], "Timestamp,Ch1:Deg C,Ch2:");
    EXPECT_EQ(iso[17], "1998-03-05T09:07:03.000,0.392,0.784");
    EXPECT_EQ(iso[18], "1998-03-05T09:07:03.005,0.784,1.176");
    // Averages are stamped with their group's last reading, as ever.
    const auto avg = exportLines(Dialect(FieldSeparator::Semicolon, DecimalMark::Comma, StampLayout::Iso8601), 3);
    EXPECT_EQ(avg[17], "1998-03-05T09:07:03.010;0,784;1,176");
}

TEST_F(DialectFixture, SpreadsheetLayoutIsOneQuotedHeadingRowAndTheData)
{
    ASSERT_TRUE(LoadPlan(TwoChannelPlan(3), dir.path(), data, settings));
    const auto lines = exportLines(Dialect(FieldSeparator::Comma, DecimalMark::Point, StampLayout::Iso8601,
                                           HeaderLayout::Spreadsheet));
    ASSERT_EQ(lines.size(), 1 + 3);
    EXPECT_EQ(lines[0], "Timestamp,Bench air (Deg C),\"Shed, north\"");
    EXPECT_EQ(lines[1], "1998-03-05T09:07:03,0.392,0.784");
}

TEST_F(DialectFixture, TabularExportsIgnoreTheDialectAndCommaCommaIsRefused)
{
    ASSERT_TRUE(LoadPlan(TwoChannelPlan(3), dir.path(), data, settings));
    const CsvDialect semi = Dialect(FieldSeparator::Semicolon, DecimalMark::Comma, StampLayout::Iso8601,
                                    HeaderLayout::Spreadsheet);
    EXPECT_EQ(exportLines(semi, 1, false), exportLines({}, 1, false));

    ExportRequest req;
    req.path = dir.path() + "/refused.csv";
    req.dialect = Dialect(FieldSeparator::Comma, DecimalMark::Comma);
    const ExportResult r = ExportData(data, req, settings);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.startsWith("A comma cannot both separate the fields"));
    EXPECT_FALSE(QFile::exists(req.path));
}

TEST_F(DialectFixture, MultiBankRecordingsKeepTheirBankFileAndReexportInTheDialect)
{
    ASSERT_TRUE(LoadPlan(TwoChannelPlan(16128, 'G', 10), dir.path(), data, settings));
    ASSERT_TRUE(data.multiBank);
    const auto tl2 = FileLines(dir.path() + "/rec.TL2");
    EXPECT_EQ(tl2[16], "Date,Time,Ch1:Deg C,Ch2:");
    EXPECT_EQ(tl2[17], "03/05/1998,09:07:03,0.392,0.784");

    const CsvDialect semi = Dialect(FieldSeparator::Semicolon, DecimalMark::Comma, StampLayout::Iso8601,
                                    HeaderLayout::Spreadsheet);
    const auto all = exportLines(semi);
    ASSERT_EQ(all.size(), 1 + 16138);
    EXPECT_EQ(all[0], "Timestamp;Bench air (Deg C);Shed, north");
    EXPECT_EQ(all[1], "1998-03-05T09:07:03;0,392;0,784");
    const auto avg = exportLines(semi, 2);
    EXPECT_EQ(avg[1], "1998-03-05T09:08:03;0,588;0,980");
}

TEST(CsvDialectChoice, ACommaInBothPlacesGivesWayToTheLastChoice)
{
    const DialectChoice decimal = WithDecimalMark(CsvDialect{}, DecimalMark::Comma);
    EXPECT_EQ(decimal.dialect, Dialect(FieldSeparator::Semicolon, DecimalMark::Comma));
    EXPECT_FALSE(decimal.note.isEmpty());
    const DialectChoice separator = WithSeparator(decimal.dialect, FieldSeparator::Comma);
    EXPECT_EQ(separator.dialect, CsvDialect{});
    EXPECT_FALSE(separator.note.isEmpty());
    EXPECT_TRUE(WithSeparator(decimal.dialect, FieldSeparator::Tab).note.isEmpty());
}

TEST(ExportDialectFile, KeepsEveryChoiceAndReadsDamageAsTheDefault)
{
    QTemporaryDir dir;
    const ExportDialectFile file(dir.path() + "/");
    EXPECT_EQ(file.load(), CsvDialect{});   // no file yet
    for (const CsvDialect& d : {Dialect(FieldSeparator::Tab, DecimalMark::Comma, StampLayout::Iso8601,
                                        HeaderLayout::Spreadsheet),
                                Dialect(FieldSeparator::Semicolon, DecimalMark::Point), CsvDialect{}}) {
        ASSERT_TRUE(file.save(d).isEmpty());
        EXPECT_EQ(file.load(), d);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"export.ini"});

    EXPECT_EQ(ExportDialectFile::fromText("garbage\nseparator=pipe\nheader = Spreadsheet\n"),
              Dialect(FieldSeparator::Comma, DecimalMark::Point, StampLayout::DateAndTime, HeaderLayout::Spreadsheet));
    EXPECT_EQ(ExportDialectFile::fromText("separator=comma\ndecimal=comma\n"),
              Dialect(FieldSeparator::Semicolon, DecimalMark::Comma));
    EXPECT_FALSE(ExportDialectFile(dir.path() + "/missing/").save({}).isEmpty());
}

TEST(AsciiDialogDialect, OkExportsInTheChosenDialectAndKeepsAChangedChoice)
{
    QTemporaryDir dir;
    DataSet data;
    ASSERT_TRUE(LoadPlan(TwoChannelPlan(3), dir.path(), data, {}));
    std::int32_t averaging = 1;
    bool noHeader = false;
    tamble::test::ScriptedMessages messages;
    const ExportDialectFile file(dir.path() + "/");
    AsciiDialogModel m(data, averaging, noHeader, [] { return ExportSettings{}; }, messages, file);

    ASSERT_TRUE(m.chooseSaveName(dir.path() + "/same.csv"));
    ASSERT_TRUE(m.ok());
    EXPECT_FALSE(QFile::exists(file.path()));   // nothing chosen, nothing written

    m.setSeparator(FieldSeparator::Tab);
    m.setDecimalMark(DecimalMark::Comma);
    EXPECT_TRUE(m.dialectNote().isEmpty());
    m.setSpreadsheet(true);
    EXPECT_FALSE(m.noteVisible());
    ASSERT_TRUE(m.chooseSaveName(dir.path() + "/tab.csv"));
    ASSERT_TRUE(m.ok());
    EXPECT_EQ(FileLines(dir.path() + "/tab.csv")[1], "03/05/1998\t09:07:03\t0,392\t0,784");
    EXPECT_EQ(file.load(), m.dialect());

    m.setSeparator(FieldSeparator::Comma);
    EXPECT_EQ(m.dialect().decimalMark, DecimalMark::Point);
    EXPECT_FALSE(m.dialectNote().isEmpty());
    m.shown();   // reopened: the kept choice, no note
    EXPECT_EQ(m.dialect(), Dialect(FieldSeparator::Tab, DecimalMark::Comma, StampLayout::DateAndTime,
                                   HeaderLayout::Spreadsheet));
    EXPECT_TRUE(m.dialectNote().isEmpty());
}
