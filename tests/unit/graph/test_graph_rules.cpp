// The graph window's rules without widgets: stamps, legends, menu checks, axes and sizes.
#include "graph/graph_rules.h"
#include "graph/graphic_export.h"

#include <QDate>
#include <gtest/gtest.h>

using namespace tamble;

namespace {

double Days(int y, int m, int d, int hh, int mm, int ss)
{
    return QDate(1899, 12, 30).daysTo(QDate(y, m, d)) + (hh * 3600 + mm * 60 + ss) / 86400.0;
}

struct StampCase {
    const char* stamp;
    double expected;
    QStringList messages;
};

TEST(StampToDateTime, ReadsEveryStampForm)
{
    const std::vector<StampCase> cases = {
        {"Thu 05 Mar 1998 09:07:03", Days(1998, 3, 5, 9, 7, 3), {}},
        {"Thu 05 Mar 98 09:07:03", Days(1998, 3, 5, 9, 7, 3), {}},
        {"Thu 05 Mar 1998 09:07:03pm", Days(1998, 3, 5, 21, 7, 3), {}},
        {"Thu 05 Mar 98 12:07:03am", Days(1998, 3, 5, 0, 7, 3), {}},
        {"Thu 05 Mar 98 12:07:03pm", Days(1998, 3, 5, 12, 7, 3), {}},
        {"Thu 05 Mar 98 09:07pm", Days(1998, 3, 5, 21, 7, 0), {}},
        {"Sat 31 Dec 2011 23:59:59", Days(2011, 12, 31, 23, 59, 59), {}},
        {"Mon 01 Jan 2024 00:00:00", Days(2024, 1, 1, 0, 0, 0), {}},
        {"Mon  6-Apr-1998  0:00:00", Days(1998, 4, 6, 0, 0, 0), {}},
        {"Wed 15-Apr-1998 23:55:00", Days(1998, 4, 15, 23, 55, 0), {}},
        {"Thu 16-Apr-1998  0:02:30pm", Days(1998, 4, 16, 12, 2, 30), {}},
        {"Thu 16-Apr-98  9:02:30", Days(1998, 4, 16, 9, 2, 30), {}},
        {"Thu 16-Apr-98  9:02:30am", Days(1998, 4, 16, 9, 2, 30), {}},
    };
    for (const auto& c : cases) {
        const StampDateTime r = StampToDateTime(QByteArrayView(c.stamp));
        EXPECT_NEAR(r.value, c.expected, 1e-9) << c.stamp;
        EXPECT_EQ(r.messages, c.messages) << c.stamp;
    }
}

TEST(StampToDateTime, BadDayAndMonthGiveTheirMessagesInOrderAndStillGiveTheTime)
{
    const std::vector<StampCase> cases = {
        {"Thu 32 Mar 1998 06:00:00", 0.25, {QStringLiteral("Invalid Date string")}},
        {"Thu 00 Mar 1998 06:00:00", 0.25, {QStringLiteral("Invalid Date string")}},
        {"Thu 05 Xyz 1998 06:00:00", 0.25, {QStringLiteral("Invalid Month string")}},
        {"Thu ?? mar 1998 06:00:00", 0.25,
         {QStringLiteral("Invalid Date string"), QStringLiteral("Invalid Month string")}},
        {"", 0.0, {QStringLiteral("Invalid Date string"), QStringLiteral("Invalid Month string")}},
    };
    for (const auto& c : cases) {
        const StampDateTime r = StampToDateTime(QByteArrayView(c.stamp));
        EXPECT_NEAR(r.value, c.expected, 1e-9) << c.stamp;
        EXPECT_EQ(r.messages, c.messages) << c.stamp;
    }
}

TEST(LegendText, CutsBeforeUnitOrRangeMarksButNotAtTheEnds)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"Flow~0,100;gpm", "Flow"},
        {"Flow;", "Flow;"},
        {"Temp ;degC          ", "Temp"},
        {";Temp;C", ";Temp"},
        {"~x", "~x"},
        {"Outdoor Temperature     ", "Outdoor Temperature"},
        {"", ""},
        {"A~", "A~"},
    };
    for (const auto& [label, legend] : cases)
        EXPECT_EQ(LegendText(QByteArrayView(label)), QByteArray(legend)) << label;
}

