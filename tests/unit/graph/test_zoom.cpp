// Zooming a file graph: the window's first reading and count at the limits,
// the refusals and their messages, ranges beside the data, the stamps the
// export takes from the window, multi-bank windows and undo.

#include "graph/zoom.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tamble;

namespace {

constexpr double kZoomStart = 35859.0;           // Thu 5 Mar 1998, midnight
constexpr double kMinute = 1.0 / 1440.0;

class ZoomTest : public ::testing::Test {
protected:
    // A one-minute recording of `readings` readings shown as `points` points
    // of `step` readings each.
    void load(int readings, int points, int step, bool multiBank = false)
    {
        data = std::make_unique<DataSet>();
        data->intervalMinutes = 1;
        data->readingsPerChannel = readings;
        data->multiBank = multiBank;
        data->firstStamp = "Thu  5-Mar-1998  0:00:00";
        data->lastStamp = "Sat 28-Mar-1998 10:39:00";
        data->totalLines = readings;
        zoom.clear(*data);
        placement = zoom.placePoints(*data, kZoomStart, points, step);
    }
    ZoomResult pick(double fromMinute, double toMinute)
    {
        return zoom.zoomIn(*data, kZoomStart + fromMinute * kMinute, kZoomStart + toMinute * kMinute, ClockStyle::Hour24);
    }

