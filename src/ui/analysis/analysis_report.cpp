#include "ui/analysis/analysis_report.h"

#include "util/file_write.h"

#include "ui/graph/chart_adapter.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QBuffer>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace tamble {

namespace {

// A line of the report's text part; a heading is set in bold with space above.
struct ReportLine {
    QString text;
    bool heading = false;
};

QPageSize LocalePageSize()
{
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                                : QPageSize(QPageSize::A4);
}

std::vector<ReportLine> TextLines(const std::vector<RecordingSeries>& recordings, const Summary& summary)
{
    std::vector<ReportLine> lines;
    lines.push_back({QStringLiteral("Statistics from %1 to %2").arg(IsoTime(summary.from), IsoTime(summary.to)), true});
    for (const SummaryRow& row : summary.rows) {
        const ChannelStatistics& s = row.stats;
        lines.push_back({QStringLiteral("%1, channel %2: %3%4")
                             .arg(QFileInfo(row.file).fileName())
                             .arg(row.channel)
                             .arg(row.label, row.unit.isEmpty() ? QString() : QStringLiteral(" (") + row.unit + QLatin1Char(')')),
                         true});
        const auto at = [&s](double t) { return s.count ? QStringLiteral(" at ") + IsoTime(t) : QString(); };
        lines.push_back({QStringLiteral("Readings %1%2").arg(s.count).arg(
            s.notNumbers ? QStringLiteral(" (%1 not numbers left out)").arg(s.notNumbers) : QString())});
        lines.push_back({QStringLiteral("Minimum %1%2    Maximum %3%4")
                             .arg(ValueText(s, s.min, 3), at(s.minTime), ValueText(s, s.max, 3), at(s.maxTime))});
        lines.push_back({QStringLiteral("Mean %1    Standard deviation %2    First %3    Last %4")
                             .arg(ValueText(s, s.mean, 3), ValueText(s, s.stddev, 3), ValueText(s, s.first, 3),
                                  ValueText(s, s.last, 3))});
        if (s.belowLowDays > 0 || s.aboveHighDays > 0 || !s.excursions.empty())
            lines.push_back({QStringLiteral("Below low limit %1    Above high limit %2    Excursions %3")
                                 .arg(DurationText(s.belowLowDays), DurationText(s.aboveHighDays))
                                 .arg(s.excursions.size())});
    }
    bool any = false;
    for (const SummaryRow& row : summary.rows)
        any = any || !row.stats.excursions.empty();
    if (any) {
        lines.push_back({QStringLiteral("Excursions"), true});
        for (const SummaryRow& row : summary.rows)
            for (const Excursion& e : row.stats.excursions)
                lines.push_back({QStringLiteral("%1 ch %2  %3  %4 to %5  (%6)  extreme %7")
                                     .arg(QFileInfo(row.file).fileName())
                                     .arg(row.channel)
                                     .arg(e.side == LimitSide::Low ? QStringLiteral("below low ")
                                                                   : QStringLiteral("above high"),
                                          IsoTime(e.start), IsoTime(e.end), DurationText(e.durationDays),
                                          QString::number(e.extreme, 'f', 3))});
    }
    (void)recordings;
    return lines;
}

std::vector<QString> HeaderLines(const std::vector<RecordingSeries>& recordings)
{
    std::vector<QString> lines;
    for (const RecordingSeries& r : recordings)
        lines.push_back(QStringLiteral("%1 — %2, \"%3\", every %4, %5 to %6")
                            .arg(QFileInfo(r.file).fileName(), r.model.isEmpty() ? QStringLiteral("logger") : r.model,
                                 r.description, DurationText(r.intervalDays), IsoTime(r.firstTime()),
                                 IsoTime(r.lastTime())));
    return lines;
}

// At most about 4,000 points per channel: the minimum and maximum of each bucket, in time order.
void Decimate(const ChannelSeries& s, std::vector<double>& x, std::vector<float>& y)
{
    const std::size_t n = s.time.size();
    const std::size_t step = std::max<std::size_t>(1, n / 2000);
    for (std::size_t i = 0; i < n; i += step) {
        std::size_t lo = i, hi = i;
        for (std::size_t k = i; k < std::min(n, i + step); ++k) {
            if (std::isnan(s.value[k]))
                continue;
            if (std::isnan(s.value[lo]) || s.value[k] < s.value[lo])
                lo = k;
            if (std::isnan(s.value[hi]) || s.value[k] > s.value[hi])
                hi = k;
        }
        for (std::size_t k : {std::min(lo, hi), std::max(lo, hi)}) {
            x.push_back(s.time[k]);
            y.push_back(std::isnan(s.value[k]) ? static_cast<float>(ChartAdapter::kNullY) : static_cast<float>(s.value[k]));
            if (lo == hi)
                break;
        }
    }
}

} // namespace

