// The figures of the simulate report, the engines' seeds and the population file.
#include "cli/PopulationJson.h"
#include "cli/SimulateCommand.h"
#include "cli/SimulationReport.h"
#include "tests/tables/RecordingMessageSink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>

namespace {

constexpr double Z = 1.959963984540054;

SimulationReport reportOf(std::int64_t significant, std::int64_t passes)
{
    SimulationReport report;
    report.actualPasses = passes;
    report.significant = significant;
    report.probability = static_cast<double>(significant) / static_cast<double>(passes);
    return report;
}

std::string temporaryPath(const std::string& name)
{
    return ::testing::TempDir() + name;
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
}

} // namespace

TEST(SimulationReport, StandardErrorIsTheBinomialOne)
{
    const SimulationReport report = reportOf(50, 1000);
    EXPECT_NEAR(report.standardError(), std::sqrt(0.05 * 0.95 / 1000.0), 1e-15);
}

// Wilson (1927): with no significant pass the interval runs from 0 to z^2 / (n + z^2), and
// with every pass significant from n / (n + z^2) to 1.
TEST(SimulationReport, WilsonIntervalAtTheEnds)
{
    const double n = 400.0;
    const SimulationReport none = reportOf(0, 400);
    EXPECT_NEAR(none.wilsonLower(), 0.0, 1e-15);
    EXPECT_NEAR(none.wilsonUpper(), Z * Z / (n + Z * Z), 1e-15);
    const SimulationReport all = reportOf(400, 400);
    EXPECT_NEAR(all.wilsonLower(), n / (n + Z * Z), 1e-15);
    EXPECT_NEAR(all.wilsonUpper(), 1.0, 1e-15);
}

// The bounds are the roots of (p - q)^2 = z^2 q (1 - q) / n, the score test's boundary.
TEST(SimulationReport, WilsonBoundsSolveTheScoreEquation)
{
    const SimulationReport report = reportOf(37, 500);
    const double p = report.probability;
    for (const double q : {report.wilsonLower(), report.wilsonUpper()})
        EXPECT_NEAR((p - q) * (p - q), Z * Z * q * (1.0 - q) / 500.0, 1e-14) << q;
    EXPECT_LT(report.wilsonLower(), p);
    EXPECT_GT(report.wilsonUpper(), p);
}

TEST(SimulationReport, JsonNamesTheSeedOrNull)
{
    SimulationReport report = reportOf(1, 10);
    report.seed = 4294967295U;
    EXPECT_NE(formatReportJson(report).find("\"seed\": 4294967295"), std::string::npos);
    report.seed.reset();
    EXPECT_NE(formatReportJson(report).find("\"seed\": null"), std::string::npos);
}

TEST(SimulateCommandEngineSeed, RepeatsAndDiffersPerEngineAndRun)
{
    EXPECT_EQ(SimulateCommand::engineSeed(7, 1), SimulateCommand::engineSeed(7, 1));
    std::set<std::uint32_t> seeds;
    for (std::uint32_t run : {0U, 1U, 7U})
        for (std::uint32_t i = 0; i < 4; ++i)
            seeds.insert(SimulateCommand::engineSeed(run, i));
    EXPECT_EQ(seeds.size(), 12U);
}

TEST(PopulationJson, WriteThenReadGivesTheSameNumbers)
{
    PopulationJson written;
    written.means.resize(2, 3);
    written.sds.resize(2, 3);
    written.correlations.resize(3, 3);
    for (std::int32_t i = 0; i < 2; ++i)
        for (std::int32_t j = 0; j < 3; ++j) {
            written.means.set(i, j, 1.0 / (3.0 + i + 7 * j));
            written.sds.set(i, j, 0.1 * (i + 1) + j);
        }
    for (std::int32_t i = 0; i < 3; ++i)
        for (std::int32_t j = 0; j < 3; ++j)
            written.correlations.set(i, j, i == j ? 1.0 : 1.0 / 3.0);
    RecordingMessageSink messages;
    const std::string path = temporaryPath("population-round-trip.json");
    ASSERT_TRUE(written.write(path, messages));
    PopulationJson read;
    ASSERT_TRUE(read.read(path, 2, 3, messages));
    EXPECT_TRUE(messages.messages.empty());
    for (std::int32_t i = 0; i < 2; ++i)
        for (std::int32_t j = 0; j < 3; ++j) {
            EXPECT_EQ(read.means.get(i, j), written.means.get(i, j));
            EXPECT_EQ(read.sds.get(i, j), written.sds.get(i, j));
        }
    EXPECT_EQ(read.correlations.get(0, 2), 1.0 / 3.0);
    std::remove(path.c_str());
}

TEST(PopulationJson, RaggedRowIsRefusedWithItsNumber)
{
    const std::string path = temporaryPath("population-ragged.json");
    writeFile(path, R"({"means": [[1, 2], [3]], "sds": [[1, 1], [1, 1]],
                        "correlations": [[1, 0], [0, 1]]})");
    RecordingMessageSink messages;
    PopulationJson population;
    EXPECT_FALSE(population.read(path, 2, 2, messages));
    ASSERT_EQ(messages.messages.size(), 1U);
    EXPECT_NE(messages.messages[0].text.find("\"means\" row 2 does not have 2 numbers"),
              std::string::npos)
        << messages.messages[0].text;
    std::remove(path.c_str());
}

TEST(PopulationJson, MissingMatrixAndTextAreRefused)
{
    const std::string path = temporaryPath("population-missing.json");
    RecordingMessageSink messages;
    PopulationJson population;
    writeFile(path, R"({"means": [[1]], "sds": [[1]]})");
    EXPECT_FALSE(population.read(path, 1, 1, messages));
    writeFile(path, R"({"means": [[1]], "sds": [["1"]], "correlations": [[1]]})");
    EXPECT_FALSE(population.read(path, 1, 1, messages));
    writeFile(path, "not json");
    EXPECT_FALSE(population.read(path, 1, 1, messages));
    ASSERT_EQ(messages.messages.size(), 3U);
    EXPECT_NE(messages.messages[0].text.find("has no \"correlations\""), std::string::npos);
    EXPECT_NE(messages.messages[1].text.find("\"sds\" row 1 holds something other than numbers"),
              std::string::npos);
    EXPECT_NE(messages.messages[2].text.find("is not a JSON object"), std::string::npos);
    std::remove(path.c_str());
}
