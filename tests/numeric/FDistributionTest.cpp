#include "numeric/FDistribution.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <numbers>
#include <thread>
#include <vector>

// References are closed forms of the F distribution evaluated in long double with
// log1p/expm1, so that they are good to about 1e-18 and a 1e-12 relative tolerance on the
// code under test leaves the reference's own error out of the picture.

namespace {

constexpr double relativeTolerance = 1e-12;
constexpr double epsilon = std::numeric_limits<double>::epsilon();
constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr long double pi = std::numbers::pi_v<long double>;

struct Tails {
    double p = -99.0;
    double q = -99.0;
    std::int32_t status = -99;
    double bound = -99.0;
};

// p, q, status and bound start at sentinels so that the tests see which ones cdff wrote.
Tails callCdff(std::int32_t which, double f, double dfn, double dfd)
{
    Tails t;
    cdff(which, t.p, t.q, f, dfn, dfd, t.status, t.bound);
    return t;
}

Tails tailsOf(double f, double dfn, double dfd) { return callCdff(1, f, dfn, dfd); }

struct BetaRatio {
    double w = -99.0;
    double w1 = -99.0;
    std::int32_t ierr = -99;
};

BetaRatio callBratio(double a, double b, double x, double y)
{
    BetaRatio r;
    bratio(a, b, x, y, r.w, r.w1, r.ierr);
    return r;
}

// Both tails are compared, each relative to its own size.
void expectTails(const Tails& t, long double lower, long double upper)
{
    EXPECT_EQ(t.status, 0);
    EXPECT_NEAR(t.p, static_cast<double>(lower), relativeTolerance * static_cast<double>(lower));
    EXPECT_NEAR(t.q, static_cast<double>(upper), relativeTolerance * static_cast<double>(upper));
}

// dfn = 2: Q = (dfd / (dfd + 2 f))^(dfd / 2), valid for every real dfd > 0.
void expectDfnTwo(double f, double dfd)
{
    SCOPED_TRACE(testing::Message() << "dfn 2, dfd " << dfd << ", f " << f);
    const long double logQ = -0.5L * dfd * std::log1p(2.0L * f / dfd);
    expectTails(tailsOf(f, 2.0, dfd), -std::expm1(logQ), std::exp(logQ));
}

// dfd = 2: P = (dfn f / (2 + dfn f))^(dfn / 2), valid for every real dfn > 0.
void expectDfdTwo(double f, double dfn)
{
    SCOPED_TRACE(testing::Message() << "dfn " << dfn << ", dfd 2, f " << f);
    const long double logP = -0.5L * dfn * std::log1p(2.0L / (dfn * static_cast<long double>(f)));
    expectTails(tailsOf(f, dfn, 2.0), std::exp(logP), -std::expm1(logP));
}

} // namespace

TEST(FDistributionClosedForms, PowerFormsHoldForNonIntegerDf)
{
    for (double df : {0.4, 0.7, 2.5, 7.3, 12.25, 33.3, 150.5}) {
        for (double f : {1e-7, 0.05, 0.9, 1.0, 3.7, 42.0, 1e6}) {
            expectDfnTwo(f, df);
            expectDfdTwo(f, df);
        }
    }
}

// F(1, n) is the square of Student's t with n df: Q(f) = P(|T| > sqrt f). The two-sided t
// tails below are the textbook closed forms for n = 1, 3, 4, rewritten without cancellation.
TEST(FDistributionClosedForms, OneNumeratorDfMatchesStudentT)
{
    for (double f : {1e-6, 0.1, 1.0, 2.5, 10.0, 1e3, 1e8}) {
        SCOPED_TRACE(testing::Message() << "f " << f);
        const long double t = std::sqrt(static_cast<long double>(f));
        // n = 1, Cauchy: P(|T| <= t) = (2/pi) atan t.
        expectTails(tailsOf(f, 1.0, 1.0), 2.0L / pi * std::atan(t),
                    2.0L / pi * std::atan(1.0L / t));
        // n = 3: P(|T| <= t) = (2/pi)(theta + sin theta cos theta), theta = atan(t / sqrt 3);
        // the upper tail is the same expression in phi = pi/2 - theta, taken with a minus.
        // That difference cancels as phi -> 0, losing log10(1.5 / phi^2) of long double's 19
        // digits, about 3 at f = 1e3; larger f would spoil the reference, so they are left out.
        const long double theta = std::atan(t / std::sqrt(3.0L));
        const long double phi = std::atan(std::sqrt(3.0L) / t);
        if (f <= 1e3) {
            expectTails(tailsOf(f, 1.0, 3.0),
                        2.0L / pi * (theta + std::sin(theta) * std::cos(theta)),
                        2.0L / pi * (phi - std::sin(phi) * std::cos(phi)));
        }
        // n = 4: with u = t / sqrt(4 + t^2), P(|T| <= t) = u (3 - u^2) / 2 and the upper tail
        // (1 - u)^2 (2 + u) / 2, where 1 - u = 4 / (sqrt(4 + f) (sqrt(4 + f) + t)).
        const long double root = std::sqrt(4.0L + f);
        const long double u = t / root;
        const long double oneMinusU = 4.0L / (root * (root + t));
        expectTails(tailsOf(f, 1.0, 4.0), u * (6.0L + f) / (4.0L + f),
                    oneMinusU * oneMinusU * (2.0L + u) / 2.0L);
    }
}

