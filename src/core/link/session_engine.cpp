#include "link/session_engine.h"

#include "settings/command_line.h"
#include "settings/settings_record.h"
#include "link/download.h"
#include "link/engine_status.h"
#include "link/framing.h"
#include "link/link_bring_up.h"
#include "link/link_timing.h"
#include "format/logger_info.h"
#include "link/realtime.h"


namespace tamble {

namespace {

bool IsStatusTransaction(TransactionKind t)
{
    return t == TransactionKind::ReadStatus || t == TransactionKind::ReceiveData || t == TransactionKind::RealTime;
}

} // namespace

SessionEngine::SessionEngine(SessionHost& host, SessionRecords records)
    : m_host(host), m_r(records), m_gate(host, *this), m_bringUp(std::make_unique<LinkBringUp>(*this)),
      m_download(std::make_unique<Download>(*this)), m_statusHandler(MakeStatusTransaction())
{
}

SessionEngine::~SessionEngine() = default;

void SessionEngine::setTransactionHandler(TransactionKind kind, TransactionHandler* handler)
{
    const auto i = static_cast<std::size_t>(kind);
    if (i < m_handlers.size())
        m_handlers[i] = handler;
}

void SessionEngine::setStateHandler(LinkState st, LinkStateHandler* handler)
{
    const auto i = static_cast<std::size_t>(st);
    if (i < m_stateHandlers.size())
        m_stateHandlers[i] = handler;
}

LinkStateHandler* SessionEngine::stateHandler(LinkState st) const
{
    const auto i = static_cast<std::size_t>(st);
    return i < m_stateHandlers.size() ? m_stateHandlers[i] : nullptr;
}

TransactionHandler* SessionEngine::handlerFor(TransactionKind kind)
{
    if (IsStatusTransaction(kind) && m_handlers[static_cast<std::size_t>(kind)] == nullptr)
        return m_statusHandler.get();
    const auto i = static_cast<std::size_t>(kind);
    return i < m_handlers.size() ? m_handlers[i] : nullptr;
}

int SessionEngine::stationAddress() const
{
    if (m_r.settings.autoAnswer || !m_r.settings.network)
        return 0;
    return m_r.settings.stationAddress;
}

bool SessionEngine::unattendedReceive() const { return m_r.mode.receive; }
bool SessionEngine::unattendedSendSetup() const { return m_r.mode.sendSetup; }
bool SessionEngine::unattendedReceiveCsv() const { return m_r.mode.receiveCsv; }

// ---------------------------------------------------------------- operations

void SessionEngine::StartSession()
{
    if (m_finished)
        return;
    SessionState& s = m_r.state;
    m_host.clearTableErrors();
    const int base = BaseTimeoutForBaud(m_r.settings.baud);
    if (base >= 0)
        s.baseTimeout = static_cast<std::uint16_t>(base);
    s.dateCode = HandshakeDateCode{};
    showSessionWindow();
    m_bringUp->start();
}

// The session window as a new session shows it: meter, block count, file and Abort.
void SessionEngine::showSessionWindow()
{
    SessionState& s = m_r.state;
    const SettingsRecord& set = m_r.settings;
    m_host.setMainWindowEnabled(s.transaction == TransactionKind::RealTime);
    m_host.setSetupWindowEnabled(false);
    m_meter = 0;
    m_host.setMeter(0);
    s.timeoutCount = 0;
    s.checksumErrorCount = 0;
    if (s.transaction == TransactionKind::ReceiveData) {
        s.blockNumber = 0;
        m_host.setBlockCount(0);
        m_host.setBlockCountVisible(true);
        m_host.setFileText(m_r.dataFileName);
    } else {
        m_host.setBlockCountVisible(false);
        m_host.setFileText(QString());
    }
    if (m_r.mode.sendSetup || m_r.mode.receive)
        m_host.setAbortEnabled(false);
    m_host.setMeterVisible(!(set.fastProtocol || s.transaction == TransactionKind::SetBaudRate));
    m_host.setSessionWindowVisible(true);
}

void SessionEngine::DispatchTransaction()
{
    if (m_finished)
        return;
    SessionState& s = m_r.state;
    disarm();
    switch (s.transaction) {
    case TransactionKind::StatusFirst:
        sendLetterCommand((m_r.settings.wireless || m_r.settings.useModem) ? 'B' : 'C');
        return;
    case TransactionKind::SendSetup:
        if (!s.linkUp) {
            s.oldLogger = false;
            s.revision = 'e';
        }
        break;
    default:
        break;
    }
    if (TransactionHandler* h = handlerFor(s.transaction))
        h->dispatch(*this);
}

void SessionEngine::sendLetterCommand(char letter)
{
    sendFramed(QByteArray(1, letter));
}

void SessionEngine::sendFramed(const QByteArray& body, bool forceStationZero)
{
    SendCommand(FrameCommand(body, m_r.state.revision, forceStationZero ? 0 : stationAddress()));
}

void SessionEngine::SendCommand(const QByteArray& text)
{
    if (m_finished)
        return;
    SessionState& s = m_r.state;
    const SettingsRecord& set = m_r.settings;
    if (s.transaction == TransactionKind::RealTime && s.realTimeFailed == 1)
        m_host.setSessionWindowVisible(false);
    s.commandBuffer = text.left(100);
    const QByteArray framed = '>' + text;

    int timeout;
    if (s.setupSending) {
        timeout = set.useModem ? ticks::kSetupPartModem : ticks::kSetupPartDirect;
    } else {
        timeout = s.baseTimeout;
        if (s.linkState != LinkState::Transfer && (set.useModem || set.wireless))
            timeout += ticks::kCommandExtraModem;
    }
    if (s.realTimeRequested && static_cast<std::uint8_t>(s.revision) <= static_cast<std::uint8_t>('o'))
        timeout = ticks::kRealTimeOldLogger;
    if (s.transaction == TransactionKind::SetBaudRate)
        timeout = ticks::kBaudChange;

    const int shownRetries = s.retryCount > 0                                ? s.retryCount
                             : s.transaction == TransactionKind::SendSetup ? s.setupRetries
                                                                            : 0;
    m_host.setStatusText(QStringLiteral("Send: ") + QString::number(shownRetries).rightJustified(2, ' ') +
                         QLatin1Char(' ') + QString::fromLatin1(framed));

    arm(timeout);
    clearReceive();
    if (s.linkState != LinkState::DialOutQuery && s.linkState != LinkState::Transfer &&
        s.transaction != TransactionKind::SetBaudRate) {
        s.linkState = LinkState::AwaitResponse;
        flushInput();
    }
    m_host.port().putString(framed + '\r');
}

void SessionEngine::EndSession()
{
    SessionState& s = m_r.state;
    if (m_download->fileOpen())
        m_download->discard();
    if (s.transaction != TransactionKind::SendSetup)
        m_host.setMainWindowEnabled(true);
    m_host.setSetupWindowEnabled(true);
    if (s.transaction == TransactionKind::ProgramStationAddress)
        m_host.closeStationAddressDialog();
    s.realTimeRequested = false;
    s.transaction = TransactionKind::None;
    s.realTimeGraph = false;
    m_host.setProgressTimerRunning(false);
    m_host.setAbortVisible(false);
    s.setupSending = false;
    s.retryCount = 0;
    disarm();
    if (s.modemOnline) {
        m_host.setStatusText(QString());
        m_host.setSessionWindowVisible(false);
    } else {
        if (s.triggerHeld)
            m_host.releaseTrigger();
        s.triggerHeld = false;
        m_host.port().close();
        ++m_inputGeneration;
        m_host.setSessionWindowVisible(false);
    }
    m_readDeferred = false;
    m_gate.drop();
    m_host.sessionEnded();
}

void SessionEngine::ReportOutcome(const Outcome& outcome)
{
    if (m_finished)
        return;
    SessionState& s = m_r.state;
    if (s.autoAnswerCount > 0) {
        m_host.appendLogLine(outcome.message);
        s.modemOnline = false;
        EndSession();
        m_host.autoAnswerHangup();
        return;
    }
    // An unattended run has nobody to answer a dialog: every outcome ends it with a log line.
    if (m_r.mode.receive || m_r.mode.sendSetup || m_r.mode.receiveCsv) {
        FatalLogAndExit(outcome.message, 1);
        return;
    }
    m_lastAnswer = m_host.showMessage(outcome);
}

void SessionEngine::FatalLogAndExit(const QString& line, int exitCode)
{
    if (m_finished)
        return;
    m_finished = true;
    disarm();
    if (m_download->fileOpen())
        m_download->discard();
    m_host.fatalLogAndExit(line, exitCode);
}

void SessionEngine::arm(int ticks, bool record)
{
    if (record)
        m_r.state.lastTimeout = ticks;
    m_gate.voidTimeout();  // a time-out that fired before this arming is void
    m_host.armTrigger(ticks);
}

void SessionEngine::disarm()
{
    m_gate.voidTimeout();
    m_host.armTrigger(0);
}

void SessionEngine::clearReceive()
{
    m_r.state.rxBuffer.clear();
    m_r.state.lineComplete = false;
}

void SessionEngine::flushInput()
{
    m_host.port().flushInput();
    ++m_inputGeneration;
}

void SessionEngine::resetMeter()
{
    m_meter = 0;
    m_host.setMeter(0);
}

// ---------------------------------------------------------------- events

void SessionEngine::onBytesAvailable()
{
    if (m_finished || m_gate.hold(HeldEvent::Read))
        return;
    SerialPort& port = m_host.port();
    if (!port.isOpen())
        return;
    if (port.outputBytesPending() > 0) {
        // Read once the output has drained (onOutputDrained); nothing else would wake us.
        m_readDeferred = true;
        return;
    }
    m_readDeferred = false;
    const QByteArray bytes = port.takeInput();
    if (!bytes.isEmpty())
        onBytes(bytes);
}

void SessionEngine::onOutputDrained()
{
    if (m_finished || m_gate.hold(HeldEvent::Drain))
        return;
    if (m_host.port().isOpen() && m_host.port().inputBytesWaiting() > 0)
        onBytesAvailable();
}

void SessionEngine::onBytes(const QByteArray& bytes)
{
    if (m_finished)
        return;
    if (waiting()) {
        m_gate.holdBytes(bytes, m_inputGeneration);
        return;
    }
    SessionState& s = m_r.state;
    const std::uint64_t generation = m_inputGeneration;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            s.lineComplete = true;
        } else {
            if (s.rxBuffer.size() >= kMaxLineBytes) {
                onOverflow();
                return;
            }
            s.rxBuffer.append(c);
        }
        onArrival(c);
        // Bytes after a flush of the input (a new command was sent) or after the end of the session
        // belong to nobody.
        if (m_finished || generation != m_inputGeneration)
            return;
        // The rest of the chunk is heard once the wait the arrival began is over.
        if (waiting() && i + 1 < bytes.size()) {
            m_gate.holdRestOfChunk(bytes.mid(i + 1), m_inputGeneration);
            return;
        }
    }
}

