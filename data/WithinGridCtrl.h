#pragma once

#include "data/GeneralGridCtrl.h"
#include "data/ProjectContent.h"
#include "numeric/GeneralMatrix.h"

#include <string>
#include <vector>

/// The within-variables table: one row per within-subject variable with its name (data
/// column 0) and its number of levels (data column 1, the leading decimal integer of the
/// text, 0 without one). One fixed header row with "variable name" and "number of levels",
/// one fixed column of row numbers.
///
/// Every collect operation first removes the empty rows (both cells empty), so the rows it
/// reads are the variables.
class WithinGridCtrl : public GeneralGridCtrl {
public:
    static constexpr int INITIAL_ROWS = 20;
    static constexpr int LEVELS_COLUMN_WIDTH = 105;

    explicit WithinGridCtrl(DecimalSeparator separator);

    /// Builds the table anew: 20 empty, numbered rows, the two header labels, the widths
    /// fitted to the contents.
    void setupTable();

    /// names := the name of every row; collectedCount := the number of rows.
    void collectNames();
    /// levels := the number of levels of every row; collectedCount := the number of rows.
    void collectLevels();
    /// Write names (levels, with "%d") into the rows from the top, appending numbered rows
    /// when the table has fewer.
    void restoreNames();
    void restoreLevels();

    /// Each of these collects first.
    void getNames(std::vector<std::string>& out);
    /// "" when there is no row i.
    std::string getName(int i);
    int getCount();
    void getLevels(std::vector<int>& out);

    /// Collects names and levels; combinations := levelCombinations of the levels, one
    /// combination per row.
    void buildCombinations();
    const GeneralMatrix<int>& getCombinations() const { return combinations; }

    /// The within section of a project file (records 7 and 8): collects names and levels,
    /// which removes the empty rows, and writes both lists.
    void Serialize(BinaryWriter& out);
    /// Replaces the whole table by the section: setupTable, then exactly one numbered row
    /// per variable with its name and its number of levels ("%d").
    void loadWithin(const ProjectContent::WithinSection& section);

protected:
    /// Appends the rows a paste needs; the table never grows in columns.
    void makeRoom(CellPosition origin, int lines, int columns) override;
    /// Grows the table by GROWTH rows on Enter or Down in its last rows.
    void onKeyDown(GridKey key) override;

private:
    /// Rows appended until there are at least count.
    void ensureDataRows(int count);

    int collectedCount = 0;
    std::vector<std::string> names;
    std::vector<int> levels;
    GeneralMatrix<int> combinations;
};
