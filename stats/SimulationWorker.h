#pragma once

#include "stats/LinearModel.h"
#include "stats/LookCounts.h"
#include "stats/Population.h"
#include "stats/Preferences.h"
#include "stats/Sample.h"
#include "stats/SampleGenerator.h"
#include "stats/SimulationParameters.h"
#include "stats/SimulationPhase.h"
#include "stats/SummarySampler.h"

#include <atomic>
#include <cstdint>
#include <vector>

/// The Monte-Carlo worker of one engine: it draws samples from the population, computes the
/// model on each and counts the significant ones, also over repeated inspections that add
/// participants to every group. A run whose preferences ask for summaries (the Mersenne
/// Twister with the summary sampler) draws the samples' sufficient statistics through the
/// SummarySampler and leaves the sample's rows as they are; any other run draws rows into
/// the sample through the SampleGenerator. It works on the parts it is given, which must
/// outlive it.
class SimulationWorker {
public:
    SimulationWorker(Sample& sample, LinearModel& model, Population& population,
                     SampleGenerator& generator, SummarySampler& summary);
    SimulationWorker(const SimulationWorker&) = delete;
    SimulationWorker& operator=(const SimulationWorker&) = delete;

    /// The worker body of one run, on the engine's worker thread, with its own copies of
    /// the parameters and preferences: sets the random source, prepares the population,
    /// saves the base and runs the passes of the blocks it takes from phase as worker
    /// workerIndex, the phase shared by the workers of the run, until none is left. With the
    /// Mersenne Twister the generator is seeded afresh for every block; a random-numbers file is
    /// read on. A pass counts when one of its looks is significant (compute succeeds, the analysis
    /// is available and p <= criticalAlpha); a look whose compute fails counts as not significant.
    /// A failed sample generation ends the run, and so does a sample whose compute fails on
    /// non-finite numbers (StatusNotFinite); *status receives the result of the last one (StatusOk
    /// after a run without samples). A random-numbers file that cannot be opened ends the run
    /// before the first pass with StatusRandomNumbersExhausted, correlations that are not positive
    /// definite with StatusInvalidCorrelation, a failed allocation anywhere in the run with
    /// StatusOutOfMemory. Every end restores the base, writes *status and then sets finished.
    /// Requires every group to have participants.
    void simulate(SimulationParameters parameters, Preferences preferences, SimulationPhase& phase,
                  std::int32_t workerIndex, std::int32_t* status);
    /// finished and abortRequested false, progress 0; by the front end before the worker
    /// starts.
    void resetRunFlags();
    /// Asks the worker to stop before its next look.
    void requestAbort() { abortRequested.store(true, std::memory_order_relaxed); }
    /// True once the worker has made its last access to the engine and the phase; from then
    /// on getSignificantCount, the look counts, the phase's smallest ps and the worker's
    /// status may be read.
    bool isFinished() const { return finished.load(std::memory_order_acquire); }
    /// The passes the worker has run, published at 100, 200, ...
    std::int32_t getProgressPosition() const { return progress.load(std::memory_order_relaxed); }
    /// Significant passes of the last run.
    std::int32_t getSignificantCount() const { return significantCount; }
    /// Whether the last run kept the observed sample (no replacement) and it was already
    /// significant, so that every pass counted for that reason alone.
    bool isObservedSampleSignificant() const { return observedSampleSignificant; }
    /// The per-look counts of the last run that recorded its looks; empty otherwise.
    const LookCounts& getLookCounts() const { return lookCounts; }

    /// Keeps the sample's Y (values only), X and groupStart and the model's S as the base of
    /// every pass; during a run that draws summaries also the summary of the sample.
    void saveBase();
    /// Y, X, S and groupStart := the base; then the sample's view of all rows. During a run
    /// that draws summaries, which leaves the rows alone, the summary and S := the base.
    void restoreBase();
    /// restoreBase after a failed allocation, when this run saved a base; if even that
    /// fails, Y and X are left empty.
    void restoreBaseAfterFailure();

private:
    /// The passes of the blocks this worker takes, from the saved base.
    void runPasses(const SimulationParameters& parameters, SimulationPhase& phase,
                   std::int32_t workerIndex, bool seedsBlocks, std::int32_t* status);
    /// Pass number pass of the phase; false when a sample generation failed or an abort was
    /// requested, which ends the run. Its smallest p over the looks goes into the phase's slot when
    /// the phase keeps them: +infinity for a pass none of whose looks could be computed.
    bool runPass(const SimulationParameters& parameters, std::int64_t pass, SimulationPhase& phase,
                 const double& p, double observedP, std::int32_t* status);
    /// The population to the sampler of the run; false when its correlations are not
    /// positive definite.
    bool setPopulation();
    /// A new sample of perGroup participants in every group; false (with *status) when it
    /// failed.
    bool drawNewSample(std::int32_t perGroup, std::int32_t* status);
    /// count more participants in every group; false (with *status) when it failed.
    bool drawAddedParticipants(std::int32_t count, std::int32_t* status);
    /// compute (on the summary or the rows, as drawn), then the p of the selected analysis;
    /// +infinity, which no critical alpha takes for significant, when the compute failed
    /// (whatever the tests still hold from an earlier sample) or the analysis is not
    /// available.
    double computeLook(const double& p);
    /// Whether the last look's compute failed on non-finite numbers; then *status :=
    /// StatusNotFinite, which ends the run.
    bool lookOverflowed(std::int32_t* status);
    /// The p field of the test that analysisIndex selects.
    const double& getSelectedP(std::int32_t analysisIndex) const;

    Sample& sample;
    LinearModel& model;
    Population& population;
    SampleGenerator& generator;
    SummarySampler& summary;
    /// Whether the current run draws summaries; false outside a run.
    bool summarising = false;

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
    LookCounts lookCounts;
};
