// The graph window, offscreen, each step timed until the chart has painted:
// opening a full four-bank memory and the shipped four-bank sample, zooming,
// a unit change on a full single-bank memory, PNG export at 1600 x 1000, and
// one reading appended to a full live chart of four channels.
//
//   bench_graph_window [benchmark options]
//   bench_graph_window --live SECONDS [INTERVAL_MS [REVISION]]
//       runs the real-time graph against tamble-sim from the main window for
//       SECONDS and prints the CPU time the whole process used. Revision 'p'
//       and later are polled as fast as the line allows; an earlier one ('o')
//       sends a reading every INTERVAL_MS on its own.

#include "bench_recording.h"
#include "datafiles/timebase.h"
#include "e2e/support/sim_process.h"
#include "link/status_encode.h"
#include "program/app_records.h"
#include "ui/app/main_window.h"
#include "ui/graph/graph_window.h"
#include "util/user_dialog.h"
#include "writer/tl1_writer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <memory>

using namespace tamble;

namespace {

class SilentMessages final : public MessageService {
public:
    DialogAnswer ask(const UserMessage& m) override { return DefaultAnswer(m.buttons); }
};

struct Bench {
    Bench()
    {
        records.programDir = home.path() + QLatin1Char('/');
        for (const QString& table : QDir(QStringLiteral(TAMBLE_SOURCE_DIR "/data")).entryList({QStringLiteral("*.?vt")}))
            QFile::copy(QStringLiteral(TAMBLE_SOURCE_DIR "/data/") + table, home.filePath(table));
        records.settings.fahrenheit = false;
        graph = std::make_unique<GraphWindow>(GraphRecordsOf(records), messages, nullptr);
        graph->setLoadOnShow(false);
        graph->show();
        graph->resize(1000, 700);
        QApplication::processEvents();
    }
    void painted()
    {
        QApplication::processEvents();
        graph->chart().widget()->repaint();
    }
    bool open(const QString& path)
    {
        return graph->openChosenFile(path) && (graph->clearZoomState(), graph->LoadGraph());
    }

