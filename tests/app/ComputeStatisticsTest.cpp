// "Compute statistics" from the typed tables to the results table.
#include "tests/support/UserSession.h"

#include "app/ResultsTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* CANNOT_COMPUTE =
    "Data cannot be computed. Maybe, your sample size is too small.";

} // namespace

TEST(ComputeStatistics, EveryEffectGetsABlockOfSevenRows)
{
    UserSession session;
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    GeneralGridCtrl& results = session.commands.getResultsTable();
    EXPECT_EQ(results.getRowCount(), 7 * 7) << "no fixed rows";
    EXPECT_EQ(session.resultsRow(0), (Texts{"C", "", "value", "F", "df1", "df2", "p",
                                            "noncentr.", "MANOVA exact statistic",
                                            "choose for simulation"}));
    EXPECT_EQ(session.resultsRow(6), Texts(10, ""));
    for (int r = 0; r < 7; ++r) {
        const bool analysis = r >= 1 && r <= 5;
        EXPECT_EQ(results.getCellType(r, 9), analysis ? CellType::TickBox : CellType::Plain) << r;
        EXPECT_FALSE(results.isCellChecked(r, 9)) << r;
    }
}

TEST(ComputeStatistics, KeepsTheBlocksOfTheLastRunWhenACheckFails)
{
    UserSession session;
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    const Texts first = session.resultsRow(8);
    session.typeColumn(3, "1, 2", "", {});
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeErrors(), Texts{"Column 4 is not named correctly!"});
    EXPECT_EQ(session.resultsRow(8), first);
}

TEST(ComputeStatistics, UnreadableCellShowsTheTablesMessageThenTheComputeFailure)
{
    UserSession session(',');
    typeMixedDesign(session);
    UserGridCtrl& data = session.commands.getDataTable();
    UserSession::type(data, data.toGridRow(5), data.toGridColumn(3), "8.2");
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeMessages(),
              (Texts{"In your regional settings ',' is selected as decimal separator.",
                     CANNOT_COMPUTE}));
    EXPECT_EQ(session.commands.getResultsTable().getRowCount(), 0);
}

TEST(ComputeStatistics, GroupCombinationWithoutParticipantsEndsTheCommand)
{
    UserSession session;
    typeMixedDesign(session);
    session.typeColumn(5, "between", "D", {"1", "1", "1", "1", "2", "2", "2", "2"}); // as A
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeErrors(), Texts{CANNOT_COMPUTE});
    EXPECT_EQ(session.commands.getResultsTable().getRowCount(), 0);
}

TEST(ComputeStatistics, ACellThatHoldsNoNumberStopsTheCommandWithItsOwnMessage)
{
    const std::string emptyCells = "1 participant has empty cells. Leave this participant out "
                                   "this time? The data table keeps the row.";
    const struct {
        const char* text;
        bool answer;
        Texts questions;
    } cases[] = {
        {"4.5x", true, {}},        // a text is refused, even in a row with an empty cell
        {"", false, {emptyCells}}, // "No" leaves everything as it is
        {"  ", false, {emptyCells}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        UserSession session;
        typeMixedDesign(session);
        UserGridCtrl& data = session.commands.getDataTable();
        UserSession::type(data, data.toGridRow(2), data.toGridColumn(3), c.text);
        UserSession::type(data, data.toGridRow(2), data.toGridColumn(4), "");
        session.sink.answer = c.answer;
        EXPECT_FALSE(session.commands.computeStatistics());
        // Column 4 is refused: the text before an empty cell, or the first of two empty cells.
        EXPECT_EQ(session.takeErrors(),
                  Texts{"The cell in row 3, column 4 of the data table holds no number."});
        EXPECT_EQ(session.sink.questions, c.questions);
        EXPECT_EQ(session.commands.getResultsTable().getRowCount(), 0);
        const int row = data.toGridRow(2);
        const int column = data.toGridColumn(3);
        EXPECT_EQ(data.getSelectedRange(), (CellRange{row, column, row, column}));
    }
}

TEST(ComputeStatistics, YesLeavesTheParticipantsWithEmptyCellsOutOfThisCommandOnly)
{
    UserSession reduced;
    typeMixedDesign(reduced);
    reduced.commands.getDataTable().deleteDataRow(5);
    reduced.commands.getDataTable().deleteDataRow(1);
    ASSERT_TRUE(reduced.commands.computeStatistics());

    UserSession session;
    typeMixedDesign(session);
    UserGridCtrl& data = session.commands.getDataTable();
    UserSession::type(data, data.toGridRow(1), data.toGridColumn(0), "");
    UserSession::type(data, data.toGridRow(5), data.toGridColumn(3), " ");
    session.sink.answer = true;
    ASSERT_TRUE(session.commands.computeStatistics());
    EXPECT_EQ(session.sink.questions,
              Texts{"2 participants have empty cells. Leave them out this time? The data table "
                    "keeps their rows."})
        << "asked once for all seven effects";
    EXPECT_EQ(session.commands.getLeftOutRows(), (std::vector<int>{1, 5}));
    for (int r = 0; r < 7 * 7; ++r)
        EXPECT_EQ(session.resultsRow(r), reduced.resultsRow(r)) << r;
    EXPECT_EQ(data.getDataRowCount(), 8);
    EXPECT_EQ(data.getText(1, 0), "");

    // The simulation set-up asks again; the command line's rule asks nobody.
    session.commands.getResultsTable().setCellChecked(1, CHOICE_COLUMN, true);
    ASSERT_TRUE(session.commands.setUpSimulation());
    EXPECT_EQ(session.sink.questions.size(), 2u);
    session.commands.setIncompleteParticipants(IncompleteParticipants::LeaveOut);
    ASSERT_TRUE(session.commands.computeStatistics());
    EXPECT_EQ(session.sink.questions.size(), 2u);
    EXPECT_TRUE(session.takeMessages().empty());
}
