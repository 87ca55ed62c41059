// "Compute statistics" from the typed tables to the results table.
#include "UserSession.h"

#include "app/ResultsTable.h"
#include "numeric/NumberText.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

constexpr const char* CANNOT_COMPUTE =
    "Data cannot be computed. Maybe, your sample size is too small.";

const Texts HEADINGS{"value", "F", "df1", "df2", "p", "noncentr.", "MANOVA exact statistic",
                     "choose for simulation"};

double number(const UserSession& session, const std::string& text)
{
    return parseNumber(text, DecimalSeparator(session.separator));
}

/// The texts of every block-header cell in column 0, top to bottom.
Texts effectNames(const GeneralGridCtrl& results)
{
    Texts names;
    for (int r = 0; r < results.getDataRowCount(); r += ROWS_PER_EFFECT)
        names.push_back(results.getText(r, 0));
    return names;
}

/// Every text of the results table, row by row.
Texts allTexts(UserSession& session)
{
    Texts texts;
    for (int r = 0; r < session.commands.getResultsTable().getDataRowCount(); ++r) {
        const Texts row = session.resultsRow(r);
        texts.insert(texts.end(), row.begin(), row.end());
    }
    return texts;
}

} // namespace

TEST(ComputeStatistics, OneWithinVariableGivesOneBlockOfSevenRows)
{
    UserSession session;
    typeOneWithinDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    EXPECT_TRUE(session.sink.messages.empty());

    const GeneralGridCtrl& results = session.commands.getResultsTable();
    EXPECT_EQ(results.getRowCount(), 7);
    EXPECT_EQ(results.getColumnCount(), 10);
    EXPECT_EQ(results.getFixedRowCount(), 0);
    EXPECT_EQ(results.getFixedColumnCount(), 0);
    Texts header{"time", ""};
    header.insert(header.end(), HEADINGS.begin(), HEADINGS.end());
    EXPECT_EQ(session.resultsRow(0), header);
    EXPECT_EQ(results.getText(1, 1), "ANOVA (uncorr.)");
    EXPECT_EQ(results.getText(2, 1), "ANOVA (Greenhouse-Geisser)");
    EXPECT_EQ(results.getText(3, 1), "MANOVA (Pillai)");
    EXPECT_EQ(results.getText(4, 1), "MANOVA (Wilks)");
    EXPECT_EQ(results.getText(5, 1), "MANOVA (Hotelling)");
    EXPECT_EQ(session.resultsRow(6), Texts(10, ""));

    const GeneralMatrix<int>& effects = session.commands.getEffectTable();
    ASSERT_EQ(effects.getRows(), 2);
    ASSERT_EQ(effects.getCols(), 1);
    EXPECT_EQ(effects.get(1, 0), 1);
}

TEST(ComputeStatistics, BlockHeaderIsColouredAndAnalysisRowsHoldUntickedBoxes)
{
    UserSession session;
    typeOneWithinDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    const GeneralGridCtrl& results = session.commands.getResultsTable();
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(results.getCellBackground(0, c), (Colour{150, 180, 150})) << "column " << c;
        EXPECT_EQ(results.getCellBackground(1, c), Colour{}) << "column " << c;
    }
    for (int r = 1; r <= 5; ++r) {
        EXPECT_EQ(results.getCellType(r, 9), CellType::TickBox) << "row " << r;
        EXPECT_FALSE(results.isCellChecked(r, 9)) << "row " << r;
    }
    EXPECT_EQ(results.getCellType(0, 9), CellType::Plain);
    EXPECT_EQ(results.getCellType(6, 9), CellType::Plain);
}

TEST(ComputeStatistics, AnovaRowsShowDashesAndManovaRowsTheirStatisticAndExactness)
{
    UserSession session;
    typeOneWithinDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    for (int r : {1, 2}) {
        EXPECT_EQ(session.resultsRow(r)[2], "-") << "row " << r;
        EXPECT_EQ(session.resultsRow(r)[8], "-") << "row " << r;
    }
    // One group and t = 2 transformed variables: s = 1, so every F transformation is exact.
    for (int r : {3, 4, 5}) {
        EXPECT_NE(session.resultsRow(r)[2], "-") << "row " << r;
        EXPECT_EQ(session.resultsRow(r)[8], "yes") << "row " << r;
    }
}

