// The graph window, offscreen: the shipped samples, unit changes recomputed from the
// readings, menus mirrored in the pop-up menu, failed opens that keep the graph.
#include "ui/graph/graph_window.h"
#include "ui/app/main_window.h"

#include "e2e/support/sim_process.h"
#include "program/app_records.h"
#include "support/scripted_messages.h"
#include "ui/support/graph_rig.h"
#include "ui/support/screens.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QUrl>
#include <cmath>
#include <gtest/gtest.h>

using namespace tamble;
using namespace tamble::test;
using tamble::e2e::ProgramHome;

namespace {

TEST(GraphWindow, OpensEveryShippedSampleWithLegendsAndData)
{
    Graph g;
    const QStringList samples = QDir(QStringLiteral(TAMBLE_SOURCE_DIR "/data/samples")).entryList({QStringLiteral("*.TL1")});
    ASSERT_FALSE(samples.isEmpty());
    for (const QString& name : samples) {
        ASSERT_TRUE(g.open(g.sample(name))) << name.toStdString() << g.said();
        EXPECT_FALSE(g.window->loadError());
        EXPECT_EQ(g.window->chart().subsetCount(), g.records.dataSet.channelCount()) << name.toStdString();
        for (int k = 0; k < g.window->chart().subsetCount(); ++k) {
            EXPECT_FALSE(g.window->chart().subsetY(k).empty()) << name.toStdString();
            EXPECT_FALSE(g.window->chart().subsetLabel(k).contains(QLatin1Char('~')));
        }
        const auto x = g.window->chart().subsetX(0);
        ASSERT_GE(x.size(), 2u);
        EXPECT_GT(x.front(), 30000.0) << "X values are date-times after 1982";
        EXPECT_LT(x.front(), x.back());
    }
    g.window->show();
    SaveScreen(*g.window, QStringLiteral("graph"));
}

TEST(GraphWindow, CelsiusAndFahrenheitDifferByTheConversion)
{
    Graph g;
    ASSERT_TRUE(g.open(g.sample(QStringLiteral("sample8.TL1"))));
    const std::vector<double> celsius = g.window->chart().subsetY(0);
    ASSERT_FALSE(celsius.empty());

    g.window->command(QStringLiteral("Fahrenheit"))->trigger();
    EXPECT_TRUE(g.records.settings.fahrenheit);
    EXPECT_TRUE(g.window->command(QStringLiteral("Fahrenheit"))->isChecked());
    EXPECT_FALSE(g.window->command(QStringLiteral("Celsius"))->isChecked());
    const std::vector<double> fahrenheit = g.window->chart().subsetY(0);
    ASSERT_EQ(fahrenheit.size(), celsius.size());
    for (std::size_t i = 0; i < celsius.size(); ++i)
        EXPECT_NEAR(fahrenheit[i], celsius[i] * 9.0 / 5.0 + 32.0, 0.01) << i;
    EXPECT_TRUE(g.window->chart().yAxisLabel(0).contains(QLatin1Char('F'))) << g.window->chart().yAxisLabel(0).toStdString();

    g.window->command(QStringLiteral("Celsius"))->trigger();
    const std::vector<double> back = g.window->chart().subsetY(0);
    for (std::size_t i = 0; i < celsius.size(); ++i)
        EXPECT_NEAR(back[i], celsius[i], 0.01);
}

TEST(GraphWindow, FileThatCannotBeOpenedKeepsTheGraphAndSaysSo)
{
    Graph g;
    ASSERT_TRUE(g.open(g.sample(QStringLiteral("sample8.TL1"))));
    const auto before = g.window->chart().subsetY(0);
    const QString missing = g.home.filePath(QStringLiteral("gone.TL1"));
    EXPECT_FALSE(g.open(missing));
    EXPECT_TRUE(g.window->loadError());
    ASSERT_FALSE(g.messages.shown.empty());
    EXPECT_EQ(g.messages.shown.back().text, QStringLiteral("File: ") + missing + QStringLiteral(" not found"));
    EXPECT_EQ(g.window->chart().subsetY(0), before);

    // A truncated file: the loader's message, and still the previous data.
    const QString cut = g.home.filePath(QStringLiteral("cut.TL1"));
    g.home.writeFile(QStringLiteral("cut.TL1"), g.home.readFile(QStringLiteral("sample8.TL1")).left(120));
    const std::size_t shown = g.messages.shown.size();
    EXPECT_FALSE(g.open(cut));
    EXPECT_GT(g.messages.shown.size(), shown);
    EXPECT_EQ(g.window->chart().subsetY(0), before);
}

TEST(GraphWindow, RadioGroupsAndTogglesStayInStepInBothMenus)
{
    Graph g;
    g.records.settings.grid = 7;   // unknown: nothing checked
    g.window->SetUpChart();
    for (const char* item : {"Both X and Y Axis", "Y Axis", "X Axis", "No Grid"})
        EXPECT_FALSE(g.window->command(QString::fromLatin1(item))->isChecked()) << item;

    g.window->command(QStringLiteral("Y Axis"))->trigger();
    EXPECT_EQ(g.records.settings.grid, 1);
    g.window->command(QStringLiteral("Dew Point"))->trigger();
    EXPECT_EQ(g.records.settings.humidityQuantity, 1);
    g.window->command(QStringLiteral("Small"))->trigger();
    EXPECT_EQ(g.records.settings.textSize, 1);
    g.window->command(QStringLiteral("Monochrome + Symbols"))->trigger();
    EXPECT_EQ(g.records.settings.colourMode, 3);
    g.window->command(QStringLiteral("Thick Plotting"))->trigger();
    EXPECT_TRUE(g.records.settings.thickPlotting);
    g.window->command(QStringLiteral("One Decimal"))->trigger();
    EXPECT_EQ(g.window->numericPrecision(), 1);

    // The pop-up menu holds the very same actions as the menu bar.
    QStringList popup;
    for (QAction* a : g.window->popupMenu()->actions())
        popup << a->text().remove(QLatin1Char('&'));
    EXPECT_EQ(popup, (QStringList{"Open", "Viewports", "Font Size", "Grid Lines", "Grid in Front", "Mark Data Points",
                                  "Thick Plotting", "Undo Zoom", "Export", "Colors", "Temperature", "Moisture",
                                  "Numeric Precision", "File Name", "Display Mode", "Print", "", "Statistics",
                                  "Limits...", "Excursions", "Cursor A Here", "Cursor B Here", "Clear Cursors",
                                  "Report..."}));
    EXPECT_TRUE(g.window->popupMenu()->actions().contains(g.window->command(QStringLiteral("Thick Plotting"))));
    EXPECT_FALSE(g.window->command(QStringLiteral("Undo Zoom"))->isEnabled());

    g.window->command(QStringLiteral("Help"))->trigger();
    EXPECT_EQ(g.help.contexts, std::vector<int>{2});
}

TEST(GraphWindow, LoadResetsPrecisionAndHideComesBackAsNameOnNextBuild)
{
    Graph g;
    const QString path = g.sample(QStringLiteral("sample10.TL1"));
    ASSERT_TRUE(g.open(path));
    EXPECT_EQ(g.window->chart().xAxisLabel(), QStringLiteral("sample10.TL1"));
    g.window->command(QStringLiteral("Path + Name"))->trigger();
    EXPECT_EQ(g.window->chart().xAxisLabel(), path);
    g.window->command(QStringLiteral("Hide"))->trigger();
    EXPECT_EQ(g.window->chart().xAxisLabel(), QString());
    g.window->BuildGraph();
    EXPECT_EQ(g.window->chart().xAxisLabel(), QStringLiteral("sample10.TL1"));
    EXPECT_TRUE(g.window->command(QStringLiteral("Hide"))->isChecked());

    g.window->command(QStringLiteral("No Decimals"))->trigger();
    ASSERT_TRUE(g.open(path));
    EXPECT_EQ(g.window->chart().precision(), 2);
    EXPECT_TRUE(g.window->command(QStringLiteral("Two Decimals"))->isChecked());
}

TEST(GraphWindow, ShowSizesByScreenAndLoadsOnceThenCloseHides)
{
    Graph g;
    g.records.dataFileName = g.sample(QStringLiteral("sample12.TL1"));
    g.window->setLoadOnShow(true);
    bool closed = false;
    QObject::connect(g.window.get(), &GraphWindow::closed, [&] { closed = true; });
    g.window->show();
    EXPECT_FALSE(g.window->loadOnShow());
    EXPECT_GT(g.window->chart().subsetCount(), 0);
    EXPECT_EQ(g.window->windowTitle(), QStringLiteral("Tamble Logger Graph"));
    g.window->command(QStringLiteral("Exit Graph"))->trigger();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(g.window->isVisible());
}

} // namespace

