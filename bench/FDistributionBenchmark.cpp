// The F upper tail is evaluated five times per engine computation, so its cost at the
// degrees of freedom of typical effects bounds the speed of small designs.

#include "numeric/FDistribution.h"

#include <benchmark/benchmark.h>

namespace {

void upperTail(benchmark::State& state, double f, double dfn, double dfd)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(fUpperTail(f, dfn, dfd));
    }
}

} // namespace

// df of a two-level within effect of 20 participants, its Greenhouse-Geisser twin with a
// fractional epsilon, and the df of larger designs' interactions.
BENCHMARK_CAPTURE(upperTail, df1_1_df2_19, 2.7, 1.0, 19.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(upperTail, df1_1_df2_19_small_f, 0.03, 1.0, 19.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(upperTail, df1_1p6_df2_30p4, 2.7, 1.6, 30.4)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(upperTail, df1_2_df2_76, 1.3, 2.0, 76.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(upperTail, df1_12_df2_522, 0.9, 12.0, 522.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(upperTail, df1_2_df2_4990, 1.1, 2.0, 4990.0)->Unit(benchmark::kMicrosecond);
