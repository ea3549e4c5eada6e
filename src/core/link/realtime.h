#pragma once
// Real-time readings: the line a logger sends for "Y" (or on its own after
// "Z"), and the current-readings field of the status record, which has the
// same layout. A reading carries four raw counts (and, for 8- and 10-bit
// loggers, the battery byte); each count is converted by the channel scaling.

#include "format/hex.h"
#include "format/logger_info.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace tamble {

struct ChannelScaling;

// ReadingHexPair and ReadingChecksumValid (format/hex.h) read these lines.

// Characters before the first '>' are dropped while more than 17 remain, then
// the first character (the '>') is dropped.
QByteArray TrimRealTimeLine(QByteArrayView line);

// Characters of reading fields (checksum excluded) per resolution: 10 for
// 8-bit loggers, 12 for 10- and 12-bit loggers.
int ReadingFieldLength(int resolutionBits);

struct RawReading {
    std::array<std::uint16_t, 4> counts{};
    std::uint8_t batteryByte = 0;   // 8- and 10-bit forms only
    bool hasBattery = false;
};

// The four raw counts of a reading; nullopt when `fields` is too short.
std::optional<RawReading> DecodeReadingFields(QByteArrayView fields, int resolutionBits);

// The battery byte of a reading's fields (0 for 12 bit or short fields).
std::uint8_t RealTimeBatteryByte(QByteArrayView fields, int resolutionBits);

// Sets the reference resistor from the reading (LoggerInfo and scaling),
// converts the four counts in ascending channel order and, with
// `fahrenheit`, turns temperature channels into degrees Fahrenheit. Short
// fields give four zero values.
std::array<float, 4> ConvertRealTimeFields(QByteArrayView fields, LoggerInfo& info,
                                           ChannelScaling& scaling, bool fahrenheit);

struct RealTimeReading {
    bool checksumOk = false;            // false: the value boxes show "Checksum error"
    std::array<float, 4> values{};
    std::array<std::uint16_t, 4> counts{}; // as converted (a full-scale count lowered by one)
};

// A received real-time line (not an "OK" line): trimmed, checked, decoded and
// converted. A line too short for the logger's resolution counts as a
// checksum failure.
RealTimeReading DecodeRealTimeLine(QByteArrayView line, LoggerInfo& info, ChannelScaling& scaling,
                                   bool fahrenheit);

// A line containing "OK" answers the start of real time and carries no reading.
bool IsRealTimeOkLine(QByteArrayView line);

inline constexpr const char* kChecksumErrorText = "Checksum error";

// What follows the status record of a RealTime transaction.
struct RealTimeStart {
    bool start = false;    // false: show `message` (information, OK) and end the session
    QString message;
    QByteArray command;    // "Y" (revision above 'o') or "Z"
};

RealTimeStart StartRealTime(char revision, bool useModem);

// Revisions 'p' and later are polled: the next "Y" follows each reading.
bool RealTimePolled(char revision);

// Revisions up to 'o' stop real time with an EndRealTime session.
bool RealTimeNeedsEndSession(char revision);

} // namespace tamble
