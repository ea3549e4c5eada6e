#include "datafiles/csv_reader.h"

#include "conversion/channel_scaling.h"
#include "conversion/decimal_text.h"
#include "datafiles/timebase.h"
#include "datafiles/tl2.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <limits>

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

} // namespace

CsvReadResult ReadCsvDataFile(DataSet& data, GraphBuffer& buffer, const QString& programDir)
{
    CsvReadResult result;
    QString name = data.bankFileName;
    if (name.isEmpty())
        return result;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        file.setFileName(programDir + QFileInfo(name).fileName());
        if (!file.open(QIODevice::ReadOnly)) {
            result.message = QStringLiteral("File: ") + name + QStringLiteral(" not found");
            result.errorKind = true;
            return result;
        }
        name = file.fileName();
        data.bankFileName = name;
    }

    LineText(file);
    LineText(file);
    const QByteArray source = LineText(file);
    if (Field(source, 2, 6) != "Source") {
        result.message = QStringLiteral("Incompatible file format - click Help for details");
        result.helpButton = true;
        result.helpContext = 28;
        return result;
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
        result.message = QStringLiteral("Sample Rate field is invalid: ") + QString::fromLatin1(rateLine) +
                         QStringLiteral(" - click Help for details");
        result.helpButton = true;
        result.helpContext = 28;
        return result;
    }
    data.intervalMinutes = interval;
    for (int c = 0; c < 4; ++c)
        data.labelOffset[c] = LabelOffsetFromLabel(std::string_view(data.channelLabel[c].constData(),
                                                                    static_cast<std::size_t>(data.channelLabel[c].size())));
    data.firstStamp = Field(LineText(file), 15, 26);
    data.lastStamp = Field(LineText(file), 15, 26);
    for (int i = 0; i < 5; ++i)
        LineText(file);
    const QByteArray headings = LineText(file);

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
    const int channels = data.channelCount();

    // Lines to expect: from the stamps and the rate, with room for the slow
    // running of the approximate rates.
    const bool zoomed = data.zoom.zoomed;
    qint64 lines = 0;
    if (zoomed) {
        lines = data.zoom.readingCount;
    } else {
        const double f = interval > 0.025 && interval < 0.125 ? 1.35 : 1.04;
        const double estimate = std::round(StampSpanMinutes(data.firstStamp, data.lastStamp) * f / interval);
        lines = estimate > 0 && estimate < 1e9 ? static_cast<qint64>(estimate) : 0;
        data.totalLines = static_cast<int>(lines);
    }
    const int step = static_cast<int>(std::max<qint64>(1, (lines + kGraphPoints - 1) / kGraphPoints));
    const int perBucket = step > 1 ? 2 * step : 1;
    buffer.graphStep = step;

    if (zoomed) {
        for (int i = 0; i < data.zoom.firstReading && !file.atEnd(); ++i)
            file.readLine();
    }
    const int start = FirstValuePosition(ExportShowsMilliseconds(interval));
    qint64 readTotal = 0;
    int points = 0;
    auto windowDone = [&] { return zoomed && readTotal >= data.zoom.readingCount; };

    while (!file.atEnd() && !windowDone() && points < kGraphPoints) {
        std::array<float, 4> lo, hi, last{};
        lo.fill(std::numeric_limits<float>::infinity());
        hi.fill(-std::numeric_limits<float>::infinity());
        std::array<int, 4> loAt{}, hiAt{};
        int inBucket = 0;
        while (inBucket < perBucket && !file.atEnd() && !windowDone()) {
            const QByteArray line = LineText(file);
            ++readTotal;
            std::array<float, 4> v{};
            SplitBankLineValues(line, start, channels, v.data());
            for (int p = 0; p < channels; ++p) {
                if (v[p] < lo[p]) {
                    lo[p] = v[p];
                    loAt[p] = inBucket;
                }
                if (v[p] > hi[p]) {
                    hi[p] = v[p];
                    hiAt[p] = inBucket;
                }
                last[p] = v[p];
            }
            ++inBucket;
        }
        if (inBucket == 0)
            break;
        if (step == 1 || inBucket == 1) {
            for (int p = 0; p < channels; ++p)
                buffer.values[p][points] = last[p];
            points += 1;
        } else {
            if (points + 2 > kGraphPoints)
                break;
            for (int p = 0; p < channels; ++p) {
                const bool lowFirst = loAt[p] < hiAt[p];
                buffer.values[p][points] = lowFirst ? lo[p] : hi[p];
                buffer.values[p][points + 1] = lowFirst ? hi[p] : lo[p];
            }
            points += 2;
        }
    }
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
