#pragma once

#include "grid/CellState.h"
#include "grid/CellType.h"
#include "grid/Colour.h"

#include <string>
#include <vector>

/// Everything one cell of a GridModel holds. The selected state is not among it: the
/// grid's selected range decides that.
struct GridCell {
    std::string text;
    unsigned state = CellState::None;
    Colour background;
    CellType type = CellType::Plain;
    /// The entries of a drop-down cell, kept when the type changes.
    std::vector<std::string> options;
    DropDownStyle dropDownStyle = DropDownStyle::Editable;
    bool checked = false;
    /// Shown when the pointer rests on the cell; empty for none.
    std::string toolTip;
};
