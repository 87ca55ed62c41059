// The sample generator: the polar normal, the random-numbers files, and sample values.

#include "stats/SampleGenerator.h"
#include "stats/SimulationStatus.h"
#include "tests/support/SimulationTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

// Marsaglia's polar method as published, on a separately seeded std::mt19937 whose two
// outputs a, b make a uniform (a + b·2³²)/2⁶⁴; counts the rejected pairs.
std::vector<double> publishedPolarDeviates(std::seed_seq& seed, std::size_t count,
                                           int& rejectedPairs)
{
    std::mt19937 raw(seed);
    const auto uniform = [&raw] {
        const double a = raw();
        const double b = raw();
        return (a + b * 4294967296.0) / 18446744073709551616.0;
    };
    std::vector<double> deviates;
    while (deviates.size() < count) {
        const double u = 2.0 * uniform() - 1.0;
        const double v = 2.0 * uniform() - 1.0;
        const double s = u * u + v * v;
        if (s >= 1.0) {
            ++rejectedPairs;
            continue;
        }
        const double f = std::sqrt(-2.0 * std::log(s) / s);
        deviates.push_back(u * f);
        deviates.push_back(v * f);
    }
    deviates.resize(count);
    return deviates;
}

/// A generator outside an engine, for its random source alone.
struct LooseGenerator {
    LooseGenerator() : generator(&sample, &workspace, 0) {}
    std::vector<double> deviates(std::size_t count)
    {
        std::vector<double> values(count);
        for (double& value : values) {
            EXPECT_TRUE(generator.nextDeviate(value));
        }
        return values;
    }

    LapackWorkspace workspace;
    YMatrix sample{&workspace};
    SampleGenerator generator;
};

// Groups of 3 and 4, within A(2), the effect of A; a power simulation's population of means
// 0, SDs 1, uncorrelated cells, so values are the deviates. View column j is group j mod 2,
// cell j div 2.
void prepareTwoGroups(LoadedEngine& loaded)
{
    ASSERT_TRUE(loaded.load(tableOf(1, {2},
                                    {{1, 1.0, 2.0},
                                     {1, 2.5, 2.0},
                                     {1, 3.0, 4.5},
                                     {2, 4.0, 3.0},
                                     {2, 5.5, 6.0},
                                     {2, 4.5, 3.5},
                                     {2, 7.0, 8.0}}),
                            {0}, {1}));
    SimulationParameters parameters;
    parameters.simulateAlpha = 0;
    ASSERT_TRUE(loaded.engine.prepareSimulation(parameters));
    loaded.engine.getGenerator().setPopulation(
        matrixOf({{0, 0}, {0, 0}}), matrixOf({{1, 1}, {1, 1}}), matrixOf({{1, 0}, {0, 1}}));
}

} // namespace

TEST(SampleGeneratorSeeding, DeviatesFollowThePolarMethodWithItsKeptSecondValue)
{
    int rejectedPairs = 0;
    std::seed_seq seed{7u, 3u};
    const std::vector<double> expected = publishedPolarDeviates(seed, 41, rejectedPairs);
    ASSERT_GT(rejectedPairs, 0);
    LooseGenerator loose;
    loose.generator.seed(seed);
    EXPECT_EQ(loose.deviates(41), expected);
    // The 41st deviate left its pair's second one kept; seeding again discards it, so the
    // same sequence starts over, as every block of a run must.
    loose.generator.seed(seed);
    EXPECT_EQ(loose.deviates(41), expected);
}

TEST(RandomNumbersFileReading, UsesTheUserSeparatorAndReadsWholeTokens)
{
    const TemporaryFile file("0,5\t0.5\n-1,25e1  abc 7x\r\n1e999");
    LooseGenerator loose;
    loose.generator.setDecimalSeparator(DecimalSeparator(','));
    loose.generator.setPreferences(filePreferences({file.path()}));
    EXPECT_EQ(loose.deviates(6), (std::vector<double>{0.5, 0.0, -12.5, 0.0, 7.0, HUGE_VAL}));
    double value = 3.0;
    EXPECT_FALSE(loose.generator.nextDeviate(value));
    EXPECT_EQ(value, 3.0);
}

TEST(SampleValues, CorrelatedThenScaledAndShiftedPerCell)
{
    // Cholesky of [[1, r], [r, 1]]: (z1, z2) becomes (m1 + s1·z1, m2 + s2·(r·z1 + √(1-r²)·z2)).
    const TemporaryFile file("0.3 -1.2 1.5 0.4");
    LoadedEngine loaded;
    prepareTwoGroups(loaded);
    loaded.engine.getGenerator().setPopulation(
        matrixOf({{5, -3}, {1, 0}}), matrixOf({{1, 2}, {1, 2}}), matrixOf({{1, 0.5}, {0.5, 1}}));
    loaded.engine.getGenerator().setPreferences(filePreferences({file.path()}));
    loaded.engine.addParticipants(1);
    ASSERT_EQ(loaded.engine.getGenerator().generateSample(), StatusOk);
    const double root = std::sqrt(0.75);
    const YMatrix& y = loaded.engine.getY();
    EXPECT_NEAR(y.get(3, 0), 5.0 + 0.3, 1e-14);
    EXPECT_NEAR(y.get(3, 1), -3.0 + 2.0 * (0.5 * 0.3 + root * 1.5), 1e-14);
    EXPECT_NEAR(y.get(8, 0), 1.0 - 1.2, 1e-14);
    EXPECT_NEAR(y.get(8, 1), 0.0 + 2.0 * (0.5 * -1.2 + root * 0.4), 1e-14);
}

// Group 1: cells (1, 2.5, 3) and (2, 2, 4.5); group 2: (4, 5.5, 4.5, 7) and (3, 6, 3.5, 8).
TEST(UnequalGroups, DataCorrelationsAreTakenOverEachGroupsOwnRows)
{
    LoadedEngine loaded;
    prepareTwoGroups(loaded);
    const RealMatrix& r = loaded.engine.getGenerator().getDataCorrelations();
    ASSERT_EQ(r.getRows(), 4);
    EXPECT_NEAR(r.get(0, 2), 75.0 / std::sqrt(78.0 * 150.0), 1e-14);
    EXPECT_NEAR(r.get(1, 3), 36.5 / std::sqrt(21.0 * 64.75), 1e-14);
    EXPECT_EQ(r.get(0, 1), 0.0);
    EXPECT_TRUE(loaded.engine.getGenerator().areDataCorrelationsValid());
}

TEST(UnequalGroups, GenerationFillsOnlyThePlacesOfParticipants)
{
    // 4 x 4 places, two empty, filled view row by view row with the numbers unchanged.
    const TemporaryFile file("1 2 3 4 5 6 7 8 9 10 11 12 13 14");
    LoadedEngine loaded;
    prepareTwoGroups(loaded);
    loaded.engine.getGenerator().setPreferences(filePreferences({file.path()}));
    ASSERT_EQ(loaded.engine.getGenerator().generateSample(), StatusOk);
    EXPECT_EQ(valuesOf(loaded.engine.getY()),
              (std::vector<double>{1, 5, 9, 2, 6, 10, 13, 3, 7, 11, 4, 8, 12, 14}));
    EXPECT_EQ(loaded.engine.getGenerator().generateSample(), StatusRandomNumbersExhausted);
}
