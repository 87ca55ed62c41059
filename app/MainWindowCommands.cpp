// Construction, design reading and the table editing commands of the main window.
#include "app/MainWindowCommands.h"

#include "app/DesignReading.h"
#include "app/EditingCommands.h"

#include <algorithm>
#include <cassert>
#include <cstddef>

MainWindowCommands::MainWindowCommands(MessageSink& messageSink, DecimalSeparator separator,
                                       int threadCount)
    : messages(messageSink), dataTable(messageSink, separator), withinTable(separator),
      resultsTable(separator), validation(dataTable, withinTable, messageSink)
{
    resetGrids();
    // The drop-down lists of the combination row follow the within variables as they are
    // when the user starts to edit a combination cell.
    dataTable.setWithinVariablesCheck([this] { checkWithinVariables(); });
    // Without an engine neither the compute command nor a simulation could run, so a
    // thread count below 1 still gives one.
    const int engineCount = std::max(threadCount, 1);
    for (int i = 0; i < engineCount; ++i)
        engines.push_back(std::make_unique<Anova>(i));
}

bool MainWindowCommands::readDesign()
{
    return buildDesignFromTables(dataTable, withinTable, design);
}

bool MainWindowCommands::insertRow()
{
    return insertRowAfterSelection(dataTable, messages);
}

void MainWindowCommands::deleteRows()
{
    deleteSelectedRows(dataTable);
}

bool MainWindowCommands::insertColumn()
{
    return insertColumnAfterSelection(dataTable, messages);
}

void MainWindowCommands::deleteColumns()
{
    deleteSelectedColumns(dataTable);
}

bool MainWindowCommands::insertVariableRow()
{
    if (!insertRowAfterSelection(withinTable, messages))
        return false;
    updateDeleteVariableRowsButton();
    return true;
}

void MainWindowCommands::deleteVariableRows()
{
    deleteSelectedRows(withinTable);
    updateDeleteVariableRowsButton();
}

void MainWindowCommands::resetGrids()
{
    dataTable.setupTable(INITIAL_PARTICIPANT_ROWS, INITIAL_DATA_COLUMNS);
    withinTable.setupTable();
    resultsTable.removeAllCells();
    resultsTable.repaint();
}

Anova& MainWindowCommands::getEngine(int i)
{
    assert(i >= 0 && i < getEngineCount());
    return *engines[static_cast<std::size_t>(i)];
}

void MainWindowCommands::updateDeleteVariableRowsButton()
{
    deleteVariableRowsEnabled = withinTable.getDataRowCount() >= 2;
}
