#include "data/GeneralGridCtrl.h"

#include "data/ProjectContent.h"
#include "grid/ClipboardText.h"
#include "numeric/NumberText.h"

#include <algorithm>
#include <cmath>
#include <utility>

GeneralGridCtrl::GeneralGridCtrl(DecimalSeparator separator) : decimalSeparator(separator)
{
}

bool GeneralGridCtrl::setDataRowCount(int n)
{
    if (n < 0)
        return false;
    return setRowCount(toGridRow(n));
}

bool GeneralGridCtrl::setDataColumnCount(int n)
{
    if (n < 0)
        return false;
    return setColumnCount(toGridColumn(n));
}

int GeneralGridCtrl::getDataRowCount() const
{
    return std::max(toDataRow(getRowCount()), 0);
}

int GeneralGridCtrl::getDataColumnCount() const
{
    return std::max(toDataColumn(getColumnCount()), 0);
}

const std::string& GeneralGridCtrl::getText(int r, int c) const
{
    return getCellText(toGridRow(r), toGridColumn(c));
}

void GeneralGridCtrl::setText(int r, int c, std::string text)
{
    setCellText(toGridRow(r), toGridColumn(c), std::move(text));
}

void GeneralGridCtrl::setCellColour(int r, int c, int red, int green, int blue)
{
    setCellBackground(toGridRow(r), toGridColumn(c), {red, green, blue});
}

void GeneralGridCtrl::colourHeaderRow()
{
    for (int column = 0; column < getColumnCount(); ++column)
        setCellBackground(toGridRow(-1), column, HEADER_COLOUR);
}

void GeneralGridCtrl::colourHeaderColumn()
{
    for (int row = 0; row < getRowCount(); ++row)
        setCellBackground(row, toGridColumn(-1), HEADER_COLOUR);
}

bool GeneralGridCtrl::insertDataRow(int r)
{
    if (r < 0 || r > getDataRowCount())
        return false;
    return insertRowAt(toGridRow(r));
}

bool GeneralGridCtrl::deleteDataRow(int r)
{
    if (r < 0 || r >= getDataRowCount())
        return false;
    return deleteRow(toGridRow(r));
}

bool GeneralGridCtrl::deleteDataColumn(int c)
{
    if (c < 0 || c >= getDataColumnCount())
        return false;
    return deleteColumn(toGridColumn(c));
}

void GeneralGridCtrl::appendDataRows(int n)
{
    for (int i = 0; i < n; ++i) {
        const int r = getDataRowCount();
        setDataRowCount(r + 1);
        setText(r, -1, std::to_string(r + 1));
    }
}

void GeneralGridCtrl::renumberRows()
{
    for (int r = 0; r < getDataRowCount(); ++r)
        setText(r, -1, std::to_string(r + 1));
}

void GeneralGridCtrl::renumberColumns()
{
    if (getFixedRowCount() == 0)
        return;
    for (int c = 0; c < getDataColumnCount(); ++c)
        setCellText(0, toGridColumn(c), std::to_string(c + 1));
}

bool GeneralGridCtrl::isRowEmpty(int r) const
{
    for (int c = 0; c < getDataColumnCount(); ++c) {
        if (!getText(r, c).empty())
            return false;
    }
    return true;
}

bool GeneralGridCtrl::isColumnEmpty(int c) const
{
    for (int r = 0; r < getDataRowCount(); ++r) {
        if (!getText(r, c).empty())
            return false;
    }
    return true;
}

void GeneralGridCtrl::removeEmptyRows()
{
    int r = 0;
    while (r < getDataRowCount()) {
        if (isRowEmpty(r))
            deleteDataRow(r);
        else
            ++r;
    }
    renumberRows();
    repaint();
}

void GeneralGridCtrl::removeEmptyColumns()
{
    int c = 0;
    while (c < getDataColumnCount()) {
        if (isColumnEmpty(c))
            deleteDataColumn(c);
        else
            ++c;
    }
    renumberColumns();
    repaint();
}

bool GeneralGridCtrl::readNumbers()
{
    removeEmptyRows();
    removeEmptyColumns();
    valueMatrix.resize(getDataRowCount(), getDataColumnCount());
    for (int r = 0; r < getDataRowCount(); ++r) {
        for (int c = 0; c < getDataColumnCount(); ++c) {
            const std::optional<double> value = readCell(r, c);
            if (!value)
                return false;
            valueMatrix.set(r, c, *value);
        }
    }
    return true;
}

void GeneralGridCtrl::fillFromValues()
{
    setDataRowCount(valueMatrix.getRows());
    setDataColumnCount(valueMatrix.getCols());
    for (int r = 0; r < valueMatrix.getRows(); ++r) {
        for (int c = 0; c < valueMatrix.getCols(); ++c)
            setText(r, c, cellTextOf(valueMatrix.get(r, c)));
    }
}

void GeneralGridCtrl::refresh()
{
    setModified(true);
    repaint();
}

bool GeneralGridCtrl::serializeValues(BinaryWriter& out)
{
    if (!readNumbers())
        return false;
    serializeMatrix(valueMatrix, out);
    return true;
}

void GeneralGridCtrl::loadValues(const GeneralMatrix<double>& values)
{
    valueMatrix.copyFrom(values);
    fillFromValues();
}

bool GeneralGridCtrl::paste(std::string_view text)
{
    const CellRange selected = getSelectedRange();
    CellPosition origin = getFocusCell();
    if (!selected.isEmpty())
        origin = {selected.firstRow, selected.firstColumn};
    if (origin == CellPosition())
        return false;
    // A selection made by clicking a header starts in a fixed cell, where nothing is pasted.
    origin.row = std::max(origin.row, getFixedRowCount());
    origin.column = std::max(origin.column, getFixedColumnCount());
    if (!isValid(origin.row, origin.column))
        return false;
    const ClipboardText clipboard(text);
    if (!clipboard.isEmpty()) {
        makeRoom({toDataRow(origin.row), toDataColumn(origin.column)}, clipboard.lineCount(),
                 clipboard.columnCount());
    }
    setFocusCell(origin);
    return pasteAt(origin, clipboard);
}

std::optional<double> GeneralGridCtrl::readCell(int r, int c)
{
    return parseNumber(getText(r, c), decimalSeparator);
}

std::string GeneralGridCtrl::cellTextOf(double value) const
{
    // A NaN stands for an empty cell (see readCell of the data table).
    if (std::isnan(value))
        return {};
    return formatNumber(value, "%.14g", decimalSeparator);
}

void GeneralGridCtrl::makeRoom(CellPosition, int, int)
{
}

void GeneralGridCtrl::appendRowsForPaste(int originRow, int lines)
{
    const int missing = originRow + lines - getDataRowCount();
    if (missing > 0)
        appendDataRows(missing);
}

void GeneralGridCtrl::growRowsAtEnd(GridKey key)
{
    if (key != GridKey::Enter && key != GridKey::Down)
        return;
    const CellPosition focus = getFocusCell();
    if (focus == CellPosition())
        return;
    if (focus.row >= getRowCount() - GROWTH)
        appendDataRows(GROWTH);
}
