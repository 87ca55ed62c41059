// The population of an alpha simulation: cell means with the tested effect removed.

#include "tests/support/SimulationTestSupport.h"
#include "design/EffectList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

RealMatrix meansOf(const Anova& engine)
{
    RealMatrix means;
    RealMatrix sds;
    RealMatrix correlations;
    engine.exportSimulationMatrices(means, sds, correlations);
    return means;
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
        RealMatrix change(nullptr);
        imposed.subtract(observed, change);
        for (std::int32_t e = 1; e < 16; ++e) {
            EXPECT_LT(effectSize(loaded.design, e, e == tested ? imposed : change), 1e-12)
                << "effect " << e << " with effect " << tested << " removed";
        }
    }
}

