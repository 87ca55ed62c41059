#pragma once

#include "data/GeneralGridCtrl.h"

#include <string>

/// The grid of the custom-matrices editor. Its mode is the index of the editor's tab (0
/// means, 1 standard deviations, 2 correlations); in the correlations mode an edit of a
/// cell is mirrored across the diagonal, so that the matrix stays symmetric.
class SimulationMatricesGridCtrl : public GeneralGridCtrl {
public:
    static constexpr int CORRELATION_MODE = 2;

    explicit SimulationMatricesGridCtrl(DecimalSeparator separator);

    int getMode() const { return mode; }
    void setMode(int tab) { mode = tab; }

    /// In the correlations mode, an edit that was stored at data cell (r, c) also writes
    /// its text into data cell (c, r), and the grid repaints.
    bool endEdit(int row, int column, const std::string& text) override;

private:
    int mode = 0;
};
