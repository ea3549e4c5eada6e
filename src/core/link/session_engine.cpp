#include "link/session_engine.h"
#include "settings/port_diagnosis.h"

#include "settings/command_line.h"
#include "settings/settings_record.h"
#include "link/download.h"
#include "link/engine_status.h"
#include "link/framing.h"
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
    : m_host(host), m_r(records), m_gate(host, *this), m_download(std::make_unique<Download>(*this)),
      m_statusHandler(MakeStatusTransaction())
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
    if (s.modemOnline && s.autoAnswerCount == 0) {
        startLink();
        return;
    }
    openSessionPort();
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

// Opens the port at the session's speed, takes the timer trigger, and wakes a modem up with a DTR
// pulse (not for a caller that is already on line).
void SessionEngine::openSessionPort()
{
    SessionState& s = m_r.state;
    const SettingsRecord& set = m_r.settings;
    SerialPort& port = m_host.port();
    if (set.useModem)
        m_host.setAbortVisible(false);
    port.setPortNumber(set.portNumber);
    port.setBaud((set.wireless || set.useModem || set.fastProtocol) ? set.baud : 1200);
    port.setOutputBufferSize(8192);
    if (!port.open()) {
        EndSession();
        ReportOutcome({QString::fromLatin1(kPortOpenFailedText), DialogKind::Warning,
                       DialogButtons::Ok, 0});
        return;
    }
    if (!s.triggerHeld) {
        std::uint16_t handle = 0;
        if (m_host.reserveTrigger(handle))
            s.timerHandle = handle;
        s.triggerHeld = true;
    }
    if (!(set.useModem && s.autoAnswerCount == 0)) {
        startModemDialogue();
        return;
    }
    runSteps({{0, [&port] { port.setDtr(true); }},
              {ticks::kDtrRaise, [&port] { port.setDtr(false); }},
              {ticks::kDtrSessionLow, [&port] { port.setDtr(true); }},
              {ticks::kDtrSessionLow, {}}},
             [this] { startModemDialogue(); });
}

// A modem that is not on line yet gets its initialisation string first; otherwise the link starts.
void SessionEngine::startModemDialogue()
{
    SessionState& s = m_r.state;
    const SettingsRecord& set = m_r.settings;
    if (!set.useModem || s.modemOnline) {
        startLink();
        return;
    }
    if (LinkStateHandler* h = m_stateHandlers[static_cast<std::size_t>(LinkState::ModemInit)]) {
        s.linkState = LinkState::ModemInit;
        h->onEnter(*this);
        return;
    }
    s.commandBuffer = set.localModemInit.toLatin1().left(100);
    m_host.setStatusText(QStringLiteral("Setup modem: ") + set.localModemInit);
    m_host.port().putString(set.localModemInit.toLatin1() + '\r');
    arm(ticks::kModemInitReply);
    clearReceive();
    s.linkState = LinkState::ModemInit;
}

// The wake-up burst, slow or fast, and the wait for the logger's echo or acknowledgement.
void SessionEngine::startLink()
{
    SessionState& s = m_r.state;
    const SettingsRecord& set = m_r.settings;
    s.statusPending = true;
    m_host.setStatusText(s.transaction == TransactionKind::EndRealTime ? QStringLiteral("Terminating link...")
                                                                        : QStringLiteral("Establishing link..."));
    s.linkUp = false;
    flushInput();
    clearReceive();

    int timeout;
    if (set.fastProtocol || s.transaction == TransactionKind::SetBaudRate) {
        s.linkState = LinkState::FastStart;
        timeout = ticks::kFastStart;
    } else {
        m_host.setProgressTimerRunning(true);
        s.linkState = LinkState::WakeUp;
        timeout = ticks::kWakeUpEcho;
    }
    if (set.useModem)
        timeout += ticks::kModemExtra;
    sendWakeUpBurst();
    arm(timeout);
}

void SessionEngine::sendWakeUpBurst()
{
    const SessionState& s = m_r.state;
    const bool shortBlock = m_r.settings.fastProtocol || s.transaction == TransactionKind::SetBaudRate;
    const int speed = m_host.port().baud();
    const int count = WakeUpBlockCount(shortBlock, speed);
    const QByteArray block = WakeUpBlock(m_r.settings.fastProtocol, shortBlock, speed);
    for (int i = 0; i < count; ++i)
        m_host.port().putString(block);
    m_meter = 0;
    m_host.setMeter(0);
}

