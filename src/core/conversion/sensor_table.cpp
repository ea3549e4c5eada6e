#include "conversion/sensor_table.h"

#include "conversion/decimal_text.h"

#include <cstddef>

namespace tamble {

namespace {

// Splits text into lines ended by CR LF, LF or CR. A DOS end-of-file mark
// (Ctrl-Z) ends the text, as it does for the old table editors' files.
class LineCursor {
public:
    explicit LineCursor(std::string_view text)
        : m_text(text.substr(0, text.find('\x1A')))
    {
    }

    bool next(std::string_view& line)
    {
        if (m_pos >= m_text.size())
            return false;
        std::size_t end = m_pos;
        while (end < m_text.size() && m_text[end] != '\r' && m_text[end] != '\n')
            ++end;
        line = m_text.substr(m_pos, end - m_pos);
        if (end < m_text.size() && m_text[end] == '\r')
            ++end;
        if (end < m_text.size() && m_text[end] == '\n')
            ++end;
        m_pos = end;
        return true;
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

bool OnlyBlanks(std::string_view line)
{
    for (char c : line)
        if (!decimal::IsBlank(c))
            return false;
    return true;
}

// A number that stands alone: it ends at a blank or at the end of the line.
bool ReadField(std::string_view& line, float& value)
{
    if (!decimal::ReadNumber(line, value))
        return false;
    return line.empty() || decimal::IsBlank(line.front());
}

} // namespace

ParsedSensorTable ParseSensorTable(std::string_view text, std::uint16_t fullScaleCount)
{
    ParsedSensorTable result;
    LineCursor cursor(text);
    std::string_view line;

    if (!cursor.next(line)) // title
        return result;
    if (!cursor.next(line)) // kind
        return result;
    result.kind = line.empty() ? '\0' : line.front();
    if (!cursor.next(line)) // headings
        return result;

    const float fullScale = static_cast<float>(fullScaleCount);
    int lineNumber = 3;
    int count = 0;
    while (cursor.next(line)) {
        ++lineNumber;
        if (OnlyBlanks(line))
            continue;
        float engineering = 0.0f;
        float measured = 0.0f;
        if (!ReadField(line, engineering) || !ReadField(line, measured)) {
            result.status = TableParseStatus::MalformedPoint;
            result.lineNumber = lineNumber;
            result.table.pointCount = static_cast<float>(count);
            return result;
        }
        if (count == kSensorTableCapacity) {
            result.status = TableParseStatus::TooManyPoints;
            result.lineNumber = lineNumber;
            result.table.pointCount = static_cast<float>(count);
            return result;
        }
        if (result.kind == 'N')
            measured = measured * fullScale / 100.0f;
        result.table.outputColumn[static_cast<std::size_t>(count)] = engineering;
        result.table.inputColumn[static_cast<std::size_t>(count)] = measured;
        ++count;
    }
    result.table.pointCount = static_cast<float>(count);
    result.status = count < 2 ? TableParseStatus::TooFewPoints : TableParseStatus::Ok;
    return result;
}

QString SensorTableFileName(char code, std::string_view scalingText)
{
    switch (code) {
    case 'Y': case 'v': return QStringLiteral("b.mvt");
    case 'Z': case 'w': return QStringLiteral("c.mvt");
    case 'd': case 'x': return QStringLiteral("e.mvt");
    case 'g': case 'y': return QStringLiteral("j.mvt");
    case 'h': case 'z': return QStringLiteral("k.mvt");
    case '^': case '{': return QStringLiteral("n.mvt");
    case '_': case 'q': return QStringLiteral("r.mvt");
    case '`': case '}': return QStringLiteral("s.mvt");
    case 'a': case '~': return QStringLiteral("t.mvt");
    default: break;
    }
    if (IsThermocoupleCode(code))
        return QString(QChar::fromLatin1(code)) + QStringLiteral(".mvt");

    QByteArray name;
    name.reserve(static_cast<qsizetype>(scalingText.size()));
    for (char c : scalingText)
        if (c != ' ')
            name.append(c);
    if (name.isEmpty())
        return QString::fromLatin1(kFallbackTableName);
    return QString::fromLatin1(name) + QStringLiteral(".Rvt");
}

std::optional<QByteArray> MemoryTableSource::read(const QString& name) const
{
    const auto it = tables_.constFind(name.toLower());
    if (it == tables_.constEnd())
        return std::nullopt;
    return *it;
}

} // namespace tamble
