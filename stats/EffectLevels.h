#pragma once

#include <vector>

/// Some variables of a design, each at one level. Variables are 0-based indices (within
/// variables into the design's within levels, between variables into its between levels);
/// levels are 1-based, and -1 stands for any level of its variable. Each level list is as
/// long as its variable list.
struct EffectLevels {
    std::vector<int> withinVariables;
    std::vector<int> withinLevelList;
    std::vector<int> betweenVariables;
    std::vector<int> betweenLevelList;
};
