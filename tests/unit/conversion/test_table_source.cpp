// Sensor tables handed to the channel set-up from memory instead of the table folder.

#include "conversion/channel_scaling.h"

#include "table_files.h"

#include <gtest/gtest.h>

using namespace tamble;

namespace {

const QByteArray kThermistor = QByteArrayLiteral("Thermistor\r\nT\r\nC ohms\r\n0 30000\r\n25 10000\r\n50 4000\r\n");

struct SourceCase {
    const char* name;      // tables the source holds, with their texts
    QByteArray text;
    char code;
    const char* scaling;
    bool ok;
    const char* tableFile; // the table the set-up used
};

class TableSourceTest : public ::testing::TestWithParam<SourceCase> {};

} // namespace

TEST_P(TableSourceTest, SetUpReadsTheSourceAndNeverTheFolder)
{
    const SourceCase& c = GetParam();
    // A folder holding a different C.Rvt shows which one was read.
    test::TableFolder folder;
    folder.writeTable("C.Rvt", 'T', {{100.0, 30000.0}, {200.0, 10000.0}});
    MemoryTableSource tables;
    tables.add(QString::fromLatin1(c.name), c.text);
    ChannelScaling s;
    s.tableDirectory = folder.path();
    s.tableSource = &tables;
    const ScalingSetUpResult r = SetUpChannelScaling(s, 1, c.code, c.scaling);
    EXPECT_EQ(r.ok, c.ok);
    EXPECT_EQ(r.tableFile, QString::fromLatin1(c.tableFile));
    EXPECT_EQ(s.tableError, !c.ok);
    if (c.ok) {
        ASSERT_EQ(s.channels[0].table.points(), 3);
        EXPECT_FLOAT_EQ(s.channels[0].table.outputColumn[1], 25.0f);  // the source's table, not the folder's
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, TableSourceTest,
    ::testing::Values(SourceCase{"mytab.Rvt", kThermistor, 'A', "mytab", true, "mytab.Rvt"},
                      SourceCase{"MYTAB.RVT", kThermistor, 'A', "my tab", true, "mytab.Rvt"},  // letter case aside
                      SourceCase{"C.Rvt", kThermistor, 'A', "absent", true, "C.Rvt"},          // the fallback
                      SourceCase{"other.Rvt", kThermistor, 'A', "absent", false, "C.Rvt"},     // no fallback
                      SourceCase{"t.mvt", kThermistor, 't', "", true, "t.mvt"},
                      SourceCase{"C.Rvt", QByteArrayLiteral("short\r\nT\r\nx\r\n1 2\r\n"), 'A', "", false, "C.Rvt"}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(MemoryTableSource, FindsTablesWithoutRegardToCaseAndForgetsThemOnClear)
{
    MemoryTableSource tables;
    tables.add(QStringLiteral("Probe.Rvt"), "text");
    EXPECT_EQ(tables.read(QStringLiteral("probe.rvt")), QByteArray("text"));
    EXPECT_EQ(tables.read(QStringLiteral("PROBE.RVT")), QByteArray("text"));
    EXPECT_FALSE(tables.read(QStringLiteral("Probe")).has_value());
    tables.clear();
    EXPECT_FALSE(tables.read(QStringLiteral("Probe.Rvt")).has_value());
}
