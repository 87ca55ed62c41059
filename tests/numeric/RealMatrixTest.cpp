#include "numeric/RealMatrix.h"
#include "numeric/Lapack.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

namespace {

class RealMatrixTest : public ::testing::Test {
protected:
    /// A matrix from rows written as they read on paper.
    RealMatrix of(std::initializer_list<std::initializer_list<double>> rowList)
    {
        RealMatrix result(static_cast<std::int32_t>(rowList.size()),
                          static_cast<std::int32_t>(rowList.begin()->size()), &workspace);
        std::int32_t i = 0;
        for (const auto& row : rowList) {
            for (std::int32_t j = 0; const double value : row)
                result.set(i, j++, value);
            ++i;
        }
        return result;
    }
    RealMatrix product(const RealMatrix& a, const RealMatrix& b, bool transA = false,
                       bool transB = false)
    {
        RealMatrix c(&workspace);
        a.multiply(b, c, transA, transB);
        return c;
    }
    RealMatrix transposed(const RealMatrix& a)
    {
        RealMatrix t(&workspace);
        a.transpose(t);
        return t;
    }

    LapackWorkspace workspace;
};

::testing::AssertionResult matricesNear(const RealMatrix& actual, const RealMatrix& expected,
                                        double tolerance)
{
    if (actual.getRows() != expected.getRows() || actual.getCols() != expected.getCols())
        return ::testing::AssertionFailure()
               << "shape " << actual.getRows() << "x" << actual.getCols();
    for (std::int32_t j = 0; j < actual.getCols(); ++j) {
        for (std::int32_t i = 0; i < actual.getRows(); ++i) {
            if (!(std::abs(actual.get(i, j) - expected.get(i, j)) <= tolerance))
                return ::testing::AssertionFailure()
                       << "element (" << i << ", " << j << ") is " << actual.get(i, j)
                       << ", expected " << expected.get(i, j);
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST_F(RealMatrixTest, MultiplyHonoursBothTransposeFlags)
{
    const RealMatrix a = of({{1, 2, 3}, {4, 5, 6}});
    const RealMatrix b = of({{1, 0}, {0, 1}, {1, 1}});
    EXPECT_TRUE(matricesNear(product(a, b), of({{4, 5}, {10, 11}}), 0.0));
    EXPECT_TRUE(matricesNear(product(a, a, false, true), of({{14, 32}, {32, 77}}), 0.0));
    EXPECT_TRUE(matricesNear(product(b, a, true, true), of({{4, 10}, {5, 11}}), 0.0));
    EXPECT_TRUE(matricesNear(product(b, b, true, false), of({{2, 1}, {1, 2}}), 0.0));
    // An empty inner dimension gives a zero product, not stale storage.
    const RealMatrix empty = product(RealMatrix(3, 0, &workspace), RealMatrix(0, 2, &workspace));
    EXPECT_TRUE(matricesNear(empty, RealMatrix(3, 2, &workspace), 0.0));
}

// Each element is summed over the inner index from its first term on, as the reference
// dgemm sums it, so that the results stay those of the LAPACK era: 1e17 + 1 rounds to 1e17,
// and the sum of 1e17, 1, -1e17, 1 ends at 1 in that order (at 0 from the back, pairwise or
// with the small terms first).
TEST_F(RealMatrixTest, MultiplySumsInTheOrderOfTheInnerIndex)
{
    const RealMatrix row = of({{1e17, 1, -1e17, 1}});
    const RealMatrix ones = of({{1}, {1}, {1}, {1}});
    const RealMatrix expected = of({{1}});
    EXPECT_TRUE(matricesNear(product(row, ones), expected, 0.0));
    EXPECT_TRUE(matricesNear(product(row, transposed(ones), false, true), expected, 0.0));
    EXPECT_TRUE(matricesNear(product(transposed(row), ones, true, false), expected, 0.0));
    EXPECT_TRUE(matricesNear(product(ones, row, true, true), expected, 0.0));
}

// trace(A²) without the product must be the trace of the product to the bit. For the last
// matrix the order of the additions shows: the diagonal of A² is 1e16 + 1 (which rounds to
// 1e16) and 2, so the trace is 1e16 + 2, while one running sum of all four products would
// lose both ones.
TEST_F(RealMatrixTest, TraceOfSquareIsTheTraceOfTheProduct)
{
    const RealMatrix cases[] = {of({{0.3, -1.7, 2.9}, {4.1, 0.05, -3.3}, {1e-3, 7.7, 0.9}}),
                                of({{3e8, 1, 0.5}, {-1, 1e-9, 2}, {0.5, 2, -3e8}}), of({{2.5}}),
                                of({{1e8, 1}, {1, 1}})};
    for (const RealMatrix& a : cases) {
        EXPECT_EQ(a.traceOfSquare(), product(a, a).trace());
    }
    EXPECT_EQ(of({{1e8, 1}, {1, 1}}).traceOfSquare(), 1e16 + 2);
}

// A A⁺ A = A, A⁺ A A⁺ = A⁺, A A⁺ and A⁺ A symmetric, for regular, singular and indefinite
// matrices; the rank counts the eigenvalues kept. Only the upper triangle is read; a floor
// above the relative bound drops what the caller knows to be noise.
TEST_F(RealMatrixTest, SymmetricPseudoInverseSatisfiesTheMoorePenroseConditions)
{
    const struct {
        RealMatrix matrix;
        std::int32_t rank;
    } cases[] = {{of({{4, 1, 2}, {1, 3, 0}, {2, 0, 5}}), 3},
                 {of({{1, 2, 3}, {2, 4, 6}, {3, 6, 9}}), 1},
                 {of({{2, 1, 0}, {1, -3, 1}, {0, 1, 0.5}}), 3}};
    for (const auto& c : cases) {
        const RealMatrix& a = c.matrix;
        RealMatrix plus(&workspace);
        ASSERT_EQ(a.symmetricPseudoInverse(plus), c.rank);
        const RealMatrix aPlus = product(a, plus);
        const RealMatrix plusA = product(plus, a);
        EXPECT_TRUE(matricesNear(product(aPlus, a), a, 1e-13));
        EXPECT_TRUE(matricesNear(product(plusA, plus), plus, 1e-13));
        EXPECT_TRUE(matricesNear(transposed(aPlus), aPlus, 1e-13));
        EXPECT_TRUE(matricesNear(transposed(plusA), plusA, 1e-13));
    }
    RealMatrix plus(&workspace);
    ASSERT_EQ(of({{4, 1}, {-50, 3}}).symmetricPseudoInverse(plus), 2);
    EXPECT_TRUE(matricesNear(plus, of({{3.0 / 11, -1.0 / 11}, {-1.0 / 11, 4.0 / 11}}), 1e-15));
    EXPECT_EQ(of({{4e-30, 0}, {0, 1e-31}}).symmetricPseudoInverse(plus, 1e-30), 1);
    EXPECT_EQ(plus.get(1, 1), 0.0);
    EXPECT_EQ(of({{4e-30, 0}, {0, 1e-31}}).symmetricPseudoInverse(plus, 1e-29), 0);
    EXPECT_TRUE(matricesNear(plus, of({{0, 0}, {0, 0}}), 0.0));
}

// The zero bound is n·ε·|λ|max: an eigenvalue at it is dropped, one at twice it is kept,
// whatever the units. A fixed bound of 2.2e-15 took every value of a 1e-10-scaled matrix
// for zero.
TEST_F(RealMatrixTest, ZeroToleranceIsRelativeToTheLargestEigenvalue)
{
    for (const double unit : {1e-20, 1e-10, 1.0, 1e10, 1e20}) {
        const double at = zeroTolerance(2, 2.0 * unit);
        RealMatrix plus(&workspace);
        ASSERT_EQ(of({{2 * unit, 0}, {0, -at}}).symmetricPseudoInverse(plus), 1) << unit;
        EXPECT_EQ(plus.get(1, 1), 0.0) << unit;
        ASSERT_EQ(of({{2 * unit, 0}, {0, -2 * at}}).symmetricPseudoInverse(plus), 2) << unit;
        EXPECT_DOUBLE_EQ(plus.get(1, 1), -1.0 / (2 * at)) << unit;
        EXPECT_DOUBLE_EQ(plus.get(0, 0), 0.5 / unit) << unit;
    }
}

// The workspace starts empty and grows to each call's need, so no size of matrix overruns it.
TEST_F(RealMatrixTest, WorkspaceGrowsToTheLargestCall)
{
    EXPECT_EQ(workspace.capacity(), 0u);
    for (const std::int32_t n : {3, 120, 40}) {
        RealMatrix a(n, n, &workspace);
        // Symmetric with a dominant diagonal.
        for (std::int32_t i = 0; i < n; ++i) {
            for (std::int32_t j = 0; j < n; ++j)
                a.set(i, j, (i == j ? n : 0.0) + 1.0 / (1.0 + i + j));
        }
        RealMatrix plus(&workspace);
        ASSERT_TRUE(a.symmetricPseudoInverse(plus));
        const auto need = static_cast<std::size_t>(n) * static_cast<std::size_t>(n + 1);
        EXPECT_GE(workspace.capacity(), need) << n;
        EXPECT_TRUE(matricesNear(product(product(a, plus), a), a, 1e-12)) << n;
    }
}

// A rejected argument is reported through XERBLA, which must neither print (LAPACK's own
// prints to standard output and stops the process) nor be missed by the wrapper: dpotrf's
// INFO names the argument (lda, the fourth).
TEST_F(RealMatrixTest, IllegalArgumentIsRecordedNotPrinted)
{
    double a[4] = {1, 0, 0, 1};
    const lapack::Int tooSmall = 1; // the leading dimension of a 2 x 2 matrix
    ::testing::internal::CaptureStdout();
    const lapack::Int info = lapack::dpotrf(lapack::Triangle::Upper, 2, a, tooSmall);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(info, -4);
    // The report was taken by the call that caused it, not left for the next one.
    EXPECT_EQ(lapack::dpotrf(lapack::Triangle::Upper, 2, a, 2), 0);
}

// Eigenvalues of Q diag(λ) Qᵀ for the reflection Q = I - 2vvᵀ/vᵀv, v = (1, 2, 2), whose
// entries are ninths, come back as λ in ascending order; entries below the diagonal are
// ignored.
TEST_F(RealMatrixTest, SymmetricEigenvaluesAscendFromTheUpperTriangle)
{
    const RealMatrix q = of({{7.0 / 9, -4.0 / 9, -4.0 / 9},
                             {-4.0 / 9, 1.0 / 9, -8.0 / 9},
                             {-4.0 / 9, -8.0 / 9, 1.0 / 9}});
    RealMatrix a = product(product(q, of({{3, 0, 0}, {0, -2, 0}, {0, 0, 0.5}})), q, false, true);
    a.set(2, 0, 1e6);
    std::vector<double> values(3);
    ASSERT_TRUE(a.symmetricEigenvalues(values.data()));
    EXPECT_THAT(values, ::testing::Pointwise(::testing::DoubleNear(1e-14),
                                             std::vector<double>{-2.0, 0.5, 3.0}));
    EXPECT_EQ(a.get(2, 0), 1e6) << "A is left as it was";
}

// For A = [4 1; 1 3] and B = [2 1; 1 2], det(A - λB) = 3λ² - 12λ + 11, so the pencil's
// eigenvalues are 2 ± 1/√3; R⁻ᵀ A R⁻¹ for B = RᵀR must have them.
TEST_F(RealMatrixTest, ReducedMatrixHasThePencilsEigenvalues)
{
    RealMatrix factor(&workspace);
    ASSERT_EQ(of({{2, 1}, {1, 2}}).cholesky(factor), 0);
    RealMatrix reduced(&workspace);
    ASSERT_TRUE(of({{4, 1}, {1, 3}}).reduceByFactor(factor, reduced));
    std::vector<double> values(2);
    ASSERT_TRUE(reduced.symmetricEigenvalues(values.data()));
    const double offset = 1.0 / std::sqrt(3.0);
    EXPECT_NEAR(values[0], 2.0 - offset, 1e-14);
    EXPECT_NEAR(values[1], 2.0 + offset, 1e-14);
}

TEST_F(RealMatrixTest, CholeskyFactorReconstructsTheMatrix)
{
    RealMatrix a = of({{6, 2, 1}, {2, 5, 2}, {1, 2, 4}});
    const RealMatrix original = of({{6, 2, 1}, {2, 5, 2}, {1, 2, 4}});
    a.set(2, 0, 1234.0); // below the diagonal: ignored and cleared in the factor
    RealMatrix factor(&workspace);
    ASSERT_EQ(a.cholesky(factor), 0);
    EXPECT_EQ(factor.get(2, 0), 0.0);
    EXPECT_TRUE(matricesNear(product(factor, factor, true, false), original, 1e-14));
    EXPECT_EQ(of({{1, 2}, {2, 1}}).cholesky(factor), 2);
}
