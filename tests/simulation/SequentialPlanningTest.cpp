// The look-by-look table, the required sample size and the calibrated critical alpha of a
// sequential design, against closed forms, published constants and an independent
// simulation.

#include "simulation/AlphaCalibration.h"
#include "simulation/LookTable.h"
#include "stats/AnalysisIndex.h"
#include "tests/support/SimulationTestSupport.h"

#include <boost/math/distributions/non_central_t.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace {

/// The paired design of one group and two within cells, simulated from a population whose
/// difference of the cells has mean difference and variance 2 (1 - rho): the uncorrected
/// ANOVA of the within factor is then the two-sided paired t test.
struct PairedStudy {
    PairedStudy(double difference, double rho, std::uint32_t seed) : pool(2)
    {
        pool.load(pairedTable(), {0}, {1}, seed);
        pool.importPopulation(matrixOf({{0.0, difference}}), matrixOf({{1.0, 1.0}}),
                              matrixOf({{1.0, rho}, {rho, 1.0}}));
    }

    /// A power run with looks at first, first + step, ..., first + inspections * step participants.
    SimulationParameters looks(std::int32_t first, std::int32_t inspections, std::int32_t step,
                               std::int32_t passes) const
    {
        SimulationParameters parameters =
            replacingParameters(first, passes, AnalysisAnovaUncorrected);
        parameters.simulateAlpha = 0;
        parameters.useCustomMatrices = 1;
        parameters.recordLooks = 1;
        parameters.maxAdditionalInspections = inspections;
        parameters.participantsPerInspection = step;
        return parameters;
    }

    const SimulationResult& run(SimulationParameters parameters)
    {
        return pool.run.runSimulation(parameters, Preferences(), [] {});
    }

    EnginePool pool;
};

/// The power of the two-sided paired t test of n pairs from the noncentral t distribution.
double pairedTPower(double difference, double rho, std::int32_t n, double alpha)
{
    const double df = n - 1;
    const double delta = difference * std::sqrt(n / (2.0 * (1.0 - rho)));
    const double critical = quantile(boost::math::students_t(df), 1.0 - alpha / 2.0);
    const boost::math::non_central_t shifted(df, delta);
    return cdf(complement(shifted, critical)) + cdf(shifted, -critical);
}

/// Two-sided p of the one-sample t test of the first n differences.
double pairedTP(const std::vector<double>& differences, std::size_t n)
{
    double mean = 0.0;
    for (std::size_t i = 0; i < n; ++i)
        mean += differences[i] / static_cast<double>(n);
    double squares = 0.0;
    for (std::size_t i = 0; i < n; ++i)
        squares += (differences[i] - mean) * (differences[i] - mean);
    const double t =
        mean / std::sqrt(squares / static_cast<double>(n - 1) / static_cast<double>(n));
    return 2.0 * cdf(complement(boost::math::students_t(static_cast<double>(n - 1)), std::abs(t)));
}

} // namespace

TEST(LookTable, PowerAtEveryLookIsTheNoncentralTPowerAndTheSharesAddUp)
{
    const double difference = 0.6;
    const double rho = 0.3;
    PairedStudy study(difference, rho, 11u);
    const SimulationResult& result = study.run(study.looks(6, 4, 3, 4000));
    ASSERT_TRUE(result.hasProbability());
    const LookTable table = makeLookTable(result);
    ASSERT_EQ(table.looks.size(), 5U);
    const double passes = static_cast<double>(result.actualPasses);
    double firstShares = 0.0;
    double expected = 0.0;
    for (const LookRow& row : table.looks) {
        const auto n = static_cast<std::int32_t>(6 + 3 * row.look);
        EXPECT_EQ(row.participants, n);
        const double exact = pairedTPower(difference, rho, n, 0.05);
        const double sigma = std::sqrt(exact * (1.0 - exact) / passes);
        EXPECT_NEAR(row.significantAtThisLook.value, exact, 4.0 * sigma) << "look " << row.look;
        firstShares += row.firstSignificantHere.value;
        EXPECT_NEAR(row.significantByThisLook.value, firstShares, 1e-12);
        EXPECT_LE(row.significantByThisLook.value, row.significantByThisLook.high);
        expected += row.firstSignificantHere.value * static_cast<double>(n);
    }
    EXPECT_EQ(table.looks.back().significantByThisLook.value, result.probability);
    EXPECT_NEAR(firstShares, result.probability, 1e-12);
    // A study without a significant look stops at the last one.
    expected += (1.0 - result.probability) * static_cast<double>(table.looks.back().participants);
    EXPECT_NEAR(table.expectedParticipants, expected, 1e-9);
    EXPECT_GT(table.expectedParticipantsStandardError, 0.0);
    EXPECT_LT(table.expectedParticipantsStandardError, 0.1);
}

