// tamsel-cli compute --format json on the reference designs of tests/data/reference-cases
// against their expected values, computed independently of this project (see the README
// there), at 1e-9 relative: through --import, through --import with a decimal comma, and
// through a project file that --save wrote.
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

/// Runs the command line through the shell, standard error left to the test's.
CommandRun runCommand(const std::string& commandLine)
{
    CommandRun run;
    FILE* pipe = ::popen(commandLine.c_str(), "r");
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
    for (const json& role : design["roles"]) {
        if (!roles.empty())
            roles += ';';
        roles += role.get<std::string>();
    }
    return options + " --roles " + shellQuoted(roles);
}

std::string compute(const std::string& arguments)
{
    return std::string(TAMSEL_CLI) + " compute " + arguments;
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
void expectReferenceResults(const std::string& output, const std::string& folder)
{
    const json actual = json::parse(output);
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

TEST_P(ReferenceDesigns, ImportedTextFileGivesTheExpectedValues)
{
    const std::string folder = GetParam();
    const CommandRun run = runCommand(compute("--import " + shellQuoted(CASES_DIR + folder + "/data.txt") +
                                       designOptions(folder) + " --format json"));
    ASSERT_EQ(run.status, 0);
    expectReferenceResults(run.output, folder);
}

TEST_P(ReferenceDesigns, DecimalCommaDataGiveTheExpectedValues)
{
    const std::string folder = GetParam();
    std::ifstream original(CASES_DIR + folder + "/data.txt");
    std::string text((std::istreambuf_iterator<char>(original)), std::istreambuf_iterator<char>());
    std::replace(text.begin(), text.end(), '.', ',');
    const TemporaryDirectory directory;
    const std::string data = directory.write("data.txt", text);
    const CommandRun run = runCommand(compute("--import " + shellQuoted(data) + designOptions(folder) +
                                       " --decimal-separator , --format json"));
    ASSERT_EQ(run.status, 0);
    expectReferenceResults(run.output, folder);
}

TEST_P(ReferenceDesigns, SavedProjectGivesTheExpectedValues)
{
    const std::string folder = GetParam();
    const TemporaryDirectory directory;
    const std::string project = directory.path("design.vlt");
    const CommandRun saving = runCommand(compute("--import " + shellQuoted(CASES_DIR + folder + "/data.txt") +
                                          designOptions(folder) + " --save " + shellQuoted(project)));
    ASSERT_EQ(saving.status, 0);
    const CommandRun run = runCommand(compute(shellQuoted(project) + " --format json"));
    ASSERT_EQ(run.status, 0);
    expectReferenceResults(run.output, folder);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReferenceDesigns,
                         ::testing::Values("design1", "design2", "design3", "design4"),
                         [](const ::testing::TestParamInfo<const char*>& test) {
                             return std::string(test.param);
                         });
