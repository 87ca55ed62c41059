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
/// The eigenvalues (wr + i·wi) of the general n x n A, which is overwritten, and the
/// requested left and right eigenvectors (dgeev). work holds lwork doubles, at least 3n
/// without vectors. False unless INFO is 0 (an illegal argument, or the QR algorithm did not
/// compute every eigenvalue).
[[nodiscard]] bool dgeev(Vectors jobvl, Vectors jobvr, Int n, double* a, Int lda, double* wr,
                         double* wi, double* vl, Int ldvl, double* vr, Int ldvr, double* work,
                         Int lwork);
/// The Cholesky factor of the symmetric positive definite n x n A into its triangle uplo
/// (dpotrf). Returns INFO: 0 on success; k > 0 when the leading minor of order k is not
/// positive definite, so that the factor is partial; negative for an illegal argument.
[[nodiscard]] Int dpotrf(Triangle uplo, Int n, double* a, Int lda);

} // namespace lapack
