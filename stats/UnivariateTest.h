#pragma once

#include "numeric/LapackWorkspace.h"
#include "numeric/RealMatrix.h"
#include "stats/TestResult.h"

#include <cstdint>

/// The univariate repeated-measures F test of an effect from the traces of the engine's
/// H and E (built with an orthonormal M, so the traces are the classical sums of squares),
/// uncorrected ("ANOVA (uncorr.)": F, df1, df2, p, noncentrality) and with the
/// Greenhouse-Geisser correction ("ANOVA (Greenhouse-Geisser)": the same F with ggDf1,
/// ggDf2, ggP, ggNoncentrality). `value` and `exact` are not its own: they hold their
/// sentinels, or NaN and false after a compute that was not available.
class UnivariateTest : public TestResult {
public:
    /// workspace is the engine's; it backs the temporary of compute.
    explicit UnivariateTest(LapackWorkspace* workspace);
    UnivariateTest(const UnivariateTest&) = delete;
    UnivariateTest& operator=(const UnivariateTest&) = delete;

    /// Takes the engine's H and E (t x t, not owned) and N, r, q, t and the rank of E.
    void initialize(const RealMatrix* hypothesis, const RealMatrix* error, std::int32_t newN,
                    std::int32_t newRankX, std::int32_t newQ, std::int32_t newT,
                    std::int32_t newErrorRank);
    /// Sets s, df1, df2, F, noncentrality, p and the Greenhouse-Geisser fields. E is read,
    /// not changed. Not available when N - r is not positive or E is zero (the rank the
    /// engine found); then every number, the Greenhouse-Geisser ones too, is NaN.
    void compute(FTailMemo& tails);

private:
    /// The Greenhouse-Geisser fields of an analysis that is not available: NaN.
    void clearCorrection();

    LapackWorkspace* lapack;
    const RealMatrix* H = nullptr;
    const RealMatrix* E = nullptr;

public:
    /// trace(Sₘ)² / (t · trace(Sₘ²)) with Sₘ = E / (N - r); not clamped to [1/t, 1].
    double epsilon = -99.0;
    double ggDf1 = -99.0;
    double ggDf2 = -99.0;
    double ggP = -99.0;
    double ggNoncentrality = -99.0;

private:
    /// Sₘ, kept between computes so that the object is not rebuilt every time.
    RealMatrix errorCovariance;
};
