#include "app/CombinationLabel.h"

#include "design/Combinations.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

using Levels = std::vector<int>;

TEST(DenotedCombination, ReadsTheLevelsOnlyOfAWellFormedLabelWithinRangeAndEveryOfferedLabel)
{
    EXPECT_EQ(denotedCombination(" 01 ,  2 ", {2, 2}), (Levels{1, 2}));
    EXPECT_EQ(denotedCombination(" 2 , 1", {2, 2}), parseCombinationLabel(" 2 , 1"));
    for (const char* label :
         {"1", "1, 2,", "", "3, 1", "0, 1", "99999999999999999999, 1", "+1, 1", "1a, 2", "1.5, 1"})
        EXPECT_EQ(denotedCombination(label, {2, 2}), std::nullopt) << label;
    // Every offered label denotes its row of level combinations.
    const Levels withinLevels{2, 3, 2};
    const GeneralMatrix<int> combinations = levelCombinations(withinLevels);
    for (std::int32_t i = 0; i < combinations.getRows(); ++i) {
        const Levels row{combinations.get(i, 0), combinations.get(i, 1), combinations.get(i, 2)};
        EXPECT_EQ(denotedCombination(combinationLabel(row), withinLevels), row);
    }
}
