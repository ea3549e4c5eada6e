#include "datafiles/tl2.h"

#include "datafiles/bank_file.h"

#include "conversion/decimal_text.h"
#include "util/file_write.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <charconv>

namespace tamble {

namespace {

constexpr int kHeaderLines = 17;

QByteArrayView WithoutLineEnd(const QByteArray& line)
{
    qsizetype n = line.size();
    while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r'))
        --n;
    return QByteArrayView(line).first(n);
}

void AppendMean(TextOut& out, float value, const CsvDialect& dialect)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::fixed, 3);
    if (res.ec != std::errc())
        return;
    if (dialect.decimalMark == DecimalMark::Comma)
        std::replace(buf, res.ptr, '.', ',');
    out.append(std::string_view(buf, static_cast<std::size_t>(res.ptr - buf)));
}

// How the lines of the .TL2 file are written out: its own layout, blanks for
// commas in a text export, or a CSV dialect.
struct LineLayout {
    bool csv = true;
    CsvDialect dialect;
    ExportDateOrder dateOrder = ExportDateOrder::MonthFirst;
    int valuesStart = 20;   // first value of a line (FirstValuePosition)

    bool ownLayout() const { return !csv || dialect.isDefault(); }
};

// The stamp part of a line (without the separator after it) in the dialect.
void AppendDialectStamp(TextOut& out, QByteArrayView stampPart, const LineLayout& layout)
{
    if (stampPart.endsWith(','))
        stampPart.chop(1);
    out.append(DialectStamp(stampPart, ',', layout.dateOrder, layout.dialect).view());
}

// A whole line of the .TL2 file in the dialect: the stamp rewritten, the
// values' commas becoming the separator and their points the decimal mark.
void AppendDialectLine(TextOut& out, QByteArrayView line, const LineLayout& layout)
{
    const qsizetype start = std::min<qsizetype>(layout.valuesStart, line.size());
    AppendDialectStamp(out, line.first(start), layout);
    if (start == line.size())
        return;
    out.append(layout.dialect.separatorChar());
    QByteArray values = line.sliced(start).toByteArray();
    for (char& c : values) {
        if (c == ',')
            c = layout.dialect.separatorChar();
        else if (c == '.')
            c = layout.dialect.decimalChar();
    }
    out.append(values);
}

void AppendWithBlanks(TextOut& out, QByteArrayView text, bool csv)
{
    if (csv) {
        out.append(std::string_view(text.data(), static_cast<std::size_t>(text.size())));
        return;
    }
    QByteArray copy = text.toByteArray();
    copy.replace(',', ' ');
    out.append(copy);
}

} // namespace

int FirstValuePosition(bool withMilliseconds)
{
    return withMilliseconds ? 24 : 20;
}

int SplitBankLineValues(QByteArrayView line, int start, int channels, float* values)
{
    if (start >= line.size() || channels <= 0)
        return 0;
    int read = 0;
    qsizetype pos = start;
    while (read < channels && pos < line.size()) {
        qsizetype end = line.size();
        if (read + 1 < channels) {
            const qsizetype comma = line.indexOf(',', std::min<qsizetype>(pos + 5, line.size()));
            if (comma >= 0)
                end = comma;
        }
        const QByteArrayView field = line.sliced(pos, end - pos);
        values[read++] = decimal::LeadingNumber(std::string_view(field.data(), static_cast<std::size_t>(field.size())));
        pos = end + 1;
    }
    return read;
}

Tl2BankWriter::Tl2BankWriter(ExportSettings settings) : m_settings(std::move(settings))
{
    // The .TL2 file always carries its header: its extension is neither
    // ".CSV" nor ".TXT".
    m_settings.noHeader = false;
}

Tl2BankWriter::~Tl2BankWriter() = default;

bool Tl2BankWriter::writeBank(const DataSet& data, int bankIndex)
{
    if (!m_ok)
        return false;
    if (bankIndex == 0 || !m_file) {
        m_file = std::make_unique<QSaveFile>(data.bankFileName);
        if (!m_file->open(QIODevice::WriteOnly)) {
            m_ok = false;
            m_message = UnableToWriteText(data.bankFileName);
            return false;
        }
        m_out = std::make_unique<TextOut>(m_file.get());
        ExportRequest request;
        request.path = data.bankFileName;
        request.csv = true;
        request.averaging = 1;
        // request.dialect stays the program's own: the file is read back.
        // The header names the .TL1 file the banks come from.
        m_out->append(BuildExportHeader(data, request, m_settings, data.readingsPerChannel));
        m_writer.emplace(data, m_settings, true);
        m_lines += m_writer->write(data, *m_out, 0, data.readingsPerChannel, 1, false, false);
    } else {
        m_lines += m_writer->write(data, *m_out, 0, data.readingsPerChannel, 1, false, true);
    }
    if (m_out->failed()) {
        m_ok = false;
        m_message = UnableToWriteText(data.bankFileName);
    }
    return m_ok;
}

