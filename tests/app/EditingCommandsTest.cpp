// The row and column commands of the data and within-variables tables, on the selection.
#include "tests/support/UserSession.h"

#include "tests/support/TableTexts.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>

namespace {

constexpr const char* ONE_ROW =
    "Only one row must be selected after which a new row can be inserted.";

/// expand("p", "1-3,_,7") is p1, p2, p3, "", p7.
Texts expand(const std::string& prefix, const std::string& pattern)
{
    Texts texts;
    std::stringstream items(pattern);
    std::string item;
    while (std::getline(items, item, ',')) {
        const std::size_t dash = item.find('-');
        const int first = item == "_" ? 0 : std::stoi(item.substr(0, dash));
        const int last = dash == std::string::npos ? first : std::stoi(item.substr(dash + 1));
        for (int i = first; i <= last; ++i)
            texts.push_back(i == 0 ? "" : prefix + std::to_string(i));
    }
    return texts;
}

enum Command { InsertRow, DeleteRows, InsertColumn, DeleteColumns, InsertWithin, DeleteWithin };

} // namespace

TEST(TableEditing, CommandsFollowTheSelectionAndLeaveTheHeaders)
{
    const struct {
        std::optional<CellRange> selection; // data coordinates: headers are negative
        Command command;
        const char* expected; // expand() pattern of the rows or columns left
        const char* message = "";
        int times = 1;
    } edits[] = {
        {CellRange{4, 0, 4, 0}, InsertRow, "1-5,_,6-32"},
        {CellRange{-1, 2, -1, 2}, InsertRow, "_,1-32"},
        {CellRange{-1, 0, 0, 0}, InsertRow, "1-32", ONE_ROW},
        {std::nullopt, DeleteRows, "1", "", 40},
        {CellRange{0, 2, 0, 4}, DeleteColumns, "1-2,6-17"},
        {std::nullopt, DeleteColumns, "1", "", 20},
        {CellRange{2, -1, 2, -1}, InsertColumn, "_,1-17"},
        {CellRange{0, 3, 0, 4}, InsertColumn, "1-17",
         "Only one column must be selected after which a new column can be inserted."},
        {CellRange{1, 0, 2, 1}, InsertWithin, "1-20", ONE_ROW},
        {CellRange{1, 0, 1, 1}, InsertWithin, "1-2,_,3-20"},
        {std::nullopt, DeleteWithin, "1", "", 25},
    };
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.expected);
        UserSession session;
        MainWindowCommands& commands = session.commands;
        UserGridCtrl& data = commands.getDataTable();
        WithinGridCtrl& within = commands.getWithinTable();
        for (int r = 0; r < data.getDataRowCount(); ++r)
            data.setText(r, 0, "p" + std::to_string(r + 1));
        for (int c = 0; c < data.getDataColumnCount(); ++c)
            data.setText(-1, c, "n" + std::to_string(c + 1));
        for (int r = 0; r < within.getDataRowCount(); ++r)
            within.setText(r, 0, "v" + std::to_string(r + 1));
        const bool inWithin = edit.command >= InsertWithin;
        GeneralGridCtrl& table = inWithin ? static_cast<GeneralGridCtrl&>(within) : data;
        CellRange range;
        if (const auto& s = edit.selection)
            range = {table.toGridRow(s->firstRow), table.toGridColumn(s->firstColumn),
                     table.toGridRow(s->lastRow), table.toGridColumn(s->lastColumn)};
        table.setSelectedRange(range);
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
        const bool columns = edit.command == InsertColumn || edit.command == DeleteColumns;
        EXPECT_EQ(columns ? rowTexts(data, -1) : columnTexts(table, 0), expand(columns    ? "n"
                                                                               : inWithin ? "v"
                                                                                          : "p",
                                                                               edit.expected));
        EXPECT_EQ(rowNumbers(table), numbersUpTo(table.getDataRowCount()));
    }
}
