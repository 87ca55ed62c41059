#include "data/GeneralGridCtrl.h"
#include "data/WithinGridCtrl.h"

#include "tests/support/TableTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

/// One fixed header row and one fixed header column over rows x columns data cells.
GeneralGridCtrl& build(GeneralGridCtrl& table, int rows, int columns)
{
    table.setFixedRowCount(1);
    table.setFixedColumnCount(1);
    table.setDataRowCount(rows);
    table.setDataColumnCount(columns);
    return table;
}

} // namespace

TEST(GeneralGridCtrl, RowAndColumnOperationsRefuseHeadersAndCellsBeyondTheEnd)
{
    GeneralGridCtrl table{DecimalSeparator('.')};
    build(table, 3, 2).setText(-1, 0, "header");
    EXPECT_FALSE(table.setDataRowCount(-1));
    EXPECT_FALSE(table.deleteDataRow(-1));
    EXPECT_FALSE(table.deleteDataRow(3));
    EXPECT_FALSE(table.insertDataRow(-1));
    EXPECT_FALSE(table.insertDataRow(4));
    EXPECT_FALSE(table.deleteDataColumn(-1));
    EXPECT_FALSE(table.deleteDataColumn(2));
    EXPECT_EQ(table.getText(-1, 0), "header");
    EXPECT_EQ(table.getRowCount(), 4);
    EXPECT_EQ(table.getColumnCount(), 3);
    ASSERT_TRUE(table.insertDataRow(3)) << "the end appends";
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
    EXPECT_EQ(t.getDataFocusCell(), (CellPosition{20, 1}));
    t.setSelectedRange({});
    ASSERT_TRUE(t.setFocusCell({t.toGridRow(22), t.toGridColumn(0)}));
    ASSERT_TRUE(t.paste("time\t2\textra\ntask\t3\textra\n"));
    EXPECT_EQ(t.getDataColumnCount(), 2);
    EXPECT_EQ(rowTexts(t, 23), (Texts{"task", "3"}));
    EXPECT_EQ(t.getDataRowCount(), 24);
}