// The smaller tail must not be formed as 1 minus the larger one: that would leave q near
// 1e-300 at 0 and p near 1e-15 with only one significant bit.
TEST(FDistributionClosedForms, SmallTailsKeepRelativeAccuracy)
{
    const Tails tiny = tailsOf(1.25e240, 2.0, 2.5);
    EXPECT_GT(tiny.q, 1e-301);
    EXPECT_LT(tiny.q, 1e-299);
    EXPECT_EQ(tiny.p, 1.0);
    expectDfnTwo(1.25e240, 2.5);
    expectDfnTwo(3.75e80, 7.5);

    const Tails nearOne = tailsOf(1.5e-9, 3.5, 2.0);
    EXPECT_GT(nearOne.p, 5e-16);
    EXPECT_LT(nearOne.p, 2e-15);
    expectDfdTwo(1.5e-9, 3.5);
    // q = 1 - p is representable only to the spacing of doubles below 1; one step is allowed.
    const long double logP = -1.75L * std::log1p(2.0L / (3.5L * 1.5e-9L));
    EXPECT_NEAR(nearOne.q, static_cast<double>(-std::expm1(logP)), epsilon / 2);
    EXPECT_LT(nearOne.q, 1.0);
    expectDfnTwo(1e-15, 5.5);
}

// Published 5 % and 1 % critical values of the F distribution (upper-tail tables printed to
// two decimals). The printed value is the true one rounded, so the true critical value lies
// within 0.005 of it: alpha must lie between the upper tails 0.005 either side.
TEST(FDistributionPublishedTables, CriticalValuesAgreeToPrintedPrecision)
{
    struct Entry {
        double alpha, dfn, dfd, critical;
    };
    const Entry table[] = {
        {0.05, 1, 10, 4.96}, {0.05, 1, 120, 3.92}, {0.05, 2, 10, 4.10}, {0.05, 3, 20, 3.10},
        {0.05, 4, 12, 3.26}, {0.05, 5, 30, 2.53},  {0.05, 10, 10, 2.98}, {0.05, 10, 20, 2.35},
        {0.01, 1, 10, 10.04}, {0.01, 1, 20, 8.10}, {0.01, 2, 10, 7.56}, {0.01, 2, 30, 5.39},
        {0.01, 3, 20, 4.94}, {0.01, 4, 12, 5.41}, {0.01, 5, 30, 3.70}, {0.01, 10, 10, 4.85},
    };
    for (const Entry& e : table) {
        SCOPED_TRACE(testing::Message() << "F(" << e.dfn << ", " << e.dfd << ") at " << e.alpha);
        EXPECT_GT(fUpperTail(e.critical - 0.005, e.dfn, e.dfd), e.alpha);
        EXPECT_LT(fUpperTail(e.critical + 0.005, e.dfn, e.dfd), e.alpha);
    }
}

