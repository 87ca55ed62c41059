#pragma once

#include "simulation/ProportionEstimate.h"
#include "simulation/SimulationResult.h"

#include <cstdint>
#include <vector>

/// One look of a run that recorded every look, with the shares of its passes.
struct LookRow {
    /// 0 for the first sample, k for the k-th inspection.
    std::int32_t look = 0;
    /// Per group combination, in the order of the groups.
    std::vector<std::int64_t> participantsPerGroup;
    /// All groups together.
    std::int64_t participants = 0;
    /// Passes whose look is significant, whatever happened before: the alpha error or power
    /// of a study that tests once, with this many participants.
    ProportionEstimate significantAtThisLook;
    /// Passes whose first significant look this is.
    ProportionEstimate firstSignificantHere;
    /// The running sum of firstSignificantHere: the probability of a study that stops at its
    /// first significant look and has no more looks than this one. At the last look it is
    /// the run's probability.
    ProportionEstimate significantByThisLook;
};

/// The look-by-look answer of a run that recorded every look.
struct LookTable {
    /// The first look whose significantAtThisLook estimate (not its interval) is at least
    /// target; nullptr when no look reaches it.
    const LookRow* firstReaching(double target) const;

    std::vector<LookRow> looks;
    /// The mean number of participants, all groups together, of a study that stops at its
    /// first significant look or at the last look, and its standard error over the passes.
    double expectedParticipants = 0.0;
    double expectedParticipantsStandardError = 0.0;
};

/// The table of a completed run that recorded its looks.
LookTable makeLookTable(const SimulationResult& result);
