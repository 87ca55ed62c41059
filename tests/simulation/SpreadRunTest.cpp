// A run spread over processes, each process a thread of the test with its own engines: the
// combined counts, the shares of the blocks and the agreement on failures.

#include "simulation/ProcessGroup.h"
#include "simulation/SimulationRun.h"
#include "stats/AnalysisIndex.h"
#include "stats/SimulationPhase.h"
#include "tests/support/SimulationTestSupport.h"

#include <gtest/gtest.h>

#include <barrier>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>

namespace {

/// The meeting point of the test's processes: every collective operation writes each
/// process's bytes into its slot and lets every process read all slots once all have
/// written.
class Meeting {
public:
    explicit Meeting(std::int32_t processes)
        : slots(static_cast<std::size_t>(processes)), barrier(processes)
    {
    }
    std::vector<std::string> exchange(std::int32_t rank, std::string bytes)
    {
        slots[static_cast<std::size_t>(rank)] = std::move(bytes);
        barrier.arrive_and_wait();
        std::vector<std::string> all = slots;
        // Nobody writes the next operation's bytes before all have read these.
        barrier.arrive_and_wait();
        return all;
    }

private:
    std::vector<std::string> slots;
    std::barrier<> barrier;
};

template <typename T>
std::string bytesOf(std::span<const T> values)
{
    // An empty span may have no data at all, which memcpy must not see.
    if (values.empty())
        return {};
    std::string bytes(values.size_bytes(), '\0');
    std::memcpy(bytes.data(), values.data(), values.size_bytes());
    return bytes;
}

/// One process of the test's group.
class ThreadProcess final : public ProcessGroup {
public:
    ThreadProcess(Meeting& place, std::int32_t ownRank, std::int32_t processes)
        : meeting(place), number(ownRank), count(processes)
    {
    }
    std::int32_t rank() const override { return number; }
    std::int32_t size() const override { return count; }
    std::vector<std::int32_t> gather(std::int32_t value) override
    {
        std::vector<std::int32_t> values;
        for (const std::string& bytes : meeting.exchange(number, std::to_string(value)))
            values.push_back(std::stoi(bytes));
        return values;
    }
    void addUp(std::span<std::int64_t> values) override { combine(values, std::plus<>()); }
    void keepSmallest(std::span<double> values) override
    {
        combine(values, [](double a, double b) { return std::min(a, b); });
    }
    void broadcast(std::string& bytes, std::int32_t root) override
    {
        bytes = meeting.exchange(number, bytes)[static_cast<std::size_t>(root)];
    }

private:
    template <typename T, typename Combine>
    void combine(std::span<T> values, Combine operation)
    {
        if (values.empty()) {
            // Every process meets all the same.
            meeting.exchange(number, {});
            return;
        }
        const std::vector<std::string> all =
            meeting.exchange(number, bytesOf(std::span<const T>(values)));
        std::vector<T> other(values.size());
        for (std::size_t p = 0; p < all.size(); ++p) {
            if (static_cast<std::int32_t>(p) == number)
                continue;
            std::memcpy(other.data(), all[p].data(), values.size_bytes());
            for (std::size_t i = 0; i < values.size(); ++i)
                values[i] = operation(values[i], other[i]);
        }
    }

    Meeting& meeting;
    std::int32_t number;
    std::int32_t count;
};

/// What one process of a spread run saw.
struct ProcessOutcome {
    SimulationResult result;
    std::int64_t passesPlanned = 0;
    std::int64_t passesDone = 0;
    std::vector<RecordingMessageSink::Message> messages;
};

/// Runs parameters on processes processes of threads threads each; process p draws with
/// preferencesOf(p).
std::vector<ProcessOutcome> runSpread(const DataTable& table,
                                      const SimulationParameters& parameters,
                                      std::int32_t processes, std::int32_t threads,
                                      const std::function<Preferences(std::int32_t)>& preferencesOf)
{
    Meeting meeting(processes);
    std::vector<ProcessOutcome> outcomes(static_cast<std::size_t>(processes));
    std::vector<std::thread> running;
    for (std::int32_t p = 0; p < processes; ++p) {
        running.emplace_back([&, p] {
            EnginePool pool(threads);
            pool.load(table, {1}, {1});
            std::vector<Anova*> engines;
            for (LoadedEngine& loaded : pool.engines)
                engines.push_back(&loaded.engine);
            ThreadProcess process(meeting, p, processes);
            SimulationRun run(engines, pool.messages, DecimalSeparator(), process);
            SimulationParameters own = parameters;
            ProcessOutcome& outcome = outcomes[static_cast<std::size_t>(p)];
            outcome.result = run.runSimulation(own, preferencesOf(p), [] {});
            outcome.passesPlanned = run.passesPlanned();
            outcome.passesDone = run.passesDone();
            outcome.messages = pool.messages.messages;
        });
    }
    for (std::thread& process : running)
        process.join();
    return outcomes;
}

DataTable twoGroups()
{
    return tableOf(1, {2}, normalRows({2}, {5, 5}, 2, 23u));
}

} // namespace