void SessionEngine::ConfirmBaud(std::function<void()> then)
{
    SerialPort& port = m_host.port();
    const SettingsRecord& set = m_r.settings;
    port.flushOutput();
    if (set.baud != 19200) {
        port.setBaud(set.baud);
        const char confirmation = static_cast<char>(set.baud == 1200 ? 0xC0 : 0x80);
        wait(ticks::kSpeedSettle, [&port, confirmation, then = std::move(then)] {
            port.putString(QByteArray(1, confirmation));
            then();
        });
    } else if (set.wireless || set.useModem) {
        port.putString(QByteArray("\x00\xE0\xFF\xFF\xFF\x00\x00", 7));
        then();
    } else {
        runSteps({{ticks::kEchoSettle,
                   [this, &port] {
                       port.putString(QByteArrayLiteral("E"));
                       m_r.state.lineComplete = false;
                   }},
                  {ticks::kEchoSettle, [&port] { port.setBaud(19200); }}},
                 std::move(then));
    }
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
        onWakeUpArrival(latest);
        return;
    case LinkState::Handshake:
        if (s.lineComplete)
            onHandshakeLine();
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

void SessionEngine::onWakeUpArrival(char latest)
{
    SessionState& s = m_r.state;
    if (s.transaction == TransactionKind::EndRealTime)
        return;
    // Earlier bytes have been looked at already; only the latest can be the echo.
    if (static_cast<std::uint8_t>(latest) == EchoByteForBaud(m_r.settings.baud) && latest != '\r') {
        ConfirmBaud([this] {
            clearReceive();
            arm(m_r.settings.useModem ? ticks::kHandshakeModem : ticks::kHandshakeDirect);
            m_r.state.linkState = LinkState::Handshake;
        });
        return;
    }
    if (s.lineComplete && s.rxBuffer.contains('R') && m_host.port().baud() == 1200) {
        m_host.port().putString(QByteArray(1, BaudLetter(m_r.settings.baud)));
        wait(ticks::kEchoSettle, [this] {
            m_host.port().setBaud(m_r.settings.baud);
            clearReceive();
            arm(ticks::kHandshakeAfterR);
            m_r.state.linkState = LinkState::Handshake;
        });
    }
}

void SessionEngine::onHandshakeLine()
{
    SessionState& s = m_r.state;
    QByteArray text = s.rxBuffer;
    const int n = static_cast<int>(text.size());
    if (n == 1) {
        s.oldLogger = true;
        s.revision = 'A';
    } else if (n >= 2 && n <= 5) {
        if (n % 2 == 1)
            text.remove(0, 1);
        s.oldLogger = false;
        s.revision = text[1];
        if (text.size() == 4) {
            s.dateCode.present = true;
            s.dateCode.first = static_cast<std::uint8_t>(text[2]) - '0';
            s.dateCode.second = (static_cast<std::uint8_t>(text[3]) + 48) % 256;
        } else {
            s.dateCode = HandshakeDateCode{};
        }
    } else {
        m_host.beep();
        EndSession();
        ReportOutcome({QStringLiteral("Rcvd Ack str/") + QString::number(n) + QLatin1Char(' ') +
                           QString::fromLatin1(text),
                       DialogKind::Error, DialogButtons::Ok, 0});
        return;
    }
    s.linkUp = true;
    DispatchTransaction();
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
        onWakeUpTimeout();
        return;
    case LinkState::Handshake:
        onHandshakeTimeout();
        return;
    case LinkState::AwaitResponse:
        onAwaitTimeout();
        return;
    case LinkState::Transfer:
        onTransferTimeout();
        return;
    case LinkState::ModemInit:
    case LinkState::Dialling:
        if (LinkStateHandler* h = m_stateHandlers[static_cast<std::size_t>(s.linkState)]) {
            h->onTimeout(*this);
            return;
        }
        {
            const QString text = s.rxBuffer.isEmpty()
                                     ? QStringLiteral("No response from modem, comm. aborted")
                                     : QStringLiteral("Modem response: ") + QString::fromLatin1(s.rxBuffer) +
                                           QStringLiteral("; comm. aborted");
            EndSession();
            ReportOutcome({text, DialogKind::Warning, DialogButtons::Ok, 0});
        }
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
        onFastStartTimeout();
        return;
    default:
        return;
    }
}

void SessionEngine::onWakeUpTimeout()
{
    SessionState& s = m_r.state;
    if (s.transaction == TransactionKind::EndRealTime) {
        EndSession();
        s.transaction = TransactionKind::None;
        ReportOutcome({QStringLiteral("Real Time Link terminated"), DialogKind::Information, DialogButtons::Ok, 0});
        m_host.closeStatusWindow();
        m_host.showMainWindow();
        return;
    }
    clearReceive();
    arm(ticks::kHandshakeNoEcho, true);
    s.linkState = LinkState::Handshake;
    ConfirmBaud([] {});
}

void SessionEngine::onHandshakeTimeout()
{
    SessionState& s = m_r.state;
    if (s.rxBuffer.size() == 1) {
        s.oldLogger = true;
        s.revision = 'A';
        s.linkUp = true;
    } else {
        s.revision = 'S';
        s.savedTransaction = s.transaction;
        s.transaction = TransactionKind::StatusFirst;
    }
    DispatchTransaction();
}

void SessionEngine::onFastStartTimeout()
{
    SessionState& s = m_r.state;
    s.revision = 'q';
    s.oldLogger = false;
    s.linkUp = true;
    s.statusPending = true;
    s.linkState = LinkState::AwaitResponse;
    DispatchTransaction();
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
            ReportOutcome({QStringLiteral("No response from logger (a)"), DialogKind::Information,
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
        ReportOutcome({QStringLiteral("No response from logger (c)"), DialogKind::Information, DialogButtons::OkHelp,
                       24});
        return;
    }
    EndSession();
    ReportOutcome({QStringLiteral("No response from logger (d)"), DialogKind::Information, DialogButtons::OkHelp, 24});
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
