#include "stats/SimulationPhase.h"

#include <algorithm>
#include <cassert>
#include <limits>

SimulationPhase::SimulationPhase(std::int64_t phasePasses, std::uint32_t runSeed,
                                 std::uint32_t phaseNumber, std::int64_t blocksPerRound)
    : passes(phasePasses), seed(runSeed), phase(phaseNumber), roundBlocks(blocksPerRound),
      end(std::min(blocksPerRound, blockCount()))
{
    assert(passes >= 0);
    assert(roundBlocks >= 1);
}

void SimulationPhase::keepSmallestPs()
{
    // +infinity is what a pass without a computable look keeps; a slot that no pass wrote
    // (an aborted run) is never read.
    smallestPs.assign(static_cast<std::size_t>(passes), std::numeric_limits<double>::infinity());
}

void SimulationPhase::assignBlocksByWorker(std::int32_t workers)
{
    assert(workers >= 1);
    cursors.resize(static_cast<std::size_t>(workers));
    for (std::size_t w = 0; w < cursors.size(); ++w)
        cursors[w] = begin + static_cast<std::int64_t>(w);
}

std::int64_t SimulationPhase::passesBefore(std::int64_t block) const
{
    return std::min(block * BLOCK_PASSES, passes);
}

void SimulationPhase::openNextRound()
{
    assert(hasNextRound());
    assert(!cursors.empty() || next.load(std::memory_order_relaxed) == end);
    begin = end;
    end = roundBlocks < blockCount() - end ? end + roundBlocks : blockCount();
    if (!cursors.empty())
        assignBlocksByWorker(static_cast<std::int32_t>(cursors.size()));
}

std::optional<SimulationPhase::Block> SimulationPhase::take(std::int32_t worker)
{
    std::int64_t index = 0;
    if (cursors.empty()) {
        // Relaxed: the counter hands out indices only; nothing else is published through it.
        index = next.load(std::memory_order_relaxed);
        do {
            if (index >= end)
                return std::nullopt;
        } while (!next.compare_exchange_weak(index, index + 1, std::memory_order_relaxed));
    } else {
        assert(worker >= 0 && static_cast<std::size_t>(worker) < cursors.size());
        std::int64_t& cursor = cursors[static_cast<std::size_t>(worker)];
        if (cursor >= end)
            return std::nullopt;
        index = cursor;
        cursor += static_cast<std::int64_t>(cursors.size());
    }
    const std::int64_t first = passesBefore(index);
    return Block{index, first, static_cast<std::int32_t>(passesBefore(index + 1) - first)};
}

std::seed_seq SimulationPhase::seedOf(const Block& block) const
{
    // A run has at most 2000000000 passes, so the block index fits 32 bits.
    assert(block.index <= std::numeric_limits<std::uint32_t>::max());
    return std::seed_seq{seed, static_cast<std::uint32_t>(block.index), phase};
}

void SimulationPhase::keepSmallestP(std::int64_t pass, double p)
{
    smallestPs[static_cast<std::size_t>(pass)] = p;
}
