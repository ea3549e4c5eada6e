#pragma once
// What the program knows about the logger it talked to last: the values of the
// last status record and everything derived from them. One process-wide value,
// owned by AppRecords, written by DecodeStatus and read by the download, the
// real-time display, the setup window and the Status window texts.

#include "format/status_flags.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace tamble {

// The bits of statusFlags and channelFlags: format/status_flags.h.

struct LoggerInfo {
    // The record as it was decoded (NULs of the label area already blanked,
    // at most 255 characters).
    QByteArray record;

    // Raw fields.
    QByteArray firstReadingClock;   // positions 1-14, logger clock text
    QByteArray lastReadingClock;    // positions 15-28
    QByteArray clockText;           // positions 182-195
    std::uint8_t statusFlags = 0;   // status byte 1
    char rateCode = 0;              // status byte 2
    std::uint8_t channelFlags = 0;  // status byte 3
    QByteArray inputTypeChars = "@@"; // positions 35-36 ("@@" for revisions up to 'P')
    int inputTypes = 0;             // 3 bits per channel, channel 1 in bits 0-2
    std::uint8_t phaseByte = 0;     // status byte 5
    std::uint16_t memoryPointer = 0; // status bytes 6-7
    std::array<QByteArray, 4> labels;        // 24 characters each
    QByteArray description;                  // 31 characters
    QByteArray currentReadings;              // positions 170-181, real-time field layout
    std::uint8_t stationAddress = 0;
    std::array<QByteArray, 4> scalingTexts;  // 12 characters each
    std::array<char, 4> scalingCodes{'0', '0', '0', '0'}; // '0' = channel not fitted
    char revision = 'A';
    bool oldFamily = false;         // revisions 'A'..'G'
    char modelDigit = '0';
    std::uint8_t batteryByte = 0;
    char lastBank = 'A';            // bank the logger is writing in

    // Derived values.
    int resolutionBits = 8;         // 8, 10 or 12
    std::int32_t memoryCapacity = 0; // reading slots of this logger's memory
    std::int32_t fullScaleCount = 0; // 255, 1023 or 4095
    int resolutionType = 0;         // 1, 2, 3 by resolution; 5 or 6 for model digits '5' and '6'
    int channelsOn = 0;
    std::array<float, 4> labelOffsets{0, 0, 0, 0};
    float minutesPerReading = 60;
    double batteryVolts = 0;
    std::int32_t referenceOhms = 10000; // set by every decoding of a reading
    char referenceCode = 'A';           // written into the data file header

    // Stamps (file time stamps, or the fixed fallbacks).
    QString transferStamp;          // the PC's date and time when the record arrived
    QString clockStamp;
    QString firstReadingStamp;
    QString lastReadingStamp;

    // The current readings, converted to engineering values.
    std::array<float, 4> currentValues{0, 0, 0, 0};

    bool statusShown = false;       // a status has been shown since start ("&Last Status")

    bool channelOn(int channel) const { return channel >= 1 && channel <= 4 && (channelFlags >> (channel - 1)) & 1; }
    int inputType(int channel) const { return channel >= 1 && channel <= 4 ? (inputTypes >> (3 * (channel - 1))) & 7 : 0; }
    bool twelveBit() const { return resolutionBits == 12; }
    bool tenBit() const { return resolutionBits == 10; }
};

} // namespace tamble