TEST(LookTable, RecordingASingleLookChangesNothing)
{
    // With one look, recording draws the same numbers and counts the same passes.
    std::int64_t counts[2] = {};
    for (const std::int32_t record : {0, 1}) {
        PairedStudy study(0.5, 0.2, 5u);
        SimulationParameters parameters = study.looks(8, 0, 0, 600);
        parameters.recordLooks = record;
        const SimulationResult& result = study.run(parameters);
        ASSERT_TRUE(result.hasProbability());
        counts[record] = result.significantTotal;
        EXPECT_EQ(result.lookCounts.empty(), record == 0);
    }
    EXPECT_EQ(counts[0], counts[1]);
}

TEST(LookTable, TheTargetPowerIsReachedAtTheFirstLookWhoseEstimateReachesIt)
{
    // Two groups of 10, 5 more each per look; 100 passes. Power 0.50, 0.79, 0.81, 0.78.
    SimulationResult result;
    result.outcome = SimulationOutcome::Completed;
    result.actualPasses = 100;
    result.lookCounts.significantAt = {50, 79, 81, 78};
    result.lookCounts.firstSignificantAt = {50, 30, 6, 4};
    result.significantTotal = 90;
    result.firstLookGroupSizes = {10, 10};
    result.participantsPerInspection = 5;
    const LookTable table = makeLookTable(result);
    ASSERT_NE(table.firstReaching(0.8), nullptr);
    EXPECT_EQ(table.firstReaching(0.8)->look, 2);
    EXPECT_EQ(table.firstReaching(0.8)->participantsPerGroup, (std::vector<std::int64_t>{20, 20}));
    // Look 1's interval reaches 0.8, its estimate does not.
    EXPECT_GT(table.looks[1].significantAtThisLook.high, 0.8);
    EXPECT_EQ(table.firstReaching(0.5)->look, 0);
    EXPECT_EQ(table.firstReaching(0.82), nullptr);
    // Studies stop at 20, 30, 40 participants, or 50 for the 4 + 10 at the last look.
    EXPECT_NEAR(table.expectedParticipants, (50 * 20 + 30 * 30 + 6 * 40 + 14 * 50) / 100.0, 1e-12);
    EXPECT_EQ(table.looks[3].significantByThisLook.value, 0.9);
}

TEST(AlphaCalibration, TakesTheOrderStatisticOfAlphaTimesThePasses)
{
    std::vector<double> values;
    for (int i = 20000; i >= 1; --i)
        values.push_back(i / 20000.0);
    // 0.05 * 20000 is 1000 although 0.05 is not exactly 1 / 20 in binary.
    const std::optional<CalibratedAlpha> calibration = calibrateAlpha(values, 0.05);
    ASSERT_TRUE(calibration);
    EXPECT_EQ(calibration->value, 1000 / 20000.0);
    EXPECT_EQ(calibration->passes, 20000);
    // Ranks 1000 -/+ 1.96 sqrt(950) = 1000 -/+ 60.4, rounded outwards.
    EXPECT_EQ(calibration->low, 939 / 20000.0);
    EXPECT_EQ(calibration->high, 1061 / 20000.0);

    // Without a computable look in 96 of 100 passes there is no fifth smallest p.
    std::vector<double> mostlyFailed(96, std::numeric_limits<double>::infinity());
    mostlyFailed.insert(mostlyFailed.end(), {0.1, 0.2, 0.3, 0.4});
    EXPECT_FALSE(calibrateAlpha(mostlyFailed, 0.05));
}

