#include "app/EffectFlags.h"

#include "app/design/EffectList.h"

#include <gtest/gtest.h>

#include <vector>

using Flags = std::vector<int>;

TEST(EffectFlags, SplitsTheRowAtTheBetweenCount)
{
    // Two between variables and three within variables; row 0b01110 flags the second
    // between variable and the first two within variables.
    const GeneralMatrix<int> effects = effectList(5);
    const EffectFlags flags = effectFlags(effects, 0b01110, 2);
    EXPECT_EQ(flags.betweenFlags, (Flags{0, 1}));
    EXPECT_EQ(flags.withinFlags, (Flags{1, 1, 0}));
    EXPECT_EQ(flags.betweenIndices, (Flags{1}));
    EXPECT_EQ(flags.withinIndices, (Flags{0, 1}));
}

TEST(EffectFlags, IndicesCountWithinTheirOwnKindOfVariable)
{
    const GeneralMatrix<int> effects = effectList(4);
    const EffectFlags flags = effectFlags(effects, 0b1011, 1);
    EXPECT_EQ(flags.betweenFlags, (Flags{1}));
    EXPECT_EQ(flags.withinFlags, (Flags{0, 1, 1}));
    EXPECT_EQ(flags.betweenIndices, (Flags{0}));
    EXPECT_EQ(flags.withinIndices, (Flags{1, 2})) << "positions among the within variables";
}

TEST(EffectFlags, WithoutBetweenVariablesEveryFlagIsWithin)
{
    const GeneralMatrix<int> effects = effectList(2);
    const EffectFlags flags = effectFlags(effects, 1, 0);
    EXPECT_TRUE(flags.betweenFlags.empty());
    EXPECT_TRUE(flags.betweenIndices.empty());
    EXPECT_EQ(flags.withinFlags, (Flags{0, 1}));
    EXPECT_EQ(flags.withinIndices, (Flags{1}));
}