    QTemporaryDir home;
    AppRecords records;
    SilentMessages messages;
    std::unique_ptr<GraphWindow> graph;
};

Bench& Shared()
{
    static Bench bench;
    return bench;
}

QString FullFourBank()
{
    static const QString path = WriteBenchRecording(Shared().home.filePath(QStringLiteral("FULL4.TL1")), '6', 4,
                                               kFourBankCount * kMemoryImageBytes / 4);
    return path;
}

QString FullSingleBank()
{
    static const QString path =
        WriteBenchRecording(Shared().home.filePath(QStringLiteral("FULL1.TL1")), '1', 1, kMemoryImageBytes);
    return path;
}

void BM_OpenFullFourBankMemory(benchmark::State& state)
{
    Bench& b = Shared();
    const QString path = FullFourBank();
    for (auto _ : state) {
        if (!b.open(path))
            state.SkipWithError("load failed");
        b.painted();
    }
    state.counters["multi_bank"] = b.records.dataSet.multiBank;
    state.counters["readings_per_channel"] = b.records.dataSet.totalLines;
}
BENCHMARK(BM_OpenFullFourBankMemory)->Unit(benchmark::kMillisecond)->Iterations(15);

void BM_OpenShippedFourBankSample(benchmark::State& state)
{
    Bench& b = Shared();
    const QString path = b.home.filePath(QStringLiteral("banks4.TL1"));
    QFile::copy(QStringLiteral(TAMBLE_SOURCE_DIR "/data/samples/banks4.TL1"), path);
    for (auto _ : state) {
        if (!b.open(path))
            state.SkipWithError("load failed");
        b.painted();
    }
}
BENCHMARK(BM_OpenShippedFourBankSample)->Unit(benchmark::kMillisecond)->Iterations(15);

// Zoom into the middle half of the full four-bank memory, then back out.
void BM_ZoomInAndOutOfFullFourBankMemory(benchmark::State& state)
{
    Bench& b = Shared();
    if (!b.open(FullFourBank()))
        state.SkipWithError("load failed");
    const std::vector<double> x = b.graph->chart().subsetX(0);
    for (auto _ : state) {
        b.graph->ZoomIn(x[x.size() / 4], x[x.size() / 2]);
        b.painted();
        b.graph->UndoZoom();
        b.painted();
    }
    state.counters["per_step_ms"] = benchmark::Counter(2.0, benchmark::Counter::kIsIterationInvariantRate |
                                                                benchmark::Counter::kInvert);
}
BENCHMARK(BM_ZoomInAndOutOfFullFourBankMemory)->Unit(benchmark::kMillisecond)->Iterations(15);

void BM_UnitChangeOnFullSingleBankMemory(benchmark::State& state)
{
    Bench& b = Shared();
    if (!b.open(FullSingleBank()))
        state.SkipWithError("load failed");
    bool fahrenheit = false;
    for (auto _ : state) {
        fahrenheit = !fahrenheit;
        b.graph->command(fahrenheit ? QStringLiteral("Fahrenheit") : QStringLiteral("Celsius"))->trigger();
        b.painted();
    }
}
BENCHMARK(BM_UnitChangeOnFullSingleBankMemory)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_PngExport1600x1000(benchmark::State& state)
{
    Bench& b = Shared();
    if (!b.open(FullFourBank()))
        state.SkipWithError("load failed");
    const QString path = b.home.filePath(QStringLiteral("export.png"));
    for (auto _ : state)
        if (!b.graph->chart().savePng(path, 1600, 1000))
            state.SkipWithError("export failed");
}
BENCHMARK(BM_PngExport1600x1000)->Unit(benchmark::kMillisecond)->Iterations(10);

// Three more full four-bank memories laid over the first, until the chart has painted.
void BM_OverlayOfFourFullMemories(benchmark::State& state)
{
    Bench& b = Shared();
    QStringList more;
    for (int i = 1; i <= 3; ++i) {
        const QString copy = b.home.filePath(QStringLiteral("FULL4_%1.TL1").arg(i));
        QFile::copy(FullFourBank(), copy);
        more << copy;
    }
    const QString other = b.home.filePath(QStringLiteral("banks4.TL1"));
    QFile::copy(QStringLiteral(TAMBLE_SOURCE_DIR "/data/samples/banks4.TL1"), other);
    for (auto _ : state) {
        state.PauseTiming();   // the first file opened afresh: its overlays go with it
        if (!b.open(other) || !b.open(FullFourBank())) {
            state.SkipWithError("load failed");
            break;
        }
        b.painted();
        state.ResumeTiming();
        for (const QString& path : more) {
            b.graph->chooseOverlayFile = [path] { return path; };
            b.graph->command(QStringLiteral("Add File..."))->trigger();
        }
        b.painted();
    }
    state.counters["files"] = static_cast<double>(b.graph->document().overlays().size() + 1);
}
BENCHMARK(BM_OverlayOfFourFullMemories)->Unit(benchmark::kMillisecond)->Iterations(5);

// A cursor moved one reading on a full four-bank memory with both cursors set: the cursor layer and
// the read-out (argument 0), and with the Statistics dock over the span between them (1).
void BM_CursorStepOnFullMemory(benchmark::State& state)
{
    Bench& b = Shared();
    if (!b.open(FullFourBank()))
        state.SkipWithError("load failed");
    QAction* statistics = b.graph->command(QStringLiteral("Statistics"));
    if (statistics->isChecked() != (state.range(0) == 1))
        statistics->trigger();
    const std::vector<double> x = b.graph->chart().subsetX(0);
    b.graph->placeCursor(CursorName::A, x[x.size() / 4]);
    b.graph->placeCursor(CursorName::B, x[x.size() / 2]);
    b.painted();
    QWidget* chart = b.graph->chart().widget();
    chart->setFocus();
    int direction = 1;
    for (auto _ : state) {
        QKeyEvent key(QEvent::KeyPress, direction > 0 ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier);
        QApplication::sendEvent(chart, &key);
        b.painted();
        direction = -direction;
    }
}
BENCHMARK(BM_CursorStepOnFullMemory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(50);

// One reading appended to a live chart that holds 999 readings of four channels, then painted.
void BM_RealTimeAppendToFullChart(benchmark::State& state)
{
    Bench& b = Shared();
    LoggerInfo& info = b.records.loggerInfo;
    info.resolutionBits = 12;
    info.fullScaleCount = 4095;
    info.revision = 'q';
    info.channelFlags = 0x0F;
    for (int c = 0; c < 4; ++c) {
        info.scalingCodes[static_cast<std::size_t>(c)] = 'X';
        info.scalingTexts[static_cast<std::size_t>(c)] = "0.0000100.00";
        info.labels[static_cast<std::size_t>(c)] = QByteArray("Live ").append(QByteArray::number(c + 1)).leftJustified(24, ' ');
    }
    double seconds = 0;
    const QDateTime start = QDateTime::currentDateTime();
    b.graph->clock = [&] { return start.addMSecs(static_cast<qint64>(seconds * 1000)); };
    b.records.session.realTimeGraph = true;
    b.graph->liveRepaintMs = 0;   // every reading painted: the cost of one
    b.graph->startRealTime();
    int step = 0;
    const auto next = [&] {
        seconds += 1;
        ++step;
        const std::array<std::uint16_t, 4> counts{static_cast<std::uint16_t>(2000 + step % 300),
                                                  static_cast<std::uint16_t>(1000 + step % 50),
                                                  static_cast<std::uint16_t>(3000 - step % 200), 500};
        b.graph->AppendRealTimeReading(">" + EncodeRealTimeLine(counts, 0, 12));
    };
    for (int i = 0; i < kRealTimeFullCount && b.graph->live().count() < kRealTimeFullCount; ++i)
        next();
    if (b.graph->live().count() < kRealTimeFullCount)
        state.SkipWithError("readings were not taken");
    b.painted();
    for (auto _ : state) {
        next();
        b.painted();
    }
    b.records.session.realTimeGraph = false;
}
BENCHMARK(BM_RealTimeAppendToFullChart)->Unit(benchmark::kMillisecond)->Iterations(400);

double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The real-time graph of the main window against tamble-sim for a while.
int RunSession(int seconds, int intervalMs, const QString& revision)
{
    e2e::SimProcess sim;
    if (!sim.start({QStringLiteral("--baud"), QStringLiteral("19200"), QStringLiteral("--protocol"),
                    QStringLiteral("fast"), QStringLiteral("--realtime-interval"), QString::number(intervalMs),
                    QStringLiteral("--revision"), revision})) {
        std::fprintf(stderr, "tamble-sim: %s\n", qPrintable(sim.errorText()));
        return 1;
    }
    QTemporaryDir home;
    for (const QString& name : QDir(QStringLiteral(TAMBLE_SOURCE_DIR "/data")).entryList(QDir::Files))
        QFile::copy(QStringLiteral(TAMBLE_SOURCE_DIR "/data/") + name, home.filePath(name));
    qputenv("TAMBLE_COM1", sim.ptyPath().toLocal8Bit());
    AppRecords records;
    records.programDir = home.path() + QLatin1Char('/');
    SilentMessages messages;
    MainWindow main(records, QStringLiteral(TAMBLE_SOURCE_DIR "/data"));
    main.setMessageService(messages);
    main.show();
    main.run(MainCommand::RealTimeGraph);
    // The program's own event loop runs; the timers only end it.
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (main.graph().live().count() >= 2)
            loop.quit();
    });
    poll.start(100);
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &loop, &QEventLoop::quit);
    giveUp.start(30000);
    loop.exec();
    poll.stop();
    giveUp.stop();
    const double cpuBefore = ProcessCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    // Readings are counted by the logger's answers: the chart itself drops old ones.
    const auto answered = [&sim] { return static_cast<int>(sim.logLines(QStringLiteral("REALTIME")).size()); };
    const int before = answered();
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    const double elapsed = wall.elapsed() / 1000.0;
    const int readings = answered() - before;
    std::printf("real-time graph: %d readings in %.1f s (%.1f a second), CPU %.3f s = %.2f %% of one core\n",
                readings, elapsed, readings / elapsed, cpu, 100.0 * cpu / elapsed);
    return readings > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc >= 3 && QByteArray(argv[1]) == "--live")
        return RunSession(std::atoi(argv[2]), argc >= 4 ? std::atoi(argv[3]) : 1000,
                          QString::fromLatin1(argc >= 5 ? argv[4] : "q"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
