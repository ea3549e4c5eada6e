#include "support/graph_rig.h"
#include "ui/graph/statistics_panel.h"
#include "ui/support/screens.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <algorithm>

using namespace tamble;
using namespace tamble::test;

namespace {

// Shift+click places A, Ctrl+click places B; the read-out and the statistics follow, over the
// readings between the cursors, and survive a unit change.
TEST(GraphAnalysis, CursorsByMouseSetTheSpanOfTheStatistics)
{
    Graph g;
    ASSERT_TRUE(g.openSample(QStringLiteral("temprh4.TL1"))) << g.said();
    g.window->resize(1000, 700);
    g.window->show();
    g.window->command(QStringLiteral("Statistics"))->trigger();
    ASSERT_TRUE(g.window->statisticsPanel().isVisible());
    EXPECT_EQ(g.window->statisticsPanel().tableWidget()->rowCount(), g.records.dataSet.channelCount());

    QWidget* chart = g.window->chart().widget();
    const int y = chart->height() / 2;
    QTest::mouseClick(chart, Qt::LeftButton, Qt::ShiftModifier, QPoint(chart->width() * 3 / 10, y));
    QTest::mouseClick(chart, Qt::LeftButton, Qt::ControlModifier, QPoint(chart->width() * 7 / 10, y));
    GraphCursors& cursors = g.window->document().cursors();
    ASSERT_TRUE(cursors.span());
    const auto [a, b] = *cursors.span();
    EXPECT_LT(a, b);

    const std::vector<double>& times = g.window->document().series()->channels.front().time;
    const auto inSpan = std::count_if(times.begin(), times.end(), [&](double t) { return t >= a && t <= b; });
    const StatisticsTable& table = g.window->statisticsPanel().table();
    ASSERT_EQ(table.rows.size(), 4u);
    EXPECT_EQ(table.rows[0][2], QString::number(inSpan));
    EXPECT_TRUE(g.window->statisticsPanel().readout().startsWith(QStringLiteral("A ")));
    EXPECT_TRUE(g.window->statisticsPanel().readout().contains(QStringLiteral("B−A")));

    // Arrow keys move the selected cursor (B, the last placed) reading by reading.
    chart->setFocus();
    QTest::keyClick(chart, Qt::Key_Left);
    EXPECT_EQ(g.window->statisticsPanel().table().rows[0][2], QString::number(inSpan - 1));

    // Copy: the table as tab-separated text with its header line.
    g.window->statisticsPanel().findChild<QAbstractButton*>(QStringLiteral("CopyStatistics"))->click();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("Channel\tUnit\tReadings\t")));

    g.window->command(QStringLiteral("Fahrenheit"))->trigger();
    EXPECT_TRUE(cursors.span());
    EXPECT_EQ(g.window->statisticsPanel().table().rows[0][1], QStringLiteral("Deg F"));
    SaveScreen(*g.window, QStringLiteral("graph_statistics"));
}

} // namespace
