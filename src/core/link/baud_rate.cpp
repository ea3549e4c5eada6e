#include "link/baud_rate.h"
#include "link/link_timing.h"

#include "settings/settings_record.h"
#include "link/framing.h"

namespace tamble {

namespace {

QByteArray baudCommand(const SessionState& s)
{
    return QByteArray("I") + BaudCode(s.newBaud);
}

void sendStep(SessionEngine& engine)
{
    const SessionState& s = engine.state();
    const QByteArray framed = '>' + FrameCommand(baudCommand(s), s.revision, engine.stationAddress());
    engine.host().setStatusText(QStringLiteral("Sending command: ") + QString::fromLatin1(framed));
    engine.host().port().putString(framed + '\r');
    engine.arm(9, true);
    engine.clearReceive();
}

} // namespace

int BaudStepSpeed(int step)
{
    static const int speeds[] = {19200, 9600, 4800, 2400, 1200};
    return step >= 1 && step <= 5 ? speeds[step - 1] : 0;
}

void BaudRateChanger::install(SessionEngine& engine)
{
    engine.setTransactionHandler(TransactionKind::SetBaudRate, this);
}

std::optional<QString> BaudRateChanger::start(SessionEngine& engine)
{
    SettingsRecord& set = engine.settings();
    if (set.useModem)
        return QStringLiteral("Must first uncheck 'Use Modem' in Settings");
    SessionState& s = engine.state();
    s.newBaud = set.baud;
    set.baud = 28800;
    s.setupPart = 0;
    s.transaction = TransactionKind::SetBaudRate;
    engine.StartSession();
    return std::nullopt;
}

void BaudRateChanger::dispatch(SessionEngine& engine)
{
    engine.sendFramed(baudCommand(engine.state()));
}

void BaudRateChanger::onLine(SessionEngine& engine)
{
    SessionState& s = engine.state();
    if (s.rxBuffer.contains("OK")) {
        s.transaction = TransactionKind::None;
        engine.EndSession();
        engine.settings().baud = s.newBaud;
        engine.ReportOutcome({QString::fromLatin1(kLoggerBaudSetPrefix) + QString::number(s.newBaud) +
                                  QStringLiteral(" baud."),
                              DialogKind::Information, DialogButtons::Ok, 0});
        return;
    }
    // Not the answer yet: keep waiting the rest of this step.
    engine.clearReceive();
    engine.arm(9);
}

void BaudRateChanger::onTimeout(SessionEngine& engine)
{
    SessionState& s = engine.state();
    ++s.setupPart;
    const int speed = BaudStepSpeed(s.setupPart);
    if (speed == 0) {
        s.transaction = TransactionKind::None;
        engine.EndSession();
        engine.settings().baud = s.newBaud;
        engine.ReportOutcome({NoResponseText('b'), DialogKind::Information,
                              DialogButtons::OkHelp, 26});
        return;
    }
    engine.host().port().setBaud(speed);
    sendStep(engine);
}

} // namespace tamble
