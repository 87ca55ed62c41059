#pragma once

#include "numeric/RealMatrix.h"

#include <cstdint>
#include <vector>

/// The participants, mean and SD of one cell: one group combination and one within
/// combination.
struct CellDescription {
    /// The group combination (the column of X), 0-based.
    std::int32_t group = -99;
    /// The within combination (the column of Y), 0-based.
    std::int32_t combination = -99;
    std::int32_t n = -99;
    /// NaN for a cell without participants.
    double mean = -99.0;
    /// With n - 1 in the denominator; NaN for fewer than two participants.
    double sd = -99.0;
};

/// Every cell of the data Y (N x P) with the cell indicator X (N x G): the group
/// combinations in X's column order and, within each, Y's columns in their order. The SD
/// is taken about the cell's mean in a second pass, not from the sums of squares, which
/// would cancel for data far from 0.
std::vector<CellDescription> describeCells(const RealMatrix& Y, const RealMatrix& X);
