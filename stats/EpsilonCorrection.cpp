#include "stats/EpsilonCorrection.h"

#include <algorithm>
#include <cmath>
#include <limits>

void EpsilonCorrection::compute(const UnivariateTest& uncorrected, double newEpsilon,
                                FTailMemo& tails)
{
    availability = Availability::Available;
    if (!uncorrected.isAvailable()) {
        markUnavailable(uncorrected.availability);
        return;
    }
    epsilon = newEpsilon;
    // Also false for NaN.
    if (!(epsilon > 0.0)) {
        markUnavailable(Availability::UndefinedStatistic);
        return;
    }
    df1 = uncorrected.df1 * epsilon;
    df2 = uncorrected.df2 * epsilon;
    noncentrality = uncorrected.noncentrality * epsilon;
    // With epsilon 1 (Huynh-Feldt often, both for t = 1) the tails hand back the uncorrected p.
    p = tails.upperTail(uncorrected.F, df1, df2);
    if (std::isnan(p))
        markUnavailable(Availability::UndefinedStatistic);
}

void EpsilonCorrection::markUnavailable(Availability reason)
{
    constexpr double none = std::numeric_limits<double>::quiet_NaN();
    availability = reason;
    epsilon = none;
    df1 = none;
    df2 = none;
    p = none;
    noncentrality = none;
}

double huynhFeldtEpsilon(double gg, double errorDf, std::int32_t t)
{
    if (t == 1)
        return 1.0;
    // With one error df E has rank 1, so gg is 1/t and numerator and denominator are both 0;
    // computed, they are rounding noise whose ratio could pass for any epsilon.
    if (errorDf <= 1.0)
        return std::numeric_limits<double>::quiet_NaN();
    const double td = t;
    const double estimate = ((errorDf + 1.0) * td * gg - 2.0) / (td * (errorDf - td * gg));
    // std::min would return 1 for a NaN estimate; a NaN must stay NaN.
    return estimate > 1.0 ? 1.0 : estimate;
}

double lowerBoundEpsilon(std::int32_t t)
{
    return 1.0 / static_cast<double>(t);
}
