#include "link/status_record.h"

#include "settings/settings_record.h"
#include "conversion/channel_scaling.h"
#include "datafiles/timebase.h"
#include "format/hex.h"
#include "format/memory_layout.h"
#include "link/realtime.h"

#include <algorithm>
#include <bit>

namespace tamble {

namespace {

// Byte at 1-based position `pos`, 0 when the record is shorter.
std::uint8_t CharAt(QByteArrayView rec, int pos)
{
    return pos >= 1 && pos <= rec.size() ? static_cast<std::uint8_t>(rec[pos - 1]) : 0;
}

// `len` characters from 1-based position `pos`, fewer when the record ends first.
QByteArray Field(QByteArrayView rec, int pos, int len)
{
    const qsizetype start = pos - 1;
    if (start < 0 || start >= rec.size())
        return {};
    return rec.sliced(start, std::min<qsizetype>(len, rec.size() - start)).toByteArray();
}

// A status byte: two hex digits at 1-based position `pos`.
std::uint8_t HexByteAt(QByteArrayView rec, int pos)
{
    return ReadingHexPair(CharAt(rec, pos), CharAt(rec, pos + 1));
}

QString StampOrFallback(const QByteArray& clock, const char* fallback, bool twelveHour)
{
    if (LoggerClockValid(clock))
        return LoggerClockToStamp(clock, ClockStyleFromSetting(twelveHour));
    return QString::fromLatin1(fallback);
}

int MonthIndex(const QString& name)
{
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int i = 0; i < 12; ++i)
        if (name == QLatin1String(kMonths[i]))
            return i + 1;
    return 0;
}

// While auto answer is on, a first-reading year of 1999 or 1997 (a logger
// clock that was never set) takes the year of the last reading, one less when
// the last reading's month comes earlier in the year.
void CorrectFirstReadingYear(LoggerInfo& info)
{
    QString& first = info.firstReadingStamp;
    const QString& last = info.lastReadingStamp;
    if (first.size() < 15 || last.size() < 15)
        return;
    const QString year = first.mid(11, 4);
    if (year != QLatin1String("1999") && year != QLatin1String("1997"))
        return;
    int lastYear = last.mid(11, 4).toInt();
    if (MonthIndex(last.mid(7, 3)) < MonthIndex(first.mid(7, 3)))
        --lastYear;
    first.replace(11, 4, QString::number(lastYear).rightJustified(4, QLatin1Char('0')).right(4));
}

// The record cut to its longest length, NULs of the label area blanked
// (they would end the labels early in the data file).
QByteArray CleanRecord(QByteArrayView record)
{
    QByteArray rec = record.first(std::min<qsizetype>(record.size(), kStatusRecordMaxLength)).toByteArray();
    for (qsizetype i = 42; i < 138 && i < rec.size(); ++i)
        if (rec[i] == '\0')
            rec[i] = ' ';
    return rec;
}

// Revision and model first: several fields depend on them.
void ReadRevisionAndModel(const QByteArray& rec, const StatusContext& context, LoggerInfo& info)
{
    auto rev = static_cast<unsigned char>(CharAt(rec, 250));
    if (rev < 'A')
        rev = 'A';
    info.revision = static_cast<char>(rev);
    info.oldFamily = context.oldLogger || rev <= 'G';
    info.modelDigit = rev >= 'J' && rec.size() >= 251 ? static_cast<char>(CharAt(rec, 251)) : '0';
}

// Clocks, status bytes, memory pointer, labels, description, current
// readings, bank and station address.
void ReadStatusFields(const QByteArray& rec, LoggerInfo& info)
{
    const auto rev = static_cast<unsigned char>(info.revision);
    info.firstReadingClock = Field(rec, 1, 14);
    info.lastReadingClock = Field(rec, 15, 14);
    info.statusFlags = HexByteAt(rec, 29);
    info.rateCode = static_cast<char>(HexByteAt(rec, 31));
    info.channelFlags = HexByteAt(rec, 33);
    if (rev <= 'P') {
        info.inputTypeChars = "@@";
        info.inputTypes = 0;
    } else {
        info.inputTypeChars = Field(rec, 35, 2);
        info.inputTypes = (CharAt(rec, 36) * 64 + (CharAt(rec, 35) & 63)) % 4096;
    }
    info.phaseByte = HexByteAt(rec, 37);
    info.memoryPointer = static_cast<std::uint16_t>(HexByteAt(rec, 39) << 8 | HexByteAt(rec, 41));
    for (int i = 0; i < 4; ++i)
        info.labels[i] = Field(rec, 43 + 24 * i, 24);
    info.description = Field(rec, 139, 31);
    info.currentReadings = Field(rec, 170, 12);
    info.clockText = Field(rec, 182, 14);
    // Only banks that exist are taken; anything else would send the download
    // to a bank letter the logger does not know.
    const auto bank = CharAt(rec, 192);
    info.lastBank = bank >= 'A' && bank <= 'D' ? static_cast<char>(bank) : 'A';
    info.stationAddress = rev <= 'N' ? 0 : HexByteAt(rec, 196);
}

// Scaling texts and codes; the oldest family sends the code alone.
void ReadScalingFields(const QByteArray& rec, LoggerInfo& info)
{
    for (int i = 0; i < 4; ++i) {
        info.scalingTexts[i] = Field(rec, 198 + 12 * i, 12).leftJustified(12, ' ');
        info.scalingCodes[i] = static_cast<char>(CharAt(rec, 246 + i));
    }
    if (CharAt(rec, 194) == '9' && CharAt(rec, 195) == '1')
        for (auto& text : info.scalingTexts)
            text = QByteArray("C") + QByteArray(11, ' ');
    if (info.oldFamily) {
        for (int i = 0; i < 4; ++i) {
            info.scalingTexts[i] = QByteArray(1, info.scalingCodes[i]) + QByteArray(11, ' ');
            const auto code = static_cast<unsigned char>(info.scalingCodes[i]);
            if (code < 'A' && code != '0')
                info.scalingCodes[i] = '1';
        }
    }
}

// Resolution and memory geometry: a record long enough for a 12-bit logger
// comes from one, a shorter one tells 10 from 8 bit by its status flags.
void ApplyResolution(const QByteArray& rec, LoggerInfo& info, MemoryGeometry& geometry)
{
    const int bits = rec.size() >= 254 ? 12 : (info.statusFlags & kStatusTenBit) ? 10 : 8;
    const MemoryLayout& layout = LayoutForBits(bits);
    info.resolutionBits = bits;
    info.memoryCapacity = LoggerMemoryCapacity(bits, info.modelDigit);
    info.fullScaleCount = layout.fullScaleCount;
    info.resolutionType = layout.resolutionType;
    if (info.modelDigit == '5' || info.modelDigit == '6')
        info.resolutionType = info.modelDigit - '0';
    geometry.memoryCapacity = info.memoryCapacity;
    geometry.fullScaleCount = info.fullScaleCount;
    geometry.resolutionType = info.resolutionType;
}

// Battery, channels on, label offsets and the interval.
void DeriveReadingValues(const QByteArray& rec, LoggerInfo& info)
{
    // Battery: a raw byte after the revision in 12-bit records, otherwise the
    // battery field of the current readings.
    if (info.twelveBit())
        info.batteryByte = CharAt(rec, 252);
    else
        info.batteryByte = RealTimeBatteryByte(info.currentReadings, info.resolutionBits);
    info.batteryVolts = info.batteryByte * 0.10873 + 0.2;

    info.channelsOn = std::popcount(static_cast<unsigned>(info.channelFlags & kChannelBits));
    for (int i = 0; i < 4; ++i)
        info.labelOffsets[i] = LabelOffsetFromLabel(std::string_view(info.labels[i].constData(),
                                                                     static_cast<size_t>(info.labels[i].size())));

    info.minutesPerReading = RateMinutes(info.rateCode);
    if (static_cast<unsigned char>(info.modelDigit) >= '5')
        info.minutesPerReading = static_cast<float>(ApproxRateCorrection(info.minutesPerReading));
}

void SetStamps(const StatusContext& context, LoggerInfo& info)
{
    info.transferStamp = context.transferStamp;
    info.clockStamp = StampOrFallback(info.clockText, kFallbackClockStamp, context.twelveHourClock);
    info.lastReadingStamp = StampOrFallback(info.lastReadingClock, kFallbackLastReadingStamp,
                                            context.twelveHourClock);
    const bool continuousWrapped = (info.statusFlags & kStatusContinuous) && (info.statusFlags & kStatusWrapped);
    // With no channel on there is no span to go back by; the logger's own
    // first-reading time is used instead of dividing by zero.
    if (continuousWrapped && info.channelsOn > 0)
        info.firstReadingStamp = SubtractMinutes(info.lastReadingStamp, ChannelTotalMinutes(info),
                                                 ClockStyleFromSetting(context.twelveHourClock));
    else
        info.firstReadingStamp = StampOrFallback(info.firstReadingClock, kFallbackFirstReadingStamp,
                                                 context.twelveHourClock);
    if (context.autoAnswer)
        CorrectFirstReadingYear(info);
}

} // namespace

