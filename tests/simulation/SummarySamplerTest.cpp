// The summary sampler against the row sampler and both against theory: the statistics of
// looks drawn both ways have the same distribution, and runs on either hold the alpha of
// exact tests and reach the power of the paired t test.

#include "stats/AnalysisIndex.h"
#include "tests/support/SimulationTestSupport.h"

#include <boost/math/distributions/non_central_t.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>

namespace {

/// Looks per sampler in the comparisons.
constexpr std::int32_t LOOKS = 6000;

/// How a look's sample is reached: a new sample of firstSize per group (0: the kept
/// observed sample), then each of the inspections adds added per group.
struct LookPlan {
    std::int32_t firstSize = 0;
    std::int32_t inspections = 0;
    std::int32_t added = 0;
};

/// The statistics of one look that the comparisons read.
enum Statistic { PillaiV, WilksLambda, AnovaF, GreenhouseGeisserEpsilon, STATISTIC_COUNT };
const char* const STATISTIC_NAMES[STATISTIC_COUNT] = {"Pillai's V", "Wilks' lambda", "ANOVA F",
                                                      "GG epsilon"};

/// Mean, variance and the Monte-Carlo variances of both estimates, from the values.
struct Moments {
    explicit Moments(const std::vector<double>& values)
    {
        const auto count = static_cast<double>(values.size());
        for (double value : values)
            mean += value / count;
        double fourth = 0.0;
        for (double value : values) {
            const double squared = (value - mean) * (value - mean);
            variance += squared / (count - 1.0);
            fourth += squared * squared / count;
        }
        meanError = variance / count;
        // Var(s²) ≈ (μ₄ - σ⁴) / K for K values, with μ₄ and σ⁴ estimated from them.
        varianceError = (fourth - variance * variance) / count;
    }

    double mean = 0.0;
    double variance = 0.0;
    double meanError = 0.0;
    double varianceError = 0.0;
};

/// An engine whose population is prepared for the plan's looks, drawing them as rows or as
/// summaries from the same population.
class SamplerComparison {
public:
    SamplerComparison(const DataTable& table, const std::vector<int>& betweenFlags,
                      const std::vector<int>& withinFlags, const SimulationParameters& parameters)
    {
        EXPECT_TRUE(loaded.load(table, betweenFlags, withinFlags));
        if (parameters.useCustomMatrices != 0) {
            EXPECT_TRUE(
                engine().importSimulationMatrices(customMeans, customSds, customCorrelations));
        }
        EXPECT_TRUE(engine().prepareSimulation(parameters));
        RealMatrix means;
        RealMatrix sds;
        RealMatrix correlations;
        engine().exportSimulationMatrices(means, sds, correlations);
        engine().getGenerator().setPreferences(Preferences());
        EXPECT_TRUE(engine().getGenerator().setPopulation(means, sds, correlations));
        EXPECT_TRUE(engine().getSummarySampler().setPopulation(means, sds, correlations));
        engine().saveBase();
        engine().getSummarySampler().saveBase(engine().getSample());
    }

    /// The custom population that a comparison with useCustomMatrices imports.
    static void setCustomPopulation(RealMatrix means, RealMatrix sds, RealMatrix correlations)
    {
        customMeans.copyFrom(means);
        customSds.copyFrom(sds);
        customCorrelations.copyFrom(correlations);
    }

    /// LOOKS values of every statistic, drawn as rows or summaries.
    std::vector<std::vector<double>> draw(const LookPlan& plan, SamplerKind sampler,
                                          std::uint32_t seed)
    {
        std::seed_seq sequence{seed};
        engine().getGenerator().seed(sequence);
        std::vector<std::vector<double>> values(STATISTIC_COUNT);
        for (std::int32_t look = 0; look < LOOKS; ++look) {
            const bool computed = sampler == SamplerRows ? drawRows(plan) : drawSummary(plan);
            EXPECT_TRUE(computed);
            values[PillaiV].push_back(engine().getPillaiTest().value);
            values[WilksLambda].push_back(engine().getWilksTest().value);
            values[AnovaF].push_back(engine().getUnivariateTest().F);
            values[GreenhouseGeisserEpsilon].push_back(engine().getUnivariateTest().epsilon);
        }
        return values;
    }

    /// Draws both ways and compares every statistic's mean and variance within 4 standard
    /// errors of their difference, the errors estimated from the values themselves.
    void compare(const LookPlan& plan)
    {
        const auto rows = draw(plan, SamplerRows, 17u);
        const auto summaries = draw(plan, SamplerSummary, 18u);
        for (std::int32_t s = 0; s < STATISTIC_COUNT; ++s) {
            const Moments a(rows[static_cast<std::size_t>(s)]);
            const Moments b(summaries[static_cast<std::size_t>(s)]);
            ASSERT_GT(a.variance, 0.0) << STATISTIC_NAMES[s];
            EXPECT_NEAR(a.mean, b.mean, 4.0 * std::sqrt(a.meanError + b.meanError))
                << STATISTIC_NAMES[s];
            EXPECT_NEAR(a.variance, b.variance, 4.0 * std::sqrt(a.varianceError + b.varianceError))
                << STATISTIC_NAMES[s];
        }
    }

private:
    Anova& engine() { return loaded.engine; }