TEST(GraphMenus, RadioItemsMapBothWaysAndUnknownValuesCheckNothing)
{
    struct Group {
        int (*item)(int);
        int (*value)(int);
        std::vector<int> valuesTopDown;
        int outside;
    };
    const std::vector<Group> groups = {
        {FontSizeItem, TextSizeForItem, {3, 2, 1}, 7},
        {GridItem, GridForItem, {3, 1, 2, 0}, 7},
        {DisplayModeItem, ColourModeForItem, {1, 2, 3}, 0},
        {MoistureItem, HumidityForItem, {0, 2, 1}, 3},
    };
    for (const auto& g : groups) {
        for (int i = 0; i < static_cast<int>(g.valuesTopDown.size()); ++i) {
            EXPECT_EQ(g.item(g.valuesTopDown[static_cast<std::size_t>(i)]), i);
            EXPECT_EQ(g.value(i), g.valuesTopDown[static_cast<std::size_t>(i)]);
        }
        EXPECT_EQ(g.item(g.outside), -1);
        EXPECT_EQ(g.value(-1), -1);
        EXPECT_EQ(g.value(static_cast<int>(g.valuesTopDown.size())), -1);
    }
}

TEST(GraphMenus, PointMarksOnlyAtOneReadingPerPoint)
{
    EXPECT_TRUE(PointMarksShown(true, 1));
    EXPECT_FALSE(PointMarksShown(true, 2));
    EXPECT_FALSE(PointMarksShown(false, 1));
}

TEST(GraphFileNames, XAxisText)
{
    const QString path = QStringLiteral("/data/run/site1a.TL2");
    EXPECT_EQ(XAxisLabelText(path, FileNameDisplay::NameOnly), QStringLiteral("site1a.TL2"));
    EXPECT_EQ(XAxisLabelText(path, FileNameDisplay::PathAndName), path);
    EXPECT_EQ(XAxisLabelText(path, FileNameDisplay::Hidden), QString());
}

TEST(GraphWindow, SizeScalesWithScreenHeightAndCaptionNamesTheMode)
{
    const std::vector<std::tuple<int, int, int>> cases = {{480, 639, 452}, {960, 1278, 904}, {1080, 1438, 1017}, {768, 1022, 723}};
    for (const auto& [screen, w, h] : cases) {
        const WindowSize size = GraphWindowSize(screen);
        EXPECT_EQ(size.width, w) << screen;
        EXPECT_EQ(size.height, h) << screen;
    }
    EXPECT_EQ(GraphCaption(false), QStringLiteral("Tamble Logger Graph"));
    EXPECT_EQ(GraphCaption(true), QStringLiteral("Tamble Logger / Real Time Graph"));
}

} // namespace

namespace {

TEST(GraphicExport, FormatFollowsTheNameAndSizesStayWithinLimits)
{
    EXPECT_EQ(GraphicFormatOf(QStringLiteral("/d/a.SVG")), GraphicFormat::Svg);
    EXPECT_EQ(GraphicFormatOf(QStringLiteral("/d/a.pdf")), GraphicFormat::Pdf);
    EXPECT_EQ(GraphicFormatOf(QStringLiteral("/d/a.jpeg")), GraphicFormat::Png);
    EXPECT_EQ(GraphicFileName(QStringLiteral("/d/a.Pdf")), QStringLiteral("/d/a.Pdf"));
    EXPECT_EQ(GraphicFileName(QStringLiteral("/d.x/chart")), QStringLiteral("/d.x/chart.png"));

    const GraphicSize png = ChooseGraphicSize(1600, 50, true, GraphicFormat::Png);
    EXPECT_EQ(png.width, 1600);
    EXPECT_EQ(png.height, kMinGraphicSide);
    EXPECT_EQ(png.scale, 2.0);
    const GraphicSize svg = ChooseGraphicSize(99999, 1000, true, GraphicFormat::Svg);
    EXPECT_EQ(svg.width, kMaxGraphicSide);
    EXPECT_EQ(svg.scale, 1.0) << "only a PNG has pixels to double";
}

} // namespace
