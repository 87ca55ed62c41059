#pragma once

#include "numeric/GeneralMatrix.h"

#include <string>
#include <vector>

/// All combinations of the given numbers of levels, one per row (one column per variable,
/// levels counted from 1), counting like an odometer with the last variable fastest:
/// levels (2, 3) give 1 1, 1 2, 1 3, 2 1, 2 2, 2 3. An empty list gives one empty row; a
/// level below 1 gives no row. More entries than an int can count throw std::bad_alloc.
GeneralMatrix<int> levelCombinations(const std::vector<int>& levels);

/// The level numbers of one combination joined by ", ": levels 2, 1, 3 give "2, 1, 3".
std::string combinationLabel(const std::vector<int>& levels);

/// Blanks removed, the text is split at each ","; every piece contributes its leading
/// decimal integer, sign allowed ("1, 12" gives 1, 12; a trailing "," adds no piece). A
/// piece without a leading integer contributes 0 and a number beyond the int range is
/// clamped to it, so any text parses without fault; whether the result is an offered
/// combination is for the caller to judge.
std::vector<int> parseCombinationLabel(const std::string& label);
