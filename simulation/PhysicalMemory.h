#pragma once

#include <cstdint>

/// The machine's physical memory in bytes, from the operating system; 0 when it cannot be
/// told, which the run control takes as no limit.
std::int64_t physicalMemoryBytes();
