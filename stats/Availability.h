#pragma once

#include <cstdint>
#include <string_view>

/// Whether an analysis of an effect has a result, and if not, why. An analysis that is not
/// available has no statistic, F, degrees of freedom or p; the front ends show "-" and the
/// reason, and a simulation counts such a look as not significant.
enum class Availability : std::int8_t {
    Available,
    /// N - r, or the error degrees of freedom of the analysis's F (df2), are not positive.
    NoErrorDegreesOfFreedom,
    /// The error sum of squares, trace(E), is zero (at rounding level): F would be infinite.
    ZeroErrorSumOfSquares,
    /// E has not full rank t, so H E⁺ holds no information about the directions E lacks.
    SingularErrorMatrix,
    /// The statistic, F or p came out NaN for another reason.
    UndefinedStatistic,
};

/// The sentence that explains why an analysis is not available; empty when it is.
std::string_view availabilityReason(Availability availability);
