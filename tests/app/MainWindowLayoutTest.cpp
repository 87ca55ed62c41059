// The main window's layout rule. The figures at 96 pixels per inch are worked by hand from
// the rule (m = 10, r = 25, b = 65, h = 23, t = 30, a = d = f = 190, c = e = 181,
// x1 … x8 = 190, 290, 330, 370, 410, 450, 562, 602) and must hold to the pixel.
#include "app/MainWindowLayout.h"

#include <gtest/gtest.h>

namespace {

constexpr int W = 1150;
constexpr int H = 820;

} // namespace

TEST(MainWindowLayout, EveryControlAtNinetySixDpi)
{
    const MainWindowLayout layout = MainWindowLayout::compute(W, H, 1.0);
    // The data table ends at x 875, 25 pixels left of the within-variables table.
    EXPECT_EQ(layout.dataTable, (ControlRect{10, 10, 865, H - 300}));
    EXPECT_EQ(layout.withinTable, (ControlRect{900, 10, 225, H - 300}));
    EXPECT_EQ(layout.resultsTable, (ControlRect{10, H - 245, W - 35, 150}));

    EXPECT_EQ(layout.computeButton, (ControlRect{10, H - 88, 105, 23}));
    EXPECT_EQ(layout.simulationButton, (ControlRect{130, H - 88, 105, 23}));
    EXPECT_EQ(layout.resetButton, (ControlRect{W - 130, H - 88, 105, 23}));

    EXPECT_EQ(layout.firstRowNames, (ControlRect{10, H - 285, 180, 30}));
    EXPECT_EQ(layout.verticalLabel, (ControlRect{200, H - 276, 100, 30}));
    EXPECT_EQ(layout.carriageReturn, (ControlRect{300, H - 285, 50, 30}));
    EXPECT_EQ(layout.lineFeed, (ControlRect{340, H - 285, 50, 30}));
    EXPECT_EQ(layout.verticalTab, (ControlRect{380, H - 285, 50, 30}));
    EXPECT_EQ(layout.formFeed, (ControlRect{420, H - 285, 50, 30}));
    EXPECT_EQ(layout.horizontalLabel, (ControlRect{460, H - 276, 110, 30}));
    EXPECT_EQ(layout.tab, (ControlRect{572, H - 285, 50, 30}));
    EXPECT_EQ(layout.spaces, (ControlRect{612, H - 285, 50, 30}));
    EXPECT_EQ(layout.importDone, (ControlRect{682, H - 281, 100, 23})); // g = H - 193
}

TEST(MainWindowLayout, RowButtonsKeepTheirDistanceFromTheRightEdge)
{
    for (const int width : {1150, 1400}) {
        const MainWindowLayout layout = MainWindowLayout::compute(width, H, 1.0);
        EXPECT_EQ(layout.insertRowButton, (ControlRect{width - 315, H - 281, 23, 23}));
        EXPECT_EQ(layout.deleteRowButton, (ControlRect{width - 340, H - 281, 23, 23}));
        EXPECT_EQ(layout.insertVariableButton, (ControlRect{width - 47, H - 281, 23, 23}));
        EXPECT_EQ(layout.deleteVariableButton, (ControlRect{width - 72, H - 281, 23, 23}));
        EXPECT_EQ(layout.defineWithinLabel, (ControlRect{width - 250, H - 276, 120, 23}));
    }
}

TEST(MainWindowLayout, TablesGrowWithTheWindow)
{
    const MainWindowLayout small = MainWindowLayout::compute(1150, 820, 1.0);
    const MainWindowLayout large = MainWindowLayout::compute(1350, 1020, 1.0);
    EXPECT_EQ(large.dataTable.width - small.dataTable.width, 200);
    EXPECT_EQ(large.dataTable.height - small.dataTable.height, 200);
    EXPECT_EQ(large.withinTable.width, small.withinTable.width);
    EXPECT_EQ(large.withinTable.left - small.withinTable.left, 200);
    EXPECT_EQ(large.resultsTable.height, small.resultsTable.height);
    EXPECT_EQ(large.resultsTable.top - small.resultsTable.top, 200);
}

TEST(MainWindowLayout, MinimumSize)
{
    EXPECT_EQ(MainWindowLayout::minimumWidth(1.0), 1150);
    EXPECT_EQ(MainWindowLayout::minimumHeight(1.0), 820);
    // 120 pixels per inch: s = 1.25.
    EXPECT_EQ(MainWindowLayout::minimumWidth(1.25), 1437);
    EXPECT_EQ(MainWindowLayout::minimumHeight(1.25), 1025);
}

TEST(MainWindowLayout, EveryLengthIsCutWhereItIsFormed)
{
    // s = 1.25 (120 pixels per inch): m = 12, r = 31, b = 81, h = 28, t = 37, a = 237,
    // c = 225, d = 236, e = 224, f = 235, x1 = 237, x2 = 362, x3 = 412, x4 = 462, x5 = 512,
    // x6 = 562, x7 = 702, x8 = 752, g = H - 238. Cutting only at the end would give, for
    // example, c = 225.75 -> 225 but d = 237 instead of 236.
    const int width = 1437;
    const int height = 1025;
    const MainWindowLayout layout = MainWindowLayout::compute(width, height, 1.25);
    EXPECT_EQ(layout.dataTable, (ControlRect{12, 12, 1081, 650}));
    EXPECT_EQ(layout.withinTable, (ControlRect{width - 281 - 31, 12, 281, 650}));
    EXPECT_EQ(layout.resultsTable, (ControlRect{12, height - 37 - 187 - 81, width - 43, 187}));
    EXPECT_EQ(layout.carriageReturn, (ControlRect{374, height - 236 - 37 - 81, 62, 37}));
    EXPECT_EQ(layout.verticalLabel, (ControlRect{249, height - 225 - 37 - 81, 125, 37}));
    EXPECT_EQ(layout.spaces, (ControlRect{764, height - 235 - 37 - 81, 62, 37}));
    EXPECT_EQ(layout.importDone, (ControlRect{12 + 839, height - 238 - 28 - 81, 125, 28}));
    EXPECT_EQ(layout.insertRowButton.left, 1043); // ⌊1437 - 393.75⌋
    EXPECT_EQ(layout.deleteRowButton.left, 1011); // ⌊1043 - 31.25⌋
}