// Exact special values, to a few machine epsilons, and p + q = 1 over a grid.
TEST(FDistributionIdentities, ExactValuesAndComplementarity)
{
    for (double df : {0.3, 1.0, 3.7, 10.0, 250.5}) {
        SCOPED_TRACE(testing::Message() << "df " << df);
        const Tails zero = tailsOf(0.0, df, df + 1.5);
        EXPECT_EQ(zero.p, 0.0);
        EXPECT_EQ(zero.q, 1.0);
        EXPECT_EQ(zero.status, 0);
        EXPECT_EQ(zero.bound, 0.0);
        double cum = -99.0;
        double ccum = -99.0;
        cumf(-3.0, df, df + 1.5, cum, ccum);
        EXPECT_EQ(cum, 0.0);
        EXPECT_EQ(ccum, 1.0);
        const Tails infinite = tailsOf(infinity, df, df + 1.5);
        EXPECT_EQ(infinite.p, 1.0);
        EXPECT_EQ(infinite.q, 0.0);
        // F(d, d) is symmetric under f -> 1/f, so f = 1 is its median.
        const Tails median = tailsOf(1.0, df, df);
        EXPECT_NEAR(median.p, 0.5, 2 * epsilon);
        EXPECT_NEAR(median.q, 0.5, 2 * epsilon);
    }
    for (double dfn : {0.6, 2.0, 5.5, 40.0}) {
        for (double dfd : {0.9, 3.0, 17.25, 400.0}) {
            for (double f : {0.125, 0.5, 1.0, 4.0, 32.0}) {
                SCOPED_TRACE(testing::Message() << "f " << f << ", dfn " << dfn << ", dfd " << dfd);
                const Tails t = tailsOf(f, dfn, dfd);
                EXPECT_NEAR(t.p + t.q, 1.0, 4 * epsilon);
            }
        }
    }
}

// Refused arguments set status and bound and leave the tails unchanged.
TEST(FDistributionArguments, RefusedArgumentsAndNanGiveNoNumbers)
{
    struct Case {
        std::int32_t which;
        double f, dfn, dfd;
        std::int32_t status;
        double bound;
    };
    const Case cases[] = {
        {0, 1.0, 2.0, 3.0, -1, 1.0},    {-7, 1.0, 2.0, 3.0, -1, 1.0},  {5, 1.0, 2.0, 3.0, -1, 4.0},
        {2, 1.0, 2.0, 3.0, -1, 1.0},    {3, 1.0, 2.0, 3.0, -1, 1.0},   {4, 1.0, 2.0, 3.0, -1, 1.0},
        {1, -1e-300, 2.0, 3.0, -4, 0.0}, {1, 1.0, 0.0, 3.0, -5, 0.0},  {1, 1.0, -2.5, 3.0, -5, 0.0},
        {1, 1.0, 2.0, 0.0, -6, 0.0},    {1, 1.0, 2.0, -1.0, -6, 0.0},
        // Several faults at once: which is checked first, then f, dfn, dfd.
        {0, -1.0, 0.0, 0.0, -1, 1.0},   {1, -1.0, 0.0, 0.0, -4, 0.0},  {1, 1.0, 0.0, 0.0, -5, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "which " << c.which << ", f " << c.f << ", dfn " << c.dfn
                                        << ", dfd " << c.dfd);
        const Tails t = callCdff(c.which, c.f, c.dfn, c.dfd);
        EXPECT_EQ(t.status, c.status);
        EXPECT_EQ(t.bound, c.bound);
        EXPECT_EQ(t.p, -99.0);
        EXPECT_EQ(t.q, -99.0);
    }
    // fUpperTail reports a refused argument as NaN, and otherwise passes cdff's q on.
    EXPECT_TRUE(std::isnan(fUpperTail(-1.0, 2.0, 3.0)));
    EXPECT_TRUE(std::isnan(fUpperTail(1.0, 0.0, 3.0)));
    EXPECT_TRUE(std::isnan(fUpperTail(1.0, 2.0, -3.0)));
    EXPECT_EQ(fUpperTail(3.7, 2.5, 6.0), tailsOf(3.7, 2.5, 6.0).q);

    // NaN passes every argument check (no comparison with NaN holds); it must come out as
    // NaN tails rather than as a plausible number or a crash. Infinite df are treated alike.
    for (const Tails& t : {tailsOf(notANumber, 2.0, 3.0), tailsOf(2.0, notANumber, 3.0),
                           tailsOf(2.0, 2.0, notANumber), tailsOf(2.0, infinity, 3.0),
                           tailsOf(2.0, 2.0, infinity)}) {
        EXPECT_EQ(t.status, 0);
        EXPECT_TRUE(std::isnan(t.p)) << t.p;
        EXPECT_TRUE(std::isnan(t.q)) << t.q;
    }
}

