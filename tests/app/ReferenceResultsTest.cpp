// The results table of the reference designs in tests/data/reference-cases, typed into the
// tables as a user would, against the expected values computed independently of this
// project (see the README there).
#include "UserSession.h"

#include "app/ResultsTable.h"
#include "numeric/NumberText.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstddef>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

namespace {

using nlohmann::json;

const std::string CASES_DIR = std::string(TAMSEL_TEST_DATA_DIR) + "/reference-cases/";

Texts splitTabs(const std::string& line)
{
    Texts fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, '\t'))
        fields.push_back(field);
    return fields;
}

/// data.txt: names, then one row per participant; design.json: within variables, roles.
void typeReferenceDesign(UserSession& session, const std::string& folder)
{
    std::ifstream designFile(CASES_DIR + folder + "/design.json");
    const json design = json::parse(designFile);
    int row = 0;
    for (const json& variable : design["within"]) {
        session.typeWithinVariable(row++, variable["name"].get<std::string>(),
                                   std::to_string(variable["levels"].get<int>()));
    }
    std::ifstream dataFile(CASES_DIR + folder + "/data.txt");
    std::string line;
    ASSERT_TRUE(std::getline(dataFile, line));
    const Texts names = splitTabs(line);
    std::vector<Texts> columns(names.size());
    while (std::getline(dataFile, line)) {
        const Texts fields = splitTabs(line);
        ASSERT_EQ(fields.size(), names.size());
        for (std::size_t c = 0; c < fields.size(); ++c)
            columns[c].push_back(fields[c]);
    }
    const Texts roles = design["roles"].get<Texts>();
    ASSERT_EQ(roles.size(), names.size());
    for (std::size_t c = 0; c < names.size(); ++c)
        session.typeColumn(static_cast<int>(c), roles[c], names[c], columns[c]);
}

void expectNumber(const UserSession& session, const std::string& text, const json& expected,
                  const std::string& where)
{
    if (expected.is_null()) {
        EXPECT_EQ(text, "-") << where;
        return;
    }
    const DecimalSeparator separator(session.separator);
    const double value = parseNumber(text, separator);
    EXPECT_EQ(text, formatNumber(value, "%.4f", separator)) << where << ": written with %.4f";
    // Half a unit of the fourth decimal, the most that writing "%.4f" may move a value,
    // plus the tolerance of the expected values (1e-9 relative).
    const double reference = expected.get<double>();
    EXPECT_NEAR(value, reference, 0.50001e-4 + 1e-9 * std::abs(reference)) << where;
}

using Case = std::pair<const char*, char>;

class ReferenceResults : public ::testing::TestWithParam<Case> {};

std::string caseName(const ::testing::TestParamInfo<Case>& test)
{
    const char separator = test.param.second;
    const char* name = separator == ',' ? "Comma" : separator == '.' ? "Point" : "Blank";
    return std::string(test.param.first) + name;
}

} // namespace

TEST_P(ReferenceResults, EveryBlockShowsTheExpectedValues)
{
    const auto [folder, separator] = GetParam();
    UserSession session(separator);
    ASSERT_NO_FATAL_FAILURE(typeReferenceDesign(session, folder));
    ASSERT_TRUE(session.commands.computeStatistics());
    EXPECT_TRUE(session.sink.messages.empty());

    std::ifstream expectedFile(CASES_DIR + folder + "/expected.json");
    const json effects = json::parse(expectedFile)["effects"];
    const GeneralGridCtrl& results = session.commands.getResultsTable();
    ASSERT_EQ(results.getDataRowCount(), ROWS_PER_EFFECT * static_cast<int>(effects.size()));
    int r = 0;
    for (const json& effect : effects) {
        const std::string name = effect["name"].get<std::string>();
        EXPECT_EQ(results.getText(r, 0), name);
        for (const json& analysis : effect["analyses"]) {
            const Texts row = session.resultsRow(r + 1 + analysis["index"].get<int>());
            const std::string where = name + ", " + analysis["analysis"].get<std::string>();
            EXPECT_EQ(row[1], analysis["analysis"].get<std::string>()) << where;
            expectNumber(session, row[2], analysis["value"], where + ", value");
            expectNumber(session, row[3], analysis["F"], where + ", F");
            expectNumber(session, row[4], analysis["df1"], where + ", df1");
            expectNumber(session, row[5], analysis["df2"], where + ", df2");
            expectNumber(session, row[6], analysis["p"], where + ", p");
            expectNumber(session, row[7], analysis["noncentrality"], where + ", noncentrality");
            const json& exact = analysis["exact"];
            EXPECT_EQ(row[8], exact.is_null() ? "-" : exact.get<bool>() ? "yes" : "no") << where;
        }
        r += ROWS_PER_EFFECT;
    }
}

INSTANTIATE_TEST_SUITE_P(Designs, ReferenceResults,
                         ::testing::Values(std::pair{"design1", '.'}, std::pair{"design2", ','},
                                           std::pair{"design3", ' '}, std::pair{"design4", ','}),
                         caseName);
