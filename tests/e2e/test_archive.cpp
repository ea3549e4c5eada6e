// The archive end to end: downloads and imports go into SQLite (and PostgreSQL when the test
// command started a server), overlapping downloads are stored once, a failed archive write waits
// in the queue, and the query prints what the CSV conversion of the same file prints.
#include "e2e/support/sim_process.h"

#include "archive/archive_queue.h"
#include "platform/sql_archive.h"
#include "settings/settings_record.h"
#include "writer/tl1_writer.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::e2e;

namespace {

// The same logger's later download holds the earlier one's readings and more.
bool WriteTank(const QString& path, int readings, const QByteArray& description = "North tank")
{
    return WriteTwoProbeRecording(path, readings, description, "Level, \"top\"");
}

QStringList Lines(const QString& text)
{
    return text.split('\n', Qt::SkipEmptyParts);
}

// A connection of the test's own to the archive, for what the program's output does not show.
class Peek {
public:
    explicit Peek(const QString& path) : m_name(QStringLiteral("peek-") + path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.open();
    }
    ~Peek() { QSqlDatabase::removeDatabase(m_name); }
    qint64 count(const QString& sql) const
    {
        QSqlQuery q(QSqlDatabase::database(m_name));
        return q.exec(sql) && q.next() ? q.value(0).toLongLong() : -1;
    }
    bool exec(const QString& sql) const
    {
        QSqlQuery q(QSqlDatabase::database(m_name));
        return q.exec(sql);
    }

private:
    QString m_name;
};

TEST(Archive, OverlappingDownloadsAddOnlyTheirNewReadingsAndAFileGoesInOnce)
{
    ProgramHome home;
    ASSERT_TRUE(WriteTank(home.filePath("north000001.tl1"), 40));
    ASSERT_TRUE(WriteTank(home.filePath("north000002.tl1"), 100));
    ProgramRun run = RunProgram(home, {}, {"--archive-import", home.filePath("north000001.tl1")});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();
    run = RunProgram(home, {}, {"--archive-import", home.path()});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();
    EXPECT_TRUE(run.stderrText.contains("1 file(s) added, 120 new reading(s), 1 archived before"))
        << run.stderrText.toStdString();
    run = RunProgram(home, {}, {"--archive-import", home.path()});
    EXPECT_TRUE(run.stderrText.contains("0 file(s) added, 0 new reading(s), 2 archived before"));

    const Peek peek(home.filePath("archive.sqlite"));
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM reading"), 200);
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM logger"), 1);
    EXPECT_EQ(peek.count("SELECT SUM(new_readings) FROM download"), 200);

    run = RunProgram(home, {}, {"--archive-loggers"});
    const QString row = Lines(run.stdoutText).value(1);
    EXPECT_EQ(row.toStdString(), ("North tank,LX500,0,2," + row.section(',', 4, 4) +
                                  ",200,2026-11-02T08:00:00,2026-11-02T09:39:00").toStdString());
}

TEST(Archive, QueryPrintsTheValuesOfTheConvertedCsvExactlyLabelledAndInOrder)
{
    ProgramHome home;
    ASSERT_TRUE(WriteTank(home.filePath("tank.TL1"), 30, "K\xfchlraum \"Nord\"; 2"));
    ASSERT_EQ(RunProgram(home, {}, {"--archive-import", home.filePath("tank.TL1")}).exitCode, 0);
    ASSERT_EQ(RunProgram(home, {}, {home.filePath("tank.TL1")}).exitCode, 0);   // the CSV conversion
    const ProgramRun run = RunProgram(home, {}, {"--archive-query", "--logger", "hlraum", "--from",
                                                 "2026-11-02T08:10:00", "--to", "2026-11-02T08:19:00"});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();
    const QStringList out = Lines(run.stdoutText);
    ASSERT_EQ(out.size(), 1 + 20);
    EXPECT_EQ(out[0], "logger,time,channel,label,unit,value");
    EXPECT_TRUE(out[1].startsWith(QString::fromUtf8("\"Kühlraum \"\"Nord\"\"; 2\",2026-11-02T08:10:00,1,"
                                                    "\"Level, \"\"top\"\"\",")))
        << out[1].toStdString();
    EXPECT_TRUE(out[2].contains(",2026-11-02T08:10:00,2,Probe 2,"));

    // The conversion's line of 08:10 holds the same two values, rounded.
    QString csvLine;
    for (const QString& line : Lines(home.readText("tank.csv"))) {
        if (line.contains("08:10:00"))
            csvLine = line;
    }
    const QStringList fields = csvLine.split(',');
    ASSERT_GE(fields.size(), 4) << csvLine.toStdString();
    EXPECT_NEAR(out[1].section(',', -1).toDouble(), fields[2].toDouble(), 0.01);
    EXPECT_NEAR(out[2].section(',', -1).toDouble(), fields[3].toDouble(), 0.01);
}

TEST(Archive, ADownloadTheArchiveCannotTakeWaitsInTheQueueAndGoesInOnTheNextRun)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--baud", "9600", "--description", "Cellar"})) << sim.errorText().toStdString();
    ProgramHome home;
    SettingsRecord settings;
    settings.portNumber = 1;
    home.writeFile("tblog.ini", SerializeSettings(settings));
    const QString unwritable = "TAMBLE_ARCHIVE=sqlite:" + home.filePath("no such folder/archive.sqlite");
    ProgramRun run = RunProgram(home, sim.ptyPath(), {"ONE.TL1", "r"}, 120000, {unwritable});
    ASSERT_EQ(run.exitCode, 0) << run.stdoutText.toStdString();
    EXPECT_TRUE(home.readText("TLLOG.TXT").startsWith("Transfer complete: ")) << home.readText("TLLOG.TXT").toStdString();
    EXPECT_TRUE(home.readText("TLLOG.TXT").contains("; archive pending: ")) << home.readText("TLLOG.TXT").toStdString();
    ASSERT_EQ(ReadArchiveQueue(home.path()).size(), 1u);
    EXPECT_EQ(ReadArchiveQueue(home.path()).front().context.source, ArchiveSource::Unattended);

