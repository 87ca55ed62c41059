#include "app/DesignValidation.h"

#include "app/CombinationLabel.h"
#include "design/Combinations.h"
#include "numeric/GeneralMatrix.h"
#include "numeric/NumberText.h"

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr const char* EMPTY_TABLE =
    "Data grid is empty. Please enter or import the participants' data.";

/// Above every count of table columns, so that a saturated product never matches one.
constexpr long long COUNT_CEILING = INT32_MAX + 1LL;

/// One data column that holds data, as the column assignment sees it.
struct AssignedColumn {
    /// The 1-based number shown in the column-number row.
    int number = 0;
    std::string role;
    std::string name;
    /// The within combination the role denotes; none for "between" and for other texts.
    std::optional<std::vector<int>> combination;
};

bool isBetween(const AssignedColumn& column)
{
    return column.role == UserGridCtrl::BETWEEN;
}

/// Empty columns are left out: they are removed when the design is read, whatever their
/// header cells hold.
std::vector<AssignedColumn> columnsWithData(const UserGridCtrl& table,
                                            const std::vector<int>& withinLevels)
{
    std::vector<AssignedColumn> columns;
    for (int c = 0; c < table.getDataColumnCount(); ++c) {
        if (table.isColumnEmpty(c))
            continue;
        AssignedColumn column;
        column.number = c + 1;
        column.role = table.getText(-2, c);
        column.name = table.getText(-1, c);
        if (!isBetween(column))
            column.combination = denotedCombination(column.role, withinLevels);
        columns.push_back(std::move(column));
    }
    return columns;
}

/// The product of the levels, saturated at COUNT_CEILING; 0 when a variable has no level.
long long combinationCount(const std::vector<int>& levels)
{
    long long count = 1;
    for (int level : levels) {
        if (level < 1)
            return 0;
        count *= level;
        if (count > COUNT_CEILING)
            return COUNT_CEILING;
    }
    return count;
}

std::string columnMessage(const char* before, int number, const char* after)
{
    return before + std::to_string(number) + after;
}

std::optional<std::string> missingEntry(const std::vector<AssignedColumn>& columns)
{
    for (const AssignedColumn& column : columns) {
        if (column.role.empty())
            return columnMessage("No entry chosen for column ", column.number, "!");
    }
    return std::nullopt;
}

std::optional<std::string> unknownCombination(const std::vector<AssignedColumn>& columns)
{
    for (const AssignedColumn& column : columns) {
        if (isBetween(column))
            continue;
        if (!column.combination) {
            return columnMessage("Column ", column.number,
                                 " is not assigned to a valid combination of measurement "
                                 "variables!");
        }
    }
    return std::nullopt;
}

/// Compares the combinations denoted, so that "1,2" and "1, 2" are found to be the same.
std::optional<std::string> sharedCombination(const std::vector<AssignedColumn>& columns)
{
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (isBetween(columns[i]))
            continue;
        for (std::size_t j = i + 1; j < columns.size(); ++j) {
            if (isBetween(columns[j]))
                continue;
            if (columns[i].combination != columns[j].combination)
                continue;
            return "Columns " + std::to_string(columns[i].number) + " and " +
                   std::to_string(columns[j].number) +
                   " are assigned to the same combination of measurement variables!";
        }
    }
    return std::nullopt;
}

std::optional<std::string> unassignedCombination(const std::vector<AssignedColumn>& columns,
                                                 const std::vector<int>& withinLevels)
{
    long long betweenCount = 0;
    for (const AssignedColumn& column : columns)
        betweenCount += isBetween(column) ? 1 : 0;
    const auto columnCount = static_cast<long long>(columns.size());
    if (columnCount != combinationCount(withinLevels) + betweenCount)
        return "Not every level (combination) of measurement variables has been assigned a column!";
    return std::nullopt;
}

std::optional<std::string> missingName(const std::vector<AssignedColumn>& columns)
{
    for (const AssignedColumn& column : columns) {
        if (column.name.empty())
            return columnMessage("Column ", column.number, " is not named correctly!");
    }
    return std::nullopt;
}

std::optional<std::string> sharedWithinName(const std::vector<std::string>& names)
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        for (std::size_t j = i + 1; j < names.size(); ++j) {
            if (names[i] != names[j])
                continue;
            return "The within variables in rows " + std::to_string(i + 1) + " and " +
                   std::to_string(j + 1) + " are both named \"" + names[i] +
                   "\"! Every variable needs a name of its own.";
        }
    }
    return std::nullopt;
}

/// Effects are named after their variables, so two variables of one name would make
/// effects that cannot be told apart ("g", "g" and "g x g").
std::optional<std::string> sharedVariableName(const std::vector<AssignedColumn>& columns,
                                              const std::vector<std::string>& withinNames)
{
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (!isBetween(columns[i]))
            continue;
        const std::string& name = columns[i].name;
        for (std::size_t j = i + 1; j < columns.size(); ++j) {
            if (!isBetween(columns[j]))
                continue;
            if (columns[j].name != name)
                continue;
            return "Columns " + std::to_string(columns[i].number) + " and " +
                   std::to_string(columns[j].number) + " are both group variables named \"" + name +
                   "\"! Every variable needs a name of its own.";
        }
        for (const std::string& withinName : withinNames) {
            if (withinName != name)
                continue;
            return columnMessage("Column ", columns[i].number, " is a group variable named \"") +
                   name + "\" like a within variable! Every variable needs a name of its own.";
        }
    }
    return std::nullopt;
}

