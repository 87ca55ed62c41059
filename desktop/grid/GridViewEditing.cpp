// The in-place editor: a line edit for plain cells, a combo box for drop-down cells.
#include "desktop/grid/GridView.h"

#include "grid/GridModel.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <string>

bool GridView::editFocusCell()
{
    return startEdit(model.getFocusCell(), std::nullopt, false);
}

bool GridView::startEdit(CellPosition cell, std::optional<QString> replacement, bool showList)
{
    commitEdit();
    if (!model.isValid(cell.row, cell.column))
        return false;
    if (model.getCellType(cell.row, cell.column) == CellType::TickBox)
        return false;
    // The hook runs before anything of the cell is read: the data table's combination row
    // refills its drop-down lists here.
    if (!model.beginEdit(cell.row, cell.column))
        return false;
    if (!model.isValid(cell.row, cell.column))
        return false;
    scrollToCell(cell);
    const QString text = replacement
                             ? *replacement
                             : QString::fromStdString(model.getEditText(cell.row, cell.column));
    editedCell = cell;
    editor = createEditor(cell, text);
    placeEditor();
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
    auto* combo = qobject_cast<QComboBox*>(editor.data());
    if (combo != nullptr && showList)
        combo->showPopup();
    return true;
}

QWidget* GridView::createEditor(CellPosition cell, const QString& text)
{
    if (model.getCellType(cell.row, cell.column) != CellType::DropDown) {
        auto* line = new QLineEdit(viewport());
        line->setFrame(false);
        line->setText(text);
        line->installEventFilter(this);
        return line;
    }
    auto* combo = new QComboBox(viewport());
    const bool typed = model.getCellDropDownStyle(cell.row, cell.column) == DropDownStyle::Editable;
    combo->setEditable(typed);
    // The list is the model's; a typed text goes to the cell, not into the list.
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& option : model.getCellOptions(cell.row, cell.column))
        combo->addItem(QString::fromStdString(option));
    combo->setCurrentIndex(combo->findText(text));
    if (typed)
        combo->setEditText(text);
    combo->installEventFilter(this);
    if (combo->lineEdit() != nullptr)
        combo->lineEdit()->installEventFilter(this);
    // Choosing an entry from the open list ends the edit, as a click elsewhere would.
    connect(combo, &QComboBox::activated, this, [this] { commitEdit(); });
    return combo;
}

QString GridView::getEditorText() const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor.data()))
        return combo->currentText();
    if (auto* line = qobject_cast<QLineEdit*>(editor.data()))
        return line->text();
    return {};
}

void GridView::placeEditor()
{
    if (!isEditing())
        return;
    editor->setGeometry(getCellRect(editedCell.row, editedCell.column));
}

void GridView::commitEdit()
{
    if (!isEditing())
        return;
    const std::string text = getEditorText().toStdString();
    const CellPosition cell = editedCell;
    closeEditor();
    model.endEdit(cell.row, cell.column, text);
    viewport()->update();
}

void GridView::cancelEdit()
{
    closeEditor();
    viewport()->update();
}

void GridView::closeEditor()
{
    if (!isEditing())
        return;
    QWidget* closing = editor.data();
    const bool hadFocus = belongsToEditor(QApplication::focusWidget());
    // Cleared first: hiding moves the keyboard focus, and the focus-out that follows must
    // not end the edit a second time.
    editor = nullptr;
    editedCell = CellPosition();
    closing->hide();
    closing->deleteLater();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
}

bool GridView::belongsToEditor(QObject* object) const
{
    if (!isEditing())
        return false;
    // Along the object parents rather than the widget hierarchy: the open list of a combo
    // box is a window of its own, but a child of the combo box.
    for (QObject* ancestor = object; ancestor != nullptr; ancestor = ancestor->parent()) {
        if (ancestor == editor.data())
            return true;
    }
    return false;
}

bool GridView::eventFilter(QObject* watched, QEvent* event)
{
    if (!belongsToEditor(watched))
        return QAbstractScrollArea::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress)
        return handleEditorKey(static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // The combo box's own list, or another window for a moment, does not end the edit.
        const bool leaving =
            reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
        if (leaving && !belongsToEditor(QApplication::focusWidget()))
            commitEdit();
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}
