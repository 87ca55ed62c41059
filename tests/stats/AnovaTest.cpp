// The engine on degenerate data, data in any units, and its failure paths; the numbers of
// ordinary designs are pinned by ReferenceCasesTest.

#include "tests/support/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

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
