#include "CountingMessageSink.h"
#include "RecordingGrid.h"
#include "ViewTestSupport.h"

#include "data/UserGridCtrl.h"
#include "grid/qt/GridView.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

/// Records the keys that reach it, as the window around a table would see them.
class KeyRecordingHost : public QWidget {
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
};

/// A view inside a host window, over a model of 8 rows by 6 columns with one fixed row and
/// one fixed column; the focus stands on cell (2, 2).
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
        auto* layout = new QVBoxLayout(&host);
        layout->addWidget(view);
        host.resize(520, 300);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        view->setFocus();
    }

    RecordingGrid model;
    KeyRecordingHost host;
    GridView* view = new GridView(model, &host);
};

} // namespace

TEST_F(GridViewEditing, TypingStartsAnEditThatEndsInTheModelOnEnter)
{
    QTest::keyClick(view, Qt::Key_4);
    ASSERT_TRUE(view->isEditing());
    auto* line = qobject_cast<QLineEdit*>(view->getEditor());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), QString("4")) << "the typed character replaces the text";
    QTest::keyClicks(line, ",5");
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_FALSE(view->isEditing());
    ASSERT_EQ(model.beginEditCalls.size(), 1u);
    EXPECT_EQ(model.endEditCalls, (std::vector<RecordingGrid::Call>{{2, 2, "4,5"}}));
    EXPECT_EQ(model.getCellText(2, 2), "4,5");
    EXPECT_NE(model.getCellState(2, 2) & CellState::Modified, 0u);
    EXPECT_EQ(model.getFocusCell(), (CellPosition{3, 2}))
        << "Enter moves down like the model's Down";
    EXPECT_EQ(QApplication::focusWidget(), view) << "the keys go on to the grid";
}

TEST_F(GridViewEditing, F2EditsTheTextAndTabEndsTheEditMovingRight)
{
    QTest::keyClick(view, Qt::Key_F2);
    auto* line = qobject_cast<QLineEdit*>(view->getEditor());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), QString("old"));
    QTest::keyClicks(line, "er");
    QTest::keyClick(line, Qt::Key_Tab);
    EXPECT_EQ(model.getCellText(2, 2), "older");
    EXPECT_EQ(model.getFocusCell(), (CellPosition{2, 3}));
    EXPECT_EQ(QApplication::focusWidget(), view) << "Tab stays in the table";
}

TEST_F(GridViewEditing, ClickingAnotherCellEndsTheEdit)
{
    QTest::keyClick(view, Qt::Key_F2);
    auto* line = qobject_cast<QLineEdit*>(view->getEditor());
    ASSERT_NE(line, nullptr);
    line->setText("7");
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centreOf(*view, 4, 3));
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(model.endEditCalls, (std::vector<RecordingGrid::Call>{{2, 2, "7"}}));
    EXPECT_EQ(model.getFocusCell(), (CellPosition{4, 3}));
}

TEST_F(GridViewEditing, EscapeCancelsAnEditWithoutReachingTheWindow)
{
    QTest::keyClick(view, Qt::Key_F2);
    QWidget* editor = view->getEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "xyz");
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(view->isEditing());
    EXPECT_TRUE(model.endEditCalls.empty());
    EXPECT_EQ(model.getCellText(2, 2), "old");
    EXPECT_TRUE(host.keys.empty()) << "the Escape of an edit is the grid's";
}

TEST_F(GridViewEditing, EscapeWithoutAnEditIsLeftToTheWindow)
{
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_EQ(host.keys, (std::vector<int>{Qt::Key_Escape}));
    EXPECT_EQ(model.getFocusCell(), (CellPosition{2, 2}));
}

TEST_F(GridViewEditing, EnterWithoutAnEditStaysInTheGrid)
{
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_TRUE(host.keys.empty()) << "a dialog's default button must not see it";
    EXPECT_EQ(model.getFocusCell(), (CellPosition{3, 2}));
}

TEST_F(GridViewEditing, AReadOnlyCellRefusesEveryWayOfEditing)
{
    model.setCellState(2, 2, CellState::ReadOnly);
    QTest::keyClick(view, Qt::Key_7);
    EXPECT_FALSE(view->isEditing());
    QTest::keyClick(view, Qt::Key_F2);
    EXPECT_FALSE(view->isEditing());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centreOf(*view, 2, 2));
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(model.beginEditCalls.size(), 3u) << "the model was asked each time";
    EXPECT_TRUE(model.endEditCalls.empty());
    EXPECT_EQ(model.getCellText(2, 2), "old");
}

