#include "numeric/Lapack.h"

#include <cstddef>

// The Fortran interface: every argument by pointer, and one hidden length argument per
// CHARACTER argument appended at the end (the gfortran calling convention). Nothing outside
// this file declares or calls a LAPACK or BLAS routine.
extern "C" {
void dsyev_(const char* jobz, const char* uplo, const lapack::Int* n, double* a,
            const lapack::Int* lda, double* w, double* work, const lapack::Int* lwork,
            lapack::Int* info, std::size_t jobzLength, std::size_t uploLength);
void dsygst_(const lapack::Int* itype, const char* uplo, const lapack::Int* n, double* a,
             const lapack::Int* lda, const double* b, const lapack::Int* ldb, lapack::Int* info,
             std::size_t uploLength);
void dpotrf_(const char* uplo, const lapack::Int* n, double* a, const lapack::Int* lda,
             lapack::Int* info, std::size_t uploLength);
}

namespace {

// Every CHARACTER argument here is a single letter.
constexpr std::size_t LETTER = 1;

// Set by xerbla_ on the thread whose call had the illegal argument.
thread_local bool argumentErrorReported = false;

/// Whether xerbla_ reported an illegal argument on this thread since the last call; clears
/// the report, so that a report left by one call cannot be taken for the next one's.
bool takeArgumentError()
{
    const bool reported = argumentErrorReported;
    argumentErrorReported = false;
    return reported;
}

/// A routine's INFO and the argument report together: both are read.
bool succeeded(lapack::Int info)
{
    const bool illegalArgument = takeArgumentError();
    return info == 0 && !illegalArgument;
}

} // namespace

// LAPACK and BLAS report an illegal argument through XERBLA, whose reference version prints
// "** On entry to ..." to standard output and stops the process with status 0. This
// definition takes its place (the executable's symbol interposes the library's): it only
// records the report, so the routine returns with INFO < 0 and the wrapper that called it
// fails instead.
extern "C" void xerbla_(const char* /*routineName*/, const lapack::Int* /*position*/,
                        std::size_t /*nameLength*/)
{
    argumentErrorReported = true;
}

bool lapack::dsyev(Vectors jobz, Triangle uplo, Int n, double* a, Int lda, double* w, double* work,
                   Int lwork)
{
    const char job = static_cast<char>(jobz);
    const char triangle = static_cast<char>(uplo);
    Int info = 0;
    dsyev_(&job, &triangle, &n, a, &lda, w, work, &lwork, &info, LETTER, LETTER);
    return succeeded(info);
}

bool lapack::dsygst(Triangle uplo, Int n, double* a, Int lda, const double* r, Int ldr)
{
    // ITYPE 1: inv(Rᵀ) A inv(R), the problem A x = λ B x.
    const Int problem = 1;
    const char triangle = static_cast<char>(uplo);
    Int info = 0;
    dsygst_(&problem, &triangle, &n, a, &lda, r, &ldr, &info, LETTER);
    return succeeded(info);
}

lapack::Int lapack::dpotrf(Triangle uplo, Int n, double* a, Int lda)
{
    const char triangle = static_cast<char>(uplo);
    Int info = 0;
    dpotrf_(&triangle, &n, a, &lda, &info, LETTER);
    // An argument report without a negative INFO cannot come from dpotrf itself, but a
    // report must never pass for a factor.
    if (takeArgumentError() && info >= 0) {
        return -1;
    }
    return info;
}
