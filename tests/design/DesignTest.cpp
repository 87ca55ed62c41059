#include "app/design/Combinations.h"
#include "app/design/Design.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace {

// Values are built from a handful of divisions and square roots and sums of at most
// twelve products of such values, so they agree with the hand-worked references to a few
// units in the last place; 1e-14 leaves room for that and nothing more.
constexpr double TOLERANCE = 1e-14;
const double R2 = std::sqrt(2.0);
const double R3 = std::sqrt(3.0);
const double R6 = std::sqrt(6.0);

/// The data table as the reader passes it on: one role per column ("between" or a
/// combination label) and the participant rows; column j is named "c" followed by j.
struct Table {
    std::vector<std::string> roles;
    std::vector<std::vector<double>> rows;
    std::vector<int> withinLevels;
};

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
        names.push_back(std::string("c").append(std::to_string(j)));
        if (role == "between")
            between.insert(j);
        else
            labels.push_back(parseCombinationLabel(role));
        for (std::int32_t i = 0; i < n; ++i)
            raw.set(i, j, table.rows[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
    }
    // Like the table reader: as many entries as the first label has, extra entries dropped.
    const auto entries = labels.empty() ? 0 : static_cast<std::int32_t>(labels[0].size());
    GeneralMatrix<int> columnLevels(entries, static_cast<std::int32_t>(labels.size()));
    for (std::size_t c = 0; c < labels.size(); ++c) {
        const auto used = std::min(static_cast<std::int32_t>(labels[c].size()), entries);
        for (std::int32_t e = 0; e < used; ++e)
            columnLevels.set(e, static_cast<std::int32_t>(c),
                             labels[c][static_cast<std::size_t>(e)]);
    }
    std::vector<std::string> withinNames;
    for (std::size_t v = 0; v < table.withinLevels.size(); ++v)
        withinNames.push_back(std::string("w").append(std::to_string(v)));
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

std::vector<double> columnOf(const RealMatrix& a, std::int32_t j)
{
    std::vector<double> column;
    for (std::int32_t i = 0; i < a.getRows(); ++i)
        column.push_back(a.get(i, j));
    return column;
}

// Two between variables: A in column 0 (codes -4, 0), B in column 2 (codes 5, 6, 9), and
// two within cells in columns 1 and 3 holding 10 + row and 100 + row. Cell (-4, 6) is empty.
Table twoBetweenTable()
{
    return {{"between", "1", "between", "2"},
            {{0, 10, 5, 100}, {-4, 11, 9, 101}, {0, 12, 5, 102}, {-4, 13, 5, 103},
             {-4.5, 14, 9.9, 104}, {0, 15, 9, 105}, {0, 16, 6, 106}},
            {2}};
}

/// Bits offset .. offset + count - 1 of mask as 0/1 flags.
std::vector<int> flagsOf(unsigned mask, std::size_t offset, std::size_t count)
{
    std::vector<int> flags;
    for (std::size_t j = 0; j < count; ++j)
        flags.push_back(static_cast<int>((mask >> (offset + j)) & 1u));
    return flags;
}

/// The rows of C (byRows) or the columns of M are orthonormal, and each sums over the cells
/// to 0 when a variable is contrasted (the Kronecker factor sums to 0), else to sqrt(cells).
void expectOrthonormal(const RealMatrix& a, bool byRows, bool contrasted)
{
    const std::int32_t n = byRows ? a.getRows() : a.getCols();
    const std::int32_t cells = byRows ? a.getCols() : a.getRows();
    auto at = [&](std::int32_t p, std::int32_t s) { return byRows ? a.get(p, s) : a.get(s, p); };
    for (std::int32_t p = 0; p < n; ++p) {
        double sum = 0.0;
        for (std::int32_t s = 0; s < cells; ++s)
            sum += at(p, s);
        EXPECT_NEAR(sum, contrasted ? 0.0 : std::sqrt(static_cast<double>(cells)), TOLERANCE);
        for (std::int32_t q = 0; q < n; ++q) {
            double dot = 0.0;
            for (std::int32_t s = 0; s < cells; ++s)
                dot += at(p, s) * at(q, s);
            EXPECT_NEAR(dot, p == q ? 1.0 : 0.0, TOLERANCE) << "(" << p << ", " << q << ")";
        }
    }
}

} // namespace