// I_x(a, 1) = x^a and I_x(1, b) = 1 - (1 - x)^b. With x = 1 exactly and y = 1e-20, only y
// carries the information; a tail taken from x would be 0 instead of about 3e-20.
TEST(FDistributionBratio, SmallArgumentIsUsedDirectly)
{
    const BetaRatio smallY = callBratio(3.0, 1.0, 1.0, 1e-20);
    EXPECT_EQ(smallY.ierr, 0);
    EXPECT_EQ(smallY.w, 1.0);
    const double tailY = static_cast<double>(-std::expm1(3.0L * std::log1p(-1e-20L)));
    EXPECT_NEAR(smallY.w1, tailY, relativeTolerance * tailY);

    const BetaRatio smallX = callBratio(2.5, 1.0, 1e-20, 1.0);
    EXPECT_EQ(smallX.ierr, 0);
    EXPECT_NEAR(smallX.w, std::pow(1e-20, 2.5), relativeTolerance * std::pow(1e-20, 2.5));
    EXPECT_EQ(smallX.w1, 1.0);

    const BetaRatio middle = callBratio(1.0, 4.5, 0.25, 0.75);
    const double lower = static_cast<double>(-std::expm1(4.5L * std::log(0.75L)));
    EXPECT_NEAR(middle.w, lower, relativeTolerance * lower);
    EXPECT_NEAR(middle.w1, std::pow(0.75, 4.5), relativeTolerance * std::pow(0.75, 4.5));
}

// Error codes as in Algorithm 708, with NaN in both results. A zero parameter is valid and
// puts all mass at one end (Beta(0, b) at 0, Beta(a, 0) at 1), as does x or y = 0.
TEST(FDistributionBratio, ErrorCodesAndDegenerateLimits)
{
    struct Case {
        double a, b, x, y;
        std::int32_t ierr;
        double w, w1;
    };
    const double nan = notANumber;
    const Case cases[] = {
        {-1.0, 2.0, 0.5, 0.5, 1, nan, nan},     {2.0, nan, 0.5, 0.5, 1, nan, nan},
        {infinity, 2.0, 0.5, 0.5, 1, nan, nan}, {0.0, 0.0, 0.5, 0.5, 2, nan, nan},
        {2.0, 2.0, -0.1, 1.1, 3, nan, nan},     {2.0, 2.0, nan, 0.5, 3, nan, nan},
        {2.0, 2.0, 0.5, 1.5, 4, nan, nan},      {2.0, 2.0, 0.5, 0.5 + 1e-12, 5, nan, nan},
        {0.0, 2.0, 0.0, 1.0, 6, nan, nan},      {2.0, 0.0, 1.0, 0.0, 7, nan, nan},
        {0.0, 2.0, 0.3, 0.7, 0, 1.0, 0.0},      {2.0, 0.0, 0.3, 0.7, 0, 0.0, 1.0},
        {2.0, 3.0, 0.0, 1.0, 0, 0.0, 1.0},      {2.0, 3.0, 1.0, 0.0, 0, 1.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "a " << c.a << ", b " << c.b << ", x " << c.x
                                        << ", y " << c.y);
        const BetaRatio r = callBratio(c.a, c.b, c.x, c.y);
        EXPECT_EQ(r.ierr, c.ierr);
        if (c.ierr != 0) {
            EXPECT_TRUE(std::isnan(r.w)) << r.w;
            EXPECT_TRUE(std::isnan(r.w1)) << r.w1;
        } else {
            EXPECT_EQ(r.w, c.w);
            EXPECT_EQ(r.w1, c.w1);
        }
    }
}

// The simulation calls cdff from every worker at once; any shared working storage would
// show as differing bits here (and as a report under ThreadSanitizer).
TEST(FDistributionThreads, ConcurrentCallsMatchSingleThreadedResults)
{
    auto computeAll = [](std::vector<double>& out) {
        for (int repeat = 0; repeat < 50; ++repeat) {
            out.clear();
            for (double dfn : {0.7, 2.0, 4.5, 33.3}) {
                for (double dfd : {1.0, 6.25, 80.0}) {
                    for (double f : {1e-8, 0.3, 1.0, 2.9, 1e5}) {
                        const Tails t = tailsOf(f, dfn, dfd);
                        out.insert(out.end(), {t.p, t.q});
                    }
                }
            }
        }
    };
    std::vector<double> expected;
    computeAll(expected);

    constexpr int threadCount = 8;
    std::vector<std::vector<double>> results(threadCount);
    std::vector<std::thread> threads;
    for (std::vector<double>& result : results) {
        threads.emplace_back(computeAll, std::ref(result));
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const std::vector<double>& result : results) {
        EXPECT_EQ(result, expected);
    }
}
