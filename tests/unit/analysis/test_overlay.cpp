#include "analysis/overlay.h"

#include <gtest/gtest.h>

namespace tamble {
namespace {

constexpr double kHour = 1.0 / 24.0;
constexpr double kStart = 45355.0;   // 2024-03-04 00:00

RecordingSeries Hourly(const QString& file, int firstHour, std::vector<double> values)
{
    RecordingSeries r;
    r.file = file;
    r.intervalDays = kHour;
    ChannelSeries c;
    c.channel = 1;
    c.label = QStringLiteral("Tank");
    c.unit = QStringLiteral("Deg C");
    for (std::size_t i = 0; i < values.size(); ++i) {
        c.time.push_back(kStart + (firstHour + static_cast<double>(i)) * kHour);
        c.value.push_back(values[i]);
    }
    r.channels.push_back(c);
    return r;
}

TEST(Overlay, TwoFilesWithAGapBetweenThem)
{
    const RecordingSeries first = Hourly(QStringLiteral("/d/a.TL1"), 0, {1, 2, 3});
    const RecordingSeries second = Hourly(QStringLiteral("/d/b.TL1"), 5, {7, 8});

    // On the absolute axis each keeps its times, and the gap stays a gap.
    EXPECT_EQ(OverlayShift(first, second, OverlayAlignment::AbsoluteTime), 0.0);
    EXPECT_EQ(OverlayCsv({&first, &second}, {0, 0}),
              QByteArray("Time,a.TL1: Tank (Deg C),b.TL1: Tank (Deg C)\r\n"
                         "2024-03-04T00:00:00,1,\r\n"
                         "2024-03-04T01:00:00,2,\r\n"
                         "2024-03-04T02:00:00,3,\r\n"
                         "2024-03-04T05:00:00,,7\r\n"
                         "2024-03-04T06:00:00,,8\r\n"));

    // By time since start the second run begins with the first.
    const double shift = OverlayShift(first, second, OverlayAlignment::SinceStart);
    EXPECT_NEAR(shift, -5 * kHour, 1e-9);
    EXPECT_EQ(OverlayCsv({&first, &second}, {0, shift}),
              QByteArray("Time,a.TL1: Tank (Deg C),b.TL1: Tank (Deg C)\r\n"
                         "2024-03-04T00:00:00,1,7\r\n"
                         "2024-03-04T01:00:00,2,8\r\n"
                         "2024-03-04T02:00:00,3,\r\n"));

    // The points drawn of a view: its readings only, shifted onto the axis.
    std::vector<double> x, y;
    DecimatedPoints(second.channels.front(), shift, kStart, kStart + 0.5 * kHour, 100, x, y);
    ASSERT_EQ(x.size(), 1u);
    EXPECT_NEAR(x.front(), kStart, 1e-9);
    EXPECT_EQ(y.front(), 7.0);
}

} // namespace
} // namespace tamble
