// The population a simulation draws from: cell means with the tested effect removed, SDs,
// correlations, and the matrices set from outside.

#include "SimulationTestSupport.h"
#include "app/design/EffectList.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// The flags of effect row e of effectList(b + w), between variables first.
struct Flags {
    std::vector<int> between;
    std::vector<int> within;
};
Flags effectFlags(std::int32_t e, std::int32_t b, std::int32_t w)
{
    const GeneralMatrix<int> effects = effectList(b + w);
    Flags flags;
    for (std::int32_t v = 0; v < b + w; ++v) {
        (v < b ? flags.between : flags.within).push_back(effects.get(e, v));
    }
    return flags;
}

double largestAbsolute(const RealMatrix& a)
{
    double largest = 0.0;
    for (std::int32_t k = 0; k < a.getSize(); ++k) {
        largest = std::max(largest, std::fabs(a.dataPointer()[k]));
    }
    return largest;
}

// Group 1: six participants, group 2: fourteen; cell A1 and A2. The groups differ in the
// direction of the A difference (an interaction) and in size. The cell means, group by
// group: 1 + 0.1·2.5 = 1.25, 3 + 0.15·55/6 = 4.375; 4 - 0.05·819/14 = 1.075, 2 + 0.2·6.5 = 3.3.
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
const double m11 = 1.25;
const double m12 = 4.375;
const double m21 = 1.075;
const double m22 = 3.3;

} // namespace

