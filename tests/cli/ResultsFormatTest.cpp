// The three output formats of tamsel-cli: csv and json numbers read back to the same
// doubles, the shapes of both, and the text form of the results table.
#include "cli/ResultsFormat.h"

#include "app/ResultsTable.h"
#include "tests/app/UserSession.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

/// Doubles whose shortest decimal forms are long, tiny, huge, or need every digit.
const std::vector<double> AWKWARD = {
    0.1,
    1.0 / 3.0,
    0.30000000000000004,
    std::nextafter(1.0, 2.0),
    2.0 / 3.0 * 1e-300,
    std::numeric_limits<double>::denorm_min(),
    std::numeric_limits<double>::min(),
    std::numeric_limits<double>::max(),
    -0.0,
    123456789012345678.0,
    1e21,
    -7.0,
};

/// One effect whose five analyses carry the given numbers, in turn, in every field.
EffectResults effectWith(const std::string& name, const std::vector<double>& numbers)
{
    EffectResults effect{name, {}};
    std::size_t next = 0;
    const auto take = [&] { return numbers[next++ % numbers.size()]; };
    for (int i = 0; i < ANALYSIS_COUNT; ++i) {
        AnalysisRow& row = effect.analyses[static_cast<std::size_t>(i)];
        row.index = static_cast<AnalysisIndex>(i);
        const bool univariate = i <= AnalysisAnovaGreenhouseGeisser;
        if (!univariate) {
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
    }
    return effect;
}

/// Equal as doubles, and with the same sign, so that -0.0 must come back as -0.0.
void expectSameDouble(double actual, double expected, const std::string& where)
{
    EXPECT_EQ(actual, expected) << where;
    EXPECT_EQ(std::signbit(actual), std::signbit(expected)) << where;
}

void expectJsonNumber(const nlohmann::json& field, std::optional<double> expected,
                      const std::string& where)
{
    if (!expected || !std::isfinite(*expected)) {
        EXPECT_TRUE(field.is_null()) << where << ": " << field.dump();
        return;
    }
    ASSERT_TRUE(field.is_number()) << where << ": " << field.dump();
    expectSameDouble(field.get<double>(), *expected, where);
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line))
        lines.push_back(line);
    return lines;
}

/// The fields of a csv line without quoted fields.
std::vector<std::string> splitCommas(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string::npos)
            return fields;
        start = comma + 1;
    }
}

void expectCsvNumber(const std::string& field, std::optional<double> expected,
                     const std::string& where)
{
    if (!expected || !std::isfinite(*expected)) {
        EXPECT_EQ(field, "") << where;
        return;
    }
    double value = 0.0;
    const auto read = std::from_chars(field.data(), field.data() + field.size(), value);
    ASSERT_EQ(read.ec, std::errc()) << where << ": " << field;
    EXPECT_EQ(read.ptr, field.data() + field.size()) << where << ": " << field;
    expectSameDouble(value, *expected, where);
}

} // namespace

TEST(ResultsFormatJson, NumbersReadBackToTheSameDoubles)
{
    std::vector<EffectResults> effects;
    for (std::size_t shift = 0; shift < AWKWARD.size(); ++shift) {
        std::vector<double> rotated(AWKWARD.begin() + static_cast<long>(shift), AWKWARD.end());
        rotated.insert(rotated.end(), AWKWARD.begin(), AWKWARD.begin() + static_cast<long>(shift));
        effects.push_back(effectWith("effect " + std::to_string(shift), rotated));
    }
    const nlohmann::json parsed = nlohmann::json::parse(formatResultsJson(effects));
    ASSERT_EQ(parsed["effects"].size(), effects.size());
    for (std::size_t e = 0; e < effects.size(); ++e) {
        const nlohmann::json& analyses = parsed["effects"][e]["analyses"];
        ASSERT_EQ(analyses.size(), static_cast<std::size_t>(ANALYSIS_COUNT));
        for (const AnalysisRow& row : effects[e].analyses) {
            const nlohmann::json& field = analyses[static_cast<std::size_t>(row.index)];
            const std::string where = effects[e].name + " analysis " + std::to_string(row.index);
            expectJsonNumber(field["value"], row.value, where + " value");
            expectJsonNumber(field["F"], row.F, where + " F");
            expectJsonNumber(field["df1"], row.df1, where + " df1");
            expectJsonNumber(field["df2"], row.df2, where + " df2");
            expectJsonNumber(field["p"], row.p, where + " p");
            expectJsonNumber(field["noncentrality"], row.noncentrality, where + " noncentrality");
            if (row.epsilon)
                expectJsonNumber(field["epsilon"], row.epsilon, where + " epsilon");
        }
    }
}

