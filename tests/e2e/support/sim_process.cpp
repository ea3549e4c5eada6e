#include "e2e/support/sim_process.h"

#include "settings/settings_record.h"
#include "setup/setup_file.h"
#include "setup/setup_record.h"
#include "writer/tl1_writer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cstdio>

#ifndef TAMBLE_BIN_DIR
#define TAMBLE_BIN_DIR "."
#endif
#ifndef TAMBLE_SOURCE_DIR
#define TAMBLE_SOURCE_DIR "."
#endif

namespace tamble::e2e {

QString BuiltProgram(const QString& name)
{
    return QStringLiteral(TAMBLE_BIN_DIR) + QLatin1Char('/') + name;
}

SimProcess::SimProcess() = default;

SimProcess::~SimProcess()
{
    stop();
}

bool SimProcess::start(const QStringList& options, int timeoutMs)
{
    stop();
    m_error.clear();
    m_output.clear();
    m_ptyPath.clear();
    m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid()) {
        m_error = QStringLiteral("cannot create a temporary folder for the sim log");
        return false;
    }
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    QStringList args = options;
    args << QStringLiteral("--log") << logPath();
    m_process->start(BuiltProgram(QStringLiteral("tamble-sim")), args);
    if (!m_process->waitForStarted(timeoutMs)) {
        m_error = QStringLiteral("tamble-sim did not start: ") + m_process->errorString();
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (!m_output.contains('\n')) {
        const int left = timeoutMs - static_cast<int>(clock.elapsed());
        if (left <= 0 || m_process->state() != QProcess::Running) {
            m_output += m_process->readAll();
            break;
        }
        m_process->waitForReadyRead(left);
        m_output += m_process->readAll();
    }
    const qsizetype nl = m_output.indexOf('\n');
    if (nl < 0) {
        m_error = QStringLiteral("tamble-sim printed no pty path: ") + QString::fromLatin1(m_output);
        stop();
        return false;
    }
    m_ptyPath = QString::fromLatin1(m_output.left(nl)).trimmed();
    m_output.remove(0, nl + 1);
    if (!m_ptyPath.startsWith(QLatin1Char('/'))) {
        m_error = QStringLiteral("tamble-sim printed no pty path: ") + m_ptyPath;
        stop();
        return false;
    }
    return true;
}

void SimProcess::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(3000)) {
            m_process->kill();
            m_process->waitForFinished(3000);
        }
    }
    m_output += m_process->readAll();
    m_process.reset();
}

bool SimProcess::running() const
{
    return m_process && m_process->state() == QProcess::Running;
}

QString SimProcess::logPath() const
{
    return m_dir ? m_dir->filePath(QStringLiteral("sim.log")) : QString();
}

QString SimProcess::output()
{
    if (m_process)
        m_output += m_process->readAll();
    return QString::fromLatin1(m_output);
}

QStringList SimProcess::logLines() const
{
    QFile f(logPath());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (!line.isEmpty())
            lines << QString::fromLatin1(line);
    }
    return lines;
}

QStringList SimProcess::logLines(const QString& firstWord) const
{
    QStringList out;
    for (const QString& line : logLines()) {
        if (line == firstWord || line.startsWith(firstWord + QLatin1Char(' ')))
            out << line;
    }
    return out;
}

bool SimProcess::waitForLogLine(const QString& firstWord, int count, int timeoutMs) const
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (logLines(firstWord).size() >= count)
            return true;
        if (clock.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(20);
    }
}

ProgramHome::ProgramHome()
{
    if (qEnvironmentVariableIsSet("TAMBLE_KEEP_E2E")) {
        m_dir.setAutoRemove(false);
        std::fprintf(stderr, "e2e program directory kept: %s\n", qPrintable(m_dir.path()));
    }
}

ProgramHome::~ProgramHome() = default;

bool ProgramHome::valid() const
{
    return m_dir.isValid();
}

QString ProgramHome::path() const
{
    return m_dir.path();
}

QString ProgramHome::filePath(const QString& name) const
{
    return m_dir.filePath(name);
}

bool ProgramHome::exists(const QString& name) const
{
    return QFileInfo::exists(filePath(name));
}

