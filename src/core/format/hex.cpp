#include "format/hex.h"

namespace tamble {

QByteArray HexByte(std::uint8_t value)
{
    QByteArray out;
    out.reserve(2);
    AppendHexByte(out, value);
    return out;
}

QByteArray HexWord(std::uint16_t value)
{
    QByteArray out;
    out.reserve(4);
    AppendHexByte(out, static_cast<std::uint8_t>(value >> 8));
    AppendHexByte(out, static_cast<std::uint8_t>(value & 0xFF));
    return out;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int HexPairValue(const QByteArray& text, int pos)
{
    if (pos < 0 || pos + 1 >= text.size())
        return -1;
    const int hi = HexDigitValue(text[pos]);
    const int lo = HexDigitValue(text[pos + 1]);
    if (hi < 0 || lo < 0)
        return -1;
    return hi * 16 + lo;
}

namespace {

int ReadingDigitValue(std::uint8_t c)
{
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

} // namespace

std::uint8_t ReadingHexPair(std::uint8_t high, std::uint8_t low)
{
    return static_cast<std::uint8_t>((ReadingDigitValue(high) * 16 + ReadingDigitValue(low)) & 0xFF);
}

std::uint8_t ByteSum(QByteArrayView text)
{
    unsigned sum = 0;
    for (char c : text)
        sum += static_cast<std::uint8_t>(c);
    return static_cast<std::uint8_t>(sum & 0xFF);
}

std::uint8_t Checksum(QByteArrayView text)
{
    return static_cast<std::uint8_t>((256 - ByteSum(text)) & 0xFF);
}

QByteArray WithCheckDigits(const QByteArray& body)
{
    QByteArray out;
    out.reserve(body.size() + 2);
    out += body;
    AppendHexByte(out, Checksum(body));
    return out;
}

bool ResponseChecksumValid(const QByteArray& line)
{
    if (line.size() < 2)
        return false;
    const int check = HexPairValue(line, static_cast<int>(line.size()) - 2);
    if (check < 0)
        return false;
    return ((ByteSum(QByteArrayView(line).first(line.size() - 2)) + static_cast<unsigned>(check)) & 0xFF) == 0;
}

bool ReadingChecksumValid(QByteArrayView line)
{
    if (line.size() < 2)
        return false;
    const std::uint8_t check = ReadingHexPair(static_cast<std::uint8_t>(line[line.size() - 2]),
                                              static_cast<std::uint8_t>(line[line.size() - 1]));
    return ((ByteSum(line.first(line.size() - 2)) + static_cast<unsigned>(check)) & 0xFF) == 0;
}

} // namespace tamble
