#include "stats/MauchlyTest.h"

#include "numeric/ChiSquareDistribution.h"

#include <cassert>
#include <cmath>
#include <limits>

void MauchlyTest::compute(const RealMatrix& errorSscp, const RealMatrix& errorFactor,
                          double errorDf, std::int32_t errorRank)
{
    const std::int32_t t = errorSscp.getRows();
    if (t < 2 || !(errorDf > 0.0) || errorRank < t) {
        markNotFormed();
        return;
    }
    double lnW = 0.0;
    assert(errorFactor.getRows() == t && errorFactor.getCols() == t);
    if (!logW(errorSscp, errorFactor, lnW)) {
        markNotFormed();
        return;
    }
    const double td = t;
    const double nu = errorDf;
    const double rho = 1.0 - (2.0 * td * td + td + 2.0) / (6.0 * td * nu);
    W = std::exp(lnW);
    chiSquare = -nu * rho * lnW;
    df = td * (td + 1.0) / 2.0 - 1.0;
    const double tnr = td * nu * rho;
    const double omega2 = (td + 2.0) * (td - 1.0) * (td - 2.0) *
                          (2.0 * td * td * td + 6.0 * td * td + 3.0 * td + 2.0) /
                          (288.0 * tnr * tnr);
    const double tail = chiSquareUpperTail(chiSquare, df);
    // omega2 has the factor t - 2: for t = 2 it is exactly 0, and the second tail, a number
    // in [0, 1] for the finite chi-square of a formed test, would only be multiplied by it.
    p = omega2 == 0.0 ? tail : tail + omega2 * (chiSquareUpperTail(chiSquare, df + 4.0) - tail);
    formed = std::isfinite(chiSquare) && !std::isnan(p);
    if (!formed)
        markNotFormed();
}

bool MauchlyTest::logW(const RealMatrix& errorSscp, const RealMatrix& errorFactor, double& out)
{
    // ln det from the factor's diagonal, ln det(E) = 2 Σ ln R_ii, and ln (tr/t)^t as t
    // ln(tr/t): W itself is a ratio of two t-th powers that overflow or underflow for
    // large t or extreme units long before their ratio does.
    const std::int32_t t = errorSscp.getRows();
    double logDet = 0.0;
    for (std::int32_t i = 0; i < t; ++i)
        logDet += 2.0 * std::log(errorFactor.get(i, i));
    const double td = t;
    out = logDet - td * std::log(errorSscp.trace() / td);
    return std::isfinite(out);
}

void MauchlyTest::markNotFormed()
{
    constexpr double none = std::numeric_limits<double>::quiet_NaN();
    formed = false;
    W = none;
    chiSquare = none;
    df = none;
    p = none;
}
