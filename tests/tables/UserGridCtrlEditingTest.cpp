#include "data/UserGridCtrl.h"

#include "RecordingMessageSink.h"
#include "TableTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

/// The data table as the main window starts it: 32 participants, 17 columns.
class UserGridCtrlEditing : public ::testing::Test {
protected:
    void SetUp() override { t.setupTable(32, 17); }

    /// Puts the focus on data cell (r, c).
    void focus(int r, int c) { ASSERT_TRUE(t.setFocusCell({t.toGridRow(r), t.toGridColumn(c)})); }

    RecordingMessageSink sink;
    UserGridCtrl t{sink, DecimalSeparator(',')};
};

} // namespace

TEST_F(UserGridCtrlEditing, EnterInTheLastRowAppendsThreeNumberedRows)
{
    focus(31, 4);
    t.keyDown(GridKey::Enter);
    EXPECT_EQ(t.getDataRowCount(), 35);
    EXPECT_EQ(rowNumbers(t), numbersUpTo(35));
    EXPECT_EQ(t.getDataFocusCell(), (CellPosition{32, 4})) << "the cursor moves into the new row";
}

TEST_F(UserGridCtrlEditing, DownGrowsOnlyFromTheLastThreeRows)
{
    focus(28, 0);
    t.keyDown(GridKey::Down);
    EXPECT_EQ(t.getDataRowCount(), 32) << "row 29 of 32 is not among the last three";
    EXPECT_EQ(t.getDataFocusCell(), (CellPosition{29, 0}));
    t.keyDown(GridKey::Down);
    EXPECT_EQ(t.getDataRowCount(), 35);
    EXPECT_EQ(t.getDataFocusCell(), (CellPosition{30, 0}));
}

TEST_F(UserGridCtrlEditing, OtherKeysDoNotGrowTheTable)
{
    focus(31, 16);
    t.keyDown(GridKey::Up);
    t.keyDown(GridKey::Left);
    t.keyDown(GridKey::Escape);
    EXPECT_EQ(t.getDataRowCount(), 32);
    EXPECT_EQ(t.getDataColumnCount(), 17);
}

TEST_F(UserGridCtrlEditing, TabInTheLastColumnAppendsThreeColumnsLikeInsertColumn)
{
    t.setComboOptions({"between", "1"});
    focus(0, 16);
    t.keyDown(GridKey::Tab);
    EXPECT_EQ(t.getDataColumnCount(), 20);
    EXPECT_EQ(columnNumbers(t), numbersUpTo(20));
    EXPECT_EQ(t.getDataFocusCell(), (CellPosition{0, 17}));
    for (int c = 17; c < 20; ++c) {
        EXPECT_EQ(t.getCellType(UserGridCtrl::comboRow, t.toGridColumn(c)), CellType::DropDown);
        EXPECT_EQ(t.getCellBackground(t.toGridRow(-1), t.toGridColumn(c)),
                  GeneralGridCtrl::NAME_ROW_COLOUR);
    }
    focus(0, 10);
    t.keyDown(GridKey::Right);
    EXPECT_EQ(t.getDataColumnCount(), 20);
}

TEST(UserGridCtrlInsertColumn, AfterDataColumnZeroShiftsTextsNamesAndRoles)
{
    RecordingMessageSink sink;
    UserGridCtrl t(sink, DecimalSeparator('.'));
    t.setupTable(2, 3);
    ASSERT_TRUE(t.setCombinationTexts({"1", "2", "between"}));
    const Texts names{"a", "b", "c"};
    for (int c = 0; c < 3; ++c) {
        t.setText(-1, c, names[static_cast<std::size_t>(c)]);
        t.setText(0, c, std::to_string(10 + c));
        t.setText(1, c, std::to_string(20 + c));
    }
    t.collectNames();
    t.setComboOptions({"between", "1", "2"});

    ASSERT_TRUE(t.insertColumn(t.toGridColumn(0)));

    ASSERT_EQ(t.getDataColumnCount(), 4);
    EXPECT_EQ(columnNumbers(t), numbersUpTo(4));
    Texts roles;
    t.getCombinationTexts(roles);
    EXPECT_EQ(roles, (Texts{"1", "", "2", "between"}));
    EXPECT_EQ(t.getText(0, 2), "11");
    EXPECT_EQ(t.getText(1, 3), "22");
    EXPECT_EQ(t.getText(0, 1), "");
    EXPECT_EQ(t.getText(1, 1), "");
    EXPECT_EQ(t.getText(-1, 1), "");
    // The collected list moved along: restoring it over a cleared name row gives the
    // shifted names back.
    for (int c = 0; c < 4; ++c)
        t.setText(-1, c, "x");
    t.restoreNames();
    EXPECT_EQ(t.getText(-1, 1), "");
    EXPECT_EQ(t.getText(-1, 2), "b");
    EXPECT_EQ(t.getText(-1, 3), "c");

    EXPECT_EQ(t.getCellBackground(t.toGridRow(-1), t.toGridColumn(1)),
              GeneralGridCtrl::NAME_ROW_COLOUR);
    // Every drop-down list is empty until the within-variables check refills it.
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(t.getCellType(UserGridCtrl::comboRow, t.toGridColumn(c)), CellType::DropDown);
        EXPECT_TRUE(t.getCellOptions(UserGridCtrl::comboRow, t.toGridColumn(c)).empty());
    }
    EXPECT_EQ(t.getBetweenColumn(0), 3);
}

