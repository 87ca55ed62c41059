#include "stats/MersenneTwister.h"

namespace {

constexpr std::uint32_t UPPER_BIT = 0x80000000u;
constexpr std::uint32_t LOWER_BITS = 0x7fffffffu;
constexpr std::uint32_t TWIST_CONSTANT = 0x9908b0dfu;

// One word of the twist: the top bit of `word` joined with the low 31 bits of its successor,
// shifted right and, when its lowest bit is set, xor-ed with the constant; the mask of all
// ones or zeros does that without a branch.
std::uint32_t twisted(std::uint32_t word, std::uint32_t successor, std::uint32_t distant)
{
    const std::uint32_t joined = (word & UPPER_BIT) | (successor & LOWER_BITS);
    const std::uint32_t mask = 0u - (joined & 1u);
    return distant ^ (joined >> 1) ^ (mask & TWIST_CONSTANT);
}

} // namespace

void MersenneTwister::seed(result_type value)
{
    state[0] = value;
    for (std::size_t i = 1; i < STATE_SIZE; ++i) {
        const std::uint32_t previous = state[i - 1];
        state[i] = 1812433253u * (previous ^ (previous >> 30)) + static_cast<std::uint32_t>(i);
    }
    next = STATE_SIZE;
}

void MersenneTwister::seed(std::seed_seq& sequence)
{
    sequence.generate(state.begin(), state.end());
    bool allZero = (state[0] & UPPER_BIT) == 0u;
    for (std::size_t i = 1; allZero && i < STATE_SIZE; ++i) {
        allZero = state[i] == 0u;
    }
    if (allZero) {
        state[0] = UPPER_BIT;
    }
    next = STATE_SIZE;
}

void MersenneTwister::twist()
{
    // Word k takes word k + 397 modulo 624: not yet regenerated for the first 227 words, the
    // new one for the rest. The loops are split there so that no index wraps.
    constexpr std::size_t firstPart = STATE_SIZE - SHIFT_SIZE;
    for (std::size_t k = 0; k < firstPart; ++k) {
        state[k] = twisted(state[k], state[k + 1], state[k + SHIFT_SIZE]);
    }
    for (std::size_t k = firstPart; k < STATE_SIZE - 1; ++k) {
        state[k] = twisted(state[k], state[k + 1], state[k - firstPart]);
    }
    state[STATE_SIZE - 1] = twisted(state[STATE_SIZE - 1], state[0], state[SHIFT_SIZE - 1]);
    next = 0;
}
