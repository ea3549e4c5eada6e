// The "Set Viewports" dialog's rules: the lists with their dashed lines, the
// count and boundary spinners, hiding channels and "View all".

#include "graph/viewports_dialog_rules.h"

#include "support/scripted_messages.h"

#include <gtest/gtest.h>

using namespace tamble;
using tamble::test::ScriptedMessages;

namespace {

const QString kDashes = QStringLiteral("--------------------------------------");

class ViewportsDialogRulesTest : public ::testing::Test {
protected:
    void open(int channels, int mode, std::array<std::uint8_t, 4> split, bool realTime = false)
    {
        settings.viewportMode = static_cast<std::uint8_t>(mode);
        settings.viewportAssignment = split;
        visibility.showAll(channels);
        rules.prepare({1, 2, 3, 4}, {"Inside", "Outside   ", "Humidity", "Light"}, realTime);
        rules.show();
    }
    std::vector<int> split() const
    {
        std::vector<int> out;
        for (int v = 0; v < settings.viewportMode; ++v)
            out.push_back(settings.viewportAssignment[static_cast<std::size_t>(v)]);
        return out;
    }

    SettingsRecord settings;
    ChannelVisibility visibility;
    ScriptedMessages messages;
    ViewportsDialogRules rules{settings, visibility, messages};
};

TEST_F(ViewportsDialogRulesTest, ListShowsTheStoredSplitWithDashedLinesBetweenBands)
{
    open(4, 3, {1, 1, 2, 0});
    EXPECT_EQ(kDashes, ViewportsDialogRules::separatorLine());
    EXPECT_EQ(rules.view().channelLines,
              (QStringList{"1 Inside", kDashes, "2 Outside", kDashes, "3 Humidity", "4 Light"}));
    EXPECT_EQ(rules.view().countLabel, "3 Viewports");
    // Showing resets the split to the default for the count found.
    EXPECT_EQ(split(), (std::vector<int>{2, 1, 1}));
}

TEST_F(ViewportsDialogRulesTest, CountLabelAndSpinnersFollowTheSplit)
{
    struct Case {
        int channels, mode;
        std::array<std::uint8_t, 4> split;
        const char* label;
        bool spinner1, spinner2;
    };
    const std::vector<Case> cases = {
        {1, 1, {1, 0, 0, 0}, "1 Viewport", false, false},
        {2, 2, {1, 1, 0, 0}, "2 Viewports", false, false},
        {3, 2, {2, 1, 0, 0}, "2 Viewports", true, false},
        {3, 3, {1, 1, 1, 0}, "3 Viewports", false, false},
        {4, 3, {2, 1, 1, 0}, "3 Viewports", true, false},
        {4, 4, {1, 1, 1, 1}, "4 Viewports", false, false},
    };
    for (const Case& c : cases) {
        open(c.channels, c.mode, c.split);
        EXPECT_EQ(rules.view().countLabel, c.label);
        EXPECT_EQ(rules.view().spinner1, c.spinner1) << c.label << " " << c.channels;
        EXPECT_EQ(rules.view().spinner2, c.spinner2) << c.label << " " << c.channels;
    }
}

TEST_F(ViewportsDialogRulesTest, Spinner1MovesTheFirstBoundaryWithinItsLimits)
{
    open(3, 2, {2, 1, 0, 0});
    rules.spinner1Up();
    EXPECT_EQ(split(), (std::vector<int>{1, 2}));
    EXPECT_EQ(rules.view().channelLines, (QStringList{"1 Inside", kDashes, "2 Outside", "3 Humidity"}));
    rules.spinner1Up();
    EXPECT_EQ(split(), (std::vector<int>{1, 2}));
    rules.spinner1Down();
    rules.spinner1Down();
    EXPECT_EQ(split(), (std::vector<int>{2, 1}));

    open(4, 2, {2, 2, 0, 0});
    const std::vector<std::vector<int>> downs = {{3, 1}, {3, 1}};
    for (const auto& expected : downs) {
        rules.spinner1Down();
        EXPECT_EQ(split(), expected);
    }
}

TEST_F(ViewportsDialogRulesTest, BoundarySpinnersOfThreeBandsOverFourChannels)
{
    open(4, 3, {2, 1, 1, 0});
    rules.spinner1Up();
    EXPECT_EQ(split(), (std::vector<int>{1, 2, 1}));
    EXPECT_TRUE(rules.view().spinner1);
    EXPECT_TRUE(rules.view().spinner2);
    rules.spinner2Up();
    EXPECT_EQ(split(), (std::vector<int>{1, 1, 2}));
    EXPECT_FALSE(rules.view().spinner1);
    EXPECT_TRUE(rules.view().spinner2);
    rules.spinner2Up();
    EXPECT_EQ(split(), (std::vector<int>{1, 1, 2}));
    rules.spinner2Down();
    EXPECT_EQ(split(), (std::vector<int>{1, 2, 1}));
    rules.spinner1Down();
    rules.spinner1Down();
    EXPECT_EQ(split(), (std::vector<int>{2, 1, 1}));
}

TEST_F(ViewportsDialogRulesTest, CountSpinnerWrapsAroundTheVisibleChannels)
{
    open(3, 1, {3, 0, 0, 0});
    const std::vector<std::vector<int>> ups = {{2, 1}, {1, 1, 1}, {3}};
    for (const auto& expected : ups) {
        rules.countUp();
        EXPECT_EQ(split(), expected);
    }
    rules.countDown();
    EXPECT_EQ(split(), (std::vector<int>{1, 1, 1}));
}

TEST_F(ViewportsDialogRulesTest, HidingMovesTheChannelToTheHiddenList)
{
    open(4, 2, {2, 2, 0, 0});
    rules.setHidden(1, true);
    EXPECT_FALSE(visibility.visible[1]);
    EXPECT_EQ(visibility.visibleCount(), 3);
    EXPECT_EQ(rules.view().hiddenLines, QStringList{"2 Outside"});
    EXPECT_EQ(rules.view().channelLines, (QStringList{"1 Inside", "3 Humidity", kDashes, "4 Light"}));
    EXPECT_TRUE(rules.view().hideBoxChecked[1]);
    EXPECT_EQ(split(), (std::vector<int>{2, 1}));

    rules.setHidden(1, false);
    EXPECT_EQ(visibility.visibleCount(), 4);
    EXPECT_TRUE(rules.view().hiddenLines.isEmpty());
    EXPECT_EQ(split(), (std::vector<int>{2, 2}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ViewportsDialogRulesTest, HidingIsRefusedForTheLastChannelAndInTheRealTimeGraph)
{
    struct Case {
        int channels;
        bool realTime;
        DialogKind kind;
        const char* text;
    };
    const std::vector<Case> cases = {
        {1, false, DialogKind::Warning, "At least one channel must be visible."},
        {2, true, DialogKind::Information, "Hiding channels is not available with Real Time Graph"},
    };
    for (const Case& c : cases) {
        messages.shown.clear();
        open(c.channels, 1, {static_cast<std::uint8_t>(c.channels), 0, 0, 0}, c.realTime);
        rules.setHidden(0, true);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].kind, c.kind);
        EXPECT_EQ(messages.shown[0].text, c.text);
        EXPECT_TRUE(visibility.visible[0]);
        EXPECT_FALSE(rules.view().hideBoxChecked[0]);
        EXPECT_EQ(visibility.visibleCount(), c.channels);
        EXPECT_EQ(split(), std::vector<int>{c.channels});
    }
}

TEST_F(ViewportsDialogRulesTest, ViewAllShowsEveryChannelInOneBand)
{
    open(4, 4, {1, 1, 1, 1});
    rules.setHidden(0, true);
    rules.setHidden(3, true);
    rules.viewAll();
    EXPECT_EQ(visibility.visibleCount(), 4);
    EXPECT_EQ(split(), std::vector<int>{4});
    EXPECT_EQ(rules.view().countLabel, "1 Viewport");
    EXPECT_EQ(rules.view().channelLines.size(), 4);
    EXPECT_TRUE(rules.view().hiddenLines.isEmpty());
}

TEST_F(ViewportsDialogRulesTest, SplitNotAddingUpKeepsEveryChannelInTheList)
{
    open(2, 1, {4, 0, 0, 0});   // the factory split of a record meets a two-channel file
    EXPECT_EQ(rules.view().channelLines, (QStringList{"1 Inside", "2 Outside"}));
    EXPECT_EQ(split(), std::vector<int>{2});
}

TEST_F(ViewportsDialogRulesTest, HideBoxesFollowTheChannelCount)
{
    open(1, 1, {1, 0, 0, 0});
    EXPECT_EQ(rules.view().hideBoxShown, (std::array<bool, 4>{true, false, false, false}));
    EXPECT_FALSE(rules.view().hiddenSectionShown);
    open(3, 1, {3, 0, 0, 0});
    EXPECT_EQ(rules.view().hideBoxShown, (std::array<bool, 4>{true, true, true, false}));
    EXPECT_TRUE(rules.view().hiddenSectionShown);
}

} // namespace
