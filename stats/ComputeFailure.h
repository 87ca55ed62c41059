#pragma once

#include <cstdint>

/// Why the engine could not compute an effect at all (as opposed to an analysis that is not
/// available, which the tests report each for themselves).
enum class ComputeFailure : std::int8_t {
    None,
    /// A group combination has no participants: XᵀX is singular.
    EmptyGroup,
    /// The data hold an infinity or NaN.
    NonFiniteData,
    /// The data are finite, but a sum of squares or product formed from them is not: they
    /// are too large in magnitude for double precision (about 1e154 and beyond).
    Overflow,
    /// A LAPACK routine failed (no convergence, or a matrix too large for its 32-bit sizes).
    LinearAlgebra,
};
