// The custom-matrices editor on the mixed design: within cells W11 … W22, groups B1 and B2.
#include "simulation/MatricesEditor.h"
#include "tests/support/UserSession.h"

#include "grid/CellState.h"
#include "numeric/LapackWorkspace.h"
#include "tests/support/TableTexts.h"

#include <gtest/gtest.h>

TEST(MatricesEditor, ShowsSixDigitsKeepsEveryUneditedValueExactAndMirrorsTheCorrelations)
{
    UserSession session;
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.checkWithinVariables());
    ASSERT_TRUE(session.commands.readDesign());
    LapackWorkspace lapack;
    RealMatrix means(2, 4, &lapack);
    RealMatrix sds(2, 4, &lapack);
    RealMatrix correlations(4, 4, &lapack);
    means.set(0, 0, 1234.5);
    means.set(1, 3, 23.123456789);
    sds.set(0, 1, 1.0 + 1 / 7.0);
    SimulationMatricesGridCtrl grid{DecimalSeparator(',')};
    MatricesEditor editor(means, sds, correlations, session.commands.getDesign(), grid);
    EXPECT_EQ(rowTexts(grid, -1), (Texts{"W11", "W12", "W21", "W22"}));
    EXPECT_EQ(columnTexts(grid, -1), (Texts{"B1", "B2"}));
    EXPECT_EQ(grid.getText(0, 0), "1234,5");
    EXPECT_EQ(grid.getText(1, 3), "23,1235");
    // An edit starts from the full value, which reads back to the same double.
    EXPECT_EQ(grid.getEditText(grid.toGridRow(1), grid.toGridColumn(3)), "23,123456789");
    EXPECT_EQ(grid.getEditText(grid.toGridRow(-1), grid.toGridColumn(0)), "W11");
    editor.selectTab(MatricesEditor::SdsTab);
    EXPECT_EQ(grid.getEditText(grid.toGridRow(0), grid.toGridColumn(1)), "1,1428571428571428");
    editor.selectTab(MatricesEditor::CorrelationsTab);
    EXPECT_EQ(means.get(0, 0), 1234.5) << "visited, not edited: exact";
    EXPECT_EQ(means.get(1, 3), 23.123456789);
    EXPECT_EQ(sds.get(0, 1), 1.0 + 1 / 7.0);
    const auto typeInto = [&grid](int r, int c, const std::string& typed) {
        return grid.beginEdit(grid.toGridRow(r), grid.toGridColumn(c)) &&
               grid.endEdit(grid.toGridRow(r), grid.toGridColumn(c), typed);
    };
    ASSERT_TRUE(typeInto(0, 1, "0,5"));
    EXPECT_EQ(grid.getText(1, 0), "0,5");
    EXPECT_FALSE(typeInto(2, 2, "0,3"));
    EXPECT_NE(grid.getCellState(grid.toGridRow(2), grid.toGridColumn(2)) & CellState::ReadOnly, 0u);
    editor.selectTab(MatricesEditor::MeansTab);
    // Retyping the shown text keeps what it shows; the full text keeps the exact value.
    ASSERT_TRUE(typeInto(0, 0, "1234,5"));
    ASSERT_TRUE(typeInto(1, 3, "23,123456789"));
    ASSERT_TRUE(typeInto(1, 0, "7,25"));
    editor.accept();
    EXPECT_EQ(means.get(0, 0), 1234.5);
    EXPECT_EQ(means.get(1, 3), 23.123456789);
    EXPECT_EQ(means.get(1, 0), 7.25);
    EXPECT_EQ(correlations.get(1, 0), 0.5);
    EXPECT_EQ(correlations.get(0, 1), 0.5);
}
