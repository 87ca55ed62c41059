#include "app/design/GroupVariable.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <set>
#include <vector>

namespace {

// A two-column source: the group column under test and a neighbour whose values must not
// leak into the groups. No LAPACK routine runs on it, so it needs no workspace.
RealMatrix sourceWith(const std::vector<double>& column)
{
    RealMatrix source(static_cast<std::int32_t>(column.size()), 2, nullptr);
    for (std::size_t r = 0; r < column.size(); ++r) {
        source.set(static_cast<std::int32_t>(r), 0, 1000.0 + static_cast<double>(r));
        source.set(static_cast<std::int32_t>(r), 1, column[r]);
    }
    return source;
}

} // namespace

// Reference: hand-worked grouping of 7, 2, 7, 2.9, 7 (the codes 2, 2, 7, 7, 7 interleaved,
// one 2 written as 2.9).
TEST(GroupVariable, TwoCodesFormTwoLevelsInAscendingOrder)
{
    const RealMatrix source = sourceWith({7, 2, 7, 2.9, 7});
    const GroupVariable group("dose", source, 1);
    EXPECT_EQ(group.getName(), "dose");
    EXPECT_EQ(group.getGroupCount(), 2);
    EXPECT_EQ(group.getCodes(), (std::set<int>{2, 7}));
    EXPECT_EQ(group.codeOfLevel(1), 2);
    EXPECT_EQ(group.codeOfLevel(2), 7);
    const std::vector<int> expectedLevel = {2, 1, 2, 1, 2};
    for (std::int32_t r = 0; r < 5; ++r) {
        const int level = expectedLevel[static_cast<std::size_t>(r)];
        EXPECT_TRUE(group.isInGroup(level, r)) << "row " << r;
        EXPECT_FALSE(group.isInGroup(3 - level, r)) << "row " << r;
    }
}

// Truncation toward zero, not flooring: -0.5 is code 0 and -1.7 is code -1.
TEST(GroupVariable, ZeroAndNegativeCodesTruncateTowardZero)
{
    const RealMatrix source = sourceWith({-1.7, 0.5, -0.5, -1.0, 0.0, 3.2});
    const GroupVariable group("g", source, 1);
    EXPECT_EQ(group.getCodes(), (std::set<int>{-1, 0, 3}));
    EXPECT_EQ(group.codeOfLevel(1), -1);
    EXPECT_EQ(group.codeOfLevel(2), 0);
    EXPECT_EQ(group.codeOfLevel(3), 3);
    EXPECT_TRUE(group.isInGroup(1, 0));
    EXPECT_TRUE(group.isInGroup(2, 1));
    EXPECT_TRUE(group.isInGroup(2, 2));
    EXPECT_TRUE(group.isInGroup(1, 3));
    EXPECT_TRUE(group.isInGroup(3, 5));
    EXPECT_FALSE(group.isInGroup(1, 2));
}

TEST(GroupVariable, ValuesOutsideTheIntRangeStillGetACode)
{
    const RealMatrix source = sourceWith({1e300, -1e300, std::numeric_limits<double>::quiet_NaN(),
                                          std::numeric_limits<double>::infinity(), 4});
    const GroupVariable group("g", source, 1);
    EXPECT_EQ(group.getCodes(), (std::set<int>{INT_MIN, 0, 4, INT_MAX}));
    EXPECT_TRUE(group.isInGroup(4, 0));
    EXPECT_TRUE(group.isInGroup(1, 1));
    EXPECT_TRUE(group.isInGroup(2, 2));
    EXPECT_TRUE(group.isInGroup(4, 3));
}

TEST(GroupVariable, ImplicitSingleGroupHoldsEveryRow)
{
    const RealMatrix source = sourceWith({5, -3, 8});
    const GroupVariable group("Dummy", source, -1);
    EXPECT_EQ(group.getColumn(), -1);
    EXPECT_EQ(group.getGroupCount(), 1);
    EXPECT_TRUE(group.getCodes().empty());
    EXPECT_EQ(group.codeOfLevel(1), 1);
    for (std::int32_t r = 0; r < 3; ++r)
        EXPECT_TRUE(group.isInGroup(1, r)) << "row " << r;
}