TEST(UserGridCtrlInsertColumn, NegativeAppendsFirstGoesBeforeTheDataAndBeyondIsRejected)
{
    RecordingMessageSink sink;
    UserGridCtrl t(sink, DecimalSeparator('.'));
    t.setupTable(1, 2);
    t.setText(0, 0, "first");
    t.setText(0, 1, "last");
    ASSERT_TRUE(t.insertColumn(-1));
    EXPECT_EQ(t.getText(0, 1), "last");
    EXPECT_EQ(t.getText(0, 2), "");
    ASSERT_TRUE(t.insertColumn(0));
    EXPECT_EQ(t.getText(0, 0), "");
    EXPECT_EQ(t.getText(0, 1), "first");
    EXPECT_EQ(t.getText(-1, -1), "name") << "the header column stays where it is";
    EXPECT_FALSE(t.insertColumn(t.getColumnCount()));
    EXPECT_EQ(t.getDataColumnCount(), 4);
    EXPECT_EQ(t.getText(-3, 3), "4");
}

TEST_F(UserGridCtrlEditing, PastingThreeLinesOfFourValuesAtTheLastCellMakesRoom)
{
    focus(31, 16);
    ASSERT_TRUE(t.paste("1\t2\t3\t4\n5\t6\t7\t8\n9\t10\t11\t12"));
    EXPECT_EQ(t.getDataRowCount(), 34);
    EXPECT_EQ(t.getDataColumnCount(), 20);
    EXPECT_EQ(t.getText(31, 16), "1");
    EXPECT_EQ(t.getText(32, 18), "7");
    EXPECT_EQ(t.getText(33, 19), "12");
    EXPECT_EQ(rowNumbers(t), numbersUpTo(34));
    EXPECT_EQ(columnNumbers(t), numbersUpTo(20));
    EXPECT_EQ(t.getSelectedRange(), (CellRange{t.toGridRow(31), t.toGridColumn(16), t.toGridRow(33),
                                               t.toGridColumn(19)}));
}

TEST_F(UserGridCtrlEditing, PastingInsideTheTableAddsNothing)
{
    focus(0, 0);
    ASSERT_TRUE(t.paste("1\t2\t3\t4\n5\t6\t7\t8\n9\t10\t11\t12"));
    EXPECT_EQ(t.getDataRowCount(), 32);
    EXPECT_EQ(t.getDataColumnCount(), 17);
    EXPECT_EQ(t.getText(2, 3), "12");
}

TEST_F(UserGridCtrlEditing, DecimalCommaStaysInsideItsCell)
{
    focus(0, 0);
    ASSERT_TRUE(t.paste("1,5\t2"));
    EXPECT_EQ(t.getText(0, 0), "1,5");
    EXPECT_EQ(t.getText(0, 1), "2");
    EXPECT_EQ(t.getText(0, 2), "");
    ASSERT_TRUE(t.readNumbers());
    EXPECT_EQ(t.getValueMatrix().get(0, 0), 1.5);
    EXPECT_EQ(t.getValueMatrix().get(0, 1), 2.0);
}

TEST_F(UserGridCtrlEditing, WindowsLineEndsAskForNoExtraRow)
{
    focus(31, 0);
    ASSERT_TRUE(t.paste("1\r\n2\r\n"));
    EXPECT_EQ(t.getDataRowCount(), 33);
    EXPECT_EQ(t.getText(32, 0), "2");
}

TEST_F(UserGridCtrlEditing, PasteStartsAtTheTopLeftOfTheSelection)
{
    focus(5, 5);
    t.setSelectedRange({t.toGridRow(31), t.toGridColumn(3), t.toGridRow(30), t.toGridColumn(2)});
    ASSERT_TRUE(t.paste("a\nb\nc"));
    EXPECT_EQ(t.getText(30, 2), "a");
    EXPECT_EQ(t.getText(32, 2), "c");
    EXPECT_EQ(t.getDataRowCount(), 33);
    EXPECT_EQ(t.getText(5, 5), "");
    EXPECT_EQ(t.getDataFocusCell(), (CellPosition{30, 2}));
}

TEST_F(UserGridCtrlEditing, PastingIntoTheNameRowNamesTheColumns)
{
    focus(-1, 15);
    ASSERT_TRUE(t.paste("pre\tpost\tgroup"));
    EXPECT_EQ(t.getDataRowCount(), 32);
    EXPECT_EQ(t.getDataColumnCount(), 18);
    Texts names;
    t.getNames(names);
    ASSERT_EQ(names.size(), 18u);
    EXPECT_EQ(names[15], "pre");
    EXPECT_EQ(names[17], "group");
}

TEST_F(UserGridCtrlEditing, ReadOnlyCellsKeepTheirTextAndEmptyTextAddsNothing)
{
    t.setText(1, 1, "kept");
    t.setCellState(t.toGridRow(1), t.toGridColumn(1), CellState::ReadOnly);
    focus(0, 0);
    ASSERT_TRUE(t.paste("1\t2\n3\t4"));
    EXPECT_EQ(t.getText(1, 0), "3");
    EXPECT_EQ(t.getText(1, 1), "kept");

    focus(31, 16);
    t.paste("");
    EXPECT_EQ(t.getDataRowCount(), 32);
    EXPECT_EQ(t.getDataColumnCount(), 17);
}

TEST_F(UserGridCtrlEditing, PasteWithoutFocusOrSelectionDoesNothing)
{
    EXPECT_FALSE(t.paste("1"));
    EXPECT_EQ(t.getText(0, 0), "");
}
