#include "design/GroupVariable.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <set>
#include <vector>

// Values are truncated toward zero (not floored: -0.5 is code 0, -1.7 is code -1), values
// beyond the int range clamp to it and NaN is code 0; level k is the k-th smallest code.
// The column sits beside a neighbour whose values must not leak into the groups.
TEST(GroupVariable, CodesAreTruncatedValuesAndLevelsTheirRanks)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const struct {
        std::vector<double> column;
        std::vector<int> codes;      // ascending: code of level 1, 2, ...
        std::vector<int> levelOfRow; // the level each row belongs to
    } cases[] = {
        {{7, 2, 7, 2.9, 7}, {2, 7}, {2, 1, 2, 1, 2}},
        {{-1.7, 0.5, -0.5, -1.0, 0.0, 3.2}, {-1, 0, 3}, {1, 2, 2, 1, 2, 3}},
        {{1e300, -1e300, nan, infinity, 4}, {INT_MIN, 0, 4, INT_MAX}, {4, 1, 2, 4, 3}},
    };
    for (const auto& c : cases) {
        RealMatrix source(static_cast<std::int32_t>(c.column.size()), 2, nullptr);
        for (std::size_t r = 0; r < c.column.size(); ++r) {
            source.set(static_cast<std::int32_t>(r), 0, 1000.0 + static_cast<double>(r));
            source.set(static_cast<std::int32_t>(r), 1, c.column[r]);
        }
        const GroupVariable group("g", source, 1);
        SCOPED_TRACE(testing::Message() << "first value " << c.column[0]);
        const auto levels = static_cast<std::int32_t>(c.codes.size());
        EXPECT_EQ(group.getGroupCount(), levels);
        EXPECT_EQ(group.getCodes(), std::set<int>(c.codes.begin(), c.codes.end()));
        for (std::int32_t level = 1; level <= levels; ++level)
            EXPECT_EQ(group.getCodeOfLevel(level), c.codes[static_cast<std::size_t>(level - 1)]);
        for (std::size_t r = 0; r < c.levelOfRow.size(); ++r) {
            for (std::int32_t level = 1; level <= levels; ++level)
                EXPECT_EQ(group.isInGroup(level, static_cast<std::int32_t>(r)),
                          level == c.levelOfRow[r])
                    << "row " << r << ", level " << level;
        }
    }
}
