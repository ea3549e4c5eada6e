#include "setup/setup_window_lists.h"
#include "format/memory_layout.h"
#include "setup/setup_record.h"

#include "datafiles/timebase.h"

#include <array>

namespace tamble {

namespace {

// Codes of the scaling entries, "-" for the entries that only open a dialog and
// for the entries whose text comes from the setup but whose code is fixed.
constexpr char kCommonCodes[] = "ABCL3-1-RPX-";
// Channel 3 continues with the thermocouples, index 12 onwards.
constexpr char kThermocoupleCodes[] = "bcejknrst" "filmu" "YZdgh^_`a" "vwxyz{q}~";
constexpr char kThermocoupleTypes[] = "BCEJKNRST" "EJKNT" "BCEJKNRST" "BCEJKNRST";

const QStringList& commonScalingTexts(int channel)
{
    static const QStringList common = {
        QStringLiteral("Thermistor \"A\"  (A.rvt)"),
        QStringLiteral("Thermistor \"B\"  (B.rvt)"),
        QStringLiteral("Thermistor \"C\"  (C.rvt)"),
        QStringLiteral("Light Sensor     (L.rvt)"),
        QString(),
        QStringLiteral("New Linear Scale:"),
        QString(),
        QStringLiteral("Custom Table:"),
        QStringLiteral("Resistance"),
        QStringLiteral("Platinum Rtd 10k (P.rvt)"),
        QString(),
        QStringLiteral("New values Cls/opn:"),
    };
    static const QStringList third = [] {
        QStringList t = common;
        t[kNewContactEntry] = QStringLiteral("New values cls/opn:");
        return t;
    }();
    return channel == 3 ? third : common;
}

QString thermocoupleText(int index)
{
    const int i = index - 12;
    const QString type = QString(QLatin1Char(kThermocoupleTypes[i]));
    if (i < 9)
        return type + QStringLiteral(" Type & Tcq-A01");
    if (i < 14)
        return type + QStringLiteral(" Type & Tcq-A01 \"cold\"");
    if (i < 23)
        return type + QStringLiteral(" Type & Tcq-B02");
    return type + QStringLiteral(" Type & Tcq-C03");
}

QString halves(const QString& prefix, const QString& values)
{
    return prefix + values.left(6) + QStringLiteral(" / ") + values.mid(6, 6);
}

} // namespace

const QStringList& ModelTexts()
{
    static const QStringList texts = {QStringLiteral("LX500"), QStringLiteral("LX600"), QStringLiteral("LX700"),
                                      QStringLiteral("LX900"), QStringLiteral("LX900-M")};
    return texts;
}

const QStringList& ResolutionTexts()
{
    static const QStringList texts = {QStringLiteral("12 bit <High>"), QStringLiteral("10 bit <Med>"),
                                      QStringLiteral("  8 bit <Low>")};
    return texts;
}

bool ModelHasResolution(int modelIndex) { return modelIndex == 3 || modelIndex == 4; }

int MemoryCapacityOf(int modelIndex, int resolutionIndex)
{
    // Resolution items: 12, 10, 8 bit. Models 0-2 have one resolution each; the four-bank model
    // holds four memory images.
    static constexpr std::array<int, 3> bits{12, 10, 8};
    const std::size_t r = resolutionIndex >= 0 && resolutionIndex <= 2 ? static_cast<std::size_t>(resolutionIndex) : 0;
    switch (modelIndex) {
    case 1: return MemoryCapacityFor(10);
    case 2: return MemoryCapacityFor(12);
    case 3: return LoggerMemoryCapacity(bits[r], '5');
    case 4: return LoggerMemoryCapacity(bits[r], kFourBankModelDigit);
    default: return MemoryCapacityFor(8);
    }
}

std::optional<int> ModelIndexOfResolutionType(int resolutionType)
{
    switch (resolutionType) {
    case 1: return 0;
    case 2: return 1;
    case 3: return 2;
    case 5: return 3;
    case 6: return 4;
    default: return std::nullopt;
    }
}

const QStringList& RateTexts()
{
    static const QStringList texts = {
        QStringLiteral("(rf) 200/sec"), QStringLiteral("(rf) 100/sec"), QStringLiteral("(rf) 50/sec"),
        QStringLiteral("(rf) 20/sec"),  QStringLiteral("(rf) 10/sec"),  QStringLiteral("(rf) 5/sec"),
        QStringLiteral("(rf) 2/sec"),   QStringLiteral("(rf) 1/sec"),   QStringLiteral("~ 2 secs"),
        QStringLiteral("~ 4 secs"),     QStringLiteral("~ 6 secs"),     QStringLiteral("10 secs"),
        QStringLiteral("20 secs"),      QStringLiteral("30 secs"),      QStringLiteral("1 minute"),
        QStringLiteral("2 minutes"),    QStringLiteral("5 minutes"),    QStringLiteral("10 minutes"),
        QStringLiteral("15 minutes"),   QStringLiteral("20 minutes"),   QStringLiteral("30 minutes"),
        QStringLiteral("1 hour"),       QStringLiteral("2 hours"),      QStringLiteral("3 hours"),
        QStringLiteral("4 hours"),      QStringLiteral("6 hours"),      QStringLiteral("8 hours"),
        QStringLiteral("12 hours"),
    };
    return texts;
}

char RateCodeAt(int index)
{
    if (index < 0 || index >= kRateCount)
        index = kDefaultRateIndex;
    return RateTable()[static_cast<std::size_t>(index)].code;
}

int RateIndexOf(char code)
{
    const int i = RateOrder(static_cast<unsigned char>(code));
    return i < 0 ? kDefaultRateIndex : i;
}

int ScalingEntryCount(int channel) { return channel == 3 ? 44 : 12; }

QString FixedScalingText(int channel, int index)
{
    if (!IsSetupChannel(channel) || index < 0 || index >= ScalingEntryCount(channel))
        return {};
    if (index >= 12)
        return thermocoupleText(index);
    return commonScalingTexts(channel)[index];
}

std::optional<char> ScalingCodeAt(int channel, int index)
{
    if (!IsSetupChannel(channel) || index < 0 || index >= ScalingEntryCount(channel))
        return std::nullopt;
    const char code = index < 12 ? kCommonCodes[index] : kThermocoupleCodes[index - 12];
    if (code == '-')
        return std::nullopt;
    return code;
}

std::optional<int> ScalingIndexOf(int channel, char code)
{
    for (int i = 0; i < ScalingEntryCount(channel); ++i)
        if (ScalingCodeAt(channel, i) == code)
            return i;
    return std::nullopt;
}

QString LinearEntryText(const QString& values) { return halves(QStringLiteral("Linear: "), values); }
QString ContactEntryText(const QString& values) { return halves(QStringLiteral("Cls/opn: "), values); }
QString TableEntryText(const QString& fileName) { return QStringLiteral("Table: (") + fileName + QLatin1Char(')'); }

QByteArray TableNameOfFile(const QString& fileName)
{
    const qsizetype dot = fileName.indexOf(QLatin1Char('.'));
    return (dot < 0 ? fileName : fileName.left(dot)).left(8).toLatin1();
}

const QStringList& InputTypeTexts(int channel)
{
    static const QStringList first = {QStringLiteral("Standard"), QStringLiteral("Temp/RH"), QStringLiteral("Average"),
                                      QStringLiteral("0.1s Excit")};
    static const QStringList fourth = {QStringLiteral("Standard"), QStringLiteral("Temp/RH"), QStringLiteral("Average"),
                                       QStringLiteral("Pulse")};
    return channel == 4 ? fourth : first;
}

std::optional<int> InputTypeIndexOf(int channel, int value)
{
    if (value >= 0 && value <= 2)
        return value;
    if (value == (channel == 4 ? 4 : 5))
        return 3;
    return std::nullopt;
}

int InputTypeValueAt(int channel, int index)
{
    if (index == 3)
        return channel == 4 ? 4 : 5;
    return index >= 0 && index <= 2 ? index : 0;
}

QStringList StartEntries(char revision)
{
    const bool older = static_cast<unsigned char>(revision) <= static_cast<unsigned char>('n');
    return {QStringLiteral("immediate"), QString::fromLatin1(kPresetStartEntry),
            older ? QStringLiteral("when all thermistor(s) are attached") : QStringLiteral("when ch1 temp. probe is attached"),
            QString::fromLatin1(kDialOutStartEntry)};
}

QStringList RunEntries(char revision)
{
    const bool older = static_cast<unsigned char>(revision) <= static_cast<unsigned char>('n');
    return {QStringLiteral("until memory is full"), QStringLiteral("continuously (wrap-around)"),
            older ? QStringLiteral("until thermistor probes detach") : QStringLiteral("until ch1 temp. probe is detached")};
}

QString TotalLogTimeText(char rateCode, int modelIndex, int memoryCapacity, int channelsOn)
{
    float m = RateMinutes(static_cast<unsigned char>(rateCode));
    if (ModelHasResolution(modelIndex) && m > 0.02f) {
        if (m < 0.04f)
            m = 0.038333334f;
        else if (m < 0.08f)
            m = 0.07666667f;
        else if (m < 0.12f)
            m = 0.115f;
    }
    if (channelsOn <= 0)
        return QString::asprintf("%4.1f", 0.0);
    const float t = m * (static_cast<float>(memoryCapacity) / static_cast<float>(channelsOn));
    struct Unit { float below; float divisor; float factor; const char* text; };
    static constexpr Unit units[] = {
        {1.0f, 1.0f, 60.0f, " secs  "},       {60.0f, 1.0f, 1.0f, " mins  "},
        {2880.0f, 60.0f, 1.0f, " hours "},    {86400.0f, 1440.0f, 1.0f, " days  "},
        {1576972.8f, 43804.8f, 1.0f, " months"},
    };
    for (const Unit& u : units) {
        if (t < u.below) {
            const float v = u.factor != 1.0f ? t * u.factor : t / u.divisor;
            return QString::asprintf("%4.1f", static_cast<double>(v)) + QLatin1String(u.text);
        }
    }
    return QString::asprintf("%4.1f", static_cast<double>(t / 525600.0f)) + QLatin1String(" years ");
}

QString LoggerText(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E || c == QLatin1Char('>'))
            c = QLatin1Char(' ');
    return out;
}

} // namespace tamble
