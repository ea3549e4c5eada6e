#include "datafiles/export.h"

#include "datafiles/tl2.h"
#include "conversion/channel_units.h"
#include "util/file_write.h"

#include <QList>
#include <QSaveFile>
#include <algorithm>
#include <charconv>
#include <cstdio>

namespace tamble {

namespace {

QByteArray Padded(const QByteArray& text, int width)
{
    QByteArray t = text.left(width);
    if (t.size() < width)
        t.append(QByteArray(width - t.size(), ' '));
    return t;
}

// "%16.13f" with a point as the decimal separator, whatever the locale.
QByteArray RateText(double minutes)
{
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, "%16.13f", minutes);
    QByteArray t(buf, std::clamp(n, 0, static_cast<int>(sizeof buf) - 1));
    t.replace(',', '.');
    return t;
}

QByteArray AveragingNote(const DataSet& data, int averaging, int readingsExported)
{
    if (averaging == 1)
        return {};
    if (averaging == 9999) {
        if (data.multiBank)
            return "Note: Average for the above period.";
        return "Note: Average for the above period (" + QByteArray::number(readingsExported) +
               " consecutive samples).";
    }
    return "Note: Each reading is the average of " + QByteArray::number(averaging) + " consecutive samples.";
}

} // namespace

bool HasExportExtension(const QString& path)
{
    return path.endsWith(QLatin1String(".CSV"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".TXT"), Qt::CaseInsensitive);
}

namespace {

// Unit of each recorded channel (1..4) in the column headings.
std::array<QByteArray, 4> HeadingUnits(const DataSet& data, bool fahrenheit, int humidityQuantity)
{
    const auto units = DeriveChannelUnits(data.typeCodes, data.inputTypes, data.channelLabel, fahrenheit,
                                          humidityQuantity);
    std::array<QByteArray, 4> texts;
    for (int i = 0; i < 4; ++i) {
        // A multi-bank recording read back from its .TL2 file keeps the units
        // its column headings named.
        texts[i] = data.unitText[i].isEmpty() || !data.multiBank ? units[i].unit : data.unitText[i];
    }
    return texts;
}

// The label without its ";unit" and "~range" parts, as the graph's legend shows it.
QByteArray PlainLabel(QByteArrayView label)
{
    qsizetype cut = label.size();
    for (qsizetype i = 1; i + 1 < label.size(); ++i) {
        if (label[i] == ';' || label[i] == '~') {
            cut = i;
            break;
        }
    }
    return label.first(cut).toByteArray().trimmed();
}

} // namespace

QByteArray ExportColumnHeadings(const DataSet& data, bool fahrenheit, int humidityQuantity)
{
    const auto units = HeadingUnits(data, fahrenheit, humidityQuantity);
    QByteArray h = "Date,Time,";
    if (ExportShowsMilliseconds(data.intervalMinutes))
        h += "millisecs,";
    for (int ch : data.channelList) {
        if (ch < 1 || ch > 4)
            continue;
        h += "Ch" + QByteArray::number(ch) + ":" + units[ch - 1] + ",";
    }
    h.chop(1);
    return h;
}

QByteArray DialectColumnHeadings(const DataSet& data, const CsvDialect& dialect, bool fahrenheit,
                                 int humidityQuantity)
{
    const auto units = HeadingUnits(data, fahrenheit, humidityQuantity);
    QList<QByteArray> fields;
    if (dialect.stamp == StampLayout::Iso8601) {
        fields << "Timestamp";
    } else {
        fields << "Date" << "Time";
        if (ExportShowsMilliseconds(data.intervalMinutes))
            fields << "millisecs";
    }
    for (int ch : data.channelList) {
        if (ch < 1 || ch > 4)
            continue;
        const QByteArray& unit = units[ch - 1];
        const QByteArray number = "Ch" + QByteArray::number(ch);
        if (dialect.header == HeaderLayout::Full) {
            fields << number + ":" + unit;
            continue;
        }
        QByteArray label = PlainLabel(data.channelLabel[ch - 1]);
        if (label.isEmpty())
            label = number;
        fields << (unit.trimmed().isEmpty() ? label : label + " (" + unit.trimmed() + ")");
    }
    QByteArray h;
    for (const QByteArray& f : fields) {
        if (!h.isEmpty())
            h += dialect.separatorChar();
        h += DialectField(f, dialect);
    }
    return h;
}

