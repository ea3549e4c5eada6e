// The live graph: dropping the oldest readings when the chart is full, the
// scrolling window, the running Y ranges for any sign, the viewport axes, the
// chart-only zoom with hold and undo, a hidden window, and the values of a
// reading line compared with the Status window's value boxes.

#include "graph/realtime_graph.h"

#include "format/logger_info.h"
#include "link/status_text.h"
#include "link/status_window_model.h"
#include "settings/settings_record.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tamble;

namespace {

constexpr double kStart = 46000.25;             // a morning in 2025
constexpr double kSecond = 1.0 / 86400.0;
constexpr double kTolerance = 1e-9;             // days, well below a millisecond

double At(double seconds) { return kStart + seconds * kSecond; }

// A reading `seconds` after the start; channel 1 reads `value`, the others 0.
RealTimeAppend Feed(RealTimeGraph& g, double seconds, double value, std::uint8_t mask = 0x1)
{
    return g.append(At(seconds), {value, 0, 0, 0}, mask);
}

} // namespace

TEST(RealTimeDropping, FullChartDropsTheOldestTwoHundredAtTheThousandthAndTwelveHundredthReading)
{
    struct Case { int reading; int count; int firstReading; bool dropped; };
    const std::vector<Case> cases = {
        {999, 999, 1, false}, {1000, 800, 201, true}, {1199, 999, 201, false}, {1200, 800, 401, true},
    };
    RealTimeGraph g;
    int n = 0;
    for (const auto& c : cases) {
        RealTimeAppend last;
        for (; n < c.reading; ++n)
            last = Feed(g, n, n + 1);              // reading n + 1 has the value n + 1
        EXPECT_EQ(last.dropped, c.dropped) << c.reading;
        EXPECT_EQ(g.count(), c.count) << c.reading;
        EXPECT_NEAR(g.x()[0], At(c.firstReading - 1), kTolerance) << c.reading;
        EXPECT_DOUBLE_EQ(g.y(0)[0], c.firstReading) << c.reading;
        EXPECT_EQ(g.x()[static_cast<std::size_t>(c.count)], 0.0) << c.reading;
        if (c.dropped) {
            EXPECT_NEAR(g.xMin(), At(c.firstReading - 1), kTolerance) << c.reading;
        }
    }
    EXPECT_DOUBLE_EQ(g.range(0).min, 401 * 0.99);  // readings 401..1200
    EXPECT_DOUBLE_EQ(g.range(0).max, 1200 * 1.01);
}

TEST(RealTimeScrolling, WindowGrowsToSixMinutesThenAdvancesInThirtySecondSteps)
{
    // One reading a second, checked a second before and after each boundary.
    struct Case { int second; double start; double end; bool changed; bool gap = false; };
    const std::vector<Case> cases = {
        {0, 0, 360, true}, {359, 0, 360, false}, {361, 30, 390, true},
        {389, 30, 390, false}, {391, 60, 420, true}, {601, 270, 630, true},
        {1600, 1260, 1620, true, true},            // after a gap the newest point is inside
    };
    RealTimeGraph g;
    int second = 0;
    for (const auto& c : cases) {
        RealTimeAppend last;
        for (; second <= c.second; ++second) {
            if (!c.gap || second == c.second)
                last = Feed(g, second, 1);
        }
        EXPECT_NEAR(g.windowStart(), At(c.start), kTolerance) << c.second;
        EXPECT_NEAR(g.windowEnd(), At(c.end), kTolerance) << c.second;
        EXPECT_NEAR(g.xMax(), At(c.end), kTolerance) << c.second;
        EXPECT_NEAR(g.xMin(), At(0), kTolerance) << c.second;
        EXPECT_EQ(last.xRangeChanged, c.changed) << c.second;
    }
}

