#pragma once

#include "stats/TestResult.h"

/// Wilks' Lambda Λ = Π 1/(1 + λ) over the eigenvalues of H E⁺, with Rao's F approximation
/// (exact when s is 1 or 2). Analysis "MANOVA (Wilks)".
class WilksTest : public TestResult {
public:
    /// Takes the eigenvalues of the engine's H E⁺ (t of them), N, r, q, t.
    using TestResult::initialize;
    /// Sets s, df1, df2, value, F, noncentrality, p and exact; not available (NaN numbers)
    /// when N - r or df2 is not positive or E has not full rank t.
    void compute(FTailMemo& tails);
};
