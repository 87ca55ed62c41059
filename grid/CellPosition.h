#pragma once

/// One cell in grid coordinates (fixed rows and columns included); -1, -1 is no cell.
struct CellPosition {
    int row = -1;
    int column = -1;

    friend constexpr bool operator==(const CellPosition&, const CellPosition&) = default;
};