QString WriteReport(const QString& path, const std::vector<RecordingSeries>& recordings, const Summary& summary,
                    const ReportChart& chart)
{
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&file);
        pdf.setPageSize(LocalePageSize());
        pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        pdf.setResolution(72);   // the chart picture is recorded at 72 dots an inch; text and lines stay vectors
        pdf.setTitle(QStringLiteral("Tamble Logger report"));
        pdf.setCreator(QStringLiteral("Tamble Logger"));
        QPainter p;
        if (!p.begin(&pdf))
            return UnableToWriteText(path);
        const QRectF page = pdf.pageLayout().paintRectPixels(pdf.resolution()).translated(
            -pdf.pageLayout().paintRectPixels(pdf.resolution()).topLeft());
        QFont body(QStringLiteral("DejaVu Sans"), 9);
        QFont bold = body;
        bold.setBold(true);
        QFont title = body;
        title.setPointSize(14);
        title.setBold(true);
        const double lineHeight = QFontMetricsF(body, &pdf).lineSpacing();
        const double footer = lineHeight * 2;

        // First page: title, the files, the chart; then the text lines over as many pages as they need.
        const std::vector<QString> header = HeaderLines(recordings);
        const std::vector<ReportLine> lines = TextLines(recordings, summary);
        const double firstTop = lineHeight * (3 + static_cast<double>(header.size())) + page.height() * 0.45;
        const auto perPage = [&](double top) {
            return std::max(1, static_cast<int>((page.height() - footer - top) / lineHeight) - 1);
        };
        int pages = 1;
        for (int left = static_cast<int>(lines.size()) - perPage(firstTop); left > 0; left -= perPage(0))
            ++pages;

        auto drawFooter = [&](int number) {
            p.setFont(body);
            p.drawText(QRectF(page.left(), page.bottom() - lineHeight, page.width(), lineHeight), Qt::AlignCenter,
                       QStringLiteral("Page %1 of %2").arg(number).arg(pages));
        };
        p.setFont(title);
        double y = page.top();
        p.drawText(QRectF(page.left(), y, page.width(), lineHeight * 2), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Tamble Logger report"));
        y += lineHeight * 2;
        p.setFont(body);
        const QFontMetricsF metrics(body, &pdf);
        for (const QString& h : header) {
            p.drawText(QRectF(page.left(), y, page.width(), lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                       metrics.elidedText(h, Qt::ElideRight, page.width()));
            y += lineHeight;
        }
        y += lineHeight;
        const QRectF chartArea(page.left(), y, page.width(), page.height() * 0.45 - lineHeight);
        if (chart) {
            const QPicture picture = chart(chartArea.size().toSize());
            p.drawPicture(chartArea.topLeft(), picture);
        }
        y = firstTop;
        int number = 1;
        int onPage = 0;
        int capacity = perPage(firstTop);
        for (const ReportLine& line : lines) {
            if (onPage >= capacity) {
                drawFooter(number++);
                pdf.newPage();
                y = page.top();
                onPage = 0;
                capacity = perPage(0);
            }
            p.setFont(line.heading ? bold : body);
            if (line.heading && onPage > 0)
                y += lineHeight * 0.4;
            p.drawText(QRectF(page.left(), y, page.width(), lineHeight), Qt::AlignLeft | Qt::AlignVCenter, line.text);
            y += lineHeight;
            ++onPage;
        }
        drawFooter(number);
        if (!p.end())
            return UnableToWriteText(path);
    }
    file.close();
    if (!WriteFileReplacing(path, file.data()))
        return UnableToWriteText(path);
    return {};
}

QString WriteAnalysisReport(const QString& path, const std::vector<RecordingSeries>& recordings,
                            const Summary& summary)
{
    ChartAdapter chart(nullptr);
    std::vector<std::vector<int>> bands;
    int subset = 0;
    for (const RecordingSeries& r : recordings)
        for (std::size_t c = 0; c < r.channels.size(); ++c)
            bands.push_back({subset++});
    chart.setViewports(bands);
    subset = 0;
    for (const RecordingSeries& r : recordings) {
        for (const ChannelSeries& s : r.channels) {
            std::vector<double> x;
            std::vector<float> y;
            Decimate(s, x, y);
            chart.setSubsetData(subset, x, y);
            chart.setSubsetLabel(subset, s.label);
            chart.setYAxis(subset, s.unit, {});
            ++subset;
        }
    }
    return WriteReport(path, recordings, summary, [&chart](const QSize& size) {
        chart.widget()->resize(size);
        chart.refresh();
        QPicture picture;
        chart.render(picture, QRect(QPoint(0, 0), size));
        return picture;
    });
}

} // namespace tamble
