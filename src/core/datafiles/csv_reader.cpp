#include "datafiles/csv_reader.h"

#include "conversion/channel_scaling.h"
#include "conversion/decimal_text.h"
#include "datafiles/timebase.h"
#include "datafiles/tl2.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <limits>
#include <optional>

namespace tamble {

namespace {

QByteArray LineText(QFile& file)
{
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return line;
}

// `width` characters from 1-based position `pos`, as far as the line goes.
QByteArray Field(const QByteArray& line, int pos, int width)
{
    return line.mid(pos - 1, width);
}

// The whole field must be one number (blanks around it allowed).
bool ReadWholeNumber(const QByteArray& field, double& value)
{
    std::string_view text(field.constData(), static_cast<std::size_t>(field.size()));
    float f = 0;
    if (!decimal::ReadNumber(text, f))
        return false;
    while (!text.empty() && decimal::IsBlank(text.front()))
        text.remove_prefix(1);
    if (!text.empty())
        return false;
    value = f;
    return true;
}

void FailWithHelp(CsvReadResult& result, const QString& text)
{
    result.message = text;
    result.helpButton = true;
    result.helpContext = 28;
}

// The header lines up to and including the column headings: description,
// channel labels, rate, first and last stamps. Returns the headings line, or
// nothing (with the reason in `result`) when the file is not a bank export.
std::optional<QByteArray> ReadHeader(QFile& file, DataSet& data, CsvReadResult& result)
{
    LineText(file);
    LineText(file);
    const QByteArray source = LineText(file);
    if (Field(source, 2, 6) != "Source") {
        FailWithHelp(result, QStringLiteral("Incompatible file format - click Help for details"));
        return std::nullopt;
    }
    data.dataFileName = data.bankFileName;
    data.multiBank = true;
    data.description = Field(LineText(file), 6, 31);
    for (QByteArray& label : data.channelLabel)
        label = Field(LineText(file), 15, 24);
    const QByteArray rateLine = LineText(file);
    double interval = 0;
    // A rate of zero or less would give no line count at all.
    if (!ReadWholeNumber(Field(rateLine, 15, 16), interval) || !(interval > 0)) {
        FailWithHelp(result, QStringLiteral("Sample Rate field is invalid: ") + QString::fromLatin1(rateLine) +
                                 QStringLiteral(" - click Help for details"));
        return std::nullopt;
    }
    data.intervalMinutes = interval;
    for (int c = 0; c < 4; ++c)
        data.labelOffset[c] = LabelOffsetFromLabel(std::string_view(data.channelLabel[c].constData(),
                                                                    static_cast<std::size_t>(data.channelLabel[c].size())));
    data.firstStamp = Field(LineText(file), 15, 26);
    data.lastStamp = Field(LineText(file), 15, 26);
    for (int i = 0; i < 5; ++i)
        LineText(file);
    return LineText(file);
}

// The temperature and humidity units the column headings name.
void ReadUnitChoices(const QByteArray& headings, CsvReadResult& result)
{
    if (headings.contains("Deg F"))
        result.fahrenheit = true;
    else if (headings.contains("Deg C"))
        result.fahrenheit = false;
    result.hasTemperatureColumn = result.fahrenheit.has_value();
    if (headings.contains("% RH"))
        result.humidityQuantity = 0;
    else if (headings.contains("Dew P"))
        result.humidityQuantity = 1;
    else if (headings.contains("Wet B"))
        result.humidityQuantity = 2;
    result.hasHumidityColumn = result.humidityQuantity.has_value();
}

// The channel list and unit texts from the "ChN:" columns of the headings.
void ReadChannelColumns(const QByteArray& headings, DataSet& data)
{
    data.channelList.clear();
    data.channelMask = 0;
    for (int ch = 1; ch <= 4; ++ch) {
        const QByteArray key = "Ch" + QByteArray::number(ch) + ":";
        const qsizetype at = headings.indexOf(key);
        data.unitText[ch - 1].clear();
        if (at < 0)
            continue;
        data.channelList.push_back(ch);
        data.channelMask |= static_cast<std::uint8_t>(1 << (ch - 1));
        const qsizetype from = at + key.size();
        qsizetype to = headings.indexOf(',', from);
        if (to < 0)
            to = headings.size();
        data.unitText[ch - 1] = headings.mid(from, std::min<qsizetype>(to - from, 9));
    }
}

// Lines to expect: the zoom window's, or from the stamps and the rate with
// room for the slow running of the approximate rates (then also stored as
// data.totalLines).
qint64 ExpectedLines(DataSet& data)
{
    if (data.zoom.zoomed)
        return data.zoom.readingCount;
    const double interval = data.intervalMinutes;
    const double f = interval > 0.025 && interval < 0.125 ? 1.35 : 1.04;
    const double estimate = std::round(StampSpanMinutes(data.firstStamp, data.lastStamp) * f / interval);
    const qint64 lines = estimate > 0 && estimate < 1e9 ? static_cast<qint64>(estimate) : 0;
    data.totalLines = static_cast<int>(lines);
    return lines;
}

// The lowest and highest value of each channel over one bucket of lines,
// with where in the bucket each fell, and the bucket's last values.
struct Bucket {
    std::array<float, 4> lo, hi, last{};
    std::array<int, 4> loAt{}, hiAt{};
    int count = 0;

