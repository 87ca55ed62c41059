#include "stats/RoyTest.h"

#include <algorithm>

void RoyTest::compute(FTailMemo& tails)
{
    s = std::min(q, t);
    const std::int32_t m = std::max(q, t);
    const double errorDf = static_cast<double>(n) - static_cast<double>(rankX);
    df1 = m;
    df2 = errorDf - static_cast<double>(m) + static_cast<double>(q);
    if (!decideAvailability(true))
        return;

    value = *std::max_element(eigenvalues, eigenvalues + t);
    F = value * df2 / df1;
    finishFromF(tails);
    exact = isAvailable() && s == 1;
}
