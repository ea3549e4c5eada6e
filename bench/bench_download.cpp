// A full-memory download by the real program from tamble-sim pacing its replies at the line
// speed, against the wire time of every byte exchanged (commands plus replies, 10 bits a byte).
// Counters: wire_s (wire time), ratio (measured / wire time; the goal is at most 1.10) and
// cpu_s (CPU time the program used; near zero while it waits for replies).
#include "settings/settings_record.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace tamble;

namespace {

QString BinDir() { return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath(); }

// tamble-sim on a pty; the path comes back through --path-file.
struct Sim {
    QTemporaryDir dir;
    QProcess process;
    QString pty;

    bool start(QStringList options)
    {
        options << "--path-file" << dir.filePath("pty") << "--log" << dir.filePath("log");
        process.start(BinDir() + "/tamble-sim", options);
        if (!process.waitForStarted(5000))
            return false;
        for (int i = 0; i < 500 && pty.isEmpty(); ++i) {
            QFile f(dir.filePath("pty"));
            if (f.open(QIODevice::ReadOnly))
                pty = QString::fromLocal8Bit(f.readAll()).trimmed();
            if (pty.isEmpty())
                QThread::msleep(10);
        }
        return !pty.isEmpty();
    }
    int blockLines()
    {
        QFile f(dir.filePath("log"));
        if (!f.open(QIODevice::ReadOnly))
            return 0;
        int n = 0;
        for (const QByteArray& line : f.readAll().split('\n'))
            n += line.startsWith("BLOCK") ? 1 : 0;
        return n;
    }
    ~Sim()
    {
        process.kill();
        process.waitForFinished(5000);
    }
};

double ChildrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int FastBurstBlocks(int baud) { return baud == 57600 ? 48 : baud == 38400 ? 32 : baud == 28800 ? 24 : 16; }

void FullMemoryDownload(benchmark::State& state)
{
    const int baud = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Sim sim;
        if (!sim.start({"--baud", QString::number(baud), "--protocol", "fast", "--bits", "8", "--wrap", "--pointer",
                        "1000"})) {
            state.SkipWithError("tamble-sim did not start");
            return;
        }
        QTemporaryDir home;
        SettingsRecord settings;
        settings.baud = baud;
        settings.fastProtocol = true;
        QFile ini(home.filePath("tblog.ini"));
        if (!ini.open(QIODevice::WriteOnly) || ini.write(SerializeSettings(settings)) != kSettingsRecordSize) {
            state.SkipWithError("cannot write settings");
            return;
        }
        ini.close();

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TAMBLE_HOME", home.path());
        env.insert("TAMBLE_COM1", sim.pty);
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(home.path());
        const double cpuBefore = ChildrenCpuSeconds();
        QElapsedTimer timer;
        timer.start();
        program.start(BinDir() + "/tamble-logger", {"OUT.TL1", "r"});
        program.waitForFinished(600000);
        const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        const double cpu = ChildrenCpuSeconds() - cpuBefore;
        if (program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0) {
            state.SkipWithError("download failed");
            return;
        }
        const double blocks = static_cast<double>(sim.blockLines());
        // Wake-up (5-byte blocks), ">C005D\r" and a status line of about 252 characters + CR,
        // then per block ">DAxxxx00cc\r" (11) and 192 hex digits + checksum + CR (195).
        const double bytes = 5.0 * FastBurstBlocks(baud) + 7 + 253 + blocks * (11 + 195);
        const double wire = bytes * 10.0 / baud;
        state.SetIterationTime(seconds);
        state.counters["blocks"] = blocks;
        state.counters["wire_s"] = wire;
        state.counters["ratio"] = seconds / wire;
        state.counters["cpu_s"] = cpu;
    }
}

} // namespace

BENCHMARK(FullMemoryDownload)->Arg(19200)->Arg(57600)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
