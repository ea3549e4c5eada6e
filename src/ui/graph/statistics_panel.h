#pragma once
// The Statistics dock of the graph window: one row per visible channel over the span between the
// cursors (else the view), the cursor read-out above it, and "Copy", which puts the table on the
// clipboard as tab-separated text with a header line.

#include "analysis/graph_analysis.h"

#include <QDockWidget>

class QLabel;
class QTableWidget;

namespace tamble {

class StatisticsPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit StatisticsPanel(QWidget* parent);

    void showTable(const StatisticsTable& table, const QString& spanText);
    void setReadout(const QString& text);
    const StatisticsTable& table() const { return m_table; }
    QTableWidget* tableWidget() const { return m_view; }
    QString readout() const;

private:
    StatisticsTable m_table;
    QTableWidget* m_view = nullptr;
    QLabel* m_span = nullptr;
    QLabel* m_readout = nullptr;
};

// The Excursions dock: start, end, duration, extreme, limit and channel of every excursion of the
// statistics' span. Double-clicking a row asks to zoom to it.
class ExcursionsPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit ExcursionsPanel(QWidget* parent);
    void showExcursions(const StatisticsTable& table, const std::vector<std::pair<double, double>>& spans);
    QTableWidget* tableWidget() const { return m_view; }

signals:
    void excursionChosen(double from, double to);

private:
    QTableWidget* m_view = nullptr;
    std::vector<std::pair<double, double>> m_spans;
};

} // namespace tamble
