// tamble-sim: a virtual logger on a pseudo-terminal. See --help.

#include "logger_sim.h"
#include "modem_front.h"
#include "pty_link.h"
#include "sim_config.h"
#include "sim_tl1.h"

#include <QCoreApplication>
#include <QFile>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>

namespace {

std::atomic<bool> g_stop{false};

extern "C" void OnSignal(int)
{
    g_stop.store(true);
}

qint64 MonotonicMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<qint64>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

QDateTime StartClock(const tamble::sim::SimConfig& cfg)
{
    // A fixed clock text still gives the readings' times a fixed anchor.
    const QDateTime fixed = tamble::sim::ParseLoggerClock(cfg.clock, 12);
    return fixed.isValid() ? fixed : QDateTime::currentDateTime();
}

// The logger from its data file or from the seed; reports why not on stderr.
std::unique_ptr<tamble::sim::LoggerSim> MakeLogger(const tamble::sim::SimConfig& cfg, tamble::sim::LogSink log,
                                                   qint64 start)
{
    if (cfg.tl1Path.isEmpty())
        return std::make_unique<tamble::sim::LoggerSim>(cfg, log, start, StartClock(cfg));
    QString error;
    auto logger = tamble::sim::LoggerFromTl1(cfg, cfg.tl1Path, log, start, StartClock(cfg), &error);
    if (!logger)
        std::fprintf(stderr, "tamble-sim: %s\n", qPrintable(error));
    return logger;
}

// What sits on the line: a looped-back plug, the logger behind a modem, or the logger.
std::unique_ptr<tamble::sim::SimDevice> MakeDevice(const tamble::sim::SimConfig& cfg,
                                                   std::unique_ptr<tamble::sim::LoggerSim> logger,
                                                   tamble::sim::LogSink log)
{
    if (cfg.loopback)
        return std::make_unique<tamble::sim::LoopbackDevice>();
    if (cfg.modem)
        return std::make_unique<tamble::sim::ModemFront>(cfg, std::move(logger), log);
    return logger;
}

// Prints the pty slave path (and writes it to --path-file); false when that file
// cannot be written.
bool PublishPath(const tamble::sim::SimConfig& cfg, const QByteArray& path)
{
    if (!cfg.pathFile.isEmpty()) {
        QFile f(cfg.pathFile);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(path + '\n') != path.size() + 1) {
            std::fprintf(stderr, "tamble-sim: cannot write %s\n", qPrintable(cfg.pathFile));
            return false;
        }
    }
    std::printf("%s\n", path.constData());
    std::fflush(stdout);
    return true;
}

void InstallStopSignals()
{
    struct sigaction sa{};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0; // no SA_RESTART: poll() returns so the loop sees the request
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tamble-sim"));
    const auto parsed = tamble::sim::ParseSimArguments(QCoreApplication::arguments());
    if (!parsed) {
        std::fprintf(stderr, "tamble-sim: %s\n(see --help)\n", qPrintable(parsed.error()));
        return 2;
    }
    if (parsed->helpRequested) {
        std::fputs(qPrintable(parsed->helpText), stdout);
        return 0;
    }
    const tamble::sim::SimConfig& cfg = parsed->config;

    std::FILE* logFile = nullptr;
    if (!cfg.logFile.isEmpty()) {
        logFile = std::fopen(QFile::encodeName(cfg.logFile).constData(), "w");
        if (!logFile) {
            std::fprintf(stderr, "tamble-sim: cannot write %s\n", qPrintable(cfg.logFile));
            return 2;
        }
    }
    tamble::sim::LogSink log = [logFile](const QByteArray& line) {
        if (!logFile)
            return;
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), logFile);
        std::fputc('\n', logFile);
        std::fflush(logFile);
    };

    const qint64 start = MonotonicMs();
    std::unique_ptr<tamble::sim::LoggerSim> logger = MakeLogger(cfg, log, start);
    if (!logger)
        return 2;
    if (!cfg.dumpImage.isEmpty()) {
        QString error;
        if (!tamble::sim::WriteImageFile(*logger, cfg.dumpImage, start, &error)) {
            std::fprintf(stderr, "tamble-sim: %s\n", qPrintable(error));
            return 2;
        }
    }
    std::unique_ptr<tamble::sim::SimDevice> device = MakeDevice(cfg, std::move(logger), log);

    tamble::sim::PtyLink pty;
    QString error;
    if (!pty.open(&error)) {
        std::fprintf(stderr, "tamble-sim: cannot open a pseudo-terminal: %s\n", qPrintable(error));
        return 1;
    }
    if (!PublishPath(cfg, QFile::encodeName(pty.slavePath())))
        return 2;
    InstallStopSignals();
    pty.run(*device, cfg.pace, g_stop);
    if (logFile)
        std::fclose(logFile);
    return 0;
}
