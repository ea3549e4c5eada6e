#include "analysis/graph_analysis.h"

#include <algorithm>
#include <cmath>

namespace tamble {

int NearestReading(const std::vector<double>& times, double at)
{
    if (times.empty() || std::isnan(at))
        return -1;
    const auto it = std::lower_bound(times.begin(), times.end(), at);
    if (it == times.begin())
        return 0;
    if (it == times.end())
        return static_cast<int>(times.size()) - 1;
    const auto after = static_cast<int>(it - times.begin());
    return at - times[static_cast<std::size_t>(after - 1)] <= times[static_cast<std::size_t>(after)] - at ? after - 1
                                                                                                         : after;
}

void GraphCursors::set(CursorName name, double at, const std::vector<double>& times)
{
    const int i = NearestReading(times, at);
    if (i < 0)
        return;
    m_at[name == CursorName::A ? 0 : 1] = times[static_cast<std::size_t>(i)];
    m_selected = name;
}

void GraphCursors::step(CursorName name, int readings, const std::vector<double>& times)
{
    const auto& now = m_at[name == CursorName::A ? 0 : 1];
    if (!now || times.empty())
        return;
    const int i = std::clamp(NearestReading(times, *now) + readings, 0, static_cast<int>(times.size()) - 1);
    m_at[name == CursorName::A ? 0 : 1] = times[static_cast<std::size_t>(i)];
}

void GraphCursors::clear()
{
    m_at = {};
}

std::optional<std::pair<double, double>> GraphCursors::span() const
{
    if (!m_at[0] || !m_at[1])
        return std::nullopt;
    return std::pair{std::min(*m_at[0], *m_at[1]), std::max(*m_at[0], *m_at[1])};
}

StatisticsTable MakeStatisticsTable(const Summary& summary, int decimals, bool withLimits)
{
    StatisticsTable t;
    t.headers = QStringList{QStringLiteral("Channel"), QStringLiteral("Unit"), QStringLiteral("Readings"),
                            QStringLiteral("Minimum"), QStringLiteral("at"), QStringLiteral("Maximum"),
                            QStringLiteral("at"), QStringLiteral("Mean"), QStringLiteral("Std dev"),
                            QStringLiteral("First"), QStringLiteral("Last")};
    if (withLimits)
        t.headers << QStringLiteral("Below low") << QStringLiteral("Above high") << QStringLiteral("Excursions");
    for (const SummaryRow& row : summary.rows) {
        const ChannelStatistics& s = row.stats;
        const auto time = [&s](double at) { return s.count ? IsoTime(at).replace(QLatin1Char('T'), QLatin1Char(' ')) : QStringLiteral("—"); };
        QStringList cells{row.label.isEmpty() ? QStringLiteral("Channel %1").arg(row.channel) : row.label, row.unit,
                          s.notNumbers ? QStringLiteral("%1 (%2 left out)").arg(s.count).arg(s.notNumbers)
                                       : QString::number(s.count),
                          ValueText(s, s.min, decimals), time(s.minTime),
                          ValueText(s, s.max, decimals), time(s.maxTime), ValueText(s, s.mean, decimals),
                          ValueText(s, s.stddev, decimals), ValueText(s, s.first, decimals),
                          ValueText(s, s.last, decimals)};
        if (withLimits)
            cells << DurationText(s.belowLowDays) << DurationText(s.aboveHighDays)
                  << QString::number(s.excursions.size());
        t.rows.push_back(cells);
    }
    return t;
}

QString TableText(const StatisticsTable& table)
{
    QString text = table.headers.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const QStringList& row : table.rows)
        text += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
    return text;
}

StatisticsTable MakeExcursionTable(const Summary& summary, int decimals)
{
    StatisticsTable t;
    t.headers = QStringList{QStringLiteral("Start"), QStringLiteral("End"), QStringLiteral("Duration"),
                            QStringLiteral("Extreme"), QStringLiteral("Limit"), QStringLiteral("Channel")};
    for (const SummaryRow& row : summary.rows)
        for (const Excursion& e : row.stats.excursions)
            t.rows.push_back({IsoTime(e.start).replace(QLatin1Char('T'), QLatin1Char(' ')),
                              IsoTime(e.end).replace(QLatin1Char('T'), QLatin1Char(' ')), DurationText(e.durationDays),
                              QString::number(e.extreme, 'f', decimals),
                              e.side == LimitSide::Low ? QStringLiteral("Low") : QStringLiteral("High"),
                              row.label.isEmpty() ? QStringLiteral("Channel %1").arg(row.channel) : row.label});
    return t;
}

QString DeltaTimeText(double days)
{
    return (days < 0 ? QStringLiteral("-") : QString()) + DurationText(std::abs(days));
}

QString CursorReadoutText(const std::vector<const ChannelSeries*>& channels, const GraphCursors& cursors, int decimals)
{
    const auto a = cursors.at(CursorName::A);
    const auto b = cursors.at(CursorName::B);
    const auto valueAt = [](const ChannelSeries& s, const std::optional<double>& t) -> std::optional<double> {
        const int i = t ? NearestReading(s.time, *t) : -1;
        if (i < 0 || std::isnan(s.value[static_cast<std::size_t>(i)]))
            return std::nullopt;
        return s.value[static_cast<std::size_t>(i)];
    };
    const auto text = [decimals](const std::optional<double>& v) {
        return v ? QString::number(*v, 'f', decimals) : QStringLiteral("—");
    };
    QStringList parts;
    parts << QStringLiteral("A %1\nB %2\nΔt %3")
                 .arg(a ? IsoTime(*a).replace(QLatin1Char('T'), QLatin1Char(' ')) : QStringLiteral("—"),
                      b ? IsoTime(*b).replace(QLatin1Char('T'), QLatin1Char(' ')) : QStringLiteral("—"),
                      a && b ? DeltaTimeText(*b - *a) : QStringLiteral("—"));
    for (const ChannelSeries* s : channels) {
        const auto va = valueAt(*s, a);
        const auto vb = valueAt(*s, b);
        parts << QStringLiteral("%1: A %2  B %3  B−A %4")
                     .arg(s->label, text(va), text(vb), va && vb ? text(*vb - *va) : QStringLiteral("—"));
    }
    return parts.join(QLatin1Char('\n'));
}

} // namespace tamble
