// The main window's layout figures, worked by hand from the rule; they hold to the pixel.
#include "app/MainWindowLayout.h"

#include <gtest/gtest.h>

namespace {

constexpr int W = 1150;
constexpr int H = 820;

} // namespace

TEST(MainWindowLayout, EveryControlAtNinetySixDpi)
{
    const MainWindowLayout layout = MainWindowLayout::compute(W, H, 1.0);
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
    EXPECT_EQ(layout.importDone, (ControlRect{682, H - 281, 100, 23}));
    EXPECT_EQ(layout.insertRowButton, (ControlRect{W - 315, H - 281, 23, 23}));
    EXPECT_EQ(layout.deleteRowButton, (ControlRect{W - 340, H - 281, 23, 23}));
    EXPECT_EQ(layout.insertVariableButton, (ControlRect{W - 47, H - 281, 23, 23}));
    EXPECT_EQ(layout.deleteVariableButton, (ControlRect{W - 72, H - 281, 23, 23}));
    EXPECT_EQ(layout.defineWithinLabel, (ControlRect{W - 250, H - 276, 120, 23}));
    EXPECT_EQ(MainWindowLayout::minimumWidth(1.0), W);
    EXPECT_EQ(MainWindowLayout::minimumHeight(1.0), H);
}

TEST(MainWindowLayout, EveryLengthIsCutWhereItIsFormed)
{
    // At 120 dpi (s = 1.25) cutting only at the end would give d = 237 instead of 236.
    const MainWindowLayout layout = MainWindowLayout::compute(1437, 1025, 1.25);
    EXPECT_EQ(layout.carriageReturn, (ControlRect{374, 1025 - 236 - 37 - 81, 62, 37}));
    EXPECT_EQ(layout.deleteRowButton.left, 1011); // ⌊⌊1437 - 393.75⌋ - 31.25⌋
    EXPECT_EQ(MainWindowLayout::minimumWidth(1.25), 1437);
}
