#pragma once

/// State bits of a cell, combined with |.
namespace CellState {

inline constexpr unsigned None = 0;
/// Inside the selected range. Reported by GridModel::getCellState, never stored: the
/// selected range alone decides it.
inline constexpr unsigned Selected = 1;
/// Changed by the user (an edit or a paste) rather than by the program.
inline constexpr unsigned Modified = 2;
/// Neither edited nor pasted into; the program may still write it.
inline constexpr unsigned ReadOnly = 8;

} // namespace CellState
