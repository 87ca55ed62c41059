// The reference designs in tests/fixtures/reference-cases, typed as a user would, against
// values computed independently of this project.
#include "tests/support/UserSession.h"

#include "app/ResultsTable.h"
#include "numeric/NumberText.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>

namespace {

using nlohmann::json;

const std::string CASES_DIR = std::string(TAMSEL_TEST_DATA_DIR) + "/reference-cases/";

/// design.json: within variables and column roles; data.txt: names, then the participants.
void typeReferenceDesign(UserSession& session, const std::string& folder)
{
    std::ifstream designFile(CASES_DIR + folder + "/design.json");
    const json design = json::parse(designFile);
    int row = 0;
    for (const json& variable : design["within"])
        session.typeWithinVariable(row++, variable["name"].get<std::string>(),
                                   std::to_string(variable["levels"].get<int>()));
    std::ifstream dataFile(CASES_DIR + folder + "/data.txt");
    std::string line;
    std::getline(dataFile, line);
    std::istringstream header(line);
    const Texts names{std::istream_iterator<std::string>(header), {}};
    std::vector<Texts> columns(names.size());
    std::size_t count = 0;
    for (std::string value; dataFile >> value; ++count)
        columns[count % names.size()].push_back(value);
    const Texts roles = design["roles"].get<Texts>();
    ASSERT_EQ(roles.size(), names.size());
    for (std::size_t c = 0; c < names.size(); ++c)
        session.typeColumn(static_cast<int>(c), roles[c], names[c], columns[c]);
}

class ReferenceResults : public ::testing::TestWithParam<std::pair<const char*, char>> {};

} // namespace

TEST_P(ReferenceResults, EveryBlockShowsTheExpectedValues)
{
    const auto [folder, separator] = GetParam();
    UserSession session(separator);
    ASSERT_NO_FATAL_FAILURE(typeReferenceDesign(session, folder));
    ASSERT_TRUE(session.commands.computeStatistics());
    std::ifstream expectedFile(CASES_DIR + folder + "/expected.json");
    const json effects = json::parse(expectedFile)["effects"];
    const GeneralGridCtrl& results = session.commands.getResultsTable();
    ASSERT_EQ(results.getDataRowCount(), ROWS_PER_EFFECT * static_cast<int>(effects.size()));
    const char* fields[] = {"value", "F", "df1", "df2", "p", "noncentrality"};
    int r = 0;
    for (const json& effect : effects) {
        EXPECT_EQ(results.getText(r, 0), effect["name"].get<std::string>());
        for (const json& analysis : effect["analyses"]) {
            const Texts row = session.resultsRow(r + 1 + analysis["index"].get<int>());
            const std::string name = analysis["analysis"].get<std::string>();
            EXPECT_EQ(row[1], name);
            for (std::size_t f = 0; f < 6; ++f) {
                // Partial η² stands between p and the noncentrality.
                const std::size_t column = f < 5 ? 2 + f : 8;
                SCOPED_TRACE(effect["name"].get<std::string>() + ", " + name + ", " + fields[f]);
                const json& expected = analysis[fields[f]];
                if (expected.is_null()) {
                    EXPECT_EQ(row[column], "-");
                    continue;
                }
                const double value = parseNumber(row[column], DecimalSeparator(separator));
                EXPECT_EQ(row[column], formatNumber(value, "%.4f", DecimalSeparator(separator)));
                // Half a unit of the fourth decimal plus the expected values' tolerance.
                const double reference = expected.get<double>();
                EXPECT_NEAR(value, reference, 0.50001e-4 + 1e-9 * std::abs(reference));
            }
            // Partial η² from the expected F with the uncorrected df, which the
            // Greenhouse-Geisser row takes from the uncorrected one.
            const json& dfs = analysis["index"] == 1 ? effect["analyses"][0] : analysis;
            const double effectSize = analysis["F"].get<double>() * dfs["df1"].get<double>();
            EXPECT_NEAR(parseNumber(row[7], DecimalSeparator(separator)),
                        effectSize / (effectSize + dfs["df2"].get<double>()), 0.50001e-4)
                << name;
            const json& exact = analysis["exact"];
            EXPECT_EQ(row[9], exact.is_null() ? "-" : exact.get<bool>() ? "yes" : "no") << name;
        }
        r += ROWS_PER_EFFECT;
    }
}

INSTANTIATE_TEST_SUITE_P(Designs, ReferenceResults,
                         ::testing::Values(std::pair{"design1", '.'}, std::pair{"design2", ','},
                                           std::pair{"design3", ' '}, std::pair{"design4", ','}),
                         [](const auto& test) { return std::string(test.param.first); });
