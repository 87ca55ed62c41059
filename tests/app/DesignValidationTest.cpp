// The two checks of the input tables, driven as the user meets them: when a combination
// cell is clicked and when "Compute statistics" runs.
#include "UserSession.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char* NO_VARIABLE =
    "Please specify at least one measurment variable and assign columns to it.";
constexpr const char* BOTH_COLUMNS =
    "For defining within-variables please fill out both columns of each row .";
constexpr const char* NOT_EVERY_LEVEL =
    "Not every level (combination) of measurement variables has been assigned a column!";

std::string noLevelMessage(int row)
{
    return "Please specify a number of levels of at least 1 for the within-variable in row " +
           std::to_string(row) + "!";
}

std::string invalidLabelMessage(int column)
{
    return "Column " + std::to_string(column) +
           " is not assigned to a valid combination of measurement variables!";
}

/// The drop-down list of data column c's combination cell.
const Texts& offeredRoles(UserSession& session, int c)
{
    UserGridCtrl& data = session.commands.getDataTable();
    return data.getCellOptions(UserGridCtrl::comboRow, data.toGridColumn(c));
}

bool everyListIsEmpty(UserSession& session)
{
    for (int c = 0; c < session.commands.getDataTable().getDataColumnCount(); ++c) {
        if (!offeredRoles(session, c).empty())
            return false;
    }
    return true;
}

} // namespace

