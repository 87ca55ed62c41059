#include "app/EffectFlags.h"

#include "app/design/EffectList.h"

#include <gtest/gtest.h>

#include <vector>

using Flags = std::vector<int>;

TEST(EffectFlags, SplitsTheRowAtTheBetweenCountAndCountsIndicesPerKind)
{
    const struct {
        int variables;
        int row;
        int betweenCount;
        Flags between, within, betweenIndices, withinIndices;
    } cases[] = {
        // Row 0b01110 of five variables flags the second of two between variables and the
        // first two of three within variables.
        {5, 0b01110, 2, {0, 1}, {1, 1, 0}, {1}, {0, 1}},
        // Within indices are positions among the within variables only.
        {4, 0b1011, 1, {1}, {0, 1, 1}, {0}, {1, 2}},
        {2, 1, 0, {}, {0, 1}, {}, {1}},
    };
    for (const auto& test : cases) {
        const EffectFlags flags =
            effectFlags(effectList(test.variables), test.row, test.betweenCount);
        EXPECT_EQ(flags.betweenFlags, test.between) << test.row;
        EXPECT_EQ(flags.withinFlags, test.within) << test.row;
        EXPECT_EQ(flags.betweenIndices, test.betweenIndices) << test.row;
        EXPECT_EQ(flags.withinIndices, test.withinIndices) << test.row;
    }
}
