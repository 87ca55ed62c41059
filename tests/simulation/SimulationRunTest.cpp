// The run control over worker threads, and a simulated alpha against theory.

#include "tests/support/SimulationTestSupport.h"
#include "simulation/SimulationRun.h"
#include "stats/AnalysisIndex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>

namespace {

// Engines and one run over them whose messages are recorded.
struct EnginePool {
    explicit EnginePool(std::int32_t count) : run(makeEngines(count), messages, DecimalSeparator())
    {
    }

    std::vector<Anova*> makeEngines(std::int32_t count)
    {
        std::vector<Anova*> pointers;
        for (std::int32_t i = 0; i < count; ++i) {
            pointers.push_back(&engines.emplace_back(i).engine);
        }
        return pointers;
    }

    // Seeds every engine with seed + its thread index.
    void load(const DataTable& table, const std::vector<int>& betweenFlags,
              const std::vector<int>& withinFlags, std::uint32_t seed = 1u)
    {
        for (LoadedEngine& loaded : engines) {
            ASSERT_TRUE(loaded.load(table, betweenFlags, withinFlags));
            const auto index = static_cast<std::uint32_t>(loaded.engine.getThreadIndex());
            loaded.engine.getGenerator().seed(seed + index);
        }
    }

    std::deque<LoadedEngine> engines;
    RecordingMessageSink messages;
    // Last, so that it is destroyed before the engines and the messages it refers to.
    SimulationRun run;
};

} // namespace

TEST(PassesPerThread, EveryThreadRunsOneMoreThanItsEvenShare)
{
    EXPECT_EQ(SimulationRun::passesPerThread(10, 4), 3);
    EXPECT_EQ(SimulationRun::passesPerThread(1, 16), 1);
    EXPECT_EQ(SimulationRun::passesPerThread(2000000000, 1), 2000000001);
}

TEST(SimulationRunControl, SplitsThePassesAndAddsTheCountsUp)
{
    // The observed sample is significant at alpha 0.99: 10 passes on 4 threads run 3 each.
    EnginePool pool(4);
    pool.load(pairedTable(), {0}, {1});
    SimulationParameters parameters;
    parameters.numberOfPasses = 10;
    parameters.criticalAlpha = 0.99;
    parameters.maxAdditionalInspections = 0;
    const SimulationResult& result = pool.run.runSimulation(parameters, Preferences(), [] {});
    EXPECT_EQ(result.outcome, SimulationOutcome::Completed);
    EXPECT_EQ(result.actualPasses, 12);
    EXPECT_EQ(result.significantTotal, 12);
    EXPECT_EQ(pool.engines[3].engine.getSignificantCount(), 3);
}

