// The two checks of the input tables, driven as the user meets them: when a combination
// cell is clicked and when "Compute statistics" runs.
#include "UserSession.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

constexpr const char* NO_VARIABLE =
    "Please specify at least one measurment variable and assign columns to it.";
constexpr const char* BOTH_COLUMNS =
    "For defining within-variables please fill out both columns of each row .";
constexpr const char* TOO_MANY =
    "Please specify at most 100000 combinations of levels of the measurement variables!";
constexpr const char* NOT_EVERY_LEVEL =
    "Not every level (combination) of measurement variables has been assigned a column!";

std::string noLevel(int row)
{
    return "Please specify a number of levels of at least 1 for the within-variable in row " +
           std::to_string(row) + "!";
}

std::string noEntry(int column)
{
    return "No entry chosen for column " + std::to_string(column) + "!";
}

std::string invalidLabel(int column)
{
    return "Column " + std::to_string(column) +
           " is not assigned to a valid combination of measurement variables!";
}

std::string sameCombination(int first, int second)
{
    return "Columns " + std::to_string(first) + " and " + std::to_string(second) +
           " are assigned to the same combination of measurement variables!";
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
    EXPECT_EQ(session.takeErrors(), Texts{NO_VARIABLE});
    EXPECT_EQ(within.getDataRowCount(), 20);
    EXPECT_EQ(within.getText(-1, 0), "variable name");
    EXPECT_EQ(within.getText(-1, 1), "number of levels");
}

TEST(CheckWithinVariables, RefusalNamesTheFirstProblemAndEmptiesEveryDropDownList)
{
    using Rows = std::vector<std::pair<std::string, std::string>>; // name, levels
    const std::pair<Rows, std::string> cases[] = {
        {{{"time", "2"}, {"task", ""}}, BOTH_COLUMNS},
        {{{"", "3"}}, BOTH_COLUMNS},
        // Both cells of every row are checked before any number of levels.
        {{{"time", "0"}, {"task", ""}}, BOTH_COLUMNS},
        {{{"time", "2"}, {"task", "0"}}, noLevel(2)},
        {{{"time", "2"}, {"task", "-2"}}, noLevel(2)},
        {{{"time", "2"}, {"task", "none"}}, noLevel(2)},
        {{{"time", "11"}, {"task", "9091"}}, TOO_MANY}, // 100001
        // The product saturates instead of wrapping round to an accepted count.
        {{{"time", "1000"}, {"task", "2147483647"}}, TOO_MANY},
    };
    for (const auto& [rows, message] : cases) {
        UserSession session;
        std::string label;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            session.typeWithinVariable(static_cast<int>(r), rows[r].first, rows[r].second);
            label += rows[r].first + "=" + rows[r].second + " ";
        }
        SCOPED_TRACE(label);
        session.commands.getDataTable().setComboOptions({"between", "1"});
        ASSERT_FALSE(everyListIsEmpty(session)) << "lists of an earlier check";
        EXPECT_FALSE(session.commands.checkWithinVariables());
        EXPECT_EQ(session.takeErrors(), Texts{message});
        EXPECT_TRUE(everyListIsEmpty(session));
    }
}

