// The figures of the simulate report, the engines' seeds and the population file.
#include "cli/PopulationJson.h"
#include "cli/SimulateCommand.h"
#include "cli/SimulationReport.h"
#include "tests/files/TemporaryDirectory.h"
#include "tests/tables/RecordingMessageSink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace {

SimulationReport reportOf(std::int64_t significant, std::int64_t passes)
{
    SimulationReport report;
    report.actualPasses = passes;
    report.significant = significant;
    report.probability = static_cast<double>(significant) / static_cast<double>(passes);
    return report;
}

} // namespace

TEST(SimulationReport, BinomialErrorAndWilsonIntervalAlsoAtTheEnds)
{
    // Wilson (1927): the bounds are the two roots of (p - q)^2 = z^2 q (1 - q) / n, the score
    // test's boundary. With no significant pass they are 0 and z^2 / (n + z^2), with every
    // pass significant n / (n + z^2) and 1.
    constexpr double Z = 1.959963984540054;
    const std::pair<int, int> counts[] = {{0, 400}, {400, 400}, {37, 500}};
    for (const auto& [significant, passes] : counts) {
        const SimulationReport report = reportOf(significant, passes);
        const double p = report.probability;
        const double n = passes;
        SCOPED_TRACE(std::to_string(significant) + " of " + std::to_string(passes));
        EXPECT_NEAR(report.standardError(), std::sqrt(p * (1.0 - p) / n), 1e-15);
        for (const double q : {report.wilsonLower(), report.wilsonUpper()})
            EXPECT_NEAR((p - q) * (p - q), Z * Z * q * (1.0 - q) / n, 1e-14) << q;
        EXPECT_LE(report.wilsonLower(), p + 1e-15);
        EXPECT_GE(report.wilsonUpper(), p - 1e-15);
        EXPECT_LT(report.wilsonLower(), report.wilsonUpper());
    }
    EXPECT_EQ(reportOf(0, 400).wilsonLower(), 0.0);
    EXPECT_EQ(reportOf(400, 400).wilsonUpper(), 1.0);
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
    for (std::int32_t i = 0; i < 3; ++i)
        for (std::int32_t j = 0; j < 3; ++j) {
            written.correlations.set(i, j, i == j ? 1.0 : 1.0 / 3.0);
            if (i < 2) {
                written.means.set(i, j, 1.0 / (3.0 + i + 7 * j));
                written.sds.set(i, j, 0.1 * (i + 1) + j);
            }
        }
    RecordingMessageSink messages;
    const TemporaryDirectory directory;
    ASSERT_TRUE(written.write(directory.path("population.json"), messages));
    PopulationJson read;
    ASSERT_TRUE(read.read(directory.path("population.json"), 2, 3, messages));
    EXPECT_TRUE(messages.messages.empty());
    for (std::int32_t k = 0; k < 6; ++k) {
        EXPECT_EQ(read.means.dataPointer()[k], written.means.dataPointer()[k]) << k;
        EXPECT_EQ(read.sds.dataPointer()[k], written.sds.dataPointer()[k]) << k;
    }
    EXPECT_EQ(read.correlations.get(0, 2), 1.0 / 3.0);
}

TEST(PopulationJson, DamagedFilesAreRefusedWithWhatIsWrong)
{
    const struct {
        const char* text;
        std::int32_t groups;
        std::int32_t cells;
        const char* message;
    } cases[] = {
        {R"({"means": [[1, 2], [3]], "sds": [[1, 1], [1, 1]], "correlations": [[1, 0], [0, 1]]})",
         2, 2, "\"means\" row 2 does not have 2 numbers"},
        {R"({"means": [[1]], "sds": [[1]]})", 1, 1, "has no \"correlations\""},
        {R"({"means": [[1]], "sds": [["1"]], "correlations": [[1]]})", 1, 1,
         "\"sds\" row 1 holds something other than numbers"},
        {"not json", 1, 1, "is not a JSON object"}};
    const TemporaryDirectory directory;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        RecordingMessageSink messages;
        PopulationJson population;
        EXPECT_FALSE(population.read(directory.write("population.json", c.text), c.groups,
                                     c.cells, messages));
        ASSERT_EQ(messages.messages.size(), 1U);
        EXPECT_NE(messages.messages[0].text.find(c.message), std::string::npos)
            << messages.messages[0].text;
    }
}
