// The unattended hang-up mode ("h"): drop the modem line on the session port with a DTR pulse and
// the escape and hang-up commands, then end with "session finished, modem on hook".
#include "platform/qt_serial_port.h"
#include "settings/port_diagnosis.h"
#include "platform/startup_log.h"
#include "app/unattended.h"
#include "link/link_timing.h"

#include <QCoreApplication>
#include <QTimer>
#include <functional>
#include <vector>

namespace tamble {

namespace {

// The escape sequence's guard time before and after "+++" and "ATH".
constexpr int kEscapeGuardTicks = 28;

struct Step {
    int ticksBefore;
    std::function<void()> action;
};

// Runs the steps one after another, each `ticksBefore` after the previous one, on timers.
void RunSteps(std::shared_ptr<std::vector<Step>> steps, std::size_t next, std::function<void()> done)
{
    if (next >= steps->size()) {
        done();
        return;
    }
    const Step& step = (*steps)[next];
    QTimer::singleShot(static_cast<int>(TicksToMs(step.ticksBefore)), Qt::PreciseTimer,
                       [steps, next, done = std::move(done)]() mutable {
                           (*steps)[next].action();
                           RunSteps(steps, next + 1, std::move(done));
                       });
}

} // namespace

int RunHangupMode(AppRecords& records)
{
    // The port is the settings' port at the settings' speed.
    QtSerialPort port(records.programDir);
    port.setPortNumber(records.settings.portNumber);
    port.setBaud(records.settings.baud);
    if (!port.open())
        return EndWithLog(LogRoutine::Fatal, records.programDir,
                          QString::fromLatin1(kPortOpenFailedText), kExitFailure);
    port.setDtr(true);
    auto put = [&port](const char* text) { return [&port, text] { port.putString(QByteArray(text)); }; };
    auto steps = std::make_shared<std::vector<Step>>(std::vector<Step>{
        {ticks::kDtrRaise, [&port] { port.setDtr(false); }},
        {ticks::kDtrHangupLow, [&port] { port.setDtr(true); }},
        {ticks::kDtrHangupLow + kEscapeGuardTicks, put("+++")},
        {kEscapeGuardTicks, put("ATH\r")},
        {kEscapeGuardTicks, put("+++")},
        {kEscapeGuardTicks, put("ATH\r")},
    });
    RunSteps(steps, 0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    port.drain(1000);
    port.close();
    return EndWithLog(LogRoutine::Fatal, records.programDir, QStringLiteral("session finished, modem on hook"),
                      kExitSuccess);
}

} // namespace tamble