namespace {

TEST(GraphFromMainWindow, FileGraphChoosesAFileAndGraphShowsIt)
{
    ProgramHome home;
    AppRecords records;
    records.programDir = home.path() + QLatin1Char('/');
    for (const QString& table : QDir(QStringLiteral(TAMBLE_SOURCE_DIR "/data")).entryList({QStringLiteral("*.?vt")}))
        home.copyFromSource(QStringLiteral("data/") + table);
    home.copyFromSource(QStringLiteral("data/samples/sample8.TL1"));
    ScriptedMessages messages;
    home.copyFromSource(QStringLiteral("data/default.gcf"));  // no warning about colours
    MainWindow main(records, QStringLiteral(TAMBLE_SOURCE_DIR "/data"));
    main.setMessageService(messages);
    EXPECT_TRUE(main.action(MainCommand::FileGraph)->isEnabled());
    EXPECT_TRUE(main.action(MainCommand::Graph)->isEnabled());

    GraphWindow& graph = main.graph();
    graph.chooseFile = [] { return QString(); };
    main.run(MainCommand::FileGraph);
    EXPECT_FALSE(graph.isVisible()) << "a cancelled choice shows nothing";

    const QString path = home.filePath(QStringLiteral("sample8.TL1"));
    graph.chooseFile = [path] { return path; };
    main.run(MainCommand::FileGraph);
    EXPECT_TRUE(graph.isVisible());
    EXPECT_EQ(graph.chart().xAxisLabel(), QStringLiteral("sample8.TL1"));
    EXPECT_EQ(records.settings.lastDataFile, path);
    EXPECT_GT(graph.chart().subsetCount(), 0);

    graph.close();
    EXPECT_FALSE(graph.isVisible());
    main.run(MainCommand::Graph);
    EXPECT_TRUE(graph.isVisible());
}

TEST(GraphFromMainWindow, CommandLineGraphRequestShowsTheNamedFileAfterTheFirstPaint)
{
    ProgramHome home;
    AppRecords records;
    records.programDir = home.path() + QLatin1Char('/');
    for (const QString& table : QDir(QStringLiteral(TAMBLE_SOURCE_DIR "/data")).entryList({QStringLiteral("*.?vt")}))
        home.copyFromSource(QStringLiteral("data/") + table);
    home.copyFromSource(QStringLiteral("data/samples/sample10.TL1"));
    records.dataFileName = home.filePath(QStringLiteral("sample10.TL1"));
    records.mode.openGraph = true;
    ScriptedMessages messages;
    home.copyFromSource(QStringLiteral("data/default.gcf"));  // no warning about colours
    MainWindow main(records, QStringLiteral(TAMBLE_SOURCE_DIR "/data"));
    main.setMessageService(messages);
    main.show();
    QApplication::processEvents();
    EXPECT_FALSE(records.mode.openGraph);
    EXPECT_TRUE(main.graph().isVisible());
    EXPECT_EQ(main.graph().chart().xAxisLabel(), QStringLiteral("sample10.TL1"));
}

} // namespace

