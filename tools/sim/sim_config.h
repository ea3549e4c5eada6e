#pragma once
// What the virtual logger is and how it behaves: identity, memory, protocol details,
// fault modes and the modem front end. Filled from the command line.

#include "util/result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

namespace tamble::sim {

enum class WakeProtocol { Auto, Normal, Fast };
enum class WakeVariant { Echo, RLine };

struct SimConfig {
    // Identity and configuration of the logger.
    char revision = 'q';
    char model = '1';
    int bits = 12;                       // 8, 10 or 12
    std::uint8_t channelMask = 0x03;     // bits 0-3: channels 1-4 recording
    std::array<QByteArray, 4> labels{QByteArray("Channel 1"), QByteArray("Channel 2"),
                                     QByteArray("Channel 3"), QByteArray("Channel 4")};
    QByteArray description = "Virtual logger";
    QByteArray scalingCodes = "3333";
    std::array<QByteArray, 4> scalingTexts{QByteArray("0.0000100.00"), QByteArray("0.0000100.00"),
                                           QByteArray("0.0000100.00"), QByteArray("0.0000100.00")};
    int inputTypes = 0;                  // 12-bit word, 3 bits per channel
    char rate = 'G';                     // rate code
    std::optional<int> statusFlags;      // status byte 1 as reported, overrides the derived one
    std::optional<int> channelFlags;     // status byte 3, overrides channelMask
    std::optional<int> pointer;          // memory pointer; derived when absent
    std::optional<int> phase;            // status byte 5; derived when absent
    bool wrap = false;
    int banks = 1;                       // 1-4 (more than one needs model '6')
    int station = 0;
    int baud = 9600;                     // the logger's own line speed
    int battery = -1;                    // battery byte; -1: a typical value
    QByteArray clock;                    // 14-character logger clock text; empty: the PC clock
    QByteArray firstReading;             // 14-character clock texts; derived when empty
    QByteArray lastReading;
    QByteArray dialout = "000000000000"; // schedule code read by "DA01D0" (12 hex digits)
    quint64 seed = 1;
    QString tl1Path;                     // take identity and memory from this data file

    // Protocol details.
    WakeProtocol protocol = WakeProtocol::Auto;
    WakeVariant wakeVariant = WakeVariant::Echo;
    QByteArray ackText;                  // handshake acknowledgement; empty: by revision
    QByteArray dateCode;                 // two characters appended to the acknowledgement
    QByteArray setupAck = "OK";
    int realtimeIntervalMs = 1000;
    bool strictAddress = false;          // answer only the own station address, not 00
    bool pace = true;                    // pace output at the line speed

    // Fault modes.
    int corruptEvery = 0;                // every k-th block reply has a damaged digit
    int silentFirst = 0;                 // no reply to the first n framed requests
    int silentBlocks = 0;                // no reply to the first n block requests
    int silentWakeups = 0;               // no echo for the first n wake-up bursts
    int garbleAcks = 0;                  // the first n setup parts get a rejected reply
    bool dead = false;                   // never answers anything
    int replyDelayMs = 0;                // extra delay before every reply
    // Faults struck at random, the same ones for the same seed.
    double corruptRepliesPercent = 0;    // chance of one flipped byte in a reply line
    double silentCallsPercent = 0;       // chance that a call connects but never answers
    double dropCallsPercent = 0;         // chance that a call loses the carrier mid-download
    quint64 faultSeed = 1;

    // Modem front end.
    bool modem = false;
    bool modemEcho = false;
    QByteArray modemResult = "CONNECT 9600";
    int modemDelayMs = 200;
    bool call = false;                   // place calls to the program's auto-answer port
    int callDelayMs = 2000;
    int callCount = 1;
    bool freshCalls = false;             // every call comes from the logger as it started
    bool loopback = false;               // behave as a looped-back cable plug

    // Files.
    QString pathFile;
    QString logFile;
    QString dumpImage;
};

// Parses the command line (arguments[0] is the program name). "--help" gives an ok
// result with helpRequested set.
struct ParsedArguments {
    SimConfig config;
    bool helpRequested = false;
    QString helpText;
};
Result<ParsedArguments> ParseSimArguments(const QStringList& arguments);

// Minutes per reading of a rate code (60 for unknown codes).
double SimRateMinutes(char rateCode);

} // namespace tamble::sim
