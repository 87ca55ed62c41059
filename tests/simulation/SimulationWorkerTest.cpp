// The engine's side of a simulation on the test's thread: which passes count.

#include "stats/AnalysisIndex.h"
#include "stats/SimulationStatus.h"
#include "tests/support/SimulationTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

class PairedWorker : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(loaded.load(pairedTable(), {0}, {1})); }

    // Replaced samples of three from means (0, shift), SDs 1, uncorrelated cells.
    SimulationParameters fromPopulation(double shift, std::int32_t passes)
    {
        EXPECT_TRUE(engine.importSimulationMatrices(matrixOf({{0, shift}}), matrixOf({{1, 1}}),
                                                    matrixOf({{1, 0}, {0, 1}})));
        SimulationParameters parameters = replacingParameters(3, passes, AnalysisHotelling);
        parameters.simulateAlpha = 0;
        parameters.useCustomMatrices = 1;
        return parameters;
    }

    std::int32_t run(const SimulationParameters& parameters, const Preferences& preferences)
    {
        engine.resetRunFlags();
        std::int32_t status = StatusOk;
        SimulationPhase phase(parameters.numberOfPasses, 0, 0, SimulationPhase::ALL_BLOCKS);
        engine.simulate(parameters, preferences, phase, &status);
        EXPECT_TRUE(engine.isFinished());
        return status;
    }

    LoadedEngine loaded;
    Anova& engine = loaded.engine;
};

} // namespace

TEST_F(PairedWorker, ALookWhoseComputeOverflowsEndsTheRun)
{
    // Pass 2's infinity fails the compute and ends the run with its cause; pass 1's tiny p
    // must not count again.
    const TemporaryFile file("0 10 1 11.1 2 11.9 1e999 0 0 0 0 0 0 10 1 11.1 2 11.9");
    EXPECT_EQ(run(fromPopulation(0.0, 3), filePreferences({file.path()})), StatusNotFinite);
    EXPECT_EQ(engine.getSignificantCount(), 1);
    // SDs of 1e160 overflow the sums of squares of every sample.
    EXPECT_TRUE(engine.importSimulationMatrices(matrixOf({{0, 0}}), matrixOf({{1e160, 1e160}}),
                                                matrixOf({{1, 0}, {0, 1}})));
    SimulationParameters parameters = replacingParameters(3, 5, AnalysisPillai);
    parameters.useCustomMatrices = 1;
    EXPECT_EQ(run(parameters, Preferences()), StatusNotFinite);
    EXPECT_EQ(engine.getSignificantCount(), 0);
}

// Groups of 2, 1 and 1 with three levels: for group x A, N - r = 1 leaves E of rank 1 for
// t = 2, so the MANOVA analyses are not available (their formulas still gave Pillai's
// df2 = 2 and a p below 1), nor is the Huynh-Feldt estimate (0/0 for one error df), while the
// uncorrected and lower-bound ANOVA are. Every pass looks at the observed sample.
TEST(SimulationWorker, ALookWithoutTheAnalysisIsNotSignificant)
{
    LoadedEngine loaded;
    ASSERT_TRUE(loaded.load(
        tableOf(1, {3}, {{1, 1, 3, 2}, {1, 2, 2, 5}, {2, 4, 1, 1}, {3, 2, 2, 6}}), {1}, {1}));
    // Groups of one participant give no population to estimate, so a valid one is entered;
    // the looks are at the observed sample all the same.
    ASSERT_TRUE(loaded.engine.importSimulationMatrices(
        matrixOf({{1, 2, 3}, {1, 2, 3}, {1, 2, 3}}), matrixOf({{1, 1, 1}, {1, 1, 1}, {1, 1, 1}}),
        matrixOf({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}})));
    for (const std::int32_t analysis :
         {AnalysisAnovaUncorrected, AnalysisPillai, AnalysisWilks, AnalysisHotelling,
          AnalysisAnovaHuynhFeldt, AnalysisAnovaLowerBound, AnalysisRoy}) {
        SimulationParameters parameters;
        parameters.useCustomMatrices = 1;
        parameters.analysisIndex = analysis;
        parameters.numberOfPasses = 4;
        parameters.criticalAlpha = 0.999999999999;
        parameters.maxAdditionalInspections = 0;
        loaded.engine.resetRunFlags();
        std::int32_t status = StatusOk;
        SimulationPhase phase(4, 0, 0, SimulationPhase::ALL_BLOCKS);
        loaded.engine.simulate(parameters, Preferences(), phase, &status);
        EXPECT_EQ(status, StatusOk);
        const bool available =
            analysis == AnalysisAnovaUncorrected || analysis == AnalysisAnovaLowerBound;
        EXPECT_EQ(loaded.engine.getSignificantCount(), available ? 4 : 0) << analysis;
    }
}

