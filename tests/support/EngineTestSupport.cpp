#include "tests/support/EngineTestSupport.h"

#include "design/Combinations.h"
#include "design/EffectList.h"

#include <algorithm>
#include <random>
#include <set>

DataTable tableOf(std::int32_t betweenCount, const std::vector<int>& withinLevels,
                  const std::vector<std::vector<double>>& rows)
{
    DataTable table{{}, withinLevels, {}, {}, rows};
    for (std::size_t v = 0; v < withinLevels.size(); ++v) {
        table.withinNames.push_back("W" + std::to_string(v + 1));
    }
    for (std::int32_t b = 0; b < betweenCount; ++b) {
        table.columnNames.push_back("G" + std::to_string(b + 1));
        table.roles.emplace_back("between");
    }
    const GeneralMatrix<int> combinations = levelCombinations(withinLevels);
    for (std::int32_t c = 0; c < combinations.getRows(); ++c) {
        std::vector<int> levels;
        for (std::int32_t v = 0; v < combinations.getCols(); ++v) {
            levels.push_back(combinations.get(c, v));
        }
        table.columnNames.push_back("Y" + std::to_string(c + 1));
        table.roles.push_back(combinationLabel(levels));
    }
    return table;
}

std::vector<std::vector<double>> normalRows(const std::vector<int>& betweenLevels,
                                            const std::vector<int>& groupSizes, std::int32_t cells,
                                            std::uint32_t seed)
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
    const auto withinCount = static_cast<std::int32_t>(table.withinLevels.size());
    RealMatrix rawData(participants, columns, nullptr);
    std::set<int> betweenColumns;
    const auto betweenCount = std::count(table.roles.begin(), table.roles.end(), "between");
    GeneralMatrix<int> columnLevels(withinCount, columns - static_cast<std::int32_t>(betweenCount));
    for (std::int32_t j = 0, k = 0; j < columns; ++j) {
        for (std::int32_t i = 0; i < participants; ++i) {
            rawData.set(i, j, table.rows[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
        }
        const std::string& role = table.roles[static_cast<std::size_t>(j)];
        if (role == "between") {
            betweenColumns.insert(j);
            continue;
        }
        const std::vector<int> label = parseCombinationLabel(role);
        const auto entries = std::min(withinCount, static_cast<std::int32_t>(label.size()));
        for (std::int32_t v = 0; v < entries; ++v) {
            columnLevels.set(v, k, label[static_cast<std::size_t>(v)]);
        }
        ++k;
    }
    return design.build(rawData, table.columnNames, betweenColumns, table.withinNames,
                        table.withinLevels, columnLevels);
}

bool computeEffect(Design& design, Anova& engine, const std::vector<int>& betweenFlags,
                   const std::vector<int>& withinFlags)
{
    design.setEffect(betweenFlags, withinFlags);
    engine.setDesign(design.getY(), design.getX(), design.getGroupStart(),
                     design.getBetweenLevels(), design.getWithinLevels(),
                     design.getBetweenCombinations(), design.getWithinCombinations(),
                     design.getBetweenCount(), design.getWithinCount());
    engine.setEffect(design.getC(), design.getM(), {}, {});
    return engine.compute();
}

bool Analysis::build(const DataTable& table)
{
    betweenCount =
        static_cast<std::int32_t>(std::count(table.roles.begin(), table.roles.end(), "between"));
    withinCount = static_cast<std::int32_t>(table.withinLevels.size());
    return buildDesign(table, design);
}

bool Analysis::run(const DataTable& table, const std::vector<int>& betweenFlags,
                   const std::vector<int>& withinFlags)
{
    return build(table) && computeEffect(design, engine, betweenFlags, withinFlags);
}

bool Analysis::runEffect(std::int32_t e)
{
    const GeneralMatrix<int> effects = effectList(betweenCount + withinCount);
    std::vector<int> between;
    std::vector<int> within;
    for (std::int32_t v = 0; v < betweenCount + withinCount; ++v) {
        (v < betweenCount ? between : within).push_back(effects.get(e, v));
    }
    return computeEffect(design, engine, between, within);
}
