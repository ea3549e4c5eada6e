#include "program/graph_document.h"

#include "datafiles/bank_file.h"

#include "datafiles/csv_reader.h"
#include "datafiles/tl1_loader.h"
#include "datafiles/tl2.h"
#include "format/day_number.h"
#include "program/app_records.h"
#include "program/export_wiring.h"
#include "program/recording_series.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>
#include <cmath>
#include <memory>

namespace tamble {

GraphRecords GraphRecordsOf(AppRecords& records)
{
    return {records.settings, records.session, records.dataSet, records.dataFileName, records.programDir,
            records.loggerInfo};
}

bool IsGraphFileName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("tl1") || suffix == QLatin1String("tl2");
}

QString ReadoutText(double dateTime, const std::vector<QString>& labels, const std::vector<double>& values,
                    int precision)
{
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(
        static_cast<qint64>(std::llround((dateTime - kUnixEpochDayNumber) * 86400000.0)), QTimeZone::utc());
    QString text = when.toString(QStringLiteral("dd MMM yyyy hh:mm:ss"));
    for (std::size_t k = 0; k < values.size() && k < labels.size(); ++k) {
        if (std::isnan(values[k]))
            continue;
        text += QStringLiteral("   ") + labels[k] + QStringLiteral(": ") + QString::number(values[k], 'f', precision);
    }
    return text;
}

GraphDocument::GraphDocument(const GraphRecords& records, MessageService& messages)
    : m_records(records), m_messages(messages)
{
}

void GraphDocument::show(const QString& text, bool error, int helpContext)
{
    if (text.isEmpty())
        return;
    m_messages.ask({error ? DialogKind::Error : DialogKind::Information, text,
                    helpContext ? DialogButtons::OkHelp : DialogButtons::Ok, helpContext});
}

bool GraphDocument::open(const QString& path)
{
    m_records.dataFileName = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        show(FileNotFoundText(path), false);
        m_loadError = true;
        return false;
    }
    m_loadError = false;
    m_records.settings.lastDataFile = path;
    return true;
}

bool GraphDocument::load()
{
    auto loaded = std::make_unique<DataSet>();
    loaded->dataFileName = m_records.dataFileName;
    loaded->zoom = m_records.dataSet.zoom;
    SettingsRecord& settings = m_records.settings;
    Tl2BankWriter bankWriter(ExportSettingsFrom(settings, m_records.programDir));
    const LoadResult result = LoadDataFile(*loaded, LoadOptionsFrom(settings, m_records.programDir, &bankWriter));
    GraphBuffer buffer;
    bool ok = result.ok && bankWriter.ok();
    if (!ok)
        show(!result.message.isEmpty() ? result.message : bankWriter.message(), true);
    if (ok && loaded->multiBank) {
        const CsvReadResult csv = ReadCsvDataFile(*loaded, buffer, m_records.programDir);
        ok = csv.ok;
        show(csv.message, !csv.ok || csv.errorKind, csv.helpButton ? csv.helpContext : 0);
        if (csv.fahrenheit)
            settings.fahrenheit = *csv.fahrenheit;
        if (csv.humidityQuantity)
            settings.humidityQuantity = static_cast<std::uint8_t>(*csv.humidityQuantity);
        m_temperatureColumn = csv.hasTemperatureColumn;
        m_humidityColumn = csv.hasHumidityColumn;
    } else if (ok) {
        BuildGraphBuffer(*loaded, buffer, settings.fahrenheit);
    }
    if (ok && (loaded->channelCount() == 0 || buffer.graphPointCount <= 0)) {
        show(QStringLiteral("No readings in ") + QFileInfo(m_records.dataFileName).fileName(), true);
        ok = false;
    }
    if (ok) {
        m_records.dataSet = std::move(*loaded);
        m_records.dataFileName = m_records.dataSet.dataFileName;
        m_buffer = std::move(buffer);
        m_visibility.showAll(m_records.dataSet.channelCount());
        // Another file: its own limits, no cursors; overlays are read again in the new units.
        if (m_records.dataFileName != m_overlayBase)
            m_overlays.clear();
        m_overlayBase = m_records.dataFileName;
        reloadOverlays();
        m_series.reset();
        m_seriesRead = false;
        m_cursors.clear();
        const QString limitsOf = m_records.dataSet.multiBank ? DataFileNameFor(m_records.dataFileName) : m_records.dataFileName;
        LimitsLoad limits = LoadLimits(limitsOf);
        m_limits = limits.limits;
        show(limits.message, false);
    }
    m_loadError = !ok;
    return ok;
}

bool GraphDocument::refill()
{
    DataSet& data = m_records.dataSet;
    if (!data.multiBank) {
        BuildGraphBuffer(data, m_buffer, m_records.settings.fahrenheit);
        return true;
    }
    const CsvReadResult csv = ReadCsvDataFile(data, m_buffer, m_records.programDir);
    show(csv.message, !csv.ok || csv.errorKind, csv.helpButton ? csv.helpContext : 0);
    return csv.ok;
}

