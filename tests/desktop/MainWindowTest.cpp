// The main window as a user meets it: start-up, its controls and their places, the menu
// and its shortcuts, the file commands, the computation, the keys and the small commands.
// What the commands do with the tables is checked on the commands themselves; here, that
// the window's controls reach them.
#include "DesktopFixture.h"

#include "app/MainWindowLayout.h"
#include "app/ResultsTable.h"
#include "grid/qt/GridView.h"
#include "simulation/ui/SimulationDlg.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <filesystem>

namespace {

class MainWindowTest : public DesktopFixture {
protected:
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

    static void activate(CVeltmarkDlg& window)
    {
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

} // namespace

TEST_F(MainWindowTest, StartsEmptyWithTheDefaults)
{
    auto window = makeWindow();
    EXPECT_EQ(window->windowTitle(), "Tamsel");
    // Without stored preferences the thread count is the processor count, one engine per
    // thread, each seeded from the non-deterministic source.
    EXPECT_EQ(window->getPreferences().numberOfThreads, 2);
    EXPECT_EQ(window->getCommands().getEngineCount(), 2);
    EXPECT_EQ(seeds.drawn, 2u);

    // The import options show the defaults but wait for an import.
    const std::pair<const char*, bool> boxes[] = {
        {"firstRowNamesBox", true}, {"carriageReturnBox", true}, {"lineFeedBox", true},
        {"tabBox", true},           {"verticalTabBox", false},   {"formFeedBox", false},
        {"spacesBox", false}};
    for (const auto& [name, checked] : boxes) {
        QCheckBox* box = child<QCheckBox>(*window, name);
        EXPECT_EQ(box->isChecked(), checked) << name;
        EXPECT_FALSE(box->isEnabled()) << name;
    }
    EXPECT_FALSE(child<QPushButton>(*window, "importDoneButton")->isEnabled());
    EXPECT_FALSE(child<QLabel>(*window, "verticalLabel")->isEnabled());
    // A within-variable row can be deleted only once one was inserted.
    EXPECT_FALSE(child<QPushButton>(*window, "deleteVariableButton")->isEnabled());
    QTest::mouseClick(child<QPushButton>(*window, "insertVariableButton"), Qt::LeftButton);
    EXPECT_TRUE(child<QPushButton>(*window, "deleteVariableButton")->isEnabled());
    EXPECT_EQ(child<QCheckBox>(*window, "carriageReturnBox")->text(), "\\ r");
    EXPECT_EQ(child<QCheckBox>(*window, "tabBox")->text(), "\\t");
    EXPECT_EQ(child<QLabel>(*window, "defineWithinLabel")->text(), "Define within variables");
}

TEST_F(MainWindowTest, MenusCarryTheirShortcuts)
{
    auto window = makeWindow();
    struct Entry {
        const char* menu;
        const char* text;
        const char* shortcut; // "" for an entry without one
    };
    for (const Entry& entry :
         {Entry{"File", "Open ...", "Ctrl+O"}, Entry{"File", "Save", "Ctrl+S"},
          Entry{"File", "Save as ...", "Ctrl+Shift+S"}, Entry{"File", "Import text file ...", ""},
          Entry{"File", "Preferences", ""}, Entry{"View", "Insert row", "Alt+I"},
          Entry{"View", "Delete row(s)", "Alt+D"}, Entry{"View", "Insert column", "Alt+C"},
          Entry{"View", "Delete column(s)", "Alt+X"}, Entry{"?", "Info", ""},
          Entry{"?", "Tamsel user manual", ""}}) {
        QAction* action = menuAction(*window, entry.menu, entry.text);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->shortcut(), QKeySequence(entry.shortcut)) << entry.text;
    }
    auto* about = window->findChild<QAction*>("systemMenuAbout");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(), QString::fromUtf8("&Info über Veltmark..."));
}

TEST_F(MainWindowTest, ControlsFollowTheLayoutRule)
{
    // The offscreen screen has 96 logical pixels per inch; the window opens at its minimum
    // size, frame included. The rule's figures themselves are checked on MainWindowLayout.
    auto window = makeWindow();
    ASSERT_EQ(window->getScale(), 1.0);
    ASSERT_EQ(window->frameGeometry().size(), QSize(1150, 820));
    const MainWindowLayout layout = MainWindowLayout::compute(1150, 820, 1.0);
    const std::pair<const char*, ControlRect> places[] = {
        {"dataTable", layout.dataTable},           {"withinTable", layout.withinTable},
        {"resultsTable", layout.resultsTable},     {"computeButton", layout.computeButton},
        {"carriageReturnBox", layout.carriageReturn}, {"verticalTabBox", layout.verticalTab},
        {"formFeedBox", layout.formFeed},          {"insertRowButton", layout.insertRowButton},
        {"deleteRowButton", layout.deleteRowButton}, {"resetButton", layout.resetButton}};
    for (const auto& [name, rect] : places) {
        EXPECT_EQ(child<QWidget>(*window, name)->geometry(),
                  QRect(rect.left, rect.top, rect.width, rect.height))
            << name;
    }

    // The tables follow a larger window; the window cannot become smaller than the minimum.
    window->resize(window->width() + 200, window->height() + 100);
    QCoreApplication::processEvents();
    const QSize larger = window->frameGeometry().size();
    const ControlRect grown =
        MainWindowLayout::compute(larger.width(), larger.height(), 1.0).dataTable;
    EXPECT_EQ(child<GridView>(*window, "dataTable")->geometry(),
              QRect(grown.left, grown.top, grown.width, grown.height));
    window->resize(600, 400);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->frameGeometry().size(), QSize(1150, 820));
}

