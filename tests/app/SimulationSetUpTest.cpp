// Choosing one analysis in the results table and preparing the engines for its simulation.
#include "tests/support/UserSession.h"

#include "app/ResultsTable.h"
#include "numeric/NumberText.h"
#include "stats/AnalysisIndex.h"
#include "tests/support/TableTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

TEST(SimulationSetUp, TheOneTickedAnalysisRowIsChosen)
{
    UserSession session;
    EXPECT_FALSE(session.commands.setUpSimulation()) << "before any compute";
    EXPECT_EQ(session.takeErrors(), Texts{"No analysis chosen for simulation."});
    typeMixedDesign(session); // blocks C, B, B x C, A, A x C, A x B, A x B x C
    ASSERT_TRUE(session.commands.computeStatistics());
    const std::pair<std::vector<int>, std::string> cases[] = {
        // ticked rows, choice
        {{0, 9, 14}, "B/2/" + std::to_string(AnalysisWilks)}, // headers and gaps hold no box
        {{0, 9, 18}, "B/2/" + std::to_string(AnalysisRoy)},
        {{0, 9, 10, 19}, "No analysis chosen for simulation."},
        {{1, 13}, "Only one analysis may be chosen for simulation."},
    };
    GeneralGridCtrl& results = session.commands.getResultsTable();
    for (const auto& [ticked, expected] : cases) {
        for (int r = 0; r < results.getDataRowCount(); ++r)
            results.setCellChecked(r, CHOICE_COLUMN, false);
        for (int r : ticked)
            results.setCellChecked(r, CHOICE_COLUMN, true);
        const std::optional<AnalysisChoice> choice = session.commands.chooseAnalysis();
        const Texts errors = session.takeErrors();
        EXPECT_EQ(choice ? choice->effectName + "/" + std::to_string(choice->effectNumber) + "/" +
                               std::to_string(choice->analysisIndex)
                         : errors.at(0),
                  expected);
        EXPECT_EQ(errors.size(), choice ? 0u : 1u);
    }
}

TEST(SimulationSetUp, PreparesEveryEngineForTheChosenEffectUnlessTheTablesChangedAndResetKeepsIt)
{
    EXPECT_EQ(UserSession('.', 0).commands.getEngineCount(), 1) << "at least one engine";
    UserSession session('.', 2);
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    const int row = ROWS_PER_EFFECT * 4 + 1 + AnalysisWilks; // A x C
    session.commands.getResultsTable().setCellChecked(row, CHOICE_COLUMN, true);
    ASSERT_TRUE(session.commands.setUpSimulation());
    EXPECT_EQ(session.commands.getSimulationParameters().analysisIndex, AnalysisWilks);
    EXPECT_EQ(session.commands.getSimulatedEffectName(), "A x C");
    for (int i = 0; i < 2; ++i) { // prepared, not computed: computing reproduces the row
        ASSERT_TRUE(session.commands.getEngine(i).compute());
        EXPECT_EQ(formatNumber(session.commands.getEngine(i).getWilksTest().F, "%.4f",
                               DecimalSeparator('.')),
                  session.resultsRow(row)[3]);
    }
    UserGridCtrl& data = session.commands.getDataTable();
    UserSession::type(data, data.toGridRow(0), data.toGridColumn(2), "19.5");
    ASSERT_TRUE(session.commands.setUpSimulation());
    EXPECT_EQ(session.commands.getDesign().getY().get(0, 3), 19.5) << "b2c2 of participant 1";
    data.setSelectedRange(CellRange{});
    ASSERT_TRUE(session.commands.insertColumn());
    session.typeColumn(5, "between", "D", {"1", "2", "1", "2", "1", "2", "1", "2"});
    EXPECT_FALSE(session.commands.setUpSimulation());
    EXPECT_EQ(session.takeErrors(),
              Texts{"The tables have changed since the statistics were computed. Please "
                    "compute the statistics again before opening the simulation window."});

    // "Reset grids" restores the starting tables but keeps the last run.
    session.commands.resetGrids();
    EXPECT_EQ(rowTexts(data, -1), Texts(17, ""));
    EXPECT_EQ(session.commands.getResultsTable().getRowCount(), 0);
    EXPECT_EQ(session.commands.getEffectTable().getRows(), 8);
    EXPECT_EQ(session.commands.getSimulationParameters().analysisIndex, AnalysisWilks);
}