void SessionEngine::onHeldBytes(const QByteArray& bytes, std::uint64_t generation)
{
    // Bytes read before a flush of the input belong to nobody.
    if (generation == m_inputGeneration)
        onBytes(bytes);
}

void SessionEngine::onOverflow()
{
    const TransactionKind t = m_r.state.transaction;
    if (t == TransactionKind::None) {
        clearReceive();
        return;
    }
    EndSession();
    ReportOutcome({QStringLiteral("Invalid response from logger; line too long; comm. aborted"), DialogKind::Error,
                   DialogButtons::Ok, 0});
}

void SessionEngine::onArrival(char latest)
{
    SessionState& s = m_r.state;
    switch (s.linkState) {
    case LinkState::WakeUp:
        m_bringUp->onWakeUpArrival(latest);
        return;
    case LinkState::Handshake:
        if (s.lineComplete)
            m_bringUp->onHandshakeLine();
        return;
    case LinkState::AwaitResponse:
        if (s.lineComplete)
            onAwaitLine();
        return;
    case LinkState::Transfer:
        if (s.lineComplete)
            onTransferLine();
        return;
    case LinkState::DialOutQuery:
        if (s.lineComplete) {
            disarm();
            const QByteArray reply = s.rxBuffer;
            m_host.dialOutReply(reply);
            m_host.showStatusWindow();
            EndSession();
        }
        return;
    case LinkState::ModemInit:
    case LinkState::Dialling:
    case LinkState::RemoteModemSetup:
    case LinkState::ComTest:
        if (LinkStateHandler* h = m_stateHandlers[static_cast<std::size_t>(s.linkState)])
            h->onArrival(*this);
        return;
    default:
        return;  // Connected, FastStart, idle: bytes collect
    }
}

