#include "data/UserGridCtrl.h"

#include "RecordingMessageSink.h"
#include "TableTexts.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
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

TEST_F(UserGridCtrlTest, SetupTableBuildsTheThreeHeaderRows)
{
    UserGridCtrl& t = table('.', 32, 17);
    EXPECT_EQ(t.getRowCount(), 35);
    EXPECT_EQ(t.getColumnCount(), 18);
    EXPECT_EQ(t.getFixedRowCount(), 1);
    EXPECT_EQ(t.getFixedColumnCount(), 1);
    EXPECT_EQ(t.getDataRowCount(), 32);
    EXPECT_EQ(t.getDataColumnCount(), 17);
    EXPECT_EQ(t.toGridRow(-2), UserGridCtrl::comboRow);

    EXPECT_EQ(t.getCellText(0, 1), "1");
    EXPECT_EQ(t.getText(-3, 16), "17");
    for (int c = 0; c < 17; ++c) {
        EXPECT_EQ(t.getCellType(1, t.toGridColumn(c)), CellType::DropDown);
        EXPECT_EQ(t.getCellDropDownStyle(1, t.toGridColumn(c)), DropDownStyle::Editable);
        EXPECT_TRUE(t.getCellOptions(1, t.toGridColumn(c)).empty());
    }
    EXPECT_EQ(t.getCellText(2, 0), "name");
    for (int c = -1; c < 17; ++c)
        EXPECT_EQ(t.getCellBackground(2, t.toGridColumn(c)), GeneralGridCtrl::NAME_ROW_COLOUR);
    EXPECT_NE(t.getCellBackground(3, 1), GeneralGridCtrl::NAME_ROW_COLOUR);
    EXPECT_EQ(t.getCellText(3, 0), "1");
    EXPECT_EQ(t.getCellText(34, 0), "32");
    EXPECT_EQ(t.getCellType(3, 1), CellType::Plain);
}

TEST_F(UserGridCtrlTest, SetupTableStartsAfresh)
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
    EXPECT_EQ(t.getText(0, 0), "");
    EXPECT_EQ(t.getCellState(t.toGridRow(1), 1), CellState::None);
    std::vector<std::string> options;
    t.getComboOptions(options);
    EXPECT_TRUE(options.empty());
    Texts names;
    t.getNames(names);
    EXPECT_EQ(names, (Texts{"", ""}));
}

TEST_F(UserGridCtrlTest, CommaUserFailsOnAPointWithTheCommaMessage)
{
    UserGridCtrl& t = table(',', 3, 2);
    t.setText(0, 0, "1,5");
    t.setText(0, 1, "2.5");
    t.setText(1, 0, "1.5");
    t.setText(2, 1, "4");
    EXPECT_FALSE(t.readNumbers());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "Veltmark");
    EXPECT_EQ(sink.messages[0].text, COMMA_MESSAGE);
    EXPECT_EQ(sink.messages[0].icon, MessageIcon::Exclamation);
    // Row by row: the point in row 0 is found before the one in row 1.
    const CellRange offending{t.toGridRow(0), t.toGridColumn(1), t.toGridRow(0), t.toGridColumn(1)};
    EXPECT_EQ(t.getSelectedRange(), offending);
    EXPECT_EQ(t.getScrollTarget(), (CellPosition{offending.firstRow, offending.firstColumn}));
}

TEST_F(UserGridCtrlTest, PointUserFailsOnACommaWithThePointMessage)
{
    UserGridCtrl& t = table('.', 2, 2);
    t.setText(0, 0, "1.5");
    t.setText(1, 1, "1,5");
    EXPECT_FALSE(t.readNumbers());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, POINT_MESSAGE);
    EXPECT_EQ(sink.messages[0].title, "Veltmark");
    EXPECT_EQ(t.getSelectedRange(), (CellRange{4, 2, 4, 2}));
}

TEST_F(UserGridCtrlTest, BlankSeparatorBehavesLikeThePoint)
{
    UserGridCtrl& t = table(' ', 1, 2);
    t.setText(0, 0, "1.5");
    t.setText(0, 1, "2");
    ASSERT_TRUE(t.readNumbers());
    EXPECT_EQ(t.getValueMatrix().get(0, 0), 1.5);
    EXPECT_TRUE(sink.messages.empty());

    t.setText(0, 1, "2,5");
    EXPECT_FALSE(t.readNumbers());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, POINT_MESSAGE);
}

