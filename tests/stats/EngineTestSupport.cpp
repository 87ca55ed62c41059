#include "EngineTestSupport.h"

#include "app/design/Combinations.h"
#include "app/design/EffectList.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <set>

namespace {

// prefix followed by the number; appended rather than concatenated with operator+, which
// trips a false -Wrestrict warning of GCC 12 at -O3.
std::string numbered(const char* prefix, std::size_t number)
{
    std::string name(prefix);
    name.append(std::to_string(number));
    return name;
}

} // namespace

DataTable tableOf(std::int32_t betweenCount, const std::vector<int>& withinLevels,
                  const std::vector<std::vector<double>>& rows)
{
    DataTable table;
    table.withinLevels = withinLevels;
    for (std::size_t v = 0; v < withinLevels.size(); ++v) {
        table.withinNames.push_back(numbered("W", v + 1));
    }
    for (std::int32_t b = 0; b < betweenCount; ++b) {
        table.columnNames.push_back(numbered("G", static_cast<std::size_t>(b) + 1));
        table.roles.emplace_back("between");
    }
    const GeneralMatrix<int> combinations = levelCombinations(withinLevels);
    for (std::int32_t c = 0; c < combinations.getRows(); ++c) {
        std::vector<int> levels;
        for (std::int32_t v = 0; v < combinations.getCols(); ++v) {
            levels.push_back(combinations.get(c, v));
        }
        table.columnNames.push_back(numbered("Y", static_cast<std::size_t>(c) + 1));
        table.roles.push_back(combinationLabel(levels));
    }
    table.rows = rows;
    return table;
}

std::vector<std::vector<double>> normalRows(const std::vector<int>& betweenLevels,
                                            const std::vector<int>& groupSizes,
                                            std::int32_t cells, std::uint32_t seed)
{
    const GeneralMatrix<int> groups = levelCombinations(betweenLevels);
    std::mt19937 generator(seed);
    std::normal_distribution<double> normal(0.0, 1.0);
    std::vector<std::vector<double>> rows;
    for (std::int32_t g = 0; g < groups.getRows(); ++g) {
        for (int k = 0; k < groupSizes[static_cast<std::size_t>(g)]; ++k) {
            std::vector<double> row;
            for (std::int32_t v = 0; v < groups.getCols(); ++v) {
                row.push_back(groups.get(g, v));
            }
            for (std::int32_t c = 0; c < cells; ++c) {
                row.push_back(10.0 + 0.3 * g + 0.2 * c * (g % 2 == 0 ? 1 : -1) + normal(generator));
            }
            rows.push_back(row);
        }
    }
    return rows;
}

bool buildDesign(const DataTable& table, Design& design)
{
    const auto columns = static_cast<std::int32_t>(table.columnNames.size());
    const auto participants = static_cast<std::int32_t>(table.rows.size());
    RealMatrix rawData(participants, columns, nullptr);
    for (std::int32_t i = 0; i < participants; ++i) {
        for (std::int32_t j = 0; j < columns; ++j) {
            rawData.set(i, j, table.rows[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
        }
    }
    std::set<int> betweenColumns;
    std::vector<std::vector<int>> labels;
    for (std::int32_t j = 0; j < columns; ++j) {
        const std::string& role = table.roles[static_cast<std::size_t>(j)];
        if (role == "between") {
            betweenColumns.insert(j);
        } else {
            labels.push_back(parseCombinationLabel(role));
        }
    }
    const auto withinCount = static_cast<std::int32_t>(table.withinLevels.size());
    GeneralMatrix<int> columnLevels(withinCount, static_cast<std::int32_t>(labels.size()));
    for (std::size_t k = 0; k < labels.size(); ++k) {
        // A label with too few entries leaves zeros, which name no combination.
        const std::size_t entries = std::min(labels[k].size(), table.withinLevels.size());
        for (std::size_t v = 0; v < entries; ++v) {
            columnLevels.set(static_cast<std::int32_t>(v), static_cast<std::int32_t>(k),
                             labels[k][v]);
        }
    }
    return design.build(rawData, table.columnNames, betweenColumns, table.withinNames,
                        table.withinLevels, columnLevels);
}

void loadIntoEngine(const Design& design, Anova& engine)
{
    engine.setDesign(design.getY(), design.getX(), design.getGroupStart(),
                     design.getBetweenLevels(), design.getWithinLevels(),
                     design.getBetweenCombinations(), design.getWithinCombinations(),
                     design.getBetweenCount(), design.getWithinCount());
    engine.setEffect(design.getC(), design.getM(), {}, {});
}

bool computeEffect(Design& design, Anova& engine, const std::vector<int>& betweenFlags,
                   const std::vector<int>& withinFlags)
{
    design.setEffect(betweenFlags, withinFlags);
    loadIntoEngine(design, engine);
    return engine.compute();
}

std::int32_t betweenVariableCount(const DataTable& table)
{
    std::int32_t count = 0;
    for (const std::string& role : table.roles) {
        count += role == "between" ? 1 : 0;
    }
    return count;
}

void effectFlags(std::int32_t e, std::int32_t betweenCount, std::int32_t withinCount,
                 std::vector<int>& betweenFlags, std::vector<int>& withinFlags)
{
    const GeneralMatrix<int> effects = effectList(betweenCount + withinCount);
    betweenFlags.clear();
    withinFlags.clear();
    for (std::int32_t v = 0; v < betweenCount + withinCount; ++v) {
        (v < betweenCount ? betweenFlags : withinFlags).push_back(effects.get(e, v));
    }
}

double relativeDifference(double actual, double expected)
{
    const double difference = std::fabs(actual - expected);
    return expected == 0.0 ? difference : difference / std::fabs(expected);
}
