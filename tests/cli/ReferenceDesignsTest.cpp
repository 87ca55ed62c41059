// tamsel-cli compute --format json on the reference designs, imported, against their
// independently computed values. (--save and a decimal comma are scenarios of their own.)
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace {

using nlohmann::json;

const std::string CASES_DIR = std::string(TAMSEL_TEST_DATA_DIR) + "/reference-cases/";

/// The json output of tamsel-cli compute, or "" when it does not exit with 0.
std::string compute(const std::string& arguments)
{
    const std::string command = std::string(TAMSEL_CLI) + " compute --format json " + arguments;
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, read);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? output : "";
}

std::string shellQuoted(const std::string& text)
{
    std::string result = "'";
    for (char c : text)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

json readJson(const std::string& path)
{
    std::ifstream file(path);
    return json::parse(file);
}

/// --within and --roles of the folder's design.json.
std::string designOptions(const std::string& folder)
{
    const json design = readJson(CASES_DIR + folder + "/design.json");
    std::string options;
    for (const json& variable : design["within"]) {
        options += " --within " + shellQuoted(variable["name"].get<std::string>() + "=" +
                                              std::to_string(variable["levels"].get<int>()));
    }
    std::string roles;
    for (const json& role : design["roles"])
        roles += (roles.empty() ? "" : ";") + role.get<std::string>();
    return options + " --roles " + shellQuoted(roles);
}

/// Every effect with the expected analyses first, each with exactly the expected keys and
/// partial η², F·df1 / (F·df1 + df2) of the expected numbers (the uncorrected df on the
/// univariate rows), then the three appended analyses; numbers within 1e-9 relative.
void expectReferenceResults(const std::string& output, const std::string& folder)
{
    const json actual = json::parse(output)["effects"];
    const json expected = readJson(CASES_DIR + folder + "/expected.json")["effects"];
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t e = 0; e < expected.size(); ++e) {
        EXPECT_EQ(actual[e]["name"], expected[e]["name"]);
        ASSERT_EQ(actual[e]["analyses"].size(), expected[e]["analyses"].size() + 3);
        for (std::size_t a = 0; a < expected[e]["analyses"].size(); ++a) {
            const json& want = expected[e]["analyses"][a];
            const json& got = actual[e]["analyses"][a];
            EXPECT_EQ(got.size(), want.size() + 1) << want;
            for (const auto& [key, value] : want.items()) {
                ASSERT_TRUE(got.contains(key)) << want << " " << key;
                if (value.is_number() && got[key].is_number()) {
                    const double r = value.get<double>();
                    EXPECT_LE(std::abs(got[key].get<double>() - r), 1e-9 * std::abs(r))
                        << want << " " << key << ": " << got[key];
                } else {
                    EXPECT_EQ(got[key], value) << want << " " << key;
                }
            }
            const json& dfs = want["index"] == 1 ? expected[e]["analyses"][0] : want;
            const double effect = want["F"].get<double>() * dfs["df1"].get<double>();
            const double eta = effect / (effect + dfs["df2"].get<double>());
            EXPECT_NEAR(got["partialEtaSquared"].get<double>(), eta, 1e-9 * eta) << want;
        }
    }
}

class ReferenceDesigns : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(ReferenceDesigns, ImportedDataGiveTheExpectedValues)
{
    const std::string folder = GetParam();
    expectReferenceResults(compute("--import " + shellQuoted(CASES_DIR + folder + "/data.txt") +
                                   designOptions(folder)),
                           folder);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReferenceDesigns,
                         ::testing::Values("design1", "design2", "design3", "design4"),
                         [](const ::testing::TestParamInfo<const char*>& test) {
                             return std::string(test.param);
                         });
