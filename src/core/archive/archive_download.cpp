#include "archive/archive_download.h"

#include "format/day_number.h"
#include "program/recording_series.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>
#include <cmath>

namespace tamble {

namespace {

constexpr const char* kSourceNames[] = {"window", "unattended", "auto-answer", "import"};

QString FileDigest(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = FileNotFoundText(path);
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!hash.addData(&file)) {
        error = QStringLiteral("Unable to read ") + path;
        return {};
    }
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace

QString ArchiveSourceName(ArchiveSource source)
{
    return QString::fromLatin1(kSourceNames[static_cast<int>(source)]);
}

bool ParseArchiveSource(const QString& name, ArchiveSource& source)
{
    for (int i = 0; i < 4; ++i) {
        if (name == QLatin1String(kSourceNames[i])) {
            source = static_cast<ArchiveSource>(i);
            return true;
        }
    }
    return false;
}

std::int64_t ArchiveDownload::firstTime() const
{
    return time.empty() ? 0 : time.front();
}

std::int64_t ArchiveDownload::lastTime() const
{
    return time.empty() ? 0 : time.back();
}

std::int64_t ArchiveTimeOfDays(double days)
{
    return std::llround((days - kUnixEpochDayNumber) * 86400000.0);
}

QString ArchiveTimeText(std::int64_t time)
{
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(time, QTimeZone::utc());
    return t.toString(time % 1000 ? QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz") : QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

bool ParseArchiveTimeText(const QString& text, std::int64_t& time)
{
    QDateTime t = QDateTime::fromString(text.trimmed(), Qt::ISODateWithMs);
    if (!t.isValid()) {
        const QDate d = QDate::fromString(text.trimmed(), Qt::ISODate);
        if (!d.isValid())
            return false;
        t = QDateTime(d, QTime(0, 0));
    }
    t.setTimeZone(QTimeZone::utc());
    time = t.toMSecsSinceEpoch();
    return true;
}

ArchiveDownloadResult ReadArchiveDownload(const QString& path, const ArchiveContext& context, const QString& programDir)
{
    ArchiveDownloadResult result;
    const QString file = QFileInfo(path).absoluteFilePath();
    result.download.digest = FileDigest(file, result.message);
    if (result.download.digest.isEmpty())
        return result;
    // Values in the units the CSV export uses by default, whatever this user's choices.
    const SettingsRecord units;
    SeriesResult loaded = LoadRecordingSeries(file, units, programDir);
    if (!loaded.series) {
        result.message = loaded.message;
        return result;
    }
    const RecordingSeries& series = *loaded.series;
    ArchiveDownload& d = result.download;
    d.logger = {series.model, context.station, series.description};
    d.file = file;
    d.context = context;
    if (d.context.downloadedAt.isEmpty()) {
        QDateTime modified = QFileInfo(file).lastModified();
        d.context.downloadedAt = modified.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    }
    d.resolutionBits = series.resolutionBits;
    d.intervalSeconds = series.intervalDays * 86400.0;
    std::size_t total = 0;
    for (const ChannelSeries& c : series.channels) {
        d.channels.push_back({c.channel, c.label, c.unit});
        total += c.time.size();
    }
    d.time.reserve(total);
    d.channel.reserve(total);
    d.value.reserve(total);
    // Time by time, channels in ascending order: the order of the store's key.
    std::vector<std::size_t> next(series.channels.size(), 0);
    for (;;) {
        double earliest = INFINITY;
        for (std::size_t c = 0; c < series.channels.size(); ++c) {
            if (next[c] < series.channels[c].time.size())
                earliest = std::min(earliest, series.channels[c].time[next[c]]);
        }
        if (!std::isfinite(earliest))
            break;
        const std::int64_t t = ArchiveTimeOfDays(earliest);
        for (std::size_t c = 0; c < series.channels.size(); ++c) {
            const ChannelSeries& s = series.channels[c];
            if (next[c] < s.time.size() && ArchiveTimeOfDays(s.time[next[c]]) == t) {
                d.time.push_back(t);
                d.channel.push_back(static_cast<std::uint8_t>(s.channel));
                d.value.push_back(s.value[next[c]]);
                ++next[c];
            }
        }
    }
    result.ok = true;
    return result;
}

} // namespace tamble
