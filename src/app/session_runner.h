#pragma once
// Runs the session engine in real time: the QSerialPort adapter, one QTimer as the timer trigger,
// tick waits in a local event loop, the stopwatch, the log files. Engine calls never nest: events
// that arrive while the engine is busy (a tick wait inside a handler) are delivered when it is done.

#include "app/app_records.h"
#include "app/qt_serial_port.h"
#include "conversion/channel_scaling.h"
#include "link/session_engine.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

namespace tamble {

class SessionRunner : public QObject, public SessionHost {
    Q_OBJECT
public:
    explicit SessionRunner(AppRecords& records, QObject* parent = nullptr);
    ~SessionRunner() override;

    SessionEngine& engine() { return *m_engine; }
    QtSerialPort& qtPort() { return m_port; }

    // Starts `kind` (unattended) and runs until the program is asked to end or the session ends.
    // Returns the exit status; a session that ends without an outcome is a failure.
    int RunUnattended(TransactionKind kind);

    // Dialogs; headless runs have none (every outcome of an unattended run is a log line).
    std::function<DialogAnswer(const Outcome&)> messageHandler;

    // --- SessionHost ---
    SerialPort& port() override { return m_port; }
    bool reserveTrigger(std::uint16_t& handle) override;
    void armTrigger(int ticks) override;
    void releaseTrigger() override;
    void waitTicks(int ticks, bool processMessages) override;
    void resetStopwatch() override { m_stopwatch.restart(); }
    std::int64_t elapsedSeconds() override { return m_stopwatch.isValid() ? m_stopwatch.elapsed() / 1000 : 0; }
    QDateTime currentDateTime() override { return QDateTime::currentDateTime(); }
    DialogAnswer showMessage(const Outcome& outcome) override;
    void appendLogLine(const QString& line) override;
    void fatalLogAndExit(const QString& line, int exitCode) override;
    void setProgressTimerRunning(bool running) override;
    bool appendReceiveCsv(const QString& csvFile) override;
    bool autoExport(const QString& dataFile, const QString& csvName, int averaging) override;
    void hangupModem() override;
    void sessionEnded() override;

private:
    enum class Event { Start, Read, Drain, Timeout, Tick, Failure };
    // Hands `event` to the engine unless it is busy; then delivers what arrived meanwhile.
    void Post(Event event);
    void Dispatch(Event event);
    StatusDecodeResult Decode(QByteArrayView record, const StatusContext& context, LoggerInfo& info,
                              MemoryGeometry& geometry);

    AppRecords& m_records;
    QtSerialPort m_port;
    std::unique_ptr<SessionEngine> m_engine;
    ChannelScaling m_scaling;
    QTimer m_trigger;
    QTimer m_progress;
    QElapsedTimer m_stopwatch;
    QEventLoop* m_loop = nullptr;
    int m_busy = 0;
    bool m_pending[6] = {};
    QString m_failure;
    bool m_done = false;
    int m_exitCode = 1;
};

} // namespace tamble