TEST(ResultsFormatJson, NonFiniteNumbersAreNull)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<EffectResults> effects{effectWith("x", {nan, inf, -inf, 0.5})};
    const nlohmann::json parsed = nlohmann::json::parse(formatResultsJson(effects));
    const nlohmann::json& uncorrected = parsed["effects"][0]["analyses"][0];
    EXPECT_TRUE(uncorrected["F"].is_null());
    EXPECT_TRUE(uncorrected["df1"].is_null());
    EXPECT_TRUE(uncorrected["df2"].is_null());
    EXPECT_EQ(uncorrected["p"].get<double>(), 0.5);
}

TEST(ResultsFormatJson, EveryAnalysisHasItsFieldsInOrder)
{
    const std::vector<EffectResults> effects{effectWith("group x \"time\"", AWKWARD)};
    const nlohmann::ordered_json parsed =
        nlohmann::ordered_json::parse(formatResultsJson(effects));
    ASSERT_EQ(parsed.size(), 1u);
    const nlohmann::ordered_json& effect = parsed["effects"][0];
    EXPECT_EQ(effect["name"].get<std::string>(), "group x \"time\"");
    const std::vector<std::string> common = {"analysis", "index", "value", "F", "df1", "df2",
                                             "p", "noncentrality", "exact"};
    for (int i = 0; i < ANALYSIS_COUNT; ++i) {
        const nlohmann::ordered_json& analysis = effect["analyses"][static_cast<std::size_t>(i)];
        std::vector<std::string> keys;
        for (const auto& item : analysis.items())
            keys.push_back(item.key());
        std::vector<std::string> expectedKeys = common;
        if (i == AnalysisAnovaGreenhouseGeisser)
            expectedKeys.push_back("epsilon");
        EXPECT_EQ(keys, expectedKeys) << "analysis " << i;
        EXPECT_EQ(analysis["analysis"].get<std::string>(),
                  std::string(ANALYSIS_NAMES[static_cast<std::size_t>(i)]));
        EXPECT_EQ(analysis["index"].get<int>(), i);
        if (i <= AnalysisAnovaGreenhouseGeisser) {
            EXPECT_TRUE(analysis["value"].is_null()) << i;
            EXPECT_TRUE(analysis["exact"].is_null()) << i;
        } else {
            EXPECT_EQ(analysis["exact"].get<bool>(), i != AnalysisWilks) << i;
        }
    }
}

TEST(ResultsFormatJson, InvalidUtf8InANameBecomesAReplacementCharacter)
{
    // A within variable named on a Latin-1 command line: "grün" with ü as the byte 0xFC.
    const std::vector<EffectResults> effects{effectWith("gr\xfcn", {1.0})};
    const nlohmann::json parsed = nlohmann::json::parse(formatResultsJson(effects));
    EXPECT_EQ(parsed["effects"][0]["name"].get<std::string>(), "gr\xef\xbf\xbdn");
}

TEST(ResultsFormatJson, NoEffectsGiveAnEmptyList)
{
    const nlohmann::json parsed = nlohmann::json::parse(formatResultsJson({}));
    EXPECT_EQ(parsed, nlohmann::json::parse(R"({"effects": []})"));
}

TEST(ResultsFormatCsv, NumbersReadBackToTheSameDoubles)
{
    const std::vector<EffectResults> effects{effectWith("time", AWKWARD)};
    const std::vector<std::string> lines = splitLines(formatResultsCsv(effects));
    ASSERT_EQ(lines.size(), 1u + ANALYSIS_COUNT);
    EXPECT_EQ(lines[0], "effect,analysis,value,F,df1,df2,p,noncentrality,exact,epsilon");
    for (const AnalysisRow& row : effects[0].analyses) {
        const std::vector<std::string> fields =
            splitCommas(lines[static_cast<std::size_t>(row.index) + 1]);
        ASSERT_EQ(fields.size(), 10u);
        const std::string where = "analysis " + std::to_string(row.index);
        EXPECT_EQ(fields[0], "time");
        EXPECT_EQ(fields[1], std::string(ANALYSIS_NAMES[static_cast<std::size_t>(row.index)]));
        expectCsvNumber(fields[2], row.value, where + " value");
        expectCsvNumber(fields[3], row.F, where + " F");
        expectCsvNumber(fields[4], row.df1, where + " df1");
        expectCsvNumber(fields[5], row.df2, where + " df2");
        expectCsvNumber(fields[6], row.p, where + " p");
        expectCsvNumber(fields[7], row.noncentrality, where + " noncentrality");
        EXPECT_EQ(fields[8], row.exact ? (*row.exact ? "true" : "false") : "") << where;
        expectCsvNumber(fields[9], row.epsilon, where + " epsilon");
    }
}

