#include "stats/CellDescriptives.h"

#include <cassert>
#include <cmath>
#include <cstddef>
#include <limits>

namespace {

/// The group of each participant, the column of its 1 in the cell indicator X.
std::vector<std::int32_t> groupsOf(const RealMatrix& X)
{
    std::vector<std::int32_t> groups(static_cast<std::size_t>(X.getRows()), -1);
    for (std::int32_t j = 0; j < X.getCols(); ++j) {
        for (std::int32_t i = 0; i < X.getRows(); ++i) {
            if (X.get(i, j) == 1.0)
                groups[static_cast<std::size_t>(i)] = j;
        }
    }
    return groups;
}

} // namespace

std::vector<CellDescription> describeCells(const RealMatrix& Y, const RealMatrix& X)
{
    assert(X.getRows() == Y.getRows());
    constexpr double none = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::int32_t> groups = groupsOf(X);
    const std::int32_t columns = Y.getCols();
    std::vector<CellDescription> cells(static_cast<std::size_t>(X.getCols()) * columns);
    const auto cellOf = [&cells, columns](std::int32_t g, std::int32_t c) -> CellDescription& {
        return cells[static_cast<std::size_t>(g) * columns + c];
    };
    for (std::int32_t g = 0; g < X.getCols(); ++g) {
        for (std::int32_t c = 0; c < columns; ++c)
            cellOf(g, c) = {g, c, 0, 0.0, 0.0};
    }
    for (std::int32_t c = 0; c < columns; ++c) {
        for (std::int32_t i = 0; i < Y.getRows(); ++i) {
            CellDescription& cell = cellOf(groups[static_cast<std::size_t>(i)], c);
            ++cell.n;
            cell.mean += Y.get(i, c);
        }
    }
    for (CellDescription& cell : cells)
        cell.mean = cell.n > 0 ? cell.mean / cell.n : none;
    // sd holds the sum of squared deviations until the last step.
    for (std::int32_t c = 0; c < columns; ++c) {
        for (std::int32_t i = 0; i < Y.getRows(); ++i) {
            CellDescription& cell = cellOf(groups[static_cast<std::size_t>(i)], c);
            const double deviation = Y.get(i, c) - cell.mean;
            cell.sd += deviation * deviation;
        }
    }
    for (CellDescription& cell : cells)
        cell.sd = cell.n > 1 ? std::sqrt(cell.sd / (cell.n - 1)) : none;
    return cells;
}
