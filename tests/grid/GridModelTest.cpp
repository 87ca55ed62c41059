#include "grid/GridModel.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr Colour WHITE{255, 255, 255};
constexpr Colour GREY{199, 199, 199};

class GridModelTest : public ::testing::Test {
protected:
    /// rows x columns, every cell reading "row,column".
    void fill(int rows, int columns)
    {
        grid.setRowCount(rows);
        grid.setColumnCount(columns);
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column)
                grid.setCellText(row, column, std::to_string(row) + "," + std::to_string(column));
        }
    }

    /// 6 x 5, one fixed row and column, empty cells; repaints are counted.
    void withHeaders()
    {
        grid.setRowCount(6);
        grid.setColumnCount(5);
        grid.setFixedRowCount(1);
        grid.setFixedColumnCount(1);
        grid.setRepaintHandler([this] { ++repaints; });
    }

    GridModel grid;
    int repaints = 0;
};

} // namespace

TEST_F(GridModelTest, FixedCountsGrowTheTableAndEndWithIt)
{
    EXPECT_TRUE(grid.setFixedRowCount(2));
    EXPECT_TRUE(grid.setFixedColumnCount(1));
    EXPECT_EQ(grid.getRowCount(), 2);
    EXPECT_FALSE(grid.setFixedRowCount(-1));
    grid.setRowCount(5);
    grid.setColumnCount(3);
    EXPECT_TRUE(grid.isFixed(4, 0));
    EXPECT_TRUE(grid.isFixed(1, 2));
    EXPECT_FALSE(grid.isFixed(2, 1));
    grid.setRowCount(1);
    EXPECT_EQ(grid.getFixedRowCount(), 1);
    ASSERT_TRUE(grid.deleteRow(0));
    ASSERT_TRUE(grid.deleteColumn(0));
    EXPECT_EQ(grid.getFixedRowCount(), 0);
    EXPECT_EQ(grid.getFixedColumnCount(), 0);
}

TEST_F(GridModelTest, NegativeCountsAndOutsideIndicesAreRejected)
{
    fill(2, 2);
    EXPECT_FALSE(grid.setRowCount(-1));
    EXPECT_FALSE(grid.insertRowAt(3));
    EXPECT_FALSE(grid.deleteColumn(-1));
    EXPECT_EQ(grid.getRowCount(), 2);
    EXPECT_EQ(grid.getColumnCount(), 2);
    grid.setCellText(0, 2, "x");
    EXPECT_EQ(grid.getCellText(0, 2), "");
    grid.setCellToolTip(0, 2, "x");
    EXPECT_EQ(grid.getCellToolTip(0, 2), "");
}

TEST_F(GridModelTest, InsertedRowShiftsWholeCellsDown)
{
    fill(3, 2);
    grid.setCellBackground(1, 0, GREY);
    grid.setCellToolTip(1, 0, "why");
    grid.setRowHeight(1, 0);
    ASSERT_TRUE(grid.insertRowAt(1));
    EXPECT_EQ(grid.getCellText(1, 0), "");
    EXPECT_EQ(grid.getCellBackground(1, 0), WHITE);
    EXPECT_EQ(grid.getCellToolTip(1, 0), "");
    EXPECT_EQ(grid.getCellText(2, 0), "1,0");
    EXPECT_EQ(grid.getCellBackground(2, 0), GREY);
    EXPECT_EQ(grid.getCellToolTip(2, 0), "why");
    EXPECT_EQ(grid.getRowHeight(2), 0);
    ASSERT_TRUE(grid.insertRowAt(4)); // appends
    EXPECT_EQ(grid.getCellText(3, 1), "2,1");
}

TEST_F(GridModelTest, InsertedColumnShiftsCellsRightAndAmongFixedColumnsIsFixed)
{
    fill(2, 3);
    grid.setFixedColumnCount(1);
    grid.setColumnWidth(1, 33);
    ASSERT_TRUE(grid.insertColumnAt(1));
    EXPECT_EQ(grid.getCellText(0, 2), "0,1");
    EXPECT_EQ(grid.getColumnWidth(2), 33);
    ASSERT_TRUE(grid.insertColumnAt(0));
    EXPECT_EQ(grid.getFixedColumnCount(), 2);
}

