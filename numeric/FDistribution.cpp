#include "numeric/FDistribution.h"

#include <boost/math/policies/policy.hpp>
#include <boost/math/special_functions/beta.hpp>

#include <cmath>
#include <limits>

// The standalone mathematics library of the R project: its pbeta is Didonato and Morris'
// Algorithm 708 for the incomplete beta ratio, which keeps no state between calls.
#define MATHLIB_STANDALONE
#include <Rmath.h>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double epsilon = std::numeric_limits<double>::epsilon();

// Error codes of bratio, numbered as in Didonato and Morris' Algorithm 708; code 1 also
// covers NaN and infinite parameters, which that algorithm does not consider.
constexpr std::int32_t negativeParameter = 1;
constexpr std::int32_t bothParametersZero = 2;
constexpr std::int32_t xOutOfRange = 3;
constexpr std::int32_t yOutOfRange = 4;
constexpr std::int32_t xPlusYNotOne = 5;
constexpr std::int32_t xAndAZero = 6;
constexpr std::int32_t yAndBZero = 7;

// The comparisons are written so that NaN fails them: !(a >= 0) is true for NaN, a < 0 is not.
std::int32_t bratioArgumentError(double a, double b, double x, double y)
{
    if (!(a >= 0.0))
        return negativeParameter;
    if (!(b >= 0.0))
        return negativeParameter;
    if (std::isinf(a))
        return negativeParameter;
    if (std::isinf(b))
        return negativeParameter;
    if (a == 0.0 && b == 0.0)
        return bothParametersZero;
    if (!(x >= 0.0))
        return xOutOfRange;
    if (!(x <= 1.0))
        return xOutOfRange;
    if (!(y >= 0.0))
        return yOutOfRange;
    if (!(y <= 1.0))
        return yOutOfRange;
    // x and y are each rounded once by the caller, so their sum may be off by a few ulps.
    if (std::fabs(x + y - 1.0) > 3.0 * epsilon)
        return xPlusYNotOne;
    if (x == 0.0 && a == 0.0)
        return xAndAZero;
    if (y == 0.0 && b == 0.0)
        return yAndBZero;
    return 0;
}

// Every Boost.Math error is turned into a returned value (NaN, infinity or the best value
// reached) instead of an exception: a simulation worker must never unwind because one
// sample had degenerate statistics.
namespace bmp = boost::math::policies;
using NoThrowPolicy =
    bmp::policy<bmp::domain_error<bmp::ignore_error>, bmp::pole_error<bmp::ignore_error>,
                bmp::overflow_error<bmp::ignore_error>, bmp::underflow_error<bmp::ignore_error>,
                bmp::denorm_error<bmp::ignore_error>, bmp::evaluation_error<bmp::ignore_error>,
                bmp::rounding_error<bmp::ignore_error>,
                bmp::indeterminate_result_error<bmp::ignore_error>>;

// One tail of I_x(a, b), lower or upper, for x <= 1/2.
// Algorithm 708 takes 0.1 to 0.3 µs and is accurate to about 3e-13 relative down to tails of
// 1e-200; below that it forms its result from factors near the underflow limit and was seen
// to lose up to six digits (at 1e-283). Boost.Math, evaluating in long double, keeps those
// extreme tails to about 1e-14 but costs 1 to 10 µs, so it serves only where they occur,
// far outside the p values of any simulation.
double incompleteBetaTail(double x, double a, double b, bool lower)
{
    constexpr double smallestFastTail = 1e-150;
    const double tail = pbeta(x, a, b, lower ? 1 : 0, 0);
    if (tail >= smallestFastTail) {
        return tail;
    }
    const NoThrowPolicy noThrow;
    return lower ? boost::math::ibeta(a, b, x, noThrow) : boost::math::ibetac(a, b, x, noThrow);
}

