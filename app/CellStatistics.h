#pragma once

#include "design/Design.h"
#include "numeric/DecimalSeparator.h"

#include <cstdint>
#include <string>
#include <vector>

/// The descriptive statistics of one cell of the design, as the front ends show them.
struct CellStatistics {
    /// The level (1 … L) of each between variable; empty without between variables.
    std::vector<int> group;
    /// The within combination's label, e.g. "1, 2".
    std::string combination;
    std::int32_t n = -99;
    double mean = -99.0;
    /// NaN for a cell with one participant.
    double sd = -99.0;
};

/// Every cell of the design as built last: its group combinations in their order and,
/// within each, the within combinations in the order of their labels.
std::vector<CellStatistics> cellStatistics(const Design& design);

/// A table with a header line "group  within  n  mean  SD" (no group column without between
/// variables) and one line per cell, the group as its levels "1, 2", mean and SD "%.4f" in
/// the separator and "-" for an SD that a cell of one participant does not have; columns
/// padded to their widest text.
std::string formatCellStatisticsText(const std::vector<CellStatistics>& cells,
                                     DecimalSeparator separator);
