// The row and column commands of the data table and the within-variables table, with the
// selection the user made.
#include "UserSession.h"

#include "tests/tables/TableTexts.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>

namespace {

constexpr const char* ONE_ROW =
    "Only one row must be selected after which a new row can be inserted.";
constexpr const char* ONE_COLUMN =
    "Only one column must be selected after which a new column can be inserted.";

/// prefix followed by every number of pattern, "_" standing for an empty text:
/// expand("p", "1-3,_,7") is p1, p2, p3, "", p7.
Texts expand(const std::string& prefix, const std::string& pattern)
{
    Texts texts;
    std::stringstream items(pattern);
    std::string item;
    while (std::getline(items, item, ',')) {
        if (item == "_") {
            texts.emplace_back();
            continue;
        }
        const std::size_t dash = item.find('-');
        const int first = std::stoi(item.substr(0, dash));
        const int last = dash == std::string::npos ? first : std::stoi(item.substr(dash + 1));
        for (int i = first; i <= last; ++i)
            texts.push_back(prefix + std::to_string(i));
    }
    return texts;
}

/// The "+" and "-" buttons of the data table's rows and columns and of the within variables.
enum Command { InsertRow, DeleteRows, InsertColumn, DeleteColumns, InsertWithin, DeleteWithin };

struct Edit {
    const char* what;
    /// In data coordinates, so header rows and the row-number column are negative.
    std::optional<CellRange> selection;
    Command command;
    /// expand() pattern of the texts the edit leaves.
    const char* expected;
    /// The refusal's message; empty when the command runs.
    const char* message = "";
    /// How often the command is given.
    int times = 1;
};

/// Selects as the edit says, runs its command and checks that it ran or was refused.
void apply(UserSession& session, GeneralGridCtrl& table, const Edit& edit)
{
    CellRange range;
    if (edit.selection) {
        range = {table.toGridRow(edit.selection->firstRow),
                 table.toGridColumn(edit.selection->firstColumn),
                 table.toGridRow(edit.selection->lastRow),
                 table.toGridColumn(edit.selection->lastColumn)};
    }
    table.setSelectedRange(range);
    MainWindowCommands& commands = session.commands;
    for (int i = 0; i < edit.times; ++i) {
        bool done = true;
        switch (edit.command) {
        case InsertRow: done = commands.insertRow(); break;
        case DeleteRows: commands.deleteRows(); break;
        case InsertColumn: done = commands.insertColumn(); break;
        case DeleteColumns: commands.deleteColumns(); break;
        case InsertWithin: done = commands.insertVariableRow(); break;
        case DeleteWithin: commands.deleteVariableRows(); break;
        }
        EXPECT_EQ(done, *edit.message == '\0');
    }
    EXPECT_EQ(session.takeErrors(), *edit.message ? Texts{edit.message} : Texts{});
}

/// The data table as the main window starts it, with "p1" … "p32" in the first data
/// column, roles "r1" … and names "n1" … over the columns.
void fillDataTable(UserGridCtrl& data)
{
    for (int r = 0; r < data.getDataRowCount(); ++r)
        data.setText(r, 0, "p" + std::to_string(r + 1));
    for (int c = 0; c < data.getDataColumnCount(); ++c) {
        data.setText(-2, c, "r" + std::to_string(c + 1));
        data.setText(-1, c, "n" + std::to_string(c + 1));
    }
}

/// The header rows and the row-number column hold what they held, over the columns of pattern.
void expectHeadersIntact(const UserGridCtrl& data, const char* pattern)
{
    EXPECT_EQ(rowTexts(data, -1), expand("n", pattern));
    EXPECT_EQ(rowTexts(data, -2), expand("r", pattern));
    EXPECT_EQ(columnNumbers(data), numbersUpTo(data.getDataColumnCount()));
    EXPECT_EQ(rowNumbers(data), numbersUpTo(data.getDataRowCount()));
    EXPECT_EQ(data.getText(-1, -1), "name");
    EXPECT_EQ(data.getFixedColumnCount(), 1);
    EXPECT_EQ(data.getCellBackground(data.toGridRow(-1), 0), GeneralGridCtrl::NAME_ROW_COLOUR);
    EXPECT_EQ(data.getCellType(UserGridCtrl::comboRow, data.toGridColumn(0)), CellType::DropDown);
}

} // namespace

