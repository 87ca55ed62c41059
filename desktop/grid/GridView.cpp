#include "desktop/grid/GridView.h"

#include "grid/CellState.h"
#include "grid/GridModel.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPolygon>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolTip>

#include <algorithm>

namespace {

// The model's colours are absolute (white by default), so the view draws its own parts in
// fixed colours as well rather than in the desktop theme's, which may be dark.
const QColor HEADER_BACKGROUND(240, 240, 240);
const QColor GRID_LINE(200, 200, 200);
const QColor TEXT_COLOUR(0, 0, 0);
const QColor FOCUS_FRAME(0, 90, 200);
const QColor SELECTION_TINT(0, 110, 230, 60);
const QColor ARROW_COLOUR(80, 80, 80);
constexpr int TEXT_MARGIN = 3;
constexpr int DROP_DOWN_BUTTON_WIDTH = 14;
constexpr int SIZE_HINT_WIDTH = 600;
constexpr int SIZE_HINT_HEIGHT = 400;

QColor toQColor(Colour colour)
{
    return {colour.red, colour.green, colour.blue};
}

} // namespace

GridView::GridView(GridModel& gridModel, QWidget* parent)
    : QAbstractScrollArea(parent), model(gridModel)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    // Scroll requests made before the view existed are history, not a wish to scroll now.
    followedScrollRequests = model.getScrollRequestCount();
    model.setRepaintHandler([this] { followModel(); });
    updateScrollBars();
}

GridView::~GridView()
{
    // The model outlives its view (the tables belong to the main window's data).
    model.setRepaintHandler({});
}

QSize GridView::sizeHint() const
{
    int width = 0;
    for (int column = 0; column < model.getColumnCount(); ++column)
        width += model.getColumnWidth(column);
    int height = 0;
    for (int row = 0; row < model.getRowCount(); ++row)
        height += model.getRowHeight(row);
    const int frame = 2 * frameWidth();
    return {std::min(width, SIZE_HINT_WIDTH) + frame + verticalScrollBar()->sizeHint().width(),
            std::min(height, SIZE_HINT_HEIGHT) + frame +
                horizontalScrollBar()->sizeHint().height()};
}

bool GridView::event(QEvent* event)
{
    // Tab and Shift+Tab move inside the table instead of to the next widget of the window.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool GridView::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QAbstractScrollArea::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const CellPosition cell = cellAt(help->pos());
    const std::string& tip = model.getCellToolTip(cell.row, cell.column);
    if (tip.empty()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(help->globalPos(), QString::fromStdString(tip), viewport(),
                       getCellRect(cell.row, cell.column));
    return true;
}

void GridView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    placeEditor();
}

void GridView::scrollContentsBy(int, int)
{
    placeEditor();
    viewport()->update();
}

void GridView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const int width = viewport()->width();
    const int height = viewport()->height();
    const int fixedRows = model.getFixedRowCount();
    const int fixedColumns = model.getFixedColumnCount();
    const int rows = model.getRowCount();
    const int columns = model.getColumnCount();
    const int top = std::min(getFixedHeight(), height);
    const int left = std::min(getFixedWidth(), width);
    // Four regions, each clipped so that scrolled cells never cover the fixed ones.
    paintRegion(painter, QRect(left, top, width - left, height - top), fixedRows, rows,
                fixedColumns, columns);
    paintRegion(painter, QRect(left, 0, width - left, top), 0, fixedRows, fixedColumns, columns);
    paintRegion(painter, QRect(0, top, left, height - top), fixedRows, rows, 0, fixedColumns);
    paintRegion(painter, QRect(0, 0, left, top), 0, fixedRows, 0, fixedColumns);
}

void GridView::paintRegion(QPainter& painter, const QRect& clip, int firstRow, int endRow,
                           int firstColumn, int endColumn) const
{
    if (clip.isEmpty())
        return;
    painter.setClipRect(clip);
    int y = getRowTop(firstRow);
    for (int row = firstRow; row < endRow && y <= clip.bottom(); ++row) {
        const int height = model.getRowHeight(row);
        if (y + height > clip.top()) {
            int x = getColumnLeft(firstColumn);
            for (int column = firstColumn; column < endColumn && x <= clip.right(); ++column) {
                const int width = model.getColumnWidth(column);
                if (x + width > clip.left() && width > 0 && height > 0)
                    paintCell(painter, QRect(x, y, width, height), row, column);
                x += width;
            }
        }
        y += height;
    }
}

void GridView::paintCell(QPainter& painter, const QRect& rect, int row, int column) const
{
    const bool fixed = model.isFixed(row, column);
    const Colour colour = model.getCellBackground(row, column);
    // A fixed cell the program left white looks like a header; one it coloured keeps its
    // colour (the name row's label, for example).
    painter.fillRect(rect, fixed && colour == Colour{} ? HEADER_BACKGROUND : toQColor(colour));
    const bool selected = (model.getCellState(row, column) & CellState::Selected) != 0;
    if (selected && !fixed)
        painter.fillRect(rect, SELECTION_TINT);
    painter.setPen(GRID_LINE);
    painter.drawLine(rect.topRight(), rect.bottomRight());
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    paintCellContent(painter, rect, row, column);
    if (model.getFocusCell() == CellPosition{row, column}) {
        painter.setPen(QPen(FOCUS_FRAME, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(1, 1, -1, -1));
    }
}

QRect GridView::dropDownButtonRect(const QRect& cell) const
{
    const int width = std::min(DROP_DOWN_BUTTON_WIDTH, cell.width() / 2);
    return {cell.right() - width + 1, cell.top(), width, cell.height()};
}

void GridView::paintCellContent(QPainter& painter, const QRect& rect, int row, int column) const
{
    const CellType type = model.getCellType(row, column);
    const bool fixed = model.isFixed(row, column);
    if (type == CellType::TickBox) {
        QStyleOptionButton box;
        const int side = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
        box.rect = QRect(0, 0, side, side);
        box.rect.moveCenter(rect.center());
        box.state = model.isCellChecked(row, column) ? QStyle::State_On : QStyle::State_Off;
        if ((model.getCellState(row, column) & CellState::ReadOnly) == 0 && !fixed)
            box.state |= QStyle::State_Enabled;
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &painter, this);
        return;
    }
    QRect textRect = rect.adjusted(TEXT_MARGIN, 0, -TEXT_MARGIN, 0);
    if (type == CellType::DropDown && !fixed) {
        const QRect button = dropDownButtonRect(rect);
        textRect.setRight(button.left() - 1);
        const QPoint centre = button.center();
        const QPolygon arrow(
            {centre + QPoint(-3, -2), centre + QPoint(3, -2), centre + QPoint(0, 2)});
        painter.setPen(Qt::NoPen);
        painter.setBrush(ARROW_COLOUR);
        painter.drawPolygon(arrow);
    }
    const QString text = QString::fromStdString(model.getCellText(row, column));
    if (text.isEmpty())
        return;
    painter.setPen(TEXT_COLOUR);
    const Qt::Alignment horizontal = fixed ? Qt::AlignHCenter : Qt::AlignLeft;
    painter.drawText(textRect, static_cast<int>(horizontal | Qt::AlignVCenter | Qt::TextSingleLine),
                     text);
}
