// The run control over worker threads: splitting the passes, refusing a design, the
// errors and their messages, abort, reproducibility with fixed seeds, and the simulated
// probabilities against theory.

#include "SimulationTestSupport.h"
#include "simulation/SimulationRun.h"
#include "stats/AnalysisIndex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <random>

namespace {

// Engines with their thread indices, each seeded with firstSeed + its index, and one run
// over them whose messages are recorded.
struct EnginePool {
    EnginePool(std::int32_t count, std::uint32_t firstSeed)
        : run(makeEngines(count), messages, DecimalSeparator())
    {
        seed(firstSeed);
    }

    std::vector<Anova*> makeEngines(std::int32_t count)
    {
        std::vector<Anova*> pointers;
        for (std::int32_t i = 0; i < count; ++i) {
            pointers.push_back(&engines.emplace_back(i).engine);
        }
        return pointers;
    }

    void seed(std::uint32_t firstSeed)
    {
        for (LoadedEngine& loaded : engines) {
            loaded.engine.getGenerator().seed(
                firstSeed + static_cast<std::uint32_t>(loaded.engine.getThreadIndex()));
        }
    }

    void load(const DataTable& table, const std::vector<int>& betweenFlags,
              const std::vector<int>& withinFlags)
    {
        for (LoadedEngine& loaded : engines) {
            ASSERT_TRUE(loaded.load(table, betweenFlags, withinFlags));
        }
    }

    const SimulationResult& runToEnd(SimulationParameters parameters,
                                     const Preferences& preferences = Preferences())
    {
        return run.runSimulation(parameters, preferences, [] {});
    }

    Anova& operator[](std::size_t i) { return engines[i].engine; }

    std::deque<LoadedEngine> engines;
    RecordingMessageSink messages;
    // Last, so that it is destroyed before the engines and the messages it refers to.
    SimulationRun run;
};

// One group of three, within A(2), the effect of A.
DataTable pairedTable()
{
    return tableOf(1, {2}, {{1, 1.0, 2.0}, {1, 2.0, 2.5}, {1, 4.0, 3.5}});
}

// The population of an exact test under its null hypothesis: one group, equal means,
// SDs 1 and 2, correlation 0.5. (Standardising each sample as a batch before scaling by
// these SDs brings the alpha of this case down to about 0.026.)
void useUnequalSdPopulation(EnginePool& pool)
{
    pool.load(pairedTable(), {0}, {1});
    for (LoadedEngine& loaded : pool.engines) {
        ASSERT_TRUE(loaded.engine.importSimulationMatrices(matrixOf({{3, 3}}), matrixOf({{1, 2}}),
                                                           matrixOf({{1, 0.5}, {0.5, 1}})));
    }
}

void expectNearAlpha(const SimulationResult& result, double alpha)
{
    ASSERT_TRUE(result.hasProbability());
    EXPECT_NEAR(result.probability, alpha, 4.0 * binomialSigma(alpha, result.actualPasses))
        << result.significantTotal << " of " << result.actualPasses;
}

// Groups of 6 and 14 whose A difference points in opposite directions (an interaction of
// size 4 against an SD of about 1).
DataTable opposedGroupsOfSixAndFourteen()
{
    std::mt19937 generator(314u);
    std::normal_distribution<double> noise(0.0, 1.0);
    std::vector<std::vector<double>> rows;
    for (int k = 0; k < 20; ++k) {
        const bool first = k < 6;
        rows.push_back({first ? 1.0 : 2.0, (first ? 0.0 : 4.0) + noise(generator),
                        (first ? 4.0 : 0.0) + noise(generator)});
    }
    return tableOf(1, {2}, rows);
}

} // namespace

TEST(PassesPerThread, EveryThreadRunsOneMoreThanItsEvenShare)
{
    EXPECT_EQ(SimulationRun::passesPerThread(10, 4), 3);
    EXPECT_EQ(SimulationRun::passesPerThread(8, 4), 3);
    EXPECT_EQ(SimulationRun::passesPerThread(7, 2), 4);
    EXPECT_EQ(SimulationRun::passesPerThread(5, 1), 6);
    EXPECT_EQ(SimulationRun::passesPerThread(1, 16), 1);
    EXPECT_EQ(SimulationRun::passesPerThread(2000000000, 1), 2000000001);
}

