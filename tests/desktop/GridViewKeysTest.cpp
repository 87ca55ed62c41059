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

    QRect focusRect() const
    {
        return view.getCellRect(table.getFocusCell().row, table.getFocusCell().column);
    }

    CellPosition dataCell(int r, int c) const
    {
        return {table.toGridRow(r), table.toGridColumn(c)};
    }

    RecordingMessageSink sink;
    UserGridCtrl table{sink, DecimalSeparator(',')};
    GridView view{table};
};

} // namespace

// Where the table grows is UserGridCtrl's; the view maps the keys and shows the new cells.
TEST_F(GridViewKeys, EnterTabAndCtrlVReachTheTableAndTheViewShowsTheNewCells)
{
    QGuiApplication::clipboard()->setText("1,5\t2\r\n3\r\n4,25\r\n");
    focus(31, 0);
    QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(table.getText(33, 0), "4,25");
    focus(33, 0);
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(table.getFocusCell(), dataCell(34, 0));
    EXPECT_TRUE(view.viewport()->rect().contains(focusRect()));
    focus(0, 16);
    QTest::keyClick(&view, Qt::Key_Tab);
    EXPECT_EQ(table.getFocusCell(), dataCell(0, 17));
    EXPECT_TRUE(view.viewport()->rect().contains(focusRect()));
}
