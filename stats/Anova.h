#pragma once

#include "numeric/GeneralMatrix.h"
#include "numeric/LapackWorkspace.h"
#include "numeric/RealMatrix.h"
#include "numeric/YMatrix.h"
#include "stats/ComputeFailure.h"
#include "stats/EpsilonCorrection.h"
#include "stats/HotellingTest.h"
#include "stats/MauchlyTest.h"
#include "stats/PillaiTest.h"
#include "stats/Preferences.h"
#include "stats/RoyTest.h"
#include "stats/RunSize.h"
#include "stats/SampleGenerator.h"
#include "stats/SimulationParameters.h"
#include "stats/UnivariateTest.h"
#include "stats/WilksTest.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

/// The statistics engine. It holds one design (within data Y, N x P; cell indicator X,
/// N x G; the design's bookkeeping lists) and one effect (between hypothesis matrix C,
/// q x G; within transformation M, P x t), builds the multivariate linear model of the
/// hypothesis C B M = 0 for the cell means B, runs the eight analyses of the effect through
/// its test objects and tests the sphericity of its error covariance.
///
/// The engine also runs the Monte-Carlo simulation of one analysis of its effect: it
/// estimates a normal population from its data (cell means, with the tested effect removed
/// for an alpha error simulation; SDs; the residual correlations), and its worker draws
/// samples from it through its SampleGenerator, computes them and counts the significant
/// ones, also over repeated inspections that add participants to every group.
///
/// Threads: the main window keeps one engine per worker thread. An engine is used by one
/// thread at a time and shares nothing with other engines: its matrices and tests use its
/// own LAPACK workspace. setDesign and setEffect copy their arguments, so the design may
/// change afterwards without affecting the engine. During a simulation run the engine
/// belongs to its worker thread; the front end touches only the run flags (requestAbort,
/// isFinished, progressPosition) until isFinished() is true, and from then on the engine
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
    /// (entries 0 and 1, one 1 per row), as the Design builds it.
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
    void setEffectName(const std::string& name);
    std::string effectName() const;

    /// Builds the model and runs the tests. Returns false, leaving every test with its
    /// previous results, when the effect cannot be computed at all: a between cell has no
    /// participant (X has a zero column, so XᵀX is singular and its inverse meaningless),
    /// the data or a sum formed from them is not finite, or LAPACK fails; lastFailure says
    /// which. Analyses without error degrees of freedom or with a singular E are not a
    /// failure: their tests report themselves not available.
    bool compute();
    /// Why the last compute failed; ComputeFailure::None after a successful one.
    ComputeFailure lastFailure() const { return failure; }

    const PillaiTest& getPillaiTest() const { return pillaiTest; }
    const WilksTest& getWilksTest() const { return wilksTest; }
    const HotellingTest& getHotellingTest() const { return hotellingTest; }
    const RoyTest& getRoyTest() const { return royTest; }
    /// Both univariate analyses, uncorrected and Greenhouse-Geisser.
    const UnivariateTest& getUnivariateTest() const { return univariateTest; }
    const EpsilonCorrection& getHuynhFeldtTest() const { return huynhFeldtTest; }
    const EpsilonCorrection& getLowerBoundTest() const { return lowerBoundTest; }
    const MauchlyTest& getMauchlyTest() const { return mauchlyTest; }
    std::int32_t getThreadIndex() const { return threadIndex; }

    // The population of a simulation. Variables are 0-based indices (within variables into
    // withinLevels, between variables into betweenLevels); levels are 1-based, and -1
    // stands for any level of its variable.

    /// Estimates the population from the data as they are now: computeCellMeans,
    /// imposeNullHypothesis when simulateAlpha is set, computeCellSDs, the error covariance S
    /// of the current data, computeResidualCorrelations, then the view of all rows and the
    /// generator's data correlations. With useCustomMatrices set and a population already
    /// present, the imported SDs and correlations stay, and the means are the imported ones,
    /// with the tested effect removed when simulateAlpha is set. Returns false, changing
    /// nothing, when a group combination has no participants.
    bool prepareSimulation(const SimulationParameters& parameters);
    /// simulationMeans (G x P) := the cell means of Y; observedMeans keeps them for
    /// effectTerm and marginalMean, so imposing the null hypothesis reads the observed means
    /// whatever it has already changed.
    void computeCellMeans();
    /// Subtracts from every entry (g, c) of simulationMeans the effect term of the tested
    /// effect (withinIndices, betweenIndices) at the levels of cell (g, c). Afterwards the
    /// effect's contrast C B M of the means is 0 and the contrasts of all other effects are
    /// unchanged. Needs computeCellMeans.
    void imposeNullHypothesis();
    /// The term of the effect of the listed variables at the listed levels in the
    /// decomposition of the observed cell means with equal weights for all cells: the
    /// alternating sum, over the subsets T of the variables, of the marginal means with the
    /// variables of T at their levels. 0 for an empty list.
    double effectTerm(const std::vector<int>& withinVariables,
                      const std::vector<int>& withinLevelList,
                      const std::vector<int>& betweenVariables,
                      const std::vector<int>& betweenLevelList) const;
    /// The mean, over the group combinations with the listed between levels, of each
    /// group's mean over the within cells with the listed within levels, from the observed
    /// cell means. Every group weighs the same whatever its size, as in the tests, which
    /// compare unweighted cell means.
    double marginalMean(const std::vector<int>& withinVariables,
                        const std::vector<int>& withinLevelList,
                        const std::vector<int>& betweenVariables,
                        const std::vector<int>& betweenLevelList) const;
    /// simulationSDs (G x P) := each cell's SD about its observed mean (n_g - 1 in the
    /// denominator), or, with homogeneity, everywhere the root of the cell variances
    /// averaged with the weights n_g.
    void computeCellSDs(bool assumeHomogeneity);
    /// simulationCorrelations (P x P) := the correlations of the error covariance S.
    void computeResidualCorrelations();
    /// Copies the three population matrices into the given ones.
    void exportSimulationMatrices(RealMatrix& means, RealMatrix& sds,
                                  RealMatrix& correlations) const;
    /// Copies the given matrices into the population; the means also become the observed
    /// means the null hypothesis is imposed on. Returns false, changing nothing, when their
    /// shapes are not G x P, G x P and P x P.
    bool importSimulationMatrices(const RealMatrix& means, const RealMatrix& sds,
                                  const RealMatrix& correlations);

    // The sample. Group g holds the rows groupStart[g] .. end(g) - 1 of Y and X.

    /// Gives Y the pointer view of G·P columns (column j: group j mod G, within combination
    /// j div G) over all rows of every group (lastRows < 0) or their last lastRows rows. A
    /// shorter group leaves empty (null) places below its rows.
    void buildSampleView(std::int32_t lastRows);
    /// Makes every group exactly size rows long: the first rows of a group stay, rows beyond
    /// size are dropped, new rows (zeros in Y, the group's row in X) are appended. Then the
    /// view of all rows.
    void setGroupSize(std::int32_t size);
    /// Appends count rows to every group as setGroupSize does; the view holds exactly the new
    /// rows.
    void addParticipants(std::int32_t count);
    /// Keeps Y (values only), X, S and groupStart as the base of every pass.
    void saveBase();
    /// Y, X, S and groupStart := the base; then the view of all rows.
    void restoreBase();
    /// restoreBase after a failed allocation, when this run saved a base; if even that
    /// fails, Y and X are left empty.
    void restoreBaseAfterFailure();
    /// Whether the design has no group, or a group combination without participants.
    bool hasGroupWithoutParticipants() const;
    /// The smallest group combination, or -1 without groups.
    std::int32_t smallestGroupSize() const;
    /// The sizes a run with these parameters reaches, from the design's shapes.
    RunSize estimateRunSize(const SimulationParameters& parameters) const;

    // The simulation worker.

    /// The worker body of one run, on the engine's worker thread, with its own copies of
    /// the parameters (numberOfPasses already per thread) and preferences: sets the
    /// random source, prepares the population, saves the base and runs the passes. A pass
    /// counts when one of its looks is significant (compute succeeds, the analysis is
    /// available and p <= criticalAlpha); a look whose compute fails counts as not
    /// significant. A failed sample generation ends the run, and so does a sample whose
    /// compute fails on non-finite numbers (StatusNotFinite); *status receives the result of
    /// the last one (StatusOk after a run without samples). A random-numbers file that cannot
    /// be opened ends the run before the first pass with StatusRandomNumbersExhausted,
    /// correlations that are not positive definite with StatusInvalidCorrelation, a failed
    /// allocation anywhere in the run with StatusOutOfMemory. Every end restores the base,
    /// writes *status and then sets finished. Requires every group to have participants.
    void simulate(SimulationParameters parameters, Preferences preferences, std::int32_t* status);
    /// finished and abortRequested false, progress 0; by the front end before the worker
    /// starts.
    void resetRunFlags();
    /// Asks the worker to stop before its next look.
    void requestAbort() { abortRequested.store(true, std::memory_order_relaxed); }
    /// True once the worker has made its last access to the engine; from then on
    /// getSignificantCount and the worker's status may be read.
    bool isFinished() const { return finished.load(std::memory_order_acquire); }
    /// The pass the worker reached, published at passes 0, 100, 200, ...
    std::int32_t progressPosition() const { return progress.load(std::memory_order_relaxed); }
    /// Significant passes of the last run.
    std::int32_t getSignificantCount() const { return significantCount; }
    /// Whether the last run kept the observed sample (no replacement) and it was already
    /// significant, so that every pass counted for that reason alone.
    bool isObservedSampleSignificant() const { return observedSampleSignificant; }

    SampleGenerator& getGenerator() { return generator; }
    const YMatrix& getY() const { return Y; }
    const RealMatrix& getX() const { return X; }
    const std::vector<int>& getGroupStart() const { return groupStart; }
    const RealMatrix& getErrorCovariance() const { return errorCovariance; }

