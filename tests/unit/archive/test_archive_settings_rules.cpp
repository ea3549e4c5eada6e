// The Archive Settings dialog's checks on OK and the file it writes.

#include "archive/archive_settings_rules.h"
#include "support/scripted_messages.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tamble;
using tamble::test::ScriptedMessages;

TEST(ArchiveSettingsRules, OkChecksTheServerAndTheTimeLimitInOrderThenWritesTheFile)
{
    QTemporaryDir dir;
    const QString programDir = dir.path() + "/";
    ScriptedMessages messages;
    ArchiveSettingsRules rules(programDir, {}, messages);
    EXPECT_EQ(rules.settings().engine, ArchiveEngine::Sqlite);
    EXPECT_FALSE(rules.serverFieldsEnabled());
    EXPECT_TRUE(rules.overrideNote().isEmpty());

    rules.setEngine(ArchiveEngine::Postgres);
    EXPECT_TRUE(rules.serverFieldsEnabled());
    rules.setPortText(QStringLiteral("70000"));
    rules.setTimeLimitText(QStringLiteral("0"));
    EXPECT_FALSE(rules.ok());
    EXPECT_EQ(messages.lastText(), "Name the PostgreSQL database the archive is kept in");
    rules.setDatabase(QStringLiteral(" loggers "));
    EXPECT_FALSE(rules.ok());
    EXPECT_EQ(messages.lastText(), "The port must be a number from 1 to 65535");
    rules.setPortText(QStringLiteral("5433"));
    EXPECT_FALSE(rules.ok());
    EXPECT_EQ(messages.lastText(), "The time limit must be a whole number of seconds, at least 1");
    EXPECT_EQ(LoadArchiveSettings(programDir), ArchiveSettings{});   // nothing written yet

    rules.setTimeLimitText(QStringLiteral("90"));
    rules.setHost(QStringLiteral("db.example"));
    rules.setAfterEachCallRun(QStringLiteral("/usr/local/bin/after-call"));
    EXPECT_TRUE(rules.ok());
    EXPECT_EQ(messages.shown.size(), 3u);
    const ArchiveSettings saved = LoadArchiveSettings(programDir);
    EXPECT_EQ(saved.engine, ArchiveEngine::Postgres);
    EXPECT_EQ(saved.database, "loggers");
    EXPECT_EQ(saved.port, 5433);
    EXPECT_EQ(saved.host, "db.example");
    EXPECT_EQ(saved.afterEachCallRun, "/usr/local/bin/after-call");
    EXPECT_EQ(saved.hookTimeLimitSeconds, 90);
}

TEST(ArchiveSettingsRules, SqliteNeedsNoServerAndTheEnvironmentVariableIsNamedAsOverriding)
{
    QTemporaryDir dir;
    ScriptedMessages messages;
    ArchiveSettingsRules rules(dir.path() + "/", QStringLiteral("sqlite:/srv/archive.sqlite"), messages);
    EXPECT_EQ(rules.overrideNote(),
              "TAMBLE_ARCHIVE=sqlite:/srv/archive.sqlite is set: it overrides the archive chosen here for as long as it is set.");
    rules.setPortText(QStringLiteral("not a port"));
    rules.setEngine(ArchiveEngine::Off);
    EXPECT_TRUE(rules.ok());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(LoadArchiveSettings(dir.path() + "/").engine, ArchiveEngine::Off);
}
