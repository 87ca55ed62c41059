#include "data/UserGridCtrl.h"
#include "desktop/grid/GridView.h"
#include "tests/support/RecordingMessageSink.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

/// The main window's data table (32 x 17, decimal comma) in a view too small for it.
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

    void TearDown() override { EXPECT_TRUE(sink.messages.empty()); }

    void focus(int r, int c)
    {
        ASSERT_TRUE(table.setFocusCell({table.toGridRow(r), table.toGridColumn(c)}));
        view.scrollToCell(table.getFocusCell());
    }

    QRect focusRect() const { return view.cellRect(table.getFocusCell().row, table.getFocusCell().column); }

    CellRange dataRange(int r1, int c1, int r2, int c2) const
    {
        return {table.toGridRow(r1), table.toGridColumn(c1), table.toGridRow(r2),
                table.toGridColumn(c2)};
    }

    RecordingMessageSink sink;
    UserGridCtrl table{sink, DecimalSeparator(',')};
    GridView view{table};
};

} // namespace

TEST_F(GridViewKeys, EnterAndTabMoveTheFocusAndInTheLastRowOrColumnGrowTheTable)
{
    focus(3, 2);
    QTest::keyClick(&view, Qt::Key_Tab);
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(table.getDataFocusCell(), (CellPosition{4, 3}));
    EXPECT_EQ(table.getSelectedRange(), dataRange(4, 3, 4, 3));
    focus(31, 0);
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(table.getDataRowCount(), 35);
    EXPECT_EQ(table.getDataFocusCell(), (CellPosition{32, 0}));
    EXPECT_TRUE(view.viewport()->rect().contains(focusRect()));
    focus(0, 16);
    QTest::keyClick(&view, Qt::Key_Tab);
    EXPECT_EQ(table.getDataColumnCount(), 20);
    EXPECT_EQ(table.getDataFocusCell(), (CellPosition{0, 17}));
    EXPECT_TRUE(view.viewport()->rect().contains(focusRect()));
}

TEST_F(GridViewKeys, CtrlVPastesTheClipboardAndTheViewShowsTheNewRows)
{
    QGuiApplication::clipboard()->setText("1,5\t2\r\n3\r\n4,25\r\n");
    focus(31, 0);
    QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(table.getDataRowCount(), 34);
    EXPECT_EQ(table.getText(33, 0), "4,25");
    EXPECT_EQ(table.getSelectedRange(), dataRange(31, 0, 33, 1));
}
