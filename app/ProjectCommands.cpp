#include "app/ProjectCommands.h"

#include "app/MainWindowCommands.h"
#include "data/DriveRootPath.h"

#include <optional>

namespace {

/// The file name of a path: what follows its last separator of either platform.
std::string fileNameOf(const std::string& path)
{
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

} // namespace

ProjectCommands::ProjectCommands(MainWindowCommands& mainCommands, FileDialogs& fileDialogs,
                                 MessageSink& messages)
    : commands(mainCommands), dialogs(fileDialogs), file(messages),
      textImport(mainCommands.getDataTable(), messages)
{
}

bool ProjectCommands::isProjectArgument(const std::string& argument)
{
    return argument.size() >= 4 && argument.compare(argument.size() - 4, 4, ".vlt") == 0;
}

bool ProjectCommands::open()
{
    const std::optional<std::string> chosen = dialogs.openFile("Open", PROJECT_FILTER);
    if (!chosen)
        return false;
    const std::string path = repairDriveRootPath(*chosen);
    textImport.finishTextImport();
    if (!readProject(path))
        return false;
    title = fileNameOf(path) + " - Tamsel";
    return true;
}

bool ProjectCommands::openCommandLineProject(const std::string& argument)
{
    if (!readProject(argument))
        return false;
    title = argument + " - Tamsel";
    return true;
}

bool ProjectCommands::save()
{
    if (projectPath.empty())
        return saveAs();
    // Saving keeps what the user typed even when it cannot be computed yet; the messages
    // of the computation tell what is wrong with it.
    commands.computeStatistics();
    return file.write(projectPath, commands.getDataTable(), commands.getWithinTable());
}

bool ProjectCommands::saveAs()
{
    commands.computeStatistics();
    const std::optional<std::string> chosen =
        dialogs.saveFile("Save as", PROJECT_FILTER, "vlt", projectPath);
    if (!chosen)
        return false;
    const std::string path = repairDriveRootPath(*chosen);
    if (!file.write(path, commands.getDataTable(), commands.getWithinTable()))
        return false;
    projectPath = path;
    title = fileNameOf(path) + " - Veltmark";
    return true;
}

bool ProjectCommands::importTextFile()
{
    const std::optional<std::string> chosen = dialogs.openFile("Import text file", TEXT_FILTER);
    if (!chosen)
        return false;
    return textImport.importText(*chosen, ImportOptions{});
}

bool ProjectCommands::reimport(const ImportOptions& options)
{
    return textImport.reimportText(options);
}

void ProjectCommands::finishImport()
{
    textImport.finishTextImport();
}

void ProjectCommands::resetGrids()
{
    // The reset table has no imported cells; import mode must not outlive them, or the
    // next option click would import the file over the fresh table.
    textImport.finishTextImport();
    commands.resetGrids();
}

bool ProjectCommands::readProject(const std::string& path)
{
    if (!file.read(path, commands.getDataTable(), commands.getWithinTable()))
        return false;
    projectPath = path;
    return true;
}
