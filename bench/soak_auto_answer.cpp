// soak_auto_answer [CALLS] [--seed N] [--corrupt PERCENT] [--silent PERCENT] [--drop PERCENT]
//
// A long run of the auto-answer service: build/bin/tamble-logger --auto-answer --calls CALLS
// (200 when left out) answers tamble-sim calling CALLS times in a row, with replies damaged
// now and then, calls that never answer and calls that lose the carrier mid-download. It
// checks that every call ends with a log line, that every completed download holds exactly
// the sim's memory image, and that the program's resident memory and open files do not grow
// between call 10 and the last call. Prints the figures; exit status 0 when all held.
// Builds nothing: run it after building tamble-logger, tamble-sim and this program.

#include "e2e/support/sim_process.h"

#include "settings/settings_record.h"
#include "setup/setup_file.h"
#include "setup/setup_record.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <cstdio>
#include <map>

using namespace tamble;
using namespace tamble::e2e;

namespace {

struct Options {
    int calls = 200;
    QString seed = QStringLiteral("1");
    QString corrupt = QStringLiteral("1");
    QString silent = QStringLiteral("3");
    QString drop = QStringLiteral("3");
};

struct Sample {
    bool taken = false;
    qint64 rssKb = 0;
    int fds = 0;
};

// VmRSS (kB) and open file descriptors of a running process.
Sample SampleProcess(qint64 pid)
{
    Sample s;
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return s;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            s.rssKb = line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    s.fds = static_cast<int>(QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size());
    s.taken = true;
    return s;
}

QStringList Lines(const QString& text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}


std::optional<Options> ParseOptions(const QStringList& args)
{
    Options o;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        QString* target = a == QLatin1String("--seed") ? &o.seed
                          : a == QLatin1String("--corrupt") ? &o.corrupt
                          : a == QLatin1String("--silent") ? &o.silent
                          : a == QLatin1String("--drop") ? &o.drop : nullptr;
        if (target && i + 1 < args.size()) {
            *target = args[++i];
            continue;
        }
        bool ok = false;
        o.calls = a.toInt(&ok);
        if (!ok || o.calls < 11)
            return std::nullopt;
    }
    return o;
}

// What one call left behind.
struct Call {
    QString fault;        // "" or "silent" / "drop after k" as the sim drew it
    QStringList logLines; // lines of TLLOG.TXT written during the call
};

class Soak {
public:
    explicit Soak(const Options& o) : m_o(o) {}

    int run();

private:
    bool start();
    void poll();
    void checkCalls();
    void printFigures(qint64 elapsedMs);

    Options m_o;
    SimProcess m_sim;
    ProgramHome m_home;
    QProcess m_program;
    qint64 m_pid = 0;
    std::map<int, Call> m_calls;
    int m_currentCall = 0;
    int m_logLinesSeen = 0;
    int m_simLinesSeen = 0;
    Sample m_at10, m_atLast;
    int m_noise = 0;
    int m_verified = 0;
    QStringList m_faults;
};

