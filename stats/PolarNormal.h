#pragma once

#include "stats/MersenneTwister.h"

#include <cmath>

/// Standard normal deviates by Marsaglia's polar method over a 32-bit Mersenne Twister.
/// Every accepted pair of uniforms yields two deviates: the first is returned, the second
/// is kept and returned by the next call without advancing the engine. The kept deviate
/// belongs to this object, not to the engine, so it survives from one sample to the next
/// until it is returned or discarded; re-seeding the engine alone does not discard it.
class PolarNormal {
public:
    /// The kept deviate if there is one, else the first of a new pair: uniforms U1, U2 (each
    /// from two engine outputs), u = 2 U1 - 1, v = 2 U2 - 1, repeated until 0 < s = u² + v²
    /// < 1; then u·f is returned and v·f kept, with f = sqrt(-2 ln(s) / s). Inline, like
    /// canonicalUniform: a look draws hundreds of deviates, half of them kept ones, and the
    /// calls cost about as much as returning one.
    double operator()(MersenneTwister& engine)
    {
        if (hasKept) {
            hasKept = false;
            return kept;
        }
        return drawPair(engine);
    }
    /// Forgets the kept deviate, so that the next call starts a new pair.
    void discardKept() { hasKept = false; }

    /// A uniform number in [0, 1) from two successive outputs a, b of the engine:
    /// (a + b·2³²) / 2⁶⁴, the 53-bit canonical uniform.
    static double canonicalUniform(MersenneTwister& engine)
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

private:
    /// The first deviate of a new pair, the second kept.
    double drawPair(MersenneTwister& engine);

    bool hasKept = false;
    double kept = 0.0;
};
