#pragma once

#include "app/MainWindowCommands.h"
#include "data/ImportOptions.h"
#include "numeric/DecimalSeparator.h"
#include "platform/MessageSink.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace CLI {
class App;
}

/// What a subcommand works on, as its command line says: a project file, or a text file
/// imported into the data table together with the within variables and the role of every
/// data column; and the decimal separator of the tables. The tables are filled through the
/// desktop program's own commands: ProjectFile reads the project, TextImport imports the
/// text file, and the within variables and roles are typed into the tables as texts, so
/// the checks of the compute command judge them as they judge what a user types.
class InputOptions {
public:
    /// Adds PROJECT, --import, --within, --roles, the seven import flags,
    /// --decimal-separator and --drop-incomplete to command. Exactly one of PROJECT and
    /// --import is required; --import requires --within and --roles, which, like the import
    /// flags, require it.
    void addTo(CLI::App& command);

    bool dropsIncomplete() const { return dropIncomplete; }
    /// --decimal-separator when given, else that of the environment's numeric locale.
    DecimalSeparator decimalSeparator() const;

    /// Fills the tables of commands, which must be fresh: reads the project, or imports the
    /// text file (naming its columns by number with --no-names), types the within
    /// variables into the within-variables table and the
    /// roles into the combination row; with --drop-incomplete the commands leave out the
    /// participants with an empty cell. After an import, lines receives the file line of
    /// every participant row that holds a cell, in order: the rows the data table keeps
    /// when it removes its empty ones. False after a message through messages: the file
    /// cannot be read, or the roles do not match the imported data columns.
    bool load(MainWindowCommands& commands, MessageSink& messages,
              std::vector<std::int64_t>& lines) const;
    /// The whole project or text file; nothing after a message when it cannot be opened or
    /// is too large.
    std::optional<std::string> readInput(MessageSink& messages) const;
    /// load from the bytes that readInput gave, here or in another process.
    bool loadBytes(MainWindowCommands& commands, MessageSink& messages,
                   std::vector<std::int64_t>& lines, std::string bytes) const;
    /// After --import, when the data table refused a cell in its last reading, writes the
    /// line "In FILE: line L." naming the file line of its row (lines as load gave them).
    void reportRefusedCell(const UserGridCtrl& data, const std::vector<std::int64_t>& lines,
                           std::ostream& out) const;
    /// "Left out 2 participants with empty cells: rows 3, 17." (or "Left out 1 participant
    /// with empty cells: row 3.") with the data rows 0 … numbered from 1; nothing for none.
    static void reportLeftOut(const std::vector<int>& rows, std::ostream& out);

private:
    /// The import options of the flags: the check boxes' defaults unless a flag says
    /// otherwise.
    ImportOptions importOptions() const;
    /// With --no-names the file gives no names; every column is named by its number in
    /// the column-number row, "1", "2", ...
    static void nameColumnsByNumber(UserGridCtrl& data);
    void typeWithinVariables(WithinGridCtrl& within) const;
    bool typeRoles(UserGridCtrl& data, MessageSink& messages) const;

    std::string projectPath;
    std::string importPath;
    /// NAME=LEVELS, one per within variable in table order.
    std::vector<std::string> withinVariables;
    /// One role per data column, separated by ';'.
    std::string roles;
    std::string separator;
    bool noNames = false;
    bool spaces = false;
    bool noTab = false;
    bool verticalTab = false;
    bool formFeed = false;
    bool noCarriageReturn = false;
    bool noLineFeed = false;
    bool dropIncomplete = false;
};