TEST(AlphaCalibration, LargeLooksGiveThePocockConstantsAndHoldTheAlpha)
{
    // The published nominal levels of two to five equally spaced two-sided looks at an
    // overall 0.05 (normal statistics); looks of 60 pairs come close to those.
    const double pocock[] = {0.0294, 0.0221, 0.0182, 0.0158};
    for (std::int32_t inspections = 1; inspections <= 4; ++inspections) {
        PairedStudy study(0.0, 0.5, 100u + static_cast<std::uint32_t>(inspections));
        SimulationParameters parameters = study.looks(60, inspections, 60, 20000);
        parameters.simulateAlpha = 1;
        parameters.calibrateAlpha = 1;
        const SimulationResult& result = study.run(parameters);
        ASSERT_TRUE(result.hasProbability()) << result.message;
        ASSERT_TRUE(result.calibratedAlpha);
        const CalibratedAlpha& calibration = *result.calibratedAlpha;
        EXPECT_NEAR(calibration.value, pocock[inspections - 1], calibration.high - calibration.low)
            << inspections + 1 << " looks";
        EXPECT_EQ(result.criticalAlpha, calibration.value);
        // The run proper draws fresh null passes: its probability of any significant look
        // is the target within the Monte-Carlo error of both runs.
        const double sigma =
            std::sqrt(2.0 * 0.05 * 0.95 / static_cast<double>(result.actualPasses));
        EXPECT_NEAR(result.probability, 0.05, 4.0 * sigma) << inspections + 1 << " looks";
    }
}

TEST(AlphaCalibration, SmallLooksAgreeWithAnIndependentSimulation)
{
    // Three looks at 4, 8 and 12 pairs, where the t statistics are far from normal.
    constexpr std::int32_t PASSES = 20000;
    PairedStudy study(0.0, 0.0, 7u);
    SimulationParameters parameters = study.looks(4, 2, 4, PASSES);
    parameters.simulateAlpha = 1;
    parameters.calibrateAlpha = 1;
    const SimulationResult& result = study.run(parameters);
    ASSERT_TRUE(result.calibratedAlpha);

    std::mt19937_64 random(2026);
    std::normal_distribution<double> normal;
    std::vector<double> smallest;
    std::vector<double> differences(12);
    for (std::int32_t pass = 0; pass < PASSES; ++pass) {
        for (double& d : differences)
            d = normal(random);
        smallest.push_back(std::min(
            {pairedTP(differences, 4), pairedTP(differences, 8), pairedTP(differences, 12)}));
    }
    const std::optional<CalibratedAlpha> independent = calibrateAlpha(smallest, 0.05);
    ASSERT_TRUE(independent);
    const CalibratedAlpha& ours = *result.calibratedAlpha;
    const double halfWidths =
        std::hypot(ours.high - ours.low, independent->high - independent->low) / 2.0;
    EXPECT_NEAR(ours.value, independent->value, 2.0 * halfWidths);
}

TEST(LookTable, AHugeNumberOfLooksIsRefusedBeforeTheRun)
{
    PairedStudy study(0.5, 0.2, 1u);
    const SimulationParameters parameters =
        study.looks(4, SimulationRun::MAX_RECORDED_LOOKS, 0, 10);
    EXPECT_FALSE(study.run(parameters).hasProbability());
    ASSERT_FALSE(study.pool.messages.messages.empty());
    EXPECT_EQ(study.pool.run.result().outcome, SimulationOutcome::Refused);
    EXPECT_NE(study.pool.messages.messages.back().text.find("at most 10000 looks"),
              std::string::npos);
}
