#pragma once
// Command framing, checksums and the wire constants that depend on speed or firmware revision.
// Pure functions: no port, no state.

#include "format/hex.h"

#include <QByteArray>
#include <cstdint>

namespace tamble {

// Hex digits and checksums: format/hex.h.

// Loggers of revision 'S' and later expect a station address in every command.
bool RevisionTakesStationAddress(char revision);
// body + station address (when the revision takes one) + checksum; the engine adds ">" and CR.
QByteArray FrameCommand(const QByteArray& body, char revision, int stationAddress);

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
