#include "cli/ComputeCommand.h"

#include "app/MainWindowCommands.h"
#include "cli/OptionChecks.h"
#include "cli/StandardOutput.h"
#include "cli/StderrMessageSink.h"
#include "data/ProjectFile.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <iostream>
#include <optional>
#include <vector>

namespace {

/// The compute command runs on one thread; more engines would only compute the same
/// numbers again.
constexpr int ENGINE_COUNT = 1;

/// The format --format names; its check admits only these three names.
ResultsFormat resultsFormatNamed(const std::string& name)
{
    if (name == "csv")
        return ResultsFormat::Csv;
    if (name == "json")
        return ResultsFormat::Json;
    return ResultsFormat::Text;
}

} // namespace

ComputeCommand::ComputeCommand(CLI::App& program)
{
    CLI::App* command = program.add_subcommand(
        "compute", "Compute the ANOVA and MANOVA analyses of every effect of a design");
    input.addTo(*command);
    command
        ->add_option("--format", formatName,
                     "text: the results table as the desktop shows it\n(the default); csv: one "
                     "line per analysis;\njson: the effects with their analyses;\ne.g. "
                     "--format json")
        ->type_name("text|csv|json")
        ->check(oneOf({"text", "csv", "json"}));
    command->add_flag("--descriptives", descriptives,
                      "With --format text, also the number of participants,\nmean and SD of "
                      "every cell after the effects\n(json always holds them as \"cells\")");
    command
        ->add_option("--save", savePath,
                     "Also save the project, after the computation,\nas \"Save\" does, e.g. "
                     "--save study.vlt")
        ->type_name("OUT.vlt")
        ->check(notEmpty());
    command->footer(
        "Examples:\n"
        "  tamsel-cli compute examples/reaction-times.vlt\n"
        "  tamsel-cli compute --import data.txt --within time=2 --within task=3 \\\n"
        "      --roles \"between;1, 1;1, 2;1, 3;2, 1;2, 2;2, 3\" --format csv --save study.vlt\n"
        "  tamsel-cli compute --import grip.txt --no-names --spaces --no-tab \\\n"
        "      --within hand=2 --roles \"1;2\" --decimal-separator , --format json\n"
        "\n"
        "Exit status: 0 success, 1 a failed check, an unreadable file or a failed\n"
        "computation (the message is on standard error), 2 wrong usage.");
}

int ComputeCommand::run() const
{
    StderrMessageSink messages;
    MainWindowCommands commands(messages, input.decimalSeparator(), ENGINE_COUNT);
    std::vector<EffectResults> effects;
    commands.setEffectListener(
        [&effects](const Anova& engine) { effects.push_back(effectResultsOf(engine)); });
    std::vector<std::int64_t> lines;
    if (!input.load(commands, messages, lines))
        return 1;
    const bool computed = commands.computeStatistics();
    input.reportRefusedCell(commands.getDataTable(), lines, std::cerr);
    InputOptions::reportLeftOut(commands.getLeftOutRows(), std::cerr);
    // "Save" keeps the project whatever the outcome of the computation before it, with
    // every row, the left-out ones too.
    if (!savePath.empty()) {
        if (!ProjectFile(messages).write(savePath, commands.getDataTable(),
                                         commands.getWithinTable())) {
            input.reportRefusedCell(commands.getDataTable(), lines, std::cerr);
            return 1;
        }
    }
    if (!computed)
        return 1;
    std::string results;
    switch (resultsFormatNamed(formatName)) {
    case ResultsFormat::Text:
        results = formatResultsText(commands.getResultsTable());
        if (descriptives)
            results +=
                formatCellStatisticsText(commands.getCellStatistics(), input.decimalSeparator());
        break;
    case ResultsFormat::Csv: results = formatResultsCsv(effects); break;
    case ResultsFormat::Json:
        results = formatResultsJson(
            effects, commands.getCellStatistics(),
            input.dropsIncomplete() ? std::optional(commands.getLeftOutRows()) : std::nullopt);
        break;
    }
    return writeStandardOutput(results, messages) ? 0 : 1;
}
