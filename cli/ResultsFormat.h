#pragma once

#include "app/AnalysisRows.h"
#include "app/CellStatistics.h"
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

/// Mauchly's test of sphericity of an effect (see MauchlyTest).
struct SphericityResult {
    /// False when the test could not be formed; then the numbers are NaN.
    bool formed = false;
    double W = -99.0;
    double chiSquare = -99.0;
    double df = -99.0;
    double p = -99.0;
};

/// One effect of a compute run with its eight analyses at full precision, and its test of
/// sphericity unless t < 2.
struct EffectResults {
    std::string name;
    std::array<AnalysisRow, ANALYSIS_COUNT> analyses;
    std::optional<SphericityResult> sphericity;
};

/// The effect engine 0 holds now.
EffectResults effectResultsOf(const Anova& engine);

/// The texts of the results table, every block of ten rows as the table shows them
/// ("%.4f" in the table's decimal separator), in columns padded to their widest text: the
/// names left-aligned, the numbers and "yes"/"no" right-aligned. The tick-box column,
/// which a terminal cannot offer, is left out; in its place the row of an analysis that is
/// not available ends with the reason its cells show as their tool tip. The test of
/// sphericity, which the table shows in the effect's name row, is a line of its own after
/// the block's analyses, starting in the column of their names.
std::string formatResultsText(const GeneralGridCtrl& results);

/// The header
/// "effect,analysis,value,F,df1,df2,p,noncentrality,exact,epsilon,partialEtaSquared,chiSquare"
/// and one line per analysis, then per effect one line "Mauchly's test of sphericity" with
/// W as value, its df as df1, p and chiSquare (empty fields for t < 2, "-" when it could not
/// be formed). A value the analysis does not have (the statistic and exactness of the
/// ANOVA rows, the epsilon of the uncorrected and the MANOVA rows) is an empty field; the
/// values of an analysis that is not available are "-"; an infinity is "inf" or "-inf". An
/// effect name with a comma, quote or line break is quoted.
std::string formatResultsCsv(const std::vector<EffectResults>& effects);

/// {"effects": [{"name": NAME, "analyses": [{"analysis", "index", "value", "F", "df1",
/// "df2", "p", "noncentrality", "exact", "epsilon" (on the three corrected ANOVA rows
/// only), "partialEtaSquared"}], "sphericity": {"W", "chiSquare", "df", "p"} or null}],
/// "cells": [{"group": [levels], "combination", "n", "mean", "sd"}]}.
/// An analysis that is not available has "available": false and its "reason" after
/// "index", and null for every number and the exactness. The statistic and exactness of
/// the ANOVA rows are null; an infinity is the string "inf" or "-inf", never a NaN; a NaN
/// (the SD of a cell of one participant) is null. With leftOut (the data rows 0 … left out), a last
/// key "leftOut" lists them numbered from 1, as the table numbers its rows.
std::string formatResultsJson(const std::vector<EffectResults>& effects,
                              const std::vector<CellStatistics>& cells,
                              const std::optional<std::vector<int>>& leftOut = std::nullopt);

/// The shortest decimal text that reads back to exactly value (std::to_chars), with '.'
/// whatever the locale and ".0" after an integral value ("3.0", "-0.0"); "inf" or "-inf"
/// for an infinity, "" for NaN.
std::string roundTripNumber(double value);
