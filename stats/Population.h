#pragma once

#include "numeric/GeneralMatrix.h"
#include "numeric/LapackWorkspace.h"
#include "numeric/RealMatrix.h"
#include "stats/EffectLevels.h"
#include "stats/LinearModel.h"
#include "stats/Sample.h"
#include "stats/SampleGenerator.h"
#include "stats/SimulationParameters.h"

#include <cstdint>
#include <vector>

/// The normal population a simulation draws from: the cell means (G x P), with the tested
/// effect removed for an alpha error simulation, the SDs (G x P) and the correlations
/// (P x P); estimated from a sample or set from outside.
class Population {
public:
    /// Its matrices use workspace, which must outlive the population.
    explicit Population(LapackWorkspace* workspace);
    Population(const Population&) = delete;
    Population& operator=(const Population&) = delete;

    /// Copies the design's bookkeeping: withinCombinations (withinCount x P in the Design)
    /// transposed to one combination per row.
    void setDesign(const std::vector<int>& newWithinLevels,
                   const GeneralMatrix<int>& newBetweenCombinations,
                   const GeneralMatrix<int>& newWithinCombinations, std::int32_t newWithinCount);
    /// The 0-based variables of the tested effect.
    void setEffectVariables(const std::vector<int>& newWithinIndices,
                            const std::vector<int>& newBetweenIndices);

    /// Estimates the population from the sample as it is now: computeCellMeans,
    /// imposeNullHypothesis when simulateAlpha is set, computeCellSDs, the model's error
    /// covariance S of the sample, computeResidualCorrelations, then the sample's view of all
    /// rows and the generator's data correlations. With useCustomMatrices set and a
    /// population already present, the imported SDs and correlations stay, and the means are
    /// the imported ones, with the tested effect removed when simulateAlpha is set. Returns
    /// false, changing nothing, when a group combination has no participants.
    bool prepare(const SimulationParameters& parameters, Sample& sample, LinearModel& model,
                 SampleGenerator& generator);
    /// simulationMeans (G x P) := the cell means of the sample; observedMeans keeps them for
    /// effectTerm and marginalMean, so imposing the null hypothesis reads the observed means
    /// whatever it has already changed.
    void computeCellMeans(const Sample& sample);
    /// Subtracts from every entry (g, c) of simulationMeans the effect term of the tested
    /// effect at the levels of cell (g, c). Afterwards the effect's contrast C B M of the
    /// means is 0 and the contrasts of all other effects are unchanged. Needs
    /// computeCellMeans or importMatrices; the sample gives the shape G x P.
    void imposeNullHypothesis(const Sample& sample);
    /// The term of the effect of the listed variables at the listed levels in the
    /// decomposition of the observed cell means with equal weights for all cells: the
    /// alternating sum, over the subsets T of the variables, of the marginal means with the
    /// variables of T at their levels. 0 without variables.
    double effectTerm(const EffectLevels& levels) const;
    /// The mean, over the group combinations with the listed between levels, of each
    /// group's mean over the within cells with the listed within levels, from the observed
    /// cell means. Every group weighs the same whatever its size, as in the tests, which
    /// compare unweighted cell means.
    double marginalMean(const EffectLevels& levels) const;
    /// simulationSDs (G x P) := each cell's SD about its observed mean (n_g - 1 in the
    /// denominator), or, with homogeneity, everywhere the root of the cell variances
    /// averaged with the weights n_g.
    void computeCellSDs(const Sample& sample, bool assumeHomogeneity);
    /// simulationCorrelations (P x P) := the correlations of the error covariance S.
    void computeResidualCorrelations(const RealMatrix& errorCovariance);
    /// Copies the three population matrices into the given ones.
    void exportMatrices(RealMatrix& means, RealMatrix& sds, RealMatrix& correlations) const;
    /// Copies the given matrices into the population; the means also become the observed
    /// means the null hypothesis is imposed on. Returns false, changing nothing, when their
    /// shapes are not G x P, G x P and P x P for the sample's G and P.
    bool importMatrices(const Sample& sample, const RealMatrix& means, const RealMatrix& sds,
                        const RealMatrix& correlations);

    const RealMatrix& getMeans() const { return simulationMeans; }
    const RealMatrix& getSDs() const { return simulationSDs; }
    const RealMatrix& getCorrelations() const { return simulationCorrelations; }

private:
    /// The mean of observedMeans over the cells in which every variable whose bit is set in
    /// subset (within variables first, then between variables) has its listed level.
    double subsetMean(const EffectLevels& levels, std::uint32_t subset) const;
    /// Whether within combination c has the listed levels of the variables selected by
    /// subset (bit k for withinVariables[k]).
    bool withinCellMatches(std::int32_t c, const EffectLevels& levels, std::uint32_t subset) const;
    /// The same for group combination g; bit firstBit + k for betweenVariables[k].
    bool groupMatches(std::int32_t g, const EffectLevels& levels, std::uint32_t subset,
                      std::int32_t firstBit) const;

    RealMatrix simulationMeans;
    RealMatrix simulationSDs;
    RealMatrix simulationCorrelations;
    /// The cell means of the sample that the population was estimated from.
    RealMatrix observedMeans;
    std::int32_t withinCount = -99;
    std::vector<int> withinLevels;
    GeneralMatrix<int> betweenCombinations;
    /// P x withinCount: one within combination per row.
    GeneralMatrix<int> withinCombinations;
    std::vector<int> withinIndices;
    std::vector<int> betweenIndices;
};
