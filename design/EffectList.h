#pragma once

#include "numeric/GeneralMatrix.h"

#include <string>
#include <vector>

/// Every subset of n variables as a row of 0/1 flags, 2^n rows: row e holds the binary
/// digits of e with the first variable as the most significant digit. Row 0 (no
/// variable) is not an effect; rows 1 .. 2^n - 1 are, in this order. The between
/// variables come first, then the within variables.
GeneralMatrix<int> effectList(int variableCount);

/// The rows of effectList(levels.size()) that flag no variable with a single level, in
/// their order, after the empty row 0. levels holds each variable's level count in the
/// order of the effect table. A variable with one level (a within variable of one level, a
/// "between" column with one code) has no effect: its "effect" would test the grand mean
/// against 0. The result has the single row 0 when no effect is left.
GeneralMatrix<int> existingEffects(const std::vector<int>& levels);

/// The names of the flagged variables of effect row e joined by " x ", between variables
/// first: "group x time x task".
std::string effectName(const GeneralMatrix<int>& effects, int e,
                       const std::vector<std::string>& betweenNames,
                       const std::vector<std::string>& withinNames);
