#include "link/framing.h"

namespace tamble {

bool RevisionTakesStationAddress(char revision)
{
    return static_cast<std::uint8_t>(revision) >= static_cast<std::uint8_t>('S');
}

QByteArray FrameCommand(const QByteArray& body, char revision, int stationAddress)
{
    QByteArray text = body;
    if (RevisionTakesStationAddress(revision))
        text += HexByte(static_cast<std::uint8_t>(stationAddress & 0xFF));
    return WithCheckDigits(text);
}

QByteArray TrimRealTimeReading(const QByteArray& line)
{
    qsizetype start = 0;
    while (line.size() - start > 17 && line[start] != '>')
        ++start;
    if (start < line.size())
        ++start;  // the '>' (or whatever stands first)
    return line.mid(start);
}

std::uint8_t EchoByteForBaud(int settingsBaud)
{
    switch (settingsBaud) {
    case 1200: return 0xFF;
    case 2400: return 0xFE;
    case 4800: return 0xF8;
    case 9600: return 0x80;
    default: return 0x00;
    }
}

std::uint8_t WakeUpCharacter(bool fastProtocol, int portBaud)
{
    if (fastProtocol || portBaud == 1200)
        return 'U';
    if (portBaud == 2400 || portBaud == 4800)
        return 0x99;
    return 0xF0;
}

int WakeUpBlockCount(bool shortBlock, int portBaud)
{
    if (shortBlock) {
        switch (portBaud) {
        case 1200: return 1;
        case 2400: return 2;
        case 4800: return 4;
        case 9600: return 8;
        case 19200: return 16;
        case 28800: return 24;
        case 38400: return 32;
        case 57600: return 48;
        default: return 0;
        }
    }
    switch (portBaud) {
    case 1200: return 2;
    case 2400: return 4;
    case 4800: return 8;
    case 9600: return 16;
    case 19200: return 32;
    default: return 0;
    }
}

QByteArray WakeUpBlock(bool fastProtocol, bool shortBlock, int portBaud)
{
    return QByteArray(WakeUpBlockLength(shortBlock), static_cast<char>(WakeUpCharacter(fastProtocol, portBaud)));
}

char BaudLetter(int baud)
{
    switch (baud) {
    case 1200: return 'A';
    case 2400: return 'B';
    case 4800: return 'C';
    case 9600: return 'D';
    default: return 'E';
    }
}

char BaudCode(int baud)
{
    return static_cast<char>((baud / 1200 + 0x40) & 0xFF);
}

int BaseTimeoutForBaud(int baud)
{
    switch (baud) {
    case 1200: return 49;
    case 2400: return 29;
    case 4800: return 18;
    case 9600: return 36;
    case 19200: return 9;
    default: return baud >= 28800 ? 9 : -1;
    }
}

} // namespace tamble
