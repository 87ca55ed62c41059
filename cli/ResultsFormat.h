#pragma once

#include "app/AnalysisRows.h"
#include "data/GeneralGridCtrl.h"
#include "stats/AnalysisIndex.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

/// How the results are written to standard output.
enum class ResultsFormat {
    /// The results table as the desktop shows it, aligned for a terminal.
    Text,
    /// A header line, then one line per analysis.
    Csv,
    /// {"effects": [{"name": ..., "analyses": [...]}, ...]}
    Json,
};

/// One effect of a compute run with its five analyses at full precision.
struct EffectResults {
    std::string name;
    std::array<AnalysisRow, ANALYSIS_COUNT> analyses;
};

/// The effect engine 0 holds now.
EffectResults effectResultsOf(const Anova& engine);

/// The texts of the results table, every block of seven rows as the table shows them
/// ("%.4f" in the table's decimal separator), in columns padded to their widest text: the
/// names left-aligned, the numbers and "yes"/"no" right-aligned. The tick-box column,
/// which a terminal cannot offer, is left out; in its place the row of an analysis that is
/// not available ends with the reason its cells show as their tool tip.
std::string formatResultsText(const GeneralGridCtrl& results);

/// The header "effect,analysis,value,F,df1,df2,p,noncentrality,exact,epsilon" and one line
/// per analysis. A value the analysis does not have (the statistic and exactness of the
/// ANOVA rows, the epsilon of all but the Greenhouse-Geisser row) is an empty field; the
/// values of an analysis that is not available are "-"; an infinity is "inf" or "-inf". An
/// effect name with a comma, quote or line break is quoted.
std::string formatResultsCsv(const std::vector<EffectResults>& effects);

/// {"effects": [{"name": NAME, "analyses": [{"analysis", "index", "value", "F", "df1",
/// "df2", "p", "noncentrality", "exact"} and "epsilon" on the Greenhouse-Geisser row]}]}.
/// An analysis that is not available has "available": false and its "reason" after
/// "index", and null for every number and the exactness. The statistic and exactness of
/// the ANOVA rows are null; an infinity is the string "inf" or "-inf", never a NaN.
/// With leftOut (the data rows 0 … left out), a last key "leftOut" lists them numbered
/// from 1, as the table numbers its rows.
std::string formatResultsJson(const std::vector<EffectResults>& effects,
                              const std::optional<std::vector<int>>& leftOut = std::nullopt);

/// The shortest decimal text that reads back to exactly value (std::to_chars), with '.'
/// whatever the locale and ".0" after an integral value ("3.0", "-0.0"); "inf" or "-inf"
/// for an infinity, "" for NaN.
std::string roundTripNumber(double value);
