#include "link/realtime.h"

#include "conversion/channel_scaling.h"
#include "link/status_record.h"

namespace tamble {

namespace {

std::uint8_t PairAt(QByteArrayView s, qsizetype index)
{
    return ReadingHexPair(static_cast<std::uint8_t>(s[index]), static_cast<std::uint8_t>(s[index + 1]));
}

} // namespace

QByteArray TrimRealTimeLine(QByteArrayView line)
{
    qsizetype start = 0;
    while (line.size() - start > 17 && line[start] != '>')
        ++start;
    if (start < line.size())
        ++start;
    return line.sliced(start).toByteArray();
}

int ReadingFieldLength(int resolutionBits)
{
    return resolutionBits == 8 ? 10 : 12;
}

std::optional<RawReading> DecodeReadingFields(QByteArrayView f, int resolutionBits)
{
    if (f.size() < ReadingFieldLength(resolutionBits))
        return std::nullopt;
    RawReading r;
    if (resolutionBits == 12) {
        const std::uint8_t low12 = PairAt(f, 4);
        const std::uint8_t low34 = PairAt(f, 10);
        r.counts[0] = static_cast<std::uint16_t>(PairAt(f, 0) * 16 + (low12 & 0x0F));
        r.counts[1] = static_cast<std::uint16_t>(PairAt(f, 2) * 16 + (low12 >> 4));
        r.counts[2] = static_cast<std::uint16_t>(PairAt(f, 6) * 16 + (low34 & 0x0F));
        r.counts[3] = static_cast<std::uint16_t>(PairAt(f, 8) * 16 + (low34 >> 4));
    } else if (resolutionBits == 10) {
        const std::uint8_t low = PairAt(f, 8);
        for (int ch = 0; ch < 4; ++ch)
            r.counts[ch] = static_cast<std::uint16_t>(PairAt(f, 2 * ch) * 4 + ((low >> (2 * ch)) & 3));
        r.batteryByte = PairAt(f, 10);
        r.hasBattery = true;
    } else {
        r.batteryByte = PairAt(f, 0);
        r.hasBattery = true;
        for (int ch = 0; ch < 4; ++ch)
            r.counts[ch] = PairAt(f, 2 + 2 * ch);
    }
    return r;
}

std::uint8_t RealTimeBatteryByte(QByteArrayView fields, int resolutionBits)
{
    const auto r = DecodeReadingFields(fields, resolutionBits);
    return r && r->hasBattery ? r->batteryByte : 0;
}

namespace {

std::array<float, 4> ConvertCounts(RawReading& raw, LoggerInfo& info, ChannelScaling& scaling, bool fahrenheit)
{
    SetReferenceResistor(info, raw.hasBattery ? raw.batteryByte : 0);
    scaling.referenceOhms = static_cast<float>(info.referenceOhms);
    std::array<float, 4> values{};
    for (int ch = 1; ch <= 4; ++ch) {
        float v = ConvertReading(scaling, raw.counts[ch - 1], ch);
        if (fahrenheit && CountsAsTemperature(scaling, ch))
            v = CelsiusToFahrenheit(v);
        values[ch - 1] = v;
    }
    return values;
}

} // namespace

std::array<float, 4> ConvertRealTimeFields(QByteArrayView fields, LoggerInfo& info, ChannelScaling& scaling,
                                           bool fahrenheit)
{
    auto raw = DecodeReadingFields(fields, info.resolutionBits);
    if (!raw)
        return {};
    return ConvertCounts(*raw, info, scaling, fahrenheit);
}

RealTimeReading DecodeRealTimeLine(QByteArrayView line, LoggerInfo& info, ChannelScaling& scaling,
                                   bool fahrenheit)
{
    RealTimeReading reading;
    const QByteArray trimmed = TrimRealTimeLine(line);
    if (trimmed.size() < ReadingFieldLength(info.resolutionBits) + 2 || !ReadingChecksumValid(trimmed))
        return reading;
    auto raw = DecodeReadingFields(trimmed, info.resolutionBits);
    if (!raw)
        return reading;
    reading.checksumOk = true;
    reading.values = ConvertCounts(*raw, info, scaling, fahrenheit);
    reading.counts = raw->counts;
    return reading;
}

bool IsRealTimeOkLine(QByteArrayView line)
{
    return line.contains(QByteArrayView("OK"));
}

RealTimeStart StartRealTime(char revision, bool useModem)
{
    const auto rev = static_cast<unsigned char>(revision);
    RealTimeStart s;
    if (rev <= 'N') {
        s.message = QStringLiteral("Real Time mode not supported in this logger; a firmware upgrade is available; "
                                   "contact factory for details.");
        return s;
    }
    if (rev < 'p' && useModem) {
        s.message = QStringLiteral("Real Time is not available on this logger when using modems");
        return s;
    }
    s.start = true;
    s.command = rev > 'o' ? QByteArray("Y") : QByteArray("Z");
    return s;
}

bool RealTimePolled(char revision)
{
    return static_cast<unsigned char>(revision) >= 'p';
}

bool RealTimeNeedsEndSession(char revision)
{
    return static_cast<unsigned char>(revision) <= 'o';
}

} // namespace tamble
