#pragma once

#include "stats/TestResult.h"

/// The Hotelling-Lawley trace T = Σ λ over the eigenvalues of H E⁺, with its F
/// approximation (exact when s = 1). Analysis "MANOVA (Hotelling)".
class HotellingTest : public TestResult {
public:
    /// Takes the eigenvalues of the engine's H E⁺ (t of them), N, r, q, t.
    using TestResult::initialize;
    /// Sets s, df1, df2, value, F, noncentrality, p and exact; not available (NaN numbers)
    /// when N - r or df2 is not positive or E has not full rank t.
    void compute(FTailMemo& tails);
};
