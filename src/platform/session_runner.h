#pragma once
// Runs the session engine in real time: the QSerialPort adapter, one QTimer as the timer trigger,
// timers for the engine's waits, the stopwatch, the log files. The runner never runs an event loop
// of its own: a wait is a timer whose continuation comes in a later event, and an unattended run
// ends the program's event loop when it has its outcome. Engine calls never nest: events that come
// while a handler is busy (a message box is up) are delivered when it is done.

#include "archive/archivist.h"
#include "program/app_records.h"
#include "platform/qt_serial_port.h"
#include "conversion/channel_scaling.h"
#include "link/session_engine.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <array>
#include <deque>
#include <functional>
#include <memory>

namespace tamble {

// The log line of an unattended run whose session ended without an outcome.
inline constexpr const char* kNoResultText = "Session ended without a result";

// The link, the outcomes and the files of a session; the windows and the auto-answer calls are the
// subclass's: HeadlessSessionRunner has none, the main window's runner binds them to its windows.
class SessionRunner : public QObject, public SessionHost {
    Q_OBJECT
public:
    explicit SessionRunner(AppRecords& records, QObject* parent = nullptr);
    ~SessionRunner() override;

    SessionEngine& engine() { return *m_engine; }
    QtSerialPort& qtPort() { return m_port; }
    ChannelScaling& scaling() { return m_scaling; }
    const QString& programDir() const { return m_records.programDir; }

    // Starts `kind` for an unattended run. When the run has its outcome (or its session ends
    // without one), `finished` is called with the exit status; by default it ends the program's
    // event loop with that status.
    void startUnattended(TransactionKind kind);
    // Starts `kind` for the windows: outcomes are dialogs, nothing ends the program.
    void startInteractive(TransactionKind kind);
    bool done() const { return m_done; }
    int exitCode() const { return m_exitCode; }
    std::function<void(int exitCode)> finished;

    // Dialogs; headless runs have none (every outcome of an unattended run is a log line).
    std::function<DialogAnswer(const Outcome&)> messageHandler;

    // --- SessionLink ---
    SerialPort& port() override { return m_port; }
    bool reserveTrigger(std::uint16_t& handle) override;
    void armTrigger(int ticks) override;
    void releaseTrigger() override;
    void after(int ticks, std::function<void()> then) override;
    void resetStopwatch() override { m_stopwatch.restart(); }
    std::int64_t elapsedSeconds() override { return m_stopwatch.isValid() ? m_stopwatch.elapsed() / 1000 : 0; }
    QDateTime currentDateTime() override { return QDateTime::currentDateTime(); }
    void setProgressTimerRunning(bool running) override;
    void hangupModem() override;
    void sessionEnded() override;
    // --- SessionOutcomes ---
    DialogAnswer showMessage(const Outcome& outcome) override;
    void appendLogLine(const QString& line) override;
    void fatalLogAndExit(const QString& line, int exitCode) override;
    // --- SessionFiles ---
    bool appendReceiveCsv(const QString& csvFile) override;
    bool autoExport(const QString& dataFile, const QString& csvName, int averaging) override;
    // Adds the file to the archive, then tells onDataFileComplete.
    void dataFileComplete(const QString& dataFile) override;
    // Told of every data file a download completes.
    std::function<void(const QString& dataFile)> onDataFileComplete;
    // Told when the archive could not take a completed file (it waits in the queue) or the file
    // could not be read for it; the note's text is also a log line.
    std::function<void(const ArchiveNote& note)> onArchiveNote;

private:
    enum class Event { Failure, Start, Read, Drain, Timeout, Tick, Continue, Count };
    // Hands `event` to the engine unless a handler is busy; then delivers what arrived meanwhile.
    void post(Event event);
    void dispatch(Event event);
    void finish(int exitCode);
    StatusDecodeResult decode(QByteArrayView record, const StatusContext& context, LoggerInfo& info,
                              MemoryGeometry& geometry);

    AppRecords& m_records;
    Archivist m_archivist;
    // A note on the archive the unattended run's log line ends with.
    QString m_archiveNote;
    QtSerialPort m_port;
    std::unique_ptr<SessionEngine> m_engine;
    ChannelScaling m_scaling;
    QTimer m_trigger;
    QTimer m_progress;
    QElapsedTimer m_stopwatch;
    int m_busy = 0;
    std::array<bool, static_cast<std::size_t>(Event::Count)> m_pending{};
    std::deque<std::function<void()>> m_continuations;  // waits that are over, in order
    QString m_failure;
    bool m_unattended = false;
    bool m_done = false;
    int m_exitCode = 1;
};

// A runner without windows: the unattended modes and the auto-answer service. Window actions do
// nothing; nobody hears a beep.
class HeadlessSessionRunner : public SessionRunner {
public:
    using SessionRunner::SessionRunner;

    // --- SessionOutcomes ---
    void beep() override {}
    // Each line also goes to standard output: a service's lines reach the journal.
    void appendLogLine(const QString& line) override;
    // --- SessionWindowView: no session window ---
    void setStatusText(const QString&) override {}
    void setMeter(int) override {}
    void setMeterVisible(bool) override {}
    void setBlockCountVisible(bool) override {}
    void setBlockCount(int) override {}
    void setFileText(const QString&) override {}
    void setAbortVisible(bool) override {}
    void setAbortEnabled(bool) override {}
    void setSessionWindowVisible(bool) override {}
    // --- ProgramWindows: none ---
    void setMainWindowEnabled(bool) override {}
    void setSetupWindowEnabled(bool) override {}
    void showMainWindow() override {}
    void showStatusWindow() override {}
    void closeStatusWindow() override {}
    void clearTableErrors() override {}
    void closeStationAddressDialog() override {}
    void showStatus() override {}
    void dialOutReply(const QByteArray&) override {}
    void realTimeLine(const QByteArray&) override {}
    void offerGraph() override {}
    void setGraphLoadOnShow(bool) override {}
};

// An unattended download, setup or procedure: no logger dials in during it.
class UnattendedSessionRunner final : public HeadlessSessionRunner {
public:
    using HeadlessSessionRunner::HeadlessSessionRunner;

    QString nextAutoAnswerFile() override { return QString(); }
    void startResendTimer() override {}
    void autoAnswerHangup() override {}
};

} // namespace tamble
