#pragma once

#include "numeric/LapackWorkspace.h"
#include "numeric/RealMatrix.h"
#include "stats/TestResult.h"

#include <cstdint>

/// The univariate repeated-measures F test of an effect from the traces of the engine's
/// H and E (built with an orthonormal M, so the traces are the classical sums of squares),
/// uncorrected ("ANOVA (uncorr.)": F, df1, df2, p, noncentrality) and with the
/// Greenhouse-Geisser correction ("ANOVA (Greenhouse-Geisser)": the same F with ggDf1,
/// ggDf2, ggP, ggNoncentrality). `value` and `exact` keep their sentinels.
class UnivariateTest : public TestResult {
public:
    /// workspace is the engine's; it backs the two temporaries of compute.
    explicit UnivariateTest(LapackWorkspace* workspace);
    UnivariateTest(const UnivariateTest&) = delete;
    UnivariateTest& operator=(const UnivariateTest&) = delete;

    /// Takes the engine's H and E (t x t, not owned) and N, r, q, t.
    void initialize(const RealMatrix* hypothesis, const RealMatrix* error, std::int32_t newN,
                    std::int32_t newRankX, std::int32_t newQ, std::int32_t newT);
    /// Sets s, df1, df2, F, noncentrality, p and the Greenhouse-Geisser fields. E is read,
    /// not changed. No condition is tested: trace(E) = 0 or N = r give infinite or NaN
    /// values, which are stored as they come.
    void compute();

private:
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
    /// Sₘ and Sₘ², kept between computes so that the objects are not rebuilt every time.
    RealMatrix errorCovariance;
    RealMatrix errorCovarianceSquared;
};
