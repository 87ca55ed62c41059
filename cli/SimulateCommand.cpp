#include "cli/SimulateCommand.h"

#include "app/MainWindowCommands.h"
#include "app/ResultsTable.h"
#include "cli/OptionChecks.h"
#include "cli/PopulationJson.h"
#include "cli/ProgressBar.h"
#include "cli/SimulationReport.h"
#include "cli/StandardOutput.h"
#include "cli/StderrMessageSink.h"
#include "data/BinaryReader.h"
#include "data/BinaryWriter.h"
#include "data/ProjectContent.h"
#include "numeric/NumberText.h"
#include "simulation/LookTable.h"
#include "simulation/PopulationRefusal.h"
#include "simulation/SimulationRun.h"
#include "stats/AnalysisIndex.h"
#include "stats/PopulationCheck.h"
#include "stats/Preferences.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <iostream>
#include <random>
#include <span>
#include <thread>
#include <utility>
#include <vector>

namespace {

/// The option that sets each of the window's fields, to name it in a refusal.
std::string optionOf(SimulationFields::Field field)
{
    switch (field) {
    case SimulationFields::Field::Passes: return "--passes";
    case SimulationFields::Field::CriticalAlpha: return "--alpha";
    case SimulationFields::Field::MaxInspections: return "--inspections";
    case SimulationFields::Field::PerInspection: return "--per-inspection";
    case SimulationFields::Field::PerGroup: return "--per-group";
    case SimulationFields::Field::TargetPower: return "--target-power";
    }
    return {};
}

std::vector<Anova*> enginesOf(MainWindowCommands& commands)
{
    std::vector<Anova*> engines;
    for (int i = 0; i < commands.getEngineCount(); ++i)
        engines.push_back(&commands.getEngine(i));
    return engines;
}

/// The custom population as process 0 hands it to the others: the three matrices as a
/// project file stores a matrix.
std::string packPopulation(const PopulationJson& population)
{
    BinaryWriter out;
    for (const RealMatrix* matrix : {&population.means, &population.sds, &population.correlations})
        serializeMatrix(*matrix, out);
    return std::string(out.bytes().begin(), out.bytes().end());
}

void unpackPopulation(const std::string& packed, PopulationJson& population)
{
    BinaryReader in(std::span(reinterpret_cast<const std::uint8_t*>(packed.data()), packed.size()));
    for (RealMatrix* matrix : {&population.means, &population.sds, &population.correlations})
        readMatrix(in, *matrix);
    assert(!in.hasFailed());
}

/// The most worker threads --threads admits.
constexpr int MAX_THREADS = 1024;

/// --alpha as the simulation window reads its field, with the window's refusal.
CLI::Validator alphaCheck()
{
    return CLI::Validator(
        [](const std::string& text) -> std::string {
            SimulationFields alphaOnly;
            alphaOnly.criticalAlpha = text;
            SimulationParameters scratch;
            const auto refusal = alphaOnly.readInto(scratch, DecimalSeparator());
            return refusal ? refusal->text : std::string();
        },
        "");
}

void addFieldOptions(CLI::App& command, SimulationFields& fields)
{
    const std::int64_t most = SimulationFields::MAX_COUNT;
    command.add_option("--passes", fields.passes, "Simulation passes, 1..2000000000")
        ->type_name("N")
        ->capture_default_str()
        ->transform(integerIn(1, most));
    command
        .add_option("--alpha", fields.criticalAlpha,
                    "Critical alpha, 1e-12..0.999999999999;\nnumbers in options take the point")
        ->type_name("A")
        ->capture_default_str()
        ->check(alphaCheck());
    command
        .add_option("--inspections", fields.maxAdditionalInspections,
                    "Maximum additional inspections, 0..2000000000")
        ->type_name("K")
        ->capture_default_str()
        ->transform(integerIn(0, most));
    command
        .add_option("--per-inspection", fields.participantsPerInspection,
                    "Participants added per group at each\ninspection, 0..2000000000")
        ->type_name("M")
        ->capture_default_str()
        ->transform(integerIn(0, most));
    command.add_flag("--homogeneity", fields.assumeHomogeneity, "Assume homogeneity of variances");
    CLI::Option* replace =
        command.add_flag("--replace", fields.replaceOriginalMatrix,
                         "Replace the original matrix: every pass\ndraws a new sample of "
                         "--per-group per group");
    command
        .add_option("--per-group", fields.participantsPerGroup,
                    "Participants per group with --replace, at least 2")
        ->type_name("N")
        ->capture_default_str()
        ->transform(integerIn(SimulationFields::MIN_PER_GROUP, most))
        ->needs(replace);
}

} // namespace

