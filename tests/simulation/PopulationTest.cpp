// The population a simulation draws from: cell means with the tested effect removed, SDs,
// correlations, and the matrices set from outside.

#include "SimulationTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Population {
    RealMatrix means;
    RealMatrix sds;
    RealMatrix correlations;
};

Population populationOf(const Anova& engine)
{
    Population population;
    engine.exportSimulationMatrices(population.means, population.sds, population.correlations);
    return population;
}

SimulationParameters estimating(bool simulateAlpha, bool assumeHomogeneity)
{
    SimulationParameters parameters;
    parameters.simulateAlpha = simulateAlpha ? 1 : 0;
    parameters.assumeHomogeneity = assumeHomogeneity ? 1 : 0;
    return parameters;
}

// C means M for the effect of the flags, with C and M formed by the Design (Kronecker
// products of orthonormal contrasts): what the tests of that effect examine.
RealMatrix contrastOf(Design& design, const std::vector<int>& betweenFlags,
                      const std::vector<int>& withinFlags, const RealMatrix& means)
{
    LapackWorkspace workspace;
    design.setEffect(betweenFlags, withinFlags);
    RealMatrix cb(&workspace);
    RealMatrix cbm(&workspace);
    design.getC().multiply(means, cb, false, false);
    cb.multiply(design.getM(), cbm, false, false);
    return cbm;
}

double largestAbsolute(const RealMatrix& a)
{
    double largest = 0.0;
    for (std::int32_t k = 0; k < a.getSize(); ++k) {
        largest = std::max(largest, std::fabs(a.dataPointer()[k]));
    }
    return largest;
}

// Imposes the null hypothesis of every effect in turn and checks, with the contrasts of
// every effect, that exactly the tested one is removed from the means.
void expectOnlyTheTestedEffectRemoved(const DataTable& table)
{
    const std::int32_t b = betweenVariableCount(table);
    const auto w = static_cast<std::int32_t>(table.withinLevels.size());
    const std::int32_t effects = (1 << (b + w)) - 1;
    Design design;
    Anova engine(0);
    ASSERT_TRUE(loadSimulationEffect(table, std::vector<int>(static_cast<std::size_t>(b), 1),
                                     std::vector<int>(static_cast<std::size_t>(w), 1), design,
                                     engine));
    engine.computeCellMeans();
    const Population observed = populationOf(engine);
    for (std::int32_t tested = 1; tested <= effects; ++tested) {
        std::vector<int> testedBetween;
        std::vector<int> testedWithin;
        effectFlags(tested, b, w, testedBetween, testedWithin);
        ASSERT_TRUE(loadSimulationEffect(table, testedBetween, testedWithin, design, engine));
        engine.computeCellMeans();
        engine.imposeNullHypothesis();
        const Population imposed = populationOf(engine);
        for (std::int32_t e = 1; e <= effects; ++e) {
            std::vector<int> between;
            std::vector<int> within;
            effectFlags(e, b, w, between, within);
            const RealMatrix after = contrastOf(design, between, within, imposed.means);
            const RealMatrix before = contrastOf(design, between, within, observed.means);
            if (e == tested) {
                EXPECT_LT(largestAbsolute(after), 1e-12)
                    << "effect " << e << " should be removed; its contrast before was "
                    << largestAbsolute(before);
                continue;
            }
            RealMatrix change(nullptr);
            after.subtract(before, change);
            EXPECT_LT(largestAbsolute(change), 1e-12)
                << "effect " << e << " changed when effect " << tested << " was removed";
        }
    }
}

// Group 1: six participants, group 2: fourteen; cell A1 and A2. The groups differ in the
// direction of the A difference (an interaction) and in size.
DataTable unequalGroupsWithInteraction()
{
    std::vector<std::vector<double>> rows;
    for (int k = 0; k < 6; ++k) {
        rows.push_back({1, 1.0 + 0.1 * k, 3.0 + 0.15 * k * k});
    }
    for (int k = 0; k < 14; ++k) {
        rows.push_back({2, 4.0 - 0.05 * k * k, 2.0 + 0.2 * k});
    }
    return tableOf(1, {2}, rows);
}

