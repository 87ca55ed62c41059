#pragma once

#include <cstdint>
#include <optional>
#include <string>

/// What "tamsel-cli simulate" reports of a completed run: the simulated effect and analysis,
/// the passes and their significant share, its uncertainty, and the seed that repeats the
/// run.
struct SimulationReport {
    /// The binomial standard error of the probability, sqrt(p (1 - p) / n).
    double standardError() const;
    /// The Wilson score interval of the probability at 95 %. Unlike p -/+ 1.96 SE it stays
    /// inside [0, 1] and does not collapse to a point when no pass, or every pass, is
    /// significant, which is common for alpha near 0 and power near 1.
    double wilsonLower() const;
    double wilsonUpper() const;

    std::string effect;
    std::string analysis;
    /// Power (1 - beta) rather than the alpha error probability.
    bool power = false;
    std::int64_t actualPasses = -99;
    std::int64_t significant = -99;
    double probability = -99.0;
    /// The --seed of the run; none when the deviates came from random-numbers files.
    std::optional<std::uint32_t> seed;
    /// The kept observed sample was significant already, so every pass counted.
    bool observedSampleSignificant = false;
};

/// The report in words, one "label: value" line per figure, and a note when every pass
/// counted because the observed sample was significant.
std::string formatReportText(const SimulationReport& report);
/// {"effect", "analysis", "power", "actualPasses", "significant", "probability",
/// "standardError", "ci95": [lo, hi], "seed", "observedSampleSignificant"} with the seed
/// null for random-numbers files.
std::string formatReportJson(const SimulationReport& report);
