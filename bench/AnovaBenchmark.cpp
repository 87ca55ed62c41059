#include "BenchmarkDesigns.h"

#include <benchmark/benchmark.h>

namespace {

// compute runs once per simulated sample and inspection, so its time per call bounds the
// speed of a simulation.
void computeEngine(benchmark::State& state, std::int32_t index)
{
    Design design;
    if (!buildBenchmarkDesign(index, design)) {
        state.SkipWithError("the benchmark design could not be built");
        return;
    }
    Anova engine(0);
    loadIntoEngine(design, engine);
    for (auto _ : state) {
        const bool computed = engine.compute();
        benchmark::DoNotOptimize(computed);
    }
}

} // namespace

BENCHMARK_CAPTURE(computeEngine, D1, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(computeEngine, D2, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(computeEngine, D3, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(computeEngine, D4, 3)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