double meanOf(const std::vector<std::vector<double>>& rows, std::size_t column, int group)
{
    double sum = 0.0;
    int count = 0;
    for (const auto& row : rows) {
        if (static_cast<int>(row[0]) == group) {
            sum += row[column];
            ++count;
        }
    }
    return sum / count;
}

} // namespace

TEST(NullHypothesis, RemovesExactlyTheTestedEffectWithUnequalGroups)
{
    // One between variable (groups of 6 and 14) and within A(2) x B(3).
    expectOnlyTheTestedEffectRemoved(tableOf(1, {2, 3}, normalRows({2}, {6, 14}, 6, 41u)));
}

TEST(NullHypothesis, RemovesExactlyTheTestedEffectWithTwoBetweenVariables)
{
    // Between 2 x 3 with unequal cells, within A(2) x B(2).
    expectOnlyTheTestedEffectRemoved(
        tableOf(2, {2, 2}, normalRows({2, 3}, {3, 4, 5, 3, 4, 6}, 4, 43u)));
}

TEST(NullHypothesis, MainEffectOfTwoLevelsGetsTheAverageLevelMean)
{
    const DataTable table = tableOf(1, {2}, {{1, 1.0, 4.0}, {1, 2.0, 7.0}, {1, 6.0, 4.0}});
    Design design;
    Anova engine(0);
    ASSERT_TRUE(loadSimulationEffect(table, {0}, {1}, design, engine));
    engine.computeCellMeans();
    engine.imposeNullHypothesis();
    // Observed means 3 and 5.
    const Population population = populationOf(engine);
    EXPECT_NEAR(population.means.get(0, 0), 4.0, 1e-14);
    EXPECT_NEAR(population.means.get(0, 1), 4.0, 1e-14);
}

TEST(NullHypothesis, InteractionOfTwoWithinVariablesLeavesAdditiveMeans)
{
    // One group, within A(2) x B(2); observed cell means 1, 4, 6, 5 (A1B1, A1B2, A2B1,
    // A2B2). Additive means: row mean + column mean - grand mean, grand mean 4.
    const DataTable table =
        tableOf(1, {2, 2}, {{1, 0.0, 3.0, 5.0, 6.0}, {1, 2.0, 5.0, 7.0, 4.0}});
    Design design;
    Anova engine(0);
    ASSERT_TRUE(loadSimulationEffect(table, {0}, {1, 1}, design, engine));
    engine.computeCellMeans();
    engine.imposeNullHypothesis();
    const Population population = populationOf(engine);
    // Row means 2.5 (A1), 5.5 (A2); column means 3.5 (B1), 4.5 (B2).
    EXPECT_NEAR(population.means.get(0, 0), 2.5 + 3.5 - 4.0, 1e-14);
    EXPECT_NEAR(population.means.get(0, 1), 2.5 + 4.5 - 4.0, 1e-14);
    EXPECT_NEAR(population.means.get(0, 2), 5.5 + 3.5 - 4.0, 1e-14);
    EXPECT_NEAR(population.means.get(0, 3), 5.5 + 4.5 - 4.0, 1e-14);
}

TEST(MarginalMean, EveryGroupWeighsTheSameWhateverItsSize)
{
    const DataTable table = unequalGroupsWithInteraction();
    Design design;
    Anova engine(0);
    ASSERT_TRUE(loadSimulationEffect(table, {1}, {0}, design, engine));
    engine.computeCellMeans();
    const double m11 = meanOf(table.rows, 1, 1);
    const double m12 = meanOf(table.rows, 2, 1);
    const double m21 = meanOf(table.rows, 1, 2);
    const double m22 = meanOf(table.rows, 2, 2);
    EXPECT_NEAR(engine.marginalMean({0}, {1}, {}, {}), (m11 + m21) / 2.0, 1e-13);
    EXPECT_NEAR(engine.marginalMean({}, {}, {0}, {2}), (m21 + m22) / 2.0, 1e-13);
    EXPECT_NEAR(engine.marginalMean({0}, {-1}, {0}, {-1}), (m11 + m12 + m21 + m22) / 4.0, 1e-13);
    EXPECT_NEAR(engine.marginalMean({0}, {2}, {0}, {1}), m12, 1e-13);
    // The main effect of the groups at group 1: half the difference of the group means.
    EXPECT_NEAR(engine.effectTerm({}, {}, {0}, {1}), ((m11 + m12) - (m21 + m22)) / 4.0, 1e-13);
    // The interaction at A1 of group 1: cell - group mean - level mean + grand mean.
    EXPECT_NEAR(engine.effectTerm({0}, {1}, {0}, {1}),
                m11 - (m11 + m12) / 2.0 - (m11 + m21) / 2.0 + (m11 + m12 + m21 + m22) / 4.0,
                1e-13);
}

