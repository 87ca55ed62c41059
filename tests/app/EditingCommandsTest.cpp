// The row and column commands of the data table and the within-variables table, with the
// selection the user made.
#include "UserSession.h"

#include "tests/tables/TableTexts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

/// prefix followed by the number: numbered("p", 3) is "p3".
std::string numbered(const char* prefix, int number)
{
    std::string text = prefix;
    text += std::to_string(number);
    return text;
}

constexpr const char* ONE_ROW =
    "Only one row must be selected after which a new row can be inserted.";
constexpr const char* ONE_COLUMN =
    "Only one column must be selected after which a new column can be inserted.";

/// The data table as the main window starts it, with "p1" … "p32" in the first data
/// column, roles "r1" … and names "n1" … over the columns.
class DataTableEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int r = 0; r < data.getDataRowCount(); ++r)
            data.setText(r, 0, numbered("p", r + 1));
        for (int c = 0; c < data.getDataColumnCount(); ++c) {
            data.setText(-2, c, numbered("r", c + 1));
            data.setText(-1, c, numbered("n", c + 1));
        }
    }

    /// Selects participant rows first … last (0-based data rows) over data column 0.
    void selectRows(int first, int last)
    {
        data.setSelectedRange({data.toGridRow(first), data.toGridColumn(0), data.toGridRow(last),
                               data.toGridColumn(0)});
    }
    void selectColumns(int first, int last)
    {
        data.setSelectedRange({data.toGridRow(0), data.toGridColumn(first), data.toGridRow(0),
                               data.toGridColumn(last)});
    }
    Texts firstColumn() const
    {
        Texts texts;
        for (int r = 0; r < data.getDataRowCount(); ++r)
            texts.push_back(data.getText(r, 0));
        return texts;
    }
    Texts names() const
    {
        Texts texts;
        for (int c = 0; c < data.getDataColumnCount(); ++c)
            texts.push_back(data.getText(-1, c));
        return texts;
    }
    /// The three header rows are as SetUp left them, over `columns` data columns.
    void expectHeaderRowsIntact(int columns)
    {
        EXPECT_EQ(data.getDataColumnCount(), columns);
        EXPECT_EQ(columnNumbers(data), numbersUpTo(columns));
        for (int c = 0; c < columns; ++c) {
            EXPECT_EQ(data.getText(-2, c), numbered("r", c + 1));
            EXPECT_EQ(data.getText(-1, c), numbered("n", c + 1));
        }
        EXPECT_EQ(data.getText(-1, -1), "name");
        EXPECT_EQ(data.getCellBackground(data.toGridRow(-1), 0), GeneralGridCtrl::NAME_ROW_COLOUR);
        EXPECT_EQ(data.getCellType(UserGridCtrl::comboRow, data.toGridColumn(0)),
                  CellType::DropDown);
    }

    UserSession session;
    UserGridCtrl& data = session.commands.getDataTable();
};

Texts participants(std::initializer_list<int> numbers)
{
    Texts texts;
    for (int number : numbers)
        texts.push_back(number == 0 ? "" : numbered("p", number));
    return texts;
}

Texts participantsUpTo(int n)
{
    Texts texts;
    for (int i = 1; i <= n; ++i)
        texts.push_back(numbered("p", i));
    return texts;
}

} // namespace

TEST_F(DataTableEditing, InsertRowAfterParticipantFive)
{
    selectRows(4, 4);
    EXPECT_TRUE(session.commands.insertRow());
    EXPECT_EQ(data.getDataRowCount(), 33);
    EXPECT_EQ(data.getText(4, 0), "p5");
    EXPECT_EQ(data.getText(5, 0), "") << "the new participant 6";
    EXPECT_EQ(data.getText(6, 0), "p6");
    EXPECT_EQ(data.getText(32, 0), "p32");
    EXPECT_EQ(rowNumbers(data), numbersUpTo(33));
    EXPECT_TRUE(session.sink.messages.empty());
}

