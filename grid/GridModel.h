#pragma once

#include "grid/CellPosition.h"
#include "grid/CellRange.h"
#include "grid/CellType.h"
#include "grid/ClipboardText.h"
#include "grid/Colour.h"
#include "grid/GridCell.h"
#include "grid/GridKey.h"

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

/// The cells of a spreadsheet-like table: a rectangle whose first rows and columns are
/// fixed headers, with a focus cell, a selected range, and a height per row and a width per
/// column (0 = hidden). Everything here is addressed in grid coordinates, headers included.
///
/// A view draws the model and hands it the user's actions: keyDown, beginEdit and endEdit
/// around an in-place edit, paste with the clipboard text. They are virtual, or call a
/// virtual hook, so that a table can add its own behaviour; the model asks its view to
/// redraw through the repaint handler. Operations called by the program change nothing on
/// screen until it calls repaint.
///
/// Coordinates outside the table are rejected: setters change nothing (and return false
/// where they return anything); getters give an empty text, no state, a white background,
/// a plain type and an empty list.
class GridModel {
public:
    static constexpr int DEFAULT_ROW_HEIGHT = 25;
    static constexpr int DEFAULT_COLUMN_WIDTH = 80;

    GridModel() = default;
    GridModel(const GridModel&) = delete;
    GridModel& operator=(const GridModel&) = delete;
    virtual ~GridModel() = default;

    // Shape. New cells are plain, empty and white; new rows and columns have the default
    // size. A focus cell or a selection that no longer lies inside is dropped or clipped.

    /// Rows are added or removed at the bottom; fixed rows beyond the new count end.
    bool setRowCount(int count);
    /// Columns are added or removed at the right.
    bool setColumnCount(int count);
    /// Adds rows when the table has fewer than count.
    bool setFixedRowCount(int count);
    bool setFixedColumnCount(int count);
    int getRowCount() const { return static_cast<int>(cells.size()); }
    int getColumnCount() const { return columnCount; }
    int getFixedRowCount() const { return fixedRowCount; }
    int getFixedColumnCount() const { return fixedColumnCount; }
    bool isValid(int row, int column) const;
    /// The cell lies in a fixed row or a fixed column.
    bool isFixed(int row, int column) const;
    /// Appends one row whose first cell reads headerText; returns the new row's index.
    int appendRow(const std::string& headerText);
    /// An empty row that becomes row `row`; row == getRowCount() appends. Inserted among
    /// the fixed rows, it is fixed too (likewise for columns).
    bool insertRowAt(int row);
    /// An empty column that becomes column `column`; column == getColumnCount() appends.
    bool insertColumnAt(int column);
    bool deleteRow(int row);
    bool deleteColumn(int column);
    /// No rows, no columns, nothing fixed, no focus, nothing selected.
    void removeAllCells();

    // Cells.

    const std::string& getCellText(int row, int column) const;
    /// The text an in-place edit of the cell starts with: its text, unless a table keeps
    /// more behind a cell than the cell shows.
    virtual std::string getEditText(int row, int column) const;
    void setCellText(int row, int column, std::string text);
    /// The stored bits, plus CellState::Selected inside the selected range.
    unsigned getCellState(int row, int column) const;
    /// Stores every bit but CellState::Selected, which the selected range alone decides.
    void setCellState(int row, int column, unsigned state);
    Colour getCellBackground(int row, int column) const;
    void setCellBackground(int row, int column, Colour colour);
    CellType getCellType(int row, int column) const;
    void setCellType(int row, int column, CellType type);
    /// Makes the cell a drop-down cell offering these entries.
    void setCellDropDown(int row, int column, std::vector<std::string> options,
                         DropDownStyle style);
    const std::vector<std::string>& getCellOptions(int row, int column) const;
    DropDownStyle getCellDropDownStyle(int row, int column) const;
    bool isCellChecked(int row, int column) const;
    void setCellChecked(int row, int column, bool checked);
    /// The text a view shows while the pointer rests on the cell; empty for none.
    const std::string& getCellToolTip(int row, int column) const;
    void setCellToolTip(int row, int column, std::string text);

