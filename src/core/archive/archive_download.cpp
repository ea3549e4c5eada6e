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

void AppendArchiveTime(QByteArray& out, std::int64_t time)
{
    // Days since 1970 to a civil date (proleptic Gregorian), without a time zone.
    std::int64_t days = time >= 0 ? time / 86400000 : -((-time + 86399999) / 86400000);
    std::int64_t ms = time - days * 86400000;
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    const int seconds = static_cast<int>(ms / 1000);
    const int milli = static_cast<int>(ms % 1000);
    char text[24];
    const auto two = [&](int at, int v) {
        text[at] = static_cast<char>('0' + v / 10);
        text[at + 1] = static_cast<char>('0' + v % 10);
    };
    const int y = year < 0 ? 0 : year > 9999 ? 9999 : year;
    two(0, y / 100);
    two(2, y % 100);
    text[4] = '-';
    two(5, month);
    text[7] = '-';
    two(8, day);
    text[10] = 'T';
    two(11, seconds / 3600);
    text[13] = ':';
    two(14, seconds / 60 % 60);
    text[16] = ':';
    two(17, seconds % 60);
    int length = 19;
    if (milli) {
        text[19] = '.';
        text[20] = static_cast<char>('0' + milli / 100);
        two(21, milli % 100);
        length = 23;
    }
    out.append(text, length);
}

QString ArchiveTimeText(std::int64_t time)
{
    QByteArray text;
    AppendArchiveTime(text, time);
    return QString::fromLatin1(text);
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
