#pragma once

#include "data/ImportOptions.h"
#include "data/ProjectFile.h"
#include "data/TextImport.h"
#include "platform/FileDialogs.h"
#include "platform/MessageSink.h"

#include <string>

class MainWindowCommands;

/// The file commands of the main window without its widgets: "Open ...", "Save", "Save as
/// ...", "Import text file ..." with its import mode, the project named on the command
/// line, the project path and the window title. The files are read and written by
/// ProjectFile and TextImport, the paths chosen through the platform's file dialogs; every
/// failure has shown its message through the sink and leaves the project path and the
/// title as they were.
class ProjectCommands {
public:
    static constexpr const char* PROJECT_FILTER =
        "Veltmark-Files (*.vlt)|*.vlt|All Files (*.*)|*.*||";
    static constexpr const char* TEXT_FILTER = "txt-files (*.txt)|*.txt|All Files (*.*)|*.*||";
    static constexpr const char* INITIAL_TITLE = "Tamsel";

    /// commands, dialogs and messages are not owned and must outlive the object.
    ProjectCommands(MainWindowCommands& commands, FileDialogs& dialogs, MessageSink& messages);

    /// Whether a command-line argument names a project: its last four characters are ".vlt".
    static bool isProjectArgument(const std::string& argument);

    /// "Open ...": a file-open dialog titled "Open"; the chosen path, with a drive root
    /// repaired, is read into the tables. A text import in progress is finished first, so
    /// that no option click can import over the opened project. On success the path
    /// becomes the project path and the title is its file name followed by " - Tamsel".
    /// False when the user cancels or the file cannot be read.
    bool open();
    /// Reads the project named on the command line. On success the argument becomes the
    /// project path and the title is the argument followed by " - Tamsel"; otherwise the
    /// tables are as they were (empty at start-up) and the title stays.
    bool openCommandLineProject(const std::string& argument);
    /// "Save": "Save as ..." without a project path; otherwise "Compute statistics" runs
    /// first, whatever its outcome, and the project is written to the project path. The
    /// title stays.
    bool save();
    /// "Save as ...": "Compute statistics" runs first, whatever its outcome; then a file-save
    /// dialog titled "Save as" proposes the project path. On a successful write the chosen
    /// path becomes the project path and the title is its file name followed by
    /// " - Veltmark".
    bool saveAs();

    /// "Import text file ...": a file-open dialog titled "Import text file"; the file is
    /// imported with the default options whatever the check boxes show, and import mode
    /// begins. False when the user cancels or the import fails.
    bool importTextFile();
    /// One of the seven option check boxes changed: in import mode the file is imported
    /// again with options, the states of all seven boxes. False outside import mode or when
    /// the import fails.
    bool reimport(const ImportOptions& options);
    /// "Text import done": import mode ends and the imported cells become editable.
    void finishImport();
    /// "Reset grids": finishes a text import in progress, then resets the three tables
    /// (MainWindowCommands::resetGrids). The project path and the title stay.
    void resetGrids();

    /// Whether the ten import controls are enabled.
    bool isImportMode() const { return textImport.isImportMode(); }
    const std::string& getImportPath() const { return textImport.getImportPath(); }

    const std::string& getProjectPath() const { return projectPath; }
    const std::string& getTitle() const { return title; }

private:
    /// Reads path into the tables; on success path becomes the project path.
    bool readProject(const std::string& path);

    MainWindowCommands& commands;
    FileDialogs& dialogs;
    ProjectFile file;
    TextImport textImport;
    std::string projectPath;
    std::string title = INITIAL_TITLE;
};
