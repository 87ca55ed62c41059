#pragma once

#include <atomic>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <vector>

/// What the workers of one phase of a simulation run share: the phase's passes, cut into
/// blocks that the workers take in turn, and for the null run of a calibration a slot for
/// every pass's smallest p.
///
/// Block b holds the passes b·BLOCK_PASSES to (b + 1)·BLOCK_PASSES - 1, the last block
/// fewer, so that the phase has exactly its passes. With the Mersenne Twister block b draws
/// from the engine seeded by std::seed_seq{seed, b, phase} alone: what a block counts does
/// not depend on the worker that runs it nor on what that worker ran before, and so the
/// counts of a phase, added over its blocks, do not depend on the number of workers.
///
/// The workers take the next block not taken yet, so that the load balances. Random-numbers
/// files are no seeded streams: each worker reads on in its own file, so there worker w of n
/// takes the blocks w, w + n, w + 2n, ... instead, and a run repeats on as many threads.
///
/// A phase may run in rounds of a fixed number of blocks: take() hands out the blocks of the
/// open round only, and the run control opens the next one after every worker has ended.
///
/// Threads: the run control makes and sets up a phase and opens its rounds while no worker
/// runs; the workers then call take() concurrently, and each writes the smallest-p slots of
/// its own blocks only. The run control reads the slots after it has joined every worker.
class SimulationPhase {
public:
    static constexpr std::int32_t BLOCK_PASSES = 1000;
    /// As roundBlocks: every block in a single round.
    static constexpr std::int64_t ALL_BLOCKS = std::numeric_limits<std::int64_t>::max();

    struct Block {
        std::int64_t index = 0;
        /// The number of the block's first pass within the phase.
        std::int64_t firstPass = 0;
        std::int32_t passes = 0;
    };

    /// passes passes in rounds of roundBlocks (at least 1) blocks, the first one open.
    SimulationPhase(std::int64_t passes, std::uint32_t seed, std::uint32_t phase,
                    std::int64_t roundBlocks);
    SimulationPhase(const SimulationPhase&) = delete;
    SimulationPhase& operator=(const SimulationPhase&) = delete;

    std::int64_t blockCount() const { return (passes + BLOCK_PASSES - 1) / BLOCK_PASSES; }
    bool hasNextRound() const { return end < blockCount(); }
    /// Once every block of the open round has been taken.
    void openNextRound();
    /// The passes of the open round, and of it and every round before.
    std::int64_t roundPasses() const { return passesBefore(end) - passesBefore(begin); }
    std::int64_t openedPasses() const { return passesBefore(end); }
    /// Worker w of workers takes the blocks w, w + workers, ... of every round.
    void assignBlocksByWorker(std::int32_t workers);
    /// The next block of the open round for worker (0 ... the workers - 1); none when
    /// every one is taken.
    std::optional<Block> take(std::int32_t worker);
    /// The seed sequence of the block's Mersenne Twister.
    std::seed_seq seedOf(const Block& block) const;

    /// A slot for every pass's smallest p, +infinity until it is written.
    void keepSmallestPs();
    bool keepsSmallestPs() const { return !smallestPs.empty(); }
    /// p into the slot of pass (within the phase).
    void keepSmallestP(std::int64_t pass, double p);
    /// Every pass's slot, in pass order; the caller may move the values out.
    std::vector<double>& getSmallestPs() { return smallestPs; }

private:
    /// The passes of the blocks before block.
    std::int64_t passesBefore(std::int64_t block) const;

    std::int64_t passes;
    std::uint32_t seed;
    std::uint32_t phase;
    std::int64_t roundBlocks;
    /// The open round's blocks are begin ... end - 1.
    std::int64_t begin = 0;
    std::int64_t end;
    /// The first block not handed out yet.
    std::atomic<std::int64_t> next{0};
    /// With blocks assigned by worker, the next block of each worker, written by that
    /// worker only while the round runs.
    std::vector<std::int64_t> cursors;
    std::vector<double> smallestPs;
};