void SessionEngine::onAwaitLine()
{
    SessionState& s = m_r.state;
    disarm();
    if (s.transaction == TransactionKind::StatusFirst) {
        onStatusFirstLine();
        return;
    }
    if (TransactionHandler* h = handlerFor(s.transaction))
        h->onLine(*this);
}

void SessionEngine::onStatusFirstLine()
{
    SessionState& s = m_r.state;
    s.transaction = s.savedTransaction;
    while (s.rxBuffer.size() > 8 && !(s.rxBuffer[0] >= '0' && s.rxBuffer[0] <= '9'))
        s.rxBuffer.remove(0, 1);
    s.revision = s.rxBuffer.size() >= 252 ? s.rxBuffer[249] : 'q';
    s.oldLogger = s.revision >= 'A' && s.revision <= 'G';
    s.linkUp = true;
    s.statusPending = false;
    DispatchTransaction();
}

void SessionEngine::onTransferLine()
{
    SessionState& s = m_r.state;
    disarm();
    if (s.transaction == TransactionKind::ReceiveData) {
        m_download->onBlockLine();
        return;
    }
    if (TransactionHandler* h = handlerFor(s.transaction))
        h->onTransferLine(*this);
}

void SessionEngine::onTimeout()
{
    if (m_finished || m_gate.hold(HeldEvent::Timeout))
        return;
    SessionState& s = m_r.state;
    switch (s.linkState) {
    case LinkState::WakeUp:
        m_bringUp->onWakeUpTimeout();
        return;
    case LinkState::Handshake:
        m_bringUp->onHandshakeTimeout();
        return;
    case LinkState::AwaitResponse:
        onAwaitTimeout();
        return;
    case LinkState::Transfer:
        onTransferTimeout();
        return;
    case LinkState::ModemInit:
    case LinkState::Dialling:
        if (LinkStateHandler* h = m_stateHandlers[static_cast<std::size_t>(s.linkState)])
            h->onTimeout(*this);
        else
            m_bringUp->onModemTimeout();
        return;
    case LinkState::Connected:
        StartSession();
        return;
    case LinkState::RemoteModemSetup:
    case LinkState::ComTest:
        if (LinkStateHandler* h = m_stateHandlers[static_cast<std::size_t>(s.linkState)])
            h->onTimeout(*this);
        return;
    case LinkState::DialOutQuery:
        EndSession();
        return;
    case LinkState::FastStart:
        m_bringUp->onFastStartTimeout();
        return;
    default:
        return;
    }
}

