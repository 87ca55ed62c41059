#include "numeric/FDistribution.h"

#include <boost/math/policies/policy.hpp>
#include <boost/math/special_functions/beta.hpp>

#include <cmath>
#include <limits>

namespace {

// Every Boost.Math error is turned into a returned value (NaN, infinity or the best value
// reached) instead of an exception: failures are reported through ierr and status here, and
// a simulation worker must never unwind because one sample had degenerate statistics.
// The default promotion of double arguments to long double is kept on purpose: evaluated
// in double, the tails were off by up to 3e-11 relative for df in the thousands; promoted,
// by at most 2e-13 and mostly by less than 2e-16.
namespace bmp = boost::math::policies;
using NoThrowPolicy =
    bmp::policy<bmp::domain_error<bmp::ignore_error>, bmp::pole_error<bmp::ignore_error>,
                bmp::overflow_error<bmp::ignore_error>, bmp::underflow_error<bmp::ignore_error>,
                bmp::denorm_error<bmp::ignore_error>, bmp::evaluation_error<bmp::ignore_error>,
                bmp::rounding_error<bmp::ignore_error>,
                bmp::indeterminate_result_error<bmp::ignore_error>>;

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
    if (f < 0.0) {
        status = -4;
        return;
    }
    if (dfn <= 0.0) {
        status = -5;
        return;
    }
    if (dfd <= 0.0) {
        status = -6;
        return;
    }
    cumf(f, dfn, dfd, p, q);
}

void cumf(const double& f, const double& dfn, const double& dfd, double& cum, double& ccum)
{
    if (f <= 0.0) {
        cum = 0.0;
        ccum = 1.0;
        return;
    }
    // With X = dfn F / (dfn F + dfd) ~ Beta(dfn/2, dfd/2), P(F' > f) = I_xx(dfd/2, dfn/2)
    // for xx = dfd / (dfd + dfn f) = 1 - X. Of xx and yy = 1 - xx the smaller one is formed
    // as a quotient and the other as 1 minus it: forming the larger one first and
    // subtracting would leave a small xx or yy with only the absolute accuracy of 1 ulp of 1.
    // f = +infinity gives dsum = +infinity, xx = 0 and so ccum = 0, cum = 1.
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
    // ierr is not examined: an argument bratio refuses (NaN, infinite degrees of freedom)
    // already shows as NaN in both tails.
    std::int32_t ierr = 0;
    bratio(dfd / 2.0, dfn / 2.0, xx, yy, ccum, cum, ierr);
}

void bratio(double a, double b, double x, double y, double& w, double& w1, std::int32_t& ierr)
{
    ierr = bratioArgumentError(a, b, x, y);
    if (ierr != 0) {
        w = notANumber;
        w1 = notANumber;
        return;
    }
    // The limits where one tail is exactly 0; Boost.Math treats some of them as domain
    // errors, and they need no evaluation.
    if (x == 0.0 || b == 0.0) {
        w = 0.0;
        w1 = 1.0;
        return;
    }
    if (y == 0.0 || a == 0.0) {
        w = 1.0;
        w1 = 0.0;
        return;
    }
    const NoThrowPolicy noThrow;
    if (x <= y) {
        w = boost::math::ibeta(a, b, x, noThrow);
        w1 = boost::math::ibetac(a, b, x, noThrow);
    } else {
        // Evaluating at x = 1 - y would round a small y away; I_x(a, b) = 1 - I_y(b, a)
        // lets the directly computed y reach the incomplete beta unchanged.
        w = boost::math::ibetac(b, a, y, noThrow);
        w1 = boost::math::ibeta(b, a, y, noThrow);
    }
}

double fUpperTail(double f, double dfn, double dfd)
{
    std::int32_t which = 1;
    double p = notANumber;
    double q = notANumber;
    std::int32_t status = 0;
    double bound = 0.0;
    cdff(which, p, q, f, dfn, dfd, status, bound);
    if (status != 0)
        return notANumber;
    return q;
}
