#pragma once
// Everything the session engine needs from outside, grouped by concern: the link (port, timer
// trigger, tick delays, stopwatch and clock), outcomes and log lines, the windows around a session,
// the files a session writes, and the auto-answer calls. The Qt runner (src/platform/session_runner.h)
// performs these actions in real time; tests perform them on virtual time. Every method is pure:
// a host that has no windows says so with visible no-ops, so a missing binding fails to compile.

#include "link/serial_port.h"
#include "util/user_dialog.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <utility>

namespace tamble {

// The end of a transaction as the user (or the log) is told of it.
struct Outcome {
    Outcome() = default;
    Outcome(QString text, DialogKind kind = DialogKind::Information, DialogButtons buttons = DialogButtons::Ok,
            int helpContext = 0, bool destructive = false)
        : message(std::move(text)), kind(kind), buttons(buttons), helpContext(helpContext), destructive(destructive)
    {
    }

    QString message;
    DialogKind kind = DialogKind::Information;
    DialogButtons buttons = DialogButtons::Ok;
    int helpContext = 0;
    // The affirmative answer erases or overwrites data: the negative one is the default.
    bool destructive = false;
};

// "No response from logger (<step>)": the logger went quiet at `step` ('a' to 'd').
inline QString NoResponseText(char step)
{
    return QStringLiteral("No response from logger (") + QLatin1Char(step) + QLatin1Char(')');
}

// The port, the one timer trigger, waits and the clocks.
class SessionLink {
public:
    virtual ~SessionLink() = default;
    virtual SerialPort& port() = 0;
    // Reserve the one timer trigger; false when the library refuses.
    virtual bool reserveTrigger(std::uint16_t& handle) = 0;
    // Arm the trigger to fire once after `ticks`; 0 disarms it. Firing calls SessionEngine::onTimeout.
    virtual void armTrigger(int ticks) = 0;
    virtual void releaseTrigger() = 0;
    // Call `then` once `ticks` of 1/18.2 s have passed, from a later event (never from inside this
    // call, unless a test host runs waits at once). Several waits may be pending at a time.
    virtual void after(int ticks, std::function<void()> then) = 0;
    virtual void resetStopwatch() = 0;
    virtual std::int64_t elapsedSeconds() = 0;
    virtual QDateTime currentDateTime() = 0;
    virtual void setProgressTimerRunning(bool running) = 0;  // Timer1, 165 ms; ticks call onProgressTick
    virtual void hangupModem() = 0;
    // Called at the end of EndSession, after the port is closed (or kept for a modem).
    virtual void sessionEnded() = 0;
};

// How a session ends, as the user or the log is told.
class SessionOutcomes {
public:
    virtual ~SessionOutcomes() = default;
    virtual DialogAnswer showMessage(const Outcome& outcome) = 0;
    // One line to the session log ("TLLOG.TXT", appended).
    virtual void appendLogLine(const QString& line) = 0;
    // Recreate the session log with this one line, hang a modem up and end the program.
    // Afterwards the engine does nothing more.
    virtual void fatalLogAndExit(const QString& line, int exitCode) = 0;
    virtual void beep() = 0;
};

// The session window ("Serial Link").
class SessionWindowView {
public:
    virtual ~SessionWindowView() = default;
    virtual void setStatusText(const QString& text) = 0;
    virtual void setMeter(int percent) = 0;
    virtual void setMeterVisible(bool visible) = 0;
    virtual void setBlockCountVisible(bool visible) = 0;
    virtual void setBlockCount(int blocks) = 0;
    virtual void setFileText(const QString& text) = 0;
    virtual void setAbortVisible(bool visible) = 0;
    virtual void setAbortEnabled(bool enabled) = 0;
    virtual void setSessionWindowVisible(bool visible) = 0;
};

// The program's other windows, as a session touches them.
class ProgramWindows {
public:
    virtual ~ProgramWindows() = default;
    virtual void setMainWindowEnabled(bool enabled) = 0;
    virtual void setSetupWindowEnabled(bool enabled) = 0;
    virtual void showMainWindow() = 0;
    virtual void showStatusWindow() = 0;
    virtual void closeStatusWindow() = 0;
    virtual void clearTableErrors() = 0;
    // The station address dialog is enabled and closed when its session ends.
    virtual void closeStationAddressDialog() = 0;
    virtual void showStatus() = 0;                            // ShowStatus: LoggerInfo is new
    virtual void dialOutReply(const QByteArray& reply) = 0;   // reply to the dial-out schedule query
    virtual void realTimeLine(const QByteArray& line) = 0;    // a real-time reading line (not "OK")
    virtual void offerGraph() = 0;                            // "Graph Data?" answered Yes
    virtual void setGraphLoadOnShow(bool on) = 0;
};

// The files a session writes besides its data file.
class SessionFiles {
public:
    virtual ~SessionFiles() = default;
    // Receive-csv mode: append the current readings line to `csvFile`; false when it failed.
    virtual bool appendReceiveCsv(const QString& csvFile) = 0;
    // Export the data file as CSV (auto export); false when the export failed.
    virtual bool autoExport(const QString& dataFile, const QString& csvName, int averaging) = 0;
    // A download's data file is complete under its final name.
    virtual void dataFileComplete(const QString& dataFile) = 0;
};

// A logger that dialled in.
class AutoAnswerCalls {
public:
    virtual ~AutoAnswerCalls() = default;
    // The next automatic data file name (empty: none could be chosen).
    virtual QString nextAutoAnswerFile() = 0;
    virtual void startResendTimer() = 0;   // Timer2 after a dialled-in download
    virtual void autoAnswerHangup() = 0;   // AAHangupModem
};

class SessionHost : public SessionLink,
                    public SessionOutcomes,
                    public SessionWindowView,
                    public ProgramWindows,
                    public SessionFiles,
                    public AutoAnswerCalls {
};

} // namespace tamble
