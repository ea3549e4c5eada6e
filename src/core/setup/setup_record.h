#pragma once
// The logger setup: one 781-byte record, identical byte for byte to a ".SET"
// file. The record keeps its whole raw image so that the reserved fields and the
// characters past a text's length travel through load and save unchanged; the
// accessors read and write the fields at their offsets.

#include "setup/start_field.h"
#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cstdint>
#include <optional>

namespace tamble {

inline constexpr int kSetupRecordSize = 781;

// Offsets of the fields in the record (channel n of a per-channel field is at
// base + (n - 1) * stride).
namespace setup_offset {
inline constexpr int RateCode = 0;
inline constexpr int StartRunMode = 1;
inline constexpr int ChannelOn = 2;          // 4 x 1
inline constexpr int Description = 6;        // 1 + 31
inline constexpr int ChannelLabel = 38;      // 4 x (1 + 24)
inline constexpr int StartDate = 138;        // i32
inline constexpr int StartTime = 142;        // i32
inline constexpr int ScalingCode = 146;      // 4 x 1
inline constexpr int InputTypes = 150;       // u16
inline constexpr int TableName = 152;        // 4 x (1 + 8)
inline constexpr int LinearValues = 188;     // 4 x (1 + 12)
inline constexpr int Reserved = 240;         // 240..775, carried unchanged
inline constexpr int DialOutWeekday = 776;
inline constexpr int DialOutMonthDay = 777;
inline constexpr int DialOutKind = 778;
inline constexpr int StartDateIsToday = 779;
inline constexpr int Resolution = 780;
} // namespace setup_offset

inline constexpr int kDescriptionWidth = 31;
inline constexpr int kChannelLabelWidth = 24;

// Channels are numbered 1..4.
inline constexpr bool IsSetupChannel(int channel) { return channel >= 1 && channel <= 4; }
inline constexpr int kTableNameWidth = 8;
inline constexpr int kLinearValuesWidth = 12;

// Start choices (StartRunMode / 8) and run choices (StartRunMode % 8).
enum class StartChoice : int { Immediate = 0, AtPresetTime = 1, WhenSensorsAttached = 2, ImmediateWithDialOut = 3 };
enum class RunChoice : int { UntilMemoryFull = 0, Continuously = 1, UntilProbeDetached = 2 };

// Input type of one channel (3 bits of InputTypes).
enum class InputType : int { Standard = 0, TemperatureRh = 1, Average = 2, Pulse = 4, ShortExcitation = 5 };

class SetupRecord {
public:
    // All 781 bytes zero.
    SetupRecord();

    // The first 781 bytes of `bytes`; nothing when fewer are given.
    static std::optional<SetupRecord> fromBytes(QByteArrayView bytes);

    // The exact image (always 781 bytes).
    const QByteArray& bytes() const { return m_bytes; }

    bool operator==(const SetupRecord& other) const { return m_bytes == other.m_bytes; }

    // Channels are numbered 1..4; a channel outside that range reads as 0 /
    // empty and is ignored on writing.
    char rateCode() const;
    void setRateCode(char code);

    std::uint8_t startRunMode() const;
    void setStartRunMode(std::uint8_t value);
    int startChoice() const { return startRunMode() / 8; }
    int runChoice() const { return startRunMode() % 8; }
    void setStartRun(int startChoice, int runChoice);

    bool channelOn(int channel) const;
    void setChannelOn(int channel, bool on);
    int channelsOn() const;

    // Texts are the stored characters (up to the length byte, clamped to the
    // field). Setting a text longer than its field cuts it to the field.
    QByteArray description() const;
    void setDescription(QByteArrayView text);
    QByteArray channelLabel(int channel) const;
    void setChannelLabel(int channel, QByteArrayView text);

    std::int32_t startDate() const;   // days from 1 January 1600, -1 = no date
    void setStartDate(std::int32_t dayNumber);
    std::int32_t startTime() const;   // seconds after midnight, -1 = no time
    void setStartTime(std::int32_t seconds);

    char scalingCode(int channel) const;
    void setScalingCode(int channel, char code);

    std::uint16_t inputTypes() const;
    void setInputTypes(std::uint16_t value);
    int inputType(int channel) const;            // 3 bits of channel n
    void setInputType(int channel, int type);

    QByteArray tableName(int channel) const;
    void setTableName(int channel, QByteArrayView name);
    QByteArray linearValues(int channel) const;
    void setLinearValues(int channel, QByteArrayView text);

    std::uint8_t dialOutWeekday() const;
    void setDialOutWeekday(std::uint8_t day);
    std::uint8_t dialOutMonthDay() const;
    void setDialOutMonthDay(std::uint8_t day);
    std::uint8_t dialOutKind() const;            // 0, 'a', 'b' or 'c'
    void setDialOutKind(std::uint8_t kind);
    std::uint8_t startDateIsToday() const;
    void setStartDateIsToday(std::uint8_t flag);
    std::uint8_t resolution() const;             // 0 n/a, 1 = 12, 2 = 10, 3 = 8 bit
    void setResolution(std::uint8_t value);

private:
    QByteArray m_bytes;
};

// Day number (1 January 1600 = 0) of a date and back; -1 and invalid dates map
// to each other.
std::int32_t SetupDayNumber(const QDate& date);
QDate SetupDate(std::int32_t dayNumber);
// Whole seconds after midnight of a time; -1 for an invalid time.
std::int32_t SetupSecondsOfDay(const QTime& time);

// `text` padded with spaces to `width` characters (cut when longer).
QByteArray PadWithSpaces(QByteArrayView text, int width);
// `text` without its trailing spaces.
QByteArray TrimTrailingSpaces(QByteArrayView text);

// The default setup with StartDate/StartTime taken from `now`.
SetupRecord DefaultSetupRecord(const QDateTime& now);

// The fields of a setup that decide its start moment.
StartSchedule ScheduleOf(const SetupRecord& setup);

} // namespace tamble
