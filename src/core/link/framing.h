#pragma once
// Command framing, checksums and the wire constants that depend on speed or firmware revision.
// Pure functions: no port, no state.

#include <QByteArray>
#include <cstdint>

namespace tamble {

// A byte as two upper-case hex digits, high first; a 16-bit value as four.
QByteArray HexByte(std::uint8_t value);
QByteArray HexWord(std::uint16_t value);
// '0'-'9' and 'A'-'F' only; anything else (lower case included) gives -1.
int HexDigitValue(char c);
// Two hex digits at `pos`; -1 when out of range or not hex.
int HexPairValue(const QByteArray& text, int pos);

// Two's complement of the byte sum of body and station address.
std::uint8_t CommandChecksum(const QByteArray& bodyAndAddress);
// Loggers of revision 'S' and later expect a station address in every command.
bool RevisionTakesStationAddress(char revision);
// body + station address (when the revision takes one) + checksum; the engine adds ">" and CR.
QByteArray FrameCommand(const QByteArray& body, char revision, int stationAddress);

// A response line carrying data ends in a two-digit checksum: the byte sum of everything before it
// plus its value is 0 modulo 256.
bool ResponseChecksumValid(const QByteArray& line);
// A real-time reading line: drop characters before the first '>' while more than 17 remain, then
// the first character. What is left must still pass ResponseChecksumValid.
QByteArray TrimRealTimeReading(const QByteArray& line);

// Speed-dependent constants of the wake-up.
std::uint8_t EchoByteForBaud(int settingsBaud);
std::uint8_t WakeUpCharacter(bool fastProtocol, int portBaud);
// Number of times the wake-up block is sent; 0 at speeds without a count.
int WakeUpBlockCount(bool shortBlock, int portBaud);
inline int WakeUpBlockLength(bool shortBlock) { return shortBlock ? 5 : 250; }
QByteArray WakeUpBlock(bool fastProtocol, bool shortBlock, int portBaud);
// Baud letter sent when a logger answers the wake-up with "R" at 1200.
char BaudLetter(int baud);
// Argument of the "I" command: baud / 1200 + 0x40.
char BaudCode(int baud);
// Response time-out by settings baud; -1 for speeds without a value (baseTimeout stays).
int BaseTimeoutForBaud(int baud);

} // namespace tamble
