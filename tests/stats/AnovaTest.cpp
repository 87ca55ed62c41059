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

// H = 0 (equal means): all eigenvalues 0, every F 0, p 1.
TEST(MultivariateTests, NullEffectGivesZeroStatistics)
{
    const std::vector<std::vector<double>> rows{{3, 7, 5}, {5, 3, 9}, {9, 5, 3}, {7, 9, 7}};
    Analysis a;
    ASSERT_TRUE(a.run(tableOf(0, {3}, rows), {}, {1}));
    EXPECT_NEAR(a.engine.getPillaiTest().value, 0.0, 1e-12);
    EXPECT_NEAR(a.engine.getWilksTest().value, 1.0, 1e-12);
    EXPECT_NEAR(a.engine.getHotellingTest().value, 0.0, 1e-12);
    for (const TestResult* row : manovaRows(a.engine)) {
        EXPECT_NEAR(row->F, 0.0, 1e-12);
        EXPECT_NEAR(row->p, 1.0, 1e-12);
    }
}

// Designs without error degrees of freedom or with a singular E: each analysis is either
// available or says why not, with NaN numbers instead of made-up ones. Rows that differ by
// constants only leave an E of rounding noise (the means of 0.1 + k are not exact), which
// must count as zero whatever the units.
TEST(AnovaEngine, DegenerateDesignsAreNotAvailable)
{
    using Rows = std::vector<std::vector<double>>;
    constexpr auto none = Availability::NoErrorDegreesOfFreedom;
    constexpr auto zero = Availability::ZeroErrorSumOfSquares;
    constexpr auto singular = Availability::SingularErrorMatrix;
    constexpr auto ok = Availability::Available;
    Rows shifted;
    for (double k : {0.1, 0.7, 1.3, 2.9, 3.3}) {
        shifted.push_back({k * 1e-7, (k + 0.1) * 1e-7, (k + 0.3) * 1e-7});
    }
    const struct {
        const char* name;
        std::int32_t betweenCount;
        Rows rows;
        std::vector<int> betweenFlags;
        Availability univariate;
        Availability manova;
    } cases[] = {
        {"one participant", 0, {{1, 2, 4}}, {}, none, none},
        {"groups 1, 1, 2, 3: within",
         1,
         {{1, 1, 3, 2}, {1, 2, 2, 5}, {2, 4, 1, 1}, {3, 2, 2, 6}},
         {0},
         ok,
         singular},
        {"groups 1, 1, 2, 3: interaction",
         1,
         {{1, 1, 3, 2}, {1, 2, 2, 5}, {2, 4, 1, 1}, {3, 2, 2, 6}},
         {1},
         ok,
         singular},
        {"rows differing by constants",
         0,
         {{1, 2, 3}, {2, 3, 4}, {3, 4, 5}, {5, 6, 7}},
         {},
         zero,
         singular},
        {"the same in small units", 0, shifted, {}, zero, singular},
    };
    for (const auto& c : cases) {
        Analysis a;
        ASSERT_TRUE(a.run(tableOf(c.betweenCount, {3}, c.rows), c.betweenFlags, {1})) << c.name;
        const UnivariateTest& univariate = a.univariate();
        EXPECT_EQ(univariate.availability, c.univariate) << c.name;
        EXPECT_EQ(std::isnan(univariate.F), c.univariate != ok) << c.name;
        EXPECT_EQ(std::isnan(univariate.ggP), c.univariate != ok) << c.name;
        for (const TestResult* row : manovaRows(a.engine)) {
            EXPECT_EQ(row->availability, c.manova) << c.name;
            EXPECT_EQ(std::isnan(row->value), c.manova != ok) << c.name;
            EXPECT_EQ(std::isnan(row->p), c.manova != ok) << c.name;
            EXPECT_EQ(std::isnan(row->df2), c.manova != ok) << c.name;
        }
    }
}

// Units do not matter: measurements times 10^k, k = -12 .. 12, give every F, p and epsilon
// of every effect of a mixed design to 1e-10 relative. (With an absolute zero bound E of
// 1e-10-scaled data counted as zero, and every MANOVA row read Pillai 0, F 0, p 1.)
TEST(AnovaEngine, ResultsDoNotDependOnTheUnits)
{
    const auto rows = normalRows({2}, {6, 7}, 6, 41u);
    const DataTable table = tableOf(1, {2, 3}, rows);
    Analysis reference;
    ASSERT_TRUE(reference.build(table));
    const auto resultsOf = [](Analysis& a, std::int32_t e) {
        EXPECT_TRUE(a.runEffect(e));
        const UnivariateTest& u = a.univariate();
        std::vector<double> numbers{u.F, u.p, u.epsilon, u.ggP};
        for (const TestResult* row : manovaRows(a.engine)) {
            numbers.insert(numbers.end(), {row->value, row->F, row->p});
        }
        return numbers;
    };
    for (int k = -12; k <= 12; ++k) {
        auto scaledRows = rows;
        for (auto& row : scaledRows) {
            for (std::size_t c = 1; c < row.size(); ++c) {
                row[c] *= std::pow(10.0, k);
            }
        }
        Analysis scaled;
        ASSERT_TRUE(scaled.build(tableOf(1, {2, 3}, scaledRows)));
        for (std::int32_t e = 1; e < reference.effectCount(); ++e) {
            const std::vector<double> expected = resultsOf(reference, e);
            const std::vector<double> actual = resultsOf(scaled, e);
            for (std::size_t i = 0; i < expected.size(); ++i) {
                ASSERT_FALSE(std::isnan(expected[i])) << "effect " << e << " number " << i;
                EXPECT_NEAR(actual[i], expected[i], 1e-10 * std::fabs(expected[i]))
                    << "k " << k << " effect " << e << " number " << i;
            }
        }
    }
}

// Infinities must not reach LAPACK: an infinite measurement, and finite data whose squares
// overflow, make the effect fail with their cause.
TEST(AnovaEngine, NonFiniteNumbersFailWithTheirCause)
{
    const struct {
        std::vector<std::vector<double>> rows;
        ComputeFailure failure;
    } cases[] = {
        {{{1, 2}, {3, 4}, {5, 7}}, ComputeFailure::None},
        {{{HUGE_VAL, 2}, {3, 4}, {5, 7}}, ComputeFailure::NonFiniteData},
        {{{1e160, 2}, {3e160, 4}, {5, 7}}, ComputeFailure::Overflow},
        {{{1.7e308, -1.7e308}, {3, 4}, {5, 7}}, ComputeFailure::Overflow},
    };
    for (const auto& c : cases) {
        Analysis a;
        EXPECT_EQ(a.run(tableOf(0, {2}, c.rows), {}, {1}), c.failure == ComputeFailure::None);
        EXPECT_EQ(a.engine.getLastFailure(), c.failure) << c.rows[0][0];
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
    EXPECT_EQ(full.engine.getLastFailure(), ComputeFailure::EmptyGroup);
    EXPECT_EQ(full.univariate().F, univariateF);
    EXPECT_EQ(full.engine.getPillaiTest().F, pillaiF);
}
