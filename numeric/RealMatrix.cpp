#include "numeric/RealMatrix.h"

#include "numeric/Lapack.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using lapack::Int;

// LAPACK rejects a leading dimension below 1 even for an empty matrix (and the reference
// implementation stops the process on such an error), so empty shapes pass 1.
Int leading(Int rows)
{
    return std::max<Int>(1, rows);
}

// LAPACK's blocked routines run fastest with a work array of about (block size + a few)
// times the matrix dimension; their block sizes are at most 64. Less than that, down to
// each routine's documented minimum, only makes them fall back to unblocked code.
constexpr std::int64_t BLOCK = 64;

// LWORK for a call: the blocked size, at least the minimum, as long as it fits LAPACK's
// 32-bit integers; nothing when not even the minimum does.
std::optional<Int> workLength(std::int64_t minimum, std::int64_t blocked)
{
    constexpr std::int64_t largest = std::numeric_limits<Int>::max();
    if (minimum > largest)
        return std::nullopt;
    return static_cast<Int>(std::min(std::max(minimum, blocked), largest));
}

// Where the factors of a product lie in the storage of its operands (see multiply).
struct Strides {
    std::size_t aStepI;
    std::size_t aStepL;
    std::size_t bStepL;
};

// Elements of a product column formed side by side: each is one chain of additions that
// must wait for its own previous sum, and independent chains overlap.
constexpr std::int32_t PRODUCT_BLOCK = 4;

// c[r] := Σ_l op(A)(i + r, l)·op(B)(l, j) for r < ROWS, l = 0 .. k-1 in order, from a at
// op(A)(i, 0) and b at op(B)(0, j).
template <std::int32_t ROWS>
void sumProducts(const double* a, const double* b, std::int32_t k, const Strides& strides,
                 double* c)
{
    double sums[ROWS] = {};
    for (std::int32_t l = 0; l < k; ++l) {
        const double factor = b[l * strides.bStepL];
        const double* terms = a + l * strides.aStepL;
        for (std::int32_t r = 0; r < ROWS; ++r) {
            sums[r] += terms[r * strides.aStepI] * factor;
        }
    }
    std::copy_n(sums, ROWS, c);
}

} // namespace

double zeroTolerance(std::int32_t n, double largest)
{
    return static_cast<double>(n) * std::numeric_limits<double>::epsilon() * largest;
}

double symmetricZeroBound(const double* ascendingEigenvalues, std::int32_t n, double floor)
{
    assert(n > 0);
    // In ascending order the largest absolute value is at one end.
    const double largest =
        std::max(std::fabs(ascendingEigenvalues[0]), std::fabs(ascendingEigenvalues[n - 1]));
    return std::max(zeroTolerance(n, largest), floor);
}

RealMatrix::RealMatrix(LapackWorkspace* workspace) : lapack(workspace)
{
}

RealMatrix::RealMatrix(std::int32_t rowCount, std::int32_t colCount, LapackWorkspace* workspace)
    : GeneralMatrix<double>(rowCount, colCount), lapack(workspace)
{
}

void RealMatrix::multiply(const RealMatrix& B, RealMatrix& C, bool transA, bool transB) const
{
    assert(&C != this && &C != &B);
    const std::int32_t m = transA ? cols : rows;
    const std::int32_t n = transB ? B.rows : B.cols;
    const std::int32_t k = transA ? rows : cols;
    assert(k == (transB ? B.cols : B.rows));
    C.resize(m, n);
    // The products here have a few rows (contrasts, cells, transformed variables), where
    // calling dgemm cost more than the arithmetic. Every element is summed over the inner
    // index from the first term on, starting at 0, as the reference dgemm sums it, so the
    // bits are the same. op(A)(i, l) is at i·aStepI + l·aStepL of A's storage, op(B)(l, j)
    // at l·bStepL + j·bStepJ of B's.
    const Strides strides{transA ? static_cast<std::size_t>(rows) : 1,
                          transA ? 1 : static_cast<std::size_t>(rows),
                          transB ? static_cast<std::size_t>(B.rows) : 1};
    const std::size_t bStepJ = transB ? 1 : static_cast<std::size_t>(B.rows);
    for (std::int32_t j = 0; j < n; ++j) {
        const double* columnOfB = B.data.get() + j * bStepJ;
        double* columnOfC = C.data.get() + static_cast<std::size_t>(m) * j;
        std::int32_t i = 0;
        for (; i + PRODUCT_BLOCK <= m; i += PRODUCT_BLOCK) {
            sumProducts<PRODUCT_BLOCK>(data.get() + i * strides.aStepI, columnOfB, k, strides,
                                       columnOfC + i);
        }
        for (; i < m; ++i) {
            sumProducts<1>(data.get() + i * strides.aStepI, columnOfB, k, strides, columnOfC + i);
        }
    }
}

