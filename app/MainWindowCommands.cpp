// Construction, design reading and the table editing commands of the main window.
#include "app/MainWindowCommands.h"

#include "app/DesignReading.h"
#include "app/EditingCommands.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <string>

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
    // readNumbers removes the empty rows and columns before it reads, so the names, roles
    // and labels that build the design belong to the columns of the numbers.
    if (!dataTable.readNumbers())
        return false;
    const std::vector<int> incomplete = dataTable.findIncompleteRows();
    if (!incomplete.empty() && !leaveOutIncomplete(incomplete.size())) {
        const RealMatrix& values = dataTable.getValueMatrix();
        const int r = incomplete.front();
        int c = 0;
        while (!std::isnan(values.get(r, c)))
            ++c;
        dataTable.refuseCell(r, c);
        return false;
    }
    leftOutRows = incomplete;
    return buildDesignFromTables(dataTable, withinTable, leftOutRows, design);
}

void MainWindowCommands::beginReading()
{
    leaveOutAnswer.reset();
    leftOutRows.clear();
}

bool MainWindowCommands::leaveOutIncomplete(std::size_t count)
{
    if (incompleteRule == IncompleteParticipants::LeaveOut)
        return true;
    if (!leaveOutAnswer) {
        const std::string question =
            count == 1 ? "1 participant has empty cells. Leave this participant out this time? "
                         "The data table keeps the row."
                       : std::to_string(count) +
                             " participants have empty cells. Leave them out this time? The "
                             "data table keeps their rows.";
        leaveOutAnswer = messages.askYesNo("Empty cells", question);
    }
    return *leaveOutAnswer;
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
