#include "desktop/grid/GridView.h"
#include "grid/GridModel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <vector>

namespace {

/// The window around a table: records the keys that reach it.
class KeyRecordingHost : public QWidget {
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
};

/// 8 x 6 cells, one fixed row and column, inside a host; the focus on (2, 2) "old".
class GridViewEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        model.setRowCount(8);
        model.setColumnCount(6);
        model.setFixedRowCount(1);
        model.setFixedColumnCount(1);
        model.setCellText(2, 2, "old");
        model.setFocusCell({2, 2});
        (new QVBoxLayout(&host))->addWidget(view);
        host.resize(520, 300);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        view->setFocus();
    }

    GridModel model;
    KeyRecordingHost host;
    GridView* view = new GridView(model, &host);
};

} // namespace

TEST_F(GridViewEditing, TypingOrF2StartsAnEditAndEnterOrTabEndsIt)
{
    struct Case {
        Qt::Key start;
        const char* shown;
        Qt::Key end;
        const char* result;
        CellPosition next;
    };
    for (const Case& c : {Case{Qt::Key_4, "4", Qt::Key_Return, "4,5", {3, 2}},
                          Case{Qt::Key_F2, "old", Qt::Key_Tab, "old,5", {2, 3}}}) {
        SCOPED_TRACE(c.result);
        model.setCellText(2, 2, "old");
        model.setFocusCell({2, 2});
        QTest::keyClick(view, c.start);
        auto* line = qobject_cast<QLineEdit*>(view->getEditor());
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->geometry(), view->getCellRect(2, 2));
        EXPECT_EQ(line->text(), QString(c.shown));
        QTest::keyClicks(line, ",5");
        QTest::keyClick(line, c.end);
        EXPECT_FALSE(view->isEditing());
        EXPECT_EQ(model.getCellText(2, 2), c.result);
        EXPECT_EQ(model.getFocusCell(), c.next);
        EXPECT_EQ(QApplication::focusWidget(), view);
    }
    EXPECT_TRUE(host.keys.empty()) << "Enter and Tab are the grid's, not a default button's";
}

TEST_F(GridViewEditing, EscapeCancelsAnEditAndOnlyWithoutOneReachesTheWindow)
{
    QTest::keyClick(view, Qt::Key_F2);
    ASSERT_TRUE(view->isEditing());
    QTest::keyClicks(view->getEditor(), "xyz");
    QTest::keyClick(view->getEditor(), Qt::Key_Escape);
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(model.getCellText(2, 2), "old");
    EXPECT_TRUE(host.keys.empty());
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_EQ(host.keys, (std::vector<int>{Qt::Key_Escape}));
}
