#include "design/GroupVariable.h"

#include <cassert>
#include <climits>
#include <cmath>
#include <utility>

namespace {

/// A cell value truncated toward zero to an int code. Values beyond the int range are
/// clamped to it and a NaN counts as 0, because converting either to int directly is
/// undefined; such cells still land in a well-defined group.
int truncateToCode(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

GroupVariable::GroupVariable(std::string variableName, const RealMatrix& sourceMatrix,
                             std::int32_t sourceColumn)
    : name(std::move(variableName)), source(&sourceMatrix), column(sourceColumn)
{
    assert(column >= -1);
    assert(column < source->getCols());
    const std::int32_t rowCount = source->getRows();
    if (column == -1) {
        // The implicit single group: everyone is in level 1 and no column backs it.
        values.assign(static_cast<std::size_t>(rowCount), 1);
        return;
    }
    values.reserve(static_cast<std::size_t>(rowCount));
    for (std::int32_t r = 0; r < rowCount; ++r)
        values.push_back(truncateToCode(source->get(r, column)));
    codes.insert(values.begin(), values.end());
    orderedCodes.assign(codes.begin(), codes.end());
    groupCount = static_cast<std::int32_t>(codes.size());
}

bool GroupVariable::isInGroup(std::int32_t level, std::int32_t row) const
{
    assert(row >= 0);
    assert(row < static_cast<std::int32_t>(values.size()));
    return values[static_cast<std::size_t>(row)] == getCodeOfLevel(level);
}

int GroupVariable::getCodeOfLevel(std::int32_t level) const
{
    assert(level >= 1);
    assert(level <= groupCount);
    if (column == -1)
        return 1;
    return orderedCodes[static_cast<std::size_t>(level - 1)];
}
