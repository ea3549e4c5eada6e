#include "setup/scaling_calculators.h"

#include <QRegularExpression>

#include <array>
#include <cmath>

namespace tamble {

namespace {

const QString kDoesNotFit = QStringLiteral("The calculated scale does not fit in 6 characters; choose other values");
constexpr const char* kSameReadings = "Same value entered for Zero/Full Scale Reading";

// Reads every field; the first that holds no number stops the calculation with its message.
template <std::size_t N>
bool ReadFields(const std::array<const QString*, N>& texts, const std::array<const char*, N>& names,
                std::array<double, N>& values, CalculatorResult& result)
{
    for (std::size_t i = 0; i < N; ++i) {
        const std::optional<double> v = ParseFieldNumber(*texts[i]);
        if (!v) {
            result.messages << NotANumberMessage(QString::fromLatin1(names[i]));
            result.badField = static_cast<int>(i);
            return false;
        }
        values[i] = *v;
    }
    return true;
}

// The reading at 0 % and at 100 % of the input range from slope and offset.
CalculatorResult Finish(double low, double high)
{
    CalculatorResult r;
    if (!FitsScaleValue(low) || !FitsScaleValue(high)) {
        r.messages << kDoesNotFit;
        return r;
    }
    r.ok = true;
    r.low = FormatScaleValue(low);
    r.high = FormatScaleValue(high);
    return r;
}

} // namespace

QString NormaliseScaleValue(const QString& text)
{
    QString value = text.left(8);
    if (value.isEmpty())
        value = QStringLiteral("0");
    if (value.size() < kScaleValueWidth) {
        if (!value.contains(QLatin1Char('.')))
            value += QLatin1Char('.');
        while (value.size() < kScaleValueWidth)
            value += QLatin1Char('0');
    }
    return value.left(kScaleValueWidth);
}

QString FormatScaleValue(double value)
{
    QString text = QString::asprintf("%6.3f", value);
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text.left(kScaleValueWidth);
}

bool FitsScaleValue(double value)
{
    if (!std::isfinite(value))
        return false;
    const QString full = QString::asprintf("%6.3f", value);
    const qsizetype point = full.indexOf(QLatin1Char('.'));
    return point >= 0 && point <= kScaleValueWidth;
}

std::optional<double> ParseFieldNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)\\s*$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString NotANumberMessage(const QString& fieldName)
{
    return fieldName + QStringLiteral(" is not a number");
}

CalculatorResult CalculateCurrentLoop(const CurrentLoopEntries& e)
{
    CalculatorResult r;
    std::array<double, 5> v{};
    if (!ReadFields<5>({&e.lowMilliamps, &e.highMilliamps, &e.resistorOhms, &e.lowReading, &e.highReading},
                       {"Low Milliamps", "High Milliamps", "Resistor Ohms", "Low Reading", "High Reading"}, v, r))
        return r;
    double loMa = v[kLoMaField];
    const double hiMa = v[kHiMaField];
    const double ohms = v[kOhmsField];
    const double zero = v[kCloopZeroField];
    const double full = v[kCloopFSField];
    if (loMa == 0.0)
        loMa = -0.000001;
    if (loMa > hiMa)
        r.messages << QStringLiteral("Lo Milliamps is greater than Hi Milliamps");
    else if (hiMa - loMa == 0.0)
        r.messages << QStringLiteral("Same value entered for Lo/Hi Milliamps");
    else if (full - zero == 0.0)
        r.messages << QString::fromLatin1(kSameReadings);
    else if (!(ohms > 0.0))
        r.messages << QStringLiteral("Resistor Ohms must be greater than 0");
    if (!r.messages.isEmpty())
        return r;
    // Percent of the 5 V input range the loop current makes across the resistor.
    const double pHi = hiMa / 1000.0 * ohms * 20.0;
    const double pLo = loMa / 1000.0 * ohms * 20.0;
    if (pHi - pLo == 0.0) {
        r.messages << kDoesNotFit;
        return r;
    }
    const double s = (full - zero) / (pHi - pLo);
    const double c = full - s * pHi;
    return Finish(c, s * 100.0 + c);
}

CalculatorResult CalculateLinearTransducer(const LinearTransducerEntries& e)
{
    CalculatorResult r;
    std::array<double, 4> v{};
    if (!ReadFields<4>({&e.minimumVolts, &e.maximumVolts, &e.minimumReading, &e.maximumReading},
                       {"Minimum dc volts", "Maximum dc volts", "Minimum Reading", "Maximum Reading"}, v, r))
        return r;
    const double minV = v[kMinVoltsField];
    const double maxV = v[kMaxVoltsField];
    const double minR = v[kMinReadingField];
    const double maxR = v[kMaxReadingField];
    if (minV > maxV)
        r.messages << QStringLiteral("Min dc volts is greater than Max dc volts");
    else if (maxV - minV == 0.0)
        r.messages << QStringLiteral("Same value entered for Min/Max dc volts");
    else if (maxR - minR == 0.0)
        r.messages << QString::fromLatin1(kSameReadings);
    if (!r.messages.isEmpty())
        return r;
    const double s = (maxR - minR) / (maxV - minV);
    const double c = maxR - maxV * s;
    return Finish(c, s * 5.0 + c);
}

CalculatorResult CalculateAdjust(const AdjustEntries& e)
{
    CalculatorResult r;
    std::array<double, 6> v{};
    if (!ReadFields<6>({&e.lowLogger, &e.lowTrue, &e.highLogger, &e.highTrue, &e.oldLow, &e.oldHigh},
                       {"Low logger reading", "Low true value", "High logger reading", "High true value",
                        "Old low value", "Old high value"},
                       v, r))
        return r;
    const double loLogger = v[kLoLoggerField];
    const double loTrue = v[kLoTrueField];
    const double hiLogger = v[kHiLoggerField];
    const double hiTrue = v[kHiTrueField];
    const double oldLo = v[kOldLoField];
    const double oldHi = v[kOldHiField];
    // Both order checks are made, so both messages can show.
    if (loLogger > hiLogger)
        r.messages << QStringLiteral("Low logger is higher than High logger reading");
    if (loTrue > hiTrue)
        r.messages << QStringLiteral("Low true value is higher than High true value");
    if (!r.messages.isEmpty())
        return r;
    if (loLogger == hiLogger)
        r.messages << QStringLiteral("Same value entered for Low and High logger");
    else if (loTrue == hiTrue)
        r.messages << QStringLiteral("Same value entered for Low / High true");
    else if (oldHi == oldLo)
        r.messages << QStringLiteral("Old scaling has the same Lo and Hi value");
    if (!r.messages.isEmpty())
        return r;
    const double k = (oldHi - oldLo) / 5.0;   // units per volt
    const double vLo = (loLogger - oldLo) / k;
    const double vHi = (hiLogger - oldLo) / k;
    if (!std::isfinite(vLo) || !std::isfinite(vHi) || vHi - vLo == 0.0) {
        r.messages << kDoesNotFit;
        return r;
    }
    const double s = (hiTrue - loTrue) / (vHi - vLo);
    const double c = hiTrue - s * vHi;
    return Finish(c, s * 5.0 + c);
}

} // namespace tamble
