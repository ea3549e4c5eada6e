#include "link/com_test.h"
#include "settings/port_diagnosis.h"
#include "link/link_timing.h"

#include "settings/settings_record.h"
#include "link/modem.h"

namespace tamble {

void ComTest::install(SessionEngine& engine)
{
    engine.setStateHandler(LinkState::ComTest, this);
}

void ComTest::run(SessionEngine& engine)
{
    SessionState& s = engine.state();
    SessionHost& host = engine.host();
    SerialPort& port = host.port();
    enable(false);
    s.linkState = LinkState::ComTest;
    engine.clearReceive();
    port.setPortNumber(engine.settings().portNumber);
    port.setBaud(1200);
    if (!port.isOpen() && !port.open()) {
        port.close();
        s.triggerHeld = false;
        enable(true);
        engine.ReportOutcome({QString::fromLatin1(kPortOpenFailedText), DialogKind::Warning,
                              DialogButtons::Ok, 0});
        return;
    }
    engine.runSteps({{0, [&port] { port.setDtr(true); }},
                     {ticks::kDtrRaise, [&port] { port.setDtr(false); }},
                     {ticks::kDtrHangupLow, [&port] { port.setDtr(true); }},
                     {ticks::kDtrRaise, {}}},
                    [&engine, &host, &port, &s] {
                        port.flushInput();
                        if (!s.triggerHeld) {
                            std::uint16_t handle = 0;
                            if (host.reserveTrigger(handle))
                                s.timerHandle = handle;
                            s.triggerHeld = true;
                        }
                        engine.arm(ticks::kComTestEcho, true);
                        s.retryCount = 0;
                        s.blockNumber = 0;
                        port.putString(QByteArrayLiteral("AT\r"));
                    });
}

void ComTest::onArrival(SessionEngine& engine)
{
    SessionState& s = engine.state();
    if (!s.lineComplete)
        return;
    const QByteArray line = s.rxBuffer;
    engine.EndSession();
    enable(true);
    if (line == "AT") {
        engine.ReportOutcome({QString::fromLatin1(kComTestOkText), DialogKind::Information, DialogButtons::Ok, 0});
    } else if (line.contains("OK")) {
        engine.ReportOutcome({QStringLiteral("A modem is connected to the selected Com Port."), DialogKind::Information,
                              DialogButtons::Ok, 0});
    } else {
        engine.ReportOutcome({QStringLiteral("Data sent does not match data received.\r") + QStringLiteral("AT") +
                                  QStringLiteral(" / ") + ModemLineText(line),
                              DialogKind::Warning, DialogButtons::Ok, 0});
    }
    s.linkState = LinkState::Idle;
}

void ComTest::onTimeout(SessionEngine& engine)
{
    // The port stays open; the next session takes it over.
    enable(true);
    engine.ReportOutcome({QStringLiteral("Test Failed - No data received."), DialogKind::Warning, DialogButtons::Ok, 0});
}

} // namespace tamble
