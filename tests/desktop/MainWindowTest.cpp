// The main window as a user meets it: start-up, its controls and their places, the menu
// and its shortcuts, the file commands, the computation, the keys and the small commands.
#include "DesktopFixture.h"

#include "app/MainWindowLayout.h"
#include "app/ResultsTable.h"
#include "app/qt/CAboutDlg.h"
#include "grid/qt/GridView.h"
#include "simulation/PreferencesStorage.h"
#include "simulation/ui/SimulationDlg.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <fstream>

namespace {

class MainWindowTest : public DesktopFixture {
protected:
    template <typename T>
    T* child(CVeltmarkDlg& window, const char* name)
    {
        T* found = window.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    /// The action of the menu bar's menu titled menu with the text text.
    QAction* menuAction(CVeltmarkDlg& window, const QString& menu, const QString& text)
    {
        for (QAction* top : window.menuBar()->actions()) {
            if (top->text() != menu || top->menu() == nullptr)
                continue;
            for (QAction* action : top->menu()->actions()) {
                if (action->text() == text)
                    return action;
            }
        }
        ADD_FAILURE() << menu.toStdString() << " > " << text.toStdString();
        return nullptr;
    }

    std::unique_ptr<CVeltmarkDlg> windowWithMixedProject()
    {
        auto window = makeWindow();
        fileDialogs.answers.push_back({writeMixedProject("mixed.vlt")});
        window->openProject();
        EXPECT_EQ(window->windowTitle(), "mixed.vlt - Tamsel");
        return window;
    }

    static void activate(CVeltmarkDlg& window)
    {
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    /// Where the layout puts a control, as a QRect.
    static QRect rectOf(const ControlRect& rect)
    {
        return QRect(rect.left, rect.top, rect.width, rect.height);
    }
};

} // namespace

TEST_F(MainWindowTest, StartsEmptyWithTheDefaults)
{
    auto window = makeWindow();
    EXPECT_EQ(window->windowTitle(), "Tamsel");
    MainWindowCommands& commands = window->getCommands();
    EXPECT_EQ(commands.getDataTable().getDataRowCount(), 32);
    EXPECT_EQ(commands.getDataTable().getDataColumnCount(), 17);
    EXPECT_EQ(commands.getWithinTable().getDataRowCount(), 20);
    EXPECT_EQ(commands.getResultsTable().getRowCount(), 0);

    // Without stored preferences the thread count is the processor count, one engine per
    // thread, each seeded in pool order from the non-deterministic source.
    EXPECT_EQ(window->getPreferences().numberOfThreads, 2);
    EXPECT_EQ(commands.getEngineCount(), 2);
    EXPECT_EQ(seeds.drawn, 2u);

    for (const char* name : {"firstRowNamesBox", "carriageReturnBox", "lineFeedBox", "tabBox"}) {
        QCheckBox* box = child<QCheckBox>(*window, name);
        EXPECT_TRUE(box->isChecked()) << name;
        EXPECT_FALSE(box->isEnabled()) << name;
    }
    for (const char* name : {"verticalTabBox", "formFeedBox", "spacesBox"}) {
        QCheckBox* box = child<QCheckBox>(*window, name);
        EXPECT_FALSE(box->isChecked()) << name;
        EXPECT_FALSE(box->isEnabled()) << name;
    }
    EXPECT_FALSE(child<QPushButton>(*window, "importDoneButton")->isEnabled());
    EXPECT_FALSE(child<QLabel>(*window, "verticalLabel")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(*window, "deleteVariableButton")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(*window, "insertVariableButton")->isEnabled());
    EXPECT_EQ(child<QCheckBox>(*window, "carriageReturnBox")->text(), "\\ r");
    EXPECT_EQ(child<QCheckBox>(*window, "tabBox")->text(), "\\t");
    EXPECT_EQ(child<QLabel>(*window, "defineWithinLabel")->text(), "Define within variables");
}

TEST_F(MainWindowTest, MenusCarryTheirShortcuts)
{
    auto window = makeWindow();
    EXPECT_EQ(menuAction(*window, "File", "Open ...")->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(menuAction(*window, "File", "Save")->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(menuAction(*window, "File", "Save as ...")->shortcut(), QKeySequence("Ctrl+Shift+S"));
    EXPECT_NE(menuAction(*window, "File", "Import text file ..."), nullptr);
    EXPECT_NE(menuAction(*window, "File", "Preferences"), nullptr);
    EXPECT_EQ(menuAction(*window, "View", "Insert row")->shortcut(), QKeySequence("Alt+I"));
    EXPECT_EQ(menuAction(*window, "View", "Delete row(s)")->shortcut(), QKeySequence("Alt+D"));
    EXPECT_EQ(menuAction(*window, "View", "Insert column")->shortcut(), QKeySequence("Alt+C"));
    EXPECT_EQ(menuAction(*window, "View", "Delete column(s)")->shortcut(), QKeySequence("Alt+X"));
    EXPECT_NE(menuAction(*window, "?", "Info"), nullptr);
    EXPECT_NE(menuAction(*window, "?", "Tamsel user manual"), nullptr);
    auto* about = window->findChild<QAction*>("systemMenuAbout");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(), QString::fromUtf8("&Info über Veltmark..."));
}

TEST_F(MainWindowTest, ControlsSitWhereTheWorkedFiguresPutThem)
{
    auto window = makeWindow();
    // The offscreen screen has 96 logical pixels per inch; the window opens at its minimum
    // size, frame included.
    ASSERT_EQ(window->getScale(), 1.0);
    ASSERT_EQ(window->frameGeometry().size(), QSize(1150, 820));
    const int H = 820;
    EXPECT_EQ(child<GridView>(*window, "dataTable")->geometry(), QRect(10, 10, 865, H - 300));
    EXPECT_EQ(child<GridView>(*window, "withinTable")->geometry(), QRect(900, 10, 225, H - 300));
    EXPECT_EQ(child<GridView>(*window, "resultsTable")->geometry(), QRect(10, H - 245, 1115, 150));
    EXPECT_EQ(child<QPushButton>(*window, "computeButton")->geometry().top(), H - 88);
    EXPECT_EQ(child<QCheckBox>(*window, "carriageReturnBox")->geometry().topLeft(),
              QPoint(300, H - 285));
    EXPECT_EQ(child<QCheckBox>(*window, "formFeedBox")->geometry().topLeft(), QPoint(420, H - 285));
    EXPECT_EQ(child<QPushButton>(*window, "insertRowButton")->geometry().left(), 1150 - 315);
    EXPECT_EQ(child<QPushButton>(*window, "deleteRowButton")->geometry().left(), 1150 - 340);
}

TEST_F(MainWindowTest, ControlsFollowTheLayoutRule)
{
    auto window = makeWindow();
    const QSize whole = window->frameGeometry().size();
    const MainWindowLayout layout =
        MainWindowLayout::compute(whole.width(), whole.height(), window->getScale());
    EXPECT_EQ(child<GridView>(*window, "dataTable")->geometry(), rectOf(layout.dataTable));
    EXPECT_EQ(child<GridView>(*window, "withinTable")->geometry(), rectOf(layout.withinTable));
    EXPECT_EQ(child<GridView>(*window, "resultsTable")->geometry(), rectOf(layout.resultsTable));
    EXPECT_EQ(child<QCheckBox>(*window, "verticalTabBox")->geometry(), rectOf(layout.verticalTab));
    EXPECT_EQ(child<QPushButton>(*window, "insertRowButton")->geometry(),
              rectOf(layout.insertRowButton));
    EXPECT_EQ(child<QPushButton>(*window, "resetButton")->geometry(), rectOf(layout.resetButton));

    // The tables follow a larger window; the window cannot become smaller than the minimum.
    window->resize(window->width() + 200, window->height() + 100);
    QCoreApplication::processEvents();
    const QSize larger = window->frameGeometry().size();
    const MainWindowLayout grown =
        MainWindowLayout::compute(larger.width(), larger.height(), window->getScale());
    EXPECT_EQ(child<GridView>(*window, "dataTable")->geometry(), rectOf(grown.dataTable));
    window->resize(600, 400);
    QCoreApplication::processEvents();
    EXPECT_GE(window->frameGeometry().width(), MainWindowLayout::minimumWidth(window->getScale()));
    EXPECT_GE(window->frameGeometry().height(), MainWindowLayout::minimumHeight(window->getScale()));
}

TEST_F(MainWindowTest, OpenComputeAndTickOneAnalysis)
{
    auto window = windowWithMixedProject();
    EXPECT_EQ(lastDialogTitle(), "Open");
    MainWindowCommands& commands = window->getCommands();
    EXPECT_EQ(commands.getDataTable().getText(-1, 1), "A");
    EXPECT_EQ(commands.getWithinTable().getText(1, 0), "C");

    QTest::mouseClick(child<QPushButton>(*window, "computeButton"), Qt::LeftButton);
    EXPECT_TRUE(takeMessages().empty());
    GeneralGridCtrl& results = commands.getResultsTable();
    // Three variables: seven effects of seven rows.
    EXPECT_EQ(results.getDataRowCount(), 49);
    EXPECT_EQ(results.getText(0, 0), "C");
    EXPECT_EQ(results.getText(2, 1), "ANOVA (Greenhouse-Geisser)");

    // Ticking the box of "MANOVA (Wilks)" of the second effect, by a click on its cell.
    auto* view = child<GridView>(*window, "resultsTable");
    const int row = results.toGridRow(7 + 4);
    const int column = results.toGridColumn(CHOICE_COLUMN);
    view->scrollToCell({row, column});
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cellRect(row, column).center());
    ASSERT_TRUE(results.isCellChecked(row, column));
    const std::optional<AnalysisChoice> choice = commands.chooseAnalysis();
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->effectNumber, 2);
    EXPECT_EQ(choice->analysisIndex, 3);
    EXPECT_EQ(choice->effectName, "B");
}

TEST_F(MainWindowTest, SimulationWindowRunsTheTickedAnalysis)
{
    auto window = windowWithMixedProject();
    window->computeStatistics();
    GeneralGridCtrl& results = window->getCommands().getResultsTable();
    results.toggleTickBox(results.toGridRow(3), results.toGridColumn(CHOICE_COLUMN));

    bool checked = false;
    whenModalShown([&](QWidget* modal) {
        auto* simulation = qobject_cast<SimulationDlg*>(modal);
        ASSERT_NE(simulation, nullptr);
        checked = true;
        EXPECT_EQ(simulation->windowTitle(), "Simulation");
        EXPECT_EQ(simulation->findChild<QLabel*>("effectHeading")->text(),
                  "Simulation of effect C");
        simulation->findChild<QLineEdit*>("passesEdit")->setText("300");
        QTest::mouseClick(simulation->findChild<QPushButton*>("startButton"), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !simulation->isRunning(); }, 30000));
        EXPECT_EQ(simulation->findChild<QLineEdit*>("passesResult")->text(), "302");
        EXPECT_TRUE(simulation->findChild<QLineEdit*>("probabilityResult")->isVisible());
        // As if the matrices had been edited: closing the window ends them.
        window->getCommands().getSimulationParameters().useCustomMatrices = 1;
        simulation->close();
    });
    QTest::mouseClick(child<QPushButton>(*window, "simulationButton"), Qt::LeftButton);
    EXPECT_TRUE(checked);
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_EQ(window->getCommands().getSimulationParameters().analysisIndex, 2);
    // Closing the window ends the custom matrices.
    EXPECT_EQ(window->getCommands().getSimulationParameters().useCustomMatrices, 0);
}

