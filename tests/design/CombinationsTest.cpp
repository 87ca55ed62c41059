#include "app/design/Combinations.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<int> rowOf(const GeneralMatrix<int>& table, std::int32_t r)
{
    std::vector<int> row;
    for (std::int32_t j = 0; j < table.getCols(); ++j)
        row.push_back(table.get(r, j));
    return row;
}

} // namespace

// Reference: the hand-listed odometer for levels (2, 3) and its labels.
TEST(LevelCombinations, TwoByThreeCountsWithTheLastVariableFastest)
{
    const GeneralMatrix<int> table = levelCombinations({2, 3});
    const std::vector<std::vector<int>> expected = {{1, 1}, {1, 2}, {1, 3},
                                                    {2, 1}, {2, 2}, {2, 3}};
    const std::vector<std::string> labels = {"1, 1", "1, 2", "1, 3", "2, 1", "2, 2", "2, 3"};
    ASSERT_EQ(table.getRows(), 6);
    ASSERT_EQ(table.getCols(), 2);
    for (std::int32_t r = 0; r < 6; ++r) {
        EXPECT_EQ(rowOf(table, r), expected[static_cast<std::size_t>(r)]) << "row " << r;
        EXPECT_EQ(combinationLabel(rowOf(table, r)), labels[static_cast<std::size_t>(r)]);
    }
}

// Identity: counting with the last variable fastest lists every combination exactly once,
// in strictly ascending lexicographic order, with every entry inside 1..L.
TEST(LevelCombinations, ListsEveryCombinationOnceInLexicographicOrder)
{
    const std::vector<int> levels = {3, 1, 2, 4};
    const GeneralMatrix<int> table = levelCombinations(levels);
    ASSERT_EQ(table.getRows(), 3 * 1 * 2 * 4);
    ASSERT_EQ(table.getCols(), 4);
    std::set<std::vector<int>> seen;
    for (std::int32_t r = 0; r < table.getRows(); ++r) {
        const std::vector<int> row = rowOf(table, r);
        for (std::size_t j = 0; j < levels.size(); ++j) {
            EXPECT_GE(row[j], 1);
            EXPECT_LE(row[j], levels[j]);
        }
        if (r > 0) {
            EXPECT_LT(rowOf(table, r - 1), row) << "row " << r;
        }
        seen.insert(row);
    }
    EXPECT_EQ(seen.size(), 24u);
}

TEST(LevelCombinations, EmptyListGivesOneEmptyRowAndALevelBelowOneNone)
{
    const GeneralMatrix<int> empty = levelCombinations({});
    EXPECT_EQ(empty.getRows(), 1);
    EXPECT_EQ(empty.getCols(), 0);
    EXPECT_EQ(levelCombinations({2, 0}).getRows(), 0);
    EXPECT_EQ(levelCombinations({-2, -3}).getRows(), 0);
    EXPECT_EQ(levelCombinations({1}).get(0, 0), 1);
}

TEST(LevelCombinations, CountBeyondTheIntRangeIsAnAllocationFailure)
{
    EXPECT_THROW(levelCombinations({65536, 65536}), std::bad_alloc);
}

TEST(CombinationLabel, JoinsLevelsWithCommaAndOneBlank)
{
    EXPECT_EQ(combinationLabel({2, 1, 3}), "2, 1, 3");
    EXPECT_EQ(combinationLabel({12}), "12");
    EXPECT_EQ(combinationLabel({}), "");
}

// Identity: parsing a label gives back the levels it was made from.
TEST(ParseCombinationLabel, RoundTripsEveryOfferedLabel)
{
    const GeneralMatrix<int> table = levelCombinations({2, 12, 3});
    for (std::int32_t r = 0; r < table.getRows(); ++r)
        EXPECT_EQ(parseCombinationLabel(combinationLabel(rowOf(table, r))), rowOf(table, r));
}

TEST(ParseCombinationLabel, RemovesBlanksBeforeSplitting)
{
    EXPECT_EQ(parseCombinationLabel("1, 12"), (std::vector<int>{1, 12}));
    EXPECT_EQ(parseCombinationLabel("  3 ,4  ,  5"), (std::vector<int>{3, 4, 5}));
    // The blank inside "1 2" goes first, so the digits join into one number.
    EXPECT_EQ(parseCombinationLabel("1 2"), (std::vector<int>{12}));
    EXPECT_EQ(parseCombinationLabel("1,2,"), (std::vector<int>{1, 2}));
}

TEST(ParseCombinationLabel, GarbageParsesWithoutFault)
{
    EXPECT_TRUE(parseCombinationLabel("").empty());
    EXPECT_TRUE(parseCombinationLabel("   ").empty());
    EXPECT_EQ(parseCombinationLabel("between"), (std::vector<int>{0}));
    EXPECT_EQ(parseCombinationLabel(",,"), (std::vector<int>{0, 0}));
    EXPECT_EQ(parseCombinationLabel("a, 3x, ,7"), (std::vector<int>{0, 3, 0, 7}));
    EXPECT_EQ(parseCombinationLabel("-, +, -0"), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(parseCombinationLabel("-2, +5"), (std::vector<int>{-2, 5}));
}

// Reference: INT_MAX = 2147483647 and INT_MIN = -2147483648 for 32-bit int.
TEST(ParseCombinationLabel, ClampsNumbersBeyondTheIntRange)
{
    EXPECT_EQ(parseCombinationLabel("2147483647"), (std::vector<int>{INT_MAX}));
    EXPECT_EQ(parseCombinationLabel("2147483648"), (std::vector<int>{INT_MAX}));
    EXPECT_EQ(parseCombinationLabel("-2147483648"), (std::vector<int>{INT_MIN}));
    EXPECT_EQ(parseCombinationLabel("-2147483649"), (std::vector<int>{INT_MIN}));
    EXPECT_EQ(parseCombinationLabel("99999999999999999999, 1"), (std::vector<int>{INT_MAX, 1}));
    EXPECT_EQ(parseCombinationLabel("-99999999999999999999999999999999999999"),
              (std::vector<int>{INT_MIN}));
    EXPECT_EQ(parseCombinationLabel("00000000000000000000000000042"), (std::vector<int>{42}));
}
