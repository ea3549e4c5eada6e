#pragma once
// Files waiting for the archive: a download completed while the archive could not take it (the
// database locked too long, the disk full, the server down). "archive.queue" in the program
// folder holds one line per file, replaced through a temporary file and a rename, under a lock
// that the window and a service share. A file is added to the archive once, whatever the queue
// says: the archive recognises a file it holds by its bytes.

#include "archive/archive_download.h"

#include <QString>
#include <vector>

namespace tamble {

inline constexpr const char* kArchiveQueueFileName = "archive.queue";

struct QueuedArchiveFile {
    QString path;
    ArchiveContext context;
};

// The files waiting, oldest first; empty when the queue file is missing.
std::vector<QueuedArchiveFile> ReadArchiveQueue(const QString& programDir);

// Adds `file` unless its path is queued already. The error text, empty when done.
QString AddToArchiveQueue(const QString& programDir, const QueuedArchiveFile& file);

// Takes the files of `paths` off the queue; the queue file goes when it is empty.
QString RemoveFromArchiveQueue(const QString& programDir, const QStringList& paths);

} // namespace tamble
