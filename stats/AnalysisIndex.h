#pragma once

#include <array>
#include <cstdint>
#include <string_view>

/// The eight analyses of an effect, in the order of the rows of an effect's block in the
/// results table and of the simulation parameters' analysis index. The uncorrected and
/// Greenhouse-Geisser rows come from UnivariateTest, the Huynh-Feldt and lower-bound rows
/// from an EpsilonCorrection of it; each MANOVA row has a test object of its own. Later
/// analyses were appended, so that the first five keep their numbers.
enum AnalysisIndex : std::int32_t {
    AnalysisAnovaUncorrected = 0,
    AnalysisAnovaGreenhouseGeisser = 1,
    AnalysisPillai = 2,
    AnalysisWilks = 3,
    AnalysisHotelling = 4,
    AnalysisAnovaHuynhFeldt = 5,
    AnalysisAnovaLowerBound = 6,
    AnalysisRoy = 7,
};

inline constexpr std::int32_t ANALYSIS_COUNT = 8;

/// The name of each analysis as the results table shows it, indexed by AnalysisIndex.
inline constexpr std::array<std::string_view, ANALYSIS_COUNT> ANALYSIS_NAMES = {
    "ANOVA (uncorr.)",    "ANOVA (Greenhouse-Geisser)", "MANOVA (Pillai)",     "MANOVA (Wilks)",
    "MANOVA (Hotelling)", "ANOVA (Huynh-Feldt)",        "ANOVA (lower bound)", "MANOVA (Roy)",
};
