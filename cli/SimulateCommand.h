#pragma once

#include "cli/InputOptions.h"
#include "cli/InterruptRequest.h"
#include "cli/PopulationJson.h"
#include "simulation/ProcessGroup.h"
#include "simulation/SimulationFields.h"
#include "simulation/SimulationResult.h"
#include "stats/Preferences.h"

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
    /// INTERRUPTED after Ctrl+C. Spread over processes: process 0 reads the input and the
    /// population and draws the seed, and every other process sets up the same run from
    /// what it read; each runs its share of the passes on its own threads, process 0 shows
    /// the messages, the progress and the report, and all end with the run's status.
    int run(ProcessGroup& processes) const;

private:
    // The steps of run.

    /// Reads the simulation window's fields from the options, fills the tables, computes,
    /// ticks the analysis and opens the simulation; false after a message.
    bool setUp(MainWindowCommands& commands, MessageSink& messages, std::string inputBytes) const;
    /// The random source: the Mersenne Twister, or one --random-files file per thread;
    /// nothing after a message when the files do not match the threads.
    std::optional<Preferences> preferences(int threadTotal, MessageSink& messages) const;
    /// --seed, or a seed drawn from std::random_device; nothing when the numbers come from
    /// files.
    std::optional<std::uint32_t> runSeed(const Preferences& chosen) const;
    /// The run on every engine, with the progress bar and Ctrl+C.
    SimulationResult execute(MainWindowCommands& commands, const Preferences& chosen,
                             MessageSink& messages, DecimalSeparator separator,
                             ProcessGroup& processes, const InterruptRequest& interrupt) const;
    /// Writes the report; the exit status of the run.
    int report(const MainWindowCommands& commands, const SimulationResult& result,
               MessageSink& messages) const;

    /// --threads, else one per random-numbers file, else the processor count.
    int threadCount() const;
    /// Ticks analysis of the effect named effect; false after a message when the results
    /// table has no such effect.
    bool tickAnalysis(MainWindowCommands& commands, MessageSink& messages) const;
    /// --population into every engine, and packed for the other processes into
    /// packedCustom, and --export-population from engine 0; false after a message.
    bool exchangePopulation(MainWindowCommands& commands, MessageSink& messages,
                            std::string& packedCustom) const;
    /// Every engine estimates its population from the data.
    static void estimatePopulations(MainWindowCommands& commands);
    /// Every engine simulates population instead of its estimate.
    static void usePopulation(MainWindowCommands& commands, const PopulationJson& population);

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
    /// Whether the run records every look: asked for, or implied by a target power or a
    /// calibration.
    bool recordsLooks() const { return lookTable || calibrate || !targetPower.empty(); }

    bool lookTable = false;
    /// --target-power as typed, checked by the option; empty without it.
    std::string targetPower;
    bool calibrate = false;
    /// --precision as typed, checked by the option; empty without it.
    std::string precision;
    /// "text", "json" or "csv".
    std::string formatName = "text";
    /// "rows", "summary" or empty (the default, summary).
    std::string samplerName;
};
