#include "design/EffectFactors.h"

#include <cassert>
#include <cmath>

RealMatrix orthonormalContrasts(std::int32_t levels, LapackWorkspace* workspace)
{
    assert(levels >= 1);
    RealMatrix contrasts(levels - 1, levels, workspace);
    for (std::int32_t i = 0; i < levels - 1; ++i) {
        // m later levels: the row sums to zero (m entries of 1 against one of -m) and its
        // squares sum to (m² + m) / (m(m+1)) = 1.
        const double m = levels - 1 - i;
        const double norm = std::sqrt(m * (m + 1.0));
        contrasts.set(i, i, -m / norm);
        for (std::int32_t j = i + 1; j < levels; ++j)
            contrasts.set(i, j, 1.0 / norm);
    }
    return contrasts;
}

RealMatrix averagingRow(std::int32_t levels, LapackWorkspace* workspace)
{
    assert(levels >= 1);
    RealMatrix row(1, levels, workspace);
    const double entry = 1.0 / std::sqrt(static_cast<double>(levels));
    for (std::int32_t j = 0; j < levels; ++j)
        row.set(0, j, entry);
    return row;
}
