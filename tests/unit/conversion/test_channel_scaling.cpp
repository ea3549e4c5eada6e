// Channel scaling set-up and the conversion of raw readings.

#include "conversion/channel_scaling.h"

#include "table_files.h"

#include <gtest/gtest.h>

#include <QDir>

#include <cmath>

#include <sys/stat.h>

using namespace tamble;
using tamble::test::DescendingPoints;
using tamble::test::TableFolder;

namespace {

class ChannelScalingTest : public ::testing::Test {
protected:
    ChannelScalingTest()
    {
        s.tableDirectory = folder.path();
        s.fullScaleCount = 4095;
        // The thermistor every missing table falls back to.
        folder.writeTable("C.Rvt", 'T', {{0.0, 30000.0}, {25.0, 10000.0}, {50.0, 4000.0}});
    }

    ScalingSetUpResult setUp(int channel, char code, std::string_view text = "")
    {
        return SetUpChannelScaling(s, channel, code, text);
    }

    float convert(int channel, std::uint16_t reading)
    {
        return ConvertReading(s, reading, channel);
    }

    TableFolder folder;
    ChannelScaling s;
};

} // namespace

// --- Linear scales and contact closures -------------------------------------

TEST_F(ChannelScalingTest, LinearScaleOn12BitLoggerGivesLowAtZeroAndHighAtFullScale)
{
    ASSERT_TRUE(setUp(1, '3', "0.0000100.00").ok);
    std::uint16_t top = 4095;
    EXPECT_EQ(convert(1, 0), 0.0f);
    EXPECT_EQ(ConvertReading(s, top, 1), 100.0f);
    EXPECT_EQ(top, 4095) << "count inputs are never lowered";
    EXPECT_NEAR(convert(1, 2048), 50.0122f, 1e-4);
    EXPECT_TRUE(s.channels[0].countInput);
}

TEST_F(ChannelScalingTest, LinearScaleReadsBothHalvesOfTheScalingText)
{
    ASSERT_TRUE(setUp(2, '3', "-40.00 125.0").ok);
    EXPECT_EQ(convert(2, 0), -40.0f);
    EXPECT_EQ(convert(2, 4095), 125.0f);
}

TEST_F(ChannelScalingTest, ContactClosureGivesClosedAndOpenValuesWithoutLowering)
{
    ASSERT_TRUE(setUp(1, 'X', "1.0000 0.0000").ok);
    std::uint16_t open = 4095;
    EXPECT_EQ(convert(1, 0), 1.0f);
    EXPECT_EQ(ConvertReading(s, open, 1), 0.0f);
    EXPECT_EQ(open, 4095);
    EXPECT_FALSE(s.channels[0].countInput) << "code X converts the count without the CountInput mark";
}

// --- Resistance inputs ---------------------------------------------------------

TEST_F(ChannelScalingTest, ResistanceIsTheVoltageDividerAgainstTheReferenceWithoutOffset)
{
    s.fullScaleCount = 255;
    s.referenceOhms = 10000.0f;
    s.labelOffset[0] = 5.0f;
    s.lastChannel1Value = -7.0f;
    ASSERT_TRUE(setUp(1, 'R').ok);
    EXPECT_NEAR(convert(1, 128), 10078.74f, 0.01f); // v = 2.5098 V
    EXPECT_EQ(s.lastChannel1Value, -7.0f) << "code R leaves the last channel 1 value";
}

TEST_F(ChannelScalingTest, ThermistorInterpolatesItsTableOnTheMeasuredResistance)
{
    s.fullScaleCount = 255;
    s.referenceOhms = 10000.0f;
    ASSERT_TRUE(setUp(1, 'C', "C").ok);
    EXPECT_NEAR(convert(1, 128), 24.9016f, 1e-3f); // 10078.7 ohms between 30000 and 10000
    EXPECT_NEAR(s.lastChannel1Value, 24.9016f, 1e-3f);
}

TEST_F(ChannelScalingTest, ThermistorReadingAtFullScaleIsConvertedAndStoredOneLower)
{
    s.fullScaleCount = 255;
    ASSERT_TRUE(setUp(1, 'C', "C").ok);
    std::uint16_t atTop = 255;
    const float top = ConvertReading(s, atTop, 1);
    EXPECT_EQ(atTop, 254);
    EXPECT_EQ(top, convert(1, 254));
}

