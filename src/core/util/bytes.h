#pragma once
// Little-endian field access and length-prefixed text fields for the binary
// records (settings, setup). Every access is bounds-checked against the buffer,
// so a short or damaged record can never be read or written past its end.

#include <QByteArray>
#include <cstdint>
#include <string>
#include <string_view>

namespace tamble::bytes {

inline bool fits(const QByteArray& buf, qsizetype offset, qsizetype width)
{
    return offset >= 0 && width >= 0 && offset + width <= buf.size();
}

inline void put_u8(QByteArray& buf, qsizetype offset, std::uint8_t v)
{
    if (fits(buf, offset, 1))
        buf[offset] = static_cast<char>(v);
}

inline std::uint8_t get_u8(const QByteArray& buf, qsizetype offset)
{
    return fits(buf, offset, 1) ? static_cast<std::uint8_t>(buf[offset]) : 0;
}

inline void put_u16le(QByteArray& buf, qsizetype offset, std::uint16_t v)
{
    put_u8(buf, offset, static_cast<std::uint8_t>(v & 0xFF));
    put_u8(buf, offset + 1, static_cast<std::uint8_t>(v >> 8));
}

inline std::uint16_t get_u16le(const QByteArray& buf, qsizetype offset)
{
    return static_cast<std::uint16_t>(get_u8(buf, offset) | (get_u8(buf, offset + 1) << 8));
}

inline void put_i32le(QByteArray& buf, qsizetype offset, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        put_u8(buf, offset + i, static_cast<std::uint8_t>((u >> (8 * i)) & 0xFF));
}

inline std::int32_t get_i32le(const QByteArray& buf, qsizetype offset)
{
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(get_u8(buf, offset + i)) << (8 * i);
    return static_cast<std::int32_t>(u);
}

// A text field of one length byte followed by `capacity` character bytes.
// A length byte larger than the field is clamped to the field width.
inline QByteArray get_pstring(const QByteArray& buf, qsizetype offset, int capacity)
{
    if (!fits(buf, offset, 1))
        return {};
    qsizetype len = get_u8(buf, offset);
    if (len > capacity)
        len = capacity;
    const qsizetype avail = buf.size() - (offset + 1);
    if (len > avail)
        len = avail < 0 ? 0 : avail;
    return buf.mid(offset + 1, len);
}

// Writes at most `capacity` bytes of `text`; the rest of the field is zeroed so
// that no stale bytes from an earlier value remain.
inline void put_pstring(QByteArray& buf, qsizetype offset, int capacity, const QByteArray& text)
{
    const qsizetype len = text.size() > capacity ? capacity : text.size();
    put_u8(buf, offset, static_cast<std::uint8_t>(len));
    for (qsizetype i = 0; i < capacity; ++i)
        put_u8(buf, offset + 1 + i, i < len ? static_cast<std::uint8_t>(text[i]) : 0);
}

} // namespace tamble::bytes
