#pragma once
// A modem in front of the virtual logger. Offline it answers command lines ("AT...\r")
// with "OK", dial commands with an optional echo and the configured result; online it
// passes everything to the logger until "+++" (escape to command mode) or "ATH" (hang
// up). It can also place calls to the program's auto-answer port: after the program has
// hung its modem up with "ATH", "RING" and "CONNECT 9600" follow and the logger is on line.
// DTR does not exist on a pseudo-terminal, so a command line arriving while on line is
// taken as a hang-up by DTR followed by that command.
// Calls may go wrong at random (the same way for the same fault seed): a silent call
// connects but the logger never hears the program; a dropped call loses the carrier
// ("NO CARRIER") after a few memory blocks, the block then asked for never answered.

#include "logger_sim.h"
#include "sim_device.h"

#include <memory>

namespace tamble::sim {

class ModemFront : public SimDevice {
public:
    static constexpr qint64 kRingToConnectMs = 300;
    // The program listens for "CONNECT" only 20 ticks (1.1 s) after its "ATH"; a call
    // placed earlier would be lost, so no call comes sooner than this after the ATH.
    static constexpr qint64 kMinCallDelayMs = 1500;

    ModemFront(const SimConfig& config, std::unique_ptr<LoggerSim> logger, LogSink log);

    void receive(const QByteArray& bytes, qint64 nowMs) override;
    void tick(qint64 nowMs) override;
    std::optional<qint64> nextWake() const override;
    int lineBaud() const override { return m_logger->lineBaud(); }

    bool online() const { return m_online; }
    int callsPlaced() const { return m_callsPlaced; }
    LoggerSim& logger() { return *m_logger; }

private:
    enum class CallFault { None, Silent, Drop };

    void placeCall(qint64 nowMs);
    void dropCarrier(qint64 nowMs);
    void commandLine(const QByteArray& line, qint64 nowMs);
    void result(const QByteArray& text, qint64 dueMs);
    void hangUp(qint64 nowMs, const QByteArray& how);
    void pullLoggerOutput();

    SimConfig m_cfg;
    std::unique_ptr<LoggerSim> m_logger;
    LogSink m_log;
    bool m_online = false;
    bool m_connected = false;   // a line is up (on line or escaped to command mode)
    QByteArray m_command;       // command-mode input since the last CR
    QByteArray m_onlineLine;    // on-line input since the last CR, to spot command lines
    int m_plusCount = 0;
    int m_callsPlaced = 0;
    std::optional<qint64> m_callAt;
    std::unique_ptr<LoggerSim> m_initial;  // the logger as it started, for fresh calls
    FaultDice m_callDice;
    CallFault m_callFault = CallFault::None;
    int m_dropAfterBlocks = 0;             // block replies of this call before the carrier goes
    int m_blocksAtCall = 0;
};

} // namespace tamble::sim
