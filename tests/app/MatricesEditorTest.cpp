// The custom-matrices editor on the mixed design: within cells W11 … W22, groups B1 and B2.
#include "simulation/MatricesEditor.h"
#include "tests/support/UserSession.h"

#include "grid/CellState.h"
#include "numeric/LapackWorkspace.h"
#include "tests/support/TableTexts.h"

#include <gtest/gtest.h>

TEST(MatricesEditor, ShowsThreeDigitsAndReadsBackOnlyTheVisitedTabsWithTheCorrelationsMirrored)
{
    UserSession session;
    typeMixedDesign(session);
    ASSERT_TRUE(session.commands.checkWithinVariables());
    ASSERT_TRUE(session.commands.readDesign());
    LapackWorkspace lapack;
    RealMatrix means(2, 4, &lapack);
    RealMatrix sds(2, 4, &lapack);
    RealMatrix correlations(4, 4, &lapack);
    means.set(1, 3, 23.123456);
    sds.set(0, 1, 1.0 + 1 / 7.0);
    SimulationMatricesGridCtrl grid{DecimalSeparator('.')};
    MatricesEditor editor(means, sds, correlations, session.commands.getDesign(), grid);
    EXPECT_EQ(rowTexts(grid, -1), (Texts{"W11", "W12", "W21", "W22"}));
    EXPECT_EQ(columnTexts(grid, -1), (Texts{"B1", "B2"}));
    EXPECT_EQ(grid.getText(1, 3), "23.1");
    editor.selectTab(MatricesEditor::CorrelationsTab);
    EXPECT_EQ(means.get(1, 3), 23.1) << "read back on leaving the tab";
    const auto typeInto = [&grid](int r, int c, const std::string& typed) {
        return grid.beginEdit(grid.toGridRow(r), grid.toGridColumn(c)) &&
               grid.endEdit(grid.toGridRow(r), grid.toGridColumn(c), typed);
    };
    ASSERT_TRUE(typeInto(0, 1, "0.5"));
    EXPECT_EQ(grid.getText(1, 0), "0.5");
    EXPECT_FALSE(typeInto(2, 2, "0.3"));
    EXPECT_NE(grid.getCellState(grid.toGridRow(2), grid.toGridColumn(2)) & CellState::ReadOnly, 0u);
    editor.accept();
    EXPECT_EQ(correlations.get(1, 0), 0.5);
    EXPECT_EQ(sds.get(0, 1), 1.0 + 1 / 7.0) << "never shown: full precision";
}
