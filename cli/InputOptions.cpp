#include "cli/InputOptions.h"

#include "cli/LocaleDecimalSeparator.h"
#include "cli/OptionChecks.h"
#include "data/FileAccess.h"
#include "data/FileLimits.h"
#include "data/ProjectFile.h"
#include "data/TextImport.h"
#include "numeric/NumberText.h"

#include <CLI/CLI.hpp>

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

namespace {

/// A --within value must name its variable and give its levels as an integer, read as
/// every integer option is; the range of the levels is the within-variables check's to
/// judge. The last '=' separates the levels, so a name may contain one.
std::string checkWithinValue(const std::string& value)
{
    const std::size_t equals = value.rfind('=');
    if (equals == std::string::npos)
        return "expected NAME=LEVELS, e.g. time=3";
    const std::string levels = value.substr(equals + 1);
    if (!parseWholeInteger(levels))
        return "\"" + levels + "\" in \"" + value + "\" is not an integer";
    return {};
}

std::string_view trimmedBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

/// The ';'-separated entries of roles, each without surrounding blanks, so that
/// "between; 1, 1" reads as "between" and "1, 1".
std::vector<std::string> splitRoles(std::string_view roles)
{
    std::vector<std::string> entries;
    while (true) {
        const std::size_t end = roles.find(';');
        entries.emplace_back(trimmedBlanks(roles.substr(0, end)));
        if (end == std::string_view::npos)
            return entries;
        roles.remove_prefix(end + 1);
    }
}

} // namespace

void InputOptions::addTo(CLI::App& command)
{
    CLI::Option* project = command.add_option(
        "PROJECT", projectPath, "A project file written by Tamsel or by --save,\ne.g. study.vlt");
    project->type_name("FILE")->check(notEmpty());
    CLI::Option* import = command.add_option(
        "--import", importPath,
        "Import a delimited text file into the data table\ninstead of PROJECT, e.g. --import "
        "data.txt;\nneeds --within and --roles");
    import->type_name("DATA.txt")->check(notEmpty())->excludes(project);
    command.parse_complete_callback([project, import] {
        if (project->count() == 0 && import->count() == 0)
            throw CLI::RequiredError("PROJECT or --import");
    });

    CLI::Option* within = command.add_option(
        "--within", withinVariables,
        "A within variable and its number of levels, one\noption per variable in table order,"
        "\ne.g. --within time=2 --within task=3");
    within->type_name("NAME=LEVELS")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->check(CLI::Validator(checkWithinValue, ""))
        ->needs(import);
    CLI::Option* roleList = command.add_option(
        "--roles", roles,
        "The role of every data column of the imported\nfile, in order, separated by ';': "
        "\"between\"\nfor a group variable, else a combination label,\ne.g. --roles "
        "\"between;1, 1;1, 2;2, 1;2, 2\"");
    roleList->type_name("\"ROLE;...\"")->needs(import);
    import->needs(within)->needs(roleList);

    const auto addImportFlag = [&](const char* name, bool& flag, const char* help) {
        command.add_flag(name, flag, help)->needs(import)->group("Import options (with --import)");
    };
    addImportFlag("--no-names", noNames,
                  "The first row holds data, not the column names;\n"
                  "the columns are named 1, 2, ...");
    addImportFlag("--spaces", spaces, "Blanks separate fields too, e.g. \"1.5  2.5 3.5\"");
    addImportFlag("--no-tab", noTab, "Tabs do not separate fields (use with --spaces)");
    addImportFlag("--vt", verticalTab, "A vertical tab ends a record");
    addImportFlag("--ff", formFeed, "A form feed ends a record");
    addImportFlag("--no-cr", noCarriageReturn, "A carriage return does not end a record");
    addImportFlag("--no-lf", noLineFeed, "A line feed does not end a record");

    command
        .add_option("--decimal-separator", separator,
                    "The decimal separator of the tables and of the\ntext output, e.g. "
                    "--decimal-separator ,\n(default: the locale's in LC_ALL, LC_NUMERIC\nor "
                    "LANG)")
        ->type_name(". | ,")
        ->check(oneOf({".", ","}));
    command.add_flag("--drop-incomplete", dropIncomplete,
                     "Leave out every participant with an empty cell\n(a cell with text that "
                     "is no number is still\nan error); the rows left out are named on\n"
                     "standard error");
}

DecimalSeparator InputOptions::decimalSeparator() const
{
    if (!separator.empty())
        return DecimalSeparator(separator[0]);
    return localeDecimalSeparator(numericLocaleName());
}

