// Scale value texts and the current loop, linear transducer and adjust calculators.

#include "setup/scaling_calculators.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tamble;

TEST(ScaleValueText, TypedValuesBecomeSixCharacters)
{
    const struct {
        const char* typed;
        const char* normalised;
    } cases[] = {
        {"5", "5.0000"},      {"12.5", "12.500"},   {"100", "100.00"},  {"-1", "-1.000"},
        {"", "0.0000"},       {"123456", "123456"}, {"5.", "5.0000"},   {".5", ".50000"},
        {"1234567", "123456"}, {"12345.678", "12345."}, {"-12345678", "-12345"}, {" 0.000", " 0.000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NormaliseScaleValue(QString::fromLatin1(c.typed)), QString::fromLatin1(c.normalised)) << c.typed;
}

TEST(ScaleValueText, CalculatedValuesAreFormattedAndCutToSix)
{
    const struct {
        double value;
        const char* text;
        bool fits;
    } cases[] = {
        {-25.0, "-25.00", true},   {100.502, "100.50", true}, {0.0, " 0.000", true},
        {1234.567, "1234.5", true}, {2.5, " 2.500", true},    {97.5, "97.500", true},
        {-0.0004, "-0.000", true}, {123456.7, "123456", true}, {-99999.9, "-99999", true},
        {1234567.0, "123456", false}, {-100000.0, "-10000", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatScaleValue(c.value), QString::fromLatin1(c.text)) << c.value;
        EXPECT_EQ(FitsScaleValue(c.value), c.fits) << c.value;
    }
    EXPECT_FALSE(FitsScaleValue(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(FitsScaleValue(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(FitsScaleValue(-std::numeric_limits<double>::infinity()));
}

TEST(FieldNumbers, OnlyPlainDecimalNumbersCount)
{
    const struct {
        const char* text;
        double value;
    } numbers[] = {{"5", 5}, {" -2.5 ", -2.5}, {".5", 0.5}, {"5.", 5}, {"+3", 3}, {"-0.000", 0}, {" 0.000", 0}};
    for (const auto& n : numbers) {
        const auto v = ParseFieldNumber(QString::fromLatin1(n.text));
        ASSERT_TRUE(v.has_value()) << n.text;
        EXPECT_DOUBLE_EQ(*v, n.value) << n.text;
    }
    for (const char* bad : {"", " ", "-", ".", "+.", "1-2", "1.2.3", "nan", "NaN", "inf", "-inf", "1e5", "12,5", "0x10"})
        EXPECT_FALSE(ParseFieldNumber(QString::fromLatin1(bad)).has_value()) << bad;
}

namespace {

struct Expect {
    Expect(const char* l, const char* h) : low(l), high(h) {}
    Expect(const char*, const char*, QStringList m, int bad = -1) : messages(std::move(m)), badField(bad) {}
    const char* low = nullptr;    // expected values on success
    const char* high = nullptr;
    QStringList messages;         // expected messages on failure
    int badField = -1;
};

void Check(const CalculatorResult& r, const Expect& e, const std::string& what)
{
    EXPECT_EQ(r.messages, e.messages) << what;
    EXPECT_EQ(r.badField, e.badField) << what;
    EXPECT_EQ(r.ok, e.messages.isEmpty()) << what;
    if (e.messages.isEmpty()) {
        EXPECT_EQ(r.low, QString::fromLatin1(e.low)) << what;
        EXPECT_EQ(r.high, QString::fromLatin1(e.high)) << what;
    } else {
        EXPECT_TRUE(r.low.isEmpty() && r.high.isEmpty()) << what;
    }
}

const QString kNoFit = QStringLiteral("The calculated scale does not fit in 6 characters; choose other values");

} // namespace

TEST(CurrentLoopCalculator, ExamplesAndRefusals)
{
    const struct {
        CurrentLoopEntries in;
        Expect out;
    } cases[] = {
        {{"4", "20", "249", "0", "100"}, {"-25.00", "100.50"}},
        {{"4", "20", "249", "-50", "50"}, {"-75.00", "50.502"}},
        {{"0", "20", "250", "0", "100"}, {" 0.000", "100.00"}},                 // 0 mA counts as -0.000001
        {{"4", "20", "249", "0", "100000"}, {"-25000", "100502"}},              // decimals cut away
        {{"4", "20", "249", "0", "1000000"}, {nullptr, nullptr, {kNoFit}}},     // integer part would be cut
        {{"0", "0", "249", "0", "100"}, {nullptr, nullptr, {kNoFit}}},          // 0 to 0 mA: no span at all
        {{"20", "4", "249", "0", "100"}, {nullptr, nullptr, {"Lo Milliamps is greater than Hi Milliamps"}}},
        {{"4", "4", "249", "0", "100"}, {nullptr, nullptr, {"Same value entered for Lo/Hi Milliamps"}}},
        {{"4", "20", "249", "50", "50"}, {nullptr, nullptr, {"Same value entered for Zero/Full Scale Reading"}}},
        {{"4", "20", "0", "0", "100"}, {nullptr, nullptr, {"Resistor Ohms must be greater than 0"}}},
        {{"4", "20", "-249", "0", "100"}, {nullptr, nullptr, {"Resistor Ohms must be greater than 0"}}},
        {{"", "20", "249", "0", "100"}, {nullptr, nullptr, {"Low Milliamps is not a number"}, kLoMaField}},
        {{"4", "20", "nan", "0", "100"}, {nullptr, nullptr, {"Resistor Ohms is not a number"}, kOhmsField}},
        {{"4", "20", "249", "0", "inf"}, {nullptr, nullptr, {"High Reading is not a number"}, kCloopFSField}},
        {{"4", "x", "249", "-", "100"}, {nullptr, nullptr, {"High Milliamps is not a number"}, kHiMaField}},
    };
    for (const auto& c : cases) {
        const std::string what = (c.in.lowMilliamps + "|" + c.in.highMilliamps + "|" + c.in.resistorOhms + "|"
                                  + c.in.lowReading + "|" + c.in.highReading).toStdString();
        Check(CalculateCurrentLoop(c.in), c.out, what);
    }
}

TEST(LinearTransducerCalculator, ExamplesAndRefusals)
{
    const struct {
        LinearTransducerEntries in;
        Expect out;
    } cases[] = {
        {{"0", "5", "0", "100"}, {" 0.000", "100.00"}},
        {{"1", "5", "0", "100"}, {"-25.00", "100.00"}},
        {{"0", "5", "-40", "60"}, {"-40.00", "60.000"}},
        {{"0", "5", "1234.567", "2000"}, {"1234.5", "2000.0"}},
        {{"0", "0.001", "0", "1000"}, {nullptr, nullptr, {kNoFit}}},
        {{"5", "1", "0", "100"}, {nullptr, nullptr, {"Min dc volts is greater than Max dc volts"}}},
        {{"2", "2", "0", "100"}, {nullptr, nullptr, {"Same value entered for Min/Max dc volts"}}},
        {{"0", "5", "7", "7"}, {nullptr, nullptr, {"Same value entered for Zero/Full Scale Reading"}}},
        {{"0", "5", "", "100"}, {nullptr, nullptr, {"Minimum Reading is not a number"}, kMinReadingField}},
        {{"0", "-", "0", "100"}, {nullptr, nullptr, {"Maximum dc volts is not a number"}, kMaxVoltsField}},
    };
    for (const auto& c : cases) {
        const std::string what = (c.in.minimumVolts + "|" + c.in.maximumVolts + "|" + c.in.minimumReading + "|"
                                  + c.in.maximumReading).toStdString();
        Check(CalculateLinearTransducer(c.in), c.out, what);
    }
}

TEST(AdjustCalculator, ExamplesAndRefusals)
{
    const QString lowHigher = QStringLiteral("Low logger is higher than High logger reading");
    const QString trueHigher = QStringLiteral("Low true value is higher than High true value");
    const struct {
        AdjustEntries in;
        Expect out;
    } cases[] = {
        {{"10", "12", "90", "88", "0.0000", "100.00"}, {" 2.500", "97.500"}},
        {{"-40", "-38", "40", "42", "-50.00", "50.000"}, {"-48.00", "52.000"}},
        {{"10", "10", "90", "90", "0.0000", "100.00"}, {" 0.000", "100.00"}},
        {{"90", "88", "10", "12", "0.0000", "100.00"}, {nullptr, nullptr, {lowHigher, trueHigher}}},
        {{"10", "88", "90", "12", "0.0000", "100.00"}, {nullptr, nullptr, {trueHigher}}},
        {{"90", "12", "10", "88", "0.0000", "100.00"}, {nullptr, nullptr, {lowHigher}}},
        {{"50", "12", "50", "88", "0.0000", "100.00"}, {nullptr, nullptr, {"Same value entered for Low and High logger"}}},
        {{"50", "20", "50", "20", "0.0000", "100.00"}, {nullptr, nullptr, {"Same value entered for Low and High logger"}}},
        {{"10", "50", "90", "50", "0.0000", "100.00"}, {nullptr, nullptr, {"Same value entered for Low / High true"}}},
        {{"10", "12", "90", "88", "100.00", "100.00"}, {nullptr, nullptr, {"Old scaling has the same Lo and Hi value"}}},
        {{"10", "12", "10.001", "9000", "0.0000", "100.00"}, {nullptr, nullptr, {kNoFit}}},
        {{"", "", "", "", "0.0000", "100.00"}, {nullptr, nullptr, {"Low logger reading is not a number"}, kLoLoggerField}},
        {{"10", "12", "90", "x", "0.0000", "100.00"}, {nullptr, nullptr, {"High true value is not a number"}, kHiTrueField}},
        {{"10", "12", "90", "88", "abc", "100.00"}, {nullptr, nullptr, {"Old low value is not a number"}, kOldLoField}},
    };
    for (const auto& c : cases) {
        const std::string what = (c.in.lowLogger + "|" + c.in.lowTrue + "|" + c.in.highLogger + "|" + c.in.highTrue
                                  + "|" + c.in.oldLow + "|" + c.in.oldHigh).toStdString();
        Check(CalculateAdjust(c.in), c.out, what);
    }
}
