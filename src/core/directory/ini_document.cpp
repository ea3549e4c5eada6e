#include "directory/ini_document.h"

#include <algorithm>

namespace tamble {

namespace {

bool SameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where `part` (a view into `whole`) starts in it.
qsizetype OffsetIn(const QString& whole, QStringView part)
{
    return part.isEmpty() ? 0 : part.data() - whole.constData();
}

// Latin-1 bytes of the text appended to `out`; characters outside Latin-1 become '?'.
void AppendLatin1(QByteArray& out, const QString& text)
{
    const qsizetype at = out.size();
    out.resize(at + text.size());
    char* p = out.data() + at;
    for (QChar c : text)
        *p++ = c.unicode() > 0xFF ? '?' : static_cast<char>(c.unicode());
}

} // namespace

std::size_t CaseFoldedHash(QStringView text)
{
    std::size_t h = 1469598103934665603ULL;  // FNV-1a over the folded UTF-16 units
    for (QChar c : text) {
        h ^= c.toCaseFolded().unicode();
        h *= 1099511628211ULL;
    }
    return h;
}

IniDocument::Line IniDocument::Line::keyLine(const QString& key, const QString& value)
{
    Line line;
    line.raw = key + QLatin1Char('=') + value;
    line.keyLength = key.size();
    line.valueAt = key.size() + 1;
    line.valueLength = value.size();
    return line;
}

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

        const QStringView trimmed = QStringView(raw).trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            // The section name: up to the first "]", or the rest of the line.
            const qsizetype close = trimmed.indexOf(QLatin1Char(']'), 1);
            const QStringView name = (close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1)).trimmed();
            Part part;
            part.header = raw;
            part.nameAt = OffsetIn(raw, name);
            part.nameLength = name.size();
            doc.m_parts.append(part);
            continue;
        }
        Line line{raw};
        if (!trimmed.isEmpty() && !trimmed.startsWith(QLatin1Char(';'))) {
            const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
            const QStringView key = (eq < 0 ? trimmed : trimmed.left(eq)).trimmed();
            const QStringView value = eq < 0 ? QStringView() : trimmed.mid(eq + 1).trimmed();
            line.keyAt = OffsetIn(raw, key);
            line.keyLength = key.size();
            line.valueAt = OffsetIn(raw, value);
            line.valueLength = value.size();
        }
        doc.m_parts.last().lines.append(line);
    }
    doc.reindex();
    return doc;
}

QByteArray IniDocument::serialize() const
{
    qsizetype size = 0;
    for (const Part& part : m_parts) {
        if (part.hasHeader)
            size += part.header.size() + m_eol.size();
        for (const Line& line : part.lines)
            size += line.raw.size() + m_eol.size();
    }
    QByteArray out;
    out.reserve(size);
    for (const Part& part : m_parts) {
        if (part.hasHeader) {
            AppendLatin1(out, part.header);
            out += m_eol;
        }
        for (const Line& line : part.lines) {
            AppendLatin1(out, line.raw);
            out += m_eol;
        }
    }
    return out;
}

void IniDocument::reindex()
{
    // Chains of parts by name hash, each in file order: built from the back.
    m_firstByHash.clear();
    for (int i = static_cast<int>(m_parts.size()) - 1; i >= 0; --i) {
        Part& part = m_parts[i];
        part.nextSameHash = -1;
        if (!part.hasHeader)
            continue;
        const std::size_t hash = CaseFoldedHash(part.name());
        const auto it = m_firstByHash.find(hash);
        if (it == m_firstByHash.end()) {
            m_firstByHash.insert(hash, i);
        } else {
            part.nextSameHash = *it;
            *it = i;
        }
    }
}

IniDocument::PartList IniDocument::partsOf(QStringView section) const
{
    PartList parts;
    const auto it = m_firstByHash.constFind(CaseFoldedHash(section));
    for (int i = it == m_firstByHash.cend() ? -1 : *it; i >= 0; i = m_parts.at(i).nextSameHash) {
        if (SameName(m_parts.at(i).name(), section))
            parts.append(i);
    }
    return parts;
}

