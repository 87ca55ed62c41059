#pragma once

#include "stats/Availability.h"
#include "stats/FTailMemo.h"
#include "stats/UnivariateTest.h"

#include <cstdint>

/// The univariate test of an effect with its degrees of freedom and noncentrality scaled by
/// a sphericity epsilon, F unchanged: "ANOVA (Huynh-Feldt)" and "ANOVA (lower bound)". (The
/// Greenhouse-Geisser row keeps its fields in UnivariateTest.) A new object holds the
/// sentinel -99.0 in every number.
class EpsilonCorrection {
public:
    /// epsilon := newEpsilon; df1, df2 and noncentrality := those of the uncorrected test
    /// times epsilon; p := the upper tail of F at the corrected df, from the compute's
    /// tails. Not available, with
    /// every number NaN, when the uncorrected test is not, or when epsilon is not positive
    /// or NaN (a Huynh-Feldt estimate of one error df) or p is NaN.
    void compute(const UnivariateTest& uncorrected, double newEpsilon, FTailMemo& tails);

    bool isAvailable() const { return availability == Availability::Available; }

    Availability availability = Availability::Available;
    double epsilon = -99.0;
    double df1 = -99.0;
    double df2 = -99.0;
    double p = -99.0;
    double noncentrality = -99.0;

private:
    void markUnavailable(Availability reason);
};

/// The Huynh-Feldt epsilon with Lecoutre's correction from the Greenhouse-Geisser epsilon
/// gg of an effect with t transformed variables and N - r = errorDf error df:
/// min(1, ((N - r + 1)·t·gg - 2) / (t·(N - r - t·gg))). Exactly 1 for t = 1, where the
/// formula is 0/0 for one error df. NaN for a NaN gg, and for t > 1 with one error df, where
/// E has rank 1, gg is 1/t and the formula is 0/0 again.
double huynhFeldtEpsilon(double gg, double errorDf, std::int32_t t);

/// The lower bound of epsilon, 1/t.
double lowerBoundEpsilon(std::int32_t t);
