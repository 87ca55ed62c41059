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

/// The bound at or below which an eigenvalue of a symmetric n x n matrix counts as zero in
/// absolute value, from its eigenvalues in ascending order: max(zeroTolerance, floor), where
/// floor lets a caller who knows the scale of the data the matrix came from treat a matrix of
/// pure rounding noise as zero.
double symmetricZeroBound(const double* ascendingEigenvalues, std::int32_t n, double floor);

class RealMatrix : public GeneralMatrix<double> {
public:
    RealMatrix() = default;
    explicit RealMatrix(LapackWorkspace* workspace);
    RealMatrix(std::int32_t rows, std::int32_t cols, LapackWorkspace* workspace);

    LapackWorkspace* getWorkspace() const { return lapack; }

    /// C := op(A)·op(B), C resized; each element summed over the inner index in order, as
    /// the reference dgemm sums it. C must be neither A nor B.
    void multiply(const RealMatrix& B, RealMatrix& C, bool transA, bool transB) const;

    /// out := A⁺ of the symmetric A, from its eigen-decomposition (dsyev) instead of the
    /// SVD: the singular values of a symmetric matrix are the absolute values of its
    /// eigenvalues, so the same tolerance rule gives the same pseudo-inverse at about half
    /// the cost. Eigenvalues at or below symmetricZeroBound in absolute value count as zero.
    /// Returns the rank, the number of
    /// eigenvalues above that bound, or nothing when dsyev fails. Reads A's upper triangle
    /// only; out is exactly symmetric. Allocates nothing once the workspace is large enough.
    [[nodiscard]] std::optional<std::int32_t> symmetricPseudoInverse(RealMatrix& out,
                                                                     double floor = 0.0) const;

    /// out[0..rows-1] := the eigenvalues of the symmetric A in ascending order (dsyev
    /// without vectors); reads A's upper triangle only. False when dsyev fails.
    [[nodiscard]] bool symmetricEigenvalues(double* out) const;
    /// out := R⁻ᵀ A R⁻¹ for the symmetric A and the upper Cholesky factor R of a positive
    /// definite B = RᵀR (dsygst): a symmetric matrix whose eigenvalues are those of A B⁻¹.
    /// Reads A's upper triangle and forms out's only; false when dsygst fails.
    [[nodiscard]] bool reduceByFactor(const RealMatrix& upperFactor, RealMatrix& out) const;
    double trace() const;
    /// trace(A²) of the square A: the diagonal of A·A as multiply sums it, added up as trace
    /// adds it, so the same bits without forming the rest of the product.
    double traceOfSquare() const;
    void divide(RealMatrix& C, double s) const;
    void scaleInPlace(double s);
    void divideInPlace(double s);

    /// A := A ⊗ B, A(i·rows(B) + k, j·cols(B) + l) = A(i, j)·B(k, l) of the old A.
    void kroneckerInPlace(const RealMatrix& B);

    /// out := upper Cholesky factor R of the symmetric positive definite A (A = RᵀR),
    /// zeros below the diagonal (dpotrf, UPLO "U"); A unchanged. Returns 0, or for an A that
    /// is not positive definite the order k of its first leading minor that is not (dpotrf's
    /// INFO); out then holds only a partial factor, which must not be used. out must not be A.
    std::int32_t cholesky(RealMatrix& out) const;

protected:
    LapackWorkspace* lapack = nullptr;

private:
    /// C := A ⊗ B for kroneckerInPlace.
    void kronecker(const RealMatrix& B, RealMatrix& C) const;
    /// cholesky in place; the same return value.
    std::int32_t choleskyInPlace();
};
