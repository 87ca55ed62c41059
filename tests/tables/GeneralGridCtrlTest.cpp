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
    void writeRow(int r, const Texts& texts)
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
    table.setText(3, -1, "row");
    EXPECT_EQ(table.getCellText(4, 0), "row");
    EXPECT_EQ(table.getDataFocusCell(), CellPosition()) << "no focus cell";
    table.setFocusCell({2, 3});
    EXPECT_EQ(table.getDataFocusCell(), (CellPosition{1, 2}));
}

TEST_F(GeneralGridCtrlTest, RowAndColumnOperationsRefuseHeadersAndCellsBeyondTheEnd)
{
    build(3, 2);
    table.setText(-1, 0, "header");
    EXPECT_FALSE(table.setDataRowCount(-1));
    EXPECT_FALSE(table.setDataColumnCount(-1));
    EXPECT_FALSE(table.deleteDataRow(-1));
    EXPECT_FALSE(table.deleteDataRow(3));
    EXPECT_FALSE(table.insertDataRow(-1));
    EXPECT_FALSE(table.insertDataRow(4));
    EXPECT_FALSE(table.deleteDataColumn(-1));
    EXPECT_FALSE(table.deleteDataColumn(2));
    EXPECT_EQ(table.getText(-1, 0), "header");
    EXPECT_EQ(table.getRowCount(), 4);
    EXPECT_EQ(table.getColumnCount(), 3);

    table.setText(1, 0, "second");
    ASSERT_TRUE(table.insertDataRow(1));
    EXPECT_EQ(columnTexts(table, 0), (Texts{"", "", "second", ""}));
    ASSERT_TRUE(table.insertDataRow(4)) << "the end appends";
    EXPECT_EQ(table.getDataRowCount(), 5);
}

TEST_F(GeneralGridCtrlTest, EmptyRowsAndColumnsDisappearAndTheRestIsRenumbered)
{
    // A header text is no value; a single blank is not empty.
    build(5, 4);
    table.setText(-1, 1, "header");
    writeRow(0, {"1", "", "", ""});
    writeRow(1, {"", "", "", " "});
    writeRow(3, {"", "", "3", ""});
    table.removeEmptyRows();
    table.removeEmptyColumns();
    EXPECT_EQ(rowTexts(table, 0), (Texts{"1", "", ""}));
    EXPECT_EQ(rowTexts(table, 1), (Texts{"", "", " "}));
    EXPECT_EQ(rowTexts(table, 2), (Texts{"", "3", ""}));
    EXPECT_EQ(rowNumbers(table), numbersUpTo(3));
    EXPECT_EQ(columnNumbers(table), numbersUpTo(3));
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

    // getValues reads again and copies into the caller's matrix, keeping its workspace.
    LapackWorkspace workspace;
    RealMatrix out(&workspace);
    ASSERT_TRUE(table.getValues(out));
    ASSERT_EQ(out.getRows(), 2);
    EXPECT_EQ(out.get(1, 1), -300.0);
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
    values.set(0, 2, -2.5e-300);
    table.fillFromValues();
    EXPECT_EQ(rowTexts(table, 0), (Texts{"0,1", "0", "-2,5e-300"}));
    EXPECT_EQ(rowTexts(table, 1), (Texts{"0", "0", "0,33333333333333"}));

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

TEST_F(GeneralGridCtrlTest, PasteGoesToTheTopLeftOfTheSelectionOutsideTheHeaders)
{
    build(4, 3);
    EXPECT_FALSE(table.paste("a")) << "neither focus nor selection";
    table.setFocusCell({4, 3});
    // A click on the header of row 2 selects it from the fixed column on.
    table.setSelectedRange({2, 0, 2, 3});
    ASSERT_TRUE(table.paste("a\tb"));
    EXPECT_EQ(rowTexts(table, 1), (Texts{"a", "b", ""}));
    EXPECT_EQ(table.getText(1, -1), "") << "the fixed cell is not pasted into";
    EXPECT_EQ(table.getFocusCell(), (CellPosition{2, 1}));
    EXPECT_EQ(table.getDataRowCount(), 4) << "a plain table makes no room";
}

TEST(GeneralGridCtrl, AResultsTableHasNoHeaderColumnToNumber)
{
    GeneralGridCtrl results(DecimalSeparator(','));
    results.setColumnCount(10);
    results.appendDataRows(7);
    EXPECT_EQ(results.getDataRowCount(), 7);
    EXPECT_EQ(rowTexts(results, 6), Texts(10));
}
