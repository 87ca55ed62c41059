#include "cli/ResultsFormat.h"

#include "app/ResultsTable.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <optional>
#include <system_error>

namespace {

/// Column 0 holds the effect names, column 1 the analysis names; the others are numbers,
/// "-" or "yes"/"no", which read best right-aligned.
constexpr int LAST_LEFT_ALIGNED_COLUMN = 1;

/// The width of a UTF-8 text on a terminal: its code points, continuation bytes not
/// counted.
std::size_t displayWidth(const std::string& text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

/// Empty for a number the analysis does not have; "-" for every number of an analysis that
/// is not available.
std::string csvNumber(const AnalysisRow& row, std::optional<double> value)
{
    if (!value)
        return {};
    if (row.availability != Availability::Available)
        return "-";
    return roundTripNumber(*value);
}

/// null for a NaN; an infinity as the string "inf" or "-inf", which JSON has no number for.
std::string jsonNumber(double value)
{
    if (std::isnan(value))
        return "null";
    const std::string text = roundTripNumber(value);
    return std::isinf(value) ? '"' + text + '"' : text;
}

/// null also for a number the analysis does not have and for every number of an analysis
/// that is not available.
std::string jsonNumber(const AnalysisRow& row, std::optional<double> value)
{
    if (!value || row.availability != Availability::Available)
        return "null";
    return jsonNumber(*value);
}

/// The text as a JSON string. Names read from files are UTF-8, but an import of a damaged
/// file may still bring invalid sequences, which become U+FFFD rather than invalid JSON.
std::string jsonString(const std::string& text)
{
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string jsonAnalysis(const AnalysisRow& row)
{
    const bool available = row.availability == Availability::Available;
    const std::string exact = row.exact && available ? (*row.exact ? "true" : "false") : "null";
    std::string object =
        "{\"analysis\": " +
        jsonString(std::string(ANALYSIS_NAMES[static_cast<std::size_t>(row.index)])) +
        ", \"index\": " + std::to_string(row.index);
    // Only an analysis that is not available has the two keys, so that the rows of one
    // that is keep their form.
    if (!available) {
        object += ", \"available\": false, \"reason\": " +
                  jsonString(std::string(availabilityReason(row.availability)));
    }
    object += ", \"value\": " + jsonNumber(row, row.value) + ", \"F\": " + jsonNumber(row, row.F) +
              ", \"df1\": " + jsonNumber(row, row.df1) + ", \"df2\": " + jsonNumber(row, row.df2) +
              ", \"p\": " + jsonNumber(row, row.p) +
              ", \"noncentrality\": " + jsonNumber(row, row.noncentrality) +
              ", \"exact\": " + exact;
    if (row.epsilon)
        object += ", \"epsilon\": " + jsonNumber(row, row.epsilon);
    return object + ", \"partialEtaSquared\": " + jsonNumber(row, row.partialEtaSquared) + "}";
}

std::string jsonSphericity(const std::optional<SphericityResult>& sphericity)
{
    if (!sphericity || !sphericity->formed)
        return "null";
    return "{\"W\": " + jsonNumber(sphericity->W) +
           ", \"chiSquare\": " + jsonNumber(sphericity->chiSquare) +
           ", \"df\": " + jsonNumber(sphericity->df) + ", \"p\": " + jsonNumber(sphericity->p) +
           "}";
}

std::string jsonCell(const CellStatistics& cell)
{
    std::string group;
    for (std::size_t i = 0; i < cell.group.size(); ++i)
        group += (i == 0 ? "" : ", ") + std::to_string(cell.group[i]);
    return "{\"group\": [" + group + "], \"combination\": " + jsonString(cell.combination) +
           ", \"n\": " + std::to_string(cell.n) + ", \"mean\": " + jsonNumber(cell.mean) +
           ", \"sd\": " + jsonNumber(cell.sd) + "}";
}

/// The sphericity line of an effect in the csv columns: W as value, its df as df1, p and
/// the chi-square in the last column.
std::string csvSphericity(const std::optional<SphericityResult>& sphericity)
{
    if (!sphericity)
        return ",,,,,,,,,";
    if (!sphericity->formed)
        return "-,,-,,-,,,,,-";
    return roundTripNumber(sphericity->W) + ",," + roundTripNumber(sphericity->df) + ",," +
           roundTripNumber(sphericity->p) + ",,,,," + roundTripNumber(sphericity->chiSquare);
}

} // namespace

EffectResults effectResultsOf(const Anova& engine)
{
    EffectResults effect{engine.effectName(), analysisRows(engine), std::nullopt};
    if (engine.getPillaiTest().t >= 2) {
        const MauchlyTest& test = engine.getMauchlyTest();
        effect.sphericity =
            SphericityResult{test.isFormed(), test.W, test.chiSquare, test.df, test.p};
    }
    return effect;
}

std::string formatResultsText(const GeneralGridCtrl& results)
{
    // Column 1 of a block's name row holds the test of sphericity, written on a line of its
    // own; it does not widen the column of the analysis names.
    const auto isSphericityCell = [](int r, int c) { return c == 1 && r % ROWS_PER_EFFECT == 0; };
    const int columns = std::min(results.getDataColumnCount(), CHOICE_COLUMN);
    std::vector<std::size_t> widths(static_cast<std::size_t>(std::max(columns, 0)), 0);
    for (int r = 0; r < results.getDataRowCount(); ++r) {
        for (int c = 0; c < columns; ++c) {
            std::size_t& width = widths[static_cast<std::size_t>(c)];
            if (!isSphericityCell(r, c))
                width = std::max(width, displayWidth(results.getText(r, c)));
        }
    }
    std::string text;
    std::string sphericity;
    for (int r = 0; r < results.getDataRowCount(); ++r) {
        if (r % ROWS_PER_EFFECT == ROWS_PER_EFFECT - 1 && !sphericity.empty())
            text += std::string(widths[0] + 2, ' ') + sphericity + '\n';
        std::string line;
        for (int c = 0; c < columns; ++c) {
            std::string cell = results.getText(r, c);
            if (isSphericityCell(r, c)) {
                sphericity = cell;
                cell.clear();
            }
            const std::string padding(widths[static_cast<std::size_t>(c)] - displayWidth(cell),
                                      ' ');
            if (c > 0)
                line += "  ";
            line += c <= LAST_LEFT_ALIGNED_COLUMN ? cell + padding : padding + cell;
        }
        line.erase(line.find_last_not_of(' ') + 1);
        // An analysis that is not available carries its reason as the tool tip of its cells.
        const std::string& reason =
            results.getCellToolTip(results.toGridRow(r), results.toGridColumn(1));
        if (!reason.empty())
            line += "  " + reason;
        text += line + '\n';
    }
    return text;
}

std::string formatResultsCsv(const std::vector<EffectResults>& effects)
{
    std::string text = "effect,analysis,value,F,df1,df2,p,noncentrality,exact,epsilon,"
                       "partialEtaSquared,chiSquare\n";
    for (const EffectResults& effect : effects) {
        for (const AnalysisRow& row : effect.analyses) {
            const bool available = row.availability == Availability::Available;
            const std::string exact = !row.exact   ? ""
                                      : !available ? "-"
                                      : *row.exact ? "true"
                                                   : "false";
            text += csvField(effect.name) + ',' +
                    std::string(ANALYSIS_NAMES[static_cast<std::size_t>(row.index)]) + ',' +
                    csvNumber(row, row.value) + ',' + csvNumber(row, row.F) + ',' +
                    csvNumber(row, row.df1) + ',' + csvNumber(row, row.df2) + ',' +
                    csvNumber(row, row.p) + ',' + csvNumber(row, row.noncentrality) + ',' + exact +
                    ',' + csvNumber(row, row.epsilon) + ',' +
                    csvNumber(row, row.partialEtaSquared) + ",\n";
        }
        text += csvField(effect.name) + ",Mauchly's test of sphericity," +
                csvSphericity(effect.sphericity) + '\n';
    }
    return text;
}

std::string formatResultsJson(const std::vector<EffectResults>& effects,
                              const std::vector<CellStatistics>& cells,
                              const std::optional<std::vector<int>>& leftOut)
{
    std::string text = "{\"effects\": [";
    for (std::size_t e = 0; e < effects.size(); ++e) {
        text += e == 0 ? "\n" : ",\n";
        text += "  {\"name\": " + jsonString(effects[e].name) + ", \"analyses\": [\n";
        for (std::size_t a = 0; a < effects[e].analyses.size(); ++a) {
            text += "    " + jsonAnalysis(effects[e].analyses[a]);
            text += a + 1 < effects[e].analyses.size() ? ",\n" : "\n";
        }
        text += "  ], \"sphericity\": " + jsonSphericity(effects[e].sphericity) + "}";
    }
    text += effects.empty() ? "]" : "\n]";
    text += ", \"cells\": [";
    for (std::size_t i = 0; i < cells.size(); ++i)
        text += (i == 0 ? "\n  " : ",\n  ") + jsonCell(cells[i]);
    text += cells.empty() ? "]" : "\n]";
    if (leftOut) {
        text += ", \"leftOut\": [";
        for (std::size_t i = 0; i < leftOut->size(); ++i)
            text += (i == 0 ? "" : ", ") + std::to_string((*leftOut)[i] + 1);
        text += "]";
    }
    return text + "}\n";
}

std::string roundTripNumber(double value)
{
    if (std::isnan(value))
        return {};
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    // The longest shortest form of a double, "-2.2250738585072014e-308", has 24 characters.
    char buffer[32];
    const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, written.ptr);
    // An integral value keeps a decimal point: JSON readers take "-0" or a long digit
    // string for an integer, which loses the sign of -0.0 or may not fit their integers.
    if (text.find_first_of(".e") == std::string::npos)
        text += ".0";
    return text;
}
