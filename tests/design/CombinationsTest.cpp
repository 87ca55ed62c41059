#include "app/design/Combinations.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
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

// Counting with the last variable fastest lists every combination exactly once, in
// strictly ascending lexicographic order (which fixes the table), every entry inside
// 1..L; each label parses back to its levels (a level of two digits included).
TEST(LevelCombinations, ListsEveryCombinationOnceInOrderAndLabelsRoundTrip)
{
    const std::vector<int> levels = {3, 1, 12, 2};
    const GeneralMatrix<int> table = levelCombinations(levels);
    ASSERT_EQ(table.getRows(), 3 * 1 * 12 * 2);
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
        EXPECT_EQ(parseCombinationLabel(combinationLabel(row)), row);
        seen.insert(row);
    }
    EXPECT_EQ(seen.size(), 72u);
    EXPECT_EQ(combinationLabel({2, 1, 3}), "2, 1, 3");
    EXPECT_EQ(combinationLabel({12}), "12");
    EXPECT_EQ(combinationLabel({}), "");
}

TEST(LevelCombinations, EmptyListGivesOneEmptyRowAndALevelBelowOneNone)
{
    const GeneralMatrix<int> empty = levelCombinations({});
    EXPECT_EQ(empty.getRows(), 1);
    EXPECT_EQ(empty.getCols(), 0);
    EXPECT_EQ(levelCombinations({2, 0}).getRows(), 0);
    EXPECT_EQ(levelCombinations({-2, -3}).getRows(), 0);
    EXPECT_EQ(levelCombinations({1}).get(0, 0), 1);
    EXPECT_THROW(levelCombinations({65536, 65536}), std::bad_alloc); // 2^32 rows
}

// Any text parses without fault: blanks go first (so "1 2" is 12), a piece without a
// leading integer is 0, a trailing comma adds nothing, numbers clamp to the int range.
TEST(ParseCombinationLabel, BlanksGarbageAndClamping)
{
    const struct {
        const char* text;
        std::vector<int> levels;
    } cases[] = {
        {"1, 12", {1, 12}},
        {"  3 ,4  ,  5", {3, 4, 5}},
        {"1 2", {12}},
        {"1,2,", {1, 2}},
        {"", {}},
        {"   ", {}},
        {"between", {0}},
        {",,", {0, 0}},
        {"a, 3x, ,7", {0, 3, 0, 7}},
        {"-, +, -0", {0, 0, 0}},
        {"-2, +5", {-2, 5}},
        {"2147483647", {INT_MAX}},
        {"2147483648", {INT_MAX}},
        {"-2147483648", {INT_MIN}},
        {"-2147483649", {INT_MIN}},
        {"99999999999999999999, 1", {INT_MAX, 1}},
        {"-99999999999999999999999999999999999999", {INT_MIN}},
        {"00000000000000000000000000042", {42}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseCombinationLabel(c.text), c.levels) << '"' << c.text << '"';
}
