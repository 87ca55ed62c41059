#pragma once

#include "data/GeneralGridCtrl.h"
#include "data/UserGridCtrl.h"
#include "platform/MessageSink.h"

// The row and column commands of the input tables. They act on the table's selected range
// and touch data rows and data columns only: the parts of a selection that lie in header
// rows or header columns (the column-number, combination and name rows and the row-number
// column of the data table; the header row of the within-variables table) are left out,
// so that no command inserts among the header rows or deletes one. Each renumbers what
// it moved and repaints the table.

/// A new empty data row directly after the selected row, at the end when nothing or the
/// last row is selected, and as the first data row when a header row is selected. A
/// selection over more than one row hands "Only one row must be selected after which a
/// new row can be inserted." to messages and changes nothing (returns false).
bool insertRowAfterSelection(GeneralGridCtrl& table, MessageSink& messages);

/// Deletes the selected data rows, last first (the last data row when nothing is
/// selected), while at least two data rows are left; a selection of header rows only
/// deletes nothing.
void deleteSelectedRows(GeneralGridCtrl& table);

/// A new empty data column directly after the selected column (after the row numbers,
/// i.e. as the first data column, when they are selected), or at the end when nothing is
/// selected. A selection over more than one column hands "Only one column must be
/// selected after which a new column can be inserted." to messages and changes nothing.
bool insertColumnAfterSelection(UserGridCtrl& table, MessageSink& messages);

/// Deletes the selected data columns (the last one when nothing is selected) while more
/// than one data column is left; their names leave the table's name list.
void deleteSelectedColumns(UserGridCtrl& table);
