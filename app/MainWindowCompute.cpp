// The compute command, the results table and the simulation set-up of the main window.
#include "app/MainWindowCommands.h"

#include "app/ComputeFailureMessage.h"
#include "app/DesignReading.h"
#include "app/EffectFlags.h"
#include "design/EffectList.h"

#include <cstdint>
#include <utility>

namespace {

bool sameEntries(const GeneralMatrix<int>& a, const GeneralMatrix<int>& b)
{
    if (a.getRows() != b.getRows())
        return false;
    if (a.getCols() != b.getCols())
        return false;
    for (std::int32_t i = 0; i < a.getRows(); ++i) {
        for (std::int32_t j = 0; j < a.getCols(); ++j) {
            if (a.get(i, j) != b.get(i, j))
                return false;
        }
    }
    return true;
}

} // namespace

bool MainWindowCommands::computeStatistics()
{
    if (!checkWithinVariables())
        return false;
    if (!checkColumnAssignment())
        return false;
    return computeAllEffects();
}

bool MainWindowCommands::computeAllEffects()
{
    beginReading();
    cells.clear();
    resultsTable.removeAllCells();
    resultsTable.repaint();
    // The variables are counted over the columns that hold data, as the Design counts its
    // between variables, so every row of the effect table names variables of the Design.
    const DesignVariables variables = readDesignVariables(dataTable, withinTable);
    if (!readDesign())
        return false;
    effectTable = existingEffects(variableLevels(variables));
    if (effectTable.getRows() < 2) {
        messages.showMessage("Error", NO_EFFECT_MESSAGE, MessageIcon::Error);
        return false;
    }
    for (std::int32_t e = 1; e < effectTable.getRows(); ++e) {
        const EffectFlags flags = effectFlags(effectTable, e, variables.betweenCount());
        const std::string name =
            effectName(effectTable, e, variables.betweenNames, variables.withinNames);
        for (const auto& engine : engines)
            engine->setEffectName(name);
        design.setEffect(flags.betweenFlags, flags.withinFlags);
        // The compute command tests the effect; the variable positions are the simulation's.
        loadEngines({}, {});
        if (!computeEngines()) {
            messages.showMessage("Error",
                                 computeFailureMessage(engines.front()->getLastFailure(), design),
                                 MessageIcon::Error);
            return false;
        }
        showEffectResults();
    }
    cells = cellStatistics(design);
    return true;
}

std::vector<int> MainWindowCommands::variableLevels(const DesignVariables& variables) const
{
    // A design without "between" columns has one implicit group, which is no variable.
    std::vector<int> levels;
    if (variables.betweenCount() > 0)
        levels = design.getBetweenLevels();
    const std::vector<int>& within = design.getWithinLevels();
    levels.insert(levels.end(), within.begin(), within.end());
    return levels;
}

void MainWindowCommands::showEffectResults()
{
    // Every engine holds the same results; engine 0 is the one that is shown.
    appendEffectBlock(resultsTable, *engines.front());
    resultsTable.repaint();
    if (effectListener)
        effectListener(*engines.front());
}

void MainWindowCommands::setEffectListener(std::function<void(const Anova&)> listener)
{
    effectListener = std::move(listener);
}

std::optional<AnalysisChoice> MainWindowCommands::chooseAnalysis()
{
    return findChosenAnalysis(resultsTable, messages);
}

bool MainWindowCommands::setUpSimulation()
{
    const std::optional<AnalysisChoice> choice = chooseAnalysis();
    if (!choice)
        return false;
    // The design is read from the tables as they are now, so they must pass the checks
    // again and still hold the effects that the results table lists.
    if (!checkWithinVariables())
        return false;
    if (!checkColumnAssignment())
        return false;
    const DesignVariables variables = readDesignVariables(dataTable, withinTable);
    beginReading();
    if (!readDesign())
        return false;
    if (!tablesMatchLastCompute(variables, choice->effectNumber, choice->effectName)) {
        messages.showMessage("Error",
                             "The tables have changed since the statistics were computed. Please "
                             "compute the statistics again before opening the simulation window.",
                             MessageIcon::Error);
        return false;
    }
    const EffectFlags flags =
        effectFlags(effectTable, choice->effectNumber, variables.betweenCount());
    design.setEffect(flags.betweenFlags, flags.withinFlags);
    loadEngines(flags.withinIndices, flags.betweenIndices);
    simulationParameters.analysisIndex = choice->analysisIndex;
    simulatedEffectName = choice->effectName;
    return true;
}

void MainWindowCommands::loadEngines(const std::vector<int>& withinIndices,
                                     const std::vector<int>& betweenIndices)
{
    for (const auto& engine : engines) {
        engine->setDesign(design.getY(), design.getX(), design.getGroupStart(),
                          design.getBetweenLevels(), design.getWithinLevels(),
                          design.getBetweenCombinations(), design.getWithinCombinations(),
                          design.getBetweenCount(), design.getWithinCount());
        engine->setEffect(design.getC(), design.getM(), withinIndices, betweenIndices);
    }
}

bool MainWindowCommands::computeEngines()
{
    // A group combination without participants makes every engine fail here, before any
    // number built on it reaches the results table.
    for (const auto& engine : engines) {
        if (!engine->compute())
            return false;
    }
    return true;
}

bool MainWindowCommands::tablesMatchLastCompute(const DesignVariables& variables, int e,
                                                const std::string& chosenName) const
{
    const GeneralMatrix<int> currentEffects = existingEffects(variableLevels(variables));
    if (!sameEntries(currentEffects, effectTable))
        return false;
    if (e >= currentEffects.getRows())
        return false;
    return effectName(currentEffects, e, variables.betweenNames, variables.withinNames) ==
           chosenName;
}
