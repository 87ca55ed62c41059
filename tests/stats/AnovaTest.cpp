// The engine against textbook identities, degenerate data and its failure path.

#include "tests/support/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

namespace {

double mean(const std::vector<double>& values)
{
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

double sumOfSquares(const std::vector<double>& values)
{
    const double m = mean(values);
    return std::accumulate(values.begin(), values.end(), 0.0,
                           [m](double sum, double v) { return sum + (v - m) * (v - m); });
}

} // namespace

// t of y2 - y1; one contrast: epsilon 1, every MANOVA row equal and exact, λ = F · df1.
TEST(UnivariateTest, PairedTSquaredEqualsFOfTwoLevels)
{
    const auto rows = normalRows({}, {12}, 2, 11u);
    Analysis a;
    ASSERT_TRUE(a.run(tableOf(0, {2}, rows), {}, {1}));
    std::vector<double> d;
    for (const auto& row : rows) {
        d.push_back(row[1] - row[0]);
    }
    const double n = static_cast<double>(d.size());
    const double t = mean(d) / std::sqrt(sumOfSquares(d) / (n - 1.0) / n);
    const UnivariateTest& test = a.univariate();
    EXPECT_NEAR(test.F, t * t, 1e-10 * t * t);
    EXPECT_EQ(test.df1, 1.0);
    EXPECT_EQ(test.df2, n - 1.0);
    EXPECT_EQ(test.epsilon, 1.0);
    EXPECT_EQ(test.ggP, test.p);
    EXPECT_EQ(test.noncentrality, test.F * test.df1);
    for (const TestResult* row : manovaRows(a.engine)) {
        EXPECT_NEAR(row->F, test.F, 1e-10 * test.F);
        EXPECT_EQ(row->df1, 1.0);
        EXPECT_EQ(row->df2, n - 1.0);
        EXPECT_NEAR(row->p, test.p, 1e-10 * test.p);
        EXPECT_TRUE(row->exact);
        EXPECT_EQ(row->noncentrality, row->F * row->df1);
    }
}

// Pooled two-sample t on each participant's mean over the within cells, unequal groups.
TEST(UnivariateTest, BetweenEffectOfTwoGroupsIsThePooledTSquared)
{
    const auto rows = normalRows({2}, {5, 8}, 3, 12u);
    Analysis a;
    ASSERT_TRUE(a.run(tableOf(1, {3}, rows), {1}, {0}));
    std::vector<double> groups[2];
    for (const auto& row : rows) {
        groups[row[0] == 1.0 ? 0 : 1].push_back((row[1] + row[2] + row[3]) / 3.0);
    }
    const double n1 = static_cast<double>(groups[0].size());
    const double n2 = static_cast<double>(groups[1].size());
    const double pooled = (sumOfSquares(groups[0]) + sumOfSquares(groups[1])) / (n1 + n2 - 2.0);
    const double t = (mean(groups[0]) - mean(groups[1])) / std::sqrt(pooled / n1 + pooled / n2);
    EXPECT_NEAR(a.univariate().F, t * t, 1e-10 * t * t);
    EXPECT_EQ(a.univariate().df1, 1.0);
    EXPECT_EQ(a.univariate().df2, n1 + n2 - 2.0);
}

// Y = base + Z Mᵀ, Z orthogonal, gives E = c·I (epsilon 1); proportional columns epsilon 1/t.
TEST(UnivariateTest, EpsilonSpansOneOverTToOne)
{
    const double z1[] = {1, -1, 1, -1};
    const double z2[] = {1, 1, -1, -1};
    Analysis a;
    ASSERT_TRUE(a.build(tableOf(0, {3}, normalRows({}, {4}, 3, 15u))));
    a.design.setEffect({}, {1});
    const RealMatrix& M = a.design.getM();
    std::vector<std::vector<double>> spherical(4);
    for (int i = 0; i < 4; ++i) {
        for (int c = 0; c < 3; ++c) {
            spherical[i].push_back(10.0 + c + z1[i] * M.get(c, 0) + z2[i] * M.get(c, 1));
        }
    }
    ASSERT_TRUE(a.run(tableOf(0, {3}, spherical), {}, {1}));
    EXPECT_NEAR(a.univariate().epsilon, 1.0, 1e-12);
    EXPECT_EQ(a.univariate().df2, 6.0);

    std::vector<std::vector<double>> rankOne(6);
    for (int i = 0; i < 6; ++i) {
        for (double d : {0.5, -1.0, 2.0, 0.25}) {
            rankOne[i].push_back(3.0 + (i * i % 5) * d);
        }
    }
    ASSERT_TRUE(a.run(tableOf(0, {4}, rankOne), {}, {1}));
    EXPECT_NEAR(a.univariate().epsilon, 1.0 / 3.0, 1e-12);
}

// Wilks' df2 = (N - r - (t - q + 1)/2) g - (qt - 2)/2, g = 1 for q = 2, t = 1; g = 2 for 2, 2.
TEST(MultivariateTests, RaoGOfTwoHypothesisRows)
{
    const double n = 15.0;
    Analysis a;
    ASSERT_TRUE(a.run(tableOf(1, {2}, normalRows({3}, {4, 5, 6}, 2, 24u)), {1}, {1}));
    EXPECT_EQ(a.engine.getWilksTest().df2, n - 3.0);
    ASSERT_TRUE(a.run(tableOf(1, {3}, normalRows({3}, {4, 5, 6}, 3, 25u)), {1}, {1}));
    const WilksTest& wilks = a.engine.getWilksTest();
    EXPECT_EQ(wilks.df2, (n - 3.0 - 0.5) * 2.0 - 1.0);
    EXPECT_NEAR(wilks.F, (1.0 / std::sqrt(wilks.value) - 1.0) * wilks.df2 / 4.0, 1e-10 * wilks.F);
}

// H = 0 (equal means) or E = 0 (constant differences): all eigenvalues 0, every F 0, p 1.
TEST(MultivariateTests, NullEffectAndVanishingErrorGiveZeroStatistics)
{
    using Rows = std::vector<std::vector<double>>;
    for (const Rows& rows : {Rows{{3, 7, 5}, {5, 3, 9}, {9, 5, 3}, {7, 9, 7}},
                             Rows{{4, 7}, {6, 9}, {9, 12}, {5, 8}}}) {
        Analysis a;
        ASSERT_TRUE(a.run(tableOf(0, {static_cast<int>(rows[0].size())}, rows), {}, {1}));
        EXPECT_NEAR(a.engine.getPillaiTest().value, 0.0, 1e-12);
        EXPECT_NEAR(a.engine.getWilksTest().value, 1.0, 1e-12);
        EXPECT_NEAR(a.engine.getHotellingTest().value, 0.0, 1e-12);
        for (const TestResult* row : manovaRows(a.engine)) {
            EXPECT_NEAR(row->F, 0.0, 1e-12);
            EXPECT_NEAR(row->p, 1.0, 1e-12);
        }
    }
}

// An empty between cell makes XᵀX singular: compute fails and keeps the last results.
TEST(AnovaEngine, EmptyBetweenCellFailsAndKeepsTheResults)
{
    Design design;
    ASSERT_TRUE(buildDesign(tableOf(2, {2}, normalRows({2, 2}, {3, 4, 5, 0}, 2, 32u)), design));
    ASSERT_EQ(design.getGroupStart()[3], -1);
    Analysis full;
    ASSERT_TRUE(full.run(tableOf(2, {2}, normalRows({2, 2}, {3, 4, 5, 2}, 2, 33u)), {1, 1}, {1}));
    const double univariateF = full.univariate().F;
    const double pillaiF = full.engine.getPillaiTest().F;
    EXPECT_FALSE(computeEffect(design, full.engine, {1, 1}, {1}));
    EXPECT_EQ(full.univariate().F, univariateF);
    EXPECT_EQ(full.engine.getPillaiTest().F, pillaiF);
}