SimulateCommand::SimulateCommand(CLI::App& program)
{
    CLI::App* command = program.add_subcommand(
        "simulate", "Simulate the alpha error probability or the power of one analysis of an "
                    "effect");
    input.addTo(*command);
    command->add_option("--effect", effect, "The effect as the results table names it")->required();
    command
        ->add_option("--analysis", analysis,
                     "0 ANOVA (uncorr.), 1 ANOVA (Greenhouse-Geisser),\n2 MANOVA (Pillai), "
                     "3 MANOVA (Wilks),\n4 MANOVA (Hotelling), 5 ANOVA (Huynh-Feldt),\n"
                     "6 ANOVA (lower bound), 7 MANOVA (Roy)")
        ->required()
        ->transform(integerIn(0, ANALYSIS_COUNT - 1));
    CLI::Option* powerOption =
        command->add_flag("--power", power,
                          "Simulate the power (1 - beta error probability)\ninstead of the alpha "
                          "error probability");
    addFieldOptions(*command, fields);
    command
        ->add_option("--threads", threads,
                     "Worker threads, one engine each; the default is\nthe processor count "
                     "(with --random-files, one\nthread per file)")
        ->type_name("T")
        ->transform(integerIn(1, MAX_THREADS));
    CLI::Option* seedOption = command->add_option(
        "--seed", seed,
        "Seed S, 0..4294967295: the passes run in blocks\nof 1000, and block b draws from the "
        "Mersenne\nTwister seeded by std::seed_seq{S, b, phase}\n(phase 1 for the null run of "
        "--calibrate, else\n0), so the same S gives the same result on any\nnumber of "
        "threads; without it S is drawn from\nstd::random_device. The seed is reported "
        "either\nway");
    seedOption->type_name("S")->transform(integerIn(0, UINT32_MAX));
    command
        ->add_option("--random-files", randomFiles,
                     "Take the deviates from random-numbers files,\none per thread, "
                     "separated by ';'; each thread\nreads on in its own file, so the result "
                     "depends\non the number of threads")
        ->check(notEmpty())
        ->excludes(seedOption);
    command
        ->add_option("--sampler", samplerName,
                     "How the Mersenne Twister's samples are drawn:\nsummary (the default) draws "
                     "each group's means\nand sums of squares and cross-products, whose\ncost "
                     "does not grow with the sample size; rows\ndraws every participant. "
                     "Random-numbers files\nalways draw rows")
        ->type_name("rows|summary")
        ->check(oneOf({"rows", "summary"}));
    command
        ->add_option("--population", populationPath,
                     "Simulate this population instead of the one\nestimated from the data: "
                     "{\"means\": G x P,\n\"sds\": G x P, \"correlations\": P x P}, rows "
                     "of\nthe custom matrices editor")
        ->type_name("FILE.json")
        ->check(notEmpty());
    command
        ->add_option("--export-population", exportPopulationPath,
                     "Write the population the run simulates in the\nform --population reads")
        ->type_name("FILE.json")
        ->check(notEmpty());
    command->add_flag(
        "--look-table", lookTable,
        "Record every look: every pass goes through all\nits looks, and the report gives, per "
        "look, the\nshare significant there, first significant there\nand significant by "
        "then, and the expected\nparticipants of a study that stops at its first\n"
        "significant look");
    command
        ->add_option("--target-power", targetPower,
                     "With --power: report the first look whose share\nsignificant at that "
                     "look reaches P, the sample\nsize that a single test needs; implies "
                     "--look-table")
        ->type_name("P")
        ->check(openInterval("0", "1"))
        ->needs(powerOption);
    command->add_flag("--calibrate", calibrate,
                      "Find the one critical alpha of every look that\nholds the probability of "
                      "any significant look\nunder the null hypothesis at --alpha (Pocock),\n"
                      "from a null run of --passes passes, then run\nwith it; implies "
                      "--look-table");
    command
        ->add_option("--precision", precision,
                     "Run rounds of 16000 passes until the Wilson 95%\ninterval of the "
                     "probability reaches at most H\non either side, or --passes are run; with\n"
                     "--calibrate, for the run proper")
        ->type_name("H")
        ->check(openInterval("0", "0.5"));
    command
        ->add_option("--format", formatName,
                     "text (the default), json, or csv (the look\ntable only, one row per look)")
        ->type_name("text|json|csv")
        ->check(oneOf({"text", "json", "csv"}));
    command->callback([this] {
        if (formatName == "csv" && !recordsLooks())
            throw CLI::ValidationError("--format", "csv writes the look table; add --look-table, "
                                                   "--target-power or --calibrate");
        if (samplerName == "summary" && !randomFiles.empty())
            throw CLI::ValidationError("--sampler", "random-numbers files supply one deviate per "
                                                    "value and draw rows; leave out --sampler "
                                                    "summary or --random-files");
    });

    command->footer(
        "Examples:\n"
        "  The alpha error of the Greenhouse-Geisser test of task with new samples of 10\n"
        "  per group, one look:\n"
        "  tamsel-cli simulate examples/reaction-times.vlt --effect task --analysis 1 \\\n"
        "      --replace --per-group 10 --inspections 0 --passes 20000 --seed 7\n"
        "  The power of a sequential design: 8 per group, then up to two more looks\n"
        "  after adding 4 per group each time:\n"
        "  tamsel-cli simulate examples/word-recall.vlt --effect \"training x list\" \\\n"
        "      --analysis 2 --power --replace --per-group 8 --inspections 2 \\\n"
        "      --per-inspection 4 --threads 2 --seed 3 --format json\n"
        "  The sample size for 80 % power of a single test, scanning 10, 14, ..., 50\n"
        "  per group (the samples of successive looks are nested, so the shares over\n"
        "  the looks form a smooth curve):\n"
        "  tamsel-cli simulate examples/reaction-times.vlt --effect time --analysis 0 \\\n"
        "      --power --replace --per-group 10 --inspections 10 --per-inspection 4 \\\n"
        "      --target-power 0.8 --passes 20000 --seed 5\n"
        "  The critical alpha of each of five looks that keeps the overall alpha at\n"
        "  0.05, and the power and expected sample size of that sequential design:\n"
        "  tamsel-cli simulate examples/reaction-times.vlt --effect time --analysis 0 \\\n"
        "      --power --replace --per-group 10 --inspections 4 --per-inspection 10 \\\n"
        "      --calibrate --passes 20000 --seed 5\n"
        "  Write the estimated population, edit it, and simulate the power of the\n"
        "  edited one:\n"
        "  tamsel-cli simulate examples/reaction-times.vlt --effect time --analysis 0 \\\n"
        "      --power --replace --per-group 10 --inspections 0 --export-population pop.json\n"
        "  tamsel-cli simulate examples/reaction-times.vlt --effect time --analysis 0 \\\n"
        "      --power --replace --per-group 10 --inspections 0 --population pop.json\n"
        "\n"
        "Without --replace every pass starts from the observed sample; when that is\n"
        "already significant, every pass counts, and the report says so.\n"
        "\n"
        "A progress bar is drawn on standard error when it is a terminal; Ctrl+C\n"
        "aborts the run as the simulation window's abort button does.\n"
        "\n"
        "Started by mpirun, the processes share the passes and give the result of\n"
        "one process with the same seed; process 0 reads the files and reports:\n"
        "  mpirun -n 4 tamsel-cli simulate study.vlt --effect time --analysis 0 ...\n"
        "\n"
        "Exit status: 0 success, 1 a user error (the message is on standard error),\n"
        "2 wrong usage, 130 aborted by Ctrl+C.");
}

