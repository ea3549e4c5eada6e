#pragma once
// The statistics and excursions of one or more recordings over a common span, and their forms for
// people and scripts: a text table, CSV and JSON. Times are local ISO 8601 as the files store
// them; values are unrounded.

#include "analysis/limits.h"
#include "analysis/series.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace tamble {

struct SummaryRow {
    QString file;
    int channel = 0;
    QString label;
    QString unit;
    ChannelStatistics stats;
};

struct Summary {
    double from = 0;
    double to = 0;
    std::vector<SummaryRow> rows;
};

// Every channel of every recording over [from, to]; an open end is the earliest first or latest
// last reading of them all.
Summary Summarise(const std::vector<RecordingSeries>& recordings, std::optional<double> from,
                  std::optional<double> to, const LimitSet& limits);

enum class SummaryFormat { Text, Csv, Json };
std::optional<SummaryFormat> SummaryFormatNamed(const QString& name);
QByteArray FormatSummary(const Summary& summary, SummaryFormat format);

// "1 d 02:03:04", "02:03:04": a duration for people.
QString DurationText(double days);
// A value for people at `decimals`, or "—" when there is none.
QString ValueText(const ChannelStatistics& s, double value, int decimals);

} // namespace tamble
