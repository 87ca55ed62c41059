// The univariate repeated-measures test against textbook identities: the paired and the
// pooled two-sample t test, the one-way ANOVA of unequal groups, and the two boundary
// values of the Greenhouse-Geisser epsilon.

#include "EngineTestSupport.h"

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
    double sum = 0.0;
    for (double v : values) {
        sum += (v - m) * (v - m);
    }
    return sum;
}

// One-way ANOVA F of the groups (hand formula, unequal sizes allowed).
double oneWayF(const std::vector<std::vector<double>>& groups)
{
    std::vector<double> all;
    double within = 0.0;
    for (const auto& group : groups) {
        all.insert(all.end(), group.begin(), group.end());
        within += sumOfSquares(group);
    }
    double between = 0.0;
    for (const auto& group : groups) {
        const double deviation = mean(group) - mean(all);
        between += static_cast<double>(group.size()) * deviation * deviation;
    }
    const double k = static_cast<double>(groups.size());
    return (between / (k - 1.0)) / (within / (static_cast<double>(all.size()) - k));
}

} // namespace

// Paired t = mean(d) / (sd(d) / sqrt(N)) of d = y2 - y1; F = t² with 1 and N - 1 df, and
// every MANOVA row repeats that row exactly. Tolerance 1e-10 relative (both are a few
// roundings from the data).
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
    // One contrast: epsilon 1 and the corrected row equals the uncorrected one.
    EXPECT_EQ(test.epsilon, 1.0);
    EXPECT_EQ(test.ggDf2, test.df2);
    EXPECT_EQ(test.ggP, test.p);
    EXPECT_EQ(test.value, -99.0);
    EXPECT_FALSE(test.exact);
    for (const TestResult* row : manovaRows(a.engine)) {
        EXPECT_NEAR(row->F, test.F, 1e-10 * test.F);
        EXPECT_EQ(row->df1, 1.0);
        EXPECT_EQ(row->df2, n - 1.0);
        EXPECT_NEAR(row->p, test.p, 1e-10 * test.p);
        EXPECT_TRUE(row->exact);
    }
}

// Student's t table: t(0.975; 9 df) = 2.262157, so differences with that t give the
// two-sided p 0.05. Tolerance 1e-6 (the table's six decimals move p by about 1e-7).
TEST(UnivariateTest, PairedPValueMatchesTheTTable)
{
    const double tabulated = 2.262157;
    const double spread = std::sqrt(82.5 / 9.0); // sd of -4.5, -3.5, ..., 4.5
    std::vector<std::vector<double>> rows;
    for (int i = 0; i < 10; ++i) {
        const double base = 20.0 + (i % 3);
        rows.push_back({base, base + tabulated * spread / std::sqrt(10.0) + (i - 4.5)});
    }
    Analysis a;
    ASSERT_TRUE(a.run(tableOf(0, {2}, rows), {}, {1}));
    EXPECT_NEAR(a.univariate().F, tabulated * tabulated, 1e-9);
    EXPECT_NEAR(a.univariate().p, 0.05, 1e-6);
}

// Pooled two-sample t on each participant's mean over the within cells; F = t² with 1 and
// N - 2 df. Unequal groups (5 and 8). Tolerance 1e-10 relative.
TEST(UnivariateTest, BetweenEffectOfTwoGroupsIsThePooledTSquared)
{
    const auto rows = normalRows({2}, {5, 8}, 3, 12u);
    Analysis a;
    ASSERT_TRUE(a.run(tableOf(1, {3}, rows), {1}, {0}));
    std::vector<double> first;
    std::vector<double> second;
    for (const auto& row : rows) {
        (row[0] == 1.0 ? first : second).push_back((row[1] + row[2] + row[3]) / 3.0);
    }
    const double n1 = static_cast<double>(first.size());
    const double n2 = static_cast<double>(second.size());
    const double pooled = (sumOfSquares(first) + sumOfSquares(second)) / (n1 + n2 - 2.0);
    const double t = (mean(first) - mean(second)) / std::sqrt(pooled * (1.0 / n1 + 1.0 / n2));
    EXPECT_NEAR(a.univariate().F, t * t, 1e-10 * t * t);
    EXPECT_EQ(a.univariate().df1, 1.0);
    EXPECT_EQ(a.univariate().df2, n1 + n2 - 2.0);
}

