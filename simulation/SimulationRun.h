#pragma once

#include "numeric/DecimalSeparator.h"
#include "platform/MessageSink.h"
#include "simulation/ProcessGroup.h"
#include "simulation/SimulationResult.h"
#include "stats/Anova.h"
#include "stats/Preferences.h"
#include "stats/SimulationParameters.h"
#include "stats/SimulationPhase.h"

#include <boost/thread/thread.hpp>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

/// One simulation run over the engine pool, headless: cuts the passes into blocks
/// (SimulationPhase), starts one worker thread per engine (each runs Anova::simulate on its
/// own engine and takes blocks until none is left), lets the front end poll progress and
/// the end of the run and abort it, and finally reports the first worker error or adds the
/// significant passes up into the probability. With the Mersenne Twister every block draws
/// from the run seed and its own number alone, so a seed gives the same counts on any
/// number of threads; random-numbers files, one per thread, do not. The desktop
/// window drives it from its event loop (runSimulation with an event-processing callback,
/// or start and a timer calling poll); the command line does the same with its progress
/// display and Ctrl+C.
///
/// A run may be spread over a ProcessGroup: then every process makes its own run over its
/// own engines with the same parameters, runs its share of each round's blocks, and the
/// processes combine their counts after every round, so that each ends with the counts of
/// the whole run. They agree on every decision: a refusal or an error on one process fails
/// the run on all, with the message of the first such process in rank order, which process
/// 0 shows; an abort on one aborts all. The counts are those of a single process.
///
/// Threads: every operation runs on the front end's thread. While a run is in progress each
/// engine belongs to its worker: the run touches only the engines' atomic run flags, and
/// reads the counts, statuses and the phase's smallest ps after every engine reports
/// finished. The workers share the phase's block counter. A worker never waits for the
/// front end. The engines and the message sink must outlive the run; destroying a
/// run that is still in progress aborts it and waits for its workers.
class SimulationRun {
public:
    /// Worker i runs on engines[i]. Messages of the run go to messages; the random-numbers
    /// files are read with separator.
    SimulationRun(std::vector<Anova*> engines, MessageSink& messages, DecimalSeparator separator);
    /// A run that is one of processes' runs; processes must outlive it.
    SimulationRun(std::vector<Anova*> engines, MessageSink& messages, DecimalSeparator separator,
                  ProcessGroup& processes);
    SimulationRun(const SimulationRun&) = delete;
    SimulationRun& operator=(const SimulationRun&) = delete;
    ~SimulationRun();

    /// A run with a target half-width goes in rounds of this many blocks: the precision is
    /// judged after whole rounds only, so that the passes run, like the counts, do not
    /// depend on the number of threads.
    static constexpr std::int64_t ROUND_BLOCKS = 16;
    /// The most looks (first sample and inspections) a run may record.
    static constexpr std::int32_t MAX_RECORDED_LOOKS = 10000;

    /// Starts a run. Before any worker starts (and before the run allocates anything but
    /// engine 0's population), a run is refused with a message (false) when a group
    /// combination has no participants; when a matrix of the run would exceed
    /// RunSize::MATRIX_ENTRY_LIMIT entries, a look RunSize::PARTICIPANT_LIMIT participants,
    /// or one engine's memory the memory limit, or it
    /// would record more than MAX_RECORDED_LOOKS looks; when
    /// the estimated population has a group of one participant, or the population (estimated
    /// or custom) cannot be simulated; or when a random-numbers file cannot be opened. When
    /// all engines together would exceed the memory limit, the run uses only as many as fit,
    /// with a notice. Otherwise every used engine's run flags are reset, and worker i starts
    /// with copies of parameters and preferences. A calibration sets
    /// parameters.recordLooks. Not while a run is in progress.
    bool start(SimulationParameters& parameters, const Preferences& preferences);
    /// The memory a run may use in bytes, the machine's physical memory from the start;
    /// 0 for no limit.
    void setMemoryLimit(std::int64_t bytes) { memoryLimit = bytes; }
    /// True when no run is in progress. The first call after the last worker has finished
    /// ends the run: it reports the first worker error in thread order (message, no
    /// probability), or an abort, or adds the counts up; result() then holds the outcome.
    /// A run that calibrates its critical alpha (parameters.calibrateAlpha) has two phases:
    /// when the null run ends, the call calibrates the alpha from its passes' smallest ps
    /// and starts the run proper with it on the same engines, and the run goes on. A run
    /// with a target half-width likewise starts its next round until the target or the
    /// passes are reached.
    bool poll();
    /// Asks every worker to stop before its next look; the run then ends as aborted.
    void abort();
    /// start, then whileRunning() between short sleeps until poll() is true; returns the
    /// result. whileRunning may call abort().
    const SimulationResult& runSimulation(SimulationParameters& parameters,
                                          const Preferences& preferences,
                                          const std::function<void()>& whileRunning);

