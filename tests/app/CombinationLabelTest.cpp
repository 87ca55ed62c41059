#include "app/CombinationLabel.h"

#include "app/design/Combinations.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using Levels = std::vector<int>;

TEST(DenotedCombination, OfferedLabelDenotesItsLevels)
{
    EXPECT_EQ(denotedCombination("2, 3", {2, 3}), (Levels{2, 3}));
    EXPECT_EQ(denotedCombination("4", {4}), (Levels{4}));
}

TEST(DenotedCombination, SpellingWithOtherBlanksDenotesTheSameLevels)
{
    EXPECT_EQ(denotedCombination("1,2", {2, 2}), (Levels{1, 2}));
    EXPECT_EQ(denotedCombination(" 1 ,  2 ", {2, 2}), (Levels{1, 2}));
    EXPECT_EQ(denotedCombination("01, 2", {2, 2}), (Levels{1, 2}));
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

TEST(DenotedCombination, AnotherNumberOfEntriesDenotesNone)
{
    EXPECT_EQ(denotedCombination("1", {2, 2}), std::nullopt);
    EXPECT_EQ(denotedCombination("1, 2, 1", {2, 2}), std::nullopt);
    EXPECT_EQ(denotedCombination("1, 2,", {2, 2}), std::nullopt)
        << "a trailing ',' opens an empty entry";
    EXPECT_EQ(denotedCombination("", {2}), std::nullopt);
    EXPECT_EQ(denotedCombination("1,,2", {2, 2}), std::nullopt);
}

TEST(DenotedCombination, LevelOutOfRangeDenotesNone)
{
    EXPECT_EQ(denotedCombination("3, 1", {2, 2}), std::nullopt);
    EXPECT_EQ(denotedCombination("0, 1", {2, 2}), std::nullopt);
    EXPECT_EQ(denotedCombination("99999999999999999999, 1", {2, 2}), std::nullopt);
    EXPECT_EQ(denotedCombination("-1, 1", {2, 2}), std::nullopt);
    EXPECT_EQ(denotedCombination("+1, 1", {2, 2}), std::nullopt);
}

TEST(DenotedCombination, LettersDenoteNone)
{
    EXPECT_EQ(denotedCombination("a, b", {2, 2}), std::nullopt);
    EXPECT_EQ(denotedCombination("1a, 2", {2, 2}), std::nullopt);
    EXPECT_EQ(denotedCombination("Between", {2}), std::nullopt);
    EXPECT_EQ(denotedCombination("between", {2}), std::nullopt);
    EXPECT_EQ(denotedCombination("1.5", {2}), std::nullopt);
}

TEST(DenotedCombination, AcceptedTextsParseToTheSameLevelsAsTheDesignReadsThem)
{
    for (const std::string label : {"1,2", " 2 , 1", "02,2", "1, 1"})
        EXPECT_EQ(denotedCombination(label, {2, 2}), parseCombinationLabel(label)) << label;
}
