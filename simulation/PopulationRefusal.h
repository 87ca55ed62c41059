#pragma once

#include "stats/Anova.h"
#include "stats/SimulationParameters.h"

#include <optional>
#include <string>

/// Prepares the population engine simulates with parameters (estimated, or the custom one
/// with the tested effect removed for an alpha error) and returns why it cannot be simulated:
/// an estimated population with a group combination of a single participant, whose SDs
/// cannot be estimated, or a population with a fault (findPopulationFault). Nothing when it
/// can. Every group combination must have participants.
std::optional<std::string> preparePopulation(Anova& engine, const SimulationParameters& parameters);
