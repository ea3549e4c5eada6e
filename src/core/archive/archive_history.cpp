#include "archive/archive_history.h"

#include "datafiles/timebase.h"

#include <QDate>
#include <QDateTime>
#include <QTimeZone>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>

namespace tamble {

namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct ChannelText {
    QString label;
    QString unit;
};

// The readings of the period as the store gives them: by time, channels in ascending order.
struct Readings {
    std::vector<std::int64_t> time;
    std::vector<int> channel;
    std::vector<double> value;   // NaN: not a number
    std::map<int, ChannelText> channels;   // the latest label and unit of each channel
};

// The file time stamp of the header, "Sun  1-Mar-1998  0:00:00".
QByteArray FileStamp(std::int64_t time)
{
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(time, QTimeZone::utc());
    const QDate d = t.date();
    CalendarCursor c;
    c.year = d.year();
    c.month = d.month();
    c.daysInMonth = d.daysInMonth();
    c.day = d.day();
    c.weekday = d.dayOfWeek() % 7;
    c.hour = t.time().hour();
    c.minute = t.time().minute();
    c.second = t.time().second();
    c.leapYear = QDate::isLeapYear(c.year);
    return FormatStamp(c, ClockStyle::Hour24).toLatin1();
}

// The data lines' stamps, "mm/dd/yyyy,hh:mm:ss[,mmm]", the date worked out once a day.
class LineStamp {
public:
    explicit LineStamp(bool milliseconds) : m_milliseconds(milliseconds) {}

    void append(QByteArray& out, std::int64_t time)
    {
        const std::int64_t day = time >= 0 ? time / kMsPerDay : -((-time + kMsPerDay - 1) / kMsPerDay);
        if (day != m_day || m_date.isEmpty()) {
            m_day = day;
            const QDate d = QDate(1970, 1, 1).addDays(day);
            char buf[32];
            const int n = std::snprintf(buf, sizeof buf, "%02d/%02d/%04d,", d.month(), d.day(), d.year());
            m_date = QByteArray(buf, n);
        }
        const std::int64_t ms = time - day * kMsPerDay;
        char buf[32];
        const int n = m_milliseconds
                          ? std::snprintf(buf, sizeof buf, "%02d:%02d:%02d,%03d", static_cast<int>(ms / 3'600'000),
                                          static_cast<int>(ms / 60'000 % 60), static_cast<int>(ms / 1000 % 60),
                                          static_cast<int>(ms % 1000))
                          : std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", static_cast<int>(ms / 3'600'000),
                                          static_cast<int>(ms / 60'000 % 60), static_cast<int>(ms / 1000 % 60));
        out += m_date;
        out.append(buf, n);
    }

private:
    bool m_milliseconds;
    std::int64_t m_day = 0;
    QByteArray m_date;
};

// A value as the .TL2 file writes it: three decimals, so that every field is at least five
// characters wide, as its reader expects.
void AppendValue(QByteArray& out, double value)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 3);
    out += ',';
    if (res.ec == std::errc())
        out.append(buf, res.ptr - buf);
}

QByteArray Padded(const QString& text, int width)
{
    return text.toLatin1().leftJustified(width, ' ', true);
}

// The intervals of the downloads that overlap the period; without one, the readings' own spacing.
class Intervals {
public:
    Intervals(const std::vector<ArchiveDownloadRow>& downloads, const Readings& r, std::int64_t from, std::int64_t to)
    {
        for (const ArchiveDownloadRow& d : downloads) {
            const std::int64_t ms = std::llround(d.intervalSeconds * 1000.0);
            if (ms <= 0 || d.firstTime > to || d.lastTime < from)
                continue;
            m_spans.push_back({d.firstTime, d.lastTime, ms});
            m_shortest = m_shortest ? std::min(m_shortest, ms) : ms;
        }
        if (m_shortest > 0)
            return;
        // No download names one: the readings' own spacing.
        for (std::size_t i = 1; i < r.time.size(); ++i) {
            const std::int64_t step = r.time[i] - r.time[i - 1];
            if (step > 0)
                m_shortest = m_shortest ? std::min(m_shortest, step) : step;
        }
        if (m_shortest <= 0)
            m_shortest = 60'000;
    }

    std::int64_t shortest() const { return m_shortest; }
    std::int64_t longest() const
    {
        std::int64_t longest = m_shortest;
        for (const Span& s : m_spans)
            longest = std::max(longest, s.interval);
        return longest;
    }

private:
    struct Span {
        std::int64_t first;
        std::int64_t last;
        std::int64_t interval;
    };
    std::vector<Span> m_spans;
    std::int64_t m_shortest = 0;
};

} // namespace

QString ArchiveHistoryFileName(const QString& description, std::int64_t from, std::int64_t to)
{
    QString base;
    for (const QChar c : description) {
        const bool unsafe = c.unicode() < 0x20 || c.unicode() == 0x7F || QStringLiteral("/\\:*?\"<>|").contains(c);
        base += unsafe ? QLatin1Char('_') : c;
    }
    base = base.simplified();
    while (base.startsWith(QLatin1Char('.')))
        base.remove(0, 1);
    if (base.isEmpty())
        base = QStringLiteral("Logger");
    const auto day = [](std::int64_t t) { return ArchiveTimeText(t).left(10); };
    return base + QLatin1Char(' ') + day(from) + QStringLiteral(" to ") + day(to) + QStringLiteral(".TL2");
}

