#pragma once

#include "numeric/GeneralMatrix.h"
#include "numeric/LapackWorkspace.h"
#include "numeric/RealMatrix.h"
#include "numeric/YMatrix.h"
#include "stats/ComputeFailure.h"
#include "stats/EffectLevels.h"
#include "stats/EpsilonCorrection.h"
#include "stats/HotellingTest.h"
#include "stats/LinearModel.h"
#include "stats/MauchlyTest.h"
#include "stats/PillaiTest.h"
#include "stats/Population.h"
#include "stats/Preferences.h"
#include "stats/RoyTest.h"
#include "stats/RunSize.h"
#include "stats/Sample.h"
#include "stats/SampleGenerator.h"
#include "stats/SimulationParameters.h"
#include "stats/SimulationWorker.h"
#include "stats/SummarySampler.h"
#include "stats/UnivariateTest.h"
#include "stats/WilksTest.h"

#include <cstdint>
#include <string>
#include <vector>

/// The statistics engine, the one class the rest of the program talks to. It holds one
/// design and one effect and hands each operation to the part whose job it is:
/// - the Sample: the within data Y (N x P), the cell indicator X (N x G), the group starts,
///   the view the generator fills and the resizing of groups during a simulation;
/// - the LinearModel: the hypothesis C B M = 0 of the effect (C, q x G; M, P x t) for the
///   cell means B, the eight analyses of the effect through its test objects and the test of
///   the sphericity of its error covariance;
/// - the Population: the normal population of a simulation, estimated from the sample
///   (cell means, with the tested effect removed for an alpha error simulation; SDs; the
///   residual correlations) or set from outside;
/// - the SimulationWorker: draws samples from the population through the SampleGenerator
///   (rows) or the SummarySampler (means and SSCP), computes them and counts the
///   significant ones, also over repeated inspections that add participants to every group.
///
/// Threads: the main window keeps one engine per worker thread. An engine is used by one
/// thread at a time and shares nothing with other engines: its matrices and tests use its
/// own LAPACK workspace. setDesign and setEffect copy their arguments, so the design may
/// change afterwards without affecting the engine. During a simulation run the engine
/// belongs to its worker thread; the front end touches only the run flags (requestAbort,
/// isFinished, getProgressPosition) until isFinished() is true, and from then on the engine
/// is its own again.
///
/// Engines run side by side on different cores and write their fields on every look; each
/// starts on a cache line of its own, so that no line holds fields of two engines.
class alignas(64) Anova {
public:
    /// threadIndex 0 is the engine whose results the results table shows.
    explicit Anova(std::int32_t threadIndex);
    Anova(const Anova&) = delete;
    Anova& operator=(const Anova&) = delete;

    /// Copies the design: Y without its element pointers, withinCombinations (withinCount x P
    /// in the Design) transposed to one combination per row. X must be a cell indicator
    /// (entries 0 and 1, one 1 per row), as the Design builds it. The between levels and
    /// count are not needed by any part: the group combinations carry them.
    void setDesign(const YMatrix& newY, const RealMatrix& newX,
                   const std::vector<int>& newGroupStart, const std::vector<int>& newBetweenLevels,
                   const std::vector<int>& newWithinLevels,
                   const GeneralMatrix<int>& newBetweenCombinations,
                   const GeneralMatrix<int>& newWithinCombinations, std::int32_t newBetweenCount,
                   std::int32_t newWithinCount);
    /// Copies the effect. The index lists (0-based variables of the effect) are empty when
    /// the compute command sets the effect and filled by the simulation set-up.
    void setEffect(const RealMatrix& newC, const RealMatrix& newM,
                   const std::vector<int>& newWithinIndices,
                   const std::vector<int>& newBetweenIndices);
    void setEffectName(const std::string& name) { effectNameText = name; }
    std::string effectName() const { return effectNameText; }

    /// LinearModel::compute on the sample.
    bool compute() { return model.compute(sample.getY(), sample.getX()); }
    /// LinearModel::computeFromSummary on the summary sampler's current summary.
    bool computeFromSummary()
    {
        return model.computeFromSummary(summarySampler.getMeans(), summarySampler.getGroupSizes(),
                                        summarySampler.getSscp());
    }
    /// Why the last compute failed; ComputeFailure::None after a successful one.
    ComputeFailure getLastFailure() const { return model.getLastFailure(); }

