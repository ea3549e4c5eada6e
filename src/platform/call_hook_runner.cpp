#include "platform/call_hook_runner.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <chrono>

namespace tamble {

namespace {

// Why `command` cannot be started, found before trying; empty when it looks runnable. A name
// without a folder is looked up in PATH, as QProcess does.
QString NotRunnableReason(const CallHookCommand& command)
{
    const QString notFound = QString::fromLatin1(kCallHookNotFoundReason);
    if (!command.program.contains(QLatin1Char('/')))
        return QStandardPaths::findExecutable(command.program).isEmpty() ? notFound : QString();
    const QFileInfo file(QDir(command.workingDir), command.program);
    if (!file.exists())
        return notFound;
    if (file.isDir() || !file.isExecutable())
        return QString::fromLatin1(kCallHookNotExecutableReason);
    return QString();
}

} // namespace

CallHookRunner::CallHookRunner(QObject* parent) : QObject(parent)
{
    m_limit.setSingleShot(true);
    connect(&m_limit, &QTimer::timeout, this, [this] {
        if (!m_process)
            return;
        m_stopped = true;
        m_process->kill();   // its finished() ends the job
    });
}

CallHookRunner::~CallHookRunner()
{
    if (!m_process)
        return;
    // The program is going away with a command still running: it is killed and reaped.
    m_process->disconnect(this);
    m_process->kill();
    m_process->waitForFinished(1000);
    delete m_process;
}

void CallHookRunner::run(CallHookCommand command, Done done)
{
    m_queue.push_back({std::move(command), std::move(done)});
    startNext();
}

void CallHookRunner::startNext()
{
    if (m_running || m_queue.empty())
        return;
    m_running = true;
    m_output = FirstLineCollector();
    m_stopped = false;
    const CallHookCommand& command = m_queue.front().command;
    if (const QString reason = NotRunnableReason(command); !reason.isEmpty()) {
        QTimer::singleShot(0, this, [this, line = CallHookCannotRunText(command.program, reason)] { end(line); });
        return;
    }

    m_process = new QProcess(this);
    m_process->setProgram(command.program);
    m_process->setArguments(command.arguments);
    m_process->setWorkingDirectory(command.workingDir);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setStandardInputFile(QProcess::nullDevice());
    connect(m_process, &QProcess::readyReadStandardOutput, this, &CallHookRunner::readOutput);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        // A command that crashes or is killed ends in finished(); one that never started does not.
        if (error != QProcess::FailedToStart)
            return;
        const QString line = CallHookCannotRunText(m_queue.front().command.program, m_process->errorString());
        QTimer::singleShot(0, this, [this, line] { end(line); });
    });
    connect(m_process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        onFinished(exitCode, status == QProcess::CrashExit);
    });
    m_limit.start(std::chrono::seconds(command.timeLimitSeconds));
    m_process->start();
}

void CallHookRunner::readOutput()
{
    if (!m_process)
        return;
    // QProcess holds no more than one read from the pipe: taking it all keeps memory bounded.
    while (m_process->bytesAvailable() > 0)
        m_output.feed(m_process->readAll());
}

void CallHookRunner::onFinished(int exitCode, bool crashed)
{
    readOutput();
    const CallHookCommand& command = m_queue.front().command;
    if (m_stopped)
        end(CallHookStoppedText(command.timeLimitSeconds));
    else if (crashed)
        end(CallHookCrashedText(m_output.line()));
    else
        end(CallHookExitText(exitCode, m_output.line()));
}

void CallHookRunner::end(const QString& logLine)
{
    m_limit.stop();
    if (m_process) {
        m_process->disconnect(this);
        m_process->deleteLater();   // it may be in its own signal
        m_process = nullptr;
    }
    Job job = std::move(m_queue.front());
    m_queue.pop_front();
    m_running = false;
    if (job.done)
        job.done(logLine);
    startNext();
}

} // namespace tamble