    std::unique_ptr<DataSet> data;
    ZoomWindow zoom;
    PointPlacement placement;
};

TEST_F(ZoomTest, PointsOfTheWholeRecordingStartAtTheFileStart)
{
    load(40000, 2000, 20);
    EXPECT_DOUBLE_EQ(placement.start, kZoomStart);
    EXPECT_DOUBLE_EQ(placement.spacing, 20 * kMinute);
    EXPECT_NEAR(zoom.windowEnd(), kZoomStart + 1999 * 20 * kMinute, 1e-9);
}

TEST_F(ZoomTest, WindowLimitsOfSingleBankRecordings)
{
    struct Case {
        double from, to;
        ZoomOutcome outcome;
        int first, count;
        const char* message;
    };
    const std::vector<Case> cases = {
        {100, 100 + 32319, ZoomOutcome::Zoomed, 100, 32320, ""},
        {100, 100 + 32320, ZoomOutcome::TooManySamples, 0, 0, "To many samples: 32321 for TL1 file"},
        {10, 12, ZoomOutcome::Zoomed, 10, 3, ""},
        {10, 11, ZoomOutcome::MaximumZoom, 0, 0, "Maximum Zoom"},
        {10, 10.5, ZoomOutcome::MaximumZoom, 0, 0, "Maximum Zoom"},
        {10.4, 20.3, ZoomOutcome::Zoomed, 10, 11, ""},
        {-500, 50, ZoomOutcome::Zoomed, 0, 51, ""},
        {12, 10, ZoomOutcome::Zoomed, 10, 3, ""},
    };
    for (const Case& c : cases) {
        load(40000, 2000, 20);
        const ZoomResult r = pick(c.from, c.to);
        EXPECT_EQ(r.outcome, c.outcome) << c.from << ".." << c.to;
        EXPECT_EQ(r.message, QString::fromLatin1(c.message)) << c.from << ".." << c.to;
        EXPECT_EQ(data->zoom.zoomed, c.outcome == ZoomOutcome::Zoomed);
        if (c.outcome == ZoomOutcome::Zoomed) {
            EXPECT_EQ(data->zoom.firstReading, c.first) << c.from;
            EXPECT_EQ(data->zoom.readingCount, c.count) << c.from;
        }
    }
}

TEST_F(ZoomTest, MultiBankWindowsHaveNoUpperLimitAndRunToTheLastLine)
{
    load(100000, 2000, 50, true);
    const ZoomResult r = pick(100, 100 + 50000);
    EXPECT_EQ(r.outcome, ZoomOutcome::Zoomed);
    EXPECT_EQ(data->zoom.readingCount, 50001);
    EXPECT_FALSE(data->zoom.reachesEnd);

    load(100000, 2000, 50, true);
    pick(1000, 200000);
    EXPECT_TRUE(data->zoom.reachesEnd);
    EXPECT_EQ(data->zoom.firstReading, 1000);
    EXPECT_EQ(data->zoom.readingCount, 99000);
    EXPECT_EQ(data->zoom.endStamp, data->lastStamp);
}

TEST_F(ZoomTest, RangeBesideTheDataChangesNothing)
{
    load(4000, 2000, 2);
    for (auto [from, to] : {std::pair{-300.0, -100.0}, std::pair{5000.0, 6000.0}}) {
        const ZoomResult r = pick(from, to);
        EXPECT_EQ(r.outcome, ZoomOutcome::Ignored);
        EXPECT_TRUE(r.message.isEmpty());
        EXPECT_FALSE(data->zoom.zoomed);
        EXPECT_DOUBLE_EQ(zoom.windowStart(), kZoomStart);
    }
}

TEST_F(ZoomTest, RangeNarrowerThanOneReadingLeavesTheWindowAlone)
{
    load(4000, 2000, 2);
    pick(100.2, 100.7);
    EXPECT_DOUBLE_EQ(zoom.windowStart(), kZoomStart);
    // A refused zoom of two readings does narrow the window: later zooms stay inside it.
    pick(200, 201);
    EXPECT_NEAR(zoom.windowStart(), kZoomStart + 200 * kMinute, 1e-9);
    EXPECT_FALSE(data->zoom.zoomed);
    EXPECT_EQ(pick(100, 300).outcome, ZoomOutcome::MaximumZoom);
}

TEST_F(ZoomTest, WindowNeverReachesPastTheLastReading)
{
    // 2050 readings in 1026 points of two: the last point lies two minutes past the last reading.
    load(2050, 1026, 2);
    EXPECT_NEAR(zoom.windowEnd(), kZoomStart + 2050 * kMinute, 1e-9);
    pick(2000, 2060);
    EXPECT_EQ(data->zoom.firstReading, 2000);
    EXPECT_EQ(data->zoom.readingCount, 50);
}

TEST_F(ZoomTest, SecondZoomStartingEarlierKeepsTheFirstWindowStart)
{
    load(40000, 2000, 20);
    pick(100, 1100);
    placement = zoom.placePoints(*data, kZoomStart, 1001, 1);
    EXPECT_NEAR(placement.start, kZoomStart + 100 * kMinute, 1e-9);
    EXPECT_EQ(pick(50, 600).outcome, ZoomOutcome::Zoomed);
    EXPECT_EQ(data->zoom.firstReading, 100);
    EXPECT_EQ(data->zoom.readingCount, 501);
}

TEST_F(ZoomTest, WindowStampsNameItsFirstAndLastReading)
{
    load(40000, 2000, 20);
    pick(90.4, 150);
    EXPECT_EQ(data->zoom.startStamp, "Thu  5-Mar-1998  1:30:00");
    EXPECT_EQ(data->zoom.endStamp, "Thu  5-Mar-1998  2:30:00");
    EXPECT_NEAR(zoom.offsetMinutes(), 90, 1e-9);
    EXPECT_NEAR(zoom.windowStart(), kZoomStart + 90 * kMinute, 1e-9);
}

TEST_F(ZoomTest, UndoReturnsToTheWholeRecordingAndKeepsTheViewportsOnce)
{
    load(40000, 2000, 20);
    pick(100, 1100);
    zoom.placePoints(*data, kZoomStart, 1001, 1);
    pick(200, 300);
    zoom.undo(*data);
    EXPECT_FALSE(data->zoom.zoomed);
    EXPECT_EQ(data->zoom.firstReading, 0);
    EXPECT_TRUE(data->zoom.reachesEnd);
    EXPECT_EQ(data->readingsPerChannel, 40000);
    EXPECT_DOUBLE_EQ(zoom.offsetMinutes(), 0);
    EXPECT_TRUE(zoom.takeKeepViewportsOnce());
    EXPECT_FALSE(zoom.takeKeepViewportsOnce());

    placement = zoom.placePoints(*data, kZoomStart, 2000, 20);
    EXPECT_DOUBLE_EQ(placement.start, kZoomStart);
    // The whole recording is open to zooming again.
    EXPECT_EQ(pick(5000, 6000).outcome, ZoomOutcome::Zoomed);
    EXPECT_EQ(data->zoom.firstReading, 5000);
}

} // namespace
