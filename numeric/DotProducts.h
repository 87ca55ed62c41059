#pragma once

#include <cstdint>

/// sums[r] := Σₖ a[r][k]·b[k] for k = 0 .. length-1, each summed in order from 0 as a plain
/// dot product is. The four sums are independent chains of additions, which overlap instead
/// of each addition waiting for the last; passing one row four times gives a single sum.
inline void fourDotProducts(const double* const a[4], const double* b, std::int32_t length,
                            double sums[4])
{
    double s0 = 0.0;
    double s1 = 0.0;
    double s2 = 0.0;
    double s3 = 0.0;
    for (std::int32_t k = 0; k < length; ++k) {
        s0 += a[0][k] * b[k];
        s1 += a[1][k] * b[k];
        s2 += a[2][k] * b[k];
        s3 += a[3][k] * b[k];
    }
    sums[0] = s0;
    sums[1] = s1;
    sums[2] = s2;
    sums[3] = s3;
}
