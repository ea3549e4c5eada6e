// Graph buffer: step, decimation pairs and their order, padding after the
// last reading, the single-reading window, zoom windows and Fahrenheit.

#include "conversion/channel_scaling.h"
#include "datafiles/dataset.h"
#include "datafiles/graph_buffer.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tamble;

namespace {

// An 8-bit recording whose linear channels ("X", 0 to 255) show each raw
// reading as its own value.
std::unique_ptr<DataSet> IdentityData(std::vector<int> channels, int readings)
{
    auto d = std::make_unique<DataSet>();
    d->channelList = channels;
    for (int ch : channels)
        d->channelMask |= static_cast<std::uint8_t>(1 << (ch - 1));
    d->fullScaleCount = 255;
    d->readingsPerChannel = readings;
    d->scaling.fullScaleCount = 255;
    for (int ch : channels)
        SetUpChannelScaling(d->scaling, ch, 'X', "0.0000255.00");
    return d;
}

void Fill(DataSet& d, int position, const std::vector<int>& values)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        d.rawPlanes[d.channelOrigin(position) + static_cast<int>(i)] = static_cast<std::uint16_t>(values[i]);
}

std::vector<int> Ramp(int count)
{
    std::vector<int> v(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        v[static_cast<std::size_t>(i)] = i % 250;
    return v;
}

TEST(GraphBuffer, WindowOf2048ReadingsIsShownPointForPoint)
{
    auto d = IdentityData({2}, 2048);
    Fill(*d, 0, Ramp(2048));
    auto buffer = std::make_unique<GraphBuffer>();
    BuildGraphBuffer(*d, *buffer, false);
    EXPECT_EQ(buffer->graphStep, 1);
    ASSERT_EQ(buffer->graphPointCount, 2048);
    EXPECT_FLOAT_EQ(buffer->values[0][0], 0.0f);
    EXPECT_FLOAT_EQ(buffer->values[0][2047], 2047 % 250);
}

TEST(GraphBuffer, WindowOf2049ReadingsLeavesTheLastReadingOut)
{
    auto d = IdentityData({1}, 2049);
    std::vector<int> v(2049, 100);
    v[2048] = 255;   // only in the last reading
    Fill(*d, 0, v);
    auto buffer = std::make_unique<GraphBuffer>();
    BuildGraphBuffer(*d, *buffer, false);
    EXPECT_EQ(buffer->graphStep, 2);
    ASSERT_EQ(buffer->graphPointCount, 1024);
    for (int i = 0; i < 1024; ++i)
        ASSERT_FLOAT_EQ(buffer->values[0][static_cast<std::size_t>(i)], 100.0f) << i;
}

TEST(GraphBuffer, WindowOf2050ReadingsTakesALastBucketFromTheCopiesAfterIt)
{
    auto d = IdentityData({1}, 2050);
    std::vector<int> v(2050, 100);
    v[2048] = 5;
    v[2049] = 250;
    Fill(*d, 0, v);
    d->rawPlanes[2050] = 1;   // stale entries, overwritten by the padding
    d->rawPlanes[2051] = 1;
    auto buffer = std::make_unique<GraphBuffer>();
    BuildGraphBuffer(*d, *buffer, false);
    EXPECT_EQ(buffer->graphStep, 2);
    ASSERT_EQ(buffer->graphPointCount, 1026);
    EXPECT_FLOAT_EQ(buffer->values[0][1024], 5.0f);
    EXPECT_FLOAT_EQ(buffer->values[0][1025], 250.0f);
    for (int i = 2050; i < 2055; ++i)
        EXPECT_EQ(d->rawPlanes[i], 250) << i;
}

TEST(GraphBuffer, BucketPairKeepsTheOrderInWhichExtremesOccurred)
{
    auto d = IdentityData({1, 2}, 4096);
    std::vector<int> lowFirst(4096, 50);
    std::vector<int> highFirst(4096, 50);
    lowFirst[1] = 10;     // first bucket: low at 1, high at 3
    lowFirst[3] = 90;
    highFirst[0] = 90;    // first bucket: high at 0, low at 2
    highFirst[2] = 10;
    Fill(*d, 0, lowFirst);
    Fill(*d, 1, highFirst);
    auto buffer = std::make_unique<GraphBuffer>();
    BuildGraphBuffer(*d, *buffer, false);
    EXPECT_EQ(buffer->graphStep, 2);
    ASSERT_EQ(buffer->graphPointCount, 2048);
    EXPECT_FLOAT_EQ(buffer->values[0][0], 10.0f);
    EXPECT_FLOAT_EQ(buffer->values[0][1], 90.0f);
    EXPECT_FLOAT_EQ(buffer->values[1][0], 90.0f);
    EXPECT_FLOAT_EQ(buffer->values[1][1], 10.0f);
    // A flat bucket gives two equal points.
    EXPECT_FLOAT_EQ(buffer->values[0][2], 50.0f);
    EXPECT_FLOAT_EQ(buffer->values[0][3], 50.0f);
}

TEST(GraphBuffer, ExtremesCountAtTheirFirstOccurrence)
{
    auto d = IdentityData({1}, 4096 * 2);   // step 4: buckets of 8
    std::vector<int> v(4096 * 2, 50);
    v[1] = 90;   // first high
    v[2] = 10;   // first low
    v[5] = 90;
    v[6] = 10;
    Fill(*d, 0, v);
    auto buffer = std::make_unique<GraphBuffer>();
    BuildGraphBuffer(*d, *buffer, false);
    EXPECT_EQ(buffer->graphStep, 4);
    EXPECT_FLOAT_EQ(buffer->values[0][0], 90.0f);
    EXPECT_FLOAT_EQ(buffer->values[0][1], 10.0f);
}

TEST(GraphBuffer, SingleReadingIsShownAsTwoEqualPoints)
{
    auto d = IdentityData({1, 3}, 1);
    Fill(*d, 0, {42});
    Fill(*d, 1, {7});
    auto buffer = std::make_unique<GraphBuffer>();
    BuildGraphBuffer(*d, *buffer, false);
    ASSERT_EQ(buffer->graphPointCount, 2);
    EXPECT_EQ(d->readingsPerChannel, 2);
    EXPECT_FLOAT_EQ(buffer->values[0][0], 42.0f);
    EXPECT_FLOAT_EQ(buffer->values[0][1], 42.0f);
    EXPECT_FLOAT_EQ(buffer->values[1][1], 7.0f);
    EXPECT_EQ(d->rawPlanes[16385], 7);
}

TEST(GraphBuffer, StepOnePadsTwoCopiesOfTheLastReading)
{
    auto d = IdentityData({1}, 10);
    Fill(*d, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 99, 99, 99});
    auto buffer = std::make_unique<GraphBuffer>();
    BuildGraphBuffer(*d, *buffer, false);
    EXPECT_EQ(d->rawPlanes[10], 10);
    EXPECT_EQ(d->rawPlanes[11], 10);
    EXPECT_EQ(d->rawPlanes[12], 99);
}