TEST_F(UserGridCtrlTest, CommaUserReadsDecimalCommas)
{
    UserGridCtrl& t = table(',', 2, 2);
    t.setText(0, 0, "1,5");
    t.setText(0, 1, "-2,25e1");
    t.setText(1, 0, "abc");
    t.setText(1, 1, " 7");
    ASSERT_TRUE(t.readNumbers());
    EXPECT_TRUE(sink.messages.empty());
    const RealMatrix& values = t.getValueMatrix();
    EXPECT_EQ(values.get(0, 0), 1.5);
    EXPECT_EQ(values.get(0, 1), -22.5);
    EXPECT_EQ(values.get(1, 0), 0.0);
    EXPECT_EQ(values.get(1, 1), 7.0);
}

TEST_F(UserGridCtrlTest, EmptyParticipantRowDisappearsAndTheRowsAreRenumbered)
{
    UserGridCtrl& t = table('.', 32, 2);
    t.setText(0, 0, "1");
    t.setText(0, 1, "2");
    t.setText(2, 0, "3");
    t.setText(2, 1, "4");
    ASSERT_TRUE(t.readNumbers());
    EXPECT_EQ(t.getDataRowCount(), 2);
    EXPECT_EQ(rowNumbers(t), numbersUpTo(2));
    EXPECT_EQ(t.getText(1, 0), "3");
    EXPECT_EQ(t.getValueMatrix().get(1, 1), 4.0);
}

TEST_F(UserGridCtrlTest, ColumnWithANameButNoValuesDisappearsWithItsName)
{
    UserGridCtrl& t = table('.', 2, 3);
    t.setText(-1, 0, "pre");
    t.setText(-1, 1, "unused");
    t.setText(-1, 2, "post");
    t.setText(-2, 1, "between");
    t.setText(0, 0, "1");
    t.setText(1, 2, "2");
    t.collectNames();
    ASSERT_TRUE(t.readNumbers());
    ASSERT_EQ(t.getDataColumnCount(), 2);
    EXPECT_EQ(columnNumbers(t), numbersUpTo(2));
    Texts names;
    t.getNames(names);
    EXPECT_EQ(names, (Texts{"pre", "post"}));
    EXPECT_EQ(t.getBetweenCount(), 0) << "its role left with it";
}

TEST_F(UserGridCtrlTest, SingleBlankCellKeepsItsRowAndColumn)
{
    UserGridCtrl& t = table('.', 3, 3);
    t.setText(0, 0, "1");
    t.setText(2, 2, " ");
    ASSERT_TRUE(t.readNumbers());
    EXPECT_EQ(t.getDataRowCount(), 2);
    EXPECT_EQ(t.getDataColumnCount(), 2);
    EXPECT_EQ(t.getText(1, 1), " ");
    EXPECT_EQ(t.getValueMatrix().get(1, 1), 0.0);
}

TEST_F(UserGridCtrlTest, ComboOptionsGoToEveryColumnAndComeFromTheFirst)
{
    UserGridCtrl& t = table('.', 2, 3);
    const Texts offered{"between", "1", "2"};
    t.setComboOptions(offered);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(t.getCellOptions(1, t.toGridColumn(c)), offered);
    Texts options;
    t.getComboOptions(options);
    EXPECT_EQ(options, offered);

    t.setText(-2, 2, "kept");
    t.setComboOptions({});
    EXPECT_EQ(t.getText(-2, 2), "kept") << "the texts stay when the lists change";
}

TEST_F(UserGridCtrlTest, CombinationTextsNeedOnePerColumn)
{
    UserGridCtrl& t = table('.', 1, 3);
    EXPECT_FALSE(t.setCombinationTexts({"1", "2"}));
    ASSERT_TRUE(t.setCombinationTexts({"1", "between", "2"}));
    Texts texts;
    t.getCombinationTexts(texts);
    EXPECT_EQ(texts, (Texts{"1", "between", "2"}));
    EXPECT_EQ(t.getText(-2, 1), "between");
}

