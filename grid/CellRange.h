#pragma once

/// A rectangle of cells in grid coordinates, both corners inclusive. A last row or last
/// column below 0 means that nothing is selected.
struct CellRange {
    int firstRow = -1;
    int firstColumn = -1;
    int lastRow = -1;
    int lastColumn = -1;

    bool isEmpty() const { return lastRow < 0 || lastColumn < 0; }
    bool contains(int row, int column) const
    {
        return !isEmpty() && row >= firstRow && row <= lastRow && column >= firstColumn &&
               column <= lastColumn;
    }

    friend constexpr bool operator==(const CellRange&, const CellRange&) = default;
};
