#pragma once
// Wire-level helpers of the virtual logger: hex digits, the response checksum, and
// the escaping of received text for the log. Written independently of the program's
// own framing code so that the end-to-end tests cross-check the two.

#include <QByteArray>
#include <cstdint>
#include <optional>

namespace tamble::sim {

// Upper-case hex digits of a byte, high digit first.
QByteArray HexByte(std::uint8_t value);
// Four upper-case hex digits, most significant first.
QByteArray HexWord(std::uint16_t value);
// Value of two strict hex digits ('0'-'9', 'A'-'F'); nullopt for anything else.
std::optional<std::uint8_t> ParseHexByte(const QByteArray& twoDigits);
std::optional<std::uint16_t> ParseHexWord(const QByteArray& fourDigits);

// Sum of the bytes modulo 256.
std::uint8_t ByteSum(const QByteArray& text);
// The two checksum characters that make the 8-bit sum of text + their value zero.
QByteArray ChecksumChars(const QByteArray& text);
// text + its checksum characters: a line as the logger sends it (without CR).
QByteArray WithChecksum(const QByteArray& text);

// Printable form of received bytes for the one-line log: bytes below 0x20, above 0x7E
// and the backslash become \xHH.
QByteArray EscapeForLog(const QByteArray& bytes);

// A seeded stream of numbers for the fault modes that strike at random: the same seed
// strikes the same replies and calls on every run.
class FaultDice {
public:
    explicit FaultDice(std::uint64_t seed = 1) : m_state(seed) {}
    std::uint64_t next();
    // A value from 0 to n - 1 (n > 0).
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    // True with the given chance in percent (0 never, 100 always).
    bool chance(double percent);

private:
    std::uint64_t m_state;
};

} // namespace tamble::sim
