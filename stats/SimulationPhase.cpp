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

void SimulationPhase::shareAmongProcesses(std::int32_t rank, std::int32_t processes)
{
    assert(processes >= 1 && rank >= 0 && rank < processes);
    processRank = rank;
    processCount = processes;
}

void SimulationPhase::assignBlocksByWorker(std::int32_t workers)
{
    assert(workers >= 1);
    cursors.resize(static_cast<std::size_t>(workers));
    for (std::size_t w = 0; w < cursors.size(); ++w)
        cursors[w] = static_cast<std::int64_t>(w);
}

std::int64_t SimulationPhase::blockOfRound(std::int64_t j) const
{
    const std::int64_t first =
        begin + (processRank - begin % processCount + processCount) % processCount;
    return first + j * processCount;
}

std::int64_t SimulationPhase::roundPassesOfProcess() const
{
    const std::int64_t first = blockOfRound(0);
    if (first >= end)
        return 0;
    const std::int64_t last = blockOfRound((end - 1 - first) / processCount);
    // Whole blocks before the last, which may be the phase's short last block.
    return (last - first) / processCount * BLOCK_PASSES + passesBefore(last + 1) -
           passesBefore(last);
}

std::int64_t SimulationPhase::passesOfProcess(std::int64_t passes, std::int32_t rank,
                                              std::int32_t processes)
{
    SimulationPhase whole(passes, 0, 0, ALL_BLOCKS);
    whole.shareAmongProcesses(rank, processes);
    return whole.roundPassesOfProcess();
}

std::int64_t SimulationPhase::passesBefore(std::int64_t block) const
{
    return std::min(block * BLOCK_PASSES, passes);
}

void SimulationPhase::openNextRound()
{
    assert(hasNextRound());
    assert(!cursors.empty() || blockOfRound(next.load(std::memory_order_relaxed)) >= end);
    begin = end;
    end = roundBlocks < blockCount() - end ? end + roundBlocks : blockCount();
    next.store(0, std::memory_order_relaxed);
    if (!cursors.empty())
        assignBlocksByWorker(static_cast<std::int32_t>(cursors.size()));
}

std::optional<SimulationPhase::Block> SimulationPhase::take(std::int32_t worker)
{
    std::int64_t index = 0;
    if (cursors.empty()) {
        // Relaxed: the counter hands out indices only; nothing else is published through it.
        std::int64_t j = next.load(std::memory_order_relaxed);
        do {
            index = blockOfRound(j);
            if (index >= end)
                return std::nullopt;
        } while (!next.compare_exchange_weak(j, j + 1, std::memory_order_relaxed));
    } else {
        assert(worker >= 0 && static_cast<std::size_t>(worker) < cursors.size());
        std::int64_t& cursor = cursors[static_cast<std::size_t>(worker)];
        index = blockOfRound(cursor);
        if (index >= end)
            return std::nullopt;
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
