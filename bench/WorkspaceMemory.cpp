// Resident memory of LapackWorkspace owners. Every engine, sample generator, design and
// table owns a workspace that grows to the largest LAPACK call it served; idle owners must
// cost next to nothing. The
// counters report the process's resident set (VmRSS) before and while ten workspaces
// are alive, and after each has served one small LAPACK call.

#include "numeric/LapackWorkspace.h"
#include "numeric/RealMatrix.h"

#include <benchmark/benchmark.h>

#include <array>
#include <fstream>
#include <memory>
#include <string>

namespace {

double residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kib = 0.0;
            status >> kib;
            return kib;
        }
        status.ignore(4096, '\n');
    }
    return -1.0;
}

void BM_TenWorkspacesResident(benchmark::State& state)
{
    double before = 0.0;
    double holding = 0.0;
    double used = 0.0;
    for (auto _ : state) {
        before = residentKiB();
        std::array<std::unique_ptr<LapackWorkspace>, 10> owners;
        for (auto& owner : owners) {
            owner = std::make_unique<LapackWorkspace>();
        }
        holding = residentKiB();
        for (auto& owner : owners) {
            RealMatrix a(6, 6, owner.get());
            for (std::int32_t k = 0; k < 6; ++k) {
                a.set(k, k, k + 1.0);
            }
            RealMatrix inverse(owner.get());
            benchmark::DoNotOptimize(a.symmetricPseudoInverse(inverse));
            benchmark::DoNotOptimize(inverse.get(0, 0));
        }
        used = residentKiB();
    }
    state.counters["rss_before_KiB"] = before;
    state.counters["rss_holding_KiB"] = holding;
    state.counters["rss_after_use_KiB"] = used;
}
BENCHMARK(BM_TenWorkspacesResident)->Iterations(1);

} // namespace
