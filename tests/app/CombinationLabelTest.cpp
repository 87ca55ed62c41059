#include "app/CombinationLabel.h"

#include "app/design/Combinations.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using Levels = std::vector<int>;

TEST(DenotedCombination, ReadsTheLevelsOnlyOfAWellFormedLabelWithinRange)
{
    const std::optional<Levels> none;
    const struct {
        const char* label;
        Levels withinLevels;
        std::optional<Levels> denoted;
    } cases[] = {
        {"2, 3", {2, 3}, Levels{2, 3}},
        {"4", {4}, Levels{4}},
        // Other blanks and leading zeros denote the same levels.
        {"1,2", {2, 2}, Levels{1, 2}},
        {" 1 ,  2 ", {2, 2}, Levels{1, 2}},
        {"01, 2", {2, 2}, Levels{1, 2}},
        // Another number of entries; a trailing ',' opens an empty entry.
        {"1", {2, 2}, none},
        {"1, 2, 1", {2, 2}, none},
        {"1, 2,", {2, 2}, none},
        {"", {2}, none},
        {"1,,2", {2, 2}, none},
        // A level out of range, however long, or with a sign.
        {"3, 1", {2, 2}, none},
        {"0, 1", {2, 2}, none},
        {"99999999999999999999, 1", {2, 2}, none},
        {"-1, 1", {2, 2}, none},
        {"+1, 1", {2, 2}, none},
        // Letters and decimals.
        {"a, b", {2, 2}, none},
        {"1a, 2", {2, 2}, none},
        {"Between", {2}, none},
        {"between", {2}, none},
        {"1.5", {2}, none},
    };
    for (const auto& test : cases)
        EXPECT_EQ(denotedCombination(test.label, test.withinLevels), test.denoted) << test.label;
}

TEST(DenotedCombination, EveryOfferedLabelDenotesItsRowOfLevelCombinations)
{
    const Levels withinLevels{2, 3, 2};
    const GeneralMatrix<int> combinations = levelCombinations(withinLevels);
    for (std::int32_t i = 0; i < combinations.getRows(); ++i) {
        const Levels row{combinations.get(i, 0), combinations.get(i, 1), combinations.get(i, 2)};
        EXPECT_EQ(denotedCombination(combinationLabel(row), withinLevels), row);
    }
}

TEST(DenotedCombination, AcceptedTextsParseToTheSameLevelsAsTheDesignReadsThem)
{
    for (const std::string label : {"1,2", " 2 , 1", "02,2", "1, 1"})
        EXPECT_EQ(denotedCombination(label, {2, 2}), parseCombinationLabel(label)) << label;
}
