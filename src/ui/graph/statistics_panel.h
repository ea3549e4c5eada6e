#pragma once
// The Statistics dock of the graph window: one row per visible channel over the span between the
// cursors (else the view), and "Copy", which puts the table on the clipboard as tab-separated text
// with a header line.

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
    const StatisticsTable& table() const { return m_table; }
    QTableWidget* tableWidget() const { return m_view; }

private:
    StatisticsTable m_table;
    QTableWidget* m_view = nullptr;
    QLabel* m_span = nullptr;
};

// The cursor read-out: the times of A and B with Δt, and per visible channel the reading at A,
// at B and B−A. It shows while a cursor is set.
class CursorReadoutPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit CursorReadoutPanel(QWidget* parent);
    void setReadout(const QString& text);
    QString readout() const;

private:
    QLabel* m_text = nullptr;
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
