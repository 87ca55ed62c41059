#include "simulation/SimulationRun.h"

#include "simulation/PhysicalMemory.h"
#include "simulation/ProportionEstimate.h"

#include <boost/ref.hpp>

#include <algorithm>
#include <cassert>
#include <charconv>
#include <chrono>
#include <span>
#include <thread>
#include <utility>

namespace {

/// The front end's pause between two polls of runSimulation: short against a run, long
/// enough that the waiting thread takes no noticeable processor time from the workers.
constexpr std::chrono::milliseconds POLL_INTERVAL(10);

/// The phases of a run, a number of every block's seed sequence: the null run of a
/// calibration draws other passes than the run proper with the same seed.
constexpr std::uint32_t MAIN_PHASE = 0;
constexpr std::uint32_t NULL_PHASE = 1;

const char* const EMPTY_GROUP_MESSAGE =
    "A combination of the group variables has no participants. Every group combination "
    "needs participants for a simulation.\n\nSimulation not started.";
const char* const INVALID_CORRELATION_MESSAGE =
    "Invalid correlation matrix, probably due to insufficient number of participants per "
    "group.\n\nSimulation aborted.";
const char* const NOT_FINITE_MESSAGE =
    "The simulated data cannot be computed: their values, or their sums of squares, are not "
    "finite numbers. The means or SDs of the population are too large in magnitude.\n\n"
    "Simulation aborted.";
const char* const EXHAUSTED_FILE_MESSAGE =
    "The random-numbers file you specified does not contain (enough) random numbers.\n\n"
    "Simulation aborted.";
const char* const UNREADABLE_FILE_MESSAGE =
    "The random-numbers file you specified holds a word of more than 64 characters, which is "
    "no number.\n\nSimulation aborted.";
const char* const OUT_OF_MEMORY_MESSAGE =
    "The simulation ran out of memory.\n\nSimulation aborted.";
const char* const NO_CALIBRATED_ALPHA_MESSAGE =
    "The critical alpha cannot be calibrated: too few passes of the null simulation had a "
    "look that could be computed.\n\nSimulation aborted.";

/// The group of a run in this process alone; it has no state, so all such runs share it.
ProcessGroup& thisProcessAlone()
{
    static SingleProcess alone;
    return alone;
}

/// A failure as one process hands it to the others: "outcome status message".
std::string packFailure(const SimulationResult& result)
{
    return std::to_string(static_cast<int>(result.outcome)) + ' ' + std::to_string(result.status) +
           ' ' + result.message;
}

void unpackFailure(const std::string& packed, SimulationResult& result)
{
    int outcome = 0;
    const char* const end = packed.data() + packed.size();
    auto [afterOutcome, outcomeError] = std::from_chars(packed.data(), end, outcome);
    auto [afterStatus, statusError] = std::from_chars(afterOutcome + 1, end, result.status);
    assert(outcomeError == std::errc() && statusError == std::errc());
    result.outcome = static_cast<SimulationOutcome>(outcome);
    result.message.assign(afterStatus + 1, end);
}

} // namespace

SimulationRun::SimulationRun(std::vector<Anova*> pool, MessageSink& messageSink,
                             DecimalSeparator userSeparator)
    : SimulationRun(std::move(pool), messageSink, userSeparator, thisProcessAlone())
{
}

SimulationRun::SimulationRun(std::vector<Anova*> pool, MessageSink& messageSink,
                             DecimalSeparator userSeparator, ProcessGroup& group)
    : engines(std::move(pool)), messages(messageSink), processes(group), separator(userSeparator),
      memoryLimit(physicalMemoryBytes()), activeEngines(static_cast<std::int32_t>(engines.size()))
{
    assert(!engines.empty());
}

SimulationRun::~SimulationRun()
{
    if (running) {
        abort();
        joinWorkers();
    }
}

