#include "grid/GridModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr Colour WHITE{255, 255, 255};
constexpr Colour GREY{199, 199, 199};

/// rows x columns, every cell reading "row,column".
void fillLabelled(GridModel& grid, int rows, int columns)
{
    grid.setRowCount(rows);
    grid.setColumnCount(columns);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            grid.setCellText(row, column, std::to_string(row) + "," + std::to_string(column));
    }
}

} // namespace

TEST(GridModelShape, NewCellsArePlainEmptyWhiteAndOfTheDefaultSize)
{
    GridModel grid;
    EXPECT_TRUE(grid.setRowCount(3));
    EXPECT_TRUE(grid.setColumnCount(2));
    EXPECT_EQ(grid.getRowCount(), 3);
    EXPECT_EQ(grid.getColumnCount(), 2);
    EXPECT_EQ(grid.getCellText(2, 1), "");
    EXPECT_EQ(grid.getCellType(2, 1), CellType::Plain);
    EXPECT_EQ(grid.getCellBackground(2, 1), WHITE);
    EXPECT_EQ(grid.getCellState(2, 1), CellState::None);
    EXPECT_EQ(grid.getRowHeight(2), GridModel::DEFAULT_ROW_HEIGHT);
    EXPECT_EQ(grid.getColumnWidth(1), GridModel::DEFAULT_COLUMN_WIDTH);
}

TEST(GridModelShape, ColumnsExistWithoutRows)
{
    GridModel grid;
    grid.setColumnCount(10);
    EXPECT_EQ(grid.getColumnCount(), 10);
    grid.setRowCount(1);
    grid.setCellText(0, 9, "x");
    EXPECT_EQ(grid.getCellText(0, 9), "x");
}

TEST(GridModelShape, ShrinkingKeepsTheTopLeftCells)
{
    GridModel grid;
    fillLabelled(grid, 4, 4);
    grid.setRowCount(2);
    grid.setColumnCount(3);
    EXPECT_EQ(grid.getCellText(1, 2), "1,2");
    EXPECT_EQ(grid.getCellText(3, 3), "");
    grid.setRowCount(4);
    EXPECT_EQ(grid.getCellText(3, 0), "") << "rows grown again are new";
}

TEST(GridModelShape, FixedCountsGrowTheTableAndEndWithIt)
{
    GridModel grid;
    EXPECT_TRUE(grid.setFixedRowCount(2));
    EXPECT_TRUE(grid.setFixedColumnCount(1));
    EXPECT_EQ(grid.getRowCount(), 2);
    EXPECT_EQ(grid.getColumnCount(), 1);
    EXPECT_TRUE(grid.isFixed(1, 0));
    grid.setRowCount(5);
    grid.setColumnCount(3);
    EXPECT_TRUE(grid.isFixed(4, 0));
    EXPECT_TRUE(grid.isFixed(1, 2));
    EXPECT_FALSE(grid.isFixed(2, 1));
    grid.setRowCount(1);
    EXPECT_EQ(grid.getFixedRowCount(), 1);
}

TEST(GridModelShape, NegativeCountsAndOutsideIndicesAreRejected)
{
    GridModel grid;
    fillLabelled(grid, 2, 2);
    EXPECT_FALSE(grid.setRowCount(-1));
    EXPECT_FALSE(grid.setColumnCount(-3));
    EXPECT_FALSE(grid.setFixedRowCount(-1));
    EXPECT_FALSE(grid.insertRowAt(3));
    EXPECT_FALSE(grid.insertColumnAt(-1));
    EXPECT_FALSE(grid.deleteRow(2));
    EXPECT_FALSE(grid.deleteColumn(-1));
    EXPECT_EQ(grid.getRowCount(), 2);
    EXPECT_EQ(grid.getColumnCount(), 2);

    grid.setCellText(-1, 0, "x");
    grid.setCellText(0, 2, "x");
    grid.setCellBackground(2, 0, GREY);
    grid.setRowHeight(0, -5);
    EXPECT_EQ(grid.getCellText(-1, 0), "");
    EXPECT_EQ(grid.getCellText(0, 2), "");
    EXPECT_EQ(grid.getCellBackground(2, 0), WHITE);
    EXPECT_TRUE(grid.getCellOptions(5, 5).empty());
    EXPECT_EQ(grid.getRowHeight(0), GridModel::DEFAULT_ROW_HEIGHT);
    EXPECT_EQ(grid.getColumnWidth(7), 0);
    EXPECT_EQ(grid.getCellText(0, 1), "0,1");
}

