// The simulation window over the engines of a main window that has opened the mixed
// design, computed it and ticked one analysis. The run itself (passes per thread, outcomes,
// messages) is checked on SimulationRun; here, what the window shows and how a run in
// progress is ended.
#include "DesktopFixture.h"

#include "app/ResultsTable.h"
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
        window = windowWithMixedProject();
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

    static QString text(QWidget& dialog, const char* name)
    {
        return child<QLineEdit>(dialog, name)->text();
    }

    static bool visible(QWidget& dialog, const char* name)
    {
        return child<QWidget>(dialog, name)->isVisible();
    }

    static bool enabled(QWidget& dialog, const char* name)
    {
        return child<QWidget>(dialog, name)->isEnabled();
    }

    static void click(QWidget& dialog, const char* name)
    {
        QTest::mouseClick(child<QPushButton>(dialog, name), Qt::LeftButton);
    }

    /// Starts a run of passes passes; with wait, returns once it has ended, otherwise once
    /// every worker has published some progress, so that the run is surely under way.
    static bool run(SimulationDlg& dialog, const char* passes, bool wait = true)
    {
        child<QLineEdit>(dialog, "passesEdit")->setText(passes);
        click(dialog, "startButton");
        if (wait)
            return QTest::qWaitFor([&] { return !dialog.isRunning(); }, 60000);
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
    const std::pair<const char*, const char*> fields[] = {
        {"passesEdit", "100000"},   {"alphaEdit", "0.05"},   {"inspectionsEdit", "4"},
        {"perInspectionEdit", "10"}, {"perGroupEdit", "10"}};
    for (const auto& [name, shown] : fields)
        EXPECT_EQ(text(*dialog, name), shown) << name;
    for (const char* name : {"alphaRadio", "homogeneityNo", "replaceNo"})
        EXPECT_TRUE(child<QRadioButton>(*dialog, name)->isChecked()) << name;
    for (const char* name : {"perGroupEdit", "threadHeading", "progressBar1", "probabilityResult"})
        EXPECT_FALSE(visible(*dialog, name)) << name;
    EXPECT_TRUE(enabled(*dialog, "startButton"));
    EXPECT_FALSE(enabled(*dialog, "abortButton"));
    EXPECT_TRUE(enabled(*dialog, "matricesButton"));

    // The group size matters only when the original matrix is replaced.
    clickIndicator(child<QRadioButton>(*dialog, "replaceYes"));
    EXPECT_TRUE(visible(*dialog, "perGroupEdit"));
    EXPECT_TRUE(visible(*dialog, "perGroupLabel"));
    clickIndicator(child<QRadioButton>(*dialog, "replaceNo"));
    EXPECT_FALSE(visible(*dialog, "perGroupEdit"));
}

TEST_F(SimulationWindowTest, ShortRunShowsPassesAndProbability)
{
    auto dialog = makeDialog();
    child<QLineEdit>(*dialog, "inspectionsEdit")->setText("0");
    ASSERT_TRUE(run(*dialog, "10"));
    // 10 passes on 2 threads: 6 per thread, 12 actual passes.
    EXPECT_EQ(text(*dialog, "passesResult"), "12");
    EXPECT_TRUE(visible(*dialog, "threadHeading"));
    EXPECT_TRUE(visible(*dialog, "progressBar2"));
    EXPECT_EQ(child<QProgressBar>(*dialog, "progressBar1")->value(), 0);
    EXPECT_EQ(child<QLabel>(*dialog, "passesHeading")->text(),
              "Actual number of simulation passes");
    EXPECT_EQ(child<QLabel>(*dialog, "resultHeading")->text(), "Simulation result");
    const SimulationResult& result = dialog->lastResult();
    ASSERT_EQ(result.outcome, SimulationOutcome::Completed);
    EXPECT_EQ(text(*dialog, "probabilityResult").toStdString(),
              SimulationFields::probabilityText(result, DecimalSeparator('.')));
    EXPECT_EQ(parameters().numberOfPasses, 6);
    EXPECT_EQ(parameters().criticalAlpha, 0.05);
    EXPECT_TRUE(enabled(*dialog, "startButton"));
    EXPECT_FALSE(enabled(*dialog, "abortButton"));
    EXPECT_TRUE(messages.messages.empty());

    // The next run reads the fields again: a critical alpha of almost one makes every pass
    // significant.
    child<QLineEdit>(*dialog, "alphaEdit")->setText("0.999999999999");
    ASSERT_TRUE(run(*dialog, "7"));
    EXPECT_EQ(text(*dialog, "passesResult"), "8");
    EXPECT_EQ(text(*dialog, "probabilityResult"), "1");
}

