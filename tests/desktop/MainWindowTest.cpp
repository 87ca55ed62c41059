// The main window's controls reach the commands, which are checked on their own.
#include "DesktopFixture.h"

#include "app/MainWindowLayout.h"
#include "app/ResultsTable.h"
#include "desktop/grid/GridView.h"
#include "desktop/simulation/SimulationDlg.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

namespace {

class MainWindowTest : public DesktopFixture {
protected:
    static QAction* action(CVeltmarkDlg& window, const QString& text)
    {
        for (QAction* entry : window.menuBar()->findChildren<QAction*>()) {
            if (entry->text() == text)
                return entry;
        }
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }
};

} // namespace

TEST_F(MainWindowTest, OpensWithItsTitleAndTextsThatFitTheirPlaces)
{
    auto window = makeWindow();
    EXPECT_EQ(window->windowTitle(), "Tamsel");
    EXPECT_EQ(window->getCommands().getEngineCount(), 2) << "one engine per processor";
    const std::pair<const char*, const char*> texts[] = {
        {"computeButton", "Compute statistics"},
        {"simulationButton", "Simulation window"},
        {"resetButton", "Reset grids"},
        {"importDoneButton", "Text import done"},
        {"defineWithinLabel", "Define within variables"},
        {"verticalLabel", "Vertical delimiters:"},
        {"horizontalLabel", "Horizontal delimiters:"},
        {"firstRowNamesBox", "First row contains variable names"},
        {"carriageReturnBox", "\\ r"},
        {"tabBox", "\\t"},
        {"spacesBox", "spaces"}};
    for (const auto& [name, shown] : texts) {
        EXPECT_EQ(text(*window, name), shown) << name;
        EXPECT_LE(child(*window, name)->sizeHint().width(), child(*window, name)->width()) << name;
    }
}

TEST_F(MainWindowTest, PlacedByTheLayoutRuleAt96DpiAndNeverSmallerThanItsMinimum)
{
    auto window = makeWindow();
    ASSERT_EQ(window->getScale(), 1.0);
    ASSERT_EQ(window->frameGeometry().size(), QSize(1150, 820));
    const MainWindowLayout layout = MainWindowLayout::compute(1150, 820, 1.0);
    const std::pair<const char*, ControlRect> places[] = {{"dataTable", layout.dataTable},
                                                          {"computeButton", layout.computeButton},
                                                          {"formFeedBox", layout.formFeed}};
    for (const auto& [name, rect] : places)
        EXPECT_EQ(child(*window, name)->geometry(),
                  QRect(rect.left, rect.top, rect.width, rect.height))
            << name;
    window->resize(600, 400);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->frameGeometry().size(), QSize(1150, 820));
}

TEST_F(MainWindowTest, EachMenuEntryAndItsShortcutReachTheCommand)
{
    auto window = makeWindow();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const UserGridCtrl& data = window->getCommands().getDataTable();
    // reached: the file dialog the command asked for, or the data table's size after it.
    struct Entry {
        const char* text;
        const char* shortcut;
        const char* reached;
    };
    for (const Entry& e :
         {Entry{"Open ...", "Ctrl+O", "Open"}, Entry{"Save", "Ctrl+S", "Save as"},
          Entry{"Save as ...", "Ctrl+Shift+S", "Save as"},
          Entry{"Import text file ...", "", "Import text file"},
          Entry{"Insert row", "Alt+I", "33 x 17"}, Entry{"Delete row(s)", "Alt+D", "32 x 17"},
          Entry{"Insert column", "Alt+C", "32 x 18"},
          Entry{"Delete column(s)", "Alt+X", "32 x 17"}}) {
        SCOPED_TRACE(e.text);
        QAction* menuEntry = action(*window, e.text);
        ASSERT_NE(menuEntry, nullptr);
        EXPECT_EQ(menuEntry->shortcut(), QKeySequence(e.shortcut));
        fileDialogs.titles.clear();
        if (*e.shortcut != '\0')
            QTest::keySequence(window.get(), QKeySequence(e.shortcut));
        else
            menuEntry->trigger();
        const std::string size = std::to_string(data.getDataRowCount()) + " x " +
                                 std::to_string(data.getDataColumnCount());
        EXPECT_EQ(fileDialogs.titles.empty() ? size : fileDialogs.titles.back(), e.reached);
    }
}

TEST_F(MainWindowTest, ComputeTickAnAnalysisAndOpenTheSimulationWindow)
{
    auto window = windowWithMixedProject();
    click(*window, "computeButton");
    GeneralGridCtrl& results = window->getCommands().getResultsTable();
    EXPECT_EQ(results.getDataRowCount(), 70) << "seven effects of ten rows";
    click(*window, "simulationButton");
    EXPECT_EQ(takeMessages(), std::vector<std::string>{"No analysis chosen for simulation."});
    auto* view = child<GridView>(*window, "resultsTable");
    const int row = results.toGridRow(ROWS_PER_EFFECT + 4);
    const int column = results.toGridColumn(CHOICE_COLUMN);
    view->scrollToCell({row, column});
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->getCellRect(row, column).center());
    QString heading;
    handleNextModal([&](QWidget* modal) {
        heading = modal->windowTitle() + ": " + text(*modal, "effectHeading");
        modal->close();
    });
    click(*window, "simulationButton");
    EXPECT_TRUE(heading.startsWith("Simulation: Simulation of effect ")) << heading.toStdString();
    EXPECT_EQ(window->getCommands().getSimulationParameters().analysisIndex, 3);
}

TEST_F(MainWindowTest, TheAboutBoxShowsItsTexts)
{
    auto window = makeWindow();
    QStringList shown;
    handleNextModal([&](QWidget* modal) {
        shown = {modal->windowTitle(), text(*modal, "versionLabel"), text(*modal, "okButton")};
        click(*modal, "okButton");
    });
    action(*window, "Info")->trigger();
    EXPECT_EQ(shown,
              (QStringList{QString::fromUtf8("Info über Tamsel"), "Tamsel, Version 1.0.4", "OK"}));
}

TEST_F(MainWindowTest, DescriptiveStatisticsUnderViewShowTheLastComputation)
{
    auto window = windowWithMixedProject();
    action(*window, "Descriptive statistics")->trigger();
    EXPECT_EQ(takeMessages(), std::vector<std::string>{"The descriptive statistics are shown "
                                                       "after \"Compute statistics\" has "
                                                       "computed every effect."});
    click(*window, "computeButton");
    QStringList shown;
    handleNextModal([&](QWidget* modal) {
        shown = {modal->windowTitle(),
                 modal->findChild<QPlainTextEdit*>("descriptivesText")->toPlainText()};
        modal->close();
    });
    action(*window, "Descriptive statistics")->trigger();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0], "Descriptive statistics");
    const QStringList lines = shown[1].split('\n', Qt::SkipEmptyParts);
    const auto& cells = window->getCommands().getCellStatistics();
    EXPECT_EQ(lines.size(), static_cast<int>(cells.size()) + 1);
    EXPECT_TRUE(lines.value(0).startsWith("group  within")) << lines.value(0).toStdString();
}
