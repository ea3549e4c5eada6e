#pragma once
// The archive in a database through Qt SQL: SQLite ("QSQLITE", a file in WAL mode, shared by the
// window and a service through a busy time-out) or PostgreSQL ("QPSQL", any number of stations
// writing into one database). The program creates and upgrades the schema itself and refuses one
// newer than it knows. The schema is documented in docs/archive.md.

#include "archive/archive_store.h"
#include "archive/archive_target.h"

#include <memory>

namespace tamble {

// The schema version this program writes.
inline constexpr int kArchiveSchemaVersion = 1;

// Opens (and if need be creates) the archive of `target`; null with `error` when it cannot.
std::unique_ptr<ArchiveStore> OpenSqlArchive(const ArchiveTarget& target, QString& error);

// The opener of the archive this run uses (TAMBLE_ARCHIVE, else "archive.ini"); null when the
// archive is off. A target that cannot be read gives an opener that says why.
ArchiveOpener ArchiveOpenerFor(const QString& programDir);

} // namespace tamble
