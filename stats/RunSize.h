#pragma once

#include <cstdint>

/// How large one engine's simulation run becomes at most, computed in 64 bits from the
/// shapes before anything is allocated. Every sum and product saturates at INT64_MAX, so a
/// size that overflows still compares as too large.
struct RunSize {
    /// A matrix holds at most this many entries (its sizes are 32-bit).
    static constexpr std::int64_t MATRIX_ENTRY_LIMIT = 2147483647;

    /// A look has at most this many participants: the tests count them, and the summaries
    /// their groups, in ints.
    static constexpr std::int64_t PARTICIPANT_LIMIT = 2147483647;

    bool fitsMatrices() const { return largestMatrix <= MATRIX_ENTRY_LIMIT; }
    bool fitsParticipants() const { return participants <= PARTICIPANT_LIMIT; }

    /// Participants of all groups at the last look.
    std::int64_t participants = 0;
    /// Entries of the largest matrix of the run.
    std::int64_t largestMatrix = 0;
    /// Bytes of the engine's matrices, which grow with the design and the sample.
    std::int64_t bytes = 0;
};