TEST(ComputeStatistics, DegreesOfFreedomOfOneWithinVariableWithThreeLevels)
{
    UserSession session;
    typeOneWithinDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    // N = 6 participants, one group, t = 2: the univariate test has df (t, (N - 1) t), each
    // MANOVA (t, N - 1 - t + 1).
    EXPECT_EQ(session.resultsRow(1)[4], "2.0000");
    EXPECT_EQ(session.resultsRow(1)[5], "10.0000");
    for (int r : {3, 4, 5}) {
        EXPECT_EQ(session.resultsRow(r)[4], "2.0000") << "row " << r;
        EXPECT_EQ(session.resultsRow(r)[5], "4.0000") << "row " << r;
    }
}

TEST(ComputeStatistics, ManovaRowsAgreeWhenThereIsOneNonZeroEigenvalue)
{
    UserSession session;
    typeOneWithinDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    // s = 1: the three F transformations coincide, and Pillai's V + Wilks' lambda = 1.
    for (int c : {3, 6, 7}) {
        EXPECT_EQ(session.resultsRow(4)[static_cast<std::size_t>(c)],
                  session.resultsRow(3)[static_cast<std::size_t>(c)]);
        EXPECT_EQ(session.resultsRow(5)[static_cast<std::size_t>(c)],
                  session.resultsRow(3)[static_cast<std::size_t>(c)]);
    }
    const double pillai = number(session, session.resultsRow(3)[2]);
    const double wilks = number(session, session.resultsRow(4)[2]);
    EXPECT_NEAR(pillai + wilks, 1.0, 1.0001e-4);
}

TEST(ComputeStatistics, GreenhouseGeisserRowKeepsFAndCorrectsItsDegreesOfFreedom)
{
    UserSession session;
    typeOneWithinDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    const Texts uncorrected = session.resultsRow(1);
    const Texts corrected = session.resultsRow(2);
    EXPECT_EQ(corrected[3], uncorrected[3]);
    EXPECT_NE(corrected[4], uncorrected[4]);
    EXPECT_NE(corrected[5], uncorrected[5]);
    EXPECT_NE(corrected[6], uncorrected[6]);
    EXPECT_NE(corrected[7], uncorrected[7]);
    // Both degrees of freedom shrink by the same epsilon.
    const double epsilon1 = number(session, corrected[4]) / number(session, uncorrected[4]);
    const double epsilon2 = number(session, corrected[5]) / number(session, uncorrected[5]);
    EXPECT_LT(epsilon1, 1.0);
    EXPECT_NEAR(epsilon1, epsilon2, 1e-4);
}

TEST(ComputeStatistics, TwoWithinAndOneBetweenVariableGiveSevenEffectsInCountingOrder)
{
    UserSession session;
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    EXPECT_TRUE(session.sink.messages.empty());
    const GeneralGridCtrl& results = session.commands.getResultsTable();
    EXPECT_EQ(results.getDataRowCount(), 49);
    EXPECT_EQ(effectNames(results),
              (Texts{"C", "B", "B x C", "A", "A x C", "A x B", "A x B x C"}));
    EXPECT_EQ(session.commands.getEffectTable().getRows(), 8);
    EXPECT_EQ(session.commands.getEffectTable().getCols(), 3);
}

