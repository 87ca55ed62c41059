// The user's keys and mouse clicks, handed to the model's operations.
#include "desktop/grid/GridView.h"

#include "grid/GridModel.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <optional>

namespace {

/// The grid key a key press stands for; Enter acts as Down and Tab as Right in the model,
/// Shift+Tab moves left. Keys with Ctrl or Alt are left to the window's shortcuts.
std::optional<GridKey> gridKeyOf(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return GridKey::Enter;
    case Qt::Key_Down: return GridKey::Down;
    case Qt::Key_Up: return GridKey::Up;
    case Qt::Key_Tab: return GridKey::Tab;
    case Qt::Key_Backtab: return GridKey::Left;
    case Qt::Key_Right: return GridKey::Right;
    case Qt::Key_Left: return GridKey::Left;
    case Qt::Key_Escape: return GridKey::Escape;
    default: return std::nullopt;
    }
}

/// Shift with an arrow extends the selection; Shift+Tab only moves back.
bool isArrowKey(const QKeyEvent& event)
{
    const int key = event.key();
    return key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Left;
}

/// A key that starts an edit with the character it types.
bool typesText(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event.text();
    return !text.isEmpty() && text.at(0).isPrint();
}

bool opensList(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_F4)
        return true;
    return event.key() == Qt::Key_Down && (event.modifiers() & Qt::AltModifier);
}

} // namespace

void GridView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteClipboard();
        return;
    }
    if (const std::optional<GridKey> key = gridKeyOf(*event)) {
        if (*key == GridKey::Escape) {
            model.keyDown(GridKey::Escape);
            // Not consumed: whether Escape closes or aborts anything is the window's call.
            event->ignore();
            return;
        }
        const bool extend = (event->modifiers() & Qt::ShiftModifier) && isArrowKey(*event);
        moveByKey(*key, extend);
        return;
    }
    const CellPosition focus = model.getFocusCell();
    const bool hasFocusCell = focus != CellPosition();
    const CellType type = model.getCellType(focus.row, focus.column);
    if (hasFocusCell && event->key() == Qt::Key_Space && type == CellType::TickBox) {
        model.toggleTickBox(focus.row, focus.column);
        return;
    }
    if (hasFocusCell && event->key() == Qt::Key_F2) {
        startEdit(focus, std::nullopt, false);
        return;
    }
    if (hasFocusCell && type == CellType::DropDown && opensList(*event)) {
        startEdit(focus, std::nullopt, true);
        return;
    }
    if (hasFocusCell && type != CellType::TickBox && typesText(*event)) {
        startEdit(focus, event->text(), false);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

bool GridView::ensureFocusCell()
{
    if (model.getFocusCell() != CellPosition())
        return true;
    const CellPosition first{getFirstVisibleRow(), getFirstVisibleColumn()};
    if (!model.setFocusCell(first))
        return false;
    model.setSelectedRange({first.row, first.column, first.row, first.column});
    selectionAnchor = first;
    return true;
}

void GridView::moveByKey(GridKey key, bool extendSelection)
{
    // Without a focus cell the first key only places it, as a cursor must start somewhere.
    if (model.getFocusCell() == CellPosition()) {
        ensureFocusCell();
        viewport()->update();
        return;
    }
    if (selectionAnchor == CellPosition() || !extendSelection)
        selectionAnchor = model.getFocusCell();
    model.keyDown(key);
    const CellPosition focus = model.getFocusCell();
    if (extendSelection)
        model.setSelectedRange(
            {selectionAnchor.row, selectionAnchor.column, focus.row, focus.column});
    else
        selectionAnchor = focus;
    scrollToCell(focus);
    viewport()->update();
}

void GridView::pasteClipboard()
{
    commitEdit();
    model.paste(QGuiApplication::clipboard()->text().toStdString());
    selectionAnchor = model.getFocusCell();
    scrollToCell(model.getFocusCell());
    viewport()->update();
}

void GridView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    commitEdit();
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    const CellPosition cell = cellAt(point);
    if (cell == CellPosition())
        return;
    const bool extend = (event->modifiers() & Qt::ShiftModifier) != 0;
    if (model.isFixed(cell.row, cell.column)) {
        selectHeader(cell, extend);
    } else if (extend && selectionAnchor != CellPosition()) {
        dragMode = DragMode::Cells;
        extendSelection(cell);
    } else {
        clickCell(cell, point);
    }
    viewport()->update();
}

