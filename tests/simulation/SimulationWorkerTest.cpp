// The worker body Anova::simulate, run on the test's thread: which passes count, what ends
// a run, the progress it publishes and the engine it leaves behind.

#include "SimulationTestSupport.h"
#include "stats/AnalysisIndex.h"
#include "stats/SimulationStatus.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// One group of three, within A(2); the effect of A.
DataTable smallPairedTable()
{
    return tableOf(1, {2}, {{1, 1.0, 2.0}, {1, 2.0, 2.5}, {1, 4.0, 3.5}});
}

void loadPaired(Design& design, Anova& engine)
{
    ASSERT_TRUE(loadSimulationEffect(smallPairedTable(), {0}, {1}, design, engine));
}

// Means 0, SDs 1, uncorrelated cells: the sample values are the deviates.
void useStandardPopulation(Anova& engine)
{
    ASSERT_TRUE(engine.importSimulationMatrices(matrixOf({{0, 0}}), matrixOf({{1, 1}}),
                                                matrixOf({{1, 0}, {0, 1}})));
}

std::int32_t runWorker(Anova& engine, const SimulationParameters& parameters,
                       const Preferences& preferences)
{
    engine.resetRunFlags();
    std::int32_t status = StatusOk;
    engine.simulate(parameters, preferences, &status);
    EXPECT_TRUE(engine.isFinished());
    return status;
}

SimulationParameters observedOnly(double criticalAlpha, std::int32_t passes)
{
    SimulationParameters parameters;
    parameters.analysisIndex = AnalysisHotelling;
    parameters.simulateAlpha = 0;
    parameters.numberOfPasses = passes;
    parameters.criticalAlpha = criticalAlpha;
    parameters.maxAdditionalInspections = 0;
    return parameters;
}

} // namespace

TEST(SimulationWorker, ALookWhoseComputeFailsIsNotSignificant)
{
    // Pass 1 draws a sample with an A difference near 10 and little spread (significant);
    // pass 2 a sample holding an infinity, whose model cannot be built. The tests then still
    // hold pass 1's tiny p, which must not count again.
    const std::string failing = "1e999 0 0 0 0 0";
    {
        const TemporaryFile file(failing);
        Design design;
        Anova probe(0);
        loadPaired(design, probe);
        probe.getGenerator().setPreferences(filePreferences({file.path()}));
        probe.getGenerator().setPopulation(matrixOf({{0, 0}}), matrixOf({{1, 1}}),
                                           matrixOf({{1, 0}, {0, 1}}));
        probe.setGroupSize(3);
        ASSERT_EQ(probe.getGenerator().generateSample(), StatusOk);
        ASSERT_FALSE(probe.compute()) << "the second sample should make compute fail";
    }
    const TemporaryFile file("0 10 1 11.1 2 11.9 " + failing);
    Design design;
    Anova engine(0);
    loadPaired(design, engine);
    useStandardPopulation(engine);
    SimulationParameters parameters = replacingParameters(3, 2, AnalysisHotelling);
    parameters.useCustomMatrices = 1;
    EXPECT_EQ(runWorker(engine, parameters, filePreferences({file.path()})), StatusOk);
    EXPECT_EQ(engine.getSignificantCount(), 1);
}

TEST(SimulationWorker, APEqualToTheCriticalAlphaIsSignificant)
{
    // Without a replaced sample and without inspections every pass looks at the observed
    // sample only.
    Design design;
    Anova engine(0);
    loadPaired(design, engine);
    ASSERT_TRUE(engine.compute());
    const double p = engine.getHotellingTest().p;
    ASSERT_GT(p, 0.0);
    ASSERT_LT(p, 1.0);
    EXPECT_EQ(runWorker(engine, observedOnly(p, 3), Preferences()), StatusOk);
    EXPECT_EQ(engine.getSignificantCount(), 3);
    EXPECT_EQ(runWorker(engine, observedOnly(std::nextafter(p, 0.0), 3), Preferences()), StatusOk);
    EXPECT_EQ(engine.getSignificantCount(), 0);
}

