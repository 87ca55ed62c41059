#include "data/SimulationMatricesGridCtrl.h"

#include <gtest/gtest.h>

#include <string>

// The mirror of an upper cell and the refused edit of the diagonal through beginEdit are
// checked with the matrices editor.
TEST(SimulationMatricesGridCtrl, OnlyTheCorrelationModeMirrorsAnEditAcrossTheDiagonal)
{
    // A 3 x 3 grid as the matrices editor lays it out, with a read-only diagonal.
    SimulationMatricesGridCtrl grid{DecimalSeparator('.')};
    grid.setFixedRowCount(1);
    grid.setFixedColumnCount(1);
    grid.setDataRowCount(3);
    grid.setDataColumnCount(3);
    for (int i = 0; i < 3; ++i) {
        grid.setText(i, i, "1");
        grid.setCellState(grid.toGridRow(i), grid.toGridColumn(i), CellState::ReadOnly);
    }
    const auto type = [&grid](int r, int c, const std::string& text) {
        return grid.beginEdit(grid.toGridRow(r), grid.toGridColumn(c)) &&
               grid.endEdit(grid.toGridRow(r), grid.toGridColumn(c), text);
    };

    for (int mode : {0, 1}) {
        grid.setMode(mode);
        ASSERT_TRUE(type(1, 2, std::to_string(mode)));
        EXPECT_EQ(grid.getText(2, 1), "") << "mode " << mode;
    }
    grid.setMode(2);
    ASSERT_TRUE(type(2, 0, "-0.5"));
    EXPECT_EQ(grid.getText(0, 2), "-0.5");
    EXPECT_FALSE(grid.endEdit(grid.toGridRow(1), grid.toGridColumn(1), "0.9"))
        << "the read-only diagonal";
    EXPECT_EQ(grid.getText(1, 1), "1");
}
