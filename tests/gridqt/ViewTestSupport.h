#pragma once

#include "grid/qt/GridView.h"

#include <QImage>
#include <QPoint>
#include <QRect>

/// What the viewport shows now, one image pixel per viewport pixel.
inline QImage viewportImage(GridView& view)
{
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

/// The dark pixels inside a cell, its frame, grid lines and focus frame left out: the ink
/// of its text.
inline int inkPixels(const QImage& image, const QRect& cell)
{
    const QRect inside = cell.adjusted(4, 4, -4, -4).intersected(image.rect());
    int ink = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 100)
                ++ink;
        }
    }
    return ink;
}

inline QPoint centreOf(const GridView& view, int row, int column)
{
    return view.cellRect(row, column).center();
}
