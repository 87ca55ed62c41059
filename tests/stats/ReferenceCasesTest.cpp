// Every field of every effect of the four reference designs, 1e-9 relative; null: sentinel.

#include "design/EffectList.h"
#include "stats/AnalysisIndex.h"
#include "stats/PartialEtaSquared.h"
#include "tests/support/EngineTestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using nlohmann::json;

const std::string CASES_DIR = std::string(TAMSEL_TEST_DATA_DIR) + "/reference-cases/";

// data.txt: a tab-separated header, then one row per participant; design.json: the roles.
DataTable readTable(const std::string& folder)
{
    DataTable table;
    std::ifstream file(CASES_DIR + folder + "/data.txt");
    std::string line;
    std::getline(file, line);
    std::stringstream header(line);
    for (std::string name; std::getline(header, name, '\t');) {
        table.columnNames.push_back(name);
    }
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        table.rows.emplace_back();
        for (double value = 0.0; fields >> value;) {
            table.rows.back().push_back(value);
        }
        EXPECT_EQ(table.rows.back().size(), table.columnNames.size()) << line;
    }
    const json design = json::parse(std::ifstream(CASES_DIR + folder + "/design.json"));
    for (const json& variable : design["within"]) {
        table.withinNames.push_back(variable["name"].get<std::string>());
        table.withinLevels.push_back(variable["levels"].get<int>());
    }
    table.roles = design["roles"].get<std::vector<std::string>>();
    return table;
}

void expectAnalysis(const Anova& engine, const json& analysis, const std::string& effect)
{
    const auto index = analysis["index"].get<int>();
    const std::string where = effect + ", " + analysis["analysis"].get<std::string>();
    ASSERT_EQ(analysis["analysis"].get<std::string>(),
              ANALYSIS_NAMES[static_cast<std::size_t>(index)]);
    const TestResult* rows[] = {&engine.getUnivariateTest(), &engine.getUnivariateTest(),
                                &engine.getPillaiTest(), &engine.getWilksTest(),
                                &engine.getHotellingTest()};
    const TestResult& r = *rows[index];
    std::vector<std::pair<const char*, double>> fields = {
        {"value", r.value}, {"F", r.F}, {"df1", r.df1},
        {"df2", r.df2},     {"p", r.p}, {"noncentrality", r.noncentrality}};
    if (index == AnalysisAnovaGreenhouseGeisser) {
        const UnivariateTest& u = engine.getUnivariateTest();
        fields = {{"value", u.value},    {"F", u.F},   {"df1", u.ggDf1},
                  {"df2", u.ggDf2},      {"p", u.ggP}, {"noncentrality", u.ggNoncentrality},
                  {"epsilon", u.epsilon}};
    }
    for (const auto& [key, actual] : fields) {
        if (analysis[key].is_null()) {
            EXPECT_EQ(actual, -99.0) << where << " " << key;
            continue;
        }
        const auto expected = analysis[key].get<double>();
        const double scale = expected == 0.0 ? 1.0 : std::fabs(expected);
        EXPECT_LE(std::fabs(actual - expected), 1e-9 * scale)
            << where << " " << key << ": " << actual << " vs " << expected;
    }
    EXPECT_EQ(r.exact, analysis["exact"].is_boolean() && analysis["exact"].get<bool>()) << where;
}

/// The appended analyses from the expected values of the first five: the lower bound is the
/// uncorrected test on df/t, Roy equals Hotelling when min(q, t) = 1, and partial η² is
/// F·df1 / (F·df1 + df2) of the expected uncorrected row.
void expectAppendedAnalyses(const Anova& engine, const json& effect, const std::string& name)
{
    const json& uncorrected = effect["analyses"][0];
    const json& hotelling = effect["analyses"][4];
    const double t = effect["t"].get<double>();
    const auto eta = [](const json& row) {
        const double f = row["F"].get<double>() * row["df1"].get<double>();
        return f / (f + row["df2"].get<double>());
    };
    const EpsilonCorrection& lower = engine.getLowerBoundTest();
    EXPECT_NEAR(lower.epsilon, 1.0 / t, 1e-15) << name;
    EXPECT_NEAR(lower.df1, uncorrected["df1"].get<double>() / t, 1e-12) << name;
    EXPECT_NEAR(lower.df2, uncorrected["df2"].get<double>() / t, 1e-12) << name;
    EXPECT_NEAR(partialEtaSquared(engine.getUnivariateTest().F, engine.getUnivariateTest().df1,
                                  engine.getUnivariateTest().df2),
                eta(uncorrected), 1e-9 * eta(uncorrected))
        << name;
    const RoyTest& roy = engine.getRoyTest();
    // F·df1 = θ·df2 for Roy, so η²p = θ/(1 + θ).
    EXPECT_NEAR(partialEtaSquared(roy.F, roy.df1, roy.df2), roy.value / (1.0 + roy.value), 1e-12)
        << name;
    if (effect["q"] != 1 && t != 1.0)
        return;
    EXPECT_TRUE(roy.exact) << name;
    for (const auto& [key, actual] :
         {std::pair{"value", roy.value}, std::pair{"F", roy.F}, std::pair{"df1", roy.df1},
          std::pair{"df2", roy.df2}, std::pair{"p", roy.p}}) {
        const double expected = hotelling[key].get<double>();
        EXPECT_NEAR(actual, expected, 1e-9 * std::fabs(expected)) << name << " Roy " << key;
    }
}

class ReferenceCase : public ::testing::TestWithParam<std::string> {};

} // namespace

TEST_P(ReferenceCase, EveryFieldOfEveryEffect)
{
    const DataTable table = readTable(GetParam());
    const json expected = json::parse(std::ifstream(CASES_DIR + GetParam() + "/expected.json"));
    Analysis a;
    ASSERT_TRUE(a.build(table));
    std::vector<std::string> betweenNames;
    for (std::size_t j = 0; j < table.roles.size(); ++j) {
        if (table.roles[j] == "between") {
            betweenNames.push_back(table.columnNames[j]);
        }
    }
    const GeneralMatrix<int> effects = effectList(a.betweenCount + a.withinCount);
    ASSERT_EQ(expected["effects"].size(), static_cast<std::size_t>(effects.getRows() - 1));
    for (std::int32_t e = 1; e < effects.getRows(); ++e) {
        const json& effect = expected["effects"][static_cast<std::size_t>(e - 1)];
        const std::string name = effectName(effects, e, betweenNames, table.withinNames);
        ASSERT_EQ(name, effect["name"].get<std::string>());
        ASSERT_TRUE(a.runEffect(e)) << name;
        EXPECT_EQ(a.engine.getPillaiTest().q, effect["q"].get<int>()) << name;
        EXPECT_EQ(a.engine.getPillaiTest().t, effect["t"].get<int>()) << name;
        // The expected values cover the first five analyses; the appended ones follow from
        // them.
        ASSERT_EQ(effect["analyses"].size(), static_cast<std::size_t>(AnalysisHotelling + 1));
        for (const json& analysis : effect["analyses"]) {
            expectAnalysis(a.engine, analysis, name);
        }
        expectAppendedAnalyses(a.engine, effect, name);
    }
}

INSTANTIATE_TEST_SUITE_P(Designs, ReferenceCase,
                         ::testing::Values("design1", "design2", "design3", "design4"),
                         [](const ::testing::TestParamInfo<std::string>& caseInfo) {
                             return caseInfo.param;
                         });
