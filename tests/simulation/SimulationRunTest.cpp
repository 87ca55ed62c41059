// The run control over worker threads, and a simulated alpha against theory.

#include "simulation/SimulationRun.h"
#include "stats/AnalysisIndex.h"
#include "tests/support/SimulationTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <limits>
#include <optional>

TEST(SimulationRunControl, RunsExactlyThePassesAskedForAndAddsTheCountsUp)
{
    // The observed sample is significant at alpha 0.99, so every pass counts: 2500 passes
    // are two whole blocks and one of 500.
    EnginePool pool(4);
    pool.load(pairedTable(), {0}, {1});
    SimulationParameters parameters;
    parameters.numberOfPasses = 2500;
    parameters.criticalAlpha = 0.99;
    parameters.maxAdditionalInspections = 0;
    const SimulationResult& result = pool.run.runSimulation(parameters, Preferences(), [] {});
    EXPECT_EQ(result.outcome, SimulationOutcome::Completed);
    EXPECT_EQ(result.actualPasses, 2500);
    EXPECT_EQ(result.significantTotal, 2500);
    EXPECT_EQ(pool.run.passesDone(), 2500);
    EXPECT_TRUE(result.observedSampleSignificant);
}

TEST(SimulationRunControl, ASeedGivesTheSameCountsOnAnyNumberOfThreads)
{
    // Power of a within effect with groups; 3500 passes are four blocks, the last one short.
    const DataTable table = tableOf(1, {2}, normalRows({2}, {5, 5}, 2, 23u));
    SimulationParameters power = replacingParameters(3, 3500, AnalysisAnovaUncorrected);
    power.simulateAlpha = 0;
    power.criticalAlpha = 0.01;
    power.seed = 2024u;
    SimulationParameters looks = power;
    looks.maxAdditionalInspections = 2;
    looks.participantsPerInspection = 1;
    SimulationParameters recorded = looks;
    recorded.recordLooks = 1;
    // An alpha error run proper, to compare with the rank that calibrated it.
    SimulationParameters calibrated = recorded;
    calibrated.simulateAlpha = 1;
    calibrated.calibrateAlpha = 1;
    const struct {
        const char* name;
        SimulationParameters parameters;
    } cases[] = {{"one look", power},
                 {"inspections", looks},
                 {"look table", recorded},
                 {"calibration", calibrated}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<SimulationResult> single;
        for (const std::int32_t threads : {1, 2, 3, 8}) {
            EnginePool pool(threads);
            pool.load(table, {1}, {1});
            SimulationParameters parameters = c.parameters;
            const SimulationResult& result =
                pool.run.runSimulation(parameters, Preferences(), [] {});
            ASSERT_TRUE(result.hasProbability()) << threads;
            EXPECT_EQ(result.actualPasses, 3500);
            if (!single) {
                single = result;
                ASSERT_GT(result.significantTotal, 0);
                ASSERT_LT(result.significantTotal, result.actualPasses);
                continue;
            }
            EXPECT_EQ(result.significantTotal, single->significantTotal) << threads;
            EXPECT_EQ(result.lookCounts.significantAt, single->lookCounts.significantAt);
            EXPECT_EQ(result.lookCounts.firstSignificantAt, single->lookCounts.firstSignificantAt);
            EXPECT_EQ(result.criticalAlpha, single->criticalAlpha) << threads;
        }
        if (c.parameters.calibrateAlpha != 0) {
            // Had the run proper drawn the null run's passes again, its significant passes
            // would be exactly the rank that fixed the calibrated alpha, ⌈0.01 · 3500⌉.
            EXPECT_NE(single->significantTotal, 35);
        }
    }
}

