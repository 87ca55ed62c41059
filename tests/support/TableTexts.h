#pragma once

#include "data/GeneralGridCtrl.h"

#include <string>
#include <vector>

using Texts = std::vector<std::string>;

/// The texts of data row r (header rows for r < 0) over the data columns.
inline Texts rowTexts(const GeneralGridCtrl& table, int r)
{
    Texts texts;
    for (int c = 0; c < table.getDataColumnCount(); ++c)
        texts.push_back(table.getText(r, c));
    return texts;
}

/// The texts of data column c (header columns for c < 0) down the data rows.
inline Texts columnTexts(const GeneralGridCtrl& table, int c)
{
    Texts texts;
    for (int r = 0; r < table.getDataRowCount(); ++r)
        texts.push_back(table.getText(r, c));
    return texts;
}

inline Texts rowNumbers(const GeneralGridCtrl& table)
{
    return columnTexts(table, -1);
}

inline Texts columnNumbers(const GeneralGridCtrl& table)
{
    Texts numbers;
    for (int c = 0; c < table.getDataColumnCount(); ++c)
        numbers.push_back(table.getCellText(0, table.toGridColumn(c)));
    return numbers;
}

inline Texts numbersUpTo(int n)
{
    Texts numbers;
    for (int i = 1; i <= n; ++i)
        numbers.push_back(std::to_string(i));
    return numbers;
}