std::optional<std::int32_t> RealMatrix::symmetricPseudoInverse(RealMatrix& out, double floor) const
{
    assert(&out != this);
    assert(rows == cols);
    const Int n = rows;
    out.resize(n, n);
    if (n == 0) {
        return 0;
    }
    // The front of the workspace holds the copy that dsyev turns into the eigenvectors and
    // then the eigenvalues; dsyev works in the rest.
    const std::size_t squareSize = static_cast<std::size_t>(n) * n;
    const std::optional<Int> lwork = workLength(3 * std::int64_t{n} - 1, (BLOCK + 2) * n);
    if (!lwork)
        return std::nullopt;
    double* vectors = lapack->reserve(squareSize + static_cast<std::size_t>(n) +
                                      static_cast<std::size_t>(*lwork));
    double* values = vectors + squareSize;
    double* work = values + n;
    std::copy_n(data.get(), squareSize, vectors);
    if (!lapack::dsyev(lapack::Vectors::Wanted, lapack::Triangle::Upper, n, vectors, leading(n),
                       values, work, *lwork))
        return std::nullopt;
    const double tolerance = symmetricZeroBound(values, n, floor);
    // A⁺ = Σ v_k v_kᵀ / λ_k over the eigenvalues above the tolerance in absolute value;
    // the upper triangle is summed and mirrored.
    std::int32_t rank = 0;
    for (Int k = 0; k < n; ++k) {
        if (std::fabs(values[k]) <= tolerance) {
            continue;
        }
        ++rank;
        const double* v = vectors + static_cast<std::size_t>(n) * k;
        for (Int j = 0; j < n; ++j) {
            const double scaled = v[j] / values[k];
            for (Int i = 0; i <= j; ++i) {
                out.at(i, j) += v[i] * scaled;
            }
        }
    }
    for (Int j = 0; j < n; ++j) {
        for (Int i = j + 1; i < n; ++i) {
            out.set(i, j, out.get(j, i));
        }
    }
    return rank;
}

bool RealMatrix::symmetricEigenvalues(double* out) const
{
    assert(rows == cols);
    const Int n = rows;
    if (n == 0) {
        return true;
    }
    const std::size_t squareSize = static_cast<std::size_t>(n) * n;
    const std::optional<Int> lwork = workLength(3 * std::int64_t{n} - 1, (BLOCK + 2) * n);
    if (!lwork)
        return false;
    // The copy that dsyev reduces at the front of the workspace; dsyev works in the rest.
    double* copy = lapack->reserve(squareSize + static_cast<std::size_t>(*lwork));
    std::copy_n(data.get(), squareSize, copy);
    return lapack::dsyev(lapack::Vectors::None, lapack::Triangle::Upper, n, copy, leading(n), out,
                         copy + squareSize, *lwork);
}

bool RealMatrix::reduceByFactor(const RealMatrix& upperFactor, RealMatrix& out) const
{
    assert(&out != this && &out != &upperFactor);
    assert(rows == cols && upperFactor.rows == rows && upperFactor.cols == cols);
    out.copyFrom(*this);
    if (rows == 0) {
        return true;
    }
    return lapack::dsygst(lapack::Triangle::Upper, rows, out.data.get(), leading(rows),
                          upperFactor.data.get(), leading(rows));
}

double RealMatrix::trace() const
{
    double sum = 0.0;
    for (std::int32_t k = 0; k < rows; ++k) {
        sum += get(k, k);
    }
    return sum;
}

double RealMatrix::traceOfSquare() const
{
    assert(rows == cols);
    double sum = 0.0;
    for (std::int32_t i = 0; i < rows; ++i) {
        double diagonal = 0.0;
        for (std::int32_t l = 0; l < cols; ++l) {
            diagonal += get(i, l) * get(l, i);
        }
        sum += diagonal;
    }
    return sum;
}

void RealMatrix::divide(RealMatrix& C, double s) const
{
    C.copyFrom(*this);
    C.divideInPlace(s);
}

void RealMatrix::scaleInPlace(double s)
{
    std::for_each(data.get(), data.get() + size, [s](double& value) { value *= s; });
}

void RealMatrix::divideInPlace(double s)
{
    std::for_each(data.get(), data.get() + size, [s](double& value) { value /= s; });
}

void RealMatrix::kronecker(const RealMatrix& B, RealMatrix& C) const
{
    assert(&C != this && &C != &B);
    C.resize(rows * B.rows, cols * B.cols);
    for (std::int32_t j = 0; j < cols; ++j) {
        for (std::int32_t i = 0; i < rows; ++i) {
            const double a = get(i, j);
            for (std::int32_t l = 0; l < B.cols; ++l) {
                for (std::int32_t k = 0; k < B.rows; ++k) {
                    C.set(i * B.rows + k, j * B.cols + l, a * B.get(k, l));
                }
            }
        }
    }
}

void RealMatrix::kroneckerInPlace(const RealMatrix& B)
{
    RealMatrix product(lapack);
    kronecker(B, product);
    copyFrom(product);
}

std::int32_t RealMatrix::cholesky(RealMatrix& out) const
{
    assert(&out != this);
    out.copyFrom(*this);
    return out.choleskyInPlace();
}

std::int32_t RealMatrix::choleskyInPlace()
{
    assert(rows == cols);
    // dpotrf leaves the strict lower triangle untouched; clearing it first makes the
    // result the factor R itself.
    for (std::int32_t j = 0; j < cols; ++j) {
        for (std::int32_t i = j + 1; i < rows; ++i) {
            set(i, j, 0.0);
        }
    }
    if (rows == 0) {
        return 0;
    }
    // INFO > 0 is the order of the first leading minor that is not positive definite; the
    // arguments are valid by construction, so INFO < 0 cannot occur.
    const Int info = lapack::dpotrf(lapack::Triangle::Upper, rows, data.get(), leading(rows));
    assert(info >= 0);
    return static_cast<std::int32_t>(info);
}
