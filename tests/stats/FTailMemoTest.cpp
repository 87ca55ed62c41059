// The memo of a compute's F tails must hand back, for every argument, exactly what the
// distribution routine returns: arguments that differ in one bit or only in their order are
// different tails, and a memo that is full or was cleared must still answer correctly.

#include "stats/FTailMemo.h"

#include "numeric/FDistribution.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

struct Arguments {
    double f;
    double dfn;
    double dfd;
};

std::uint64_t bitsOf(double x)
{
    return std::bit_cast<std::uint64_t>(x);
}

void expectSameTails(FTailMemo& memo, const std::vector<Arguments>& calls)
{
    for (const Arguments& a : calls) {
        EXPECT_EQ(bitsOf(memo.upperTail(a.f, a.dfn, a.dfd)), bitsOf(fUpperTail(a.f, a.dfn, a.dfd)))
            << "f " << a.f << ", df " << a.dfn << " and " << a.dfd;
    }
}

TEST(FTailMemo, EveryTailIsTheDistributionsOwn)
{
    const double f = 2.5;
    const double nextF = std::nextafter(f, 3.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Repeats, the df swapped, F one ulp apart, a NaN F and more distinct tails than one
    // compute asks for, twice over so that the second round meets a full memo.
    const std::vector<Arguments> calls = {
        {f, 2.0, 37.0},   {f, 2.0, 37.0},   {f, 37.0, 2.0},   {nextF, 2.0, 37.0},
        {nan, 2.0, 37.0}, {nan, 2.0, 37.0}, {f, 1.0, 38.0},   {0.5, 2.0, 37.0},
        {4.0, 3.0, 10.0}, {4.0, 3.0, 11.0}, {9.0, 1.5, 20.5}, {0.1, 6.0, 60.0},
        {f, 2.0, 37.0},   {f, 37.0, 2.0},   {0.1, 6.0, 60.0}, {nextF, 2.0, 37.0},
    };
    FTailMemo memo;
    expectSameTails(memo, calls);
    memo.clear();
    expectSameTails(memo, {{nextF, 2.0, 37.0}, {f, 2.0, 37.0}, {f, 2.0, 36.0}});
}

} // namespace
