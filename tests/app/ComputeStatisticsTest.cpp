// "Compute statistics" from the typed tables to the results table. The numbers, written
// with each kind of decimal separator, are checked against independent values in
// ReferenceResultsTest.
#include "UserSession.h"

#include "app/ResultsTable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char* CANNOT_COMPUTE =
    "Data cannot be computed. Maybe, your sample size is too small.";
/// The data table's own message (its title and icon are the table's tests' concern).
constexpr const char* COMMA_EXPECTED =
    "In your regional settings ',' is selected as decimal separator.";

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

TEST(ComputeStatistics, OneWithinVariableGivesOneBlockOfSevenRowsFittedToItsTexts)
{
    UserSession session;
    typeOneWithinDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    EXPECT_TRUE(session.sink.messages.empty());

    GeneralGridCtrl& results = session.commands.getResultsTable();
    EXPECT_EQ(results.getRowCount(), 7) << "no fixed rows";
    EXPECT_EQ(results.getColumnCount(), 10) << "no fixed columns";
    EXPECT_EQ(session.resultsRow(0), (Texts{"time", "", "value", "F", "df1", "df2", "p",
                                            "noncentr.", "MANOVA exact statistic",
                                            "choose for simulation"}));
    EXPECT_EQ(session.resultsRow(6), Texts(10, ""));
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(results.getCellBackground(0, c), (Colour{150, 180, 150})) << "column " << c;
        EXPECT_EQ(results.getCellBackground(1, c), Colour{}) << "column " << c;
    }
    for (int r = 0; r < 7; ++r) {
        const bool analysis = r >= 1 && r <= 5;
        EXPECT_EQ(results.getCellType(r, 9), analysis ? CellType::TickBox : CellType::Plain) << r;
        EXPECT_FALSE(results.isCellChecked(r, 9)) << "row " << r;
    }
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

TEST(ComputeStatistics, ReplacesTheBlocksOfTheRunBeforeUnlessACheckFails)
{
    UserSession session;
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    const Texts first = allTexts(session);
    ASSERT_TRUE(session.commands.computeStatistics());
    EXPECT_EQ(allTexts(session), first);

    session.typeColumn(3, "1, 2", "", {});
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeErrors(), Texts{"Column 4 is not named correctly!"});
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

TEST(ComputeStatistics, UnreadableCellShowsTheTablesMessageThenTheComputeFailure)
{
    UserSession session(',');
    typeMixedDesign(session);
    UserGridCtrl& data = session.commands.getDataTable();
    UserSession::type(data, data.toGridRow(5), data.toGridColumn(3), "8.2");
    EXPECT_FALSE(session.commands.computeStatistics());
    EXPECT_EQ(session.takeMessages(), (Texts{COMMA_EXPECTED, CANNOT_COMPUTE}));
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
    EXPECT_EQ(effectNames(results), (Texts{"C", "B"}));
    EXPECT_EQ(session.takeMessages(), (Texts{COMMA_EXPECTED, CANNOT_COMPUTE}));
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
    EXPECT_EQ(session.takeErrors(), Texts{CANNOT_COMPUTE});
    EXPECT_EQ(session.commands.getResultsTable().getRowCount(), 0);

    // A participant of the fourth group combination, in a new row (the compute removed the
    // empty ones), makes everything computable.
    ASSERT_TRUE(session.commands.insertRow());
    const Texts participant{"2", "2", "4.8", "6.6"};
    UserGridCtrl& data = session.commands.getDataTable();
    for (int c = 0; c < 4; ++c)
        UserSession::type(data, data.toGridRow(7), data.toGridColumn(c), participant[c]);
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
