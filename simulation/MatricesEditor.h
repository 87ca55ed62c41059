#pragma once

#include "data/SimulationMatricesGridCtrl.h"
#include "design/Design.h"
#include "numeric/RealMatrix.h"

#include <array>
#include <string>

/// The custom-matrices editor without its window: three tabs over the population of a
/// simulation (cell means G x P, standard deviations G x P, correlations P x P), one grid
/// that shows the matrix of the current tab, and the reading back of the grid when the
/// user leaves a tab or confirms. The matrices are edited in place; the caller copies them
/// into the engines on OK and discards them on Cancel.
///
/// Cells show their value with "%.6g" and an edit starts from the full value. Reading back
/// keeps the exact value of every cell the user did not change; a changed cell is read as
/// a number in the user's form (a text that is no number gives 0). Nothing is rounded.
class MatricesEditor {
public:
    enum Tab { MeansTab = 0, SdsTab = 1, CorrelationsTab = 2 };
    static constexpr std::array<const char*, 3> TAB_NAMES = {"Means", "Standard deviations",
                                                             "Correlations (residuals)"};
    /// The background of the correlation matrix's diagonal, which cannot be edited.
    static constexpr Colour DIAGONAL_COLOUR{199, 199, 199};

    /// Nothing is owned; all must outlive the editor. The grid shows the means tab.
    MatricesEditor(RealMatrix& means, RealMatrix& sds, RealMatrix& correlations,
                   const Design& design, SimulationMatricesGridCtrl& grid);

    /// The grid anew with the matrix of tab, one fixed header row and column in the header
    /// colour; the grid's mode becomes tab, so that the correlations tab mirrors its edits.
    void fillGrid(int tab);
    /// The grid's cells into the matrix of tab.
    void readGrid(int tab);
    /// The user selected another tab: the current one is read back, then tab is shown.
    void selectTab(int tab);
    /// OK: the current tab is read back.
    void accept();
    int getCurrentTab() const { return currentTab; }

    /// "W" and the levels of within combination c; "B" and the levels of group combination
    /// g ("B1" for the single group of a design without between variable). The levels are
    /// joined without a separator while no variable of that side has more than 9 levels
    /// (W12: levels 1 and 2), and with "." otherwise, so that W1.12 and W11.2 stay apart.
    static std::string withinLabel(const Design& design, int c);
    static std::string groupLabel(const Design& design, int g);

private:
    RealMatrix& matrixOf(int tab);
    void writeHeaders(int tab, int rows, int cols);

    RealMatrix& means;
    RealMatrix& sds;
    RealMatrix& correlations;
    const Design& design;
    SimulationMatricesGridCtrl& grid;
    int currentTab = MeansTab;
};