TEST(CheckWithinVariables, ExactlyTheMostCombinationsAreOffered)
{
    UserSession session;
    session.typeWithinVariable(0, "time", "1000");
    session.typeWithinVariable(1, "task", "100");
    EXPECT_TRUE(session.commands.checkWithinVariables());
    EXPECT_EQ(offeredRoles(session, 0).size(), 100001U);
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

TEST(CheckWithinVariables, ClickingACombinationCellOffersBetweenThenTheCurrentLabels)
{
    UserSession session;
    UserGridCtrl& data = session.commands.getDataTable();
    session.typeWithinVariable(0, "time", "2");
    EXPECT_TRUE(data.beginEdit(UserGridCtrl::comboRow, data.toGridColumn(3)));
    EXPECT_EQ(offeredRoles(session, 3), (Texts{"between", "1", "2"}));

    ASSERT_TRUE(session.commands.insertVariableRow()) << "the click removed the empty rows";
    session.typeWithinVariable(1, "task", "3");
    EXPECT_TRUE(data.beginEdit(UserGridCtrl::comboRow, data.toGridColumn(3)));
    EXPECT_TRUE(session.sink.messages.empty());
    const Texts expected{"between", "1, 1", "1, 2", "1, 3", "2, 1", "2, 2", "2, 3"};
    for (int c = 0; c < 17; ++c)
        EXPECT_EQ(offeredRoles(session, c), expected) << "column " << c;
}

TEST(CheckWithinVariables, ClickingShowsTheCheckMessageAndEditingGoesOn)
{
    UserSession session;
    UserGridCtrl& data = session.commands.getDataTable();
    session.typeWithinVariable(0, "time", "");
    EXPECT_TRUE(data.beginEdit(UserGridCtrl::comboRow, data.toGridColumn(0)));
    EXPECT_EQ(session.takeErrors(), Texts{BOTH_COLUMNS});
    EXPECT_TRUE(data.endEdit(UserGridCtrl::comboRow, data.toGridColumn(0), "1"));
    EXPECT_EQ(data.getText(-2, 0), "1");
    EXPECT_FALSE(data.beginEdit(data.toGridRow(-3), data.toGridColumn(0)))
        << "the column-number row is not edited";
    EXPECT_TRUE(data.beginEdit(data.toGridRow(-1), data.toGridColumn(0)));
    EXPECT_TRUE(session.sink.messages.empty()) << "only the combination row runs the check";
}

TEST(CheckColumnAssignment, RefusesTheFirstProblemInCheckingOrder)
{
    struct Case {
        Texts levels;         // of the within variables, top to bottom
        Texts roles;          // typed into data columns 0, 1, ... with the value 1
        std::string message;  // empty: accepted
        Texts names = {};     // of the columns; none given: every column is named
        int emptyColumn = -1; // a column typed without a value
    };
    const Case cases[] = {
        {{"2"}, {"1", ""}, noEntry(2)},
        // Empty columns are skipped; the numbers are those of the table.
        {{"2"}, {"1", "", ""}, noEntry(3), {"t1", "unused", "t2"}, 1},
        {{"1"}, {"between", "between", "1"}, ""},
        {{"2", "2"}, {"1, 2", "2, 2", "1, 2"}, sameCombination(1, 3)},
        {{"2", "2"}, {"2, 1", "1, 2", "1,2", "2, 2"}, sameCombination(2, 3)},
        {{"2"}, {"1", "2", "2", "1"}, sameCombination(1, 4)},
        {{"2", "2"}, {"1, 1", "between", "3, 1"}, invalidLabel(3)},
        {{"2", "2"}, {"1, 1", "between", "Between"}, invalidLabel(3)},
        {{"2"}, {"7", ""}, noEntry(2)},
        {{"2"}, {"1", "1", "x"}, invalidLabel(3)},
        {{"2", "2"}, {"1, 1", "1, 2", "between", "2, 1"}, NOT_EVERY_LEVEL},
        {{"2", "2"}, {"1, 1", "1, 2", "between", "2, 1", "2, 2"}, ""},
        {{"2"}, {"1", "2"}, NOT_EVERY_LEVEL, {}, 1},
        // A missing name is reported only after every other check has passed.
        {{"2"}, {"1", "2", "between", ""}, noEntry(4), {"a", "", "", ""}},
        {{"2"}, {"1", "2", "between", "1"}, sameCombination(1, 4), {"a", "", "", ""}},
        {{"2"}, {"1", "2", "between", "between"}, "Column 2 is not named correctly!",
         {"a", "", "", ""}},
    };
    for (const Case& test : cases) {
        std::string trace = "roles:";
        for (const std::string& role : test.roles)
            trace += " '" + role + "'";
        SCOPED_TRACE(trace);
        UserSession session;
        for (std::size_t r = 0; r < test.levels.size(); ++r)
            session.typeWithinVariable(static_cast<int>(r), "V" + std::to_string(r),
                                       test.levels[r]);
        for (std::size_t c = 0; c < test.roles.size(); ++c) {
            const int column = static_cast<int>(c);
            session.typeColumn(column, test.roles[c],
                               test.names.empty() ? "c" + std::to_string(c) : test.names[c],
                               column == test.emptyColumn ? Texts{} : Texts{"1"});
        }
        EXPECT_EQ(session.commands.checkColumnAssignment(), test.message.empty());
        EXPECT_EQ(session.takeErrors(), test.message.empty() ? Texts{} : Texts{test.message});
    }
}

TEST(CheckColumnAssignment, ChangesNoCellOfTheDataTable)
{
    UserSession session;
    typeMixedDesign(session);
    UserGridCtrl& data = session.commands.getDataTable();
    Texts rolesBefore;
    data.getCombinationTexts(rolesBefore);
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
    EXPECT_EQ(session.takeErrors(), Texts{NO_VARIABLE}) << "the click on the combination cell";
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeErrors(), Texts{NO_VARIABLE}) << "the column check does not run";

    session.typeWithinVariable(0, "B", "2");
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeErrors(), Texts{noEntry(1)});
    EXPECT_EQ(session.commands.getResultsTable().getRowCount(), 0);
}