bool StatusRecordValid(QByteArrayView record)
{
    const QByteArrayView rec = record.first(std::min<qsizetype>(record.size(), kStatusRecordMaxLength));
    if (rec.size() < kStatusRecordMinLength)
        return false;
    const char c5 = rec[4];
    return c5 == '0' || c5 == '1' || c5 == '2';
}

QString InvalidStatusMessage(QByteArrayView record, QByteArrayView lastCommand)
{
    const QByteArrayView rec = record.first(std::min<qsizetype>(record.size(), kStatusRecordMaxLength));
    QString text = QStringLiteral("Invalid response from logger; ");
    if (rec.size() >= 5)
        text += QChar(QLatin1Char(rec[4]));
    text += QStringLiteral(" Length = ");
    text += QString::number(rec.size()).rightJustified(2, QLatin1Char(' '));
    text += QLatin1Char('\r');
    text += QString::fromLatin1(rec.data(), rec.size());
    text += QLatin1Char(' ');
    text += QString::fromLatin1(lastCommand.data(), lastCommand.size());
    return text;
}

StatusContext MakeStatusContext(const SettingsRecord& settings, const QString& transferStamp,
                                bool oldLogger)
{
    StatusContext c;
    c.transferStamp = transferStamp;
    c.twelveHourClock = settings.amPm;
    c.autoAnswer = settings.autoAnswer;
    c.lastRevision = settings.lastRevision;
    c.oldLogger = oldLogger;
    c.fahrenheit = settings.fahrenheit;
    c.humidityQuantity = settings.humidityQuantity;
    return c;
}

