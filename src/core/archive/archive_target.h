#pragma once
// Where the archive of downloads lives, and what runs after each call.
//
// The archive settings are a small INI file of their own, "archive.ini" in the program folder:
//
//   [archive]
//   engine=sqlite|postgresql|off     sqlite by default: "archive.sqlite" in the program folder
//   host=, port=, database=, user=   the PostgreSQL server (no password: ~/.pgpass or PGPASSWORD)
//   [calls]
//   after_each_call_run=COMMAND      a program run after every auto-answer call and unattended
//                                    download, with the data file, the outcome and the logger
//   time_limit_s=60                  how long it may run
//
// The environment variable TAMBLE_ARCHIVE overrides the engine and server:
// "postgresql://USER@HOST:PORT/DBNAME[?host=SOCKETDIR]", "sqlite:PATH" or "off".

#include <QString>
#include <QStringList>
#include <optional>

namespace tamble {

inline constexpr const char* kArchiveSettingsFileName = "archive.ini";
inline constexpr const char* kArchiveFileName = "archive.sqlite";
inline constexpr const char* kArchiveEnvironmentVariable = "TAMBLE_ARCHIVE";

enum class ArchiveEngine { Off, Sqlite, Postgres };

struct ArchiveTarget {
    ArchiveEngine engine = ArchiveEngine::Sqlite;
    QString path;          // SQLite: the database file
    QString host;          // PostgreSQL: a host name, or a socket folder (starts with '/')
    int port = 5432;
    QString database;
    QString user;

    // "sqlite:/path/archive.sqlite", "postgresql://user@host:5432/db" or "off": for messages.
    QString describe() const;
    bool operator==(const ArchiveTarget&) const = default;
};

struct ArchiveSettings {
    ArchiveEngine engine = ArchiveEngine::Sqlite;
    QString host;
    int port = 5432;
    QString database;
    QString user;
    QString afterEachCallRun;      // empty: no hook
    int hookTimeLimitSeconds = 60;

    bool operator==(const ArchiveSettings&) const = default;
};

// Reads "archive.ini" of `programDir`; a missing or unreadable file gives the defaults.
ArchiveSettings LoadArchiveSettings(const QString& programDir);
// Writes it through a temporary file; the error text, empty when written.
QString SaveArchiveSettings(const QString& programDir, const ArchiveSettings& settings);

struct ArchiveTargetResult {
    std::optional<ArchiveTarget> target;
    QString error;             // the text could not be read: why
};

// A TAMBLE_ARCHIVE value. Relative SQLite paths are taken from `programDir`.
ArchiveTargetResult ParseArchiveUrl(const QString& text, const QString& programDir);

// The archive this run uses: TAMBLE_ARCHIVE when `environment` is not empty, else the settings.
// A PostgreSQL choice with no database named is an error.
ArchiveTargetResult ResolveArchiveTarget(const QString& environment, const ArchiveSettings& settings,
                                         const QString& programDir);

} // namespace tamble
