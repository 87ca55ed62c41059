#pragma once

#include <cstdint>
#include <string>

/// How a run on the Mersenne Twister draws its samples: every participant's values, or the
/// sufficient statistics of each group (means and SSCP), whose cost does not grow with the
/// sample size. Random-numbers files supply one deviate per value and always draw rows.
enum SamplerKind : std::int32_t {
    SamplerRows = 0,
    SamplerSummary = 1,
};

/// The machine-related choices of a simulation: the random source, the sampler and the number
/// of worker threads. The main window keeps one record, the preferences dialog edits it, the
/// settings store keeps it between program starts, and every worker receives a copy, so the record
/// holds plain values only.
struct Preferences {
    /// The path with index i (0-based) of randomNumbersFiles: the text between the i-th and
    /// the (i+1)-th ";"; empty when the list has fewer paths.
    std::string pathAt(std::int32_t i) const;
    /// The number of ";" plus one, so an empty list counts as one (empty) path.
    std::int32_t pathCount() const;
    /// Whether a run draws summaries: the Mersenne Twister with the summary sampler.
    bool drawsSummaries() const { return useMersenneTwister != 0 && sampler == SamplerSummary; }

    /// 1: the deviates come from the Mersenne Twister; 0: from the random-numbers files.
    std::int32_t useMersenneTwister = 1;
    /// The number of worker threads, and of engines, from the next program start on.
    std::int32_t numberOfThreads = 1;
    /// The paths of the random-numbers files joined by ";", one per thread in thread order.
    std::string randomNumbersFiles;
    /// A SamplerKind; used with the Mersenne Twister only.
    std::int32_t sampler = SamplerSummary;
};
