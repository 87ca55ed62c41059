// The csv and json output of tamsel-cli: numbers that read back to the same doubles, keys
// and columns in order, infinities written as such, analyses that are not available, and
// escaped names.
#include "cli/ResultsFormat.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double INF = std::numeric_limits<double>::infinity();

/// One effect whose analyses take the numbers in turn.
EffectResults effectWith(const std::string& name, const std::vector<double>& numbers)
{
    EffectResults effect{name, {}, std::nullopt};
    std::size_t next = 0;
    const auto take = [&] { return numbers[next++ % numbers.size()]; };
    for (int i = 0; i < ANALYSIS_COUNT; ++i) {
        AnalysisRow& row = effect.analyses[static_cast<std::size_t>(i)];
        row.index = static_cast<AnalysisIndex>(i);
        if (i > AnalysisAnovaGreenhouseGeisser) {
            row.value = take();
            row.exact = i != AnalysisWilks;
        }
        row.F = take();
        row.df1 = take();
        row.df2 = take();
        row.p = take();
        row.noncentrality = take();
        if (i == AnalysisAnovaGreenhouseGeisser)
            row.epsilon = take();
        row.partialEtaSquared = take();
    }
    return effect;
}

} // namespace

TEST(RoundTripNumber, ReadsBackToTheSameDoubleAndSignOrNamesTheInfinity)
{
    for (const double number :
         {0.1, 1.0 / 3.0, std::nextafter(1.0, 2.0), 2.0 / 3.0 * 1e-300,
          std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max(), -0.0,
          123456789012345678.0, 1e21, -7.0}) {
        const std::string text = roundTripNumber(number);
        double read = NaN;
        const auto end = std::from_chars(text.data(), text.data() + text.size(), read).ptr;
        EXPECT_EQ(end, text.data() + text.size()) << text;
        EXPECT_EQ(read, number) << text;
        EXPECT_EQ(std::signbit(read), std::signbit(number)) << text;
    }
    EXPECT_EQ(roundTripNumber(3.0), "3.0");
    EXPECT_EQ(roundTripNumber(NaN), "");
    EXPECT_EQ(roundTripNumber(-INF), "-inf");
    EXPECT_EQ(roundTripNumber(INF), "inf");
}

TEST(ResultsFormatJson, InfinitiesAsStringsAndInvalidUtf8Replaced)
{
    // A within variable named on a Latin-1 command line: "grün" with ü as the byte 0xFC.
    const auto parsed = nlohmann::json::parse(
        formatResultsJson({effectWith("gr\xfcn", {NaN, 0.5, INF, -INF})}, {}));
    EXPECT_EQ(parsed["effects"][0]["name"], "gr\xef\xbf\xbdn");
    const auto& analyses = parsed["effects"][0]["analyses"];
    EXPECT_EQ(analyses[0]["F"], nullptr);
    EXPECT_EQ(analyses[0]["df1"], 0.5);
    EXPECT_EQ(analyses[0]["df2"], "inf");
    EXPECT_EQ(analyses[0]["p"], "-inf");
    EXPECT_EQ(analyses[static_cast<std::size_t>(AnalysisWilks)]["exact"], false);
}

// Each key holds its own field: effectWith hands out 1, 2, 3, ... field by field.
TEST(ResultsFormatJson, EachKeyHoldsItsOwnFieldInOrder)
{
    using Json = nlohmann::ordered_json; // compares the keys' order too
    const auto greenhouseGeisser = Json::parse(
        R"json({"analysis": "ANOVA (Greenhouse-Geisser)", "index": 1, "value": null, "F": 7.0,
            "df1": 8.0, "df2": 9.0, "p": 10.0, "noncentrality": 11.0, "exact": null,
            "epsilon": 12.0, "partialEtaSquared": 13.0})json");
    const auto pillai = Json::parse(
        R"json({"analysis": "MANOVA (Pillai)", "index": 2, "value": 14.0, "F": 15.0, "df1": 16.0,
            "df2": 17.0, "p": 18.0, "noncentrality": 19.0, "exact": true,
            "partialEtaSquared": 20.0})json");
    std::vector<double> numbers(30);
    std::iota(numbers.begin(), numbers.end(), 1.0);
    const auto analyses =
        Json::parse(formatResultsJson({effectWith("time", numbers)}, {}))["effects"][0]["analyses"];
    EXPECT_EQ(analyses[1], greenhouseGeisser);
    EXPECT_EQ(analyses[2], pillai);
}

