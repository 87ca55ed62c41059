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

TEST_F(UserGridCtrlEditing, OnlyEnterOrDownInTheLastRowsAndTabOrRightInTheLastColumnsGrow)
{
    const struct {
        const char* label;
        CellPosition from; ///< data coordinates
        GridKey key;
        int rows;
        int columns;
        CellPosition to;
    } cases[] = {
        {"Enter in the last row", {31, 4}, GridKey::Enter, 35, 17, {32, 4}},
        {"Down in row 30 of 32", {29, 0}, GridKey::Down, 35, 17, {30, 0}},
        {"Down in row 29 of 32", {28, 0}, GridKey::Down, 32, 17, {29, 0}},
        {"Tab in the last column", {0, 16}, GridKey::Tab, 32, 20, {0, 17}},
        {"Right in column 15 of 17", {0, 14}, GridKey::Right, 32, 20, {0, 15}},
        {"Right in column 14 of 17", {0, 13}, GridKey::Right, 32, 17, {0, 14}},
        {"Up", {31, 16}, GridKey::Up, 32, 17, {30, 16}},
        {"Left", {31, 16}, GridKey::Left, 32, 17, {31, 15}},
        {"Escape", {31, 16}, GridKey::Escape, 32, 17, {31, 16}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        t.setupTable(32, 17);
        focus(c.from.row, c.from.column);
        t.keyDown(c.key);
        EXPECT_EQ(rowNumbers(t), numbersUpTo(c.rows));
        EXPECT_EQ(columnNumbers(t), numbersUpTo(c.columns));
        EXPECT_EQ(t.getDataFocusCell(), c.to);
    }
}

// Where a column goes for each selection, and that names and roles move with it, is
// checked with the editing commands.
TEST_F(UserGridCtrlEditing, InsertColumnShiftsValuesAndCollectedNamesAndEmptiesTheLists)
{
    t.setupTable(1, 3);
    const Texts names{"a", "b", "c"};
    for (int c = 0; c < 3; ++c) {
        t.setText(-1, c, names[static_cast<std::size_t>(c)]);
        t.setText(0, c, std::to_string(10 + c));
    }
    t.collectNames();
    t.setComboOptions({"between", "1", "2"});
    EXPECT_FALSE(t.insertColumn(t.getColumnCount())) << "beyond the last column";
    ASSERT_TRUE(t.insertColumn(t.toGridColumn(0)));

    EXPECT_EQ(rowTexts(t, 0), (Texts{"10", "", "11", "12"}));
    EXPECT_EQ(t.getCellBackground(t.toGridRow(-1), t.toGridColumn(1)),
              GeneralGridCtrl::NAME_ROW_COLOUR);
    // The collected list moved along: restored over another name row, it gives the shifted
    // names back.
    for (int c = 0; c < 4; ++c)
        t.setText(-1, c, "x");
    t.restoreNames();
    EXPECT_EQ(rowTexts(t, -1), (Texts{"a", "", "b", "c"}));
    // Every drop-down list is empty until the within-variables check refills it.
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(t.getCellType(UserGridCtrl::comboRow, t.toGridColumn(c)), CellType::DropDown);
        EXPECT_TRUE(t.getCellOptions(UserGridCtrl::comboRow, t.toGridColumn(c)).empty());
    }
}

TEST_F(UserGridCtrlEditing, PastingThreeLinesOfFourValuesAtTheLastCellMakesRoom)
{
    focus(31, 16);
    ASSERT_TRUE(t.paste("1\t2\t3\t4\n5\t6\t7\t8\n9\t10\t11\t12"));
    EXPECT_EQ(t.getText(31, 16), "1");
    EXPECT_EQ(t.getText(32, 18), "7");
    EXPECT_EQ(t.getText(33, 19), "12");
    EXPECT_EQ(rowNumbers(t), numbersUpTo(34));
    EXPECT_EQ(columnNumbers(t), numbersUpTo(20));
    EXPECT_EQ(t.getSelectedRange(), (CellRange{t.toGridRow(31), t.toGridColumn(16),
                                               t.toGridRow(33), t.toGridColumn(19)}));
}

TEST_F(UserGridCtrlEditing, PasteGrowsOnlyForWhatFallsOutside)
{
    focus(0, 0);
    ASSERT_TRUE(t.paste("1\t2\t3\t4\n5\t6\t7\t8\n9\t10\t11\t12"));
    EXPECT_EQ(t.getText(2, 3), "12");
    EXPECT_EQ(t.getDataRowCount(), 32);
    EXPECT_EQ(t.getDataColumnCount(), 17);

    // A line end at the end of the text asks for no further row.
    t.setSelectedRange({});
    focus(31, 0);
    ASSERT_TRUE(t.paste("1\r\n2\r\n"));
    EXPECT_EQ(t.getText(32, 0), "2");
    EXPECT_EQ(t.getDataRowCount(), 33);
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
    Texts names;
    t.getNames(names);
    ASSERT_EQ(names.size(), 18u);
    EXPECT_EQ(names[15], "pre");
    EXPECT_EQ(names[17], "group");
}
