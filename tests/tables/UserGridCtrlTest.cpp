#include "data/UserGridCtrl.h"

#include "RecordingMessageSink.h"
#include "TableTexts.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* COMMA_MESSAGE =
    "In your regional settings ',' is selected as decimal separator.";
constexpr const char* POINT_MESSAGE =
    "In your regional settings '.' is selected as decimal separator.";

class UserGridCtrlTest : public ::testing::Test {
protected:
    /// A data table with the given separator, set up with R rows and C columns.
    UserGridCtrl& table(char separator, int R, int C)
    {
        grid = std::make_unique<UserGridCtrl>(sink, DecimalSeparator(separator));
        grid->setupTable(R, C);
        return *grid;
    }

    RecordingMessageSink sink;
    std::unique_ptr<UserGridCtrl> grid;
};

} // namespace

// The extents, numbers and empty lists of the starting table are checked with the main
// window's commands.
TEST_F(UserGridCtrlTest, SetupTableBuildsTheHeaderRowsAfresh)
{
    UserGridCtrl& t = table('.', 3, 3);
    t.setText(0, 0, "5");
    t.setText(-1, 1, "old name");
    t.setComboOptions({"between", "1"});
    t.setCellState(t.toGridRow(1), 1, CellState::ReadOnly);
    t.collectNames();
    ASSERT_FALSE(t.setupTable(-1, 2));
    EXPECT_EQ(t.getText(0, 0), "5") << "a rejected size changes nothing";

    ASSERT_TRUE(t.setupTable(2, 2));
    EXPECT_EQ(t.toGridRow(-2), UserGridCtrl::comboRow);
    EXPECT_EQ(t.getText(-1, -1), "name");
    EXPECT_EQ(t.getText(0, 0), "");
    EXPECT_EQ(t.getCellState(t.toGridRow(1), 1), CellState::None);
    for (int c = -1; c < 2; ++c) {
        EXPECT_EQ(t.getCellBackground(t.toGridRow(-1), t.toGridColumn(c)),
                  GeneralGridCtrl::NAME_ROW_COLOUR);
    }
    EXPECT_NE(t.getCellBackground(t.toGridRow(0), 1), GeneralGridCtrl::NAME_ROW_COLOUR);
    for (int c = 0; c < 2; ++c) {
        const int column = t.toGridColumn(c);
        EXPECT_EQ(t.getCellType(UserGridCtrl::comboRow, column), CellType::DropDown);
        EXPECT_EQ(t.getCellDropDownStyle(UserGridCtrl::comboRow, column), DropDownStyle::Editable);
        EXPECT_TRUE(t.getCellOptions(UserGridCtrl::comboRow, column).empty());
    }
    EXPECT_EQ(t.getCellType(t.toGridRow(0), 1), CellType::Plain);
    t.restoreNames();
    EXPECT_EQ(rowTexts(t, -1), (Texts{"", ""})) << "no collected name is left to restore";
}

