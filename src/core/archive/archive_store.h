#pragma once
// The archive's rows as its users see them, and the store that holds them. The store is an
// interface: the Qt SQL one (SQLite or PostgreSQL) lives with the platform adapters.

#include "archive/archive_download.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tamble {

struct ArchiveLoggerRow {
    std::int64_t id = 0;
    ArchiveLogger logger;
    int downloads = 0;
    QString lastDownload;        // "yyyy-MM-ddTHH:mm:ss", empty when none
    std::int64_t readings = 0;   // stored, each once
    std::int64_t firstTime = 0;  // archive times of the stored readings
    std::int64_t lastTime = 0;
};

struct ArchiveDownloadRow {
    std::int64_t id = 0;
    std::int64_t loggerId = 0;
    QString file;
    ArchiveSource source = ArchiveSource::Import;
    QString downloadedAt;
    QString revision;
    int resolutionBits = 0;
    double intervalSeconds = 0;
    std::int64_t firstTime = 0;
    std::int64_t lastTime = 0;
    std::int64_t readingCount = 0;   // in the file
    std::int64_t newReadings = 0;    // stored by this download
    std::vector<ArchiveChannel> channels;
};

struct ArchiveReadingRow {
    QString logger;              // the description
    std::int64_t loggerId = 0;
    std::int64_t time = 0;
    int channel = 0;
    QString label;
    QString unit;
    std::optional<double> value; // none: not a number
};

struct ArchiveQuery {
    QString logger;                      // the description contains this; empty: every logger
    std::optional<std::int64_t> loggerId;
    std::optional<std::int64_t> from;    // inclusive
    std::optional<std::int64_t> to;      // inclusive
};

struct ArchiveWrite {
    bool ok = false;
    bool alreadyArchived = false;   // the same file (by its bytes) was archived before
    std::int64_t newReadings = 0;
    QString error;
};

class ArchiveStore {
public:
    virtual ~ArchiveStore() = default;
    // Adds the download and its readings in one transaction; a reading of the same logger, time and
    // channel already stored is kept as it is.
    virtual ArchiveWrite add(const ArchiveDownload& download) = 0;
    virtual std::optional<std::vector<ArchiveLoggerRow>> loggers(QString& error) = 0;
    virtual std::optional<std::vector<ArchiveDownloadRow>> downloads(std::int64_t loggerId, QString& error) = 0;
    // Calls `each` for every reading of the query, ordered by logger, time and channel; false on
    // an error (then `error` says why).
    virtual bool readings(const ArchiveQuery& query, const std::function<void(const ArchiveReadingRow&)>& each,
                          QString& error) = 0;
};

// Opens the store of the archive this run uses; null with `error` set when it cannot.
using ArchiveOpener = std::function<std::unique_ptr<ArchiveStore>(QString& error)>;

} // namespace tamble
