// The MANOVA tests against textbook identities: one eigenvalue ties the three statistics
// together, Hotelling's one-sample T², the special cases of Rao's g, and exactness by s.

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

// With one eigenvalue λ = T (s = 1), V = T / (1 + T), Λ = 1 / (1 + T), and all three F
// equal λ · df2 / df1 with df2 = N - r - t + 1, exact. Every effect of an unbalanced 2 x 3
// between, 2 x 2 x 2 within design has s = 1. Tolerance 1e-10 relative.
TEST(MultivariateTests, OneEigenvalueTiesTheThreeStatistics)
{
    Analysis a;
    ASSERT_TRUE(a.build(tableOf(2, {2, 2, 2}, normalRows({2, 3}, {4, 3, 5, 6, 3, 4}, 8, 21u))));
    for (std::int32_t e = 1; e < a.effectCount(); ++e) {
        SCOPED_TRACE(testing::Message() << "effect " << e);
        ASSERT_TRUE(a.runEffect(e));
        const HotellingTest& hotelling = a.engine.getHotellingTest();
        ASSERT_EQ(hotelling.s, 1);
        const double T = hotelling.value;
        const double df2 = hotelling.n - hotelling.rankX - hotelling.t + 1.0;
        const double F = T * df2 / hotelling.df1;
        EXPECT_NEAR(a.engine.getPillaiTest().value, T / (1.0 + T), 1e-10);
        EXPECT_NEAR(a.engine.getWilksTest().value, 1.0 / (1.0 + T), 1e-10);
        for (const TestResult* row : manovaRows(a.engine)) {
            EXPECT_NEAR(row->F, F, 1e-10 * F);
            EXPECT_NEAR(row->df2, df2, 1e-12);
            EXPECT_EQ(row->df1, static_cast<double>(row->q * row->t));
            EXPECT_EQ(row->noncentrality, row->F * row->df1);
            EXPECT_NEAR(row->p, hotelling.p, 1e-10);
            EXPECT_TRUE(row->exact);
        }
        if (hotelling.t == 1) { // the univariate test is then the same F test
            EXPECT_NEAR(a.univariate().F, F, 1e-10 * F);
        }
    }
}

// Hotelling's one-sample T² = N d̄ᵀ S_d⁻¹ d̄ of the differences d = (y2 - y1, y3 - y2) (T²
// does not depend on the basis of the contrasts), S_d inverted by hand; the trace is
// T² / (N - 1) and F = (N - 2) T² / (2 (N - 1)). Tolerance 1e-10 relative.
TEST(MultivariateTests, OneSampleHotellingTSquared)
{
    const auto rows = normalRows({}, {11}, 3, 23u);
    Analysis a;
    ASSERT_TRUE(a.run(tableOf(0, {3}, rows), {}, {1}));
    const double n = static_cast<double>(rows.size());
    double m1 = 0.0;
    double m2 = 0.0;
    for (const auto& row : rows) {
        m1 += (row[1] - row[0]) / n;
        m2 += (row[2] - row[1]) / n;
    }
    double s11 = 0.0;
    double s12 = 0.0;
    double s22 = 0.0;
    for (const auto& row : rows) {
        const double u = row[1] - row[0] - m1;
        const double v = row[2] - row[1] - m2;
        s11 += u * u / (n - 1.0);
        s12 += u * v / (n - 1.0);
        s22 += v * v / (n - 1.0);
    }
    const double tSquared =
        n * (m1 * m1 * s22 - 2.0 * m1 * m2 * s12 + m2 * m2 * s11) / (s11 * s22 - s12 * s12);
    EXPECT_NEAR(a.engine.getHotellingTest().value, tSquared / (n - 1.0), 1e-10 * tSquared);
    const double F = (n - 2.0) * tSquared / (2.0 * (n - 1.0));
    for (const TestResult* row : manovaRows(a.engine)) {
        EXPECT_NEAR(row->F, F, 1e-10 * F);
        EXPECT_EQ(row->df2, n - 2.0); // q = 1, t = 2: Rao's g = 1 without the square root
    }
}

// Rao's df2 = (N - r - (t - q + 1)/2) g - (qt - 2)/2 with g = 1 for q = 2, t = 1
// (q² + t² = 5) and g = 2 for q = 2, t = 2 (g² = 12 / 3); groups of 4, 5 and 6.
TEST(MultivariateTests, RaoGOfTwoHypothesisRows)
{
    const double n = 15.0;
    Analysis a;
    ASSERT_TRUE(a.run(tableOf(1, {2}, normalRows({3}, {4, 5, 6}, 2, 24u)), {1}, {1}));
    EXPECT_EQ(a.engine.getWilksTest().df2, n - 3.0);
    ASSERT_TRUE(a.run(tableOf(1, {3}, normalRows({3}, {4, 5, 6}, 3, 25u)), {1}, {1}));
    EXPECT_EQ(a.engine.getWilksTest().df2, (n - 3.0 - 0.5) * 2.0 - 1.0);
}