TEST(RealTimeRanges, RangeHoldsEveryReadingWithRoomWhateverItsSign)
{
    struct Case { std::vector<double> values; double min; double max; };
    const std::vector<Case> cases = {
        {{10, 20, 15}, 9.9, 20.2},     {{-10}, -10.1, -9.9},      {{-10, -20, -15}, -20.2, -9.9},
        {{0}, -0.01, 0.01},            {{0, 0, 0}, -0.01, 0.01},  {{0, 3}, -0.01, 3.03},
        {{-5, 5, 0}, -5.05, 5.05},     {{7, 7, 7}, 6.93, 7.07},   {{-7, -7}, -7.07, -6.93},
    };
    for (const auto& c : cases) {
        RealTimeGraph g;
        for (std::size_t i = 0; i < c.values.size(); ++i)
            Feed(g, static_cast<double>(i), c.values[i]);
        EXPECT_NEAR(g.range(0).min, c.min, 1e-12) << c.values.front();
        EXPECT_NEAR(g.range(0).max, c.max, 1e-12) << c.values.front();
        for (double v : c.values) {
            EXPECT_LT(g.range(0).min, v);
            EXPECT_GT(g.range(0).max, v);
        }
    }
}

TEST(RealTimeRanges, ViewportAxesTakeInTheRangesOfTheirPositions)
{
    RealTimeGraph g;
    // Channels 1, 2 and 4 are on: positions 0, 1, 2. Channel 3 is not plotted.
    g.append(At(0), {10, -4, 1000, 50}, 0b1011);
    g.append(At(1), {20, -2, -1000, 40}, 0b1011);
    EXPECT_EQ(g.channelList(), (std::array<int, 4>{1, 2, 4, 0}));
    const auto axes = g.viewportRanges({{0, 1}, {2}, {}, {3}});
    ASSERT_EQ(axes.size(), 4u);
    EXPECT_DOUBLE_EQ(axes[0].min, -4 * 1.01);
    EXPECT_DOUBLE_EQ(axes[0].max, 20 * 1.01);
    EXPECT_DOUBLE_EQ(axes[1].min, 40 * 0.99);
    EXPECT_DOUBLE_EQ(axes[1].max, 50 * 1.01);
    for (std::size_t empty : {2u, 3u}) {
        EXPECT_EQ(axes[empty].min, 99999);
        EXPECT_EQ(axes[empty].max, -9999);
    }
}

class RealTimeZoomTest : public ::testing::Test {
protected:
    // 100 readings a second apart; point p has the value p + 1, except
    // point 0, which lies far below the others.
    void SetUp() override
    {
        for (int p = 0; p < 100; ++p)
            Feed(g, p, p == 0 ? -50.0 : p + 1.0);
    }
    RealTimeGraph g;
};

TEST_F(RealTimeZoomTest, RangeEntirelyInThePastHoldsTheViewWhileReadingsArrive)
{
    const double endBefore = g.windowEnd();
    EXPECT_TRUE(g.zoomIn(At(10), At(20), At(99.5)).hold);
    EXPECT_EQ(g.windowEnd(), endBefore);
    EXPECT_DOUBLE_EQ(g.range(0).min, 11 * 0.99);    // points 10..20
    EXPECT_DOUBLE_EQ(g.range(0).max, 21 * 1.01);
    for (int p = 100; p < 500; ++p) {
        const RealTimeAppend a = Feed(g, p, 1);
        EXPECT_FALSE(a.redraw || a.xRangeChanged) << p;
    }
    EXPECT_EQ(g.count(), 500);
}

TEST_F(RealTimeZoomTest, RangeIncludingNowKeepsScrollingOneAndATenthAsWide)
{
    const RealTimeZoom z = g.zoomIn(At(49), At(99), At(99));
    EXPECT_FALSE(z.hold);
    EXPECT_NEAR(z.zoomMin, At(49), kTolerance);
    EXPECT_NEAR(z.zoomMax, At(104), kTolerance);    // 50 s × 1.1
    EXPECT_DOUBLE_EQ(g.range(0).min, 50 * 0.99);
    EXPECT_DOUBLE_EQ(g.range(0).max, 100 * 1.01);
    EXPECT_TRUE(Feed(g, 100, 1).redraw);
    EXPECT_TRUE(Feed(g, 105, 1).xRangeChanged);
    EXPECT_NEAR(g.windowStart(), At(79), kTolerance);
    EXPECT_NEAR(g.windowEnd(), At(134), kTolerance);
}