    // The next download adds the waiting file first, then its own; both are the same readings.
    run = RunProgram(home, sim.ptyPath(), {"TWO.TL1", "r"}, 120000);
    ASSERT_EQ(run.exitCode, 0) << run.stdoutText.toStdString();
    EXPECT_FALSE(home.readText("TLLOG.TXT").contains("archive pending"));
    EXPECT_TRUE(ReadArchiveQueue(home.path()).empty());
    EXPECT_FALSE(home.exists("archive.queue"));
    const Peek peek(home.filePath("archive.sqlite"));
    EXPECT_EQ(peek.count("SELECT COUNT(*) FROM download WHERE source = 'unattended'"), 2);
    EXPECT_EQ(peek.count("SELECT SUM(new_readings) FROM download"), peek.count("SELECT COUNT(*) FROM reading"));
    EXPECT_GT(peek.count("SELECT COUNT(*) FROM reading"), 0);
}

TEST(Archive, AWriterWaitsForAnotherProgramsTransactionInsteadOfFailing)
{
    ProgramHome home;
    ASSERT_TRUE(WriteTank(home.filePath("a.TL1"), 60));
    ASSERT_EQ(RunProgram(home, {}, {"--archive-loggers"}).exitCode, 0);   // creates the archive
    // Another program holds the write lock for a while.
    Peek other(home.filePath("archive.sqlite"));
    ASSERT_TRUE(other.exec("BEGIN IMMEDIATE"));
    QProcess importer;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TAMBLE_HOME", home.path());
    importer.setProcessEnvironment(env);
    importer.start(BuiltProgram("tamble-logger"), {"--archive-import", home.filePath("a.TL1")});
    ASSERT_TRUE(importer.waitForStarted());
    EXPECT_FALSE(importer.waitForFinished(1500));   // waiting on the lock
    ASSERT_TRUE(other.exec("COMMIT"));
    ASSERT_TRUE(importer.waitForFinished(30000));
    EXPECT_EQ(importer.exitCode(), 0) << importer.readAllStandardError().toStdString();
    EXPECT_EQ(other.count("SELECT COUNT(*) FROM reading"), 120);

    // Two importers at once, with overlapping files: both succeed, nothing is stored twice.
    ASSERT_TRUE(WriteTank(home.filePath("b.TL1"), 200));
    ASSERT_TRUE(WriteTank(home.filePath("c.TL1"), 150, "South tank"));
    QProcess first;
    QProcess second;
    first.setProcessEnvironment(env);
    second.setProcessEnvironment(env);
    first.start(BuiltProgram("tamble-logger"), {"--archive-import", home.filePath("b.TL1"), home.filePath("c.TL1")});
    second.start(BuiltProgram("tamble-logger"), {"--archive-import", home.filePath("c.TL1"), home.filePath("b.TL1")});
    ASSERT_TRUE(first.waitForFinished(30000) && second.waitForFinished(30000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    EXPECT_EQ(other.count("SELECT COUNT(*) FROM reading"), 400 + 300);
    EXPECT_EQ(other.count("SELECT COUNT(*) FROM download"), 3);
}

TEST(Archive, ADamagedForeignOrNewerArchiveIsReportedAndLeftAsItIs)
{
    ProgramHome home;
    ASSERT_TRUE(WriteTank(home.filePath("a.TL1"), 10));
    home.writeFile("archive.sqlite", QByteArray(4096, 'x'));
    ProgramRun run = RunProgram(home, {}, {"--archive-import", home.filePath("a.TL1")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.stderrText.contains("is damaged or is not a database")) << run.stderrText.toStdString();
    EXPECT_EQ(home.readFile("archive.sqlite"), QByteArray(4096, 'x'));
    // The data file is still converted.
    EXPECT_EQ(RunProgram(home, {}, {home.filePath("a.TL1")}).exitCode, 0);

    QFile::remove(home.filePath("archive.sqlite"));
    {
        Peek foreign(home.filePath("archive.sqlite"));
        ASSERT_TRUE(foreign.exec("CREATE TABLE recipes (name TEXT)"));
    }
    run = RunProgram(home, {}, {"--archive-loggers"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.stderrText.contains("is not an archive of this program")) << run.stderrText.toStdString();

    QFile::remove(home.filePath("archive.sqlite"));
    ASSERT_EQ(RunProgram(home, {}, {"--archive-import", home.filePath("a.TL1")}).exitCode, 0);
    {
        Peek newer(home.filePath("archive.sqlite"));
        ASSERT_TRUE(newer.exec("UPDATE archive_schema SET version = 99"));
    }
    run = RunProgram(home, {}, {"--archive-loggers"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.stderrText.contains("schema version 99")) << run.stderrText.toStdString();
    const Peek after(home.filePath("archive.sqlite"));
    EXPECT_EQ(after.count("SELECT version FROM archive_schema"), 99);
    EXPECT_EQ(after.count("SELECT COUNT(*) FROM reading"), 20);
}

// Runs when the test command started a throw-away PostgreSQL server (pg_virtualenv sets PGHOST,
// PGPORT, PGUSER, PGDATABASE and PGPASSWORD).
TEST(Archive, PostgresHoldsTheSameArchiveAsSqlite)
{
    if (qEnvironmentVariableIsEmpty("PGHOST") || qEnvironmentVariableIsEmpty("PGDATABASE"))
        GTEST_SKIP() << "no PostgreSQL server (the test command runs this under pg_virtualenv)";
    const QString url = QStringLiteral("TAMBLE_ARCHIVE=postgresql://%1@%2:%3/%4")
                            .arg(qEnvironmentVariable("PGUSER"), qEnvironmentVariable("PGHOST"),
                                 qEnvironmentVariable("PGPORT", "5432"), qEnvironmentVariable("PGDATABASE"));
    {
        // A clean database for this test.
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "pg-clean");
        db.setHostName(qEnvironmentVariable("PGHOST"));
        db.setPort(qEnvironmentVariable("PGPORT", "5432").toInt());
        db.setDatabaseName(qEnvironmentVariable("PGDATABASE"));
        db.setUserName(qEnvironmentVariable("PGUSER"));
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("DROP TABLE IF EXISTS reading, download_channel, download, logger, archive_schema");
    }
    QSqlDatabase::removeDatabase("pg-clean");

    ProgramHome home;
    ASSERT_TRUE(WriteTank(home.filePath("north000001.tl1"), 40, "K\xfchlraum \"Nord\"; 2"));
    ASSERT_TRUE(WriteTank(home.filePath("north000002.tl1"), 100, "K\xfchlraum \"Nord\"; 2"));
    ProgramRun pg = RunProgram(home, {}, {"--archive-import", home.path()}, 60000, {url});
    ASSERT_EQ(pg.exitCode, 0) << pg.stderrText.toStdString();
    EXPECT_TRUE(pg.stderrText.contains("2 file(s) added, 200 new reading(s)")) << pg.stderrText.toStdString();
    pg = RunProgram(home, {}, {"--archive-import", home.path()}, 60000, {url});
    EXPECT_TRUE(pg.stderrText.contains("0 file(s) added, 0 new reading(s), 2 archived before"));
    ASSERT_EQ(RunProgram(home, {}, {"--archive-import", home.path()}).exitCode, 0);   // into SQLite

    for (const QStringList& query : {QStringList{"--archive-query", "--from", "2026-11-02T08:30:00"},
                                     QStringList{"--archive-query", "--format", "json"},
                                     QStringList{"--archive-loggers"}}) {
        const ProgramRun fromPg = RunProgram(home, {}, query, 60000, {url});
        const ProgramRun fromSqlite = RunProgram(home, {}, query);
        ASSERT_EQ(fromPg.exitCode, 0) << fromPg.stderrText.toStdString();
        EXPECT_EQ(fromPg.stdoutText, fromSqlite.stdoutText) << query.join(' ').toStdString();
    }
}

} // namespace