void SessionEngine::onAwaitTimeout()
{
    SessionState& s = m_r.state;
    const SettingsRecord& set = m_r.settings;
    const TransactionKind t = s.transaction;
    if (t == TransactionKind::StatusFirst) {
        const TransactionKind saved = s.savedTransaction;
        s.transaction = saved;
        EndSession();
        if (saved == TransactionKind::ReceiveData)
            ReportOutcome({QStringLiteral("No response from logger; No new data file created."),
                           DialogKind::Information, DialogButtons::Ok, 0});
        else
            ReportOutcome({NoResponseText('a'), DialogKind::Information,
                           DialogButtons::OkHelp, 24});
        return;
    }
    if (t == TransactionKind::SendSetup || t == TransactionKind::SetBaudRate) {
        if (TransactionHandler* h = handlerFor(t))
            h->onTimeout(*this);
        else
            EndSession();
        return;
    }
    if (set.useModem) {
        s.retryCount += 1;
        if (s.retryCount < retries::kModemSession) {
            StartSession();
            return;
        }
        EndSession();
        ReportOutcome({QStringLiteral("No response from logger; TLcmd: ") + QString::number(TransactionNumber(t)),
                       DialogKind::Information, DialogButtons::Ok, 0});
        return;
    }
    if (set.fastProtocol) {
        s.retryCount += 1;
        if (s.retryCount <= retries::kFastCommand) {
            DispatchTransaction();
            return;
        }
        EndSession();
        ReportOutcome({NoResponseText('c'), DialogKind::Information, DialogButtons::OkHelp,
                       24});
        return;
    }
    EndSession();
    ReportOutcome({NoResponseText('d'), DialogKind::Information, DialogButtons::OkHelp, 24});
}

void SessionEngine::onTransferTimeout()
{
    SessionState& s = m_r.state;
    if (s.transaction == TransactionKind::ReceiveData) {
        m_download->onBlockTimeout();
        return;
    }
    if (TransactionHandler* h = handlerFor(s.transaction))
        h->onTransferTimeout(*this);
}

void SessionEngine::onAbort()
{
    if (m_finished)
        return;
    SessionState& s = m_r.state;
    if (s.linkState == LinkState::ModemInit || s.linkState == LinkState::Dialling) {
        m_host.hangupModem();
        EndSession();
        return;
    }
    if (s.linkState == LinkState::Transfer && s.transaction == TransactionKind::ReceiveData && s.continuing) {
        s.continuing = false;
        s.abortRequested = true;
    }
}

void SessionEngine::onProgressTick()
{
    m_meter += 4;
    if (m_meter > 100) {
        m_meter = 100;
        m_host.setProgressTimerRunning(false);
    }
    m_host.setMeter(m_meter);
}

void SessionEngine::onPortError(const QString& why)
{
    if (m_finished || m_r.state.transaction == TransactionKind::None)
        return;
    if (m_gate.holdFailure(why))
        return;
    m_r.state.modemOnline = false;
    EndSession();
    ReportOutcome({QStringLiteral("Serial port failed: ") + why + QStringLiteral("; comm. aborted"),
                   DialogKind::Error, DialogButtons::Ok, 0});
}

StatusDecodeResult SessionEngine::decodeStatus(QByteArrayView record, const StatusContext& context)
{
    if (m_decoder)
        return m_decoder(record, context, m_r.info, m_r.geometry);
    StatusDecodeResult result = DecodeStatusRecord(record, context, m_r.info, m_r.geometry);
    if (result.outcome == StatusOutcome::Decoded)
        SetReferenceResistor(m_r.info, RealTimeBatteryByte(m_r.info.currentReadings, m_r.info.resolutionBits));
    return result;
}

bool SessionEngine::active() const
{
    return m_r.state.transaction != TransactionKind::None && !m_finished;
}

} // namespace tamble
