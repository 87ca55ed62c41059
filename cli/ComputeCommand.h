#pragma once

#include "cli/InputOptions.h"
#include "cli/ResultsFormat.h"

#include <string>

namespace CLI {
class App;
}

/// "tamsel-cli compute": fills the tables from a project or a text file (InputOptions),
/// runs "Compute statistics" as the desktop's button does, optionally saves the project as
/// "Save" does, and writes the results to standard output. Messages go to standard error.
class ComputeCommand {
public:
    /// Adds the subcommand with its options to program; they are filled when program
    /// parses the command line.
    explicit ComputeCommand(CLI::App& program);

    /// The exit status: 0 when every effect was computed (and the project saved), 1 after
    /// a user error whose message went to standard error. Nothing is written to standard
    /// output unless the status is 0.
    int run() const;

private:
    InputOptions input;
    /// "text", "csv" or "json".
    std::string formatName = "text";
    std::string savePath;
    /// --descriptives: the cells' statistics after the text table.
    bool descriptives = false;
};
