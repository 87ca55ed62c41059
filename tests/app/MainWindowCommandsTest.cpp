// What the main window owns from its start, and "Reset grids".
#include "UserSession.h"

#include "tests/tables/TableTexts.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

/// The tables as the window starts them and as "Reset grids" leaves them.
void expectFreshTables(UserSession& session)
{
    UserGridCtrl& data = session.commands.getDataTable();
    EXPECT_EQ(data.getFixedRowCount(), 1);
    EXPECT_EQ(data.toGridRow(0), 3) << "three header rows";
    EXPECT_EQ(rowNumbers(data), numbersUpTo(32));
    EXPECT_EQ(columnNumbers(data), numbersUpTo(17));
    for (int r = -2; r <= 0; ++r)
        EXPECT_EQ(rowTexts(data, r), Texts(17, "")) << "row " << r;
    for (int c = 0; c < 17; ++c)
        EXPECT_TRUE(data.getCellOptions(UserGridCtrl::comboRow, data.toGridColumn(c)).empty());
    WithinGridCtrl& within = session.commands.getWithinTable();
    EXPECT_EQ(within.getDataRowCount(), 20);
    EXPECT_EQ(within.getDataColumnCount(), 2);
    EXPECT_EQ(within.getText(0, 0), "");
    EXPECT_EQ(session.commands.getResultsTable().getRowCount(), 0);
    EXPECT_EQ(session.commands.getResultsTable().getColumnCount(), 0);
}

} // namespace

TEST(MainWindowCommands, MakesOneEnginePerThreadAndAtLeastOne)
{
    const std::pair<int, int> cases[] = {{3, 3}, {1, 1}, {0, 1}, {-4, 1}}; // threads, engines
    for (const auto& [threads, engines] : cases) {
        UserSession session('.', threads);
        ASSERT_EQ(session.commands.getEngineCount(), engines) << threads;
        for (int i = 0; i < engines; ++i)
            EXPECT_EQ(session.commands.getEngine(i).getThreadIndex(), i) << threads;
    }
}

TEST(MainWindowCommands, ResetGridsRestoresTheStartingTablesAndKeepsTheLastRun)
{
    UserSession session;
    expectFreshTables(session);
    EXPECT_EQ(session.commands.getEffectTable().getRows(), 0);
    EXPECT_FALSE(session.commands.isDeleteVariableRowsEnabled());
    EXPECT_TRUE(session.sink.messages.empty());

    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    session.tick(2);
    ASSERT_TRUE(session.commands.setUpSimulation());
    session.commands.insertVariableRow();
    session.commands.resetGrids();
    expectFreshTables(session);
    EXPECT_EQ(session.commands.getEffectTable().getRows(), 8) << "the effect table stays";
    EXPECT_EQ(session.commands.getSimulationParameters().analysisIndex, 1) << "parameters stay";

    // The combination cells still run the check that fills their lists.
    session.typeWithinVariable(0, "time", "2");
    UserGridCtrl& data = session.commands.getDataTable();
    data.beginEdit(UserGridCtrl::comboRow, data.toGridColumn(0));
    EXPECT_EQ(data.getCellOptions(UserGridCtrl::comboRow, data.toGridColumn(0)),
              (Texts{"between", "1", "2"}));
}
