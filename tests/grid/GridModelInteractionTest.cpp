#include "grid/GridModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

/// A 6 x 5 grid with one fixed row and one fixed column, every cell empty.
class GridModelInteraction : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.setRowCount(6);
        grid.setColumnCount(5);
        grid.setFixedRowCount(1);
        grid.setFixedColumnCount(1);
    }

    GridModel grid;
};

/// Records where the focus stood when the key hook ran.
class KeyRecordingGrid : public GridModel {
public:
    std::vector<CellPosition> focusAtHook;

protected:
    void onKeyDown(GridKey) override { focusAtHook.push_back(getFocusCell()); }
};

} // namespace

TEST_F(GridModelInteraction, FocusCannotRestOnFixedOrOutsideCells)
{
    EXPECT_FALSE(grid.setFocusCell({0, 2}));
    EXPECT_FALSE(grid.setFocusCell({2, 0}));
    EXPECT_FALSE(grid.setFocusCell({6, 1}));
    EXPECT_TRUE(grid.setFocusCell({1, 1}));
    EXPECT_EQ(grid.getFocusCell(), (CellPosition{1, 1}));
    EXPECT_TRUE(grid.setFocusCell({}));
    EXPECT_EQ(grid.getFocusCell(), CellPosition());
}

TEST_F(GridModelInteraction, EnterAndDownMoveOneVisibleRowAndSelectTheNewCell)
{
    grid.setFocusCell({1, 2});
    grid.setRowHeight(2, 0);
    grid.keyDown(GridKey::Enter);
    EXPECT_EQ(grid.getFocusCell(), (CellPosition{3, 2})) << "the hidden row 2 is skipped";
    EXPECT_EQ(grid.getSelectedRange(), (CellRange{3, 2, 3, 2}));
    grid.keyDown(GridKey::Down);
    grid.keyDown(GridKey::Down);
    grid.keyDown(GridKey::Down);
    EXPECT_EQ(grid.getFocusCell(), (CellPosition{5, 2})) << "the last row stops the cursor";
    grid.keyDown(GridKey::Up);
    EXPECT_EQ(grid.getFocusCell(), (CellPosition{4, 2}));
}

TEST_F(GridModelInteraction, TabRightAndLeftMoveAlongTheRowButNotIntoTheFixedColumn)
{
    grid.setFocusCell({2, 1});
    grid.keyDown(GridKey::Left);
    EXPECT_EQ(grid.getFocusCell(), (CellPosition{2, 1}));
    grid.keyDown(GridKey::Tab);
    grid.keyDown(GridKey::Right);
    EXPECT_EQ(grid.getFocusCell(), (CellPosition{2, 3}));
    grid.keyDown(GridKey::Escape);
    EXPECT_EQ(grid.getFocusCell(), (CellPosition{2, 3}));
}

TEST(GridModelKeyHook, RunsBeforeTheFocusMoves)
{
    KeyRecordingGrid grid;
    grid.setRowCount(3);
    grid.setColumnCount(3);
    grid.setFocusCell({0, 0});
    grid.keyDown(GridKey::Down);
    ASSERT_EQ(grid.focusAtHook.size(), 1u);
    EXPECT_EQ(grid.focusAtHook[0], (CellPosition{0, 0}));
    EXPECT_EQ(grid.getFocusCell(), (CellPosition{1, 0}));
}

TEST_F(GridModelInteraction, OnlyVisibleWritableCellsOutsideTheHeadersCanBeEdited)
{
    grid.setCellState(2, 2, CellState::ReadOnly);
    grid.setColumnWidth(3, 0);
    EXPECT_TRUE(grid.beginEdit(1, 1));
    EXPECT_FALSE(grid.beginEdit(0, 1));
    EXPECT_FALSE(grid.beginEdit(1, 0));
    EXPECT_FALSE(grid.beginEdit(2, 2));
    EXPECT_FALSE(grid.beginEdit(1, 3));
    EXPECT_FALSE(grid.beginEdit(9, 9));
}

TEST_F(GridModelInteraction, EndEditStoresMarksAndRepaints)
{
    int repaints = 0;
    grid.setRepaintHandler([&repaints] { ++repaints; });
    EXPECT_TRUE(grid.endEdit(1, 1, "4,5"));
    EXPECT_EQ(grid.getCellText(1, 1), "4,5");
    EXPECT_EQ(grid.getCellState(1, 1) & CellState::Modified, CellState::Modified);
    EXPECT_TRUE(grid.isModified());
    EXPECT_EQ(repaints, 1);

    grid.setCellState(2, 2, CellState::ReadOnly);
    grid.setCellText(2, 2, "kept");
    EXPECT_FALSE(grid.endEdit(2, 2, "lost"));
    EXPECT_EQ(grid.getCellText(2, 2), "kept");
}

TEST_F(GridModelInteraction, PasteFillsTheBlockAtTheFocusCellAndSelectsIt)
{
    grid.setFocusCell({2, 2});
    ASSERT_TRUE(grid.paste("a\tb\nc\td\n"));
    EXPECT_EQ(grid.getCellText(2, 2), "a");
    EXPECT_EQ(grid.getCellText(2, 3), "b");
    EXPECT_EQ(grid.getCellText(3, 2), "c");
    EXPECT_EQ(grid.getCellText(3, 3), "d");
    EXPECT_EQ(grid.getCellText(4, 2), "") << "the final line feed opens no line";
    EXPECT_EQ(grid.getSelectedRange(), (CellRange{2, 2, 3, 3}));
    EXPECT_EQ(grid.getCellState(3, 3) & CellState::Modified, CellState::Modified);
}