TEST_F(ChannelScalingTest, LabelOffsetIsAddedToTableValues)
{
    s.fullScaleCount = 255;
    s.referenceOhms = 10000.0f;
    s.labelOffset[1] = -1.5f;
    ASSERT_TRUE(setUp(2, 'C', "C").ok);
    EXPECT_NEAR(convert(2, 128), 24.9016f - 1.5f, 1e-3f);
}

struct OpenInputCase {
    char code;
    float expected;
};

class OpenInput : public ::testing::TestWithParam<OpenInputCase> {};

TEST_P(OpenInput, ResistanceAboveSevenMegohmsGivesFixedValueWithoutOffset)
{
    TableFolder folder;
    folder.writeTable("C.Rvt", 'T', {{0.0, 30000.0}, {25.0, 10000.0}});
    folder.writeTable("L.Rvt", 'L', {{1.0, 90000.0}, {1000.0, 100.0}});
    ChannelScaling s;
    s.tableDirectory = folder.path();
    s.fullScaleCount = 255;
    s.referenceOhms = 30100.0f; // reading 254: 7.65 Mohm
    s.labelOffset[0] = 3.0f;
    s.lastChannel1Value = 12.0f;
    const char name[2] = {GetParam().code, '\0'};
    ASSERT_TRUE(SetUpChannelScaling(s, 1, GetParam().code, name).ok);
    std::uint16_t reading = 254;
    EXPECT_EQ(ConvertReading(s, reading, 1), GetParam().expected);
    EXPECT_EQ(s.lastChannel1Value, 12.0f);
}

INSTANTIATE_TEST_SUITE_P(Codes, OpenInput,
                         ::testing::Values(OpenInputCase{'C', -100.0f}, OpenInputCase{'R', -100.0f},
                                           OpenInputCase{'L', 0.0f}));

TEST_F(ChannelScalingTest, JustBelowSevenMegohmsIsStillAReadingInSinglePrecision)
{
    s.fullScaleCount = 255;
    s.referenceOhms = 10000.0f;
    ASSERT_TRUE(setUp(1, 'R').ok);
    // 2 540 000 ohms in exact arithmetic; 5 - v loses digits in single precision.
    EXPECT_EQ(convert(1, 254), 2539976.75f);
}

// --- Table shapes -----------------------------------------------------------

TEST_F(ChannelScalingTest, TwoPointTableIsInterpolatedAndExtrapolatedOnItsOneSegment)
{
    folder.writeTable("TWO.Rvt", 'T', {{0.0, 20000.0}, {100.0, 10000.0}});
    s.referenceOhms = 10000.0f;
    s.fullScaleCount = 4094; // reading 2047 is exactly 2.5 V, 10000 ohms
    ASSERT_TRUE(setUp(1, '1', "TWO").ok);
    EXPECT_NEAR(convert(1, 2047), 100.0f, 1e-3f);
    // 1365 counts: v = 1.66707 V, 5001.8 ohms, beyond the 10000-ohm end.
    EXPECT_NEAR(convert(1, 1365), 149.98f, 0.01f);
    // 3071 counts: v = 3.75061 V, 30019.6 ohms, beyond the 20000-ohm end.
    EXPECT_NEAR(convert(1, 3071), -100.196f, 0.01f);
}

TEST_F(ChannelScalingTest, KindLTableMarksTheChannelAsNotATemperature)
{
    folder.writeTable("L.Rvt", 'L', {{1.0, 90000.0}, {1000.0, 100.0}});
    ASSERT_TRUE(setUp(4, 'L', "L").ok);
    EXPECT_TRUE(s.channels[3].nonTemperature);
    EXPECT_FALSE(s.channels[3].countInput);
    EXPECT_FALSE(CountsAsTemperature(s, 4));
}

TEST_F(ChannelScalingTest, KindNTableIsACountTableInPercentOfFullScale)
{
    s.fullScaleCount = 1023;
    folder.writeTable("HUM.Rvt", 'N', {{100.0, 100.0}, {0.0, 0.0}});
    ASSERT_TRUE(setUp(3, '1', "HUM").ok);
    EXPECT_TRUE(s.channels[2].countInput);
    std::uint16_t top = 1023;
    EXPECT_EQ(ConvertReading(s, top, 3), 100.0f);
    EXPECT_EQ(top, 1023);
    EXPECT_NEAR(convert(3, 512), 50.0489f, 1e-3f);
}

