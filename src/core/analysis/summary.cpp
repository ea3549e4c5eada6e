#include "analysis/summary.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <cmath>

namespace tamble {

namespace {

constexpr double kSecondsPerDay = 86400.0;

double Seconds(double days)
{
    return std::round(days * kSecondsPerDay * 1000.0) / 1000.0;
}

QString Number(double v)
{
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

QString CsvField(QString text)
{
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"'))) {
        text.replace(QLatin1String("\""), QLatin1String("\"\""));
        return QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text;
}

const char* SideName(LimitSide side)
{
    return side == LimitSide::Low ? "low" : "high";
}

QByteArray Json(const Summary& summary)
{
    QJsonArray channels;
    for (const SummaryRow& row : summary.rows) {
        const ChannelStatistics& s = row.stats;
        const bool any = s.count > 0;
        auto value = [any](double v) { return any ? QJsonValue(v) : QJsonValue(); };
        auto time = [any](double t) { return any ? QJsonValue(IsoTime(t)) : QJsonValue(); };
        QJsonArray excursions;
        for (const Excursion& e : s.excursions)
            excursions.append(QJsonObject{{"limit", SideName(e.side)}, {"start", IsoTime(e.start)}, {"end", IsoTime(e.end)},
                                          {"duration_s", Seconds(e.durationDays)}, {"extreme", e.extreme}});
        channels.append(QJsonObject{
            {"file", row.file}, {"channel", row.channel}, {"label", row.label}, {"unit", row.unit},
            {"count", s.count}, {"min", value(s.min)}, {"min_time", time(s.minTime)}, {"max", value(s.max)},
            {"max_time", time(s.maxTime)}, {"mean", value(s.mean)}, {"stddev", value(s.stddev)},
            {"first", value(s.first)}, {"last", value(s.last)}, {"below_low_s", Seconds(s.belowLowDays)},
            {"above_high_s", Seconds(s.aboveHighDays)}, {"excursions", excursions}});
    }
    const QJsonObject top{{"from", IsoTime(summary.from)}, {"to", IsoTime(summary.to)}, {"channels", channels}};
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

QByteArray Csv(const Summary& summary)
{
    QString out = QStringLiteral("file,channel,label,unit,count,min,min_time,max,max_time,mean,stddev,first,last,"
                                 "below_low_s,above_high_s,excursions\n");
    for (const SummaryRow& row : summary.rows) {
        const ChannelStatistics& s = row.stats;
        const bool any = s.count > 0;
        auto v = [any](double x) { return any ? Number(x) : QString(); };
        auto t = [any](double x) { return any ? IsoTime(x) : QString(); };
        out += QStringList{CsvField(row.file), QString::number(row.channel), CsvField(row.label), CsvField(row.unit),
                           QString::number(s.count), v(s.min), t(s.minTime), v(s.max), t(s.maxTime), v(s.mean),
                           v(s.stddev), v(s.first), v(s.last), Number(Seconds(s.belowLowDays)),
                           Number(Seconds(s.aboveHighDays)), QString::number(s.excursions.size())}
                   .join(QLatin1Char(','));
        out += QLatin1Char('\n');
    }
    out += QStringLiteral("\nfile,channel,limit,start,end,duration_s,extreme\n");
    for (const SummaryRow& row : summary.rows)
        for (const Excursion& e : row.stats.excursions)
            out += QStringList{CsvField(row.file), QString::number(row.channel), QLatin1String(SideName(e.side)),
                               IsoTime(e.start), IsoTime(e.end), Number(Seconds(e.durationDays)), Number(e.extreme)}
                       .join(QLatin1Char(',')) +
                   QLatin1Char('\n');
    return out.toUtf8();
}

QByteArray Text(const Summary& summary)
{
    QString out = QStringLiteral("From %1 to %2\n").arg(IsoTime(summary.from), IsoTime(summary.to));
    for (const SummaryRow& row : summary.rows) {
        const ChannelStatistics& s = row.stats;
        out += QStringLiteral("\n%1  channel %2  %3%4\n")
                   .arg(row.file)
                   .arg(row.channel)
                   .arg(row.label, row.unit.isEmpty() ? QString() : QStringLiteral(" (") + row.unit + QLatin1Char(')'));
        out += QStringLiteral("  readings %1").arg(s.count);
        if (s.notNumbers)
            out += QStringLiteral(" (%1 not numbers left out)").arg(s.notNumbers);
        out += QLatin1Char('\n');
        const auto at = [&s](double t) { return s.count ? QStringLiteral(" at ") + IsoTime(t) : QString(); };
        out += QStringLiteral("  min %1%2   max %3%4\n")
                   .arg(ValueText(s, s.min, 3), at(s.minTime), ValueText(s, s.max, 3), at(s.maxTime));
        out += QStringLiteral("  mean %1   stddev %2   first %3   last %4\n")
                   .arg(ValueText(s, s.mean, 3), ValueText(s, s.stddev, 3), ValueText(s, s.first, 3),
                        ValueText(s, s.last, 3));
        if (s.belowLowDays > 0 || s.aboveHighDays > 0 || !s.excursions.empty())
            out += QStringLiteral("  below low %1   above high %2   excursions %3\n")
                       .arg(DurationText(s.belowLowDays), DurationText(s.aboveHighDays))
                       .arg(s.excursions.size());
        for (const Excursion& e : s.excursions)
            out += QStringLiteral("    %1 %2 to %3 (%4), extreme %5\n")
                       .arg(QLatin1String(SideName(e.side)), IsoTime(e.start), IsoTime(e.end),
                            DurationText(e.durationDays), QString::number(e.extreme, 'f', 3));
    }
    return out.toUtf8();
}

} // namespace

Summary Summarise(const std::vector<RecordingSeries>& recordings, std::optional<double> from,
                  std::optional<double> to, const LimitSet& limits)
{
    Summary summary;
    double first = std::nan(""), last = std::nan("");
    for (const RecordingSeries& r : recordings) {
        if (!(r.firstTime() >= first))
            first = r.firstTime();
        if (!(r.lastTime() <= last))
            last = r.lastTime();
    }
    summary.from = from.value_or(first);
    summary.to = to.value_or(last);
    for (const RecordingSeries& r : recordings)
        for (const ChannelSeries& c : r.channels)
            summary.rows.push_back({r.file, c.channel, c.label, c.unit,
                                    ComputeStatistics(c, r.intervalDays, summary.from, summary.to,
                                                      limits[static_cast<std::size_t>(c.channel - 1)])});
    return summary;
}

std::optional<SummaryFormat> SummaryFormatNamed(const QString& name)
{
    if (name == QLatin1String("text"))
        return SummaryFormat::Text;
    if (name == QLatin1String("csv"))
        return SummaryFormat::Csv;
    if (name == QLatin1String("json"))
        return SummaryFormat::Json;
    return std::nullopt;
}

QByteArray FormatSummary(const Summary& summary, SummaryFormat format)
{
    switch (format) {
    case SummaryFormat::Text: return Text(summary);
    case SummaryFormat::Csv: return Csv(summary);
    case SummaryFormat::Json: return Json(summary);
    }
    return {};
}

QString DurationText(double days)
{
    qint64 s = std::llround(days * kSecondsPerDay);
    const qint64 d = s / 86400;
    s %= 86400;
    const QString hms = QStringLiteral("%1:%2:%3")
                            .arg(s / 3600, 2, 10, QLatin1Char('0'))
                            .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                            .arg(s % 60, 2, 10, QLatin1Char('0'));
    return d ? QString::number(d) + QStringLiteral(" d ") + hms : hms;
}

QString ValueText(const ChannelStatistics& s, double value, int decimals)
{
    return s.count ? QString::number(value, 'f', decimals) : QStringLiteral("—");
}

} // namespace tamble