TEST(PopulationEstimate, PowerKeepsTheObservedMeans)
{
    const DataTable table = unequalGroupsWithInteraction();
    Design design;
    Anova engine(0);
    ASSERT_TRUE(loadSimulationEffect(table, {1}, {1}, design, engine));
    ASSERT_TRUE(engine.prepareSimulation(estimating(false, false)));
    const Population population = populationOf(engine);
    EXPECT_NEAR(population.means.get(0, 0), meanOf(table.rows, 1, 1), 1e-13);
    EXPECT_NEAR(population.means.get(1, 1), meanOf(table.rows, 2, 2), 1e-13);
}

TEST(PopulationEstimate, SdsAreSampleSdsAboutTheObservedMeansAlsoForAlpha)
{
    // Group 1, cell A1: 1, 2, 6 (mean 3, squares 4 + 1 + 9 = 14, variance 7); cell A2: 4, 7,
    // 4 (mean 5, squares 1 + 4 + 1, variance 3). Group 2, cell A1: 2, 4 (variance 2); cell
    // A2: 1, 1 (0).
    const DataTable table = tableOf(
        1, {2}, {{1, 1.0, 4.0}, {1, 2.0, 7.0}, {1, 6.0, 4.0}, {2, 2.0, 1.0}, {2, 4.0, 1.0}});
    Design design;
    Anova engine(0);
    ASSERT_TRUE(loadSimulationEffect(table, {1}, {1}, design, engine));
    for (const bool alpha : {false, true}) {
        ASSERT_TRUE(engine.prepareSimulation(estimating(alpha, false)));
        const Population population = populationOf(engine);
        EXPECT_NEAR(population.sds.get(0, 0), std::sqrt(7.0), 1e-14) << "alpha " << alpha;
        EXPECT_NEAR(population.sds.get(0, 1), std::sqrt(3.0), 1e-14) << "alpha " << alpha;
        EXPECT_NEAR(population.sds.get(1, 0), std::sqrt(2.0), 1e-14) << "alpha " << alpha;
        EXPECT_EQ(population.sds.get(1, 1), 0.0) << "alpha " << alpha;
    }
    // Homogeneity: (3·7 + 3·3 + 2·2 + 2·0) / (3 + 3 + 2 + 2) = 3.4 in every cell.
    ASSERT_TRUE(engine.prepareSimulation(estimating(true, true)));
    const Population pooled = populationOf(engine);
    for (std::int32_t k = 0; k < 4; ++k) {
        EXPECT_NEAR(pooled.sds.dataPointer()[k], std::sqrt(3.4), 1e-14) << "entry " << k;
    }
}