TEST_F(ChannelScalingTest, TableStartingAtZeroIsACountTableUsingItsFirstSegment)
{
    folder.writeTable("PULSE.Rvt", 'T', {{0.0, 0.0}, {500.0, 1000.0}, {9.0, 9.0}});
    ASSERT_TRUE(setUp(4, '1', "PULSE").ok);
    EXPECT_TRUE(s.channels[3].countInput);
    EXPECT_EQ(convert(4, 200), 100.0f);
    EXPECT_EQ(convert(4, 4000), 2000.0f);
}

TEST_F(ChannelScalingTest, FixCountTablesStretchesAFlatFirstSegmentToFullScale)
{
    folder.writeTable("FLAT.Rvt", 'T', {{5.0, 0.0}, {7.0, 0.0}});
    ASSERT_TRUE(setUp(2, '1', "FLAT").ok);
    ASSERT_TRUE(setUp(1, '3', "0.0000100.00").ok);
    EXPECT_EQ(convert(2, 4095), 5.0f) << "a zero-width segment gives its first value";
    FixCountTables(s);
    EXPECT_EQ(s.channels[1].table.inputColumn[1], 4095.0f);
    EXPECT_EQ(convert(2, 4095), 7.0f);
    EXPECT_EQ(s.channels[0].table.inputColumn[1], 4095.0f);
}

// The long-table search starts must find the same segment as a plain scan
// from the first row for every reading of a descending table.
namespace {

int ScanFromFirstRow(const SensorTable& t, float a)
{
    if (t.inputColumn[0] == 0.0f)
        return 1;
    for (int k = 1; k <= t.points() - 2; ++k)
        if (t.inputColumn[static_cast<std::size_t>(k)] <= a)
            return k;
    return t.points() - 1;
}

float Segment(const SensorTable& t, int k, float a)
{
    const auto i = static_cast<std::size_t>(k);
    return t.outputColumn[i - 1]
        + (t.outputColumn[i] - t.outputColumn[i - 1]) * (a - t.inputColumn[i - 1])
        / (t.inputColumn[i] - t.inputColumn[i - 1]);
}

} // namespace

class LongTableSearch : public ::testing::TestWithParam<int> {};

TEST_P(LongTableSearch, CountTableOfAnyLengthFindsTheScanSegment)
{
    const int points = GetParam();
    TableFolder folder;
    // Kind N with full scale 100 keeps the percent values as counts.
    folder.writeTable("LONG.Rvt", 'N', DescendingPoints(points, 5000.0, 4000.0 / points));
    ChannelScaling s;
    s.tableDirectory = folder.path();
    s.fullScaleCount = 100;
    ASSERT_TRUE(SetUpChannelScaling(s, 1, '1', "LONG").ok);
    const SensorTable& t = s.channels[0].table;
    for (int reading = 0; reading <= 6000; reading += 7) {
        std::uint16_t r = static_cast<std::uint16_t>(reading);
        const float a = static_cast<float>(reading);
        ASSERT_EQ(ConvertReading(s, r, 1), Segment(t, ScanFromFirstRow(t, a), a)) << "reading " << reading;
    }
}