TEST_F(MainWindowTest, SimulationWindowNeedsOneTickedAnalysis)
{
    auto window = windowWithMixedProject();
    window->computeStatistics();
    window->openSimulationWindow();
    EXPECT_EQ(takeMessages(), std::vector<std::string>{"No analysis chosen for simulation."});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindowTest, SaveAsAndReopen)
{
    auto window = windowWithMixedProject();
    // A changed value, saved under a new name.
    UserSession::type(window->getCommands().getDataTable(),
                      window->getCommands().getDataTable().toGridRow(0),
                      window->getCommands().getDataTable().toGridColumn(0), "5.25");
    const std::string path = folder.path("saved.vlt");
    fileDialogs.answers.push_back({path});
    window->saveProjectAs();
    EXPECT_EQ(lastDialogTitle(), "Save as");
    EXPECT_EQ(window->windowTitle(), "saved.vlt - Veltmark");
    // Saving computed first.
    EXPECT_EQ(window->getCommands().getResultsTable().getDataRowCount(), 49);
    ASSERT_TRUE(std::filesystem::exists(path));

    auto reopened = makeWindow();
    fileDialogs.answers.push_back({path});
    reopened->openProject();
    EXPECT_EQ(reopened->windowTitle(), "saved.vlt - Tamsel");
    const UserGridCtrl& data = reopened->getCommands().getDataTable();
    EXPECT_EQ(data.getText(0, 0), "5.25");
    EXPECT_EQ(data.getText(-2, 1), "between");
    EXPECT_EQ(data.getText(7, 2), "11");
    reopened->computeStatistics();
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_EQ(reopened->getCommands().getResultsTable().getDataRowCount(), 49);
}

