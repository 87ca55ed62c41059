#include "numeric/ChiSquareDistribution.h"

#include <cmath>
#include <limits>

// The standalone mathematics library of the R project; its pchisq evaluates the regularised
// incomplete gamma function Q(df/2, x/2) for the upper tail itself.
#define MATHLIB_STANDALONE
#include <Rmath.h>

double chiSquareUpperTail(double x, double df)
{
    if (std::isnan(x) || !(df > 0.0))
        return std::numeric_limits<double>::quiet_NaN();
    if (x <= 0.0)
        return 1.0;
    return pchisq(x, df, 0, 0);
}