void GridView::clickCell(CellPosition cell, QPoint point)
{
    const bool wasFocus = model.getFocusCell() == cell;
    model.setFocusCell(cell);
    model.setSelectedRange({cell.row, cell.column, cell.row, cell.column});
    selectionAnchor = cell;
    dragMode = DragMode::Cells;
    const CellType type = model.getCellType(cell.row, cell.column);
    if (type == CellType::TickBox) {
        model.toggleTickBox(cell.row, cell.column);
        return;
    }
    const bool onButton = dropDownButtonRect(getCellRect(cell.row, cell.column)).contains(point);
    if (type == CellType::DropDown && (wasFocus || onButton))
        startEdit(cell, std::nullopt, true);
    else if (wasFocus)
        startEdit(cell, std::nullopt, false);
}

void GridView::selectHeader(CellPosition cell, bool extend)
{
    const bool inFixedRows = cell.row < model.getFixedRowCount();
    const bool inFixedColumns = cell.column < model.getFixedColumnCount();
    const int lastRow = model.getRowCount() - 1;
    const int lastColumn = model.getColumnCount() - 1;
    if (inFixedRows && inFixedColumns) {
        model.setSelectedRange({0, 0, lastRow, lastColumn});
        dragMode = DragMode::None;
        return;
    }
    if (!extend || selectionAnchor == CellPosition())
        selectionAnchor = cell;
    // A whole row or column is selected, its header included, and the cursor goes to its
    // first cell, so that the keys continue from there.
    if (inFixedColumns) {
        dragMode = DragMode::Rows;
        model.setSelectedRange({selectionAnchor.row, 0, cell.row, lastColumn});
        model.setFocusCell({cell.row, getFirstVisibleColumn()});
    } else {
        dragMode = DragMode::Columns;
        model.setSelectedRange({0, selectionAnchor.column, lastRow, cell.column});
        model.setFocusCell({getFirstVisibleRow(), cell.column});
    }
}

void GridView::extendSelection(CellPosition cell)
{
    switch (dragMode) {
    case DragMode::Rows:
        model.setSelectedRange({selectionAnchor.row, 0, cell.row, model.getColumnCount() - 1});
        break;
    case DragMode::Columns:
        model.setSelectedRange({0, selectionAnchor.column, model.getRowCount() - 1, cell.column});
        break;
    case DragMode::Cells:
    case DragMode::None:
        model.setSelectedRange(
            {selectionAnchor.row, selectionAnchor.column, cell.row, cell.column});
        break;
    }
}

void GridView::mouseMoveEvent(QMouseEvent* event)
{
    if (dragMode == DragMode::None || !(event->buttons() & Qt::LeftButton))
        return;
    const CellPosition cell = cellAt(event->position().toPoint());
    if (cell == CellPosition())
        return;
    extendSelection(cell);
    viewport()->update();
}

void GridView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragMode = DragMode::None;
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const CellPosition cell = cellAt(event->position().toPoint());
    if (cell == CellPosition() || model.isFixed(cell.row, cell.column))
        return;
    // The double click replaces the second press, which a tick box counts as a click.
    if (model.getCellType(cell.row, cell.column) == CellType::TickBox) {
        model.toggleTickBox(cell.row, cell.column);
        return;
    }
    if (isEditing())
        return;
    model.setFocusCell(cell);
    model.setSelectedRange({cell.row, cell.column, cell.row, cell.column});
    selectionAnchor = cell;
    startEdit(cell, std::nullopt, model.getCellType(cell.row, cell.column) == CellType::DropDown);
}

bool GridView::handleEditorKey(QKeyEvent* event)
{
    const std::optional<GridKey> key = gridKeyOf(*event);
    if (!key)
        return false;
    if (*key == GridKey::Escape) {
        // Consumed: Escape in an editor ends the edit, not the dialog around the table.
        cancelEdit();
        return true;
    }
    const bool inList = qobject_cast<QComboBox*>(editor.data()) != nullptr;
    // Up and Down choose an entry of a list; Left and Right move the text cursor.
    const bool textCursorKey = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right;
    if (textCursorKey)
        return false;
    if (inList && (*key == GridKey::Up || *key == GridKey::Down))
        return false;
    commitEdit();
    moveByKey(*key, false);
    return true;
}
