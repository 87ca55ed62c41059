#include "data/WithinGridCtrl.h"

#include "TableTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class WithinGridCtrlTest : public ::testing::Test {
protected:
    void SetUp() override { t.setupTable(); }

    void define(int r, const std::string& name, const std::string& levels)
    {
        t.setText(r, 0, name);
        t.setText(r, 1, levels);
    }

    WithinGridCtrl t{DecimalSeparator(',')};
};

} // namespace

TEST_F(WithinGridCtrlTest, SetupTableGivesTwentyNumberedRowsUnderTwoLabels)
{
    define(3, "time", "2");
    t.appendDataRows(5);
    t.setupTable();
    EXPECT_EQ(t.getRowCount(), 21);
    EXPECT_EQ(t.getColumnCount(), 3);
    EXPECT_EQ(rowTexts(t, -1), (Texts{"variable name", "number of levels"}));
    EXPECT_EQ(rowNumbers(t), numbersUpTo(20));
    EXPECT_EQ(t.getText(3, 0), "") << "what the user typed is gone";
    EXPECT_GT(t.getColumnWidth(t.toGridColumn(0)), 0);
    // The fitted width still shows the whole label.
    EXPECT_GE(t.getColumnWidth(t.toGridColumn(1)), WithinGridCtrl::LEVELS_COLUMN_WIDTH);
}

TEST_F(WithinGridCtrlTest, CollectingRemovesEmptyRowsAndReadsLeadingIntegers)
{
    define(0, "time", "2");
    define(3, "task", " 3 levels");
    define(5, "", "x");
    define(9, "dose", "-1");
    Texts names;
    t.getNames(names);
    EXPECT_EQ(names, (Texts{"time", "task", "", "dose"}));
    std::vector<int> levels;
    t.getLevels(levels);
    EXPECT_EQ(levels, (std::vector<int>{2, 3, 0, -1}));
    EXPECT_EQ(t.getCount(), 4);
    EXPECT_EQ(rowNumbers(t), numbersUpTo(4));
    EXPECT_EQ(t.getName(3), "dose");
    EXPECT_EQ(t.getName(4), "");
    EXPECT_EQ(t.getName(-1), "");
}

TEST_F(WithinGridCtrlTest, CombinationsFollowTheCollectedLevels)
{
    define(0, "time", "2");
    define(4, "task", "3");
    t.buildCombinations();
    const GeneralMatrix<int>& combinations = t.getCombinations();
    ASSERT_EQ(combinations.getRows(), 6);
    ASSERT_EQ(combinations.getCols(), 2);
    EXPECT_EQ(combinations.get(3, 0), 2);
    EXPECT_EQ(combinations.get(3, 1), 1);
}

TEST_F(WithinGridCtrlTest, RestoringWritesTheCollectedListsBackAndAddsRows)
{
    define(0, "time", "2");
    define(1, "task", "03");
    t.collectNames();
    t.collectLevels();
    t.setDataRowCount(1);
    t.setText(0, 0, "");
    t.restoreNames();
    t.restoreLevels();
    EXPECT_EQ(rowTexts(t, 0), (Texts{"time", "2"}));
    EXPECT_EQ(rowTexts(t, 1), (Texts{"task", "3"})) << "levels are written with %d";
    EXPECT_EQ(rowNumbers(t), numbersUpTo(2));
}

TEST_F(WithinGridCtrlTest, EnterInTheLastRowsAddsRowsButTabNoColumns)
{
    ASSERT_TRUE(t.setFocusCell({t.toGridRow(19), t.toGridColumn(1)}));
    t.keyDown(GridKey::Tab);
    EXPECT_EQ(t.getDataColumnCount(), 2);
    t.keyDown(GridKey::Enter);
    EXPECT_EQ(rowNumbers(t), numbersUpTo(23));
    EXPECT_EQ(t.getDataFocusCell(), (CellPosition{20, 1}));
}

TEST_F(WithinGridCtrlTest, PasteAddsRowsButNoColumns)
{
    ASSERT_TRUE(t.setFocusCell({t.toGridRow(19), t.toGridColumn(0)}));
    ASSERT_TRUE(t.paste("time\t2\textra\ntask\t3\textra\n"));
    EXPECT_EQ(t.getDataColumnCount(), 2);
    EXPECT_EQ(rowNumbers(t), numbersUpTo(21));
    EXPECT_EQ(rowTexts(t, 20), (Texts{"task", "3"}));
}
