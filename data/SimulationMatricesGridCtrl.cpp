#include "data/SimulationMatricesGridCtrl.h"

#include "numeric/NumberText.h"

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

void SimulationMatricesGridCtrl::resetValues(int rows, int cols)
{
    values.resize(rows, cols);
}

void SimulationMatricesGridCtrl::setValue(int r, int c, double value)
{
    values.set(r, c, value);
    setText(r, c, formatNumber(value, CELL_FORMAT, getDecimalSeparator()));
}

bool SimulationMatricesGridCtrl::showsValue(int r, int c) const
{
    if (r < 0 || c < 0 || r >= values.getRows() || c >= values.getCols())
        return false;
    return getText(r, c) == formatNumber(values.get(r, c), CELL_FORMAT, getDecimalSeparator());
}

double SimulationMatricesGridCtrl::getValue(int r, int c) const
{
    if (showsValue(r, c))
        return values.get(r, c);
    return parseNumber(getText(r, c), getDecimalSeparator());
}

std::string SimulationMatricesGridCtrl::getEditText(int row, int column) const
{
    const int r = toDataRow(row);
    const int c = toDataColumn(column);
    if (!showsValue(r, c))
        return GeneralGridCtrl::getEditText(row, column);
    const double value = values.get(r, c);
    // 15 significant digits read back exactly for most values typed by hand; 17 always do.
    std::string text = formatNumber(value, "%.15g", getDecimalSeparator());
    if (parseNumber(text, getDecimalSeparator()) != value)
        text = formatNumber(value, "%.17g", getDecimalSeparator());
    return text;
}