ArchiveHistoryText BuildArchiveHistory(ArchiveStore& store, const ArchiveLoggerRow& logger,
                                       const std::vector<ArchiveDownloadRow>& downloads, std::int64_t from,
                                       std::int64_t to, const QString& fileName)
{
    ArchiveHistoryText result;
    Readings r;
    ArchiveQuery query;
    query.loggerId = logger.id;
    query.from = from;
    query.to = to;
    QString error;
    const bool read = store.readings(query, [&r](const ArchiveReadingRow& row) {
        r.time.push_back(row.time);
        r.channel.push_back(row.channel);
        r.value.push_back(row.value.value_or(kNaN));
        r.channels[row.channel] = {row.label, row.unit};
    }, error);
    if (!read) {
        result.message = error;
        return result;
    }
    if (r.time.empty()) {
        result.message = QStringLiteral("The archive holds no readings of %1 from %2 to %3")
                             .arg(logger.logger.description, ArchiveTimeText(from), ArchiveTimeText(to));
        return result;
    }
    result.readings = static_cast<std::int64_t>(r.time.size());

    Intervals intervals(downloads, r, from, to);
    const std::int64_t interval = intervals.shortest();
    if (intervals.longest() != interval) {
        // One graph has one interval: filling the longer one's gaps would count readings that
        // were never taken.
        result.message = QStringLiteral("The readings of %1 from %2 to %3 were taken at different intervals "
                                        "(%4 s and %5 s): choose a period of one interval, or open its downloads")
                             .arg(logger.logger.description, ArchiveTimeText(from), ArchiveTimeText(to))
                             .arg(static_cast<double>(interval) / 1000.0)
                             .arg(static_cast<double>(intervals.longest()) / 1000.0);
        return result;
    }
    const std::int64_t first = r.time.front();
    const std::int64_t last = r.time.back();
    const auto slotOf = [first, step = interval](std::int64_t t) {
        return static_cast<std::int64_t>(std::llround(static_cast<double>(t - first) / static_cast<double>(step)));
    };
    const std::int64_t lines = slotOf(last) + 1;
    if (lines > kArchiveHistoryLineLimit) {
        result.message = QStringLiteral("The period from %1 to %2 makes %3 lines, more than one graph takes (%4): "
                                        "choose a shorter period")
                             .arg(ArchiveTimeText(from), ArchiveTimeText(to))
                             .arg(lines)
                             .arg(kArchiveHistoryLineLimit);
        return result;
    }

    // Channel numbers 1..4 to their place in a line.
    std::vector<int> channels;
    std::array<int, 5> position{-1, -1, -1, -1, -1};
    for (const auto& [channel, text] : r.channels) {
        if (channel < 1 || channel > 4)
            continue;
        position[static_cast<std::size_t>(channel)] = static_cast<int>(channels.size());
        channels.push_back(channel);
    }

    const double intervalMinutes = static_cast<double>(interval) / 60'000.0;
    const bool milliseconds = ExportShowsMilliseconds(intervalMinutes);
    QByteArray& out = result.text;
    out.reserve(static_cast<qsizetype>(lines) * (24 + 9 * static_cast<qsizetype>(channels.size())) + 2048);
    const auto line = [&out](const QByteArray& text) {
        out += text;
        out += "\r\n";
    };
    line(" History of " + logger.logger.description.toLatin1() + " from the archive");
    line({});
    line(" Source File: " + fileName.toLocal8Bit());
    line(" ID: " + Padded(logger.logger.description, 31) + "  " + logger.logger.model.toLatin1());
    for (int c = 1; c <= 4; ++c) {
        const auto it = r.channels.find(c);
        const QString label = it == r.channels.end() ? QString() : it->second.label;
        line(" Ch" + QByteArray::number(c) + " lbl/scl: " + Padded(label, 24) + "/" + QByteArray(13, ' '));
    }
    line(" Rate (mins): " + QByteArray::number(intervalMinutes, 'f', 13).rightJustified(16, ' ') + "        ");
    line(" First:       " + FileStamp(first));
    line(" Last:        " + FileStamp(first + (lines - 1) * interval));
    line(" Transferred: " + (logger.lastDownload.isEmpty() ? QByteArray() : logger.lastDownload.toLatin1().replace('T', ' ')));
    line(" Eq. PC time: ");
    line({});
    line(" " + QByteArray::number(result.readings) + " readings of " + QByteArray::number(downloads.size()) +
         " downloads");
    line({});
    QByteArray headings = milliseconds ? "Date,Time,millisecs" : "Date,Time";
    for (const int c : channels)
        headings += ",Ch" + QByteArray::number(c) + ":" + r.channels[c].unit.toLatin1();
    line(headings);

    // Slot by slot: each channel's reading of the slot; a line ends at its first channel without
    // one (the layout has no empty field), and a line of a stretch the archive holds nothing for
    // is its time stamp alone.
    const std::size_t width = channels.size();
    std::vector<double> value(width, kNaN);
    LineStamp stamp(milliseconds);
    std::size_t next = 0;
    for (std::int64_t k = 0; k < lines; ++k) {
        const std::int64_t t = first + k * interval;
        std::fill(value.begin(), value.end(), kNaN);
        for (; next < r.time.size() && slotOf(r.time[next]) <= k; ++next) {
            const int p = position[static_cast<std::size_t>(std::clamp(r.channel[next], 0, 4))];
            if (p >= 0)
                value[static_cast<std::size_t>(p)] = r.value[next];
        }
        stamp.append(out, t);
        for (std::size_t p = 0; p < width; ++p) {
            if (std::isnan(value[p]))
                break;
            AppendValue(out, value[p]);
        }
        out += "\r\n";
    }
    result.lines = lines;
    result.ok = true;
    return result;
}

} // namespace tamble