TEST(SimulationRunControl, SplitsThePassesAndAddsTheCountsUp)
{
    // The observed sample is significant at alpha 0.99, so every pass of every thread
    // counts: 10 passes on 4 threads run 3 each, 12 in all, probability 1.
    EnginePool pool(4, 1u);
    pool.load(pairedTable(), {0}, {1});
    SimulationParameters parameters;
    parameters.numberOfPasses = 10;
    parameters.criticalAlpha = 0.99;
    parameters.maxAdditionalInspections = 0;
    ASSERT_TRUE(pool.run.start(parameters, Preferences()));
    EXPECT_EQ(parameters.numberOfPasses, 3);
    EXPECT_EQ(pool.run.getPassesPerThread(), 3);
    while (!pool.run.poll()) {
    }
    const SimulationResult& result = pool.run.result();
    EXPECT_EQ(result.outcome, SimulationOutcome::Completed);
    EXPECT_EQ(result.actualPasses, 12);
    EXPECT_EQ(result.significantTotal, 12);
    EXPECT_EQ(result.probability, 1.0);
    EXPECT_TRUE(pool.messages.messages.empty());
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(pool[i].getSignificantCount(), 3) << "engine " << i;
    }
}

TEST(SimulationRunControl, RefusesAGroupCombinationWithoutParticipantsBeforeAnyWorker)
{
    // Between 2 x 2 without participants in combination (2, 2): no population can be
    // estimated.
    EnginePool pool(2, 1u);
    pool.load(tableOf(2, {2}, {{1, 1, 1.0, 2.0}, {1, 1, 2.0, 1.0}, {1, 2, 3.0, 2.0},
                               {1, 2, 1.0, 1.0}, {2, 1, 2.0, 4.0}, {2, 1, 3.0, 3.0}}),
              {1, 0}, {0});
    EXPECT_TRUE(pool[0].hasGroupWithoutParticipants());
    EXPECT_FALSE(pool[0].prepareSimulation(SimulationParameters()));
    SimulationParameters parameters;
    parameters.numberOfPasses = 100;
    EXPECT_FALSE(pool.run.start(parameters, Preferences()));
    EXPECT_FALSE(pool.run.isRunning());
    EXPECT_EQ(parameters.numberOfPasses, 100);
    EXPECT_EQ(pool.run.result().outcome, SimulationOutcome::Refused);
    EXPECT_FALSE(pool.run.result().hasProbability());
    ASSERT_EQ(pool.messages.messages.size(), 1u);
    EXPECT_EQ(pool.messages.messages[0].title, "Error");
    EXPECT_EQ(pool.messages.messages[0].icon, MessageIcon::Error);
    EXPECT_NE(pool.messages.messages[0].text.find("no participants"), std::string::npos)
        << pool.messages.messages[0].text;
    // No worker ran: nobody reset the flags or ran a pass.
    EXPECT_FALSE(pool[0].isFinished());
    EXPECT_EQ(pool[0].getSignificantCount(), 0);
}

TEST(SimulationRunControl, InvalidCorrelationClearsTheResultOfTheRunBefore)
{
    EnginePool pool(2, 1u);
    pool.load(pairedTable(), {0}, {1});
    const SimulationParameters parameters = replacingParameters(5, 20, AnalysisPillai);
    ASSERT_TRUE(pool.runToEnd(parameters).hasProbability());
    // A second group with a single participant.
    pool.load(tableOf(1, {2}, {{1, 1.0, 2.0}, {1, 2.0, 2.5}, {1, 4.0, 3.5}, {2, 1.0, 3.0}}),
              {1}, {1});
    const SimulationResult& result = pool.runToEnd(parameters);
    EXPECT_EQ(result.outcome, SimulationOutcome::InvalidCorrelation);
    EXPECT_EQ(result.status, StatusInvalidCorrelation);
    EXPECT_FALSE(result.hasProbability());
    EXPECT_EQ(result.probability, -99.0);
    EXPECT_EQ(result.actualPasses, 22);
    ASSERT_EQ(pool.messages.messages.size(), 1u);
    EXPECT_EQ(pool.messages.messages[0].text,
              "Invalid correlation matrix, probably due to insufficient number of participants "
              "per group.\n\nSimulation aborted.");
    EXPECT_EQ(result.message, pool.messages.messages[0].text);
}

TEST(SimulationRunControl, AMissingRandomNumbersFileEndsTheRunWithItsMessage)
{
    // Thread 0 has its file; thread 1's path is missing.
    const TemporaryFile present("0.5 -0.5");
    EnginePool pool(2, 1u);
    pool.load(pairedTable(), {0}, {1});
    const SimulationResult& result =
        pool.runToEnd(replacingParameters(3, 10, AnalysisPillai),
                      filePreferences({present.path(), "/nonexistent/tamsel/random.txt"}));
    EXPECT_EQ(result.outcome, SimulationOutcome::RandomNumbersExhausted);
    EXPECT_FALSE(result.hasProbability());
    ASSERT_EQ(pool.messages.messages.size(), 1u);
    EXPECT_EQ(pool.messages.messages[0].text,
              "The random-numbers file you specified does not contain (enough) random "
              "numbers.\n\nSimulation aborted.");
}

