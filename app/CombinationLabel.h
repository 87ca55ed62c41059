#pragma once

#include <optional>
#include <string>
#include <vector>

/// The within combination a combination cell's text stands for, when it stands for one of
/// the combinations of withinLevels: blanks aside, one decimal number per within variable,
/// separated by ",", each from 1 to that variable's number of levels. "1,2" and " 1 , 2"
/// denote the same combination as the offered label "1, 2". Any other text (another number
/// of entries, a level out of range, a sign, letters, an empty entry) denotes none.
///
/// Stricter than parseCombinationLabel, which reads every text as some list of numbers: a
/// text accepted here is read by it as the same levels, so the Design receives exactly
/// the combinations the checks accepted.
std::optional<std::vector<int>> denotedCombination(const std::string& label,
                                                   const std::vector<int>& withinLevels);
