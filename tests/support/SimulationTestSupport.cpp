#include "tests/support/SimulationTestSupport.h"

#include <gtest/gtest.h>

bool LoadedEngine::load(const DataTable& table, const std::vector<int>& betweenFlags,
                        const std::vector<int>& withinFlags)
{
    if (!buildDesign(table, design)) {
        return false;
    }
    design.setEffect(betweenFlags, withinFlags);
    const auto indicesOf = [](const std::vector<int>& flags) {
        std::vector<int> indices;
        for (std::size_t k = 0; k < flags.size(); ++k) {
            if (flags[k] == 1) {
                indices.push_back(static_cast<int>(k));
            }
        }
        return indices;
    };
    engine.setDesign(design.getY(), design.getX(), design.getGroupStart(),
                     design.getBetweenLevels(), design.getWithinLevels(),
                     design.getBetweenCombinations(), design.getWithinCombinations(),
                     design.getBetweenCount(), design.getWithinCount());
    engine.setEffect(design.getC(), design.getM(), indicesOf(withinFlags), indicesOf(betweenFlags));
    return true;
}

DataTable pairedTable()
{
    return tableOf(1, {2}, {{1, 1.0, 2.0}, {1, 2.0, 2.5}, {1, 4.0, 3.0}});
}

Preferences filePreferences(const std::vector<std::string>& paths)
{
    Preferences preferences;
    preferences.useMersenneTwister = 0;
    preferences.numberOfThreads = static_cast<std::int32_t>(paths.size());
    for (std::size_t k = 0; k < paths.size(); ++k) {
        preferences.randomNumbersFiles += (k == 0 ? "" : ";") + paths[k];
    }
    return preferences;
}

RealMatrix matrixOf(const std::vector<std::vector<double>>& rows)
{
    const auto rowCount = static_cast<std::int32_t>(rows.size());
    const auto colCount = static_cast<std::int32_t>(rows.front().size());
    RealMatrix result(rowCount, colCount, nullptr);
    for (std::int32_t i = 0; i < rowCount; ++i) {
        for (std::int32_t j = 0; j < colCount; ++j) {
            result.set(i, j, rows[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
        }
    }
    return result;
}

SimulationParameters replacingParameters(std::int32_t perGroup, std::int32_t passes,
                                         std::int32_t analysisIndex)
{
    SimulationParameters parameters;
    parameters.analysisIndex = analysisIndex;
    parameters.replaceOriginalMatrix = 1;
    parameters.participantsPerGroup = perGroup;
    parameters.numberOfPasses = passes;
    parameters.criticalAlpha = 0.05;
    parameters.maxAdditionalInspections = 0;
    return parameters;
}

std::vector<double> valuesOf(const RealMatrix& matrix)
{
    return {matrix.dataPointer(), matrix.dataPointer() + matrix.getSize()};
}

namespace {

std::vector<Anova*> enginesOf(std::deque<LoadedEngine>& engines, std::int32_t count)
{
    std::vector<Anova*> pointers;
    for (std::int32_t i = 0; i < count; ++i)
        pointers.push_back(&engines.emplace_back(i).engine);
    return pointers;
}

} // namespace

EnginePool::EnginePool(std::int32_t count)
    : run(enginesOf(engines, count), messages, DecimalSeparator())
{
}

void EnginePool::load(const DataTable& table, const std::vector<int>& betweenFlags,
                      const std::vector<int>& withinFlags)
{
    for (LoadedEngine& loaded : engines)
        ASSERT_TRUE(loaded.load(table, betweenFlags, withinFlags));
}

void EnginePool::importPopulation(const RealMatrix& means, const RealMatrix& sds,
                                  const RealMatrix& correlations)
{
    for (LoadedEngine& loaded : engines)
        ASSERT_TRUE(loaded.engine.importSimulationMatrices(means, sds, correlations));
}
