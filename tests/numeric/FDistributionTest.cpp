#include "numeric/FDistribution.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <ostream>
#include <thread>
#include <vector>

// References: closed forms in long double with log1p/expm1, good to about 1e-18.

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

struct Tails {
    double p = -99.0;
    double q = -99.0;
    std::int32_t status = -99;
    double bound = -99.0;
    bool operator==(const Tails&) const = default;
};

void PrintTo(const Tails& t, std::ostream* out)
{
    *out << "p " << t.p << ", q " << t.q << ", status " << t.status << ", bound " << t.bound;
}

// Sentinels show which outputs cdff wrote.
Tails callCdff(std::int32_t which, double f, double dfn, double dfd)
{
    Tails t;
    cdff(which, t.p, t.q, f, dfn, dfd, t.status, t.bound);
    return t;
}

Tails tailsOf(double f, double dfn, double dfd)
{
    return callCdff(1, f, dfn, dfd);
}

void expectTails(const Tails& t, long double lower, long double upper)
{
    EXPECT_EQ(t.status, 0);
    EXPECT_NEAR(t.p, static_cast<double>(lower), 1e-12 * static_cast<double>(lower));
    EXPECT_NEAR(t.q, static_cast<double>(upper), 1e-12 * static_cast<double>(upper));
}

// dfn = 2: Q = (dfd / (dfd + 2 f))^(dfd / 2) for every real dfd > 0.
void expectDfnTwo(double f, double dfd)
{
    SCOPED_TRACE(testing::Message() << "dfn 2, dfd " << dfd << ", f " << f);
    const long double logQ = -0.5L * dfd * std::log1p(2.0L * f / dfd);
    expectTails(tailsOf(f, 2.0, dfd), -std::expm1(logQ), std::exp(logQ));
}

// dfd = 2: P = (dfn f / (2 + dfn f))^(dfn / 2) for every real dfn > 0.
void expectDfdTwo(double f, double dfn)
{
    SCOPED_TRACE(testing::Message() << "dfn " << dfn << ", dfd 2, f " << f);
    const long double logP = -0.5L * dfn * std::log1p(2.0L / (dfn * static_cast<long double>(f)));
    expectTails(tailsOf(f, dfn, 2.0), std::exp(logP), -std::expm1(logP));
}

} // namespace

TEST(FDistributionClosedForms, PowerFormsHoldForNonIntegerDf)
{
    for (double df : {0.4, 2.5, 7.3, 33.3, 150.5}) {
        for (double f : {1e-7, 0.05, 1.0, 3.7, 1e6}) {
            expectDfnTwo(f, df);
            expectDfdTwo(f, df);
        }
    }
}

// The smaller tail must not be formed as 1 minus the larger one.
TEST(FDistributionClosedForms, SmallTailsKeepRelativeAccuracy)
{
    const Tails tiny = tailsOf(1.25e240, 2.0, 2.5);
    EXPECT_GT(tiny.q, 1e-301);
    EXPECT_LT(tiny.q, 1e-299);
    expectDfnTwo(1.25e240, 2.5);

    const Tails nearOne = tailsOf(1.5e-9, 3.5, 2.0);
    EXPECT_GT(nearOne.p, 5e-16);
    EXPECT_LT(nearOne.p, 2e-15);
    expectDfdTwo(1.5e-9, 3.5);
    // q = 1 - p only to the spacing of doubles below 1: half an epsilon.
    const long double logP = -1.75L * std::log1p(2.0L / (3.5L * 1.5e-9L));
    EXPECT_NEAR(nearOne.q, static_cast<double>(-std::expm1(logP)), 1.2e-16);
}

TEST(FDistributionIdentities, ZeroAndInfiniteF)
{
    for (double df : {0.3, 1.0, 250.5}) {
        EXPECT_EQ(tailsOf(0.0, df, df + 1.5), (Tails{0.0, 1.0, 0, 0.0})) << df;
        EXPECT_EQ(tailsOf(infinity, df, df + 1.5), (Tails{1.0, 0.0, 0, 0.0})) << df;
    }
}