TEST_F(DataTableEditing, InsertRowWithTwoRowsSelectedChangesNothing)
{
    selectRows(4, 5);
    EXPECT_FALSE(session.commands.insertRow());
    ASSERT_EQ(session.sink.messages.size(), 1U);
    EXPECT_EQ(session.sink.messages[0].title, "Error");
    EXPECT_EQ(session.sink.messages[0].text, ONE_ROW);
    EXPECT_EQ(session.sink.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(firstColumn(), participantsUpTo(32));
}

TEST_F(DataTableEditing, InsertRowWithNothingOrTheLastRowSelectedAppends)
{
    EXPECT_TRUE(session.commands.insertRow());
    selectRows(32, 32);
    EXPECT_TRUE(session.commands.insertRow());
    Texts expected = participantsUpTo(32);
    expected.insert(expected.end(), {"", ""});
    EXPECT_EQ(firstColumn(), expected);
    EXPECT_EQ(rowNumbers(data), numbersUpTo(34));
}

TEST_F(DataTableEditing, DeleteRowsWithNothingSelectedStopsAtOneParticipant)
{
    session.commands.deleteRows();
    EXPECT_EQ(firstColumn(), participantsUpTo(31));
    for (int i = 0; i < 40; ++i)
        session.commands.deleteRows();
    EXPECT_EQ(firstColumn(), participants({1}));
    EXPECT_EQ(rowNumbers(data), numbersUpTo(1));
    EXPECT_TRUE(session.sink.messages.empty());
    expectHeaderRowsIntact(17);
}

TEST_F(DataTableEditing, DeletingParticipantsTwoToFourRenumbersTheRest)
{
    selectRows(1, 3);
    session.commands.deleteRows();
    EXPECT_EQ(data.getDataRowCount(), 29);
    EXPECT_EQ(data.getText(0, 0), "p1");
    EXPECT_EQ(data.getText(1, 0), "p5");
    EXPECT_EQ(rowNumbers(data), numbersUpTo(29));
}

TEST_F(DataTableEditing, DeletingEveryRowKeepsTheFirstParticipantAndTheHeaders)
{
    data.setSelectedRange({0, 0, data.getRowCount() - 1, data.getColumnCount() - 1});
    session.commands.deleteRows();
    EXPECT_EQ(firstColumn(), participants({1}));
    expectHeaderRowsIntact(17);
}

TEST_F(DataTableEditing, InsertRowWithAHeaderRowSelectedInsertsTheFirstParticipant)
{
    for (int headerRow : {0, 1, 2}) {
        data.setSelectedRange({headerRow, 3, headerRow, 3});
        EXPECT_TRUE(session.commands.insertRow()) << "grid row " << headerRow;
        EXPECT_EQ(data.getText(0, 0), "") << "grid row " << headerRow;
        EXPECT_EQ(data.getText(1, 0), "p1") << "grid row " << headerRow;
        EXPECT_EQ(rowNumbers(data), numbersUpTo(33)) << "grid row " << headerRow;
        expectHeaderRowsIntact(17);
        EXPECT_TRUE(data.deleteDataRow(0));
    }
    EXPECT_EQ(firstColumn(), participantsUpTo(32));
}

TEST_F(DataTableEditing, InsertRowWithTheNameRowAndAParticipantSelectedIsRefused)
{
    data.setSelectedRange({data.toGridRow(-1), 1, data.toGridRow(0), 1});
    EXPECT_FALSE(session.commands.insertRow());
    EXPECT_EQ(session.takeMessages(), Texts{ONE_ROW});
    EXPECT_EQ(firstColumn(), participantsUpTo(32));
    expectHeaderRowsIntact(17);
}

TEST_F(DataTableEditing, DeleteRowsFromTheCombinationRowDeletesOnlyParticipants)
{
    data.setSelectedRange({UserGridCtrl::comboRow, 1, data.toGridRow(1), 1});
    session.commands.deleteRows();
    EXPECT_EQ(data.getDataRowCount(), 30);
    EXPECT_EQ(data.getText(0, 0), "p3");
    EXPECT_EQ(rowNumbers(data), numbersUpTo(30));
    expectHeaderRowsIntact(17);
}

TEST_F(DataTableEditing, DeleteRowsWithOnlyHeaderRowsSelectedDeletesNothing)
{
    data.setSelectedRange({0, 1, data.toGridRow(-1), 4});
    session.commands.deleteRows();
    EXPECT_EQ(firstColumn(), participantsUpTo(32));
    expectHeaderRowsIntact(17);
}

TEST_F(DataTableEditing, DeletingColumnsThreeToFiveMovesColumnSixToThree)
{
    selectColumns(2, 4);
    session.commands.deleteColumns();
    EXPECT_EQ(data.getDataColumnCount(), 14);
    EXPECT_EQ(data.getText(-1, 2), "n6");
    EXPECT_EQ(data.getText(-2, 2), "r6");
    EXPECT_EQ(columnNumbers(data), numbersUpTo(14));
    EXPECT_EQ(names(), (Texts{"n1", "n2", "n6", "n7", "n8", "n9", "n10", "n11", "n12", "n13",
                              "n14", "n15", "n16", "n17"}));
}

TEST_F(DataTableEditing, DeleteColumnsNeverRemovesTheLastDataColumn)
{
    for (int i = 0; i < 20; ++i)
        session.commands.deleteColumns();
    EXPECT_EQ(data.getDataColumnCount(), 1);
    EXPECT_EQ(names(), Texts{"n1"});
    selectColumns(0, 0);
    session.commands.deleteColumns();
    EXPECT_EQ(data.getDataColumnCount(), 1);
    EXPECT_EQ(columnNumbers(data), numbersUpTo(1));
}

TEST_F(DataTableEditing, DeleteColumnsLeavesTheRowNumbersAlone)
{
    data.setSelectedRange({data.toGridRow(3), 0, data.toGridRow(3), data.toGridColumn(1)});
    session.commands.deleteColumns();
    EXPECT_EQ(data.getDataColumnCount(), 15);
    EXPECT_EQ(data.getFixedColumnCount(), 1);
    EXPECT_EQ(rowNumbers(data), numbersUpTo(32));
    EXPECT_EQ(data.getText(-1, 0), "n3");
    EXPECT_EQ(data.getText(-1, -1), "name");
}

TEST_F(DataTableEditing, InsertColumnAfterTheSelectedColumn)
{
    selectColumns(1, 1);
    EXPECT_TRUE(session.commands.insertColumn());
    EXPECT_EQ(data.getDataColumnCount(), 18);
    EXPECT_EQ(data.getText(-1, 1), "n2");
    EXPECT_EQ(data.getText(-1, 2), "");
    EXPECT_EQ(data.getText(-2, 2), "") << "no role chosen";
    EXPECT_EQ(data.getText(-1, 3), "n3");
    EXPECT_EQ(columnNumbers(data), numbersUpTo(18));
}

TEST_F(DataTableEditing, InsertColumnWithNothingSelectedAppends)
{
    EXPECT_TRUE(session.commands.insertColumn());
    EXPECT_EQ(data.getDataColumnCount(), 18);
    EXPECT_EQ(data.getText(-1, 16), "n17");
    EXPECT_EQ(data.getText(-1, 17), "");
}

TEST_F(DataTableEditing, InsertColumnWithTheRowNumbersSelectedInsertsTheFirstColumn)
{
    data.setSelectedRange({data.toGridRow(2), 0, data.toGridRow(2), 0});
    EXPECT_TRUE(session.commands.insertColumn());
    EXPECT_EQ(data.getText(-1, 0), "");
    EXPECT_EQ(data.getText(-1, 1), "n1");
    EXPECT_EQ(data.getFixedColumnCount(), 1);
    EXPECT_EQ(rowNumbers(data), numbersUpTo(32));
}

TEST_F(DataTableEditing, InsertColumnWithTwoColumnsSelectedChangesNothing)
{
    selectColumns(3, 4);
    EXPECT_FALSE(session.commands.insertColumn());
    ASSERT_EQ(session.sink.messages.size(), 1U);
    EXPECT_EQ(session.sink.messages[0].title, "Error");
    EXPECT_EQ(session.sink.messages[0].text, ONE_COLUMN);
    EXPECT_EQ(session.sink.messages[0].icon, MessageIcon::Error);
    expectHeaderRowsIntact(17);
}

namespace {

/// The within-variables table with names "v1" … "v20".
class WithinTableEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int r = 0; r < within.getDataRowCount(); ++r)
            within.setText(r, 0, numbered("v", r + 1));
    }
    void selectRows(int first, int last)
    {
        within.setSelectedRange({within.toGridRow(first), 1, within.toGridRow(last), 2});
    }
    Texts variableNames() const
    {
        Texts texts;
        for (int r = 0; r < within.getDataRowCount(); ++r)
            texts.push_back(within.getText(r, 0));
        return texts;
    }

    UserSession session;
    WithinGridCtrl& within = session.commands.getWithinTable();
};

} // namespace

