#include "link/status_text.h"

#include "conversion/channel_scaling.h"
#include "link/status_record.h"

namespace tamble {

namespace {

QString Latin1(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes.data(), bytes.size());
}

QString TwoChars(int n)
{
    return QString::number(n).rightJustified(2, QLatin1Char(' '));
}

unsigned char Byte(char c)
{
    return static_cast<unsigned char>(c);
}

bool WaitingForProbes(const LoggerInfo& info)
{
    return info.statusFlags & kStatusWaitingProbes;
}

bool WaitingForPreset(const LoggerInfo& info)
{
    return info.statusFlags & kStatusWaitingPreset;
}

bool Recording(const LoggerInfo& info)
{
    return !(info.statusFlags & kStatusNotRecording);
}

// Revisions above 'n' stop and start on channel 1's probe alone.
bool ChannelOneProbe(const LoggerInfo& info)
{
    return Byte(info.revision) > 'n';
}

const char* ThermocoupleName(char code)
{
    switch (code) {
    case 'Y': case 'b': case 'v': return "B thermocouple";
    case 'Z': case 'c': case 'w': return "C thermocouple";
    case 'd': case 'e': case 'x': return "E thermocouple";
    case 'f': return "E low temp";
    case 'g': case 'j': case 'y': return "J thermocouple";
    case 'i': return "J low temp";
    case 'h': case 'k': case 'z': return "K thermocouple";
    case 'l': return "K low temp";
    case 'm': return "N low temp";
    case '^': case 'n': case '{': return "N thermocouple";
    case '_': case 'q': case 'r': return "R thermocouple";
    case 's': case '}': return "S thermocouple";
    case 'a': case 't': case '~': return "T thermocouple";
    case 'u': return "T low temp";
    default: return nullptr;
    }
}

} // namespace

QString ModelText(char modelDigit, int resolutionBits)
{
    const int index = resolutionBits == 12 ? 0 : resolutionBits == 10 ? 1 : 2;
    if (modelDigit == '1') {
        static const char* const kNames[] = {"LX700", "LX600", "LX500"};
        return QString::fromLatin1(kNames[index]);
    }
    if (modelDigit == '5' || modelDigit == '6') {
        static const char* const kBits[] = {"12 bit", "10 bit", "8 bit"};
        return QString::fromLatin1(modelDigit == '5' ? "LX900     " : "LX900-M ") + QString::fromLatin1(kBits[index]);
    }
    static const char* const kNames[] = {"LX54", "LX53", "LX52"};
    return QString::fromLatin1(kNames[index]) + QChar(QLatin1Char(modelDigit));
}

QString RevisionText(char revision)
{
    if (Byte(revision) <= '~')
        return QStringLiteral(" ") + QChar(QLatin1Char(revision));
    return QStringLiteral(" 2") + QChar(QLatin1Char(static_cast<char>(Byte(revision) - 62)));
}

QString StationAddressText(int address)
{
    return address == 0 ? QString() : TwoChars(address);
}

QString BatteryText(char revision, double volts)
{
    if (Byte(revision) < 'c')
        return {};
    return QString::asprintf("%3.1f", volts) + QStringLiteral(" volts");
}

QString InputTypeName(int inputType)
{
    switch (inputType) {
    case 0: return QStringLiteral("standard");
    case 1: return QStringLiteral("temp/RH");
    case 2: return QStringLiteral("average");
    case 4: return QStringLiteral("pulse");
    case 5: return QStringLiteral("0.1s Exc");
    default: return {};
    }
}

QString ScalingBoxText(char code, QByteArrayView scalingText, bool oldFamily)
{
    QString text = Latin1(scalingText);
    if (oldFamily)
        return text;
    if (code == '3')
        return text.insert(std::min<qsizetype>(6, text.size()), QLatin1Char(' '));
    if (code == 'X')
        return QStringLiteral("c ") + text;
    if (const char* name = ThermocoupleName(code))
        return QString::fromLatin1(name);
    return text;
}

QString DateCodeText(const HandshakeDateCode& code)
{
    if (!code.present)
        return {};
    return TwoChars(code.first) + QLatin1Char('/') + TwoChars(code.second);
}

QString ChannelUnitText(char code, int inputType, QByteArrayView label, bool fahrenheit, int humidityQuantity)
{
    QString unit;
    const unsigned char c = Byte(code);
    if (c == 'A' || c == 'B' || c == 'C' || c == 'P' || c > 'X')
        unit = fahrenheit ? QStringLiteral("Deg F") : QStringLiteral("Deg C");
    else if (c == 'L')
        unit = QStringLiteral("FtCn");
    else if (c == 'R')
        unit = QStringLiteral("Ohms");
    else if (inputType == 1)
        unit = humidityQuantity == 1 ? QStringLiteral("Dew P")
             : humidityQuantity == 2 ? QStringLiteral("Wet B")
                                     : QStringLiteral("% RH");
    // The last ";" before the label's final character gives the unit.
    for (qsizetype p = label.size() - 2; p >= 0; --p) {
        if (label[p] == ';') {
            QString rest = Latin1(label.sliced(p + 1));
            while (rest.endsWith(QLatin1Char(' ')))
                rest.chop(1);
            unit = rest.left(9);
            break;
        }
    }
    return unit;
}