    const PillaiTest& getPillaiTest() const { return model.getPillaiTest(); }
    const WilksTest& getWilksTest() const { return model.getWilksTest(); }
    const HotellingTest& getHotellingTest() const { return model.getHotellingTest(); }
    const RoyTest& getRoyTest() const { return model.getRoyTest(); }
    /// Both univariate analyses, uncorrected and Greenhouse-Geisser.
    const UnivariateTest& getUnivariateTest() const { return model.getUnivariateTest(); }
    const EpsilonCorrection& getHuynhFeldtTest() const { return model.getHuynhFeldtTest(); }
    const EpsilonCorrection& getLowerBoundTest() const { return model.getLowerBoundTest(); }
    const MauchlyTest& getMauchlyTest() const { return model.getMauchlyTest(); }
    std::int32_t getThreadIndex() const { return threadIndex; }

    // The population of a simulation (see Population).

    bool prepareSimulation(const SimulationParameters& parameters)
    {
        return population.prepare(parameters, sample, model, generator);
    }
    void computeCellMeans() { population.computeCellMeans(sample); }
    void imposeNullHypothesis() { population.imposeNullHypothesis(sample); }
    double effectTerm(const EffectLevels& levels) const { return population.effectTerm(levels); }
    double marginalMean(const EffectLevels& levels) const
    {
        return population.marginalMean(levels);
    }
    void computeCellSDs(bool assumeHomogeneity)
    {
        population.computeCellSDs(sample, assumeHomogeneity);
    }
    void computeResidualCorrelations()
    {
        population.computeResidualCorrelations(model.getErrorCovariance());
    }
    void exportSimulationMatrices(RealMatrix& means, RealMatrix& sds,
                                  RealMatrix& correlations) const
    {
        population.exportMatrices(means, sds, correlations);
    }
    bool importSimulationMatrices(const RealMatrix& means, const RealMatrix& sds,
                                  const RealMatrix& correlations)
    {
        return population.importMatrices(sample, means, sds, correlations);
    }

    // The sample (see Sample); the base of every pass includes the model's S.

    void buildSampleView(std::int32_t lastRows) { sample.buildSampleView(lastRows); }
    void setGroupSize(std::int32_t size) { sample.setGroupSize(size); }
    void addParticipants(std::int32_t count) { sample.addParticipants(count); }
    void saveBase() { worker.saveBase(); }
    void restoreBase() { worker.restoreBase(); }
    void restoreBaseAfterFailure() { worker.restoreBaseAfterFailure(); }
    bool hasGroupWithoutParticipants() const { return sample.hasGroupWithoutParticipants(); }
    std::int32_t getSmallestGroupSize() const { return sample.getSmallestGroupSize(); }
    RunSize estimateRunSize(const SimulationParameters& parameters, bool drawsSummaries) const
    {
        return sample.estimateRunSize(parameters, drawsSummaries);
    }

    // The simulation worker (see SimulationWorker).

    void simulate(SimulationParameters parameters, Preferences preferences, SimulationPhase& phase,
                  std::int32_t* status)
    {
        // The engine's thread index is its worker's number in the run.
        worker.simulate(parameters, preferences, phase, threadIndex, status);
    }
    void resetRunFlags() { worker.resetRunFlags(); }
    void requestAbort() { worker.requestAbort(); }
    bool isFinished() const { return worker.isFinished(); }
    std::int32_t getProgressPosition() const { return worker.getProgressPosition(); }
    std::int32_t getSignificantCount() const { return worker.getSignificantCount(); }
    bool isObservedSampleSignificant() const { return worker.isObservedSampleSignificant(); }
    const LookCounts& getLookCounts() const { return worker.getLookCounts(); }

    SampleGenerator& getGenerator() { return generator; }
    SummarySampler& getSummarySampler() { return summarySampler; }
    const Sample& getSample() const { return sample; }
    const YMatrix& getY() const { return sample.getY(); }
    const RealMatrix& getX() const { return sample.getX(); }
    const std::vector<int>& getGroupStart() const { return sample.getGroupStart(); }
    const RealMatrix& getErrorCovariance() const { return model.getErrorCovariance(); }

private:
    LapackWorkspace lapack;
    std::int32_t threadIndex;
    Sample sample;
    /// Draws into the sample's view; refers to its Y and to lapack.
    SampleGenerator generator;
    /// Draws summaries through the generator's Mersenne Twister.
    SummarySampler summarySampler;
    LinearModel model;
    Population population;
    SimulationWorker worker;
    /// The name of the current effect (the accessor effectName returns a copy).
    std::string effectNameText;
};
