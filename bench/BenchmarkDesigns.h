#pragma once

#include "design/Design.h"
#include "stats/Anova.h"

#include <cstdint>
#include <string>
#include <vector>

/// The four designs on which every benchmark of the engine runs, so that figures of
/// different benchmarks (compute alone, compute with sample drawing, ...) stay comparable:
///   D1: one group of 20, within A(2), effect A;
///   D2: two groups of 20, within A(2) x B(3), effect group x A x B;
///   D3: three groups of 30, within A(3) x B(4), effect group x A x B;
///   D4: two groups of 500, within A(2) x B(3), effect group x A x B.
/// The data are standard normal deviates from a fixed seed, built into a Design the way the
/// compute command builds one from the data table.
struct BenchmarkDesign {
    std::string name;
    /// Participants per group; one entry means no "between" column.
    std::vector<int> groupSizes;
    std::vector<int> withinLevels;
};

inline constexpr std::int32_t BENCHMARK_DESIGN_COUNT = 4;

/// D1 .. D4 for index 0 .. 3.
BenchmarkDesign benchmarkDesign(std::int32_t index);

/// Builds design `index` into `design` and sets the effect of every variable (the highest
/// interaction). Returns false when the Design rejects the data.
bool buildBenchmarkDesign(std::int32_t index, Design& design);

/// Gives the engine the design and its current effect (index lists empty, as the compute
/// command does).
void loadIntoEngine(const Design& design, Anova& engine);
