// The checks a simulation run passes before any worker starts: its size against the matrix
// entry limit and the memory limit, its population, its random-numbers files.
#include "simulation/SimulationRun.h"

#include "simulation/PopulationRefusal.h"
#include "stats/PopulationCheck.h"

#include <algorithm>
#include <cassert>
#include <string>

namespace {

constexpr std::int64_t MEBIBYTE = 1024 * 1024;

std::string mebibytes(std::int64_t bytes)
{
    return std::to_string((bytes + MEBIBYTE - 1) / MEBIBYTE) + " MB";
}

} // namespace

void SimulationRun::refuse(const std::string& reason)
{
    fail(SimulationOutcome::Refused, StatusOk, reason + "\n\nSimulation not started.");
}

bool SimulationRun::fitRun(const SimulationParameters& parameters, const Preferences& preferences)
{
    const bool recording = parameters.recordLooks != 0 || parameters.calibrateAlpha != 0;
    if (recording && parameters.maxAdditionalInspections >= MAX_RECORDED_LOOKS) {
        refuse("Every look can be recorded for at most " + std::to_string(MAX_RECORDED_LOOKS) +
               " looks; this run has " +
               std::to_string(std::int64_t{parameters.maxAdditionalInspections} + 1) + ".");
        return false;
    }
    // Every engine holds the same design, so engine 0 speaks for all.
    const RunSize size = engines.front()->estimateRunSize(parameters, preferences.drawsSummaries());
    // The null run of a calibration keeps one double per pass, shared by the threads.
    const std::int64_t shared =
        parameters.calibrateAlpha != 0
            ? static_cast<std::int64_t>(sizeof(double)) * parameters.numberOfPasses
            : 0;
    if (!size.fitsMatrices()) {
        refuse("The simulation would need a matrix of " + std::to_string(size.largestMatrix) +
               " entries (" + std::to_string(size.participants) +
               " participants at the last look); the limit is " +
               std::to_string(RunSize::MATRIX_ENTRY_LIMIT) + " entries per matrix.");
        return false;
    }
    // Summaries need no matrix of the participants, but are counted in ints all the same.
    if (!size.fitsParticipants()) {
        refuse("The simulation would have " + std::to_string(size.participants) +
               " participants at the last look; the limit is " +
               std::to_string(RunSize::PARTICIPANT_LIMIT) + ".");
        return false;
    }
    const auto all = static_cast<std::int64_t>(engines.size());
    const std::int64_t fitting =
        memoryLimit > 0 ? std::min(all, std::max<std::int64_t>(memoryLimit - shared, 0) /
                                            std::max<std::int64_t>(size.bytes, 1))
                        : all;
    if (fitting < 1) {
        const std::string calibration =
            shared > 0 ? " and " + mebibytes(shared) + " for the p values of the null run" : "";
        refuse("The simulation would need about " + mebibytes(size.bytes) + " per thread" +
               calibration + ", more than the machine's memory of " + mebibytes(memoryLimit) + ".");
        return false;
    }
    activeEngines = static_cast<std::int32_t>(fitting);
    if (fitting < all) {
        messages.showMessage(
            "Notice",
            "The simulation needs about " + mebibytes(size.bytes) + " per thread; " +
                std::to_string(all) + " threads would exceed the machine's memory of " +
                mebibytes(memoryLimit) + ", so it runs on " + std::to_string(fitting) + " threads.",
            MessageIcon::Information);
    }
    return true;
}

std::optional<std::string> preparePopulation(Anova& engine, const SimulationParameters& parameters)
{
    const bool estimated = parameters.useCustomMatrices == 0;
    if (estimated && engine.getSmallestGroupSize() < 2) {
        return "A combination of the group variables has a single participant, so the standard "
               "deviations of its cells cannot be estimated. Every group combination needs at "
               "least two participants, or custom matrices.";
    }
    [[maybe_unused]] const bool prepared = engine.prepareSimulation(parameters);
    assert(prepared); // every group combination has participants
    RealMatrix means;
    RealMatrix sds;
    RealMatrix correlations;
    engine.exportSimulationMatrices(means, sds, correlations);
    const std::optional<PopulationFault> fault = findPopulationFault(means, sds, correlations);
    if (!fault)
        return std::nullopt;
    return std::string(estimated ? "The population estimated from the data" : "The population") +
           " cannot be simulated. " + populationFaultText(*fault);
}

bool SimulationRun::checkPopulation(const SimulationParameters& parameters)
{
    // Every engine holds the same design and population, so engine 0 speaks for all; each
    // worker prepares its own engine again, to the same result.
    const std::optional<std::string> refusal = preparePopulation(*engines.front(), parameters);
    if (!refusal)
        return true;
    refuse(*refusal);
    return false;
}

bool SimulationRun::openRandomNumbersFiles(const Preferences& preferences)
{
    if (preferences.useMersenneTwister != 0)
        return true;
    for (std::int32_t i = 0; i < activeEngines; ++i) {
        SampleGenerator& generator = engines[static_cast<std::size_t>(i)]->getGenerator();
        generator.setDecimalSeparator(separator);
        generator.setPreferences(preferences);
        if (!generator.hasRandomSource()) {
            refuse(generator.getRandomNumbersFileError());
            return false;
        }
    }
    return true;
}