TEST(SimulationRunControl, FailedRunsEndWithTheirOutcomeAndMessage)
{
    const TemporaryFile present("0.5 -0.5");
    const TemporaryDirectory folder;
    const std::string fifo = folder.path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string tooLong = folder.write("long.txt", "0.5 " + std::string(65, '1'));
    const std::string noFile = folder.path("missing.txt");
    const DataTable emptyGroup =
        tableOf(2, {2}, {{1, 1, 1.0, 2.0}, {1, 2, 3.0, 2.0}, {2, 1, 2.0, 4.0}});
    const DataTable singleParticipant =
        tableOf(1, {2}, {{1, 1.0, 2.0}, {1, 2.0, 2.5}, {1, 4.0, 3.5}, {2, 1.0, 3.0}});
    const std::string notStarted = "\n\nSimulation not started.";
    const struct {
        DataTable table;
        std::vector<int> betweenFlags;
        Preferences preferences;
        bool custom;
        SimulationOutcome outcome;
        std::string message;
    } cases[] = {
        {emptyGroup,
         {1, 0},
         Preferences(),
         false,
         SimulationOutcome::Refused,
         "A combination of the group variables has no participants. Every group combination "
         "needs participants for a simulation." +
             notStarted},
        {singleParticipant,
         {1},
         Preferences(),
         false,
         SimulationOutcome::Refused,
         "A combination of the group variables has a single participant, so the standard "
         "deviations of its cells cannot be estimated. Every group combination needs at least "
         "two participants, or custom matrices." +
             notStarted},
        // Custom matrices replace the estimate, which the front ends make first; the data
        // correlations of the group of one still cannot be taken.
        {singleParticipant,
         {1},
         Preferences(),
         true,
         SimulationOutcome::InvalidCorrelation,
         "Invalid correlation matrix, probably due to insufficient number of participants per "
         "group.\n\nSimulation aborted."},
        {pairedTable(),
         {0},
         filePreferences({present.path(), noFile}),
         false,
         SimulationOutcome::Refused,
         "The random-numbers file " + noFile + " cannot be opened: No such file or directory." +
             notStarted},
        {pairedTable(),
         {0},
         filePreferences({present.path(), folder.path("")}),
         false,
         SimulationOutcome::Refused,
         "The random-numbers file " + folder.path("") + " cannot be opened: Is a directory." +
             notStarted},
        {pairedTable(),
         {0},
         filePreferences({present.path(), fifo}),
         false,
         SimulationOutcome::Refused,
         "The random-numbers file " + fifo +
             " is not a regular file; only a file can run out of numbers." + notStarted},
        {pairedTable(),
         {0},
         filePreferences({tooLong, tooLong}),
         false,
         SimulationOutcome::RandomNumbersUnreadable,
         "The random-numbers file you specified holds a word of more than 64 characters, which "
         "is no number.\n\nSimulation aborted."},
        {pairedTable(),
         {0},
         filePreferences({present.path(), present.path()}),
         false,
         SimulationOutcome::RandomNumbersExhausted,
         "The random-numbers file you specified does not contain (enough) random numbers.\n\n"
         "Simulation aborted."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const bool refused = c.outcome == SimulationOutcome::Refused;
        EnginePool pool(2);
        SimulationParameters parameters = replacingParameters(5, 20, AnalysisPillai);
        if (c.outcome != SimulationOutcome::Refused) {
            // A failure that follows a good run must clear its probability.
            pool.load(pairedTable(), {0}, {1});
            ASSERT_TRUE(pool.run.runSimulation(parameters, Preferences(), [] {}).hasProbability());
        }
        pool.load(c.table, c.betweenFlags, {1});
        parameters.useCustomMatrices = c.custom ? 1 : 0;
        for (LoadedEngine& loaded : pool.engines) {
            if (c.custom) {
                ASSERT_TRUE(loaded.engine.prepareSimulation(SimulationParameters()));
                ASSERT_TRUE(loaded.engine.importSimulationMatrices(matrixOf({{0, 0}, {0, 0}}),
                                                                   matrixOf({{1, 1}, {1, 1}}),
                                                                   matrixOf({{1, 0}, {0, 1}})));
            }
        }
        const SimulationResult& result = pool.run.runSimulation(parameters, c.preferences, [] {});
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_FALSE(result.hasProbability());
        ASSERT_EQ(pool.messages.messages.size(), 1u);
        EXPECT_EQ(pool.messages.messages[0].text, c.message);
        if (refused) {
            // No worker started, so none ever finished.
            EXPECT_FALSE(pool.engines[0].engine.isFinished());
        }
    }
}

TEST(SimulationRunControl, AbortStopsTheWorkersAndRestoresTheEngines)
{
    EnginePool pool(2);
    pool.load(tableOf(1, {2}, normalRows({2}, {4, 6}, 2, 17u)), {1}, {1});
    ASSERT_TRUE(pool.engines[0].engine.compute());
    const std::vector<double> y = valuesOf(pool.engines[0].engine.getY());
    const std::vector<double> covariance = valuesOf(pool.engines[0].engine.getErrorCovariance());
    SimulationParameters parameters = replacingParameters(8, 2000000000, AnalysisWilks);
    const SimulationResult& result =
        pool.run.runSimulation(parameters, Preferences(), [&pool] { pool.run.abort(); });
    EXPECT_EQ(result.outcome, SimulationOutcome::Aborted);
    for (const LoadedEngine& loaded : pool.engines) {
        EXPECT_TRUE(loaded.engine.isFinished());
        EXPECT_EQ(loaded.engine.getGroupStart(), (std::vector<int>{0, 4}));
        EXPECT_EQ(valuesOf(loaded.engine.getY()), y);
        EXPECT_EQ(valuesOf(loaded.engine.getErrorCovariance()), covariance);
    }
}

TEST(SimulatedProbabilities, AlphaOfAnExactTestWithUnequalSdsIsTheCriticalAlpha)
{
    // Pillai's test of A with one group is Hotelling's paired T², exact for any covariance.
    EnginePool pool(2);
    pool.load(pairedTable(), {0}, {1});
    for (LoadedEngine& loaded : pool.engines) {
        ASSERT_TRUE(loaded.engine.importSimulationMatrices(matrixOf({{3, 3}}), matrixOf({{1, 2}}),
                                                           matrixOf({{1, 0.5}, {0.5, 1}})));
    }
    SimulationParameters parameters = replacingParameters(20, 4000, AnalysisPillai);
    parameters.useCustomMatrices = 1;
    const SimulationResult& result = pool.run.runSimulation(parameters, Preferences(), [] {});
    ASSERT_TRUE(result.hasProbability());
    const double sigma = std::sqrt(0.05 * 0.95 / static_cast<double>(result.actualPasses));
    EXPECT_NEAR(result.probability, 0.05, 4.0 * sigma) << result.significantTotal;
}

TEST(SimulationRunControl, AbortEndsAPassBetweenItsLooks)
{
    // One pass of two billion looks that add nobody, so none becomes significant: only an
    // abort between looks ends it.
    EnginePool pool(1);
    pool.load(pairedTable(), {0}, {1});
    SimulationParameters parameters;
    parameters.numberOfPasses = 1;
    parameters.criticalAlpha = 1e-12;
    parameters.maxAdditionalInspections = 2000000000;
    parameters.participantsPerInspection = 0;
    int polls = 0;
    const SimulationResult& result = pool.run.runSimulation(parameters, Preferences(), [&] {
        if (++polls == 3)
            pool.run.abort();
    });
    EXPECT_EQ(result.outcome, SimulationOutcome::Aborted);
    EXPECT_EQ(pool.engines[0].engine.getGroupStart(), (std::vector<int>{0}));
}

TEST(RunSizeEstimate, CountsTheParticipantsOfTheLastLookWithoutOverflow)
{
    LoadedEngine loaded; // one group of 3, two within cells
    ASSERT_TRUE(loaded.load(pairedTable(), {0}, {1}));
    SimulationParameters parameters = replacingParameters(5, 10, AnalysisPillai);
    parameters.maxAdditionalInspections = 2;
    parameters.participantsPerInspection = 3;
    EXPECT_EQ(loaded.engine.estimateRunSize(parameters, false).participants, 11);
    parameters.replaceOriginalMatrix = 0;
    EXPECT_EQ(loaded.engine.estimateRunSize(parameters, false).participants, 9);
    const RunSize small = loaded.engine.estimateRunSize(parameters, true);
    // 2e9 looks of 2e9 participants: 4e18 overflows 32 bits, not 64; the bytes saturate.
    parameters.maxAdditionalInspections = 2000000000;
    parameters.participantsPerInspection = 2000000000;
    const RunSize huge = loaded.engine.estimateRunSize(parameters, false);
    EXPECT_EQ(huge.participants, 4000000000000000003);
    EXPECT_EQ(huge.bytes, std::numeric_limits<std::int64_t>::max());
    EXPECT_FALSE(huge.fitsMatrices());
    // Summaries hold the observed rows whatever the participants, who still count.
    const RunSize summaries = loaded.engine.estimateRunSize(parameters, true);
    EXPECT_EQ(summaries.participants, 4000000000000000003);
    EXPECT_EQ(summaries.bytes, small.bytes);
    EXPECT_LT(small.bytes, 4096);
    EXPECT_TRUE(summaries.fitsMatrices());
    EXPECT_FALSE(summaries.fitsParticipants());
}

TEST(SimulationRunControl, ASummaryRunIsLimitedByItsParticipantsOnly)
{
    // 130 million per group would need about 13 GB of rows, more than the limit given here.
    EnginePool pool(1);
    pool.load(pairedTable(), {0}, {1});
    pool.run.setMemoryLimit(std::int64_t{1} << 30);
    SimulationParameters parameters = replacingParameters(130000000, 20, AnalysisPillai);
    const SimulationResult admitted = pool.run.runSimulation(parameters, Preferences(), [] {});
    EXPECT_EQ(admitted.outcome, SimulationOutcome::Completed);
    EXPECT_EQ(admitted.actualPasses, 20);
    Preferences rows;
    rows.sampler = SamplerRows;
    EXPECT_EQ(pool.run.runSimulation(parameters, rows, [] {}).outcome, SimulationOutcome::Refused);

    parameters.participantsPerGroup = 5;
    parameters.maxAdditionalInspections = 2;
    parameters.participantsPerInspection = 1073741824;
    const SimulationResult& refused = pool.run.runSimulation(parameters, Preferences(), [] {});
    EXPECT_EQ(refused.outcome, SimulationOutcome::Refused);
    ASSERT_EQ(pool.messages.messages.size(), 2u);
    EXPECT_EQ(pool.messages.messages[1].text,
              "The simulation would have 2147483653 participants at the last look; the limit is "
              "2147483647.\n\nSimulation not started.");
}

TEST(SimulationRunControl, TheMemoryLimitReducesTheThreadsOrRefusesTheRun)
{
    EnginePool pool(4);
    pool.load(pairedTable(), {0}, {1});
    SimulationParameters parameters = replacingParameters(1000, 40, AnalysisPillai);
    // Rows, whose memory grows with the participants.
    Preferences rows;
    rows.sampler = SamplerRows;
    const std::int64_t perEngine = pool.engines[0].engine.estimateRunSize(parameters, false).bytes;
    pool.run.setMemoryLimit(2 * perEngine + perEngine / 2);
    const SimulationResult reduced = pool.run.runSimulation(parameters, rows, [] {});
    EXPECT_EQ(reduced.outcome, SimulationOutcome::Completed);
    EXPECT_EQ(pool.run.threadCount(), 2);
    EXPECT_EQ(reduced.actualPasses, 40);
    ASSERT_EQ(pool.messages.messages.size(), 1u);
    EXPECT_EQ(pool.messages.messages[0].title, "Notice");
    EXPECT_NE(pool.messages.messages[0].text.find("4 threads would exceed"), std::string::npos);
    EXPECT_NE(pool.messages.messages[0].text.find("so it runs on 2 threads."), std::string::npos);

    pool.run.setMemoryLimit(perEngine - 1);
    parameters.numberOfPasses = 40;
    const SimulationResult& refused = pool.run.runSimulation(parameters, rows, [] {});
    EXPECT_EQ(refused.outcome, SimulationOutcome::Refused);
    ASSERT_EQ(pool.messages.messages.size(), 2u);
    EXPECT_NE(pool.messages.messages[1].text.find("per thread, more than the machine's memory"),
              std::string::npos);
}
