#pragma once

#include "grid/GridModel.h"

#include <string>
#include <vector>

/// What a grid shows and holds, to tell whether an operation changed it at all.
struct TableSnapshot {
    explicit TableSnapshot(const GridModel& grid)
        : columns(grid.getColumnCount()), focus(grid.getFocusCell()),
          selection(grid.getSelectedRange())
    {
        for (int row = 0; row < grid.getRowCount(); ++row) {
            for (int column = 0; column < columns; ++column) {
                texts.push_back(grid.getCellText(row, column));
                states.push_back(grid.getCellState(row, column));
                options.push_back(grid.getCellOptions(row, column));
            }
        }
    }

    int columns;
    CellPosition focus;
    CellRange selection;
    std::vector<std::string> texts; ///< row by row
    std::vector<unsigned> states;
    std::vector<std::vector<std::string>> options;

    friend bool operator==(const TableSnapshot&, const TableSnapshot&) = default;
};
