// Where the archive lives, which files an import takes, and the query's text.
#include "archive/archive_command.h"
#include "archive/archive_target.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tamble;

namespace {

TEST(ArchiveTarget, TheEnvironmentNamesPostgresSqliteOrOffAndBeatsTheSettings)
{
    ArchiveSettings settings;
    settings.engine = ArchiveEngine::Postgres;
    settings.database = "fleet";
    settings.host = "db.example";

    ArchiveTargetResult r = ResolveArchiveTarget("postgresql://station@/tamble?host=/run/postgresql", settings, "/home/x");
    ASSERT_TRUE(r.target) << r.error.toStdString();
    EXPECT_EQ(r.target->host, "/run/postgresql");
    EXPECT_EQ(r.target->user, "station");
    EXPECT_EQ(r.target->port, 5432);
    EXPECT_EQ(r.target->database, "tamble");

    r = ResolveArchiveTarget("postgresql://u@10.0.0.5:6543/logs", settings, "/home/x");
    ASSERT_TRUE(r.target);
    EXPECT_EQ(r.target->describe(), "postgresql://u@10.0.0.5:6543/logs");

    r = ResolveArchiveTarget("sqlite:data/a.sqlite", settings, "/home/x");
    ASSERT_TRUE(r.target);
    EXPECT_EQ(r.target->path, "/home/x/data/a.sqlite");
    EXPECT_EQ(ResolveArchiveTarget("OFF", settings, "/home/x").target->engine, ArchiveEngine::Off);

    for (const char* bad : {"postgresql://u@host:5432/", "mysql://u@h/db", "sqlite:", "archive"})
        EXPECT_FALSE(ResolveArchiveTarget(bad, settings, "/home/x").target) << bad;

    // Without the variable the settings hold: a server needs a database.
    r = ResolveArchiveTarget("", settings, "/home/x");
    ASSERT_TRUE(r.target);
    EXPECT_EQ(r.target->host, "db.example");
    settings.database.clear();
    EXPECT_FALSE(ResolveArchiveTarget("", settings, "/home/x").target);
    EXPECT_EQ(ResolveArchiveTarget("", ArchiveSettings{}, "/home/x").target->path, "/home/x/archive.sqlite");
}

TEST(ArchiveTarget, SettingsSurviveTheirFileAndKeepOtherLines)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("archive.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("; kept\n[calls]\ntime_limit_s=0\n");
    file.close();
    EXPECT_EQ(LoadArchiveSettings(dir.path()).hookTimeLimitSeconds, 60);   // 0 is no limit at all: refused

    ArchiveSettings s;
    s.engine = ArchiveEngine::Postgres;
    s.host = "db";
    s.port = 6000;
    s.database = "fleet";
    s.user = "north";
    s.afterEachCallRun = "/usr/local/bin/notify --to \"ops team\"";
    s.hookTimeLimitSeconds = 20;
    ASSERT_TRUE(SaveArchiveSettings(dir.path(), s).isEmpty());
    EXPECT_EQ(LoadArchiveSettings(dir.path()), s);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("; kept"));
}

TEST(ArchiveImport, FoldersGiveTheirDataFilesAndASecondHalfOnlyWithoutItsFirst)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("sub");
    for (const char* name : {"b.TL1", "b.TL2", "a.tl2", "notes.txt", "sub/c.tl1"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QStringList files = ArchiveImportFiles({dir.path(), dir.filePath("missing.TL1")});
    EXPECT_EQ(files, (QStringList{dir.filePath("a.tl2"), dir.filePath("b.TL1"), dir.filePath("sub/c.tl1"),
                                  dir.filePath("missing.TL1")}));
}

TEST(ArchiveCommand, OptionsAndTheirMistakes)
{
    ArchiveCommand c = ParseArchiveCommand({"--archive-query", "--logger", "North", "--from", "2024-03-01",
                                            "--to", "2024-03-31T23:59:59", "--format", "json"},
                                           "/tmp");
    ASSERT_TRUE(c.error.isEmpty()) << c.error.toStdString();
    EXPECT_EQ(c.query.logger, "North");
    EXPECT_EQ(ArchiveTimeText(*c.query.from), "2024-03-01T00:00:00");
    EXPECT_EQ(ArchiveTimeText(*c.query.to), "2024-03-31T23:59:59");
    EXPECT_EQ(c.format, ArchiveOutputFormat::Json);
    EXPECT_EQ(ParseArchiveCommand({"--archive-import", "x.TL1"}, "/data").paths, QStringList{"/data/x.TL1"});

    for (const QStringList& bad : {QStringList{"--archive-import"}, QStringList{"--archive-query", "--from", "March"},
                                   QStringList{"--archive-query", "--format", "xml"},
                                   QStringList{"--archive-loggers", "--logger", "x"},
                                   QStringList{"--archive-query", "--from", "2024-03-02", "--to", "2024-03-01"}})
        EXPECT_FALSE(ParseArchiveCommand(bad, "/tmp").error.isEmpty()) << bad.join(' ').toStdString();
}

TEST(ArchiveCommand, ReadingsAsCsvAndJsonKeepTextsExactAndMissingValuesEmpty)
{
    ArchiveReadingRow r;
    r.logger = QString::fromUtf8("Kühl \"A\", 2");
    r.time = 1709539200000 + 250;   // 2024-03-04T08:00:00.250
    r.channel = 3;
    r.label = "Air";
    r.unit = "°C";
    r.value = -0.1;
    ArchiveReadingWriter csv(ArchiveOutputFormat::Csv);
    EXPECT_EQ(QString::fromUtf8(csv.row(r)), QString::fromUtf8("\"Kühl \"\"A\"\", 2\",2024-03-04T08:00:00.250,3,Air,°C,-0.1\n"));
    r.value.reset();
    EXPECT_TRUE(csv.row(r).endsWith(",°C,\n"));

    ArchiveReadingWriter json(ArchiveOutputFormat::Json);
    QByteArray text = json.begin();
    text += json.row(r);
    text += json.end();
    EXPECT_EQ(text.toStdString(),
              std::string("[\n{\"logger\":\"Kühl \\\"A\\\", 2\",\"time\":\"2024-03-04T08:00:00.250\",\"channel\":3,"
                                "\"label\":\"Air\",\"unit\":\"°C\",\"value\":null}\n]\n"));
    ArchiveReadingWriter empty(ArchiveOutputFormat::Json);
    EXPECT_EQ(empty.begin() + empty.end(), "[]\n");
}

} // namespace