TEST_F(SimulationWindowTest, AbortByButtonOrEscapeHidesTheResultAndKeepsTheWindow)
{
    auto dialog = makeDialog();
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "abort button");
        ASSERT_TRUE(run(*dialog, "10"));
        ASSERT_TRUE(visible(*dialog, "probabilityResult"));

        ASSERT_TRUE(run(*dialog, MANY_PASSES, false));
        ASSERT_TRUE(dialog->isRunning());
        EXPECT_FALSE(enabled(*dialog, "startButton"));
        EXPECT_FALSE(enabled(*dialog, "matricesButton"));
        EXPECT_TRUE(enabled(*dialog, "abortButton"));
        if (escape)
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else
            click(*dialog, "abortButton");
        EXPECT_FALSE(enabled(*dialog, "abortButton"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->isRunning(); }, 60000));
        EXPECT_EQ(dialog->lastResult().outcome, SimulationOutcome::Aborted);
        for (const char* name : {"probabilityResult", "passesResult", "resultHeading"})
            EXPECT_FALSE(visible(*dialog, name)) << name;
        EXPECT_EQ(child<QProgressBar>(*dialog, "progressBar1")->value(), 0);
        EXPECT_EQ(child<QProgressBar>(*dialog, "progressBar2")->value(), 0);
        EXPECT_TRUE(enabled(*dialog, "startButton"));
        EXPECT_TRUE(dialog->isVisible());
    }
    // Without a run Escape does not close the window either.
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SimulationWindowTest, ClosingOrDestroyingDuringARunWaitsForTheWorkers)
{
    // Once the window is closed or gone, the workers have let go of every engine.
    for (const bool destroy : {true, false}) {
        SCOPED_TRACE(destroy ? "destroyed" : "closed");
        auto dialog = makeDialog();
        ASSERT_TRUE(run(*dialog, MANY_PASSES, false));
        if (destroy) {
            dialog.reset();
        } else {
            dialog->close();
            EXPECT_FALSE(dialog->isVisible());
            EXPECT_FALSE(dialog->isRunning());
            EXPECT_EQ(dialog->lastResult().outcome, SimulationOutcome::Aborted);
        }
        for (Anova* engine : engines())
            EXPECT_TRUE(engine->isFinished());
    }
    // The engines are usable at once: the main window computes with them again.
    EXPECT_TRUE(window->getCommands().computeStatistics());
}

TEST_F(SimulationWindowTest, RangeMessagesFocusTheField)
{
    auto dialog = makeDialog();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    ASSERT_TRUE(run(*dialog, "0"));
    EXPECT_EQ(takeMessages(),
              std::vector<std::string>{"Please enter an integer between 1 and 2000000000."});
    EXPECT_TRUE(child<QLineEdit>(*dialog, "passesEdit")->hasFocus());
    EXPECT_FALSE(visible(*dialog, "progressBar1"));

    clickIndicator(child<QRadioButton>(*dialog, "replaceYes"));
    child<QLineEdit>(*dialog, "perGroupEdit")->setText("1");
    ASSERT_TRUE(run(*dialog, "10"));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Please choose a minimum of 2 subjects.");
    EXPECT_EQ(messages.messages[0].title, "Veltmark");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Exclamation);
    auto* perGroup = child<QLineEdit>(*dialog, "perGroupEdit");
    EXPECT_TRUE(perGroup->hasFocus());
    EXPECT_EQ(perGroup->selectedText(), "1");
    EXPECT_EQ(dialog->lastResult().outcome, SimulationOutcome::None);
}