// A rebuild replaces every group and matrix of the previous design; without a "between"
// column one dummy group holds everyone. Reference: the three-level contrasts worked by
// hand from m = 2 and m = 1, as the columns of M.
TEST(DesignGroups, WithoutBetweenColumnOneDummyGroupHoldsEveryone)
{
    Design design;
    ASSERT_TRUE(buildFrom(design, twoBetweenTable()));
    ASSERT_TRUE(buildFrom(design, {{"3", "1", "2"}, {{3, 1, 2}, {6, 4, 5}, {9, 7, 8}}, {3}}));
    EXPECT_EQ(design.getBetweenCount(), 1);
    ASSERT_EQ(design.getGroups().size(), 1u);
    EXPECT_EQ(design.getGroups()[0]->getName(), "Dummy");
    EXPECT_EQ(design.getGroups()[0]->getColumn(), -1);
    EXPECT_EQ(design.getBetweenLevels(), (std::vector<int>{1}));
    EXPECT_EQ(design.getGroupStart(), (std::vector<int>{0}));
    expectMatrix(design.getX(), {{1}, {1}, {1}});
    expectMatrix(design.getY(), {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});

    design.setEffect({}, {1});
    EXPECT_EQ(design.getEffectBetween(), (std::vector<int>{1}));
    expectMatrix(design.getC(), {{1}});
    expectMatrix(design.getM(), {{-2 / R6, 0}, {1 / R6, -1 / R2}, {1 / R6, 1 / R2}});
    design.setEffect({}, {0});
    expectMatrix(design.getM(), {{1 / R3}, {1 / R3}, {1 / R3}});
}

// Reference: hand-sorted twoBetweenTable. Combinations in order (A, B) = (-4, 5), (-4, 6),
// (-4, 9), (0, 5), (0, 6), (0, 9) hold rows 3 | none | 1, 4 | 0, 2 | 6 | 5.
TEST(DesignGroups, TwoBetweenColumnsRegroupStablyAndLeaveEmptyCellsAtMinusOne)
{
    Design design;
    ASSERT_TRUE(buildFrom(design, twoBetweenTable()));
    EXPECT_EQ(design.getBetweenCount(), 2);
    EXPECT_EQ(design.getWithinCount(), 1);
    ASSERT_EQ(design.getGroups().size(), 2u);
    EXPECT_EQ(design.getGroups()[1]->getName(), "c2");
    EXPECT_EQ(design.getBetweenLevels(), (std::vector<int>{2, 3}));
    EXPECT_EQ(design.getBetweenCombinations().getRows(), 6);
    EXPECT_EQ(design.getGroupStart(), (std::vector<int>{0, -1, 1, 3, 5, 6}));
    EXPECT_EQ(columnOf(design.getSortedData(), 0),
              (std::vector<double>{-4, -4, -4.5, 0, 0, 0, 0}));
    expectMatrix(design.getWithinData(), {{13, 103}, {11, 101}, {14, 104}, {10, 100},
                                          {12, 102}, {16, 106}, {15, 105}});
    expectMatrix(design.getX(), {{1, 0, 0, 0, 0, 0},
                                 {0, 0, 1, 0, 0, 0},
                                 {0, 0, 1, 0, 0, 0},
                                 {0, 0, 0, 1, 0, 0},
                                 {0, 0, 0, 1, 0, 0},
                                 {0, 0, 0, 0, 1, 0},
                                 {0, 0, 0, 0, 0, 1}});
}

