#include "program/recording_series.h"

#include "datafiles/csv_reader.h"
#include "datafiles/graph_buffer.h"
#include "datafiles/tl1_loader.h"
#include "datafiles/tl2.h"
#include "program/export_wiring.h"

#include <QFile>
#include <memory>

namespace tamble {

SeriesResult LoadRecordingSeries(const QString& path, const SettingsRecord& settings, const QString& programDir)
{
    if (!QFile::exists(path))
        return {std::nullopt, FileNotFoundText(path)};
    auto data = std::make_unique<DataSet>();
    data->dataFileName = path;
    // The banks of a multi-bank .TL1 go straight into the readings; no .TL2 file is written.
    SeriesBankSink banks(settings.fahrenheit, settings.humidityQuantity);
    const LoadResult loaded = LoadDataFile(*data, LoadOptionsFrom(settings, programDir, &banks));
    if (!loaded.ok) {
        const QString why = loaded.message;
        return {std::nullopt, why.isEmpty() ? QStringLiteral("Unable to load ") + path : why};
    }
    if (banks.used()) {
        RecordingSeries series = banks.take();
        series.file = path;
        return {std::move(series), {}};
    }
    if (data->multiBank) {
        // The header of the .TL2 names the channels, the rate and the stamps.
        GraphBuffer buffer;
        const CsvReadResult csv = ReadCsvDataFile(*data, buffer, programDir);
        if (!csv.ok)
            return {std::nullopt, csv.message.isEmpty() ? QStringLiteral("Unable to load ") + path : csv.message};
    }
    SeriesResult result = SeriesOf(*data, settings.fahrenheit, settings.humidityQuantity, programDir);
    if (result.series)
        result.series->file = path;
    return result;
}

SeriesResult LoadedRecordingSeries(const DataSet& data, const SettingsRecord& settings, const QString& programDir)
{
    return SeriesOf(data, settings.fahrenheit, settings.humidityQuantity, programDir);
}

} // namespace tamble