// One-way ANOVA (hand formula) of three unequal groups, on the participants' means for the
// between effect and on the differences y2 - y1 for group x A. Tolerance 1e-10 relative.
TEST(UnivariateTest, UnequalGroupsMatchTheOneWayAnova)
{
    const auto rows = normalRows({3}, {4, 7, 5}, 2, 13u);
    std::vector<std::vector<double>> means(3);
    std::vector<std::vector<double>> differences(3);
    for (const auto& row : rows) {
        const auto g = static_cast<std::size_t>(row[0]) - 1;
        means[g].push_back(row[1] + row[2]);
        differences[g].push_back(row[2] - row[1]);
    }
    Analysis a;
    ASSERT_TRUE(a.run(tableOf(1, {2}, rows), {1}, {0}));
    EXPECT_NEAR(a.univariate().F, oneWayF(means), 1e-10 * oneWayF(means));
    EXPECT_EQ(a.univariate().df2, 16.0 - 3.0);
    ASSERT_TRUE(computeEffect(a.design, a.engine, {1}, {1}));
    EXPECT_NEAR(a.univariate().F, oneWayF(differences), 1e-10 * oneWayF(differences));
    EXPECT_EQ(a.univariate().df1, 2.0);
}

// With the columns of Y M orthogonal and of equal length the error matrix is c·I and
// epsilon is exactly 1; proportional columns make it rank one and epsilon 1/t.
// Y = base + Z Mᵀ puts Z into Y M because M has orthonormal columns. Three levels also
// give df1 = 2 and df2 = 2(N - 1). Tolerance 1e-12.
TEST(UnivariateTest, EpsilonSpansOneOverTToOne)
{
    const double z1[] = {1, -1, 1, -1};
    const double z2[] = {1, 1, -1, -1};
    Analysis a;
    ASSERT_TRUE(a.build(tableOf(0, {3}, normalRows({}, {4}, 3, 15u))));
    a.design.setEffect({}, {1});
    const RealMatrix& M = a.design.getM();
    std::vector<std::vector<double>> spherical;
    for (int i = 0; i < 4; ++i) {
        spherical.emplace_back();
        for (int c = 0; c < 3; ++c) {
            spherical.back().push_back(10.0 + c + z1[i] * M.get(c, 0) + z2[i] * M.get(c, 1));
        }
    }
    ASSERT_TRUE(a.run(tableOf(0, {3}, spherical), {}, {1}));
    EXPECT_NEAR(a.univariate().epsilon, 1.0, 1e-12);
    EXPECT_NEAR(a.univariate().ggDf2, a.univariate().df2, 1e-10);
    EXPECT_EQ(a.univariate().df1, 2.0);
    EXPECT_EQ(a.univariate().df2, 6.0);

    std::vector<std::vector<double>> rankOne;
    for (int i = 0; i < 6; ++i) {
        rankOne.emplace_back();
        for (double d : {0.5, -1.0, 2.0, 0.25}) {
            rankOne.back().push_back(3.0 + (i * i % 5) * d);
        }
    }
    ASSERT_TRUE(a.run(tableOf(0, {4}, rankOne), {}, {1}));
    EXPECT_NEAR(a.univariate().epsilon, 1.0 / 3.0, 1e-12);
}

// noncentrality = F · df1 exactly as computed (no bias correction); the corrected row
// scales df1, df2 and the noncentrality by epsilon, which lies in [1/t, 1].
TEST(UnivariateTest, NoncentralityAndCorrectedRowFollowF)
{
    Analysis a;
    ASSERT_TRUE(a.build(tableOf(1, {2, 3}, normalRows({2}, {6, 4}, 6, 16u))));
    for (std::int32_t e = 1; e < a.effectCount(); ++e) {
        SCOPED_TRACE(testing::Message() << "effect " << e);
        ASSERT_TRUE(a.runEffect(e));
        const UnivariateTest& test = a.univariate();
        EXPECT_EQ(test.noncentrality, test.F * test.df1);
        EXPECT_EQ(test.ggNoncentrality, test.noncentrality * test.epsilon);
        EXPECT_EQ(test.ggDf1, test.epsilon * test.df1);
        EXPECT_EQ(test.ggDf2, test.epsilon * test.df2);
        EXPECT_GE(test.epsilon, 1.0 / test.t - 1e-12);
        EXPECT_LE(test.epsilon, 1.0 + 1e-12);
        EXPECT_GE(test.ggP, 0.0);
        EXPECT_LE(test.ggP, 1.0);
    }
}
