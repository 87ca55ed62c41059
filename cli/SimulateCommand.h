#pragma once

#include "simulation/SimulationFields.h"
#include "cli/InputOptions.h"

#include <cstdint>
#include <optional>
#include <string>

namespace CLI {
class App;
}

/// "tamsel-cli simulate": fills the tables as compute does, runs "Compute statistics",
/// ticks the chosen analysis of the named effect in the results table, opens the
/// simulation as the desktop's button does (setUpSimulation), reads the simulation
/// window's fields from the options with the window's checks, and runs the simulation on
/// one engine per thread. The report goes to standard output, messages and the progress
/// bar to standard error.
class SimulateCommand {
public:
    /// The exit status of a run stopped by Ctrl+C, as shells report a SIGINT.
    static constexpr int INTERRUPTED = 130;

    explicit SimulateCommand(CLI::App& program);

    /// 0 after a completed run, 1 after a user error whose message went to standard error,
    /// INTERRUPTED after Ctrl+C.
    int run() const;

    /// The seed of engine i for the run seed: std::seed_seq{seed, i} generating one 32-bit
    /// value, so that the engines draw different streams and each is repeatable.
    static std::uint32_t engineSeed(std::uint32_t seed, std::uint32_t i);

private:
    /// --threads, else one per random-numbers file, else the processor count.
    int threadCount() const;
    /// Ticks analysis of the effect named effect; false after a message when the results
    /// table has no such effect.
    bool tickAnalysis(MainWindowCommands& commands, MessageSink& messages) const;
    /// --population into every engine and --export-population from engine 0; false after a
    /// message.
    bool exchangePopulation(MainWindowCommands& commands, MessageSink& messages) const;

    InputOptions input;
    SimulationFields fields;
    std::string effect;
    int analysis = 0;
    bool power = false;
    std::optional<int> threads;
    std::optional<std::uint32_t> seed;
    std::string randomFiles;
    std::string populationPath;
    std::string exportPopulationPath;
    /// "text" or "json".
    std::string formatName = "text";
};
