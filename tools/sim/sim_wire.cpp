#include "sim_wire.h"

namespace tamble::sim {

namespace {
const char kDigits[] = "0123456789ABCDEF";

int StrictHexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

QByteArray HexByte(std::uint8_t value)
{
    QByteArray out(2, '0');
    out[0] = kDigits[value >> 4];
    out[1] = kDigits[value & 0x0F];
    return out;
}

QByteArray HexWord(std::uint16_t value)
{
    return HexByte(static_cast<std::uint8_t>(value >> 8)) + HexByte(static_cast<std::uint8_t>(value & 0xFF));
}

std::optional<std::uint8_t> ParseHexByte(const QByteArray& twoDigits)
{
    if (twoDigits.size() != 2)
        return std::nullopt;
    const int hi = StrictHexDigit(twoDigits[0]);
    const int lo = StrictHexDigit(twoDigits[1]);
    if (hi < 0 || lo < 0)
        return std::nullopt;
    return static_cast<std::uint8_t>(hi * 16 + lo);
}

std::optional<std::uint16_t> ParseHexWord(const QByteArray& fourDigits)
{
    if (fourDigits.size() != 4)
        return std::nullopt;
    const auto hi = ParseHexByte(fourDigits.left(2));
    const auto lo = ParseHexByte(fourDigits.mid(2, 2));
    if (!hi || !lo)
        return std::nullopt;
    return static_cast<std::uint16_t>(*hi * 256 + *lo);
}

std::uint8_t ByteSum(const QByteArray& text)
{
    unsigned sum = 0;
    for (char c : text)
        sum += static_cast<unsigned char>(c);
    return static_cast<std::uint8_t>(sum & 0xFF);
}

QByteArray ChecksumChars(const QByteArray& text)
{
    return HexByte(static_cast<std::uint8_t>((256 - ByteSum(text)) & 0xFF));
}

QByteArray WithChecksum(const QByteArray& text)
{
    return text + ChecksumChars(text);
}

QByteArray EscapeForLog(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u > 0x7E || c == '\\')
            out += "\\x" + HexByte(u);
        else
            out += c;
    }
    return out;
}

std::uint64_t FaultDice::next()
{
    // splitmix64: every seed, 0 included, gives a well-mixed stream.
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

bool FaultDice::chance(double percent)
{
    if (percent <= 0)
        return false;
    return static_cast<double>(next() % 1000000) < percent * 10000.0;
}

} // namespace tamble::sim
