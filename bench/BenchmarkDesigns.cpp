#include "BenchmarkDesigns.h"

#include "design/Combinations.h"

#include <cassert>
#include <random>
#include <set>

namespace {

// Fixed, so that every run and every benchmark sees the same numbers.
constexpr std::uint32_t DATA_SEED = 20240601u;

std::int32_t sum(const std::vector<int>& values)
{
    std::int32_t total = 0;
    for (int value : values) {
        total += value;
    }
    return total;
}

} // namespace

BenchmarkDesign benchmarkDesign(std::int32_t index)
{
    switch (index) {
    case 0: return {"D1", {20}, {2}};
    case 1: return {"D2", {20, 20}, {2, 3}};
    case 2: return {"D3", {30, 30, 30}, {3, 4}};
    default: assert(index == 3); return {"D4", {500, 500}, {2, 3}};
    }
}

bool buildBenchmarkDesign(std::int32_t index, Design& design)
{
    const BenchmarkDesign shape = benchmarkDesign(index);
    const bool hasGroups = shape.groupSizes.size() > 1;
    const GeneralMatrix<int> combinations = levelCombinations(shape.withinLevels);
    const std::int32_t cells = combinations.getRows();
    const std::int32_t participants = sum(shape.groupSizes);
    const std::int32_t firstWithin = hasGroups ? 1 : 0;

    RealMatrix rawData(participants, firstWithin + cells, nullptr);
    std::mt19937 generator(DATA_SEED + static_cast<std::uint32_t>(index));
    std::normal_distribution<double> normal(0.0, 1.0);
    std::int32_t row = 0;
    for (std::size_t g = 0; g < shape.groupSizes.size(); ++g) {
        for (int k = 0; k < shape.groupSizes[g]; ++k, ++row) {
            if (hasGroups) {
                rawData.set(row, 0, static_cast<double>(g + 1));
            }
            for (std::int32_t c = 0; c < cells; ++c) {
                rawData.set(row, firstWithin + c, normal(generator));
            }
        }
    }

    std::vector<std::string> columnNames;
    std::set<int> betweenColumns;
    if (hasGroups) {
        columnNames.push_back("group");
        betweenColumns.insert(0);
    }
    const auto withinCount = static_cast<std::int32_t>(shape.withinLevels.size());
    GeneralMatrix<int> columnLevels(withinCount, cells);
    for (std::int32_t c = 0; c < cells; ++c) {
        columnNames.push_back("cell" + std::to_string(c + 1));
        for (std::int32_t v = 0; v < withinCount; ++v) {
            columnLevels.set(v, c, combinations.get(c, v));
        }
    }
    const std::vector<std::string> withinNames = {"A", "B", "C"};
    const std::vector<std::string> names(withinNames.begin(), withinNames.begin() + withinCount);
    if (!design.build(rawData, columnNames, betweenColumns, names, shape.withinLevels,
                      columnLevels)) {
        return false;
    }
    const std::vector<int> betweenFlags(hasGroups ? 1 : 0, 1);
    design.setEffect(betweenFlags, std::vector<int>(static_cast<std::size_t>(withinCount), 1));
    return true;
}

void loadIntoEngine(const Design& design, Anova& engine)
{
    engine.setDesign(design.getY(), design.getX(), design.getGroupStart(),
                     design.getBetweenLevels(), design.getWithinLevels(),
                     design.getBetweenCombinations(), design.getWithinCombinations(),
                     design.getBetweenCount(), design.getWithinCount());
    engine.setEffect(design.getC(), design.getM(), {}, {});
}