    Bucket()
    {
        lo.fill(std::numeric_limits<float>::infinity());
        hi.fill(-std::numeric_limits<float>::infinity());
    }

    // A value left off its line (NaN) is no reading: the bucket's points are NaN when it has
    // none, and the chart leaves a break there.
    void add(const std::array<float, 4>& v, int channels)
    {
        for (int p = 0; p < channels; ++p) {
            last[p] = v[p];
            if (std::isnan(v[p]))
                continue;
            if (v[p] < lo[p]) {
                lo[p] = v[p];
                loAt[p] = count;
            }
            if (v[p] > hi[p]) {
                hi[p] = v[p];
                hiAt[p] = count;
            }
        }
        ++count;
    }

    float low(int p) const { return std::isinf(lo[p]) ? std::numeric_limits<float>::quiet_NaN() : lo[p]; }
    float high(int p) const { return std::isinf(hi[p]) ? std::numeric_limits<float>::quiet_NaN() : hi[p]; }
};

// Reads the data lines into `buffer`, one point per line when `step` is 1,
// otherwise the minimum and maximum of each bucket of 2 * step lines in the
// order they occurred. Stops at the end of the file, of the zoom window, or
// of the graph buffer; returns the number of points.
int DecimateLines(QFile& file, const DataSet& data, GraphBuffer& buffer, int step)
{
    const int channels = data.channelCount();
    const int perBucket = step > 1 ? 2 * step : 1;
    const bool zoomed = data.zoom.zoomed;
    const int start = FirstValuePosition(ExportShowsMilliseconds(data.intervalMinutes));
    qint64 readTotal = 0;
    int points = 0;
    auto windowDone = [&] { return zoomed && readTotal >= data.zoom.readingCount; };

    while (!file.atEnd() && !windowDone() && points < kGraphPoints) {
        Bucket bucket;
        while (bucket.count < perBucket && !file.atEnd() && !windowDone()) {
            const QByteArray line = LineText(file);
            ++readTotal;
            std::array<float, 4> v;
            v.fill(std::numeric_limits<float>::quiet_NaN());
            SplitBankLineValues(line, start, channels, v.data());
            bucket.add(v, channels);
        }
        if (bucket.count == 0)
            break;
        if (step == 1 || bucket.count == 1) {
            for (int p = 0; p < channels; ++p)
                buffer.values[p][points] = bucket.last[p];
            points += 1;
        } else {
            if (points + 2 > kGraphPoints)
                break;
            for (int p = 0; p < channels; ++p) {
                const bool lowFirst = bucket.loAt[p] < bucket.hiAt[p];
                buffer.values[p][points] = lowFirst ? bucket.low(p) : bucket.high(p);
                buffer.values[p][points + 1] = lowFirst ? bucket.high(p) : bucket.low(p);
            }
            points += 2;
        }
    }
    return points;
}

} // namespace

CsvReadResult ReadCsvDataFile(DataSet& data, GraphBuffer& buffer, const QString& programDir)
{
    CsvReadResult result;
    if (data.bankFileName.isEmpty())
        return result;
    QFile file;
    if (!OpenBankFile(file, data.bankFileName, programDir)) {
        result.message = FileNotFoundText(data.bankFileName);
        result.errorKind = true;
        return result;
    }
    data.bankFileName = file.fileName();

    const std::optional<QByteArray> headings = ReadHeader(file, data, result);
    if (!headings)
        return result;
    ReadUnitChoices(*headings, result);
    ReadChannelColumns(*headings, data);

    const qint64 lines = ExpectedLines(data);
    const int step = static_cast<int>(std::max<qint64>(1, (lines + kGraphPoints - 1) / kGraphPoints));
    buffer.graphStep = step;
    const bool zoomed = data.zoom.zoomed;
    if (zoomed) {
        for (int i = 0; i < data.zoom.firstReading && !file.atEnd(); ++i)
            file.readLine();
    }
    const int points = DecimateLines(file, data, buffer, step);
    buffer.graphPointCount = points;

    result.ok = true;
    data.valid = true;
    if (points >= kGraphPoints && !zoomed && !file.atEnd()) {
        result.message = data.dataFileName + QStringLiteral(" has 4% or more lines of data then calculated ") +
                         QStringLiteral("from 'First' / 'Last' time stamps and ") + QStringLiteral("'Rate (mins)'.  ") +
                         QStringLiteral("Lines at end of file were not loaded.");
    }
    return result;
}

} // namespace tamble