TEST_F(SimulationWindowTest, EditedMatricesGoIntoEveryEngine)
{
    auto dialog = makeDialog();
    bool edited = false;
    handleNextModal([&](QWidget* modal) {
        auto* editor = qobject_cast<MatricesDlg*>(modal);
        ASSERT_NE(editor, nullptr);
        edited = true;
        SimulationMatricesGridCtrl& grid = editor->getGrid();
        const int row = grid.toGridRow(0);
        const int column = grid.toGridColumn(0);
        ASSERT_TRUE(grid.beginEdit(row, column));
        ASSERT_TRUE(grid.endEdit(row, column, "42"));
        click(*editor, "okButton");
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
    ASSERT_TRUE(run(*dialog, "10"));
    EXPECT_EQ(dialog->lastResult().outcome, SimulationOutcome::Completed);

    handleNextModal([&](QWidget* modal) { click(*modal, "cancelButton"); });
    click(*dialog, "matricesButton");
    EXPECT_EQ(parameters().useCustomMatrices, 0);
}

TEST_F(SimulationWindowTest, EveryThreadOfALargePoolHasItsBar)
{
    std::vector<std::unique_ptr<Anova>> pool;
    std::vector<Anova*> pointers;
    const Design& design = window->getCommands().getDesign();
    for (int i = 0; i < 20; ++i) {
        pool.push_back(std::make_unique<Anova>(i));
        pool.back()->setDesign(design.getY(), design.getX(), design.getGroupStart(),
                               design.getBetweenLevels(), design.getWithinLevels(),
                               design.getBetweenCombinations(), design.getWithinCombinations(),
                               design.getBetweenCount(), design.getWithinCount());
        pool.back()->setEffect(design.getC(), design.getM(), {1}, {});
        pool.back()->setEffectName(window->getCommands().getEngine(0).effectName());
        pool.back()->getGenerator().seed(static_cast<std::uint32_t>(i + 1));
        pointers.push_back(pool.back().get());
    }
    SimulationDlg dialog(pointers, parameters(), design, window->getPreferences(), messages,
                         DecimalSeparator('.'));
    dialog.show();
    ASSERT_TRUE(run(dialog, "40"));
    EXPECT_EQ(text(dialog, "passesResult"), "60");
    EXPECT_EQ(child<QLabel>(dialog, "threadLabel9")->text(), " #9");
    EXPECT_EQ(child<QLabel>(dialog, "threadLabel20")->text(), "#20");
    // The bars that do not fit are reached by scrolling.
    auto* last = child<QProgressBar>(dialog, "progressBar20");
    EXPECT_TRUE(last->isVisibleTo(&dialog));
    EXPECT_TRUE(child<QScrollArea>(dialog, "progressArea")->isAncestorOf(last));
}

TEST_F(SimulationWindowTest, MissingRandomNumbersFilesEndTheRunWithInf)
{
    auto dialog = makeDialog();
    ASSERT_TRUE(run(*dialog, "10"));
    ASSERT_NE(text(*dialog, "probabilityResult"), "");
    // The window reads the preferences at each start; the earlier result is replaced.
    window->getPreferences().useMersenneTwister = 0;
    window->getPreferences().randomNumbersFiles =
        folder.path("absent-1.txt") + ";" + folder.path("absent-2.txt");
    ASSERT_TRUE(run(*dialog, "10"));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, "Error");
    EXPECT_EQ(messages.messages[0].text,
              "The random-numbers file you specified does not contain (enough) random "
              "numbers.\n\nSimulation aborted.");
    EXPECT_EQ(text(*dialog, "passesResult"), "12");
    EXPECT_EQ(text(*dialog, "probabilityResult"), "inf");
    EXPECT_TRUE(enabled(*dialog, "startButton"));
}
