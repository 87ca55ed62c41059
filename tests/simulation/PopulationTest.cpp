// The population of a simulation: cell means with the tested effect removed, and the
// entries no population can have.

#include "design/EffectList.h"
#include "stats/PopulationCheck.h"
#include "tests/support/SimulationTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace {

RealMatrix meansOf(const Anova& engine)
{
    RealMatrix means;
    RealMatrix sds;
    RealMatrix correlations;
    engine.exportSimulationMatrices(means, sds, correlations);
    return means;
}

RealMatrix difference(const RealMatrix& a, const RealMatrix& b)
{
    RealMatrix result(a.getRows(), a.getCols(), nullptr);
    for (std::int32_t k = 0; k < a.getSize(); ++k) {
        result.dataPointer()[k] = a.dataPointer()[k] - b.dataPointer()[k];
    }
    return result;
}

// The largest |C means M| of effect row e of effectList: what the tests of that effect see.
double effectSize(Design& design, std::int32_t e, const RealMatrix& means)
{
    const GeneralMatrix<int> effects = effectList(4);
    design.setEffect({effects.get(e, 0), effects.get(e, 1)},
                     {effects.get(e, 2), effects.get(e, 3)});
    LapackWorkspace workspace;
    RealMatrix cb(&workspace);
    RealMatrix cbm(&workspace);
    design.getC().multiply(means, cb, false, false);
    cb.multiply(design.getM(), cbm, false, false);
    double largest = 0.0;
    for (std::int32_t k = 0; k < cbm.getSize(); ++k) {
        largest = std::max(largest, std::fabs(cbm.dataPointer()[k]));
    }
    return largest;
}

} // namespace

TEST(NullHypothesis, RemovesExactlyTheTestedEffectWithUnequalGroups)
{
    // Between 2 x 3 with unequal cells, within A(2) x B(2): each of the 15 effects in turn.
    const DataTable table = tableOf(2, {2, 2}, normalRows({2, 3}, {3, 4, 5, 3, 4, 6}, 4, 43u));
    LoadedEngine loaded;
    ASSERT_TRUE(loaded.load(table, {1, 1}, {1, 1}));
    loaded.engine.computeCellMeans();
    const RealMatrix observed = meansOf(loaded.engine);
    const GeneralMatrix<int> effects = effectList(4);
    for (std::int32_t tested = 1; tested < 16; ++tested) {
        ASSERT_TRUE(loaded.load(table, {effects.get(tested, 0), effects.get(tested, 1)},
                                {effects.get(tested, 2), effects.get(tested, 3)}));
        loaded.engine.computeCellMeans();
        loaded.engine.imposeNullHypothesis();
        const RealMatrix imposed = meansOf(loaded.engine);
        const RealMatrix change = difference(imposed, observed);
        for (std::int32_t e = 1; e < 16; ++e) {
            EXPECT_LT(effectSize(loaded.design, e, e == tested ? imposed : change), 1e-12)
                << "effect " << e << " with effect " << tested << " removed";
        }
    }
}

TEST(NullHypothesis, AlphaRemovesTheTestedEffectFromCustomMeansToo)
{
    // Between 2 x 3, within A(2) x B(2); the entered means hold every effect. Removing the
    // tested one must leave it 0 and every other effect as entered, as for estimated means.
    const DataTable table = tableOf(2, {2, 2}, normalRows({2, 3}, {3, 4, 5, 3, 4, 6}, 4, 43u));
    const GeneralMatrix<int> effects = effectList(4);
    const std::int32_t tested = 13; // one between and one within variable
    LoadedEngine loaded;
    ASSERT_TRUE(loaded.load(table, {effects.get(tested, 0), effects.get(tested, 1)},
                            {effects.get(tested, 2), effects.get(tested, 3)}));
    RealMatrix entered(6, 4, nullptr);
    for (std::int32_t k = 0; k < entered.getSize(); ++k) {
        entered.dataPointer()[k] = static_cast<double>((k * k * 7) % 11);
    }
    RealMatrix sds(6, 4, nullptr);
    std::fill_n(sds.dataPointer(), sds.getSize(), 1.0);
    RealMatrix correlations(4, 4, nullptr);
    for (std::int32_t k = 0; k < 4; ++k) {
        correlations.set(k, k, 1.0);
    }
    SimulationParameters parameters;
    ASSERT_TRUE(loaded.engine.prepareSimulation(parameters));
    ASSERT_TRUE(loaded.engine.importSimulationMatrices(entered, sds, correlations));
    parameters.useCustomMatrices = 1;
    ASSERT_GT(effectSize(loaded.design, tested, entered), 0.1);
    for (int run = 0; run < 2; ++run) { // the same means however often the run is prepared
        ASSERT_TRUE(loaded.engine.prepareSimulation(parameters));
        const RealMatrix imposed = meansOf(loaded.engine);
        const RealMatrix change = difference(imposed, entered);
        for (std::int32_t e = 1; e < 16; ++e) {
            EXPECT_LT(effectSize(loaded.design, e, e == tested ? imposed : change), 1e-12)
                << "effect " << e;
        }
    }
    parameters.simulateAlpha = 0; // power: the entered means as they are
    ASSERT_TRUE(loaded.engine.prepareSimulation(parameters));
    EXPECT_EQ(valuesOf(meansOf(loaded.engine)), valuesOf(entered));
}

TEST(PopulationFaults, EachImpossibleEntryIsNamed)
{
    using Rows = std::vector<std::vector<double>>;
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    const Rows goodMeans = {{1, 2}};
    const Rows goodSds = {{1, 2}};
    const Rows goodCorrelations = {{1, 0.5}, {0.5, 1}};
    const struct {
        Rows means;
        Rows sds;
        Rows correlations;
        std::string text;
    } cases[] = {
        {{{1, nan}},
         goodSds,
         goodCorrelations,
         "The mean in row 1, column 2 is nan; it must be a finite number."},
        {goodMeans,
         {{inf, 1}},
         goodCorrelations,
         "The standard deviation in row 1, column 1 is inf; it must be a finite number."},
        {goodMeans,
         {{1, -0.5}},
         goodCorrelations,
         "The standard deviation in row 1, column 2 is -0.5; a standard deviation must be "
         "positive."},
        {goodMeans,
         goodSds,
         {{1, nan}, {nan, 1}},
         "The correlation in row 1, column 2 is nan; it must be a finite number."},
        {goodMeans,
         goodSds,
         {{1, 0.5}, {-1.25, 1}},
         "The correlation in row 2, column 1 is -1.25; a correlation must lie between -1 and 1."},
        // A correlation of 1 between two cells is possible, but not positive definite: the
        // samples are drawn through the Cholesky factor, which then does not exist.
        {goodMeans,
         goodSds,
         {{1, 1}, {1, 1}},
         "The correlations are not positive definite: those of the first 2 cells (up to row 2, "
         "column 2) cannot hold together in any population."},
    };
    for (const auto& c : cases) {
        const std::optional<PopulationFault> fault =
            findPopulationFault(matrixOf(c.means), matrixOf(c.sds), matrixOf(c.correlations));
        ASSERT_TRUE(fault.has_value()) << c.text;
        EXPECT_EQ(populationFaultText(*fault), c.text);
    }
    EXPECT_FALSE(
        findPopulationFault(matrixOf(goodMeans), matrixOf(goodSds), matrixOf(goodCorrelations))
            .has_value());
}
