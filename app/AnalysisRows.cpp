#include "app/AnalysisRows.h"

#include "stats/PartialEtaSquared.h"

namespace {

AnalysisRow multivariateRow(AnalysisIndex index, const TestResult& test)
{
    return {index,
            test.availability,
            test.value,
            test.F,
            test.df1,
            test.df2,
            test.p,
            test.noncentrality,
            test.exact,
            std::nullopt,
            partialEtaSquared(test.F, test.df1, test.df2)};
}

/// A univariate row: the uncorrected F with the correction's df, p and
/// noncentrality. Partial η² takes the uncorrected df, which the epsilon would only scale
/// both of.
AnalysisRow correctedRow(AnalysisIndex index, const UnivariateTest& univariate,
                         Availability availability, double df1, double df2, double p,
                         double noncentrality, std::optional<double> epsilon)
{
    return {index,
            availability,
            std::nullopt,
            univariate.F,
            df1,
            df2,
            p,
            noncentrality,
            std::nullopt,
            epsilon,
            partialEtaSquared(univariate.F, univariate.df1, univariate.df2)};
}

AnalysisRow correctedRow(AnalysisIndex index, const UnivariateTest& univariate,
                         const EpsilonCorrection& correction)
{
    return correctedRow(index, univariate, correction.availability, correction.df1, correction.df2,
                        correction.p, correction.noncentrality, correction.epsilon);
}

} // namespace

std::array<AnalysisRow, ANALYSIS_COUNT> analysisRows(const Anova& engine)
{
    const UnivariateTest& univariate = engine.getUnivariateTest();
    return {{
        correctedRow(AnalysisAnovaUncorrected, univariate, univariate.availability, univariate.df1,
                     univariate.df2, univariate.p, univariate.noncentrality, std::nullopt),
        correctedRow(AnalysisAnovaGreenhouseGeisser, univariate, univariate.availability,
                     univariate.ggDf1, univariate.ggDf2, univariate.ggP, univariate.ggNoncentrality,
                     univariate.epsilon),
        multivariateRow(AnalysisPillai, engine.getPillaiTest()),
        multivariateRow(AnalysisWilks, engine.getWilksTest()),
        multivariateRow(AnalysisHotelling, engine.getHotellingTest()),
        correctedRow(AnalysisAnovaHuynhFeldt, univariate, engine.getHuynhFeldtTest()),
        correctedRow(AnalysisAnovaLowerBound, univariate, engine.getLowerBoundTest()),
        multivariateRow(AnalysisRoy, engine.getRoyTest()),
    }};
}
