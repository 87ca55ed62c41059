#pragma once

#include "data/GeneralGridCtrl.h"
#include "data/ProjectContent.h"
#include "numeric/GeneralMatrix.h"
#include "platform/MessageSink.h"

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

/// The data table: one row per participant, one column per measured variable or group
/// variable, with three header rows above the participants.
///
/// | data row | grid row | content                                                        |
/// |----------|----------|----------------------------------------------------------------|
/// | -3       | 0, fixed | column numbers "1" … "C"                                       |
/// | -2       | 1        | combination row: editable drop-down cells holding the column's |
/// |          |          | role, "between" or a combination label such as "1, 2"          |
/// | -1       | 2        | name row: the column names, NAME_ROW_COLOUR, left header "name" |
/// | 0 … R-1  | 3 …      | participants, numbered "1" … "R" in the fixed left column      |
///
/// The row and column operations address data rows and columns only, so the header rows
/// cannot be inserted into or deleted. `names` follows inserted and deleted columns while
/// it holds a collected list; code that needs the current names calls getNames.
class UserGridCtrl : public GeneralGridCtrl {
public:
    /// Grid row of the combination row.
    static constexpr int comboRow = 1;
    /// The role text of a group-variable column.
    static constexpr const char* BETWEEN = "between";

    /// Messages of readNumbers go to messages, which outlives the table.
    UserGridCtrl(MessageSink& messages, DecimalSeparator separator);

    /// The main window's within-variables check, run whenever the user begins to edit a
    /// combination cell; it refills the drop-down lists before they open.
    void setWithinVariablesCheck(std::function<void()> check);

    /// Builds the layout anew with R participant rows and C data columns: every cell,
    /// name, role and drop-down list of before is gone. False (nothing changed) for a
    /// negative size.
    bool setupTable(int R, int C);

    /// Every combination cell becomes an editable drop-down cell offering list.
    void setComboOptions(const std::vector<std::string>& list);
    /// The list of the first data column's combination cell (empty without a column).
    void getComboOptions(std::vector<std::string>& out) const;
    /// The combination texts, one per data column.
    void getCombinationTexts(std::vector<std::string>& out) const;
    /// False, and nothing written, unless list has one text per data column.
    bool setCombinationTexts(const std::vector<std::string>& list);

    /// names := the name-row texts, one per data column.
    void collectNames();
    /// Writes names[i] into the name cell of data column i, as far as both reach.
    void restoreNames();
    /// collectNames, then out receives a copy of names.
    void getNames(std::vector<std::string>& out);

    /// betweenColumns := the data columns whose combination text is exactly "between";
    /// column k of columnLevels := the parsed label of the k-th other column, sized by the
    /// first such label (a longer label is cut, a shorter one padded with 0).
    void buildColumnAssignment();
    /// Both build the column assignment first.
    std::set<int> getBetweenColumns();
    void getColumnLevels(GeneralMatrix<int>& out);

    /// Inserts an empty data column after grid column g (g < 0: after the last column),
    /// renumbers the columns, inserts an empty name into names, and makes every
    /// combination cell an editable drop-down cell with an empty list again (the
    /// within-variables check refills them). False for g beyond the last column.
    bool insertColumn(int g);
    /// Removes names[c] too, while names holds a collected list.
    bool deleteDataColumn(int c) override;

    /// Reads the participant cells with the data table's rule (readCell): a cell that is
    /// empty, or blanks only, is read as a quiet NaN; a cell with any other text that is
    /// not wholly a finite decimal number is refused. Forgets the refused cell of before.
    bool readNumbers() override;
    /// The data rows in which the last readNumbers found an empty cell, ascending.
    std::vector<int> findIncompleteRows() const;
    /// Shows "The cell in row R, column C of the data table holds no number." (R and C
    /// numbered from 1, title "Error"), selects data cell (r, c), scrolls it into view and
    /// remembers it as the refused cell.
    void refuseCell(int r, int c);
    /// The cell refused since the last readNumbers began, in data coordinates; nothing when
    /// there is none (a wrong decimal separator is not remembered here).
    const std::optional<CellPosition>& getRefusedCell() const { return refusedCell; }

    /// The data section of a project file (records 1 to 6): with every participant cell
    /// empty, shows "Data grid is empty.\n Nothing to save."; otherwise readNumbers (which
    /// first removes the empty rows and columns), then the values (an empty cell as a
    /// quiet NaN), the drop-down list of the first combination cell, the collected names
    /// and the combination texts. False, with nothing written, when the table is empty or
    /// readNumbers refuses a cell.
    bool serializeData(BinaryWriter& out);
    /// Replaces the whole table by the section: setupTable with its extent, the values
    /// written with "%.14g", every combination cell an editable drop-down cell with the
    /// section's list, the names into `names` and the name row, the combination texts.
    /// A NaN value gives an empty cell. The section has one name and one combination text
    /// per column (readProjectContent ensures it).
    void loadData(const ProjectContent::DataSection& section);

    /// On the combination row the within-variables check runs first; editing then
    /// proceeds whatever its outcome.
    bool beginEdit(int row, int column) override;

protected:
    /// First the decimal-separator check: a '.' in a cell when the user's separator is ','
    /// (or a ',' otherwise) shows the warning, selects the cell and scrolls it into view.
    /// Then an empty cell gives a quiet NaN, a text that parseWholeNumber does not take is
    /// refused (refuseCell), and any other text gives its number.
    std::optional<double> readCell(int r, int c) override;
    /// Appends the rows and (with insertColumn) the columns the paste needs.
    void makeRoom(CellPosition origin, int lines, int columns) override;
    /// Grows the table by GROWTH rows on Enter or Down in its last rows, and by GROWTH
    /// columns on Tab or Right in its last columns.
    void onKeyDown(GridKey key) override;

private:
    bool areParticipantCellsEmpty() const;
    /// Data cell (r, c) becomes the selected range and is scrolled into view.
    void selectCell(int r, int c);
    void makeComboCell(int c, std::vector<std::string> options);
    void appendColumns(int n);

    MessageSink& messages;
    /// The owner's within-variables check (the main window's checkWithinVariables).
    std::function<void()> owner;
    std::vector<std::string> names;
    std::set<int> betweenColumns;
    GeneralMatrix<int> columnLevels;
    std::optional<CellPosition> refusedCell;
};