TEST(DataTableEditing, RowCommandsFollowTheSelectionAndLeaveTheHeaderRows)
{
    const Edit edits[] = {
        {"insert after participant 5", CellRange{4, 0, 4, 0}, InsertRow, "1-5,_,6-32"},
        {"insert with nothing selected", std::nullopt, InsertRow, "1-32,_"},
        {"insert after the last participant", CellRange{31, 0, 31, 0}, InsertRow, "1-32,_"},
        {"insert at the column-number row", CellRange{-3, 2, -3, 2}, InsertRow, "_,1-32"},
        {"insert at the combination row", CellRange{-2, 2, -2, 2}, InsertRow, "_,1-32"},
        {"insert at the name row", CellRange{-1, 2, -1, 2}, InsertRow, "_,1-32"},
        {"insert after two participants", CellRange{4, 0, 5, 0}, InsertRow, "1-32", ONE_ROW},
        {"insert after the name row and a participant", CellRange{-1, 0, 0, 0}, InsertRow, "1-32",
         ONE_ROW},
        {"delete with nothing selected", std::nullopt, DeleteRows, "1-31"},
        {"delete stops at one participant", std::nullopt, DeleteRows, "1", "", 40},
        {"delete participants 2 to 4", CellRange{1, 0, 3, 0}, DeleteRows, "1,5-32"},
        {"delete with every cell selected", CellRange{-3, -1, 31, 16}, DeleteRows, "1"},
        {"delete from the combination row on", CellRange{-2, 0, 1, 0}, DeleteRows, "3-32"},
        {"delete with only header rows selected", CellRange{-3, 0, -1, 3}, DeleteRows, "1-32"},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.what);
        UserSession session;
        UserGridCtrl& data = session.commands.getDataTable();
        fillDataTable(data);
        apply(session, data, edit);
        EXPECT_EQ(columnTexts(data, 0), expand("p", edit.expected));
        expectHeadersIntact(data, "1-17");
    }
}

TEST(DataTableEditing, ColumnCommandsFollowTheSelectionAndLeaveTheRowNumbers)
{
    const Edit edits[] = {
        {"delete columns 3 to 5", CellRange{0, 2, 0, 4}, DeleteColumns, "1-2,6-17"},
        {"delete never removes the last column", std::nullopt, DeleteColumns, "1", "", 20},
        {"delete with the row numbers selected too", CellRange{3, -1, 3, 1}, DeleteColumns,
         "3-17"},
        {"insert after the selected column", CellRange{0, 1, 0, 1}, InsertColumn, "1-2,_,3-17"},
        {"insert with nothing selected", std::nullopt, InsertColumn, "1-17,_"},
        {"insert at the row numbers", CellRange{2, -1, 2, -1}, InsertColumn, "_,1-17"},
        {"insert after two columns", CellRange{0, 3, 0, 4}, InsertColumn, "1-17", ONE_COLUMN},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.what);
        UserSession session;
        UserGridCtrl& data = session.commands.getDataTable();
        fillDataTable(data);
        apply(session, data, edit);
        expectHeadersIntact(data, edit.expected);
        EXPECT_EQ(data.getDataRowCount(), 32);
    }
}

TEST(WithinTableEditing, RowCommandsKeepOneRowAndEnableDeleteFromTwoRowsOn)
{
    UserSession session;
    WithinGridCtrl& within = session.commands.getWithinTable();
    for (int r = 0; r < within.getDataRowCount(); ++r)
        within.setText(r, 0, "v" + std::to_string(r + 1));
    EXPECT_FALSE(session.commands.isDeleteVariableRowsEnabled()) << "disabled at start";
    // One table edited step by step; each step names the button state it leaves.
    const std::pair<Edit, bool> steps[] = {
        // A refused insert does not update the button.
        {{"insert after two rows", CellRange{1, 0, 2, 1}, InsertWithin, "1-20", ONE_ROW}, false},
        {{"insert after row 2", CellRange{1, 0, 1, 1}, InsertWithin, "1-2,_,3-20"}, true},
        {{"insert at the header row", CellRange{-1, 0, -1, 1}, InsertWithin, "_,1-2,_,3-20"},
         true},
        {{"delete at the header row", CellRange{-1, 0, -1, 1}, DeleteWithin, "_,1-2,_,3-20"},
         true},
        {{"delete the first row", CellRange{0, 0, 0, 1}, DeleteWithin, "1-2,_,3-20"}, true},
        {{"delete rows 3 to 21", CellRange{2, 0, 20, 1}, DeleteWithin, "1-2"}, true},
        {{"delete with nothing selected", std::nullopt, DeleteWithin, "1"}, false},
        {{"delete the only row", std::nullopt, DeleteWithin, "1"}, false},
    };
    for (const auto& [edit, deleteEnabled] : steps) {
        SCOPED_TRACE(edit.what);
        apply(session, within, edit);
        EXPECT_EQ(columnTexts(within, 0), expand("v", edit.expected));
        EXPECT_EQ(rowNumbers(within), numbersUpTo(within.getDataRowCount()));
        EXPECT_EQ(session.commands.isDeleteVariableRowsEnabled(), deleteEnabled);
    }
    EXPECT_EQ(within.getFixedRowCount(), 1);
    EXPECT_EQ(within.getText(-1, 0), "variable name");
    EXPECT_EQ(within.getText(-1, 1), "number of levels");
}
