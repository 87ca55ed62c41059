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
/// A run spread over several processes gives process r of R the blocks r, r + R, r + 2R, ...
/// Within a process the workers take its next block not taken yet, so that the load
/// balances. Random-numbers files are no seeded streams: each worker reads on in its own
/// file, so there worker w of n takes the process's w-th, (w + n)-th, ... block of each round
/// instead, and a run repeats on as many processes and threads.
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
    /// The passes of the open round and every round before.
    std::int64_t openedPasses() const { return passesBefore(end); }
    /// This process is process rank of processes: it takes only the blocks rank,
    /// rank + processes, ... Before the first take.
    void shareAmongProcesses(std::int32_t rank, std::int32_t processes);
    /// Worker w of workers takes the process's blocks w, w + workers, ... of every round.
    void assignBlocksByWorker(std::int32_t workers);
    /// The next block of the process in the open round for worker (0 ... the workers - 1);
    /// none when every one is taken.
    std::optional<Block> take(std::int32_t worker);
    /// The passes of the process's blocks in the open round.
    std::int64_t roundPassesOfProcess() const;
    /// The passes of process rank of processes in a phase of passes passes.
    static std::int64_t passesOfProcess(std::int64_t passes, std::int32_t rank,
                                        std::int32_t processes);
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
    /// The process's j-th block of the open round; end or more when it has fewer.
    std::int64_t blockOfRound(std::int64_t j) const;

    std::int64_t passes;
    std::uint32_t seed;
    std::uint32_t phase;
    std::int64_t roundBlocks;
    /// The open round's blocks are begin ... end - 1.
    std::int64_t begin = 0;
    std::int64_t end;
    std::int32_t processRank = 0;
    std::int32_t processCount = 1;
    /// The process's first block of the open round not handed out yet, counted from 0 in
    /// every round.
    std::atomic<std::int64_t> next{0};
    /// With blocks assigned by worker, the process's next block of each worker in the open
    /// round, counted like next and written by that worker only while the round runs.
    std::vector<std::int64_t> cursors;
    std::vector<double> smallestPs;
};
