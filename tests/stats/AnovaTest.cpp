// The engine itself: the failure on an empty between cell, copied inputs, and invariances
// that any correct model must show: a linear change of units and of group codes, and a
// reparametrised cell-indicator matrix. (Shuffled columns and unsorted participants are
// part of the reference designs.)

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Every field that an analysis row of the results table shows, in analysis order.
std::vector<double> shownFields(const Anova& engine)
{
    const UnivariateTest& u = engine.getUnivariateTest();
    std::vector<double> fields = {u.F,     u.df1,   u.df2, u.p, u.noncentrality,
                                  u.ggDf1, u.ggDf2, u.ggP, u.ggNoncentrality, u.epsilon};
    for (const TestResult* row : manovaRows(engine)) {
        fields.insert(fields.end(), {row->value, row->F, row->df1, row->df2, row->p,
                                     row->noncentrality, row->exact ? 1.0 : 0.0});
    }
    return fields;
}

// All effects of a table, each as the list of its shown fields.
std::vector<std::vector<double>> allEffects(const DataTable& table)
{
    Analysis a;
    EXPECT_TRUE(a.build(table));
    std::vector<std::vector<double>> results;
    for (std::int32_t e = 1; e < a.effectCount(); ++e) {
        EXPECT_TRUE(a.runEffect(e)) << "effect " << e;
        results.push_back(shownFields(a.engine));
    }
    return results;
}

void expectSameResults(const std::vector<std::vector<double>>& actual,
                       const std::vector<std::vector<double>>& expected, double tolerance)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t e = 0; e < expected.size(); ++e) {
        for (std::size_t f = 0; f < expected[e].size(); ++f) {
            EXPECT_LE(relativeDifference(actual[e][f], expected[e][f]), tolerance)
                << "effect " << e + 1 << ", field " << f << ": " << actual[e][f] << " vs "
                << expected[e][f];
        }
    }
}

// The design's data with another cell-indicator matrix X.
void setDesignWithX(Anova& engine, const Design& design, const RealMatrix& X)
{
    engine.setDesign(design.getY(), X, design.getGroupStart(), design.getBetweenLevels(),
                     design.getWithinLevels(), design.getBetweenCombinations(),
                     design.getWithinCombinations(), design.getBetweenCount(),
                     design.getWithinCount());
}

} // namespace

// A between cell without participants leaves a zero column in X, so XᵀX is singular:
// compute fails and the tests keep what they held (sentinels, or the last results).
TEST(AnovaEngine, EmptyBetweenCellFailsAndKeepsTheResults)
{
    Design design;
    ASSERT_TRUE(buildDesign(tableOf(2, {2}, normalRows({2, 2}, {3, 4, 5, 0}, 2, 32u)), design));
    ASSERT_EQ(design.getGroupStart()[3], -1);
    Anova fresh(0);
    EXPECT_FALSE(computeEffect(design, fresh, {1, 1}, {1}));
    EXPECT_EQ(fresh.getPillaiTest().F, -99.0);
    EXPECT_EQ(fresh.getUnivariateTest().p, -99.0);

    Analysis full;
    ASSERT_TRUE(full.run(tableOf(2, {2}, normalRows({2, 2}, {3, 4, 5, 2}, 2, 33u)), {1, 1}, {1}));
    const std::vector<double> before = shownFields(full.engine);
    EXPECT_FALSE(computeEffect(design, full.engine, {1, 1}, {1}));
    EXPECT_EQ(shownFields(full.engine), before);
}

// Every statistic is invariant under a change of units y -> a + b·y, and group codes only
// matter by their order (codes 1, 2 -> -5, 40). Tolerance 1e-9 relative, on an unbalanced
// 2 x 3 between, 2 x 3 x 2 within design and a balanced 2 x 2 between, 3 x 2 within one.
TEST(AnovaEngine, ChangeOfUnitsAndCodesDoesNotMatter)
{
    for (const DataTable& table :
         {tableOf(2, {2, 3, 2}, normalRows({2, 3}, {5, 4, 6, 3, 5, 4}, 12, 31u)),
          tableOf(2, {3, 2}, normalRows({2, 2}, {4, 4, 4, 4}, 6, 30u))}) {
        DataTable changed = table;
        for (auto& row : changed.rows) {
            row[0] = row[0] == 1.0 ? -5.0 : 40.0;
            for (std::size_t j = 2; j < row.size(); ++j) {
                row[j] = 250.0 - 3.5 * row[j];
            }
        }
        expectSameResults(allEffects(changed), allEffects(table), 1e-9);
    }
}

// Y, X, C and M are copied: rebuilding the Design afterwards changes nothing.
TEST(AnovaEngine, InputsAreCopied)
{
    Analysis a;
    ASSERT_TRUE(a.run(tableOf(1, {3}, normalRows({2}, {6, 5}, 3, 37u)), {1}, {1}));
    const std::vector<double> first = shownFields(a.engine);
    ASSERT_TRUE(a.build(tableOf(1, {4}, normalRows({3}, {4, 4, 4}, 4, 38u))));
    a.design.setEffect({1}, {0});
    ASSERT_TRUE(a.engine.compute());
    EXPECT_EQ(shownFields(a.engine), first);
}

// X' = X T and C' = C T for an invertible T give B' = T⁻¹B and leave C B M, C (XᵀX)⁻¹ Cᵀ
// and the residuals unchanged. With T = (1 1; 0 1) X' holds only zeros and ones but is no
// cell indicator, so it takes the general route. Tolerance 1e-10 relative. Two equal
// columns make X' rank deficient: compute fails.
TEST(AnovaEngine, ReparametrisedCellMatrixGivesTheSameTests)
{
    Analysis a;
    ASSERT_TRUE(a.run(tableOf(1, {3}, normalRows({2}, {5, 7}, 3, 39u)), {1}, {1}));
    const std::vector<double> expected = shownFields(a.engine);

    LapackWorkspace workspace;
    RealMatrix T(2, 2, &workspace);
    T.set(0, 0, 1.0);
    T.set(0, 1, 1.0);
    T.set(1, 1, 1.0);
    RealMatrix X(&workspace);
    RealMatrix C(&workspace);
    a.design.getX().multiply(T, X, false, false);
    a.design.getC().multiply(T, C, false, false);
    setDesignWithX(a.engine, a.design, X);
    a.engine.setEffect(C, a.design.getM(), {}, {});
    ASSERT_TRUE(a.engine.compute());
    expectSameResults({shownFields(a.engine)}, {expected}, 1e-10);

    T.set(1, 0, 1.0); // both columns of X' become the sum of the columns of X
    a.design.getX().multiply(T, X, false, false);
    setDesignWithX(a.engine, a.design, X);
    EXPECT_FALSE(a.engine.compute());
}
