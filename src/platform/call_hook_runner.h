#pragma once
// Runs the after-call commands, one at a time, without waiting for them: a command asked for
// while another runs waits its turn. Each gets its time limit, after which it is killed (what
// it started itself is its own affair). Its output, standard output and error together, is read
// as it comes: the first line is kept for the log line, the rest dropped, so a command that
// writes without end neither blocks on a full pipe nor fills memory. When a command has ended
// (or could not start) its log line goes to the function given with it, in a later event than
// the one that asked for it.

#include "archive/call_hook.h"

#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>

class QProcess;

namespace tamble {

class CallHookRunner final : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const QString& logLine)>;

    explicit CallHookRunner(QObject* parent = nullptr);
    ~CallHookRunner() override;

    void run(CallHookCommand command, Done done);
    // A command runs or waits.
    bool busy() const { return !m_queue.empty(); }

private:
    struct Job {
        CallHookCommand command;
        Done done;
    };
    void startNext();
    void readOutput();
    void onFinished(int exitCode, bool crashed);
    void end(const QString& logLine);

    std::deque<Job> m_queue;     // the first one runs when m_running
    bool m_running = false;
    QProcess* m_process = nullptr;
    QTimer m_limit;
    FirstLineCollector m_output;
    bool m_stopped = false;      // the time limit killed it
};

} // namespace tamble
