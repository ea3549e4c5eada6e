#include "directory/ini_document.h"

#include <QSet>

namespace tamble {

namespace {

QString KeyLine(const QString& key, const QString& value)
{
    return key + QLatin1Char('=') + value;
}

// The section name of a header line "[name]" (up to the first "]", or the rest of the line).
QString HeaderName(const QString& trimmed)
{
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'), 1);
    return (close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1)).trimmed();
}

} // namespace

IniDocument IniDocument::parse(const QByteArray& bytes)
{
    IniDocument doc;
    const qsizetype firstLf = bytes.indexOf('\n');
    if (firstLf >= 0)
        doc.m_eol = (firstLf > 0 && bytes.at(firstLf - 1) == '\r') ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");

    Part preamble;
    preamble.hasHeader = false;
    doc.m_parts.append(preamble);

    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        qsizetype len = end - start;
        if (len > 0 && bytes.at(start + len - 1) == '\r')
            --len;
        const QString raw = QString::fromLatin1(bytes.constData() + start, len);
        start = end + 1;

        const QString trimmed = raw.trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            Part part;
            part.name = HeaderName(trimmed);
            part.header = raw;
            doc.m_parts.append(part);
            continue;
        }
        Line line{raw, {}, {}};
        if (!trimmed.isEmpty() && !trimmed.startsWith(QLatin1Char(';'))) {
            const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
            line.key = (eq < 0 ? trimmed : trimmed.left(eq)).trimmed();
            if (eq >= 0)
                line.value = trimmed.mid(eq + 1).trimmed();
        }
        doc.m_parts.last().lines.append(line);
    }
    doc.reindex();
    return doc;
}

QByteArray IniDocument::serialize() const
{
    QByteArray out;
    for (const Part& part : m_parts) {
        if (part.hasHeader)
            out += part.header.toLatin1() + m_eol;
        for (const Line& line : part.lines)
            out += line.raw.toLatin1() + m_eol;
    }
    return out;
}

void IniDocument::reindex()
{
    m_byName.clear();
    for (int i = 0; i < m_parts.size(); ++i) {
        if (m_parts.at(i).hasHeader)
            m_byName[fold(m_parts.at(i).name)].append(i);
    }
}

QList<int> IniDocument::partsOf(const QString& section) const
{
    return m_byName.value(fold(section));
}

bool IniDocument::hasSection(const QString& section) const
{
    return m_byName.contains(fold(section));
}

QStringList IniDocument::sections() const
{
    QStringList names;
    QSet<QString> seen;
    for (const Part& part : m_parts) {
        if (part.hasHeader && !seen.contains(fold(part.name))) {
            seen.insert(fold(part.name));
            names << part.name;
        }
    }
    return names;
}

void IniDocument::addSection(const QString& section)
{
    if (!hasSection(section))
        appendPart(section);
}

QStringList IniDocument::keys(const QString& section) const
{
    QStringList keys;
    QSet<QString> seen;
    for (int p : partsOf(section)) {
        for (const Line& line : m_parts.at(p).lines) {
            if (line.key.isEmpty())
                continue;
            const QString folded = fold(line.key);
            if (seen.contains(folded))
                continue;
            seen.insert(folded);
            keys << line.key;
        }
    }
    return keys;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const
{
    for (int p : partsOf(section)) {
        for (const Line& line : m_parts.at(p).lines) {
            if (!line.key.isEmpty() && line.key.compare(key, Qt::CaseInsensitive) == 0)
                return line.value;
        }
    }
    return std::nullopt;
}

IniDocument::Part& IniDocument::appendPart(const QString& section)
{
    // A blank line between the last section and the new one, as people write INI files.
    Part& last = m_parts.last();
    const bool endsBlank = last.lines.isEmpty() ? !last.hasHeader : last.lines.last().raw.trimmed().isEmpty();
    if (!endsBlank)
        last.lines.append(Line{});
    Part part;
    part.name = section;
    part.header = QLatin1Char('[') + section + QLatin1Char(']');
    m_parts.append(part);
    m_byName[fold(section)].append(int(m_parts.size()) - 1);
    return m_parts.last();
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value)
{
    const QList<int> parts = partsOf(section);
    for (int p : parts) {
        for (Line& line : m_parts[p].lines) {
            if (!line.key.isEmpty() && line.key.compare(key, Qt::CaseInsensitive) == 0) {
                line.raw = KeyLine(line.key, value);
                line.value = value;
                return;
            }
        }
    }
    Part& part = parts.isEmpty() ? appendPart(section) : m_parts[parts.last()];
    qsizetype at = part.lines.size();
    while (at > 0 && part.lines.at(at - 1).key.isEmpty())
        --at;
    part.lines.insert(at, Line{KeyLine(key, value), key, value});
}

void IniDocument::removeKey(const QString& section, const QString& key)
{
    for (int p : partsOf(section)) {
        QList<Line>& lines = m_parts[p].lines;
        lines.removeIf([&key](const Line& line) {
            return !line.key.isEmpty() && line.key.compare(key, Qt::CaseInsensitive) == 0;
        });
    }
}

void IniDocument::removeSection(const QString& section)
{
    const QList<int> parts = partsOf(section);
    for (qsizetype i = parts.size() - 1; i >= 0; --i)
        m_parts.removeAt(parts.at(i));
    if (!parts.isEmpty())
        reindex();
}

void IniDocument::renameSection(const QString& section, const QString& newName)
{
    const QList<int> parts = partsOf(section);
    for (int p : parts) {
        m_parts[p].name = newName;
        m_parts[p].header = QLatin1Char('[') + newName + QLatin1Char(']');
    }
    if (!parts.isEmpty())
        reindex();
}

bool IniDocument::renameKey(const QString& section, const QString& key, const QString& newKey, const QString& value)
{
    for (int p : partsOf(section)) {
        for (Line& line : m_parts[p].lines) {
            if (!line.key.isEmpty() && line.key.compare(key, Qt::CaseInsensitive) == 0) {
                line = Line{KeyLine(newKey, value), newKey, value};
                return true;
            }
        }
    }
    return false;
}

} // namespace tamble
