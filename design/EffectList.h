#pragma once

#include "numeric/GeneralMatrix.h"

#include <string>
#include <vector>

/// Every subset of n variables as a row of 0/1 flags, 2^n rows: row e holds the binary
/// digits of e with the first variable as the most significant digit. Row 0 (no
/// variable) is not an effect; rows 1 .. 2^n - 1 are, in this order. The between
/// variables come first, then the within variables.
GeneralMatrix<int> effectList(int variableCount);

/// The names of the flagged variables of effect row e joined by " x ", between variables
/// first: "group x time x task".
std::string effectName(const GeneralMatrix<int>& effects, int e,
                       const std::vector<std::string>& betweenNames,
                       const std::vector<std::string>& withinNames);
