// The file commands of the main window over real files in a temporary directory, with the
// file dialogs answered by the test.
#include "app/ProjectCommands.h"
#include "UserSession.h"

#include "grid/CellState.h"
#include "tests/files/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

namespace {

/// Answers each dialog with the next prepared path (nothing = Cancel) and keeps what it was
/// asked: title|filter, for the save dialog also |extension|proposed path.
class AnsweringFileDialogs : public FileDialogs {
public:
    std::optional<std::string> openFile(const std::string& title,
                                        const std::string& filter) override
    {
        return next(title + "|" + filter);
    }
    /// The file commands never ask for several files.
    std::vector<std::string> openFiles(const std::string&, const std::string&) override
    {
        ADD_FAILURE() << "unexpected multiple-file dialog";
        return {};
    }
    std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                        const std::string& defaultExtension,
                                        const std::string& proposedPath) override
    {
        return next(title + "|" + filter + "|" + defaultExtension + "|" + proposedPath);
    }

    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> asked;

private:
    std::optional<std::string> next(const std::string& question)
    {
        asked.push_back(question);
        if (answers.empty())
            return std::nullopt;
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class ProjectCommandsTest : public ::testing::Test {
protected:
    /// Types the one-within design and saves it as name in the folder; returns the path.
    std::string saveTypedProject(const char* name)
    {
        typeOneWithinDesign(session);
        const std::string path = folder.path(name);
        dialogs.answers.push_back(path);
        EXPECT_TRUE(project.saveAs());
        return path;
    }
    /// Imports a small text file; import mode begins.
    void importText()
    {
        dialogs.answers.push_back(folder.write("data.txt", "a\tb\n1\t2\n"));
        ASSERT_TRUE(project.importTextFile());
    }

    UserSession session;
    AnsweringFileDialogs dialogs;
    ProjectCommands project{session.commands, dialogs, session.sink};
    TemporaryDirectory folder;
};

} // namespace

TEST_F(ProjectCommandsTest, SaveAsksForAPathOnlyOnceAndReopens)
{
    typeOneWithinDesign(session);
    const std::string path = folder.path("study.vlt");
    dialogs.answers.push_back(path);
    ASSERT_TRUE(project.save());
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0], "Save as|Veltmark-Files (*.vlt)|*.vlt|All Files (*.*)|*.*|||vlt|");
    EXPECT_EQ(project.getProjectPath(), path);
    EXPECT_EQ(project.getTitle(), "study.vlt - Veltmark");
    // Saving computed first: the results table holds the one effect's block.
    EXPECT_EQ(session.commands.getResultsTable().getDataRowCount(), 7);

    const auto sizeBefore = std::filesystem::file_size(path);
    UserGridCtrl& data = session.commands.getDataTable();
    UserSession::type(data, data.toGridRow(-1), data.toGridColumn(0), "first time point");
    ASSERT_TRUE(project.save());
    EXPECT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(project.getTitle(), "study.vlt - Veltmark");
    EXPECT_GT(std::filesystem::file_size(path), sizeBefore) << "the longer name was written";

    UserSession other;
    AnsweringFileDialogs otherDialogs;
    ProjectCommands reopened(other.commands, otherDialogs, other.sink);
    otherDialogs.answers.push_back(path);
    ASSERT_TRUE(reopened.open());
    EXPECT_EQ(otherDialogs.asked[0], "Open|Veltmark-Files (*.vlt)|*.vlt|All Files (*.*)|*.*||");
    EXPECT_EQ(reopened.getTitle(), "study.vlt - Tamsel");
    EXPECT_EQ(other.commands.getDataTable().getText(1, 2), "14.2");
    EXPECT_EQ(other.commands.getDataTable().getText(-1, 0), "first time point");
    EXPECT_EQ(other.commands.getWithinTable().getText(0, 0), "time");
    EXPECT_TRUE(other.commands.computeStatistics());
}

TEST_F(ProjectCommandsTest, SaveGoesOnWhenTheComputationFails)
{
    typeOneWithinDesign(session);
    session.typeColumn(3, "", "extra", {"1", "2", "3", "4", "5", "6"});
    const std::string path = folder.path("b.vlt");
    dialogs.answers.push_back(path);
    ASSERT_TRUE(project.saveAs());
    EXPECT_EQ(session.takeErrors(), Texts{"No entry chosen for column 4!"});
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(ProjectCommandsTest, CancelChangesNothing)
{
    typeOneWithinDesign(session);
    EXPECT_FALSE(project.open());
    EXPECT_FALSE(project.saveAs());
    EXPECT_FALSE(project.importTextFile());
    EXPECT_EQ(project.getTitle(), "Tamsel");
    EXPECT_EQ(project.getProjectPath(), "");
    EXPECT_EQ(session.commands.getDataTable().getText(0, 0), "10.5");
}

TEST_F(ProjectCommandsTest, CommandLineProjectTitleIsTheArgumentUnlessItCannotBeRead)
{
    const std::string broken = folder.write("broken.vlt", "not a project");
    EXPECT_FALSE(project.openCommandLineProject(broken));
    const Texts messages = session.takeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(broken), std::string::npos);
    EXPECT_EQ(project.getTitle(), "Tamsel");
    EXPECT_EQ(project.getProjectPath(), "");
    const UserGridCtrl& data = session.commands.getDataTable();
    EXPECT_EQ(data.getDataRowCount(), MainWindowCommands::INITIAL_PARTICIPANT_ROWS);
    EXPECT_EQ(data.getDataColumnCount(), MainWindowCommands::INITIAL_DATA_COLUMNS);

    // The window is still usable.
    const std::string path = saveTypedProject("c.vlt");
    EXPECT_TRUE(session.sink.messages.empty()) << "saving computed without a complaint";
    UserSession other;
    ProjectCommands started(other.commands, dialogs, other.sink);
    ASSERT_TRUE(started.openCommandLineProject(path));
    EXPECT_EQ(started.getTitle(), path + " - Tamsel");
    EXPECT_EQ(started.getProjectPath(), path);
}