QByteArray BuildExportHeader(const DataSet& data, const ExportRequest& request, const ExportSettings& settings,
                             int readingsExported)
{
    const bool dialect = request.csv && !request.dialect.isDefault();
    const QByteArray headings =
        dialect ? DialectColumnHeadings(data, request.dialect, settings.fahrenheit, settings.humidityQuantity)
                : ExportColumnHeadings(data, settings.fahrenheit, settings.humidityQuantity);
    if (dialect && request.dialect.header == HeaderLayout::Spreadsheet)
        return headings + "\r\n";

    const QByteArray prefix = request.csv ? " " : "\"";
    QByteArray h;
    auto line = [&h](const QByteArray& text) { h += text; h += "\r\n"; };

    line(prefix + request.note);
    line({});
    line(prefix + "Source File: " + data.dataFileName.toLocal8Bit());
    line(prefix + "ID: " + Padded(data.description, 31) + "  " + data.modelText);
    for (int i = 0; i < 4; ++i) {
        const QByteArray& scl = data.scalingText[i];
        line(prefix + "Ch" + QByteArray::number(i + 1) + " lbl/scl: " + Padded(data.channelLabel[i], 24) + "/" +
             scl.left(6) + " " + scl.mid(6, 6));
    }
    QByteArray rate = prefix + "Rate (mins): " + RateText(data.intervalMinutes) + "        ";
    if (!data.batteryText.isEmpty())
        rate += "Bat: " + data.batteryText;
    line(rate);
    const bool zoomed = data.zoom.zoomed;
    line(prefix + "First:       " + (zoomed ? data.zoom.startStamp : data.firstStamp));
    line(prefix + "Last:        " + (zoomed ? data.zoom.endStamp : data.lastStamp));
    line(prefix + "Transferred: " + data.transferredStamp);
    line(prefix + "Eq. PC time: " + data.pcClockText);
    line({});
    line(prefix + AveragingNote(data, request.averaging, readingsExported));
    line({});
    line(headings);
    return h;
}

ExportLineWriter::ExportLineWriter(const DataSet& data, const ExportSettings& settings, bool csv,
                                   const CsvDialect& dialect)
    : m_scaling(data.scaling), m_csv(csv), m_dialect(csv ? dialect : CsvDialect{}), m_ownLayout(m_dialect.isDefault())
{
    m_scaling.fahrenheit = settings.fahrenheit;
    m_scaling.humidityQuantity = settings.humidityQuantity;
    m_clock.intervalMinutes = data.intervalMinutes;
    m_clock.dateOrder = settings.dateOrder;
    for (int p = 0; p < data.channelCount() && p < 4; ++p)
        m_toFahrenheit[p] = settings.fahrenheit && CountsAsTemperature(m_scaling, data.channelList[p]);
}

void ExportLineWriter::appendStamp(TextOut& out) const
{
    if (m_ownLayout)
        out.append(m_stamp.view());
    else
        out.append(DialectStamp(m_stamp.bytes(), ',', m_clock.dateOrder, m_dialect).view());
}

void ExportLineWriter::appendValue(TextOut& out, float value) const
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::fixed, 3);
    const auto len = static_cast<int>(res.ec == std::errc() ? res.ptr - buf : 0);
    const int width = m_csv ? 4 : 8;
    if (!m_ownLayout) {
        out.append(m_dialect.separatorChar());
        if (len < width)
            out.append(std::string_view("        ", static_cast<std::size_t>(width - len)));
        if (m_dialect.decimalMark == DecimalMark::Comma)
            std::replace(buf, buf + len, '.', ',');
        out.append(std::string_view(buf, static_cast<std::size_t>(len)));
        return;
    }
    out.append(m_csv ? ',' : ' ');
    if (len < width)
        out.append(std::string_view("        ", static_cast<std::size_t>(width - len)));
    out.append(std::string_view(buf, static_cast<std::size_t>(len)));
}

