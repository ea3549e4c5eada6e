// The sensor tables and colour file installed in data/: readable, in the
// order the reader needs, on the published curves, and exactly what
// tamble-tables writes.

#include "conversion/channel_scaling.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace tamble;

namespace {

const QString kDataDir = QStringLiteral(TAMBLE_SOURCE_DIR "/data");

const char* const kShippedTables[] = {"A.Rvt", "B.Rvt", "C.Rvt", "L.Rvt", "P.Rvt", "b.mvt", "c.mvt",
                                      "e.mvt", "j.mvt", "k.mvt", "n.mvt", "r.mvt", "s.mvt", "t.mvt",
                                      "f.mvt", "i.mvt", "l.mvt", "m.mvt", "u.mvt"};

QByteArray ReadData(const QString& name)
{
    QFile file(kDataDir + QLatin1Char('/') + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ParsedSensorTable ParseShipped(const char* name)
{
    const QByteArray text = ReadData(QString::fromLatin1(name));
    return ParseSensorTable(std::string_view(text.constData(), static_cast<std::size_t>(text.size())), 4095);
}

// The measured value of the row whose engineering value is `value`.
float MeasuredAt(const SensorTable& t, float value)
{
    for (int i = 0; i < t.points(); ++i)
        if (t.outputColumn[static_cast<std::size_t>(i)] == value)
            return t.inputColumn[static_cast<std::size_t>(i)];
    return NAN;
}

} // namespace

class ShippedTable : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedTable, ReadsCleanlyWithStrictlyDescendingMeasuredValues)
{
    const auto t = ParseShipped(GetParam());
    ASSERT_EQ(t.status, TableParseStatus::Ok);
    ASSERT_GE(t.table.points(), 55) << "long enough to use the search starts";
    for (int i = 1; i < t.table.points(); ++i)
        ASSERT_LT(t.table.inputColumn[static_cast<std::size_t>(i)], t.table.inputColumn[static_cast<std::size_t>(i - 1)])
            << "row " << i;
    EXPECT_EQ(t.kind, std::string(GetParam()) == "L.Rvt" ? 'L' : 'T');
    EXPECT_NE(t.table.inputColumn[0], 0.0f) << "not a count table";
}

INSTANTIATE_TEST_SUITE_P(Data, ShippedTable, ::testing::ValuesIn(kShippedTables),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (c == '.')
                                     c = '_';
                             return name + (std::isupper(static_cast<unsigned char>(name[0])) ? "_upper" : "");
                         });

// Values of the ITS-90 reference tables (mV, reference junction at 0 °C),
// as printed to three decimals.
struct ReferenceEmf {
    const char* table;
    float celsius;
    float millivolts;
};

class ThermocoupleReference : public ::testing::TestWithParam<ReferenceEmf> {};

TEST_P(ThermocoupleReference, TableRowMatchesThePublishedValue)
{
    const auto c = GetParam();
    const auto t = ParseShipped(c.table);
    EXPECT_NEAR(MeasuredAt(t.table, c.celsius), c.millivolts, 0.0006f) << c.table << " at " << c.celsius;
}

INSTANTIATE_TEST_SUITE_P(
    Its90, ThermocoupleReference,
    ::testing::Values(ReferenceEmf{"k.mvt", 100, 4.096f}, ReferenceEmf{"k.mvt", 500, 20.644f},
                      ReferenceEmf{"k.mvt", 1000, 41.276f}, ReferenceEmf{"k.mvt", -100, -3.554f},
                      ReferenceEmf{"k.mvt", -200, -5.891f}, ReferenceEmf{"k.mvt", 0, 0.000f},
                      ReferenceEmf{"j.mvt", 100, 5.269f}, ReferenceEmf{"j.mvt", 500, 27.393f},
                      ReferenceEmf{"j.mvt", 1000, 57.953f}, ReferenceEmf{"j.mvt", -200, -7.890f},
                      ReferenceEmf{"t.mvt", 100, 4.279f}, ReferenceEmf{"t.mvt", 400, 20.872f},
                      ReferenceEmf{"t.mvt", -100, -3.379f}, ReferenceEmf{"t.mvt", -200, -5.603f},
                      ReferenceEmf{"e.mvt", 100, 6.319f}, ReferenceEmf{"e.mvt", 500, 37.005f},
                      ReferenceEmf{"e.mvt", 1000, 76.373f}, ReferenceEmf{"e.mvt", -200, -8.825f},
                      ReferenceEmf{"n.mvt", 100, 2.774f}, ReferenceEmf{"n.mvt", 1000, 36.256f},
                      ReferenceEmf{"n.mvt", -200, -3.990f}, ReferenceEmf{"r.mvt", 500, 4.471f},
                      ReferenceEmf{"r.mvt", 1000, 10.506f}, ReferenceEmf{"s.mvt", 500, 4.233f},
                      ReferenceEmf{"s.mvt", 1000, 9.587f}, ReferenceEmf{"b.mvt", 1000, 4.834f},
                      ReferenceEmf{"b.mvt", 1820, 13.820f}, ReferenceEmf{"c.mvt", 100, 1.451f},
                      // "Cold" tables: types E, J, K, N, T down to -200 °C.
                      ReferenceEmf{"f.mvt", -200, -8.825f}, ReferenceEmf{"i.mvt", -200, -7.890f},
                      ReferenceEmf{"l.mvt", -200, -5.891f}, ReferenceEmf{"l.mvt", 25, 1.000f},
                      ReferenceEmf{"m.mvt", -200, -3.990f}, ReferenceEmf{"u.mvt", -200, -5.603f},
                      ReferenceEmf{"u.mvt", 0, 0.000f}));

