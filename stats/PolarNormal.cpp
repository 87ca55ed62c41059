#include "stats/PolarNormal.h"

#include <cmath>

double PolarNormal::operator()(MersenneTwister& engine)
{
    if (hasKept) {
        hasKept = false;
        return kept;
    }
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

double PolarNormal::canonicalUniform(MersenneTwister& engine)
{
    constexpr double twoTo32 = 4294967296.0;
    constexpr double twoTo64 = twoTo32 * twoTo32;
    const auto low = static_cast<double>(engine());
    const auto high = static_cast<double>(engine());
    // low + high·2³² has 64 significant bits; rounded to 53 it can reach 2⁶⁴, which would
    // give exactly 1. The largest double below 1 takes its place, keeping the range [0, 1).
    const double uniform = (low + high * twoTo32) / twoTo64;
    return uniform < 1.0 ? uniform : std::nextafter(1.0, 0.0);
}
