#pragma once

#include "data/GeneralGridCtrl.h"
#include "numeric/GeneralMatrix.h"

#include <string>

/// The grid of the custom-matrices editor. Its mode is the index of the editor's tab (0
/// means, 1 standard deviations, 2 correlations); in the correlations mode an edit of a
/// cell is mirrored across the diagonal, so that the matrix stays symmetric.
///
/// Behind every data cell the grid keeps the exact value it was given. The cell shows it
/// with "%.6g", an edit starts from the full value, and reading the cell gives the exact
/// value back as long as the cell still shows the text it was given: a value the user did
/// not change is never rounded.
class SimulationMatricesGridCtrl : public GeneralGridCtrl {
public:
    static constexpr int CORRELATION_MODE = 2;
    /// How a cell shows its value: enough digits to read it and type it again.
    static constexpr const char* CELL_FORMAT = "%.6g";

    explicit SimulationMatricesGridCtrl(DecimalSeparator separator);

    /// Forgets the values and keeps room for rows x cols of them, all 0.
    void resetValues(int rows, int cols);
    /// Keeps value behind data cell (r, c) and shows it.
    void setValue(int r, int c, double value);
    /// The exact value of data cell (r, c) while it shows the text setValue gave it;
    /// otherwise its text read as a number (0 for a text that is none).
    double getValue(int r, int c) const;
    /// For a data cell that still shows its value, the value in full: the shortest of
    /// "%.15g" and "%.17g" that reads back to the same double.
    std::string getEditText(int row, int column) const override;

    int getMode() const { return mode; }
    void setMode(int tab) { mode = tab; }

    /// In the correlations mode, an edit that was stored at data cell (r, c) also writes
    /// its text into data cell (c, r), and the grid repaints.
    bool endEdit(int row, int column, const std::string& text) override;

private:
    /// Whether data cell (r, c) has a value and still shows the text it was given.
    bool showsValue(int r, int c) const;

    int mode = 0;
    GeneralMatrix<double> values;
};