namespace {

TEST(GraphWindow, DroppedGraphFilesOnlyAndTheValueUnderTheMouse)
{
    const std::vector<std::pair<const char*, bool>> names = {
        {"a.tl1", true}, {"b.TL2", true}, {"c.Tl1", true}, {"d.tl5", false}, {"e.csv", false}, {"tl1", false}};
    for (const auto& [name, accepted] : names) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/") + QString::fromLatin1(name))});
        EXPECT_EQ(!GraphWindow::graphFileIn(&mime).isEmpty(), accepted) << name;
    }
    QMimeData two;
    two.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.tl1")), QUrl::fromLocalFile(QStringLiteral("/tmp/b.tl1"))});
    EXPECT_TRUE(GraphWindow::graphFileIn(&two).isEmpty());

    Graph g;
    g.window->show();
    ASSERT_TRUE(g.window->openDropped(g.sample(QStringLiteral("sample8.TL1"))));
    EXPECT_EQ(g.window->chart().xAxisLabel(), QStringLiteral("sample8.TL1"));
    QApplication::clipboard()->clear();
    g.window->command(QStringLiteral("Copy"))->trigger();
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());
    g.window->command(QStringLiteral("Three Decimals"))->trigger();
    QWidget* chart = g.window->chart().widget();
    QApplication::processEvents();   // the queued replot lays the axes out
    QMouseEvent move(QEvent::MouseMove, QPointF(chart->width() / 2.0, chart->height() / 2.0),
                     chart->mapToGlobal(QPointF(chart->width() / 2.0, chart->height() / 2.0)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(chart, &move);
    const QString status = g.window->statusText();
    EXPECT_TRUE(status.contains(QStringLiteral("1998"))) << status.toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral(": -?\\d+\\.\\d{3}\\b")).match(status).hasMatch()) << status.toStdString();
}

