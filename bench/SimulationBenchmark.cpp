#include "BenchmarkDesigns.h"

#include "stats/SimulationStatus.h"

#include <benchmark/benchmark.h>

#include <numeric>

namespace {

constexpr std::int32_t PARTICIPANTS_PER_INSPECTION = 10;
constexpr std::uint32_t SAMPLE_SEED = 4711u;

// The design with its effect of every variable, as the simulation set-up gives it, and the
// population of an alpha simulation estimated from it and handed to the generator.
bool prepareEngine(std::int32_t index, Design& design, Anova& engine)
{
    if (!buildBenchmarkDesign(index, design)) {
        return false;
    }
    loadIntoEngine(design, engine);
    std::vector<int> withinIndices(design.getWithinLevels().size());
    std::iota(withinIndices.begin(), withinIndices.end(), 0);
    const bool hasGroups = benchmarkDesign(index).groupSizes.size() > 1;
    engine.setEffect(design.getC(), design.getM(), withinIndices,
                     hasGroups ? std::vector<int>{0} : std::vector<int>{});
    if (!engine.prepareSimulation(SimulationParameters())) {
        return false;
    }
    RealMatrix means;
    RealMatrix sds;
    RealMatrix correlations;
    engine.exportSimulationMatrices(means, sds, correlations);
    std::seed_seq seed{SAMPLE_SEED};
    engine.getGenerator().seed(seed);
    engine.getGenerator().setPreferences(Preferences());
    engine.getGenerator().setPopulation(means, sds, correlations);
    return true;
}

// One look of an inspection: the participants it adds (10 per group) drawn into the
// sample, then compute on the enlarged sample. This is what every look after the first
// costs, many thousands of times per run.
void lookAtInspection(benchmark::State& state, std::int32_t index)
{
    Design design;
    Anova engine(0);
    if (!prepareEngine(index, design, engine)) {
        state.SkipWithError("the benchmark design could not be prepared");
        return;
    }
    engine.addParticipants(PARTICIPANTS_PER_INSPECTION);
    for (auto _ : state) {
        const std::int32_t status = engine.getGenerator().generateSample();
        const bool computed = engine.compute();
        benchmark::DoNotOptimize(status);
        benchmark::DoNotOptimize(computed);
    }
}

// A whole inspection as the worker runs it: back to the base sample, 10 participants
// added to every group, drawn, computed.
void inspectionFromBase(benchmark::State& state, std::int32_t index)
{
    Design design;
    Anova engine(0);
    if (!prepareEngine(index, design, engine)) {
        state.SkipWithError("the benchmark design could not be prepared");
        return;
    }
    engine.saveBase();
    for (auto _ : state) {
        engine.restoreBase();
        engine.addParticipants(PARTICIPANTS_PER_INSPECTION);
        const std::int32_t status = engine.getGenerator().generateSample();
        const bool computed = engine.compute();
        benchmark::DoNotOptimize(status);
        benchmark::DoNotOptimize(computed);
    }
}

// A look at a replaced sample of D2's shape (two groups, six within cells) with
// state.range(0) participants per group: the cost should grow linearly with them.
void lookAtReplacedSample(benchmark::State& state)
{
    Design design;
    Anova engine(0);
    if (!prepareEngine(1, design, engine)) {
        state.SkipWithError("the benchmark design could not be prepared");
        return;
    }
    const auto perGroup = static_cast<std::int32_t>(state.range(0));
    engine.setGroupSize(perGroup);
    for (auto _ : state) {
        const std::int32_t status = engine.getGenerator().generateSample();
        const bool computed = engine.compute();
        benchmark::DoNotOptimize(status);
        benchmark::DoNotOptimize(computed);
    }
    state.SetComplexityN(2 * state.range(0));
}

// Whole passes of the worker on D2's shape, five looks each (the observed sample, then four
// inspections of 10 per group), with state.range(0) = 1 recording every look. The critical
// alpha is so small that no look is significant, so both variants run every look and their
// time per look compares what recording costs.
void passesOfFiveLooks(benchmark::State& state)
{
    Design design;
    Anova engine(0);
    if (!prepareEngine(1, design, engine)) {
        state.SkipWithError("the benchmark design could not be prepared");
        return;
    }
    SimulationParameters parameters;
    parameters.numberOfPasses = 200;
    parameters.criticalAlpha = 1e-12;
    parameters.maxAdditionalInspections = 4;
    parameters.participantsPerInspection = PARTICIPANTS_PER_INSPECTION;
    parameters.recordLooks = static_cast<std::int32_t>(state.range(0));
    std::int32_t status = StatusOk;
    for (auto _ : state) {
        engine.resetRunFlags();
        SimulationPhase phase(parameters.numberOfPasses, SAMPLE_SEED, 0,
                              SimulationPhase::ALL_BLOCKS);
        engine.simulate(parameters, Preferences(), phase, &status);
        benchmark::DoNotOptimize(status);
    }
    state.SetItemsProcessed(state.iterations() * parameters.numberOfPasses * 5);
}

} // namespace

BENCHMARK(passesOfFiveLooks)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(lookAtInspection, D1, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookAtInspection, D2, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookAtInspection, D3, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookAtInspection, D4, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(inspectionFromBase, D1, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(inspectionFromBase, D2, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(inspectionFromBase, D3, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(inspectionFromBase, D4, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(lookAtReplacedSample)
    ->RangeMultiplier(4)
    ->Range(10, 2560)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);
