#include "CountingMessageSink.h"
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

/// A grid model that records the texts the view hands to endEdit, and how often it asked
/// beginEdit.
class RecordingGrid : public GridModel {
public:
    struct Call {
        int row;
        int column;
        std::string text;

        friend bool operator==(const Call&, const Call&) = default;
    };

    bool beginEdit(int row, int column) override
    {
        ++beginEdits;
        return GridModel::beginEdit(row, column);
    }

    bool endEdit(int row, int column, const std::string& text) override
    {
        endEditCalls.push_back({row, column, text});
        return GridModel::endEdit(row, column, text);
    }

    int beginEdits = 0;
    std::vector<Call> endEditCalls;
};

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

TEST_F(GridViewEditing, AnEditEndsInTheModelOnEnterOrTab)
{
    // Typing replaces the text and Enter then moves down like the model's Down; F2 edits
    // the text and Tab moves right. Either way the keys go on to the grid.
    struct Case { Qt::Key start; const char* shown; const char* typed; Qt::Key end;
                  const char* result; CellPosition next; };
    for (const Case& c : {Case{Qt::Key_4, "4", ",5", Qt::Key_Return, "4,5", {3, 2}},
                          Case{Qt::Key_F2, "old", "er", Qt::Key_Tab, "older", {2, 3}}}) {
        SCOPED_TRACE(c.result);
        model.setFocusCell({2, 2});
        model.endEditCalls.clear();
        QTest::keyClick(view, c.start);
        auto* line = qobject_cast<QLineEdit*>(view->getEditor());
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->text(), QString(c.shown));
        QTest::keyClicks(line, c.typed);
        QTest::keyClick(line, c.end);
        EXPECT_FALSE(view->isEditing());
        EXPECT_EQ(model.endEditCalls, (std::vector<RecordingGrid::Call>{{2, 2, c.result}}));
        EXPECT_EQ(model.getFocusCell(), c.next);
        EXPECT_EQ(QApplication::focusWidget(), view);
        model.setCellText(2, 2, "old");
    }
}

TEST_F(GridViewEditing, ADoubleClickEditsTheCellUnderTheMouseAndAClickElsewhereEndsIt)
{
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centreOf(*view, 5, 4));
    ASSERT_TRUE(view->isEditing());
    EXPECT_EQ(view->getEditedCell(), (CellPosition{5, 4}));
    EXPECT_EQ(view->getEditor()->geometry(), view->cellRect(5, 4));
    QTest::keyClicks(view->getEditor(), "7");
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centreOf(*view, 4, 3));
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(model.endEditCalls, (std::vector<RecordingGrid::Call>{{5, 4, "7"}}));
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

TEST_F(GridViewEditing, WithoutAnEditEscapeIsTheWindowsAndEnterTheGrids)
{
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_EQ(host.keys, (std::vector<int>{Qt::Key_Escape}));
    EXPECT_EQ(model.getFocusCell(), (CellPosition{2, 2}));
    // A dialog's default button must not see Enter.
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(host.keys, (std::vector<int>{Qt::Key_Escape}));
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
    EXPECT_EQ(model.beginEdits, 3) << "the model was asked each time";
    EXPECT_TRUE(model.endEditCalls.empty());
    EXPECT_EQ(model.getCellText(2, 2), "old");
}

TEST_F(GridViewEditing, ATickBoxTogglesOnClickAndSpaceUnlessReadOnly)
{
    model.setCellType(3, 2, CellType::TickBox);
    model.setCellType(3, 3, CellType::TickBox);
    model.setCellState(3, 3, CellState::ReadOnly);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centreOf(*view, 3, 2));
    EXPECT_TRUE(model.isCellChecked(3, 2));
    EXPECT_FALSE(view->isEditing()) << "a tick box has no editor";
    // The same box twice: only the tick differs.
    const QImage image = viewportImage(*view);
    EXPECT_GT(inkPixels(image, view->cellRect(3, 2)), inkPixels(image, view->cellRect(3, 3)));
    QTest::keyClick(view, Qt::Key_Space);
    EXPECT_FALSE(model.isCellChecked(3, 2));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centreOf(*view, 3, 3));
    QTest::keyClick(view, Qt::Key_Space);
    EXPECT_FALSE(model.isCellChecked(3, 3));
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

    void TearDown() override { EXPECT_EQ(sink.count, 0); }

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
