#include "data/SimulationMatricesGridCtrl.h"

SimulationMatricesGridCtrl::SimulationMatricesGridCtrl(DecimalSeparator separator)
    : GeneralGridCtrl(separator)
{
}

bool SimulationMatricesGridCtrl::endEdit(int row, int column, const std::string& text)
{
    if (!GeneralGridCtrl::endEdit(row, column, text))
        return false;
    if (mode != CORRELATION_MODE)
        return true;
    setText(toDataColumn(column), toDataRow(row), text);
    repaint();
    return true;
}
