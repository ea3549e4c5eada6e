// The archive: a full 4-bank memory (129,024 readings) into SQLite, and into PostgreSQL when
// PGHOST and PGDATABASE name a server (pg_virtualenv sets them); reading it back; the bytes each
// reading takes on disk.
//
//   bench_archive                     the benchmarks
//   bench_archive --write-samples DIR the files the whole-process timings use: FULL4.TL1, month.TL1
//                                     (a month of one logger) and typical/ (100 downloads of 25
//                                     loggers, each overlapping the one before)
#include "archive/archive_download.h"
#include "bench_recording.h"
#include "datafiles/timebase.h"
#include "format/memory_layout.h"
#include "platform/sql_archive.h"
#include "writer/tl1_writer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>

using namespace tamble;

namespace {

// The sensor tables the thermistor channels convert with.
const QString kTables = QStringLiteral(TAMBLE_SOURCE_DIR "/data");

bool WriteSamples(const QString& dir)
{
    QDir(dir).mkpath(QStringLiteral("typical"));
    bool ok = !WriteBenchRecording(QDir(dir).filePath(QStringLiteral("FULL4.TL1")), '6', 4,
                              kFourBankCount * kMemoryImageBytes / 4, 'G', "Full memory").isEmpty();
    // Two channels every two minutes: 31 days are 22,320 steps, 44,640 readings.
    ok = ok && !WriteBenchRecording(QDir(dir).filePath(QStringLiteral("month.TL1")), '6', 2, 22320, 'H', "Month").isEmpty();
    // 25 loggers, 4 downloads each: two channels every 5 minutes, 3,000 steps more each time, from
    // the same start (the memory is not cleared between calls).
    for (int logger = 0; logger < 25 && ok; ++logger) {
        for (int call = 1; call <= 4 && ok; ++call) {
            const QString name = QStringLiteral("typical/station%1_%2.tl1").arg(logger, 2, 10, QLatin1Char('0')).arg(call);
            ok = !WriteBenchRecording(QDir(dir).filePath(name), '1', 2, 3000 * call, 'I',
                                 QByteArray("Station ") + QByteArray::number(logger))
                      .isEmpty();
        }
    }
    return ok;
}

struct Samples {
    QTemporaryDir dir;
    ArchiveDownload full;
    Samples()
    {
        WriteSamples(dir.path());
        const ArchiveDownloadResult read =
            ReadArchiveDownload(dir.filePath(QStringLiteral("FULL4.TL1")), {ArchiveSource::Import, 0, {}, {}}, kTables);
        full = read.download;
    }
};

Samples& Shared()
{
    static Samples samples;
    return samples;
}

std::optional<ArchiveTarget> Postgres()
{
    if (qEnvironmentVariableIsEmpty("PGHOST") || qEnvironmentVariableIsEmpty("PGDATABASE"))
        return std::nullopt;
    ArchiveTarget t;
    t.engine = ArchiveEngine::Postgres;
    t.host = qEnvironmentVariable("PGHOST");
    t.port = qEnvironmentVariable("PGPORT", QStringLiteral("5432")).toInt();
    t.database = qEnvironmentVariable("PGDATABASE");
    t.user = qEnvironmentVariable("PGUSER");
    return t;
}

void DropPostgresTables(const ArchiveTarget& t)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-drop"));
        db.setHostName(t.host);
        db.setPort(t.port);
        db.setDatabaseName(t.database);
        db.setUserName(t.user);
        if (db.open())
            QSqlQuery(db).exec(QStringLiteral("DROP TABLE IF EXISTS reading, download_channel, download, logger, archive_schema"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-drop"));
}

void ReadFullMemory(benchmark::State& state)
{
    const QString path = Shared().dir.filePath(QStringLiteral("FULL4.TL1"));
    for (auto _ : state) {
        const ArchiveDownloadResult read = ReadArchiveDownload(path, {ArchiveSource::Import, 0, {}, {}}, kTables);
        benchmark::DoNotOptimize(read.download.time.size());
    }
    state.counters["readings"] = static_cast<double>(Shared().full.time.size());
}
BENCHMARK(ReadFullMemory)->Unit(benchmark::kMillisecond);

// Each iteration adds the full memory to a new, empty archive.
void FullMemoryIntoSqlite(benchmark::State& state)
{
    double bytesPerReading = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        ArchiveTarget target;
        target.path = dir.filePath(QStringLiteral("archive.sqlite"));
        QString error;
        std::unique_ptr<ArchiveStore> store = OpenSqlArchive(target, error);
        state.ResumeTiming();
        const ArchiveWrite written = store->add(Shared().full);
        state.PauseTiming();
        if (!written.ok || written.newReadings != static_cast<std::int64_t>(Shared().full.time.size())) {
            state.SkipWithError(written.error.toLocal8Bit().constData());
            break;
        }
        store.reset();   // checkpoints the write-ahead log into the file
        bytesPerReading = static_cast<double>(QFileInfo(target.path).size()) / static_cast<double>(written.newReadings);
        state.ResumeTiming();
    }
    state.counters["bytes_per_reading"] = bytesPerReading;
}
BENCHMARK(FullMemoryIntoSqlite)->Unit(benchmark::kMillisecond)->Iterations(5);

void FullMemoryIntoPostgres(benchmark::State& state)
{
    const std::optional<ArchiveTarget> target = Postgres();
    if (!target) {
        state.SkipWithError("no PostgreSQL server: run under pg_virtualenv");
        return;
    }
    double bytesPerReading = 0;
    for (auto _ : state) {
        state.PauseTiming();
        DropPostgresTables(*target);
        QString error;
        std::unique_ptr<ArchiveStore> store = OpenSqlArchive(*target, error);
        if (!store) {
            state.SkipWithError(error.toLocal8Bit().constData());
            return;
        }
        state.ResumeTiming();
        const ArchiveWrite written = store->add(Shared().full);
        state.PauseTiming();
        if (!written.ok) {
            state.SkipWithError(written.error.toLocal8Bit().constData());
            break;
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-size"));
            db.setHostName(target->host);
            db.setPort(target->port);
            db.setDatabaseName(target->database);
            db.setUserName(target->user);
            QSqlQuery q(db.open() ? db : QSqlDatabase());
            if (q.exec(QStringLiteral("VACUUM ANALYZE reading")) &&
                q.exec(QStringLiteral("SELECT pg_total_relation_size('reading')")) && q.next())
                bytesPerReading = q.value(0).toDouble() / static_cast<double>(written.newReadings);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("bench-size"));
        state.ResumeTiming();
    }
    state.counters["bytes_per_reading"] = bytesPerReading;
}
BENCHMARK(FullMemoryIntoPostgres)->Unit(benchmark::kMillisecond)->Iterations(5);

// Reading a full memory back out of SQLite, as the query does before printing.
void FullMemoryOutOfSqlite(benchmark::State& state)
{
    QTemporaryDir dir;
    ArchiveTarget target;
    target.path = dir.filePath(QStringLiteral("archive.sqlite"));
    QString error;
    std::unique_ptr<ArchiveStore> store = OpenSqlArchive(target, error);
    store->add(Shared().full);
    for (auto _ : state) {
        std::int64_t rows = 0;
        store->readings({}, [&](const ArchiveReadingRow&) { ++rows; }, error);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(FullMemoryOutOfSqlite)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--write-samples") == 0)
        return WriteSamples(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
