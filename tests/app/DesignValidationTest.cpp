// The checks of the input tables, run on a click into a combination cell and on compute.
#include "tests/support/UserSession.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

constexpr const char* NO_VARIABLE =
    "Please specify at least one measurment variable and assign columns to it.";
constexpr const char* TOO_MANY =
    "Please specify at most 2500 combinations of levels of the measurement variables!";

const Texts& offeredRoles(UserSession& session, int c)
{
    UserGridCtrl& data = session.commands.getDataTable();
    return data.getCellOptions(UserGridCtrl::comboRow, data.toGridColumn(c));
}

} // namespace

TEST(CheckWithinVariables, RefusalNamesTheFirstProblemAndEmptiesTheDropDownLists)
{
    using Rows = std::vector<std::pair<std::string, std::string>>; // name, levels
    const std::pair<Rows, std::string> cases[] = {
        {{}, NO_VARIABLE},
        {{{"time", "0"}, {"task", ""}}, // both cells of every row before any level count
         "For defining within-variables please fill out both columns of each row ."},
        {{{"time", "2"}, {"task", "0"}},
         "Please specify a number of levels of at least 1 for the within-variable in row 2!"},
        {{{"time", "50"}, {"task", "51"}}, TOO_MANY},
        {{{"time", "1000"}, {"task", "2147483647"}}, TOO_MANY}, // saturates, no wrap-round
        {{{"time", "2"},
          {"task", "3"},
          {"time", "2"}}, // effects "time" and "time" cannot be told apart
         "The within variables in rows 1 and 3 are both named \"time\"! Every variable needs a "
         "name of its own."},
    };
    for (const auto& [rows, message] : cases) {
        SCOPED_TRACE(message);
        UserSession session;
        for (std::size_t r = 0; r < rows.size(); ++r)
            session.typeWithinVariable(static_cast<int>(r), rows[r].first, rows[r].second);
        session.commands.getDataTable().setComboOptions({"between", "1"});
        EXPECT_FALSE(session.commands.checkWithinVariables());
        EXPECT_EQ(session.takeErrors(), Texts{message});
        EXPECT_TRUE(rows.empty() || offeredRoles(session, 16).empty());
    }
}

TEST(CheckWithinVariables, ExactlyTheMostCombinationsAreOffered)
{
    UserSession session;
    session.typeWithinVariable(0, "time", "2");
    session.typeWithinVariable(1, "task", "1250");
    EXPECT_TRUE(session.commands.checkWithinVariables());
    EXPECT_EQ(offeredRoles(session, 0).size(), 2501U) << "with \"between\"";
}

TEST(CheckColumnAssignment, RefusesTheFirstProblemInCheckingOrder)
{
    struct Case {
        Texts roles;         // of data columns 0, 1, ... for within levels {2, 2}
        std::string message; // empty: accepted
        Texts names = {};    // none given: every column is named; unnamed without role: empty
    };
    const Case cases[] = {
        {{"1, 1", "", ""}, "No entry chosen for column 3!", {"a", "", "c"}}, // empty ones skipped
        {{"2, 1", "1, 2", "1,2", "2, 2"},
         "Columns 2 and 3 are assigned to the same combination of measurement variables!"},
        {{"1, 1", "between", "Between"},
         "Column 3 is not assigned to a valid combination of measurement variables!"},
        // A missing name is reported only after every other check has passed.
        {{"1, 1", "1, 2", "between", "2, 1"},
         "Not every level (combination) of measurement variables has been assigned a column!",
         {"a", "", "c", "d"}},
        {{"1, 1", "1, 2", "between", "2, 1", "2, 2"}, ""},
        {{"1, 1", "1, 2", "between", "2, 1", "2, 2"},
         "Column 2 is not named correctly!",
         {"a", "", "c", "d", "e"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.message);
        UserSession session;
        session.typeWithinVariable(0, "B", "2");
        session.typeWithinVariable(1, "C", "2");
        for (std::size_t c = 0; c < test.roles.size(); ++c) {
            const std::string name = test.names.empty() ? "c" : test.names[c];
            session.typeColumn(static_cast<int>(c), test.roles[c], name,
                               name.empty() && test.roles[c].empty() ? Texts{} : Texts{"1"});
        }
        EXPECT_EQ(session.commands.checkColumnAssignment(), test.message.empty());
        EXPECT_EQ(session.takeErrors(), test.message.empty() ? Texts{} : Texts{test.message});
    }
}

TEST(ComputeStatisticsChecks, RunInOrderAndStopAtTheFirstFailure)
{
    UserSession session;
    session.typeColumn(0, "", "", {"1"});
    EXPECT_EQ(session.takeErrors(), Texts{NO_VARIABLE}) << "the click on the combination cell";
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeErrors(), Texts{NO_VARIABLE}) << "the column check does not run";
    EXPECT_EQ(session.commands.getWithinTable().getDataRowCount(), 20) << "set up anew";
    session.typeWithinVariable(0, "B", "2");
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeErrors(), Texts{"No entry chosen for column 1!"});
}

// Effects are named after their variables, and participants are grouped by int codes:
// names must differ, codes be whole numbers in the int range, so that no two variables or
// groups merge.
TEST(CheckColumnAssignment, RefusesSharedNamesCodesThatAreNoIntsAndATableWithoutData)
{
    struct Column {
        std::string role;
        std::string name;
        Texts values;
    };
    const Texts ys = {"1", "2", "3"};
    const auto groups = [&](Texts codes, const std::string& name = "g") {
        return std::vector<Column>{
            {"between", name, std::move(codes)}, {"1", "y1", ys}, {"2", "y2", ys}};
    };
    const std::string NO_CODE = "\", which is no group code! A group variable takes whole numbers "
                                "from -2147483648 to 2147483647.";
    const struct {
        std::vector<Column> columns;
        std::string message; // empty: accepted
    } cases[] = {
        {groups({"-2147483648", "2147483647", "2.0"}), ""},
        {groups({"3000000000", "4000000000", "1"}),
         "Row 1 of column 1 holds \"3000000000" + NO_CODE},
        {groups({"1", "2147483648", "1"}), "Row 2 of column 1 holds \"2147483648" + NO_CODE},
        {groups({"1", "2", "-2147483649"}), "Row 3 of column 1 holds \"-2147483649" + NO_CODE},
        {groups({"1", "1.5", "2"}), "Row 2 of column 1 holds \"1.5" + NO_CODE},
        {groups({"1", "1e400", "2"}), "Row 2 of column 1 holds \"1e400" + NO_CODE},
        {groups({"1", "2", "1"}, "B"),
         "Column 1 is a group variable named \"B\" like a within variable! Every variable needs "
         "a name of its own."},
        {{{"between", "g", ys}, {"1", "y1", ys}, {"between", "g", ys}, {"2", "y2", ys}},
         "Columns 1 and 3 are both group variables named \"g\"! Every variable needs a name of "
         "its own."},
        // A file of names only: no column holds data, which is not an unassigned level.
        {{{"1", "y1", {}}, {"2", "y2", {}}},
         "Data grid is empty. Please enter or import the participants' data."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        UserSession session;
        session.typeWithinVariable(0, "B", "2");
        for (std::size_t k = 0; k < c.columns.size(); ++k) {
            const Column& column = c.columns[k];
            session.typeColumn(static_cast<int>(k), column.role, column.name, column.values);
        }
        EXPECT_EQ(session.commands.checkColumnAssignment(), c.message.empty());
        EXPECT_EQ(session.takeErrors(), c.message.empty() ? Texts{} : Texts{c.message});
    }
}
