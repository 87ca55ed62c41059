// The simulation window's wiring; the run itself is checked on SimulationRun.
#include "DesktopFixture.h"

#include "app/ResultsTable.h"
#include "desktop/grid/GridView.h"
#include "desktop/simulation/LookTableDlg.h"
#include "desktop/simulation/MatricesDlg.h"
#include "desktop/simulation/SimulationDlg.h"
#include "numeric/NumberText.h"
#include "simulation/LookTable.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>

#include <sstream>

namespace {

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        parts.push_back(part);
    return parts;
}

QByteArray contentsOf(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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
            fileDialogs, clipboard, DecimalSeparator('.'));
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

TEST_F(SimulationWindowTest, ARunThatRecordsItsLooksShowsCopiesAndSavesThemLookByLook)
{
    clickIndicator(*dialog, "powerRadio");
    clickIndicator(*dialog, "replaceYes");
    child<QLineEdit>(*dialog, "perGroupEdit")->setText("3");
    child<QLineEdit>(*dialog, "inspectionsEdit")->setText("2");
    child<QLineEdit>(*dialog, "perInspectionEdit")->setText("2");
    child<QLineEdit>(*dialog, "targetPowerEdit")->setText("0.5");
    auto* recordLooks = child<QCheckBox>(*dialog, "recordLooksBox");
    EXPECT_TRUE(recordLooks->isChecked() && !recordLooks->isEnabled()) << "implied by the target";
    ASSERT_TRUE(run("400"));
    LookTableDlg* looks = dialog->lookTableWindow();
    ASSERT_NE(looks, nullptr);
    EXPECT_TRUE(looks->isVisible());
    EXPECT_EQ(looks->windowTitle(), "Look by look");

    const LookTable expected = makeLookTable(dialog->lastResult());
    const auto share = [](const ProportionEstimate& estimate) {
        return formatNumber(estimate.value, "%.4f", DecimalSeparator('.'));
    };
    auto* table = child<QTableWidget>(*looks, "lookTable");
    ASSERT_EQ(table->rowCount(), 3) << "the first look and two inspections";
    click(*looks, "copyTableButton");
    const std::vector<std::string> lines = split(clipboard.text, '\n');
    ASSERT_EQ(lines.size(), 4U);
    EXPECT_EQ(lines[0], "Look\tParticipants\tPer group\tSignificant at this look\t95 % CI\t"
                        "First significant here\t95 % CI\tSignificant by this look\t95 % CI");
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        const LookRow& row = expected.looks[static_cast<std::size_t>(k)];
        const std::vector<std::string> cells = {
            std::to_string(row.participants), "", share(row.significantAtThisLook), "",
            share(row.firstSignificantHere),  "", share(row.significantByThisLook)};
        const std::vector<std::string> copied = split(lines[static_cast<std::size_t>(k) + 1], '\t');
        ASSERT_EQ(copied.size(), 9U);
        for (std::size_t c = 0; c < cells.size(); c += 2) {
            EXPECT_EQ(table->item(k, static_cast<int>(c) + 1)->text().toStdString(), cells[c]);
            EXPECT_EQ(copied[c + 1], cells[c]);
        }
        EXPECT_EQ(copied[2], std::to_string(3 + 2 * k) + " / " + std::to_string(3 + 2 * k));
    }
    const LookRow* reached = expected.firstReaching(0.5);
    EXPECT_TRUE(text(*looks, "requiredSample")
                    .startsWith(reached ? "Required sample size for power 0.5: look " +
                                              QString::number(reached->look)
                                        : "No look reaches power 0.5."));

    fileDialogs.answer = folder.path("looks.png");
    click(*looks, "saveChartButton");
    EXPECT_TRUE(contentsOf(folder.path("looks.png")).startsWith("\x89PNG"));
    fileDialogs.answer = folder.path("looks.svg");
    click(*looks, "saveChartButton");
    EXPECT_TRUE(contentsOf(folder.path("looks.svg")).contains("<svg"));
    fileDialogs.answer = folder.path("missing/looks.svg");
    click(*looks, "saveChartButton");
    EXPECT_EQ(takeMessages().size(), 1U) << "a chart that cannot be written is reported";
}

TEST_F(SimulationWindowTest, ACalibrationShowsItsPhaseAndAlphaAndAnAbortedRunNoTable)
{
    clickIndicator(*dialog, "calibrateBox");
    ASSERT_TRUE(run("400"));
    ASSERT_NE(dialog->lookTableWindow(), nullptr);
    ASSERT_TRUE(dialog->lastResult().calibratedAlpha);
    EXPECT_TRUE(text(*dialog->lookTableWindow(), "calibratedAlpha")
                    .startsWith("Calibrated critical alpha of every look: "));

    ASSERT_TRUE(run("50000000", false));
    EXPECT_EQ(dialog->lookTableWindow(), nullptr) << "closed at the start";
    EXPECT_EQ(text(*dialog, "threadHeading"), "Thread: null run that calibrates alpha");
    EXPECT_LT(child<QProgressBar>(*dialog, "progressBar1")->value(),
              SimulationDlg::PROGRESS_STEPS / 2);
    click(*dialog, "abortButton");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->isRunning(); }, 60000));
    EXPECT_EQ(dialog->lookTableWindow(), nullptr);
    EXPECT_TRUE(messages.messages.empty());
}
