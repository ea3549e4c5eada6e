// Viewports: the default count and split, the layout of visible channels
// over the bands, axis labels and fixed ranges from "~min,max" labels.

#include "graph/viewports.h"

#include <gtest/gtest.h>

using namespace tamble;

namespace {

// A single-bank source of the given type codes (channels 1.. in order).
ViewportSource Source(const char* codes, int inputTypes = 0,
                      std::array<QByteArray, 4> labels = {"", "", "", ""})
{
    ViewportSource s;
    std::array<char, 4> typeCodes{'0', '0', '0', '0'};
    for (int i = 0; codes[i] && i < 4; ++i) {
        typeCodes[static_cast<std::size_t>(i)] = codes[i];
        s.channelList[static_cast<std::size_t>(i)] = i + 1;
        s.channelCount = i + 1;
    }
    s.typeCodes = typeCodes;
    s.inputTypes = inputTypes;
    s.units = DeriveChannelUnits(typeCodes, inputTypes, labels, false, 0);
    return s;
}

ChannelVisibility Visible(int c, std::array<bool, 4> flags = {true, true, true, true})
{
    ChannelVisibility v;
    v.channelCount = c;
    v.visible = flags;
    return v;
}

std::vector<std::vector<int>> Bands(const ViewportPlan& plan)
{
    std::vector<std::vector<int>> out;
    for (const ViewportAxis& axis : plan.axes)
        out.push_back(axis.positions);
    return out;
}

struct ChoiceCase {
    const char* name;
    const char* codes;
    int inputTypes;
    std::array<bool, 4> visible;
    std::vector<std::vector<int>> bands;   // display positions per band
};

class ViewportChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ViewportChoice, LaysTheVisibleChannelsOutOnTheDefaultBands)
{
    const ChoiceCase& c = GetParam();
    SettingsRecord settings;
    const ViewportSource source = Source(c.codes, c.inputTypes);
    const ViewportPlan plan = PlanViewports(settings, source, Visible(source.channelCount, c.visible), true);
    EXPECT_EQ(Bands(plan), c.bands);
    EXPECT_EQ(settings.viewportMode, c.bands.size());
    EXPECT_DOUBLE_EQ(plan.heightShare, 1.0 / static_cast<double>(c.bands.size()));
}

