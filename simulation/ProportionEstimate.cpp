#include "simulation/ProportionEstimate.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace {

} // namespace

ProportionEstimate estimateProportion(std::int64_t successes, std::int64_t trials)
{
    assert(trials > 0 && successes >= 0 && successes <= trials);
    const double n = static_cast<double>(trials);
    const double p = static_cast<double>(successes) / n;
    const double z2 = Z_95 * Z_95;
    const double denominator = 1.0 + z2 / n;
    const double centre = (p + z2 / (2.0 * n)) / denominator;
    const double halfWidth = Z_95 * std::sqrt(p * (1.0 - p) / n + z2 / (4.0 * n * n)) / denominator;
    // At no success (every success) the bound is 0 (1) exactly; the formula leaves a
    // rounding residue of about 1e-18 there, which a reader would take for a figure.
    return {p, successes == 0 ? 0.0 : std::max(0.0, centre - halfWidth),
            successes == trials ? 1.0 : std::min(1.0, centre + halfWidth)};
}
