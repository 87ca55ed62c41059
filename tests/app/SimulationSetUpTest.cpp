// Choosing one analysis in the results table and preparing the engines for its simulation.
#include "UserSession.h"

#include "app/ResultsTable.h"
#include "numeric/NumberText.h"
#include "stats/AnalysisIndex.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char* NO_ANALYSIS = "No analysis chosen for simulation.";
constexpr const char* TABLES_CHANGED =
    "The tables have changed since the statistics were computed. Please compute the "
    "statistics again before opening the simulation window.";

/// The mixed design, computed: blocks C, B, B x C, A, A x C, A x B, A x B x C of seven rows.
class SimulationSetUp : public ::testing::Test {
protected:
    void SetUp() override
    {
        typeMixedDesign(session);
        ASSERT_TRUE(session.commands.computeStatistics());
    }

    UserSession session{'.', 2};
};

} // namespace

TEST(ChooseAnalysis, BeforeAnyComputeNoAnalysisIsChosen)
{
    UserSession session;
    EXPECT_EQ(session.commands.chooseAnalysis(), std::nullopt);
    EXPECT_EQ(session.takeErrors(), Texts{NO_ANALYSIS});
    EXPECT_FALSE(session.commands.setUpSimulation());
}

TEST_F(SimulationSetUp, TheOneTickedAnalysisRowIsChosen)
{
    struct Case {
        std::vector<int> ticked; // data rows of the results table
        int effectNumber;        // 0: no choice
        int analysisIndex;
        std::string nameOrMessage;
    };
    const Case cases[] = {
        {{11}, 2, AnalysisWilks, "B"},
        {{47}, 7, AnalysisHotelling, "A x B x C"},
        {{}, 0, 0, NO_ANALYSIS},
        {{0, 6, 7, 13}, 0, 0, NO_ANALYSIS}, // block headers and empty rows hold no box
        {{0, 6, 7, 13, 47}, 7, AnalysisHotelling, "A x B x C"},
        {{1, 10}, 0, 0, "Only one analysis may be chosen for simulation."},
    };
    GeneralGridCtrl& results = session.commands.getResultsTable();
    for (const Case& test : cases) {
        for (int r = 0; r < results.getDataRowCount(); ++r)
            results.setCellChecked(r, CHOICE_COLUMN, false);
        std::string ticked = "ticked:";
        for (int r : test.ticked) {
            session.tick(r);
            ticked += " " + std::to_string(r);
        }
        SCOPED_TRACE(ticked);
        const std::optional<AnalysisChoice> choice = session.commands.chooseAnalysis();
        if (test.effectNumber == 0) {
            EXPECT_EQ(choice, std::nullopt);
            EXPECT_EQ(session.takeErrors(), Texts{test.nameOrMessage});
            continue;
        }
        ASSERT_TRUE(choice.has_value());
        EXPECT_EQ(choice->effectNumber, test.effectNumber);
        EXPECT_EQ(choice->analysisIndex, test.analysisIndex);
        EXPECT_EQ(choice->effectName, test.nameOrMessage);
        EXPECT_TRUE(session.sink.messages.empty());
    }
}

TEST_F(SimulationSetUp, PreparesEveryEngineForTheChosenEffect)
{
    // Block 4 (from 0) is A x C: between flag 1, within flags (0, 1).
    session.tick(7 * 4 + 1 + AnalysisWilks);
    ASSERT_TRUE(session.commands.setUpSimulation());
    EXPECT_TRUE(session.sink.messages.empty());
    const SimulationParameters& parameters = session.commands.getSimulationParameters();
    EXPECT_EQ(parameters.analysisIndex, AnalysisWilks);
    EXPECT_EQ(parameters.numberOfPasses, 10000) << "the other parameters stay";
    EXPECT_EQ(session.commands.getSimulatedEffectName(), "A x C");
    EXPECT_EQ(session.commands.getDesign().getEffectBetween(), (std::vector<int>{1}));
    EXPECT_EQ(session.commands.getDesign().getEffectWithin(), (std::vector<int>{0, 1}));

    // The engines are prepared, not computed: computing them now reproduces the block.
    const Texts shown = session.resultsRow(7 * 4 + 1 + AnalysisWilks);
    for (int i = 0; i < 2; ++i) {
        Anova& engine = session.commands.getEngine(i);
        ASSERT_TRUE(engine.compute());
        const WilksTest& test = engine.getWilksTest();
        const double values[] = {test.value, test.F, test.df1,
                                 test.df2, test.p, test.noncentrality};
        for (std::size_t c = 0; c < 6; ++c)
            EXPECT_EQ(formatNumber(values[c], "%.4f", DecimalSeparator('.')), shown[c + 2]) << i;
    }
}

