#include "link/link_bring_up.h"

#include "link/framing.h"
#include "link/link_timing.h"
#include "link/modem.h"
#include "link/session_engine.h"
#include "settings/port_diagnosis.h"
#include "settings/settings_record.h"

#include <utility>

namespace tamble {

void LinkBringUp::start()
{
    const SessionState& s = m_engine.state();
    if (s.modemOnline && s.autoAnswerCount == 0) {
        startLink();
        return;
    }
    openSessionPort();
}

// Opens the port at the session's speed, takes the timer trigger, and wakes a modem up with a DTR
// pulse (not for a caller that is already on line).
void LinkBringUp::openSessionPort()
{
    SessionState& s = m_engine.state();
    const SettingsRecord& set = m_engine.settings();
    SessionHost& host = m_engine.host();
    SerialPort& port = host.port();
    if (set.useModem)
        host.setAbortVisible(false);
    port.setPortNumber(set.portNumber);
    port.setBaud((set.wireless || set.useModem || set.fastProtocol) ? set.baud : 1200);
    port.setOutputBufferSize(8192);
    if (!port.open()) {
        m_engine.EndSession();
        m_engine.ReportOutcome({QString::fromLatin1(kPortOpenFailedText), DialogKind::Warning, DialogButtons::Ok, 0});
        return;
    }
    if (!s.triggerHeld) {
        std::uint16_t handle = 0;
        if (host.reserveTrigger(handle))
            s.timerHandle = handle;
        s.triggerHeld = true;
    }
    if (!(set.useModem && s.autoAnswerCount == 0)) {
        startModemDialogue();
        return;
    }
    m_engine.runSteps({{0, [&port] { port.setDtr(true); }},
                       {ticks::kDtrRaise, [&port] { port.setDtr(false); }},
                       {ticks::kDtrSessionLow, [&port] { port.setDtr(true); }},
                       {ticks::kDtrSessionLow, {}}},
                      [this] { startModemDialogue(); });
}

// A modem that is not on line yet gets its initialisation string first; otherwise the link starts.
void LinkBringUp::startModemDialogue()
{
    SessionState& s = m_engine.state();
    const SettingsRecord& set = m_engine.settings();
    if (!set.useModem || s.modemOnline) {
        startLink();
        return;
    }
    if (LinkStateHandler* h = m_engine.stateHandler(LinkState::ModemInit)) {
        s.linkState = LinkState::ModemInit;
        h->onEnter(m_engine);
        return;
    }
    s.commandBuffer = set.localModemInit.toLatin1().left(100);
    m_engine.host().setStatusText(SetupModemText(set.localModemInit));
    m_engine.host().port().putString(set.localModemInit.toLatin1() + '\r');
    m_engine.arm(ticks::kModemInitReply);
    m_engine.clearReceive();
    s.linkState = LinkState::ModemInit;
}

void LinkBringUp::onModemTimeout()
{
    const SessionState& s = m_engine.state();
    const QString text = ModemNoAnswerText(QString::fromLatin1(s.rxBuffer));
    m_engine.EndSession();
    m_engine.ReportOutcome({text, DialogKind::Warning, DialogButtons::Ok, 0});
}

// The wake-up burst, slow or fast, and the wait for the logger's echo or acknowledgement.
void LinkBringUp::startLink()
{
    SessionState& s = m_engine.state();
    const SettingsRecord& set = m_engine.settings();
    s.statusPending = true;
    m_engine.host().setStatusText(s.transaction == TransactionKind::EndRealTime
                                      ? QStringLiteral("Terminating link...")
                                      : QStringLiteral("Establishing link..."));
    s.linkUp = false;
    m_engine.flushInput();
    m_engine.clearReceive();

    int timeout;
    if (set.fastProtocol || s.transaction == TransactionKind::SetBaudRate) {
        s.linkState = LinkState::FastStart;
        timeout = ticks::kFastStart;
    } else {
        m_engine.host().setProgressTimerRunning(true);
        s.linkState = LinkState::WakeUp;
        timeout = ticks::kWakeUpEcho;
    }
    if (set.useModem)
        timeout += ticks::kModemExtra;
    sendWakeUpBurst();
    m_engine.arm(timeout);
}

void LinkBringUp::sendWakeUpBurst()
{
    const SessionState& s = m_engine.state();
    const SettingsRecord& set = m_engine.settings();
    SerialPort& port = m_engine.host().port();
    const bool shortBlock = set.fastProtocol || s.transaction == TransactionKind::SetBaudRate;
    const int speed = port.baud();
    const int count = WakeUpBlockCount(shortBlock, speed);
    const QByteArray block = WakeUpBlock(set.fastProtocol, shortBlock, speed);
    for (int i = 0; i < count; ++i)
        port.putString(block);
    m_engine.resetMeter();
}

void LinkBringUp::confirmBaud(std::function<void()> then)
{
    SerialPort& port = m_engine.host().port();
    const SettingsRecord& set = m_engine.settings();
    port.flushOutput();
    if (set.baud != 19200) {
        port.setBaud(set.baud);
        const char confirmation = static_cast<char>(set.baud == 1200 ? 0xC0 : 0x80);
        m_engine.wait(ticks::kSpeedSettle, [&port, confirmation, then = std::move(then)] {
            port.putString(QByteArray(1, confirmation));
            then();
        });
    } else if (set.wireless || set.useModem) {
        port.putString(QByteArray("\x00\xE0\xFF\xFF\xFF\x00\x00", 7));
        then();
    } else {
        SessionState& s = m_engine.state();
        m_engine.runSteps({{ticks::kEchoSettle,
                            [&port, &s] {
                                port.putString(QByteArrayLiteral("E"));
                                s.lineComplete = false;
                            }},
                           {ticks::kEchoSettle, [&port] { port.setBaud(19200); }}},
                          std::move(then));
    }
}

void LinkBringUp::onWakeUpArrival(char latest)
{
    SessionState& s = m_engine.state();
    const SettingsRecord& set = m_engine.settings();
    if (s.transaction == TransactionKind::EndRealTime)
        return;
    // Earlier bytes have been looked at already; only the latest can be the echo.
    if (static_cast<std::uint8_t>(latest) == EchoByteForBaud(set.baud) && latest != '\r') {
        confirmBaud([this, &s, &set] {
            m_engine.clearReceive();
            m_engine.arm(set.useModem ? ticks::kHandshakeModem : ticks::kHandshakeDirect);
            s.linkState = LinkState::Handshake;
        });
        return;
    }
    SerialPort& port = m_engine.host().port();
    if (s.lineComplete && s.rxBuffer.contains('R') && port.baud() == 1200) {
        port.putString(QByteArray(1, BaudLetter(set.baud)));
        m_engine.wait(ticks::kEchoSettle, [this, &s, &set] {
            m_engine.host().port().setBaud(set.baud);
            m_engine.clearReceive();
            m_engine.arm(ticks::kHandshakeAfterR);
            s.linkState = LinkState::Handshake;
        });
    }
}

void LinkBringUp::onHandshakeLine()
{
    SessionState& s = m_engine.state();
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
        m_engine.host().beep();
        m_engine.EndSession();
        m_engine.ReportOutcome({QStringLiteral("Rcvd Ack str/") + QString::number(n) + QLatin1Char(' ') +
                                    QString::fromLatin1(text),
                                DialogKind::Error, DialogButtons::Ok, 0});
        return;
    }
    s.linkUp = true;
    m_engine.DispatchTransaction();
}