TEST_F(UserGridCtrlTest, AForeignSeparatorStopsTheReadingAtItsFirstCellRowByRow)
{
    const struct {
        char separator;
        std::vector<Texts> rows;
        const char* message;
        CellPosition offending; ///< data coordinates
    } cases[] = {
        // Column by column, the point in row 1 would come first.
        {',', {{"1,5", "2.5"}, {"1.5", "4"}}, COMMA_MESSAGE, {0, 1}},
        {'.', {{"1.5", "2"}, {"3", "1,5"}}, POINT_MESSAGE, {1, 1}},
        {' ', {{"1.5", "2,5"}}, POINT_MESSAGE, {0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("separator '") + c.separator + "'");
        UserGridCtrl& t = table(c.separator, static_cast<int>(c.rows.size()), 2);
        for (std::size_t r = 0; r < c.rows.size(); ++r) {
            for (std::size_t k = 0; k < 2; ++k)
                t.setText(static_cast<int>(r), static_cast<int>(k), c.rows[r][k]);
        }
        sink.messages.clear();
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

TEST_F(UserGridCtrlTest, EachUserReadsTheirOwnSeparator)
{
    for (const char separator : {',', ' '}) {
        UserGridCtrl& t = table(separator, 1, 1);
        t.setText(0, 0, separator == ',' ? "-1,5" : "-1.5");
        ASSERT_TRUE(t.readNumbers()) << "a blank stands for the point";
        EXPECT_EQ(t.getValueMatrix().get(0, 0), -1.5) << separator;
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(UserGridCtrlTest, ReadingRemovesEmptyRowsAndColumnsWithTheirNamesAndRoles)
{
    UserGridCtrl& t = table('.', 32, 3);
    t.setText(-1, 0, "pre");
    t.setText(-1, 1, "unused");
    t.setText(-1, 2, "post");
    t.setText(-2, 1, "between");
    t.setText(0, 0, "1");
    t.setText(2, 2, "2");
    ASSERT_TRUE(t.readNumbers());
    EXPECT_EQ(rowNumbers(t), numbersUpTo(2));
    EXPECT_EQ(columnNumbers(t), numbersUpTo(2));
    EXPECT_EQ(rowTexts(t, -1), (Texts{"pre", "post"}));
    EXPECT_EQ(t.getBetweenCount(), 0) << "the role left with its column";
    EXPECT_EQ(t.getValueMatrix().get(1, 1), 2.0);
}

// The list a project file keeps comes from the first column: see ProjectFileTest.
TEST_F(UserGridCtrlTest, ComboOptionsGoToEveryColumnAndLeaveTheTexts)
{
    UserGridCtrl& t = table('.', 2, 3);
    t.setText(-2, 2, "kept");
    const Texts offered{"between", "1", "2"};
    t.setComboOptions(offered);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(t.getCellOptions(UserGridCtrl::comboRow, t.toGridColumn(c)), offered);
    EXPECT_EQ(t.getText(-2, 2), "kept");
}

TEST_F(UserGridCtrlTest, ColumnAssignmentSeparatesBetweenColumnsFromLabels)
{
    UserGridCtrl& t = table('.', 1, 5);
    EXPECT_FALSE(t.setCombinationTexts({"1", "2"})) << "one text per column";
    ASSERT_TRUE(t.setCombinationTexts({"between", "2, 1", "Between", "1,2", "between"}));
    EXPECT_EQ(t.getText(-2, 2), "Between");
    // "Between" is not the role text; its label parses to one entry and is padded with 0.
    EXPECT_EQ(t.getBetweenCount(), 2);
    EXPECT_EQ(t.getBetweenColumn(0), 0);
    EXPECT_EQ(t.getBetweenColumn(1), 4);
    EXPECT_EQ(t.getBetweenColumn(2), -1);
    EXPECT_EQ(t.getBetweenColumn(-1), -1);

    GeneralMatrix<int> levels;
    t.getColumnLevels(levels);
    ASSERT_EQ(levels.getRows(), 2);
    ASSERT_EQ(levels.getCols(), 3);
    const int expected[2][3] = {{2, 0, 1}, {1, 0, 2}};
    for (int i = 0; i < 2; ++i) {
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(levels.get(i, k), expected[i][k]) << i << ", " << k;
    }

    ASSERT_TRUE(t.setCombinationTexts(Texts(5, "between")));
    t.getColumnLevels(levels);
    EXPECT_TRUE(levels.isEmpty()) << "only between columns";
}

TEST_F(UserGridCtrlTest, BetweenNameReadsTheCurrentNameRow)
{
    UserGridCtrl& t = table('.', 1, 3);
    ASSERT_TRUE(t.setCombinationTexts({"1", "between", "2"}));
    t.setText(-1, 1, "group");
    t.buildColumnAssignment();
    EXPECT_EQ(t.getBetweenName(0), "group");
    t.setText(-1, 1, "sex");
    EXPECT_EQ(t.getBetweenName(0), "sex");
    EXPECT_EQ(t.getBetweenName(1), "");
}

TEST_F(UserGridCtrlTest, NameEditsRejectIndicesOutsideTheList)
{
    UserGridCtrl& t = table('.', 1, 3);
    t.addName("b");
    EXPECT_TRUE(t.insertName(0, "a"));
    EXPECT_TRUE(t.insertName(2, "c")) << "at the end";
    EXPECT_FALSE(t.insertName(4, "x"));
    EXPECT_FALSE(t.insertName(-1, "x"));
    EXPECT_FALSE(t.removeName(3));
    EXPECT_FALSE(t.removeName(-1));
    EXPECT_TRUE(t.removeName(1));
    t.restoreNames();
    EXPECT_EQ(rowTexts(t, -1), (Texts{"a", "c", ""}))
        << "restoreNames writes only as far as the list reaches";
    t.clearNames();
    EXPECT_FALSE(t.removeName(0));
}

TEST_F(UserGridCtrlTest, DeletingAColumnRemovesItsCollectedName)
{
    UserGridCtrl& t = table('.', 1, 3);
    t.setText(-1, 0, "a");
    t.setText(-1, 1, "b");
    t.setText(-1, 2, "c");
    t.collectNames();
    EXPECT_FALSE(t.deleteDataColumn(-1));
    EXPECT_FALSE(t.deleteDataColumn(3));
    ASSERT_TRUE(t.deleteDataColumn(1));
    t.setText(-1, 0, "");
    t.setText(-1, 1, "");
    t.restoreNames();
    EXPECT_EQ(rowTexts(t, -1), (Texts{"a", "c"})) << "the refused deletions removed no name";
    EXPECT_EQ(t.getText(-1, -1), "name");
}

TEST_F(UserGridCtrlTest, EditingACombinationCellRunsTheWithinCheckFirst)
{
    UserGridCtrl& t = table('.', 2, 2);
    EXPECT_TRUE(t.beginEdit(UserGridCtrl::comboRow, 2)) << "without a check";
    int checks = 0;
    t.setWithinVariablesCheck([&] {
        ++checks;
        t.setComboOptions({"between", "1", "2"});
    });
    EXPECT_TRUE(t.beginEdit(UserGridCtrl::comboRow, 2));
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(t.getCellOptions(UserGridCtrl::comboRow, 2), (Texts{"between", "1", "2"}));
    EXPECT_TRUE(t.beginEdit(t.toGridRow(-1), 2));
    EXPECT_TRUE(t.beginEdit(t.toGridRow(0), 2));
    EXPECT_FALSE(t.beginEdit(0, 2)) << "column numbers are fixed";
    EXPECT_EQ(checks, 1) << "only the combination row runs the check";
}