TEST(ResultsFormatCsv, NonFiniteNumbersAreEmpty)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::string> lines =
        splitLines(formatResultsCsv({effectWith("x", {0.25, nan, -inf, inf, 2.0})}));
    EXPECT_EQ(lines[1], "x,ANOVA (uncorr.),,0.25,,,,2.0,,");
}

TEST(ResultsFormatCsv, NamesWithCommasOrQuotesAreQuoted)
{
    const std::vector<std::string> lines =
        splitLines(formatResultsCsv({effectWith("dose, \"mg\" x time", {1.5})}));
    EXPECT_EQ(lines[1].substr(0, lines[1].find(",ANOVA")), "\"dose, \"\"mg\"\" x time\"");
}

TEST(RoundTripNumber, IsTheShortestFormWithAPointOrAnExponent)
{
    EXPECT_EQ(roundTripNumber(0.1), "0.1");
    EXPECT_EQ(roundTripNumber(3.0), "3.0");
    EXPECT_EQ(roundTripNumber(-0.0), "-0.0");
    EXPECT_EQ(roundTripNumber(1e21), "1e+21");
    EXPECT_EQ(roundTripNumber(-2.5e-10), "-2.5e-10");
    EXPECT_EQ(roundTripNumber(std::numeric_limits<double>::denorm_min()), "5e-324");
    EXPECT_EQ(roundTripNumber(std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(roundTripNumber(-std::numeric_limits<double>::infinity()), "");
}

TEST(ResultsFormatText, ShowsTheTableTextsInAlignedColumnsWithoutTheTickBoxes)
{
    UserSession session(',');
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    const GeneralGridCtrl& results = session.commands.getResultsTable();
    const std::vector<std::string> lines = splitLines(formatResultsText(results));
    ASSERT_EQ(static_cast<int>(lines.size()), results.getDataRowCount());

    // Every text of columns 0 to 8 appears in its row, in order; the tick-box heading does
    // not appear at all.
    for (int r = 0; r < results.getDataRowCount(); ++r) {
        const std::string& line = lines[static_cast<std::size_t>(r)];
        if (r % ROWS_PER_EFFECT == ROWS_PER_EFFECT - 1) {
            EXPECT_EQ(line, "") << r;
            continue;
        }
        std::size_t position = 0;
        for (int c = 0; c < CHOICE_COLUMN; ++c) {
            const std::string& cell = results.getText(r, c);
            const std::size_t found = line.find(cell, position);
            ASSERT_NE(found, std::string::npos) << "row " << r << " column " << c << ": " << line;
            position = found + cell.size();
        }
        EXPECT_EQ(line.find("choose for simulation"), std::string::npos);
    }
    // Right-aligned numbers: the texts of a number column end where its heading ends.
    const std::size_t pEnd = lines[0].find(" p ") + 2;
    for (int r = 1; r < ROWS_PER_EFFECT - 1; ++r) {
        const std::string& p = results.getText(r, 6);
        EXPECT_EQ(lines[static_cast<std::size_t>(r)].find(p) + p.size(), pEnd) << lines[r];
        EXPECT_NE(p.find(','), std::string::npos) << "the table's separator: " << p;
    }
    // Left-aligned names: every analysis name starts in the same column.
    const std::size_t nameStart = lines[1].find(ANALYSIS_NAMES[0]);
    for (int i = 1; i < ANALYSIS_COUNT; ++i) {
        EXPECT_EQ(lines[static_cast<std::size_t>(i) + 1].find(ANALYSIS_NAMES[static_cast<std::size_t>(i)]),
                  nameStart);
    }
}

TEST(ResultsFormatText, AnEmptyTableGivesNoLines)
{
    GeneralGridCtrl results{DecimalSeparator()};
    EXPECT_EQ(formatResultsText(results), "");
}
