#pragma once

#include "GeneralMatrix.h"
#include "LapackWorkspace.h"

#include <cstdint>
#include <vector>

/// Singular values at or below this absolute bound count as zero in the pseudo-inverse
/// and the rank (ten times the double-precision machine epsilon). It is deliberately not
/// scaled by the largest singular value or the matrix size.
inline constexpr double SINGULAR_VALUE_TOLERANCE = 2.220446049250313e-15;

/// A double matrix with the linear algebra the statistics need, backed by LAPACK/BLAS
/// through their Fortran interface. Every LAPACK call passes the matrix's workspace as
/// WORK/LWORK; LAPACK status codes are not examined (callers that must detect a singular
/// or indefinite input test their own data). The workspace is not owned and outlives the
/// matrix; matrices sharing a workspace are used by one thread at a time.
class RealMatrix : public GeneralMatrix<double> {
public:
    RealMatrix() = default;
    explicit RealMatrix(LapackWorkspace* workspace);
    RealMatrix(std::int32_t rows, std::int32_t cols, LapackWorkspace* workspace);

    LapackWorkspace* workspace() const { return lapack; }

    /// C := op(A)·op(B), C resized (dgemm). C must be neither A nor B.
    void multiply(const RealMatrix& B, RealMatrix& C, bool transA, bool transB) const;
    /// A := A·op(B) (dgemm into a temporary).
    void multiplyInPlace(const RealMatrix& B, bool transB);

    /// out := A⁻¹ by LU (dgetrf, dgetri); A unchanged. A singular A leaves in out whatever
    /// dgetri leaves.
    void inverse(RealMatrix& out) const;
    void invertInPlace();

    /// out := A⁺ (cols x rows), the Moore-Penrose inverse from the full SVD (dgesvd, dgemm);
    /// singular values with |s| <= SINGULAR_VALUE_TOLERANCE are treated as zero.
    void pseudoInverse(RealMatrix& out) const;
    void pseudoInvertInPlace();
    /// out := A⁺ of the symmetric A, from its eigen-decomposition (dsyev) instead of the
    /// SVD: the singular values of a symmetric matrix are the absolute values of its
    /// eigenvalues, so the same tolerance rule gives the same pseudo-inverse at about half
    /// the cost. Reads A's upper triangle only; out is exactly symmetric. Allocates nothing.
    void symmetricPseudoInverse(RealMatrix& out) const;

    /// out[0..rows-1] := real parts of the eigenvalues of the square A in LAPACK's order;
    /// imaginary parts are dropped. A is overwritten (dgeev without vectors).
    void eigenvalues(double* out);
    /// w[0..n-1] := eigenvalues of the symmetric A in ascending order, z (already n x n)
    /// := orthonormal eigenvectors in its columns. Reads A's upper triangle only; A
    /// unchanged (dsyev on a copy).
    void symmetricEigen(double* w, RealMatrix& z) const;
    /// Determinant from the LU factors (dgetrf); A is left holding the factors.
    double determinant();
    double trace() const;
    /// Number of singular values above SINGULAR_VALUE_TOLERANCE (dgesvd on a copy).
    double rank() const;
    void setIdentity();

    void add(const RealMatrix& B, RealMatrix& C) const;
    void subtract(const RealMatrix& B, RealMatrix& C) const;
    void addInPlace(const RealMatrix& B);
    void subtractInPlace(const RealMatrix& B);
    void scale(RealMatrix& C, double s) const;
    void divide(RealMatrix& C, double s) const;
    void scaleInPlace(double s);
    void divideInPlace(double s);

    /// Appends column j, each element truncated toward zero, to list.
    void columnToIntegers(std::int32_t j, std::vector<int>& list) const;

    /// C := A ⊗ B, C(i·rows(B) + k, j·cols(B) + l) = A(i, j)·B(k, l).
    void kronecker(const RealMatrix& B, RealMatrix& C) const;
    void kroneckerInPlace(const RealMatrix& B);

    /// out := upper Cholesky factor R of the symmetric positive definite A (A = RᵀR),
    /// zeros below the diagonal (dpotrf, UPLO "U"); A unchanged. Returns 0, or for an A that
    /// is not positive definite the order k of its first leading minor that is not (dpotrf's
    /// INFO); out then holds only a partial factor, which must not be used.
    std::int32_t cholesky(RealMatrix& out) const;
    /// The same in place; the same return value.
    std::int32_t choleskyInPlace();

protected:
    LapackWorkspace* lapack = nullptr;

private:
    /// Full (JOBU = JOBVT = "A") or values-only SVD of a copy of A.
    void singularValueDecomposition(std::vector<double>& s, std::vector<double>* u,
                                    std::vector<double>* vt) const;
};