TEST_P(LongTableSearch, ThermocoupleTableOfAnyLengthFindsTheScanSegment)
{
    const int points = GetParam();
    TableFolder folder;
    folder.writeTable("k.mvt", 'T', DescendingPoints(points, 50.0, 60.0 / points));
    ChannelScaling s;
    s.tableDirectory = folder.path();
    s.fullScaleCount = 4095;
    ASSERT_TRUE(SetUpChannelScaling(s, 3, 'k', "").ok);
    const SensorTable& t = s.channels[2].table;
    s.lastChannel1Value = static_cast<float>(points) / 2.0f;
    const float cold = ColdJunctionMillivolts(t, s.lastChannel1Value);
    for (int reading = 0; reading < 4095; reading += 3) {
        std::uint16_t r = static_cast<std::uint16_t>(reading);
        const float a = cold + static_cast<float>(reading) * 5.0f / 4095.0f * 10.0f;
        ASSERT_EQ(ConvertReading(s, r, 3), Segment(t, ScanFromFirstRow(t, a), a)) << "reading " << reading;
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongTableSearch, ::testing::Values(2, 3, 54, 55, 56, 67, 100, 150, 151, 152, 199, 200, 201, 254, 255));

TEST(LongTableSearchStart, BeginsPastRowsTheStartRuleSkipsEvenWhenTheyWouldMatch)
{
    // Row 10 breaks the descending order. A reading below row 54 starts the
    // scan at row 55, so it is never looked at.
    auto points = DescendingPoints(60, 1000.0, 1.0);
    points[10].second = 0.0;
    TableFolder folder;
    folder.writeTable("ODD.Rvt", 'N', points);
    ChannelScaling s;
    s.tableDirectory = folder.path();
    s.fullScaleCount = 100;
    ASSERT_TRUE(SetUpChannelScaling(s, 1, '1', "ODD").ok);
    std::uint16_t reading = 500;
    // Last segment (rows 58, 59: 942 -> 58, 941 -> 59), extrapolated to 500.
    EXPECT_EQ(ConvertReading(s, reading, 1), 58.0f + (59.0f - 58.0f) * (500.0f - 942.0f) / (941.0f - 942.0f));
}

// --- Thermocouples -----------------------------------------------------------

class ThermocoupleTest : public ChannelScalingTest {
protected:
    ThermocoupleTest()
    {
        // 10 mV per 100 degrees, a straight line, for exact arithmetic.
        folder.writeTable("k.mvt", 'T', {{300.0, 30.0}, {200.0, 20.0}, {100.0, 10.0}, {0.0, 0.0}, {-100.0, -10.0}});
        s.fullScaleCount = 5000; // one count is one millivolt at the Tcq-A01 range
    }
};

TEST_F(ThermocoupleTest, ColdJunctionMillivoltsIsTheReverseLookupOfTheTable)
{
    ASSERT_TRUE(setUp(3, 'k').ok);
    const SensorTable& t = s.channels[2].table;
    EXPECT_FLOAT_EQ(ColdJunctionMillivolts(t, 25.0f), 2.5f);
    EXPECT_FLOAT_EQ(ColdJunctionMillivolts(t, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(ColdJunctionMillivolts(t, 350.0f), 35.0f);
    EXPECT_FLOAT_EQ(ColdJunctionMillivolts(t, -150.0f), -15.0f);
}

TEST_F(ThermocoupleTest, TcqA01AddsColdJunctionFromChannel1ToTenTimesTheInputVoltage)
{
    ASSERT_TRUE(setUp(1, '3', "0.0000100.00").ok);
    s.labelOffset[0] = 25.0f; // channel 1 reads 25 degrees at count 0
    ASSERT_TRUE(setUp(3, 'k').ok);
    EXPECT_EQ(convert(1, 0), 25.0f);
    EXPECT_NEAR(convert(3, 1000), 125.0f, 1e-3f); // 0.5 V = 5 mV, + 2.5 mV cold junction
    s.labelOffset[0] = 0.0f;
    convert(1, 0);
    EXPECT_NEAR(convert(3, 1000), 100.0f, 1e-3f);
}

TEST_F(ThermocoupleTest, InputRangeFollowsTheCodeGroup)
{
    s.lastChannel1Value = 0.0f;
    // Tcq-B02 (h): (v - 2.5) × 19.6; Tcq-C03 (z): (v - 2.5) × 9.9; "cold" (l): v × 10.
    folder.writeTable("l.mvt", 'T', {{300.0, 30.0}, {0.0, 0.0}, {-100.0, -10.0}});
    ASSERT_TRUE(setUp(3, 'h').ok);
    EXPECT_NEAR(convert(3, 3000), 98.0f, 1e-3f);  // 3.0 V -> 9.8 mV
    EXPECT_NEAR(convert(3, 2000), -98.0f, 1e-3f); // 2.0 V -> -9.8 mV
    ASSERT_TRUE(setUp(3, 'z').ok);
    EXPECT_NEAR(convert(3, 3000), 49.5f, 1e-3f);
    ASSERT_TRUE(setUp(3, 'l').ok);
    EXPECT_NEAR(convert(3, 1500), 150.0f, 1e-3f);
}

TEST_F(ThermocoupleTest, ThermocoupleReadingAtFullScaleIsLoweredByOne)
{
    s.lastChannel1Value = 0.0f;
    ASSERT_TRUE(setUp(3, 'k').ok);
    std::uint16_t top = 5000;
    EXPECT_NEAR(ConvertReading(s, top, 3), 499.9f, 1e-3f);
    EXPECT_EQ(top, 4999);
}

TEST_F(ThermocoupleTest, MissingThermocoupleTableFallsBackToCRvtSilently)
{
    const auto r = setUp(3, 'j');
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.message.isEmpty());
    EXPECT_EQ(r.tableFile, QStringLiteral("C.Rvt"));
    EXPECT_FALSE(s.tableError);
    EXPECT_EQ(s.channels[2].table.pointCount, 3.0f);
}

// --- Humidity pairs ----------------------------------------------------------

class HumidityTest : public ChannelScalingTest {
protected:
    HumidityTest()
    {
        // Channels 1 and 3 temperature/RH; channel 1 reads 25 °C, channel 3 50 %.
        s.inputTypes = 0x041;
        s.labelOffset = {25.0f, 0.0f, 50.0f, 0.0f};
        setUp(1, '3', "0.0000100.00");
        setUp(3, '3', "0.0000100.00");
    }
    float pairValue()
    {
        convert(1, 0);
        return convert(3, 0);
    }
};

TEST_F(HumidityTest, RelativeHumidityIsCorrectedForTheTemperatureOfTheChannelPair)
{
    EXPECT_NEAR(pairValue(), 49.970f, 1e-3f); // 50 / (1.093 - 0.0012 × 77)
    EXPECT_TRUE(s.humidityDerived[2]);
}

TEST_F(HumidityTest, DewPointAndWetBulbFollowTheHumidityQuantitySetting)
{
    s.humidityQuantity = kDewPoint;
    EXPECT_NEAR(pairValue(), 13.825f, 2e-3f);
    s.humidityQuantity = kWetBulb;
    EXPECT_NEAR(pairValue(), 18.238f, 2e-3f);
    s.fahrenheit = true;
    EXPECT_NEAR(pairValue(), 64.828f, 4e-3f);
    s.humidityQuantity = kDewPoint;
    EXPECT_NEAR(pairValue(), 56.885f, 4e-3f);
    s.humidityQuantity = kRelativeHumidity;
    EXPECT_NEAR(pairValue(), 49.970f, 1e-3f) << "RH stays in percent";
}

TEST_F(HumidityTest, RelativeHumidityIsLimitedTo0And100)
{
    s.labelOffset[2] = 150.0f;
    EXPECT_EQ(pairValue(), 100.0f);
    s.labelOffset[2] = -20.0f;
    EXPECT_EQ(pairValue(), 0.0f);
}

TEST_F(HumidityTest, WithoutBothInputTypesTheValueIsPlainAndNotHumidityDerived)
{
    s.humidityDerived[2] = true;
    s.inputTypes = 0x040; // channel 3 only
    EXPECT_EQ(pairValue(), 50.0f);
    EXPECT_FALSE(s.humidityDerived[2]);
    s.inputTypes = 0x001; // channel 1 only
    EXPECT_EQ(pairValue(), 50.0f);
}

TEST_F(HumidityTest, Channel4PairsWithChannel2)
{
    s.inputTypes = 0x208; // channels 2 and 4
    s.labelOffset = {0.0f, 25.0f, 0.0f, 50.0f};
    setUp(2, '3', "0.0000100.00");
    setUp(4, '3', "0.0000100.00");
    convert(1, 0);
    convert(2, 0);
    EXPECT_NEAR(convert(4, 0), 49.970f, 1e-3f);
    EXPECT_TRUE(s.humidityDerived[3]);
    EXPECT_EQ(s.lastChannel2Value, 25.0f);
}

struct VapourCase {
    float t;
    float rh;
    float dewPoint;
};

class DewPointLimits : public ::testing::TestWithParam<VapourCase> {};

TEST_P(DewPointLimits, TemperatureAndHumidityAreLimitedFirst)
{
    const auto c = GetParam();
    EXPECT_NEAR(DewPoint(c.t, c.rh, false), c.dewPoint, 2e-3f);
    EXPECT_NEAR(DewPoint(c.t, c.rh, true), c.dewPoint * 9.0f / 5.0f + 32.0f, 4e-3f);
}

INSTANTIATE_TEST_SUITE_P(Cases, DewPointLimits,
                         ::testing::Values(VapourCase{20.0f, 100.0f, 20.0f}, VapourCase{0.0f, 100.0f, 0.0f},
                                           VapourCase{100.0f, 50.0f, 68.327f},  // as 85 °C
                                           VapourCase{-50.0f, 50.0f, -46.400f}, // as -40 °C
                                           VapourCase{20.0f, 0.0f, -74.536f})); // as 0.01 %

TEST(WetBulb, SaturatedAirIsAtItsOwnTemperature)
{
    EXPECT_NEAR(WetBulb(20.0f, 100.0f, false), 20.0f, 2e-3f);
    EXPECT_NEAR(WetBulb(20.0f, 100.0f, true), 68.0f, 4e-3f);
}

// --- Fahrenheit rule and label offsets ----------------------------------------

TEST(Fahrenheit, IsNineFifthsPlus32)
{
    EXPECT_EQ(CelsiusToFahrenheit(100.0f), 212.0f);
    EXPECT_EQ(CelsiusToFahrenheit(-40.0f), -40.0f);
    EXPECT_EQ(CelsiusToFahrenheit(25.0f), 77.0f);
    EXPECT_EQ(CelsiusToFahrenheit(0.0f), 32.0f);
}

TEST_F(ChannelScalingTest, OnlyTableTemperaturesCountAsTemperatures)
{
    folder.writeTable("L.Rvt", 'L', {{1.0, 90000.0}, {1000.0, 100.0}});
    setUp(1, 'C', "C");
    setUp(2, 'R');
    setUp(3, 'X', "1.0000 0.0000");
    setUp(4, '3', "0.0000100.00");
    EXPECT_TRUE(CountsAsTemperature(s, 1));
    EXPECT_FALSE(CountsAsTemperature(s, 2));
    EXPECT_FALSE(CountsAsTemperature(s, 3));
    EXPECT_FALSE(CountsAsTemperature(s, 4));
    setUp(4, 'L', "L");
    EXPECT_FALSE(CountsAsTemperature(s, 4));
    setUp(4, 'h');
    EXPECT_TRUE(CountsAsTemperature(s, 4)) << "thermocouples are temperatures";
}

struct LabelCase {
    const char* label;
    float offset;
};

class LabelOffsets : public ::testing::TestWithParam<LabelCase> {};

TEST_P(LabelOffsets, AreTheNumberInsideTheFirstBrackets)
{
    EXPECT_EQ(LabelOffsetFromLabel(QString::fromLatin1(GetParam().label)), GetParam().offset) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Labels, LabelOffsets,
    ::testing::Values(LabelCase{"Tank 3 [-1.5]", -1.5f}, LabelCase{"Air [+2]", 2.0f}, LabelCase{"[0.25]x", 0.25f},
                      LabelCase{"Probe [ 3.5 ]", 3.5f}, LabelCase{"Channel 1", 0.0f}, LabelCase{"Open [2.5", 0.0f},
                      LabelCase{"Close ]1[", 0.0f}, LabelCase{"a]b[4]", 4.0f}, LabelCase{"Bad [abc]", 0.0f},
                      LabelCase{"Part [12abc]", 12.0f}, LabelCase{"[1e1]", 10.0f}, LabelCase{"[]", 0.0f},
                      LabelCase{"[1][2]", 1.0f}));

// --- Set-up failures -----------------------------------------------------------

TEST_F(ChannelScalingTest, MissingTableFallsBackToCRvt)
{
    const auto r = setUp(2, '1', "NOSUCH");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.tableFile, QStringLiteral("C.Rvt"));
}

TEST_F(ChannelScalingTest, TableNamesDifferingOnlyInLetterCaseAreFound)
{
    folder.writeTable("MYTAB.RVT", 'T', {{1.0, 2.0}, {3.0, 1.0}});
    const auto r = setUp(2, '1', "mytab");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.tableFile, QStringLiteral("mytab.Rvt"));
    EXPECT_EQ(s.channels[1].table.outputColumn[1], 3.0f);
}

