#pragma once

#include "design/Design.h"
#include "stats/ComputeFailure.h"

#include <string>

/// The message of the compute command when the engine could not compute an effect, naming
/// the cause; an empty group combination is named by its variables' codes. failure is not
/// ComputeFailure::None, and design is the one the engine was loaded from.
std::string computeFailureMessage(ComputeFailure failure, const Design& design);

/// The message of the compute command when every variable has a single level, so that the
/// design has no effect.
inline constexpr const char* NO_EFFECT_MESSAGE =
    "There is no effect to compute: every variable of the design has a single level.";
