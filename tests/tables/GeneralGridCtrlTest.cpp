#include "data/GeneralGridCtrl.h"

#include "TableTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

/// One fixed header row and one fixed header column over `rows` x `columns` data cells,
/// with the point as the user's separator.
class GeneralGridCtrlTest : public ::testing::Test {
protected:
    void build(int rows, int columns)
    {
        table.setFixedRowCount(1);
        table.setFixedColumnCount(1);
        table.setDataRowCount(rows);
        table.setDataColumnCount(columns);
    }

    /// Writes row r of the participant cells.
    void writeRow(int r, const std::vector<std::string>& texts)
    {
        for (std::size_t c = 0; c < texts.size(); ++c)
            table.setText(r, static_cast<int>(c), texts[c]);
    }

    GeneralGridCtrl table{DecimalSeparator('.')};
};

} // namespace

TEST_F(GeneralGridCtrlTest, DataCoordinatesStartAfterTheHeaders)
{
    build(4, 3);
    EXPECT_EQ(table.getRowCount(), 5);
    EXPECT_EQ(table.getColumnCount(), 4);
    EXPECT_EQ(table.getDataRowCount(), 4);
    EXPECT_EQ(table.getDataColumnCount(), 3);
    table.setText(0, 0, "first");
    table.setText(-1, 2, "header");
    table.setText(3, -1, "row");
    EXPECT_EQ(table.getCellText(1, 1), "first");
    EXPECT_EQ(table.getCellText(0, 3), "header");
    EXPECT_EQ(table.getCellText(4, 0), "row");
    EXPECT_EQ(table.toDataRow(4), 3);
    EXPECT_EQ(table.toDataColumn(0), -1);
    table.setFocusCell({2, 3});
    EXPECT_EQ(table.getDataFocusCell(), (CellPosition{1, 2}));
}

TEST_F(GeneralGridCtrlTest, NegativeDataCountsAreRejected)
{
    build(2, 2);
    EXPECT_FALSE(table.setDataRowCount(-1));
    EXPECT_FALSE(table.setDataColumnCount(-1));
    EXPECT_EQ(table.getRowCount(), 3);
}

TEST_F(GeneralGridCtrlTest, RowOperationsRefuseHeaderRows)
{
    build(3, 2);
    table.setText(-1, 0, "header");
    EXPECT_FALSE(table.deleteDataRow(-1));
    EXPECT_FALSE(table.deleteDataRow(3));
    EXPECT_FALSE(table.insertDataRow(-1));
    EXPECT_FALSE(table.insertDataRow(4));
    EXPECT_FALSE(table.deleteDataColumn(-1));
    EXPECT_EQ(table.getText(-1, 0), "header");
    EXPECT_EQ(table.getDataRowCount(), 3);

    table.setText(1, 0, "second");
    ASSERT_TRUE(table.insertDataRow(1));
    EXPECT_EQ(table.getText(2, 0), "second");
    EXPECT_EQ(table.getText(1, 0), "");
    ASSERT_TRUE(table.insertDataRow(4));
    EXPECT_EQ(table.getDataRowCount(), 5);
}

TEST_F(GeneralGridCtrlTest, EmptyRowBetweenFilledRowsDisappearsAndTheRestIsRenumbered)
{
    build(5, 2);
    writeRow(0, {"1", "2"});
    writeRow(2, {"", "3"});
    writeRow(4, {"4", ""});
    table.removeEmptyRows();
    ASSERT_EQ(table.getDataRowCount(), 3);
    EXPECT_EQ(table.getText(0, 0), "1");
    EXPECT_EQ(table.getText(1, 1), "3");
    EXPECT_EQ(table.getText(2, 0), "4");
    EXPECT_EQ(rowNumbers(table), numbersUpTo(3));
}

TEST_F(GeneralGridCtrlTest, SingleBlankIsNotEmpty)
{
    build(3, 2);
    writeRow(1, {" ", ""});
    table.setText(0, 1, " ");
    EXPECT_FALSE(table.isRowEmpty(1));
    EXPECT_FALSE(table.isColumnEmpty(1));
    EXPECT_TRUE(table.isRowEmpty(2));
    table.removeEmptyRows();
    table.removeEmptyColumns();
    EXPECT_EQ(table.getDataRowCount(), 2);
    EXPECT_EQ(table.getDataColumnCount(), 2);
}

TEST_F(GeneralGridCtrlTest, ColumnWithHeaderTextButNoValuesDisappears)
{
    build(2, 3);
    table.setText(-1, 0, "a");
    table.setText(-1, 1, "b");
    table.setText(-1, 2, "c");
    table.setText(0, 0, "1");
    table.setText(1, 2, "2");
    table.removeEmptyColumns();
    ASSERT_EQ(table.getDataColumnCount(), 2);
    EXPECT_EQ(table.getText(0, 0), "1");
    EXPECT_EQ(table.getText(1, 1), "2");
    // The top row holds the column numbers and is rewritten.
    EXPECT_EQ(columnNumbers(table), numbersUpTo(2));
}

