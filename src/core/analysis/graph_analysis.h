#pragma once
// The analysis a graph window shows beside its chart: two cursors that stand on readings, the
// span the statistics cover (between the cursors when both are set, else the view), the
// statistics table with its clipboard text, and the cursor read-out.

#include "analysis/summary.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace tamble {

enum class CursorName { A, B };

class GraphCursors {
public:
    // Sets a cursor on the reading of `times` nearest to `at` (ascending times; none: nothing set).
    void set(CursorName name, double at, const std::vector<double>& times);
    // Moves a set cursor by `readings` along `times`, stopping at the ends.
    void step(CursorName name, int readings, const std::vector<double>& times);
    void clear();
    void select(CursorName name) { m_selected = name; }
    CursorName selected() const { return m_selected; }

    std::optional<double> at(CursorName name) const { return m_at[name == CursorName::A ? 0 : 1]; }
    bool any() const { return m_at[0] || m_at[1]; }
    // Both set: from the earlier to the later.
    std::optional<std::pair<double, double>> span() const;

private:
    std::array<std::optional<double>, 2> m_at;
    CursorName m_selected = CursorName::A;
};

// Index of the reading of `times` nearest to `at`; -1 when there are none.
int NearestReading(const std::vector<double>& times, double at);

struct StatisticsTable {
    QStringList headers;
    std::vector<QStringList> rows;
};

// One row per channel of `summary` (the caller leaves hidden channels out), values at `decimals`;
// "—" where the span holds no reading. With limits, the time below and above and the excursions.
StatisticsTable MakeStatisticsTable(const Summary& summary, int decimals, bool withLimits);
// Tab-separated, a header line first, for the clipboard.
QString TableText(const StatisticsTable& table);

// The excursions of `summary` as a list: start, end, duration, extreme, which limit and channel.
StatisticsTable MakeExcursionTable(const Summary& summary, int decimals);

// Per channel the reading at A, at B and B−A, then Δt as days/h:min:s; a cursor not set shows "—".
QString CursorReadoutText(const std::vector<const ChannelSeries*>& channels, const GraphCursors& cursors, int decimals);

// "2 d 03:04:05" or "03:04:05", negative with a sign.
QString DeltaTimeText(double days);

} // namespace tamble