TEST(SpreadRun, EveryProcessEndsWithTheCountsOfOneProcess)
{
    // The calibrated sequential design of the thread test: the null run's smallest ps, the
    // counts of every look and the run proper's count are combined. 3500 passes are four
    // blocks, which two or three processes share unevenly.
    SimulationParameters parameters = replacingParameters(3, 3500, AnalysisAnovaUncorrected);
    parameters.criticalAlpha = 0.01;
    parameters.seed = 2024u;
    parameters.maxAdditionalInspections = 2;
    parameters.participantsPerInspection = 1;
    parameters.calibrateAlpha = 1;
    const auto mersenne = [](std::int32_t) { return Preferences(); };
    const SimulationResult alone = runSpread(twoGroups(), parameters, 1, 2, mersenne)[0].result;
    ASSERT_TRUE(alone.hasProbability());
    ASSERT_GT(alone.significantTotal, 0);
    for (const std::int32_t processes : {2, 3}) {
        SCOPED_TRACE(processes);
        const std::vector<ProcessOutcome> spread =
            runSpread(twoGroups(), parameters, processes, 2, mersenne);
        std::int64_t planned = 0;
        for (const ProcessOutcome& outcome : spread) {
            ASSERT_TRUE(outcome.result.hasProbability());
            EXPECT_EQ(outcome.result.significantTotal, alone.significantTotal);
            EXPECT_EQ(outcome.result.lookCounts.significantAt, alone.lookCounts.significantAt);
            EXPECT_EQ(outcome.result.lookCounts.firstSignificantAt,
                      alone.lookCounts.firstSignificantAt);
            EXPECT_EQ(outcome.result.criticalAlpha, alone.criticalAlpha);
            // Each process's progress covers its own share, both phases.
            EXPECT_EQ(outcome.passesDone, outcome.passesPlanned);
            planned += outcome.passesPlanned;
        }
        EXPECT_EQ(planned, 2 * 3500);
    }
}

TEST(SpreadRun, ATargetHalfWidthStopsEveryProcessAfterTheSameRound)
{
    SimulationParameters parameters = replacingParameters(3, 200000, AnalysisAnovaUncorrected);
    parameters.seed = 77u;
    parameters.targetHalfWidth = 0.004;
    const auto mersenne = [](std::int32_t) { return Preferences(); };
    const SimulationResult alone = runSpread(twoGroups(), parameters, 1, 1, mersenne)[0].result;
    ASSERT_TRUE(alone.precisionReached);
    ASSERT_LT(alone.actualPasses, 200000);
    for (const ProcessOutcome& outcome : runSpread(twoGroups(), parameters, 3, 1, mersenne)) {
        EXPECT_EQ(outcome.result.actualPasses, alone.actualPasses);
        EXPECT_EQ(outcome.result.significantTotal, alone.significantTotal);
    }
}

TEST(SpreadRun, AFailureOnOneProcessEndsAllAndProcessZeroShowsIt)
{
    // Process 1 lacks the random-numbers file that process 0 has, as on another machine.
    const TemporaryFile present("0.5 -0.5 0.25");
    const TemporaryDirectory folder;
    const std::string missing = folder.path("missing.txt");
    const SimulationParameters parameters = replacingParameters(3, 10, AnalysisAnovaUncorrected);
    const std::vector<ProcessOutcome> spread =
        runSpread(twoGroups(), parameters, 2, 1, [&](std::int32_t p) {
            return filePreferences({p == 0 ? present.path() : missing});
        });
    for (const ProcessOutcome& outcome : spread) {
        EXPECT_EQ(outcome.result.outcome, SimulationOutcome::Refused);
        EXPECT_NE(outcome.result.message.find(missing), std::string::npos);
    }
    ASSERT_EQ(spread[0].messages.size(), 1u);
    EXPECT_EQ(spread[0].messages[0].text.rfind("Process 1: The random-numbers file " + missing, 0),
              0u);
    EXPECT_TRUE(spread[1].messages.empty());
}

TEST(SpreadRun, TheProcessesTakeEveryBlockOnceAndCountTheirShares)
{
    // Whole and short last blocks, fewer blocks than processes, rounds of two blocks or one
    // round; workers taking the next block or blocks assigned by worker.
    for (const std::int64_t passes : {0, 999, 1000, 3500, 10001}) {
        for (const std::int32_t processes : {1, 2, 3, 4}) {
            for (const std::int64_t roundBlocks : {std::int64_t{2}, SimulationPhase::ALL_BLOCKS}) {
                for (const bool byWorker : {false, true}) {
                    SCOPED_TRACE(testing::Message()
                                 << passes << " passes, " << processes << " processes, rounds of "
                                 << roundBlocks << (byWorker ? ", by worker" : ""));
                    std::vector<std::int32_t> taken(static_cast<std::size_t>((passes + 999) / 1000),
                                                    0);
                    std::int64_t shares = 0;
                    for (std::int32_t rank = 0; rank < processes; ++rank) {
                        SimulationPhase phase(passes, 1u, 0u, roundBlocks);
                        phase.shareAmongProcesses(rank, processes);
                        if (byWorker)
                            phase.assignBlocksByWorker(2);
                        std::int64_t share = 0;
                        while (true) {
                            std::int64_t round = 0;
                            for (std::int32_t worker = 0; worker < 2; ++worker) {
                                while (const auto block = phase.take(worker)) {
                                    EXPECT_EQ(block->index % processes, rank);
                                    ++taken[static_cast<std::size_t>(block->index)];
                                    round += block->passes;
                                }
                            }
                            EXPECT_EQ(round, phase.roundPassesOfProcess());
                            share += round;
                            if (!phase.hasNextRound())
                                break;
                            phase.openNextRound();
                        }
                        EXPECT_EQ(share, SimulationPhase::passesOfProcess(passes, rank, processes));
                        shares += share;
                    }
                    EXPECT_EQ(shares, passes);
                    for (const std::int32_t count : taken)
                        EXPECT_EQ(count, 1);
                }
            }
        }
    }
}
