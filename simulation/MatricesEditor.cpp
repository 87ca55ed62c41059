#include "simulation/MatricesEditor.h"

#include "grid/CellState.h"

#include <algorithm>
#include <cassert>
#include <vector>

namespace {

/// Whether every variable has at most 9 levels, so that its level numbers are single digits.
bool hasSingleDigitLevels(const std::vector<int>& levelCounts)
{
    for (int count : levelCounts) {
        if (count > 9)
            return false;
    }
    return true;
}

/// prefix and the levels, joined as MatricesEditor::withinLabel describes.
std::string levelLabel(const char* prefix, const std::vector<int>& levels, bool singleDigits)
{
    std::string label = prefix;
    for (std::size_t k = 0; k < levels.size(); ++k) {
        if (k > 0 && !singleDigits)
            label += '.';
        label += std::to_string(levels[k]);
    }
    return label;
}

} // namespace

MatricesEditor::MatricesEditor(RealMatrix& meansMatrix, RealMatrix& sdsMatrix,
                               RealMatrix& correlationsMatrix, const Design& shownDesign,
                               SimulationMatricesGridCtrl& matricesGrid)
    : means(meansMatrix), sds(sdsMatrix), correlations(correlationsMatrix), design(shownDesign),
      grid(matricesGrid)
{
    fillGrid(MeansTab);
}

std::string MatricesEditor::withinLabel(const Design& design, int c)
{
    const GeneralMatrix<int>& combinations = design.getWithinCombinations();
    std::vector<int> levels;
    for (std::int32_t k = 0; k < combinations.getRows(); ++k)
        levels.push_back(combinations.get(k, c));
    return levelLabel("W", levels, hasSingleDigitLevels(design.getWithinLevels()));
}

std::string MatricesEditor::groupLabel(const Design& design, int g)
{
    const GeneralMatrix<int>& combinations = design.getBetweenCombinations();
    // Without a between variable the one group has no levels of its own.
    if (combinations.getCols() == 0)
        return "B1";
    std::vector<int> levels;
    for (std::int32_t k = 0; k < combinations.getCols(); ++k)
        levels.push_back(combinations.get(g, k));
    return levelLabel("B", levels, hasSingleDigitLevels(design.getBetweenLevels()));
}

void MatricesEditor::fillGrid(int tab)
{
    const RealMatrix& matrix = matrixOf(tab);
    const int rows = matrix.getRows();
    const int cols = matrix.getCols();
    grid.removeAllCells();
    grid.setRowCount(rows + 1);
    grid.setColumnCount(cols + 1);
    grid.setFixedRowCount(1);
    grid.setFixedColumnCount(1);
    grid.resetValues(rows, cols);
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < cols; ++j)
            grid.setValue(i, j, matrix.get(i, j));
    }
    writeHeaders(tab, rows, cols);
    if (tab == CorrelationsTab) {
        for (int i = 0; i < rows; ++i) {
            grid.setCellColour(i, i, DIAGONAL_COLOUR.red, DIAGONAL_COLOUR.green,
                               DIAGONAL_COLOUR.blue);
            grid.setCellState(grid.toGridRow(i), grid.toGridColumn(i), CellState::ReadOnly);
        }
    }
    grid.setMode(tab);
    grid.autoSizeColumns();
    // Short values make narrow columns; the usual width leaves room to type.
    for (int j = 0; j < cols; ++j) {
        const int column = grid.toGridColumn(j);
        grid.setColumnWidth(column,
                            std::max(grid.getColumnWidth(column), GridModel::DEFAULT_COLUMN_WIDTH));
    }
    grid.refresh();
}

void MatricesEditor::writeHeaders(int tab, int rows, int cols)
{
    for (int j = 0; j < cols; ++j)
        grid.setText(-1, j, withinLabel(design, j));
    for (int i = 0; i < rows; ++i)
        grid.setText(i, -1,
                     tab == CorrelationsTab ? withinLabel(design, i) : groupLabel(design, i));
    grid.colourHeaderRow();
    grid.colourHeaderColumn();
}

void MatricesEditor::readGrid(int tab)
{
    RealMatrix& matrix = matrixOf(tab);
    for (int i = 0; i < matrix.getRows(); ++i) {
        for (int j = 0; j < matrix.getCols(); ++j)
            matrix.set(i, j, grid.getValue(i, j));
    }
}

void MatricesEditor::selectTab(int tab)
{
    assert(tab >= MeansTab && tab <= CorrelationsTab);
    readGrid(currentTab);
    currentTab = tab;
    fillGrid(tab);
}

void MatricesEditor::accept()
{
    readGrid(currentTab);
}

RealMatrix& MatricesEditor::matrixOf(int tab)
{
    if (tab == SdsTab)
        return sds;
    if (tab == CorrelationsTab)
        return correlations;
    return means;
}