TEST_F(WithinTableEditing, DeleteButtonIsDisabledAtStart)
{
    EXPECT_FALSE(session.commands.isDeleteVariableRowsEnabled());
    EXPECT_TRUE(session.commands.insertVariableRow());
    EXPECT_TRUE(session.commands.isDeleteVariableRowsEnabled());
    EXPECT_EQ(within.getDataRowCount(), 21);
    EXPECT_EQ(rowNumbers(within), numbersUpTo(21));
}

TEST_F(WithinTableEditing, DeletingTheFirstRowRenumbersFromOne)
{
    selectRows(0, 0);
    session.commands.deleteVariableRows();
    EXPECT_EQ(within.getDataRowCount(), 19);
    EXPECT_EQ(within.getText(0, 0), "v2");
    EXPECT_EQ(rowNumbers(within), numbersUpTo(19));
    EXPECT_TRUE(session.commands.isDeleteVariableRowsEnabled());
}

TEST_F(WithinTableEditing, LastOfTwoRowsGoesAndTheButtonIsDisabled)
{
    selectRows(2, 19);
    session.commands.deleteVariableRows();
    ASSERT_EQ(variableNames(), (Texts{"v1", "v2"}));
    EXPECT_TRUE(session.commands.isDeleteVariableRowsEnabled());

    within.setSelectedRange({});
    session.commands.deleteVariableRows();
    EXPECT_EQ(variableNames(), Texts{"v1"});
    EXPECT_FALSE(session.commands.isDeleteVariableRowsEnabled());

    session.commands.deleteVariableRows();
    EXPECT_EQ(variableNames(), Texts{"v1"}) << "one variable row always stays";
    EXPECT_EQ(within.getText(-1, 0), "variable name");
}

