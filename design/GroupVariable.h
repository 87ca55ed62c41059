#pragma once

#include "numeric/RealMatrix.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

/// One between-subjects variable, formed from the values of a "between" column: every
/// value is truncated toward zero, and group level k (1-based) stands for the k-th
/// smallest distinct code. Column -1 is the implicit single group of a design without
/// between columns: every participant has level 1. A value beyond the int range is
/// clamped to it and a NaN counts as code 0, so every cell has a code.
class GroupVariable {
public:
    /// source is not owned and must outlive the variable.
    GroupVariable(std::string name, const RealMatrix& source, std::int32_t column);

    /// Whether row `row`'s truncated value equals the code of 1-based `level`.
    bool isInGroup(std::int32_t level, std::int32_t row) const;
    /// The code that 1-based `level` stands for (1 for the implicit single group).
    int getCodeOfLevel(std::int32_t level) const;

    const std::string& getName() const { return name; }
    std::int32_t getColumn() const { return column; }
    std::int32_t getGroupCount() const { return groupCount; }
    /// The distinct truncated values, ascending; empty for the implicit single group.
    const std::set<int>& getCodes() const { return codes; }

private:
    std::string name;
    const RealMatrix* source;
    std::int32_t column;
    std::vector<int> values;
    std::int32_t groupCount = 1;
    std::set<int> codes;
    /// codes in ascending order, for the level -> code lookup.
    std::vector<int> orderedCodes;
};
