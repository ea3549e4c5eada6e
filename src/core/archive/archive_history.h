#pragma once
// A logger's history in the archive as one recording the graph window opens: the readings of a
// period laid out as the .TL2 file of a multi-bank recording, one line per interval from the first
// reading to the last. The graph reads such a file again for every zoom, for its statistics and
// for its export, so the history is a file too: in a folder of the archive window's own.
//
// The layout has one interval: a period whose downloads were taken at different intervals is
// refused (filling the longer interval's gaps would count readings that were never taken). A
// stretch the archive holds no readings for (the logger was stopped, or a download is missing)
// is a line with its time stamp only, which the graph leaves as a break in the curves.

#include "archive/archive_store.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace tamble {

// No history longer than this many lines (about 80 MB of text): a shorter period is asked for.
inline constexpr std::int64_t kArchiveHistoryLineLimit = 2'000'000;

struct ArchiveHistoryText {
    bool ok = false;
    QByteArray text;                 // the whole file
    std::int64_t readings = 0;       // stored readings in the period, each channel counted
    std::int64_t lines = 0;          // data lines
    QString message;                 // why there is none
};

// The history of `logger` from `from` to `to` (archive times, both inclusive). `downloads` are the
// logger's downloads, for their intervals; `fileName` is named in the file's header.
ArchiveHistoryText BuildArchiveHistory(ArchiveStore& store, const ArchiveLoggerRow& logger,
                                       const std::vector<ArchiveDownloadRow>& downloads, std::int64_t from,
                                       std::int64_t to, const QString& fileName);

// "<description> <from> to <to>.TL2", the first day and the last; characters a file name cannot
// hold become "_".
QString ArchiveHistoryFileName(const QString& description, std::int64_t from, std::int64_t to);

} // namespace tamble
