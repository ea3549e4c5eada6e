#pragma once
// Loading a .TL1 data file into the DataSet: the text header, the memory image
// lines (8, 10 or 12 bit, wrapped or not, one bank or several), the reading
// counts and the interval. A multi-bank recording is handed bank by bank to a
// BankSink, which writes the .TL2 file that then stands for the recording.

#include "datafiles/bank_file.h"
#include "datafiles/dataset.h"

#include <QByteArray>
#include <QString>

namespace tamble {

struct LoadOptions {
    QString programDir;         // ends in "/"; second place to look for the file
    bool autoAnswer = false;    // the settings' auto answer: silences two messages
    bool amPm = true;           // clock option for a logger clock text on line 3

    // Conversion settings copied into data.scaling (sensor tables are read
    // from programDir).
    bool fahrenheit = false;
    int humidityQuantity = 0;
    // Sensor tables held in memory; null: the files of programDir.
    const SensorTableSource* tableSource = nullptr;

    // Writes the .TL2 file of a multi-bank recording; null: the banks are
    // decoded but not kept (the DataSet then holds the last bank).
    BankSink* bankSink = nullptr;
};

struct LoadResult {
    bool ok = false;
    // Error text to show (error dialog, OK); empty for success and for the
    // failures that stay silent (auto answer). A sensor table the channel
    // set-up rejects gives the set-up's own message.
    QString message;
};

// Loads the file named by data.dataFileName. When it cannot be opened, the
// program directory + its file-name part is tried once (and kept as the name).
// A name ending in ".TL2"/".tl2" only marks the set as multi-bank. On
// success the caller stores data.dataFileName as the last data file.
LoadResult LoadDataFile(DataSet& data, const LoadOptions& options);

// The same load from the bytes of a .TL1 file already in memory;
// data.dataFileName names it in messages and for the .TL2 name.
LoadResult LoadTl1FromBytes(DataSet& data, const QByteArray& fileBytes, const LoadOptions& options);

} // namespace tamble
