// The cells' participants, means and SDs after "Compute statistics", worked by hand: groups
// by their level numbers, within combinations in the order of their labels whatever the
// order of the data columns.
#include "tests/support/UserSession.h"

#include "app/CellStatistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

TEST(CellStatistics, InTheOrderOfGroupsAndLabelsWithTheSdOfNMinusOne)
{
    UserSession session;
    typeMixedDesign(session); // columns 1, 1; 2, 2; 1, 2; 2, 1
    EXPECT_TRUE(session.commands.getCellStatistics().empty());
    ASSERT_TRUE(session.commands.computeStatistics());
    const std::vector<CellStatistics>& cells = session.commands.getCellStatistics();
    ASSERT_EQ(cells.size(), 8u);
    const char* labels[] = {"1, 1", "1, 2", "2, 1", "2, 2"};
    for (std::size_t i = 0; i < cells.size(); ++i) {
        EXPECT_EQ(cells[i].group, std::vector<int>{static_cast<int>(i / 4) + 1}) << i;
        EXPECT_EQ(cells[i].combination, labels[i % 4]) << i;
        EXPECT_EQ(cells[i].n, 4) << i;
    }
    // Group 1, b1c1: 5.1, 4.8, 6.2, 5.5; deviations -0.3, -0.6, 0.8, 0.1.
    EXPECT_NEAR(cells[0].mean, 5.4, 1e-14);
    EXPECT_NEAR(cells[0].sd, std::sqrt(1.10 / 3.0), 1e-14);
    // Group 2, b2c2: 12.1, 10.5, 11.7, 11.0; deviations 0.775, -0.825, 0.375, -0.325.
    EXPECT_NEAR(cells[7].mean, 11.325, 1e-14);
    EXPECT_NEAR(cells[7].sd, std::sqrt(1.5275 / 3.0), 1e-14);
    const std::string text = formatCellStatisticsText(cells, DecimalSeparator(','));
    EXPECT_EQ(text.substr(0, text.find('\n', text.find('\n') + 1)),
              "group  within  n     mean      SD\n"
              "1      1, 1    4   5,4000  0,6055");
}

TEST(CellStatistics, AGroupOfOneHasNoSdAndNoGroupColumnWithoutGroups)
{
    UserSession session;
    session.typeWithinVariable(0, "w", "2");
    session.typeColumn(0, "between", "g", {"1", "1", "2"});
    session.typeColumn(1, "1", "a", {"1", "3", "4"});
    session.typeColumn(2, "2", "b", {"2", "5", "4"});
    ASSERT_TRUE(session.commands.computeStatistics());
    const std::vector<CellStatistics>& cells = session.commands.getCellStatistics();
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[3].n, 1);
    EXPECT_EQ(cells[3].mean, 4.0);
    EXPECT_TRUE(std::isnan(cells[3].sd));
    EXPECT_NE(formatCellStatisticsText(cells, DecimalSeparator('.'))
                  .find("\n2      2       1  4.0000       -\n"),
              std::string::npos);
    std::vector<CellStatistics> ungrouped = cells;
    for (CellStatistics& cell : ungrouped)
        cell.group.clear();
    EXPECT_EQ(formatCellStatisticsText(ungrouped, DecimalSeparator('.')).substr(0, 25),
              "within  n    mean      SD");
}
