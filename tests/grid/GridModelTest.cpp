#include "grid/GridModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

    /// A 6 x 5 table with one fixed row and one fixed column, every cell empty; repaints
    /// are counted.
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

/// Records where the focus stood when the key hook ran.
class KeyRecordingGrid : public GridModel {
public:
    std::vector<CellPosition> focusAtHook;

protected:
    void onKeyDown(GridKey) override { focusAtHook.push_back(getFocusCell()); }
};

/// Refuses every edit in column 3, as a table's hook might.
class ColumnThreeLockedGrid : public GridModel {
public:
    int beginEditCalls = 0;

    bool beginEdit(int row, int column) override
    {
        ++beginEditCalls;
        return column != 3 && GridModel::beginEdit(row, column);
    }
};

} // namespace

TEST_F(GridModelTest, NewCellsArePlainEmptyWhiteAndOfTheDefaultSize)
{
    EXPECT_TRUE(grid.setColumnCount(10)); // columns exist before any row
    EXPECT_TRUE(grid.setRowCount(3));
    EXPECT_EQ(grid.getColumnCount(), 10);
    EXPECT_EQ(grid.getCellText(2, 9), "");
    EXPECT_EQ(grid.getCellType(2, 9), CellType::Plain);
    EXPECT_EQ(grid.getCellBackground(2, 9), WHITE);
    EXPECT_EQ(grid.getCellState(2, 9), CellState::None);
    EXPECT_EQ(grid.getRowHeight(2), GridModel::DEFAULT_ROW_HEIGHT);
    EXPECT_EQ(grid.getColumnWidth(9), GridModel::DEFAULT_COLUMN_WIDTH);
}

TEST_F(GridModelTest, ShrinkingKeepsTheTopLeftCells)
{
    fill(4, 4);
    grid.setRowCount(2);
    grid.setColumnCount(3);
    EXPECT_EQ(grid.getCellText(1, 2), "1,2");
    EXPECT_EQ(grid.getCellText(3, 3), "");
    grid.setRowCount(4);
    EXPECT_EQ(grid.getCellText(3, 0), "") << "rows grown again are new";
}

TEST_F(GridModelTest, FixedCountsGrowTheTableAndEndWithIt)
{
    EXPECT_TRUE(grid.setFixedRowCount(2));
    EXPECT_TRUE(grid.setFixedColumnCount(1));
    EXPECT_EQ(grid.getRowCount(), 2);
    EXPECT_EQ(grid.getColumnCount(), 1);
    grid.setRowCount(5);
    grid.setColumnCount(3);
    EXPECT_TRUE(grid.isFixed(4, 0));
    EXPECT_TRUE(grid.isFixed(1, 2));
    EXPECT_FALSE(grid.isFixed(2, 1));
    grid.setRowCount(1);
    EXPECT_EQ(grid.getFixedRowCount(), 1);
}

