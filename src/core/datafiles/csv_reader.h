#pragma once
// Reading a .TL2 file (the CSV export that stands for a multi-bank recording)
// back into the DataSet header and the graph buffer, with the same
// minimum/maximum decimation to at most 2048 points per channel that raw
// readings get.

#include "datafiles/dataset.h"
#include "datafiles/graph_buffer.h"

#include <QString>
#include <optional>

namespace tamble {

struct CsvReadResult {
    bool ok = false;
    // Text to show: on failure the reason; on success the note that the file
    // held more lines than its stamps and rate promised (information, OK).
    QString message;
    bool helpButton = false;       // the message has OK and Help buttons
    int helpContext = 0;
    bool errorKind = false;        // error dialog rather than information

    // The unit choices the column headings name; the caller stores them in
    // the settings (Fahrenheit, humidity quantity).
    std::optional<bool> fahrenheit;
    std::optional<int> humidityQuantity;
    bool hasTemperatureColumn = false;
    bool hasHumidityColumn = false;
};

// Opens data.bankFileName (or the program directory + its file-name part) and
// fills the header fields, channel list, unit texts, label offsets and
// `buffer`. When data.zoom.zoomed, reads only the window's lines.
CsvReadResult ReadCsvDataFile(DataSet& data, GraphBuffer& buffer, const QString& programDir);

} // namespace tamble
