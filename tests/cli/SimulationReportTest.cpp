// The figures of the simulate report and a damaged population file.
#include "cli/SimulationReport.h"
#include "cli/PopulationJson.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

TEST(SimulationReport, WilsonBoundsAreTheScoreTestsRootsAlsoAtTheEnds)
{
    // The bounds q solve (p - q)² = z² q (1 - q) / n.
    constexpr double Z = 1.959963984540054;
    for (const int significant : {0, 37, 400}) {
        SimulationReport report;
        report.actualPasses = 400;
        report.significant = significant;
        report.probability = significant / 400.0;
        const double p = report.probability;
        const ProportionEstimate estimate = report.probabilityEstimate();
        EXPECT_EQ(estimate.value, p);
        EXPECT_NEAR(report.standardError(), std::sqrt(p * (1.0 - p) / 400.0), 1e-15);
        for (const double q : {estimate.low, estimate.high})
            EXPECT_NEAR((p - q) * (p - q), Z * Z * q * (1.0 - q) / 400.0, 1e-14) << q;
        EXPECT_LT(estimate.low, estimate.high);
        EXPECT_EQ(estimate.low == 0.0, significant == 0);
        EXPECT_EQ(estimate.high == 1.0, significant == 400);
    }
}

TEST(PopulationJson, DamagedFilesAreRefusedWithWhatIsWrong)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {{R"({"means": [[1], [3, 4]], "sds": [[1], [1]], "correlations": [[1]]})",
                  "\"means\" row 2 does not have 1 numbers"},
                 {R"({"means": [[1], [3]], "sds": [[1], [1]]})", "has no \"correlations\""},
                 {R"({"means": [[1], [3]], "sds": [[1], ["1"]], "correlations": [[1]]})",
                  "\"sds\" row 2 holds something other than numbers"},
                 {"not json", "is not a JSON object"}};
    const TemporaryDirectory directory;
    for (const auto& c : cases) {
        RecordingMessageSink messages;
        PopulationJson population;
        EXPECT_FALSE(population.read(directory.write("population.json", c.text), 2, 1, messages));
        ASSERT_EQ(messages.messages.size(), 1U) << c.text;
        EXPECT_NE(messages.messages[0].text.find(c.message), std::string::npos)
            << messages.messages[0].text;
    }
}
