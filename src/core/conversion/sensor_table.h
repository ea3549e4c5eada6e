#pragma once
// Sensor tables: the text files beside the program that pair engineering
// values with measured values (ohms, millivolts or counts), and the choice of
// table file for a channel's scaling code.
//
// File layout, one item per line (CR LF, LF or CR ends a line):
//   1  title, ignored
//   2  kind: first character 'N' (measured values are percent of full scale,
//      stored as counts), 'L' (light: values are not temperatures) or any
//      other character (temperatures in degrees Celsius)
//   3  column headings, ignored
//   4… one point per line: engineering value, blank(s), measured value;
//      points in descending order of the measured value

#include <QByteArray>
#include <QHash>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tamble {

// Rows a table can hold (indexes 0–254).
inline constexpr int kSensorTableCapacity = 255;

struct SensorTable {
    // A whole number kept in single precision, as the conversion uses it.
    float pointCount = 0.0f;
    // Row i pairs outputColumn[i] (engineering value) with inputColumn[i]
    // (measured value). Rows at and beyond pointCount are zero.
    std::array<float, kSensorTableCapacity> outputColumn{};
    std::array<float, kSensorTableCapacity> inputColumn{};

    int points() const { return static_cast<int>(pointCount); }
};

enum class TableParseStatus {
    Ok,
    TooFewPoints,   // fewer than two points
    TooManyPoints,  // more rows than the table can hold
    MalformedPoint, // a point line that does not start with two numbers
};

struct ParsedSensorTable {
    TableParseStatus status = TableParseStatus::TooFewPoints;
    char kind = '\0';   // first character of line 2 ('\0' when line 2 is empty or missing)
    SensorTable table;  // the points read (also on failure, as far as they go)
    int lineNumber = 0; // the offending line for MalformedPoint, 1-based
};

// Parses the text of a table file. For kind 'N' every measured value is
// stored as value × fullScaleCount / 100 (single precision). Blank point
// lines are skipped; figures after the second number on a line are ignored.
// Never reads past `text`, never allocates.
ParsedSensorTable ParseSensorTable(std::string_view text, std::uint16_t fullScaleCount);

// True for the thermocouple codes: every code character above 'X'.
inline bool IsThermocoupleCode(char code)
{
    return static_cast<unsigned char>(code) > static_cast<unsigned char>('X');
}

// True for codes that need no table file: '0', '3', 'R', 'X'.
inline bool CodeUsesNoTable(char code)
{
    return code == '0' || code == '3' || code == 'R' || code == 'X';
}

// The table file name for a channel: "b.mvt" … "t.mvt" (or the code letter +
// ".mvt") for thermocouple codes; otherwise the scaling text with all blanks
// removed + ".Rvt", or "C.Rvt" when no name remains.
QString SensorTableFileName(char code, std::string_view scalingText);

// Where the channel set-up reads its tables. By default they are the files
// of the table folder; tests and fuzzers hand in tables held in memory so a
// set-up never touches the disk.
class SensorTableSource {
public:
    virtual ~SensorTableSource() = default;
    // The text of the table called `name` (letter case aside), or nothing
    // when there is no such table.
    virtual std::optional<QByteArray> read(const QString& name) const = 0;
};

// Tables kept in memory, found by name without regard to letter case.
class MemoryTableSource : public SensorTableSource {
public:
    void add(const QString& name, const QByteArray& text) { tables_.insert(name.toLower(), text); }
    void clear() { tables_.clear(); }
    std::optional<QByteArray> read(const QString& name) const override;

private:
    QHash<QString, QByteArray> tables_;
};

// The table every missing table file falls back to.
inline constexpr const char* kFallbackTableName = "C.Rvt";

} // namespace tamble
