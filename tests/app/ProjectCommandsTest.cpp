// The main window's file commands over real files, with the file dialogs answered here.
#include "app/ProjectCommands.h"
#include "tests/support/UserSession.h"

#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

namespace {

/// The file dialogs answer with the next prepared path (none left: Cancel) and record
/// title|filter[|extension|proposed path].
class ProjectCommandsTest : public ::testing::Test, public FileDialogs {
protected:
    std::optional<std::string> openFile(const std::string& title,
                                        const std::string& filter) override
    {
        return next(title + "|" + filter);
    }
    std::vector<std::string> openFiles(const std::string&, const std::string&) override
    {
        return {};
    }
    std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                        const std::string& extension,
                                        const std::string& proposed) override
    {
        return next(title + "|" + filter + "|" + extension + "|" + proposed);
    }
    std::optional<std::string> next(const std::string& question)
    {
        asked.push_back(question);
        if (answers.empty())
            return std::nullopt;
        const std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::string saveAs(const char* name)
    {
        answers.push_back(folder.path(name));
        EXPECT_TRUE(project.saveAs());
        return folder.path(name);
    }

    std::deque<std::string> answers;
    Texts asked;
    UserSession session;
    ProjectCommands project{session.commands, *this, session.sink};
    TemporaryDirectory folder;
};

} // namespace

TEST_F(ProjectCommandsTest, SaveAsksForAPathOnlyOnceAndReopensFromTheDialogOrTheCommandLine)
{
    typeMixedDesign(session);
    answers.push_back(folder.path("study.vlt"));
    ASSERT_TRUE(project.save());
    EXPECT_EQ(project.getTitle(), "study.vlt - Veltmark");
    session.typeColumn(0, "1, 1", "first time point", {});
    ASSERT_TRUE(project.save());
    EXPECT_EQ(asked.size(), 1u);
    UserSession other;
    ProjectCommands reopened(other.commands, *this, other.sink);
    answers.push_back(folder.path("study.vlt"));
    ASSERT_TRUE(reopened.open());
    EXPECT_EQ(reopened.getTitle(), "study.vlt - Tamsel");
    EXPECT_EQ(other.commands.getDataTable().getText(1, 2), "8.4");
    EXPECT_EQ(other.commands.getDataTable().getText(-1, 0), "first time point");
    ProjectCommands started(other.commands, *this, other.sink);
    ASSERT_TRUE(started.openCommandLineProject(folder.path("study.vlt")));
    EXPECT_EQ(started.getTitle(), folder.path("study.vlt") + " - Tamsel");
    EXPECT_FALSE(ProjectCommands::isProjectArgument("x.VLT"));
}

TEST_F(ProjectCommandsTest, CancelOrAnUnreadableProjectChangesNothingAndSaveGoesOnWhenComputeFails)
{
    const std::string broken = folder.write("broken.vlt", "not a project");
    EXPECT_FALSE(project.openCommandLineProject(broken));
    EXPECT_NE(session.takeMessages().at(0).find(broken), std::string::npos);
    typeMixedDesign(session);
    session.typeColumn(5, "", "extra", {"1"});
    EXPECT_FALSE(project.open());
    EXPECT_FALSE(project.saveAs());
    EXPECT_FALSE(project.importTextFile());
    EXPECT_EQ(asked, (Texts{"Open|Veltmark-Files (*.vlt)|*.vlt|All Files (*.*)|*.*||",
                            "Save as|Veltmark-Files (*.vlt)|*.vlt|All Files (*.*)|*.*|||vlt|",
                            "Import text file|txt-files (*.txt)|*.txt|All Files (*.*)|*.*||"}));
    EXPECT_EQ(project.getTitle(), "Tamsel");
    EXPECT_TRUE(std::filesystem::exists(saveAs("b.vlt")));
    EXPECT_EQ(session.takeErrors(), Texts(2, "No entry chosen for column 6!"));
}

TEST_F(ProjectCommandsTest, ImportFollowsTheCheckBoxesUntilOpenFinishesIt)
{
    typeMixedDesign(session);
    const std::string saved = saveAs("saved.vlt");
    answers.push_back(folder.write("data.txt", "a b\tc\n1 2\t3\n"));
    ASSERT_TRUE(project.importTextFile());
    ASSERT_TRUE(project.reimport(ImportOptions{}));
    EXPECT_FALSE(project.open()) << "cancelled";
    EXPECT_TRUE(project.isImportMode());
    answers.push_back(saved);
    ASSERT_TRUE(project.open());
    EXPECT_FALSE(project.reimport(ImportOptions{})) << "the import is finished";
}