TEST_F(GridModelInteraction, PasteKeepsReadOnlyCellsAndDropsWhatFallsOutside)
{
    grid.setCellState(4, 4, CellState::ReadOnly);
    grid.setCellText(4, 4, "kept");
    grid.setFocusCell({4, 3});
    ASSERT_TRUE(grid.paste("1\t2\t3\n4\t5\t6\n7\t8\t9"));
    EXPECT_EQ(grid.getCellText(4, 3), "1");
    EXPECT_EQ(grid.getCellText(4, 4), "kept");
    EXPECT_EQ(grid.getCellText(5, 4), "5");
    EXPECT_EQ(grid.getSelectedRange(), (CellRange{4, 3, 5, 4}));
}

TEST_F(GridModelInteraction, PasteSkipsHiddenRowsAndColumns)
{
    grid.setRowHeight(2, 0);
    grid.setColumnWidth(2, 0);
    grid.setFocusCell({1, 1});
    ASSERT_TRUE(grid.paste("a\tb\nc\td"));
    EXPECT_EQ(grid.getCellText(1, 3), "b");
    EXPECT_EQ(grid.getCellText(3, 1), "c");
    EXPECT_EQ(grid.getCellText(3, 3), "d");
    EXPECT_EQ(grid.getCellText(2, 1), "");
    EXPECT_EQ(grid.getCellText(1, 2), "");
}

TEST_F(GridModelInteraction, PasteWithoutFocusCellDoesNothing)
{
    EXPECT_FALSE(grid.paste("1"));
    EXPECT_EQ(grid.getCellText(1, 1), "");
}

TEST_F(GridModelInteraction, SelectionIsNormalisedAndClipped)
{
    grid.setSelectedRange({4, 3, 2, 1});
    EXPECT_EQ(grid.getSelectedRange(), (CellRange{2, 1, 4, 3}));
    grid.setSelectedRange({3, 3, 20, 20});
    EXPECT_EQ(grid.getSelectedRange(), (CellRange{3, 3, 5, 4}));
    grid.setSelectedRange({10, 10, 20, 20});
    EXPECT_TRUE(grid.getSelectedRange().isEmpty());
    grid.setSelectedRange({1, 1, -1, 3});
    EXPECT_TRUE(grid.getSelectedRange().isEmpty());
}

TEST_F(GridModelInteraction, EnsureCellVisibleTellsTheViewWhichCell)
{
    int repaints = 0;
    grid.setRepaintHandler([&repaints] { ++repaints; });
    grid.ensureCellVisible({4, 2});
    EXPECT_EQ(grid.getScrollTarget(), (CellPosition{4, 2}));
    EXPECT_EQ(repaints, 1);
    grid.ensureCellVisible({40, 2});
    EXPECT_EQ(grid.getScrollTarget(), (CellPosition{4, 2}));
}

TEST_F(GridModelInteraction, EnsureCellVisibleCountsEveryRequestEvenForTheSameCell)
{
    grid.ensureCellVisible({4, 2});
    const unsigned first = grid.getScrollRequestCount();
    grid.ensureCellVisible({4, 2});
    EXPECT_EQ(grid.getScrollRequestCount(), first + 1);
    grid.repaint();
    grid.ensureCellVisible({40, 2});
    EXPECT_EQ(grid.getScrollRequestCount(), first + 1)
        << "neither a repaint nor a cell outside the table is a request";
}

namespace {

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

TEST(GridModelTickBox, ToggleFlipsAnEditableBoxAndMarksItModified)
{
    GridModel grid;
    grid.setRowCount(3);
    grid.setColumnCount(3);
    grid.setFixedRowCount(1);
    grid.setCellType(1, 1, CellType::TickBox);
    int repaints = 0;
    grid.setRepaintHandler([&repaints] { ++repaints; });
    EXPECT_TRUE(grid.toggleTickBox(1, 1));
    EXPECT_TRUE(grid.isCellChecked(1, 1));
    EXPECT_NE(grid.getCellState(1, 1) & CellState::Modified, 0u);
    EXPECT_TRUE(grid.isModified());
    EXPECT_EQ(repaints, 1);
    EXPECT_TRUE(grid.toggleTickBox(1, 1));
    EXPECT_FALSE(grid.isCellChecked(1, 1));
}

TEST(GridModelTickBox, ReadOnlyFixedAndPlainCellsDoNotToggle)
{
    GridModel grid;
    grid.setRowCount(3);
    grid.setColumnCount(3);
    grid.setFixedRowCount(1);
    grid.setCellType(0, 1, CellType::TickBox);
    grid.setCellType(1, 1, CellType::TickBox);
    grid.setCellState(1, 1, CellState::ReadOnly);
    EXPECT_FALSE(grid.toggleTickBox(0, 1)) << "fixed";
    EXPECT_FALSE(grid.toggleTickBox(1, 1)) << "read-only";
    EXPECT_FALSE(grid.toggleTickBox(2, 2)) << "a plain cell has no box";
    EXPECT_FALSE(grid.isCellChecked(0, 1));
    EXPECT_FALSE(grid.isCellChecked(1, 1));
    EXPECT_FALSE(grid.isCellChecked(2, 2));
    EXPECT_FALSE(grid.isModified());
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
