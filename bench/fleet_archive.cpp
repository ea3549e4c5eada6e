// fleet_archive sqlite|postgresql [CALLS]
//
// A fleet in miniature: four auto-answer services (build/bin/tamble-logger --auto-answer), each
// answering its own virtual logger (tamble-sim --calls CALLS, 6 when left out), all adding their
// downloads to one archive at once: one SQLite file, or the PostgreSQL database that PGHOST,
// PGPORT, PGUSER and PGDATABASE name (run it under pg_virtualenv). Every call downloads the
// logger's whole memory again, so each call after the first overlaps the one before.
//
// Prints the readings archived per second of archive time, the longest time a download spent on
// the archive (reading its file, waiting for the other writers, writing), and checks that every
// download is in the archive and that each logger's readings are stored once: the archive holds
// exactly the distinct readings of its files. Exit status 0 when all held.
// Builds nothing: run it after building tamble-logger, tamble-sim and this program.

#include "e2e/support/sim_process.h"

#include "archive/archive_download.h"
#include "settings/settings_record.h"
#include "setup/setup_file.h"
#include "setup/setup_record.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

using namespace tamble;
using namespace tamble::e2e;

namespace {

constexpr int kServices = 4;


struct Service {
    SimProcess sim;
    ProgramHome home;
    QProcess program;
    QString description;
};

QStringList ArchiveEnvironment(const QString& archive)
{
    return {QStringLiteral("TAMBLE_ARCHIVE=") + archive};
}

ProgramRun Ask(const ProgramHome& home, const QString& archive, const QStringList& args)
{
    return RunProgram(home, {}, args, 120000, ArchiveEnvironment(archive));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString engine = args.value(1);
    const int calls = args.size() > 2 ? args[2].toInt() : 6;
    if ((engine != QLatin1String("sqlite") && engine != QLatin1String("postgresql")) || calls < 1) {
        std::fprintf(stderr, "usage: fleet_archive sqlite|postgresql [CALLS]\n");
        return 2;
    }
    QTemporaryDir shared;
    QString archive = QStringLiteral("sqlite:") + shared.filePath(QStringLiteral("archive.sqlite"));
    if (engine == QLatin1String("postgresql")) {
        if (qEnvironmentVariableIsEmpty("PGHOST") || qEnvironmentVariableIsEmpty("PGDATABASE")) {
            std::fprintf(stderr, "no PostgreSQL server: run under pg_virtualenv\n");
            return 2;
        }
        archive = QStringLiteral("postgresql://%1@%2:%3/%4")
                      .arg(qEnvironmentVariable("PGUSER"), qEnvironmentVariable("PGHOST"),
                           qEnvironmentVariable("PGPORT", QStringLiteral("5432")), qEnvironmentVariable("PGDATABASE"));
        QProcess::execute(QStringLiteral("psql"), {QStringLiteral("-qc"),
                                                   QStringLiteral("DROP TABLE IF EXISTS reading, download_channel, "
                                                                  "download, logger, archive_schema")});
    }

    QStringList faults;
    std::array<std::unique_ptr<Service>, kServices> services;
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < kServices; ++i) {
        services[i] = std::make_unique<Service>();
        Service& s = *services[i];
        s.description = QStringLiteral("Fleet;Tank%1").arg(i + 1);
        if (!PrepareAutoAnswerHome(s.home, "Fleet setup") ||
            !s.sim.start({"--calls", QString::number(calls), "--call-delay", "1500", "--no-pace", "--description",
                          s.description, "--bits", i % 2 ? "12" : "8", "--channels", i % 2 ? "1234" : "12",
                          "--pointer", QString::number(4000 + 1500 * i)})) {
            std::fprintf(stderr, "cannot start service %d: %s\n", i + 1, qPrintable(s.sim.errorText()));
            return 1;
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TAMBLE_HOME"), s.home.path());
        env.insert(QStringLiteral("TAMBLE_COM1"), s.sim.ptyPath());
        env.insert(QStringLiteral("TAMBLE_ARCHIVE"), archive);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        s.program.setProcessEnvironment(env);
        s.program.setProcessChannelMode(QProcess::MergedChannels);
        s.program.setStandardOutputFile(s.home.filePath(QStringLiteral("service-output.txt")));
        s.program.start(BuiltProgram(QStringLiteral("tamble-logger")),
                        {"--auto-answer", "--calls", QString::number(calls)});
    }
    for (auto& s : services) {
        if (!s->program.waitForFinished(600000) || s->program.exitCode() != 0)
            faults << s->description + QStringLiteral(": the service did not end well");
    }
    const double wallSeconds = static_cast<double>(wall.elapsed()) / 1000.0;

    // What each service said of its downloads, and what its files hold.
    static const QRegularExpression archived(
        QStringLiteral("^(\\S+): archived, (\\d+) of (\\d+) reading\\(s\\) new, in (\\d+) ms$"),
        QRegularExpression::MultilineOption);
    qint64 processed = 0;
    qint64 archiveMs = 0;
    qint64 longestMs = 0;
    int downloads = 0;
    qint64 distinctExpected = 0;
    for (auto& s : services) {
        const QString out = s->home.readText(QStringLiteral("service-output.txt"));
        int said = 0;
        for (auto m = archived.globalMatch(out); m.hasNext();) {
            const auto match = m.next();
            ++said;
            processed += match.captured(3).toLongLong();
            archiveMs += match.captured(4).toLongLong();
            longestMs = std::max(longestMs, match.captured(4).toLongLong());
        }
        // A download the archive could not take at once waits in the queue; say why.
        for (const QString& line : out.split(QLatin1Char('\n'))) {
            if (line.contains(QLatin1String("archive pending")) || line.contains(QLatin1String("not archived")))
                faults << s->description + QStringLiteral(": ") + line;
        }
        QSet<QPair<qint64, int>> distinct;
        const QStringList files = QDir(s->home.path()).entryList({QStringLiteral("*.tl1")}, QDir::Files);
        for (const QString& f : files) {
            const ArchiveDownloadResult read = ReadArchiveDownload(s->home.filePath(f), {}, s->home.path());
            for (std::size_t i = 0; i < read.download.time.size(); ++i)
                distinct.insert({read.download.time[i], read.download.channel[i]});
        }
        if (said != files.size() || files.size() != calls)
            faults << QStringLiteral("%1: %2 data file(s), %3 archived, %4 call(s)")
                          .arg(s->description).arg(files.size()).arg(said).arg(calls);
        downloads += static_cast<int>(files.size());
        distinctExpected += distinct.size();

        const ProgramRun count = Ask(s->home, archive, {"--archive-query", "--logger", s->description});
        const qint64 stored = count.stdoutText.count(QLatin1Char('\n')) - 1;
        if (stored != distinct.size())
            faults << QStringLiteral("%1: %2 reading(s) stored, %3 distinct in its files")
                          .arg(s->description).arg(stored).arg(distinct.size());
    }
    const ProgramRun loggers = Ask(services[0]->home, archive, {"--archive-loggers", "--format", "json"});
    qint64 newSum = 0;
    int downloadRows = 0;
    for (const QJsonValue& v : QJsonDocument::fromJson(loggers.stdoutText.toUtf8()).array()) {
        newSum += v.toObject().value(QStringLiteral("readings")).toInteger();
        downloadRows += v.toObject().value(QStringLiteral("downloads")).toInt();
    }
    if (newSum != distinctExpected)
        faults << QStringLiteral("the downloads say they added %1 reading(s); %2 are distinct").arg(newSum).arg(distinctExpected);
    if (downloadRows != downloads)
        faults << QStringLiteral("%1 download row(s) for %2 data file(s)").arg(downloadRows).arg(downloads);

    std::printf("engine: %s; %d services x %d calls in %.1f s\n", qPrintable(engine), kServices, calls, wallSeconds);
    std::printf("downloads archived: %d; readings processed: %lld, stored (distinct): %lld\n", downloads,
                static_cast<long long>(processed), static_cast<long long>(distinctExpected));
    std::printf("readings archived per second of archive time: %.0f\n",
                archiveMs ? static_cast<double>(processed) * 1000.0 / static_cast<double>(archiveMs) : 0.0);
    std::printf("longest time a download spent on the archive: %lld ms\n", static_cast<long long>(longestMs));
    for (const QString& f : faults)
        std::printf("FAULT: %s\n", qPrintable(f));
    std::printf("%s\n", faults.isEmpty() ? "no reading lost, none stored twice" : "FAILED");
    return faults.isEmpty() ? 0 : 1;
}
