// The population of a simulation: cell means with or without the tested effect, SDs and
// correlations, estimated from the engine's data or set from outside.
#include "stats/Anova.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>

namespace {

/// Whether a listed level (-1: any) admits a cell's level of the variable.
bool levelMatches(int listed, int actual)
{
    return listed == -1 || listed == actual;
}

bool hasShape(const RealMatrix& matrix, std::int32_t rows, std::int32_t cols)
{
    return matrix.getRows() == rows && matrix.getCols() == cols;
}

} // namespace

bool Anova::prepareSimulation(const SimulationParameters& parameters)
{
    if (hasGroupWithoutParticipants()) {
        return false;
    }
    if (parameters.useCustomMatrices != 0 && simulationMeans.getRows() > 0) {
        // The entered means take the place of the observed ones: an alpha error is only
        // simulated where the tested effect is absent, whatever means were entered.
        simulationMeans.copyFrom(observedMeans);
        if (parameters.simulateAlpha != 0) {
            imposeNullHypothesis();
        }
        return true;
    }
    computeCellMeans();
    if (parameters.simulateAlpha != 0) {
        imposeNullHypothesis();
    }
    computeCellSDs(parameters.assumeHomogeneity != 0);
    // S of the data as they are now: the last compute may have seen other data (a design
    // set since, or the last sample of a run).
    estimateErrorCovariance();
    computeResidualCorrelations();
    buildSampleView(-1);
    generator.computeDataCorrelations(withinCount, withinLevels, groupStart);
    return true;
}

void Anova::estimateErrorCovariance()
{
    countObservations();
    estimateCellMeans();
    formErrorCovariance();
}

void Anova::computeCellMeans()
{
    const auto groups = static_cast<std::int32_t>(groupStart.size());
    const std::int32_t cells = Y.getCols();
    observedMeans.resize(groups, cells);
    for (std::int32_t g = 0; g < groups; ++g) {
        const std::int32_t first = groupStart[static_cast<std::size_t>(g)];
        const std::int32_t end = groupEnd(g);
        for (std::int32_t c = 0; c < cells; ++c) {
            double sum = 0.0;
            for (std::int32_t r = first; r < end; ++r) {
                sum += Y.get(r, c);
            }
            observedMeans.set(g, c, sum / (end - first));
        }
    }
    simulationMeans.copyFrom(observedMeans);
}

void Anova::imposeNullHypothesis()
{
    const auto groups = static_cast<std::int32_t>(groupStart.size());
    const std::int32_t cells = Y.getCols();
    std::vector<int> withinLevelList(withinIndices.size());
    std::vector<int> betweenLevelList(betweenIndices.size());
    for (std::int32_t g = 0; g < groups; ++g) {
        for (std::size_t k = 0; k < betweenIndices.size(); ++k) {
            betweenLevelList[k] = betweenCombinations.get(g, betweenIndices[k]);
        }
        for (std::int32_t c = 0; c < cells; ++c) {
            for (std::size_t k = 0; k < withinIndices.size(); ++k) {
                withinLevelList[k] = withinCombinations.get(c, withinIndices[k]);
            }
            const double term =
                effectTerm(withinIndices, withinLevelList, betweenIndices, betweenLevelList);
            simulationMeans.set(g, c, simulationMeans.get(g, c) - term);
        }
    }
}

double Anova::effectTerm(const std::vector<int>& withinVariables,
                         const std::vector<int>& withinLevelList,
                         const std::vector<int>& betweenVariables,
                         const std::vector<int>& betweenLevelList) const
{
    // The marginal mean of a set S of variables is the sum of the effect terms of all
    // subsets of S (the grand mean being the term of the empty set); inverting this sum
    // (Möbius inversion) gives the term of S as the alternating sum over its subsets T of
    // the marginal means, with sign (-1)^(|S| - |T|). It equals the recursion "marginal
    // mean minus grand mean minus the terms of all proper subsets" without recomputing the
    // lower terms again and again.
    const std::size_t variables = withinVariables.size() + betweenVariables.size();
    if (variables == 0) {
        return 0.0;
    }
    assert(variables < 32);
    const std::uint32_t full = (std::uint32_t{1} << variables) - 1;
    double term = 0.0;
    for (std::uint32_t subset = 0; subset <= full; ++subset) {
        const bool even = (std::popcount(full & ~subset) % 2) == 0;
        const double mean = subsetMean(withinVariables, withinLevelList, betweenVariables,
                                       betweenLevelList, subset);
        term += even ? mean : -mean;
    }
    return term;
}

double Anova::marginalMean(const std::vector<int>& withinVariables,
                           const std::vector<int>& withinLevelList,
                           const std::vector<int>& betweenVariables,
                           const std::vector<int>& betweenLevelList) const
{
    const std::size_t variables = withinVariables.size() + betweenVariables.size();
    assert(variables < 32);
    const std::uint32_t all = (std::uint32_t{1} << variables) - 1;
    return subsetMean(withinVariables, withinLevelList, betweenVariables, betweenLevelList, all);
}