TEST_F(MainWindowTest, ControlTextsFitTheirPlaces)
{
    auto window = makeWindow();
    for (const char* name : {"computeButton", "simulationButton", "resetButton", "importDoneButton",
                             "verticalLabel", "horizontalLabel", "defineWithinLabel",
                             "firstRowNamesBox", "spacesBox", "tabBox"}) {
        auto* control = child<QWidget>(*window, name);
        EXPECT_LE(control->sizeHint().width(), control->width()) << name;
    }
    // The widened "spaces" box stops short of "Text import done".
    EXPECT_LT(child<QCheckBox>(*window, "spacesBox")->geometry().right(),
              child<QPushButton>(*window, "importDoneButton")->geometry().left());
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
}

TEST_F(MainWindowTest, SimulationWindowOpensForTheOneTickedAnalysis)
{
    auto window = windowWithMixedProject();
    window->computeStatistics();
    window->openSimulationWindow();
    EXPECT_EQ(takeMessages(), std::vector<std::string>{"No analysis chosen for simulation."});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    GeneralGridCtrl& results = window->getCommands().getResultsTable();
    results.toggleTickBox(results.toGridRow(3), results.toGridColumn(CHOICE_COLUMN));
    bool checked = false;
    handleNextModal([&](QWidget* modal) {
        auto* simulation = qobject_cast<SimulationDlg*>(modal);
        ASSERT_NE(simulation, nullptr);
        checked = true;
        EXPECT_EQ(simulation->windowTitle(), "Simulation");
        EXPECT_EQ(child<QLabel>(*simulation, "effectHeading")->text(), "Simulation of effect C");
        // As if the matrices had been edited.
        window->getCommands().getSimulationParameters().useCustomMatrices = 1;
        simulation->close();
    });
    QTest::mouseClick(child<QPushButton>(*window, "simulationButton"), Qt::LeftButton);
    EXPECT_TRUE(checked);
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_EQ(window->getCommands().getSimulationParameters().analysisIndex, 2);
    // Custom matrices belong to the window they were edited in.
    EXPECT_EQ(window->getCommands().getSimulationParameters().useCustomMatrices, 0);
}

TEST_F(MainWindowTest, SaveAsAndReopen)
{
    // Without a project path "Save" asks for one; cancelled, nothing changes.
    auto empty = makeWindow();
    fileDialogs.answers.push_back({});
    empty->saveProject();
    EXPECT_EQ(fileDialogs.titles, std::vector<std::string>{"Save as"});
    EXPECT_EQ(empty->windowTitle(), "Tamsel");
    takeMessages();

    auto window = windowWithMixedProject();
    UserGridCtrl& typed = window->getCommands().getDataTable();
    UserSession::type(typed, typed.toGridRow(0), typed.toGridColumn(0), "5.25");
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
}

TEST_F(MainWindowTest, CommandLineProjectOpensWithItsPathAsTitle)
{
    // An unreadable project is reported with its path and leaves an empty, usable window.
    const std::string damaged = folder.write("damaged.vlt", std::string("\x05\x00\x00", 3));
    auto window = makeWindow();
    window->openCommandLineArguments({"tamsel", QString::fromStdString(damaged)});
    const std::vector<std::string> shown = takeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(damaged), std::string::npos) << shown[0];
    EXPECT_EQ(window->windowTitle(), "Tamsel");
    EXPECT_EQ(window->getProjectCommands().getProjectPath(), "");
    EXPECT_EQ(window->getCommands().getDataTable().getDataRowCount(), 32);
    EXPECT_EQ(window->getCommands().getDataTable().getDataColumnCount(), 17);

    window->openCommandLineArguments({"tamsel", "notes.txt"});
    EXPECT_EQ(window->windowTitle(), "Tamsel");
    const std::string path = writeMixedProject("start.vlt");
    window->openCommandLineArguments({"tamsel", QString::fromStdString(path)});
    EXPECT_EQ(window->windowTitle().toStdString(), path + " - Tamsel");
    EXPECT_EQ(window->getCommands().getDataTable().getText(-1, 0), "b1c1");
    window->computeStatistics();
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_EQ(window->getCommands().getResultsTable().getDataRowCount(), 49);
}