bool SimulationRun::start(SimulationParameters& parameters, const Preferences& preferences)
{
    assert(!running);
    lastResult = SimulationResult();
    // Another machine may lack a file or memory that this one has.
    if (adoptFirstFailure(!admit(parameters, preferences)))
        return false;
    lastResult.actualPasses = parameters.numberOfPasses;
    if (parameters.calibrateAlpha != 0)
        parameters.recordLooks = 1;
    recordLookSizes(parameters);
    calibrating = parameters.calibrateAlpha != 0;
    mainParameters = parameters;
    mainPreferences = preferences;
    passesEnded = 0;
    aborted = false;
    if (calibrating) {
        // The null run of the calibration: the tested effect removed as for an alpha error
        // simulation, whatever the run proper simulates, and every pass run.
        SimulationParameters null = parameters;
        null.simulateAlpha = 1;
        null.targetHalfWidth = 0.0;
        startPhase(null, NULL_PHASE);
    } else {
        startPhase(parameters, MAIN_PHASE);
    }
    return true;
}

bool SimulationRun::admit(const SimulationParameters& parameters, const Preferences& preferences)
{
    if (hasGroupWithoutParticipants()) {
        fail(SimulationOutcome::Refused, StatusOk, EMPTY_GROUP_MESSAGE);
        return false;
    }
    try {
        return fitRun(parameters, preferences) && checkPopulation(parameters) &&
               openRandomNumbersFiles(preferences);
    } catch (const std::bad_alloc&) {
        refuse("The simulation does not fit into the memory that is free.");
        return false;
    }
}

void SimulationRun::startPhase(const SimulationParameters& parameters, std::uint32_t phaseNumber)
{
    phase.emplace(parameters.numberOfPasses, parameters.seed, phaseNumber,
                  parameters.targetHalfWidth > 0.0 ? ROUND_BLOCKS : SimulationPhase::ALL_BLOCKS);
    phase->shareAmongProcesses(processes.rank(), processes.size());
    if (phaseNumber == NULL_PHASE)
        phase->keepSmallestPs();
    // Each worker reads on in its own file: a fixed share of the blocks repeats the run.
    if (mainPreferences.useMersenneTwister == 0)
        phase->assignBlocksByWorker(activeEngines);
    phaseParameters = parameters;
    phaseSignificant = 0;
    phaseLookCounts = LookCounts();
    startWorkers();
}

void SimulationRun::recordLookSizes(const SimulationParameters& parameters)
{
    lastResult.criticalAlpha = parameters.criticalAlpha;
    if (parameters.recordLooks == 0)
        return;
    const Anova& engine = *engines.front();
    const std::vector<int>& starts = engine.getGroupStart();
    for (std::size_t g = 0; g < starts.size(); ++g) {
        const std::int64_t end = g + 1 < starts.size() ? starts[g + 1] : engine.getY().getRows();
        lastResult.firstLookGroupSizes.push_back(parameters.replaceOriginalMatrix != 0
                                                     ? parameters.participantsPerGroup
                                                     : end - starts[g]);
    }
    lastResult.participantsPerInspection = parameters.participantsPerInspection;
}

bool SimulationRun::hasGroupWithoutParticipants() const
{
    return std::any_of(engines.begin(), engines.end(),
                       [](const Anova* engine) { return engine->hasGroupWithoutParticipants(); });
}

void SimulationRun::startWorkers()
{
    // The statuses are allocated before the first worker starts and not resized while any
    // runs, so each worker's pointer stays valid.
    const auto used = static_cast<std::size_t>(activeEngines);
    statuses.assign(used, StatusOk);
    for (std::size_t i = 0; i < used; ++i) {
        engines[i]->resetRunFlags();
    }
    running = true;
    workers.reserve(used);
    try {
        for (std::size_t i = 0; i < used; ++i) {
            // boost::thread copies the arguments, so each worker has its own parameters and
            // preferences; the phase is shared.
            workers.emplace_back(&Anova::simulate, engines[i], phaseParameters, mainPreferences,
                                 boost::ref(*phase), &statuses[i]);
        }
    } catch (const boost::thread_resource_error&) {
        // The engines without a worker count as finished with the error, so that the run
        // ends as the started workers stop.
        for (std::size_t i = workers.size(); i < used; ++i)
            statuses[i] = StatusOutOfMemory;
        activeEngines = static_cast<std::int32_t>(workers.size());
        abort();
    }
}

