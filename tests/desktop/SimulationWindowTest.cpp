// The simulation window over the engines of a main window that has opened the mixed
// design, computed it and ticked one analysis.
#include "DesktopFixture.h"

#include "app/ResultsTable.h"
#include "data/ProjectFile.h"
#include "simulation/ui/MatricesDlg.h"
#include "simulation/ui/SimulationDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTest>

namespace {

/// Long enough that a run is still going when the test acts on it.
constexpr const char* MANY_PASSES = "50000000";

class SimulationWindowTest : public DesktopFixture {
protected:
    void SetUp() override
    {
        window = makeWindow();
        fileDialogs.answers.push_back({writeMixedProject("mixed.vlt")});
        window->openProject();
        ASSERT_TRUE(window->getCommands().computeStatistics());
        GeneralGridCtrl& results = window->getCommands().getResultsTable();
        // "ANOVA (uncorr.)" of the first effect, C.
        results.toggleTickBox(results.toGridRow(1), results.toGridColumn(CHOICE_COLUMN));
        ASSERT_TRUE(window->getCommands().setUpSimulation());
    }

    std::vector<Anova*> engines()
    {
        std::vector<Anova*> pool;
        for (int i = 0; i < window->getCommands().getEngineCount(); ++i)
            pool.push_back(&window->getCommands().getEngine(i));
        return pool;
    }

    std::unique_ptr<SimulationDlg> makeDialog()
    {
        auto dialog = std::make_unique<SimulationDlg>(
            engines(), parameters(), window->getCommands().getDesign(), window->getPreferences(),
            messages, DecimalSeparator('.'));
        dialog->setEffectName("C");
        dialog->show();
        return dialog;
    }

    SimulationParameters& parameters() { return window->getCommands().getSimulationParameters(); }