void GraphDocument::prepareChart(bool realTime)
{
    if (realTime)
        m_records.dataFileName.clear();
    else if (!m_records.settings.lastDataFile.isEmpty() && m_records.dataFileName.isEmpty())
        m_records.dataFileName = m_records.settings.lastDataFile;
}

void GraphDocument::clearZoom()
{
    m_records.dataSet.zoom = ZoomState{};
    m_zoom.clear(m_records.dataSet);
}

void GraphDocument::startLive(const std::vector<int>& channels)
{
    const LoggerInfo& info = m_records.loggerInfo;
    DataSet live;
    live.channelList = channels;
    live.channelLabel = info.labels;
    live.typeCodes = info.scalingCodes;
    live.inputTypes = info.inputTypes;
    live.description = info.description;
    live.multiBank = false;
    m_records.dataSet = std::move(live);
    m_records.dataSet.zoom = ZoomState{};
    m_buffer.graphStep = 1;
    m_visibility.showAll(static_cast<int>(channels.size()));
    m_series.reset();
    m_seriesRead = true;   // a live chart has no file to read
    m_cursors.clear();
    m_limits = {};
}

const RecordingSeries* GraphDocument::series()
{
    if (!m_seriesRead) {
        m_seriesRead = true;
        m_series = LoadedRecordingSeries(m_records.dataSet, m_records.settings, m_records.programDir).series;
    }
    return m_series ? &*m_series : nullptr;
}

bool GraphDocument::addOverlay(const QString& path)
{
    SeriesResult loaded = LoadRecordingSeries(path, m_records.settings, m_records.programDir);
    if (!loaded.series) {
        show(loaded.message, true);
        return false;
    }
    m_overlays.push_back(std::move(*loaded.series));
    return true;
}

void GraphDocument::removeOverlay(int index)
{
    if (index >= 0 && index < static_cast<int>(m_overlays.size()))
        m_overlays.erase(m_overlays.begin() + index);
}

void GraphDocument::reloadOverlays()
{
    for (RecordingSeries& overlay : m_overlays) {
        SeriesResult again = LoadRecordingSeries(overlay.file, m_records.settings, m_records.programDir);
        if (again.series)
            overlay = std::move(*again.series);
    }
}

double GraphDocument::overlayShift(int index)
{
    const RecordingSeries* first = series();
    if (!first || index < 0 || index >= static_cast<int>(m_overlays.size()))
        return 0;
    return OverlayShift(*first, m_overlays[static_cast<std::size_t>(index)], m_alignment);
}

std::vector<const RecordingSeries*> GraphDocument::allSeries()
{
    std::vector<const RecordingSeries*> out;
    if (const RecordingSeries* first = series())
        out.push_back(first);
    for (const RecordingSeries& overlay : m_overlays)
        out.push_back(&overlay);
    return out;
}

std::vector<double> GraphDocument::allShifts()
{
    std::vector<double> out{0.0};
    for (int i = 0; i < static_cast<int>(m_overlays.size()); ++i)
        out.push_back(overlayShift(i));
    return out;
}

QString GraphDocument::setLimits(const LimitSet& limits)
{
    const QString file = m_records.dataSet.multiBank ? DataFileNameFor(m_records.dataFileName) : m_records.dataFileName;
    const QString error = SaveLimits(file, limits);
    if (error.isEmpty())
        m_limits = limits;
    return error;
}

std::vector<const ChannelSeries*> GraphDocument::visibleSeries()
{
    std::vector<const ChannelSeries*> out;
    if (const RecordingSeries* s = series())
        for (std::size_t p = 0; p < s->channels.size() && p < 4; ++p)
            if (m_visibility.visible[p])
                out.push_back(&s->channels[p]);
    return out;
}

Summary GraphDocument::analysis(double viewFrom, double viewTo, bool betweenCursors)
{
    const RecordingSeries* s = series();
    if (!s)
        return {};
    const auto span = betweenCursors ? m_cursors.span() : std::nullopt;
    Summary summary;
    summary.from = span ? span->first : viewFrom;
    summary.to = span ? span->second : viewTo;
    for (const ChannelSeries* c : visibleSeries())
        summary.rows.push_back({s->file, c->channel, c->label, c->unit,
                                ComputeStatistics(*c, s->intervalDays, summary.from, summary.to,
                                                  m_limits[static_cast<std::size_t>(c->channel - 1)])});
    // An overlay's readings over the same stretch of the axis, and the same limits by channel.
    for (int i = 0; i < static_cast<int>(m_overlays.size()); ++i) {
        const RecordingSeries& o = m_overlays[static_cast<std::size_t>(i)];
        const double shift = overlayShift(i);
        for (const ChannelSeries& c : o.channels)
            summary.rows.push_back({o.file, c.channel, c.label, c.unit,
                                    ComputeStatistics(c, o.intervalDays, summary.from - shift, summary.to - shift,
                                                      m_limits[static_cast<std::size_t>(c.channel - 1)])});
    }
    return summary;
}