bool SimulationRun::poll()
{
    if (!running) {
        return true;
    }
    const auto used = engines.begin() + activeEngines;
    const bool allFinished = std::all_of(engines.begin(), used,
                                         [](const Anova* engine) { return engine->isFinished(); });
    if (!allFinished) {
        return false;
    }
    endRound();
    return !running;
}

void SimulationRun::abort()
{
    if (!running) {
        return;
    }
    aborted = true;
    for (std::int32_t i = 0; i < activeEngines; ++i) {
        engines[static_cast<std::size_t>(i)]->requestAbort();
    }
}

const SimulationResult& SimulationRun::runSimulation(SimulationParameters& parameters,
                                                     const Preferences& preferences,
                                                     const std::function<void()>& whileRunning)
{
    if (!start(parameters, preferences)) {
        return lastResult;
    }
    while (!poll()) {
        whileRunning();
        std::this_thread::sleep_for(POLL_INTERVAL);
    }
    return lastResult;
}

std::int32_t SimulationRun::progressOf(std::int32_t i) const
{
    return engines[static_cast<std::size_t>(i)]->getProgressPosition();
}

std::int32_t SimulationRun::evenShareOfPasses() const
{
    return static_cast<std::int32_t>(
        (std::int64_t{mainParameters.numberOfPasses} + activeEngines - 1) / activeEngines);
}

std::int64_t SimulationRun::passesPlanned() const
{
    const std::int64_t passes = SimulationPhase::passesOfProcess(
        mainParameters.numberOfPasses, processes.rank(), processes.size());
    return mainParameters.calibrateAlpha != 0 ? 2 * passes : passes;
}

std::int64_t SimulationRun::passesDone() const
{
    std::int64_t done = passesEnded;
    // The workers' progress of an ended round is in passesEnded already.
    for (std::int32_t i = 0; running && i < activeEngines; ++i)
        done += progressOf(i);
    return done;
}

void SimulationRun::endRound()
{
    joinWorkers();
    if (adoptFirstFailure(reportWorkerError())) {
        return;
    }
    if (isAbortedAnywhere()) {
        lastResult.outcome = SimulationOutcome::Aborted;
        return;
    }
    addUpRound();
    if (!isPhaseDone()) {
        phase->openNextRound();
        startWorkers();
    } else if (calibrating) {
        startMainRun();
    } else {
        completeRun();
    }
}

void SimulationRun::addUpRound()
{
    std::int64_t significant = 0;
    LookCounts looks;
    for (std::int32_t i = 0; i < activeEngines; ++i) {
        const Anova& engine = *engines[static_cast<std::size_t>(i)];
        significant += engine.getSignificantCount();
        looks.add(engine.getLookCounts());
    }
    // Every process records as many looks, or none.
    processes.addUp(std::span(&significant, 1));
    processes.addUp(looks.significantAt);
    processes.addUp(looks.firstSignificantAt);
    phaseSignificant += significant;
    phaseLookCounts.add(looks);
    // Every block of the process's share of the round has run.
    passesEnded += phase->roundPassesOfProcess();
}

bool SimulationRun::isPhaseDone() const
{
    return !phase->hasNextRound() || isPrecisionReached();
}

bool SimulationRun::isPrecisionReached() const
{
    if (phaseParameters.targetHalfWidth <= 0.0)
        return false;
    const ProportionEstimate estimate = estimateProportion(phaseSignificant, phase->openedPasses());
    return (estimate.high - estimate.low) / 2.0 <= phaseParameters.targetHalfWidth;
}

