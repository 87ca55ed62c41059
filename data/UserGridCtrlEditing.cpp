// The data table while the user edits it: column insertion, growth at the edges, room for
// a paste.
#include "data/UserGridCtrl.h"

#include <cstddef>

bool UserGridCtrl::insertColumn(int g)
{
    const int after = g < 0 ? getColumnCount() - 1 : g;
    if (after >= getColumnCount())
        return false;
    // Only the row-number column lies left of the data; nothing can go before it.
    if (after < getFixedColumnCount() - 1)
        return false;
    const int column = after + 1;
    insertColumnAt(column);
    const int c = toDataColumn(column);
    if (!names.empty() && static_cast<std::size_t>(c) <= names.size())
        names.insert(names.begin() + c, "");
    renumberColumns();
    for (int d = 0; d < getDataColumnCount(); ++d)
        makeComboCell(d, {});
    setCellBackground(toGridRow(-1), column, NAME_ROW_COLOUR);
    repaint();
    return true;
}

void UserGridCtrl::appendColumns(int n)
{
    for (int i = 0; i < n; ++i)
        insertColumn(-1);
}

void UserGridCtrl::makeRoom(CellPosition origin, int lines, int columns)
{
    appendRowsForPaste(origin.row, lines);
    const int missing = origin.column + columns - getDataColumnCount();
    if (missing > 0)
        appendColumns(missing);
}

void UserGridCtrl::onKeyDown(GridKey key)
{
    growRowsAtEnd(key);
    if (key != GridKey::Tab && key != GridKey::Right)
        return;
    const CellPosition focus = getFocusCell();
    if (focus == CellPosition())
        return;
    if (focus.column >= getColumnCount() - GROWTH)
        appendColumns(GROWTH);
}