TEST(ComputeStatistics, NumbersAreWrittenWithTheUsersDecimalSeparator)
{
    UserSession point('.');
    UserSession comma(',');
    UserSession blank(' ');
    for (UserSession* session : {&point, &comma, &blank}) {
        typeMixedDesign(*session);
        ASSERT_TRUE(session->commands.computeStatistics()) << session->separator;
        EXPECT_TRUE(session->sink.messages.empty()) << session->separator;
    }
    const Texts pointTexts = allTexts(point);
    const Texts commaTexts = allTexts(comma);
    ASSERT_EQ(commaTexts.size(), pointTexts.size());
    const std::regex pointNumber("-?[0-9]+[.][0-9]{4}");
    for (std::size_t i = 0; i < pointTexts.size(); ++i) {
        const bool isNumber = std::regex_match(pointTexts[i], pointNumber);
        EXPECT_EQ(commaTexts[i], isNumber ? comma.decimal(pointTexts[i]) : pointTexts[i]);
    }
    EXPECT_EQ(allTexts(blank), pointTexts) << "a blank separator is read and written as a point";

    const std::regex fourDecimals("-?[0-9]+,[0-9]{4}");
    int numbers = 0;
    for (int r = 0; r < 49; ++r) {
        if (r % 7 == 0 || r % 7 == 6)
            continue;
        const Texts row = comma.resultsRow(r);
        for (std::size_t c = r % 7 < 3 ? 3 : 2; c <= 7; ++c) {
            EXPECT_TRUE(std::regex_match(row[c], fourDecimals)) << r << ", " << c << ": " << row[c];
            ++numbers;
        }
    }
    EXPECT_EQ(numbers, 7 * (2 * 5 + 3 * 6));
}

TEST(ComputeStatistics, FitsColumnsOneEightAndNineToTheirContent)
{
    UserSession session;
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    GeneralGridCtrl& results = session.commands.getResultsTable();
    for (int c : {1, 8, 9}) {
        const int width = results.getColumnWidth(c);
        EXPECT_GT(width, GridModel::DEFAULT_COLUMN_WIDTH) << "column " << c;
        results.autoSizeColumn(c);
        EXPECT_EQ(results.getColumnWidth(c), width) << "column " << c << " was already fitted";
    }
    for (int c : {0, 2, 3, 7})
        EXPECT_EQ(results.getColumnWidth(c), GridModel::DEFAULT_COLUMN_WIDTH) << "column " << c;
}

TEST(ComputeStatistics, EveryEngineComputesTheSameResults)
{
    UserSession session('.', 3);
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    ASSERT_EQ(session.commands.getEngineCount(), 3);
    const Anova& first = session.commands.getEngine(0);
    for (int i = 1; i < 3; ++i) {
        const Anova& engine = session.commands.getEngine(i);
        EXPECT_EQ(engine.effectName(), "A x B x C");
        EXPECT_EQ(engine.getWilksTest().F, first.getWilksTest().F);
        EXPECT_EQ(engine.getUnivariateTest().ggP, first.getUnivariateTest().ggP);
    }
}

TEST(ComputeStatistics, ReplacesTheBlocksOfTheRunBefore)
{
    UserSession session;
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    const Texts first = allTexts(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    EXPECT_EQ(allTexts(session), first);
}

TEST(ComputeStatistics, RemovesEmptyRowsAndColumnsOfTheDataTable)
{
    UserSession session;
    typeMixedDesign(session);
    UserGridCtrl& data = session.commands.getDataTable();
    data.insertDataRow(3);
    data.insertColumn(data.toGridColumn(1));
    session.typeColumn(2, "between", "unused", {});
    ASSERT_TRUE(session.commands.computeStatistics());
    EXPECT_EQ(data.getDataRowCount(), 8);
    EXPECT_EQ(data.getDataColumnCount(), 5);
    EXPECT_EQ(data.getText(3, -1), "4");
    EXPECT_EQ(data.getText(3, 0), "5.5") << "the row after the empty one moved up";
    EXPECT_EQ(session.commands.getDesign().getY().getRows(), 8);
}

TEST(ComputeStatistics, FailedCheckLeavesTheResultsOfTheRunBefore)
{
    UserSession session;
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    const Texts before = allTexts(session);
    session.typeColumn(3, "1, 2", "", {});
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeMessages(), Texts{"Column 4 is not named correctly!"});
    EXPECT_EQ(allTexts(session), before);
}