/// Whether a value is a group code: participants are grouped by equal int codes, so a
/// fraction or a value beyond the int range would have to be cut to one, and different
/// values would fall into one group.
bool isGroupCode(double value)
{
    if (!(value >= static_cast<double>(INT_MIN) && value <= static_cast<double>(INT_MAX)))
        return false;
    return std::trunc(value) == value;
}

std::optional<std::string> invalidGroupCode(const UserGridCtrl& table,
                                            const std::vector<AssignedColumn>& columns)
{
    for (const AssignedColumn& column : columns) {
        if (!isBetween(column))
            continue;
        for (int r = 0; r < table.getDataRowCount(); ++r) {
            const std::string& text = table.getText(r, column.number - 1);
            if (isGroupCode(parseNumber(text, table.getDecimalSeparator())))
                continue;
            return "Row " + std::to_string(r + 1) + " of column " + std::to_string(column.number) +
                   " holds \"" + text +
                   "\", which is no group code! A group variable takes whole numbers from " +
                   std::to_string(INT_MIN) + " to " + std::to_string(INT_MAX) + ".";
        }
    }
    return std::nullopt;
}

/// "between", then the label of every within combination in levelCombinations order.
std::vector<std::string> offeredRoles(const GeneralMatrix<int>& combinations)
{
    std::vector<std::string> roles{UserGridCtrl::BETWEEN};
    std::vector<int> levels(static_cast<std::size_t>(combinations.getCols()));
    for (std::int32_t i = 0; i < combinations.getRows(); ++i) {
        for (std::int32_t j = 0; j < combinations.getCols(); ++j)
            levels[static_cast<std::size_t>(j)] = combinations.get(i, j);
        roles.push_back(combinationLabel(levels));
    }
    return roles;
}

} // namespace

DesignValidation::DesignValidation(UserGridCtrl& data, WithinGridCtrl& within,
                                   MessageSink& messageSink)
    : dataTable(data), withinTable(within), messages(messageSink)
{
}

bool DesignValidation::checkWithinVariables()
{
    withinTable.removeEmptyRows();
    if (withinTable.getDataRowCount() == 0) {
        withinTable.setupTable();
        return refuse("Please specify at least one measurment variable and assign columns to it.");
    }
    for (int r = 0; r < withinTable.getDataRowCount(); ++r) {
        if (withinTable.getText(r, 0).empty() || withinTable.getText(r, 1).empty()) {
            return refuseWithinVariables(
                "For defining within-variables please fill out both columns of each row .");
        }
    }
    std::vector<std::string> names;
    withinTable.getNames(names);
    if (const std::optional<std::string> problem = sharedWithinName(names))
        return refuseWithinVariables(*problem);
    std::vector<int> levels;
    withinTable.getLevels(levels);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (levels[i] < 1) {
            return refuseWithinVariables(
                "Please specify a number of levels of at least 1 for the within-variable in row " +
                std::to_string(i + 1) + "!");
        }
    }
    if (combinationCount(levels) > MAX_COMBINATIONS) {
        return refuseWithinVariables("Please specify at most " + std::to_string(MAX_COMBINATIONS) +
                                     " combinations of levels of the measurement variables!");
    }
    withinTable.buildCombinations();
    dataTable.setComboOptions(offeredRoles(withinTable.getCombinations()));
    return true;
}

bool DesignValidation::checkColumnAssignment()
{
    std::vector<int> withinLevels;
    withinTable.getLevels(withinLevels);
    const std::vector<AssignedColumn> columns = columnsWithData(dataTable, withinLevels);
    // Without a participant's value every column is empty and would be "unassigned".
    if (columns.empty())
        return refuse(EMPTY_TABLE);
    std::optional<std::string> problem = missingEntry(columns);
    if (!problem)
        problem = unknownCombination(columns);
    if (!problem)
        problem = sharedCombination(columns);
    if (!problem)
        problem = unassignedCombination(columns, withinLevels);
    if (!problem)
        problem = missingName(columns);
    if (!problem) {
        std::vector<std::string> withinNames;
        withinTable.getNames(withinNames);
        problem = sharedVariableName(columns, withinNames);
    }
    if (!problem)
        problem = invalidGroupCode(dataTable, columns);
    if (problem)
        return refuse(*problem);
    return true;
}

bool DesignValidation::refuseWithinVariables(const std::string& text)
{
    dataTable.setComboOptions({});
    return refuse(text);
}

bool DesignValidation::refuse(const std::string& text)
{
    messages.showMessage("Error", text, MessageIcon::Error);
    return false;
}
