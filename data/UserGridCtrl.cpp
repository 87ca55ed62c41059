#include "data/UserGridCtrl.h"

#include "design/Combinations.h"
#include "numeric/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

namespace {

std::size_t toIndex(int i)
{
    return static_cast<std::size_t>(i);
}

} // namespace

UserGridCtrl::UserGridCtrl(MessageSink& messageSink, DecimalSeparator separator)
    : GeneralGridCtrl(separator), messages(messageSink)
{
    // Between the fixed column-number row and the participants: the combination row and
    // the name row.
    extraRows = 2;
}

void UserGridCtrl::setWithinVariablesCheck(std::function<void()> check)
{
    owner = std::move(check);
}

bool UserGridCtrl::setupTable(int R, int C)
{
    if (R < 0 || C < 0)
        return false;
    removeAllCells();
    setFixedRowCount(1);
    setFixedColumnCount(1);
    setDataRowCount(R);
    setDataColumnCount(C);
    for (int c = 0; c < C; ++c)
        makeComboCell(c, {});
    renumberColumns();
    setText(-1, -1, "name");
    for (int c = -1; c < C; ++c)
        setCellBackground(toGridRow(-1), toGridColumn(c), NAME_ROW_COLOUR);
    renumberRows();
    names.clear();
    betweenColumns.clear();
    columnLevels.resize(0, 0);
    refresh();
    return true;
}

void UserGridCtrl::setComboOptions(const std::vector<std::string>& list)
{
    for (int c = 0; c < getDataColumnCount(); ++c)
        makeComboCell(c, list);
}

void UserGridCtrl::getComboOptions(std::vector<std::string>& out) const
{
    out = getCellOptions(comboRow, toGridColumn(0));
}

void UserGridCtrl::getCombinationTexts(std::vector<std::string>& out) const
{
    out.clear();
    for (int c = 0; c < getDataColumnCount(); ++c)
        out.push_back(getCellText(comboRow, toGridColumn(c)));
}

bool UserGridCtrl::setCombinationTexts(const std::vector<std::string>& list)
{
    if (list.size() != toIndex(getDataColumnCount()))
        return false;
    for (int c = 0; c < getDataColumnCount(); ++c)
        setCellText(comboRow, toGridColumn(c), list[toIndex(c)]);
    return true;
}

void UserGridCtrl::collectNames()
{
    names.clear();
    for (int c = 0; c < getDataColumnCount(); ++c)
        names.push_back(getText(-1, c));
}

void UserGridCtrl::restoreNames()
{
    const int count = std::min(static_cast<int>(names.size()), getDataColumnCount());
    for (int c = 0; c < count; ++c)
        setText(-1, c, names[toIndex(c)]);
}

void UserGridCtrl::getNames(std::vector<std::string>& out)
{
    collectNames();
    out = names;
}

void UserGridCtrl::buildColumnAssignment()
{
    betweenColumns.clear();
    for (int c = 0; c < getDataColumnCount(); ++c) {
        if (getCellText(comboRow, toGridColumn(c)) == BETWEEN)
            betweenColumns.insert(c);
    }
    const int otherCount = getDataColumnCount() - static_cast<int>(betweenColumns.size());
    columnLevels.resize(0, 0);
    int k = 0;
    for (int c = 0; c < getDataColumnCount(); ++c) {
        if (betweenColumns.count(c) > 0)
            continue;
        const std::vector<int> levels =
            parseCombinationLabel(getCellText(comboRow, toGridColumn(c)));
        if (k == 0)
            columnLevels.resize(static_cast<int>(levels.size()), otherCount);
        const int rows = std::min(static_cast<int>(levels.size()), columnLevels.getRows());
        for (int i = 0; i < rows; ++i)
            columnLevels.set(i, k, levels[toIndex(i)]);
        ++k;
    }
}

std::set<int> UserGridCtrl::getBetweenColumns()
{
    buildColumnAssignment();
    return betweenColumns;
}

void UserGridCtrl::getColumnLevels(GeneralMatrix<int>& out)
{
    buildColumnAssignment();
    out.copyFrom(columnLevels);
}

bool UserGridCtrl::deleteDataColumn(int c)
{
    if (c < 0 || c >= getDataColumnCount())
        return false;
    if (toIndex(c) < names.size())
        names.erase(names.begin() + c);
    return GeneralGridCtrl::deleteDataColumn(c);
}

bool UserGridCtrl::beginEdit(int row, int column)
{
    const bool editable = GeneralGridCtrl::beginEdit(row, column);
    if (editable && row == comboRow && owner)
        owner();
    return editable;
}

std::optional<double> UserGridCtrl::readCell(int r, int c)
{
    const std::string& text = getText(r, c);
    const char foreignSeparator = decimalSeparator.isComma() ? '.' : ',';
    if (text.find(foreignSeparator) != std::string::npos) {
        messages.showMessage(
            "Veltmark",
            decimalSeparator.isComma()
                ? "In your regional settings ',' is selected as decimal separator."
                : "In your regional settings '.' is selected as decimal separator.",
            MessageIcon::Exclamation);
        selectCell(r, c);
        return std::nullopt;
    }
    if (trimWhiteSpace(text).empty())
        return std::numeric_limits<double>::quiet_NaN();
    const std::optional<double> value = parseWholeNumber(text, decimalSeparator);
    if (!value)
        refuseCell(r, c);
    return value;
}

void UserGridCtrl::refuseCell(int r, int c)
{
    messages.showMessage("Error",
                         "The cell in row " + std::to_string(r + 1) + ", column " +
                             std::to_string(c + 1) + " of the data table holds no number.",
                         MessageIcon::Error);
    selectCell(r, c);
    refusedCell = CellPosition{r, c};
}

bool UserGridCtrl::readNumbers()
{
    refusedCell.reset();
    return GeneralGridCtrl::readNumbers();
}

std::vector<int> UserGridCtrl::findIncompleteRows() const
{
    std::vector<int> rows;
    for (int r = 0; r < valueMatrix.getRows(); ++r) {
        for (int c = 0; c < valueMatrix.getCols(); ++c) {
            if (std::isnan(valueMatrix.get(r, c))) {
                rows.push_back(r);
                break;
            }
        }
    }
    return rows;
}

void UserGridCtrl::selectCell(int r, int c)
{
    const int row = toGridRow(r);
    const int column = toGridColumn(c);
    setSelectedRange({row, column, row, column});
    ensureCellVisible({row, column});
}

void UserGridCtrl::makeComboCell(int c, std::vector<std::string> options)
{
    setCellDropDown(comboRow, toGridColumn(c), std::move(options), DropDownStyle::Editable);
}
