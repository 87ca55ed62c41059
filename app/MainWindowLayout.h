#pragma once

/// A control's place in the main window's client area, in pixels.
struct ControlRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const ControlRect&) const = default;
};

/// Where every control of the main window goes for a window of W x H pixels (the whole
/// window, frame included) on a screen of s = logical pixels per inch / 96. The tables
/// take what the controls below them leave; everything below the tables keeps its
/// distance from the window's bottom edge, and the within-variables table and its
/// buttons keep theirs from the right edge. Each value is truncated toward zero where it
/// is formed, as the screen works in whole pixels, so the arithmetic is fixed to the
/// pixel for every s.
struct MainWindowLayout {
    /// The layout of a W x H window at scale s.
    static MainWindowLayout compute(int W, int H, double s);
    /// The window cannot be made smaller than this (whole window, frame included).
    static int minimumWidth(double s);
    static int minimumHeight(double s);

    ControlRect dataTable;
    ControlRect withinTable;
    ControlRect resultsTable;
    ControlRect computeButton;
    ControlRect simulationButton;
    ControlRect resetButton;
    ControlRect firstRowNames;
    ControlRect verticalLabel;
    ControlRect carriageReturn;
    ControlRect lineFeed;
    ControlRect verticalTab;
    ControlRect formFeed;
    ControlRect horizontalLabel;
    ControlRect tab;
    ControlRect spaces;
    ControlRect importDone;
    /// "+" and "-" below the data table.
    ControlRect insertRowButton;
    ControlRect deleteRowButton;
    /// "+" and "-" of the within-variables table, and its label "Define within variables".
    ControlRect insertVariableButton;
    ControlRect deleteVariableButton;
    ControlRect defineWithinLabel;
};