bool ProgramHome::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile f(filePath(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

QByteArray ProgramHome::readFile(const QString& name) const
{
    QFile f(filePath(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString ProgramHome::readText(const QString& name) const
{
    return QString::fromLatin1(readFile(name));
}

bool ProgramHome::copyFromSource(const QString& relativePath) const
{
    const QString from = QStringLiteral(TAMBLE_SOURCE_DIR) + QLatin1Char('/') + relativePath;
    const QString to = filePath(QFileInfo(relativePath).fileName());
    QFile::remove(to);
    return QFile::copy(from, to);
}

QStringList ProgramHome::files() const
{
    return QDir(path()).entryList(QDir::Files, QDir::Name);
}

ProgramRun RunProgram(const ProgramHome& home, const QString& comPath, const QStringList& arguments,
                      int timeLimitMs, const QStringList& extraEnvironment)
{
    return RunProgramIn(home.path(), comPath, arguments, timeLimitMs, extraEnvironment);
}

ProgramRun RunProgramIn(const QString& homePath, const QString& comPath, const QStringList& arguments,
                        int timeLimitMs, const QStringList& extraEnvironment)
{
    ProgramRun run;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TAMBLE_HOME"), homePath);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!comPath.isEmpty())
        env.insert(QStringLiteral("TAMBLE_COM1"), comPath);
    for (const QString& entry : extraEnvironment) {
        const qsizetype eq = entry.indexOf(QLatin1Char('='));
        if (eq > 0)
            env.insert(entry.left(eq), entry.mid(eq + 1));
    }
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(homePath);
    process.start(BuiltProgram(QStringLiteral("tamble-logger")), arguments);
    run.started = process.waitForStarted(10000);
    if (!run.started) {
        run.stderrText = process.errorString();
        return run;
    }
    if (!process.waitForFinished(timeLimitMs)) {
        run.timedOut = true;
        process.kill();
        process.waitForFinished(5000);
    }
    run.stdoutText = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.stderrText = QString::fromLocal8Bit(process.readAllStandardError());
    run.crashed = !run.timedOut && process.exitStatus() == QProcess::CrashExit;
    run.exitCode = (run.timedOut || run.crashed) ? -1 : process.exitCode();
    return run;
}

bool PrepareAutoAnswerHome(const ProgramHome& home, const QByteArray& setupDescription, const QStringList& setupFiles,
                           int counter)
{
    SettingsRecord set;
    set.baud = 9600;
    set.useModem = true;
    set.network = true;
    set.wireless = true;
    set.autoAnswer = true;
    set.autoFileCounter = counter;
    SetupRecord setup = DefaultSetupRecord(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 30)));
    setup.setDescription(PadWithSpaces(setupDescription, kDescriptionWidth));
    bool ok = home.writeFile(QStringLiteral("tblog.ini"), SerializeSettings(set));
    for (const QString& name : setupFiles)
        ok = ok && SaveSetupFile(home.filePath(name), setup).ok;
    return ok;
}

bool WriteTwoProbeRecording(const QString& path, int readings, const QByteArray& description,
                            const QByteArray& firstLabel)
{
    RecordingPlan plan;
    Tl1Header& h = plan.header;
    for (int c = 0; c < 4; ++c) {
        const bool on = c < 2;
        h.typeCodes[static_cast<std::size_t>(c)] = on ? '3' : '0';
        h.scalingTexts[static_cast<std::size_t>(c)] = on ? "0.0000255.00" : "            ";
        h.labels[static_cast<std::size_t>(c)] = c == 0 ? firstLabel : QByteArray("Probe ") + char('1' + c);
    }
    h.modelDigit = '1';
    h.resolutionBits = 8;
    h.firstStamp = "Mon  2-Nov-2026  8:00:00";
    h.lastStamp = "Mon  2-Nov-2026  8:59:00";
    h.description = description;
    h.clockStamp = "Tue  3-Nov-2026 08:00:00";
    h.pcClockText = "03/11/2026 08:00:02";
    h.amPm = false;
    h.statusByte1 = 0x02;
    h.rateCode = 'G';   // one minute
    h.channelFlags = 0x03;
    for (int i = 0; i < readings; ++i) {
        plan.readings.push_back(static_cast<std::uint16_t>(i % 256));
        plan.readings.push_back(static_cast<std::uint16_t>(100));
    }
    return WriteTl1File(path, MakeRecording(plan));
}

} // namespace tamble::e2e
