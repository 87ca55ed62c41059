#include "stats/SimulationWorker.h"

#include "stats/AnalysisIndex.h"
#include "stats/SimulationStatus.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>
#include <new>

namespace {

/// The worker publishes its passes every this many.
constexpr std::int32_t PROGRESS_STEP = 100;

} // namespace

SimulationWorker::SimulationWorker(Sample& newSample, LinearModel& newModel,
                                   Population& newPopulation, SampleGenerator& newGenerator,
                                   SummarySampler& newSummary)
    : sample(newSample), model(newModel), population(newPopulation), generator(newGenerator),
      summary(newSummary)
{
}

void SimulationWorker::saveBase()
{
    sample.saveBase();
    model.saveErrorCovariance();
    if (summarising) {
        summary.saveBase(sample);
    }
}

void SimulationWorker::restoreBase()
{
    if (summarising) {
        summary.restoreBase();
    } else {
        sample.restoreBase();
    }
    model.restoreErrorCovariance();
}

void SimulationWorker::restoreBaseAfterFailure()
{
    if (!sample.hasBase()) {
        return; // the data were not changed yet
    }
    try {
        restoreBase();
    } catch (const std::bad_alloc&) {
        // Not even the observed sample fits any more: the engine keeps no sample, and the
        // next setDesign gives it one again. Y and X are emptied so that nothing reads a
        // half-restored sample.
        sample.clear();
    }
}

void SimulationWorker::resetRunFlags()
{
    finished.store(false, std::memory_order_relaxed);
    abortRequested.store(false, std::memory_order_relaxed);
    progress.store(0, std::memory_order_relaxed);
}

void SimulationWorker::simulate(SimulationParameters parameters, Preferences preferences,
                                SimulationPhase& phase, std::int32_t workerIndex,
                                std::int32_t* status)
{
    significantCount = 0;
    observedSampleSignificant = false;
    lookCounts = LookCounts();
    // The workers' statuses lie side by side in the front end's memory; the status of the
    // run is kept here and written once at the end, so that the workers do not contend for
    // that cache line on every sample.
    std::int32_t runStatus = StatusOk;
    // Empty until runPasses saves this run's base, so that a failure before cannot restore
    // the base of an earlier run.
    sample.forgetBase();
    // A look reads one p; the results table, computed again after the run, shows them all.
    model.setNeededAnalyses(
        LinearModel::Analyses().set(static_cast<std::size_t>(parameters.analysisIndex)));
    try {
        generator.setPreferences(preferences);
        summarising = preferences.drawsSummaries();
        // Nothing may read from a file that could not be opened: the run ends as if the file
        // had run out, whether or not it would have needed a single number.
        if (!generator.hasRandomSource()) {
            runStatus = StatusRandomNumbersExhausted;
        } else {
            [[maybe_unused]] const bool prepared =
                population.prepare(parameters, sample, model, generator);
            assert(prepared); // the run control refuses a group without participants
            runPasses(parameters, phase, workerIndex, preferences.useMersenneTwister != 0,
                      &runStatus);
        }
    } catch (const std::bad_alloc&) {
        // The run control estimated the run to fit; the machine may still refuse memory that
        // other programs hold.
        runStatus = StatusOutOfMemory;
        restoreBaseAfterFailure();
    }
    summarising = false;
    model.setNeededAnalyses(LinearModel::allAnalyses());
    *status = runStatus;
    finished.store(true, std::memory_order_release);
}

void SimulationWorker::runPasses(const SimulationParameters& parameters, SimulationPhase& phase,
                                 std::int32_t workerIndex, bool seedsBlocks, std::int32_t* status)
{
    sample.buildSampleView(-1);
    saveBase();
    if (!setPopulation()) {
        *status = StatusInvalidCorrelation;
        return;
    }
    const double& p = getSelectedP(parameters.analysisIndex);
    if (parameters.recordLooks != 0) {
        lookCounts.reset(parameters.maxAdditionalInspections + 1);
    }
    assert(!phase.keepsSmallestPs() || parameters.recordLooks != 0);
    // Without a replaced sample the first look of every pass is the observed sample itself,
    // so its result is the same in every pass.
    const double observedP = parameters.replaceOriginalMatrix == 0
                                 ? computeLook(p)
                                 : std::numeric_limits<double>::infinity();
    observedSampleSignificant = observedP <= parameters.criticalAlpha;
    std::int32_t done = 0;
    while (const std::optional<SimulationPhase::Block> block = phase.take(workerIndex)) {
        if (seedsBlocks) {
            std::seed_seq sequence = phase.seedOf(*block);
            generator.seed(sequence);
        }
        for (std::int64_t pass = block->firstPass; pass < block->firstPass + block->passes;
             ++pass) {
            restoreBase();
            if (abortRequested.load(std::memory_order_relaxed) ||
                !runPass(parameters, pass, phase, p, observedP, status)) {
                restoreBase();
                return;
            }
            if (++done % PROGRESS_STEP == 0) {
                progress.store(done, std::memory_order_relaxed);
            }
        }
    }
    restoreBase();
}

