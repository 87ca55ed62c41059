#pragma once

#include "stats/Availability.h"
#include "stats/FTailMemo.h"

#include <cstdint>

/// The result record shared by the four tests of an effect. A new record holds the
/// sentinels (-99 for ints, -99.0 for doubles, false, null pointers), so a field that a test
/// does not set, or that no successful compute has reached yet, is recognisable.
///
/// The fields are read directly by the results table and the simulation; the engine hands
/// its tests out as const references, so only the tests themselves write them.
class TestResult {
public:
    /// The engine's eigenvalues of H E⁺, t of them.
    const double* eigenvalues = nullptr;
    /// N, rank(X), rows of C and columns of M, truncated from the engine's doubles.
    std::int32_t n = -99;
    std::int32_t rankX = -99;
    std::int32_t q = -99;
    std::int32_t t = -99;
    std::int32_t s = -99;
    double df1 = -99.0;
    double df2 = -99.0;
    /// The multivariate statistic; not set by UnivariateTest.
    double value = -99.0;
    double noncentrality = -99.0;
    double F = -99.0;
    double p = -99.0;
    /// Whether the F transformation of the statistic is exact for these dimensions.
    bool exact = false;
    /// The rank of the engine's E (its eigenvalues above the engine's zero bound).
    std::int32_t errorRank = -99;
    /// Whether the analysis has a result. When it has not, value, F, df1, df2, p and
    /// noncentrality are NaN and exact is false.
    Availability availability = Availability::Available;

    bool isAvailable() const { return availability == Availability::Available; }

protected:
    /// The initialiser of the three MANOVA tests, which each make it public.
    void initialize(const double* heEigenvalues, std::int32_t newN, std::int32_t newRankX,
                    std::int32_t newQ, std::int32_t newT, std::int32_t newErrorRank);
    /// Stores N, r, q, t and the rank of E.
    void setDimensions(std::int32_t newN, std::int32_t newRankX, std::int32_t newQ,
                       std::int32_t newT, std::int32_t newErrorRank);
    /// Decides availability from N - r, the rank of E and df2 (which must be set): not
    /// available when N - r or df2 is not positive, or when E has not full rank t
    /// (fullRankNeeded, the MANOVA tests) or is zero (the univariate tests, which need only
    /// its trace). Returns whether the analysis is available; if not, the numbers are NaN.
    bool decideAvailability(bool fullRankNeeded);
    /// noncentrality := F · df1 and p := upper tail of F(df1, df2) at F, from the compute's
    /// tails. A NaN among the statistic, F and p makes the analysis not available
    /// (UndefinedStatistic); an infinite F stays, with p 0.
    void finishFromF(FTailMemo& tails);
    /// availability := reason, every number NaN, exact false.
    void markUnavailable(Availability reason);
};