TEST_F(MainWindowTest, ShortcutsAndButtonsEditTheDataTable)
{
    auto window = makeWindow();
    activate(*window);
    UserGridCtrl& data = window->getCommands().getDataTable();
    child<GridView>(*window, "dataTable")->setFocus();
    // Each step is a shortcut or, where key is 0, a click on the button.
    struct Step {
        int key;
        const char* button;
        int rows;
        int columns;
    };
    for (const Step& step :
         {Step{Qt::Key_I, "", 33, 17}, Step{Qt::Key_D, "", 32, 17}, Step{Qt::Key_C, "", 32, 18},
          Step{Qt::Key_X, "", 32, 17}, Step{0, "insertRowButton", 33, 17},
          Step{0, "deleteRowButton", 32, 17}}) {
        SCOPED_TRACE(step.key == 0 ? std::string(step.button) : "Alt+" + std::to_string(step.key));
        if (step.key == 0)
            QTest::mouseClick(child<QPushButton>(*window, step.button), Qt::LeftButton);
        else
            QTest::keyClick(window.get(), static_cast<Qt::Key>(step.key), Qt::AltModifier);
        EXPECT_EQ(data.getDataRowCount(), step.rows);
        EXPECT_EQ(data.getDataColumnCount(), step.columns);
    }
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
    auto* spaces = child<QCheckBox>(*window, "spacesBox");
    auto* done = child<QPushButton>(*window, "importDoneButton");
    names->setChecked(false);
    window->importTextFile();
    EXPECT_EQ(lastDialogTitle(), "Import text file");
    UserGridCtrl& data = window->getCommands().getDataTable();
    // The first import uses the defaults whatever the boxes show: names from the first row.
    EXPECT_EQ(data.getText(-1, 0), "x y");
    EXPECT_EQ(data.getDataColumnCount(), 2);
    EXPECT_TRUE(names->isEnabled());
    EXPECT_TRUE(done->isEnabled());

    // A click on "spaces" imports again with the states of all seven boxes.
    clickIndicator(spaces);
    EXPECT_EQ(data.getDataColumnCount(), 3);
    EXPECT_EQ(data.getDataRowCount(), 3);
    EXPECT_EQ(data.getText(0, 1), "y");
    QTest::mouseClick(done, Qt::LeftButton);
    EXPECT_FALSE(names->isEnabled());
    EXPECT_FALSE(spaces->isEnabled());

    // "Reset grids" ends an import too, so that an option no longer imports over the fresh
    // table.
    fileDialogs.answers.push_back({path});
    window->importTextFile();
    ASSERT_TRUE(done->isEnabled());
    QTest::mouseClick(child<QPushButton>(*window, "resetButton"), Qt::LeftButton);
    EXPECT_FALSE(done->isEnabled());
    EXPECT_FALSE(spaces->isEnabled());
    window->getProjectCommands().reimport(ImportOptions{});
    EXPECT_EQ(data.getDataColumnCount(), 17);
}

TEST_F(MainWindowTest, AboutBoxAndManualFromTheMenu)
{
    auto window = makeWindow();
    bool checked = false;
    handleNextModal([&](QWidget* modal) {
        checked = true;
        EXPECT_EQ(modal->windowTitle(), QString::fromUtf8("Info über Tamsel"));
        EXPECT_EQ(child<QLabel>(*modal, "versionLabel")->text(), "Tamsel, Version 1.0.4");
        EXPECT_FALSE(child<QLabel>(*modal, "descriptionLabel")->text().isEmpty());
        EXPECT_FALSE(child<QLabel>(*modal, "aboutIcon")->pixmap().isNull());
        auto* ok = child<QPushButton>(*modal, "okButton");
        EXPECT_EQ(ok->text(), "OK");
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    menuAction(*window, "?", "Info")->trigger();
    EXPECT_TRUE(checked);

    menuAction(*window, "?", "Tamsel user manual")->trigger();
    EXPECT_EQ(documents.opened, std::vector<std::string>{
                                    QCoreApplication::applicationDirPath().toStdString() +
                                    "/Tamsel User Manual.pdf"});
}

TEST_F(MainWindowTest, StoredPreferencesSetTheEnginesAtStart)
{
    // A stored count below one still gives an engine: without one nothing could be computed.
    for (const auto& [stored, engines] : {std::pair{3, 3}, std::pair{0, 1}}) {
        SCOPED_TRACE(stored);
        settings.writeInt("Preferences", "Number of threads", stored);
        settings.writeInt("Preferences", "Use Mersenne Twister", 0);
        auto window = makeWindow();
        EXPECT_EQ(window->getCommands().getEngineCount(), engines);
        EXPECT_EQ(window->getPreferences().useMersenneTwister, 0);
    }
}
