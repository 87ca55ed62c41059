#pragma once

#include "design/Design.h"
#include "stats/Anova.h"

#include <cstdint>
#include <string>
#include <vector>

/// Named columns, each "between" or a within combination label such as "1, 2".
struct DataTable {
    std::vector<std::string> withinNames;
    std::vector<int> withinLevels;
    std::vector<std::string> columnNames;
    std::vector<std::string> roles;
    std::vector<std::vector<double>> rows;
};

/// `betweenCount` group columns, then one column per within combination in order.
DataTable tableOf(std::int32_t betweenCount, const std::vector<int>& withinLevels,
                  const std::vector<std::vector<double>>& rows);

/// Rows of group codes then `cells` normal measurements whose mean depends on group and cell.
std::vector<std::vector<double>> normalRows(const std::vector<int>& betweenLevels,
                                            const std::vector<int>& groupSizes, std::int32_t cells,
                                            std::uint32_t seed);

/// Builds the Design as the compute command does; false when it rejects the table.
bool buildDesign(const DataTable& table, Design& design);

/// Sets the effect on the design, hands its matrices to the engine and computes.
bool computeEffect(Design& design, Anova& engine, const std::vector<int>& betweenFlags,
                   const std::vector<int>& withinFlags);

inline std::vector<const TestResult*> manovaRows(const Anova& engine)
{
    return {&engine.getPillaiTest(), &engine.getWilksTest(), &engine.getHotellingTest()};
}

struct Analysis {
    Design design;
    Anova engine{0};
    std::int32_t betweenCount = 0;
    std::int32_t withinCount = 0;

    bool build(const DataTable& table);
    bool run(const DataTable& table, const std::vector<int>& betweenFlags,
             const std::vector<int>& withinFlags);
    /// Computes row e of the effect list (1 .. effectCount() - 1) of the table built last.
    bool runEffect(std::int32_t e);
    std::int32_t effectCount() const { return 1 << (betweenCount + withinCount); }
    const UnivariateTest& univariate() const { return engine.getUnivariateTest(); }
};
