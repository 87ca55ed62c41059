#pragma once

#include "numeric/LapackWorkspace.h"
#include "numeric/RealMatrix.h"

#include <cstdint>

/// The factor of one variable in the hypothesis or transformation matrix of an effect that
/// includes it: (levels - 1) x levels orthonormal contrasts, each level against the mean of
/// the later levels. Row i (m = levels - 1 - i) holds 0 before column i, -m / sqrt(m(m+1))
/// in column i and 1 / sqrt(m(m+1)) after it. Three levels give (-2, 1, 1) / sqrt 6 and
/// (0, -1, 1) / sqrt 2. The matrix uses `workspace`.
RealMatrix orthonormalContrasts(std::int32_t levels, LapackWorkspace* workspace);

/// The factor of one variable outside the effect (or with a single level): the 1 x levels
/// row of 1 / sqrt(levels), the unit vector that averages over the variable's levels.
/// The matrix uses `workspace`.
RealMatrix averagingRow(std::int32_t levels, LapackWorkspace* workspace);