TEST_F(MainWindowTest, SaveWithoutProjectPathAsksForOne)
{
    auto window = makeWindow();
    UserGridCtrl& data = window->getCommands().getDataTable();
    UserSession::type(data, data.toGridRow(0), data.toGridColumn(0), "1");
    fileDialogs.answers.push_back({});
    window->saveProject();
    EXPECT_EQ(fileDialogs.titles, std::vector<std::string>{"Save as"});
    EXPECT_EQ(window->windowTitle(), "Tamsel");
}

TEST_F(MainWindowTest, CommandLineProjectOpensWithItsPathAsTitle)
{
    const std::string path = writeMixedProject("start.vlt");
    auto window = makeWindow();
    window->openCommandLineArguments({"tamsel", QString::fromStdString(path)});
    EXPECT_EQ(window->windowTitle().toStdString(), path + " - Tamsel");
    EXPECT_EQ(window->getCommands().getDataTable().getText(-1, 0), "b1c1");

    auto other = makeWindow();
    other->openCommandLineArguments({"tamsel", "notes.txt"});
    EXPECT_EQ(other->windowTitle(), "Tamsel");
    EXPECT_TRUE(takeMessages().empty());
}

TEST_F(MainWindowTest, UnreadableCommandLineProjectLeavesAnEmptyUsableWindow)
{
    const std::string path = folder.write("damaged.vlt", std::string("\x05\x00\x00", 3));
    auto window = makeWindow();
    window->openCommandLineArguments({"tamsel", QString::fromStdString(path)});
    const std::vector<std::string> shown = takeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(path), std::string::npos) << shown[0];
    EXPECT_EQ(window->windowTitle(), "Tamsel");
    EXPECT_EQ(window->getProjectCommands().getProjectPath(), "");
    EXPECT_EQ(window->getCommands().getDataTable().getDataRowCount(), 32);
    EXPECT_EQ(window->getCommands().getDataTable().getDataColumnCount(), 17);

    // The window works: a project opened now computes.
    fileDialogs.answers.push_back({writeMixedProject("good.vlt")});
    window->openProject();
    window->computeStatistics();
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_EQ(window->getCommands().getResultsTable().getDataRowCount(), 49);
}

