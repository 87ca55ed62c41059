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

// A whole-sample look as a run that replaces the sample makes it: a new sample of perGroup
// participants in every group, then compute (every analysis), drawn as rows or as
// summaries. The rows are sized once outside the loop, so the row figure is the drawing and
// the compute alone.
void lookAtNewSample(benchmark::State& state, std::int32_t index, std::int32_t perGroup,
                     SamplerKind sampler)
{
    Design design;
    Anova engine(0);
    if (!prepareEngine(index, design, engine)) {
        state.SkipWithError("the benchmark design could not be prepared");
        return;
    }
    if (sampler == SamplerRows) {
        engine.setGroupSize(perGroup);
        for (auto _ : state) {
            const std::int32_t status = engine.getGenerator().generateSample();
            const bool computed = engine.compute();
            benchmark::DoNotOptimize(status);
            benchmark::DoNotOptimize(computed);
        }
        return;
    }
    RealMatrix means;
    RealMatrix sds;
    RealMatrix correlations;
    engine.exportSimulationMatrices(means, sds, correlations);
    SummarySampler& summary = engine.getSummarySampler();
    if (!summary.setPopulation(means, sds, correlations)) {
        state.SkipWithError("the population could not be factored");
        return;
    }
    for (auto _ : state) {
        const std::int32_t status = summary.drawNewSample(perGroup);
        const bool computed = engine.computeFromSummary();
        benchmark::DoNotOptimize(status);
        benchmark::DoNotOptimize(computed);
    }
}

// lookAtNewSample on design index at its own group size (20, 20, 30, 500).
void lookAtDesignSample(benchmark::State& state, std::int32_t index, SamplerKind sampler)
{
    lookAtNewSample(state, index, benchmarkDesign(index).groupSizes[0], sampler);
}

// lookAtNewSample on D2's shape with state.range(0) participants per group: the cost of rows
// should grow linearly with them, that of summaries not at all.
void lookAtD2ShapedSample(benchmark::State& state, SamplerKind sampler)
{
    lookAtNewSample(state, 1, static_cast<std::int32_t>(state.range(0)), sampler);
    state.SetComplexityN(2 * state.range(0));
}

// Whole passes of the worker on D2's shape, five looks each (the observed sample, then four
// inspections of 10 per group), with state.range(0) = 1 recording every look and
// state.range(1) the SamplerKind. The critical alpha is so small that no look is
// significant, so every variant runs every look and their time per look compares what
// recording and the sampler cost.
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
    Preferences preferences;
    preferences.sampler = static_cast<std::int32_t>(state.range(1));
    std::int32_t status = StatusOk;
    for (auto _ : state) {
        engine.resetRunFlags();
        SimulationPhase phase(parameters.numberOfPasses, SAMPLE_SEED, 0,
                              SimulationPhase::ALL_BLOCKS);
        engine.simulate(parameters, preferences, phase, &status);
        benchmark::DoNotOptimize(status);
    }
    state.SetItemsProcessed(state.iterations() * parameters.numberOfPasses * 5);
}

} // namespace

BENCHMARK(passesOfFiveLooks)
    ->ArgNames({"record", "sampler"})
    ->Args({0, SamplerRows})
    ->Args({1, SamplerRows})
    ->Args({0, SamplerSummary})
    ->Args({1, SamplerSummary})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(lookAtDesignSample, D1_rows, 0, SamplerRows)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookAtDesignSample, D2_rows, 1, SamplerRows)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookAtDesignSample, D3_rows, 2, SamplerRows)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookAtDesignSample, D4_rows, 3, SamplerRows)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookAtDesignSample, D1_summary, 0, SamplerSummary)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookAtDesignSample, D2_summary, 1, SamplerSummary)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookAtDesignSample, D3_summary, 2, SamplerSummary)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookAtDesignSample, D4_summary, 3, SamplerSummary)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookAtD2ShapedSample, rows, SamplerRows)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookAtD2ShapedSample, summary, SamplerSummary)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Complexity(benchmark::o1)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(lookAtInspection, D1, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookAtInspection, D2, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookAtInspection, D3, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookAtInspection, D4, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(inspectionFromBase, D1, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(inspectionFromBase, D2, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(inspectionFromBase, D3, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(inspectionFromBase, D4, 3)->Unit(benchmark::kMicrosecond);
