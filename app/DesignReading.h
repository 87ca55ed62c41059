#pragma once

#include "data/UserGridCtrl.h"
#include "data/WithinGridCtrl.h"
#include "design/Design.h"

#include <string>
#include <vector>

/// The variables of the design the two tables describe, in the order of the effect table:
/// the "between" columns that hold data (ascending), then the within variables. A "between"
/// column without data is no variable, as it is no column of the Design either.
struct DesignVariables {
    std::vector<std::string> betweenNames;
    std::vector<std::string> withinNames;

    int betweenCount() const { return static_cast<int>(betweenNames.size()); }
    int count() const { return static_cast<int>(betweenNames.size() + withinNames.size()); }
};

/// Reads the names of the variables; removes the empty rows of the within-variables table.
DesignVariables readDesignVariables(const UserGridCtrl& dataTable, WithinGridCtrl& withinTable);

/// Builds the design from the numbers the data table read last (readNumbers, which removed
/// its empty rows and columns first), without the participant rows in leftOut (ascending,
/// those with an empty cell), together with the table's names and column roles and the
/// within variables. False when Design::build refuses the tables, which the two checks of
/// DesignValidation rule out unless no participant is left; the design then keeps its
/// previous content.
bool buildDesignFromTables(UserGridCtrl& dataTable, WithinGridCtrl& withinTable,
                           const std::vector<int>& leftOut, Design& design);
