#include "grid/GridModel.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace {

// The model knows no font; autoSizeColumn estimates a text's width from its length.
constexpr int CHARACTER_WIDTH = 7;
constexpr int CELL_PADDING = 10;
constexpr int TICK_BOX_WIDTH = 20;
constexpr int MINIMUM_AUTO_WIDTH = 20;

std::size_t toIndex(int i)
{
    return static_cast<std::size_t>(i);
}

const GridCell NEUTRAL_CELL;

} // namespace

bool GridModel::setRowCount(int count)
{
    if (count < 0)
        return false;
    cells.resize(toIndex(count), std::vector<GridCell>(toIndex(columnCount)));
    rowHeights.resize(toIndex(count), DEFAULT_ROW_HEIGHT);
    fixedRowCount = std::min(fixedRowCount, count);
    keepFocusAndSelectionInside();
    return true;
}

bool GridModel::setColumnCount(int count)
{
    if (count < 0)
        return false;
    for (std::vector<GridCell>& row : cells)
        row.resize(toIndex(count));
    columnWidths.resize(toIndex(count), DEFAULT_COLUMN_WIDTH);
    columnCount = count;
    fixedColumnCount = std::min(fixedColumnCount, count);
    keepFocusAndSelectionInside();
    return true;
}

bool GridModel::setFixedRowCount(int count)
{
    if (count < 0)
        return false;
    if (count > getRowCount())
        setRowCount(count);
    fixedRowCount = count;
    keepFocusAndSelectionInside();
    return true;
}

bool GridModel::setFixedColumnCount(int count)
{
    if (count < 0)
        return false;
    if (count > columnCount)
        setColumnCount(count);
    fixedColumnCount = count;
    keepFocusAndSelectionInside();
    return true;
}

bool GridModel::isValid(int row, int column) const
{
    if (row < 0 || row >= getRowCount())
        return false;
    return column >= 0 && column < columnCount;
}

bool GridModel::isFixed(int row, int column) const
{
    return row < fixedRowCount || column < fixedColumnCount;
}

int GridModel::appendRow(const std::string& headerText)
{
    const int row = getRowCount();
    setRowCount(row + 1);
    setCellText(row, 0, headerText);
    return row;
}

bool GridModel::insertRowAt(int row)
{
    if (row < 0 || row > getRowCount())
        return false;
    cells.insert(cells.begin() + row, std::vector<GridCell>(toIndex(columnCount)));
    rowHeights.insert(rowHeights.begin() + row, DEFAULT_ROW_HEIGHT);
    if (row < fixedRowCount)
        ++fixedRowCount;
    return true;
}

bool GridModel::insertColumnAt(int column)
{
    if (column < 0 || column > columnCount)
        return false;
    for (std::vector<GridCell>& row : cells)
        row.insert(row.begin() + column, GridCell());
    columnWidths.insert(columnWidths.begin() + column, DEFAULT_COLUMN_WIDTH);
    ++columnCount;
    if (column < fixedColumnCount)
        ++fixedColumnCount;
    return true;
}

bool GridModel::deleteRow(int row)
{
    if (row < 0 || row >= getRowCount())
        return false;
    cells.erase(cells.begin() + row);
    rowHeights.erase(rowHeights.begin() + row);
    if (row < fixedRowCount)
        --fixedRowCount;
    keepFocusAndSelectionInside();
    return true;
}

bool GridModel::deleteColumn(int column)
{
    if (column < 0 || column >= columnCount)
        return false;
    for (std::vector<GridCell>& row : cells)
        row.erase(row.begin() + column);
    columnWidths.erase(columnWidths.begin() + column);
    --columnCount;
    if (column < fixedColumnCount)
        --fixedColumnCount;
    keepFocusAndSelectionInside();
    return true;
}

void GridModel::removeAllCells()
{
    cells.clear();
    rowHeights.clear();
    columnWidths.clear();
    columnCount = 0;
    fixedRowCount = 0;
    fixedColumnCount = 0;
    focusCell = CellPosition();
    selectedRange = CellRange();
    scrollTarget = CellPosition();
}

const std::string& GridModel::getCellText(int row, int column) const
{
    const GridCell* cell = getCell(row, column);
    return cell != nullptr ? cell->text : NEUTRAL_CELL.text;
}

std::string GridModel::getEditText(int row, int column) const
{
    return getCellText(row, column);
}

void GridModel::setCellText(int row, int column, std::string text)
{
    if (GridCell* cell = getCell(row, column))
        cell->text = std::move(text);
}

