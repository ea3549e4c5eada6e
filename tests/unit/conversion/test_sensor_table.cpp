// Reading sensor table text and choosing the table file for a scaling code.

#include "conversion/sensor_table.h"

#include <gtest/gtest.h>

#include <string>

using namespace tamble;

namespace {

ParsedSensorTable Parse(const std::string& text, std::uint16_t fullScale = 4095)
{
    return ParseSensorTable(text, fullScale);
}

std::string TableWithPoints(int count)
{
    std::string text = "title\r\nT\r\nheadings\r\n";
    for (int i = 0; i < count; ++i)
        text += std::to_string(i) + " " + std::to_string(100000 - i) + "\r\n";
    return text;
}

} // namespace

TEST(SensorTableText, ReadsKindFromFirstCharacterOfLineTwoAndPointsFromLineFour)
{
    const auto t = Parse("Thermistor\r\nN percent\r\ndeg  pct\r\n10.5 80\r\n-3 20\r\n");
    ASSERT_EQ(t.status, TableParseStatus::Ok);
    EXPECT_EQ(t.kind, 'N');
    EXPECT_EQ(t.table.pointCount, 2.0f);
    EXPECT_FLOAT_EQ(t.table.outputColumn[0], 10.5f);
    EXPECT_FLOAT_EQ(t.table.outputColumn[1], -3.0f);
}

TEST(SensorTableText, KindNStoresPercentAsCountsOfFullScale)
{
    const auto t = Parse("t\nN\nh\n1 100\n2 50\n3 0\n", 1023);
    ASSERT_EQ(t.status, TableParseStatus::Ok);
    EXPECT_FLOAT_EQ(t.table.inputColumn[0], 1023.0f);
    EXPECT_FLOAT_EQ(t.table.inputColumn[1], 511.5f);
    EXPECT_FLOAT_EQ(t.table.inputColumn[2], 0.0f);
}

TEST(SensorTableText, OtherKindsKeepMeasuredValuesAsWritten)
{
    for (const char* kind : {"T", "L", "n", "x"}) {
        const auto t = Parse(std::string("t\n") + kind + "\nh\n1 100\n2 50\n", 1023);
        ASSERT_EQ(t.status, TableParseStatus::Ok) << kind;
        EXPECT_EQ(t.kind, kind[0]);
        EXPECT_FLOAT_EQ(t.table.inputColumn[0], 100.0f) << kind;
    }
}

TEST(SensorTableText, AcceptsEveryLineEndAndBlankSeparators)
{
    for (const std::string eol : {"\r\n", "\n", "\r"}) {
        const auto t = Parse("title" + eol + "T" + eol + "h" + eol + "  5\t\t1000.25  extra" + eol + "6 +9e2" + eol);
        ASSERT_EQ(t.status, TableParseStatus::Ok) << "line end size " << eol.size();
        EXPECT_EQ(t.table.pointCount, 2.0f);
        EXPECT_FLOAT_EQ(t.table.inputColumn[0], 1000.25f);
        EXPECT_FLOAT_EQ(t.table.inputColumn[1], 900.0f);
    }
}

TEST(SensorTableText, SkipsBlankLinesAndStopsAtDosEndOfFileMark)
{
    const auto t = Parse("t\r\nT\r\nh\r\n\r\n1 30\r\n   \r\n2 20\r\n\x1A" "garbage here\r\n");
    ASSERT_EQ(t.status, TableParseStatus::Ok);
    EXPECT_EQ(t.table.pointCount, 2.0f);
}

TEST(SensorTableText, EmptyKindLineGivesTemperatureKind)
{
    const auto t = Parse("t\r\n\r\nh\r\n1 30\r\n2 20\r\n");
    ASSERT_EQ(t.status, TableParseStatus::Ok);
    EXPECT_EQ(t.kind, '\0');
}

TEST(SensorTableText, RowsBeyondThePointsAreZero)
{
    const auto t = Parse(TableWithPoints(3));
    for (int i = 3; i < kSensorTableCapacity; ++i) {
        ASSERT_EQ(t.table.inputColumn[static_cast<std::size_t>(i)], 0.0f);
        ASSERT_EQ(t.table.outputColumn[static_cast<std::size_t>(i)], 0.0f);
    }
}

struct PointCountCase {
    int points;
    TableParseStatus status;
    float storedPoints;
};

class SensorTablePointCount : public ::testing::TestWithParam<PointCountCase> {};

TEST_P(SensorTablePointCount, AcceptsTwoTo255PointsOnly)
{
    const auto c = GetParam();
    const auto t = Parse(TableWithPoints(c.points));
    EXPECT_EQ(t.status, c.status);
    EXPECT_EQ(t.table.pointCount, c.storedPoints);
}

