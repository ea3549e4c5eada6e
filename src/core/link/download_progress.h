#pragma once
// How far a download has come: the share of the blocks it will read, the speed and the time left,
// as the session window shows them beside the block number.

#include <QString>
#include <cstdint>

namespace tamble {

struct LoggerInfo;

// The blocks a download of the logger in `info` reads (its memory walk from the status).
int DownloadBlockCount(const LoggerInfo& info);

struct DownloadProgress {
    int percent = 0;          // 0..100
    double bytesPerSecond = 0;
    int secondsLeft = -1;     // -1: not known yet
};

// `blocksDone` of `blocksTotal` blocks of `blockBytes` each, after `elapsedMs`.
DownloadProgress ProgressOf(int blocksDone, int blocksTotal, int blockBytes, std::int64_t elapsedMs);

// "12 of 336 blocks, 1.9 kB/s, 2:55 left"
QString ProgressText(int blocksDone, int blocksTotal, const DownloadProgress& progress);

} // namespace tamble