TEST_F(ProjectCommandsTest, OnlyArgumentsEndingInVltNameAProject)
{
    EXPECT_TRUE(ProjectCommands::isProjectArgument("x.vlt"));
    EXPECT_TRUE(ProjectCommands::isProjectArgument(".vlt"));
    EXPECT_FALSE(ProjectCommands::isProjectArgument("x.VLT"));
    EXPECT_FALSE(ProjectCommands::isProjectArgument("x.vlt.txt"));
    EXPECT_FALSE(ProjectCommands::isProjectArgument("vlt"));
    EXPECT_FALSE(ProjectCommands::isProjectArgument("--help"));
}

TEST_F(ProjectCommandsTest, ImportUsesTheDefaultsThenTheCheckBoxes)
{
    const std::string path = folder.write("data.txt", "a b\tc\n1 2\t3\n4 5\t6\n");
    dialogs.answers.push_back(path);
    ASSERT_TRUE(project.importTextFile());
    EXPECT_EQ(dialogs.asked[0], "Import text file|txt-files (*.txt)|*.txt|All Files (*.*)|*.*||");
    EXPECT_TRUE(project.isImportMode());
    const UserGridCtrl& data = session.commands.getDataTable();
    // By default tab only separates fields and the first row holds the names.
    EXPECT_EQ(data.getDataColumnCount(), 2);
    EXPECT_EQ(data.getDataRowCount(), 2);
    ImportOptions options;
    options.fieldSpace = true;
    ASSERT_TRUE(project.reimport(options));
    EXPECT_EQ(data.getDataColumnCount(), 3);

    project.finishImport();
    EXPECT_FALSE(project.isImportMode());
    EXPECT_FALSE(project.reimport(ImportOptions{}));
    EXPECT_EQ(project.getImportPath(), path);
}

TEST_F(ProjectCommandsTest, OpenDuringAnImportFinishesTheImportUnlessCancelled)
{
    const std::string saved = saveTypedProject("saved.vlt");
    importText();
    dialogs.answers.push_back(std::nullopt);
    EXPECT_FALSE(project.open());
    EXPECT_TRUE(project.isImportMode());

    dialogs.answers.push_back(saved);
    ASSERT_TRUE(project.open());
    EXPECT_FALSE(project.isImportMode());
    // An option click no longer imports over the opened project.
    EXPECT_FALSE(project.reimport(ImportOptions{}));
    const UserGridCtrl& data = session.commands.getDataTable();
    EXPECT_EQ(data.getText(-1, 0), "t1");
    EXPECT_EQ(data.getCellState(data.toGridRow(0), data.toGridColumn(0)) & CellState::ReadOnly, 0u);
}

TEST_F(ProjectCommandsTest, ResetGridsDuringAnImportFinishesTheImport)
{
    const std::string path = saveTypedProject("kept.vlt");
    importText();
    project.resetGrids();
    EXPECT_FALSE(project.isImportMode());
    EXPECT_FALSE(project.reimport(ImportOptions{}));
    const UserGridCtrl& data = session.commands.getDataTable();
    EXPECT_EQ(data.getDataColumnCount(), MainWindowCommands::INITIAL_DATA_COLUMNS);
    EXPECT_EQ(data.getText(-1, 0), "");
    EXPECT_EQ(project.getProjectPath(), path);
    EXPECT_EQ(project.getTitle(), "kept.vlt - Veltmark");
}

TEST_F(ProjectCommandsTest, ADriveRootPathFromTheDialogIsRepairedBeforeUse)
{
    // The dialog's "C:\\t.vlt" names the file "C:\t.vlt" in the working directory, which is
    // an ordinary file name here.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path(""));
    typeOneWithinDesign(session);
    dialogs.answers.push_back(std::string("C:\\\\t.vlt"));
    const bool saved = project.saveAs();
    const bool repairedExists = std::filesystem::exists("C:\\t.vlt");
    const bool unrepairedExists = std::filesystem::exists("C:\\\\t.vlt");
    std::filesystem::current_path(previous);
    ASSERT_TRUE(saved);
    EXPECT_TRUE(repairedExists);
    EXPECT_FALSE(unrepairedExists);
    EXPECT_EQ(project.getProjectPath(), "C:\\t.vlt");
    EXPECT_EQ(project.getTitle(), "t.vlt - Veltmark");
}
