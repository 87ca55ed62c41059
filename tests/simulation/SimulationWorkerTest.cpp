// The worker body Anova::simulate, run on the test's thread: which passes count, what ends
// a run, the progress it publishes and the engine it leaves behind.

#include "SimulationTestSupport.h"
#include "stats/AnalysisIndex.h"
#include "stats/SimulationStatus.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// One group of three, within A(2); the effect of A.
class PairedWorker : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(loaded.load(tableOf(1, {2}, {{1, 1.0, 2.0}, {1, 2.0, 2.5}, {1, 4.0, 3.5}}),
                                {0}, {1}));
    }

    // Replaced samples of three drawn from means (0, shift), SDs 1, uncorrelated cells.
    static SimulationParameters fromPopulation(Anova& engine, double shift, std::int32_t passes)
    {
        EXPECT_TRUE(engine.importSimulationMatrices(matrixOf({{0, shift}}), matrixOf({{1, 1}}),
                                                    matrixOf({{1, 0}, {0, 1}})));
        SimulationParameters parameters = replacingParameters(3, passes, AnalysisHotelling);
        parameters.useCustomMatrices = 1;
        return parameters;
    }

    // Every pass looks at the observed sample only.
    static SimulationParameters observedOnly(double criticalAlpha, std::int32_t passes)
    {
        SimulationParameters parameters;
        parameters.analysisIndex = AnalysisHotelling;
        parameters.simulateAlpha = 0;
        parameters.numberOfPasses = passes;
        parameters.criticalAlpha = criticalAlpha;
        parameters.maxAdditionalInspections = 0;
        return parameters;
    }

    std::int32_t run(const SimulationParameters& parameters,
                     const Preferences& preferences = Preferences())
    {
        engine.resetRunFlags();
        std::int32_t status = StatusOk;
        engine.simulate(parameters, preferences, &status);
        EXPECT_TRUE(engine.isFinished());
        return status;
    }

    LoadedEngine loaded;
    Anova& engine = loaded.engine;
};

} // namespace

TEST_F(PairedWorker, ALookWhoseComputeFailsIsNotSignificant)
{
    // Pass 1 draws a sample with an A difference near 10 and little spread (significant);
    // pass 2 a sample holding an infinity, whose model cannot be built. The tests then still
    // hold pass 1's tiny p, which must not count again.
    const std::string failing = "1e999 0 0 0 0 0";
    {
        const TemporaryFile file(failing);
        LoadedEngine probe;
        ASSERT_TRUE(probe.load(tableOf(1, {2}, {{1, 1.0, 2.0}, {1, 2.0, 2.5}, {1, 4.0, 3.5}}),
                               {0}, {1}));
        probe.engine.getGenerator().setPreferences(filePreferences({file.path()}));
        probe.engine.getGenerator().setPopulation(matrixOf({{0, 0}}), matrixOf({{1, 1}}),
                                                  matrixOf({{1, 0}, {0, 1}}));
        probe.engine.setGroupSize(3);
        ASSERT_EQ(probe.engine.getGenerator().generateSample(), StatusOk);
        ASSERT_FALSE(probe.engine.compute()) << "the second sample should make compute fail";
    }
    const TemporaryFile file("0 10 1 11.1 2 11.9 " + failing);
    EXPECT_EQ(run(fromPopulation(engine, 0.0, 2), filePreferences({file.path()})), StatusOk);
    EXPECT_EQ(engine.getSignificantCount(), 1);
}

TEST_F(PairedWorker, APEqualToTheCriticalAlphaIsSignificantOncePerPass)
{
    // A significant first look ends the pass: further inspections do not count it again.
    ASSERT_TRUE(engine.compute());
    const double p = engine.getHotellingTest().p;
    ASSERT_GT(p, 0.0);
    ASSERT_LT(p, 1.0);
    SimulationParameters parameters = observedOnly(p, 3);
    parameters.maxAdditionalInspections = 2;
    EXPECT_EQ(run(parameters), StatusOk);
    EXPECT_EQ(engine.getSignificantCount(), 3);
    EXPECT_EQ(run(observedOnly(std::nextafter(p, 0.0), 3)), StatusOk);
    EXPECT_EQ(engine.getSignificantCount(), 0);
}

TEST_F(PairedWorker, InspectionsWithoutParticipantsReadNoNumbers)
{
    // An empty file: every inspection adds nobody, draws nothing and recomputes the same
    // observed sample, which is not significant at this alpha.
    const TemporaryFile file("");
    SimulationParameters parameters = observedOnly(1e-12, 5);
    parameters.maxAdditionalInspections = 3;
    parameters.participantsPerInspection = 0;
    EXPECT_EQ(run(parameters, filePreferences({file.path()})), StatusOk);
    EXPECT_EQ(engine.getSignificantCount(), 0);
}

TEST_F(PairedWorker, PublishesItsPositionEveryHundredPasses)
{
    EXPECT_EQ(run(observedOnly(0.05, 250)), StatusOk);
    EXPECT_EQ(engine.progressPosition(), 200);
    EXPECT_EQ(run(observedOnly(0.05, 1)), StatusOk);
    EXPECT_EQ(engine.progressPosition(), 0);
}

TEST_F(PairedWorker, AMissingFileEndsTheRunBeforeTheFirstPass)
{
    // The run would not even need a number; it still ends with the exhausted-file status.
    EXPECT_EQ(run(observedOnly(1.0, 10), filePreferences({"/nonexistent/tamsel/random.txt"})),
              StatusRandomNumbersExhausted);
    EXPECT_EQ(engine.getSignificantCount(), 0);
}

TEST_F(PairedWorker, AFileRunningOutEndsTheRunWithThePassesCountedSoFar)
{
    // Means 0 and 50: every complete sample is significant. Two samples of 3 x 2 numbers,
    // then half a sample; the engine is left as it was before the run.
    const TemporaryFile file("0.1 -0.3 1.2 0.4 -0.8 0.9 0.5 0.5 -1.1 0.2 0.3 -0.6 0.7 0.1 0.2");
    ASSERT_TRUE(engine.compute());
    RealMatrix y(nullptr);
    y.copyFrom(engine.getY());
    RealMatrix covariance(nullptr);
    covariance.copyFrom(engine.getErrorCovariance());
    EXPECT_EQ(run(fromPopulation(engine, 50.0, 10), filePreferences({file.path()})),
              StatusRandomNumbersExhausted);
    EXPECT_EQ(engine.getSignificantCount(), 2);
    EXPECT_TRUE(sameMatrix(engine.getY(), y));
    EXPECT_TRUE(sameMatrix(engine.getErrorCovariance(), covariance));
    EXPECT_EQ(engine.getGroupStart(), (std::vector<int>{0}));
}

TEST_F(PairedWorker, AnAbortBeforeTheFirstPassRunsNoneAndRestoresTheEngine)
{
    RealMatrix y(nullptr);
    y.copyFrom(engine.getY());
    engine.resetRunFlags();
    engine.requestAbort();
    std::int32_t status = StatusOk;
    engine.simulate(replacingParameters(5, 1000, AnalysisPillai), Preferences(), &status);
    EXPECT_TRUE(engine.isFinished());
    EXPECT_EQ(status, StatusOk);
    EXPECT_EQ(engine.getSignificantCount(), 0);
    EXPECT_TRUE(sameMatrix(engine.getY(), y));
}