// With s = 2 only Wilks' F is exact, and Rao's g is 2 (q = 2 with t = 2 or 3). The F values
// follow the textbook forms F = V/(s - V) · df2/df1, F = (Λ^(-1/2) - 1) · df2/df1 and
// F = T/s · df2/df1. With two eigenvalues V = 2 - Λ(2 + T) (expand the products of
// 1 + λᵢ). The m, n parameterisation gives Pillai df2 = s(2n + s + 1) and Hotelling
// df2 = 2(sn + 1) with n = (N - r - t - 1)/2. Groups of 5, 6 and 7. Tolerance 1e-10
// relative, 1e-12 on the identity.
TEST(MultivariateTests, TwoEigenvaluesMakeOnlyWilksExact)
{
    const double n = 18.0;
    for (const int levels : {3, 4}) {
        Analysis a;
        const auto seed = static_cast<std::uint32_t>(26 + levels);
        ASSERT_TRUE(a.run(tableOf(1, {levels}, normalRows({3}, {5, 6, 7}, levels, seed)), {1},
                          {1}));
        const PillaiTest& pillai = a.engine.getPillaiTest();
        const WilksTest& wilks = a.engine.getWilksTest();
        const HotellingTest& hotelling = a.engine.getHotellingTest();
        const double V = pillai.value;
        const double lambda = wilks.value;
        const double T = hotelling.value;
        EXPECT_NEAR(pillai.F, V / (2.0 - V) * pillai.df2 / pillai.df1, 1e-10 * pillai.F);
        EXPECT_NEAR(wilks.F, (1.0 / std::sqrt(lambda) - 1.0) * wilks.df2 / wilks.df1,
                    1e-10 * wilks.F);
        EXPECT_NEAR(hotelling.F, T / 2.0 * hotelling.df2 / hotelling.df1, 1e-10 * hotelling.F);
        if (levels == 3) {
            EXPECT_NEAR(V, 2.0 - lambda * (2.0 + T), 1e-12);
        }
        const double t = levels - 1.0;
        const double halfN = (n - 3.0 - t - 1.0) / 2.0;
        EXPECT_EQ(pillai.df2, 2.0 * (2.0 * halfN + 2.0 + 1.0));
        EXPECT_EQ(hotelling.df2, 2.0 * (2.0 * halfN + 1.0));
        for (const TestResult* row : manovaRows(a.engine)) {
            EXPECT_EQ(row->s, 2);
            EXPECT_EQ(row->df1, 2.0 * t);
            EXPECT_EQ(row->exact, row == &wilks);
        }
    }
}

// Two degenerate data sets that must give the statistics of a null effect (V = 0, Λ = 1,
// T = 0, every MANOVA F 0 with p 1):
// - three columns holding the same integers in different orders have equal means, so
//   C B M and H are exactly zero, and the univariate F is 0 with p 1 as well;
// - constant integer differences y2 - y1 leave E exactly 0; with t = 1 the eigenvalue is
//   H/E, taken as 0 when E is at or below the singular-value tolerance, while the
//   univariate F = trace(H) / 0 is infinite.
TEST(MultivariateTests, NullEffectAndVanishingErrorGiveZeroStatistics)
{
    struct Case {
        const char* name;
        std::vector<std::vector<double>> rows;
        bool vanishingError;
    };
    const Case cases[] = {
        {"null effect", {{3, 7, 5}, {5, 3, 9}, {9, 5, 3}, {7, 9, 7}}, false},
        {"vanishing error", {{4, 7}, {6, 9}, {9, 12}, {5, 8}}, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Analysis a;
        const auto levels = static_cast<int>(c.rows[0].size());
        ASSERT_TRUE(a.run(tableOf(0, {levels}, c.rows), {}, {1}));
        EXPECT_NEAR(a.engine.getPillaiTest().value, 0.0, 1e-12);
        EXPECT_NEAR(a.engine.getWilksTest().value, 1.0, 1e-12);
        EXPECT_NEAR(a.engine.getHotellingTest().value, 0.0, 1e-12);
        for (const TestResult* row : manovaRows(a.engine)) {
            EXPECT_NEAR(row->F, 0.0, 1e-12);
            EXPECT_NEAR(row->p, 1.0, 1e-12);
        }
        if (c.vanishingError) {
            EXPECT_TRUE(std::isinf(a.univariate().F));
        } else {
            EXPECT_NEAR(a.univariate().F, 0.0, 1e-12);
            EXPECT_NEAR(a.univariate().p, 1.0, 1e-12);
        }
    }
}
