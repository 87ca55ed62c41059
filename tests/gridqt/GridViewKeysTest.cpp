#include "CountingMessageSink.h"
#include "ViewTestSupport.h"

#include "data/UserGridCtrl.h"
#include "grid/qt/GridView.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace {

/// The data table as the main window starts it (32 participants, 17 columns, the comma
/// as decimal separator), shown in a view too small for it.
class GridViewKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.setupTable(32, 17);
        view.resize(600, 320);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
        view.setFocus();
    }

    /// Puts the focus on data cell (r, c) and scrolls it into sight.
    void focus(int r, int c)
    {
        ASSERT_TRUE(table.setFocusCell({table.toGridRow(r), table.toGridColumn(c)}));
        view.scrollToCell(table.getFocusCell());
    }

    bool focusCellIsInSight() const
    {
        const CellPosition cell = table.getFocusCell();
        const QRect rect = view.cellRect(cell.row, cell.column);
        const QRect fixedCorner = view.cellRect(0, 0);
        const QRect area =
            view.viewport()->rect().adjusted(fixedCorner.width(), fixedCorner.height(), 0, 0);
        return area.contains(rect);
    }

    void TearDown() override { EXPECT_EQ(sink.count, 0); }

    CountingMessageSink sink;
    UserGridCtrl table{sink, DecimalSeparator(',')};
    GridView view{table};
};

} // namespace

TEST_F(GridViewKeys, EnterInTheLastRowOrTabInTheLastColumnGrowsTheTableAndTheViewFollows)
{
    const int maximumBefore = view.verticalScrollBar()->maximum();
    focus(31, 0);
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(table.getDataRowCount(), 35);
    EXPECT_EQ(table.getDataFocusCell(), (CellPosition{32, 0}));
    EXPECT_EQ(view.verticalScrollBar()->maximum(),
              maximumBefore + 3 * GridModel::DEFAULT_ROW_HEIGHT);
    EXPECT_TRUE(focusCellIsInSight());
    EXPECT_GT(inkPixels(viewportImage(view), view.cellRect(table.toGridRow(32), 0)), 0)
        << "the new row's number is drawn";

    focus(0, 16);
    QTest::keyClick(&view, Qt::Key_Tab);
    EXPECT_EQ(table.getDataColumnCount(), 20);
    EXPECT_EQ(table.getDataFocusCell(), (CellPosition{0, 17}));
    EXPECT_TRUE(focusCellIsInSight());
}

TEST_F(GridViewKeys, ArrowsAndTabMoveTheFocusCellAndKeepTheKeyboardFocus)
{
    focus(3, 2);
    QTest::keyClick(&view, Qt::Key_Tab);
    EXPECT_EQ(table.getDataFocusCell(), (CellPosition{3, 3}));
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(table.getDataFocusCell(), (CellPosition{4, 4}));
    QTest::keyClick(&view, Qt::Key_Up);
    QTest::keyClick(&view, Qt::Key_Left);
    QTest::keyClick(&view, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(table.getDataFocusCell(), (CellPosition{3, 2}));
    const CellPosition focus = table.getFocusCell();
    EXPECT_EQ(table.getSelectedRange(),
              (CellRange{focus.row, focus.column, focus.row, focus.column}))
        << "Shift+Tab moves back without selecting";
    EXPECT_EQ(QApplication::focusWidget(), &view);
}

TEST_F(GridViewKeys, ShiftWithArrowsExtendsTheSelectionFromTheFocusCell)
{
    focus(2, 1);
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
    const int row = table.toGridRow(2);
    const int column = table.toGridColumn(1);
    EXPECT_EQ(table.getSelectedRange(), (CellRange{row, column, row + 1, column + 1}));
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(table.getSelectedRange(), (CellRange{row + 2, column + 1, row + 2, column + 1}))
        << "a move without Shift selects the new focus cell only";
}

TEST_F(GridViewKeys, CtrlVPastesTheClipboardAndTheViewShowsTheNewRows)
{
    // Pasted at the last row, three lines append rows; the decimal commas stay in their
    // cells.
    QGuiApplication::clipboard()->setText("1,5\t2\r\n3\r\n4,25\r\n");
    focus(31, 0);
    QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(table.getDataRowCount(), 34);
    EXPECT_EQ(table.getText(31, 0), "1,5");
    EXPECT_EQ(table.getText(31, 1), "2");
    EXPECT_EQ(table.getText(33, 0), "4,25");
    const int row = table.toGridRow(31);
    const int column = table.toGridColumn(0);
    EXPECT_EQ(table.getSelectedRange(), (CellRange{row, column, row + 2, column + 1}));
    view.scrollToCell({row + 2, column});
    EXPECT_GT(inkPixels(viewportImage(view), view.cellRect(row + 2, column)), 0);
}

TEST_F(GridViewKeys, AMouseDragSelectsARangeAndAHeaderClickAWholeRow)
{
    const int row = table.toGridRow(1);
    const int column = table.toGridColumn(1);
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, centreOf(view, row, column));
    QTest::mouseMove(view.viewport(), centreOf(view, row + 2, column + 1));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, centreOf(view, row + 2, column + 1));
    EXPECT_EQ(table.getFocusCell(), (CellPosition{row, column}));
    EXPECT_EQ(table.getSelectedRange(), (CellRange{row, column, row + 2, column + 1}));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      centreOf(view, row + 3, column + 2));
    EXPECT_EQ(table.getSelectedRange(), (CellRange{row, column, row + 3, column + 2}));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, centreOf(view, row + 4, 0));
    EXPECT_EQ(table.getSelectedRange(),
              (CellRange{row + 4, 0, row + 4, table.getColumnCount() - 1}));
    EXPECT_EQ(table.getFocusCell(), (CellPosition{row + 4, table.toGridColumn(0)}));
}