private:
    ComputeFailure buildModel();
    void computeTests();
    /// NonFiniteData when Y holds an infinity or NaN, else Overflow.
    ComputeFailure nonFiniteCause() const;

    // The steps of buildModel.
    /// n := N and rankX := rank(X), the number of occupied cells.
    void countObservations();
    /// cellOfParticipant and cellSizes of the cell indicator X.
    void locateCells();
    /// B := (XᵀX)⁻¹ XᵀY, keeping (XᵀX)⁻¹ for the hypothesis SSCP.
    void estimateCellMeans();
    /// CBM, q and t.
    void estimateContrast();
    /// H := (CBM)ᵀ (C (XᵀX)⁻¹ Cᵀ)⁺ (CBM); false when the pseudo-inverse fails.
    bool formHypothesisSscp();
    /// S, then E := Mᵀ S M · (N - r); E := 0 (t x t) when N - r is not positive.
    void formErrorSscp();
    /// The bound at or below which an eigenvalue of E is rounding noise of the data.
    double errorFloor() const;
    /// S := (Y - XB)ᵀ(Y - XB) / (N - r).
    void formErrorCovariance();
    /// residuals := Y - X B; dataMagnitude := max |y|.
    void formResiduals();
    /// errorCovariance := RᵀR of the residuals.
    void crossProductOfResiduals();
    /// E⁺ and the rank of E; when E has full rank, H E⁺ and its eigenvalues. Overflow when
    /// H E⁺ is not finite.
    ComputeFailure solveEigenproblem();

    // The steps of the simulation.
    /// The first row after group g.
    std::int32_t groupEnd(std::int32_t g) const;
    std::int32_t groupSize(std::int32_t g) const
    {
        return groupEnd(g) - groupStart[static_cast<std::size_t>(g)];
    }
    /// The mean of observedMeans over the cells in which every variable whose bit is set in
    /// subset (within variables first, then between variables) has its listed level.
    double subsetMean(const std::vector<int>& withinVariables,
                      const std::vector<int>& withinLevelList,
                      const std::vector<int>& betweenVariables,
                      const std::vector<int>& betweenLevelList, std::uint32_t subset) const;
    /// Whether within combination c has the listed levels of the variables selected by
    /// subset (bit k for withinVariables[k]).
    bool withinCellMatches(std::int32_t c, const std::vector<int>& withinVariables,
                           const std::vector<int>& withinLevelList, std::uint32_t subset) const;
    /// The same for group combination g; bit firstBit + k for betweenVariables[k].
    bool groupMatches(std::int32_t g, const std::vector<int>& betweenVariables,
                      const std::vector<int>& betweenLevelList, std::uint32_t subset,
                      std::int32_t firstBit) const;
    /// n, rank(X), B and S of the data as they are now.
    void estimateErrorCovariance();
    /// Rebuilds Y and X with group g sized[g] rows long (see setGroupSize).
    void resizeGroups(const std::vector<int>& sizes);
    /// The passes of a prepared run, from the saved base.
    void runPasses(const SimulationParameters& parameters, std::int32_t* status);
    /// One pass; false when a sample generation failed or an abort was requested, which
    /// ends the run.
    bool runPass(const SimulationParameters& parameters, const double& p, bool observedSignificant,
                 std::int32_t* status);
    /// A new sample into the current view; false (with *status) when it failed.
    bool drawSample(std::int32_t* status);
    /// compute and then p <= criticalAlpha; a failed compute is not significant, whatever
    /// the tests still hold from an earlier sample, and so is an analysis that is not
    /// available.
    bool isSignificantLook(double criticalAlpha, const double& p);
    /// Whether the last look's compute failed on non-finite numbers; then *status :=
    /// StatusNotFinite, which ends the run.
    bool lookOverflowed(std::int32_t* status);
    /// The p field of the test that analysisIndex selects.
    const double& selectedP(std::int32_t analysisIndex) const;

    LapackWorkspace lapack;
    std::int32_t threadIndex;
    YMatrix Y;
    /// Draws into Y's view; refers to Y and lapack.
    SampleGenerator generator;
    RealMatrix X;
    // The population of the simulation: G x P, G x P and P x P.
    RealMatrix simulationMeans;
    RealMatrix simulationSDs;
    RealMatrix simulationCorrelations;
    /// The cell means of Y that the population was estimated from.
    RealMatrix observedMeans;
    // The base of every pass: Y, X, S and groupStart at the start of the run.
    RealMatrix baseY;
    RealMatrix baseX;
    RealMatrix baseCovariance;
    std::vector<int> baseGroupStart;
    // Y and X while groups are resized; exchanged with Y and X afterwards.
    YMatrix regroupedY;
    RealMatrix regroupedX;
    RealMatrix C;
    RealMatrix M;
    RealMatrix cellMeans;
    RealMatrix contrastEstimate;
    RealMatrix errorCovariance;
    RealMatrix hypothesisSscp;
    RealMatrix errorSscp;
    /// H E⁺; overwritten by the eigenvalue routine, so afterwards only its shape is valid.
    RealMatrix hePlus;
    std::vector<int> groupStart;
    std::vector<double> heEigenvalues;
    double n = -99.0;
    double rankX = -99.0;
    double q = -99.0;
    double t = -99.0;
    /// The rank of E (0 without error degrees of freedom), the largest |y| of the data.
    std::int32_t errorRank = -99;
    double dataMagnitude = -99.0;
    ComputeFailure failure = ComputeFailure::None;
    /// The name of the current effect (the accessor effectName returns a copy).
    std::string effectNameText;
    PillaiTest pillaiTest;
    WilksTest wilksTest;
    HotellingTest hotellingTest;
    UnivariateTest univariateTest;
    RoyTest royTest;
    EpsilonCorrection huynhFeldtTest;
    EpsilonCorrection lowerBoundTest;
    MauchlyTest mauchlyTest;
    std::int32_t betweenCount = -99;
    std::int32_t withinCount = -99;
    std::vector<int> betweenLevels;
    std::vector<int> withinLevels;
    GeneralMatrix<int> betweenCombinations;
    /// P x withinCount: one within combination per row.
    GeneralMatrix<int> withinCombinations;
    std::vector<int> withinIndices;
    std::vector<int> betweenIndices;

    // Shared between the worker thread and the front end during a run. The front end
    // writes abortRequested and reads progress while the worker runs; neither orders any
    // other access, so both are relaxed. finished is the worker's last write to the engine
    // (release): once the front end has seen it (acquire) it may read significantCount and
    // the status, and use the engine again. significantCount itself is the worker's only
    // until then.
    std::atomic<bool> abortRequested{false};
    std::atomic<bool> finished{false};
    std::atomic<std::int32_t> progress{0};
    std::int32_t significantCount = 0;
    bool observedSampleSignificant = false;

    // Working values of buildModel, kept as fields so that they are not rebuilt on every
    // compute. cellOfParticipant and cellSizes describe the cell indicator X.
    std::vector<int> cellOfParticipant;
    std::vector<int> cellSizes;
    RealMatrix xtxInverse;
    RealMatrix contrastMeans;
    RealMatrix contrastInverse;
    RealMatrix contrastDispersion;
    RealMatrix dispersionPlus;
    RealMatrix estimateDispersion;
    RealMatrix residuals;
    RealMatrix transformedCovariance;
    RealMatrix errorSscpPlus;
};