int SimulateCommand::threadCount() const
{
    if (threads)
        return *threads;
    if (!randomFiles.empty())
        return Preferences{0, 1, randomFiles}.pathCount();
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

bool SimulateCommand::tickAnalysis(MainWindowCommands& commands, MessageSink& messages) const
{
    GeneralGridCtrl& results = commands.getResultsTable();
    std::string names;
    for (int r = 0; r < results.getDataRowCount(); r += ROWS_PER_EFFECT) {
        const std::string& name = results.getText(r, 0);
        if (name == effect) {
            results.setCellChecked(results.toGridRow(r + 1 + analysis),
                                   results.toGridColumn(CHOICE_COLUMN), true);
            return true;
        }
        names += (names.empty() ? "\"" : ", \"") + name + "\"";
    }
    messages.showMessage("Error",
                         "The results have no effect \"" + effect + "\"; they have " + names + ".",
                         MessageIcon::Error);
    return false;
}

void SimulateCommand::estimatePopulations(MainWindowCommands& commands)
{
    // As the desktop does before its matrices can be edited: that also sets up the sample
    // view and the data correlations, which the run keeps when custom matrices replace the
    // estimate. A design that cannot be estimated is refused by the run itself, with its
    // message.
    SimulationParameters estimate = commands.getSimulationParameters();
    estimate.useCustomMatrices = 0;
    for (Anova* engine : enginesOf(commands))
        engine->prepareSimulation(estimate);
}

void SimulateCommand::usePopulation(MainWindowCommands& commands, const PopulationJson& population)
{
    for (Anova* engine : enginesOf(commands)) {
        [[maybe_unused]] const bool imported = engine->importSimulationMatrices(
            population.means, population.sds, population.correlations);
        assert(imported); // read checked the shapes against the same design
    }
    commands.getSimulationParameters().useCustomMatrices = 1;
}

bool SimulateCommand::exchangePopulation(MainWindowCommands& commands, MessageSink& messages,
                                         std::string& packedCustom) const
{
    SimulationParameters& parameters = commands.getSimulationParameters();
    if (populationPath.empty() && exportPopulationPath.empty())
        return true;
    estimatePopulations(commands);
    Anova& first = commands.getEngine(0);
    PopulationJson population;
    if (!populationPath.empty()) {
        const auto groups = static_cast<std::int32_t>(first.getGroupStart().size());
        if (!population.read(populationPath, groups, first.getY().getCols(), messages))
            return false;
        if (const auto fault =
                findPopulationFault(population.means, population.sds, population.correlations)) {
            messages.showMessage("Error",
                                 "In " + populationPath + ": " + populationFaultText(*fault),
                                 MessageIcon::Error);
            return false;
        }
        usePopulation(commands, population);
        packedCustom = packPopulation(population);
    }
    if (exportPopulationPath.empty())
        return true;
    // The population as the run will simulate it, so that an alpha error run writes the means
    // without the tested effect; one that cannot be simulated is not written.
    if (const auto refusal = preparePopulation(first, parameters)) {
        messages.showMessage("Error", *refusal + " It is not exported.", MessageIcon::Error);
        return false;
    }
    first.exportSimulationMatrices(population.means, population.sds, population.correlations);
    return population.write(exportPopulationPath, messages);
}

bool SimulateCommand::setUp(MainWindowCommands& commands, MessageSink& messages,
                            std::string inputBytes) const
{
    SimulationParameters& parameters = commands.getSimulationParameters();
    // Command-line numbers take the point whatever the locale, like the other options.
    if (const auto refusal = fields.readInto(parameters, DecimalSeparator())) {
        messages.showMessage("Error", optionOf(refusal->field) + ": " + refusal->text,
                             MessageIcon::Error);
        return false;
    }
    parameters.simulateAlpha = power ? 0 : 1;
    parameters.useCustomMatrices = 0;
    parameters.recordLooks = recordsLooks() ? 1 : 0;
    parameters.calibrateAlpha = calibrate ? 1 : 0;
    parameters.targetHalfWidth =
        precision.empty() ? 0.0 : *parseWholeNumber(precision, DecimalSeparator());
    std::vector<std::int64_t> lines;
    if (!input.loadBytes(commands, messages, lines, std::move(inputBytes)))
        return false;
    const bool computed = commands.computeStatistics();
    input.reportRefusedCell(commands.getDataTable(), lines, std::cerr);
    InputOptions::reportLeftOut(commands.getLeftOutRows(), std::cerr);
    return computed && tickAnalysis(commands, messages) && commands.setUpSimulation();
}

std::optional<Preferences> SimulateCommand::preferences(int threadTotal,
                                                        MessageSink& messages) const
{
    Preferences chosen{randomFiles.empty() ? 1 : 0, threadTotal, randomFiles};
    chosen.sampler = samplerName == "rows" ? SamplerRows : SamplerSummary;
    if (chosen.useMersenneTwister == 0 && chosen.pathCount() != threadTotal) {
        messages.showMessage("Error",
                             "--random-files gives " + std::to_string(chosen.pathCount()) +
                                 " files for " + std::to_string(threadTotal) +
                                 " threads; give one file per thread.",
                             MessageIcon::Error);
        return std::nullopt;
    }
    return chosen;
}

std::optional<std::uint32_t> SimulateCommand::runSeed(const Preferences& chosen) const
{
    if (chosen.useMersenneTwister == 0)
        return std::nullopt;
    return seed ? *seed : std::random_device()();
}

SimulationResult SimulateCommand::execute(MainWindowCommands& commands, const Preferences& chosen,
                                          MessageSink& messages, DecimalSeparator separator,
                                          ProcessGroup& processes,
                                          const InterruptRequest& interrupt) const
{
    SimulationRun simulation(enginesOf(commands), messages, separator, processes);
    // Process 0 shows its own share's progress: the blocks go round the processes, so it
    // is as far as the run.
    std::optional<ProgressBar> bar;
    if (processes.rank() == 0)
        bar.emplace();
    const SimulationResult& result =
        simulation.runSimulation(commands.getSimulationParameters(), chosen, [&] {
            if (interrupt.requested())
                simulation.abort();
            if (bar)
                bar->show(simulation.passesDone(), simulation.passesPlanned());
        });
    if (bar)
        bar->finish();
    return result;
}

int SimulateCommand::report(const MainWindowCommands& commands, const SimulationResult& result,
                            MessageSink& messages) const
{
    if (result.outcome == SimulationOutcome::Aborted) {
        messages.showMessage("Error", "The simulation was aborted.", MessageIcon::Error);
        return INTERRUPTED;
    }
    if (!result.hasProbability())
        return 1;
    SimulationReport summary;
    summary.effect = commands.getSimulatedEffectName();
    summary.analysis = std::string(ANALYSIS_NAMES[static_cast<std::size_t>(analysis)]);
    summary.power = power;
    summary.actualPasses = result.actualPasses;
    summary.significant = result.significantTotal;
    summary.probability = result.probability;
    const SimulationParameters& parameters = commands.getSimulationParameters();
    if (randomFiles.empty())
        summary.seed = parameters.seed;
    if (!precision.empty())
        summary.precision =
            SimulationReport::Precision{parameters.targetHalfWidth, result.precisionReached};
    summary.observedSampleSignificant = result.observedSampleSignificant;
    summary.criticalAlpha = result.criticalAlpha;
    summary.calibratedAlpha = result.calibratedAlpha;
    summary.targetAlpha = parameters.criticalAlpha;
    if (!targetPower.empty())
        summary.targetPower = parseWholeNumber(targetPower, DecimalSeparator());
    if (!result.lookCounts.empty())
        summary.lookTable = makeLookTable(result);
    std::string text;
    if (formatName == "csv")
        text = formatLookTableCsv(*summary.lookTable);
    else if (formatName == "json")
        text = formatReportJson(summary);
    else
        text = formatReportText(summary);
    return writeStandardOutput(text, messages) ? 0 : 1;
}

int SimulateCommand::run(ProcessGroup& processes) const
{
    // From here on Ctrl+C is answered by aborting the run, also when it comes while the run
    // is set up: under mpirun some processes may still be setting up when it arrives.
    const InterruptRequest interrupt;
    const bool speaks = processes.rank() == 0;
    StderrMessageSink messages(speaks);
    const int threadTotal = threadCount();
    const std::optional<Preferences> chosen = preferences(threadTotal, messages);
    if (!chosen)
        return 1;
    // Process 0 reads the files, draws the seed and sets up its run; the others take its
    // input bytes, separator, seed and population, so that they set up the same run whatever
    // their files and locale.
    std::optional<MainWindowCommands> commands;
    DecimalSeparator separator = input.decimalSeparator();
    std::string inputBytes;
    std::string settings;
    std::string population;
    if (speaks) {
        std::optional<std::string> bytes = input.readInput(messages);
        if (bytes) {
            inputBytes = std::move(*bytes);
            commands.emplace(messages, separator, threadTotal);
            if (setUp(*commands, messages, inputBytes)) {
                commands->getSimulationParameters().seed = runSeed(*chosen).value_or(0);
                if (exchangePopulation(*commands, messages, population))
                    settings = std::string(1, separator.get()) + ' ' +
                               std::to_string(commands->getSimulationParameters().seed);
            }
        }
    }
    // Empty settings: process 0 failed, with its message.
    processes.broadcast(settings, 0);
    if (settings.empty())
        return 1;
    processes.broadcast(inputBytes, 0);
    processes.broadcast(population, 0);
    bool ready = true;
    if (!speaks) {
        separator = DecimalSeparator(settings[0]);
        commands.emplace(messages, separator, threadTotal);
        ready = setUp(*commands, messages, std::move(inputBytes));
        commands->getSimulationParameters().seed =
            static_cast<std::uint32_t>(std::stoul(settings.substr(2)));
        if (ready && !population.empty()) {
            PopulationJson custom;
            unpackPopulation(population, custom);
            estimatePopulations(*commands);
            usePopulation(*commands, custom);
        }
    }
    const std::vector<std::int32_t> readiness = processes.gather(ready ? 1 : 0);
    if (std::find(readiness.begin(), readiness.end(), 0) != readiness.end()) {
        messages.showMessage("Error",
                             "A process could not set up the run from the input that process 0 "
                             "read.",
                             MessageIcon::Error);
        return 1;
    }
    const SimulationResult result =
        execute(*commands, *chosen, messages, separator, processes, interrupt);
    if (speaks)
        return report(*commands, result, messages);
    return result.outcome == SimulationOutcome::Aborted ? INTERRUPTED
                                                        : (result.hasProbability() ? 0 : 1);
}