TEST_F(RealTimeZoomTest, UndoResumesRedrawingAndLeavesTheOldestPointOutOfTheRanges)
{
    g.zoomIn(At(10), At(20), At(99.5));
    const double xMaxBefore = g.xMax();
    RealTimeUndo u = g.undoZoom(At(99.5));
    EXPECT_FALSE(g.hold() || g.zoomed());
    EXPECT_EQ(u.xMax, xMaxBefore);                 // now still lies inside the X range
    EXPECT_DOUBLE_EQ(g.range(0).min, 2 * 0.99);    // point 0 (-50) left out
    EXPECT_DOUBLE_EQ(g.range(0).max, 100 * 1.01);
    EXPECT_TRUE(Feed(g, 100, 1).redraw);

    g.zoomIn(At(10), At(20), At(500));
    u = g.undoZoom(At(500));
    EXPECT_NEAR(u.xMin, At(0), kTolerance);
    EXPECT_NEAR(u.xMax, At(530), kTolerance);
}

TEST(RealTimeRedraw, ReadingsWhileHiddenAreKeptAndNotDrawnUntilShownAgain)
{
    RealTimeGraph g;
    const RealTimeAppend first = Feed(g, 0, 5);
    EXPECT_TRUE(first.started && g.windowVisible());
    EXPECT_TRUE(Feed(g, 1, 5).redraw);
    g.setWindowVisible(false);
    for (int n = 3; n <= 1100; ++n)
        EXPECT_FALSE(Feed(g, n - 1, n).redraw) << n;
    g.setWindowVisible(true);
    EXPECT_TRUE(Feed(g, 1100, 0).redraw);
    EXPECT_EQ(g.count(), 901);                     // readings 201..1101
    EXPECT_DOUBLE_EQ(g.y(0)[899], 1100);
    g.setMouseDown(true);
    EXPECT_FALSE(Feed(g, 1101, 0).redraw);
}

TEST(RealTimeRedraw, RestartTakesTheChannelMaskAgainAndClearsTheOldView)
{
    RealTimeGraph g;
    Feed(g, 0, 1);
    Feed(g, 1, 1);
    g.zoomIn(At(0), At(0.5), At(10));
    g.restart();
    EXPECT_TRUE(g.append(At(20), {1, 2, 3, 4}, 0b1100).started);
    EXPECT_EQ(g.channelList(), (std::array<int, 4>{3, 4, 0, 0}));
    EXPECT_EQ(g.count(), 1);
    EXPECT_EQ(g.x()[1], 0.0);
    EXPECT_FALSE(g.hold() || g.zoomed());
    EXPECT_NEAR(g.windowEnd(), At(380), kTolerance);
}

TEST(RealTimeDecoder, GraphValuesAreTheNumbersOfTheValueBoxesAndBadLinesAreSkipped)
{
    LoggerInfo info;
    info.resolutionBits = 12;
    info.fullScaleCount = 4095;
    info.revision = 'q';
    info.scalingCodes = {'C', '3', '0', '0'};
    info.scalingTexts = {"C           ", "0.0000100.00", "            ", "            "};
    // Channel 1 count 2048, channel 2 count 0x7FF; the checksum makes the sum 0.
    const QByteArray line = ">807FF0000000" "85";
    const QByteArray bad = ">807FF0000000" "86";
    const QString tables = QStringLiteral(TAMBLE_SOURCE_DIR "/data");
    for (bool fahrenheit : {false, true}) {
        SettingsRecord settings;
        settings.fahrenheit = fahrenheit;
        RealTimeReadingDecoder decoder;
        ASSERT_TRUE(decoder.prepare(info, settings, tables));
        const auto values = decoder.decode(line, info, fahrenheit);
        ASSERT_TRUE(values.has_value());
        EXPECT_FALSE(decoder.decode(bad, info, fahrenheit).has_value());

        ChannelScaling display;
        ASSERT_TRUE(PrepareDisplayScaling(info, settings, tables, display));
        const auto boxes = RealTimeValueBoxes(DecodeRealTimeLine(line, info, display, fahrenheit), info, display,
                                              fahrenheit, 0);
        EXPECT_EQ(boxes[0], QString::asprintf("%7.2f", (*values)[0]) + (fahrenheit ? "Deg F" : "Deg C"));
        EXPECT_EQ(boxes[1], QString::asprintf("%7.3f", (*values)[1]));
        EXPECT_NEAR((*values)[1], 100.0 * 0x7FF / 4095, 1e-3);
    }
}
