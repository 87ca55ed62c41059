#include "stats/PolarNormal.h"

#include <cmath>

double PolarNormal::drawPair(MersenneTwister& engine)
{
    double u = 0.0;
    double v = 0.0;
    double s = 0.0;
    // s = 0 is rejected as well: ln(0) / 0 would turn the pair (0, 0) into NaNs. It has
    // probability 2⁻¹⁰⁶ and so never changes a sequence in practice.
    do {
        u = 2.0 * canonicalUniform(engine) - 1.0;
        v = 2.0 * canonicalUniform(engine) - 1.0;
        s = u * u + v * v;
    } while (s >= 1.0 || s == 0.0);
    const double f = std::sqrt(-2.0 * std::log(s) / s);
    kept = v * f;
    hasKept = true;
    return u * f;
}
