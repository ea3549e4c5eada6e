#pragma once
// What the link waits for, in ticks of 1/18.2 s, and how often it tries again. The numbers are
// the loggers' and modems' own: a logger that misses one of these windows is given up on.

namespace tamble::ticks {

// --- modem control line: the DTR pulse that drops a modem's line or wakes it up ---
inline constexpr int kDtrRaise = 4;            // DTR high before the pulse
inline constexpr int kDtrSessionLow = 5;       // DTR low, and high again, before a session
inline constexpr int kDtrHangupLow = 9;        // DTR low, and high again, to hang a modem up

// --- wake-up and handshake ---
inline constexpr int kWakeUpEcho = 83;         // the echo byte after the slow wake-up burst
inline constexpr int kFastStart = 3;           // the fast protocol's acknowledgement
inline constexpr int kModemExtra = 6;          // added to the wake-up through a modem pair
inline constexpr int kHandshakeDirect = 7;     // acknowledgement line after the echo, cable
inline constexpr int kHandshakeModem = 21;     // acknowledgement line after the echo, modem
inline constexpr int kHandshakeNoEcho = 16;    // acknowledgement when no echo came at all
inline constexpr int kHandshakeAfterR = 10;    // acknowledgement after a slow logger's "R"
inline constexpr int kSpeedSettle = 1;         // the port's new speed settles before the confirmation
inline constexpr int kEchoSettle = 2;          // around the 19200 "E" confirmation and the speed letter

// --- commands ---
inline constexpr int kCommandExtraModem = 24;  // added to a command's time-out through modems or radio
inline constexpr int kRealTimeOldLogger = 73;  // a real-time reading of revisions up to 'o'
inline constexpr int kBaudChange = 9;          // the reply to a speed change
inline constexpr int kSetupPartDirect = 9;     // a setup part's acknowledgement, cable
inline constexpr int kSetupPartModem = 36;     // a setup part's acknowledgement, modem
inline constexpr int kSetupFirstPart = 10;     // before the first setup part
inline constexpr int kSetupNextPart = 4;       // between acknowledged setup parts
inline constexpr int kSetupPartAgain = 2;      // before a setup part sent again
inline constexpr int kStatusRetryPause = 9;    // before asking again for a garbled status record
inline constexpr int kRealTimeSilence = 146;   // a real-time logger that stopped sending

// --- modem dialogue ---
inline constexpr int kModemInitReply = 370;    // "OK" to the initialisation string
inline constexpr int kModemConnect = 1820;     // "CONNECT" after dialling
inline constexpr int kModemReply = 36;         // other modem replies
inline constexpr int kModemGuard = 18;         // guard time around "+++" to a cabled remote modem
inline constexpr int kEscapeGuard = 20;        // guard time around "+++" on the auto-answer port
inline constexpr int kComTestEcho = 18;        // the cable test's "AT" back

// --- dialled-in callers ---
inline constexpr int kNoDataHangupPause = 18;  // after logging a caller that has no data

} // namespace tamble::ticks

namespace tamble::retries {

inline constexpr int kModemSession = 6;        // sessions started again through a modem pair
inline constexpr int kFastCommand = 2;         // commands sent again with the fast protocol
inline constexpr int kDownloadBlock = 50;      // requests of one memory block
inline constexpr int kSetupPart = 8;           // repeats of setup parts in one sending
inline constexpr int kStatusRecord = 1;        // requests of a garbled status record repeated

} // namespace tamble::retries