std::array<ChannelValueStyle, 4> ChannelValueStyles(const LoggerInfo& info, const ChannelScaling& scaling,
                                                    bool fahrenheit, int humidityQuantity)
{
    std::array<ChannelValueStyle, 4> styles;
    for (int i = 0; i < 4; ++i) {
        styles[i].threeDecimals = scaling.channels[i].countInput && !scaling.humidityDerived[i];
        styles[i].unit = ChannelUnitText(info.scalingCodes[i], info.inputType(i + 1), info.labels[i], fahrenheit,
                                         humidityQuantity);
    }
    return styles;
}

QString ValueText(float value, const ChannelValueStyle& style)
{
    if (!(value > -95.0f))
        return QStringLiteral(" Open");
    const QString number = QString::asprintf(style.threeDecimals ? "%7.3f" : "%7.2f", static_cast<double>(value));
    return (number + style.unit).left(18);
}

std::array<QString, 4> ValueTexts(const std::array<float, 4>& values, const std::array<ChannelValueStyle, 4>& styles)
{
    std::array<QString, 4> texts;
    for (int i = 0; i < 4; ++i)
        texts[i] = ValueText(values[i], styles[i]);
    return texts;
}

std::array<QString, 4> ValueBoxTexts(const LoggerInfo& info, const std::array<QString, 4>& valueTexts)
{
    std::array<QString, 4> boxes;
    for (int i = 0; i < 4; ++i)
        boxes[i] = info.scalingCodes[i] == '0' ? QStringLiteral("OFF") : valueTexts[i];
    return boxes;
}

bool PowerFailed(const LoggerInfo& info)
{
    if (info.clockStamp.size() >= 23)
        return info.clockStamp[22].unicode() > '7';
    return !info.clockText.isEmpty() && Byte(info.clockText[0]) > '7';
}

QString CurrentStateText(const LoggerInfo& info, ClockStyle style)
{
    if (info.channelsOn == 0)
        return QStringLiteral("Not Recording");
    if (Recording(info) && !WaitingForProbes(info)) {
        if (info.firstReadingStamp == QLatin1String("Tue  1-Jan-91 12:00:00am") || (info.statusFlags & kStatusContinuous))
            return QStringLiteral("* Recording *");
        QString text = QStringLiteral("* Recording *  ( memory full ");
        if (info.minutesPerReading < 0.12f)
            text += QStringLiteral("approx. ");
        text += AddMinutes(info.firstReadingStamp, ChannelTotalMinutes(info), style);
        return text + QStringLiteral(" )");
    }
    if (WaitingForProbes(info))
        return QStringLiteral("Not Recording (waiting for ch1 temp probe to be attached)");
    if (WaitingForPreset(info))
        return QStringLiteral("Not Recording (waiting on pre-set time)");
    const QString stopped = QStringLiteral("Stopped recording: ") + info.lastReadingStamp;
    if (info.channelFlags & kChannelStopOnDetach) {
        if (info.minutesPerReading < 0.02f)
            return stopped;
        QString cause = ChannelOneProbe(info) ? QStringLiteral("Ch1 probe detached - ") : QStringLiteral("Probes detached - ");
        if (PowerFailed(info))
            cause = QStringLiteral("Power failed - ");
        return cause + stopped;
    }
    return (PowerFailed(info) ? QStringLiteral("Power failed;  ") : QStringLiteral("Memory full;  ")) + stopped;
}

QString StopModeText(const LoggerInfo& info)
{
    if (!(info.statusFlags & kStatusContinuous))
        return QStringLiteral("Stop if memory is full");
    if (!(info.channelFlags & kChannelStopOnDetach))
        return QStringLiteral("Run continuously");
    return ChannelOneProbe(info) ? QStringLiteral("Stop if ch1 temp. probe is detached")
                                 : QStringLiteral("Stop if probes detach");
}

QString FirstReadingLabelText(const LoggerInfo& info)
{
    if (WaitingForProbes(info) || WaitingForPreset(info))
        return QStringLiteral("Start logging");
    return QStringLiteral("First reading");
}

QString FirstReadingText(const LoggerInfo& info)
{
    if (WaitingForProbes(info))
        return ChannelOneProbe(info) ? QStringLiteral("when ch1 temp. probe is attached")
                                     : QStringLiteral("when all temp. probes are attached");
    if (info.channelsOn == 0)
        return QStringLiteral("All Channels Off");
    return info.firstReadingStamp;
}

