// tamsel-cli compute --format json on the reference designs of tests/data/reference-cases
// against their expected values, computed independently of this project (see the README
// there), at 1e-9 relative: through --import, through a project file that --save wrote,
// and through --import with a decimal comma.
#include "tests/files/TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <sys/wait.h>

namespace {

using nlohmann::json;

const std::string CASES_DIR = std::string(TAMSEL_TEST_DATA_DIR) + "/reference-cases/";

struct CommandRun {
    int status = -1;
    std::string output;
};

/// Runs tamsel-cli compute with the arguments through the shell, standard error left to
/// the test's.
CommandRun compute(const std::string& arguments)
{
    CommandRun run;
    FILE* pipe = ::popen((std::string(TAMSEL_CLI) + " compute " + arguments).c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, read);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
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

void expectClose(const json& actual, const json& expected, const std::string& where)
{
    if (expected.is_null()) {
        EXPECT_TRUE(actual.is_null()) << where << ": " << actual.dump();
        return;
    }
    ASSERT_TRUE(actual.is_number()) << where << ": " << actual.dump();
    const double a = actual.get<double>();
    const double e = expected.get<double>();
    EXPECT_LE(std::abs(a - e), 1e-9 * std::abs(e)) << where << ": " << a << " vs " << e;
}

std::set<std::string> keysOf(const json& object)
{
    std::set<std::string> keys;
    for (const auto& item : object.items())
        keys.insert(item.key());
    return keys;
}

/// Every effect, in order, with every field of its five analyses.
void expectReferenceResults(const CommandRun& run, const std::string& folder)
{
    ASSERT_EQ(run.status, 0);
    const json actual = json::parse(run.output);
    const json expected = readJson(CASES_DIR + folder + "/expected.json")["effects"];
    ASSERT_EQ(actual["effects"].size(), expected.size());
    for (std::size_t e = 0; e < expected.size(); ++e) {
        const json& actualEffect = actual["effects"][e];
        const std::string name = expected[e]["name"].get<std::string>();
        EXPECT_EQ(actualEffect["name"].get<std::string>(), name);
        ASSERT_EQ(actualEffect["analyses"].size(), expected[e]["analyses"].size());
        for (std::size_t a = 0; a < expected[e]["analyses"].size(); ++a) {
            const json& want = expected[e]["analyses"][a];
            const json& got = actualEffect["analyses"][a];
            const std::string where = name + ", " + want["analysis"].get<std::string>();
            EXPECT_EQ(keysOf(got), keysOf(want)) << where;
            EXPECT_EQ(got["analysis"], want["analysis"]) << where;
            EXPECT_EQ(got["index"], want["index"]) << where;
            EXPECT_EQ(got["exact"], want["exact"]) << where;
            for (const char* field : {"value", "F", "df1", "df2", "p", "noncentrality"})
                expectClose(got[field], want[field], where + ", " + field);
            if (want.contains("epsilon"))
                expectClose(got["epsilon"], want["epsilon"], where + ", epsilon");
        }
    }
}

class ReferenceDesigns : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(ReferenceDesigns, ImportedSavedAndDecimalCommaDataGiveTheExpectedValues)
{
    const std::string folder = GetParam();
    const std::string data = CASES_DIR + folder + "/data.txt";
    const std::string design = designOptions(folder);
    const TemporaryDirectory directory;
    {
        SCOPED_TRACE("imported text file");
        expectReferenceResults(compute("--import " + shellQuoted(data) + design + " --format json"),
                               folder);
    }
    {
        SCOPED_TRACE("project written by --save");
        const std::string project = shellQuoted(directory.path("design.vlt"));
        const std::string save = "--import " + shellQuoted(data) + design + " --save " + project;
        ASSERT_EQ(compute(save).status, 0);
        expectReferenceResults(compute(project + " --format json"), folder);
    }
    {
        SCOPED_TRACE("decimal comma");
        std::ifstream original(data);
        std::string text((std::istreambuf_iterator<char>(original)),
                         std::istreambuf_iterator<char>());
        std::replace(text.begin(), text.end(), '.', ',');
        const std::string commaData = shellQuoted(directory.write("data.txt", text));
        expectReferenceResults(
            compute("--import " + commaData + design + " --decimal-separator , --format json"),
            folder);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ReferenceDesigns,
                         ::testing::Values("design1", "design2", "design3", "design4"),
                         [](const ::testing::TestParamInfo<const char*>& test) {
                             return std::string(test.param);
                         });
