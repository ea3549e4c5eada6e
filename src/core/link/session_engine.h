#pragma once
// The communication session engine. It takes events in (bytes arrived, output drained, time-out,
// abort, progress tick) and gives actions out through SessionHost; it owns no port and no timer.
// Its waits and the events held during them are the EventGate's; bringing the link up before a
// transaction is the LinkBringUp's. Transactions that are not built in (setup sending, station
// address, baud rate, modem and com-test states) plug in as handler objects.

#include "link/event_gate.h"
#include "link/session_host.h"
#include "link/session_state.h"

#include "link/status_record.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace tamble {

struct SettingsRecord;
struct LoggerInfo;
struct CommandLineMode;
struct MemoryGeometry;
class SessionEngine;
class Download;
class LinkBringUp;

// Handles one transaction kind once the link is up.
class TransactionHandler {
public:
    virtual ~TransactionHandler() = default;
    // DispatchTransaction: send the first command.
    virtual void dispatch(SessionEngine& engine) = 0;
    // A complete line (state AwaitResponse); the trigger has been disarmed.
    virtual void onLine(SessionEngine& engine) = 0;
    // No line in time (state AwaitResponse).
    virtual void onTimeout(SessionEngine& engine) = 0;
    // State Transfer: a complete line (trigger disarmed) and a time-out.
    virtual void onTransferLine(SessionEngine&) {}
    virtual void onTransferTimeout(SessionEngine&) {}
};

// Handles a link state that is not a logger transaction (modem init, dialling, remote modem
// set-up, com test).
class LinkStateHandler {
public:
    virtual ~LinkStateHandler() = default;
    // StartSession hands over here instead of sending the modem init string itself (ModemInit only).
    virtual void onEnter(SessionEngine&) {}
    virtual void onArrival(SessionEngine& engine) = 0;
    virtual void onTimeout(SessionEngine& engine) = 0;
};

// The records a session reads and writes; all owned by the application object.
struct SessionRecords {
    SessionState& state;
    SettingsRecord& settings;
    LoggerInfo& info;
    MemoryGeometry& geometry;
    const CommandLineMode& mode;
    QString& dataFileName;  // full path of the current data file
};

// Decodes a status record into LoggerInfo and the geometry. The default copies the fields and sets
// the reference resistor (DecodeStatusRecord); the application installs the full decoding with
// its channel scaling.
using StatusDecoder = std::function<StatusDecodeResult(QByteArrayView record, const StatusContext& context,
                                                       LoggerInfo& info, MemoryGeometry& geometry)>;

class SessionEngine : private HeldEventSink {
public:
    // Longest line kept in rxBuffer; a longer one (a babbling line) ends the session.
    static constexpr int kMaxLineBytes = 4096;

    SessionEngine(SessionHost& host, SessionRecords records);
    ~SessionEngine();
    SessionEngine(const SessionEngine&) = delete;
    SessionEngine& operator=(const SessionEngine&) = delete;

    // --- operations ---
    void StartSession();
    void EndSession();
    void DispatchTransaction();
    // Frame ">" + text + CR, arm the response time-out, clear the receive buffer.
    void SendCommand(const QByteArray& text);
    // SendCommand of body + station address (when the revision takes one) + checksum.
    void sendFramed(const QByteArray& body, bool forceStationZero = false);
    void sendLetterCommand(char letter);
    void ReportOutcome(const Outcome& outcome);
    // Wait `ticks`, then run `then` in a later event; what comes meanwhile is held and handed on
    // afterwards (event_gate.h). The end of the session drops a pending wait.
    void wait(int ticks, std::function<void()> then) { m_gate.wait(ticks, std::move(then)); }
    // Runs `steps` one after another, each after its wait, then `then`.
    using TimedStep = EventGate::TimedStep;
    void runSteps(std::vector<TimedStep> steps, std::function<void()> then)
    {
        m_gate.runSteps(std::move(steps), std::move(then));
    }
    bool waiting() const { return m_gate.waiting(); }
    // Arm the trigger; records lastTimeout when `record` is set.
    void arm(int ticks, bool record = false);
    void disarm();
    void clearReceive();
    // Flush the port's input: the rest of a chunk being read and bytes held from before are dropped.
    void flushInput();
    // The progress meter back to 0.
    void resetMeter();

    // --- events ---
    // Bytes are waiting in the port: read them unless output is still queued.
    void onBytesAvailable() override;
    // Bytes already taken from the port.
    void onBytes(const QByteArray& bytes);
    // The output queue has drained; bytes that arrived meanwhile are read now.
    void onOutputDrained() override;
    void onTimeout() override;
    void onAbort();
    void onProgressTick();
    // The port failed under the session (device vanished).
    void onPortError(const QString& why) override;

    // --- plug-ins ---
    void setTransactionHandler(TransactionKind kind, TransactionHandler* handler);
    void setStateHandler(LinkState state, LinkStateHandler* handler);
    LinkStateHandler* stateHandler(LinkState state) const;
    void setStatusDecoder(StatusDecoder decoder) { m_decoder = std::move(decoder); }
    StatusDecodeResult decodeStatus(QByteArrayView record, const StatusContext& context);

    // --- access for transactions ---
    SessionHost& host() { return m_host; }
    SessionState& state() { return m_r.state; }
    SettingsRecord& settings() { return m_r.settings; }
    LoggerInfo& info() { return m_r.info; }
    MemoryGeometry& geometry() { return m_r.geometry; }
    const CommandLineMode& mode() const { return m_r.mode; }
    QString& dataFileName() { return m_r.dataFileName; }
    Download& download() { return *m_download; }
    // The station address commands carry (0 unless network; always 0 with auto answer).
    int stationAddress() const;
    bool unattendedReceive() const;
    bool unattendedSendSetup() const;
    bool unattendedReceiveCsv() const;
    // True once the program has been asked to end (unattended outcome): nothing more is done.
    bool finished() const { return m_finished; }
    // A session is running (a transaction is set and the program is not ending).
    bool active() const;
    DialogAnswer lastAnswer() const { return m_lastAnswer; }
    void FatalLogAndExit(const QString& line, int exitCode);

private:
    // --- HeldEventSink ---
    bool closed() const override { return m_finished; }
    void onHeldBytes(const QByteArray& bytes, std::uint64_t generation) override;

    void onArrival(char latest);
    void onOverflow();
    void onAwaitLine();
    void onAwaitTimeout();
    void onTransferLine();
    void onTransferTimeout();
    void onStatusFirstLine();
    void showSessionWindow();
    TransactionHandler* handlerFor(TransactionKind kind);

    SessionHost& m_host;
    SessionRecords m_r;
    EventGate m_gate;
    std::unique_ptr<LinkBringUp> m_bringUp;
    std::unique_ptr<Download> m_download;
    std::unique_ptr<TransactionHandler> m_statusHandler;
    StatusDecoder m_decoder;
    std::array<TransactionHandler*, kTransactionKindCount> m_handlers{};
    std::array<LinkStateHandler*, kLinkStateCount> m_stateHandlers{};
    bool m_readDeferred = false;
    bool m_finished = false;
    int m_meter = 0;
    std::uint64_t m_inputGeneration = 0;
    DialogAnswer m_lastAnswer = DialogAnswer::Ok;
};

} // namespace tamble
