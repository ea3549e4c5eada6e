#include "ui/graph/statistics_panel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tamble {

namespace {

QTableWidget* ReadOnlyTable(QWidget* parent, const QString& name)
{
    auto* view = new QTableWidget(parent);
    view->setObjectName(name);
    view->setAccessibleName(name);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->verticalHeader()->setVisible(false);
    view->horizontalHeader()->setAccessibleName(name + QStringLiteral(" columns"));
    view->verticalHeader()->setAccessibleName(name + QStringLiteral(" rows"));
    for (QAbstractButton* corner : view->findChildren<QAbstractButton*>())
        corner->setAccessibleName(QStringLiteral("Select all"));
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return view;
}

// A table of the same shape keeps its items and only takes the new texts: a cursor moving over
// the chart refills it at every step.
void Fill(QTableWidget* view, const StatisticsTable& table)
{
    const int columns = static_cast<int>(table.headers.size());
    const int rows = static_cast<int>(table.rows.size());
    if (view->columnCount() != columns || view->rowCount() != rows) {
        view->clear();
        view->setColumnCount(columns);
        view->setRowCount(rows);
    }
    view->setHorizontalHeaderLabels(table.headers);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < table.rows[static_cast<std::size_t>(r)].size(); ++c) {
            const QString& text = table.rows[static_cast<std::size_t>(r)][c];
            if (QTableWidgetItem* item = view->item(r, c)) {
                if (item->text() != text)
                    item->setText(text);
            } else {
                view->setItem(r, c, new QTableWidgetItem(text));
            }
        }
}

} // namespace

StatisticsPanel::StatisticsPanel(QWidget* parent) : QDockWidget(QStringLiteral("Statistics"), parent)
{
    setObjectName(QStringLiteral("StatisticsPanel"));
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    m_span = new QLabel(body);
    m_span->setObjectName(QStringLiteral("StatisticsSpan"));
    m_span->setAccessibleName(QStringLiteral("Span"));
    m_view = ReadOnlyTable(body, QStringLiteral("Statistics"));
    auto* row = new QHBoxLayout;
    auto* copy = new QPushButton(QStringLiteral("Copy"), body);
    copy->setObjectName(QStringLiteral("CopyStatistics"));
    copy->setAccessibleName(QStringLiteral("Copy"));
    connect(copy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(TableText(m_table)); });
    row->addWidget(m_span, 1);
    row->addWidget(copy);
    column->addLayout(row);
    column->addWidget(m_view, 1);
    setWidget(body);
}

void StatisticsPanel::showTable(const StatisticsTable& table, const QString& spanText)
{
    m_table = table;
    m_span->setText(spanText);
    Fill(m_view, table);
}

CursorReadoutPanel::CursorReadoutPanel(QWidget* parent) : QDockWidget(QStringLiteral("Cursors"), parent)
{
    setObjectName(QStringLiteral("CursorReadoutPanel"));
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("CursorReadout"));
    m_text->setAccessibleName(QStringLiteral("Cursor read-out"));
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_text->setMargin(6);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWidget(m_text);
}

void CursorReadoutPanel::setReadout(const QString& text)
{
    m_text->setText(text);
    setMinimumWidth(m_text->sizeHint().width() + 16);   // the dock never cuts a line
}

QString CursorReadoutPanel::readout() const
{
    return m_text->text();
}

ExcursionsPanel::ExcursionsPanel(QWidget* parent) : QDockWidget(QStringLiteral("Excursions"), parent)
{
    setObjectName(QStringLiteral("ExcursionsPanel"));
    m_view = ReadOnlyTable(this, QStringLiteral("Excursions"));
    setWidget(m_view);
    connect(m_view, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (row >= 0 && row < static_cast<int>(m_spans.size()))
            emit excursionChosen(m_spans[static_cast<std::size_t>(row)].first, m_spans[static_cast<std::size_t>(row)].second);
    });
}

void ExcursionsPanel::showExcursions(const StatisticsTable& table, const std::vector<std::pair<double, double>>& spans)
{
    m_spans = spans;
    Fill(m_view, table);
}

} // namespace tamble
