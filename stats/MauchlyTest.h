#pragma once

#include "numeric/RealMatrix.h"

#include <cstdint>

/// Mauchly's test of sphericity of an effect with t >= 2 transformed variables: with
/// Sₘ = E/(N - r) the error covariance in the effect's orthonormal contrasts and
/// ν = N - r,
///   W = det(Sₘ) / (tr(Sₘ)/t)^t,  ρ = 1 - (2t² + t + 2)/(6tν),  χ² = -ν·ρ·ln W
/// on f = t(t + 1)/2 - 1 df, and p = P(χ²_f > χ²) + ω₂·(P(χ²_{f+4} > χ²) - P(χ²_f > χ²))
/// with ω₂ = (t + 2)(t - 1)(t - 2)(2t³ + 6t² + 3t + 2) / (288 (t·ν·ρ)²). A new object
/// holds the sentinel -99.0 in every number.
class MauchlyTest {
public:
    /// Tests the engine's E (t x t) with N - r = errorDf error df and rank errorRank, from
    /// E's trace and its upper Cholesky factor R (E = RᵀR), which must be that of E when E
    /// has full rank t. Not formed (every number NaN) for t < 2, without error df, or when E
    /// has not full rank t, where det(E) is rounding noise.
    void compute(const RealMatrix& errorSscp, const RealMatrix& errorFactor, double errorDf,
                 std::int32_t errorRank);

    bool isFormed() const { return formed; }

    bool formed = false;
    double W = -99.0;
    double chiSquare = -99.0;
    double df = -99.0;
    double p = -99.0;

private:
    /// ln W from E's trace and Cholesky factor (W is the same for E and Sₘ, which differ by
    /// a factor); false when it is not finite.
    static bool logW(const RealMatrix& errorSscp, const RealMatrix& errorFactor, double& out);
    void markNotFormed();
};
