// The simulation window's wiring; the run itself is checked on SimulationRun.
#include "DesktopFixture.h"

#include "app/ResultsTable.h"
#include "desktop/grid/GridView.h"
#include "desktop/simulation/MatricesDlg.h"
#include "desktop/simulation/SimulationDlg.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QTabBar>
#include <QTest>

namespace {

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
        for (int i = 0; i < window->getCommands().getEngineCount(); ++i)
            engines.push_back(&window->getCommands().getEngine(i));
        dialog = std::make_unique<SimulationDlg>(
            engines, window->getCommands().getSimulationParameters(),
            window->getCommands().getDesign(), window->getPreferences(), machine, messages,
            DecimalSeparator('.'));
        dialog->setEffectName("C");
        dialog->show();
    }

    /// Starts a run; returns once it ended or, without wait, once every worker has progressed.
    bool run(const char* passes, bool wait = true)
    {
        child<QLineEdit>(*dialog, "passesEdit")->setText(passes);
        click(*dialog, "startButton");
        return QTest::qWaitFor(
            [&] {
                return wait ? !dialog->isRunning()
                            : child<QProgressBar>(*dialog, "progressBar1")->value() > 0 &&
                                  child<QProgressBar>(*dialog, "progressBar2")->value() > 0;
            },
            60000);
    }

    std::unique_ptr<CVeltmarkDlg> window;
    std::vector<Anova*> engines;
    std::unique_ptr<SimulationDlg> dialog;
};

} // namespace

TEST_F(SimulationWindowTest, OpensWithItsTitleAndTexts)
{
    EXPECT_EQ(dialog->windowTitle(), "Simulation");
    const std::pair<const char*, const char*> texts[] = {
        {"effectHeading", "Simulation of effect C"},
        {"alphaRadio", "Simulate alpha error probability"},
        {"powerRadio", "Simulate power (1 - beta error prob.)"},
        {"passesEdit", "100000"},
        {"alphaEdit", "0.05"},
        {"perGroupLabel", "Number of participants per group"},
        {"startButton", "Start simulation"},
        {"abortButton", "Abort simulation"},
        {"matricesButton", "Edit matrices"}};
    for (const auto& [name, shown] : texts)
        EXPECT_EQ(text(*dialog, name), shown) << name;
}

TEST_F(SimulationWindowTest, ARunShowsItsPassesAndProbability)
{
    child<QLineEdit>(*dialog, "alphaEdit")->setText("0.999999999999");
    ASSERT_TRUE(run("10"));
    EXPECT_EQ(text(*dialog, "passesResult"), "10") << "exactly the passes asked for";
    EXPECT_EQ(machine.seeds, 1u) << "the run drew its seed";
    EXPECT_EQ(text(*dialog, "probabilityResult"), "1") << "every pass is significant";
    EXPECT_TRUE(child(*dialog, "observedNote")->isVisible()) << "because the observed sample is";
    EXPECT_EQ(text(*dialog, "observedNote"), OBSERVED_SIGNIFICANT_NOTE);
    EXPECT_EQ(text(*dialog, "resultHeading"), "Simulation result");
    EXPECT_TRUE(child(*dialog, "startButton")->isEnabled());
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SimulationWindowTest, AbortingOrDestroyingARunLeavesEveryEngineFinished)
{
    ASSERT_TRUE(run("50000000", false));
    EXPECT_FALSE(child(*dialog, "startButton")->isEnabled());
    click(*dialog, "abortButton");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->isRunning(); }, 60000));
    EXPECT_EQ(dialog->lastResult().outcome, SimulationOutcome::Aborted);
    EXPECT_FALSE(child(*dialog, "probabilityResult")->isVisible());
    EXPECT_TRUE(child(*dialog, "startButton")->isEnabled());
    ASSERT_TRUE(run("50000000", false));
    dialog.reset();
    for (Anova* engine : engines)
        EXPECT_TRUE(engine->isFinished());
    EXPECT_TRUE(window->getCommands().computeStatistics()) << "the engines are free again";
}

TEST_F(SimulationWindowTest, RefusalsShowTheirMessageAndFocusTheField)
{
    struct Case {
        const char* passes;
        const char* perGroup;
        bool noFiles;
        std::string message;
        const char* focused;
    };
    for (const Case& c :
         {Case{"0", nullptr, false, "Please enter an integer between 1 and 2000000000.",
               "passesEdit"},
          Case{"10", "1", false, "Please choose a minimum of 2 subjects.", "perGroupEdit"},
          Case{"10", nullptr, true,
               "The random-numbers file " + folder.path("a.txt") +
                   " cannot be opened: No such file or directory.\n\n"
                   "Simulation not started.",
               nullptr}}) {
        SCOPED_TRACE(c.message);
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        clickIndicator(*dialog, c.perGroup ? "replaceYes" : "replaceNo");
        if (c.perGroup)
            child<QLineEdit>(*dialog, "perGroupEdit")->setText(c.perGroup);
        window->getPreferences().useMersenneTwister = c.noFiles ? 0 : 1;
        window->getPreferences().randomNumbersFiles =
            folder.path("a.txt") + ";" + folder.path("b.txt");
        ASSERT_TRUE(run(c.passes));
        EXPECT_EQ(takeMessages(), std::vector<std::string>{c.message});
        if (c.focused)
            EXPECT_TRUE(child(*dialog, c.focused)->hasFocus());
        else
            EXPECT_FALSE(child(*dialog, "probabilityResult")->isVisible());
    }
}

TEST_F(SimulationWindowTest, TheMatricesWindowShowsItsTabsAndItsEditsGoIntoEveryEngine)
{
    QStringList shown;
    handleNextModal([&](QWidget* modal) {
        auto* tabs = child<QTabBar>(*modal, "matrixTabs");
        shown = {modal->windowTitle(), tabs->tabText(0), tabs->tabText(1), tabs->tabText(2)};
        auto* view = child<GridView>(*modal, "matrixGrid");
        SimulationMatricesGridCtrl& grid = qobject_cast<MatricesDlg*>(modal)->getGrid();
        grid.setFocusCell({grid.toGridRow(0), grid.toGridColumn(0)});
        QTest::keyClick(view, '4');
        QTest::keyClicks(view->getEditor(), "2");
        tabs->setCurrentIndex(2);
        click(*modal, "okButton");
    });
    click(*dialog, "matricesButton");
    EXPECT_EQ(shown, (QStringList{"Matrices", "Means", "Standard deviations",
                                  "Correlations (residuals)"}));
    EXPECT_EQ(window->getCommands().getSimulationParameters().useCustomMatrices, 1);
    LapackWorkspace lapack;
    RealMatrix means(&lapack), sds(&lapack), correlations(&lapack);
    for (Anova* engine : engines) {
        engine->exportSimulationMatrices(means, sds, correlations);
        EXPECT_EQ(means.get(0, 0), 42.0) << "the edit still open at the change of tab";
    }
}
