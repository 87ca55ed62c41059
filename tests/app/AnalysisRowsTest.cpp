// The numbers of an effect at full precision: analysisRows of engine 0 and the effect
// listener through which a front end receives them after each effect of a compute run.
#include "UserSession.h"

#include "app/AnalysisRows.h"
#include "app/ResultsTable.h"
#include "numeric/NumberText.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace {

struct ListenedEffect {
    std::string name;
    std::array<AnalysisRow, ANALYSIS_COUNT> rows;
};

/// Types a design and computes it with a listener that keeps what it receives.
std::vector<ListenedEffect> computeListened(UserSession& session,
                                            void (*typeDesign)(UserSession&) = typeMixedDesign)
{
    std::vector<ListenedEffect> listened;
    session.commands.setEffectListener([&listened](const Anova& engine) {
        listened.push_back({engine.effectName(), analysisRows(engine)});
    });
    typeDesign(session);
    EXPECT_TRUE(session.commands.computeStatistics());
    return listened;
}

} // namespace

TEST(EffectListener, ReceivesEveryEffectWithTheNumbersTheTableShowsRounded)
{
    UserSession session(',');
    const std::vector<ListenedEffect> listened = computeListened(session);
    ASSERT_EQ(static_cast<int>(listened.size()) * ROWS_PER_EFFECT,
              session.commands.getResultsTable().getDataRowCount());
    const DecimalSeparator comma(',');
    const auto shown = [&comma](double value) { return formatNumber(value, "%.4f", comma); };
    for (std::size_t e = 0; e < listened.size(); ++e) {
        const int block = static_cast<int>(e) * ROWS_PER_EFFECT;
        EXPECT_EQ(listened[e].name, session.resultsRow(block)[0]);
        for (const AnalysisRow& row : listened[e].rows) {
            SCOPED_TRACE(listened[e].name + " " + std::to_string(row.index));
            const Texts texts = session.resultsRow(block + 1 + row.index);
            EXPECT_EQ(texts[2], row.value ? shown(*row.value) : "-");
            EXPECT_EQ(texts[3], shown(row.F));
            EXPECT_EQ(texts[4], shown(row.df1));
            EXPECT_EQ(texts[5], shown(row.df2));
            EXPECT_EQ(texts[6], shown(row.p));
            EXPECT_EQ(texts[7], shown(row.noncentrality));
            EXPECT_EQ(texts[8], row.exact ? (*row.exact ? "yes" : "no") : "-");
            // Only the multivariate rows have a statistic, only Greenhouse-Geisser an epsilon.
            const bool univariate = row.index == AnalysisAnovaUncorrected ||
                                    row.index == AnalysisAnovaGreenhouseGeisser;
            EXPECT_EQ(row.value.has_value(), !univariate);
            EXPECT_EQ(row.exact.has_value(), !univariate);
            EXPECT_EQ(row.epsilon.has_value(), row.index == AnalysisAnovaGreenhouseGeisser);
        }
    }
}

TEST(EffectListener, AnEmptyListenerIsNotCalled)
{
    UserSession session;
    int calls = 0;
    session.commands.setEffectListener([&calls](const Anova&) { ++calls; });
    session.commands.setEffectListener({});
    typeOneWithinDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    EXPECT_EQ(calls, 0);
}

TEST(AnalysisRows, GreenhouseGeisserScalesTheDegreesOfFreedomByEpsilon)
{
    // One within variable with three levels: t = 2, so 1/2 <= epsilon <= 1, and the
    // corrected degrees of freedom and noncentrality are the uncorrected ones times epsilon.
    UserSession session;
    const std::vector<ListenedEffect> listened = computeListened(session, typeOneWithinDesign);
    ASSERT_EQ(listened.size(), 1u);
    const auto& rows = listened[0].rows;
    const AnalysisRow& uncorrected = rows[AnalysisAnovaUncorrected];
    const AnalysisRow& corrected = rows[AnalysisAnovaGreenhouseGeisser];
    ASSERT_TRUE(corrected.epsilon.has_value());
    const double epsilon = *corrected.epsilon;
    EXPECT_GE(epsilon, 0.5);
    EXPECT_LT(epsilon, 1.0) << "these data are not spherical, so the correction shows";
    EXPECT_EQ(corrected.F, uncorrected.F);
    EXPECT_NEAR(corrected.df1, epsilon * uncorrected.df1, 1e-12);
    EXPECT_NEAR(corrected.df2, epsilon * uncorrected.df2, 1e-12);
    EXPECT_NEAR(corrected.noncentrality, epsilon * uncorrected.noncentrality, 1e-12);
}
