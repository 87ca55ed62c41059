#include "stats/ChiSquareDeviate.h"

#include <cassert>
#include <cmath>

namespace {

/// Marsaglia and Tsang (2000): for shape a >= 1 with d = a - 1/3 and c = 1 / sqrt(9 d), d v
/// with v = (1 + c x)³ of a standard normal x is accepted with a probability that leaves it
/// Gamma(a) distributed. The squeeze 1 - 0.0331 x⁴ accepts most candidates without a log;
/// about 2 % of the candidates are rejected for shapes of 1 and fewer for larger ones.
double gammaOfShapeAtLeastOne(double shape, MersenneTwister& engine, PolarNormal& normal)
{
    const double d = shape - 1.0 / 3.0;
    const double c = 1.0 / std::sqrt(9.0 * d);
    for (;;) {
        const double x = normal(engine);
        const double root = 1.0 + c * x;
        if (root <= 0.0) {
            continue;
        }
        const double v = root * root * root;
        const double u = PolarNormal::canonicalUniform(engine);
        const double x2 = x * x;
        if (u < 1.0 - 0.0331 * x2 * x2) {
            return d * v;
        }
        if (std::log(u) < 0.5 * x2 + d * (1.0 - v + std::log(v))) {
            return d * v;
        }
    }
}

} // namespace

double chiSquareDeviate(double degrees, MersenneTwister& engine, PolarNormal& normal)
{
    assert(degrees > 0.0);
    const double shape = degrees / 2.0;
    if (shape >= 1.0) {
        return 2.0 * gammaOfShapeAtLeastOne(shape, engine, normal);
    }
    // Gamma(a) = Gamma(a + 1) · U^(1/a) for a < 1 (one degree of freedom gives a = 1/2).
    const double boosted = gammaOfShapeAtLeastOne(shape + 1.0, engine, normal);
    const double u = PolarNormal::canonicalUniform(engine);
    return 2.0 * boosted * std::pow(u, 1.0 / shape);
}
