// The custom-matrices editor on the mixed design of UserSession: within variables B and C
// with two levels each (within combinations W11, W12, W21, W22), groups A = 1 and A = 2.
#include "app/MatricesEditor.h"
#include "UserSession.h"

#include "grid/CellState.h"
#include "numeric/LapackWorkspace.h"
#include "tests/tables/TableTexts.h"

#include <gtest/gtest.h>

namespace {

class MatricesEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        typeMixedDesign(session);
        ASSERT_TRUE(session.commands.checkWithinVariables());
        ASSERT_TRUE(session.commands.readDesign());
        means.resize(2, 4);
        sds.resize(2, 4);
        correlations.resize(4, 4);
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                if (i < 2) {
                    means.set(i, j, 10.0 * (i + 1) + j + 0.123456);
                    sds.set(i, j, 1.0 + j / 7.0);
                }
                correlations.set(i, j, i == j ? 1.0 : 0.25 + 0.01 * (i + j));
            }
        }
    }

    const Design& design() { return session.commands.getDesign(); }
    std::string text(int r, int c) const { return grid.getText(r, c); }
    /// An edit as the user makes it: begin, then end with the text.
    bool typeInto(int r, int c, const std::string& typed)
    {
        if (!grid.beginEdit(grid.toGridRow(r), grid.toGridColumn(c)))
            return false;
        return grid.endEdit(grid.toGridRow(r), grid.toGridColumn(c), typed);
    }

    UserSession session;
    LapackWorkspace lapack;
    RealMatrix means{&lapack};
    RealMatrix sds{&lapack};
    RealMatrix correlations{&lapack};
    SimulationMatricesGridCtrl grid{DecimalSeparator('.')};
};

} // namespace

TEST_F(MatricesEditorTest, MeansTabShowsGroupsByWithinCells)
{
    MatricesEditor editor(means, sds, correlations, design(), grid);
    EXPECT_EQ(editor.getCurrentTab(), MatricesEditor::MeansTab);
    EXPECT_EQ(grid.getMode(), MatricesEditor::MeansTab);
    EXPECT_EQ(rowTexts(grid, -1), (Texts{"W11", "W12", "W21", "W22"}));
    EXPECT_EQ(columnTexts(grid, -1), (Texts{"B1", "B2"}));
    EXPECT_EQ(text(0, 0), "10.1");
    EXPECT_EQ(text(1, 3), "23.1");
    EXPECT_EQ(grid.getCellBackground(grid.toGridRow(-1), grid.toGridColumn(2)),
              GeneralGridCtrl::HEADER_COLOUR);
    EXPECT_EQ(grid.getCellBackground(grid.toGridRow(1), grid.toGridColumn(-1)),
              GeneralGridCtrl::HEADER_COLOUR);
}

TEST_F(MatricesEditorTest, OkWithoutEditingKeepsThreeDigitsOfTheVisitedTabOnly)
{
    MatricesEditor editor(means, sds, correlations, design(), grid);
    editor.accept();
    EXPECT_EQ(means.get(0, 0), 10.1);
    EXPECT_EQ(means.get(1, 2), 22.1);
    // Never shown: full precision.
    EXPECT_EQ(sds.get(0, 1), 1.0 + 1 / 7.0);
    EXPECT_EQ(correlations.get(0, 1), 0.25 + 0.01 * (0 + 1));
}

TEST_F(MatricesEditorTest, CorrelationEditsAreMirroredAndTheDiagonalIsFixed)
{
    MatricesEditor editor(means, sds, correlations, design(), grid);
    editor.selectTab(MatricesEditor::CorrelationsTab);
    EXPECT_EQ(grid.getMode(), SimulationMatricesGridCtrl::CORRELATION_MODE);
    EXPECT_EQ(columnTexts(grid, -1), (Texts{"W11", "W12", "W21", "W22"}));
    EXPECT_EQ(text(3, 3), "1");
    ASSERT_TRUE(typeInto(0, 1, "0.5"));
    EXPECT_EQ(text(1, 0), "0.5");
    EXPECT_FALSE(typeInto(2, 2, "0.3"));
    EXPECT_NE(grid.getCellState(grid.toGridRow(2), grid.toGridColumn(2)) & CellState::ReadOnly, 0u);
    EXPECT_EQ(grid.getCellBackground(grid.toGridRow(2), grid.toGridColumn(2)),
              MatricesEditor::DIAGONAL_COLOUR);
    editor.accept();
    EXPECT_EQ(correlations.get(0, 1), 0.5);
    EXPECT_EQ(correlations.get(1, 0), 0.5);
    EXPECT_EQ(correlations.get(2, 2), 1.0);
}

TEST_F(MatricesEditorTest, LeavingATabReadsItBack)
{
    MatricesEditor editor(means, sds, correlations, design(), grid);
    ASSERT_TRUE(typeInto(1, 0, "7.25"));
    ASSERT_TRUE(typeInto(0, 3, "abc"));
    editor.selectTab(MatricesEditor::SdsTab);
    EXPECT_EQ(means.get(1, 0), 7.25);
    EXPECT_EQ(means.get(0, 3), 0.0);
    EXPECT_EQ(grid.getMode(), MatricesEditor::SdsTab);
    EXPECT_EQ(columnTexts(grid, -1), (Texts{"B1", "B2"}));
    EXPECT_EQ(text(0, 1), "1.14");
    // Edits of the means tab in means mode are not mirrored.
    editor.selectTab(MatricesEditor::MeansTab);
    EXPECT_EQ(text(1, 0), "7.25");
    EXPECT_EQ(text(0, 1), "11.1");
}

TEST(MatricesEditorLabels, DesignWithoutGroupsHasTheOneGroupB1)
{
    UserSession single;
    typeOneWithinDesign(single);
    ASSERT_TRUE(single.commands.checkWithinVariables());
    ASSERT_TRUE(single.commands.readDesign());
    EXPECT_EQ(MatricesEditor::groupLabel(single.commands.getDesign(), 0), "B1");
    EXPECT_EQ(MatricesEditor::withinLabel(single.commands.getDesign(), 2), "W3");
}

TEST(MatricesEditorLabels, TwoDigitLevelsAreSeparated)
{
    // Within variables of 2 and 12 levels, one column per combination in
    // levelCombinations order, three participants.
    LapackWorkspace lapack;
    const int columns = 24;
    RealMatrix data(3, columns, &lapack);
    GeneralMatrix<int> columnLevels(2, columns);
    std::vector<std::string> names;
    for (int c = 0; c < columns; ++c) {
        columnLevels.set(0, c, c / 12 + 1);
        columnLevels.set(1, c, c % 12 + 1);
        names.push_back(std::to_string(c));
        for (int r = 0; r < 3; ++r)
            data.set(r, c, r * r + c);
    }
    Design wide;
    ASSERT_TRUE(wide.build(data, names, {}, {"a", "b"}, {2, 12}, columnLevels));
    EXPECT_EQ(MatricesEditor::withinLabel(wide, 0), "W1.1");
    EXPECT_EQ(MatricesEditor::withinLabel(wide, 11), "W1.12");
    EXPECT_EQ(MatricesEditor::withinLabel(wide, 12), "W2.1");
    EXPECT_EQ(MatricesEditor::groupLabel(wide, 0), "B1");
}
