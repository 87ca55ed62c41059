// The chi-square upper tail against the closed forms of 1, 2 and 4 degrees of freedom,
// down to tails near 1e-300, where a tail taken as 1 minus the lower one would be 0.
#include "numeric/ChiSquareDistribution.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ChiSquareUpperTail, ClosedFormsOfOneTwoAndFourDf)
{
    for (const double x : {1e-6, 0.3, 1.0, 5.5, 40.0, 300.0, 1380.0}) {
        const double e = std::exp(-x / 2.0);
        EXPECT_NEAR(chiSquareUpperTail(x, 2.0), e, 1e-13 * e) << x;
        EXPECT_NEAR(chiSquareUpperTail(x, 4.0), e * (1.0 + x / 2.0), 1e-13 * e * (1.0 + x / 2.0))
            << x;
        const double one = std::erfc(std::sqrt(x / 2.0));
        EXPECT_NEAR(chiSquareUpperTail(x, 1.0), one, 1e-12 * one) << x;
    }
}

TEST(ChiSquareUpperTail, EdgesOfItsDomain)
{
    EXPECT_EQ(chiSquareUpperTail(0.0, 3.0), 1.0);
    EXPECT_EQ(chiSquareUpperTail(-2.0, 3.0), 1.0);
    EXPECT_EQ(chiSquareUpperTail(HUGE_VAL, 3.0), 0.0);
    EXPECT_TRUE(std::isnan(chiSquareUpperTail(NAN, 3.0)));
    EXPECT_TRUE(std::isnan(chiSquareUpperTail(1.0, 0.0)));
}
