// Roy's largest root for q = t = 2 (ReferenceCasesTest checks that it equals Hotelling's
// test when min(q, t) = 1): the larger root of the 2 x 2 eigenproblem of a one-way MANOVA
// on differences, formed with plain loops (the roots do not depend on the contrasts' basis).

#include "tests/support/EngineTestSupport.h"

#include "numeric/FDistribution.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

// Group x within interaction, three groups and three levels: q = t = 2, m = 2,
// F = θ (N - 3 - 2 + 2)/2 on 2 and N - 3 df, not exact.
TEST(RoyLargestRoot, LargerRootOfTheTwoByTwoProblem)
{
    const std::vector<int> sizes{6, 5, 8};
    const auto rows = normalRows({3}, sizes, 3, 81u);
    Analysis a;
    ASSERT_TRUE(a.run(tableOf(1, {3}, rows), {1}, {1}));
    // d = (y2 - y1, y3 - y1); H between the groups' mean d, E within.
    std::array<std::array<double, 2>, 3> means{};
    std::array<double, 2> grand{};
    for (const auto& row : rows) {
        const auto g = static_cast<std::size_t>(row[0]) - 1;
        for (std::size_t j = 0; j < 2; ++j) {
            means[g][j] += (row[j + 2] - row[1]) / sizes[g];
            grand[j] += (row[j + 2] - row[1]) / static_cast<double>(rows.size());
        }
    }
    double H[2][2] = {};
    double E[2][2] = {};
    for (std::size_t g = 0; g < 3; ++g) {
        for (std::size_t i = 0; i < 2; ++i) {
            for (std::size_t j = 0; j < 2; ++j)
                H[i][j] += sizes[g] * (means[g][i] - grand[i]) * (means[g][j] - grand[j]);
        }
    }
    for (const auto& row : rows) {
        const auto g = static_cast<std::size_t>(row[0]) - 1;
        const double d[2] = {row[2] - row[1] - means[g][0], row[3] - row[1] - means[g][1]};
        for (std::size_t i = 0; i < 2; ++i) {
            for (std::size_t j = 0; j < 2; ++j)
                E[i][j] += d[i] * d[j];
        }
    }
    // E⁻¹H and the larger root of λ² - tr λ + det = 0.
    const double detE = E[0][0] * E[1][1] - E[0][1] * E[1][0];
    const double A[2][2] = {{(E[1][1] * H[0][0] - E[0][1] * H[1][0]) / detE,
                             (E[1][1] * H[0][1] - E[0][1] * H[1][1]) / detE},
                            {(E[0][0] * H[1][0] - E[1][0] * H[0][0]) / detE,
                             (E[0][0] * H[1][1] - E[1][0] * H[0][1]) / detE}};
    const double tr = A[0][0] + A[1][1];
    const double det = A[0][0] * A[1][1] - A[0][1] * A[1][0];
    const double theta = (tr + std::sqrt(tr * tr - 4.0 * det)) / 2.0;
    const double n = static_cast<double>(rows.size());
    const RoyTest& roy = a.engine.getRoyTest();
    ASSERT_TRUE(roy.isAvailable());
    EXPECT_FALSE(roy.exact);
    EXPECT_NEAR(roy.value, theta, 1e-12 * theta);
    EXPECT_EQ(roy.df1, 2.0);
    EXPECT_EQ(roy.df2, n - 3.0);
    EXPECT_NEAR(roy.F, theta * (n - 3.0) / 2.0, 1e-10 * theta * n);
    const double p = fUpperTail(theta * (n - 3.0) / 2.0, 2.0, n - 3.0);
    EXPECT_NEAR(roy.p, p, 1e-10 * p);
    // The largest of the roots whose sum is Hotelling's trace.
    EXPECT_NEAR(a.engine.getHotellingTest().value, tr, 1e-12 * tr);
}
