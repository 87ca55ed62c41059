#pragma once

#include "stats/MersenneTwister.h"
#include "stats/PolarNormal.h"

/// A chi-square deviate with degrees > 0 degrees of freedom: twice a gamma deviate of shape
/// degrees / 2 by Marsaglia and Tsang's squeeze method, whose candidates come from normal
/// and whose acceptance uniforms are canonical uniforms of engine. Exact (a rejection
/// method) and fully determined by the engine's state and the normal's kept deviate, so a
/// seeded run repeats itself.
double chiSquareDeviate(double degrees, MersenneTwister& engine, PolarNormal& normal);
