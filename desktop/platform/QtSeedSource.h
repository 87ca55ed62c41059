#pragma once

#include "platform/SeedSource.h"

#include <cstdint>

/// Seeds from the operating system's random source (QRandomGenerator::system).
class QtSeedSource : public SeedSource {
public:
    std::uint32_t nextSeed() override;
};