TEST(NullHypothesis, RemovesExactlyTheTestedEffectWithUnequalGroups)
{
    // Imposes the null hypothesis of every effect in turn and checks, with the contrasts of
    // every effect, that exactly the tested one is removed from the means. One between
    // variable (groups of 6 and 14) with within A(2) x B(3); between 2 x 3 with unequal
    // cells and within A(2) x B(2).
    const DataTable tables[] = {tableOf(1, {2, 3}, normalRows({2}, {6, 14}, 6, 41u)),
                                tableOf(2, {2, 2}, normalRows({2, 3}, {3, 4, 5, 3, 4, 6}, 4, 43u))};
    for (const DataTable& table : tables) {
        const auto b = static_cast<std::int32_t>(
            std::count(table.roles.begin(), table.roles.end(), "between"));
        const auto w = static_cast<std::int32_t>(table.withinLevels.size());
        SCOPED_TRACE(std::to_string(b) + " between, " + std::to_string(w) + " within");
        const std::int32_t effects = (1 << (b + w)) - 1;
        LoadedEngine loaded;
        ASSERT_TRUE(loaded.load(table, std::vector<int>(static_cast<std::size_t>(b), 1),
                                std::vector<int>(static_cast<std::size_t>(w), 1)));
        loaded.engine.computeCellMeans();
        const Population observed = populationOf(loaded.engine);
        for (std::int32_t tested = 1; tested <= effects; ++tested) {
            const Flags testedFlags = effectFlags(tested, b, w);
            ASSERT_TRUE(loaded.load(table, testedFlags.between, testedFlags.within));
            loaded.engine.computeCellMeans();
            loaded.engine.imposeNullHypothesis();
            const Population imposed = populationOf(loaded.engine);
            for (std::int32_t e = 1; e <= effects; ++e) {
                const Flags flags = effectFlags(e, b, w);
                const RealMatrix after =
                    contrastOf(loaded.design, flags.between, flags.within, imposed.means);
                const RealMatrix before =
                    contrastOf(loaded.design, flags.between, flags.within, observed.means);
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
}

TEST(NullHypothesis, HandComputedMeansKeepTheGrandMean)
{
    // A(2): observed means 3 and 5 both become the average level mean 4. A(2) x B(2) with
    // observed cell means 1, 4, 6, 5 (A1B1, A1B2, A2B1, A2B2), tested effect A x B: additive
    // means row mean + column mean - grand mean, with row means 2.5 and 5.5, column means
    // 3.5 and 4.5 and grand mean 4.
    const struct {
        DataTable table;
        std::vector<int> withinFlags;
        std::vector<double> means;
    } cases[] = {
        {tableOf(1, {2}, {{1, 1.0, 4.0}, {1, 2.0, 7.0}, {1, 6.0, 4.0}}), {1}, {4.0, 4.0}},
        {tableOf(1, {2, 2}, {{1, 0.0, 3.0, 5.0, 6.0}, {1, 2.0, 5.0, 7.0, 4.0}}),
         {1, 1},
         {2.5 + 3.5 - 4.0, 2.5 + 4.5 - 4.0, 5.5 + 3.5 - 4.0, 5.5 + 4.5 - 4.0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.withinFlags.size());
        LoadedEngine loaded;
        ASSERT_TRUE(loaded.load(c.table, {0}, c.withinFlags));
        loaded.engine.computeCellMeans();
        loaded.engine.imposeNullHypothesis();
        const Population population = populationOf(loaded.engine);
        for (std::size_t k = 0; k < c.means.size(); ++k) {
            EXPECT_NEAR(population.means.get(0, static_cast<std::int32_t>(k)), c.means[k], 1e-14)
                << "cell " << k;
        }
    }
}

TEST(MarginalMean, EveryGroupWeighsTheSameWhateverItsSize)
{
    LoadedEngine loaded;
    ASSERT_TRUE(loaded.load(unequalGroupsWithInteraction(), {1}, {0}));
    const Anova& engine = loaded.engine;
    loaded.engine.computeCellMeans();
    const double grand = (m11 + m12 + m21 + m22) / 4.0;
    EXPECT_NEAR(engine.marginalMean({0}, {1}, {}, {}), (m11 + m21) / 2.0, 1e-13);
    EXPECT_NEAR(engine.marginalMean({}, {}, {0}, {2}), (m21 + m22) / 2.0, 1e-13);
    EXPECT_NEAR(engine.marginalMean({0}, {-1}, {0}, {-1}), grand, 1e-13);
    EXPECT_NEAR(engine.marginalMean({0}, {2}, {0}, {1}), m12, 1e-13);
    // The main effect of the groups at group 1: half the difference of the group means.
    EXPECT_NEAR(engine.effectTerm({}, {}, {0}, {1}), ((m11 + m12) - (m21 + m22)) / 4.0, 1e-13);
    // The interaction at A1 of group 1: cell - group mean - level mean + grand mean.
    EXPECT_NEAR(engine.effectTerm({0}, {1}, {0}, {1}),
                m11 - (m11 + m12) / 2.0 - (m11 + m21) / 2.0 + grand, 1e-13);
}

TEST(PopulationEstimate, SdsAreSampleSdsAboutTheObservedMeansAlsoForAlpha)
{
    // Group 1, cell A1: 1, 2, 6 (mean 3, squares 4 + 1 + 9 = 14, variance 7); cell A2: 4, 7,
    // 4 (mean 5, squares 1 + 4 + 1, variance 3). Group 2, cell A1: 2, 4 (variance 2); cell
    // A2: 1, 1 (0).
    LoadedEngine loaded;
    ASSERT_TRUE(loaded.load(tableOf(1, {2}, {{1, 1.0, 4.0}, {1, 2.0, 7.0}, {1, 6.0, 4.0},
                                             {2, 2.0, 1.0}, {2, 4.0, 1.0}}),
                            {1}, {1}));
    for (const bool alpha : {false, true}) {
        SCOPED_TRACE(alpha ? "alpha" : "power");
        ASSERT_TRUE(loaded.engine.prepareSimulation(estimating(alpha, false)));
        const RealMatrix sds = populationOf(loaded.engine).sds;
        EXPECT_NEAR(sds.get(0, 0), std::sqrt(7.0), 1e-14);
        EXPECT_NEAR(sds.get(0, 1), std::sqrt(3.0), 1e-14);
        EXPECT_NEAR(sds.get(1, 0), std::sqrt(2.0), 1e-14);
        EXPECT_EQ(sds.get(1, 1), 0.0);
    }
    // Homogeneity: (3·7 + 3·3 + 2·2 + 2·0) / (3 + 3 + 2 + 2) = 3.4 in every cell.
    ASSERT_TRUE(loaded.engine.prepareSimulation(estimating(true, true)));
    const Population pooled = populationOf(loaded.engine);
    for (std::int32_t k = 0; k < 4; ++k) {
        EXPECT_NEAR(pooled.sds.dataPointer()[k], std::sqrt(3.4), 1e-14) << "entry " << k;
    }
}

TEST(PopulationEstimate, OneGroupsResidualCorrelationIsThePearsonCorrelation)
{
    // With one group the error covariance is the sample covariance of the cells. No compute
    // has run on these data: the estimate must not rely on an earlier one. Means 2.5 and
    // 3.25; deviations (-1.5, -0.5, 1.5, 0.5) and (-1.25, -0.75, 0.25, 1.75): sxy = 3.5,
    // sxx = 5, syy = 5.25.
    LoadedEngine loaded;
    ASSERT_TRUE(loaded.load(
        tableOf(1, {2}, {{1, 1.0, 2.0}, {1, 2.0, 2.5}, {1, 4.0, 3.5}, {1, 3.0, 5.0}}), {0}, {1}));
    ASSERT_TRUE(loaded.engine.prepareSimulation(estimating(true, false)));
    const RealMatrix correlations = populationOf(loaded.engine).correlations;
    const double expected = 3.5 / std::sqrt(5.0 * 5.25);
    EXPECT_NEAR(correlations.get(0, 1), expected, 1e-14);
    EXPECT_NEAR(correlations.get(1, 0), expected, 1e-14);
    EXPECT_EQ(correlations.get(0, 0), 1.0);
    EXPECT_EQ(correlations.get(1, 1), 1.0);
}

TEST(PopulationEstimate, CustomMatricesStayUntilTheyAreSwitchedOff)
{
    LoadedEngine loaded;
    ASSERT_TRUE(loaded.load(unequalGroupsWithInteraction(), {1}, {1}));
    ASSERT_TRUE(loaded.engine.importSimulationMatrices(
        matrixOf({{1, 2}, {3, 4}}), matrixOf({{1, 1}, {2, 2}}), matrixOf({{1, 0.3}, {0.3, 1}})));
    SimulationParameters parameters = estimating(true, false);
    parameters.useCustomMatrices = 1;
    ASSERT_TRUE(loaded.engine.prepareSimulation(parameters));
    EXPECT_EQ(populationOf(loaded.engine).means.get(1, 0), 3.0);
    EXPECT_EQ(populationOf(loaded.engine).correlations.get(0, 1), 0.3);
    // Switched off, a power simulation takes the observed means.
    parameters.useCustomMatrices = 0;
    parameters.simulateAlpha = 0;
    ASSERT_TRUE(loaded.engine.prepareSimulation(parameters));
    const RealMatrix means = populationOf(loaded.engine).means;
    const double observed[2][2] = {{m11, m12}, {m21, m22}};
    for (std::int32_t g = 0; g < 2; ++g) {
        for (std::int32_t c = 0; c < 2; ++c) {
            EXPECT_NEAR(means.get(g, c), observed[g][c], 1e-13) << "group " << g << ", cell " << c;
        }
    }
}

TEST(PopulationEstimate, ImportRefusesWrongShapesAndKeepsThePopulation)
{
    LoadedEngine loaded;
    ASSERT_TRUE(loaded.load(unequalGroupsWithInteraction(), {1}, {1}));
    const RealMatrix means = matrixOf({{1, 2}, {3, 4}});
    const RealMatrix sds = matrixOf({{1, 1}, {1, 1}});
    const RealMatrix correlations = matrixOf({{1, 0}, {0, 1}});
    ASSERT_TRUE(loaded.engine.importSimulationMatrices(means, sds, correlations));
    EXPECT_FALSE(loaded.engine.importSimulationMatrices(matrixOf({{1, 2}}), sds, correlations));
    EXPECT_FALSE(loaded.engine.importSimulationMatrices(means, matrixOf({{1, 1, 1}, {1, 1, 1}}),
                                                        correlations));
    EXPECT_FALSE(loaded.engine.importSimulationMatrices(means, sds, matrixOf({{1}})));
    EXPECT_EQ(populationOf(loaded.engine).means.get(1, 1), 4.0);
}
