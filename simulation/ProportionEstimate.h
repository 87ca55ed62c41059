#pragma once

#include <cstdint>

/// The two-sided 95 % quantile of the standard normal distribution, z(0.975).
inline constexpr double Z_95 = 1.959963984540054;

/// A share of simulation passes with its Wilson score interval at 95 %. Unlike the share
/// -/+ 1.96 standard errors, the interval stays inside [0, 1] and does not collapse to a
/// point when no pass, or every pass, counts, which is common for alpha near 0 and power
/// near 1.
struct ProportionEstimate {
    double value = 0.0;
    double low = 0.0;
    double high = 0.0;
};

/// successes / trials with its interval; trials > 0.
ProportionEstimate estimateProportion(std::int64_t successes, std::int64_t trials);
