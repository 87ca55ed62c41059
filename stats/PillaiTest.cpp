#include "stats/PillaiTest.h"

#include <algorithm>

void PillaiTest::compute(FTailMemo& tails)
{
    s = std::min(q, t);
    const double sd = s;
    df1 = static_cast<double>(q) * static_cast<double>(t);
    const double errorDf = static_cast<double>(n) - static_cast<double>(rankX);
    df2 = sd * (errorDf + sd - static_cast<double>(t));
    if (!decideAvailability(true))
        return;

    // Every eigenvalue enters, also those that rounding left slightly negative.
    double trace = 0.0;
    for (std::int32_t i = 0; i < t; ++i) {
        trace += eigenvalues[i] / (1.0 + eigenvalues[i]);
    }
    value = trace;

    const double v = value / sd;
    F = (v / df1) / ((1.0 - v) / df2);
    finishFromF(tails);
    exact = isAvailable() && s == 1;
}
