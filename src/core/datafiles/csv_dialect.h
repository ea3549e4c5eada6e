#pragma once
// The layout of a CSV export's text: the field separator, the decimal mark,
// the time stamp and the header. The default is the program's own layout,
// the one the .TL2 bank files, the automatic export and the conversion always
// write; the others are for reading a recording into a spreadsheet.

#include "datafiles/timebase.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>

namespace tamble {

enum class FieldSeparator : std::uint8_t { Comma, Semicolon, Tab };
enum class DecimalMark : std::uint8_t { Point, Comma };
// DateAndTime: "mm/dd/yyyy,hh:mm:ss[,mmm]" in the settings' date order.
// Iso8601: one field "yyyy-mm-ddThh:mm:ss[.mmm]".
enum class StampLayout : std::uint8_t { DateAndTime, Iso8601 };
// Full: the 17 header lines. Spreadsheet: one row of column headings naming
// each channel by its label and unit, and nothing before it.
enum class HeaderLayout : std::uint8_t { Full, Spreadsheet };

struct CsvDialect {
    FieldSeparator separator = FieldSeparator::Comma;
    DecimalMark decimalMark = DecimalMark::Point;
    StampLayout stamp = StampLayout::DateAndTime;
    HeaderLayout header = HeaderLayout::Full;

    bool operator==(const CsvDialect&) const = default;
    bool isDefault() const { return *this == CsvDialect{}; }
    char separatorChar() const;
    char decimalChar() const { return decimalMark == DecimalMark::Comma ? ',' : '.'; }
};

// Why the dialect cannot be written (a comma both separating the fields and
// marking the decimals); empty when it can.
QString DialectRefusal(const CsvDialect& dialect);

// A choice of separator or decimal mark, the other giving way when the two
// would both be commas: a decimal comma brings the semicolon, a comma
// separator the decimal point. `note` says what was changed (else empty).
struct DialectChoice {
    CsvDialect dialect;
    QString note;
};
DialectChoice WithSeparator(CsvDialect dialect, FieldSeparator separator);
DialectChoice WithDecimalMark(CsvDialect dialect, DecimalMark mark);

// An export stamp of the program's own layout (fields separated by
// `separator`, the date in `order`) rewritten in the dialect's separator and
// stamp layout. Texts of any content give a stamp of bounded length.
ExportStamp DialectStamp(QByteArrayView stamp, char separator, ExportDateOrder order, const CsvDialect& dialect);

// A number written with a point ("-12.345") in the dialect's decimal mark.
QByteArray DialectNumber(QByteArrayView number, const CsvDialect& dialect);

// A heading field as the dialect needs it: quoted (quotes doubled) when it
// holds the separator, a quote or a line end.
QByteArray DialectField(const QByteArray& text, const CsvDialect& dialect);

// ---------------------------------------------------------------- the choice kept

inline constexpr const char* kExportDialectFileName = "export.ini";

// The dialect last chosen, kept in "export.ini" in the program folder:
//
//   [CSV]
//   separator=semicolon      comma | semicolon | tab
//   decimal=comma            point | comma
//   timestamp=iso8601        date-time | iso8601
//   header=spreadsheet       full | spreadsheet
//
// The file is a convenience: a missing file, an unknown key or value keeps
// the default, and a comma in both places is read as a decimal comma.
class ExportDialectFile {
public:
    explicit ExportDialectFile(QString programDir) : m_dir(std::move(programDir)) {}

    QString path() const;
    CsvDialect load() const;
    // Written through a temporary file and a rename. The error text, empty on success.
    QString save(const CsvDialect& dialect) const;

    static QByteArray toText(const CsvDialect& dialect);
    static CsvDialect fromText(QByteArrayView text);

private:
    QString m_dir;   // ends with a separator
};

} // namespace tamble