float ChannelTotalMinutes(const LoggerInfo& info)
{
    if (info.channelsOn <= 0)
        return 0.0f;
    return static_cast<float>(info.memoryCapacity) / static_cast<float>(info.channelsOn)
         * info.minutesPerReading;
}

void SetReferenceResistor(LoggerInfo& info, std::uint8_t readingBatteryByte)
{
    const auto rev = static_cast<unsigned char>(info.revision);
    if (rev >= 'q') {
        info.referenceOhms = 30100;
        info.referenceCode = 'C';
    } else if (!info.twelveBit() && (rev < 'G' || readingBatteryByte > 128)) {
        info.referenceOhms = 10000;
        info.referenceCode = 'A';
    } else {
        info.referenceOhms = 30015;
        info.referenceCode = 'B';
    }
}

StatusDecodeResult DecodeStatusRecord(QByteArrayView record, const StatusContext& context,
                                      LoggerInfo& info, MemoryGeometry& geometry)
{
    StatusDecodeResult result;
    if (!StatusRecordValid(record))
        return result;

    const QByteArray rec = CleanRecord(record);
    info.record = rec;
    ReadRevisionAndModel(rec, context, info);
    ReadStatusFields(rec, info);
    ReadScalingFields(rec, info);
    ApplyResolution(rec, info, geometry);
    DeriveReadingValues(rec, info);
    SetStamps(context, info);
    // The current readings field carries no battery byte for 12-bit loggers.
    SetReferenceResistor(info, info.twelveBit() ? 0 : info.batteryByte);

    result.outcome = StatusOutcome::Decoded;
    result.revisionChanged = info.revision != context.lastRevision;
    return result;
}

QStringList ScalingFromStatus(const LoggerInfo& info, bool fahrenheit, int humidityQuantity, ChannelScaling& scaling)
{
    scaling.fullScaleCount = static_cast<std::uint16_t>(info.fullScaleCount);
    scaling.referenceOhms = static_cast<float>(info.referenceOhms);
    scaling.inputTypes = static_cast<std::uint16_t>(info.inputTypes);
    scaling.labelOffset = info.labelOffsets;
    scaling.fahrenheit = fahrenheit;
    scaling.humidityQuantity = humidityQuantity;
    scaling.tableError = false;
    QStringList messages;
    for (int ch = 1; ch <= 4; ++ch) {
        const QByteArray& text = info.scalingTexts[ch - 1];
        const ScalingSetUpResult setUp = SetUpChannelScaling(
            scaling, ch, info.scalingCodes[ch - 1],
            std::string_view(text.constData(), static_cast<size_t>(text.size())));
        if (!setUp.ok)
            messages.append(setUp.message);
    }
    FixCountTables(scaling);
    return messages;
}

StatusDecodeResult DecodeStatus(QByteArrayView record, const StatusContext& context, LoggerInfo& info,
                                MemoryGeometry& geometry, ChannelScaling& scaling)
{
    StatusDecodeResult result = DecodeStatusRecord(record, context, info, geometry);
    if (result.outcome != StatusOutcome::Decoded)
        return result;

    result.tableMessages = ScalingFromStatus(info, context.fahrenheit, context.humidityQuantity, scaling);
    if (scaling.tableError) {
        result.outcome = StatusOutcome::TableError;
        return result;
    }

    info.currentValues = ConvertRealTimeFields(info.currentReadings, info, scaling, context.fahrenheit);
    return result;
}

} // namespace tamble