TEST_F(GridViewEditing, ADoubleClickEditsTheCellUnderTheMouse)
{
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centreOf(*view, 5, 4));
    ASSERT_TRUE(view->isEditing());
    EXPECT_EQ(view->getEditedCell(), (CellPosition{5, 4}));
    EXPECT_EQ(view->getEditor()->geometry(), view->cellRect(5, 4));
}

TEST_F(GridViewEditing, ATickBoxTogglesOnClickAndSpaceUnlessReadOnly)
{
    model.setCellType(3, 2, CellType::TickBox);
    model.setCellType(3, 3, CellType::TickBox);
    model.setCellState(3, 3, CellState::ReadOnly);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centreOf(*view, 3, 2));
    EXPECT_TRUE(model.isCellChecked(3, 2));
    EXPECT_FALSE(view->isEditing()) << "a tick box has no editor";
    QTest::keyClick(view, Qt::Key_Space);
    EXPECT_FALSE(model.isCellChecked(3, 2));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centreOf(*view, 3, 3));
    EXPECT_FALSE(model.isCellChecked(3, 3));
    QTest::keyClick(view, Qt::Key_Space);
    EXPECT_FALSE(model.isCellChecked(3, 3));
}

TEST_F(GridViewEditing, ATickBoxIsDrawnTickedOrNot)
{
    model.setCellType(3, 2, CellType::TickBox);
    model.setCellType(3, 3, CellType::TickBox);
    model.setCellChecked(3, 2, true);
    model.repaint();
    const QImage image = viewportImage(*view);
    // The same box twice: only the tick differs.
    EXPECT_GT(inkPixels(image, view->cellRect(3, 2)), inkPixels(image, view->cellRect(3, 3)));
}

namespace {

/// The data table as the main window starts it, shown; the within-variables check
/// refills the combination lists, as the main window's does.
class GridViewDataTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.setupTable(32, 17);
        table.setWithinVariablesCheck([this] {
            ++checks;
            table.setComboOptions({"1", "2", "between"});
        });
        view.resize(600, 320);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    }

    CountingMessageSink sink;
    UserGridCtrl table{sink, DecimalSeparator(',')};
    int checks = 0;
    GridView view{table};
};

} // namespace

TEST_F(GridViewDataTable, OpeningACombinationCellRunsTheCheckBeforeItsListIsShown)
{
    const int row = UserGridCtrl::comboRow;
    const int column = table.toGridColumn(0);
    ASSERT_TRUE(table.getCellOptions(row, column).empty());
    const QRect cell = view.cellRect(row, column);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                      QPoint(cell.right() - 3, cell.center().y()));
    auto* combo = qobject_cast<QComboBox*>(view.getEditor());
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(checks, 1);
    ASSERT_EQ(combo->count(), 3) << "the list the check filled in";
    EXPECT_EQ(combo->itemText(2), QString("between"));
    EXPECT_TRUE(combo->isEditable()) << "style 2 takes typed text";
    EXPECT_TRUE(combo->view()->isVisible()) << "a click on the arrow opens the list";
    combo->hidePopup();
    EXPECT_TRUE(view.isEditing()) << "closing the list is not the end of the edit";
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_FALSE(view.isEditing()) << "choosing an entry ends the edit";
    EXPECT_EQ(table.getText(-2, 0), "between");
}

TEST_F(GridViewDataTable, ACombinationCellTakesTypedText)
{
    const int column = table.toGridColumn(1);
    table.setFocusCell({UserGridCtrl::comboRow, column});
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_1);
    auto* combo = qobject_cast<QComboBox*>(view.getEditor());
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(checks, 1);
    QTest::keyClicks(combo->lineEdit(), ", 2");
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_FALSE(view.isEditing());
    EXPECT_EQ(table.getText(-2, 1), "1, 2");
    EXPECT_EQ(table.getCellOptions(UserGridCtrl::comboRow, column).size(), 3u)
        << "a typed text does not join the list";
}