TEST(GraphWindow, MultiBankRecordingGoesThroughItsBankFile)
{
    Graph g;
    const QString path = g.sample(QStringLiteral("banks4.TL1"));
    ASSERT_TRUE(g.open(path)) << g.said();
    EXPECT_TRUE(g.records.dataSet.multiBank);
    EXPECT_TRUE(QFile::exists(g.home.filePath(QStringLiteral("banks4.TL2"))));
    EXPECT_GT(g.window->graphBuffer().graphPointCount, 1);
    const QString tl2 = g.home.filePath(QStringLiteral("banks4.TL2"));
    ASSERT_TRUE(g.open(tl2)) << g.said();
    EXPECT_EQ(g.window->chart().xAxisLabel(), QStringLiteral("banks4.TL2"));
}

} // namespace

namespace {

TEST(GraphWindow, MultiBankUnitChangeReadsTheRecordingAgainFromItsTl1)
{
    Graph g;
    ASSERT_TRUE(g.open(g.sample(QStringLiteral("banks4.TL1")))) << g.said();
    const std::vector<double> celsius = g.window->chart().subsetY(0);
    g.window->command(QStringLiteral("Fahrenheit"))->trigger();
    EXPECT_TRUE(g.records.settings.fahrenheit) << g.said();
    const std::vector<double> fahrenheit = g.window->chart().subsetY(0);
    ASSERT_EQ(fahrenheit.size(), celsius.size());
    if (g.records.dataSet.typeCodes[0] != 'R' && g.records.dataSet.typeCodes[0] != 'X') {
        for (std::size_t i = 0; i < celsius.size(); i += 97)
            EXPECT_NEAR(fahrenheit[i], celsius[i] * 9.0 / 5.0 + 32.0, 0.02) << i;
    }

    // The .TL1 gone: the reload fails, the choice is undone and the graph stays.
    QFile::remove(g.home.filePath(QStringLiteral("banks4.TL1")));
    g.window->command(QStringLiteral("Celsius"))->trigger();
    EXPECT_TRUE(g.records.settings.fahrenheit);
    EXPECT_TRUE(g.window->command(QStringLiteral("Fahrenheit"))->isChecked());
    EXPECT_EQ(g.window->chart().subsetY(0), fahrenheit);
    EXPECT_TRUE(g.window->isEnabled());
}

} // namespace