bool InputOptions::load(MainWindowCommands& commands, MessageSink& messages,
                        std::vector<std::int64_t>& lines) const
{
    std::optional<std::string> bytes = readInput(messages);
    return bytes && loadBytes(commands, messages, lines, std::move(*bytes));
}

std::optional<std::string> InputOptions::readInput(MessageSink& messages) const
{
    const bool isProject = !projectPath.empty();
    const std::optional<std::vector<std::uint8_t>> bytes =
        isProject
            ? readWholeFile(projectPath, FileLimits::MAX_PROJECT_FILE_BYTES, "opened", messages)
            : readWholeFile(importPath, FileLimits::MAX_TEXT_FILE_BYTES, "imported", messages);
    if (!bytes)
        return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

bool InputOptions::loadBytes(MainWindowCommands& commands, MessageSink& messages,
                             std::vector<std::int64_t>& lines, std::string bytes) const
{
    if (dropIncomplete)
        commands.setIncompleteParticipants(IncompleteParticipants::LeaveOut);
    lines.clear();
    if (!projectPath.empty()) {
        return ProjectFile(messages).readBytes(
            projectPath,
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
            commands.getDataTable(), commands.getWithinTable());
    }
    TextImport textImport(commands.getDataTable(), messages);
    if (!textImport.importBytes(importPath, std::move(bytes), importOptions()))
        return false;
    textImport.finishTextImport();
    if (noNames)
        nameColumnsByNumber(commands.getDataTable());
    const UserGridCtrl& data = commands.getDataTable();
    for (int r = 0; r < data.getDataRowCount(); ++r) {
        if (!data.isRowEmpty(r))
            lines.push_back(textImport.getLineOf(r));
    }
    typeWithinVariables(commands.getWithinTable());
    return typeRoles(commands.getDataTable(), messages);
}

void InputOptions::reportRefusedCell(const UserGridCtrl& data,
                                     const std::vector<std::int64_t>& lines,
                                     std::ostream& out) const
{
    const std::optional<CellPosition>& refused = data.getRefusedCell();
    if (refused && static_cast<std::size_t>(refused->row) < lines.size())
        out << "In " << importPath << ": line " << lines[static_cast<std::size_t>(refused->row)]
            << "." << std::endl;
}

void InputOptions::reportLeftOut(const std::vector<int>& leftOut, std::ostream& out)
{
    if (leftOut.empty())
        return;
    out << "Left out " << leftOut.size()
        << (leftOut.size() == 1 ? " participant with empty cells: row "
                                : " participants with empty cells: rows ");
    for (std::size_t i = 0; i < leftOut.size(); ++i)
        out << (i == 0 ? "" : ", ") << leftOut[i] + 1;
    out << "." << std::endl;
}

ImportOptions InputOptions::importOptions() const
{
    ImportOptions options;
    options.firstRowNames = !noNames;
    options.recordCR = !noCarriageReturn;
    options.recordLF = !noLineFeed;
    options.recordVT = verticalTab;
    options.recordFF = formFeed;
    options.fieldTab = !noTab;
    options.fieldSpace = spaces;
    return options;
}

void InputOptions::nameColumnsByNumber(UserGridCtrl& data)
{
    // Every data column needs a name, and a between column's name is its variable's.
    for (int c = 0; c < data.getDataColumnCount(); ++c)
        data.setText(-1, c, std::to_string(c + 1));
}

void InputOptions::typeWithinVariables(WithinGridCtrl& within) const
{
    const int count = static_cast<int>(withinVariables.size());
    if (within.getDataRowCount() < count)
        within.appendDataRows(count - within.getDataRowCount());
    for (int r = 0; r < count; ++r) {
        const std::string& variable = withinVariables[static_cast<std::size_t>(r)];
        // The last '=' separates the levels, so a name may contain one.
        const std::size_t equals = variable.rfind('=');
        within.setText(r, 0, variable.substr(0, equals));
        within.setText(r, 1, variable.substr(equals + 1));
    }
}

bool InputOptions::typeRoles(UserGridCtrl& data, MessageSink& messages) const
{
    const std::vector<std::string> columnRoles = splitRoles(roles);
    if (data.setCombinationTexts(columnRoles))
        return true;
    messages.showMessage("Error",
                         "--roles gives " + std::to_string(columnRoles.size()) +
                             " roles, but the file " + importPath + " has " +
                             std::to_string(data.getDataColumnCount()) + " data columns.",
                         MessageIcon::Error);
    return false;
}
