#include "app/DesignReading.h"

#include "numeric/GeneralMatrix.h"

#include <set>

DesignVariables readDesignVariables(const UserGridCtrl& dataTable, WithinGridCtrl& withinTable)
{
    DesignVariables variables;
    for (int c = 0; c < dataTable.getDataColumnCount(); ++c) {
        if (dataTable.isColumnEmpty(c))
            continue;
        if (dataTable.getText(-2, c) == UserGridCtrl::BETWEEN)
            variables.betweenNames.push_back(dataTable.getText(-1, c));
    }
    withinTable.getNames(variables.withinNames);
    return variables;
}

bool buildDesignFromTables(UserGridCtrl& dataTable, WithinGridCtrl& withinTable, Design& design)
{
    // readNumbers removes the empty rows and columns before it reads, so the names, roles
    // and labels below belong to the columns of the numbers.
    if (!dataTable.readNumbers())
        return false;
    std::vector<std::string> columnNames;
    dataTable.getNames(columnNames);
    const std::set<int> betweenColumns = dataTable.getBetweenColumns();
    GeneralMatrix<int> columnLevels;
    dataTable.getColumnLevels(columnLevels);
    std::vector<std::string> withinNames;
    withinTable.getNames(withinNames);
    std::vector<int> withinLevels;
    withinTable.getLevels(withinLevels);
    return design.build(dataTable.getValueMatrix(), columnNames, betweenColumns, withinNames,
                        withinLevels, columnLevels);
}
