#include "app/AnalysisRows.h"

namespace {

AnalysisRow multivariateRow(AnalysisIndex index, const TestResult& test)
{
    return {index,  test.availability,  test.value, test.F,      test.df1, test.df2,
            test.p, test.noncentrality, test.exact, std::nullopt};
}

} // namespace

std::array<AnalysisRow, ANALYSIS_COUNT> analysisRows(const Anova& engine)
{
    const UnivariateTest& univariate = engine.getUnivariateTest();
    // The Greenhouse-Geisser correction changes the degrees of freedom, not F.
    return {{
        {AnalysisAnovaUncorrected, univariate.availability, std::nullopt, univariate.F,
         univariate.df1, univariate.df2, univariate.p, univariate.noncentrality, std::nullopt,
         std::nullopt},
        {AnalysisAnovaGreenhouseGeisser, univariate.availability, std::nullopt, univariate.F,
         univariate.ggDf1, univariate.ggDf2, univariate.ggP, univariate.ggNoncentrality,
         std::nullopt, univariate.epsilon},
        multivariateRow(AnalysisPillai, engine.getPillaiTest()),
        multivariateRow(AnalysisWilks, engine.getWilksTest()),
        multivariateRow(AnalysisHotelling, engine.getHotellingTest()),
    }};
}