INSTANTIATE_TEST_SUITE_P(Counts, SensorTablePointCount,
                         ::testing::Values(PointCountCase{0, TableParseStatus::TooFewPoints, 0.0f},
                                           PointCountCase{1, TableParseStatus::TooFewPoints, 1.0f},
                                           PointCountCase{2, TableParseStatus::Ok, 2.0f},
                                           PointCountCase{255, TableParseStatus::Ok, 255.0f},
                                           PointCountCase{256, TableParseStatus::TooManyPoints, 255.0f},
                                           PointCountCase{1000, TableParseStatus::TooManyPoints, 255.0f}));

TEST(SensorTableText, MissingHeaderLinesGiveTooFewPoints)
{
    for (const std::string text : {"", "title", "title\r\nT", "title\r\nT\r\nheadings"})
        EXPECT_EQ(Parse(text).status, TableParseStatus::TooFewPoints) << text;
}

TEST(SensorTableText, PointLineWithoutTwoNumbersIsMalformedAndNamesTheLine)
{
    const std::string bad[] = {"1 20\r\n2 abc\r\n", "1 20\r\n2\r\n", "1 20\r\n2,5 10\r\n",
                               "1 20\r\nx 10\r\n", "1 20\r\n2 1e99\r\n", "1 20\r\n2 10x\r\n"};
    for (const auto& points : bad) {
        const auto t = Parse("t\r\nT\r\nh\r\n" + points);
        EXPECT_EQ(t.status, TableParseStatus::MalformedPoint) << points;
        EXPECT_EQ(t.lineNumber, 5) << points;
    }
}

struct FileNameCase {
    char code;
    const char* scalingText;
    const char* fileName;
};

class SensorTableFileNames : public ::testing::TestWithParam<FileNameCase> {};

TEST_P(SensorTableFileNames, FollowTheScalingCode)
{
    const auto c = GetParam();
    EXPECT_EQ(SensorTableFileName(c.code, c.scalingText), QString::fromLatin1(c.fileName));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SensorTableFileNames,
    ::testing::Values(
        // Tables named by the scaling text, blanks removed.
        FileNameCase{'A', "A           ", "A.Rvt"}, FileNameCase{'P', "P", "P.Rvt"},
        FileNameCase{'1', "  my tab    ", "mytab.Rvt"}, FileNameCase{'1', "3", "3.Rvt"},
        FileNameCase{'C', "            ", "C.Rvt"}, FileNameCase{'B', "", "C.Rvt"},
        // Tcq-B02 and Tcq-C03 codes share their type's table.
        FileNameCase{'Y', "", "b.mvt"}, FileNameCase{'v', "", "b.mvt"},
        FileNameCase{'Z', "", "c.mvt"}, FileNameCase{'w', "", "c.mvt"},
        FileNameCase{'d', "", "e.mvt"}, FileNameCase{'x', "", "e.mvt"},
        FileNameCase{'g', "", "j.mvt"}, FileNameCase{'y', "", "j.mvt"},
        FileNameCase{'h', "", "k.mvt"}, FileNameCase{'z', "", "k.mvt"},
        FileNameCase{'^', "", "n.mvt"}, FileNameCase{'{', "", "n.mvt"},
        FileNameCase{'_', "", "r.mvt"}, FileNameCase{'q', "", "r.mvt"},
        FileNameCase{'`', "", "s.mvt"}, FileNameCase{'}', "", "s.mvt"},
        FileNameCase{'a', "", "t.mvt"}, FileNameCase{'~', "", "t.mvt"},
        // Tcq-A01 and "cold" codes: the code letter.
        FileNameCase{'b', "", "b.mvt"}, FileNameCase{'k', "K", "k.mvt"},
        FileNameCase{'t', "", "t.mvt"}, FileNameCase{'f', "", "f.mvt"},
        FileNameCase{'i', "", "i.mvt"}, FileNameCase{'l', "", "l.mvt"},
        FileNameCase{'m', "", "m.mvt"}, FileNameCase{'u', "", "u.mvt"}));

TEST(SensorTableCodes, ThermocoupleCodesAreExactlyThoseAboveX)
{
    EXPECT_FALSE(IsThermocoupleCode('X'));
    EXPECT_FALSE(IsThermocoupleCode('3'));
    EXPECT_TRUE(IsThermocoupleCode('Y'));
    EXPECT_TRUE(IsThermocoupleCode('`'));
    EXPECT_TRUE(IsThermocoupleCode('~'));
    EXPECT_TRUE(IsThermocoupleCode(static_cast<char>(0xE9)));
}
