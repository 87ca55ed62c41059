#include "stats/Population.h"

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

Population::Population(LapackWorkspace* workspace)
    : simulationMeans(workspace), simulationSDs(workspace), simulationCorrelations(workspace),
      observedMeans(workspace)
{
}

void Population::setDesign(const std::vector<int>& newWithinLevels,
                           const GeneralMatrix<int>& newBetweenCombinations,
                           const GeneralMatrix<int>& newWithinCombinations,
                           std::int32_t newWithinCount)
{
    withinLevels = newWithinLevels;
    betweenCombinations.copyFrom(newBetweenCombinations);
    newWithinCombinations.transpose(withinCombinations);
    withinCount = newWithinCount;
}

void Population::setEffectVariables(const std::vector<int>& newWithinIndices,
                                    const std::vector<int>& newBetweenIndices)
{
    withinIndices = newWithinIndices;
    betweenIndices = newBetweenIndices;
}

bool Population::prepare(const SimulationParameters& parameters, Sample& sample, LinearModel& model,
                         SampleGenerator& generator)
{
    if (sample.hasGroupWithoutParticipants()) {
        return false;
    }
    if (parameters.useCustomMatrices != 0 && simulationMeans.getRows() > 0) {
        // The entered means take the place of the observed ones: an alpha error is only
        // simulated where the tested effect is absent, whatever means were entered.
        simulationMeans.copyFrom(observedMeans);
        if (parameters.simulateAlpha != 0) {
            imposeNullHypothesis(sample);
        }
        return true;
    }
    computeCellMeans(sample);
    if (parameters.simulateAlpha != 0) {
        imposeNullHypothesis(sample);
    }
    computeCellSDs(sample, parameters.assumeHomogeneity != 0);
    // S of the data as they are now: the last compute may have seen other data (a design
    // set since, or the last sample of a run).
    model.estimateErrorCovariance(sample.getY(), sample.getX());
    computeResidualCorrelations(model.getErrorCovariance());
    sample.buildSampleView(-1);
    generator.computeDataCorrelations(withinCount, withinLevels, sample.getGroupStart());
    return true;
}

