#include "data/WithinGridCtrl.h"

#include "tests/support/TableTexts.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

// A header row or column, or one beyond the end, is no data row or column; the end appends.
TEST(GeneralGridCtrl, RowAndColumnOperationsRefuseHeadersAndCellsBeyondTheEnd)
{
    WithinGridCtrl table{DecimalSeparator('.')};
    table.setupTable();
    table.setDataRowCount(3);
    const std::pair<const char*, bool> refused[] = {
        {"row count -1", table.setDataRowCount(-1)},
        {"delete row -1", table.deleteDataRow(-1)},
        {"delete row 3", table.deleteDataRow(3)},
        {"insert row -1", table.insertDataRow(-1)},
        {"insert row 4", table.insertDataRow(4)},
        {"delete column -1", table.deleteDataColumn(-1)},
        {"delete column 2", table.deleteDataColumn(2)}};
    for (const auto& [operation, done] : refused)
        EXPECT_FALSE(done) << operation;
    EXPECT_EQ(table.getRowCount(), 4);
    EXPECT_EQ(table.getColumnCount(), 3);
    ASSERT_TRUE(table.insertDataRow(3));
    EXPECT_EQ(table.getDataRowCount(), 4);
}

TEST(WithinGridCtrl, CollectingRemovesEmptyRowsAndReadsLeadingIntegers)
{
    WithinGridCtrl t{DecimalSeparator(',')};
    t.setupTable();
    ASSERT_TRUE(t.setFocusCell({t.toGridRow(0), t.toGridColumn(0)}));
    ASSERT_TRUE(t.paste("time\t2\n\n\ntask\t 3 levels\n\n\tx\n\n\n\ndose\t-1"));
    Texts names;
    t.getNames(names);
    EXPECT_EQ(names, (Texts{"time", "task", "", "dose"}));
    std::vector<int> levels;
    t.getLevels(levels);
    EXPECT_EQ(levels, (std::vector<int>{2, 3, 0, -1}));
    EXPECT_EQ(rowNumbers(t), numbersUpTo(4));
}

TEST(WithinGridCtrl, EnterAndPasteAddRowsButNoColumns)
{
    WithinGridCtrl t{DecimalSeparator(',')};
    t.setupTable();
    ASSERT_TRUE(t.setFocusCell({t.toGridRow(19), t.toGridColumn(1)}));
    t.keyDown(GridKey::Tab);
    t.keyDown(GridKey::Enter);
    EXPECT_EQ(rowNumbers(t), numbersUpTo(23));
    EXPECT_EQ(t.getFocusCell(), (CellPosition{t.toGridRow(20), t.toGridColumn(1)}));
    t.setSelectedRange({});
    ASSERT_TRUE(t.setFocusCell({t.toGridRow(22), t.toGridColumn(0)}));
    ASSERT_TRUE(t.paste("time\t2\textra\ntask\t3\textra\n"));
    EXPECT_EQ(t.getDataColumnCount(), 2);
    EXPECT_EQ(rowTexts(t, 23), (Texts{"task", "3"}));
    EXPECT_EQ(t.getDataRowCount(), 24);
}
