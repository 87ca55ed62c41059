#include "app/EditingCommands.h"

#include "grid/CellRange.h"

#include <algorithm>

namespace {

/// No command takes a table below this many data rows or data columns.
constexpr int MINIMUM_DATA_EXTENT = 1;

void refuse(MessageSink& messages, const char* text)
{
    messages.showMessage("Error", text, MessageIcon::Error);
}

} // namespace

bool insertRowAfterSelection(GeneralGridCtrl& table, MessageSink& messages)
{
    const CellRange selected = table.getSelectedRange();
    if (!selected.isEmpty() && selected.firstRow != selected.lastRow) {
        refuse(messages, "Only one row must be selected after which a new row can be inserted.");
        return false;
    }
    int r = table.getDataRowCount();
    if (!selected.isEmpty())
        r = std::max(table.toDataRow(selected.firstRow) + 1, 0);
    table.insertDataRow(r);
    table.renumberRows();
    table.repaint();
    return true;
}

void deleteSelectedRows(GeneralGridCtrl& table)
{
    const CellRange selected = table.getSelectedRange();
    int first = table.getDataRowCount() - 1;
    int last = first;
    if (!selected.isEmpty()) {
        first = std::max(table.toDataRow(selected.firstRow), 0);
        last = table.toDataRow(selected.lastRow);
    }
    for (int r = last; r >= first; --r) {
        if (table.getDataRowCount() <= MINIMUM_DATA_EXTENT)
            break;
        table.deleteDataRow(r);
    }
    table.renumberRows();
    table.repaint();
}

bool insertColumnAfterSelection(UserGridCtrl& table, MessageSink& messages)
{
    const CellRange selected = table.getSelectedRange();
    if (!selected.isEmpty() && selected.firstColumn != selected.lastColumn) {
        refuse(messages,
               "Only one column must be selected after which a new column can be inserted.");
        return false;
    }
    // insertColumn renumbers the columns and repaints.
    table.insertColumn(selected.isEmpty() ? -1 : selected.firstColumn);
    return true;
}

void deleteSelectedColumns(UserGridCtrl& table)
{
    const CellRange selected = table.getSelectedRange();
    int first = table.getDataColumnCount() - 1;
    int count = 1;
    if (!selected.isEmpty()) {
        first = std::max(table.toDataColumn(selected.firstColumn), 0);
        count = table.toDataColumn(selected.lastColumn) - first + 1;
    }
    // The columns after the deleted one move left, so the range's first column is deleted
    // as often as the range is wide.
    for (int i = 0; i < count; ++i) {
        if (table.getDataColumnCount() <= MINIMUM_DATA_EXTENT)
            break;
        table.deleteDataColumn(first);
    }
    table.renumberColumns();
    table.repaint();
}
