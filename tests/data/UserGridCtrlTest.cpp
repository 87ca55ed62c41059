#include "data/UserGridCtrl.h"

#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TableTexts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr const char* COMMA = "In your regional settings ',' is selected as decimal separator.";
constexpr const char* POINT = "In your regional settings '.' is selected as decimal separator.";

/// The data table as the main window starts it: 32 participants, 17 columns.
class UserGridCtrlTest : public ::testing::Test {
protected:
    void SetUp() override { t.setupTable(32, 17); }

    void focus(int r, int c) { ASSERT_TRUE(t.setFocusCell({t.toGridRow(r), t.toGridColumn(c)})); }

    RecordingMessageSink sink;
    UserGridCtrl t{sink, DecimalSeparator(',')};
};

} // namespace

TEST(UserGridCtrl, AForeignSeparatorStopsTheReadingAtItsFirstCellRowByRow)
{
    const struct {
        char separator;
        const char* rows;
        const char* message;
        CellPosition offending; ///< data coordinates
    } cases[] = {
        {',', "1,5\t2.5\n1.5\t4", COMMA, {0, 1}},
        {'.', "1.5\t2\n3\t1,5", POINT, {1, 1}},
        {' ', "1.5\t2,5", POINT, {0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("separator '") + c.separator + "'");
        RecordingMessageSink sink;
        UserGridCtrl t(sink, DecimalSeparator(c.separator));
        t.setupTable(2, 2);
        t.setFocusCell({t.toGridRow(0), t.toGridColumn(0)});
        ASSERT_TRUE(t.paste(c.rows));
        EXPECT_FALSE(t.readNumbers());
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].title, "Veltmark");
        EXPECT_EQ(sink.messages[0].text, c.message);
        EXPECT_EQ(sink.messages[0].icon, MessageIcon::Exclamation);
        const CellPosition cell{t.toGridRow(c.offending.row), t.toGridColumn(c.offending.column)};
        EXPECT_EQ(t.getSelectedRange(), (CellRange{cell.row, cell.column, cell.row, cell.column}));
        EXPECT_EQ(t.getScrollTarget(), cell);
    }
}

TEST_F(UserGridCtrlTest, ACellThatHoldsNoNumberIsRefusedAndAnEmptyOneReadAsNaN)
{
    const char* const refused[] = {"abc", "1.5x", "1..2", "0x1A", "nan", "inf", "1e999", "- 1"};
    for (const char* text : refused) {
        SCOPED_TRACE(text);
        RecordingMessageSink pointSink;
        UserGridCtrl point(pointSink, DecimalSeparator('.'));
        point.setupTable(4, 3);
        // Rows 0 and 2 and column 0 are empty and removed: data cell (3, 2) becomes row 2,
        // column 2 of the table. The empty cell before it does not matter.
        point.setText(1, 1, "1");
        point.setText(2, 1, "");
        point.setText(3, 2, text);
        EXPECT_FALSE(point.readNumbers());
        ASSERT_EQ(pointSink.messages.size(), 1u);
        EXPECT_EQ(pointSink.messages[0].title, "Error");
        EXPECT_EQ(pointSink.messages[0].text,
                  "The cell in row 2, column 2 of the data table holds no number.");
        EXPECT_EQ(pointSink.messages[0].icon, MessageIcon::Error);
        const int row = point.toGridRow(1);
        const int column = point.toGridColumn(1);
        EXPECT_EQ(point.getSelectedRange(), (CellRange{row, column, row, column}));
        EXPECT_EQ(point.getRefusedCell(), (CellPosition{1, 1}));
    }
    t.setupTable(3, 2);
    focus(0, 0);
    ASSERT_TRUE(t.paste(" -2,5e1 \t \n\t7\n \t8"));
    ASSERT_TRUE(t.readNumbers());
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_FALSE(t.getRefusedCell());
    EXPECT_EQ(t.getValueMatrix().get(0, 0), -25.0);
    EXPECT_TRUE(std::isnan(t.getValueMatrix().get(0, 1))) << "blanks only";
    EXPECT_TRUE(std::isnan(t.getValueMatrix().get(1, 0)));
    EXPECT_EQ(t.findIncompleteRows(), (std::vector<int>{0, 1, 2}));
}

TEST_F(UserGridCtrlTest, ReadingRemovesEmptyRowsAndColumnsWithTheirNamesAndRoles)
{
    t.setupTable(32, 3);
    t.setText(-1, 0, "pre");
    t.setText(-1, 1, "unused");
    t.setText(-1, 2, "post");
    t.setText(-2, 1, "between");
    t.setText(0, 0, "1");
    t.setText(2, 2, "2");
    t.setText(5, 2, "3");
    ASSERT_TRUE(t.readNumbers());
    EXPECT_EQ(rowNumbers(t), numbersUpTo(3));
    EXPECT_EQ(columnNumbers(t), numbersUpTo(2));
    EXPECT_EQ(rowTexts(t, -1), (Texts{"pre", "post"}));
    EXPECT_TRUE(t.getBetweenColumns().empty()) << "the role left with its column";
    EXPECT_EQ(t.getValueMatrix().get(1, 1), 2.0);
}

TEST_F(UserGridCtrlTest, ColumnAssignmentSeparatesBetweenColumnsFromLabels)
{
    t.setupTable(1, 4);
    EXPECT_FALSE(t.setCombinationTexts({"1", "2"})) << "one text per column";
    // "Between" is no role; its label parses to one entry and is padded with 0.
    ASSERT_TRUE(t.setCombinationTexts({"between", "2, 1", "Between", "between"}));
    EXPECT_EQ(t.getBetweenColumns(), (std::set<int>{0, 3}));
    GeneralMatrix<int> levels;
    t.getColumnLevels(levels);
    ASSERT_EQ(levels.getCols(), 2);
    EXPECT_EQ(levels.get(0, 0), 2);
    EXPECT_EQ(levels.get(1, 0), 1);
    EXPECT_EQ(levels.get(1, 1), 0);
}

TEST_F(UserGridCtrlTest, OnlyEnterOrDownInTheLastRowsAndTabOrRightInTheLastColumnsGrow)
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        t.setupTable(32, 17);
        focus(c.from.row, c.from.column);
        t.keyDown(c.key);
        EXPECT_EQ(rowNumbers(t), numbersUpTo(c.rows));
        EXPECT_EQ(columnNumbers(t), numbersUpTo(c.columns));
        EXPECT_EQ(t.getFocusCell(),
                  (CellPosition{t.toGridRow(c.to.row), t.toGridColumn(c.to.column)}));
    }
}

TEST_F(UserGridCtrlTest, PasteGrowsOnlyForWhatFallsOutside)
{
    focus(31, 16);
    ASSERT_TRUE(t.paste("1\t2\t3\t4\n5\t6\t7\t8\n9\t10\t11\t12"));
    EXPECT_EQ(t.getText(33, 19), "12");
    EXPECT_EQ(rowNumbers(t), numbersUpTo(34));
    EXPECT_EQ(columnNumbers(t), numbersUpTo(20));
    EXPECT_EQ(t.getSelectedRange(), (CellRange{t.toGridRow(31), t.toGridColumn(16), t.toGridRow(33),
                                               t.toGridColumn(19)}));
    t.setSelectedRange({});
    focus(0, 0);
    ASSERT_TRUE(t.paste("1\r\n2\r\n"));
    EXPECT_EQ(t.getDataRowCount(), 34) << "a final line end asks for no row";
}