// One tail of I_x(a, b) for arguments bratio accepts (y = 1 - x): the lower I_x(a, b) or the
// upper 1 - I_x(a, b). Each tail is an evaluation of Algorithm 708 of its own, so a caller
// that reads one tail pays for one.
double ratioTail(double a, double b, double x, double y, bool lower)
{
    // The limits where one tail is exactly 0 need no evaluation.
    if (x == 0.0 || b == 0.0) {
        return lower ? 0.0 : 1.0;
    }
    if (y == 0.0 || a == 0.0) {
        return lower ? 1.0 : 0.0;
    }
    // By symmetry I_1/2(a, a) is exactly one half; the series would miss it by a few ulps
    // for small a (the median of F with equal degrees of freedom is exactly 1).
    if (a == b && x == y) {
        return 0.5;
    }
    // pbeta forms 1 - x itself, which is exact enough only while x <= 1/2. A small y
    // therefore goes in as the argument of the mirrored ratio, I_x(a, b) = 1 - I_y(b, a),
    // so that it reaches the algorithm unrounded. Either tail is computed directly.
    if (x <= y) {
        return incompleteBetaTail(x, a, b, lower);
    }
    return incompleteBetaTail(y, b, a, !lower);
}

// cdff's status for f, dfn and dfd (which 1): 0, or -4, -5, -6 for the first refused one.
std::int32_t fArgumentStatus(double f, double dfn, double dfd)
{
    if (f < 0.0) {
        return -4;
    }
    if (dfn <= 0.0) {
        return -5;
    }
    if (dfd <= 0.0) {
        return -6;
    }
    return 0;
}

// P(F' > f) when upper, else P(F' <= f), for any f and degrees of freedom cumf takes.
double fTail(double f, double dfn, double dfd, bool upper)
{
    if (f <= 0.0) {
        return upper ? 1.0 : 0.0;
    }
    // With X = dfn F / (dfn F + dfd) ~ Beta(dfn/2, dfd/2), P(F' > f) = I_xx(dfd/2, dfn/2)
    // for xx = dfd / (dfd + dfn f) = 1 - X. Of xx and yy = 1 - xx the smaller one is formed
    // as a quotient and the other as 1 minus it: forming the larger one first and
    // subtracting would leave a small xx or yy with only the absolute accuracy of 1 ulp of 1.
    // f = +infinity gives dsum = +infinity, xx = 0 and so an upper tail of 0.
    const double prod = dfn * f;
    const double dsum = dfd + prod;
    double xx = dfd / dsum;
    double yy = 0.0;
    if (xx > 0.5) {
        yy = prod / dsum;
        xx = 1.0 - yy;
    } else {
        yy = 1.0 - xx;
    }
    const double a = dfd / 2.0;
    const double b = dfn / 2.0;
    // An argument bratio refuses (NaN, infinite degrees of freedom) gives NaN in both tails.
    if (bratioArgumentError(a, b, xx, yy) != 0) {
        return notANumber;
    }
    // The upper tail of F is the lower tail of that ratio.
    return ratioTail(a, b, xx, yy, upper);
}

} // namespace

void cdff(std::int32_t& which, double& p, double& q, double& f, double& dfn, double& dfd,
          std::int32_t& status, double& bound)
{
    status = 0;
    bound = 0.0;
    if (which < 1) {
        status = -1;
        bound = 1.0;
        return;
    }
    if (which > 4) {
        status = -1;
        bound = 4.0;
        return;
    }
    // The searches for f, dfn or dfd (which 2..4) have no caller; they are refused as if
    // which were below its only supported value.
    if (which != 1) {
        status = -1;
        bound = 1.0;
        return;
    }
    status = fArgumentStatus(f, dfn, dfd);
    if (status != 0) {
        return;
    }
    cumf(f, dfn, dfd, p, q);
}

void cumf(const double& f, const double& dfn, const double& dfd, double& cum, double& ccum)
{
    cum = fTail(f, dfn, dfd, false);
    ccum = fTail(f, dfn, dfd, true);
}

void bratio(double a, double b, double x, double y, double& w, double& w1, std::int32_t& ierr)
{
    ierr = bratioArgumentError(a, b, x, y);
    if (ierr != 0) {
        w = notANumber;
        w1 = notANumber;
        return;
    }
    w = ratioTail(a, b, x, y, true);
    w1 = ratioTail(a, b, x, y, false);
}

double fUpperTail(double f, double dfn, double dfd)
{
    // The upper tail alone: cdff would evaluate the lower one as well.
    if (fArgumentStatus(f, dfn, dfd) != 0) {
        return notANumber;
    }
    return fTail(f, dfn, dfd, true);
}
