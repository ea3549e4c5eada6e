#include "analysis/limits.h"
#include "analysis/summary.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>

namespace tamble {
namespace {

constexpr double kStatsHour = 1.0 / 24.0;
constexpr double kStatsStart = 45355.0;   // 2024-03-04 00:00

// Hourly readings from kStatsStart; NaN entries are readings that are not numbers.
ChannelSeries Hourly(std::vector<double> values, int skipAfter = -1)
{
    ChannelSeries s;
    s.channel = 1;
    s.label = QStringLiteral("Tank");
    s.unit = QStringLiteral("Deg C");
    for (std::size_t i = 0; i < values.size(); ++i) {
        // A gap of three missing hours after reading `skipAfter`.
        const double hours = static_cast<double>(i) + (skipAfter >= 0 && static_cast<int>(i) > skipAfter ? 3 : 0);
        s.time.push_back(kStatsStart + hours * kStatsHour);
        s.value.push_back(values[i]);
    }
    return s;
}

TEST(Statistics, HandComputedSpan)
{
    //            0h   1h   2h   3h   4h   5h
    const auto s = Hourly({4.0, 2.0, NAN, 8.0, 6.0, 1.0});
    // The span 1h..4h inclusive: 2, (NaN), 8, 6.
    const ChannelStatistics st = ComputeStatistics(s, kStatsHour, kStatsStart + kStatsHour, kStatsStart + 4 * kStatsHour);
    EXPECT_EQ(st.count, 3);
    EXPECT_EQ(st.notNumbers, 1);
    EXPECT_DOUBLE_EQ(st.min, 2.0);
    EXPECT_DOUBLE_EQ(st.minTime, kStatsStart + kStatsHour);
    EXPECT_DOUBLE_EQ(st.max, 8.0);
    EXPECT_DOUBLE_EQ(st.maxTime, kStatsStart + 3 * kStatsHour);
    EXPECT_DOUBLE_EQ(st.mean, 16.0 / 3.0);
    EXPECT_NEAR(st.stddev, std::sqrt(((2 - 16.0 / 3) * (2 - 16.0 / 3) + (8 - 16.0 / 3) * (8 - 16.0 / 3) +
                                      (6 - 16.0 / 3) * (6 - 16.0 / 3)) / 2.0), 1e-12);
    EXPECT_DOUBLE_EQ(st.first, 2.0);
    EXPECT_DOUBLE_EQ(st.last, 6.0);

    const ChannelStatistics one = ComputeStatistics(s, kStatsHour, kStatsStart, kStatsStart);
    EXPECT_EQ(one.count, 1);
    EXPECT_EQ(one.stddev, 0.0);
    const ChannelStatistics none = ComputeStatistics(s, kStatsHour, kStatsStart + 10, kStatsStart + 11);
    EXPECT_EQ(none.count, 0);
    EXPECT_EQ(ValueText(none, none.min, 2), QStringLiteral("—"));
}

TEST(Statistics, ExcursionsCountInsideEqualityAndGaps)
{
    // High limit 5: 5 itself is inside. Runs above: [6] alone, then [7, 9] split by a gap.
    const auto s = Hourly({1.0, 6.0, 5.0, 7.0, 9.0, 2.0}, 3);   // three hours missing after 7
    const ChannelStatistics st = ComputeStatistics(s, kStatsHour, kStatsStart, kStatsStart + 100, {0.0, 5.0});
    ASSERT_EQ(st.excursions.size(), 3u);
    EXPECT_EQ(st.excursions[0].readings, 1);
    EXPECT_DOUBLE_EQ(st.excursions[0].durationDays, kStatsHour);   // a single reading lasts one interval
    EXPECT_DOUBLE_EQ(st.excursions[1].extreme, 7.0);
    EXPECT_DOUBLE_EQ(st.excursions[2].start, kStatsStart + 7 * kStatsHour);
    EXPECT_NEAR(st.aboveHighDays, 3 * kStatsHour, 1e-12);          // the gap is not time outside
    EXPECT_EQ(st.belowLowDays, 0.0);

    // A span that ends inside a run cuts it there.
    const ChannelStatistics cut = ComputeStatistics(s, kStatsHour, kStatsStart + 3 * kStatsHour, kStatsStart + 3 * kStatsHour, {{}, 5.0});
    ASSERT_EQ(cut.excursions.size(), 1u);
    EXPECT_DOUBLE_EQ(cut.excursions[0].durationDays, kStatsHour);
}

TEST(Limits, ArgumentsAndSideCarFile)
{
    EXPECT_TRUE(ParseLimitArgument(QStringLiteral("2::8.5")).refusal.isEmpty());
    EXPECT_EQ(*ParseLimitArgument(QStringLiteral("2::8.5")).limits.high, 8.5);
    EXPECT_FALSE(ParseLimitArgument(QStringLiteral("2:9:8")).refusal.isEmpty());
    EXPECT_FALSE(ParseLimitArgument(QStringLiteral("5:1:2")).refusal.isEmpty());
    EXPECT_FALSE(ParseLimitArgument(QStringLiteral("1:x:2")).refusal.isEmpty());

    QTemporaryDir dir;
    const QString data = dir.filePath("north.TL1");
    EXPECT_EQ(LimitsFileName(data), dir.filePath("north.limits"));
    LimitSet limits;
    limits[2] = {1.5, 30.0};
    ASSERT_TRUE(SaveLimits(data, limits).isEmpty());
    const LimitsLoad back = LoadLimits(data);
    EXPECT_TRUE(back.message.isEmpty());
    EXPECT_EQ(back.limits[2].low, 1.5);
    EXPECT_FALSE(back.limits[0].any());

    QFile damaged(LimitsFileName(data));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\"channels\": {\"1\": {\"low\": 9, \"high\": 1}}}");
    damaged.close();
    const LimitsLoad bad = LoadLimits(data);
    EXPECT_FALSE(bad.message.isEmpty());
    EXPECT_FALSE(bad.limits[0].any());
    ASSERT_TRUE(SaveLimits(data, LimitSet{}).isEmpty());   // no limits: no file
    EXPECT_FALSE(QFile::exists(LimitsFileName(data)));
}

TEST(Summary, JsonContract)
{
    RecordingSeries r;
    r.file = QStringLiteral("north.TL1");
    r.intervalDays = kStatsHour;
    r.channels.push_back(Hourly({1.0, 6.0, 2.0}));
    LimitSet limits;
    limits[0].high = 5.0;
    const Summary summary = Summarise({r}, std::nullopt, std::nullopt, limits);
    const QJsonObject top = QJsonDocument::fromJson(FormatSummary(summary, SummaryFormat::Json)).object();
    EXPECT_EQ(top.value("from").toString(), QStringLiteral("2024-03-04T00:00:00"));
    EXPECT_EQ(top.value("to").toString(), QStringLiteral("2024-03-04T02:00:00"));
    const QJsonObject ch = top.value("channels").toArray().at(0).toObject();
    for (const char* key : {"file", "channel", "label", "unit", "count", "min", "min_time", "max", "max_time", "mean",
                            "stddev", "first", "last", "below_low_s", "above_high_s", "excursions"})
        EXPECT_TRUE(ch.contains(QLatin1String(key))) << key;
    EXPECT_EQ(ch.value("max_time").toString(), QStringLiteral("2024-03-04T01:00:00"));
    EXPECT_EQ(ch.value("above_high_s").toDouble(), 3600.0);
    const QJsonObject e = ch.value("excursions").toArray().at(0).toObject();
    EXPECT_EQ(e.value("limit").toString(), QStringLiteral("high"));
    EXPECT_EQ(e.value("duration_s").toDouble(), 3600.0);
    EXPECT_EQ(DurationText(1.0 + 2 * kStatsHour + 3.0 / 1440 + 4.0 / 86400), QStringLiteral("1 d 02:03:04"));
}

} // namespace
} // namespace tamble