TEST(PopulationEstimate, OneGroupsResidualCorrelationIsThePearsonCorrelation)
{
    // With one group the error covariance is the sample covariance of the cells, so the
    // population's correlation is the Pearson correlation of the columns. No compute has
    // run on these data: the estimate must not rely on an earlier one.
    const DataTable table =
        tableOf(1, {2}, {{1, 1.0, 2.0}, {1, 2.0, 2.5}, {1, 4.0, 3.5}, {1, 3.0, 5.0}});
    // Means 2.5 and 3.25; deviations (-1.5, -0.5, 1.5, 0.5) and (-1.25, -0.75, 0.25, 1.75):
    // sxy = 1.875 + 0.375 + 0.375 + 0.875 = 3.5, sxx = 5, syy = 5.25.
    const double expected = 3.5 / std::sqrt(5.0 * 5.25);
    Design design;
    Anova engine(0);
    ASSERT_TRUE(loadSimulationEffect(table, {0}, {1}, design, engine));
    ASSERT_TRUE(engine.prepareSimulation(estimating(true, false)));
    const Population population = populationOf(engine);
    EXPECT_NEAR(population.correlations.get(0, 1), expected, 1e-14);
    EXPECT_NEAR(population.correlations.get(1, 0), expected, 1e-14);
    EXPECT_EQ(population.correlations.get(0, 0), 1.0);
    EXPECT_EQ(population.correlations.get(1, 1), 1.0);
}

TEST(PopulationEstimate, CustomMatricesStayUntilTheyAreSwitchedOff)
{
    const DataTable table = unequalGroupsWithInteraction();
    Design design;
    Anova engine(0);
    ASSERT_TRUE(loadSimulationEffect(table, {1}, {1}, design, engine));
    const RealMatrix means = matrixOf({{1, 2}, {3, 4}});
    const RealMatrix sds = matrixOf({{1, 1}, {2, 2}});
    const RealMatrix correlations = matrixOf({{1, 0.3}, {0.3, 1}});
    ASSERT_TRUE(engine.importSimulationMatrices(means, sds, correlations));
    SimulationParameters parameters = estimating(true, false);
    parameters.useCustomMatrices = 1;
    ASSERT_TRUE(engine.prepareSimulation(parameters));
    EXPECT_EQ(populationOf(engine).means.get(1, 0), 3.0);
    EXPECT_EQ(populationOf(engine).correlations.get(0, 1), 0.3);
    parameters.useCustomMatrices = 0;
    parameters.simulateAlpha = 0;
    ASSERT_TRUE(engine.prepareSimulation(parameters));
    EXPECT_NEAR(populationOf(engine).means.get(1, 0), meanOf(table.rows, 1, 2), 1e-13);
}

TEST(PopulationEstimate, ImportRefusesWrongShapes)
{
    const DataTable table = unequalGroupsWithInteraction();
    Design design;
    Anova engine(0);
    ASSERT_TRUE(loadSimulationEffect(table, {1}, {1}, design, engine));
    ASSERT_TRUE(engine.importSimulationMatrices(matrixOf({{1, 2}, {3, 4}}),
                                                matrixOf({{1, 1}, {1, 1}}),
                                                matrixOf({{1, 0}, {0, 1}})));
    EXPECT_FALSE(engine.importSimulationMatrices(matrixOf({{1, 2}}), matrixOf({{1, 1}, {1, 1}}),
                                                 matrixOf({{1, 0}, {0, 1}})));
    EXPECT_FALSE(engine.importSimulationMatrices(matrixOf({{1, 2}, {3, 4}}),
                                                 matrixOf({{1, 1, 1}, {1, 1, 1}}),
                                                 matrixOf({{1, 0}, {0, 1}})));
    EXPECT_FALSE(engine.importSimulationMatrices(matrixOf({{1, 2}, {3, 4}}),
                                                 matrixOf({{1, 1}, {1, 1}}), matrixOf({{1}})));
    EXPECT_EQ(populationOf(engine).means.get(1, 1), 4.0);
}

TEST(PopulationEstimate, AGroupCombinationWithoutParticipantsIsRefused)
{
    // Between 2 x 2 without participants in combination (2, 2).
    const DataTable table = tableOf(2, {2}, {{1, 1, 1.0, 2.0}, {1, 1, 2.0, 1.0},
                                             {1, 2, 3.0, 2.0}, {1, 2, 1.0, 1.0},
                                             {2, 1, 2.0, 4.0}, {2, 1, 3.0, 3.0}});
    Design design;
    Anova engine(0);
    ASSERT_TRUE(loadSimulationEffect(table, {1, 0}, {0}, design, engine));
    EXPECT_TRUE(engine.hasGroupWithoutParticipants());
    EXPECT_FALSE(engine.prepareSimulation(estimating(true, false)));
}
