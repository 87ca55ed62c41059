#pragma once

#include "GeneralMatrix.h"
#include "LapackWorkspace.h"

#include <cstdint>
#include <optional>
#include <vector>

/// The bound at or below which a singular value (or the absolute value of an eigenvalue of
/// a symmetric matrix) counts as zero: n·ε·largest, where largest is the matrix's largest
/// singular value and n its larger dimension. Rounding in a factorisation of the matrix
/// perturbs its singular values by about that much, so smaller ones cannot be told from
/// zero. Being relative, the bound ignores the units: a matrix scaled by 10^k has the same
/// rank and a pseudo-inverse scaled by 10^-k.
double zeroTolerance(std::int32_t n, double largest);

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

    /// out := A⁻¹ by LU (dgetrf, dgetri); A unchanged. False for a singular A.
    [[nodiscard]] bool inverse(RealMatrix& out) const;
    [[nodiscard]] bool invertInPlace();

    /// out := A⁺ (cols x rows), the Moore-Penrose inverse from the full SVD (dgesvd, dgemm);
    /// singular values at or below zeroTolerance are treated as zero.
    [[nodiscard]] bool pseudoInverse(RealMatrix& out) const;
    [[nodiscard]] bool pseudoInvertInPlace();
    /// out := A⁺ of the symmetric A, from its eigen-decomposition (dsyev) instead of the
    /// SVD: the singular values of a symmetric matrix are the absolute values of its
    /// eigenvalues, so the same tolerance rule gives the same pseudo-inverse at about half
    /// the cost. Eigenvalues at or below max(zeroTolerance, floor) in absolute value count
    /// as zero; floor lets a caller who knows the scale of the data the matrix came from
    /// treat a matrix of pure rounding noise as zero. Returns the rank, the number of
    /// eigenvalues above that bound, or nothing when dsyev fails. Reads A's upper triangle
    /// only; out is exactly symmetric. Allocates nothing once the workspace is large enough.
    [[nodiscard]] std::optional<std::int32_t> symmetricPseudoInverse(RealMatrix& out,
                                                                     double floor = 0.0) const;

    /// out[0..rows-1] := real parts of the eigenvalues of the square A in LAPACK's order;
    /// imaginary parts are dropped. A is overwritten (dgeev without vectors).
    [[nodiscard]] bool eigenvalues(double* out);
    /// w[0..n-1] := eigenvalues of the symmetric A in ascending order, z (already n x n)
    /// := orthonormal eigenvectors in its columns. Reads A's upper triangle only; A
    /// unchanged (dsyev on a copy).
    [[nodiscard]] bool symmetricEigen(double* w, RealMatrix& z) const;
    /// Determinant from the LU factors (dgetrf); A is left holding the factors.
    double determinant();
    double trace() const;
    /// Number of singular values above zeroTolerance (dgesvd on a copy); nothing when the
    /// SVD fails.
    std::optional<std::int32_t> rank() const;
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
    [[nodiscard]] bool singularValueDecomposition(std::vector<double>& s, std::vector<double>* u,
                                                  std::vector<double>* vt) const;
};
