#pragma once

#include "app/design/Design.h"
#include "stats/Anova.h"

#include <cstdint>
#include <string>
#include <vector>

/// A data table as the compute command hands it to the Design: named columns, each with a
/// role ("between" or a combination label such as "1, 2"), one row per participant.
struct DataTable {
    std::vector<std::string> withinNames;
    std::vector<int> withinLevels;
    std::vector<std::string> columnNames;
    std::vector<std::string> roles;
    std::vector<std::vector<double>> rows;
};

/// A table with `betweenCount` "between" columns first, then one column per within
/// combination in levelCombinations order. Each row holds the group codes, then the P
/// measurements.
DataTable tableOf(std::int32_t betweenCount, const std::vector<int>& withinLevels,
                  const std::vector<std::vector<double>>& rows);

/// Rows for groups of the given sizes: group codes by counting through the combinations
/// of `betweenLevels` (last variable fastest), then P standard normal deviates plus a mean
/// that depends on the group and the cell, so that every effect has some size. Fixed seed.
std::vector<std::vector<double>> normalRows(const std::vector<int>& betweenLevels,
                                            const std::vector<int>& groupSizes,
                                            std::int32_t cells, std::uint32_t seed);

/// Builds the Design from the table as the compute command does; false when it rejects it.
bool buildDesign(const DataTable& table, Design& design);

/// Design::setEffect with the flags, then setDesign, setEffect and compute on the engine.
bool computeEffect(Design& design, Anova& engine, const std::vector<int>& betweenFlags,
                   const std::vector<int>& withinFlags);

/// Gives the engine the design's data and current effect, as the compute command does.
void loadIntoEngine(const Design& design, Anova& engine);

/// The number of between variables of a table (its "between" columns).
std::int32_t betweenVariableCount(const DataTable& table);

/// The between and within flags of effect row e of effectList(b + w).
void effectFlags(std::int32_t e, std::int32_t betweenCount, std::int32_t withinCount,
                 std::vector<int>& betweenFlags, std::vector<int>& withinFlags);

/// |actual - expected| / |expected|, or |actual| when expected is 0.
double relativeDifference(double actual, double expected);