TEST(ComputeStatistics, UnreadableCellShowsTheTablesMessageThenTheComputeFailure)
{
    UserSession session(',');
    typeMixedDesign(session);
    UserGridCtrl& data = session.commands.getDataTable();
    UserSession::type(data, data.toGridRow(5), data.toGridColumn(3), "8.2");
    EXPECT_FALSE(session.commands.computeStatistics());
    ASSERT_EQ(session.sink.messages.size(), 2U);
    EXPECT_EQ(session.sink.messages[0].title, "Veltmark");
    EXPECT_EQ(session.sink.messages[0].text,
              "In your regional settings ',' is selected as decimal separator.");
    EXPECT_EQ(session.sink.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(session.sink.messages[1].title, "Error");
    EXPECT_EQ(session.sink.messages[1].text, CANNOT_COMPUTE);
    EXPECT_EQ(session.sink.messages[1].icon, MessageIcon::Error);
    EXPECT_EQ(session.commands.getResultsTable().getRowCount(), 0);
    const int row = data.toGridRow(5);
    const int column = data.toGridColumn(3);
    EXPECT_EQ(data.getSelectedRange(), (CellRange{row, column, row, column}));
}

TEST(ComputeStatistics, FailureAtTheThirdEffectLeavesTheBlocksOfTheFirstTwo)
{
    UserSession session(',');
    typeMixedDesign(session);
    UserGridCtrl& data = session.commands.getDataTable();
    const GeneralGridCtrl& results = session.commands.getResultsTable();
    // The data table is read again for every effect. A view that, once two blocks are
    // shown, puts a foreign separator into a cell makes the reading of the third fail.
    data.setRepaintHandler([&] {
        if (results.getDataRowCount() == 14)
            data.setText(0, 0, "5.1");
    });
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(results.getDataRowCount(), 14);
    EXPECT_EQ(effectNames(results), (Texts{"C", "B"}));
    EXPECT_EQ(session.takeMessages(),
              (Texts{"In your regional settings ',' is selected as decimal separator.",
                     CANNOT_COMPUTE}));
}

TEST(ComputeStatistics, GroupCombinationWithoutParticipantsEndsTheCommand)
{
    UserSession session;
    session.typeWithinVariable(0, "time", "2");
    session.typeColumn(0, "between", "sex", {"1", "1", "1", "1", "2", "2", "2"});
    session.typeColumn(1, "between", "dose", {"1", "1", "2", "2", "1", "1", "1"});
    session.typeColumn(2, "1", "t1", {"4.1", "5.2", "3.9", "6.0", "5.5", "4.4", "5.0"});
    session.typeColumn(3, "2", "t2", {"5.0", "6.1", "5.2", "6.3", "7.0", "5.9", "6.2"});
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeMessages(), Texts{CANNOT_COMPUTE});
    EXPECT_EQ(session.commands.getResultsTable().getRowCount(), 0);
    EXPECT_EQ(session.commands.getResultsTable().getColumnCount(), 0);

    // The fourth group combination gets a participant in a new row (the compute removed
    // the empty ones): now everything is computed.
    ASSERT_TRUE(session.commands.insertRow());
    UserGridCtrl& data = session.commands.getDataTable();
    for (int c = 0; c < 4; ++c) {
        UserSession::type(data, data.toGridRow(7), data.toGridColumn(c),
                          Texts{"2", "2", "4.8", "6.6"}[static_cast<std::size_t>(c)]);
    }
    EXPECT_TRUE(session.commands.computeStatistics());
    EXPECT_TRUE(session.sink.messages.empty());
    EXPECT_EQ(session.commands.getResultsTable().getDataRowCount(), 7 * 7);
}

TEST(ComputeStatistics, BetweenColumnWithoutDataIsNoVariable)
{
    UserSession plain;
    typeOneWithinDesign(plain);
    ASSERT_TRUE(plain.commands.computeStatistics());

    UserSession withEmptyGroup;
    typeOneWithinDesign(withEmptyGroup);
    UserGridCtrl& data = withEmptyGroup.commands.getDataTable();
    data.insertColumn(data.toGridColumn(0));
    withEmptyGroup.typeColumn(1, "between", "group", {});
    withEmptyGroup.typeColumn(4, "between", "", {});
    ASSERT_TRUE(withEmptyGroup.commands.computeStatistics());
    EXPECT_TRUE(withEmptyGroup.sink.messages.empty());

    EXPECT_EQ(withEmptyGroup.commands.getEffectTable().getCols(), 1);
    EXPECT_EQ(withEmptyGroup.commands.getDesign().getBetweenCount(), 1) << "the implicit group";
    EXPECT_EQ(allTexts(withEmptyGroup), allTexts(plain));
}
