#pragma once

#include <cstdint>
#include <optional>
#include <vector>

/// The one critical alpha that, applied at every look, holds the probability of any
/// significant look under the null hypothesis at a target alpha (Pocock's approach),
/// estimated from a null run: the r-th smallest of its passes' smallest p over their looks,
/// r = ceil(targetAlpha * n) for n passes, so that r passes of that run (ties aside) have a
/// look at or below it.
struct CalibratedAlpha {
    double value = 0.0;
    /// A distribution-free 95 % interval for the quantile: the order statistics at the
    /// ranks n * alpha -/+ 1.96 sqrt(n * alpha * (1 - alpha)), rounded outwards and kept
    /// within 1 ... n.
    double low = 0.0;
    double high = 0.0;
    /// n, the null run's passes.
    std::int64_t passes = 0;
};

/// The calibration from the passes' smallest ps (+infinity for a pass without a
/// computable look), which it reorders; nothing when the r-th smallest is +infinity, that
/// is when fewer than r passes had a look that could be computed. Requires passes and
/// 0 < targetAlpha < 1.
std::optional<CalibratedAlpha> calibrateAlpha(std::vector<double>& smallestPs, double targetAlpha);