TEST_F(WithinTableEditing, InsertVariableRowAfterTheSelectedRow)
{
    selectRows(1, 1);
    EXPECT_TRUE(session.commands.insertVariableRow());
    EXPECT_EQ(within.getText(1, 0), "v2");
    EXPECT_EQ(within.getText(2, 0), "");
    EXPECT_EQ(within.getText(3, 0), "v3");
    EXPECT_EQ(rowNumbers(within), numbersUpTo(21));
}

TEST_F(WithinTableEditing, InsertVariableRowWithTwoRowsSelectedChangesNothing)
{
    selectRows(1, 2);
    EXPECT_FALSE(session.commands.insertVariableRow());
    EXPECT_EQ(session.takeMessages(), Texts{ONE_ROW});
    EXPECT_EQ(within.getDataRowCount(), 20);
    EXPECT_FALSE(session.commands.isDeleteVariableRowsEnabled()) << "the button is not updated";
}

TEST_F(WithinTableEditing, TheHeaderRowIsNeverDeletedOrInsertedInto)
{
    within.setSelectedRange({0, 1, 0, 2});
    EXPECT_TRUE(session.commands.insertVariableRow());
    EXPECT_EQ(within.getText(0, 0), "");
    EXPECT_EQ(within.getText(1, 0), "v1");
    session.commands.deleteVariableRows();
    EXPECT_EQ(within.getDataRowCount(), 21) << "a header selection deletes nothing";
    EXPECT_EQ(within.getText(-1, 0), "variable name");
    EXPECT_EQ(within.getText(-1, 1), "number of levels");
    EXPECT_EQ(within.getFixedRowCount(), 1);
}
