#include "data/SimulationMatricesGridCtrl.h"

#include <gtest/gtest.h>

namespace {

/// A 3 x 3 correlation grid as the matrices editor lays it out: one header row and one
/// header column, read-only diagonal.
class SimulationMatricesGridCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.setFixedRowCount(1);
        grid.setFixedColumnCount(1);
        grid.setDataRowCount(3);
        grid.setDataColumnCount(3);
        for (int i = 0; i < 3; ++i) {
            grid.setText(i, i, "1");
            grid.setCellState(grid.toGridRow(i), grid.toGridColumn(i), CellState::ReadOnly);
        }
    }

    /// The user types text into data cell (r, c).
    bool type(int r, int c, const std::string& text)
    {
        const int row = grid.toGridRow(r);
        const int column = grid.toGridColumn(c);
        if (!grid.beginEdit(row, column))
            return false;
        return grid.endEdit(row, column, text);
    }

    SimulationMatricesGridCtrl grid{DecimalSeparator('.')};
};

} // namespace

TEST_F(SimulationMatricesGridCtrlTest, CorrelationModeMirrorsAnEditAcrossTheDiagonal)
{
    grid.setMode(2);
    int repaints = 0;
    grid.setRepaintHandler([&repaints] { ++repaints; });
    ASSERT_TRUE(type(1, 2, "0.3"));
    EXPECT_EQ(grid.getText(1, 2), "0.3");
    EXPECT_EQ(grid.getText(2, 1), "0.3");
    EXPECT_GE(repaints, 1);
    ASSERT_TRUE(type(2, 0, "-0.5"));
    EXPECT_EQ(grid.getText(0, 2), "-0.5");
}

TEST_F(SimulationMatricesGridCtrlTest, MeansAndDeviationsAreNotMirrored)
{
    for (int mode : {0, 1}) {
        grid.setMode(mode);
        ASSERT_TRUE(type(1, 2, std::to_string(mode)));
        EXPECT_EQ(grid.getText(2, 1), "") << "mode " << mode;
    }
}

TEST_F(SimulationMatricesGridCtrlTest, ReadOnlyDiagonalIsNeitherEditedNorMirrored)
{
    grid.setMode(2);
    EXPECT_FALSE(type(1, 1, "0.9"));
    EXPECT_FALSE(grid.endEdit(grid.toGridRow(1), grid.toGridColumn(1), "0.9"));
    EXPECT_EQ(grid.getText(1, 1), "1");
}