TEST_F(GeneralGridCtrlTest, ReadNumbersWithoutCheckReadsUpToTheForeignSeparator)
{
    build(3, 2);
    writeRow(0, {"1,5", "2.5"});
    writeRow(2, {"x", "-3e2"});
    ASSERT_TRUE(table.readNumbers());
    const RealMatrix& values = table.getValueMatrix();
    ASSERT_EQ(values.getRows(), 2);
    ASSERT_EQ(values.getCols(), 2);
    EXPECT_EQ(values.get(0, 0), 1.0);
    EXPECT_EQ(values.get(0, 1), 2.5);
    EXPECT_EQ(values.get(1, 0), 0.0);
    EXPECT_EQ(values.get(1, 1), -300.0);
}

TEST_F(GeneralGridCtrlTest, GetValuesCopiesTheMatrix)
{
    build(1, 2);
    writeRow(0, {"4", "5"});
    LapackWorkspace workspace;
    RealMatrix out(&workspace);
    ASSERT_TRUE(table.getValues(out));
    ASSERT_EQ(out.getCols(), 2);
    EXPECT_EQ(out.get(0, 1), 5.0);
    EXPECT_EQ(out.workspace(), &workspace);
}

TEST(GeneralGridCtrl, FillFromValuesWritesFourteenDigitsWithTheUsersSeparator)
{
    GeneralGridCtrl table(DecimalSeparator(','));
    table.setFixedRowCount(1);
    table.setFixedColumnCount(1);
    RealMatrix& values = table.getValueMatrix();
    values.resize(2, 3);
    values.set(0, 0, 0.1);
    values.set(1, 2, 0.333333333333333333);
    values.set(0, 2, -1500.0);
    table.fillFromValues();
    EXPECT_EQ(table.getDataRowCount(), 2);
    EXPECT_EQ(table.getDataColumnCount(), 3);
    EXPECT_EQ(table.getText(0, 0), "0,1");
    EXPECT_EQ(table.getText(1, 2), "0,33333333333333");
    EXPECT_EQ(table.getText(0, 2), "-1500");
    EXPECT_EQ(table.getText(1, 0), "0");

    // Read back with the same separator: the values the texts denote.
    ASSERT_TRUE(table.readNumbers());
    EXPECT_EQ(table.getValueMatrix().get(0, 0), 0.1);
    EXPECT_NEAR(table.getValueMatrix().get(1, 2), 1.0 / 3.0, 1e-14);
}

TEST_F(GeneralGridCtrlTest, HeaderColourCoversTheWholeHeaderRowAndColumn)
{
    build(2, 2);
    table.colourHeaderRow();
    for (int column = 0; column < table.getColumnCount(); ++column)
        EXPECT_EQ(table.getCellBackground(0, column), GeneralGridCtrl::HEADER_COLOUR);
    EXPECT_NE(table.getCellBackground(1, 0), GeneralGridCtrl::HEADER_COLOUR);
    table.colourHeaderColumn();
    EXPECT_EQ(table.getCellBackground(2, 0), GeneralGridCtrl::HEADER_COLOUR);
    EXPECT_NE(table.getCellBackground(2, 1), GeneralGridCtrl::HEADER_COLOUR);
}

TEST_F(GeneralGridCtrlTest, RefreshMarksModifiedAndRepaints)
{
    build(1, 1);
    int repaints = 0;
    table.setRepaintHandler([&repaints] { ++repaints; });
    table.refresh();
    EXPECT_TRUE(table.isModified());
    EXPECT_EQ(repaints, 1);
}

TEST_F(GeneralGridCtrlTest, PasteGoesToTheTopLeftOfTheSelectionOutsideTheHeaders)
{
    build(4, 3);
    table.setFocusCell({4, 3});
    // A click on the header of row 2 selects it from the fixed column on.
    table.setSelectedRange({2, 0, 2, 3});
    ASSERT_TRUE(table.paste("a\tb"));
    EXPECT_EQ(table.getText(1, 0), "a");
    EXPECT_EQ(table.getText(1, 1), "b");
    EXPECT_EQ(table.getText(1, -1), "") << "the fixed cell is not pasted into";
    EXPECT_EQ(table.getFocusCell(), (CellPosition{2, 1}));
    EXPECT_EQ(table.getDataRowCount(), 4) << "a plain table makes no room";
}

TEST(GeneralGridCtrl, ResultsTableHasNoHeaders)
{
    GeneralGridCtrl results(DecimalSeparator(','));
    results.setColumnCount(10);
    results.appendDataRows(7);
    EXPECT_EQ(results.getDataRowCount(), 7);
    EXPECT_EQ(results.getDataColumnCount(), 10);
    EXPECT_EQ(results.getText(6, 0), "") << "no header column to number";
    results.setText(0, 9, "choose for simulation");
    EXPECT_EQ(results.getCellText(0, 9), "choose for simulation");
    results.setCellType(1, 9, CellType::TickBox);
    EXPECT_EQ(results.getCellType(1, 9), CellType::TickBox);
    results.setRowCount(0);
    results.setColumnCount(0);
    EXPECT_EQ(results.getDataRowCount(), 0);
}