TEST(CheckWithinVariables, WithoutAnyVariableAsksForOneAndSetsTheTableUpAnew)
{
    UserSession session;
    WithinGridCtrl& within = session.commands.getWithinTable();
    within.setDataRowCount(3);
    EXPECT_FALSE(session.commands.checkWithinVariables());
    ASSERT_EQ(session.sink.messages.size(), 1U);
    EXPECT_EQ(session.sink.messages[0].title, "Error");
    EXPECT_EQ(session.sink.messages[0].text, NO_VARIABLE);
    EXPECT_EQ(session.sink.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(within.getDataRowCount(), 20);
    EXPECT_EQ(within.getText(-1, 0), "variable name");
    EXPECT_EQ(within.getText(-1, 1), "number of levels");
}

TEST(CheckWithinVariables, NameWithoutLevelsEmptiesEveryDropDownList)
{
    UserSession session;
    session.typeWithinVariable(0, "time", "2");
    ASSERT_TRUE(session.commands.checkWithinVariables());
    ASSERT_FALSE(offeredRoles(session, 5).empty());

    // The check removed the empty rows; "+" adds one for the next variable.
    ASSERT_TRUE(session.commands.insertVariableRow());
    session.typeWithinVariable(1, "task", "");
    EXPECT_FALSE(session.commands.checkWithinVariables());
    EXPECT_EQ(session.takeMessages(), Texts{BOTH_COLUMNS});
    EXPECT_TRUE(everyListIsEmpty(session));
}

TEST(CheckWithinVariables, LevelsWithoutNameFailAlike)
{
    UserSession session;
    session.typeWithinVariable(0, "", "3");
    EXPECT_FALSE(session.commands.checkWithinVariables());
    EXPECT_EQ(session.takeMessages(), Texts{BOTH_COLUMNS});
}

TEST(CheckWithinVariables, EmptyRowsAreRemovedBeforeTheRowsAreChecked)
{
    UserSession session;
    session.typeWithinVariable(2, "time", "2");
    session.typeWithinVariable(6, "task", "3");
    EXPECT_TRUE(session.commands.checkWithinVariables());
    WithinGridCtrl& within = session.commands.getWithinTable();
    EXPECT_EQ(within.getDataRowCount(), 2);
    EXPECT_EQ(within.getText(1, 0), "task");
    EXPECT_EQ(within.getText(1, -1), "2");
}

TEST(CheckWithinVariables, NoLevelIsRefusedNamingTheRow)
{
    for (const std::string levels : {"0", "-2", "none"}) {
        UserSession session;
        session.typeWithinVariable(0, "time", "2");
        ASSERT_TRUE(session.commands.checkWithinVariables());
        ASSERT_TRUE(session.commands.insertVariableRow());
        session.typeWithinVariable(1, "task", levels);
        EXPECT_FALSE(session.commands.checkWithinVariables()) << levels;
        EXPECT_EQ(session.takeMessages(), Texts{noLevelMessage(2)}) << levels;
        EXPECT_TRUE(everyListIsEmpty(session)) << levels;
    }
}

TEST(CheckWithinVariables, BothColumnsAreCheckedInEveryRowBeforeTheLevels)
{
    UserSession session;
    session.typeWithinVariable(0, "time", "0");
    session.typeWithinVariable(1, "task", "");
    EXPECT_FALSE(session.commands.checkWithinVariables());
    EXPECT_EQ(session.takeMessages(), Texts{BOTH_COLUMNS});
}

TEST(CheckWithinVariables, TooManyCombinationsAreRefusedBeforeAnyIsOffered)
{
    UserSession session;
    session.typeWithinVariable(0, "time", "1000");
    session.typeWithinVariable(1, "task", "2147483647");
    EXPECT_FALSE(session.commands.checkWithinVariables());
    EXPECT_EQ(session.takeMessages(),
              Texts{"Please specify at most 100000 combinations of levels of the measurement "
                    "variables!"});
    EXPECT_TRUE(everyListIsEmpty(session));

    session.typeWithinVariable(1, "task", "100");
    EXPECT_TRUE(session.commands.checkWithinVariables()) << "exactly 100000 combinations";
    EXPECT_EQ(offeredRoles(session, 0).size(), 100001U);
}

TEST(CheckWithinVariables, OffersBetweenThenTheLabelsInCountingOrder)
{
    UserSession session;
    session.typeWithinVariable(0, "time", "2");
    session.typeWithinVariable(1, "task", "3");
    EXPECT_TRUE(session.commands.checkWithinVariables());
    EXPECT_TRUE(session.sink.messages.empty());
    const Texts expected{"between", "1, 1", "1, 2", "1, 3", "2, 1", "2, 2", "2, 3"};
    for (int c = 0; c < 17; ++c)
        EXPECT_EQ(offeredRoles(session, c), expected) << "column " << c;
}

TEST(CheckWithinVariables, FourLevelsOfOneVariableOfferOneNumberEach)
{
    UserSession session;
    session.typeWithinVariable(0, "time", "4");
    EXPECT_TRUE(session.commands.checkWithinVariables());
    EXPECT_EQ(offeredRoles(session, 0), (Texts{"between", "1", "2", "3", "4"}));
}

TEST(CheckWithinVariables, ClickingACombinationCellOffersTheCurrentCombinations)
{
    UserSession session;
    UserGridCtrl& data = session.commands.getDataTable();
    session.typeWithinVariable(0, "time", "2");
    EXPECT_TRUE(data.beginEdit(UserGridCtrl::comboRow, data.toGridColumn(3)));
    EXPECT_EQ(offeredRoles(session, 3), (Texts{"between", "1", "2"}));

    session.typeWithinVariable(0, "time", "3");
    data.beginEdit(UserGridCtrl::comboRow, data.toGridColumn(3));
    EXPECT_EQ(offeredRoles(session, 3), (Texts{"between", "1", "2", "3"}));
    EXPECT_TRUE(session.sink.messages.empty());
}

TEST(CheckWithinVariables, ClickingShowsTheCheckMessageAndEditingGoesOn)
{
    UserSession session;
    UserGridCtrl& data = session.commands.getDataTable();
    session.typeWithinVariable(0, "time", "");
    EXPECT_TRUE(data.beginEdit(UserGridCtrl::comboRow, data.toGridColumn(0)));
    EXPECT_EQ(session.takeMessages(), Texts{BOTH_COLUMNS});
    EXPECT_TRUE(data.endEdit(UserGridCtrl::comboRow, data.toGridColumn(0), "1"));
    EXPECT_EQ(data.getText(-2, 0), "1");
    EXPECT_FALSE(data.beginEdit(data.toGridRow(-3), data.toGridColumn(0)))
        << "the column-number row is not edited";
    EXPECT_TRUE(data.beginEdit(data.toGridRow(-1), data.toGridColumn(0)));
    EXPECT_TRUE(session.sink.messages.empty()) << "only the combination row runs the check";
}

TEST(CheckColumnAssignment, ColumnWithoutEntryIsNamed)
{
    UserSession session;
    session.typeWithinVariable(0, "time", "2");
    session.typeColumn(0, "1", "t1", {"1"});
    session.typeColumn(1, "", "t2", {"2"});
    EXPECT_FALSE(session.commands.checkColumnAssignment());
    ASSERT_EQ(session.sink.messages.size(), 1U);
    EXPECT_EQ(session.sink.messages[0].title, "Error");
    EXPECT_EQ(session.sink.messages[0].text, "No entry chosen for column 2!");
    EXPECT_EQ(session.sink.messages[0].icon, MessageIcon::Error);
}

TEST(CheckColumnAssignment, EmptyColumnsAreSkippedAndNumbersAreThoseOfTheTable)
{
    UserSession session;
    session.typeWithinVariable(0, "time", "2");
    session.typeColumn(0, "1", "t1", {"1"});
    session.typeColumn(1, "", "unused", {});
    session.typeColumn(3, "", "t2", {"2"});
    EXPECT_FALSE(session.commands.checkColumnAssignment());
    EXPECT_EQ(session.takeMessages(), Texts{"No entry chosen for column 4!"});
    EXPECT_EQ(session.commands.getDataTable().getDataColumnCount(), 17) << "nothing removed";
}

TEST(CheckColumnAssignment, TwoBetweenColumnsPassTheDuplicateCheck)
{
    UserSession session;
    session.typeWithinVariable(0, "time", "1");
    session.typeColumn(0, "between", "g1", {"1"});
    session.typeColumn(1, "between", "g2", {"1"});
    session.typeColumn(2, "1", "t1", {"1"});
    EXPECT_TRUE(session.commands.checkColumnAssignment());
    EXPECT_TRUE(session.sink.messages.empty());
}

TEST(CheckColumnAssignment, TwoColumnsWithTheSameLabelAreNamed)
{
    UserSession session;
    session.typeWithinVariable(0, "B", "2");
    session.typeWithinVariable(1, "C", "2");
    session.typeColumn(0, "1, 2", "x", {"1"});
    session.typeColumn(1, "2, 2", "y", {"1"});
    session.typeColumn(2, "1, 2", "z", {"1"});
    EXPECT_FALSE(session.commands.checkColumnAssignment());
    EXPECT_EQ(session.takeMessages(),
              Texts{"Columns 1 and 3 are assigned to the same combination of measurement "
                    "variables!"});
}

TEST(CheckColumnAssignment, LabelsAreComparedByTheLevelsTheyDenote)
{
    UserSession session;
    session.typeWithinVariable(0, "B", "2");
    session.typeWithinVariable(1, "C", "2");
    session.typeColumn(0, "2, 1", "w", {"1"});
    session.typeColumn(1, "1, 2", "x", {"1"});
    session.typeColumn(2, "1,2", "y", {"1"});
    session.typeColumn(3, "2, 2", "z", {"1"});
    EXPECT_FALSE(session.commands.checkColumnAssignment());
    EXPECT_EQ(session.takeMessages(),
              Texts{"Columns 2 and 3 are assigned to the same combination of measurement "
                    "variables!"});
}

TEST(CheckColumnAssignment, PairsAreVisitedByFirstColumnThenSecond)
{
    UserSession session;
    session.typeWithinVariable(0, "B", "2");
    session.typeColumn(0, "1", "w", {"1"});
    session.typeColumn(1, "2", "x", {"1"});
    session.typeColumn(2, "2", "y", {"1"});
    session.typeColumn(3, "1", "z", {"1"});
    EXPECT_FALSE(session.commands.checkColumnAssignment());
    EXPECT_EQ(session.takeMessages(),
              Texts{"Columns 1 and 4 are assigned to the same combination of measurement "
                    "variables!"});
}

TEST(CheckColumnAssignment, LabelOfNoOfferedCombinationIsRefusedNamingTheColumn)
{
    for (const std::string label : {"1, 2, 1", "1", "3, 1", "0, 1", "a, b", "1, 2,", "Between"}) {
        UserSession session;
        session.typeWithinVariable(0, "B", "2");
        session.typeWithinVariable(1, "C", "2");
        session.typeColumn(0, "1, 1", "a", {"1"});
        session.typeColumn(1, "between", "g", {"1"});
        session.typeColumn(2, label, "b", {"1"});
        EXPECT_FALSE(session.commands.checkColumnAssignment()) << label;
        EXPECT_EQ(session.takeMessages(), Texts{invalidLabelMessage(3)}) << label;
    }
}

TEST(CheckColumnAssignment, MissingEntriesAreReportedBeforeInvalidLabels)
{
    UserSession session;
    session.typeWithinVariable(0, "B", "2");
    session.typeColumn(0, "7", "a", {"1"});
    session.typeColumn(1, "", "b", {"1"});
    EXPECT_FALSE(session.commands.checkColumnAssignment());
    EXPECT_EQ(session.takeMessages(), Texts{"No entry chosen for column 2!"});
}

TEST(CheckColumnAssignment, InvalidLabelsAreReportedBeforeDuplicates)
{
    UserSession session;
    session.typeWithinVariable(0, "B", "2");
    session.typeColumn(0, "1", "a", {"1"});
    session.typeColumn(1, "1", "b", {"1"});
    session.typeColumn(2, "x", "c", {"1"});
    EXPECT_FALSE(session.commands.checkColumnAssignment());
    EXPECT_EQ(session.takeMessages(), Texts{invalidLabelMessage(3)});
}

TEST(CheckColumnAssignment, EveryCombinationNeedsAColumn)
{
    UserSession session;
    session.typeWithinVariable(0, "B", "2");
    session.typeWithinVariable(1, "C", "2");
    session.typeColumn(0, "1, 1", "a", {"1"});
    session.typeColumn(1, "1, 2", "b", {"1"});
    session.typeColumn(2, "between", "g", {"1"});
    session.typeColumn(3, "2, 1", "c", {"1"});
    EXPECT_FALSE(session.commands.checkColumnAssignment());
    EXPECT_EQ(session.takeMessages(), Texts{NOT_EVERY_LEVEL});

    session.typeColumn(4, "2, 2", "d", {"1"});
    EXPECT_TRUE(session.commands.checkColumnAssignment()) << "4 labelled columns and 1 between";
    EXPECT_TRUE(session.sink.messages.empty());
}

TEST(CheckColumnAssignment, LabelledColumnWithoutDataCountsForNothing)
{
    UserSession session;
    session.typeWithinVariable(0, "B", "2");
    session.typeColumn(0, "1", "a", {"1"});
    session.typeColumn(1, "2", "b", {});
    EXPECT_FALSE(session.commands.checkColumnAssignment());
    EXPECT_EQ(session.takeMessages(), Texts{NOT_EVERY_LEVEL});
}

TEST(CheckColumnAssignment, UnnamedColumnFailsOnlyAfterTheOtherChecks)
{
    UserSession session;
    session.typeWithinVariable(0, "B", "2");
    session.typeColumn(0, "1", "a", {"1"});
    session.typeColumn(1, "2", "", {"1"});
    session.typeColumn(2, "between", "", {"1"});
    session.typeColumn(3, "", "", {"1"});
    EXPECT_FALSE(session.commands.checkColumnAssignment());
    EXPECT_EQ(session.takeMessages(), Texts{"No entry chosen for column 4!"});

    session.typeColumn(3, "1", "", {"1"});
    EXPECT_FALSE(session.commands.checkColumnAssignment());
    EXPECT_EQ(session.takeMessages(),
              Texts{"Columns 1 and 4 are assigned to the same combination of measurement "
                    "variables!"});

    session.typeColumn(3, "between", "", {"1"});
    EXPECT_FALSE(session.commands.checkColumnAssignment());
    EXPECT_EQ(session.takeMessages(), Texts{"Column 2 is not named correctly!"});
}

TEST(CheckColumnAssignment, ChangesNoCellOfTheDataTable)
{
    UserSession session;
    typeMixedDesign(session);
    UserGridCtrl& data = session.commands.getDataTable();
    const Texts rolesBefore = [&] {
        Texts roles;
        data.getCombinationTexts(roles);
        return roles;
    }();
    EXPECT_TRUE(session.commands.checkColumnAssignment());
    Texts rolesAfter;
    data.getCombinationTexts(rolesAfter);
    EXPECT_EQ(rolesAfter, rolesBefore);
    EXPECT_EQ(data.getDataColumnCount(), 17);
    EXPECT_EQ(data.getDataRowCount(), 32);
}

TEST(ComputeStatisticsChecks, RunInOrderAndStopAtTheFirstFailure)
{
    UserSession session;
    session.typeColumn(0, "", "", {"1"});
    EXPECT_EQ(session.takeMessages(), Texts{NO_VARIABLE}) << "the click on the combination cell";
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeMessages(), Texts{NO_VARIABLE}) << "the column check does not run";

    session.typeWithinVariable(0, "B", "2");
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeMessages(), Texts{"No entry chosen for column 1!"});
    EXPECT_EQ(session.commands.getResultsTable().getRowCount(), 0);
}
