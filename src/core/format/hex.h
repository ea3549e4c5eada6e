#pragma once
// Hexadecimal digits and checksums of the logger's lines: commands, status
// records, reading lines and memory blocks all carry bytes as two upper-case
// hex digits and end in the two-digit checksum that makes the 8-bit sum of the
// whole line zero.

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <cstdint>

namespace tamble {

// Upper-case digit of a value 0..15.
inline char HexDigit(unsigned nibble) { return "0123456789ABCDEF"[nibble & 15]; }

// A byte as two upper-case hex digits, high first; a 16-bit value as four.
inline void AppendHexByte(QByteArray& out, std::uint8_t value)
{
    out.append(HexDigit(value >> 4));
    out.append(HexDigit(value & 15));
}
QByteArray HexByte(std::uint8_t value);
QByteArray HexWord(std::uint16_t value);

// Strict reading: '0'-'9' and 'A'-'F' only; anything else (lower case
// included) gives -1.
int HexDigitValue(char c);
// Two hex digits at `pos`; -1 when out of range or not hex.
int HexPairValue(const QByteArray& text, int pos);

// Reading of a reading or status field: a digit counts as c - '0' up to '9'
// and c - 'A' + 10 above it, whatever the character; the pair is taken
// modulo 256.
std::uint8_t ReadingHexPair(std::uint8_t high, std::uint8_t low);

// Reading of a data file line: a digit is the low four bits of its character
// code after adding 9 to codes above that of '9', so upper and lower case
// letters read alike and any other character gives some value.
constexpr std::array<std::uint8_t, 256> MakeLooseHexDigitTable()
{
    std::array<std::uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>((c > '9' ? c + 9 : c) & 15);
    return table;
}
inline constexpr std::array<std::uint8_t, 256> kLooseHexDigit = MakeLooseHexDigitTable();

inline std::uint8_t LooseHexByte(const char* two)
{
    return static_cast<std::uint8_t>((kLooseHexDigit[static_cast<unsigned char>(two[0])] << 4)
                                     | kLooseHexDigit[static_cast<unsigned char>(two[1])]);
}

// 8-bit sum of the character codes.
std::uint8_t ByteSum(QByteArrayView text);
// Two's complement of the byte sum: the byte that makes the sum of the text
// and itself zero modulo 256.
std::uint8_t Checksum(QByteArrayView text);
// `body` followed by the two digits of its checksum.
QByteArray WithCheckDigits(const QByteArray& body);

// A response line carrying data ends in a two-digit checksum: the byte sum of
// everything before it plus its value is 0 modulo 256 (strict digits).
bool ResponseChecksumValid(const QByteArray& line);
// The same sum for a reading line, its last two characters read as a
// reading field (ReadingHexPair).
bool ReadingChecksumValid(QByteArrayView line);

} // namespace tamble
