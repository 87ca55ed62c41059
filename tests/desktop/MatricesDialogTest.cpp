// The custom-matrices editor window over the mixed design.
#include "DesktopFixture.h"

#include "grid/qt/GridView.h"
#include "simulation/ui/MatricesDlg.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

namespace {

class MatricesDialogTest : public DesktopFixture {
protected:
    void SetUp() override
    {
        typeMixedDesign(session);
        ASSERT_TRUE(session.commands.checkWithinVariables());
        ASSERT_TRUE(session.commands.readDesign());
        means.resize(2, 4);
        sds.resize(2, 4);
        correlations.resize(4, 4);
        for (int g = 0; g < 2; ++g) {
            for (int c = 0; c < 4; ++c) {
                means.set(g, c, 12.3456 + g + c);
                sds.set(g, c, 2.34567);
            }
        }
        for (int i = 0; i < 4; ++i)
            correlations.set(i, i, 1.0);
    }

    UserSession session;
    LapackWorkspace lapack;
    RealMatrix means{&lapack};
    RealMatrix sds{&lapack};
    RealMatrix correlations{&lapack};
};

} // namespace

TEST_F(MatricesDialogTest, ThreeTabsOverOneGrid)
{
    MatricesDlg dialog(means, sds, correlations, session.commands.getDesign(), DecimalSeparator('.'));
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Matrices");
    auto* tabs = dialog.findChild<QTabBar*>("matrixTabs");
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "Means");
    EXPECT_EQ(tabs->tabText(1), "Standard deviations");
    EXPECT_EQ(tabs->tabText(2), "Correlations (residuals)");
    EXPECT_EQ(dialog.getGrid().getText(0, 0), "12.3");

    tabs->setCurrentIndex(2);
    EXPECT_EQ(dialog.getGrid().getDataRowCount(), 4);
    EXPECT_EQ(dialog.getGrid().getMode(), 2);
    EXPECT_EQ(dialog.getGrid().getText(2, -1), "W21");
    // Leaving the means tab read it back with three digits; the SDs were never shown.
    EXPECT_EQ(means.get(0, 0), 12.3);
    EXPECT_EQ(sds.get(0, 0), 2.34567);
}

TEST_F(MatricesDialogTest, TypedCorrelationIsMirroredAndKeptOnOk)
{
    MatricesDlg dialog(means, sds, correlations, session.commands.getDesign(), DecimalSeparator('.'));
    dialog.show();
    dialog.findChild<QTabBar*>("matrixTabs")->setCurrentIndex(2);
    auto* view = dialog.findChild<GridView*>("matrixGrid");
    SimulationMatricesGridCtrl& grid = dialog.getGrid();
    grid.setFocusCell({grid.toGridRow(0), grid.toGridColumn(1)});
    view->setFocus();
    // The first key opens the in-place editor, which takes the rest.
    QTest::keyClick(view, Qt::Key_0);
    ASSERT_TRUE(view->isEditing());
    QTest::keyClicks(view->getEditor(), ".5");
    QTest::keyClick(view->getEditor(), Qt::Key_Return);
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(grid.getText(1, 0), "0.5");
    // Enter moved in the grid; the window is still open.
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(correlations.get(0, 1), 0.5);
    EXPECT_EQ(correlations.get(1, 0), 0.5);
}

TEST_F(MatricesDialogTest, CancelReadsNothing)
{
    MatricesDlg dialog(means, sds, correlations, session.commands.getDesign(), DecimalSeparator('.'));
    dialog.show();
    SimulationMatricesGridCtrl& grid = dialog.getGrid();
    ASSERT_TRUE(grid.beginEdit(grid.toGridRow(1), grid.toGridColumn(1)));
    ASSERT_TRUE(grid.endEdit(grid.toGridRow(1), grid.toGridColumn(1), "99"));
    QTest::mouseClick(dialog.findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(means.get(1, 1), 12.3456 + 2);
}
