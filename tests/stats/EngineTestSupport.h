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

/// `betweenCount` "between" columns, then one column per within combination in
/// levelCombinations order; each row holds the group codes, then the P measurements.
DataTable tableOf(std::int32_t betweenCount, const std::vector<int>& withinLevels,
                  const std::vector<std::vector<double>>& rows);

/// Groups of the given sizes, coded by counting through the combinations of
/// `betweenLevels`; each measurement is a standard normal deviate plus a mean that depends
/// on group and cell, so that every effect has some size. Fixed seed.
std::vector<std::vector<double>> normalRows(const std::vector<int>& betweenLevels,
                                            const std::vector<int>& groupSizes,
                                            std::int32_t cells, std::uint32_t seed);

/// Builds the Design from the table as the compute command does; false when it rejects it.
bool buildDesign(const DataTable& table, Design& design);

/// Design::setEffect with the flags; the engine gets the design's data and effect, as the
/// compute command gives them, and computes.
bool computeEffect(Design& design, Anova& engine, const std::vector<int>& betweenFlags,
                   const std::vector<int>& withinFlags);

/// |actual - expected| / |expected|, or |actual| when expected is 0.
double relativeDifference(double actual, double expected);

/// The three MANOVA results of the engine, in analysis order.
inline std::vector<const TestResult*> manovaRows(const Anova& engine)
{
    return {&engine.getPillaiTest(), &engine.getWilksTest(), &engine.getHotellingTest()};
}

/// One design and one engine, used as the compute command uses them.
struct Analysis {
    Design design;
    Anova engine{0};
    std::int32_t betweenCount = 0;
    std::int32_t withinCount = 0;

    /// Builds the design; false when it rejects the table.
    bool build(const DataTable& table);
    /// build, then compute the effect of these flags.
    bool run(const DataTable& table, const std::vector<int>& betweenFlags,
             const std::vector<int>& withinFlags);
    /// Computes effect row e (1 .. effectCount() - 1) of the table built last.
    bool runEffect(std::int32_t e);
    std::int32_t effectCount() const { return 1 << (betweenCount + withinCount); }
    const UnivariateTest& univariate() const { return engine.getUnivariateTest(); }
};