TEST_F(SimulationSetUp, ReadsTheCurrentValuesOfTheTables)
{
    session.tick(1 + AnalysisPillai);
    UserGridCtrl& data = session.commands.getDataTable();
    UserSession::type(data, data.toGridRow(0), data.toGridColumn(2), "19.5");
    ASSERT_TRUE(session.commands.setUpSimulation());
    EXPECT_EQ(session.commands.getDesign().getY().get(0, 3), 19.5) << "b2c2 of participant 1";
}

TEST_F(SimulationSetUp, AnotherVariableSinceTheComputeAsksToComputeAgain)
{
    session.tick(1 + AnalysisPillai);
    ASSERT_TRUE(session.commands.insertColumn());
    session.typeColumn(5, "between", "D", {"1", "2", "1", "2", "1", "2", "1", "2"});
    EXPECT_FALSE(session.commands.setUpSimulation());
    EXPECT_EQ(session.takeErrors(), Texts{TABLES_CHANGED});
    EXPECT_EQ(session.commands.getSimulationParameters().analysisIndex, 2) << "unchanged";
    EXPECT_EQ(session.commands.getSimulatedEffectName(), "");

    ASSERT_TRUE(session.commands.computeStatistics());
    session.tick(1 + AnalysisPillai);
    EXPECT_TRUE(session.commands.setUpSimulation());
}

TEST_F(SimulationSetUp, BetweenVariableTurnedWithinAsksToComputeAgain)
{
    // As many variables as before, so the effect table has the same rows, but A is now a
    // within variable: effect 1 is A, no longer C.
    session.tick(1);
    UserGridCtrl& data = session.commands.getDataTable();
    data.deleteDataColumn(1);
    ASSERT_TRUE(session.commands.insertVariableRow());
    session.typeWithinVariable(2, "A", "1");
    for (int c = 0; c < 4; ++c) {
        const std::string role = data.getText(-2, c);
        UserSession::type(data, data.toGridRow(-2), data.toGridColumn(c), role + ", 1");
    }
    EXPECT_FALSE(session.commands.setUpSimulation());
    EXPECT_EQ(session.takeErrors(), Texts{TABLES_CHANGED});
}

TEST_F(SimulationSetUp, TablesThatFailTheChecksAreNotRead)
{
    session.tick(1);
    session.typeColumn(3, "1, 3", "b1c2", {});
    EXPECT_FALSE(session.commands.setUpSimulation());
    EXPECT_EQ(session.takeErrors(),
              Texts{"Column 4 is not assigned to a valid combination of measurement variables!"});
    EXPECT_EQ(session.commands.getDesign().getEffectWithin(), (std::vector<int>{1, 1}))
        << "the design of the last effect computed";
}

TEST_F(SimulationSetUp, UnreadableCellShowsOnlyTheTablesMessage)
{
    session.tick(1);
    UserGridCtrl& data = session.commands.getDataTable();
    UserSession::type(data, data.toGridRow(2), data.toGridColumn(0), "6,2");
    EXPECT_FALSE(session.commands.setUpSimulation());
    EXPECT_EQ(session.takeMessages(),
              Texts{"In your regional settings '.' is selected as decimal separator."});
}