    bool drawRows(const LookPlan& plan)
    {
        if (plan.firstSize > 0) {
            engine().setGroupSize(plan.firstSize);
            engine().getGenerator().generateSample();
        } else {
            engine().restoreBase();
        }
        for (std::int32_t k = 0; k < plan.inspections; ++k) {
            engine().addParticipants(plan.added);
            engine().getGenerator().generateSample();
        }
        return engine().compute();
    }

    bool drawSummary(const LookPlan& plan)
    {
        SummarySampler& summary = engine().getSummarySampler();
        if (plan.firstSize > 0)
            summary.drawNewSample(plan.firstSize);
        else
            summary.restoreBase();
        for (std::int32_t k = 0; k < plan.inspections; ++k)
            summary.addParticipants(plan.added);
        return engine().computeFromSummary();
    }

    static inline RealMatrix customMeans;
    static inline RealMatrix customSds;
    static inline RealMatrix customCorrelations;
    LoadedEngine loaded;
};

SimulationParameters powerParameters(bool homogeneity, bool custom)
{
    SimulationParameters parameters;
    parameters.simulateAlpha = 0;
    parameters.assumeHomogeneity = homogeneity ? 1 : 0;
    parameters.useCustomMatrices = custom ? 1 : 0;
    return parameters;
}

/// A run of parameters on two threads over a custom population, drawn with sampler.
SimulationResult runOnCustomPopulation(const DataTable& table, const std::vector<int>& betweenFlags,
                                       const RealMatrix& means, const RealMatrix& sds,
                                       const RealMatrix& correlations,
                                       SimulationParameters parameters, SamplerKind sampler)
{
    EnginePool pool(2);
    pool.load(table, betweenFlags, {1});
    pool.importPopulation(means, sds, correlations);
    parameters.useCustomMatrices = 1;
    Preferences chosen;
    chosen.sampler = sampler;
    return pool.run.runSimulation(parameters, chosen, [] {});
}

} // namespace

TEST(SummarySampler, OneGroupWithCustomMatricesLooksLikeRowsAfterAnInspection)
{
    // Three cells with unequal SDs and correlations: the first sample of 3 takes the sum of
    // two outer products (fewer than P), the 8 added take Bartlett's factor, and the look
    // is at their merge.
    SamplerComparison::setCustomPopulation(
        matrixOf({{0.0, 0.3, 0.6}}), matrixOf({{1.0, 1.5, 2.0}}),
        matrixOf({{1.0, 0.5, 0.2}, {0.5, 1.0, 0.4}, {0.2, 0.4, 1.0}}));
    const DataTable table = tableOf(1, {3}, {{1, 1, 2, 3}, {1, 2, 2, 5}, {1, 4, 3, 3}});
    SamplerComparison comparison(table, {0}, {1}, powerParameters(false, true));
    comparison.compare({3, 1, 8});
}

TEST(SummarySampler, UnequalKeptGroupsLookLikeRowsOverTwoInspections)
{
    // Groups of 6 and 9 kept, each SD its own, the effect group x B of a 2 x 3 within
    // design (t = 2); two inspections of 5 merge into the observed summaries.
    const DataTable table = tableOf(1, {2, 3}, normalRows({2}, {6, 9}, 6, 31u));
    SamplerComparison comparison(table, {1}, {0, 1}, powerParameters(false, false));
    comparison.compare({0, 2, 5});
}

TEST(SummarySampler, PooledSdsOfThreeGroupsLookLikeRowsInSmallSamples)
{
    // Homogeneity pools the SDs; new samples of 5 in three groups hold fewer participants
    // than the 6 cells, for the effect group x B (q = 2, t = 2, so s = 2).
    const DataTable table = tableOf(1, {2, 3}, normalRows({3}, {7, 5, 6}, 6, 47u));
    SamplerComparison comparison(table, {1}, {0, 1}, powerParameters(true, false));
    comparison.compare({5, 0, 0});
}

