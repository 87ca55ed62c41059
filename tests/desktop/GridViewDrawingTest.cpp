#include "desktop/grid/GridView.h"
#include "grid/GridModel.h"

#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

/// The dark pixels inside a cell, frame and grid lines left out: the ink of its text.
int inkPixels(const QImage& image, const QRect& cell)
{
    const QRect inside = cell.adjusted(4, 4, -4, -4);
    int ink = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            ink += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    }
    return ink;
}

} // namespace

TEST(GridViewDrawing, ShowsTextBackgroundsHeadersAndTheSelection)
{
    GridModel model;
    model.setRowCount(10);
    model.setColumnCount(6);
    model.setFixedRowCount(1);
    model.setFixedColumnCount(1);
    GridView view{model};
    view.resize(420, 260);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    model.setCellText(0, 3, "3");
    model.setCellText(2, 2, "8888");
    model.setCellBackground(3, 2, {150, 180, 150});
    model.setCellBackground(2, 0, {150, 180, 150});
    model.setSelectedRange({5, 2, 6, 3});
    model.repaint();
    const QImage image = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto inside = [&](int row, int column) {
        return image.pixel(view.getCellRect(row, column).topLeft() + QPoint(5, 5));
    };
    EXPECT_GT(inkPixels(image, view.getCellRect(2, 2)), 20);
    EXPECT_EQ(inkPixels(image, view.getCellRect(2, 3)), 0);
    EXPECT_GT(inkPixels(image, view.getCellRect(0, 3)), 0) << "a header's text";
    EXPECT_EQ(inside(3, 2), qRgb(150, 180, 150));
    EXPECT_EQ(inside(2, 0), qRgb(150, 180, 150)) << "a fixed cell the program coloured";
    EXPECT_EQ(inside(3, 3), qRgb(255, 255, 255));
    EXPECT_NE(inside(0, 4), qRgb(255, 255, 255)) << "a header colour";
    EXPECT_NE(inside(6, 3), qRgb(255, 255, 255)) << "a selected cell is tinted";
}

// A cell's tool tip shows while the pointer rests on it; a cell without one shows none.
TEST(GridViewDrawing, ShowsTheToolTipOfTheCellUnderThePointer)
{
    GridModel model;
    model.setRowCount(4);
    model.setColumnCount(4);
    GridView view{model};
    view.resize(420, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    model.setCellToolTip(1, 2, "The error matrix is singular.");
    const auto rest = [&](int row, int column) {
        const QPoint point = view.getCellRect(row, column).center();
        QHelpEvent help(QEvent::ToolTip, point, view.viewport()->mapToGlobal(point));
        QCoreApplication::sendEvent(view.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string();
    };
    EXPECT_EQ(rest(2, 2), "");
    EXPECT_EQ(rest(1, 2), "The error matrix is singular.");
}
