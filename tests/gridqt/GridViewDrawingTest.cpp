#include "ViewTestSupport.h"

#include "grid/GridModel.h"
#include "grid/qt/GridView.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace {

/// A shown view, 420 x 260 pixels, of a model of 40 rows by 10 columns with one fixed row
/// and one fixed column holding numbers, every column 80 and every row 25 pixels.
class GridViewDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        model.setRowCount(40);
        model.setColumnCount(10);
        model.setFixedRowCount(1);
        model.setFixedColumnCount(1);
        for (int column = 1; column < 10; ++column)
            model.setCellText(0, column, std::to_string(column));
        for (int row = 1; row < 40; ++row)
            model.setCellText(row, 0, std::to_string(row));
        view.resize(420, 260);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    GridModel model;
    GridView view{model};
};

/// Counts the paint events of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

TEST_F(GridViewDrawing, ARepaintOfTheModelShowsTheTextInItsCellOnly)
{
    PaintCounter counter;
    view.viewport()->installEventFilter(&counter);
    QCoreApplication::processEvents();
    const int before = counter.paints;
    model.setCellText(2, 2, "8888");
    model.repaint();
    QCoreApplication::processEvents();
    EXPECT_GT(counter.paints, before);
    const QImage image = viewportImage(view);
    EXPECT_GT(inkPixels(image, view.cellRect(2, 2)), 20);
    EXPECT_EQ(inkPixels(image, view.cellRect(2, 3)), 0);
    EXPECT_GT(inkPixels(image, view.cellRect(0, 3)), 0) << "the column number 3";
    EXPECT_GT(inkPixels(image, view.cellRect(5, 0)), 0) << "the row number 5";
}

TEST_F(GridViewDrawing, CellsShowTheirBackgroundTheSelectionAndHeadersAHeaderColour)
{
    model.setCellBackground(3, 2, {150, 180, 150});
    model.setCellBackground(2, 0, {150, 180, 150});
    model.setSelectedRange({5, 2, 6, 3});
    model.repaint();
    const QImage image = viewportImage(view);
    const auto inside = [&](int row, int column) {
        return image.pixel(view.cellRect(row, column).topLeft() + QPoint(5, 5));
    };
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(inside(3, 2), qRgb(150, 180, 150));
    EXPECT_EQ(inside(2, 0), qRgb(150, 180, 150)) << "a fixed cell the program coloured";
    EXPECT_EQ(inside(3, 3), white);
    EXPECT_NE(inside(0, 3), white) << "an uncoloured fixed cell looks like a header";
    EXPECT_NE(inside(6, 3), white) << "a selected cell is tinted";
    EXPECT_EQ(inside(7, 3), white);
}

TEST_F(GridViewDrawing, FixedRowsAndColumnsStayWhileTheRestScrolls)
{
    for (int column = 1; column < 10; ++column)
        model.setCellBackground(3, column, {255, 0, 0});
    model.repaint();
    const QRect headerBefore = view.cellRect(0, 4);
    const QRect cellBefore = view.cellRect(5, 4);
    // Two and a half rows up: row 3 now lies partly under the fixed row.
    view.verticalScrollBar()->setValue(62);
    view.horizontalScrollBar()->setValue(90);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.cellRect(0, 4).top(), 0);
    EXPECT_EQ(view.cellRect(0, 4).left(), headerBefore.left() - 90);
    EXPECT_EQ(view.cellRect(5, 0).left(), 0);
    EXPECT_EQ(view.cellRect(5, 4).topLeft(), cellBefore.topLeft() - QPoint(90, 62));
    const QImage image = viewportImage(view);
    const QRect red = view.cellRect(3, 4);
    ASSERT_LT(red.top(), 25);
    ASSERT_GT(red.bottom(), 25);
    EXPECT_NE(image.pixel(red.left() + 5, red.top() < 0 ? 10 : red.top() + 2), qRgb(255, 0, 0))
        << "the fixed row covers the scrolled row";
    EXPECT_EQ(image.pixel(red.left() + 5, 30), qRgb(255, 0, 0));
    EXPECT_GT(inkPixels(image, view.cellRect(0, 4)), 0) << "the column number scrolled along";
    EXPECT_EQ(view.cellAt(QPoint(red.left() + 5, 10)), (CellPosition{0, 4}));
}

TEST_F(GridViewDrawing, ColumnWidthsRowHeightsAndHiddenOnesComeFromTheModel)
{
    model.setColumnWidth(2, 130);
    model.setColumnWidth(3, 0);
    model.setRowHeight(4, 40);
    model.setRowHeight(5, 0);
    model.repaint();
    EXPECT_EQ(view.cellRect(1, 2).width(), 130);
    EXPECT_TRUE(view.cellRect(1, 3).isEmpty());
    EXPECT_EQ(view.cellRect(1, 4).left(), view.cellRect(1, 2).right() + 1);
    EXPECT_EQ(view.cellRect(4, 1).height(), 40);
    EXPECT_TRUE(view.cellRect(5, 1).isEmpty());
    EXPECT_EQ(view.cellRect(6, 1).top(), view.cellRect(4, 1).bottom() + 1);
    EXPECT_EQ(view.cellAt(centreOf(view, 6, 4)), (CellPosition{6, 4}));
}

TEST_F(GridViewDrawing, ARequestOfTheProgramScrollsTheCellIntoSightEachTime)
{
    model.ensureCellVisible({35, 9});
    const QRect area = view.viewport()->rect();
    EXPECT_TRUE(area.contains(view.cellRect(35, 9))) << "rect " << view.cellRect(35, 9).top();
    view.verticalScrollBar()->setValue(0);
    view.horizontalScrollBar()->setValue(0);
    model.repaint();
    EXPECT_EQ(view.verticalScrollBar()->value(), 0) << "a repaint does not scroll back";
    model.ensureCellVisible({35, 9});
    EXPECT_TRUE(area.contains(view.cellRect(35, 9))) << "the same cell asked for again";
}
