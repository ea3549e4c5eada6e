#include "analysis/series.h"

#include "conversion/channel_scaling.h"
#include "conversion/channel_units.h"
#include "datafiles/tl2.h"
#include "datafiles/timebase.h"
#include "format/day_number.h"
#include "graph/graph_rules.h"
#include "graph/viewports.h"

#include <QDateTime>
#include <QFile>
#include <QTimeZone>
#include <charconv>
#include <cmath>
#include <limits>

namespace tamble {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kBankHeaderLines = 17;

int Digits(QByteArrayView text, int from, int count, bool& ok)
{
    int v = 0;
    for (int i = from; i < from + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9') {
            ok = false;
            return 0;
        }
        v = v * 10 + (text[i] - '0');
    }
    return v;
}

// A converted reading as the double nearest its shortest decimal form (44.295, not the float's
// 44.2949981689...), so that scripts and tables see the value the conversion meant.
double AsDecimal(float v)
{
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    double d = static_cast<double>(v);
    std::from_chars(buf, r.ptr, d);
    return d;
}

QString Trimmed(const QByteArray& text)
{
    return QString::fromLatin1(text).trimmed();
}

std::vector<ChannelSeries> EmptyChannels(const DataSet& data, bool fahrenheit, int humidityQuantity)
{
    // A multi-bank recording read bank by bank has no .TL2 headings yet: its units by code.
    const bool headings = std::any_of(data.unitText.begin(), data.unitText.end(),
                                      [](const QByteArray& u) { return !u.trimmed().isEmpty(); });
    const std::array<ChannelUnit, 4> units =
        data.multiBank && !headings
            ? DeriveChannelUnits(data.typeCodes, data.inputTypes, data.channelLabel, fahrenheit, humidityQuantity)
            : DataSetChannelUnits(data, fahrenheit, humidityQuantity);
    std::vector<ChannelSeries> channels;
    for (int p = 0; p < data.channelCount() && p < 4; ++p) {
        ChannelSeries s;
        s.channel = data.channelList[static_cast<std::size_t>(p)];
        const auto c = static_cast<std::size_t>(s.channel - 1);
        s.label = Trimmed(data.channelLabel[c]);
        s.unit = Trimmed(units[c].unit);
        channels.push_back(std::move(s));
    }
    return channels;
}

RecordingSeries EmptySeries(const DataSet& data, bool fahrenheit, int humidityQuantity)
{
    RecordingSeries series;
    series.file = data.dataFileName;
    series.description = Trimmed(data.description);
    series.model = Trimmed(data.modelText);
    series.resolutionBits = data.resolutionBits;
    series.intervalDays = data.intervalMinutes / 1440.0;
    series.channels = EmptyChannels(data, fahrenheit, humidityQuantity);
    return series;
}

// Appends the raw readings of `data` from `start` (days), one interval apart.
void AppendRaw(const DataSet& data, bool fahrenheit, int humidityQuantity, double start, RecordingSeries& series)
{
    ChannelScaling scaling = data.scaling;
    scaling.fahrenheit = fahrenheit;
    scaling.humidityQuantity = humidityQuantity;
    const int count = std::max(0, data.readingsPerChannel);
    const int channels = static_cast<int>(series.channels.size());
    for (ChannelSeries& s : series.channels) {
        s.time.reserve(s.time.size() + static_cast<std::size_t>(count));
        s.value.reserve(s.value.size() + static_cast<std::size_t>(count));
    }
    for (int i = 0; i < count; ++i) {
        const double t = start + i * series.intervalDays;
        // Channels of one time step in ascending order: 3 and 4 use the values of 1 and 2.
        for (int p = 0; p < channels; ++p) {
            ChannelSeries& s = series.channels[static_cast<std::size_t>(p)];
            std::uint16_t raw = data.reading(p, i);
            float v = ConvertReading(scaling, raw, s.channel);
            if (fahrenheit && CountsAsTemperature(scaling, s.channel))
                v = CelsiusToFahrenheit(v);
            s.time.push_back(t);
            s.value.push_back(std::isfinite(v) ? AsDecimal(v) : kNaN);
        }
    }
}

SeriesResult FromRaw(const DataSet& data, bool fahrenheit, int humidityQuantity)
{
    RecordingSeries series = EmptySeries(data, fahrenheit, humidityQuantity);
    AppendRaw(data, fahrenheit, humidityQuantity, StampToDateTime(QByteArrayView(data.firstStamp).trimmed()).value,
              series);
    return {std::move(series), {}};
}

