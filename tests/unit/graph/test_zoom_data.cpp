// A zoom window read back from the recording: the graph buffer shows its
// readings point for point, and the export writes exactly its readings.

#include "conversion/channel_scaling.h"
#include "datafiles/export.h"
#include "datafiles/graph_buffer.h"
#include "graph/zoom.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using namespace tamble;

namespace {

constexpr double kDataStart = 35859.0;   // Thu 5 Mar 1998, midnight
constexpr double kDataMinute = 1.0 / 1440.0;

// One linear channel ("X", 0 to 255) whose value is its raw reading, i % 200.
std::unique_ptr<DataSet> Ramp(int readings)
{
    auto d = std::make_unique<DataSet>();
    d->channelList = {1};
    d->channelMask = 1;
    d->fullScaleCount = 255;
    d->readingsPerChannel = readings;
    d->intervalMinutes = 1;
    d->firstStamp = "Thu  5-Mar-1998  0:00:00";
    d->lastStamp = "Sat  8-Mar-1998 11:19:00";
    d->scaling.fullScaleCount = 255;
    SetUpChannelScaling(d->scaling, 1, 'X', "0.0000255.00");
    for (int i = 0; i < readings; ++i)
        d->rawPlanes[i] = static_cast<std::uint16_t>(i % 200);
    return d;
}

QList<QByteArray> Lines(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = f.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

TEST(ZoomData, ZoomedBufferShowsEveryReadingOfTheWindow)
{
    auto d = Ramp(5000);
    auto buffer = std::make_unique<GraphBuffer>();
    ZoomWindow zoom;
    zoom.clear(*d);
    BuildGraphBuffer(*d, *buffer, false);
    EXPECT_EQ(buffer->graphStep, 3);
    zoom.placePoints(*d, kDataStart, buffer->graphPointCount, buffer->graphStep);

    ASSERT_EQ(zoom.zoomIn(*d, kDataStart + 1030 * kDataMinute, kDataStart + 1129 * kDataMinute, ClockStyle::Hour24).outcome,
              ZoomOutcome::Zoomed);
    BuildGraphBuffer(*d, *buffer, false);
    EXPECT_EQ(buffer->graphStep, 1);
    ASSERT_EQ(buffer->graphPointCount, 100);
    for (int i = 0; i < 100; ++i)
        ASSERT_FLOAT_EQ(buffer->values[0][static_cast<std::size_t>(i)], static_cast<float>((1030 + i) % 200)) << i;
    const PointPlacement p = zoom.placePoints(*d, kDataStart, buffer->graphPointCount, buffer->graphStep);
    EXPECT_NEAR(p.start, kDataStart + 1030 * kDataMinute, 1e-9);
    EXPECT_NEAR(p.spacing, kDataMinute, 1e-12);

    zoom.undo(*d);
    BuildGraphBuffer(*d, *buffer, false);
    EXPECT_EQ(buffer->graphStep, 3);
    EXPECT_EQ(d->readingsPerChannel, 5000);
}

TEST(ZoomData, ExportWritesTheZoomWindow)
{
    QTemporaryDir dir;
    auto d = Ramp(5000);
    ZoomWindow zoom;
    zoom.clear(*d);
    zoom.placePoints(*d, kDataStart, 1666, 3);
    ASSERT_EQ(zoom.zoomIn(*d, kDataStart + 1000 * kDataMinute, kDataStart + 1099 * kDataMinute, ClockStyle::Hour24).outcome,
              ZoomOutcome::Zoomed);

    ExportRequest request;
    request.path = dir.path() + "/window.csv";
    const ExportResult r = ExportData(*d, request, ExportSettings{});
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(r.dataLines, 100);
    const QList<QByteArray> lines = Lines(request.path);
    ASSERT_EQ(lines.size(), 17 + 100);
    EXPECT_TRUE(lines.join('\n').contains("Thu  5-Mar-1998 16:40:00")) << "first stamp of the window";
    EXPECT_TRUE(lines.join('\n').contains("Thu  5-Mar-1998 18:19:00")) << "last stamp of the window";
    EXPECT_TRUE(lines[17].startsWith("03/05/1998,16:40:00,")) << lines[17].constData();
    EXPECT_TRUE(lines.last().startsWith("03/05/1998,18:19:00,")) << lines.last().constData();
}

} // namespace
