#pragma once
// ASCII ("Tabular Values", .TXT) and CSV exports of the current recording: a
// 17-line header, then one line per reading or per average of N readings,
// each with its export time stamp and one engineering value per recorded
// channel. The .TL2 file of a multi-bank recording is such a CSV export too,
// always in the program's own layout; a CSV export of the user's may take
// another dialect (csv_dialect.h).

#include "datafiles/csv_dialect.h"
#include "datafiles/dataset.h"
#include "datafiles/text_out.h"
#include "datafiles/timebase.h"

#include <QByteArray>
#include <QString>
#include <array>

namespace tamble {

// The export's choices that live in the settings record.
struct ExportSettings {
    bool noHeader = false;
    ExportDateOrder dateOrder = ExportDateOrder::MonthFirst;
    bool fahrenheit = false;
    int humidityQuantity = 0;
    QString programDir;     // second place to look for a .TL2 file
};

struct ExportRequest {
    QString path;
    QByteArray note;        // header line 1
    bool csv = true;        // false: tabular text
    int averaging = 1;      // 1 all points, 9999 one average, N every N readings
    CsvDialect dialect;     // CSV only; a tabular export keeps its layout
};

struct ExportResult {
    bool ok = false;
    QString message;        // error text to show (empty when nothing is to be said)
    qint64 dataLines = 0;
};

// Writes the export file. The file is written under a temporary name and
// replaces an existing file of that name only when complete. A dialect with
// DialectRefusal writes nothing and says why.
ExportResult ExportData(DataSet& data, const ExportRequest& request, const ExportSettings& settings);

// The 17 header lines (each ended by CR LF), or the one row of column
// headings of the spreadsheet layout. `readingsExported` is R, named in the
// note of a single average.
QByteArray BuildExportHeader(const DataSet& data, const ExportRequest& request, const ExportSettings& settings,
                             int readingsExported);

// Writes data lines from the raw readings. One writer serves one export; it
// keeps the export clock so that a following bank of a multi-bank recording
// continues the time stamps (two intervals after the bank before it).
class ExportLineWriter {
public:
    // `dialect` applies to a CSV export only.
    ExportLineWriter(const DataSet& data, const ExportSettings& settings, bool csv, const CsvDialect& dialect = {});

    // Readings S .. S+R-1 of every recorded channel, averaged over N (N >= 1).
    // `padLastGroup`: an incomplete last group repeats the window's last
    // reading (not zoomed); otherwise the readings after the window are used.
    // `continueBank`: stamp the first line from the previous bank's clock.
    qint64 write(const DataSet& data, TextOut& out, int first, int count, int n, bool padLastGroup,
                 bool continueBank);

private:
    void appendStamp(TextOut& out) const;
    void appendValue(TextOut& out, float value) const;

    ChannelScaling m_scaling;
    ExportClock m_clock;
    ExportStamp m_stamp;      // stamp of the next line to write
    bool m_csv;
    CsvDialect m_dialect;
    bool m_ownLayout;         // the program's own CSV or tabular layout
    std::array<bool, 4> m_toFahrenheit{};
};

// "Date,Time,[millisecs,]Ch1:unit,Ch2:unit..." (no trailing comma).
QByteArray ExportColumnHeadings(const DataSet& data, bool fahrenheit, int humidityQuantity);

// The column headings in a dialect: "Date", "Time" and "millisecs" (or one
// "Timestamp" for ISO stamps), then "Ch1:unit" for each channel in the full
// header, or its label and unit, "Bench air (Deg C)", in the spreadsheet
// layout (a channel without a label is named "Ch1").
QByteArray DialectColumnHeadings(const DataSet& data, const CsvDialect& dialect, bool fahrenheit,
                                 int humidityQuantity);

// True when `path` ends in ".CSV" or ".TXT" in any letter case.
bool HasExportExtension(const QString& path);

// The CSV file an automatic export or a conversion writes: the data file's
// name part with its last four characters replaced by ".csv". An automatic
// export puts it in the program directory, a conversion beside the data file.
QString AutoExportName(const QString& dataFile);

} // namespace tamble