    template <typename T>
    static T* child(QWidget& dialog, const char* name)
    {
        T* found = dialog.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static void setField(QWidget& dialog, const char* name, const QString& text)
    {
        child<QLineEdit>(dialog, name)->setText(text);
    }

    static void click(QWidget& dialog, const char* name)
    {
        QTest::mouseClick(child<QPushButton>(dialog, name), Qt::LeftButton);
    }

    static bool waitForEnd(SimulationDlg& dialog)
    {
        return QTest::qWaitFor([&] { return !dialog.isRunning(); }, 60000);
    }

    /// Waits until every worker has published some progress, so that the run is surely
    /// under way.
    static bool waitForProgress(SimulationDlg& dialog)
    {
        return QTest::qWaitFor(
            [&] {
                return child<QProgressBar>(dialog, "progressBar1")->value() > 0 &&
                       child<QProgressBar>(dialog, "progressBar2")->value() > 0;
            },
            30000);
    }

    std::unique_ptr<CVeltmarkDlg> window;
};

} // namespace

TEST_F(SimulationWindowTest, OpensWithItsDefaults)
{
    auto dialog = makeDialog();
    EXPECT_EQ(dialog->windowTitle(), "Simulation");
    EXPECT_EQ(child<QLabel>(*dialog, "effectHeading")->text(), "Simulation of effect C");
    EXPECT_EQ(child<QLabel>(*dialog, "effectHeading")->font().pointSize(), 18);
    EXPECT_EQ(child<QLineEdit>(*dialog, "passesEdit")->text(), "100000");
    EXPECT_EQ(child<QLineEdit>(*dialog, "alphaEdit")->text(), "0.05");
    EXPECT_EQ(child<QLineEdit>(*dialog, "inspectionsEdit")->text(), "4");
    EXPECT_EQ(child<QLineEdit>(*dialog, "perInspectionEdit")->text(), "10");
    EXPECT_EQ(child<QLineEdit>(*dialog, "perGroupEdit")->text(), "10");
    EXPECT_TRUE(child<QRadioButton>(*dialog, "alphaRadio")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(*dialog, "homogeneityNo")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(*dialog, "replaceNo")->isChecked());
    EXPECT_FALSE(child<QLineEdit>(*dialog, "perGroupEdit")->isVisible());
    EXPECT_FALSE(child<QLabel>(*dialog, "threadHeading")->isVisible());
    EXPECT_FALSE(child<QProgressBar>(*dialog, "progressBar1")->isVisible());
    EXPECT_FALSE(child<QLineEdit>(*dialog, "probabilityResult")->isVisible());
    EXPECT_TRUE(child<QPushButton>(*dialog, "startButton")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(*dialog, "abortButton")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(*dialog, "matricesButton")->isEnabled());

    clickIndicator(child<QRadioButton>(*dialog, "replaceYes"));
    EXPECT_TRUE(child<QLineEdit>(*dialog, "perGroupEdit")->isVisible());
    EXPECT_TRUE(child<QLabel>(*dialog, "perGroupLabel")->isVisible());
    clickIndicator(child<QRadioButton>(*dialog, "replaceNo"));
    EXPECT_FALSE(child<QLineEdit>(*dialog, "perGroupEdit")->isVisible());
}

TEST_F(SimulationWindowTest, ShortRunShowsPassesAndProbability)
{
    auto dialog = makeDialog();
    setField(*dialog, "passesEdit", "10");
    setField(*dialog, "inspectionsEdit", "0");
    click(*dialog, "startButton");
    ASSERT_TRUE(waitForEnd(*dialog));
    // 10 passes on 2 threads: 6 per thread, 12 actual passes.
    EXPECT_EQ(child<QLineEdit>(*dialog, "passesResult")->text(), "12");
    EXPECT_TRUE(child<QLabel>(*dialog, "threadHeading")->isVisible());
    EXPECT_TRUE(child<QProgressBar>(*dialog, "progressBar2")->isVisible());
    EXPECT_EQ(child<QProgressBar>(*dialog, "progressBar1")->value(), 0);
    EXPECT_EQ(child<QLabel>(*dialog, "passesHeading")->text(), "Actual number of simulation passes");
    EXPECT_EQ(child<QLabel>(*dialog, "resultHeading")->text(), "Simulation result");
    const SimulationResult& result = dialog->lastResult();
    ASSERT_EQ(result.outcome, SimulationOutcome::Completed);
    EXPECT_EQ(child<QLineEdit>(*dialog, "probabilityResult")->text().toStdString(),
              SimulationFields::probabilityText(result, DecimalSeparator('.')));
    EXPECT_EQ(result.probability, static_cast<double>(result.significantTotal) / 12.0);
    EXPECT_EQ(parameters().numberOfPasses, 6);
    EXPECT_EQ(parameters().criticalAlpha, 0.05);
    EXPECT_TRUE(child<QPushButton>(*dialog, "startButton")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(*dialog, "abortButton")->isEnabled());
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SimulationWindowTest, CriticalAlphaOfOneMakesEveryPassSignificant)
{
    auto dialog = makeDialog();
    setField(*dialog, "passesEdit", "7");
    setField(*dialog, "alphaEdit", "0.999999999999");
    click(*dialog, "startButton");
    ASSERT_TRUE(waitForEnd(*dialog));
    EXPECT_EQ(child<QLineEdit>(*dialog, "passesResult")->text(), "8");
    EXPECT_EQ(child<QLineEdit>(*dialog, "probabilityResult")->text(), "1");
}

TEST_F(SimulationWindowTest, AbortHidesTheResult)
{
    auto dialog = makeDialog();
    setField(*dialog, "passesEdit", "10");
    click(*dialog, "startButton");
    ASSERT_TRUE(waitForEnd(*dialog));
    ASSERT_TRUE(child<QLineEdit>(*dialog, "probabilityResult")->isVisible());

    setField(*dialog, "passesEdit", MANY_PASSES);
    click(*dialog, "startButton");
    ASSERT_TRUE(dialog->isRunning());
    EXPECT_FALSE(child<QPushButton>(*dialog, "startButton")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(*dialog, "matricesButton")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(*dialog, "abortButton")->isEnabled());
    ASSERT_TRUE(waitForProgress(*dialog));
    click(*dialog, "abortButton");
    EXPECT_FALSE(child<QPushButton>(*dialog, "abortButton")->isEnabled());
    ASSERT_TRUE(waitForEnd(*dialog));
    EXPECT_EQ(dialog->lastResult().outcome, SimulationOutcome::Aborted);
    EXPECT_FALSE(child<QLineEdit>(*dialog, "probabilityResult")->isVisible());
    EXPECT_FALSE(child<QLineEdit>(*dialog, "passesResult")->isVisible());
    EXPECT_FALSE(child<QLabel>(*dialog, "resultHeading")->isVisible());
    EXPECT_EQ(child<QProgressBar>(*dialog, "progressBar1")->value(), 0);
    EXPECT_EQ(child<QProgressBar>(*dialog, "progressBar2")->value(), 0);
    EXPECT_TRUE(child<QPushButton>(*dialog, "startButton")->isEnabled());
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SimulationWindowTest, EscapeAbortsAndLeavesTheWindowOpen)
{
    auto dialog = makeDialog();
    setField(*dialog, "passesEdit", MANY_PASSES);
    click(*dialog, "startButton");
    ASSERT_TRUE(waitForProgress(*dialog));
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    ASSERT_TRUE(waitForEnd(*dialog));
    EXPECT_EQ(dialog->lastResult().outcome, SimulationOutcome::Aborted);
    EXPECT_TRUE(dialog->isVisible());
    // Without a run Escape does not close the window either.
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(SimulationWindowTest, ClosingDuringARunAbortsAndWaitsForTheWorkers)
{
    auto dialog = makeDialog();
    setField(*dialog, "passesEdit", MANY_PASSES);
    click(*dialog, "startButton");
    ASSERT_TRUE(waitForProgress(*dialog));
    dialog->close();
    // Once the window is closed the workers have let go of every engine.
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(dialog->isRunning());
    for (Anova* engine : engines())
        EXPECT_TRUE(engine->isFinished());
    EXPECT_EQ(dialog->lastResult().outcome, SimulationOutcome::Aborted);
    // The engines are usable at once: the main window computes with them again.
    EXPECT_TRUE(window->getCommands().computeStatistics());
}

TEST_F(SimulationWindowTest, DestroyingTheOpenWindowDuringARunWaitsToo)
{
    auto dialog = makeDialog();
    setField(*dialog, "passesEdit", MANY_PASSES);
    click(*dialog, "startButton");
    ASSERT_TRUE(waitForProgress(*dialog));
    dialog.reset();
    for (Anova* engine : engines())
        EXPECT_TRUE(engine->isFinished());
}

TEST_F(SimulationWindowTest, RangeMessagesFocusTheField)
{
    auto dialog = makeDialog();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    setField(*dialog, "passesEdit", "0");
    click(*dialog, "startButton");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Please enter an integer between 1 and 2000000000.");
    EXPECT_TRUE(child<QLineEdit>(*dialog, "passesEdit")->hasFocus());
    EXPECT_FALSE(dialog->isRunning());
    EXPECT_FALSE(child<QProgressBar>(*dialog, "progressBar1")->isVisible());
    messages.messages.clear();

    setField(*dialog, "passesEdit", "10");
    clickIndicator(child<QRadioButton>(*dialog, "replaceYes"));
    setField(*dialog, "perGroupEdit", "1");
    click(*dialog, "startButton");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Please choose a minimum of 2 subjects.");
    EXPECT_EQ(messages.messages[0].title, "Veltmark");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Exclamation);
    auto* perGroup = child<QLineEdit>(*dialog, "perGroupEdit");
    EXPECT_TRUE(perGroup->hasFocus());
    EXPECT_EQ(perGroup->selectedText(), "1");
    EXPECT_FALSE(dialog->isRunning());
}

TEST_F(SimulationWindowTest, EditedMatricesGoIntoEveryEngine)
{
    auto dialog = makeDialog();
    bool edited = false;
    whenModalShown([&](QWidget* modal) {
        auto* editor = qobject_cast<MatricesDlg*>(modal);
        ASSERT_NE(editor, nullptr);
        edited = true;
        EXPECT_EQ(editor->windowTitle(), "Matrices");
        SimulationMatricesGridCtrl& grid = editor->getGrid();
        EXPECT_EQ(grid.getText(-1, 0), "W11");
        EXPECT_EQ(grid.getText(1, -1), "B2");
        const int row = grid.toGridRow(0);
        const int column = grid.toGridColumn(0);
        ASSERT_TRUE(grid.beginEdit(row, column));
        ASSERT_TRUE(grid.endEdit(row, column, "42"));
        QTest::mouseClick(editor->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    click(*dialog, "matricesButton");
    ASSERT_TRUE(edited);
    EXPECT_EQ(parameters().useCustomMatrices, 1);
    LapackWorkspace lapack;
    RealMatrix means(&lapack), sds(&lapack), correlations(&lapack);
    for (Anova* engine : engines()) {
        engine->exportSimulationMatrices(means, sds, correlations);
        EXPECT_EQ(means.get(0, 0), 42.0);
    }

    // The run uses them: with the means tab visited, a short run completes.
    setField(*dialog, "passesEdit", "10");
    click(*dialog, "startButton");
    ASSERT_TRUE(waitForEnd(*dialog));
    EXPECT_EQ(dialog->lastResult().outcome, SimulationOutcome::Completed);

    whenModalShown([&](QWidget* modal) {
        QTest::mouseClick(modal->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    });
    click(*dialog, "matricesButton");
    EXPECT_EQ(parameters().useCustomMatrices, 0);
}

TEST_F(SimulationWindowTest, EveryThreadOfALargePoolHasItsBar)
{
    std::vector<std::unique_ptr<Anova>> pool;
    std::vector<Anova*> pointers;
    const Design& design = window->getCommands().getDesign();
    Anova& model = window->getCommands().getEngine(0);
    for (int i = 0; i < 20; ++i) {
        pool.push_back(std::make_unique<Anova>(i));
        pool.back()->setDesign(design.getY(), design.getX(), design.getGroupStart(),
                               design.getBetweenLevels(), design.getWithinLevels(),
                               design.getBetweenCombinations(), design.getWithinCombinations(),
                               design.getBetweenCount(), design.getWithinCount());
        pool.back()->setEffect(design.getC(), design.getM(), {1}, {});
        pool.back()->setEffectName(model.effectName());
        pool.back()->getGenerator().seed(static_cast<std::uint32_t>(i + 1));
        pointers.push_back(pool.back().get());
    }
    SimulationDlg dialog(pointers, parameters(), design, window->getPreferences(), messages,
                         DecimalSeparator('.'));
    dialog.show();
    setField(dialog, "passesEdit", "40");
    click(dialog, "startButton");
    ASSERT_TRUE(waitForEnd(dialog));
    EXPECT_EQ(child<QLineEdit>(dialog, "passesResult")->text(), "60");
    EXPECT_EQ(child<QLabel>(dialog, "threadLabel9")->text(), " #9");
    auto* last = child<QProgressBar>(dialog, "progressBar20");
    EXPECT_TRUE(last->isVisibleTo(&dialog));
    EXPECT_EQ(child<QLabel>(dialog, "threadLabel20")->text(), "#20");
    // The bars that do not fit are reached by scrolling.
    auto* area = child<QScrollArea>(dialog, "progressArea");
    EXPECT_TRUE(area->isAncestorOf(last));
}

TEST_F(SimulationWindowTest, MissingRandomNumbersFilesEndTheRunWithInf)
{
    window->getPreferences().useMersenneTwister = 0;
    window->getPreferences().randomNumbersFiles =
        folder.path("absent-1.txt") + ";" + folder.path("absent-2.txt");
    auto dialog = makeDialog();
    setField(*dialog, "passesEdit", "10");
    click(*dialog, "startButton");
    ASSERT_TRUE(waitForEnd(*dialog));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, "Error");
    EXPECT_EQ(messages.messages[0].text,
              "The random-numbers file you specified does not contain (enough) random "
              "numbers.\n\nSimulation aborted.");
    EXPECT_EQ(child<QLineEdit>(*dialog, "passesResult")->text(), "12");
    EXPECT_EQ(child<QLineEdit>(*dialog, "probabilityResult")->text(), "inf");
    EXPECT_TRUE(child<QPushButton>(*dialog, "startButton")->isEnabled());
}

TEST_F(SimulationWindowTest, InvalidCorrelationsClearTheEarlierResult)
{
    // The same design, but one cell of the second group without any variance, so that
    // the group's correlations cannot be formed.
    UserSession session;
    typeMixedDesign(session);
    UserGridCtrl& data = session.commands.getDataTable();
    for (int r = 4; r < 8; ++r)
        UserSession::type(data, data.toGridRow(r), data.toGridColumn(0), "7");
    const std::string path = folder.path("constant-cell.vlt");
    ProjectFile file(session.sink);
    ASSERT_TRUE(file.write(path, data, session.commands.getWithinTable()));
    fileDialogs.answers.push_back({path});
    window->openProject();
    ASSERT_TRUE(window->getCommands().computeStatistics());
    GeneralGridCtrl& results = window->getCommands().getResultsTable();
    results.toggleTickBox(results.toGridRow(3), results.toGridColumn(CHOICE_COLUMN));
    ASSERT_TRUE(window->getCommands().setUpSimulation());

    auto dialog = makeDialog();
    setField(*dialog, "passesEdit", "10");
    click(*dialog, "startButton");
    ASSERT_TRUE(waitForEnd(*dialog));
    ASSERT_EQ(dialog->lastResult().outcome, SimulationOutcome::Completed);
    ASSERT_FALSE(child<QLineEdit>(*dialog, "probabilityResult")->text().isEmpty());
    // A new sample is drawn in every pass only when the original matrix is replaced;
    // the observed data alone never need the group's correlations.
    clickIndicator(child<QRadioButton>(*dialog, "replaceYes"));
    click(*dialog, "startButton");
    ASSERT_TRUE(waitForEnd(*dialog));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              "Invalid correlation matrix, probably due to insufficient number of participants "
              "per group.\n\nSimulation aborted.");
    EXPECT_EQ(dialog->lastResult().outcome, SimulationOutcome::InvalidCorrelation);
    EXPECT_EQ(child<QLineEdit>(*dialog, "passesResult")->text(), "12");
    EXPECT_EQ(child<QLineEdit>(*dialog, "probabilityResult")->text(), "");
}
