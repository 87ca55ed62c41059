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

bool buildDesignFromTables(UserGridCtrl& dataTable, WithinGridCtrl& withinTable,
                           const std::vector<int>& leftOut, Design& design)
{
    RealMatrix values(dataTable.getValueMatrix().getWorkspace());
    values.copyFrom(dataTable.getValueMatrix());
    for (auto r = leftOut.rbegin(); r != leftOut.rend(); ++r)
        values.deleteRow(*r);
    std::vector<std::string> columnNames;
    dataTable.getNames(columnNames);
    const std::set<int> betweenColumns = dataTable.getBetweenColumns();
    GeneralMatrix<int> columnLevels;
    dataTable.getColumnLevels(columnLevels);
    std::vector<std::string> withinNames;
    withinTable.getNames(withinNames);
    std::vector<int> withinLevels;
    withinTable.getLevels(withinLevels);
    return design.build(values, columnNames, betweenColumns, withinNames, withinLevels,
                        columnLevels);
}
