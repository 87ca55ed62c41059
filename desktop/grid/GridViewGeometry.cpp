// Where the cells of the model lie on screen: the fixed rows and columns at the top and
// left, the rest shifted by the scroll bars, which count pixels of the scrolling part.
#include "desktop/grid/GridView.h"

#include "grid/GridModel.h"

#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int HORIZONTAL_SCROLL_STEP = 20;

} // namespace

int GridView::getFixedHeight() const
{
    int height = 0;
    for (int row = 0; row < model.getFixedRowCount(); ++row)
        height += model.getRowHeight(row);
    return height;
}

int GridView::getFixedWidth() const
{
    int width = 0;
    for (int column = 0; column < model.getFixedColumnCount(); ++column)
        width += model.getColumnWidth(column);
    return width;
}

int GridView::getRowTop(int row) const
{
    int top = 0;
    for (int r = 0; r < row; ++r)
        top += model.getRowHeight(r);
    if (row >= model.getFixedRowCount())
        top -= verticalScrollBar()->value();
    return top;
}

int GridView::getColumnLeft(int column) const
{
    int left = 0;
    for (int c = 0; c < column; ++c)
        left += model.getColumnWidth(c);
    if (column >= model.getFixedColumnCount())
        left -= horizontalScrollBar()->value();
    return left;
}

QRect GridView::getCellRect(int row, int column) const
{
    if (!model.isValid(row, column))
        return {};
    return {getColumnLeft(column), getRowTop(row), model.getColumnWidth(column),
            model.getRowHeight(row)};
}

int GridView::rowAt(int y) const
{
    if (y < 0)
        return -1;
    const int fixedRows = model.getFixedRowCount();
    // Above the fixed height only the fixed rows can be hit; below it they are not there.
    const bool inFixedRows = y < getFixedHeight();
    const int first = inFixedRows ? 0 : fixedRows;
    const int end = inFixedRows ? fixedRows : model.getRowCount();
    int top = getRowTop(first);
    for (int row = first; row < end; ++row) {
        const int height = model.getRowHeight(row);
        if (y >= top && y < top + height)
            return row;
        top += height;
    }
    return -1;
}

int GridView::columnAt(int x) const
{
    if (x < 0)
        return -1;
    const int fixedColumns = model.getFixedColumnCount();
    const bool inFixedColumns = x < getFixedWidth();
    const int first = inFixedColumns ? 0 : fixedColumns;
    const int end = inFixedColumns ? fixedColumns : model.getColumnCount();
    int left = getColumnLeft(first);
    for (int column = first; column < end; ++column) {
        const int width = model.getColumnWidth(column);
        if (x >= left && x < left + width)
            return column;
        left += width;
    }
    return -1;
}

CellPosition GridView::cellAt(QPoint point) const
{
    const int row = rowAt(point.y());
    const int column = columnAt(point.x());
    if (row < 0 || column < 0)
        return {};
    return {row, column};
}

int GridView::getFirstVisibleRow() const
{
    for (int row = model.getFixedRowCount(); row < model.getRowCount(); ++row) {
        if (model.getRowHeight(row) > 0)
            return row;
    }
    return -1;
}

int GridView::getFirstVisibleColumn() const
{
    for (int column = model.getFixedColumnCount(); column < model.getColumnCount(); ++column) {
        if (model.getColumnWidth(column) > 0)
            return column;
    }
    return -1;
}

void GridView::updateScrollBars()
{
    int contentHeight = 0;
    for (int row = model.getFixedRowCount(); row < model.getRowCount(); ++row)
        contentHeight += model.getRowHeight(row);
    int contentWidth = 0;
    for (int column = model.getFixedColumnCount(); column < model.getColumnCount(); ++column)
        contentWidth += model.getColumnWidth(column);
    const int areaHeight = std::max(0, viewport()->height() - getFixedHeight());
    const int areaWidth = std::max(0, viewport()->width() - getFixedWidth());
    verticalScrollBar()->setRange(0, std::max(0, contentHeight - areaHeight));
    verticalScrollBar()->setPageStep(areaHeight);
    verticalScrollBar()->setSingleStep(GridModel::DEFAULT_ROW_HEIGHT);
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth - areaWidth));
    horizontalScrollBar()->setPageStep(areaWidth);
    horizontalScrollBar()->setSingleStep(HORIZONTAL_SCROLL_STEP);
}

void GridView::scrollToCell(CellPosition cell)
{
    if (!model.isValid(cell.row, cell.column))
        return;
    updateScrollBars();
    // Positions within the scrolling part, independent of the current scroll values.
    if (cell.row >= model.getFixedRowCount()) {
        const int top = getRowTop(cell.row) + verticalScrollBar()->value() - getFixedHeight();
        const int bottom = top + model.getRowHeight(cell.row);
        const int area = std::max(0, viewport()->height() - getFixedHeight());
        QScrollBar* bar = verticalScrollBar();
        if (top < bar->value() || bottom - top > area)
            bar->setValue(top);
        else if (bottom > bar->value() + area)
            bar->setValue(bottom - area);
    }
    if (cell.column >= model.getFixedColumnCount()) {
        const int left =
            getColumnLeft(cell.column) + horizontalScrollBar()->value() - getFixedWidth();
        const int right = left + model.getColumnWidth(cell.column);
        const int area = std::max(0, viewport()->width() - getFixedWidth());
        QScrollBar* bar = horizontalScrollBar();
        if (left < bar->value() || right - left > area)
            bar->setValue(left);
        else if (right > bar->value() + area)
            bar->setValue(right - area);
    }
}

void GridView::followModel()
{
    updateScrollBars();
    if (model.getScrollRequestCount() != followedScrollRequests) {
        followedScrollRequests = model.getScrollRequestCount();
        scrollToCell(model.getScrollTarget());
    }
    if (isEditing() && !model.isValid(editedCell.row, editedCell.column))
        closeEditor();
    placeEditor();
    viewport()->update();
}
