#pragma once
// A recording's readings at full resolution, as the analysis reads them: for each recorded channel
// the time of every reading (days since 30 December 1899 on the file's own clock) and its value in
// the export's units, NaN where a reading is not a number. A single-bank recording is converted
// from its raw readings; a multi-bank one is read from its .TL2 file, stamps and values as stored.

#include "datafiles/bank_file.h"
#include "datafiles/dataset.h"

#include <QString>
#include <optional>
#include <vector>

namespace tamble {

struct ChannelSeries {
    int channel = 0;            // 1..4
    QString label;              // without its trailing blanks
    QString unit;               // empty when the scaling names none
    std::vector<double> time;   // ascending
    std::vector<double> value;  // NaN: not a number
};

struct RecordingSeries {
    QString file;               // the data file, for the tables that name it
    QString description;        // the logger's description, without trailing blanks
    QString model;              // "LX900-M 12 bit"
    int resolutionBits = 0;
    double intervalDays = 0;    // one sample interval
    std::vector<ChannelSeries> channels;

    double firstTime() const;   // NaN when there are no readings
    double lastTime() const;
};

struct SeriesResult {
    std::optional<RecordingSeries> series;
    QString message;            // why there is none
};

// The readings of a loaded recording in the given unit choices. `programDir` is the second place
// to look for a .TL2 file.
SeriesResult SeriesOf(const DataSet& data, bool fahrenheit, int humidityQuantity, const QString& programDir);

// The readings of a multi-bank recording taken bank by bank as the loader decodes them, without
// writing its .TL2 file: converted from the raw readings, each bank two intervals after the last
// reading of the bank before it, as the .TL2 file stamps them.
class SeriesBankSink : public BankSink {
public:
    SeriesBankSink(bool fahrenheit, int humidityQuantity) : m_fahrenheit(fahrenheit), m_humidity(humidityQuantity) {}
    bool writeBank(const DataSet& data, int bankIndex) override;
    void finish(const DataSet&) override {}
    bool used() const { return m_used; }
    RecordingSeries take() { return std::move(m_series); }

private:
    bool m_fahrenheit;
    int m_humidity;
    bool m_used = false;
    RecordingSeries m_series;
};

// Reads an export stamp "mm/dd/yyyy,hh:mm:ss[,mmm]" (or day first) at the start of a line.
std::optional<double> ExportStampDays(QByteArrayView line, bool dayFirst);

// Day number <-> "yyyy-MM-ddThh:mm:ss", local time as the file stores it (no offset).
QString IsoTime(double days);
std::optional<double> ParseIsoTime(const QString& text);

} // namespace tamble
