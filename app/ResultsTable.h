#pragma once

#include "data/GeneralGridCtrl.h"
#include "platform/MessageSink.h"
#include "stats/Anova.h"

#include <optional>
#include <string>

// The results table: a GeneralGridCtrl without header rows or columns that lists, for every
// computed effect, a block of ten rows starting at row r:
// - row r: the effect name, Mauchly's test of sphericity of the effect (mauchlyText; empty
//   for t < 2), then "value", "F", "df1", "df2", "p", "partial η²", "noncentr.",
//   "MANOVA exact statistic" and "choose for simulation"; all eleven cells in
//   NAME_ROW_COLOUR;
// - row r + 1 + i for analysis i (AnalysisIndex): its name from ANALYSIS_NAMES in column 1,
//   the statistic in column 2, F, df1, df2, p, partial η² and noncentrality in columns 3 to
//   8, "yes" or "no" in column 9 for an exact F transformation, an unticked box in column
//   10. The four ANOVA rows show "-" for the statistic and the exactness; the corrected
//   ones show the uncorrected F with their corrected df1, df2, p and noncentrality. An
//   analysis that is not available shows "-" in columns 2 to 9, and columns 1 to 9 carry
//   the reason (availabilityReason) as their tool tip;
// - row r + 9: empty.
// Partial η² stands beside p, where reports of these analyses give the effect size.

inline constexpr int RESULTS_COLUMN_COUNT = 11;
inline constexpr int ROWS_PER_EFFECT = 10;
/// The column of the tick boxes.
inline constexpr int CHOICE_COLUMN = 10;

/// The one analysis ticked in the results table.
struct AnalysisChoice {
    /// The row of the effect table: the block's position, counted from 1.
    int effectNumber = -99;
    /// The AnalysisIndex of the ticked row.
    int analysisIndex = -99;
    /// The text in column 0 of the block's first row.
    std::string effectName;
};

/// Appends the block of the engine's current effect, named by engine.effectName(), with
/// every number written "%.4f" in the table's decimal separator and every tick box
/// unticked; then fits columns 1, 9 and 10 to their content.
void appendEffectBlock(GeneralGridCtrl& results, const Anova& engine);

/// "Mauchly: W = 0.6151; χ²(5) = 5.4321; p = 0.3654", the numbers "%.4f" in the
/// separator; "Mauchly: -" when the test could not be formed; empty for t < 2, where
/// sphericity holds by itself.
std::string mauchlyText(const MauchlyTest& test, std::int32_t t, DecimalSeparator separator);

/// The analysis whose box alone is ticked. Two ticked boxes, or none, hand their message
/// (title "Error", error icon) to messages and give no choice.
std::optional<AnalysisChoice> findChosenAnalysis(const GeneralGridCtrl& results,
                                                 MessageSink& messages);
