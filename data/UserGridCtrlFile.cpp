// The data table's section of a project file.
#include "data/BinaryWriter.h"
#include "data/UserGridCtrl.h"

bool UserGridCtrl::serializeData(BinaryWriter& out)
{
    if (areParticipantCellsEmpty()) {
        messages.showMessage("Error", "Data grid is empty.\n Nothing to save.", MessageIcon::Error);
        return false;
    }
    if (!serializeValues(out))
        return false;
    std::vector<std::string> list;
    getComboOptions(list);
    out.writeStringList(list);
    collectNames();
    out.writeStringList(names);
    getCombinationTexts(list);
    out.writeStringList(list);
    return true;
}

void UserGridCtrl::loadData(const ProjectContent::DataSection& section)
{
    setupTable(section.values.getRows(), section.values.getCols());
    loadValues(section.values);
    setComboOptions(section.comboOptions);
    names = section.names;
    restoreNames();
    setCombinationTexts(section.combinations);
    refresh();
}

bool UserGridCtrl::areParticipantCellsEmpty() const
{
    for (int r = 0; r < getDataRowCount(); ++r) {
        if (!isRowEmpty(r))
            return false;
    }
    return true;
}