// Refused arguments set status and bound and leave the tails unchanged; NaN gives NaN tails.
TEST(FDistributionArguments, RefusedArgumentsAndNanGiveNoNumbers)
{
    const struct {
        std::int32_t which;
        double f, dfn, dfd;
        std::int32_t status;
        double bound;
    } cases[] = {
        {0, 1.0, 2.0, 3.0, -1, 1.0},     {5, 1.0, 2.0, 3.0, -1, 4.0},  {2, 1.0, 2.0, 3.0, -1, 1.0},
        {1, -1e-300, 2.0, 3.0, -4, 0.0}, {1, 1.0, 0.0, 3.0, -5, 0.0},  {1, 1.0, 2.0, -1.0, -6, 0.0},
        {0, -1.0, 0.0, 0.0, -1, 1.0},    {1, -1.0, 0.0, 0.0, -4, 0.0}, // which, then f, dfn, dfd
    };
    for (const auto& c : cases)
        EXPECT_EQ(callCdff(c.which, c.f, c.dfn, c.dfd),
                  (Tails{.status = c.status, .bound = c.bound}))
            << "which " << c.which << ", f " << c.f;
    EXPECT_TRUE(std::isnan(fUpperTail(1.0, 0.0, 3.0)));
    for (const Tails& t : {tailsOf(notANumber, 2.0, 3.0), tailsOf(2.0, 2.0, notANumber),
                           tailsOf(2.0, infinity, 3.0)}) {
        EXPECT_EQ(t.status, 0);
        EXPECT_TRUE(std::isnan(t.p)) << t.p;
        EXPECT_TRUE(std::isnan(t.q)) << t.q;
    }
}

// fUpperTail evaluates only the upper tail, which must be cdff's q to the bit: in both
// branches of the mirrored ratio (xx above and below 1/2), at the limits, at equal df with F
// at its median, down to the extreme tails that take the slow path, and for NaN.
TEST(FDistributionArguments, UpperTailAloneIsCdffsUpperTail)
{
    for (double dfn : {0.4, 1.0, 2.5, 12.0, 250.5}) {
        for (double dfd : {0.7, 2.5, 19.0, 4990.0}) {
            for (double f : {0.0, 1e-9, 0.03, 1.0, 2.7, 40.0, 1e8, 1e240, infinity, notANumber}) {
                const double q = tailsOf(f, dfn, dfd).q;
                const double alone = fUpperTail(f, dfn, dfd);
                if (std::isnan(q)) {
                    EXPECT_TRUE(std::isnan(alone)) << f << ", " << dfn << ", " << dfd;
                } else {
                    EXPECT_EQ(alone, q) << f << ", " << dfn << ", " << dfd;
                }
            }
        }
    }
    EXPECT_EQ(fUpperTail(1.0, 2.5, 2.5), 0.5);
    EXPECT_TRUE(std::isnan(fUpperTail(2.0, infinity, 3.0)));
}

// The simulation calls cdff from every worker at once; shared scratch would change bits.
TEST(FDistributionThreads, ConcurrentCallsMatchSingleThreadedResults)
{
    auto computeAll = [](std::vector<double>& out) {
        for (int repeat = 0; repeat < 50; ++repeat) {
            out.clear();
            for (double dfn : {0.7, 4.5, 33.3}) {
                for (double f : {1e-8, 0.3, 2.9, 1e5}) {
                    const Tails t = tailsOf(f, dfn, 6.25);
                    out.insert(out.end(), {t.p, t.q});
                }
            }
        }
    };
    std::vector<double> expected;
    computeAll(expected);
    std::vector<std::vector<double>> results(8);
    std::vector<std::thread> threads;
    for (std::vector<double>& result : results)
        threads.emplace_back(computeAll, std::ref(result));
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(results, std::vector<std::vector<double>>(8, expected));
}
