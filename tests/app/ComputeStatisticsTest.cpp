// "Compute statistics" from the typed tables to the results table.
#include "tests/support/UserSession.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* CANNOT_COMPUTE =
    "Data cannot be computed. Maybe, your sample size is too small.";

} // namespace

TEST(ComputeStatistics, EveryEffectGetsABlockOfSevenRows)
{
    UserSession session;
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    GeneralGridCtrl& results = session.commands.getResultsTable();
    EXPECT_EQ(results.getRowCount(), 7 * 7) << "no fixed rows";
    EXPECT_EQ(session.resultsRow(0), (Texts{"C", "", "value", "F", "df1", "df2", "p",
                                            "noncentr.", "MANOVA exact statistic",
                                            "choose for simulation"}));
    EXPECT_EQ(session.resultsRow(6), Texts(10, ""));
    for (int r = 0; r < 7; ++r) {
        const bool analysis = r >= 1 && r <= 5;
        EXPECT_EQ(results.getCellType(r, 9), analysis ? CellType::TickBox : CellType::Plain) << r;
        EXPECT_FALSE(results.isCellChecked(r, 9)) << r;
    }
}

TEST(ComputeStatistics, KeepsTheBlocksOfTheLastRunWhenACheckFails)
{
    UserSession session;
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    const Texts first = session.resultsRow(8);
    session.typeColumn(3, "1, 2", "", {});
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeErrors(), Texts{"Column 4 is not named correctly!"});
    EXPECT_EQ(session.resultsRow(8), first);
}

TEST(ComputeStatistics, UnreadableCellShowsTheTablesMessageThenTheComputeFailure)
{
    UserSession session(',');
    typeMixedDesign(session);
    UserGridCtrl& data = session.commands.getDataTable();
    UserSession::type(data, data.toGridRow(5), data.toGridColumn(3), "8.2");
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeMessages(),
              (Texts{"In your regional settings ',' is selected as decimal separator.",
                     CANNOT_COMPUTE}));
    EXPECT_EQ(session.commands.getResultsTable().getRowCount(), 0);
}

TEST(ComputeStatistics, GroupCombinationWithoutParticipantsEndsTheCommand)
{
    UserSession session;
    typeMixedDesign(session);
    session.typeColumn(5, "between", "D", {"1", "1", "1", "1", "2", "2", "2", "2"}); // as A
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeErrors(), Texts{CANNOT_COMPUTE});
    EXPECT_EQ(session.commands.getResultsTable().getRowCount(), 0);
}