void SimulationRun::completeRun()
{
    lastResult.outcome = SimulationOutcome::Completed;
    // Every engine looked at the same observed sample.
    lastResult.observedSampleSignificant = engines.front()->isObservedSampleSignificant();
    lastResult.actualPasses = phase->openedPasses();
    lastResult.significantTotal = phaseSignificant;
    lastResult.lookCounts = phaseLookCounts;
    lastResult.probability =
        static_cast<double>(phaseSignificant) / static_cast<double>(lastResult.actualPasses);
    lastResult.precisionReached = isPrecisionReached();
}

void SimulationRun::startMainRun()
{
    calibrating = false;
    // Each pass ran on one process; the others kept +infinity in its slot.
    processes.keepSmallest(phase->getSmallestPs());
    lastResult.calibratedAlpha =
        calibrateAlpha(phase->getSmallestPs(), mainParameters.criticalAlpha);
    if (!lastResult.calibratedAlpha) {
        fail(SimulationOutcome::NoCalibratedAlpha, StatusOk, NO_CALIBRATED_ALPHA_MESSAGE);
        return;
    }
    // The run proper draws fresh passes: its blocks are seeded as another phase.
    mainParameters.criticalAlpha = lastResult.calibratedAlpha->value;
    lastResult.criticalAlpha = mainParameters.criticalAlpha;
    startPhase(mainParameters, MAIN_PHASE);
}

bool SimulationRun::reportWorkerError()
{
    for (std::int32_t status : statuses) {
        if (status == StatusInvalidCorrelation) {
            fail(SimulationOutcome::InvalidCorrelation, status, INVALID_CORRELATION_MESSAGE);
            return true;
        }
        if (status == StatusRandomNumbersExhausted) {
            fail(SimulationOutcome::RandomNumbersExhausted, status, EXHAUSTED_FILE_MESSAGE);
            return true;
        }
        if (status == StatusRandomNumbersUnreadable) {
            fail(SimulationOutcome::RandomNumbersUnreadable, status, UNREADABLE_FILE_MESSAGE);
            return true;
        }
        if (status == StatusOutOfMemory) {
            fail(SimulationOutcome::OutOfMemory, status, OUT_OF_MEMORY_MESSAGE);
            return true;
        }
        if (status == StatusNotFinite) {
            fail(SimulationOutcome::NotFinite, status, NOT_FINITE_MESSAGE);
            return true;
        }
    }
    return false;
}

bool SimulationRun::adoptFirstFailure(bool failedHere)
{
    const std::vector<std::int32_t> failed = processes.gather(failedHere ? 1 : 0);
    const auto first = std::find(failed.begin(), failed.end(), 1);
    if (first == failed.end())
        return false;
    const auto origin = static_cast<std::int32_t>(first - failed.begin());
    std::string packed = packFailure(lastResult);
    processes.broadcast(packed, origin);
    if (processes.rank() != origin) {
        unpackFailure(packed, lastResult);
        // Process 0 has shown its own failure already.
        if (processes.rank() == 0)
            messages.showMessage("Error",
                                 "Process " + std::to_string(origin) + ": " + lastResult.message,
                                 MessageIcon::Error);
    }
    return true;
}

bool SimulationRun::isAbortedAnywhere()
{
    const std::vector<std::int32_t> abortedOn = processes.gather(aborted ? 1 : 0);
    return std::find(abortedOn.begin(), abortedOn.end(), 1) != abortedOn.end();
}

void SimulationRun::fail(SimulationOutcome outcome, std::int32_t status, const std::string& message)
{
    lastResult.outcome = outcome;
    lastResult.status = status;
    lastResult.message = message;
    if (processes.rank() == 0)
        messages.showMessage("Error", message, MessageIcon::Error);
}

void SimulationRun::joinWorkers()
{
    // After poll every worker has set finished and only its thread has yet to end; from
    // the destructor the join also waits for the pass in progress.
    for (boost::thread& worker : workers) {
        worker.join();
    }
    workers.clear();
    running = false;
}