// Table order 2 1, 1 1, between, 2 2, 1 2 must give Y in the order 1 1, 1 2, 2 1, 2 2.
TEST(DesignWithinData, YColumnsFollowTheCombinationsNotTheTable)
{
    Design design;
    ASSERT_TRUE(buildFrom(design, {{"2, 1", "1, 1", "between", "2, 2", "1, 2"},
                                   {{21, 11, 1, 22, 12}, {-21, -11, 1, -22, -12}},
                                   {2, 2}}));
    const GeneralMatrix<int>& cells = design.getWithinCombinations();
    ASSERT_EQ(cells.getRows(), 2);
    ASSERT_EQ(cells.getCols(), 4);
    const std::vector<std::string> labels = {"1, 1", "1, 2", "2, 1", "2, 2"};
    for (std::int32_t c = 0; c < 4; ++c)
        EXPECT_EQ(combinationLabel({cells.get(0, c), cells.get(1, c)}),
                  labels[static_cast<std::size_t>(c)]);
    expectMatrix(design.getWithinData(), {{21, 11, 22, 12}, {-21, -11, -22, -12}});
    expectMatrix(design.getY(), {{11, 12, 21, 22}, {-11, -12, -21, -22}});
}

// Reference: Kronecker products worked by hand. The first variable is the left factor, so
// for levels (2, 3) its contrast is constant over the three cells of each of its levels.
TEST(DesignEffect, FirstVariableIsTheSlowestInCAndM)
{
    Design design;
    ASSERT_TRUE(buildFrom(design, {{"1, 1", "1, 2", "1, 3", "2, 1", "2, 2", "2, 3"},
                                   {{1, 2, 3, 4, 5, 6}}, {2, 3}}));
    design.setEffect({}, {1, 0});
    const double a = 1 / (R2 * R3);
    expectMatrix(design.getM(), {{-a}, {-a}, {-a}, {a}, {a}, {a}});

    ASSERT_TRUE(buildFrom(design, twoBetweenTable()));
    design.setEffect({1, 1}, {0});
    const double b = 1 / (R2 * R6);
    const double c = 0.5;
    expectMatrix(design.getC(), {{2 * b, -b, -b, -2 * b, b, b}, {0, c, -c, 0, -c, c}});
}