TEST(ShippedResistanceTables, ThermistorsAre10kOhmAt25Degrees)
{
    for (const char* name : {"A.Rvt", "B.Rvt", "C.Rvt"})
        EXPECT_NEAR(MeasuredAt(ParseShipped(name).table, 25.0f), 10000.0f, 0.5f) << name;
}

TEST(ShippedResistanceTables, PlatinumFollowsTheStandardCurveFor10kOhm)
{
    const auto t = ParseShipped("P.Rvt").table;
    EXPECT_NEAR(MeasuredAt(t, 0.0f), 10000.0f, 0.01f);
    EXPECT_NEAR(MeasuredAt(t, 100.0f), 13850.55f, 0.01f);
    EXPECT_NEAR(MeasuredAt(t, -200.0f), 1852.01f, 0.01f);
    EXPECT_NEAR(MeasuredAt(t, 850.0f), 39048.11f, 0.01f);
}

TEST(ShippedResistanceTables, LightSensorIs20kOhmAt10Lux)
{
    EXPECT_NEAR(MeasuredAt(ParseShipped("L.Rvt").table, 10.0f), 20000.0f, 0.01f);
}

TEST(ShippedTablesInUse, TypeKOneMillivoltReads25Degrees)
{
    ChannelScaling s;
    s.tableDirectory = kDataDir;
    s.fullScaleCount = 5000; // one count is 10 µV at the Tcq-A01 range
    ASSERT_TRUE(SetUpChannelScaling(s, 3, 'k', "").ok);
    s.lastChannel1Value = 0.0f;
    std::uint16_t reading = 100;
    EXPECT_NEAR(ConvertReading(s, reading, 3), 25.0f, 0.05f);
    // With the cold junction at 25 °C (1.000 mV) the junction is at 2.000 mV,
    // just below the 2.023 mV of 50 °C.
    s.lastChannel1Value = 25.0f;
    EXPECT_NEAR(ConvertReading(s, reading, 3), 49.46f, 0.05f);
}

TEST(ShippedTablesInUse, ThermistorCReads25DegreesAtItsNominalResistance)
{
    ChannelScaling s;
    s.tableDirectory = kDataDir;
    s.referenceOhms = 10000.0f;
    s.fullScaleCount = 4094; // reading 2047 is 2.5 V: 10000 ohms
    ASSERT_TRUE(SetUpChannelScaling(s, 1, 'C', "C").ok);
    std::uint16_t reading = 2047;
    EXPECT_NEAR(ConvertReading(s, reading, 1), 25.0f, 0.01f);
}

TEST(ShippedColourFile, HoldsTheFactorySchemeOneCodePerLine)
{
    EXPECT_EQ(ReadData(QStringLiteral("default.gcf")), QByteArray("10\r\n6\r\n4\r\n7\r\n16\r\n10\r\n1\r\n1\r\n"));
}

TEST(ShippedSetupFile, IsTheFactorySetupRecord)
{
    const QByteArray set = ReadData(QStringLiteral("default.set"));
    ASSERT_EQ(set.size(), 781);
    EXPECT_EQ(set[0], 'D');                     // 10 seconds
    EXPECT_EQ(set.mid(2, 4), QByteArray("\x01\x01\x01\x01", 4));
    EXPECT_EQ(set.mid(6, 23), QByteArray("\x1f" "Orvane Scientific Inc."));
    EXPECT_EQ(set.mid(38, 10), QByteArray("\x18" "Channel 1"));
    EXPECT_EQ(set.mid(146, 4), QByteArray("CCCC"));
    EXPECT_EQ(set.mid(188, 13), QByteArray("\x0c" "100.000.0000"));
}

TEST(ShippedFiles, AreExactlyWhatTheGeneratorWrites)
{
    const QString tool = QStringLiteral(TAMBLE_BIN_DIR "/tamble-tables");
    if (!QFileInfo::exists(tool))
        GTEST_SKIP() << "tamble-tables is not built in this configuration";
    QTemporaryDir out;
    QProcess run;
    run.start(tool, {out.path()});
    ASSERT_TRUE(run.waitForFinished(60000));
    ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    const QStringList written = QDir(out.path()).entryList(QDir::Files);
    EXPECT_EQ(written.size(), 21);
    for (const QString& name : written) {
        QFile generated(out.filePath(name));
        ASSERT_TRUE(generated.open(QIODevice::ReadOnly));
        EXPECT_EQ(generated.readAll(), ReadData(name)) << name.toStdString() << " differs from data/";
    }
}