GraphDocument::ZoomStep GraphDocument::zoomIn(double from, double to)
{
    DataSet& data = m_records.dataSet;
    if (m_buffer.graphPointCount <= 0 || data.channelCount() == 0)
        return ZoomStep::Refused;
    const ZoomResult result = m_zoom.zoomIn(data, from, to, ClockStyleFromSetting(m_records.settings.amPm));
    if (result.outcome != ZoomOutcome::Zoomed) {
        show(result.message, false);
        return ZoomStep::Refused;
    }
    if (refill())
        return ZoomStep::Zoomed;
    // A window the bank file cannot give back: the whole recording again.
    m_zoom.undo(data);
    refill();
    return ZoomStep::Whole;
}

bool GraphDocument::undoZoom()
{
    DataSet& data = m_records.dataSet;
    if (!data.zoom.zoomed)
        return false;
    m_zoom.undo(data);
    if (!data.multiBank)
        m_visibility.showAll(data.channelCount());
    refill();
    return true;
}

GraphDocument::UnitStep GraphDocument::chooseTemperature(bool fahrenheit, bool liveChart)
{
    bool& setting = m_records.settings.fahrenheit;
    const bool before = setting;
    setting = fahrenheit;
    const UnitStep step = applyUnitChoice(true, liveChart);
    if (step == UnitStep::Refused)
        setting = before;
    return step;
}

GraphDocument::UnitStep GraphDocument::chooseMoisture(int humidityQuantity, bool liveChart)
{
    std::uint8_t& setting = m_records.settings.humidityQuantity;
    const std::uint8_t before = setting;
    setting = static_cast<std::uint8_t>(humidityQuantity);
    const UnitStep step = applyUnitChoice(false, liveChart);
    if (step == UnitStep::Refused)
        setting = before;
    return step;
}

GraphDocument::UnitStep GraphDocument::applyUnitChoice(bool temperature, bool liveChart)
{
    DataSet& data = m_records.dataSet;
    if (!data.valid && data.channelCount() == 0)
        return UnitStep::Unchanged;
    if (!data.multiBank) {
        if (m_records.session.realTimeGraph || liveChart)
            return UnitStep::Unchanged;
        data.scaling.fahrenheit = m_records.settings.fahrenheit;
        data.scaling.humidityQuantity = m_records.settings.humidityQuantity;
        BuildGraphBuffer(data, m_buffer, m_records.settings.fahrenheit);
        m_series.reset();
        m_seriesRead = false;
        reloadOverlays();
        return UnitStep::Recomputed;
    }
    if (!(temperature ? m_temperatureColumn : m_humidityColumn))
        return UnitStep::Unchanged;   // nothing in the file depends on the choice
    return reloadForUnits() ? UnitStep::Reloaded : UnitStep::Refused;
}

// A multi-bank recording holds converted values: it is read again from its .TL1 file.
bool GraphDocument::reloadForUnits()
{
    const QString previous = m_records.dataFileName;
    m_records.dataFileName = DataFileNameFor(previous);
    const ZoomState zoom = m_records.dataSet.zoom;
    if (!zoom.zoomed)
        m_records.dataSet.zoom = ZoomState{};
    const GraphCursors cursors = m_cursors;   // the same recording in other units keeps its cursors
    if (load()) {
        m_cursors = cursors;
        return true;
    }
    m_records.dataFileName = previous;
    m_records.dataSet.zoom = zoom;
    return false;
}

std::vector<double> GraphDocument::pointTimes()
{
    const DataSet& data = m_records.dataSet;
    const StampDateTime t = StampToDateTime(QByteArrayView(data.firstStamp).trimmed());
    if (!m_records.settings.autoAnswer)
        for (const QString& text : t.messages)
            show(text, false);
    const int points = std::clamp(m_buffer.graphPointCount, 0, kGraphPoints);
    const PointPlacement placement = m_zoom.placePoints(data, t.value, points, m_buffer.graphStep);
    std::vector<double> x(static_cast<std::size_t>(points));
    for (int i = 0; i < points; ++i)
        x[static_cast<std::size_t>(i)] = placement.start + i * placement.spacing;
    return x;
}

QString GraphDocument::title() const
{
    QByteArray title = m_records.dataSet.description;
    while (!title.isEmpty() && title.back() == ' ')
        title.chop(1);
    return QString::fromLatin1(title);
}

std::array<ChannelUnit, 4> GraphDocument::channelUnits() const
{
    return DataSetChannelUnits(m_records.dataSet, m_records.settings.fahrenheit, m_records.settings.humidityQuantity);
}

ViewportSource GraphDocument::viewportSource() const
{
    return ViewportSourceOf(m_records.dataSet, channelUnits());
}

} // namespace tamble