const bool T = true, F = false;
INSTANTIATE_TEST_SUITE_P(
    Channels, ViewportChoice,
    ::testing::Values(
        ChoiceCase{"OneThermistor", "A", 0, {T, T, T, T}, {{0}}},
        ChoiceCase{"FourThermistorsShareOneBand", "ABCP", 0, {T, T, T, T}, {{0, 1, 2, 3}}},
        ChoiceCase{"LightAndThermistorGetOneEach", "LA", 0, {T, T, T, T}, {{0}, {1}}},
        ChoiceCase{"ThermocoupleGivesEveryChannelItsOwn", "AAk", 0, {T, T, T, T}, {{0}, {1}, {2}}},
        ChoiceCase{"TemperatureRhRecordingHasTwoBands", "AAHH", 585, {T, T, T, T}, {{0, 1}, {2, 3}}},
        ChoiceCase{"HiddenChannelLeavesItsBand", "ALRA", 0, {T, F, T, T}, {{0}, {2}, {3}}},
        ChoiceCase{"HiddenOtherKindLeavesThermistorsTogether", "AAL", 0, {T, T, F, T}, {{0, 1}}},
        ChoiceCase{"OnlyOneVisible", "LRA", 0, {F, T, F, T}, {{1}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChannelUnits, InputTypesAreThreeBitsPerChannel)
{
    // 585 = 1 + 1<<3 + 1<<6 + 1<<9: every channel is a temperature/RH input. Channels 2 and 3
    // carry humidity, 1 and 4 thermistors.
    const auto units = DeriveChannelUnits({'A', 'G', 'G', 'A'}, 585, {"", "", "", ""}, false, 0);
    EXPECT_EQ(units[0].unit, "Deg C");
    EXPECT_EQ(units[1].unit, "% RH");
    EXPECT_EQ(units[2].unit, "% RH");
    EXPECT_EQ(units[3].unit, "Deg C");
    const auto dew = DeriveChannelUnits({'0', '0', 'G', '0'}, 1 << 6, {"", "", "", ""}, true, 1);
    EXPECT_EQ(dew[2].unit, "Dew P");
    EXPECT_EQ(dew[1].unit, "");
}

TEST(ViewportPlanTest, TakesTheStoredSplitWhenNotChoosing)
{
    SettingsRecord settings;
    settings.viewportMode = 2;
    settings.viewportAssignment = {1, 3, 0, 0};
    const ViewportPlan plan = PlanViewports(settings, Source("AAAA"), Visible(4), false);
    EXPECT_EQ(Bands(plan), (std::vector<std::vector<int>>{{0}, {1, 2, 3}}));
}

TEST(ViewportPlanTest, SplitThatDoesNotFitTheVisibleChannelsFallsBackToTheDefault)
{
    struct Case {
        int mode;
        std::array<std::uint8_t, 4> stored;
        std::array<bool, 4> visible;
        std::vector<std::vector<int>> bands;
    };
    const std::vector<Case> cases = {
        {2, {2, 2, 0, 0}, {T, F, T, T}, {{0}, {2}}},            // one channel hidden since
        {3, {1, 1, 1, 0}, {T, F, T, F}, {{0}, {2}}},             // more bands than channels
        {0, {0, 0, 0, 0}, {T, T, T, T}, {{0, 1, 2}}},            // mode 0 from a bad record
        {2, {0, 4, 0, 0}, {T, T, T, T}, {{0, 1}, {2}}},          // an empty band
    };
    for (const Case& c : cases) {
        SettingsRecord settings;
        settings.viewportMode = static_cast<std::uint8_t>(c.mode);
        settings.viewportAssignment = c.stored;
        const ViewportPlan plan = PlanViewports(settings, Source("AAL"), Visible(3, c.visible), false);
        EXPECT_EQ(Bands(plan), c.bands) << "mode " << c.mode;
        EXPECT_EQ(settings.viewportMode, c.bands.size());
    }
}

TEST(DefaultAssignmentTest, FollowsTheTableAndLeavesOtherCombinations)
{
    struct Case {
        int v, n;
        bool known;
        std::array<std::uint8_t, 4> a;
    };
    const std::vector<Case> cases = {
        {1, 3, true, {3, 9, 9, 9}}, {2, 2, true, {1, 1, 9, 9}}, {2, 3, true, {2, 1, 9, 9}},
        {2, 4, true, {2, 2, 9, 9}}, {3, 3, true, {1, 1, 1, 9}}, {3, 4, true, {2, 1, 1, 9}},
        {4, 2, true, {1, 1, 1, 1}}, {2, 1, false, {9, 9, 9, 9}}, {3, 2, false, {9, 9, 9, 9}},
        {0, 2, false, {9, 9, 9, 9}},
    };
    for (const Case& c : cases) {
        std::array<std::uint8_t, 4> a{9, 9, 9, 9};
        EXPECT_EQ(DefaultAssignment(c.v, c.n, a), c.known) << c.v << "/" << c.n;
        EXPECT_EQ(a, c.a) << c.v << "/" << c.n;
    }
}

TEST(ViewportAxes, FixedRangeOnlyWhenEveryChannelOfTheBandNamesTheSameRange)
{
    struct Case {
        std::array<QByteArray, 4> labels;
        AxisScale scale;
        double min, max;
    };
    const std::vector<Case> cases = {
        {{"Inside~0,100", "Outside~0,100", "", ""}, AxisScale::Fixed, 0, 100},
        {{"Inside~0,100", "Outside", "", ""}, AxisScale::Automatic, 0, 0},
        {{"Inside~0,100", "Outside~0,90", "", ""}, AxisScale::Automatic, 0, 0},
        {{"Flow~-5.5,20;gpm", "Flow~-5.5,20;gpm", "", ""}, AxisScale::Fixed, -5.5, 20},
        {{"Inside~100", "Outside~100", "", ""}, AxisScale::Automatic, 0, 0},
        // A range without height, or upside down, would leave nothing to see.
        {{"Inside~5,5", "Outside~5,5", "", ""}, AxisScale::Automatic, 0, 0},
        {{"Inside~9,1", "Outside~9,1", "", ""}, AxisScale::Automatic, 0, 0},
    };
    for (const Case& c : cases) {
        SettingsRecord settings;
        const ViewportPlan plan = PlanViewports(settings, Source("AA", 0, c.labels), Visible(2), true);
        ASSERT_EQ(plan.axes.size(), 1u);
        EXPECT_EQ(plan.axes[0].scale, c.scale) << c.labels[0].constData() << " " << c.labels[1].constData();
        EXPECT_DOUBLE_EQ(plan.axes[0].min, c.min);
        EXPECT_DOUBLE_EQ(plan.axes[0].max, c.max);
    }
}

TEST(ViewportAxes, LabelIsTheSharedUnitOrNothing)
{
    SettingsRecord settings;
    settings.viewportMode = 1;
    const ViewportSource mixed = Source("AR");
    EXPECT_EQ(PlanViewports(settings, mixed, Visible(2), false).axes[0].label, QByteArray());

    ViewportSource labelled = Source("AA", 0, {"Flow~0,100;gpm", "Pipe;gpm", "", ""});
    EXPECT_EQ(PlanViewports(settings, labelled, Visible(2), false).axes[0].label, "gpm");

    const ViewportPlan split = PlanViewports(settings, Source("LA"), Visible(2), true);
    EXPECT_EQ(split.axes[0].label, "FtCn");
    EXPECT_EQ(split.axes[1].label, "Deg C");
}

TEST(ViewportAxes, RealTimeBandWithoutFixedRangeIsScaledByHand)
{
    SettingsRecord settings;
    ViewportSource source = Source("AA", 0, {"A~0,50", "B", "", ""});
    source.realTime = true;
    EXPECT_EQ(PlanViewports(settings, source, Visible(2), true).axes[0].scale, AxisScale::Manual);
}

TEST(ChooseViewportsTest, MultiBankGoesByTheUnitsOfItsColumns)
{
    struct Case {
        std::array<QByteArray, 4> units;
        int channels;
        int v;
    };
    const std::vector<Case> cases = {
        {{"Deg F", "Deg F", "Deg F", ""}, 3, 1},
        {{"Deg C", "FtCn", "", ""}, 2, 2},
        {{"Deg C", "Deg C", "% RH", "% RH"}, 4, 2},
        {{"Deg C", "Deg C", "Wet B", "Wet B"}, 4, 2},
        {{"Deg C", "Deg C", "Dew P", "Dew P"}, 4, 2},
        {{"Deg C", "Deg C", "Dew P", "% RH"}, 4, 4},
    };
    for (const Case& c : cases) {
        ViewportSource s;
        s.multiBank = true;
        s.channelCount = c.channels;
        for (int i = 0; i < 4; ++i) {
            s.channelList[static_cast<std::size_t>(i)] = i + 1;
            s.units[static_cast<std::size_t>(i)].unit = c.units[static_cast<std::size_t>(i)];
        }
        EXPECT_EQ(ChooseViewports(s, c.channels), c.v) << c.units[2].constData();
    }
}

} // namespace