bool Soak::start()
{
    if (!PrepareAutoAnswerHome(m_home, "Soak setup", {QStringLiteral("Soak.set"), QStringLiteral("default.set")})) {
        m_faults << QStringLiteral("cannot prepare the program directory");
        return false;
    }
    const QString calls = QString::number(m_o.calls);
    if (!m_sim.start({"--calls", calls, "--call-delay", "1500", "--no-pace", "--description", "Soak;Soak",
                      "--corrupt-replies", m_o.corrupt, "--silent-calls", m_o.silent, "--drop-calls", m_o.drop,
                      "--fault-seed", m_o.seed, "--dump-image", m_home.filePath(QStringLiteral("IMAGE.TL1"))})) {
        m_faults << QStringLiteral("tamble-sim: ") + m_sim.errorText();
        return false;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TAMBLE_HOME"), m_home.path());
    env.insert(QStringLiteral("TAMBLE_COM1"), m_sim.ptyPath());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_program.setProcessEnvironment(env);
    m_program.setWorkingDirectory(m_home.path());
    m_program.setProcessChannelMode(QProcess::MergedChannels);
    m_program.setStandardOutputFile(m_home.filePath(QStringLiteral("program-output.txt")));
    m_program.start(BuiltProgram(QStringLiteral("tamble-logger")), {"--auto-answer", "--calls", calls});
    if (!m_program.waitForStarted(10000)) {
        m_faults << QStringLiteral("tamble-logger did not start");
        return false;
    }
    m_pid = m_program.processId();
    return true;
}

// Reads what the sim and the program logged since the last look: calls placed, their
// hang-ups (the moment the samples are taken) and the program's log lines.
void Soak::poll()
{
    const QStringList logLines = Lines(m_home.readText(QStringLiteral("TLLOG.TXT")));
    for (; m_logLinesSeen < logLines.size(); ++m_logLinesSeen)
        m_calls[m_currentCall].logLines << logLines[m_logLinesSeen];
    const QStringList simLines = m_sim.logLines();
    static const QRegularExpression callLine(QStringLiteral("^CALL (\\d+) ?(.*)$"));
    for (; m_simLinesSeen < simLines.size(); ++m_simLinesSeen) {
        const QString& line = simLines[m_simLinesSeen];
        if (const auto m = callLine.match(line); m.hasMatch()) {
            m_currentCall = m.captured(1).toInt();
            m_calls[m_currentCall].fault = m.captured(2);
            if (m_currentCall % 10 == 0)
                std::printf("call %d\n", m_currentCall), std::fflush(stdout);
        } else if (line.startsWith(QLatin1String("NOISE"))) {
            ++m_noise;
        } else if (line == QLatin1String("HANGUP")) {
            Sample* s = m_currentCall == 10 ? &m_at10 : m_currentCall == m_o.calls ? &m_atLast : nullptr;
            if (s && !s->taken)
                *s = SampleProcess(m_pid);
        }
    }
}

void Soak::checkCalls()
{
    const QList<QByteArray> image = DataLines(m_home.readFile(QStringLiteral("IMAGE.TL1")));
    if (image.isEmpty())
        m_faults << QStringLiteral("the sim wrote no image");
    static const QRegularExpression received(QStringLiteral("^Rec\\. (\\S+\\.tl1)"));
    for (int n = 1; n <= m_o.calls; ++n) {
        const Call& c = m_calls[n];
        if (c.logLines.isEmpty())
            m_faults << QStringLiteral("call %1 (%2) ended without a log line").arg(n).arg(c.fault);
        for (const QString& line : c.logLines) {
            const auto m = received.match(line);
            if (!m.hasMatch())
                continue;
            if (!c.fault.isEmpty())
                m_faults << QStringLiteral("call %1 (%2) completed a download: %3").arg(n).arg(c.fault, line);
            const QString name = QFileInfo(m.captured(1)).fileName();
            if (DataLines(m_home.readFile(name)) == image)
                ++m_verified;
            else
                m_faults << QStringLiteral("call %1: %2 differs from the sim's image").arg(n).arg(name);
        }
    }
}

void Soak::printFigures(qint64 elapsedMs)
{
    int silent = 0, dropped = 0;
    for (const auto& [n, c] : m_calls) {
        silent += c.fault == QLatin1String("silent");
        dropped += c.fault.startsWith(QLatin1String("drop"));
    }
    std::printf("calls answered:      %d of %d in %.1f min (%.1f s a call)\n", m_currentCall, m_o.calls,
                elapsedMs / 60000.0, elapsedMs / 1000.0 / qMax(1, m_currentCall));
    std::printf("faults injected:     %d damaged replies, %d silent calls, %d dropped calls (seed %s)\n", m_noise,
                silent, dropped, qPrintable(m_o.seed));
    std::printf("log lines:           %d\n", m_logLinesSeen);
    std::printf("downloads verified:  %d identical to the sim's image\n", m_verified);
    std::printf("VmRSS after call 10: %lld kB, after call %d: %lld kB (%+lld kB)\n", m_at10.rssKb, m_o.calls,
                m_atLast.rssKb, m_atLast.rssKb - m_at10.rssKb);
    std::printf("open fds after call 10: %d, after call %d: %d\n", m_at10.fds, m_o.calls, m_atLast.fds);
}

int Soak::run()
{
    QElapsedTimer clock;
    clock.start();
    if (start()) {
        // A call takes some seconds; a minute and a half without a new call is a hang.
        QElapsedTimer sinceCall;
        sinceCall.start();
        int lastCall = 0;
        while (!m_program.waitForFinished(50)) {
            poll();
            if (m_currentCall != lastCall) {
                lastCall = m_currentCall;
                sinceCall.restart();
            }
            if (sinceCall.elapsed() > 180000) {
                m_faults << QStringLiteral("no progress for 3 minutes at call %1: killed").arg(m_currentCall);
                m_program.kill();
                m_program.waitForFinished(5000);
                break;
            }
        }
        poll();
        if (m_program.exitStatus() == QProcess::CrashExit)
            m_faults << QStringLiteral("tamble-logger crashed");
        else if (m_program.exitCode() != 0)
            m_faults << QStringLiteral("tamble-logger exit status %1").arg(m_program.exitCode());
        checkCalls();
        if (!m_at10.taken || !m_atLast.taken)
            m_faults << QStringLiteral("memory and fds not sampled after calls 10 and %1").arg(m_o.calls);
        else if (m_atLast.rssKb - m_at10.rssKb > 5 * 1024)
            m_faults << QStringLiteral("resident memory grew by more than 5 MB");
        else if (m_atLast.fds > m_at10.fds)
            m_faults << QStringLiteral("open file descriptors grew");
    }
    printFigures(clock.elapsed());
    for (const QString& f : m_faults)
        std::printf("FAULT: %s\n", qPrintable(f));
    if (!m_faults.isEmpty()) {
        // The program directory goes with this run; its files and the sim's log stay for a look.
        const QString keep = QDir::temp().filePath(QStringLiteral("soak_auto_answer-%1").arg(QCoreApplication::applicationPid()));
        QDir().mkpath(keep);
        for (const QString& f : m_home.files())
            QFile::copy(m_home.filePath(f), keep + QLatin1Char('/') + f);
        QFile::copy(m_sim.logPath(), keep + QStringLiteral("/sim.log"));
        std::printf("files kept in %s\n", qPrintable(keep));
    }
    std::printf("%s\n", m_faults.isEmpty() ? "soak passed" : "soak FAILED");
    return m_faults.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const auto options = ParseOptions(QCoreApplication::arguments());
    if (!options) {
        std::fprintf(stderr, "usage: soak_auto_answer [CALLS (at least 11)] [--seed N] [--corrupt PERCENT] "
                             "[--silent PERCENT] [--drop PERCENT]\n");
        return 2;
    }
    return Soak(*options).run();
}