// A run computes only the analysis it reads; a compute after it must give every analysis and
// the sphericity test again, as the results table shows them, and not keep those of the data
// before the run.
TEST(SimulationWorker, TheComputeAfterARunGivesEveryAnalysis)
{
    const auto results = [](const Anova& engine) {
        const UnivariateTest& univariate = engine.getUnivariateTest();
        return std::vector<double>{univariate.p,
                                   univariate.ggP,
                                   engine.getPillaiTest().p,
                                   engine.getWilksTest().p,
                                   engine.getHotellingTest().p,
                                   engine.getHuynhFeldtTest().p,
                                   engine.getLowerBoundTest().p,
                                   engine.getRoyTest().p,
                                   engine.getMauchlyTest().W,
                                   engine.getMauchlyTest().p};
    };
    Design other;
    ASSERT_TRUE(buildDesign(tableOf(1, {3}, normalRows({2}, {7, 9}, 3, 41u)), other));
    Anova fresh(0);
    ASSERT_TRUE(computeEffect(other, fresh, {1}, {1}));
    for (const std::int32_t analysis : {AnalysisAnovaGreenhouseGeisser, AnalysisPillai}) {
        LoadedEngine loaded;
        ASSERT_TRUE(loaded.load(tableOf(1, {3}, normalRows({2}, {8, 8}, 3, 40u)), {1}, {1}));
        ASSERT_TRUE(loaded.engine.compute());
        const SimulationParameters parameters = replacingParameters(8, 5, analysis);
        loaded.engine.resetRunFlags();
        std::int32_t status = StatusOk;
        SimulationPhase phase(parameters.numberOfPasses, 0, 0, SimulationPhase::ALL_BLOCKS);
        loaded.engine.simulate(parameters, Preferences(), phase, &status);
        ASSERT_EQ(status, StatusOk);
        ASSERT_TRUE(computeEffect(other, loaded.engine, {1}, {1}));
        EXPECT_EQ(results(loaded.engine), results(fresh)) << analysis;
    }
}

TEST_F(PairedWorker, APEqualToTheCriticalAlphaIsSignificantOncePerPass)
{
    // Every pass looks at the observed sample only; further inspections must not recount.
    ASSERT_TRUE(engine.compute());
    SimulationParameters parameters;
    parameters.analysisIndex = AnalysisHotelling;
    parameters.simulateAlpha = 0;
    parameters.numberOfPasses = 3;
    parameters.criticalAlpha = engine.getHotellingTest().p;
    parameters.maxAdditionalInspections = 2;
    EXPECT_EQ(run(parameters, Preferences()), StatusOk);
    EXPECT_EQ(engine.getSignificantCount(), 3);
    parameters.criticalAlpha = std::nextafter(parameters.criticalAlpha, 0.0);
    parameters.maxAdditionalInspections = 0;
    EXPECT_EQ(run(parameters, Preferences()), StatusOk);
    EXPECT_EQ(engine.getSignificantCount(), 0);
}

TEST_F(PairedWorker, AFileRunningOutEndsTheRunWithThePassesCountedSoFar)
{
    // Two complete samples of 3 x 2 numbers, both significant, then half a sample.
    const TemporaryFile file("0.1 -0.3 1.2 0.4 -0.8 0.9 0.5 0.5 -1.1 0.2 0.3 -0.6 0.7 0.1 0.2");
    const std::vector<double> before = valuesOf(engine.getY());
    EXPECT_EQ(run(fromPopulation(50.0, 10), filePreferences({file.path()})),
              StatusRandomNumbersExhausted);
    EXPECT_EQ(engine.getSignificantCount(), 2);
    EXPECT_EQ(valuesOf(engine.getY()), before);
    EXPECT_EQ(engine.getGroupStart(), (std::vector<int>{0}));
}