TEST_F(GridModelTest, FocusAndSelectionFollowDeletionsAndRemoveAllCells)
{
    fill(4, 4);
    grid.setFixedRowCount(1);
    ASSERT_TRUE(grid.setFocusCell({3, 3}));
    grid.setSelectedRange({1, 1, 3, 3});
    grid.deleteRow(3);
    EXPECT_EQ(grid.getFocusCell(), CellPosition());
    EXPECT_EQ(grid.getSelectedRange(), (CellRange{1, 1, 2, 3}));
    grid.removeAllCells();
    EXPECT_EQ(grid.getFixedRowCount(), 0);
    EXPECT_TRUE(grid.getSelectedRange().isEmpty());
}

// Each key moves the focus one visible cell, stops at the edges and selects the new cell.
TEST_F(GridModelTest, KeysMoveTheFocusAndSelectIt)
{
    withHeaders();
    EXPECT_FALSE(grid.setFocusCell({0, 2}));
    EXPECT_FALSE(grid.setFocusCell({6, 1}));
    grid.setRowHeight(2, 0);
    ASSERT_TRUE(grid.setFocusCell({1, 2}));
    const struct {
        GridKey key;
        CellPosition focus;
    } steps[] = {{GridKey::Enter, {3, 2}}, {GridKey::Down, {4, 2}}, {GridKey::Down, {5, 2}},
                 {GridKey::Down, {5, 2}},  {GridKey::Up, {4, 2}},   {GridKey::Left, {4, 1}},
                 {GridKey::Left, {4, 1}},  {GridKey::Tab, {4, 2}},  {GridKey::Right, {4, 3}},
                 {GridKey::Escape, {4, 3}}};
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        grid.keyDown(steps[i].key);
        const CellPosition focus = steps[i].focus;
        EXPECT_EQ(grid.getFocusCell(), focus) << "step " << i;
        EXPECT_EQ(grid.getSelectedRange(),
                  (CellRange{focus.row, focus.column, focus.row, focus.column}))
            << "step " << i;
    }
}

// Editing needs a visible, writable cell outside the headers; ending it stores and repaints.
TEST_F(GridModelTest, OnlyVisibleWritableCellsOutsideTheHeadersCanBeEdited)
{
    withHeaders();
    grid.setCellState(2, 2, CellState::ReadOnly);
    grid.setColumnWidth(3, 0);
    EXPECT_TRUE(grid.beginEdit(1, 1));
    EXPECT_FALSE(grid.beginEdit(0, 1));
    EXPECT_FALSE(grid.beginEdit(2, 2));
    EXPECT_FALSE(grid.beginEdit(1, 3));
    EXPECT_TRUE(grid.endEdit(1, 1, "4,5"));
    EXPECT_EQ(grid.getCellText(1, 1), "4,5");
    EXPECT_TRUE(grid.isModified());
    EXPECT_EQ(repaints, 1);
    grid.setCellText(2, 2, "kept");
    EXPECT_FALSE(grid.endEdit(2, 2, "lost"));
    EXPECT_EQ(grid.getCellText(2, 2), "kept");
}

// Field j of line i lands i visible rows and j visible columns from the focus.
TEST_F(GridModelTest, PasteSkipsHiddenAndReadOnlyCellsAndDropsWhatFallsOutside)
{
    withHeaders();
    EXPECT_FALSE(grid.paste("1")) << "no focus cell";
    grid.setRowHeight(3, 0);
    grid.setColumnWidth(2, 0);
    grid.setCellState(4, 4, CellState::ReadOnly);
    grid.setCellText(4, 4, "kept");
    grid.setFocusCell({2, 1});
    ASSERT_TRUE(grid.paste("a\tb\tc\nd\te\tf\tx\ng\th\ti\ny"));
    EXPECT_EQ(grid.getCellText(2, 3), "b");
    EXPECT_EQ(grid.getCellText(4, 1), "d");
    EXPECT_EQ(grid.getCellText(4, 4), "kept");
    EXPECT_EQ(grid.getCellText(5, 4), "i");
    EXPECT_EQ(grid.getCellText(3, 1), "");
    EXPECT_EQ(grid.getSelectedRange(), (CellRange{2, 1, 5, 4}));
    EXPECT_EQ(grid.getCellState(5, 3) & CellState::Modified, CellState::Modified);
    EXPECT_EQ(grid.getCellState(4, 4) & CellState::Modified, 0u);
}
