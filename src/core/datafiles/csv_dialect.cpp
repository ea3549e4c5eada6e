#include "datafiles/csv_dialect.h"

#include "util/file_write.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>

namespace tamble {

char CsvDialect::separatorChar() const
{
    switch (separator) {
    case FieldSeparator::Semicolon: return ';';
    case FieldSeparator::Tab: return '\t';
    case FieldSeparator::Comma: break;
    }
    return ',';
}

QString DialectRefusal(const CsvDialect& dialect)
{
    if (dialect.separator == FieldSeparator::Comma && dialect.decimalMark == DecimalMark::Comma)
        return QStringLiteral("A comma cannot both separate the fields and mark the decimals; "
                              "choose a semicolon or tab separator, or the decimal point");
    return {};
}

DialectChoice WithSeparator(CsvDialect dialect, FieldSeparator separator)
{
    dialect.separator = separator;
    if (DialectRefusal(dialect).isEmpty())
        return {dialect, {}};
    dialect.decimalMark = DecimalMark::Point;
    return {dialect, QStringLiteral("Comma separated fields take the decimal point.")};
}

DialectChoice WithDecimalMark(CsvDialect dialect, DecimalMark mark)
{
    dialect.decimalMark = mark;
    if (DialectRefusal(dialect).isEmpty())
        return {dialect, {}};
    dialect.separator = FieldSeparator::Semicolon;
    return {dialect, QStringLiteral("With the decimal comma the fields are separated by semicolons.")};
}

ExportStamp DialectStamp(QByteArrayView stamp, char separator, ExportDateOrder order, const CsvDialect& dialect)
{
    ExportStamp s;
    constexpr int capacity = static_cast<int>(std::tuple_size_v<decltype(s.text)>);
    auto put = [&s](char c) {
        if (s.length < capacity)
            s.text[static_cast<std::size_t>(s.length++)] = c;
    };
    auto putAtMost = [&put](QByteArrayView t, qsizetype most) {
        for (char c : t.first(std::min(t.size(), most)))
            put(c);
    };
    auto cut = [](QByteArrayView& rest, char at) {
        const qsizetype i = rest.indexOf(at);
        const QByteArrayView field = i < 0 ? rest : rest.first(i);
        rest = i < 0 ? QByteArrayView() : rest.sliced(i + 1);
        return field;
    };

    if (dialect.stamp == StampLayout::DateAndTime) {
        for (char c : stamp.first(std::min<qsizetype>(stamp.size(), capacity)))
            put(c == separator ? dialect.separatorChar() : c);
        return s;
    }

    // "mm/dd/yyyy" or "dd/mm/yyyy", the time, and the milliseconds if any.
    QByteArrayView rest = stamp;
    QByteArrayView date = cut(rest, separator);
    const QByteArrayView time = cut(rest, separator);
    const QByteArrayView ms = rest;
    const QByteArrayView first = cut(date, '/');
    const QByteArrayView second = cut(date, '/');
    const QByteArrayView year = date;
    const bool monthFirst = order == ExportDateOrder::MonthFirst;
    putAtMost(year, 10);
    put('-');
    putAtMost(monthFirst ? first : second, 2);
    put('-');
    putAtMost(monthFirst ? second : first, 2);
    put('T');
    putAtMost(time, 8);
    if (!ms.isEmpty()) {
        put('.');
        putAtMost(ms, 3);
    }
    return s;
}

QByteArray DialectNumber(QByteArrayView number, const CsvDialect& dialect)
{
    QByteArray t = number.toByteArray();
    if (dialect.decimalMark == DecimalMark::Comma)
        t.replace('.', ',');
    return t;
}

QByteArray DialectField(const QByteArray& text, const CsvDialect& dialect)
{
    const bool quote = text.contains(dialect.separatorChar()) || text.contains('"') || text.contains('\r') ||
                       text.contains('\n');
    if (!quote)
        return text;
    QByteArray t = text;
    t.replace("\"", "\"\"");
    return '"' + t + '"';
}

// ================================================================ the choice kept

namespace {

struct Word {
    const char* key;
    const char* values[3];   // by the enumeration's order; nullptr past its last
};

constexpr Word kSeparator{"separator", {"comma", "semicolon", "tab"}};
constexpr Word kDecimal{"decimal", {"point", "comma", nullptr}};
constexpr Word kStamp{"timestamp", {"date-time", "iso8601", nullptr}};
constexpr Word kHeader{"header", {"full", "spreadsheet", nullptr}};

template <typename E>
void readValue(const Word& word, QByteArrayView key, QByteArrayView value, E& into)
{
    if (key.compare(QByteArrayView(word.key), Qt::CaseInsensitive) != 0)
        return;
    for (int i = 0; i < 3 && word.values[i]; ++i)
        if (value.compare(QByteArrayView(word.values[i]), Qt::CaseInsensitive) == 0)
            into = static_cast<E>(i);
}

template <typename E>
QByteArray line(const Word& word, E value)
{
    return QByteArray(word.key) + '=' + word.values[static_cast<int>(value)] + '\n';
}

} // namespace

QString ExportDialectFile::path() const
{
    return m_dir + QLatin1String(kExportDialectFileName);
}

QByteArray ExportDialectFile::toText(const CsvDialect& dialect)
{
    return "[CSV]\n" + line(kSeparator, dialect.separator) + line(kDecimal, dialect.decimalMark) +
           line(kStamp, dialect.stamp) + line(kHeader, dialect.header);
}

CsvDialect ExportDialectFile::fromText(QByteArrayView text)
{
    CsvDialect d;
    for (const QByteArray& raw : text.toByteArray().split('\n')) {
        const QByteArray l = raw.trimmed();
        const qsizetype eq = l.indexOf('=');
        if (eq <= 0)
            continue;   // blank, section or comment
        const QByteArray key = l.left(eq).trimmed();
        const QByteArray value = l.mid(eq + 1).trimmed();
        readValue(kSeparator, key, value, d.separator);
        readValue(kDecimal, key, value, d.decimalMark);
        readValue(kStamp, key, value, d.stamp);
        readValue(kHeader, key, value, d.header);
    }
    if (!DialectRefusal(d).isEmpty())
        d = WithDecimalMark(d, d.decimalMark).dialect;
    return d;
}

CsvDialect ExportDialectFile::load() const
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromText(file.read(4096));
}

QString ExportDialectFile::save(const CsvDialect& dialect) const
{
    QSaveFile file(path());
    if (!file.open(QIODevice::WriteOnly))
        return UnableToWriteText(path());
    file.write(toText(dialect));
    if (!file.commit())
        return UnableToWriteText(path());
    return {};
}

} // namespace tamble
