#pragma once
// One completed data file as the archive takes it: who the logger is, what the download was, and
// every reading converted, in the units the CSV export uses by default.

#include "settings/settings_record.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace tamble {

enum class ArchiveSource { Window, Unattended, AutoAnswer, Import };

// "window", "unattended", "auto-answer", "import": as stored.
QString ArchiveSourceName(ArchiveSource source);
bool ParseArchiveSource(const QString& name, ArchiveSource& source);

// A logger is known by its model, its station address (0 when it was not reached on a network)
// and the description its session gave it.
struct ArchiveLogger {
    QString model;
    int station = 0;
    QString description;

    bool operator==(const ArchiveLogger&) const = default;
};

// What the program knows of a download beyond the file: its source, the logger's station
// address and firmware revision (empty when not known, as for an imported file), and when.
struct ArchiveContext {
    ArchiveSource source = ArchiveSource::Import;
    int station = 0;
    QString revision;
    QString downloadedAt;   // local "yyyy-MM-ddTHH:mm:ss"; empty: the file's modification time
};

struct ArchiveChannel {
    int channel = 0;        // 1..4
    QString label;
    QString unit;
};

struct ArchiveDownload {
    ArchiveLogger logger;
    QString file;           // absolute
    QString digest;         // SHA-1 of the file's bytes, hex: the same file is archived once
    ArchiveContext context;
    int resolutionBits = 0;
    double intervalSeconds = 0;
    std::vector<ArchiveChannel> channels;

    // The readings, one entry per reading and channel, in file order. Times are milliseconds
    // since 1970-01-01T00:00:00 on the logger's own clock (local time, no offset); a value that
    // is not a number (a checksum error, an open probe) is NaN.
    std::vector<std::int64_t> time;
    std::vector<std::uint8_t> channel;
    std::vector<double> value;

    std::int64_t firstTime() const;   // of the readings; 0 when there are none
    std::int64_t lastTime() const;
};

struct ArchiveDownloadResult {
    bool ok = false;
    ArchiveDownload download;
    QString message;        // why the file could not be read
};

// Reads `path` (.TL1, or the .TL2 of a multi-bank recording) for the archive. `programDir` is where
// the sensor tables are.
ArchiveDownloadResult ReadArchiveDownload(const QString& path, const ArchiveContext& context,
                                          const QString& programDir);

// Day numbers (days since 30 December 1899) <-> archive times, and archive times as the
// "yyyy-MM-ddTHH:mm:ss[.zzz]" text the archive's output and its PostgreSQL columns use.
std::int64_t ArchiveTimeOfDays(double days);
QString ArchiveTimeText(std::int64_t time);
void AppendArchiveTime(QByteArray& out, std::int64_t time);
bool ParseArchiveTimeText(const QString& text, std::int64_t& time);

} // namespace tamble
