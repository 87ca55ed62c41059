#include "design/Design.h"
#include "design/Combinations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace {

// A few divisions, roots and short sums: a few units in the last place.
constexpr double TOLERANCE = 1e-14;
const double R2 = std::sqrt(2.0);
const double R3 = std::sqrt(3.0);
const double R6 = std::sqrt(6.0);

/// One role per column ("between" or a combination label), the rows and the within levels.
struct Table {
    std::vector<std::string> roles;
    std::vector<std::vector<double>> rows;
    std::vector<int> withinLevels;
};

// Like the table reader: as many label entries as the first label has, extra ones dropped.
bool buildFrom(Design& design, const Table& table)
{
    const auto n = static_cast<std::int32_t>(table.rows.size());
    const auto k = static_cast<std::int32_t>(table.roles.size());
    RealMatrix raw(n, k, nullptr);
    std::vector<std::string> names;
    std::set<int> between;
    std::vector<std::vector<int>> labels;
    for (std::int32_t j = 0; j < k; ++j) {
        const std::string& role = table.roles[static_cast<std::size_t>(j)];
        names.push_back("c" + std::to_string(j));
        if (role == "between")
            between.insert(j);
        else
            labels.push_back(parseCombinationLabel(role));
        for (std::int32_t i = 0; i < n; ++i)
            raw.set(i, j, table.rows[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
    }
    const auto entries = labels.empty() ? 0 : static_cast<std::int32_t>(labels[0].size());
    GeneralMatrix<int> columnLevels(entries, static_cast<std::int32_t>(labels.size()));
    for (std::size_t c = 0; c < labels.size(); ++c) {
        const auto used = std::min(static_cast<std::int32_t>(labels[c].size()), entries);
        for (std::int32_t e = 0; e < used; ++e)
            columnLevels.set(e, static_cast<std::int32_t>(c),
                             labels[c][static_cast<std::size_t>(e)]);
    }
    const std::vector<std::string> withinNames(table.withinLevels.size(), "w");
    return design.build(raw, names, between, withinNames, table.withinLevels, columnLevels);
}

void expectMatrix(const RealMatrix& actual, const std::vector<std::vector<double>>& expected)
{
    ASSERT_EQ(actual.getRows(), static_cast<std::int32_t>(expected.size()));
    for (std::int32_t i = 0; i < actual.getRows(); ++i) {
        const auto& row = expected[static_cast<std::size_t>(i)];
        ASSERT_EQ(actual.getCols(), static_cast<std::int32_t>(row.size()));
        for (std::int32_t j = 0; j < actual.getCols(); ++j)
            EXPECT_NEAR(actual.get(i, j), row[static_cast<std::size_t>(j)], TOLERANCE)
                << "(" << i << ", " << j << ")";
    }
}

// Between codes -4, 0 (column 0) and 5, 6, 9 (column 2); cell (-4, 6) is empty.
Table twoBetweenTable()
{
    return {{"between", "1", "between", "2"},
            {{0, 10, 5, 100},
             {-4, 11, 9, 101},
             {0, 12, 5, 102},
             {-4, 13, 5, 103},
             {-4.5, 14, 9.9, 104},
             {0, 15, 9, 105},
             {0, 16, 6, 106}},
            {2}};
}

} // namespace

// A rebuild replaces the previous design; M holds the hand-worked three-level contrasts.
TEST(DesignGroups, WithoutBetweenColumnOneDummyGroupHoldsEveryone)
{
    Design design;
    ASSERT_TRUE(buildFrom(design, twoBetweenTable()));
    ASSERT_TRUE(buildFrom(design, {{"3", "1", "2"}, {{3, 1, 2}, {6, 4, 5}, {9, 7, 8}}, {3}}));
    EXPECT_EQ(design.getBetweenCount(), 1);
    ASSERT_EQ(design.getGroups().size(), 1u);
    EXPECT_EQ(design.getGroups()[0]->getName(), "Dummy");
    EXPECT_EQ(design.getGroupStart(), (std::vector<int>{0}));
    expectMatrix(design.getX(), {{1}, {1}, {1}});
    expectMatrix(design.getY(), {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    design.setEffect({}, {1});
    expectMatrix(design.getC(), {{1}});
    expectMatrix(design.getM(), {{-2 / R6, 0}, {1 / R6, -1 / R2}, {1 / R6, 1 / R2}});
    design.setEffect({}, {0});
    expectMatrix(design.getM(), {{1 / R3}, {1 / R3}, {1 / R3}});
}

// Hand-sorted: groups (-4, 5), (-4, 6), ..., (0, 9) hold rows 3 | - | 1, 4 | 0, 2 | 6 | 5.
TEST(DesignGroups, TwoBetweenColumnsRegroupStablyAndLeaveEmptyCellsAtMinusOne)
{
    Design design;
    ASSERT_TRUE(buildFrom(design, twoBetweenTable()));
    EXPECT_EQ(design.getBetweenCount(), 2);
    EXPECT_EQ(design.getBetweenLevels(), (std::vector<int>{2, 3}));
    EXPECT_EQ(design.getGroupStart(), (std::vector<int>{0, -1, 1, 3, 5, 6}));
    expectMatrix(design.getWithinData(),
                 {{13, 103}, {11, 101}, {14, 104}, {10, 100}, {12, 102}, {16, 106}, {15, 105}});
    const std::int32_t groupOfRow[] = {0, 2, 2, 3, 3, 4, 5};
    ASSERT_EQ(design.getX().getCols(), 6);
    for (std::int32_t i = 0; i < 7; ++i) {
        for (std::int32_t g = 0; g < 6; ++g)
            EXPECT_EQ(design.getX().get(i, g), g == groupOfRow[i] ? 1.0 : 0.0) << i << ", " << g;
    }
}

// Each bad table is rejected and the design keeps the previous build.
TEST(DesignBuild, RejectsLabelsThatDoNotNameEachCombinationOnceAndKeepsThePreviousDesign)
{
    Design design;
    ASSERT_TRUE(buildFrom(design, twoBetweenTable()));
    const std::vector<Table> rejected = {
        {{"1", "1"}, {{1, 2}}, {2}},             // one combination twice
        {{"1", "3"}, {{1, 2}}, {2}},             // level beyond the variable's levels
        {{"1, 1", "2, 1"}, {{1, 2}}, {2}},       // more entries than within variables
        {{"1", "0"}, {{1, 2}}, {2}},             // level 0
        {{"1", "2"}, {{1, 2}}, {2, 2}},          // too few columns for four cells
        {{"between", "1", "2"}, {}, {2}},        // no participant
        {{"1", "2"}, {{1, 2}}, {65536, 65536}}}; // a count that wraps to 0 in 32 bits
    for (const Table& table : rejected) {
        EXPECT_FALSE(buildFrom(design, table)) << table.roles[0] << " | " << table.roles[1];
        EXPECT_EQ(design.getGroupStart(), (std::vector<int>{0, -1, 1, 3, 5, 6}));
        EXPECT_EQ(design.getY().getCols(), 2);
        EXPECT_EQ(design.getY().get(0, 0), 13.0);
    }
}
