// The custom-matrices editor window over the mixed design. What a tab shows and reads back
// is checked on MatricesEditor; here, that the tabs, the keys and the buttons reach it.
#include "DesktopFixture.h"

#include "grid/qt/GridView.h"
#include "simulation/ui/MatricesDlg.h"

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
        dialog = std::make_unique<MatricesDlg>(means, sds, correlations,
                                               session.commands.getDesign(), DecimalSeparator('.'));
        dialog->show();
    }

    /// Types text into data cell (row, column) of the shown tab: the first key opens the
    /// in-place editor, which takes the rest; with enter the edit is ended by Enter.
    void typeInto(int row, int column, const QString& text, bool enter)
    {
        auto* view = child<GridView>(*dialog, "matrixGrid");
        SimulationMatricesGridCtrl& grid = dialog->getGrid();
        grid.setFocusCell({grid.toGridRow(row), grid.toGridColumn(column)});
        view->setFocus();
        QTest::keyClick(view, text.at(0).toLatin1());
        ASSERT_TRUE(view->isEditing());
        QTest::keyClicks(view->getEditor(), text.mid(1));
        if (enter) {
            QTest::keyClick(view->getEditor(), Qt::Key_Return);
            EXPECT_FALSE(view->isEditing());
        }
    }

    UserSession session;
    LapackWorkspace lapack;
    RealMatrix means{&lapack};
    RealMatrix sds{&lapack};
    RealMatrix correlations{&lapack};
    std::unique_ptr<MatricesDlg> dialog;
};

} // namespace

TEST_F(MatricesDialogTest, ThreeTabsOverOneGrid)
{
    EXPECT_EQ(dialog->windowTitle(), "Matrices");
    auto* tabs = child<QTabBar>(*dialog, "matrixTabs");
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "Means");
    EXPECT_EQ(tabs->tabText(1), "Standard deviations");
    EXPECT_EQ(tabs->tabText(2), "Correlations (residuals)");
    EXPECT_EQ(dialog->getGrid().getText(0, 0), "12.3");

    // An edit still open when the tab changes is read back with the tab.
    typeInto(1, 1, "77", false);
    tabs->setCurrentIndex(2);
    EXPECT_EQ(dialog->getGrid().getDataRowCount(), 4);
    EXPECT_EQ(means.get(1, 1), 77.0);
    EXPECT_EQ(means.get(0, 0), 12.3);
}

TEST_F(MatricesDialogTest, TypedCorrelationIsMirroredAndKeptOnOk)
{
    child<QTabBar>(*dialog, "matrixTabs")->setCurrentIndex(2);
    typeInto(0, 1, "0.5", true);
    EXPECT_EQ(dialog->getGrid().getText(1, 0), "0.5");
    // Enter moved in the grid; no default button closed the window.
    EXPECT_TRUE(dialog->isVisible());
    QTest::mouseClick(child<QPushButton>(*dialog, "okButton"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(correlations.get(0, 1), 0.5);
    EXPECT_EQ(correlations.get(1, 0), 0.5);
}

TEST_F(MatricesDialogTest, CancelReadsNothing)
{
    typeInto(1, 1, "99", true);
    QTest::mouseClick(child<QPushButton>(*dialog, "cancelButton"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(means.get(1, 1), 12.3456 + 2);
}