    // Sizes in pixels; 0 hides the row or column. Negative sizes are rejected.

    int getRowHeight(int row) const;
    void setRowHeight(int row, int height);
    int getColumnWidth(int column) const;
    void setColumnWidth(int column, int width);
    /// Fits a visible column to its longest text (a fixed width per character, as the
    /// model knows no font); a hidden column stays hidden.
    void autoSizeColumn(int column);
    void autoSizeColumns();

    // Focus and selection.

    CellPosition getFocusCell() const { return focusCell; }
    /// Any cell outside the fixed rows and columns; CellPosition{} clears the focus.
    bool setFocusCell(CellPosition cell);
    CellRange getSelectedRange() const { return selectedRange; }
    /// Corners may come in any order; the range is clipped to the table, and an empty
    /// range (or one wholly outside) selects nothing.
    void setSelectedRange(CellRange range);
    /// Asks the view to scroll the cell into sight.
    void ensureCellVisible(CellPosition cell);
    /// The cell last passed to ensureCellVisible.
    CellPosition getScrollTarget() const { return scrollTarget; }
    /// How often ensureCellVisible was called. A view compares it with the count it last
    /// followed, so that a second request for the same cell scrolls again after the user
    /// has scrolled away, and a mere repaint does not pull the view back.
    unsigned getScrollRequestCount() const { return scrollRequestCount; }

    // The user's actions.

    /// First the table's own handling (onKeyDown); then Enter and Down move the focus one
    /// visible row down, Up one up, Tab and Right one visible column right, Left one left,
    /// staying inside the table and outside the fixed cells; the focus cell becomes the
    /// selection. Escape moves nothing.
    void keyDown(GridKey key);
    /// Whether the user may start editing the cell: a visible cell outside the fixed rows
    /// and columns that is not read-only.
    virtual bool beginEdit(int row, int column);
    /// The in-place edit of the cell ends with this text. An editable cell stores it and is
    /// marked modified; returns whether the text was stored.
    virtual bool endEdit(int row, int column, const std::string& text);
    /// Pastes clipboard text at the focus cell (pasteAt); false without a focus cell.
    virtual bool paste(std::string_view text);
    /// The user ticks or unticks a tick-box cell. It is asked of beginEdit like an edit, so
    /// that read-only and fixed boxes stay as they are and a table's hook runs; a box that
    /// flips is marked modified. Returns whether it flipped.
    bool toggleTickBox(int row, int column);

    // The view.

    /// Called by repaint; the view redraws from the model.
    void setRepaintHandler(std::function<void()> handler) { repaintHandler = std::move(handler); }
    void repaint();
    /// The table as a whole was changed since the flag was last cleared.
    bool isModified() const { return modified; }
    void setModified(bool value) { modified = value; }

protected:
    /// Runs before the focus moves for a key; does nothing here.
    virtual void onKeyDown(GridKey key);
    /// Field j of line i goes to the cell i visible rows below and j visible columns right
    /// of origin; cells outside the table, fixed or read-only keep their text. The pasted
    /// cells are marked modified and their range becomes the selection. False when origin
    /// lies outside the table.
    bool pasteAt(CellPosition origin, const ClipboardText& text);

private:
    GridCell* getCell(int row, int column);
    const GridCell* getCell(int row, int column) const;
    bool isEditable(int row, int column) const;
    /// The next visible row after `row` in direction step (+1 or -1) outside the fixed
    /// rows, or -1 when there is none.
    int nextVisibleRow(int row, int step) const;
    int nextVisibleColumn(int column, int step) const;
    void moveFocus(GridKey key);
    void keepFocusAndSelectionInside();

    std::vector<std::vector<GridCell>> cells; ///< row by row
    std::vector<int> rowHeights;
    std::vector<int> columnWidths;
    int columnCount = 0;
    int fixedRowCount = 0;
    int fixedColumnCount = 0;
    CellPosition focusCell;
    CellRange selectedRange;
    CellPosition scrollTarget;
    unsigned scrollRequestCount = 0;
    bool modified = false;
    std::function<void()> repaintHandler;
};