TEST(BothSamplers, RunsHoldTheAlphaOfAnExactTest)
{
    // Pillai's test of A with one group is Hotelling's paired T², exact for any covariance,
    // also with 3 participants for 3 cells (for summaries the sum of outer products) and
    // after merging an inspection's participants.
    const DataTable table = tableOf(1, {3}, {{1, 1, 2, 3}, {1, 2, 2, 5}, {1, 4, 3, 3}});
    for (const SamplerKind sampler : {SamplerRows, SamplerSummary}) {
        for (const std::int32_t inspections : {0, 1}) {
            SCOPED_TRACE(testing::Message() << (sampler == SamplerRows ? "rows, " : "summaries, ")
                                            << inspections << " inspections");
            SimulationParameters parameters = replacingParameters(3, 6000, AnalysisPillai);
            parameters.seed = 90u + static_cast<std::uint32_t>(inspections);
            parameters.maxAdditionalInspections = inspections;
            parameters.participantsPerInspection = 4;
            // With an inspection only the look at 7 is read: its share is alpha as well.
            parameters.recordLooks = 1;
            const SimulationResult result = runOnCustomPopulation(
                table, {0}, matrixOf({{3, 3, 3}}), matrixOf({{1, 2, 4}}),
                matrixOf({{1, 0.5, -0.3}, {0.5, 1, 0.2}, {-0.3, 0.2, 1}}), parameters, sampler);
            ASSERT_TRUE(result.hasProbability()) << result.message;
            const double passes = static_cast<double>(result.actualPasses);
            const double sigma = std::sqrt(0.05 * 0.95 / passes);
            const double last =
                static_cast<double>(result.lookCounts.significantAt.back()) / passes;
            EXPECT_NEAR(last, 0.05, 4.0 * sigma);
        }
    }
}

TEST(BothSamplers, TheNullInteractionBesideLargeMainEffectsHoldsTheAlpha)
{
    // Two groups sharing one covariance, large group and A effects and an interaction: the
    // alpha run removes the tested interaction from these means and keeps the others.
    // Pillai's test of group x A has s = 1, so it is exact: its alpha is the critical alpha
    // whatever the other effects.
    const DataTable table = tableOf(
        1, {3},
        {{1, 1, 2, 3}, {1, 2, 2, 5}, {1, 4, 3, 3}, {2, 5, 7, 9}, {2, 6, 6, 8}, {2, 3, 8, 7}});
    const RealMatrix sds = matrixOf({{1, 3, 2}, {1, 3, 2}});
    for (const SamplerKind sampler : {SamplerRows, SamplerSummary}) {
        SCOPED_TRACE(sampler == SamplerRows ? "rows" : "summaries");
        SimulationParameters parameters = replacingParameters(5, 8000, AnalysisPillai);
        parameters.seed = 4u;
        const SimulationResult result = runOnCustomPopulation(
            table, {1}, matrixOf({{10, 20, 40}, {30, 45, 50}}), sds,
            matrixOf({{1, 0.6, 0.2}, {0.6, 1, 0.4}, {0.2, 0.4, 1}}), parameters, sampler);
        ASSERT_TRUE(result.hasProbability()) << result.message;
        const double sigma = std::sqrt(0.05 * 0.95 / static_cast<double>(result.actualPasses));
        EXPECT_NEAR(result.probability, 0.05, 4.0 * sigma);
    }
}

TEST(BothSamplers, RunsReachThePowerOfThePairedTTestAtEveryLook)
{
    // Looks at 2, 3, 4 and 5 pairs, one pair added each time: for summaries the first two
    // pairs take one outer product, each added pair has no spread of its own and enters by
    // the merge.
    const double difference = 1.0;
    const double rho = 0.4;
    for (const SamplerKind sampler : {SamplerRows, SamplerSummary}) {
        SCOPED_TRACE(sampler == SamplerRows ? "rows" : "summaries");
        SimulationParameters parameters = replacingParameters(2, 8000, AnalysisAnovaUncorrected);
        parameters.seed = 12u;
        parameters.simulateAlpha = 0;
        parameters.recordLooks = 1;
        parameters.maxAdditionalInspections = 3;
        parameters.participantsPerInspection = 1;
        const SimulationResult result = runOnCustomPopulation(
            pairedTable(), {0}, matrixOf({{0.0, difference}}), matrixOf({{1.0, 1.0}}),
            matrixOf({{1.0, rho}, {rho, 1.0}}), parameters, sampler);
        ASSERT_TRUE(result.hasProbability()) << result.message;
        const double passes = static_cast<double>(result.actualPasses);
        for (std::int32_t look = 0; look <= 3; ++look) {
            const std::int32_t n = 2 + look;
            const double df = n - 1;
            const double delta = difference * std::sqrt(n / (2.0 * (1.0 - rho)));
            const double critical = quantile(boost::math::students_t(df), 0.975);
            const boost::math::non_central_t shifted(df, delta);
            const double exact = cdf(complement(shifted, critical)) + cdf(shifted, -critical);
            const double share =
                static_cast<double>(
                    result.lookCounts.significantAt[static_cast<std::size_t>(look)]) /
                passes;
            EXPECT_NEAR(share, exact, 4.0 * std::sqrt(exact * (1.0 - exact) / passes))
                << n << " pairs";
        }
    }
}

