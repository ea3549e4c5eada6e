#pragma once
// The persisted user settings: one fixed 1596-byte binary record stored as
// "tblog.ini" in the program directory (not an INI text file despite its name).
// The record lives in AppRecords for the whole run; windows and the session
// engine read and write its fields directly.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace tamble {

inline constexpr int kSettingsRecordSize = 1596;
inline constexpr const char* kSettingsFileName = "tblog.ini";

// Field widths of the length-prefixed text fields (character bytes after the length byte).
inline constexpr int kSettingsPathWidth = 255;
inline constexpr int kSettingsPhoneWidth = 254;

struct SettingsRecord {
    std::int32_t baud = 19200;            // 0: 1200 .. 57600 bits per second
    std::int32_t portNumber = 1;          // 4: serial port 1..20
    bool fahrenheit = true;               // 8
    bool network = false;                 // 9: multi-drop network addressed by station
    bool useModem = false;                // 10
    bool amPm = true;                     // 11: 12-hour clock texts
    std::uint8_t viewportMode = 1;        // 12
    bool wireless = false;                // 13
    std::array<std::uint8_t, 4> viewportAssignment{4, 0, 0, 0}; // 14..17
    std::uint8_t stationAddress = 1;      // 18
    std::uint8_t grid = 3;                // 19: 0 none, 1 Y, 2 X, 3 both
    std::uint8_t textSize = 2;            // 20: 1 small, 2 medium, 3 large
    std::uint8_t colourMode = 1;          // 21: 1 colour, 2 mono, 3 mono + symbols
    bool thickPlotting = false;           // 22
    bool markDataPoints = true;           // 23
    bool gridInFront = false;             // 24
    std::int32_t phoneEntry = 0;          // 28: phone-list index from 0
    char lastRevision = 'n';              // 32: revision letter of the last logger read
    std::uint8_t resolutionType = 5;      // 33: 1/2/3 = 8/10/12 bit, 5, 6 newer models
    QString lastSetupFile = QStringLiteral("default.set");  // 34: 1 + 255
    QString lastDataFile = QStringLiteral("site1a.tl1");    // 290: 1 + 255
    QString colourFile = QStringLiteral("default.gcf");     // 546: 1 + 255
    std::uint8_t radioChannel = 2;        // 802: carried through load and save
    std::int32_t localModemEntry = 0;     // 804
    QString localModemInit;               // 808: 1 + 255
    std::int32_t remoteModemEntry = 0;    // 1064
    QString remoteModemInit;              // 1068: 1 + 255
    QString phoneNumber;                  // 1324: 1 + 254
    std::uint8_t exportDateFormat = 0;    // 1579: 0 mm/dd/yyyy, 1 dd/mm/yyyy
    std::uint8_t humidityQuantity = 0;    // 1580: 0 RH, 1 dew point, 2 wet bulb
    std::uint8_t reserved = 1;            // 1581: written, never used
    std::int32_t autoFileCounter = 0;     // 1584: last auto-answer file number
    bool fastProtocol = true;             // 1588
    bool noHeader = false;                // 1589: ASCII export without header
    bool autoAnswer = false;              // 1590
    bool autoExport = false;              // 1591: CSV export after every download
    std::int32_t exportAveraging = 1;     // 1592: 1 all, 9999 one value, N every N

    bool operator==(const SettingsRecord&) const = default;
};

// The record as its 1596 file bytes; padding bytes are written as zero.
QByteArray SerializeSettings(const SettingsRecord& rec);

// Reads the first 1596 bytes of `bytes`; nullopt when fewer are given.
// Padding is ignored; a length byte larger than its field is clamped.
std::optional<SettingsRecord> DeserializeSettings(const QByteArray& bytes);

// Full path of "tblog.ini" in `programDir`.
QString SettingsFilePath(const QString& programDir);

// Missing, short or unreadable file: every field takes its default, silently.
SettingsRecord LoadSettings(const QString& programDir);

// Writes a temporary file and renames it over "tblog.ini", so a failed save
// leaves the old file (or none) rather than a truncated one. Callers ignore
// the result: failures are silent.
bool SaveSettings(const QString& programDir, const SettingsRecord& rec);

} // namespace tamble
