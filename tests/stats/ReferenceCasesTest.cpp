// The four reference designs of tests/data/reference-cases: every field of every effect
// against results computed independently of this project (they agree with an established
// statistics package to about 1e-13). Each design is read like a data table, built through
// the Design, and its effects are enumerated and named as the compute command does.
// Tolerance 1e-9 relative in every field; null marks a field left at its sentinel.

#include "EngineTestSupport.h"
#include "app/design/EffectList.h"
#include "stats/AnalysisIndex.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using nlohmann::json;

const std::string CASES_DIR = std::string(TAMSEL_TEST_DATA_DIR) + "/reference-cases/";

std::vector<std::string> splitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, '\t')) {
        fields.push_back(field);
    }
    return fields;
}

// data.txt: a header row of names, then one row per participant, '.' decimals;
// design.json: the within variables and the role of each column.
bool readTable(const std::string& folder, DataTable& table)
{
    std::ifstream file(CASES_DIR + folder + "/data.txt");
    std::string line;
    if (!std::getline(file, line)) {
        return false;
    }
    table.columnNames = splitTabs(line);
    while (std::getline(file, line)) {
        std::vector<double> row;
        std::istringstream fields(line);
        for (double value = 0.0; fields >> value;) {
            row.push_back(value);
        }
        if (!fields.eof() || row.size() != table.columnNames.size()) {
            return false;
        }
        table.rows.push_back(row);
    }
    std::ifstream designFile(CASES_DIR + folder + "/design.json");
    const json design = json::parse(designFile);
    for (const json& variable : design["within"]) {
        table.withinNames.push_back(variable["name"].get<std::string>());
        table.withinLevels.push_back(variable["levels"].get<int>());
    }
    table.roles = design["roles"].get<std::vector<std::string>>();
    return !table.rows.empty();
}

// Largest relative deviation seen in one design, recorded with the test's XML output.
double largestDeviation = 0.0;

void expectField(const json& analysis, const char* key, double actual, const std::string& where)
{
    const json& expected = analysis[key];
    if (expected.is_null()) {
        EXPECT_EQ(actual, -99.0) << where << " " << key << " should keep its sentinel";
        return;
    }
    const double deviation = relativeDifference(actual, expected.get<double>());
    largestDeviation = std::max(largestDeviation, deviation);
    EXPECT_LE(deviation, 1e-9) << where << " " << key << ": " << actual << " vs "
                               << expected.get<double>();
}

const TestResult& resultOf(const Anova& engine, int index)
{
    switch (index) {
    case AnalysisPillai:
        return engine.getPillaiTest();
    case AnalysisWilks:
        return engine.getWilksTest();
    case AnalysisHotelling:
        return engine.getHotellingTest();
    default:
        return engine.getUnivariateTest();
    }
}

void expectAnalysis(const Anova& engine, const json& analysis, const std::string& effect)
{
    const auto index = analysis["index"].get<int>();
    const std::string where = effect + ", " + analysis["analysis"].get<std::string>();
    ASSERT_EQ(analysis["analysis"].get<std::string>(),
              ANALYSIS_NAMES[static_cast<std::size_t>(index)]);
    const TestResult& r = resultOf(engine, index);
    std::vector<std::pair<const char*, double>> fields = {
        {"value", r.value}, {"F", r.F}, {"df1", r.df1}, {"df2", r.df2}, {"p", r.p},
        {"noncentrality", r.noncentrality}};
    if (index == AnalysisAnovaGreenhouseGeisser) {
        const UnivariateTest& u = engine.getUnivariateTest();
        fields = {{"value", u.value}, {"F", u.F}, {"df1", u.ggDf1}, {"df2", u.ggDf2},
                  {"p", u.ggP}, {"noncentrality", u.ggNoncentrality}, {"epsilon", u.epsilon}};
    }
    for (const auto& [key, value] : fields) {
        expectField(analysis, key, value, where);
    }
    if (analysis["exact"].is_null()) {
        EXPECT_FALSE(r.exact) << where << " exact should keep its sentinel";
    } else {
        EXPECT_EQ(r.exact, analysis["exact"].get<bool>()) << where;
    }
}

class ReferenceCase : public ::testing::TestWithParam<std::string> {};

} // namespace

TEST_P(ReferenceCase, EveryFieldOfEveryEffect)
{
    DataTable table;
    ASSERT_TRUE(readTable(GetParam(), table));
    std::ifstream expectedFile(CASES_DIR + GetParam() + "/expected.json");
    const json expected = json::parse(expectedFile);
    Analysis a;
    ASSERT_TRUE(a.build(table));

    std::vector<std::string> betweenNames;
    for (std::size_t j = 0; j < table.roles.size(); ++j) {
        if (table.roles[j] == "between") {
            betweenNames.push_back(table.columnNames[j]);
        }
    }
    const GeneralMatrix<int> effects = effectList(a.betweenCount + a.withinCount);
    const json& expectedEffects = expected["effects"];
    ASSERT_EQ(expectedEffects.size(), static_cast<std::size_t>(effects.getRows() - 1));

    largestDeviation = 0.0;
    for (std::int32_t e = 1; e < effects.getRows(); ++e) {
        const json& effect = expectedEffects[static_cast<std::size_t>(e - 1)];
        const std::string name = effectName(effects, e, betweenNames, table.withinNames);
        ASSERT_EQ(name, effect["name"].get<std::string>());
        a.engine.setEffectName(name);
        ASSERT_TRUE(a.runEffect(e)) << name;
        EXPECT_EQ(a.engine.effectName(), name);
        EXPECT_EQ(a.engine.getPillaiTest().q, effect["q"].get<int>()) << name;
        EXPECT_EQ(a.engine.getPillaiTest().t, effect["t"].get<int>()) << name;
        const json& analyses = effect["analyses"];
        ASSERT_EQ(analyses.size(), static_cast<std::size_t>(ANALYSIS_COUNT));
        for (const json& analysis : analyses) {
            expectAnalysis(a.engine, analysis, name);
        }
    }
    std::ostringstream deviation;
    deviation << std::scientific << largestDeviation;
    RecordProperty("largestRelativeDeviation", deviation.str());
}

INSTANTIATE_TEST_SUITE_P(Designs, ReferenceCase,
                         ::testing::Values("design1", "design2", "design3", "design4"),
                         [](const ::testing::TestParamInfo<std::string>& caseInfo) {
                             return caseInfo.param;
                         });
