#pragma once

#include "platform/MessageSink.h"
#include "data/GeneralGridCtrl.h"
#include "stats/Anova.h"

#include <optional>
#include <string>

// The results table: a GeneralGridCtrl without header rows or columns that lists, for every
// computed effect, a block of seven rows starting at row r:
// - row r: the effect name, an empty cell, then "value", "F", "df1", "df2", "p", "noncentr.",
//   "MANOVA exact statistic" and "choose for simulation"; all ten cells in NAME_ROW_COLOUR;
// - row r + 1 + i for analysis i (AnalysisIndex): its name from ANALYSIS_NAMES in column 1,
//   the statistic in column 2, F, df1, df2, p and noncentrality in columns 3 to 7, "yes" or
//   "no" in column 8 for an exact F transformation, an unticked box in column 9. The two
//   ANOVA rows show "-" for the statistic and the exactness; the Greenhouse-Geisser row
//   shows the uncorrected F with its corrected df1, df2, p and noncentrality. An analysis
//   that is not available shows "-" in columns 2 to 8, and columns 1 to 8 carry the
//   reason (availabilityReason) as their tool tip;
// - row r + 6: empty.

inline constexpr int RESULTS_COLUMN_COUNT = 10;
inline constexpr int ROWS_PER_EFFECT = 7;
/// The column of the tick boxes.
inline constexpr int CHOICE_COLUMN = 9;

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
/// unticked; then fits columns 1, 8 and 9 to their content.
void appendEffectBlock(GeneralGridCtrl& results, const Anova& engine);

/// The analysis whose box alone is ticked. Two ticked boxes, or none, hand their message
/// (title "Error", error icon) to messages and give no choice.
std::optional<AnalysisChoice> findChosenAnalysis(const GeneralGridCtrl& results,
                                                 MessageSink& messages);