void LinkBringUp::onWakeUpTimeout()
{
    SessionState& s = m_engine.state();
    if (s.transaction == TransactionKind::EndRealTime) {
        m_engine.EndSession();
        s.transaction = TransactionKind::None;
        m_engine.ReportOutcome(
            {QStringLiteral("Real Time Link terminated"), DialogKind::Information, DialogButtons::Ok, 0});
        m_engine.host().closeStatusWindow();
        m_engine.host().showMainWindow();
        return;
    }
    m_engine.clearReceive();
    m_engine.arm(ticks::kHandshakeNoEcho, true);
    s.linkState = LinkState::Handshake;
    confirmBaud([] {});
}

void LinkBringUp::onHandshakeTimeout()
{
    SessionState& s = m_engine.state();
    if (s.rxBuffer.size() == 1) {
        s.oldLogger = true;
        s.revision = 'A';
        s.linkUp = true;
    } else {
        s.revision = 'S';
        s.savedTransaction = s.transaction;
        s.transaction = TransactionKind::StatusFirst;
    }
    m_engine.DispatchTransaction();
}

void LinkBringUp::onFastStartTimeout()
{
    SessionState& s = m_engine.state();
    s.revision = 'q';
    s.oldLogger = false;
    s.linkUp = true;
    s.statusPending = true;
    s.linkState = LinkState::AwaitResponse;
    m_engine.DispatchTransaction();
}

} // namespace tamble