TEST(SimulationRunControl, FailedRunsEndWithTheirOutcomeAndMessage)
{
    const TemporaryFile present("0.5 -0.5");
    const struct {
        DataTable table;
        std::vector<int> betweenFlags;
        Preferences preferences;
        SimulationOutcome outcome;
        std::string message;
    } cases[] = {
        {tableOf(2, {2}, {{1, 1, 1.0, 2.0}, {1, 2, 3.0, 2.0}, {2, 1, 2.0, 4.0}}), {1, 0},
         Preferences(), SimulationOutcome::Refused,
         "A combination of the group variables has no participants. Every group combination "
         "needs participants for a simulation.\n\nSimulation not started."},
        {tableOf(1, {2}, {{1, 1.0, 2.0}, {1, 2.0, 2.5}, {1, 4.0, 3.5}, {2, 1.0, 3.0}}), {1},
         Preferences(), SimulationOutcome::InvalidCorrelation,
         "Invalid correlation matrix, probably due to insufficient number of participants per "
         "group.\n\nSimulation aborted."},
        {pairedTable(), {0}, filePreferences({present.path(), "/nonexistent/random.txt"}),
         SimulationOutcome::RandomNumbersExhausted,
         "The random-numbers file you specified does not contain (enough) random numbers.\n\n"
         "Simulation aborted."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const bool refused = c.outcome == SimulationOutcome::Refused;
        EnginePool pool(2);
        SimulationParameters parameters = replacingParameters(5, 20, AnalysisPillai);
        if (!refused) {
            // A failure that follows a good run must clear its probability.
            pool.load(pairedTable(), {0}, {1});
            ASSERT_TRUE(pool.run.runSimulation(parameters, Preferences(), [] {}).hasProbability());
        }
        pool.load(c.table, c.betweenFlags, {1});
        const SimulationResult& result = pool.run.runSimulation(parameters, c.preferences, [] {});
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_FALSE(result.hasProbability());
        ASSERT_EQ(pool.messages.messages.size(), 1u);
        EXPECT_EQ(pool.messages.messages[0].text, c.message);
        if (refused) {
            // No worker started, so none ever finished.
            EXPECT_FALSE(pool.engines[0].engine.isFinished());
        }
    }
}

TEST(SimulationRunControl, AbortStopsTheWorkersAndRestoresTheEngines)
{
    EnginePool pool(2);
    pool.load(tableOf(1, {2}, normalRows({2}, {4, 6}, 2, 17u)), {1}, {1});
    ASSERT_TRUE(pool.engines[0].engine.compute());
    const std::vector<double> y = valuesOf(pool.engines[0].engine.getY());
    const std::vector<double> covariance = valuesOf(pool.engines[0].engine.getErrorCovariance());
    SimulationParameters parameters = replacingParameters(8, 2000000000, AnalysisWilks);
    const SimulationResult& result =
        pool.run.runSimulation(parameters, Preferences(), [&pool] { pool.run.abort(); });
    EXPECT_EQ(result.outcome, SimulationOutcome::Aborted);
    for (const LoadedEngine& loaded : pool.engines) {
        EXPECT_TRUE(loaded.engine.isFinished());
        EXPECT_EQ(loaded.engine.getGroupStart(), (std::vector<int>{0, 4}));
        EXPECT_EQ(valuesOf(loaded.engine.getY()), y);
        EXPECT_EQ(valuesOf(loaded.engine.getErrorCovariance()), covariance);
    }
}

TEST(SimulationRunControl, FixedSeedsReproduceTheResult)
{
    const DataTable table = tableOf(1, {2}, normalRows({2}, {5, 5}, 2, 23u));
    EnginePool pool(2);
    pool.load(table, {1}, {1}, 2024u);
    SimulationParameters parameters = replacingParameters(6, 600, AnalysisAnovaUncorrected);
    parameters.simulateAlpha = 0;
    parameters.maxAdditionalInspections = 2;
    parameters.participantsPerInspection = 3;
    const SimulationResult first = pool.run.runSimulation(parameters, Preferences(), [] {});
    ASSERT_GT(first.significantTotal, 0);
    ASSERT_LT(first.significantTotal, first.actualPasses);
    pool.load(table, {1}, {1}, 2024u);
    parameters.numberOfPasses = 600;
    EXPECT_EQ(pool.run.runSimulation(parameters, Preferences(), [] {}).significantTotal,
              first.significantTotal);
}

TEST(SimulatedProbabilities, AlphaOfAnExactTestWithUnequalSdsIsTheCriticalAlpha)
{
    // Pillai's test of A with one group is Hotelling's paired T², exact for any covariance.
    EnginePool pool(2);
    pool.load(pairedTable(), {0}, {1}, 77u);
    for (LoadedEngine& loaded : pool.engines) {
        ASSERT_TRUE(loaded.engine.importSimulationMatrices(matrixOf({{3, 3}}), matrixOf({{1, 2}}),
                                                           matrixOf({{1, 0.5}, {0.5, 1}})));
    }
    SimulationParameters parameters = replacingParameters(20, 4000, AnalysisPillai);
    parameters.useCustomMatrices = 1;
    const SimulationResult& result = pool.run.runSimulation(parameters, Preferences(), [] {});
    ASSERT_TRUE(result.hasProbability());
    const double sigma = std::sqrt(0.05 * 0.95 / static_cast<double>(result.actualPasses));
    EXPECT_NEAR(result.probability, 0.05, 4.0 * sigma) << result.significantTotal;
}
