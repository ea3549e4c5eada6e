#pragma once
// The report of an analysis as a PDF: the files with their logger, description, sample rate and
// recorded period, the chart as vector graphics, the statistics table and the excursions, with
// page numbers, on A4 or Letter as the locale measures. Written through a temporary file.

#include "analysis/summary.h"

#include <QPicture>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

namespace tamble {

// The chart as a picture of the given size in points.
using ReportChart = std::function<QPicture(const QSize& size)>;

// The error text, empty when written.
QString WriteReport(const QString& path, const std::vector<RecordingSeries>& recordings, const Summary& summary,
                    const ReportChart& chart);

// The same with a chart drawn from the readings: one band per channel.
QString WriteAnalysisReport(const QString& path, const std::vector<RecordingSeries>& recordings,
                            const Summary& summary);

} // namespace tamble
