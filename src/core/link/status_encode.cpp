#include "link/status_encode.h"

#include "format/hex.h"
#include "format/memory_layout.h"
#include "format/status_flags.h"
#include "link/realtime.h"

namespace tamble {

namespace {

// Writes `text` at 1-based `pos`, padded with blanks or cut to `width`.
void Put(QByteArray& rec, int pos, int width, const QByteArray& text)
{
    for (int i = 0; i < width; ++i)
        rec[pos - 1 + i] = i < text.size() ? text[i] : ' ';
}

QByteArray TwoDigits(int n)
{
    return QByteArray::number(n % 100).rightJustified(2, '0');
}

} // namespace

QByteArray InputTypeChars(int inputTypes)
{
    QByteArray s(2, '@');
    s[0] = static_cast<char>(64 + (inputTypes & 63));
    s[1] = static_cast<char>(64 + ((inputTypes >> 6) & 63));
    return s;
}

QByteArray LoggerClockText(const QDateTime& when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    return TwoDigits(t.second()) + TwoDigits(t.minute()) + TwoDigits(t.hour()) + TwoDigits(d.day())
         + TwoDigits(d.month()) + '0' + QByteArray::number(d.dayOfWeek() % 7 + 1) + TwoDigits(d.year());
}

QByteArray EncodeReadingFields(const std::array<std::uint16_t, 4>& c, std::uint8_t batteryByte, int resolutionBits)
{
    QByteArray f;
    if (resolutionBits == 12) {
        auto high = [&](int ch) { return HexByte(static_cast<std::uint8_t>((c[ch] >> 4) & 0xFF)); };
        auto nibbles = [&](int a, int b) {
            return HexByte(static_cast<std::uint8_t>((c[a] & 0x0F) | ((c[b] & 0x0F) << 4)));
        };
        f = high(0) + high(1) + nibbles(0, 1) + high(2) + high(3) + nibbles(2, 3);
    } else if (resolutionBits == 10) {
        std::uint8_t low = 0;
        for (int ch = 0; ch < 4; ++ch) {
            f += HexByte(static_cast<std::uint8_t>((c[ch] >> 2) & 0xFF));
            low = static_cast<std::uint8_t>(low | ((c[ch] & 3) << (2 * ch)));
        }
        f += HexByte(low) + HexByte(batteryByte);
    } else {
        f = HexByte(batteryByte);
        for (int ch = 0; ch < 4; ++ch)
            f += HexByte(static_cast<std::uint8_t>(c[ch] & 0xFF));
        f += "00";
    }
    return f;
}

QByteArray EncodeRealTimeLine(const std::array<std::uint16_t, 4>& counts, std::uint8_t batteryByte,
                              int resolutionBits)
{
    return WithCheckDigits(EncodeReadingFields(counts, batteryByte, resolutionBits)
                                   .left(ReadingFieldLength(resolutionBits)));
}

QByteArray EncodeStatusRecord(const StatusRecordFields& f)
{
    const bool twelveBit = f.resolutionBits == 12;
    QByteArray rec(twelveBit ? 252 : 251, ' ');

    // Bits 6-7 of status byte 1 carry the resolution: clear for 8 bit, both
    // set for 10 bit and for the 12-bit single-memory models, bit 7 alone for
    // 12-bit LX900 models.
    std::uint8_t flags = f.statusFlags & ~(kStatusTenBit | kStatusTenBitOfWide);
    if (f.resolutionBits == 10 || (twelveBit && static_cast<unsigned char>(f.modelDigit) < '5'))
        flags |= kStatusTenBit | kStatusTenBitOfWide;
    else if (twelveBit)
        flags |= kStatusTenBit;

    QByteArray clock = f.clockText.leftJustified(14, '0').left(14);
    clock[10] = f.modelDigit == kFourBankModelDigit ? f.lastBank : '0';

    Put(rec, 1, 14, f.firstReadingClock);
    Put(rec, 15, 14, f.lastReadingClock);
    Put(rec, 29, 2, HexByte(flags));
    Put(rec, 31, 2, HexByte(static_cast<std::uint8_t>(f.rateCode)));
    Put(rec, 33, 2, HexByte(f.channelFlags));
    Put(rec, 35, 2, static_cast<unsigned char>(f.revision) <= 'P' ? QByteArray("@@") : InputTypeChars(f.inputTypes));
    Put(rec, 37, 2, HexByte(f.phaseByte));
    Put(rec, 39, 2, HexByte(static_cast<std::uint8_t>(f.memoryPointer >> 8)));
    Put(rec, 41, 2, HexByte(static_cast<std::uint8_t>(f.memoryPointer & 0xFF)));
    for (int i = 0; i < 4; ++i)
        Put(rec, 43 + 24 * i, 24, f.labels[i]);
    Put(rec, 139, 31, f.description);
    Put(rec, 170, 12, EncodeReadingFields(f.currentCounts, f.batteryByte, f.resolutionBits));
    Put(rec, 182, 14, clock);
    Put(rec, 196, 2, HexByte(f.stationAddress));
    for (int i = 0; i < 4; ++i) {
        Put(rec, 198 + 12 * i, 12, f.scalingTexts[i]);
        rec[245 + i] = f.scalingCodes[i];
    }
    rec[249] = f.revision;
    rec[250] = f.modelDigit;
    if (twelveBit)
        rec[251] = static_cast<char>(f.batteryByte);
    return WithCheckDigits(rec);
}

StatusRecordFields FieldsFromLoggerInfo(const LoggerInfo& info, const std::array<std::uint16_t, 4>& currentCounts)
{
    StatusRecordFields f;
    f.firstReadingClock = info.firstReadingClock;
    f.lastReadingClock = info.lastReadingClock;
    f.clockText = info.clockText;
    f.statusFlags = info.statusFlags;
    f.rateCode = info.rateCode;
    f.channelFlags = info.channelFlags;
    f.inputTypes = info.inputTypes;
    f.phaseByte = info.phaseByte;
    f.memoryPointer = info.memoryPointer;
    f.labels = info.labels;
    f.description = info.description;
    f.currentCounts = currentCounts;
    f.batteryByte = info.batteryByte;
    f.stationAddress = info.stationAddress;
    f.scalingTexts = info.scalingTexts;
    f.scalingCodes = info.scalingCodes;
    f.revision = info.revision;
    f.modelDigit = info.modelDigit;
    f.resolutionBits = info.resolutionBits;
    f.lastBank = info.lastBank;
    return f;
}

} // namespace tamble
