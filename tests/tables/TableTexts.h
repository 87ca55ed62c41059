#pragma once

#include "data/GeneralGridCtrl.h"

#include <string>
#include <vector>

using Texts = std::vector<std::string>;

/// The row numbers beside the data rows, top to bottom.
inline Texts rowNumbers(const GeneralGridCtrl& table)
{
    Texts numbers;
    for (int r = 0; r < table.getDataRowCount(); ++r)
        numbers.push_back(table.getText(r, -1));
    return numbers;
}

/// The column numbers in the top row over the data columns, left to right.
inline Texts columnNumbers(const GeneralGridCtrl& table)
{
    Texts numbers;
    for (int c = 0; c < table.getDataColumnCount(); ++c)
        numbers.push_back(table.getCellText(0, table.toGridColumn(c)));
    return numbers;
}

/// "1" … "n".
inline Texts numbersUpTo(int n)
{
    Texts numbers;
    for (int i = 1; i <= n; ++i)
        numbers.push_back(std::to_string(i));
    return numbers;
}
