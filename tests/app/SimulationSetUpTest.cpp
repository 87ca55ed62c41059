// Choosing one analysis in the results table and preparing the engines for its simulation.
#include "UserSession.h"

#include "app/ResultsTable.h"
#include "numeric/NumberText.h"
#include "stats/AnalysisIndex.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char* NO_ANALYSIS = "No analysis chosen for simulation.";
constexpr const char* ONLY_ONE = "Only one analysis may be chosen for simulation.";
constexpr const char* TABLES_CHANGED =
    "The tables have changed since the statistics were computed. Please compute the "
    "statistics again before opening the simulation window.";

/// The mixed design, computed: blocks C, B, B x C, A, A x C, A x B, A x B x C.
class SimulationSetUp : public ::testing::Test {
protected:
    void SetUp() override
    {
        typeMixedDesign(session);
        ASSERT_TRUE(session.commands.computeStatistics());
    }

    /// The analysis rows of block k as the results table shows them.
    Texts shownRow(int k, AnalysisIndex analysis)
    {
        return session.resultsRow(7 * k + 1 + analysis);
    }

    UserSession session{'.', 2};
};

/// The texts the results table would show for the engine's Wilks test.
Texts wilksNumbers(const Anova& engine)
{
    const WilksTest& test = engine.getWilksTest();
    Texts texts;
    for (double value : {test.value, test.F, test.df1, test.df2, test.p, test.noncentrality})
        texts.push_back(formatNumber(value, "%.4f", DecimalSeparator('.')));
    return texts;
}

} // namespace

TEST(ChooseAnalysis, BeforeAnyComputeNoAnalysisIsChosen)
{
    UserSession session;
    EXPECT_EQ(session.commands.chooseAnalysis(), std::nullopt);
    ASSERT_EQ(session.sink.messages.size(), 1U);
    EXPECT_EQ(session.sink.messages[0].title, "Error");
    EXPECT_EQ(session.sink.messages[0].text, NO_ANALYSIS);
    EXPECT_EQ(session.sink.messages[0].icon, MessageIcon::Error);
    EXPECT_FALSE(session.commands.setUpSimulation());
}

TEST_F(SimulationSetUp, WithoutATickNoAnalysisIsChosen)
{
    EXPECT_EQ(session.commands.chooseAnalysis(), std::nullopt);
    EXPECT_EQ(session.takeMessages(), Texts{NO_ANALYSIS});
}

TEST_F(SimulationSetUp, TicksInRowsOneAndTenAreTooMany)
{
    session.tick(1);
    session.tick(10);
    EXPECT_EQ(session.commands.chooseAnalysis(), std::nullopt);
    ASSERT_EQ(session.sink.messages.size(), 1U);
    EXPECT_EQ(session.sink.messages[0].title, "Error");
    EXPECT_EQ(session.sink.messages[0].text, ONLY_ONE);
    EXPECT_EQ(session.sink.messages[0].icon, MessageIcon::Error);
    EXPECT_FALSE(session.commands.setUpSimulation());
    EXPECT_EQ(session.takeMessages(), (Texts{ONLY_ONE, ONLY_ONE}));
}

TEST_F(SimulationSetUp, OnlyRowElevenIsTheWilksTestOfTheSecondEffect)
{
    session.tick(11);
    const std::optional<AnalysisChoice> choice = session.commands.chooseAnalysis();
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->effectNumber, 2);
    EXPECT_EQ(choice->analysisIndex, 3);
    EXPECT_EQ(choice->effectName, "B");
    EXPECT_TRUE(session.sink.messages.empty());
}

TEST_F(SimulationSetUp, HeaderRowsAndEmptyRowsAreNoChoice)
{
    GeneralGridCtrl& results = session.commands.getResultsTable();
    for (int r : {0, 6, 7, 13})
        results.setCellChecked(r, CHOICE_COLUMN, true);
    EXPECT_EQ(session.commands.chooseAnalysis(), std::nullopt);
    EXPECT_EQ(session.takeMessages(), Texts{NO_ANALYSIS});

    session.tick(47);
    const std::optional<AnalysisChoice> choice = session.commands.chooseAnalysis();
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->effectNumber, 7);
    EXPECT_EQ(choice->analysisIndex, 4);
    EXPECT_EQ(choice->effectName, "A x B x C");
}

TEST_F(SimulationSetUp, PreparesEveryEngineForTheChosenEffect)
{
    // Block 4 (index) is A x C: between flag 1, within flags (0, 1).
    session.tick(7 * 4 + 1 + AnalysisWilks);
    ASSERT_TRUE(session.commands.setUpSimulation());
    EXPECT_TRUE(session.sink.messages.empty());
    EXPECT_EQ(session.commands.getSimulationParameters().analysisIndex, AnalysisWilks);
    EXPECT_EQ(session.commands.getSimulatedEffectName(), "A x C");
    EXPECT_EQ(session.commands.getDesign().getEffectBetween(), (std::vector<int>{1}));
    EXPECT_EQ(session.commands.getDesign().getEffectWithin(), (std::vector<int>{0, 1}));

    // The engines are prepared, not computed: computing them now reproduces the block.
    Texts shown = shownRow(4, AnalysisWilks);
    shown = Texts(shown.begin() + 2, shown.begin() + 8);
    for (int i = 0; i < 2; ++i) {
        Anova& engine = session.commands.getEngine(i);
        ASSERT_TRUE(engine.compute());
        EXPECT_EQ(wilksNumbers(engine), shown) << "engine " << i;
    }
}

TEST_F(SimulationSetUp, LeavesTheOtherParametersAlone)
{
    session.tick(2);
    ASSERT_TRUE(session.commands.setUpSimulation());
    const SimulationParameters& parameters = session.commands.getSimulationParameters();
    EXPECT_EQ(parameters.analysisIndex, AnalysisAnovaGreenhouseGeisser);
    EXPECT_EQ(parameters.numberOfPasses, 10000);
    EXPECT_EQ(parameters.useCustomMatrices, 0);
    EXPECT_EQ(session.commands.getSimulatedEffectName(), "C");
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
    ASSERT_EQ(session.sink.messages.size(), 1U);
    EXPECT_EQ(session.sink.messages[0].title, "Error");
    EXPECT_EQ(session.sink.messages[0].text, TABLES_CHANGED);
    EXPECT_EQ(session.sink.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(session.commands.getSimulationParameters().analysisIndex, 2) << "unchanged";
    EXPECT_EQ(session.commands.getSimulatedEffectName(), "");

    ASSERT_TRUE(session.commands.computeStatistics());
    session.tick(1 + AnalysisPillai);
    EXPECT_TRUE(session.commands.setUpSimulation());
}

TEST_F(SimulationSetUp, RenamedVariableSinceTheComputeAsksToComputeAgain)
{
    session.tick(7 * 2 + 1);
    session.typeWithinVariable(1, "cue", "2");
    EXPECT_FALSE(session.commands.setUpSimulation());
    EXPECT_EQ(session.takeMessages(), Texts{TABLES_CHANGED});
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
    EXPECT_EQ(session.takeMessages(), Texts{TABLES_CHANGED});
}

TEST_F(SimulationSetUp, TablesThatFailTheChecksAreNotRead)
{
    session.tick(1);
    session.typeColumn(3, "1, 3", "b1c2", {});
    EXPECT_FALSE(session.commands.setUpSimulation());
    EXPECT_EQ(session.takeMessages(),
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
