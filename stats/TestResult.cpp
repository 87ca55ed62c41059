#include "stats/TestResult.h"

#include <cmath>
#include <limits>

void TestResult::initialize(const double* heEigenvalues, std::int32_t newN, std::int32_t newRankX,
                            std::int32_t newQ, std::int32_t newT, std::int32_t newErrorRank)
{
    eigenvalues = heEigenvalues;
    setDimensions(newN, newRankX, newQ, newT, newErrorRank);
}

void TestResult::setDimensions(std::int32_t newN, std::int32_t newRankX, std::int32_t newQ,
                               std::int32_t newT, std::int32_t newErrorRank)
{
    n = newN;
    rankX = newRankX;
    q = newQ;
    t = newT;
    errorRank = newErrorRank;
    availability = Availability::Available;
}

bool TestResult::decideAvailability(bool fullRankNeeded)
{
    if (n - rankX <= 0) {
        markUnavailable(Availability::NoErrorDegreesOfFreedom);
        return false;
    }
    if (fullRankNeeded && errorRank < t) {
        markUnavailable(Availability::SingularErrorMatrix);
        return false;
    }
    if (errorRank == 0) {
        markUnavailable(Availability::ZeroErrorSumOfSquares);
        return false;
    }
    if (!(df2 > 0.0)) {
        markUnavailable(Availability::NoErrorDegreesOfFreedom);
        return false;
    }
    return true;
}

void TestResult::finishFromF(FTailMemo& tails)
{
    noncentrality = F * df1;
    p = tails.upperTail(F, df1, df2);
    if (std::isnan(value) || std::isnan(F) || std::isnan(p))
        markUnavailable(Availability::UndefinedStatistic);
}

void TestResult::markUnavailable(Availability reason)
{
    constexpr double none = std::numeric_limits<double>::quiet_NaN();
    availability = reason;
    value = none;
    F = none;
    df1 = none;
    df2 = none;
    p = none;
    noncentrality = none;
    exact = false;
}
