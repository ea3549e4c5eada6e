// The unattended hang-up mode ("h"): drop the modem line on the session port with a DTR pulse and
// the escape and hang-up commands, then end with "session finished, modem on hook".
#include "app/qt_serial_port.h"
#include "app/startup_log.h"
#include "app/unattended.h"

#include <QEventLoop>
#include <QTimer>

namespace tamble {

namespace {

void WaitTicks(int ticks)
{
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(TicksToMs(ticks)), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
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
                          QStringLiteral("Unable to open selected ComPort - check Settings"), kExitFailure);
    port.setDtr(true);
    WaitTicks(4);
    port.setDtr(false);
    WaitTicks(9);
    port.setDtr(true);
    WaitTicks(9);
    WaitTicks(28);
    port.putString(QByteArrayLiteral("+++"));
    WaitTicks(28);
    port.putString(QByteArrayLiteral("ATH\r"));
    WaitTicks(28);
    port.putString(QByteArrayLiteral("+++"));
    WaitTicks(28);
    port.putString(QByteArrayLiteral("ATH\r"));
    port.drain(1000);
    port.close();
    return EndWithLog(LogRoutine::Fatal, records.programDir, QStringLiteral("session finished, modem on hook"),
                      kExitSuccess);
}

} // namespace tamble
