#pragma once

#include "numeric/GeneralMatrix.h"

#include <vector>

/// The variables of one effect, split into between and within variables: the 0/1 flags
/// that Design::setEffect takes and the positions of the flagged ones that the engine's
/// setEffect takes for a simulation.
struct EffectFlags {
    /// One flag per between variable (none when the design has no "between" column).
    std::vector<int> betweenFlags;
    std::vector<int> withinFlags;
    /// The 0-based positions of the flagged variables among the between variables.
    std::vector<int> betweenIndices;
    /// The 0-based positions of the flagged variables among the within variables.
    std::vector<int> withinIndices;
};

/// Row e of an effect table (effectList) whose first betweenCount columns are the between
/// variables and whose other columns are the within variables.
EffectFlags effectFlags(const GeneralMatrix<int>& effects, int e, int betweenCount);