TEST(GridModelShape, InsertedRowShiftsWholeCellsDown)
{
    GridModel grid;
    fillLabelled(grid, 3, 2);
    grid.setCellBackground(1, 0, GREY);
    grid.setCellDropDown(1, 1, {"a", "b"}, DropDownStyle::ListOnly);
    grid.setRowHeight(1, 0);
    ASSERT_TRUE(grid.insertRowAt(1));
    EXPECT_EQ(grid.getRowCount(), 4);
    EXPECT_EQ(grid.getCellText(1, 0), "");
    EXPECT_EQ(grid.getRowHeight(1), GridModel::DEFAULT_ROW_HEIGHT);
    EXPECT_EQ(grid.getCellText(2, 0), "1,0");
    EXPECT_EQ(grid.getCellBackground(2, 0), GREY);
    EXPECT_EQ(grid.getCellOptions(2, 1), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(grid.getRowHeight(2), 0);
    ASSERT_TRUE(grid.insertRowAt(4));
    EXPECT_EQ(grid.getCellText(3, 1), "2,1");
    EXPECT_EQ(grid.getCellText(4, 1), "");
}

TEST(GridModelShape, InsertedColumnShiftsCellsRightAndAmongFixedColumnsIsFixed)
{
    GridModel grid;
    fillLabelled(grid, 2, 3);
    grid.setFixedColumnCount(1);
    grid.setColumnWidth(1, 33);
    ASSERT_TRUE(grid.insertColumnAt(1));
    EXPECT_EQ(grid.getColumnCount(), 4);
    EXPECT_EQ(grid.getCellText(0, 2), "0,1");
    EXPECT_EQ(grid.getColumnWidth(2), 33);
    EXPECT_EQ(grid.getFixedColumnCount(), 1);
    ASSERT_TRUE(grid.insertColumnAt(0));
    EXPECT_EQ(grid.getFixedColumnCount(), 2);
    EXPECT_EQ(grid.getCellText(1, 1), "1,0");
}

TEST(GridModelShape, DeletingRowsAndColumnsClosesTheGap)
{
    GridModel grid;
    fillLabelled(grid, 4, 3);
    grid.setFixedRowCount(1);
    grid.setFixedColumnCount(1);
    ASSERT_TRUE(grid.deleteRow(1));
    ASSERT_TRUE(grid.deleteColumn(1));
    EXPECT_EQ(grid.getRowCount(), 3);
    EXPECT_EQ(grid.getColumnCount(), 2);
    EXPECT_EQ(grid.getCellText(1, 1), "2,2");
    ASSERT_TRUE(grid.deleteRow(0));
    EXPECT_EQ(grid.getFixedRowCount(), 0) << "the fixed row itself was deleted";
}

TEST(GridModelShape, DeletingTheFocusRowDropsTheFocusAndClipsTheSelection)
{
    GridModel grid;
    fillLabelled(grid, 4, 4);
    ASSERT_TRUE(grid.setFocusCell({3, 3}));
    grid.setSelectedRange({1, 1, 3, 3});
    grid.deleteRow(3);
    EXPECT_EQ(grid.getFocusCell(), CellPosition());
    EXPECT_EQ(grid.getSelectedRange(), (CellRange{1, 1, 2, 3}));
    grid.setRowCount(1);
    EXPECT_TRUE(grid.getSelectedRange().isEmpty());
}

TEST(GridModelShape, AppendRowWritesItsHeaderIntoTheFirstCell)
{
    GridModel grid;
    grid.setColumnCount(3);
    EXPECT_EQ(grid.appendRow("7"), 0);
    EXPECT_EQ(grid.appendRow("8"), 1);
    EXPECT_EQ(grid.getCellText(1, 0), "8");
    EXPECT_EQ(grid.getCellText(1, 1), "");
}

TEST(GridModelShape, RemoveAllCellsLeavesNothing)
{
    GridModel grid;
    fillLabelled(grid, 3, 3);
    grid.setFixedRowCount(1);
    grid.setFocusCell({2, 2});
    grid.setSelectedRange({1, 1, 2, 2});
    grid.removeAllCells();
    EXPECT_EQ(grid.getRowCount(), 0);
    EXPECT_EQ(grid.getColumnCount(), 0);
    EXPECT_EQ(grid.getFixedRowCount(), 0);
    EXPECT_EQ(grid.getFocusCell(), CellPosition());
    EXPECT_TRUE(grid.getSelectedRange().isEmpty());
    grid.setRowCount(1);
    grid.setColumnCount(1);
    EXPECT_EQ(grid.getCellText(0, 0), "");
}

TEST(GridModelCells, SelectedBitFollowsTheRangeOnly)
{
    GridModel grid;
    fillLabelled(grid, 3, 3);
    grid.setCellState(0, 0, CellState::Selected | CellState::ReadOnly);
    EXPECT_EQ(grid.getCellState(0, 0), CellState::ReadOnly);
    grid.setSelectedRange({0, 0, 1, 1});
    EXPECT_EQ(grid.getCellState(0, 0), CellState::ReadOnly | CellState::Selected);
    EXPECT_EQ(grid.getCellState(1, 1), CellState::Selected);
    EXPECT_EQ(grid.getCellState(2, 1), CellState::None);
}

TEST(GridModelCells, DropDownAndTickBoxCellsKeepTheirSettings)
{
    GridModel grid;
    fillLabelled(grid, 2, 2);
    grid.setCellDropDown(0, 1, {"between", "1", "2"}, DropDownStyle::Editable);
    EXPECT_EQ(grid.getCellType(0, 1), CellType::DropDown);
    EXPECT_EQ(grid.getCellOptions(0, 1), (std::vector<std::string>{"between", "1", "2"}));
    EXPECT_EQ(grid.getCellDropDownStyle(0, 1), DropDownStyle::Editable);

    grid.setCellType(1, 1, CellType::TickBox);
    EXPECT_FALSE(grid.isCellChecked(1, 1));
    grid.setCellChecked(1, 1, true);
    EXPECT_TRUE(grid.isCellChecked(1, 1));
    EXPECT_FALSE(grid.isCellChecked(1, 0));
}

TEST(GridModelSizes, AutoSizeFollowsTheLongestTextAndKeepsHiddenColumnsHidden)
{
    GridModel grid;
    grid.setRowCount(2);
    grid.setColumnCount(3);
    grid.setCellText(0, 0, "a");
    grid.setCellText(1, 0, "a much longer text than the other");
    grid.setCellText(0, 1, "a");
    grid.setCellText(0, 2, "a much longer text than the other");
    grid.setColumnWidth(2, 0);
    grid.autoSizeColumns();
    EXPECT_GT(grid.getColumnWidth(0), grid.getColumnWidth(1));
    EXPECT_GT(grid.getColumnWidth(1), 0);
    EXPECT_EQ(grid.getColumnWidth(2), 0);

    const int before = grid.getColumnWidth(0);
    grid.setCellText(1, 0, "");
    grid.autoSizeColumn(0);
    EXPECT_LT(grid.getColumnWidth(0), before) << "a column shrinks to shorter contents";
}