TEST(GraphBuffer, ZoomWindowReadsItsOwnReadingsAndLeavesThoseAfterIt)
{
    auto d = IdentityData({1}, 100);
    Fill(*d, 0, Ramp(100));
    d->zoom.zoomed = true;
    d->zoom.firstReading = 20;
    d->zoom.readingCount = 10;
    auto buffer = std::make_unique<GraphBuffer>();
    BuildGraphBuffer(*d, *buffer, false);
    ASSERT_EQ(buffer->graphPointCount, 10);
    EXPECT_FLOAT_EQ(buffer->values[0][0], 20.0f);
    EXPECT_FLOAT_EQ(buffer->values[0][9], 29.0f);
    EXPECT_EQ(d->rawPlanes[30], 30);
    EXPECT_EQ(d->readingsPerChannel, 100);
}

TEST(GraphBuffer, FahrenheitAppliesToTemperatureChannelsOnly)
{
    auto d = IdentityData({1, 2}, 3);
    d->scaling.tableDirectory = QStringLiteral(TAMBLE_SOURCE_DIR "/data/");
    ASSERT_TRUE(SetUpChannelScaling(d->scaling, 1, 'A', "A           ").ok);
    Fill(*d, 0, {100, 128, 150});
    Fill(*d, 1, {100, 128, 150});
    auto celsius = std::make_unique<GraphBuffer>();
    auto fahrenheit = std::make_unique<GraphBuffer>();
    BuildGraphBuffer(*d, *celsius, false);
    BuildGraphBuffer(*d, *fahrenheit, true);
    for (int i = 0; i < 3; ++i) {
        const auto at = static_cast<std::size_t>(i);
        EXPECT_FLOAT_EQ(fahrenheit->values[0][at], celsius->values[0][at] * 9.0f / 5.0f + 32.0f);
        EXPECT_FLOAT_EQ(fahrenheit->values[1][at], celsius->values[1][at]);
    }
}

TEST(GraphBuffer, CountChannelPairGoesSmallerFirstWhenItsHighCameFirst)
{
    auto d = IdentityData({1}, 4096);
    // A count input: its pair is smaller-larger, not high-low.
    SetUpChannelScaling(d->scaling, 1, '3', "0.0000255.00");
    std::vector<int> v(4096, 50);
    v[0] = 200;   // high first
    v[1] = 20;
    Fill(*d, 0, v);
    auto buffer = std::make_unique<GraphBuffer>();
    BuildGraphBuffer(*d, *buffer, true);
    EXPECT_FLOAT_EQ(buffer->values[0][0], 20.0f);
    EXPECT_FLOAT_EQ(buffer->values[0][1], 200.0f);
}

TEST(GraphBuffer, EmptyWindowGivesNoPoints)
{
    auto d = IdentityData({1}, 0);
    auto buffer = std::make_unique<GraphBuffer>();
    BuildGraphBuffer(*d, *buffer, false);
    EXPECT_EQ(buffer->graphPointCount, 0);
}

} // namespace
