#pragma once
// The status record: the long line a logger answers to "B" or "C". Decoding
// validates the length and the hour digit first, then copies the fields at
// their positions, so a record of any length or content is read safely.

#include "settings/memory_geometry.h"
#include "format/logger_info.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace tamble {

struct SettingsRecord;
struct ChannelScaling;

inline constexpr int kStatusRecordMaxLength = 255;  // longer records are cut here
inline constexpr int kStatusRecordMinLength = 250;

// Fixed texts used when a logger clock text does not pass validation.
inline constexpr const char* kFallbackClockStamp = "Tue 24-Jun-2003 10:01";
inline constexpr const char* kFallbackLastReadingStamp = "Tue 17-Jun-2003 10:01";
inline constexpr const char* kFallbackFirstReadingStamp = "Tue 10-Jun-2003 10:01";

// At least 250 characters and character 5 (the first hour digit of the
// first-reading time) '0', '1' or '2'.
bool StatusRecordValid(QByteArrayView record);

// "Invalid response from logger; " + character 5 + " Length = " + length
// (two characters) + "\r" + record + " " + last command.
QString InvalidStatusMessage(QByteArrayView record, QByteArrayView lastCommand);

enum class StatusOutcome {
    Decoded,     // LoggerInfo and geometry hold the new record
    Invalid,     // nothing was changed; see InvalidStatusMessage
    TableError,  // decoded, but a channel table was unusable: end the session, show nothing
};

struct StatusDecodeResult {
    StatusOutcome outcome = StatusOutcome::Invalid;
    // The record's revision differs from the settings' last revision: the
    // caller stores it there and lets the setup window adapt its choices.
    bool revisionChanged = false;
    // TableError: the messages of the channel set-up, to be shown (error, OK).
    QStringList tableMessages;
};

// Inputs of a decoding that do not come from the record.
struct StatusContext {
    QString transferStamp;   // the PC's present date and time as text
    bool twelveHourClock = true;   // settings am/pm: form of the file time stamps
    bool autoAnswer = false;       // settings auto answer: year correction of the first reading
    char lastRevision = 0;         // settings last revision
    bool oldLogger = false;        // the handshake found a logger of the oldest family
    bool fahrenheit = false;       // settings: temperature channels in degrees Fahrenheit
    int humidityQuantity = 0;      // settings: 0 RH, 1 dew point, 2 wet bulb
};

StatusContext MakeStatusContext(const SettingsRecord& settings, const QString& transferStamp,
                                bool oldLogger);

// Copies the fields and derives every value that does not need the channel
// conversion: identity, resolution, geometry, rate, battery, stamps. On an
// invalid record nothing is changed and the outcome is Invalid.
StatusDecodeResult DecodeStatusRecord(QByteArrayView record, const StatusContext& context,
                                      LoggerInfo& info, MemoryGeometry& geometry);

// The channel scaling of the logger in `info` (tables looked up in scaling.tableDirectory); returns
// the messages of the channels whose tables failed (scaling.tableError is then set).
QStringList ScalingFromStatus(const LoggerInfo& info, bool fahrenheit, int humidityQuantity, ChannelScaling& scaling);

// Everything above, then the channel set-up of all four channels from the
// record's scaling codes and texts (tables read from scaling.tableDirectory),
// then the current readings converted into info.currentValues. A table error
// gives TableError with the set-up's messages; the current values are then
// left as they were.
StatusDecodeResult DecodeStatus(QByteArrayView record, const StatusContext& context, LoggerInfo& info,
                                MemoryGeometry& geometry, ChannelScaling& scaling);

// Minutes a full memory lasts: capacity / channels on × minutes per reading;
// 0 with no channel on.
float ChannelTotalMinutes(const LoggerInfo& info);

// Sets referenceOhms and referenceCode from the revision, the resolution and,
// for 8- and 10-bit loggers, the battery byte of the reading being decoded.
void SetReferenceResistor(LoggerInfo& info, std::uint8_t readingBatteryByte);

} // namespace tamble
