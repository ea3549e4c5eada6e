#pragma once
// Line and number reading shared by the .TL1 loader and the .TL1 parser of
// the writer. Works on the bytes of the whole file without copying; a line
// ends at CR LF, LF or a lone CR.

#include <QByteArray>
#include <cstdint>
#include <cstring>

namespace tamble::tl1 {

struct LineView {
    const char* data = nullptr;
    qsizetype size = 0;

    QByteArray cut(qsizetype width) const { return QByteArray(data, size < width ? size : width); }
    char at(qsizetype i) const { return i >= 0 && i < size ? data[i] : '\0'; }
};

class LineCursor {
public:
    LineCursor(const char* begin, qsizetype size) : m_pos(begin), m_end(begin + size) {}
    explicit LineCursor(const QByteArray& bytes) : LineCursor(bytes.constData(), bytes.size()) {}

    bool atEnd() const { return m_pos >= m_end; }

    // The next line without its line end; false (and an empty line) at the
    // end of the data.
    bool next(LineView& line)
    {
        line = {};
        if (m_pos >= m_end)
            return false;
        const char* start = m_pos;
        const auto* lf = static_cast<const char*>(std::memchr(start, '\n', static_cast<std::size_t>(m_end - start)));
        const char* stop = lf ? lf : m_end;
        const auto* cr = static_cast<const char*>(std::memchr(start, '\r', static_cast<std::size_t>(stop - start)));
        if (cr) {
            line = {start, cr - start};
            m_pos = (cr + 1 < m_end && cr[1] == '\n') ? cr + 2 : cr + 1;
        } else {
            line = {start, stop - start};
            m_pos = lf ? lf + 1 : m_end;
        }
        return true;
    }

    // The next line without consuming it.
    bool peek(LineView& line) const
    {
        LineCursor copy = *this;
        return copy.next(line);
    }

private:
    const char* m_pos;
    const char* m_end;
};

// The hex digits of a data line: LooseHexByte (format/hex.h).

// Leading integer of a line: blanks, an optional sign, digits; whatever
// follows is left in `rest`. No digits read as 0. Values are clamped far
// beyond any header number so that huge digit strings cannot overflow.
inline std::int64_t ReadInteger(LineView line, LineView* rest = nullptr)
{
    qsizetype i = 0;
    while (i < line.size && (line.data[i] == ' ' || line.data[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < line.size && (line.data[i] == '+' || line.data[i] == '-')) {
        negative = line.data[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    while (i < line.size && line.data[i] >= '0' && line.data[i] <= '9') {
        if (value < 1'000'000'000'000LL)
            value = value * 10 + (line.data[i] - '0');
        ++i;
    }
    if (rest)
        *rest = {line.data + i, line.size - i};
    return negative ? -value : value;
}

} // namespace tamble::tl1