unsigned GridModel::getCellState(int row, int column) const
{
    const GridCell* cell = getCell(row, column);
    if (cell == nullptr)
        return CellState::None;
    const unsigned selected = selectedRange.contains(row, column) ? CellState::Selected : 0;
    return cell->state | selected;
}

void GridModel::setCellState(int row, int column, unsigned state)
{
    if (GridCell* cell = getCell(row, column))
        cell->state = state & ~CellState::Selected;
}

Colour GridModel::getCellBackground(int row, int column) const
{
    const GridCell* cell = getCell(row, column);
    return cell != nullptr ? cell->background : NEUTRAL_CELL.background;
}

void GridModel::setCellBackground(int row, int column, Colour colour)
{
    if (GridCell* cell = getCell(row, column))
        cell->background = colour;
}

CellType GridModel::getCellType(int row, int column) const
{
    const GridCell* cell = getCell(row, column);
    return cell != nullptr ? cell->type : NEUTRAL_CELL.type;
}

void GridModel::setCellType(int row, int column, CellType type)
{
    if (GridCell* cell = getCell(row, column))
        cell->type = type;
}

void GridModel::setCellDropDown(int row, int column, std::vector<std::string> options,
                                DropDownStyle style)
{
    GridCell* cell = getCell(row, column);
    if (cell == nullptr)
        return;
    cell->type = CellType::DropDown;
    cell->options = std::move(options);
    cell->dropDownStyle = style;
}

const std::vector<std::string>& GridModel::getCellOptions(int row, int column) const
{
    const GridCell* cell = getCell(row, column);
    return cell != nullptr ? cell->options : NEUTRAL_CELL.options;
}

DropDownStyle GridModel::getCellDropDownStyle(int row, int column) const
{
    const GridCell* cell = getCell(row, column);
    return cell != nullptr ? cell->dropDownStyle : NEUTRAL_CELL.dropDownStyle;
}

bool GridModel::isCellChecked(int row, int column) const
{
    const GridCell* cell = getCell(row, column);
    return cell != nullptr && cell->checked;
}

void GridModel::setCellChecked(int row, int column, bool checked)
{
    if (GridCell* cell = getCell(row, column))
        cell->checked = checked;
}

const std::string& GridModel::getCellToolTip(int row, int column) const
{
    static const std::string none;
    const GridCell* cell = getCell(row, column);
    return cell != nullptr ? cell->toolTip : none;
}

void GridModel::setCellToolTip(int row, int column, std::string text)
{
    if (GridCell* cell = getCell(row, column))
        cell->toolTip = std::move(text);
}

int GridModel::getRowHeight(int row) const
{
    if (row < 0 || row >= getRowCount())
        return 0;
    return rowHeights[toIndex(row)];
}

void GridModel::setRowHeight(int row, int height)
{
    if (row < 0 || row >= getRowCount())
        return;
    if (height < 0)
        return;
    rowHeights[toIndex(row)] = height;
}

int GridModel::getColumnWidth(int column) const
{
    if (column < 0 || column >= columnCount)
        return 0;
    return columnWidths[toIndex(column)];
}

void GridModel::setColumnWidth(int column, int width)
{
    if (column < 0 || column >= columnCount)
        return;
    if (width < 0)
        return;
    columnWidths[toIndex(column)] = width;
}

void GridModel::autoSizeColumn(int column)
{
    if (getColumnWidth(column) == 0)
        return;
    int width = MINIMUM_AUTO_WIDTH;
    for (const std::vector<GridCell>& row : cells) {
        const GridCell& cell = row[toIndex(column)];
        const int textWidth = cell.type == CellType::TickBox
                                  ? TICK_BOX_WIDTH
                                  : static_cast<int>(cell.text.size()) * CHARACTER_WIDTH;
        width = std::max(width, textWidth + CELL_PADDING);
    }
    columnWidths[toIndex(column)] = width;
}

void GridModel::autoSizeColumns()
{
    for (int column = 0; column < columnCount; ++column)
        autoSizeColumn(column);
}

void GridModel::repaint()
{
    if (repaintHandler)
        repaintHandler();
}

GridCell* GridModel::getCell(int row, int column)
{
    if (!isValid(row, column))
        return nullptr;
    return &cells[toIndex(row)][toIndex(column)];
}

const GridCell* GridModel::getCell(int row, int column) const
{
    if (!isValid(row, column))
        return nullptr;
    return &cells[toIndex(row)][toIndex(column)];
}

void GridModel::keepFocusAndSelectionInside()
{
    if (!isValid(focusCell.row, focusCell.column) || isFixed(focusCell.row, focusCell.column))
        focusCell = CellPosition();
    setSelectedRange(selectedRange);
}
