#include "grid/GridModel.h"

#include <algorithm>
#include <cstddef>
#include <utility>

bool GridModel::setFocusCell(CellPosition cell)
{
    if (cell == CellPosition()) {
        focusCell = cell;
        return true;
    }
    if (!isValid(cell.row, cell.column))
        return false;
    if (isFixed(cell.row, cell.column))
        return false;
    focusCell = cell;
    return true;
}

void GridModel::setSelectedRange(CellRange range)
{
    if (range.isEmpty()) {
        selectedRange = CellRange();
        return;
    }
    CellRange clipped;
    clipped.firstRow = std::max(std::min(range.firstRow, range.lastRow), 0);
    clipped.lastRow = std::min(std::max(range.firstRow, range.lastRow), getRowCount() - 1);
    clipped.firstColumn = std::max(std::min(range.firstColumn, range.lastColumn), 0);
    clipped.lastColumn = std::min(std::max(range.firstColumn, range.lastColumn), columnCount - 1);
    if (clipped.firstRow > clipped.lastRow || clipped.firstColumn > clipped.lastColumn) {
        selectedRange = CellRange();
        return;
    }
    selectedRange = clipped;
}

void GridModel::ensureCellVisible(CellPosition cell)
{
    if (!isValid(cell.row, cell.column))
        return;
    scrollTarget = cell;
    ++scrollRequestCount;
    repaint();
}

void GridModel::keyDown(GridKey key)
{
    onKeyDown(key);
    moveFocus(key);
    repaint();
}

void GridModel::onKeyDown(GridKey)
{
}

bool GridModel::beginEdit(int row, int column)
{
    return isEditable(row, column);
}

bool GridModel::endEdit(int row, int column, const std::string& text)
{
    if (!isEditable(row, column))
        return false;
    setCellText(row, column, text);
    setCellState(row, column, getCellState(row, column) | CellState::Modified);
    modified = true;
    repaint();
    return true;
}

bool GridModel::paste(std::string_view text)
{
    return pasteAt(focusCell, ClipboardText(text));
}

bool GridModel::toggleTickBox(int row, int column)
{
    if (getCellType(row, column) != CellType::TickBox)
        return false;
    if (!beginEdit(row, column))
        return false;
    setCellChecked(row, column, !isCellChecked(row, column));
    setCellState(row, column, getCellState(row, column) | CellState::Modified);
    modified = true;
    repaint();
    return true;
}

bool GridModel::pasteAt(CellPosition origin, const ClipboardText& text)
{
    if (!isValid(origin.row, origin.column))
        return false;
    int row = origin.row;
    int lastRow = -1;
    int lastColumn = -1;
    for (int i = 0; i < text.lineCount() && row >= 0; ++i) {
        int column = origin.column;
        for (const std::string& field : text.line(i)) {
            if (column < 0)
                break;
            if (isEditable(row, column)) {
                setCellText(row, column, field);
                setCellState(row, column, getCellState(row, column) | CellState::Modified);
            }
            lastColumn = std::max(lastColumn, column);
            column = nextVisibleColumn(column, 1);
        }
        lastRow = row;
        row = nextVisibleRow(row, 1);
    }
    if (lastRow >= 0)
        setSelectedRange({origin.row, origin.column, lastRow, lastColumn});
    modified = true;
    repaint();
    return true;
}

bool GridModel::isEditable(int row, int column) const
{
    if (!isValid(row, column))
        return false;
    if (isFixed(row, column))
        return false;
    if (getRowHeight(row) == 0 || getColumnWidth(column) == 0)
        return false;
    return (getCellState(row, column) & CellState::ReadOnly) == 0;
}

int GridModel::nextVisibleRow(int row, int step) const
{
    for (int next = row + step; next >= fixedRowCount && next < getRowCount(); next += step) {
        if (getRowHeight(next) > 0)
            return next;
    }
    return -1;
}

int GridModel::nextVisibleColumn(int column, int step) const
{
    for (int next = column + step; next >= fixedColumnCount && next < columnCount; next += step) {
        if (getColumnWidth(next) > 0)
            return next;
    }
    return -1;
}

void GridModel::moveFocus(GridKey key)
{
    if (focusCell == CellPosition())
        return;
    CellPosition next = focusCell;
    switch (key) {
    case GridKey::Enter:
    case GridKey::Down: next.row = nextVisibleRow(focusCell.row, 1); break;
    case GridKey::Up: next.row = nextVisibleRow(focusCell.row, -1); break;
    case GridKey::Tab:
    case GridKey::Right: next.column = nextVisibleColumn(focusCell.column, 1); break;
    case GridKey::Left: next.column = nextVisibleColumn(focusCell.column, -1); break;
    case GridKey::Escape: return;
    }
    if (next.row < 0 || next.column < 0)
        return;
    focusCell = next;
    setSelectedRange({next.row, next.column, next.row, next.column});
}
