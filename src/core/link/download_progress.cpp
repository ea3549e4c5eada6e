#include "link/download_progress.h"

#include "format/download_walk.h"
#include "link/download.h"
#include "format/logger_info.h"

#include <algorithm>
#include <cmath>

namespace tamble {

int DownloadBlockCount(const LoggerInfo& info)
{
    if (CheckNoData(info) != NoDataReason::None)
        return 0;
    const bool wrapped = (info.statusFlags & kStatusWrapped) != 0;
    DownloadWalk walk({info.resolutionBits, info.modelDigit, wrapped, info.memoryPointer, info.lastBank});
    int blocks = 0;
    while (!walk.finished() && blocks < walk.blockLimit()) {
        walk.advance();
        ++blocks;
    }
    return blocks;
}

DownloadProgress ProgressOf(int blocksDone, int blocksTotal, int blockBytes, std::int64_t elapsedMs)
{
    DownloadProgress p;
    if (blocksTotal <= 0)
        return p;
    const int done = std::clamp(blocksDone, 0, blocksTotal);
    p.percent = static_cast<int>(static_cast<std::int64_t>(done) * 100 / blocksTotal);
    if (elapsedMs > 0 && done > 0) {
        p.bytesPerSecond = static_cast<double>(done) * std::max(blockBytes, 0) * 1000.0 / elapsedMs;
        const double msPerBlock = static_cast<double>(elapsedMs) / done;
        p.secondsLeft = static_cast<int>(std::ceil(msPerBlock * (blocksTotal - done) / 1000.0));
    }
    return p;
}

QString ProgressText(int blocksDone, int blocksTotal, const DownloadProgress& progress)
{
    QString text = QString::number(std::clamp(blocksDone, 0, std::max(blocksTotal, 0))) + QStringLiteral(" of ") +
                   QString::number(blocksTotal) + QStringLiteral(" blocks");
    if (progress.secondsLeft < 0)
        return text;
    const double kb = progress.bytesPerSecond / 1000.0;
    text += QStringLiteral(", ") + QString::number(kb, 'f', kb < 10 ? 1 : 0) + QStringLiteral(" kB/s, ");
    text += QString::number(progress.secondsLeft / 60) + QLatin1Char(':') +
            QString::number(progress.secondsLeft % 60).rightJustified(2, QLatin1Char('0')) + QStringLiteral(" left");
    return text;
}

} // namespace tamble
