#pragma once
// The logger's side of the status record and of real-time readings: builds
// the lines a logger sends, field by field at their positions. The virtual
// logger (tamble-sim) answers with these, and tests use them to make records
// that DecodeStatus reads back.

#include "format/hex.h"
#include "format/logger_info.h"

#include <QByteArray>
#include <QDateTime>
#include <array>
#include <cstdint>

namespace tamble {

// Everything a logger puts into its status record.
struct StatusRecordFields {
    QByteArray firstReadingClock = "00000101010192"; // 14-character logger clock texts
    QByteArray lastReadingClock = "00000101010192";
    QByteArray clockText = "00000101010192";  // its 11th character is replaced by the bank letter
    std::uint8_t statusFlags = 0x02;          // status byte 1; bit 7 is set for 10 bit
    char rateCode = 'G';
    std::uint8_t channelFlags = 0x01;
    int inputTypes = 0;                       // 3 bits per channel (written from revision 'Q' on)
    std::uint8_t phaseByte = 0;
    std::uint16_t memoryPointer = 512;
    std::array<QByteArray, 4> labels;         // padded or cut to 24 characters
    QByteArray description;                   // padded or cut to 31 characters
    std::array<std::uint16_t, 4> currentCounts{};
    std::uint8_t batteryByte = 110;           // about 12.2 volts
    std::uint8_t stationAddress = 0;
    std::array<QByteArray, 4> scalingTexts;   // padded or cut to 12 characters
    std::array<char, 4> scalingCodes{'A', '0', '0', '0'};
    char revision = 'q';
    char modelDigit = '1';
    int resolutionBits = 12;                  // 8, 10 or 12
    char lastBank = 'A';                      // written only for model digit '6'
};

// The two input-type characters for a 12-bit input-type word ("@@" for 0).
QByteArray InputTypeChars(int inputTypes);

// A logger clock text: ss mm hh dd MM, a filler digit, weekday digit
// (1 = Sunday), yy.
QByteArray LoggerClockText(const QDateTime& when);

// The reading fields in the real-time layout of the resolution (12
// characters; an 8-bit reading has two filler characters at the end).
QByteArray EncodeReadingFields(const std::array<std::uint16_t, 4>& counts, std::uint8_t batteryByte,
                               int resolutionBits);

// A real-time reading line as the logger sends it after ">": the fields and
// the checksum (12 characters for 8 bit, 14 otherwise), without CR.
QByteArray EncodeRealTimeLine(const std::array<std::uint16_t, 4>& counts, std::uint8_t batteryByte,
                              int resolutionBits);

// The status record without CR: 251 characters (8, 10 bit) or 252 (12 bit,
// the battery byte last), followed by a two-character checksum. The 12-bit
// battery byte travels raw, so a value of 13 (CR) would end the line early.
QByteArray EncodeStatusRecord(const StatusRecordFields& fields);

// The raw fields of a decoded status, for sending the same logger back.
StatusRecordFields FieldsFromLoggerInfo(const LoggerInfo& info, const std::array<std::uint16_t, 4>& currentCounts);

} // namespace tamble