namespace {

TEST(GraphChart, ExportsAndPrintRenderingGiveValidPictures)
{
    Graph g;
    ASSERT_TRUE(g.open(g.sample(QStringLiteral("sample12.TL1"))));
    ChartAdapter& chart = g.window->chart();
    const QString png = g.home.filePath(QStringLiteral("g.png"));
    const QString pdf = g.home.filePath(QStringLiteral("g.pdf"));
    const QString svg = g.home.filePath(QStringLiteral("g.svg"));
    ASSERT_TRUE(chart.savePng(png, 800, 500, 2.0));
    ASSERT_TRUE(chart.savePdf(pdf, 800, 500));
    ASSERT_TRUE(chart.saveSvg(svg, 800, 500));
    EXPECT_TRUE(g.home.readFile(QStringLiteral("g.png")).startsWith("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(QImage(png).size(), QSize(1600, 1000));
    EXPECT_TRUE(g.home.readFile(QStringLiteral("g.pdf")).startsWith("%PDF-"));
    const QByteArray svgText = g.home.readFile(QStringLiteral("g.svg"));
    EXPECT_TRUE(svgText.contains("<svg")) << svgText.left(80).toStdString();
    EXPECT_TRUE(svgText.trimmed().endsWith("</svg>"));

    QImage page(600, 400, QImage::Format_ARGB32);
    page.fill(Qt::transparent);
    ASSERT_TRUE(chart.render(page, QRect(0, 0, 600, 400)));
    int painted = 0;
    for (int y = 0; y < page.height(); y += 7)
        for (int x = 0; x < page.width(); x += 7)
            painted += qAlpha(page.pixel(x, y)) != 0;
    EXPECT_GT(painted, 1000);
}

} // namespace

namespace {

TEST(GraphWindow, LabelWithRangeAndUnitGivesLegendFixedAxisAndUnitLabel)
{
    Graph g;
    const QString path = g.sample(QStringLiteral("sample8.TL1"));
    QByteArray bytes = g.home.readFile(QStringLiteral("sample8.TL1"));
    const QByteArray oldLabel = "Air temp [0.0]          ";
    ASSERT_TRUE(bytes.contains(oldLabel));
    bytes.replace(oldLabel, QByteArray("Air~-10,40;degC").leftJustified(24, ' '));
    ASSERT_TRUE(g.home.writeFile(QStringLiteral("sample8.TL1"), bytes));

    ASSERT_TRUE(g.open(path)) << g.said();
    ChartAdapter& chart = g.window->chart();
    EXPECT_EQ(chart.subsetLabel(0), QStringLiteral("Air"));
    EXPECT_EQ(chart.yAxisLabel(0), QStringLiteral("degC"));
    const ChartRange fixed = chart.yRange(0);
    EXPECT_TRUE(fixed.fixed);
    EXPECT_DOUBLE_EQ(fixed.min, -10);
    EXPECT_DOUBLE_EQ(fixed.max, 40);
    EXPECT_FALSE(chart.yRange(1).fixed);
}

} // namespace

namespace {

TEST(GraphWindow, ZoomWindowHookRefillsFromTheWindowAndEnablesUndo)
{
    Graph g;
    ASSERT_TRUE(g.open(g.sample(QStringLiteral("sample8.TL1"))));
    EXPECT_FALSE(g.window->command(QStringLiteral("Undo Zoom"))->isEnabled());
    ASSERT_GT(g.window->graphBuffer().graphStep, 1) << "a long recording is decimated";
    const double start = g.window->chart().subsetX(0).front();

    ZoomState& zoom = g.records.dataSet.zoom;
    zoom.zoomed = true;
    zoom.firstReading = 10;
    zoom.readingCount = 20;
    zoom.startStamp = g.records.dataSet.firstStamp;
    ASSERT_TRUE(g.window->refillBuffer());
    g.window->BuildGraph();
    EXPECT_EQ(g.window->graphBuffer().graphStep, 1);
    EXPECT_EQ(g.window->chart().subsetY(0).size(), 20u);
    const std::vector<double> x = g.window->chart().subsetX(0);
    ASSERT_EQ(x.size(), 20u);
    EXPECT_NEAR(x.front(), start, 1e-6) << "the window starts at its start stamp";
    EXPECT_NEAR(x[1] - x[0], g.records.dataSet.intervalMinutes / 1440.0, 1e-6) << "one reading per point";
    EXPECT_TRUE(g.window->command(QStringLiteral("Undo Zoom"))->isEnabled());
}

} // namespace