void Population::computeCellMeans(const Sample& sample)
{
    const YMatrix& Y = sample.getY();
    const std::vector<int>& groupStart = sample.getGroupStart();
    const auto groups = static_cast<std::int32_t>(groupStart.size());
    const std::int32_t cells = Y.getCols();
    observedMeans.resize(groups, cells);
    for (std::int32_t g = 0; g < groups; ++g) {
        const std::int32_t first = groupStart[static_cast<std::size_t>(g)];
        const std::int32_t end = sample.getGroupEnd(g);
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

void Population::imposeNullHypothesis(const Sample& sample)
{
    const std::int32_t groups = sample.groupCount();
    const std::int32_t cells = sample.getY().getCols();
    EffectLevels levels{withinIndices, std::vector<int>(withinIndices.size()), betweenIndices,
                        std::vector<int>(betweenIndices.size())};
    for (std::int32_t g = 0; g < groups; ++g) {
        for (std::size_t k = 0; k < betweenIndices.size(); ++k) {
            levels.betweenLevelList[k] = betweenCombinations.get(g, betweenIndices[k]);
        }
        for (std::int32_t c = 0; c < cells; ++c) {
            for (std::size_t k = 0; k < withinIndices.size(); ++k) {
                levels.withinLevelList[k] = withinCombinations.get(c, withinIndices[k]);
            }
            const double term = effectTerm(levels);
            simulationMeans.set(g, c, simulationMeans.get(g, c) - term);
        }
    }
}

double Population::effectTerm(const EffectLevels& levels) const
{
    // The marginal mean of a set S of variables is the sum of the effect terms of all
    // subsets of S (the grand mean being the term of the empty set); inverting this sum
    // (Möbius inversion) gives the term of S as the alternating sum over its subsets T of
    // the marginal means, with sign (-1)^(|S| - |T|). It equals the recursion "marginal
    // mean minus grand mean minus the terms of all proper subsets" without recomputing the
    // lower terms again and again.
    const std::size_t variables = levels.withinVariables.size() + levels.betweenVariables.size();
    if (variables == 0) {
        return 0.0;
    }
    assert(variables < 32);
    const std::uint32_t full = (std::uint32_t{1} << variables) - 1;
    double term = 0.0;
    for (std::uint32_t subset = 0; subset <= full; ++subset) {
        const bool even = (std::popcount(full & ~subset) % 2) == 0;
        const double mean = subsetMean(levels, subset);
        term += even ? mean : -mean;
    }
    return term;
}

double Population::marginalMean(const EffectLevels& levels) const
{
    const std::size_t variables = levels.withinVariables.size() + levels.betweenVariables.size();
    assert(variables < 32);
    const std::uint32_t all = (std::uint32_t{1} << variables) - 1;
    return subsetMean(levels, all);
}

double Population::subsetMean(const EffectLevels& levels, std::uint32_t subset) const
{
    // The same within cells are selected in every qualifying group, so the mean over the
    // groups of each group's mean over its cells is the plain mean over the selected cells.
    const std::int32_t groups = observedMeans.getRows();
    const std::int32_t cells = observedMeans.getCols();
    const auto firstBetweenBit = static_cast<std::int32_t>(levels.withinVariables.size());
    double sum = 0.0;
    std::int32_t count = 0;
    for (std::int32_t g = 0; g < groups; ++g) {
        if (!groupMatches(g, levels, subset, firstBetweenBit)) {
            continue;
        }
        for (std::int32_t c = 0; c < cells; ++c) {
            if (withinCellMatches(c, levels, subset)) {
                sum += observedMeans.get(g, c);
                ++count;
            }
        }
    }
    return sum / count;
}

bool Population::withinCellMatches(std::int32_t c, const EffectLevels& levels,
                                   std::uint32_t subset) const
{
    for (std::size_t k = 0; k < levels.withinVariables.size(); ++k) {
        if ((subset & (std::uint32_t{1} << k)) == 0) {
            continue;
        }
        if (!levelMatches(levels.withinLevelList[k],
                          withinCombinations.get(c, levels.withinVariables[k]))) {
            return false;
        }
    }
    return true;
}

bool Population::groupMatches(std::int32_t g, const EffectLevels& levels, std::uint32_t subset,
                              std::int32_t firstBit) const
{
    for (std::size_t k = 0; k < levels.betweenVariables.size(); ++k) {
        if ((subset & (std::uint32_t{1} << (firstBit + static_cast<std::int32_t>(k)))) == 0) {
            continue;
        }
        if (!levelMatches(levels.betweenLevelList[k],
                          betweenCombinations.get(g, levels.betweenVariables[k]))) {
            return false;
        }
    }
    return true;
}

void Population::computeCellSDs(const Sample& sample, bool assumeHomogeneity)
{
    const YMatrix& Y = sample.getY();
    const std::vector<int>& groupStart = sample.getGroupStart();
    // The spread is taken about each cell's observed mean: removing the tested effect moves
    // the means of the population, not the spread of its participants about them.
    const std::int32_t groups = observedMeans.getRows();
    const std::int32_t cells = observedMeans.getCols();
    simulationSDs.resize(groups, cells);
    double weightedVariances = 0.0;
    double weights = 0.0;
    for (std::int32_t g = 0; g < groups; ++g) {
        const std::int32_t first = groupStart[static_cast<std::size_t>(g)];
        const std::int32_t end = sample.getGroupEnd(g);
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

void Population::computeResidualCorrelations(const RealMatrix& errorCovariance)
{
    const std::int32_t cells = errorCovariance.getRows();
    simulationCorrelations.resize(cells, cells);
    for (std::int32_t j = 0; j < cells; ++j) {
        for (std::int32_t i = 0; i < cells; ++i) {
            const double r =
                i == j ? 1.0
                       : errorCovariance.get(i, j) / (std::sqrt(errorCovariance.get(j, j)) *
                                                      std::sqrt(errorCovariance.get(i, i)));
            simulationCorrelations.set(i, j, r);
        }
    }
}

void Population::exportMatrices(RealMatrix& means, RealMatrix& sds, RealMatrix& correlations) const
{
    means.copyFrom(simulationMeans);
    sds.copyFrom(simulationSDs);
    correlations.copyFrom(simulationCorrelations);
}

bool Population::importMatrices(const Sample& sample, const RealMatrix& means,
                                const RealMatrix& sds, const RealMatrix& correlations)
{
    const std::int32_t groups = sample.groupCount();
    const std::int32_t cells = sample.getY().getCols();
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