    bool isRunning() const { return running; }
    /// The threads of the current or last run: every engine, unless the memory limit
    /// allowed fewer.
    std::int32_t threadCount() const { return activeEngines; }
    /// The passes of a phase over its threads, rounded up: what a thread runs when all go
    /// at the same pace, the scale of its progress. A thread takes the next block when it
    /// is free, so it may run more or fewer.
    std::int32_t evenShareOfPasses() const;
    /// The passes worker i has run in the current round, published every 100 passes.
    std::int32_t progressOf(std::int32_t i) const;
    /// The passes of the current or last run over all threads of this process, including
    /// the null run of a calibration (with a target half-width, the most it may run), and
    /// how many of them the workers have run.
    std::int64_t passesPlanned() const;
    std::int64_t passesDone() const;
    /// True while the null run of a calibration is in progress.
    bool isCalibrating() const { return running && calibrating; }
    /// The result of the last run that ended.
    const SimulationResult& result() const { return lastResult; }

private:
    bool hasGroupWithoutParticipants() const;
    /// The checks of start, in its order; false after a refusal.
    bool admit(const SimulationParameters& parameters, const Preferences& preferences);
    // Each refuses the run with its message (false).
    /// The matrix entry limit, the participant limit and the memory limit of the run as
    /// preferences draw it; sets activeEngines.
    bool fitRun(const SimulationParameters& parameters, const Preferences& preferences);
    /// Prepares engine 0 and checks its population.
    bool checkPopulation(const SimulationParameters& parameters);
    /// Opens the random-numbers file of every used engine, which keeps it open for its
    /// worker.
    bool openRandomNumbersFiles(const Preferences& preferences);
    void refuse(const std::string& reason);
    /// Starts a phase of the run: the null run of a calibration (phaseNumber NULL_PHASE),
    /// which keeps every pass's smallest p, or the run proper (MAIN_PHASE).
    void startPhase(const SimulationParameters& parameters, std::uint32_t phaseNumber);
    /// Starts the workers of the phase's round with phaseParameters and mainPreferences.
    void startWorkers();
    /// Joins the workers; then fails the run, ends it as aborted, starts the next round or
    /// phase, or fills lastResult.
    void endRound();
    /// The outcome and message of the first error status in thread order; false for none.
    bool reportWorkerError();
    /// Collective: when a process failed the run (failedHere on this one), every process
    /// takes on the outcome and message of the first in rank order, and true.
    bool adoptFirstFailure(bool failedHere);
    /// Collective: whether a process was aborted.
    bool isAbortedAnywhere();
    /// Adds the counts of the ended round to the phase's.
    void addUpRound();
    /// Whether the phase has run enough rounds: all its blocks, or the target half-width
    /// reached.
    bool isPhaseDone() const;
    bool isPrecisionReached() const;
    void completeRun();
    /// The participants per group at the first look and per inspection, for a run that
    /// records its looks, and the critical alpha.
    void recordLookSizes(const SimulationParameters& parameters);
    /// Calibrates the critical alpha from the ended null run and starts the run proper
    /// with it; fails the run when there is none.
    void startMainRun();
    void fail(SimulationOutcome outcome, std::int32_t status, const std::string& message);
    void joinWorkers();

    std::vector<Anova*> engines;
    MessageSink& messages;
    ProcessGroup& processes;
    DecimalSeparator separator;
    /// One per engine while a run is in progress.
    std::vector<boost::thread> workers;
    /// Status i is written by worker i only and read here after it has finished.
    std::vector<std::int32_t> statuses;
    /// The phase in progress, or the last one.
    std::optional<SimulationPhase> phase;
    /// The parameters of its workers.
    SimulationParameters phaseParameters;
    /// The counts of the phase's ended rounds.
    std::int64_t phaseSignificant = 0;
    LookCounts phaseLookCounts;
    /// The passes of the run's ended rounds, over both phases.
    std::int64_t passesEnded = 0;
    std::int64_t memoryLimit = 0;
    /// The first activeEngines engines run; the others stay idle.
    std::int32_t activeEngines = 0;
    bool running = false;
    bool aborted = false;
    /// While the null run of a calibration is in progress.
    bool calibrating = false;
    /// The run proper, kept for the start after the calibration.
    SimulationParameters mainParameters;
    Preferences mainPreferences;
    SimulationResult lastResult;
};