SeriesResult FromBankFile(const DataSet& data, bool fahrenheit, int humidityQuantity, const QString& programDir)
{
    QFile file;
    if (!OpenBankFile(file, data.bankFileName.isEmpty() ? data.dataFileName : data.bankFileName, programDir))
        return {std::nullopt, FileNotFoundText(data.bankFileName.isEmpty() ? data.dataFileName : data.bankFileName)};
    RecordingSeries series = EmptySeries(data, fahrenheit, humidityQuantity);
    for (int i = 0; i < kBankHeaderLines && !file.atEnd(); ++i)
        file.readLine();
    const int channels = static_cast<int>(series.channels.size());
    const int start = FirstValuePosition(ExportShowsMilliseconds(data.intervalMinutes));
    // The stamps' date order is the one of the export settings that wrote the file: the one
    // that gives the first reading the date of the recording's first stamp.
    const double first = StampToDateTime(QByteArrayView(data.firstStamp).trimmed()).value;
    std::optional<bool> dayFirst;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.isEmpty())
            continue;
        if (!dayFirst) {
            const auto asMonthFirst = ExportStampDays(line, false);
            dayFirst = !(asMonthFirst && std::floor(*asMonthFirst) == std::floor(first)) && ExportStampDays(line, true);
        }
        const auto t = ExportStampDays(line, *dayFirst);
        if (!t)
            continue;   // not a data line
        std::array<float, 4> v{kNaN, kNaN, kNaN, kNaN};
        const int read = SplitBankLineValues(line, start, channels, v.data());
        for (int p = 0; p < channels; ++p) {
            ChannelSeries& s = series.channels[static_cast<std::size_t>(p)];
            s.time.push_back(*t);
            s.value.push_back(p < read && std::isfinite(v[static_cast<std::size_t>(p)])
                                  ? static_cast<double>(v[static_cast<std::size_t>(p)]) : kNaN);
        }
    }
    return {std::move(series), {}};
}

} // namespace

bool SeriesBankSink::writeBank(const DataSet& data, int bankIndex)
{
    double start = 0;
    if (bankIndex == 0 || !m_used) {
        m_series = EmptySeries(data, m_fahrenheit, m_humidity);
        start = StampToDateTime(QByteArrayView(data.firstStamp).trimmed()).value;
    } else {
        start = m_series.lastTime() + 2 * m_series.intervalDays;
    }
    m_used = true;
    AppendRaw(data, m_fahrenheit, m_humidity, start, m_series);
    return true;
}

double RecordingSeries::firstTime() const
{
    double t = kNaN;
    for (const ChannelSeries& s : channels)
        if (!s.time.empty() && !(s.time.front() >= t))
            t = s.time.front();
    return t;
}

double RecordingSeries::lastTime() const
{
    double t = kNaN;
    for (const ChannelSeries& s : channels)
        if (!s.time.empty() && !(s.time.back() <= t))
            t = s.time.back();
    return t;
}

SeriesResult SeriesOf(const DataSet& data, bool fahrenheit, int humidityQuantity, const QString& programDir)
{
    if (data.channelCount() == 0)
        return {std::nullopt, QStringLiteral("No readings in ") + data.dataFileName};
    return data.multiBank ? FromBankFile(data, fahrenheit, humidityQuantity, programDir)
                          : FromRaw(data, fahrenheit, humidityQuantity);
}

std::optional<double> ExportStampDays(QByteArrayView line, bool dayFirst)
{
    // mm/dd/yyyy,hh:mm:ss[,mmm]
    bool ok = line.size() >= 19 && line[2] == '/' && line[5] == '/' && line[10] == ',' && line[13] == ':' &&
              line[16] == ':';
    if (!ok)
        return std::nullopt;
    const int a = Digits(line, 0, 2, ok);
    const int b = Digits(line, 3, 2, ok);
    const int year = Digits(line, 6, 4, ok);
    const int hour = Digits(line, 11, 2, ok);
    const int minute = Digits(line, 14, 2, ok);
    const int second = Digits(line, 17, 2, ok);
    int ms = 0;
    if (line.size() >= 23 && line[19] == ',') {
        bool msOk = true;
        ms = Digits(line, 20, 3, msOk);
        if (!msOk)
            ms = 0;
    }
    const QDate date(year, dayFirst ? b : a, dayFirst ? a : b);
    if (!ok || !date.isValid() || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return DayNumber(date) + (hour * 3600.0 + minute * 60.0 + second + ms / 1000.0) / 86400.0;
}

QString IsoTime(double days)
{
    if (!std::isfinite(days))
        return {};
    const qint64 ms = std::llround((days - kUnixEpochDayNumber) * 86400000.0);
    // Whole seconds, rounded: the files' own stamps carry no more.
    return QDateTime::fromMSecsSinceEpoch((ms + 500) / 1000 * 1000, QTimeZone::utc())
        .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

std::optional<double> ParseIsoTime(const QString& text)
{
    QDateTime t = QDateTime::fromString(text.trimmed(), Qt::ISODate);
    if (!t.isValid()) {
        const QDate d = QDate::fromString(text.trimmed(), Qt::ISODate);
        if (!d.isValid())
            return std::nullopt;
        return DayNumber(d);
    }
    t.setTimeZone(QTimeZone::utc());
    return kUnixEpochDayNumber + static_cast<double>(t.toMSecsSinceEpoch()) / 86400000.0;
}

} // namespace tamble
