// tamsel-cli: the desktop program's commands on the command line.

#include "cli/ComputeCommand.h"
#include "cli/LaunchedProcesses.h"
#include "cli/SimulateCommand.h"
#include "cli/StderrMessageSink.h"

#include <CLI/CLI.hpp>

#include <new>

namespace {

/// The exit status of a command line that cannot be parsed; 1 is the user errors' status.
constexpr int USAGE_ERROR = 2;

} // namespace

int main(int argc, char** argv)
{
    CLI::App program("Tamsel analyses studies with repeated measures.", "tamsel-cli");
    program.require_subcommand(1);
    const ComputeCommand compute(program);
    const SimulateCommand simulate(program);
    try {
        program.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // --help ends parsing with status 0; every other parse error is wrong usage.
        return program.exit(error) == 0 ? 0 : USAGE_ERROR;
    }
    try {
        // require_subcommand(1): the one subcommand was chosen.
        if (!program.got_subcommand("simulate"))
            return compute.run();
        // Under mpirun the processes share the simulation's passes.
        const std::unique_ptr<ProcessGroup> launched = joinLaunchedProcesses(argc, argv);
        SingleProcess alone;
        return simulate.run(launched ? *launched : alone);
    } catch (const std::bad_alloc&) {
        StderrMessageSink().showMessage("Error", "Not enough memory.", MessageIcon::Error);
        return 1;
    }
}