bool SimulationWorker::runPass(const SimulationParameters& parameters, std::int64_t pass,
                               SimulationPhase& phase, const double& p, double observedP,
                               std::int32_t* status)
{
    const bool recording = parameters.recordLooks != 0;
    std::int32_t firstSignificantLook = -1;
    double smallestP = std::numeric_limits<double>::infinity();
    const auto takeLook = [&](std::int32_t look, double lookP) {
        const bool significant = lookP <= parameters.criticalAlpha;
        if (significant && firstSignificantLook < 0) {
            firstSignificantLook = look;
        }
        if (recording) {
            if (significant) {
                ++lookCounts.significantAt[static_cast<std::size_t>(look)];
            }
            smallestP = std::min(smallestP, lookP);
        }
    };
    double firstP = observedP;
    if (parameters.replaceOriginalMatrix != 0) {
        if (!drawNewSample(parameters.participantsPerGroup, status)) {
            return false;
        }
        firstP = computeLook(p);
        if (lookOverflowed(status)) {
            return false;
        }
    }
    takeLook(0, firstP);
    // Without recording, a pass stops at its first significant look.
    for (std::int32_t inspection = 1; (recording || firstSignificantLook < 0) &&
                                      inspection <= parameters.maxAdditionalInspections;
         ++inspection) {
        // A pass of many looks can take long; an abort ends it between two looks.
        if (abortRequested.load(std::memory_order_relaxed)) {
            return false;
        }
        if (!drawAddedParticipants(parameters.participantsPerInspection, status)) {
            return false;
        }
        const double lookP = computeLook(p);
        if (lookOverflowed(status)) {
            return false;
        }
        takeLook(inspection, lookP);
    }
    if (firstSignificantLook >= 0) {
        ++significantCount;
        if (recording) {
            ++lookCounts.firstSignificantAt[static_cast<std::size_t>(firstSignificantLook)];
        }
    }
    if (phase.keepsSmallestPs()) {
        phase.keepSmallestP(pass, smallestP);
    }
    return true;
}

bool SimulationWorker::setPopulation()
{
    const RealMatrix& means = population.getMeans();
    const RealMatrix& sds = population.getSDs();
    const RealMatrix& correlations = population.getCorrelations();
    // Both factor the same correlations, so they agree on whether they can.
    return generator.setPopulation(means, sds, correlations) &&
           (!summarising || summary.setPopulation(means, sds, correlations));
}

bool SimulationWorker::drawNewSample(std::int32_t perGroup, std::int32_t* status)
{
    if (summarising) {
        *status = summary.drawNewSample(perGroup);
    } else {
        sample.setGroupSize(perGroup);
        *status = generator.generateSample();
    }
    return *status == StatusOk;
}

bool SimulationWorker::drawAddedParticipants(std::int32_t count, std::int32_t* status)
{
    if (summarising) {
        *status = summary.addParticipants(count);
    } else {
        sample.addParticipants(count);
        *status = generator.generateSample();
    }
    return *status == StatusOk;
}

bool SimulationWorker::lookOverflowed(std::int32_t* status)
{
    // Every further sample of the population would overflow as well, so the run ends with
    // the cause instead of counting every look as not significant.
    const ComputeFailure failure = model.getLastFailure();
    if (failure != ComputeFailure::NonFiniteData && failure != ComputeFailure::Overflow) {
        return false;
    }
    *status = StatusNotFinite;
    return true;
}

double SimulationWorker::computeLook(const double& p)
{
    // p is read only after a successful compute. An analysis that is not available (no
    // error degrees of freedom, a singular error matrix) holds a NaN p.
    const bool computed = summarising
                              ? model.computeFromSummary(summary.getMeans(),
                                                         summary.getGroupSizes(), summary.getSscp())
                              : model.compute(sample.getY(), sample.getX());
    if (!computed || std::isnan(p)) {
        return std::numeric_limits<double>::infinity();
    }
    return p;
}

const double& SimulationWorker::getSelectedP(std::int32_t analysisIndex) const
{
    switch (analysisIndex) {
    case AnalysisAnovaUncorrected: return model.getUnivariateTest().p;
    case AnalysisAnovaGreenhouseGeisser: return model.getUnivariateTest().ggP;
    case AnalysisPillai: return model.getPillaiTest().p;
    case AnalysisWilks: return model.getWilksTest().p;
    case AnalysisHotelling: return model.getHotellingTest().p;
    case AnalysisAnovaHuynhFeldt: return model.getHuynhFeldtTest().p;
    case AnalysisAnovaLowerBound: return model.getLowerBoundTest().p;
    default: assert(analysisIndex == AnalysisRoy); return model.getRoyTest().p;
    }
}
