#pragma once
// Adds completed data files to the archive after their final rename. The file on disk always
// comes first: a download is complete whether or not the archive takes it. When the archive
// cannot (it is locked too long, the disk is full, the server is down), the file waits in the
// queue and is added at the next start or the next download; a file that cannot be read is never
// queued, because it would never be added.

#include "archive/archive_queue.h"
#include "archive/archive_store.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace tamble {

struct ArchiveNote {
    enum class Kind { Off, Added, Pending, Unreadable };
    Kind kind = Kind::Off;
    std::int64_t newReadings = 0;
    std::int64_t readings = 0;      // in the file
    std::int64_t elapsedMs = 0;     // reading the file and waiting for and writing to the archive
    QString text;   // for the log: empty when added or off

    bool pending() const { return kind == Kind::Pending; }
};

// "archive pending: REASON", the words a log line ends with when the archive waits.
QString ArchivePendingText(const QString& reason);

// What the window says of a file the archive could not take: the data file is complete, and when
// the archive will have it.
QString ArchiveNoteMessage(const ArchiveNote& note);

class Archivist {
public:
    // `opener` is null when the archive is off.
    Archivist(ArchiveOpener opener, QString programDir);
    ~Archivist();

    bool enabled() const { return static_cast<bool>(m_opener); }

    // Adds the queued files first, then `file`.
    ArchiveNote archive(const QString& file, const ArchiveContext& context);

    struct QueueResult {
        int added = 0;
        int pending = 0;
        QStringList messages;   // a file that cannot be read, or why the queue waits
    };
    // Adds the files of the queue; those that cannot be read leave it with a message.
    QueueResult addQueued();

    // The store, opened on first use; null with `error` when it cannot be opened (it is tried
    // again next time).
    ArchiveStore* store(QString& error);

private:
    ArchiveNote add(const QString& file, const ArchiveContext& context);
    ArchiveNote addTimed(const QString& file, const ArchiveContext& context);

    ArchiveOpener m_opener;
    QString m_programDir;
    std::unique_ptr<ArchiveStore> m_store;
};

} // namespace tamble