TEST(SummarySampler, TheModelOfTheObservedSummaryIsTheModelOfTheRows)
{
    // Unequal groups of a 2 x 3 within design, every effect with a between part: the means,
    // sizes and pooled SSCP of the rows give every analysis's result up to rounding.
    const DataTable table = tableOf(1, {2, 3}, normalRows({3}, {5, 8, 6}, 6, 5u));
    for (const std::vector<int>& within : {std::vector<int>{1, 1}, {0, 1}, {1, 0}}) {
        LoadedEngine loaded;
        ASSERT_TRUE(loaded.load(table, {1}, within));
        Anova& engine = loaded.engine;
        ASSERT_TRUE(engine.compute());
        const auto results = [&engine] {
            const UnivariateTest& anova = engine.getUnivariateTest();
            return std::vector<double>{engine.getPillaiTest().p,
                                       engine.getWilksTest().p,
                                       engine.getHotellingTest().p,
                                       engine.getRoyTest().p,
                                       anova.p,
                                       anova.ggP,
                                       engine.getHuynhFeldtTest().p,
                                       engine.getLowerBoundTest().p,
                                       engine.getMauchlyTest().W,
                                       anova.F};
        };
        const std::vector<double> fromRows = results();
        engine.getSummarySampler().saveBase(engine.getSample());
        ASSERT_TRUE(engine.computeFromSummary());
        const std::vector<double> fromSummary = results();
        for (std::size_t k = 0; k < fromRows.size(); ++k) {
            if (std::isnan(fromRows[k])) {
                EXPECT_TRUE(std::isnan(fromSummary[k])) << k;
                continue;
            }
            EXPECT_NEAR(fromSummary[k], fromRows[k], 1e-10 * std::fabs(fromRows[k])) << k;
        }
    }
}

TEST(SummarySampler, ALookDependsOnItsOwnSampleAndEffectAlone)
{
    // The model keeps what depends on the effect and the group sizes alone from one compute
    // to the next. A look after one at other group sizes, and a compute after one of another
    // effect, must give exactly what a fresh engine gives.
    const DataTable table = tableOf(1, {2, 3}, normalRows({3}, {5, 8, 6}, 6, 5u));
    const auto results = [](const Anova& engine) {
        const UnivariateTest& anova = engine.getUnivariateTest();
        return std::vector<double>{engine.getPillaiTest().F,
                                   engine.getWilksTest().F,
                                   engine.getRoyTest().F,
                                   anova.F,
                                   anova.p,
                                   engine.getPillaiTest().p};
    };
    const auto lookAt = [&table, &results](LoadedEngine& loaded,
                                           std::initializer_list<std::int32_t> sizes) {
        EXPECT_TRUE(loaded.load(table, {1}, {1, 1}));
        Anova& engine = loaded.engine;
        EXPECT_TRUE(engine.prepareSimulation(SimulationParameters()));
        RealMatrix means;
        RealMatrix sds;
        RealMatrix correlations;
        engine.exportSimulationMatrices(means, sds, correlations);
        engine.getGenerator().setPreferences(Preferences());
        EXPECT_TRUE(engine.getSummarySampler().setPopulation(means, sds, correlations));
        for (const std::int32_t size : sizes) {
            std::seed_seq sequence{static_cast<std::uint32_t>(size)};
            engine.getGenerator().seed(sequence);
            engine.getSummarySampler().drawNewSample(size);
            EXPECT_TRUE(engine.computeFromSummary());
        }
        return results(engine);
    };
    LoadedEngine busy;
    LoadedEngine fresh;
    EXPECT_EQ(lookAt(busy, {4, 9}), lookAt(fresh, {9}));

    // The interaction of two two-level between variables after the effect of one four-level
    // variable: the same four cells of the same sizes, but C has one row instead of three.
    ASSERT_TRUE(busy.load(tableOf(1, {2, 3}, normalRows({4}, {5, 6, 7, 8}, 6, 6u)), {1}, {1, 1}));
    ASSERT_TRUE(busy.engine.compute());
    const DataTable crossed = tableOf(2, {2, 3}, normalRows({2, 2}, {5, 6, 7, 8}, 6, 7u));
    ASSERT_TRUE(busy.load(crossed, {1, 1}, {1, 1}));
    ASSERT_TRUE(busy.engine.compute());
    LoadedEngine other;
    ASSERT_TRUE(other.load(crossed, {1, 1}, {1, 1}));
    ASSERT_TRUE(other.engine.compute());
    EXPECT_EQ(results(busy.engine), results(other.engine));
}