QString TimeSpanText(const LoggerInfo& info)
{
    if (info.channelsOn == 0)
        return QStringLiteral("0.0      ");
    const float t = ChannelTotalMinutes(info);
    float shown = 0;
    const char* unit = nullptr;
    if (t < 1.0f) {
        shown = t * 60.0f;
        unit = " secs  ";
    } else if (t < 60.0f) {
        shown = t;
        unit = " mins  ";
    } else if (t < 2880.0f) {
        shown = t / 60.0f;
        unit = " hours ";
    } else if (t < 86400.0f) {
        shown = t / 1440.0f;
        unit = " days  ";
    } else if (t < 1576972.8f) {
        shown = t / 43804.8f;
        unit = " months";
    } else {
        shown = t / 525600.0f;
        unit = " years ";
    }
    return QString::asprintf("%4.1f", static_cast<double>(shown)) + QString::fromLatin1(unit);
}

StatusTexts BuildStatusTexts(const LoggerInfo& info, const HandshakeDateCode& dateCode,
                             const std::array<QString, 4>& valueBoxes, ClockStyle style)
{
    StatusTexts t;
    t.model = ModelText(info.modelDigit, info.resolutionBits);
    t.revision = RevisionText(info.revision);
    t.stationVisible = info.stationAddress != 0;
    t.stationAddress = StationAddressText(info.stationAddress);
    t.battery = BatteryText(info.revision, info.batteryVolts);
    RateName(info.rateCode, t.sampleRate);
    t.timeSpan = TimeSpanText(info);
    t.firstReadingLabel = FirstReadingLabelText(info);
    t.firstReading = FirstReadingText(info);
    t.currentState = CurrentStateText(info, style);
    t.clock = info.clockStamp;
    t.stopMode = StopModeText(info);
    t.description = Latin1(info.description);
    for (int i = 0; i < 4; ++i) {
        t.onOff[i] = info.channelOn(i + 1) ? QStringLiteral("ON") : QStringLiteral("OFF");
        t.values[i] = valueBoxes[i];
        t.labels[i] = Latin1(info.labels[i]);
        t.scaling[i] = ScalingBoxText(info.scalingCodes[i], info.scalingTexts[i], info.oldFamily);
        t.inputTypes[i] = InputTypeName(info.inputType(i + 1));
    }
    t.dateCodeVisible = dateCode.present;
    t.dateCode = DateCodeText(dateCode);
    return t;
}

std::array<QString, 4> CurrentValueTexts(const LoggerInfo& info, const ChannelScaling& scaling, bool fahrenheit,
                                         int humidityQuantity)
{
    return ValueTexts(info.currentValues, ChannelValueStyles(info, scaling, fahrenheit, humidityQuantity));
}

StatusTexts ShowStatusTexts(const LoggerInfo& info, const HandshakeDateCode& dateCode, const ChannelScaling& scaling,
                            bool fahrenheit, int humidityQuantity, ClockStyle style)
{
    const auto values = CurrentValueTexts(info, scaling, fahrenheit, humidityQuantity);
    return BuildStatusTexts(info, dateCode, ValueBoxTexts(info, values), style);
}

std::array<QString, 4> RealTimeValueBoxes(const RealTimeReading& reading, const LoggerInfo& info,
                                          const ChannelScaling& scaling, bool fahrenheit, int humidityQuantity)
{
    if (!reading.checksumOk) {
        const QString error = QString::fromLatin1(kChecksumErrorText);
        return {error, error, error, error};
    }
    const auto styles = ChannelValueStyles(info, scaling, fahrenheit, humidityQuantity);
    return ValueBoxTexts(info, ValueTexts(reading.values, styles));
}

namespace {

QString Ordinal(QByteArrayView day)
{
    if (day == "01")
        return QStringLiteral("1st");
    if (day == "02")
        return QStringLiteral("2nd");
    if (day == "03")
        return QStringLiteral("3rd");
    if (day == "31")
        return QStringLiteral("31st");
    QString number = Latin1(day);
    if (number.startsWith(QLatin1Char('0')))
        number.remove(0, 1);
    return number + QStringLiteral("th");
}

QString WeekdayFromCode(QByteArrayView code)
{
    static const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                        "Thursday", "Friday", "Saturday"};
    if (code.size() == 2 && code[0] == '3' && code[1] >= '1' && code[1] <= '7')
        return QString::fromLatin1(kDays[code[1] - '1']);
    return {};
}

QByteArrayView Part(QByteArrayView s, qsizetype pos, qsizetype len)
{
    if (pos >= s.size())
        return {};
    return s.sliced(pos, std::min(len, s.size() - pos));
}

} // namespace

QString DialOutText(QByteArrayView reply)
{
    const QByteArrayView r = Part(reply, 0, 12);
    const QByteArrayView kind = Part(r, 0, 2);
    const QString time = Latin1(Part(r, 4, 2)) + QLatin1Char(':') + Latin1(Part(r, 2, 2));
    if (kind == "99")
        return QStringLiteral("Daily dialout at ") + time;
    if (kind == "98")
        return QStringLiteral("Weekly dialout: ") + WeekdayFromCode(Part(r, 6, 2)) + QStringLiteral(" at ") + time;
    if (kind == "97")
        return QStringLiteral("Monthly dialout on the ") + Ordinal(Part(r, 8, 2)) + QStringLiteral(" at ") + time;
    return {};
}

} // namespace tamble
