#pragma once

// The LAPACK routines the matrix toolkit uses, one typed wrapper each. Matrices are
// column-major; every size is a LAPACK integer. The wrappers pass the arguments by pointer
// as the Fortran interface wants, with the hidden length of every CHARACTER argument, and
// read both the routine's INFO and the report of an illegal argument, which this library's
// XERBLA records instead of printing and stopping the process.

#include <cstdint>

namespace lapack {

using Int = std::int32_t;

/// Whether an eigenvalue routine also computes eigenvectors.
enum class Vectors : char { None = 'N', Wanted = 'V' };
/// The triangle of a symmetric matrix a routine reads.
enum class Triangle : char { Upper = 'U' };

/// Eigenvalues in ascending order into w and, with vectors wanted, the orthonormal
/// eigenvectors into the columns of a, of the symmetric n x n A, from its triangle uplo
/// (dsyev). work holds lwork doubles, at least 3n - 1. False unless INFO is 0 (an illegal
/// argument, or the QR iteration did not converge).
[[nodiscard]] bool dsyev(Vectors jobz, Triangle uplo, Int n, double* a, Int lda, double* w,
                         double* work, Int lwork);
/// A := R⁻ᵀ A R⁻¹ for the symmetric n x n A (its triangle uplo read and written) and the
/// upper triangular R of a Cholesky factorisation B = RᵀR (dsygst, ITYPE 1): the symmetric
/// matrix whose eigenvalues are those of the pencil A x = λ B x. False unless INFO is 0.
[[nodiscard]] bool dsygst(Triangle uplo, Int n, double* a, Int lda, const double* r, Int ldr);
/// The Cholesky factor of the symmetric positive definite n x n A into its triangle uplo
/// (dpotrf). Returns INFO: 0 on success; k > 0 when the leading minor of order k is not
/// positive definite, so that the factor is partial; negative for an illegal argument.
[[nodiscard]] Int dpotrf(Triangle uplo, Int n, double* a, Int lda);

} // namespace lapack
