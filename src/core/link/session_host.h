#pragma once
// Everything the session engine needs from outside: the port, the timer trigger, tick delays, the
// stopwatch and clock, dialogs, log lines and the windows around a session. The Qt runner
// (src/app/session_runner.h) performs these actions in real time; tests perform them on virtual time.
// Window actions have empty defaults so a headless host implements only what it has.

#include "link/serial_port.h"
#include "util/user_dialog.h"

#include <QDateTime>
#include <QString>
#include <cstdint>

namespace tamble {

// Unattended command-line modes a message applies to (bit flags).
enum UnattendedMode : unsigned {
    kNoUnattended = 0,
    kUnattendedReceive = 1,
    kUnattendedSendSetup = 2,
};

// The end of a transaction as the user (or the log) is told of it.
struct Outcome {
    QString message;
    DialogKind kind = DialogKind::Information;
    DialogButtons buttons = DialogButtons::Ok;
    int helpContext = 0;
    unsigned unattended = kNoUnattended;  // UnattendedMode flags
};

class SessionHost {
public:
    virtual ~SessionHost() = default;

    // --- port, trigger, time ---
    virtual SerialPort& port() = 0;
    // Reserve the one timer trigger; false when the library refuses.
    virtual bool reserveTrigger(std::uint16_t& handle) = 0;
    // Arm the trigger to fire once after `ticks`; 0 disarms it. Firing calls SessionEngine::onTimeout.
    virtual void armTrigger(int ticks) = 0;
    virtual void releaseTrigger() = 0;
    // Wait `ticks` of 1/18.2 s. Port events that arrive meanwhile are delivered after the wait.
    virtual void waitTicks(int ticks, bool processMessages) = 0;
    virtual void resetStopwatch() = 0;
    virtual std::int64_t elapsedSeconds() = 0;
    virtual QDateTime currentDateTime() = 0;

    // --- outcomes ---
    virtual DialogAnswer showMessage(const Outcome& outcome) = 0;
    // One line to the session log ("TLLOG.TXT", appended).
    virtual void appendLogLine(const QString& line) = 0;
    // Recreate the session log with this one line, hang a modem up and end the program.
    // Afterwards the engine does nothing more.
    virtual void fatalLogAndExit(const QString& line, int exitCode) = 0;
    virtual void beep() {}

    // --- session window and other windows ---
    virtual void setStatusText(const QString&) {}
    virtual void setMeter(int /*percent*/) {}
    virtual void setMeterVisible(bool) {}
    virtual void setProgressTimerRunning(bool) {}  // Timer1, 165 ms; ticks call onProgressTick
    virtual void setBlockCountVisible(bool) {}
    virtual void setBlockCount(int) {}
    virtual void setFileText(const QString&) {}
    virtual void setAbortVisible(bool) {}
    virtual void setAbortEnabled(bool) {}
    virtual void setSessionWindowVisible(bool) {}
    virtual void setMainWindowEnabled(bool) {}
    virtual void setSetupWindowEnabled(bool) {}
    virtual void showMainWindow() {}
    virtual void showStatusWindow() {}
    virtual void closeStatusWindow() {}
    virtual void clearTableErrors() {}
    // The station address dialog is enabled and closed when its session ends.
    virtual void closeStationAddressDialog() {}
    // Called at the end of EndSession, after the port is closed (or kept for a modem).
    virtual void sessionEnded() {}

    // --- status and real time ---
    virtual void showStatus() {}                          // ShowStatus: LoggerInfo is new
    virtual void dialOutReply(const QByteArray&) {}       // reply to the dial-out schedule query
    virtual void realTimeLine(const QByteArray&) {}       // a real-time reading line (not "OK")
    // Receive-csv mode: append the current readings line to `csvFile`; false when it failed.
    virtual bool appendReceiveCsv(const QString& /*csvFile*/) { return false; }
    // A logger dialled in: the next automatic data file name (empty: none could be chosen).
    virtual QString nextAutoAnswerFile() { return QString(); }

    // --- after a download ---
    // Export the data file as CSV (auto export); false when the export failed.
    virtual bool autoExport(const QString& /*dataFile*/, const QString& /*csvName*/, int /*averaging*/) { return true; }
    virtual void offerGraph() {}                  // "Graph Data?" answered Yes
    virtual void setGraphLoadOnShow(bool) {}
    virtual void startResendTimer() {}            // Timer2 after a dialled-in download
    virtual void autoAnswerHangup() {}            // AAHangupModem
    virtual void hangupModem() {}
};

} // namespace tamble
