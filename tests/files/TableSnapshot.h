#pragma once

#include "grid/GridModel.h"

#include <string>
#include <vector>

/// Everything a grid shows and holds, taken through its public getters, so that a test
/// can tell whether an operation changed a table at all.
struct TableSnapshot {
    struct Cell {
        std::string text;
        unsigned state = 0;
        Colour background;
        CellType type = CellType::Plain;
        std::vector<std::string> options;
        DropDownStyle style = DropDownStyle::Editable;
        bool checked = false;

        friend bool operator==(const Cell&, const Cell&) = default;
    };

    explicit TableSnapshot(const GridModel& grid)
        : fixedRows(grid.getFixedRowCount()), fixedColumns(grid.getFixedColumnCount()),
          columns(grid.getColumnCount()), focus(grid.getFocusCell()),
          selection(grid.getSelectedRange())
    {
        for (int row = 0; row < grid.getRowCount(); ++row) {
            heights.push_back(grid.getRowHeight(row));
            for (int column = 0; column < columns; ++column) {
                cells.push_back({grid.getCellText(row, column), grid.getCellState(row, column),
                                 grid.getCellBackground(row, column), grid.getCellType(row, column),
                                 grid.getCellOptions(row, column),
                                 grid.getCellDropDownStyle(row, column),
                                 grid.isCellChecked(row, column)});
            }
        }
        for (int column = 0; column < columns; ++column)
            widths.push_back(grid.getColumnWidth(column));
    }

    int fixedRows;
    int fixedColumns;
    int columns;
    CellPosition focus;
    CellRange selection;
    std::vector<int> heights;
    std::vector<int> widths;
    std::vector<Cell> cells; ///< row by row

    friend bool operator==(const TableSnapshot&, const TableSnapshot&) = default;
};
