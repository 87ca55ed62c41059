#pragma once

#include "stats/AnalysisIndex.h"
#include "stats/Anova.h"

#include <array>
#include <optional>

/// The numbers of one analysis of an effect, as its row of the effect's block shows them.
/// The univariate analyses have no statistic and no exact flag; only the three corrected
/// univariate rows have an epsilon. Partial η² is formed from the row's own F with the
/// uncorrected df, so that all four univariate rows show the same. An analysis that is not
/// available holds NaN in every number, and its rows show none of them.
struct AnalysisRow {
    AnalysisIndex index = AnalysisAnovaUncorrected;
    Availability availability = Availability::Available;
    std::optional<double> value;
    double F = -99.0;
    double df1 = -99.0;
    double df2 = -99.0;
    double p = -99.0;
    double noncentrality = -99.0;
    std::optional<bool> exact;
    std::optional<double> epsilon;
    double partialEtaSquared = -99.0;
};

/// The eight analyses of the engine's current effect in AnalysisIndex order, read from its
/// test objects at full precision.
std::array<AnalysisRow, ANALYSIS_COUNT> analysisRows(const Anova& engine);
