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

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double INF = std::numeric_limits<double>::infinity();

/// One effect whose five analyses carry the given numbers, in turn, in every field.
EffectResults effectWith(const std::string& name, const std::vector<double>& numbers)
{
    EffectResults effect{name, {}};
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
    }
    return effect;
}

/// One effect per rotation of numbers whose shortest decimal forms are long, tiny, huge or
/// need every digit, and of the non-finite ones, which have no number to write: every
/// number appears in every field.
std::vector<EffectResults> everyNumberInEveryField()
{
    const std::vector<double> awkward = {
        0.1, 1.0 / 3.0, 0.30000000000000004, std::nextafter(1.0, 2.0), 2.0 / 3.0 * 1e-300,
        std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
        std::numeric_limits<double>::max(), -0.0, 123456789012345678.0, 1e21, -7.0, NaN, INF,
        -INF};
    std::vector<EffectResults> effects;
    for (std::size_t shift = 0; shift < awkward.size(); ++shift) {
        std::vector<double> rotated(awkward.begin() + static_cast<long>(shift), awkward.end());
        rotated.insert(rotated.end(), awkward.begin(), awkward.begin() + static_cast<long>(shift));
        effects.push_back(effectWith("effect " + std::to_string(shift), rotated));
    }
    return effects;
}

/// Equal as doubles, and with the same sign, so that -0.0 must come back as -0.0.
void expectSameDouble(double actual, double expected, const std::string& where)
{
    EXPECT_EQ(actual, expected) << where;
    EXPECT_EQ(std::signbit(actual), std::signbit(expected)) << where;
}

void expectJsonNumber(const nlohmann::ordered_json& field, std::optional<double> expected,
                      const std::string& where)
{
    if (!expected || !std::isfinite(*expected)) {
        EXPECT_TRUE(field.is_null()) << where << ": " << field.dump();
        return;
    }
    ASSERT_TRUE(field.is_number()) << where << ": " << field.dump();
    expectSameDouble(field.get<double>(), *expected, where);
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

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator))
        parts.push_back(part);
    if (separator != '\n' && !text.empty() && text.back() == separator)
        parts.emplace_back();
    return parts;
}

} // namespace

TEST(ResultsFormatJson, EveryAnalysisHasItsFieldsInOrderWithTheSameDoublesOrNull)
{
    const std::vector<EffectResults> effects = everyNumberInEveryField();
    const nlohmann::ordered_json parsed =
        nlohmann::ordered_json::parse(formatResultsJson(effects));
    ASSERT_EQ(parsed.size(), 1u);
    ASSERT_EQ(parsed["effects"].size(), effects.size());
    for (std::size_t e = 0; e < effects.size(); ++e) {
        const nlohmann::ordered_json& analyses = parsed["effects"][e]["analyses"];
        EXPECT_EQ(parsed["effects"][e]["name"], effects[e].name);
        ASSERT_EQ(analyses.size(), static_cast<std::size_t>(ANALYSIS_COUNT));
        for (const AnalysisRow& row : effects[e].analyses) {
            const auto i = static_cast<std::size_t>(row.index);
            const nlohmann::ordered_json& field = analyses[i];
            const std::string where = effects[e].name + " analysis " + std::to_string(i);
            std::vector<std::string> keys;
            for (const auto& item : field.items())
                keys.push_back(item.key());
            std::vector<std::string> expectedKeys = {"analysis", "index", "value", "F", "df1",
                                                     "df2", "p", "noncentrality", "exact"};
            if (row.index == AnalysisAnovaGreenhouseGeisser)
                expectedKeys.push_back("epsilon");
            EXPECT_EQ(keys, expectedKeys) << where;
            EXPECT_EQ(field["analysis"], std::string(ANALYSIS_NAMES[i])) << where;
            EXPECT_EQ(field["index"], i) << where;
            EXPECT_EQ(field["exact"], row.exact ? nlohmann::ordered_json(*row.exact) : nullptr)
                << where;
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

TEST(ResultsFormatJson, NamesAreEscapedAndInvalidUtf8BecomesAReplacementCharacter)
{
    // A within variable named on a Latin-1 command line: "grün" with ü as the byte 0xFC.
    const nlohmann::json parsed =
        nlohmann::json::parse(formatResultsJson({effectWith("gr\xfcn x \"time\"", {1.0})}));
    EXPECT_EQ(parsed["effects"][0]["name"].get<std::string>(), "gr\xef\xbf\xbdn x \"time\"");
}

TEST(ResultsFormatJson, NoEffectsGiveAnEmptyList)
{
    EXPECT_EQ(nlohmann::json::parse(formatResultsJson({})),
              nlohmann::json::parse(R"({"effects": []})"));
}

TEST(ResultsFormatCsv, NumbersReadBackToTheSameDoublesOrEmpty)
{
    const std::vector<EffectResults> effects = everyNumberInEveryField();
    const std::vector<std::string> lines = split(formatResultsCsv(effects), '\n');
    ASSERT_EQ(lines.size(), 1u + ANALYSIS_COUNT * effects.size());
    EXPECT_EQ(lines[0], "effect,analysis,value,F,df1,df2,p,noncentrality,exact,epsilon");
    std::size_t line = 1;
    for (const EffectResults& effect : effects) {
        for (const AnalysisRow& row : effect.analyses) {
            const std::vector<std::string> fields = split(lines[line++], ',');
            ASSERT_EQ(fields.size(), 10u) << lines[line - 1];
            const std::string where = effect.name + " analysis " + std::to_string(row.index);
            EXPECT_EQ(fields[0], effect.name);
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
}

TEST(ResultsFormatCsv, ANameWithACommaOrQuotesIsQuoted)
{
    const std::vector<std::string> lines = split(
        formatResultsCsv({effectWith("dose, \"mg\" x time", {0.25, NaN, -INF, INF, 2.0})}), '\n');
    EXPECT_EQ(lines[1], "\"dose, \"\"mg\"\" x time\",ANOVA (uncorr.),,0.25,,,,2.0,,");
}

TEST(RoundTripNumber, IsTheShortestFormWithAPointOrAnExponent)
{
    EXPECT_EQ(roundTripNumber(0.1), "0.1");
    EXPECT_EQ(roundTripNumber(3.0), "3.0");
    EXPECT_EQ(roundTripNumber(-0.0), "-0.0");
    EXPECT_EQ(roundTripNumber(1e21), "1e+21");
    EXPECT_EQ(roundTripNumber(-2.5e-10), "-2.5e-10");
    EXPECT_EQ(roundTripNumber(std::numeric_limits<double>::denorm_min()), "5e-324");
    EXPECT_EQ(roundTripNumber(NaN), "");
    EXPECT_EQ(roundTripNumber(-INF), "");
}

TEST(ResultsFormatText, ShowsTheTableTextsInAlignedColumnsWithoutTheTickBoxes)
{
    UserSession session(',');
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    const GeneralGridCtrl& results = session.commands.getResultsTable();
    const std::vector<std::string> lines = split(formatResultsText(results), '\n');
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
    for (std::size_t i = 1; i < ANALYSIS_COUNT; ++i)
        EXPECT_EQ(lines[i + 1].find(ANALYSIS_NAMES[i]), nameStart) << ANALYSIS_NAMES[i];
}

TEST(ResultsFormatText, AnEmptyTableGivesNoLines)
{
    EXPECT_EQ(formatResultsText(GeneralGridCtrl{DecimalSeparator()}), "");
}
