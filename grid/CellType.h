#pragma once

/// What a cell shows and how it is edited.
enum class CellType {
    Plain,    ///< a text, edited in place
    DropDown, ///< a text chosen from the cell's list (see DropDownStyle)
    TickBox,  ///< a box the user ticks; its text is not shown
};

/// How a drop-down cell accepts its text.
enum class DropDownStyle {
    ListOnly = 1, ///< only an entry of the list
    Editable = 2, ///< an entry of the list or any typed text
};