// Not available: "available": false and the reason after "index", every number and the
// exactness null (json); "-" in every field the analysis has (csv).
TEST(ResultsFormat, AnalysisNotAvailableHasNoNumbers)
{
    EffectResults effect = effectWith("time", {0.5, 2.0});
    for (AnalysisRow& row : effect.analyses)
        row.availability = Availability::SingularErrorMatrix;
    const auto parsed = nlohmann::ordered_json::parse(formatResultsJson({effect}, {}));
    EXPECT_EQ(parsed["effects"][0]["analyses"][static_cast<std::size_t>(AnalysisPillai)],
              nlohmann::ordered_json::parse(
                  R"json({"analysis": "MANOVA (Pillai)", "index": 2, "available": false,
                      "reason": "The error matrix is singular.", "value": null, "F": null,
                      "df1": null, "df2": null, "p": null, "noncentrality": null, "exact": null,
                      "partialEtaSquared": null})json"));
    const std::string csv = formatResultsCsv({effect});
    EXPECT_NE(csv.find("\ntime,ANOVA (uncorr.),,-,-,-,-,-,,,-,\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\ntime,ANOVA (Greenhouse-Geisser),,-,-,-,-,-,,-,-,\n"), std::string::npos);
    EXPECT_NE(csv.find("\ntime,MANOVA (Wilks),-,-,-,-,-,-,-,,-,\n"), std::string::npos);
}

TEST(ResultsFormatCsv, HeaderQuotedNamesEmptyNaNAndNamedInfinities)
{
    const std::string csv =
        formatResultsCsv({effectWith("dose, \"mg\" x time", {0.25, NaN, -INF, INF, 2.0})});
    EXPECT_EQ(csv.substr(0, csv.find('\n', csv.find('\n') + 1)),
              "effect,analysis,value,F,df1,df2,p,noncentrality,exact,epsilon,partialEtaSquared,"
              "chiSquare\n"
              "\"dose, \"\"mg\"\" x time\",ANOVA (uncorr.),,0.25,,-inf,inf,2.0,,,0.25,");
}

// Sphericity: an object, null for t < 2 and when it could not be formed (json); one line per
// effect with W, df, p and chi-square in their columns, empty or "-" (csv). Cells in order,
// a missing SD null.
TEST(ResultsFormat, SphericityAndCells)
{
    EffectResults formed = effectWith("task", {0.5});
    formed.sphericity = SphericityResult{true, 0.75, 3.5, 2.0, 0.125};
    EffectResults notFormed = effectWith("time x task", {0.5});
    notFormed.sphericity = SphericityResult{false, NaN, NaN, NaN, NaN};
    const std::vector<EffectResults> effects{formed, notFormed, effectWith("time", {0.5})};
    const std::vector<CellStatistics> cells{{{1}, "1, 2", 3, 4.5, 0.25},
                                            {{2}, "2, 1", 1, 6.0, NaN}};
    const auto parsed = nlohmann::ordered_json::parse(formatResultsJson(effects, cells));
    EXPECT_EQ(
        parsed["effects"][0]["sphericity"],
        nlohmann::ordered_json::parse(R"({"W": 0.75, "chiSquare": 3.5, "df": 2.0, "p": 0.125})"));
    EXPECT_EQ(parsed["effects"][1]["sphericity"], nullptr);
    EXPECT_EQ(parsed["effects"][2]["sphericity"], nullptr);
    EXPECT_EQ(parsed["cells"],
              nlohmann::ordered_json::parse(
                  R"([{"group": [1], "combination": "1, 2", "n": 3, "mean": 4.5, "sd": 0.25},
                                       {"group": [2], "combination": "2, 1", "n": 1, "mean": 6.0, "sd": null}])"));
    const std::string csv = formatResultsCsv(effects);
    EXPECT_NE(csv.find("\ntask,Mauchly's test of sphericity,0.75,,2.0,,0.125,,,,,3.5\n"),
              std::string::npos)
        << csv;
    EXPECT_NE(csv.find("\ntime x task,Mauchly's test of sphericity,-,,-,,-,,,,,-\n"),
              std::string::npos);
    EXPECT_NE(csv.find("\ntime,Mauchly's test of sphericity,,,,,,,,,,\n"), std::string::npos);
}
