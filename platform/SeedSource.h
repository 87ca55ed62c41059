#pragma once

#include <cstdint>

/// The platform's non-deterministic random source, drawn once per engine to seed its
/// Mersenne Twister, so that two runs of the program draw different samples.
class SeedSource {
public:
    virtual ~SeedSource() = default;
    virtual std::uint32_t nextSeed() = 0;
};