TEST_F(ChannelScalingTest, TableNamesThatLeaveTheTableFolderAreTreatedAsMissing)
{
    const auto r = setUp(2, '1', "../C");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.tableFile, QStringLiteral("C.Rvt"));
}

TEST_F(ChannelScalingTest, FoldersAndPipesUnderATableNameAreTreatedAsMissing)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("DIR.Rvt")));
    ASSERT_EQ(::mkfifo(QDir(folder.path()).filePath(QStringLiteral("PIPE.Rvt")).toLocal8Bit().constData(), 0600), 0);
    for (const char* name : {"DIR", "PIPE"}) {
        const auto r = setUp(1, '1', name);
        EXPECT_TRUE(r.ok) << name;
        EXPECT_EQ(r.tableFile, QStringLiteral("C.Rvt")) << name;
    }
}

TEST(ChannelScalingSetUp, MissingFallBackTableIsATableErrorNotACrash)
{
    TableFolder empty;
    ChannelScaling s;
    s.tableDirectory = empty.path();
    const auto r = SetUpChannelScaling(s, 1, 'A', "A");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("Sensor Table 'C.Rvt' not found"));
    EXPECT_TRUE(s.tableError);
    std::uint16_t reading = 2000;
    EXPECT_TRUE(std::isfinite(ConvertReading(s, reading, 1)));
}

