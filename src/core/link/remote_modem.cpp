#include "link/remote_modem.h"
#include "settings/port_diagnosis.h"
#include "link/link_timing.h"

#include "settings/settings_record.h"
#include "link/modem.h"

namespace tamble {

void RemoteModemSetup::install(SessionEngine& engine)
{
    engine.setStateHandler(LinkState::RemoteModemSetup, this);
}

void RemoteModemSetup::proceed(SessionEngine& engine)
{
    SessionState& s = engine.state();
    const SettingsRecord& set = engine.settings();
    SerialPort& port = engine.host().port();
    s.linkState = LinkState::RemoteModemSetup;
    enable(false);
    port.setPortNumber(set.portNumber);
    port.setBaud(set.baud);
    engine.clearReceive();
    if (!port.open()) {
        port.close();
        enable(true);
        engine.ReportOutcome({QString::fromLatin1(kPortOpenFailedText), DialogKind::Warning,
                              DialogButtons::Ok, 0});
        return;
    }
    if (!s.triggerHeld) {
        std::uint16_t handle = 0;
        if (engine.host().reserveTrigger(handle))
            s.timerHandle = handle;
        s.triggerHeld = true;
    }
    engine.arm(36);
    s.blockNumber = 0;
    port.putString(QByteArrayLiteral("AT&F0E0\r"));
}

void RemoteModemSetup::finish(SessionEngine& engine)
{
    SessionState& s = engine.state();
    engine.disarm();
    if (s.triggerHeld)
        engine.host().releaseTrigger();
    engine.host().port().close();
    s.triggerHeld = false;
    s.linkState = LinkState::Idle;
    enable(true);
}

void RemoteModemSetup::onArrival(SessionEngine& engine)
{
    SessionState& s = engine.state();
    if (!s.lineComplete)
        return;
    s.lineComplete = false;
    if (s.rxBuffer.size() == 1)
        return;
    ++s.blockNumber;
    if (!s.rxBuffer.contains("OK")) {
        if (s.blockNumber <= 1)
            return;  // the echo of the command
        const QString text = QStringLiteral("Bad response from modem: ") + ModemLineText(s.rxBuffer);
        finish(engine);
        engine.ReportOutcome({text, DialogKind::Error, DialogButtons::Ok, 0});
        return;
    }
    engine.disarm();
    SerialPort& port = engine.host().port();
    engine.runSteps({{ticks::kModemGuard,
                      [&engine, &port] { port.putString(engine.settings().remoteModemInit.toLatin1() + '\r'); }},
                     {ticks::kModemGuard, {}}},
                    [this, &engine] {
                        finish(engine);
                        engine.ReportOutcome({QString::fromLatin1(kRemoteModemConfiguredText), DialogKind::Information,
                                              DialogButtons::Ok, 0});
                    });
}

void RemoteModemSetup::onTimeout(SessionEngine& engine)
{
    const QString text = QStringLiteral("Invalid response from modem. ") + ModemLineText(engine.state().rxBuffer);
    finish(engine);
    engine.ReportOutcome({text, DialogKind::Information, DialogButtons::Ok, 0});
}

} // namespace tamble
