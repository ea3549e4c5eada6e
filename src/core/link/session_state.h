#pragma once
// The variables of the session engine: one process-wide value, owned by the application object and
// handed to the engine (and to the transactions that plug into it) by reference.

#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace tamble {

// The transaction a session runs. The numbers travel in log lines ("TLcmd: 3"), so they are fixed.
enum class TransactionKind : std::uint8_t {
    None = 0,
    StatusFirst = 1,
    ReadStatus = 2,
    ReceiveData = 3,
    SendSetup = 4,
    ProgramStationAddress = 5,
    // 6 is not used
    RealTime = 7,
    EndRealTime = 8,
    SetBaudRate = 9,
};
inline constexpr std::size_t kTransactionKindCount = static_cast<std::size_t>(TransactionKind::SetBaudRate) + 1;

// The engine's state number.
enum class LinkState : std::int32_t {
    Idle = 0,
    WakeUp = 1,
    Handshake = 2,
    AwaitResponse = 3,
    Transfer = 4,
    ModemInit = 5,
    Dialling = 6,
    Connected = 7,
    RemoteModemSetup = 8,
    ComTest = 9,
    // 10 and 11 are not used
    DialOutQuery = 12,
    FastStart = 20,
};
inline constexpr std::size_t kLinkStateCount = static_cast<std::size_t>(LinkState::FastStart) + 1;

// The date code some loggers put into their handshake acknowledgement; the Status window shows it.
struct HandshakeDateCode {
    bool present = false;
    int first = 0;   // third acknowledgement character - '0'
    int second = 0;  // (fourth acknowledgement character + 48) mod 256
};

struct SessionState {
    LinkState linkState = LinkState::Idle;
    TransactionKind transaction = TransactionKind::None;
    TransactionKind savedTransaction = TransactionKind::None;  // put aside while StatusFirst runs
    QByteArray rxBuffer;              // bytes since the last clear, CR excluded
    bool lineComplete = false;        // a CR has arrived since the last clear
    std::uint16_t timerHandle = 0;
    bool triggerHeld = false;
    QByteArray commandBuffer;         // the command being sent, without framing (up to 100 characters)
    char revision = 0;                // firmware revision letter, compared as a byte
    bool oldLogger = false;           // oldest family: one-character acknowledgement, 'A'..'G'
    bool linkUp = false;
    bool statusPending = false;       // the status record still has to be requested
    std::uint16_t baseTimeout = 0;    // ticks, chosen by baud at session start
    std::int32_t lastTimeout = 0;     // ticks; see the armings that record it in the engine
    std::int32_t retryCount = 0;
    std::int32_t blockNumber = 0;
    std::int32_t timeoutCount = 0;
    std::int32_t checksumErrorCount = 0;
    std::uint8_t setupPart = 0;
    std::int32_t setupParts = 0;
    std::int32_t setupFailures = 0;
    std::int32_t setupRetries = 0;
    QByteArray setupAcks;
    std::int32_t newBaud = 0;
    bool modemOnline = false;
    std::int32_t autoAnswerCount = 0;
    bool abortRequested = false;
    bool realTimeRequested = false;
    bool realTimeGraph = false;
    std::int32_t realTimeFailed = 0;
    bool setupSending = false;
    bool scalingOnly = false;

    // Download: the block being asked for (the download's walk sets it) and
    // whether more blocks follow.
    std::uint16_t readAddress = 0;
    std::uint8_t blockStep = 0;
    char bank = 'A';
    bool continuing = false;

    // Shown by the Status window; set by the handshake acknowledgement.
    HandshakeDateCode dateCode;
};

inline int TransactionNumber(TransactionKind kind) { return static_cast<int>(kind); }

} // namespace tamble
