#pragma once

#include <cstdint>

/// What a sample generation, and with it a simulation worker, reports. A worker's status
/// holds the result of its last generation, so after a run it is StatusOk or the error that
/// ended the run.
enum SimulationStatus : std::int32_t {
    StatusOk = 1,
    /// A group's correlations of the data the population was estimated from hold a NaN or a
    /// value outside ±1 (too few participants in the group, or a cell without variance).
    StatusInvalidCorrelation = -11,
    /// The random-numbers file ran out, or could not be opened at all.
    StatusRandomNumbersExhausted = -13,
    /// The random-numbers file holds a token too long to be a number.
    StatusRandomNumbersUnreadable = -14,
    /// An allocation of the run failed; the engine is back at its base.
    StatusOutOfMemory = -15,
    /// A sample, or a sum of squares formed from it, was not finite: the population's means
    /// or SDs are too large in magnitude (or a random-numbers file holds an infinity).
    StatusNotFinite = -16,
};
