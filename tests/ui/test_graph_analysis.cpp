#include "support/graph_rig.h"
#include "ui/graph/statistics_panel.h"
#include "ui/support/screens.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
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
    EXPECT_TRUE(g.window->cursorPanel().isVisible());
    EXPECT_TRUE(g.window->cursorPanel().readout().startsWith(QStringLiteral("A ")));
    EXPECT_TRUE(g.window->cursorPanel().readout().contains(QStringLiteral("B−A")));

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

namespace {

// A second file drawn over the first, named by file in the legend, and taken away again.
TEST(GraphAnalysis, AddedFileIsDrawnBesideTheFirstAndRemovedAgain)
{
    Graph g;
    ASSERT_TRUE(g.openSample(QStringLiteral("sample8.TL1"))) << g.said();
    const int own = g.window->chart().subsetCount();
    const QString second = g.sample(QStringLiteral("sample10.TL1"));
    g.window->chooseOverlayFile = [&] { return second; };
    g.window->command(QStringLiteral("Add File..."))->trigger();
    ASSERT_EQ(g.window->document().overlays().size(), 1u) << g.said();
    const int added = static_cast<int>(g.window->document().overlays().front().channels.size());
    EXPECT_EQ(g.window->chart().subsetCount(), own + added);
    EXPECT_TRUE(g.window->chart().subsetLabel(0).startsWith(QStringLiteral("sample8.TL1: ")));
    EXPECT_TRUE(g.window->chart().subsetLabel(own).startsWith(QStringLiteral("sample10.TL1: ")));

    // A file that does not load says so and changes nothing.
    g.window->chooseOverlayFile = [&] { return g.home.filePath(QStringLiteral("missing.TL1")); };
    g.window->command(QStringLiteral("Add File..."))->trigger();
    EXPECT_EQ(g.window->document().overlays().size(), 1u);
    EXPECT_EQ(g.window->chart().subsetCount(), own + added);
    g.window->resize(1000, 700);
    g.window->show();
    SaveScreen(*g.window, QStringLiteral("graph_overlay"));

    QMenu* remove = g.window->findChild<QMenu*>(QStringLiteral("Remove File"));
    ASSERT_TRUE(remove);
    remove->actions().front()->trigger();
    EXPECT_TRUE(g.window->document().overlays().empty());
    EXPECT_EQ(g.window->chart().subsetCount(), own);
}

} // namespace
