// "Compute statistics" from the typed tables to the results table.
#include "tests/support/UserSession.h"

#include "app/ComputeFailureMessage.h"
#include "app/ResultsTable.h"
#include "stats/Availability.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

/// The names of the effects in the results table, one per block.
Texts effectNames(GeneralGridCtrl& results)
{
    Texts names;
    for (int r = 0; r < results.getDataRowCount(); r += ROWS_PER_EFFECT)
        names.push_back(results.getText(r, 0));
    return names;
}

} // namespace

TEST(ComputeStatistics, EveryEffectGetsABlockOfTenRows)
{
    UserSession session;
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    GeneralGridCtrl& results = session.commands.getResultsTable();
    EXPECT_EQ(results.getRowCount(), 7 * 10) << "no fixed rows";
    EXPECT_EQ(session.resultsRow(0),
              (Texts{"C", "", "value", "F", "df1", "df2", "p", "partial η²", "noncentr.",
                     "MANOVA exact statistic", "choose for simulation"}));
    const Texts names{
        "ANOVA (uncorr.)",    "ANOVA (Greenhouse-Geisser)", "MANOVA (Pillai)",     "MANOVA (Wilks)",
        "MANOVA (Hotelling)", "ANOVA (Huynh-Feldt)",        "ANOVA (lower bound)", "MANOVA (Roy)"};
    for (int r = 1; r <= 8; ++r)
        EXPECT_EQ(session.resultsRow(r)[1], names[static_cast<std::size_t>(r - 1)]);
    EXPECT_EQ(session.resultsRow(9), Texts(11, ""));
    for (int r = 0; r < 10; ++r) {
        const bool analysis = r >= 1 && r <= 8;
        EXPECT_EQ(results.getCellType(r, CHOICE_COLUMN),
                  analysis ? CellType::TickBox : CellType::Plain)
            << r;
        EXPECT_FALSE(results.isCellChecked(r, CHOICE_COLUMN)) << r;
    }
}

TEST(ComputeStatistics, KeepsTheBlocksOfTheLastRunWhenACheckFails)
{
    UserSession session;
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    const Texts first = session.resultsRow(11);
    session.typeColumn(3, "1, 2", "", {});
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeErrors(), Texts{"Column 4 is not named correctly!"});
    EXPECT_EQ(session.resultsRow(11), first);
}

TEST(ComputeStatistics, UnreadableCellShowsTheTablesMessageOnly)
{
    UserSession session(',');
    typeMixedDesign(session);
    UserGridCtrl& data = session.commands.getDataTable();
    UserSession::type(data, data.toGridRow(5), data.toGridColumn(3), "8.2");
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeMessages(),
              (Texts{"In your regional settings ',' is selected as decimal separator."}));
    EXPECT_EQ(session.commands.getResultsTable().getRowCount(), 0);
}

// Each cause of a failed computation has a message of its own, and no results are shown.
// (An infinity cannot be typed: the table refuses it as no number.)
TEST(ComputeStatistics, FailedComputationNamesItsCause)
{
    const struct {
        const char* name;
        std::function<void(UserSession&)> change;
        const char* message;
    } cases[] = {
        {"empty group combination",
         [](UserSession& s) {
             s.typeColumn(5, "between", "D", {"1", "1", "1", "1", "2", "2", "2", "2"}); // as A
         },
         "Data cannot be computed: no participant belongs to the group combination A = 1, "
         "D = 2."},
        {"squares overflow", [](UserSession& s) { s.typeColumn(0, "1, 1", "b1c1", {"1e200"}); },
         "Data cannot be computed: the data are too large in magnitude, so that their sums of "
         "squares exceed the range of numbers. Please rescale them, e.g. by other units."},
    };
    for (const auto& c : cases) {
        UserSession session;
        typeMixedDesign(session);
        c.change(session);
        EXPECT_FALSE(session.commands.computeStatistics()) << c.name;
        EXPECT_EQ(session.takeErrors(), Texts{c.message}) << c.name;
        EXPECT_EQ(session.commands.getResultsTable().getRowCount(), 0) << c.name;
    }
}

// A variable with one level has no effect: a within variable of one level and a "between"
// column with one code drop out of the effect list, with every effect that involves them.
TEST(ComputeStatistics, VariablesWithOneLevelHaveNoEffects)
{
    const Texts y1{"1", "2", "3", "4", "5"};
    const struct {
        std::vector<Texts> levels; // the values at each level of w
        Texts groups;              // none: no group column
        Texts effects;
    } cases[] = {
        {{y1}, {}, {}},
        {{y1}, {"1", "1", "2", "2", "2"}, {"g"}},
        {{y1, {"2", "2", "5", "3", "7"}}, {"7", "7", "7", "7", "7"}, {"w"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.effects));
        UserSession session;
        const int levels = static_cast<int>(c.levels.size());
        session.typeWithinVariable(0, "w", std::to_string(levels));
        for (int k = 0; k < levels; ++k)
            session.typeColumn(k, std::to_string(k + 1), "y",
                               c.levels[static_cast<std::size_t>(k)]);
        if (!c.groups.empty())
            session.typeColumn(levels, "between", "g", c.groups);
        EXPECT_EQ(session.commands.computeStatistics(), !c.effects.empty());
        EXPECT_EQ(effectNames(session.commands.getResultsTable()), c.effects);
        EXPECT_EQ(session.takeErrors(), c.effects.empty() ? Texts{NO_EFFECT_MESSAGE} : Texts{});
    }
}

// Three levels and two participants: E of rank 1 for t = 2. The MANOVA rows show "-" with
// the reason as every cell's tool tip; the ANOVA rows their numbers.
TEST(ComputeStatistics, AnalysisNotAvailableShowsDashesAndTheReason)
{
    UserSession session;
    session.typeWithinVariable(0, "time", "3");
    session.typeColumn(0, "1", "a", {"1", "2"});
    session.typeColumn(1, "2", "b", {"2", "4"});
    session.typeColumn(2, "3", "c", {"3", "3"});
    ASSERT_TRUE(session.commands.computeStatistics());
    GeneralGridCtrl& results = session.commands.getResultsTable();
    const std::string singular(availabilityReason(Availability::SingularErrorMatrix));
    // N - r = 1: E has rank 1, ε = 1/t and the Huynh-Feldt estimate is 0/0.
    const std::string undefined(availabilityReason(Availability::UndefinedStatistic));
    const Texts reasons{"", "", singular, singular, singular, undefined, "", singular};
    for (int r = 1; r <= 8; ++r) {
        const std::string& reason = reasons[static_cast<std::size_t>(r - 1)];
        const Texts row = session.resultsRow(r);
        for (int c = 1; c < CHOICE_COLUMN; ++c) {
            EXPECT_EQ(results.getCellToolTip(results.toGridRow(r), results.toGridColumn(c)), reason)
                << r << ", " << c;
        }
        for (int c = 3; c <= 8; ++c)
            EXPECT_EQ(row[static_cast<std::size_t>(c)] == "-", !reason.empty()) << r << ", " << c;
    }
    EXPECT_EQ(session.resultsRow(3)[2], "-");
    EXPECT_EQ(session.resultsRow(3)[9], "-");
    EXPECT_EQ(session.resultsRow(0)[1], "Mauchly: -");
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