TEST_F(MainWindowTest, PasteIntoTheDataTable)
{
    auto window = makeWindow();
    auto* view = child<GridView>(*window, "dataTable");
    UserGridCtrl& data = window->getCommands().getDataTable();
    data.setFocusCell({data.toGridRow(0), data.toGridColumn(0)});
    QApplication::clipboard()->setText("1.5\t2\n3\t4.25\n5\t6\n");
    view->setFocus();
    QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(data.getText(0, 0), "1.5");
    EXPECT_EQ(data.getText(1, 1), "4.25");
    EXPECT_EQ(data.getText(2, 0), "5");
    EXPECT_EQ(data.getText(2, 1), "6");
}

TEST_F(MainWindowTest, ShortcutsEditTheDataTable)
{
    auto window = makeWindow();
    activate(*window);
    UserGridCtrl& data = window->getCommands().getDataTable();
    child<GridView>(*window, "dataTable")->setFocus();
    QTest::keyClick(window.get(), Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(data.getDataRowCount(), 33);
    QTest::keyClick(window.get(), Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(data.getDataRowCount(), 32);
    QTest::keyClick(window.get(), Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(data.getDataColumnCount(), 18);
    QTest::keyClick(window.get(), Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(data.getDataColumnCount(), 17);
    QTest::mouseClick(child<QPushButton>(*window, "insertRowButton"), Qt::LeftButton);
    EXPECT_EQ(data.getDataRowCount(), 33);
    QTest::mouseClick(child<QPushButton>(*window, "deleteRowButton"), Qt::LeftButton);
    EXPECT_EQ(data.getDataRowCount(), 32);
}

TEST_F(MainWindowTest, EnterMovesDownAndEscapeDoesNotClose)
{
    auto window = makeWindow();
    activate(*window);
    auto* view = child<GridView>(*window, "dataTable");
    UserGridCtrl& data = window->getCommands().getDataTable();
    data.setFocusCell({data.toGridRow(2), data.toGridColumn(1)});
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(data.getFocusCell(), (CellPosition{data.toGridRow(3), data.toGridColumn(1)}));
    QTest::keyClick(view, Qt::Key_Tab);
    EXPECT_EQ(data.getFocusCell(), (CellPosition{data.toGridRow(3), data.toGridColumn(2)}));

    // On a button Enter moves on like the Down key instead of pressing the button.
    auto* compute = child<QPushButton>(*window, "computeButton");
    compute->setFocus();
    ASSERT_TRUE(compute->hasFocus());
    QTest::keyClick(compute, Qt::Key_Return);
    EXPECT_FALSE(compute->hasFocus());
    EXPECT_TRUE(takeMessages().empty());

    QTest::keyClick(window.get(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, TextImportAndItsOptions)
{
    auto window = makeWindow();
    const std::string path = folder.write("scores.txt", "x y\tz\n1 2\t3\n4 5\t6\n");
    fileDialogs.answers.push_back({path});
    auto* names = child<QCheckBox>(*window, "firstRowNamesBox");
    names->setChecked(false);
    window->importTextFile();
    EXPECT_EQ(lastDialogTitle(), "Import text file");
    UserGridCtrl& data = window->getCommands().getDataTable();
    // The first import uses the defaults whatever the boxes show: names from the first row.
    EXPECT_EQ(data.getText(-1, 0), "x y");
    EXPECT_EQ(data.getDataColumnCount(), 2);
    EXPECT_TRUE(names->isEnabled());
    EXPECT_TRUE(child<QPushButton>(*window, "importDoneButton")->isEnabled());

    // A click on "spaces" imports again with the states of all seven boxes.
    clickIndicator(child<QCheckBox>(*window, "spacesBox"));
    EXPECT_EQ(data.getDataColumnCount(), 3);
    EXPECT_EQ(data.getDataRowCount(), 3);
    EXPECT_EQ(data.getText(0, 1), "y");

    QTest::mouseClick(child<QPushButton>(*window, "importDoneButton"), Qt::LeftButton);
    EXPECT_FALSE(names->isEnabled());
    EXPECT_FALSE(child<QCheckBox>(*window, "spacesBox")->isEnabled());
}

TEST_F(MainWindowTest, ResetGridsAndWithinRows)
{
    auto window = windowWithMixedProject();
    window->computeStatistics();
    QTest::mouseClick(child<QPushButton>(*window, "insertVariableButton"), Qt::LeftButton);
    EXPECT_TRUE(child<QPushButton>(*window, "deleteVariableButton")->isEnabled());
    QTest::mouseClick(child<QPushButton>(*window, "resetButton"), Qt::LeftButton);
    MainWindowCommands& commands = window->getCommands();
    EXPECT_EQ(commands.getDataTable().getDataRowCount(), 32);
    EXPECT_EQ(commands.getDataTable().getDataColumnCount(), 17);
    EXPECT_EQ(commands.getDataTable().getText(-1, 0), "");
    EXPECT_EQ(commands.getWithinTable().getDataRowCount(), 20);
    EXPECT_EQ(commands.getResultsTable().getRowCount(), 0);
    EXPECT_EQ(window->getProjectCommands().getProjectPath(), folder.path("mixed.vlt"));
}

TEST_F(MainWindowTest, AboutBoxFromTheMenu)
{
    auto window = makeWindow();
    bool checked = false;
    whenModalShown([&](QWidget* modal) {
        checked = true;
        EXPECT_EQ(modal->windowTitle(), QString::fromUtf8("Info über Tamsel"));
        EXPECT_EQ(modal->findChild<QLabel*>("versionLabel")->text(), "Tamsel, Version 1.0.4");
        EXPECT_FALSE(modal->findChild<QLabel*>("descriptionLabel")->text().isEmpty());
        EXPECT_FALSE(modal->findChild<QLabel*>("aboutIcon")->pixmap().isNull());
        auto* ok = modal->findChild<QPushButton*>("okButton");
        EXPECT_EQ(ok->text(), "OK");
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    menuAction(*window, "?", "Info")->trigger();
    EXPECT_TRUE(checked);
}

TEST_F(MainWindowTest, ManualIsOpenedBesideTheExecutable)
{
    auto window = makeWindow();
    menuAction(*window, "?", "Tamsel user manual")->trigger();
    ASSERT_EQ(documents.opened.size(), 1u);
    EXPECT_EQ(documents.opened[0],
              QCoreApplication::applicationDirPath().toStdString() + "/Tamsel User Manual.pdf");
}

TEST_F(MainWindowTest, PreferencesAreLoadedAtStartAndSavedAtTheEnd)
{
    settings.writeInt("Preferences", "Number of threads", 3);
    settings.writeInt("Preferences", "Use Mersenne Twister", 0);
    settings.writeString("Preferences", "Pathes to random numbers files", "/r/a;/r/b;/r/c");
    {
        auto window = makeWindow();
        EXPECT_EQ(window->getCommands().getEngineCount(), 3);
        EXPECT_EQ(window->getPreferences().useMersenneTwister, 0);
        window->getPreferences().numberOfThreads = 1;
        window->getPreferences().randomNumbersFiles = "/r/z";
        // A thread count changed while the program runs waits for the next start.
        EXPECT_EQ(window->getCommands().getEngineCount(), 3);
    }
    const Preferences stored = loadPreferences(QtSettingsStore(), 2);
    EXPECT_EQ(stored.numberOfThreads, 1);
    EXPECT_EQ(stored.useMersenneTwister, 0);
    EXPECT_EQ(stored.randomNumbersFiles, "/r/z");
    auto restarted = makeWindow();
    EXPECT_EQ(restarted->getCommands().getEngineCount(), 1);
}

TEST_F(MainWindowTest, StoredThreadCountBelowOneStillGivesAnEngine)
{
    settings.writeInt("Preferences", "Number of threads", 0);
    auto window = makeWindow();
    EXPECT_EQ(window->getCommands().getEngineCount(), 1);
}

TEST_F(MainWindowTest, ExampleProjectsOpenAndCompute)
{
    const std::filesystem::path examples = std::filesystem::path(TAMSEL_SOURCE_DIR) / "examples";
    std::vector<std::string> projects;
    if (std::filesystem::exists(examples)) {
        for (const auto& entry : std::filesystem::directory_iterator(examples)) {
            if (entry.path().extension() == ".vlt")
                projects.push_back(entry.path().string());
        }
    }
    if (projects.empty())
        GTEST_SKIP() << "no example project in " << examples;
    for (const std::string& path : projects) {
        auto window = makeWindow();
        fileDialogs.answers.push_back({path});
        window->openProject();
        window->computeStatistics();
        EXPECT_TRUE(takeMessages().empty()) << path;
        EXPECT_GT(window->getCommands().getResultsTable().getDataRowCount(), 0) << path;
    }
}

TEST_F(MainWindowTest, ResetGridsEndsATextImport)
{
    auto window = makeWindow();
    fileDialogs.answers.push_back({folder.write("scores.txt", "x\ty\n1\t2\n")});
    window->importTextFile();
    ASSERT_TRUE(child<QPushButton>(*window, "importDoneButton")->isEnabled());
    QTest::mouseClick(child<QPushButton>(*window, "resetButton"), Qt::LeftButton);
    EXPECT_FALSE(child<QPushButton>(*window, "importDoneButton")->isEnabled());
    EXPECT_FALSE(child<QCheckBox>(*window, "spacesBox")->isEnabled());
    // A click on an option no longer imports over the fresh table.
    window->getProjectCommands().reimport(ImportOptions{});
    EXPECT_EQ(window->getCommands().getDataTable().getDataColumnCount(), 17);
}

TEST_F(MainWindowTest, ControlTextsFitTheirPlaces)
{
    auto window = makeWindow();
    for (const char* name : {"computeButton", "simulationButton", "resetButton", "importDoneButton"}) {
        auto* button = child<QPushButton>(*window, name);
        EXPECT_LE(button->sizeHint().width(), button->width()) << name;
    }
    for (const char* name : {"verticalLabel", "horizontalLabel", "defineWithinLabel"}) {
        auto* label = child<QLabel>(*window, name);
        EXPECT_LE(label->sizeHint().width(), label->width()) << name;
    }
    for (const char* name : {"firstRowNamesBox", "spacesBox", "tabBox"}) {
        auto* box = child<QCheckBox>(*window, name);
        EXPECT_LE(box->sizeHint().width(), box->width()) << name;
    }
    // The widened "spaces" box stops short of "Text import done".
    EXPECT_LT(child<QCheckBox>(*window, "spacesBox")->geometry().right(),
              child<QPushButton>(*window, "importDoneButton")->geometry().left());
}
