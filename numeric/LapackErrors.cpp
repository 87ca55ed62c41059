#include "numeric/LapackRoutines.h"

namespace {

// Set by xerbla_ on the thread whose call had the illegal argument.
thread_local bool argumentErrorReported = false;

} // namespace

// LAPACK and BLAS report an illegal argument through XERBLA, whose reference version prints
// "** On entry to ..." to standard output and stops the process with status 0. This
// definition takes its place (the executable's symbol interposes the library's): it only
// records the report, so the routine returns with INFO < 0 and the wrapper that called it
// fails instead. BLAS routines have no INFO; their wrappers read the record.
extern "C" void xerbla_(const char* /*routineName*/, const lapack::Int* /*position*/,
                        std::size_t /*nameLength*/)
{
    argumentErrorReported = true;
}

bool lapack::takeArgumentError()
{
    const bool reported = argumentErrorReported;
    argumentErrorReported = false;
    return reported;
}
