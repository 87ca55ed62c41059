#include "stats/HotellingTest.h"

#include <algorithm>

void HotellingTest::compute(FTailMemo& tails)
{
    s = std::min(q, t);
    const double sd = s;
    df1 = static_cast<double>(q) * static_cast<double>(t);
    const double errorDf = static_cast<double>(n) - static_cast<double>(rankX);
    df2 = sd * (errorDf - static_cast<double>(t) - 1.0) + 2.0;
    if (!decideAvailability(true))
        return;

    double trace = 0.0;
    for (std::int32_t i = 0; i < t; ++i) {
        trace += eigenvalues[i];
    }
    value = trace;

    const double u = value / sd;
    const double w = u / (u + 1.0);
    // 1 - w equals 1 / (u + 1); taking it in that form avoids the cancellation of 1 - w for
    // a large trace, where the subtraction would lose about log10(u) digits of F, which
    // algebraically is just T · df2 / (s · df1).
    const double complement = 1.0 / (u + 1.0);
    F = (w / df1) / (complement / df2);
    finishFromF(tails);
    exact = isAvailable() && s == 1;
}