// Designs with 0, 1 and 2 between variables and 1 to 3 within variables (up to five
// levels), every effect: C is q x G and M is P x t with q, t the products of (L - 1) over
// the flagged variables, and both are orthonormal. For two cells that fixes C or M up to
// the contrast's sign, on which no statistic depends; larger Kronecker products are
// pinned by the hand-worked references.
TEST(DesignEffect, EveryEffectIsOrthonormalWithTheProductShapes)
{
    const std::vector<Table> tables = {
        {{"1", "2", "3", "4", "5"}, {{1, 2, 3, 4, 5}, {4, 5, 7, 1, 0}}, {5}},
        {{"between", "1, 1", "1, 2", "2, 1", "2, 2"},
         {{3, 1, 2, 3, 4}, {1, 2, 2, 2, 2}, {2, 0, 1, 0, 1}, {3, 5, 5, 6, 6}}, {2, 2}},
        {{"between", "between", "1, 1, 1", "1, 2, 1", "1, 1, 2", "1, 2, 2", "1, 3, 1",
          "1, 3, 2", "2, 1, 1", "2, 1, 2", "2, 2, 1", "2, 2, 2", "2, 3, 1", "2, 3, 2"},
         {{1, 7, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
          {2, 8, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5},
          {1, 9, 3, 1, 4, 1, 5, 9, 2, 6, 5, 3, 5, 8}},
         {2, 3, 2}}};
    for (const Table& table : tables) {
        Design design;
        ASSERT_TRUE(buildFrom(design, table));
        // Without a "between" column there are no between flags: the dummy is no effect.
        const auto b = static_cast<std::size_t>(
            std::count(table.roles.begin(), table.roles.end(), "between"));
        const std::size_t w = design.getWithinLevels().size();
        for (unsigned mask = 1; mask < (1u << (b + w)); ++mask) {
            SCOPED_TRACE("between " + std::to_string(b) + ", within " + std::to_string(w) +
                         ", effect " + std::to_string(mask));
            const std::vector<int> betweenFlags = flagsOf(mask, 0, b);
            const std::vector<int> withinFlags = flagsOf(mask, b, w);
            design.setEffect(betweenFlags, withinFlags);
            const RealMatrix& c = design.getC();
            const RealMatrix& m = design.getM();
            // Product over the variables of (L - 1) when flagged, else 1.
            auto contrasts = [](const std::vector<int>& levels, const std::vector<int>& flags) {
                std::int32_t count = 1;
                for (std::size_t j = 0; j < flags.size(); ++j)
                    count *= flags[j] == 1 ? levels[j] - 1 : 1;
                return count;
            };
            ASSERT_EQ(c.getRows(), contrasts(design.getBetweenLevels(), betweenFlags));
            ASSERT_EQ(c.getCols(), design.getX().getCols());
            ASSERT_EQ(m.getRows(), design.getY().getCols());
            ASSERT_EQ(m.getCols(), contrasts(design.getWithinLevels(), withinFlags));
            expectOrthonormal(c, true, std::count(betweenFlags.begin(), betweenFlags.end(), 1) > 0);
            expectOrthonormal(m, false, std::count(withinFlags.begin(), withinFlags.end(), 1) > 0);
        }
    }
}

// Each engine thread works on its own copy; a matrix on another workspace would share
// LAPACK scratch space between threads.
TEST(DesignBuild, EveryMatrixUsesTheDesignsOwnWorkspace)
{
    Design design;
    ASSERT_TRUE(buildFrom(design, twoBetweenTable()));
    design.setEffect({1, 0}, {1});
    const LapackWorkspace* own = design.getWorkspace();
    ASSERT_NE(own, nullptr);
    for (const RealMatrix* m : {&design.getX(), static_cast<const RealMatrix*>(&design.getY()),
                                &design.getC(), &design.getM(), &design.getSortedData(),
                                &design.getWithinData()})
        EXPECT_EQ(m->workspace(), own);
}

// Labels the table checks let through must not reach Y: each is rejected and the design
// keeps the previous build.
TEST(DesignBuild, RejectsLabelsThatDoNotNameEachCombinationOnceAndKeepsThePreviousDesign)
{
    Design design;
    ASSERT_TRUE(buildFrom(design, twoBetweenTable()));
    const std::vector<Table> rejected = {
        {{"1", "1"}, {{1, 2}}, {2}},               // one combination twice
        {{"1", "3"}, {{1, 2}}, {2}},               // level beyond the variable's levels
        {{"1, 1", "2, 1"}, {{1, 2}}, {2}},         // more entries than within variables
        {{"1", "0"}, {{1, 2}}, {2}},               // level 0
        {{"1", "2"}, {{1, 2}}, {2, 2}},            // too few columns for four cells
        {{"1", "2"}, {{1, 2}}, {0}},               // a variable without levels
        {{"between", "1", "2"}, {}, {2}},          // no participant
        {{"1", "2"}, {{1, 2}}, {65536, 65536}}};   // a count that wraps to 0 in 32 bits
    for (const Table& table : rejected) {
        EXPECT_FALSE(buildFrom(design, table)) << table.roles[0] << " | " << table.roles[1];
        EXPECT_EQ(design.getBetweenCount(), 2);
        EXPECT_EQ(design.getGroupStart(), (std::vector<int>{0, -1, 1, 3, 5, 6}));
        EXPECT_EQ(design.getY().getCols(), 2);
        EXPECT_EQ(columnOf(design.getY(), 0), (std::vector<double>{13, 11, 14, 10, 12, 16, 15}));
    }
}
