#include "numeric/RealMatrix.h"

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
            std::int32_t j = 0;
            for (double value : row) {
                result.set(i, j++, value);
            }
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

/// Element-wise comparison with an absolute tolerance; reports the first differing element.
::testing::AssertionResult matricesNear(const RealMatrix& actual, const RealMatrix& expected,
                                        double tolerance)
{
    if (actual.getRows() != expected.getRows() || actual.getCols() != expected.getCols()) {
        return ::testing::AssertionFailure()
               << "shape " << actual.getRows() << "x" << actual.getCols() << ", expected "
               << expected.getRows() << "x" << expected.getCols();
    }
    for (std::int32_t j = 0; j < actual.getCols(); ++j) {
        for (std::int32_t i = 0; i < actual.getRows(); ++i) {
            if (!(std::abs(actual.get(i, j) - expected.get(i, j)) <= tolerance)) {
                return ::testing::AssertionFailure() << "element (" << i << ", " << j << ") is "
                                                     << actual.get(i, j) << ", expected "
                                                     << expected.get(i, j);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST_F(RealMatrixTest, MultiplyHonoursBothTransposeFlags)
{
    const RealMatrix a = of({{1, 2, 3}, {4, 5, 6}});    // 2 x 3
    const RealMatrix b = of({{1, 0}, {0, 1}, {1, 1}}); // 3 x 2
    EXPECT_TRUE(matricesNear(product(a, b), of({{4, 5}, {10, 11}}), 0.0));
    // aᵀ·a is 3 x 3 and symmetric.
    EXPECT_TRUE(matricesNear(product(a, a, true, false),
                             of({{17, 22, 27}, {22, 29, 36}, {27, 36, 45}}), 0.0));
    // a·aᵀ is 2 x 2.
    EXPECT_TRUE(matricesNear(product(a, a, false, true), of({{14, 32}, {32, 77}}), 0.0));
    // bᵀ·aᵀ = (a·b)ᵀ.
    EXPECT_TRUE(matricesNear(product(b, a, true, true), of({{4, 10}, {5, 11}}), 0.0));

    // An empty inner dimension gives a zero product, not stale storage.
    const RealMatrix empty = product(RealMatrix(3, 0, &workspace), RealMatrix(0, 2, &workspace));
    EXPECT_TRUE(matricesNear(empty, RealMatrix(3, 2, &workspace), 0.0));

    RealMatrix inPlace = of({{1, 2, 3}, {4, 5, 6}});
    inPlace.multiplyInPlace(a, true);
    EXPECT_TRUE(matricesNear(inPlace, of({{14, 32}, {32, 77}}), 0.0));
}

TEST_F(RealMatrixTest, InverseTimesMatrixIsIdentityAndSourceStays)
{
    const RealMatrix a = of({{4, 7, 2}, {3, 6, 1}, {2, 5, 3}});
    RealMatrix inverse(&workspace);
    a.inverse(inverse);
    RealMatrix identity(3, 3, &workspace);
    identity.setIdentity();
    EXPECT_TRUE(matricesNear(product(a, inverse), identity, 1e-14));
    EXPECT_EQ(a.get(0, 1), 7.0);

    RealMatrix inPlace = of({{4, 7, 2}, {3, 6, 1}, {2, 5, 3}});
    inPlace.invertInPlace();
    EXPECT_TRUE(matricesNear(inPlace, inverse, 0.0));
    // det = 9, so (A⁻¹)(0,0) = (6·3 - 1·5)/9 by the adjugate.
    EXPECT_NEAR(inverse.get(0, 0), 13.0 / 9.0, 1e-15);
}

// The four Moore-Penrose conditions characterise A⁺ uniquely:
// A A⁺ A = A, A⁺ A A⁺ = A⁺, and A A⁺, A⁺ A symmetric.
TEST_F(RealMatrixTest, PseudoInverseSatisfiesTheMoorePenroseConditions)
{
    const RealMatrix cases[] = {of({{1, 2}, {3, 4}, {5, 6}}),           // full column rank
                                of({{1, 2, 3}, {2, 4, 6}}),             // rank 1, 2 x 3
                                of({{2, 0, 0}, {0, 0, 0}, {0, 0, -3}}), // singular diagonal
                                of({{1, 1, 0, 2}, {0, 1, 1, 1}, {1, 2, 1, 3}})}; // rank 2
    for (const RealMatrix& a : cases) {
        RealMatrix plus(&workspace);
        a.pseudoInverse(plus);
        ASSERT_EQ(plus.getRows(), a.getCols());
        ASSERT_EQ(plus.getCols(), a.getRows());
        const RealMatrix aPlus = product(a, plus);
        const RealMatrix plusA = product(plus, a);
        EXPECT_TRUE(matricesNear(product(aPlus, a), a, 1e-13));
        EXPECT_TRUE(matricesNear(product(plusA, plus), plus, 1e-13));
        EXPECT_TRUE(matricesNear(transposed(aPlus), aPlus, 1e-13));
        EXPECT_TRUE(matricesNear(transposed(plusA), plusA, 1e-13));
    }
    // A singular diagonal matrix has the reciprocals of its non-zero entries.
    RealMatrix plus = of({{2, 0, 0}, {0, 0, 0}, {0, 0, -3}});
    plus.pseudoInvertInPlace();
    EXPECT_TRUE(matricesNear(plus, of({{0.5, 0, 0}, {0, 0, 0}, {0, 0, -1.0 / 3.0}}), 1e-15));

    // A singular value at the tolerance counts as zero, for the inverse and the rank.
    of({{SINGULAR_VALUE_TOLERANCE}}).pseudoInverse(plus);
    EXPECT_EQ(plus.get(0, 0), 0.0);
    EXPECT_EQ(of({{SINGULAR_VALUE_TOLERANCE}}).rank(), 0.0);
    const double above = 2.0 * SINGULAR_VALUE_TOLERANCE;
    of({{above}}).pseudoInverse(plus);
    EXPECT_DOUBLE_EQ(plus.get(0, 0), 1.0 / above);
    EXPECT_EQ(of({{above}}).rank(), 1.0);
}

// The engine's symmetric route must give the SVD route's pseudo-inverse: for singular and
// indefinite matrices (a negative eigenvalue is a singular value too), with the same
// tolerance rule on |λ|, reading only the upper triangle.
TEST_F(RealMatrixTest, SymmetricPseudoInverseMatchesTheSvdRoute)
{
    const RealMatrix cases[] = {of({{4, 1, 2}, {1, 3, 0}, {2, 0, 5}}),    // positive definite
                                of({{1, 2, 3}, {2, 4, 6}, {3, 6, 9}}),    // rank 1
                                of({{2, 1, 0}, {1, -3, 1}, {0, 1, 0.5}}), // indefinite
                                of({{0, 0}, {0, 0}})};                    // zero
    for (const RealMatrix& a : cases) {
        RealMatrix expected(&workspace);
        a.pseudoInverse(expected);
        RealMatrix actual(&workspace);
        a.symmetricPseudoInverse(actual);
        EXPECT_TRUE(matricesNear(actual, expected, 1e-12));
        EXPECT_TRUE(matricesNear(transposed(actual), actual, 0.0));
    }

    // Condition number 2e6: the inverse [[1e6, 1 - 1e6], [1 - 1e6, 1e6]] / (2e6 - 1) is
    // met to 1e-15, where the SVD route is off by 4e-12.
    RealMatrix plus(&workspace);
    of({{1e6, 1e6 - 1}, {1e6 - 1, 1e6}}).symmetricPseudoInverse(plus);
    EXPECT_NEAR(plus.get(0, 0), 1e6 / (2e6 - 1), 1e-15);
    EXPECT_NEAR(plus.get(1, 0), (1 - 1e6) / (2e6 - 1), 1e-15);

    // Garbage below the diagonal is not read.
    of({{4, 1}, {-50, 3}}).symmetricPseudoInverse(plus);
    EXPECT_TRUE(matricesNear(plus, of({{3.0 / 11, -1.0 / 11}, {-1.0 / 11, 4.0 / 11}}), 1e-15));

    // Eigenvalues at ± the tolerance count as zero, twice the tolerance does not.
    const double at = SINGULAR_VALUE_TOLERANCE;
    of({{2, 0}, {0, -at}}).symmetricPseudoInverse(plus);
    EXPECT_TRUE(matricesNear(plus, of({{0.5, 0}, {0, 0}}), 0.0));
    of({{2, 0}, {0, -2 * at}}).symmetricPseudoInverse(plus);
    EXPECT_DOUBLE_EQ(plus.get(1, 1), -1.0 / (2 * at));
}

TEST_F(RealMatrixTest, RankCountsIndependentRowsAndLeavesTheMatrix)
{
    const RealMatrix a = of({{1, 2, 3}, {1, 2, 3}, {0, 1, 0}});
    EXPECT_EQ(a.rank(), 2.0);
    EXPECT_EQ(a.get(1, 2), 3.0);
    EXPECT_EQ(of({{1, 0}, {0, 1}, {1, 1}}).rank(), 2.0);
    EXPECT_EQ(RealMatrix(3, 2, &workspace).rank(), 0.0);
}

// A triangular matrix has its diagonal, [[2, 1], [1, 2]] has 1 and 3, and a rotation by 90
// degrees has ±i, of which only the real parts, zero, are delivered.
TEST_F(RealMatrixTest, EigenvaluesOfKnownMatrices)
{
    struct {
        RealMatrix matrix; // eigenvalues() works on it
        std::vector<double> values; // ascending
    } cases[] = {{of({{3, 1, 4}, {0, -2, 5}, {0, 0, 0.5}}), {-2.0, 0.5, 3.0}},
                 {of({{2, 1}, {1, 2}}), {1.0, 3.0}},
                 {of({{0, -1}, {1, 0}}), {0.0, 0.0}}};
    for (auto& c : cases) {
        std::vector<double> values(c.values.size());
        c.matrix.eigenvalues(values.data());
        std::sort(values.begin(), values.end());
        for (std::size_t k = 0; k < values.size(); ++k) {
            EXPECT_NEAR(values[k], c.values[k], 1e-14) << "eigenvalue " << k << " of "
                                                        << c.values.size();
        }
    }
}

TEST_F(RealMatrixTest, DeterminantCarriesTheSignOfRowInterchanges)
{
    RealMatrix swap = of({{0, 1}, {1, 0}});
    EXPECT_EQ(swap.determinant(), -1.0);
    RealMatrix triangular = of({{2, 5, 1}, {0, 3, 7}, {0, 0, -4}});
    EXPECT_NEAR(triangular.determinant(), -24.0, 1e-13);
    // Vandermonde matrix of 1, 2, 4: det = (2-1)(4-1)(4-2) = 6.
    RealMatrix vandermonde = of({{1, 1, 1}, {1, 2, 4}, {1, 4, 16}});
    EXPECT_NEAR(vandermonde.determinant(), 6.0, 1e-13);
    RealMatrix singular = of({{1, 2}, {2, 4}});
    EXPECT_EQ(singular.determinant(), 0.0);
}

TEST_F(RealMatrixTest, SymmetricEigenDecomposesAndReadsOnlyTheUpperTriangle)
{
    // The lower triangle holds garbage that must not be read.
    const RealMatrix a = of({{4, 1, 2}, {99, 3, 0}, {-7, 42, 5}});
    const RealMatrix symmetric = of({{4, 1, 2}, {1, 3, 0}, {2, 0, 5}});
    std::vector<double> w(3);
    RealMatrix z(3, 3, &workspace);
    a.symmetricEigen(w.data(), z);
    EXPECT_TRUE(std::is_sorted(w.begin(), w.end()));
    EXPECT_NEAR(w[0] + w[1] + w[2], symmetric.trace(), 1e-13);
    // A·z_k = w_k·z_k for each column, and zᵀz = I.
    const RealMatrix az = product(symmetric, z);
    for (std::int32_t k = 0; k < 3; ++k) {
        for (std::int32_t i = 0; i < 3; ++i) {
            EXPECT_NEAR(az.get(i, k), w[static_cast<std::size_t>(k)] * z.get(i, k), 1e-13);
        }
    }
    RealMatrix identity(3, 3, &workspace);
    identity.setIdentity();
    EXPECT_TRUE(matricesNear(product(z, z, true, false), identity, 1e-14));
    EXPECT_EQ(a.get(1, 0), 99.0);
}

TEST_F(RealMatrixTest, CholeskyFactorReconstructsTheMatrix)
{
    RealMatrix a = of({{4, 2}, {2, 5}});
    a.set(1, 0, 1234.0); // below the diagonal: ignored and cleared in the factor
    RealMatrix r(&workspace);
    a.cholesky(r);
    EXPECT_TRUE(matricesNear(r, of({{2, 1}, {0, 2}}), 1e-15));
    EXPECT_EQ(a.get(1, 0), 1234.0);

    RealMatrix b = of({{6, 2, 1}, {2, 5, 2}, {1, 2, 4}});
    const RealMatrix original = of({{6, 2, 1}, {2, 5, 2}, {1, 2, 4}});
    b.choleskyInPlace();
    EXPECT_EQ(b.get(2, 0), 0.0);
    EXPECT_TRUE(matricesNear(product(b, b, true, false), original, 1e-14));
}

TEST_F(RealMatrixTest, ElementwiseArithmetic)
{
    const RealMatrix a = of({{1, 2}, {3, 4}});
    const RealMatrix b = of({{0.5, -1}, {2, 0}});
    RealMatrix c(&workspace);
    a.add(b, c);
    EXPECT_TRUE(matricesNear(c, of({{1.5, 1}, {5, 4}}), 0.0));
    a.subtract(b, c);
    EXPECT_TRUE(matricesNear(c, of({{0.5, 3}, {1, 4}}), 0.0));
    a.scale(c, 2.0);
    EXPECT_TRUE(matricesNear(c, of({{2, 4}, {6, 8}}), 0.0));
    a.divide(c, 4.0);
    EXPECT_TRUE(matricesNear(c, of({{0.25, 0.5}, {0.75, 1}}), 0.0));
    c.addInPlace(b);
    c.subtractInPlace(b);
    c.scaleInPlace(4.0);
    c.divideInPlace(2.0);
    EXPECT_TRUE(matricesNear(c, of({{0.5, 1}, {1.5, 2}}), 0.0));
    EXPECT_EQ(a.trace(), 5.0);
}

// The left factor varies slowest: each of its elements scales a whole block.
TEST_F(RealMatrixTest, KroneckerProductLayout)
{
    RealMatrix column = of({{1}, {2}});
    column.kroneckerInPlace(of({{1, 10, 100}}));
    EXPECT_TRUE(matricesNear(column, of({{1, 10, 100}, {2, 20, 200}}), 0.0));
    RealMatrix blocks = of({{1, 2}, {3, 4}});
    blocks.kroneckerInPlace(of({{0, 1}, {1, 0}}));
    EXPECT_TRUE(matricesNear(
        blocks, of({{0, 1, 0, 2}, {1, 0, 2, 0}, {0, 3, 0, 4}, {3, 0, 4, 0}}), 0.0));
}

TEST_F(RealMatrixTest, ColumnToIntegersTruncatesTowardZeroAndAppends)
{
    const RealMatrix a = of({{0, -1.7}, {0, 2.9}, {0, -0.2}});
    std::vector<int> list{5};
    a.columnToIntegers(1, list);
    EXPECT_EQ(list, (std::vector<int>{5, -1, 2, 0}));
}
