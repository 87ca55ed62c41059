#pragma once

// The LAPACK and BLAS routines the matrix toolkit uses, through their Fortran interface:
// every argument by pointer, matrices column-major, and one hidden length argument per
// CHARACTER argument appended at the end (the gfortran calling convention).
// Only RealMatrix.cpp and LapackErrors.cpp include this header (and the test of xerbla_).

#include <cstddef>
#include <cstdint>

namespace lapack {

using Int = std::int32_t;

extern "C" {
void dgemm_(const char* transa, const char* transb, const Int* m, const Int* n, const Int* k,
            const double* alpha, const double* a, const Int* lda, const double* b, const Int* ldb,
            const double* beta, double* c, const Int* ldc, std::size_t transaLength,
            std::size_t transbLength);
void dgetrf_(const Int* m, const Int* n, double* a, const Int* lda, Int* ipiv, Int* info);
void dgetri_(const Int* n, double* a, const Int* lda, const Int* ipiv, double* work,
             const Int* lwork, Int* info);
void dgesvd_(const char* jobu, const char* jobvt, const Int* m, const Int* n, double* a,
             const Int* lda, double* s, double* u, const Int* ldu, double* vt, const Int* ldvt,
             double* work, const Int* lwork, Int* info, std::size_t jobuLength,
             std::size_t jobvtLength);
void dgeev_(const char* jobvl, const char* jobvr, const Int* n, double* a, const Int* lda,
            double* wr, double* wi, double* vl, const Int* ldvl, double* vr, const Int* ldvr,
            double* work, const Int* lwork, Int* info, std::size_t jobvlLength,
            std::size_t jobvrLength);
void dsyev_(const char* jobz, const char* uplo, const Int* n, double* a, const Int* lda,
            double* w, double* work, const Int* lwork, Int* info, std::size_t jobzLength,
            std::size_t uploLength);
void dpotrf_(const char* uplo, const Int* n, double* a, const Int* lda, Int* info,
             std::size_t uploLength);
void xerbla_(const char* routineName, const Int* position, std::size_t nameLength);
}

/// Whether xerbla_ reported an illegal argument on this thread since the last call; clears
/// the report.
bool takeArgumentError();

} // namespace lapack
