#pragma once
// The status record: the long line a logger answers to "B" or "C". Decoding
// validates the length and the hour digit first, then copies the fields at
// their positions, so a record of any length or content is read safely.

#include "app/memory_geometry.h"
#include "link/logger_info.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tamble {

struct SettingsRecord;

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
};

// Inputs of a decoding that do not come from the record.
struct StatusContext {
    QString transferStamp;   // the PC's present date and time as text
    bool twelveHourClock = true;   // settings am/pm: form of the file time stamps
    bool autoAnswer = false;       // settings auto answer: year correction of the first reading
    char lastRevision = 0;         // settings last revision
    bool oldLogger = false;        // the handshake found a logger of the oldest family
};

StatusContext MakeStatusContext(const SettingsRecord& settings, const QString& transferStamp,
                                bool oldLogger);

// Copies the fields and derives every value that does not need the channel
// conversion: identity, resolution, geometry, rate, battery, stamps. On an
// invalid record nothing is changed and the outcome is Invalid.
StatusDecodeResult DecodeStatusRecord(QByteArrayView record, const StatusContext& context,
                                      LoggerInfo& info, MemoryGeometry& geometry);

// Sets referenceOhms and referenceCode from the revision, the resolution and,
// for 8- and 10-bit loggers, the battery byte of the reading being decoded.
void SetReferenceResistor(LoggerInfo& info, std::uint8_t readingBatteryByte);

// The correction in "[...]" of a label; 0 without "[" or without a "]" after it.
float LabelOffsetOf(QByteArrayView label);

} // namespace tamble