qint64 ExportLineWriter::write(const DataSet& data, TextOut& out, int first, int count, int n, bool padLastGroup,
                               bool continueBank)
{
    const int channels = std::min(data.channelCount(), 4);
    if (count <= 0 || channels <= 0 || n <= 0)
        return 0;
    first = std::max(first, 0);

    // Index of every plane's readings, bounded by the buffer so that no
    // window or group can reach outside it.
    const std::uint16_t* planes = data.rawPlanes.data();
    std::array<int, 4> origin{};
    std::array<int, 4> limit{};
    for (int p = 0; p < channels; ++p) {
        origin[p] = data.channelOrigin(p);
        limit[p] = RawPlanes::kEntries - 1 - origin[p];
    }
    const int lastInWindow = first + count - 1;
    auto rawAt = [&](int p, int i) -> std::uint16_t {
        if (padLastGroup && i > lastInWindow)
            i = lastInWindow;
        return planes[origin[p] + std::min(i, limit[p])];
    };

    const bool comma = m_csv;
    if (continueBank) {
        m_stamp = NextExportStamp(m_clock, m_stamp.bytes(), 1, comma);
    } else {
        const double offset = n == 1 ? first * data.intervalMinutes
                                     : static_cast<double>(static_cast<float>(first + n - 1) *
                                                           static_cast<float>(data.intervalMinutes));
        m_stamp = FirstExportStamp(m_clock, data.firstStamp, offset, comma);
    }

    qint64 lines = 0;
    if (n == 1) {
        for (int i = first; i <= lastInWindow; ++i) {
            appendStamp(out);
            for (int p = 0; p < channels; ++p) {
                std::uint16_t raw = rawAt(p, i);
                float v = ConvertReading(m_scaling, raw, data.channelList[p]);
                if (m_toFahrenheit[p])
                    v = CelsiusToFahrenheit(v);
                appendValue(out, v);
            }
            out.endLine();
            ++lines;
            m_stamp = NextExportStamp(m_clock, m_stamp.bytes(), 1, comma);
        }
        return lines;
    }

    const qint64 groups = count / n + (count % n != 0 && n <= 9999 ? 1 : 0);
    const float divisor = static_cast<float>(n);
    for (qint64 g = 0; g < groups; ++g) {
        std::array<float, 4> sum{};
        const int start = first + static_cast<int>(g * n);
        for (int k = 0; k < n; ++k) {
            for (int p = 0; p < channels; ++p) {
                std::uint16_t raw = rawAt(p, start + k);
                sum[p] += ConvertReading(m_scaling, raw, data.channelList[p]);
            }
        }
        appendStamp(out);
        for (int p = 0; p < channels; ++p) {
            float v = sum[p] / divisor;
            if (m_toFahrenheit[p])
                v = CelsiusToFahrenheit(v);
            appendValue(out, v);
        }
        out.endLine();
        ++lines;
        m_stamp = NextExportStamp(m_clock, m_stamp.bytes(), n, comma);
    }
    return lines;
}

ExportResult ExportData(DataSet& data, const ExportRequest& request, const ExportSettings& settings)
{
    ExportResult result;
    const CsvDialect dialect = request.csv ? request.dialect : CsvDialect{};
    result.message = DialectRefusal(dialect);
    if (!result.message.isEmpty())
        return result;
    QSaveFile file(request.path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.message = UnableToWriteText(request.path);
        return result;
    }
    TextOut out(&file);

    const bool zoomed = data.zoom.zoomed;
    const int first = zoomed ? data.zoom.firstReading : 0;
    const int count = zoomed ? data.zoom.readingCount : data.readingsPerChannel;
    int n = request.averaging;
    if (n == 9999)
        n = count;
    if (n < 1)
        n = 1;

    if (!(settings.noHeader && HasExportExtension(request.path)))
        out.append(BuildExportHeader(data, request, settings, count));

    if (data.multiBank && HasExportExtension(request.path)) {
        const ReexportResult re = ReexportFromBankFile(data, out, request.csv, request.averaging, settings.programDir,
                                                       dialect, settings.dateOrder);
        result.dataLines = re.lines;
        if (!re.ok) {
            result.message = re.message;
            file.cancelWriting();
            return result;
        }
    } else {
        ExportLineWriter writer(data, settings, request.csv, dialect);
        result.dataLines = writer.write(data, out, first, count, n, !zoomed, false);
    }

    if (!out.flush() || !file.commit()) {
        result.message = UnableToWriteText(request.path);
        return result;
    }
    result.ok = true;
    return result;
}

QString AutoExportName(const QString& dataFile)
{
    QString name = dataFile.mid(dataFile.lastIndexOf(QLatin1Char('/')) + 1);
    name.chop(4);
    return name + QStringLiteral(".csv");
}

} // namespace tamble
