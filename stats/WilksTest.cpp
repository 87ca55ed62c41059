#include "stats/WilksTest.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Rao's g. The two special cases are decided on the integers: q²t² = 4 makes the formula
// 0/0 and q² + t² = 5 makes its denominator vanish; g is 1 in both (q = 1, t = 2 and
// q = 2, t = 1). 64-bit products keep large dimensions from overflowing.
double raoG(std::int32_t q, std::int32_t t)
{
    const std::int64_t q2 = static_cast<std::int64_t>(q) * q;
    const std::int64_t t2 = static_cast<std::int64_t>(t) * t;
    if (q2 * t2 == 4) {
        return 1.0;
    }
    if (q2 + t2 - 5 == 0) {
        return 1.0;
    }
    return std::sqrt((static_cast<double>(q2) * static_cast<double>(t2) - 4.0) /
                     (static_cast<double>(q2) + static_cast<double>(t2) - 5.0));
}

} // namespace

void WilksTest::compute(FTailMemo& tails)
{
    s = std::min(q, t);
    const double qd = q;
    const double td = t;
    df1 = qd * td;
    const double g = raoG(q, t);
    df2 = (static_cast<double>(n) - static_cast<double>(rankX) - (td - qd + 1.0) / 2.0) * g -
          (qd * td - 2.0) / 2.0;
    if (!decideAvailability(true))
        return;

    double lambda = 1.0;
    for (std::int32_t i = 0; i < t; ++i) {
        lambda *= 1.0 / (1.0 + eigenvalues[i]);
    }
    value = lambda;

    const double y = std::pow(value, 1.0 / g);
    F = ((1.0 - y) / df1) / (y / df2);
    finishFromF(tails);
    exact = isAvailable() && (s == 1 || s == 2);
}
