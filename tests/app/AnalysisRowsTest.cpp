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

/// Computes the mixed design with a listener that keeps what it receives.
std::vector<ListenedEffect> computeMixedDesign(UserSession& session)
{
    std::vector<ListenedEffect> listened;
    session.commands.setEffectListener([&listened](const Anova& engine) {
        listened.push_back({engine.effectName(), analysisRows(engine)});
    });
    typeMixedDesign(session);
    EXPECT_TRUE(session.commands.computeStatistics());
    return listened;
}

} // namespace

TEST(EffectListener, ReceivesEveryEffectInTheOrderOfTheResultsTable)
{
    UserSession session;
    const std::vector<ListenedEffect> listened = computeMixedDesign(session);
    const GeneralGridCtrl& results = session.commands.getResultsTable();
    ASSERT_EQ(static_cast<int>(listened.size()) * ROWS_PER_EFFECT, results.getDataRowCount());
    for (std::size_t e = 0; e < listened.size(); ++e)
        EXPECT_EQ(listened[e].name, results.getText(static_cast<int>(e) * ROWS_PER_EFFECT, 0));
}

TEST(EffectListener, ItsNumbersAreTheOnesTheTableShowsRounded)
{
    UserSession session(',');
    const std::vector<ListenedEffect> listened = computeMixedDesign(session);
    const DecimalSeparator comma(',');
    for (std::size_t e = 0; e < listened.size(); ++e) {
        for (const AnalysisRow& row : listened[e].rows) {
            const Texts shown =
                session.resultsRow(static_cast<int>(e) * ROWS_PER_EFFECT + 1 + row.index);
            EXPECT_EQ(shown[2], row.value ? formatNumber(*row.value, "%.4f", comma) : "-");
            EXPECT_EQ(shown[3], formatNumber(row.F, "%.4f", comma));
            EXPECT_EQ(shown[4], formatNumber(row.df1, "%.4f", comma));
            EXPECT_EQ(shown[5], formatNumber(row.df2, "%.4f", comma));
            EXPECT_EQ(shown[6], formatNumber(row.p, "%.4f", comma));
            EXPECT_EQ(shown[7], formatNumber(row.noncentrality, "%.4f", comma));
            EXPECT_EQ(shown[8], row.exact ? (*row.exact ? "yes" : "no") : "-");
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

TEST(AnalysisRows, OnlyTheMultivariateRowsHaveAStatisticAndOnlyGreenhouseGeisserAnEpsilon)
{
    UserSession session;
    const std::vector<ListenedEffect> listened = computeMixedDesign(session);
    ASSERT_FALSE(listened.empty());
    for (const ListenedEffect& effect : listened) {
        for (const AnalysisRow& row : effect.rows) {
            const bool univariate = row.index == AnalysisAnovaUncorrected ||
                                    row.index == AnalysisAnovaGreenhouseGeisser;
            EXPECT_EQ(row.value.has_value(), !univariate) << effect.name << " " << row.index;
            EXPECT_EQ(row.exact.has_value(), !univariate) << effect.name << " " << row.index;
            EXPECT_EQ(row.epsilon.has_value(), row.index == AnalysisAnovaGreenhouseGeisser);
        }
    }
}

TEST(AnalysisRows, GreenhouseGeisserScalesTheDegreesOfFreedomByEpsilon)
{
    // One within variable with three levels: t = 2, so 1/2 <= epsilon <= 1, and the
    // corrected degrees of freedom and noncentrality are the uncorrected ones times epsilon.
    UserSession session;
    std::vector<std::array<AnalysisRow, ANALYSIS_COUNT>> rows;
    session.commands.setEffectListener(
        [&rows](const Anova& engine) { rows.push_back(analysisRows(engine)); });
    typeOneWithinDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    ASSERT_EQ(rows.size(), 1u);
    const AnalysisRow& uncorrected = rows[0][AnalysisAnovaUncorrected];
    const AnalysisRow& corrected = rows[0][AnalysisAnovaGreenhouseGeisser];
    ASSERT_TRUE(corrected.epsilon.has_value());
    const double epsilon = *corrected.epsilon;
    EXPECT_GE(epsilon, 0.5);
    EXPECT_LE(epsilon, 1.0);
    EXPECT_EQ(corrected.F, uncorrected.F);
    EXPECT_NEAR(corrected.df1, epsilon * uncorrected.df1, 1e-12);
    EXPECT_NEAR(corrected.df2, epsilon * uncorrected.df2, 1e-12);
    EXPECT_NEAR(corrected.noncentrality, epsilon * uncorrected.noncentrality, 1e-12);
}
