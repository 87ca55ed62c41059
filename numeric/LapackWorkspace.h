#pragma once

#include <cstddef>
#include <memory>

/// The LAPACK work array of one owner (an engine, a sample generator, the design, a table).
/// Every RealMatrix created by the owner points to it and passes it as WORK/LWORK, so that
/// no LAPACK call allocates its work area inside the simulation's inner loop.
///
/// The array starts empty and grows to the largest size a call has asked for; it never
/// shrinks, so after the first look of a simulation no call allocates again. A workspace
/// is used by one thread at a time.
class LapackWorkspace {
public:
    LapackWorkspace() = default;
    LapackWorkspace(const LapackWorkspace&) = delete;
    LapackWorkspace& operator=(const LapackWorkspace&) = delete;

    /// At least count doubles. Their contents are not kept when the array grows, and
    /// pointers from earlier calls become invalid then.
    double* reserve(std::size_t count);
    /// The doubles the array holds now.
    std::size_t capacity() const { return length; }

private:
    std::unique_ptr<double[]> buffer;
    std::size_t length = 0;
};
