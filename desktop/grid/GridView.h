#pragma once

#include "grid/CellPosition.h"
#include "grid/GridKey.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <QString>

#include <optional>

class GridModel;
class QComboBox;
class QKeyEvent;
class QPainter;

/// The desktop view of a GridModel: draws its cells and hands every user action to it.
/// The model holds everything (texts, colours, focus cell, selected range, sizes); the
/// view keeps only what exists on screen: the scroll position, the open in-place editor
/// and the cell a mouse or Shift selection started from.
///
/// The fixed rows stay at the top and the fixed columns at the left while the rest
/// scrolls. Enter, Tab and the arrow keys go to GridModel::keyDown (Enter moving like Down
/// and Tab like Right, so a table can grow at its edges); Ctrl+V hands the clipboard text
/// to GridModel::paste. An edit starts by typing, F2, a double click or a click on the
/// focus cell; it is asked of GridModel::beginEdit before anything of the cell is read, so
/// that a drop-down list refilled by the hook is the one shown, and it ends in
/// GridModel::endEdit. Escape cancels an open edit; otherwise the view leaves it to the
/// window. The model's repaint handler belongs to the view while the view exists.
class GridView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit GridView(GridModel& model, QWidget* parent = nullptr);
    ~GridView() override;

    GridModel& getModel() const { return model; }

    /// The cell's rectangle in viewport coordinates; empty for a hidden cell or one outside
    /// the table. A scrolled cell keeps its place beyond or under the fixed cells.
    QRect getCellRect(int row, int column) const;
    /// The visible cell at a viewport point; CellPosition{} outside every cell.
    CellPosition cellAt(QPoint point) const;
    /// Scrolls the least distance that shows the cell beside the fixed rows and columns.
    void scrollToCell(CellPosition cell);

    /// Opens the in-place editor of the focus cell with its text; false when the model
    /// refuses or the focus cell is a tick box.
    bool editFocusCell();
    bool isEditing() const { return !editor.isNull(); }
    /// The open editor, a QLineEdit or a QComboBox; nullptr when none is open.
    QWidget* getEditor() const { return editor.data(); }
    CellPosition getEditedCell() const { return editedCell; }
    /// Hands the editor's text to GridModel::endEdit and closes the editor.
    void commitEdit();
    /// Closes the editor; the model keeps the cell's text.
    void cancelEdit();
    /// GridModel::paste with the clipboard text.
    void pasteClipboard();

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// Shows the tool tip of the cell under the pointer.
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    /// What a mouse drag extends: cells, or whole rows or columns after a header click.
    enum class DragMode { None, Cells, Rows, Columns };

    // Geometry (GridViewGeometry.cpp).
    int getFixedHeight() const;
    int getFixedWidth() const;
    int getRowTop(int row) const;
    int getColumnLeft(int column) const;
    int rowAt(int y) const;
    int columnAt(int x) const;
    int getFirstVisibleRow() const;
    int getFirstVisibleColumn() const;
    void updateScrollBars();
    /// Redraws after the model changed and follows a new ensureCellVisible request.
    void followModel();

    // Drawing (GridView.cpp).
    void paintRegion(QPainter& painter, const QRect& clip, int firstRow, int endRow,
                     int firstColumn, int endColumn) const;
    void paintCell(QPainter& painter, const QRect& rect, int row, int column) const;
    void paintCellContent(QPainter& painter, const QRect& rect, int row, int column) const;
    QRect dropDownButtonRect(const QRect& cellRect) const;

    // Keys and mouse (GridViewInput.cpp).
    void moveByKey(GridKey key, bool extendSelection);
    bool ensureFocusCell();
    void selectHeader(CellPosition cell, bool extend);
    void extendSelection(CellPosition cell);
    void clickCell(CellPosition cell, QPoint point);
    bool handleEditorKey(QKeyEvent* event);

    // Editing (GridViewEditing.cpp).
    bool startEdit(CellPosition cell, std::optional<QString> replacement, bool showList);
    QWidget* createEditor(CellPosition cell, const QString& text);
    QString getEditorText() const;
    void placeEditor();
    void closeEditor();
    bool belongsToEditor(QObject* object) const;

    GridModel& model;
    QPointer<QWidget> editor;
    CellPosition editedCell;
    /// Where a Shift selection or a drag started: the focus cell, or the header clicked.
    CellPosition selectionAnchor;
    DragMode dragMode = DragMode::None;
    unsigned followedScrollRequests = 0;
};
