#include "design/Combinations.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

// Strictly ascending rows (each combination once), entries in 1..L, labels round-trip.
TEST(LevelCombinations, ListsEveryCombinationOnceInOrderAndLabelsRoundTrip)
{
    const std::vector<int> levels = {3, 1, 12, 2};
    const GeneralMatrix<int> table = levelCombinations(levels);
    ASSERT_EQ(table.getRows(), 72);
    ASSERT_EQ(table.getCols(), 4);
    std::vector<int> previous;
    for (std::int32_t r = 0; r < table.getRows(); ++r) {
        std::vector<int> row;
        for (std::int32_t j = 0; j < 4; ++j) {
            row.push_back(table.get(r, j));
            EXPECT_GE(row.back(), 1);
            EXPECT_LE(row.back(), levels[static_cast<std::size_t>(j)]);
        }
        EXPECT_LT(previous, row) << "row " << r;
        EXPECT_EQ(parseCombinationLabel(combinationLabel(row)), row);
        previous = row;
    }
    EXPECT_EQ(combinationLabel({2, 1, 12}), "2, 1, 12");
}

TEST(LevelCombinations, EmptyListGivesOneEmptyRowAndALevelBelowOneNone)
{
    EXPECT_EQ(levelCombinations({}).getRows(), 1);
    EXPECT_EQ(levelCombinations({2, 0}).getRows(), 0);
    EXPECT_THROW(levelCombinations({65536, 65536}), std::bad_alloc); // 2^32 rows
}

// Blanks go, a piece without a leading integer is 0, numbers clamp to the int range.
TEST(ParseCombinationLabel, BlanksGarbageAndClamping)
{
    const struct {
        const char* text;
        std::vector<int> levels;
    } cases[] = {
        {"  3 ,4  ,  5", {3, 4, 5}},
        {"1,2,", {1, 2}},
        {"a, 3x, ,7", {0, 3, 0, 7}},
        {"2147483648", {INT_MAX}},
        {"-99999999999999999999999999999999999999", {INT_MIN}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseCombinationLabel(c.text), c.levels) << '"' << c.text << '"';
}
