#pragma once

#include "stats/TestResult.h"

/// Roy's largest root θ, the largest eigenvalue of H E⁺, with the F of m = max(t, q):
/// F = θ·(N - r - m + q)/m on m and N - r - m + q df. Analysis "MANOVA (Roy)". Exact when
/// s = min(q, t) = 1, where it equals the other three MANOVA tests; otherwise F is an upper
/// bound of the true statistic's F, and p a lower bound.
class RoyTest : public TestResult {
public:
    /// Takes the eigenvalues of the engine's H E⁺ (t of them), N, r, q, t.
    using TestResult::initialize;
    /// Sets s, df1, df2, value, F, noncentrality, p and exact; not available (NaN numbers)
    /// when N - r or df2 is not positive or E has not full rank t.
    void compute(FTailMemo& tails);
};