void Tl2BankWriter::finish(const DataSet& data)
{
    if (!m_file)
        return;
    const bool flushed = m_out->flush();
    m_out.reset();
    if (m_ok && flushed && m_file->commit())
        return;
    m_file->cancelWriting();
    m_ok = false;
    if (m_message.isEmpty())
        m_message = UnableToWriteText(data.bankFileName);
}

bool OpenBankFile(QFile& file, const QString& name, const QString& programDir)
{
    file.setFileName(name);
    if (file.open(QIODevice::ReadOnly))
        return true;
    file.setFileName(programDir + QFileInfo(name).fileName());
    return file.open(QIODevice::ReadOnly);
}

namespace {

// Reads data lines up to the end of the file or of the zoom window.
class WindowReader {
public:
    WindowReader(QFile& file, const DataSet& data)
        : m_file(file), m_window(data.zoom.zoomed ? data.zoom.readingCount : -1)
    {
        for (int i = 0; i < kHeaderLines && !m_file.atEnd(); ++i)
            m_file.readLine();
        if (data.zoom.zoomed) {
            for (int i = 0; i < data.zoom.firstReading && !m_file.atEnd(); ++i)
                m_file.readLine();
        }
    }

    bool atEnd() const { return m_file.atEnd(); }
    bool windowDone() const { return m_window >= 0 && m_readTotal >= m_window; }
    QByteArray next()
    {
        ++m_readTotal;
        return m_file.readLine();
    }

private:
    QFile& m_file;
    const qint64 m_window;
    qint64 m_readTotal = 0;
};

// Every line copied, commas becoming blanks in a text export.
void CopyLines(WindowReader& reader, TextOut& out, const LineLayout& layout, ReexportResult& result)
{
    while (!reader.atEnd() && !reader.windowDone()) {
        const QByteArray line = reader.next();
        if (layout.ownLayout())
            AppendWithBlanks(out, WithoutLineEnd(line), layout.csv);
        else
            AppendDialectLine(out, WithoutLineEnd(line), layout);
        out.endLine();
        ++result.lines;
    }
}

// One line per group of `n` lines: the stamp of the group's last line and the
// mean of each channel. A group cut short by the end of the file still gives
// its line; one cut short by the end of the zoom window ends the export.
void AverageLines(WindowReader& reader, const DataSet& data, int n, TextOut& out, const LineLayout& layout,
                  ReexportResult& result)
{
    const int channels = std::clamp(data.channelCount(), 0, 4);
    const int start = layout.valuesStart;
    const bool csv = layout.csv;
    const char separator = layout.ownLayout() ? (csv ? ',' : ' ') : layout.dialect.separatorChar();
    bool stop = false;
    while (!stop && !reader.atEnd()) {
        std::array<float, 4> sum{};
        std::array<int, 4> counted{};   // a value left off its line is not averaged
        int k = 0;
        QByteArray last;
        for (int i = 0; i < n; ++i) {
            if (reader.atEnd())
                break;
            if (reader.windowDone()) {
                stop = true;
                break;
            }
            last = reader.next();
            std::array<float, 4> values{};
            const int read = SplitBankLineValues(WithoutLineEnd(last), start, channels, values.data());
            for (int c = 0; c < read; ++c) {
                sum[c] += values[c];
                ++counted[c];
            }
            ++k;
        }
        if (k == 0)
            break;
        const QByteArrayView line = WithoutLineEnd(last);
        const QByteArrayView stampPart = line.first(std::min<qsizetype>(start, line.size()));
        if (layout.ownLayout()) {
            AppendWithBlanks(out, stampPart, csv);
        } else {
            AppendDialectStamp(out, stampPart, layout);
            out.append(separator);
        }
        for (int c = 0; c < channels; ++c) {
            if (c > 0)
                out.append(separator);
            if (counted[c] > 0)
                AppendMean(out, sum[c] / static_cast<float>(counted[c]), layout.dialect);
        }
        out.endLine();
        ++result.lines;
    }
}

} // namespace

ReexportResult ReexportFromBankFile(const DataSet& data, TextOut& out, bool csv, int averaging,
                                    const QString& programDir, const CsvDialect& dialect, ExportDateOrder dateOrder)
{
    ReexportResult result;
    QFile file;
    if (!OpenBankFile(file, data.dataFileName, programDir)) {
        result.message = FileNotFoundText(data.dataFileName);
        return result;
    }
    const QString name = file.fileName();
    if (!IsBankFileName(name)) {
        result.message = name + QStringLiteral(" is not a TL2 type file");
        return result;
    }

    LineLayout layout;
    layout.csv = csv;
    layout.dialect = csv ? dialect : CsvDialect{};
    layout.dateOrder = dateOrder;
    // Every line of a recording stamped with milliseconds carries them, so
    // its first value starts after that field.
    layout.valuesStart = FirstValuePosition(ExportShowsMilliseconds(data.intervalMinutes));

    WindowReader reader(file, data);
    const int n = averaging == 9999 ? 300000 : averaging;
    if (n < 2)
        CopyLines(reader, out, layout, result);
    else
        AverageLines(reader, data, n, out, layout, result);
    result.ok = !out.failed();
    return result;
}

} // namespace tamble