int IniDocument::firstPartOf(QStringView section) const
{
    const auto it = m_firstByHash.constFind(CaseFoldedHash(section));
    for (int i = it == m_firstByHash.cend() ? -1 : *it; i >= 0; i = m_parts.at(i).nextSameHash) {
        if (SameName(m_parts.at(i).name(), section))
            return i;
    }
    return -1;
}

bool IniDocument::hasSection(const QString& section) const
{
    return firstPartOf(section) >= 0;
}

QStringList IniDocument::sections() const
{
    QStringList names;
    for (int i = 0; i < m_parts.size(); ++i) {
        const Part& part = m_parts.at(i);
        if (part.hasHeader && firstPartOf(part.name()) == i)
            names << part.name().toString();
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
    QHash<std::size_t, int> seen;  // folded key hash -> first key listed with it
    for (int p : partsOf(section)) {
        for (const Line& line : m_parts.at(p).lines) {
            if (!line.isKey())
                continue;
            const QStringView key = line.key();
            const auto it = seen.constFind(CaseFoldedHash(key));
            if (it != seen.cend()) {
                if (SameName(keys.at(*it), key))
                    continue;
                // Two names with one hash: look through the list itself.
                if (std::any_of(keys.cbegin(), keys.cend(), [key](const QString& k) { return SameName(k, key); }))
                    continue;
            } else {
                seen.insert(CaseFoldedHash(key), static_cast<int>(keys.size()));
            }
            keys << key.toString();
        }
    }
    return keys;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const
{
    for (int p : partsOf(section)) {
        for (const Line& line : m_parts.at(p).lines) {
            if (line.isKey() && SameName(line.key(), key))
                return line.value().toString();
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
    part.header = QLatin1Char('[') + section + QLatin1Char(']');
    part.nameAt = 1;
    part.nameLength = section.size();
    m_parts.append(part);
    // The new part ends its hash chain.
    const int index = static_cast<int>(m_parts.size()) - 1;
    const std::size_t hash = CaseFoldedHash(section);
    const auto it = m_firstByHash.constFind(hash);
    if (it == m_firstByHash.cend()) {
        m_firstByHash.insert(hash, index);
    } else {
        int i = *it;
        while (m_parts.at(i).nextSameHash >= 0)
            i = m_parts.at(i).nextSameHash;
        m_parts[i].nextSameHash = index;
    }
    return m_parts.last();
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value)
{
    const PartList parts = partsOf(section);
    for (int p : parts) {
        for (Line& line : m_parts[p].lines) {
            if (line.isKey() && SameName(line.key(), key)) {
                // The key keeps its spelling.
                line = Line::keyLine(line.key().toString(), value);
                return;
            }
        }
    }
    Part& part = parts.isEmpty() ? appendPart(section) : m_parts[parts.last()];
    qsizetype at = part.lines.size();
    while (at > 0 && !part.lines.at(at - 1).isKey())
        --at;
    part.lines.insert(at, Line::keyLine(key, value));
}

void IniDocument::removeKey(const QString& section, const QString& key)
{
    for (int p : partsOf(section)) {
        QList<Line>& lines = m_parts[p].lines;
        lines.removeIf([&key](const Line& line) { return line.isKey() && SameName(line.key(), key); });
    }
}

void IniDocument::removeSection(const QString& section)
{
    const PartList parts = partsOf(section);
    for (qsizetype i = parts.size() - 1; i >= 0; --i)
        m_parts.removeAt(parts.at(i));
    if (!parts.isEmpty())
        reindex();
}

void IniDocument::renameSection(const QString& section, const QString& newName)
{
    const PartList parts = partsOf(section);
    for (int p : parts) {
        m_parts[p].header = QLatin1Char('[') + newName + QLatin1Char(']');
        m_parts[p].nameAt = 1;
        m_parts[p].nameLength = newName.size();
    }
    if (!parts.isEmpty())
        reindex();
}

bool IniDocument::renameKey(const QString& section, const QString& key, const QString& newKey, const QString& value)
{
    for (int p : partsOf(section)) {
        for (Line& line : m_parts[p].lines) {
            if (line.isKey() && SameName(line.key(), key)) {
                line = Line::keyLine(newKey, value);
                return true;
            }
        }
    }
    return false;
}

} // namespace tamble