double Anova::subsetMean(const std::vector<int>& withinVariables,
                         const std::vector<int>& withinLevelList,
                         const std::vector<int>& betweenVariables,
                         const std::vector<int>& betweenLevelList, std::uint32_t subset) const
{
    // The same within cells are selected in every qualifying group, so the mean over the
    // groups of each group's mean over its cells is the plain mean over the selected cells.
    const std::int32_t groups = observedMeans.getRows();
    const std::int32_t cells = observedMeans.getCols();
    const auto firstBetweenBit = static_cast<std::int32_t>(withinVariables.size());
    double sum = 0.0;
    std::int32_t count = 0;
    for (std::int32_t g = 0; g < groups; ++g) {
        if (!groupMatches(g, betweenVariables, betweenLevelList, subset, firstBetweenBit)) {
            continue;
        }
        for (std::int32_t c = 0; c < cells; ++c) {
            if (withinCellMatches(c, withinVariables, withinLevelList, subset)) {
                sum += observedMeans.get(g, c);
                ++count;
            }
        }
    }
    return sum / count;
}

bool Anova::withinCellMatches(std::int32_t c, const std::vector<int>& withinVariables,
                              const std::vector<int>& withinLevelList, std::uint32_t subset) const
{
    for (std::size_t k = 0; k < withinVariables.size(); ++k) {
        if ((subset & (std::uint32_t{1} << k)) == 0) {
            continue;
        }
        if (!levelMatches(withinLevelList[k], withinCombinations.get(c, withinVariables[k]))) {
            return false;
        }
    }
    return true;
}

bool Anova::groupMatches(std::int32_t g, const std::vector<int>& betweenVariables,
                         const std::vector<int>& betweenLevelList, std::uint32_t subset,
                         std::int32_t firstBit) const
{
    for (std::size_t k = 0; k < betweenVariables.size(); ++k) {
        if ((subset & (std::uint32_t{1} << (firstBit + static_cast<std::int32_t>(k)))) == 0) {
            continue;
        }
        if (!levelMatches(betweenLevelList[k], betweenCombinations.get(g, betweenVariables[k]))) {
            return false;
        }
    }
    return true;
}

void Anova::computeCellSDs(bool assumeHomogeneity)
{
    // The spread is taken about each cell's observed mean: removing the tested effect moves
    // the means of the population, not the spread of its participants about them.
    const std::int32_t groups = observedMeans.getRows();
    const std::int32_t cells = observedMeans.getCols();
    simulationSDs.resize(groups, cells);
    double weightedVariances = 0.0;
    double weights = 0.0;
    for (std::int32_t g = 0; g < groups; ++g) {
        const std::int32_t first = groupStart[static_cast<std::size_t>(g)];
        const std::int32_t end = groupEnd(g);
        for (std::int32_t c = 0; c < cells; ++c) {
            double squares = 0.0;
            for (std::int32_t r = first; r < end; ++r) {
                const double deviation = Y.get(r, c) - observedMeans.get(g, c);
                squares += deviation * deviation;
            }
            const double variance = squares / (end - first - 1);
            simulationSDs.set(g, c, std::sqrt(variance));
            weightedVariances += (end - first) * variance;
            weights += end - first;
        }
    }
    if (assumeHomogeneity) {
        const double pooled = std::sqrt(weightedVariances / weights);
        std::fill_n(simulationSDs.dataPointer(), simulationSDs.getSize(), pooled);
    }
}

void Anova::computeResidualCorrelations()
{
    const std::int32_t cells = errorCovariance.getRows();
    simulationCorrelations.resize(cells, cells);
    for (std::int32_t j = 0; j < cells; ++j) {
        for (std::int32_t i = 0; i < cells; ++i) {
            const double r = i == j ? 1.0
                                    : errorCovariance.get(i, j) /
                                          (std::sqrt(errorCovariance.get(j, j)) *
                                           std::sqrt(errorCovariance.get(i, i)));
            simulationCorrelations.set(i, j, r);
        }
    }
}

void Anova::exportSimulationMatrices(RealMatrix& means, RealMatrix& sds,
                                     RealMatrix& correlations) const
{
    means.copyFrom(simulationMeans);
    sds.copyFrom(simulationSDs);
    correlations.copyFrom(simulationCorrelations);
}

bool Anova::importSimulationMatrices(const RealMatrix& means, const RealMatrix& sds,
                                     const RealMatrix& correlations)
{
    const auto groups = static_cast<std::int32_t>(groupStart.size());
    const std::int32_t cells = Y.getCols();
    if (!hasShape(means, groups, cells)) {
        return false;
    }
    if (!hasShape(sds, groups, cells)) {
        return false;
    }
    if (!hasShape(correlations, cells, cells)) {
        return false;
    }
    simulationMeans.copyFrom(means);
    observedMeans.copyFrom(means);
    simulationSDs.copyFrom(sds);
    simulationCorrelations.copyFrom(correlations);
    return true;
}
