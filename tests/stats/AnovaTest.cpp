// The engine itself: its sentinels and copies, the failure on an empty between cell, the
// rank of X, and invariances that any correct model must show: reordered participants or
// data columns, a linear change of units, and a reparametrised cell-indicator matrix.

#include "EngineTestSupport.h"
#include "stats/AnalysisIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// Every field that an analysis row of the results table shows, in analysis order.
std::vector<double> shownFields(const Anova& engine)
{
    const UnivariateTest& u = engine.getUnivariateTest();
    std::vector<double> fields = {u.F, u.df1, u.df2, u.p, u.noncentrality};
    fields.insert(fields.end(), {u.ggDf1, u.ggDf2, u.ggP, u.ggNoncentrality, u.epsilon});
    for (const TestResult* row : {static_cast<const TestResult*>(&engine.getPillaiTest()),
                                  static_cast<const TestResult*>(&engine.getWilksTest()),
                                  static_cast<const TestResult*>(&engine.getHotellingTest())}) {
        fields.insert(fields.end(), {row->value, row->F, row->df1, row->df2, row->p,
                                     row->noncentrality, row->exact ? 1.0 : 0.0});
    }
    return fields;
}

// All effects of a table, each as the list of its shown fields.
std::vector<std::vector<double>> allEffects(const DataTable& table)
{
    Design design;
    EXPECT_TRUE(buildDesign(table, design));
    const std::int32_t b = betweenVariableCount(table);
    const auto w = static_cast<std::int32_t>(table.withinLevels.size());
    Anova engine(0);
    std::vector<std::vector<double>> results;
    for (std::int32_t e = 1; e < (1 << (b + w)); ++e) {
        std::vector<int> between;
        std::vector<int> within;
        effectFlags(e, b, w, between, within);
        EXPECT_TRUE(computeEffect(design, engine, between, within)) << "effect " << e;
        results.push_back(shownFields(engine));
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

// Two between variables (2 x 2 and 2 x 3 cells) and three within variables, unbalanced.
DataTable unbalancedTable()
{
    return tableOf(2, {2, 3, 2}, normalRows({2, 3}, {5, 4, 6, 3, 5, 4}, 12, 31u));
}

} // namespace

TEST(AnalysisIndex, NamesFollowTheResultsTableRows)
{
    EXPECT_EQ(ANALYSIS_NAMES[AnalysisAnovaUncorrected], "ANOVA (uncorr.)");
    EXPECT_EQ(ANALYSIS_NAMES[AnalysisAnovaGreenhouseGeisser], "ANOVA (Greenhouse-Geisser)");
    EXPECT_EQ(ANALYSIS_NAMES[AnalysisPillai], "MANOVA (Pillai)");
    EXPECT_EQ(ANALYSIS_NAMES[AnalysisWilks], "MANOVA (Wilks)");
    EXPECT_EQ(ANALYSIS_NAMES[AnalysisHotelling], "MANOVA (Hotelling)");
}

TEST(AnovaEngine, StartsAtTheSentinelsAndKeepsItsName)
{
    Anova engine(3);
    EXPECT_EQ(engine.getThreadIndex(), 3);
    EXPECT_EQ(engine.getWilksTest().n, -99);
    EXPECT_EQ(engine.getWilksTest().F, -99.0);
    EXPECT_FALSE(engine.getWilksTest().exact);
    EXPECT_EQ(engine.getWilksTest().eigenvalues, nullptr);
    EXPECT_EQ(engine.getUnivariateTest().ggP, -99.0);
    EXPECT_EQ(engine.getUnivariateTest().value, -99.0);
    engine.setEffectName("group x time");
    EXPECT_EQ(engine.effectName(), "group x time");
}

// A between cell without participants leaves a zero column in X, so XᵀX is singular:
// compute fails and the tests keep what they held (sentinels, or the last results).
TEST(AnovaEngine, EmptyBetweenCellFailsAndKeepsTheResults)
{
    std::vector<std::vector<double>> rows = normalRows({2, 2}, {3, 4, 5, 0}, 2, 32u);
    Design design;
    ASSERT_TRUE(buildDesign(tableOf(2, {2}, rows), design));
    ASSERT_EQ(design.getGroupStart()[3], -1);
    Anova fresh(0);
    EXPECT_FALSE(computeEffect(design, fresh, {1, 1}, {1}));
    EXPECT_EQ(fresh.getPillaiTest().F, -99.0);
    EXPECT_EQ(fresh.getUnivariateTest().p, -99.0);

    Design full;
    ASSERT_TRUE(buildDesign(tableOf(2, {2}, normalRows({2, 2}, {3, 4, 5, 2}, 2, 33u)), full));
    Anova engine(0);
    ASSERT_TRUE(computeEffect(full, engine, {1, 1}, {1}));
    const std::vector<double> before = shownFields(engine);
    EXPECT_FALSE(computeEffect(design, engine, {1, 1}, {1}));
    EXPECT_EQ(shownFields(engine), before);
}

// rank(X) by the number of singular values above the tolerance (the SVD of RealMatrix)
// equals the rank the engine reports, balanced and unbalanced.
TEST(AnovaEngine, RankOfXIsTheSingularValueCount)
{
    for (const DataTable& table :
         {unbalancedTable(), tableOf(1, {3}, normalRows({4}, {5, 5, 5, 5}, 3, 34u)),
          tableOf(0, {2, 2}, normalRows({}, {7}, 4, 35u))}) {
        Design design;
        ASSERT_TRUE(buildDesign(table, design));
        std::vector<int> between;
        std::vector<int> within;
        effectFlags(1, betweenVariableCount(table),
                    static_cast<std::int32_t>(table.withinLevels.size()), between, within);
        Anova engine(0);
        ASSERT_TRUE(computeEffect(design, engine, between, within));
        EXPECT_EQ(engine.getPillaiTest().rankX, static_cast<int>(design.getX().rank()));
        EXPECT_EQ(engine.getPillaiTest().rankX, design.getX().getCols());
        EXPECT_EQ(engine.getPillaiTest().n, design.getY().getRows());
    }
}

// Regrouping participants (rows in another order) and moving data columns (with their
// labels) must not change any result. Tolerance 1e-10 relative.
TEST(AnovaEngine, OrderOfRowsAndColumnsDoesNotMatter)
{
    const DataTable table = unbalancedTable();
    const auto expected = allEffects(table);

    // Within columns reversed, the "between" columns moved to the end in their own order
    // (their order is the order of the between variables in the effect list).
    std::vector<std::size_t> order;
    for (std::size_t j = table.columnNames.size() - 1; j >= 2; --j) {
        order.push_back(j);
    }
    order.push_back(0);
    order.push_back(1);
    std::vector<std::vector<double>> rows = table.rows;
    std::mt19937 generator(36u);
    std::shuffle(rows.begin(), rows.end(), generator);
    DataTable reordered = table;
    for (std::size_t j = 0; j < order.size(); ++j) {
        reordered.columnNames[j] = table.columnNames[order[j]];
        reordered.roles[j] = table.roles[order[j]];
        for (std::size_t i = 0; i < rows.size(); ++i) {
            reordered.rows[i][j] = rows[i][order[j]];
        }
    }
    expectSameResults(allEffects(reordered), expected, 1e-10);
}

// Every statistic is invariant under a change of units y -> a + b·y, and group codes only
// matter by their order (codes 1, 2 -> -5, 40). Tolerance 1e-9 relative.
// Checked on an unbalanced and a balanced design with two between variables.
TEST(AnovaEngine, ChangeOfUnitsAndCodesDoesNotMatter)
{
    for (const DataTable& table :
         {unbalancedTable(), tableOf(2, {3, 2}, normalRows({2, 2}, {4, 4, 4, 4}, 6, 30u))}) {
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
    Design design;
    ASSERT_TRUE(buildDesign(tableOf(1, {3}, normalRows({2}, {6, 5}, 3, 37u)), design));
    Anova engine(0);
    ASSERT_TRUE(computeEffect(design, engine, {1}, {1}));
    const std::vector<double> first = shownFields(engine);
    ASSERT_TRUE(buildDesign(tableOf(1, {4}, normalRows({3}, {4, 4, 4}, 4, 38u)), design));
    design.setEffect({1}, {0});
    ASSERT_TRUE(engine.compute());
    EXPECT_EQ(shownFields(engine), first);
}

// X' = X T and C' = C T for an invertible T give B' = T⁻¹B and leave C B M, C (XᵀX)⁻¹ Cᵀ
// and the residuals unchanged, so every result must agree. With T = (1 1; 0 1) the rows of
// the first group read (1, 1): X' holds only zeros and ones but is no cell indicator and
// takes the general route. Two equal columns make X' rank deficient: compute fails.
// Tolerance 1e-10 relative.
TEST(AnovaEngine, ReparametrisedCellMatrixGivesTheSameTests)
{
    Design design;
    ASSERT_TRUE(buildDesign(tableOf(1, {3}, normalRows({2}, {5, 7}, 3, 39u)), design));
    Anova engine(0);
    ASSERT_TRUE(computeEffect(design, engine, {1}, {1}));
    const std::vector<double> expected = shownFields(engine);

    LapackWorkspace workspace;
    RealMatrix T(2, 2, &workspace);
    T.set(0, 0, 1.0);
    T.set(0, 1, 1.0);
    T.set(1, 1, 1.0);
    RealMatrix X(&workspace);
    RealMatrix C(&workspace);
    design.getX().multiply(T, X, false, false);
    design.getC().multiply(T, C, false, false);
    engine.setDesign(design.getY(), X, design.getGroupStart(), design.getBetweenLevels(),
                     design.getWithinLevels(), design.getBetweenCombinations(),
                     design.getWithinCombinations(), design.getBetweenCount(),
                     design.getWithinCount());
    engine.setEffect(C, design.getM(), {}, {});
    ASSERT_TRUE(engine.compute());
    expectSameResults({shownFields(engine)}, {expected}, 1e-10);

    T.set(1, 0, 1.0); // both columns of X' become the sum of the columns of X
    design.getX().multiply(T, X, false, false);
    engine.setDesign(design.getY(), X, design.getGroupStart(), design.getBetweenLevels(),
                     design.getWithinLevels(), design.getBetweenCombinations(),
                     design.getWithinCombinations(), design.getBetweenCount(),
                     design.getWithinCount());
    EXPECT_FALSE(engine.compute());
}
