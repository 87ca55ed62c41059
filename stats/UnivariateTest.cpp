#include "stats/UnivariateTest.h"

#include <algorithm>
#include <cmath>
#include <limits>

UnivariateTest::UnivariateTest(LapackWorkspace* workspace)
    : lapack(workspace), errorCovariance(lapack)
{
}

void UnivariateTest::initialize(const RealMatrix* hypothesis, const RealMatrix* error,
                                std::int32_t newN, std::int32_t newRankX, std::int32_t newQ,
                                std::int32_t newT, std::int32_t newErrorRank)
{
    H = hypothesis;
    E = error;
    setDimensions(newN, newRankX, newQ, newT, newErrorRank);
}

void UnivariateTest::compute(FTailMemo& tails)
{
    s = std::min(q, t);
    const double errorDf = static_cast<double>(n) - static_cast<double>(rankX);
    const double td = t;
    df1 = static_cast<double>(q) * td;
    df2 = errorDf * td;
    if (!decideAvailability(false)) {
        clearCorrection();
        return;
    }
    F = (H->trace() / df1) / (E->trace() / df2);
    finishFromF(tails);
    if (!isAvailable()) {
        clearCorrection();
        return;
    }

    // Greenhouse-Geisser: Sₘ is the error covariance of the transformed variables.
    E->divide(errorCovariance, errorDf);
    const double traceSm = errorCovariance.trace();
    epsilon = traceSm * traceSm / (td * errorCovariance.traceOfSquare());
    ggNoncentrality = noncentrality * epsilon;
    ggDf1 = epsilon * df1;
    ggDf2 = epsilon * df2;
    // epsilon is exactly 1 for t = 1 (trace(Sₘ)² and trace(Sₘ²) are then the same product),
    // and the tails hand back p for the same arguments.
    ggP = tails.upperTail(F, ggDf1, ggDf2);
    if (std::isnan(epsilon) || std::isnan(ggP)) {
        markUnavailable(Availability::UndefinedStatistic);
        clearCorrection();
    }
}

void UnivariateTest::clearCorrection()
{
    constexpr double none = std::numeric_limits<double>::quiet_NaN();
    epsilon = none;
    ggDf1 = none;
    ggDf2 = none;
    ggP = none;
    ggNoncentrality = none;
}
