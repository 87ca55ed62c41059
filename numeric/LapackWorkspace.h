#pragma once

#include <cstdint>
#include <memory>

/// The LAPACK work array of one owner (an engine, a sample generator, the design, a table).
/// Every RealMatrix created by the owner points to it and passes it as WORK/LWORK, so that
/// no LAPACK call allocates its work area inside the simulation's inner loop.
///
/// The 5,000,000 doubles are allocated but never written here: the allocation is large
/// enough to be served by fresh anonymous pages, which stay unmapped (and cost no resident
/// memory) until a LAPACK routine actually uses them. A workspace is used by one thread at
/// a time.
class LapackWorkspace {
public:
    static constexpr std::int32_t LENGTH = 5'000'000;

    LapackWorkspace();
    LapackWorkspace(const LapackWorkspace&) = delete;
    LapackWorkspace& operator=(const LapackWorkspace&) = delete;

    double* work() { return buffer.get(); }
    /// LWORK as LAPACK's Fortran interface takes it (by pointer).
    std::int32_t* length() { return &lengthValue; }

private:
    std::unique_ptr<double[]> buffer;
    std::int32_t lengthValue = LENGTH;
};
