#pragma once
// The logger's side of the serial protocol, without any port: wake-up burst and echo
// byte, speed confirmation, handshake acknowledgement, framed commands (status, memory
// blocks, dial-out schedule, station address, baud rate, real time, setup parts), with
// the fault modes of the configuration. Everything received is written to the log sink.

#include "logger_memory.h"
#include "sim_config.h"
#include "sim_device.h"
#include "sim_wire.h"

#include <QDateTime>
#include <array>
#include <optional>

namespace tamble::sim {

class LoggerSim : public SimDevice {
public:
    // Gaps in the input longer than this end a wake-up burst.
    static constexpr qint64 kBurstGapMs = 30;
    // Delays before the handshake acknowledgement: after the confirmation byte, and
    // after a speed change that the program makes a little later ("E", baud letter).
    static constexpr qint64 kAckDelayMs = 40;
    static constexpr qint64 kSlowAckDelayMs = 200;
    static constexpr int kMaxLine = 512;

    // Builds the memory image from the seed (the configuration may be changed later by
    // setup parts, station and baud commands). startMs/startClock anchor the logger clock.
    LoggerSim(const SimConfig& config, LogSink log, qint64 startMs, const QDateTime& startClock);
    // The same with an image taken from elsewhere (a data file).
    LoggerSim(const SimConfig& config, LoggerMemory memory, int phaseByte, int lastBank, LogSink log,
              qint64 startMs, const QDateTime& startClock);

    void receive(const QByteArray& bytes, qint64 nowMs) override;
    void tick(qint64 nowMs) override;
    std::optional<qint64> nextWake() const override;

    // Forget the wake-up and real-time state (line dropped by the modem).
    void resetLink();
    // Becomes the logger `initial` (a copy of this one taken at start): memory, setup and
    // line state as they were. The fault dice roll on, so faults do not repeat call by call.
    void startOver(const LoggerSim& initial);
    int blockReplies() const { return m_blockReplies; }

    // Introspection for tests and the log.
    const SimConfig& config() const { return m_cfg; }
    const LoggerMemory& memory() const { return m_memory; }
    int lineBaud() const override { return m_lineBaud; }
    int phaseByte() const { return m_phase; }
    int lastBank() const { return m_lastBank; }
    QByteArray statusRecord(qint64 nowMs) const;
    QByteArray realTimeLine(qint64 step) const;
    QByteArray blockLine(int bank, int address) const;
    QByteArray ackText() const;
    static int echoByteFor(int baud);

private:
    enum class Stage { Idle, AwaitConfirm, AwaitSeven, Ready };

    void init();
    void finishBurst(qint64 nowMs);
    void confirmByte(std::uint8_t b, qint64 nowMs);
    void finishSeven(qint64 nowMs);
    void sendAck(qint64 nowMs, qint64 delayMs);
    void processLine(const QByteArray& line, qint64 nowMs);
    void dispatch(const QByteArray& body, const QByteArray& stationText, qint64 nowMs);

    // One framed command as received: its body, the " @aa " part of its log
    // line, and whether it falls in the silent first requests.
    struct Request {
        const QByteArray& body;
        QByteArray at;
        bool silent;
        qint64 nowMs;
        QByteArray quiet() const { return silent ? QByteArray(" silent") : QByteArray(); }
    };
    void answerStatus(const Request& req);
    void answerBlock(const Request& req);
    void answerStation(const Request& req);
    void answerBaud(const Request& req);
    void answerRealTime(const Request& req);
    void answerSetupPart(const Request& req);
    void applySetupPart(char part, const QByteArray& body, qint64 nowMs);
    void send(const QByteArray& bytes, qint64 dueMs, int baud);
    void reply(const QByteArray& line, qint64 nowMs, qint64 extraDelayMs = 0);
    void log(const QByteArray& line);
    bool addressed() const;
    qint64 readingsPerChannel() const;
    std::array<std::uint16_t, 4> currentCounts(qint64 step) const;
    std::uint8_t batteryByte() const;
    QDateTime clockAt(qint64 nowMs) const;

    SimConfig m_cfg;
    LogSink m_log;
    LoggerMemory m_memory;
    ReadingSource m_source;
    int m_phase = 0;
    int m_lastBank = 0;
    bool m_wrapped = false;
    qint64 m_startMs = 0;
    QDateTime m_startClock;

    Stage m_stage = Stage::Idle;
    int m_lineBaud = 9600;
    bool m_inLine = false;
    QByteArray m_line;
    bool m_burstActive = false;
    int m_burstCount = 0;
    std::uint8_t m_burstChar = 0;
    qint64 m_lastInputMs = 0;
    QByteArray m_seven;

    int m_wakeups = 0;
    int m_requests = 0;
    int m_blockRequests = 0;
    int m_blockReplies = 0;
    int m_setupParts = 0;
    bool m_yAnswered = false;
    bool m_streaming = false;
    qint64 m_nextStreamMs = 0;
    qint64 m_realTimeStep = 0;
    FaultDice m_noise;
};

// A logger clock text as a date and time: ss mm hh dd MM, then the two-digit year at `yearAt`
// (12 in a clock text, 11 in the PC time of setup part 1); years 90-99 are 19xx. Invalid when a
// field is no two digits or the date or time does not exist.
QDateTime ParseLoggerClock(const QByteArray& text, int yearAt);

} // namespace tamble::sim
