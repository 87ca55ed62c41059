#include "data/WithinGridCtrl.h"

#include "data/BinaryWriter.h"
#include "design/Combinations.h"
#include "numeric/NumberText.h"

#include <cstddef>
#include <string>

WithinGridCtrl::WithinGridCtrl(DecimalSeparator separator) : GeneralGridCtrl(separator)
{
}

void WithinGridCtrl::setupTable()
{
    removeAllCells();
    setFixedRowCount(1);
    setFixedColumnCount(1);
    setDataRowCount(INITIAL_ROWS);
    setDataColumnCount(2);
    setText(-1, 0, "variable name");
    setText(-1, 1, "number of levels");
    setColumnWidth(toGridColumn(1), LEVELS_COLUMN_WIDTH);
    renumberRows();
    autoSizeColumns();
    refresh();
}

void WithinGridCtrl::collectNames()
{
    removeEmptyRows();
    names.clear();
    for (int r = 0; r < getDataRowCount(); ++r)
        names.push_back(getText(r, 0));
    collectedCount = getDataRowCount();
}

void WithinGridCtrl::collectLevels()
{
    removeEmptyRows();
    levels.clear();
    for (int r = 0; r < getDataRowCount(); ++r)
        levels.push_back(parseLeadingInteger(getText(r, 1)));
    collectedCount = getDataRowCount();
}

void WithinGridCtrl::restoreNames()
{
    ensureDataRows(static_cast<int>(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i)
        setText(static_cast<int>(i), 0, names[i]);
}

void WithinGridCtrl::restoreLevels()
{
    ensureDataRows(static_cast<int>(levels.size()));
    for (std::size_t i = 0; i < levels.size(); ++i)
        setText(static_cast<int>(i), 1, std::to_string(levels[i]));
}

void WithinGridCtrl::getNames(std::vector<std::string>& out)
{
    collectNames();
    out = names;
}

std::string WithinGridCtrl::getName(int i)
{
    collectNames();
    if (i < 0 || i >= collectedCount)
        return "";
    return names[static_cast<std::size_t>(i)];
}

int WithinGridCtrl::getCount()
{
    collectNames();
    return collectedCount;
}

void WithinGridCtrl::getLevels(std::vector<int>& out)
{
    collectLevels();
    out = levels;
}

void WithinGridCtrl::buildCombinations()
{
    collectNames();
    collectLevels();
    combinations = levelCombinations(levels);
}

void WithinGridCtrl::Serialize(BinaryWriter& out)
{
    collectNames();
    collectLevels();
    out.writeStringList(names);
    out.writeIntegerList(levels);
}

void WithinGridCtrl::loadWithin(const ProjectContent::WithinSection& section)
{
    setupTable();
    names = section.names;
    levels = section.levels;
    setDataRowCount(static_cast<int>(names.size()));
    restoreNames();
    restoreLevels();
    renumberRows();
    collectedCount = getDataRowCount();
    autoSizeColumns();
    refresh();
}

void WithinGridCtrl::makeRoom(CellPosition origin, int lines, int)
{
    appendRowsForPaste(origin.row, lines);
}

void WithinGridCtrl::onKeyDown(GridKey key)
{
    growRowsAtEnd(key);
}

void WithinGridCtrl::ensureDataRows(int count)
{
    if (count > getDataRowCount())
        appendDataRows(count - getDataRowCount());
}