TEST_F(GridModelTest, NegativeCountsAndOutsideIndicesAreRejected)
{
    fill(2, 2);
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

TEST_F(GridModelTest, InsertedRowShiftsWholeCellsDown)
{
    fill(3, 2);
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
    EXPECT_EQ(grid.getCellDropDownStyle(2, 1), DropDownStyle::ListOnly);
    EXPECT_EQ(grid.getRowHeight(2), 0);
    ASSERT_TRUE(grid.insertRowAt(4));
    EXPECT_EQ(grid.getCellText(3, 1), "2,1");
    EXPECT_EQ(grid.getCellText(4, 1), "");
}

TEST_F(GridModelTest, InsertedColumnShiftsCellsRightAndAmongFixedColumnsIsFixed)
{
    fill(2, 3);
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

TEST_F(GridModelTest, DeletingRowsAndColumnsClosesTheGap)
{
    fill(4, 3);
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

TEST_F(GridModelTest, FocusAndSelectionFollowDeletionsAndRemoveAllCells)
{
    fill(4, 4);
    grid.setFixedRowCount(1);
    ASSERT_TRUE(grid.setFocusCell({3, 3}));
    grid.setSelectedRange({1, 1, 3, 3});
    grid.deleteRow(3);
    EXPECT_EQ(grid.getFocusCell(), CellPosition());
    EXPECT_EQ(grid.getSelectedRange(), (CellRange{1, 1, 2, 3}));
    grid.setRowCount(1);
    EXPECT_TRUE(grid.getSelectedRange().isEmpty());

    grid.setRowCount(3);
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

TEST_F(GridModelTest, AppendRowWritesItsHeaderIntoTheFirstCell)
{
    grid.setColumnCount(3);
    EXPECT_EQ(grid.appendRow("7"), 0);
    EXPECT_EQ(grid.appendRow("8"), 1);
    EXPECT_EQ(grid.getCellText(1, 0), "8");
    EXPECT_EQ(grid.getCellText(1, 1), "");
}

TEST_F(GridModelTest, SelectedBitFollowsTheRangeOnly)
{
    fill(3, 3);
    grid.setCellState(0, 0, CellState::Selected | CellState::ReadOnly);
    EXPECT_EQ(grid.getCellState(0, 0), CellState::ReadOnly);
    grid.setSelectedRange({0, 0, 1, 1});
    EXPECT_EQ(grid.getCellState(0, 0), CellState::ReadOnly | CellState::Selected);
    EXPECT_EQ(grid.getCellState(1, 1), CellState::Selected);
    EXPECT_EQ(grid.getCellState(2, 1), CellState::None);
}

TEST_F(GridModelTest, AutoSizeFollowsTheLongestTextAndKeepsHiddenColumnsHidden)
{
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

// The focus never rests on a fixed or outside cell. Each key moves it one visible row or
// column, skipping hidden ones, stops at the last row and before the fixed column, and
// selects the new focus cell.
TEST_F(GridModelTest, KeysMoveTheFocusAndSelectIt)
{
    withHeaders();
    EXPECT_FALSE(grid.setFocusCell({0, 2}));
    EXPECT_FALSE(grid.setFocusCell({2, 0}));
    EXPECT_FALSE(grid.setFocusCell({6, 1}));
    EXPECT_TRUE(grid.setFocusCell({1, 1}));
    EXPECT_TRUE(grid.setFocusCell({}));
    EXPECT_EQ(grid.getFocusCell(), CellPosition());
    grid.setRowHeight(2, 0);
    ASSERT_TRUE(grid.setFocusCell({1, 2}));
    const struct {
        GridKey key;
        CellPosition focus;
    } steps[] = {
        {GridKey::Enter, {3, 2}}, {GridKey::Down, {4, 2}},  {GridKey::Down, {5, 2}},
        {GridKey::Down, {5, 2}},  {GridKey::Up, {4, 2}},    {GridKey::Left, {4, 1}},
        {GridKey::Left, {4, 1}},  {GridKey::Tab, {4, 2}},   {GridKey::Right, {4, 3}},
        {GridKey::Escape, {4, 3}}};
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        grid.keyDown(steps[i].key);
        const CellPosition focus = steps[i].focus;
        EXPECT_EQ(grid.getFocusCell(), focus) << "step " << i;
        EXPECT_EQ(grid.getSelectedRange(), (CellRange{focus.row, focus.column, focus.row,
                                                      focus.column}))
            << "step " << i;
    }
}

TEST(GridModelKeyHook, RunsBeforeTheFocusMoves)
{
    KeyRecordingGrid grid;
    grid.setRowCount(3);
    grid.setColumnCount(3);
    grid.setFocusCell({0, 0});
    grid.keyDown(GridKey::Down);
    EXPECT_EQ(grid.focusAtHook, (std::vector<CellPosition>{{0, 0}}));
    EXPECT_EQ(grid.getFocusCell(), (CellPosition{1, 0}));
}

// Editing needs a visible, writable cell outside the headers; the edit stores, marks and
// repaints.
TEST_F(GridModelTest, OnlyVisibleWritableCellsOutsideTheHeadersCanBeEdited)
{
    withHeaders();
    grid.setCellState(2, 2, CellState::ReadOnly);
    grid.setColumnWidth(3, 0);
    EXPECT_TRUE(grid.beginEdit(1, 1));
    EXPECT_FALSE(grid.beginEdit(0, 1));
    EXPECT_FALSE(grid.beginEdit(1, 0));
    EXPECT_FALSE(grid.beginEdit(2, 2));
    EXPECT_FALSE(grid.beginEdit(1, 3));
    EXPECT_FALSE(grid.beginEdit(9, 9));

    EXPECT_TRUE(grid.endEdit(1, 1, "4,5"));
    EXPECT_EQ(grid.getCellText(1, 1), "4,5");
    EXPECT_EQ(grid.getCellState(1, 1) & CellState::Modified, CellState::Modified);
    EXPECT_TRUE(grid.isModified());
    EXPECT_EQ(repaints, 1);

    grid.setCellText(2, 2, "kept");
    EXPECT_FALSE(grid.endEdit(2, 2, "lost"));
    EXPECT_EQ(grid.getCellText(2, 2), "kept");
}

// Field j of line i lands i visible rows below and j visible columns right of the focus;
// the pasted cells are marked modified and become the selection.
TEST_F(GridModelTest, PasteSkipsHiddenAndReadOnlyCellsAndDropsWhatFallsOutside)
{
    withHeaders();
    EXPECT_FALSE(grid.paste("1")) << "no focus cell";
    EXPECT_EQ(grid.getCellText(1, 1), "");
    grid.setRowHeight(3, 0);
    grid.setColumnWidth(2, 0);
    grid.setCellState(4, 4, CellState::ReadOnly);
    grid.setCellText(4, 4, "kept");
    grid.setFocusCell({2, 1});
    ASSERT_TRUE(grid.paste("a\tb\tc\nd\te\tf\tx\ng\th\ti\ny"));
    EXPECT_EQ(grid.getCellText(2, 1), "a");
    EXPECT_EQ(grid.getCellText(2, 3), "b");
    EXPECT_EQ(grid.getCellText(4, 1), "d");
    EXPECT_EQ(grid.getCellText(4, 4), "kept");
    EXPECT_EQ(grid.getCellText(5, 4), "i");
    EXPECT_EQ(grid.getCellText(3, 1), "");
    EXPECT_EQ(grid.getCellText(2, 2), "");
    EXPECT_EQ(grid.getSelectedRange(), (CellRange{2, 1, 5, 4}));
    EXPECT_EQ(grid.getCellState(5, 3) & CellState::Modified, CellState::Modified);
    EXPECT_EQ(grid.getCellState(4, 4) & CellState::Modified, 0u);
}

TEST_F(GridModelTest, SelectionIsNormalisedAndClipped)
{
    withHeaders();
    grid.setSelectedRange({4, 3, 2, 1});
    EXPECT_EQ(grid.getSelectedRange(), (CellRange{2, 1, 4, 3}));
    grid.setSelectedRange({3, 3, 20, 20});
    EXPECT_EQ(grid.getSelectedRange(), (CellRange{3, 3, 5, 4}));
    grid.setSelectedRange({10, 10, 20, 20});
    EXPECT_TRUE(grid.getSelectedRange().isEmpty());
    grid.setSelectedRange({1, 1, -1, 3});
    EXPECT_TRUE(grid.getSelectedRange().isEmpty());
}

// Every request counts, even for the same cell, so that the view scrolls again after the
// user scrolled away; neither a repaint nor a cell outside the table is a request.
TEST_F(GridModelTest, EnsureCellVisibleTellsTheViewWhichCell)
{
    withHeaders();
    grid.ensureCellVisible({4, 2});
    EXPECT_EQ(grid.getScrollTarget(), (CellPosition{4, 2}));
    EXPECT_EQ(repaints, 1);
    const unsigned first = grid.getScrollRequestCount();
    grid.ensureCellVisible({4, 2});
    EXPECT_EQ(grid.getScrollRequestCount(), first + 1);
    grid.repaint();
    grid.ensureCellVisible({40, 2});
    EXPECT_EQ(grid.getScrollRequestCount(), first + 1);
    EXPECT_EQ(grid.getScrollTarget(), (CellPosition{4, 2}));
}

TEST_F(GridModelTest, ToggleTickBoxFlipsOnlyEditableBoxes)
{
    withHeaders();
    for (const CellPosition cell : {CellPosition{1, 1}, CellPosition{0, 1}, CellPosition{2, 2}})
        grid.setCellType(cell.row, cell.column, CellType::TickBox);
    grid.setCellState(2, 2, CellState::ReadOnly);
    EXPECT_FALSE(grid.toggleTickBox(0, 1)) << "fixed";
    EXPECT_FALSE(grid.toggleTickBox(2, 2)) << "read-only";
    EXPECT_FALSE(grid.toggleTickBox(3, 3)) << "a plain cell has no box";
    EXPECT_FALSE(grid.isCellChecked(0, 1));
    EXPECT_FALSE(grid.isCellChecked(2, 2));
    EXPECT_FALSE(grid.isCellChecked(3, 3));
    EXPECT_FALSE(grid.isModified());
    EXPECT_EQ(repaints, 0);

    EXPECT_TRUE(grid.toggleTickBox(1, 1));
    EXPECT_TRUE(grid.isCellChecked(1, 1));
    EXPECT_NE(grid.getCellState(1, 1) & CellState::Modified, 0u);
    EXPECT_TRUE(grid.isModified());
    EXPECT_EQ(repaints, 1);
    EXPECT_TRUE(grid.toggleTickBox(1, 1));
    EXPECT_FALSE(grid.isCellChecked(1, 1));
}

TEST(GridModelTickBox, TheBeginEditHookDecides)
{
    ColumnThreeLockedGrid grid;
    grid.setRowCount(2);
    grid.setColumnCount(4);
    grid.setCellType(1, 2, CellType::TickBox);
    grid.setCellType(1, 3, CellType::TickBox);
    EXPECT_TRUE(grid.toggleTickBox(1, 2));
    EXPECT_FALSE(grid.toggleTickBox(1, 3));
    EXPECT_EQ(grid.beginEditCalls, 2);
    EXPECT_FALSE(grid.isCellChecked(1, 3));
}
