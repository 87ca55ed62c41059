#pragma once

#include <array>
#include <cstdint>
#include <string_view>

/// The five analyses of an effect, in the order of the rows of an effect's block in the
/// results table and of the simulation parameters' analysis index. Both univariate rows come
/// from UnivariateTest; each MANOVA row has a test object of its own.
enum AnalysisIndex : std::int32_t {
    AnalysisAnovaUncorrected = 0,
    AnalysisAnovaGreenhouseGeisser = 1,
    AnalysisPillai = 2,
    AnalysisWilks = 3,
    AnalysisHotelling = 4,
};

inline constexpr std::int32_t ANALYSIS_COUNT = 5;

/// The name of each analysis as the results table shows it, indexed by AnalysisIndex.
inline constexpr std::array<std::string_view, ANALYSIS_COUNT> ANALYSIS_NAMES = {
    "ANOVA (uncorr.)",
    "ANOVA (Greenhouse-Geisser)",
    "MANOVA (Pillai)",
    "MANOVA (Wilks)",
    "MANOVA (Hotelling)",
};
