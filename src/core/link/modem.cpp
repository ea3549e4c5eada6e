#include "link/modem.h"
#include "link/link_timing.h"

#include "settings/command_line.h"
#include "settings/settings_record.h"

#include <QFile>
#include <QMap>

#include <algorithm>

namespace tamble {

namespace {

constexpr int kShownLineLength = 100;

void report(SessionEngine& engine, const QString& text, DialogKind kind)
{
    if (!engine.mode().unattended())
        engine.EndSession();  // an unattended run ends with the log line, which closes the port
    engine.ReportOutcome({text, kind, DialogButtons::Ok, 0});
}

} // namespace

QByteArray DialCommand(bool wireless, const QByteArray& phoneNumber)
{
    return (wireless ? QByteArrayLiteral("ATD ") : QByteArrayLiteral("ATDT ")) + phoneNumber;
}

bool PhoneNumberDialable(const QByteArray& phoneNumber)
{
    for (char c : phoneNumber) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b > 0x7E)
            return false;
    }
    return true;
}

QByteArray ModemLine(const QByteArray& rx)
{
    return rx.trimmed();
}

QString ModemLineText(const QByteArray& line)
{
    QByteArray shown = line.left(kShownLineLength);
    for (char& c : shown) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F)
            c = '?';
    }
    return QString::fromLatin1(shown);
}

QString SetupModemText(const QString& init) { return QStringLiteral("Setup modem: ") + init; }

QString ModemNoAnswerText(const QString& response)
{
    if (response.isEmpty())
        return QStringLiteral("No response from modem, comm. aborted");
    return QStringLiteral("Modem response: ") + response + QStringLiteral("; comm. aborted");
}

DialResult JudgeDialLine(const QByteArray& line, const QByteArray& dialCommand)
{
    if (line.size() <= 1)
        return DialResult::Ignore;
    if (dialCommand.contains(line))
        return DialResult::Echo;
    if (line.contains("CON"))
        return DialResult::Connected;
    if (line.contains("BUS"))
        return DialResult::Busy;
    return DialResult::Other;
}

void ModemDialler::install(SessionEngine& engine)
{
    engine.setStateHandler(LinkState::ModemInit, this);
    engine.setStateHandler(LinkState::Dialling, this);
}

void ModemDialler::onEnter(SessionEngine& engine)
{
    SessionState& s = engine.state();
    const SettingsRecord& set = engine.settings();
    if (m_refresh && !m_numberGiven)
        m_refresh();
    const QByteArray init = set.localModemInit.toLatin1();
    s.commandBuffer = init.left(100);
    engine.host().setStatusText(SetupModemText(set.localModemInit));
    engine.host().port().putString(init + '\r');
    engine.arm(370);
    engine.clearReceive();
    s.linkState = LinkState::ModemInit;
}

void ModemDialler::onArrival(SessionEngine& engine)
{
    SessionState& s = engine.state();
    if (!s.lineComplete)
        return;
    if (s.linkState == LinkState::ModemInit)
        onInitLine(engine);
    else if (s.linkState == LinkState::Dialling)
        onDialLine(engine);
}

void ModemDialler::onInitLine(SessionEngine& engine)
{
    SessionState& s = engine.state();
    const SettingsRecord& set = engine.settings();
    s.lineComplete = false;
    if (s.rxBuffer.size() == 1)
        return;
    ++s.blockNumber;
    if (!s.rxBuffer.contains("OK"))
        return;  // keep collecting: the echo of the init string comes first
    const QByteArray number = set.phoneNumber.toLatin1();
    if (!PhoneNumberDialable(number)) {
        report(engine, QStringLiteral("Phone number holds characters a modem cannot dial; comm. aborted"),
               DialogKind::Warning);
        return;
    }
    m_dial = DialCommand(set.wireless, number);
    engine.host().setStatusText(QStringLiteral("Calling: ") + QString::fromLatin1(m_dial));
    engine.host().port().putString(m_dial + '\r');
    engine.arm(1820, true);
    engine.clearReceive();
    s.linkState = LinkState::Dialling;
}

void ModemDialler::onDialLine(SessionEngine& engine)
{
    SessionState& s = engine.state();
    s.lineComplete = false;
    const QByteArray line = ModemLine(s.rxBuffer);
    switch (JudgeDialLine(line, m_dial)) {
    case DialResult::Ignore:
        if (line.isEmpty())
            engine.clearReceive();  // the LF of a CR LF pair, or a blank line
        return;
    case DialResult::Echo:
        engine.clearReceive();
        return;
    case DialResult::Connected:
        s.modemOnline = true;
        engine.host().setStatusText(ModemLineText(line));
        engine.arm(36, true);
        s.linkState = LinkState::Connected;
        return;
    case DialResult::Busy:
        report(engine, QStringLiteral("Line is busy"), DialogKind::Information);
        return;
    case DialResult::Other:
        report(engine, ModemLineText(line), DialogKind::Warning);
        return;
    }
}

void ModemDialler::onTimeout(SessionEngine& engine)
{
    const QByteArray rx = ModemLine(engine.state().rxBuffer);
    report(engine, ModemNoAnswerText(rx.isEmpty() ? QString() : ModemLineText(rx)), DialogKind::Warning);
}

void HangupModem(SessionHost& host, SessionState& state, std::function<void()> done)
{
    state.retryCount = 0;
    if (!state.modemOnline) {
        if (done)
            done();
        return;
    }
    auto finish = [&host, &state, done = std::move(done)] {
        if (state.triggerHeld)
            host.releaseTrigger();
        state.triggerHeld = false;
        host.port().close();
        state.modemOnline = false;
        host.setSessionWindowVisible(false);
        if (done)
            done();
    };
    SerialPort& port = host.port();
    if (!port.isOpen()) {
        finish();
        return;
    }
    // The modem drops its line when DTR falls: up, down, up again, each held a few ticks.
    port.setDtr(true);
    host.after(ticks::kDtrRaise, [&host, &port, finish = std::move(finish)]() mutable {
        port.setDtr(false);
        host.after(ticks::kDtrHangupLow, [&host, &port, finish = std::move(finish)]() mutable {
            port.setDtr(true);
            host.after(ticks::kDtrHangupLow, std::move(finish));
        });
    });
}

} // namespace tamble

// ---------------------------------------------------------------- phone list

namespace tamble {


} // namespace tamble
