#include "simulation/AlphaCalibration.h"

#include "simulation/ProportionEstimate.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace {

/// alpha * n within this of an integer counts as that integer: a decimal alpha is stored
/// in binary with a relative error of about 1e-17, which must not move the rank by one
/// (0.05 * 20000 is 1000, not 1001).
constexpr double RANK_TOLERANCE = 1e-6;

/// The value of rank (1-based) among values.
double orderStatistic(std::vector<double>& values, std::int64_t rank)
{
    const auto nth = values.begin() + (rank - 1);
    std::nth_element(values.begin(), nth, values.end());
    return *nth;
}

} // namespace

std::optional<CalibratedAlpha> calibrateAlpha(std::vector<double>& smallestPs, double targetAlpha)
{
    assert(!smallestPs.empty() && targetAlpha > 0.0 && targetAlpha < 1.0);
    const auto n = static_cast<std::int64_t>(smallestPs.size());
    const double expectedRank = targetAlpha * static_cast<double>(n);
    const auto clampRank = [n](double rank) {
        return std::clamp(static_cast<std::int64_t>(rank), std::int64_t{1}, n);
    };
    const double margin = Z_95 * std::sqrt(expectedRank * (1.0 - targetAlpha));
    CalibratedAlpha calibration;
    calibration.passes = n;
    calibration.value =
        orderStatistic(smallestPs, clampRank(std::ceil(expectedRank - RANK_TOLERANCE)));
    if (std::isinf(calibration.value))
        return std::nullopt;
    calibration.low = orderStatistic(smallestPs, clampRank(std::floor(expectedRank - margin)));
    calibration.high = orderStatistic(smallestPs, clampRank(std::ceil(expectedRank + margin)));
    return calibration;
}