TEST(SimulationRunControl, AbortStopsTheWorkersAndRestoresTheEngines)
{
    EnginePool pool(2, 1u);
    pool.load(tableOf(1, {2}, normalRows({2}, {4, 6}, 2, 17u)), {1}, {1});
    ASSERT_TRUE(pool[0].compute());
    RealMatrix y(nullptr);
    y.copyFrom(pool[0].getY());
    RealMatrix x(nullptr);
    x.copyFrom(pool[0].getX());
    RealMatrix covariance(nullptr);
    covariance.copyFrom(pool[0].getErrorCovariance());
    SimulationParameters parameters = replacingParameters(8, 2000000000, AnalysisWilks);
    const SimulationResult& result =
        pool.run.runSimulation(parameters, Preferences(), [&pool] { pool.run.abort(); });
    EXPECT_EQ(result.outcome, SimulationOutcome::Aborted);
    EXPECT_FALSE(result.hasProbability());
    EXPECT_TRUE(pool.messages.messages.empty());
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE("engine " + std::to_string(i));
        Anova& engine = pool[i];
        EXPECT_TRUE(engine.isFinished());
        EXPECT_LT(engine.getSignificantCount(), 1000000000);
        EXPECT_EQ(engine.getGroupStart(), (std::vector<int>{0, 4}));
        EXPECT_TRUE(sameMatrix(engine.getY(), y));
        EXPECT_TRUE(sameMatrix(engine.getX(), x));
        EXPECT_TRUE(sameMatrix(engine.getErrorCovariance(), covariance));
    }
}

TEST(SimulationRunControl, FixedSeedsReproduceTheResult)
{
    EnginePool pool(2, 2024u);
    pool.load(tableOf(1, {2}, normalRows({2}, {5, 5}, 2, 23u)), {1}, {1});
    SimulationParameters parameters = replacingParameters(6, 600, AnalysisAnovaUncorrected);
    parameters.simulateAlpha = 0;
    parameters.maxAdditionalInspections = 2;
    parameters.participantsPerInspection = 3;
    const SimulationResult first = pool.runToEnd(parameters);
    const std::int32_t firstCount0 = pool[0].getSignificantCount();
    ASSERT_TRUE(first.hasProbability());
    ASSERT_GT(first.significantTotal, 0);
    ASSERT_LT(first.significantTotal, first.actualPasses);
    pool.seed(2024u);
    EXPECT_EQ(pool.runToEnd(parameters).significantTotal, first.significantTotal);
    EXPECT_EQ(pool[0].getSignificantCount(), firstCount0);
}

TEST(SimulatedProbabilities, AlphaOfAnExactTestWithUnequalSdsIsTheCriticalAlpha)
{
    // Pillai's test of A with one group is Hotelling's paired T², exact for any covariance
    // of the two cells: its alpha is 0.05. 4002 passes on two threads.
    EnginePool pool(2, 77u);
    useUnequalSdPopulation(pool);
    SimulationParameters parameters = replacingParameters(20, 4000, AnalysisPillai);
    parameters.useCustomMatrices = 1;
    expectNearAlpha(pool.runToEnd(parameters), 0.05);
}

TEST(SimulatedProbabilities, AlphaOfAMainEffectWithUnequalGroupsAndAnInteraction)
{
    // The null hypothesis of A is imposed on the means of groups of 6 and 14 with a strong
    // interaction; the test of A with 20 per group and a common covariance is exact, so its
    // alpha is 0.05 when exactly the tested effect was removed.
    EnginePool pool(2, 5u);
    pool.load(opposedGroupsOfSixAndFourteen(), {0}, {1});
    SimulationParameters parameters = replacingParameters(20, 4000, AnalysisPillai);
    parameters.assumeHomogeneity = 1;
    expectNearAlpha(pool.runToEnd(parameters), 0.05);
}

TEST(SimulatedProbabilities, RepeatedInspectionsInflateAlpha)
{
    // Five looks at 10, 20, .. 50 participants, each at alpha 0.05, under the null
    // hypothesis: the chance of some significant look lies clearly above 0.05 and below
    // 1 - 0.95⁵, the value for five independent looks (the looks share participants).
    EnginePool pool(2, 99u);
    useUnequalSdPopulation(pool);
    SimulationParameters parameters = replacingParameters(10, 4000, AnalysisPillai);
    parameters.useCustomMatrices = 1;
    parameters.maxAdditionalInspections = 4;
    parameters.participantsPerInspection = 10;
    const SimulationResult& result = pool.runToEnd(parameters);
    ASSERT_TRUE(result.hasProbability());
    EXPECT_GT(result.probability, 0.05 + 4.0 * binomialSigma(0.05, result.actualPasses));
    EXPECT_LT(result.probability, 1.0 - std::pow(0.95, 5));
}