TEST_F(UserGridCtrlTest, ColumnAssignmentSeparatesBetweenColumnsFromLabels)
{
    UserGridCtrl& t = table('.', 1, 5);
    ASSERT_TRUE(t.setCombinationTexts({"between", "2, 1", "Between", "1,2", "between"}));
    // "Between" is not the role text; its label parses to one entry and is padded with 0.
    EXPECT_EQ(t.getBetweenCount(), 2);
    EXPECT_EQ(t.getBetweenColumn(0), 0);
    EXPECT_EQ(t.getBetweenColumn(1), 4);
    EXPECT_EQ(t.getBetweenColumn(2), -1);
    EXPECT_EQ(t.getBetweenColumn(-1), -1);
    EXPECT_EQ(t.getBetweenColumns(), (std::set<int>{0, 4}));

    GeneralMatrix<int> levels;
    t.getColumnLevels(levels);
    ASSERT_EQ(levels.getRows(), 2);
    ASSERT_EQ(levels.getCols(), 3);
    EXPECT_EQ(levels.get(0, 0), 2);
    EXPECT_EQ(levels.get(1, 0), 1);
    EXPECT_EQ(levels.get(0, 1), 0);
    EXPECT_EQ(levels.get(1, 1), 0);
    EXPECT_EQ(levels.get(0, 2), 1);
    EXPECT_EQ(levels.get(1, 2), 2);
}

TEST_F(UserGridCtrlTest, ColumnAssignmentWithOnlyBetweenColumnsHasNoLevels)
{
    UserGridCtrl& t = table('.', 1, 2);
    ASSERT_TRUE(t.setCombinationTexts({"between", "between"}));
    GeneralMatrix<int> levels;
    t.getColumnLevels(levels);
    EXPECT_TRUE(levels.isEmpty());
    EXPECT_EQ(t.getBetweenCount(), 2);
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
    EXPECT_TRUE(t.insertName(2, "c"));
    EXPECT_FALSE(t.insertName(4, "x"));
    EXPECT_FALSE(t.insertName(-1, "x"));
    EXPECT_FALSE(t.removeName(3));
    EXPECT_FALSE(t.removeName(-1));
    t.restoreNames();
    EXPECT_EQ(t.getText(-1, 0), "a");
    EXPECT_EQ(t.getText(-1, 2), "c");
    EXPECT_TRUE(t.removeName(1));
    t.restoreNames();
    EXPECT_EQ(t.getText(-1, 1), "c");
    EXPECT_EQ(t.getText(-1, 2), "c") << "restoreNames writes only as far as the list reaches";
    t.clearNames();
    EXPECT_FALSE(t.removeName(0));
}

TEST_F(UserGridCtrlTest, RowAndColumnDeletionNeverTouchesTheHeaderRows)
{
    UserGridCtrl& t = table('.', 3, 3);
    t.setText(-2, 0, "between");
    t.setText(-1, 0, "group");
    for (int r = -3; r < 0; ++r) {
        EXPECT_FALSE(t.deleteDataRow(r));
        EXPECT_FALSE(t.insertDataRow(r));
    }
    EXPECT_FALSE(t.deleteDataColumn(-1));
    EXPECT_FALSE(t.deleteDataColumn(3));
    EXPECT_EQ(t.getRowCount(), 6);
    EXPECT_EQ(t.getText(-2, 0), "between");
    EXPECT_EQ(t.getText(-1, 0), "group");
    EXPECT_EQ(t.getText(-1, -1), "name");
}

TEST_F(UserGridCtrlTest, DeletingAColumnRemovesItsCollectedName)
{
    UserGridCtrl& t = table('.', 1, 3);
    t.setText(-1, 0, "a");
    t.setText(-1, 1, "b");
    t.setText(-1, 2, "c");
    t.collectNames();
    ASSERT_TRUE(t.deleteDataColumn(1));
    t.restoreNames();
    EXPECT_EQ(t.getText(-1, 1), "c");
    t.setText(-1, 1, "");
    t.restoreNames();
    EXPECT_EQ(t.getText(-1, 1), "c") << "the list held a, c after the deletion";
}

TEST_F(UserGridCtrlTest, EditingACombinationCellRunsTheWithinCheckFirst)
{
    UserGridCtrl& t = table('.', 2, 2);
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
    EXPECT_EQ(checks, 1);
}

TEST_F(UserGridCtrlTest, EditingProceedsWhateverTheCheckFindsAndWithoutACheck)
{
    UserGridCtrl& t = table('.', 1, 1);
    EXPECT_TRUE(t.beginEdit(UserGridCtrl::comboRow, 1));
    t.setWithinVariablesCheck([&] { t.setComboOptions({}); });
    EXPECT_TRUE(t.beginEdit(UserGridCtrl::comboRow, 1));
}
