#pragma once

#include "simulation/AlphaCalibration.h"
#include "stats/LookCounts.h"
#include "stats/SimulationStatus.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// How a simulation run ended.
enum class SimulationOutcome {
    /// No run has ended yet.
    None,
    /// Refused before any worker started: a group combination without participants or with
    /// a single one, a population that cannot be simulated, a random-numbers file that
    /// cannot be opened, a run too large for a matrix or for the machine's memory.
    Refused,
    /// Every worker ran all its passes; the probability is the result.
    Completed,
    /// Stopped by abort; the counts of the passes done are not a result.
    Aborted,
    /// A worker found a group's data correlations invalid.
    InvalidCorrelation,
    /// A worker's random-numbers file ran out or could not be opened.
    RandomNumbersExhausted,
    /// A worker's random-numbers file holds a token too long to be a number.
    RandomNumbersUnreadable,
    /// An allocation of a worker failed.
    OutOfMemory,
    /// A worker's sample could not be computed: its numbers or their sums were not finite.
    NotFinite,
    /// The calibration's null run had too few passes with a look that could be computed to
    /// find a critical alpha.
    NoCalibratedAlpha,
};

/// What the front ends say when a completed run kept an observed sample that is already
/// significant.
inline constexpr const char* OBSERVED_SIGNIFICANT_NOTE =
    "The observed sample is already significant, so every pass counts as significant, "
    "whatever its further looks show.";

/// The result of a simulation run as the front ends show it. A run that does not complete
/// carries no probability, so an error never leaves the probability of an earlier run on
/// display. Fields that a run did not reach keep their sentinels.
struct SimulationResult {
    bool hasProbability() const { return outcome == SimulationOutcome::Completed; }

    SimulationOutcome outcome = SimulationOutcome::None;
    /// The first error status in thread order, or StatusOk.
    std::int32_t status = StatusOk;
    /// The passes of the run proper: those asked for, set when the run has started; with a
    /// target half-width, those of the rounds it ran, set when it has completed.
    std::int64_t actualPasses = -99;
    /// Passes with a significant look, over all threads; set for a completed run.
    std::int64_t significantTotal = -99;
    /// significantTotal / actualPasses; set for a completed run.
    double probability = -99.0;
    /// The message shown for a refused run or an error; empty otherwise.
    std::string message;
    /// Set for a completed run that kept the observed sample and found it significant
    /// already: then every pass counts, whatever the later looks would have shown.
    bool observedSampleSignificant = false;
    /// The critical alpha of every look; set for a completed run.
    double criticalAlpha = -99.0;
    /// Set for a completed run that recorded its looks (see LookTable).
    LookCounts lookCounts;
    /// Participants per group combination at the first look; every further look adds
    /// participantsPerInspection to each.
    std::vector<std::int64_t> firstLookGroupSizes;
    std::int64_t participantsPerInspection = 0;
    /// Set when the run calibrated its critical alpha, which is then criticalAlpha.
    std::optional<CalibratedAlpha> calibratedAlpha;
    /// For a completed run with a target half-width: whether its last round reached it.
    bool precisionReached = false;
};
