// What the main window owns from its start, and "Reset grids".
#include "UserSession.h"

#include "tests/tables/TableTexts.h"

#include <gtest/gtest.h>

TEST(MainWindowCommands, MakesOneEnginePerThreadNumberedFromZero)
{
    UserSession session('.', 3);
    ASSERT_EQ(session.commands.getEngineCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(session.commands.getEngine(i).getThreadIndex(), i);
}

TEST(MainWindowCommands, ThreadCountBelowOneStillGivesOneEngine)
{
    for (int threads : {0, -4}) {
        UserSession session('.', threads);
        ASSERT_EQ(session.commands.getEngineCount(), 1) << threads;
        EXPECT_EQ(session.commands.getEngine(0).getThreadIndex(), 0);
    }
}

TEST(MainWindowCommands, StartsWithTheTablesOfResetGrids)
{
    UserSession session;
    UserGridCtrl& data = session.commands.getDataTable();
    EXPECT_EQ(data.getDataRowCount(), 32);
    EXPECT_EQ(data.getDataColumnCount(), 17);
    EXPECT_EQ(data.getFixedRowCount(), 1);
    EXPECT_EQ(data.toGridRow(0), 3) << "three header rows";
    EXPECT_EQ(rowNumbers(data), numbersUpTo(32));
    EXPECT_EQ(columnNumbers(data), numbersUpTo(17));
    WithinGridCtrl& within = session.commands.getWithinTable();
    EXPECT_EQ(within.getDataRowCount(), 20);
    EXPECT_EQ(within.getDataColumnCount(), 2);
    EXPECT_EQ(session.commands.getResultsTable().getRowCount(), 0);
    EXPECT_EQ(session.commands.getResultsTable().getColumnCount(), 0);
    EXPECT_EQ(session.commands.getEffectTable().getRows(), 0);
    EXPECT_FALSE(session.commands.isDeleteVariableRowsEnabled());
    EXPECT_TRUE(session.sink.messages.empty());
}

TEST(MainWindowCommands, SimulationParametersStartAtTheirInitialValues)
{
    UserSession session;
    const SimulationParameters& parameters = session.commands.getSimulationParameters();
    EXPECT_EQ(parameters.analysisIndex, 2);
    EXPECT_EQ(parameters.simulateAlpha, 1);
    EXPECT_EQ(parameters.assumeHomogeneity, 0);
    EXPECT_EQ(parameters.replaceOriginalMatrix, 0);
    EXPECT_EQ(parameters.participantsPerGroup, 5);
    EXPECT_EQ(parameters.numberOfPasses, 10000);
    EXPECT_EQ(parameters.criticalAlpha, 0.05000000074505806);
    EXPECT_NE(parameters.criticalAlpha, 0.05) << "the single-precision 0.05, widened";
    EXPECT_EQ(parameters.maxAdditionalInspections, 4);
    EXPECT_EQ(parameters.participantsPerInspection, 10);
    EXPECT_EQ(parameters.useCustomMatrices, 0);
}

TEST(MainWindowCommands, ResetGridsEmptiesTheTablesAndKeepsTheLastRun)
{
    UserSession session;
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    session.tick(2);
    ASSERT_TRUE(session.commands.setUpSimulation());
    session.commands.insertVariableRow();

    session.commands.resetGrids();
    UserGridCtrl& data = session.commands.getDataTable();
    EXPECT_EQ(data.getDataRowCount(), 32);
    EXPECT_EQ(data.getDataColumnCount(), 17);
    for (int c = 0; c < 17; ++c) {
        EXPECT_EQ(data.getText(-2, c), "") << c;
        EXPECT_EQ(data.getText(-1, c), "") << c;
        EXPECT_EQ(data.getText(0, c), "") << c;
        EXPECT_TRUE(data.getCellOptions(UserGridCtrl::comboRow, data.toGridColumn(c)).empty()) << c;
    }
    WithinGridCtrl& within = session.commands.getWithinTable();
    EXPECT_EQ(within.getDataRowCount(), 20);
    EXPECT_EQ(within.getText(0, 0), "");
    EXPECT_EQ(session.commands.getResultsTable().getRowCount(), 0);
    EXPECT_EQ(session.commands.getResultsTable().getColumnCount(), 0);
    EXPECT_EQ(session.commands.getEffectTable().getRows(), 8) << "the effect table stays";
    EXPECT_EQ(session.commands.getSimulationParameters().analysisIndex, 1) << "parameters stay";
}

TEST(MainWindowCommands, CombinationCellsStillOfferTheCombinationsAfterAReset)
{
    UserSession session;
    session.commands.resetGrids();
    session.typeWithinVariable(0, "time", "2");
    UserGridCtrl& data = session.commands.getDataTable();
    data.beginEdit(UserGridCtrl::comboRow, data.toGridColumn(0));
    EXPECT_EQ(data.getCellOptions(UserGridCtrl::comboRow, data.toGridColumn(0)),
              (Texts{"between", "1", "2"}));
}