struct BadTableCase {
    const char* name;
    QByteArray contents;
};

class BadTable : public ::testing::TestWithParam<BadTableCase> {};

TEST_P(BadTable, ShowsImproperFormatSetsTableErrorAndStillConvertsSafely)
{
    TableFolder folder;
    folder.write("BAD.Rvt", GetParam().contents);
    ChannelScaling s;
    s.tableDirectory = folder.path();
    const auto r = SetUpChannelScaling(s, 2, '1', "BAD");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("Sensor Table 'BAD.Rvt' has improper format"));
    EXPECT_TRUE(s.tableError);
    for (std::uint16_t reading : {0, 1, 2000, 4094, 4095, 65535}) {
        std::uint16_t r16 = reading;
        ConvertReading(s, r16, 2); // must not read outside the table
    }
}

namespace {

QByteArray Rows(int count)
{
    QByteArray text = "t\r\nT\r\nh\r\n";
    for (int i = 0; i < count; ++i)
        text += QByteArray::number(i) + " " + QByteArray::number(1000000 - i) + "\r\n";
    return text;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Contents, BadTable,
                         ::testing::Values(BadTableCase{"empty file", QByteArray()},
                                           BadTableCase{"headers only", "t\r\nT\r\nh\r\n"},
                                           BadTableCase{"one point", Rows(1)},
                                           BadTableCase{"256 points", Rows(256)},
                                           BadTableCase{"1000 points", Rows(1000)},
                                           BadTableCase{"text in a point", "t\r\nT\r\nh\r\n1 2\r\nthree 4\r\n5 6\r\n"},
                                           BadTableCase{"binary", QByteArray("\x00\xff\x01\r\n\x00\x00", 7)}));

TEST_F(ChannelScalingTest, TableWith255PointsIsAccepted)
{
    folder.write("FULL.Rvt", Rows(255));
    const auto r = setUp(1, '1', "FULL");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(s.channels[0].table.pointCount, 255.0f);
}

TEST_F(ChannelScalingTest, TableErrorStaysSetUntilTheCallerClearsIt)
{
    folder.write("BAD.Rvt", Rows(1));
    EXPECT_FALSE(setUp(1, '1', "BAD").ok);
    EXPECT_TRUE(setUp(2, 'C', "C").ok);
    EXPECT_TRUE(s.tableError);
    s.tableError = false;
    EXPECT_TRUE(setUp(1, 'C', "C").ok);
    EXPECT_FALSE(s.tableError);
}

TEST_F(ChannelScalingTest, ChannelNotFittedConvertsToZeroAndLeavesSharedValues)
{
    setUp(1, '0');
    s.lastChannel1Value = 9.0f;
    EXPECT_EQ(convert(1, 1234), 0.0f);
    EXPECT_EQ(s.lastChannel1Value, 9.0f);
    EXPECT_EQ(convert(0, 1), 0.0f);
    EXPECT_EQ(convert(5, 1), 0.0f);
}