TEST(SimulationWorker, InspectionsWithoutParticipantsReadNoNumbers)
{
    // An empty file: every inspection adds nobody, draws nothing and recomputes the same
    // observed sample, which is not significant at this alpha.
    const TemporaryFile file("");
    Design design;
    Anova engine(0);
    loadPaired(design, engine);
    SimulationParameters parameters = observedOnly(1e-12, 5);
    parameters.maxAdditionalInspections = 3;
    parameters.participantsPerInspection = 0;
    EXPECT_EQ(runWorker(engine, parameters, filePreferences({file.path()})), StatusOk);
    EXPECT_EQ(engine.getSignificantCount(), 0);
}

TEST(SimulationWorker, PublishesItsPositionEveryHundredPasses)
{
    Design design;
    Anova engine(0);
    loadPaired(design, engine);
    EXPECT_EQ(runWorker(engine, observedOnly(0.05, 250), Preferences()), StatusOk);
    EXPECT_EQ(engine.progressPosition(), 200);
    EXPECT_EQ(runWorker(engine, observedOnly(0.05, 1), Preferences()), StatusOk);
    EXPECT_EQ(engine.progressPosition(), 0);
}

TEST(SimulationWorker, AMissingFileEndsTheRunBeforeTheFirstPass)
{
    // The run would not even need a number; it still ends with the exhausted-file status.
    Design design;
    Anova engine(0);
    loadPaired(design, engine);
    EXPECT_EQ(runWorker(engine, observedOnly(1.0, 10),
                        filePreferences({"/nonexistent/tamsel/random.txt"})),
              StatusRandomNumbersExhausted);
    EXPECT_EQ(engine.getSignificantCount(), 0);
}

TEST(SimulationWorker, AFileRunningOutEndsTheRunWithThePassesCountedSoFar)
{
    // Means 0 and 50 with SD 1: every complete sample is significant. Two samples of 3 x 2
    // numbers, then half a sample.
    const TemporaryFile file("0.1 -0.3 1.2 0.4 -0.8 0.9 0.5 0.5 -1.1 0.2 0.3 -0.6 0.7 0.1 0.2");
    Design design;
    Anova engine(0);
    loadPaired(design, engine);
    ASSERT_TRUE(engine.compute());
    RealMatrix y(nullptr);
    y.copyFrom(engine.getY());
    RealMatrix covariance(nullptr);
    covariance.copyFrom(engine.getErrorCovariance());
    ASSERT_TRUE(engine.importSimulationMatrices(matrixOf({{0, 50}}), matrixOf({{1, 1}}),
                                                matrixOf({{1, 0}, {0, 1}})));
    SimulationParameters parameters = replacingParameters(3, 10, AnalysisHotelling);
    parameters.useCustomMatrices = 1;
    EXPECT_EQ(runWorker(engine, parameters, filePreferences({file.path()})),
              StatusRandomNumbersExhausted);
    EXPECT_EQ(engine.getSignificantCount(), 2);
    EXPECT_TRUE(sameMatrix(engine.getY(), y));
    EXPECT_TRUE(sameMatrix(engine.getErrorCovariance(), covariance));
    EXPECT_EQ(engine.getGroupStart(), (std::vector<int>{0}));
}

TEST(SimulationWorker, AnObservedSignificantSampleCountsEveryPass)
{
    Design design;
    Anova engine(0);
    loadPaired(design, engine);
    SimulationParameters parameters = observedOnly(0.99, 7);
    parameters.maxAdditionalInspections = 2;
    EXPECT_EQ(runWorker(engine, parameters, Preferences()), StatusOk);
    EXPECT_EQ(engine.getSignificantCount(), 7);
}

TEST(SimulationWorker, AnAbortBeforeTheFirstPassRunsNoneAndRestoresTheEngine)
{
    Design design;
    Anova engine(0);
    loadPaired(design, engine);
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
