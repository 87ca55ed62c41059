#pragma once

#include "design/Design.h"
#include "numeric/DecimalSeparator.h"
#include "numeric/LapackWorkspace.h"
#include "platform/Clipboard.h"
#include "platform/FileDialogs.h"
#include "platform/MessageSink.h"
#include "platform/SeedSource.h"
#include "simulation/SimulationFields.h"
#include "simulation/SimulationRun.h"
#include "stats/Anova.h"
#include "stats/Preferences.h"
#include "stats/SimulationParameters.h"

#include <QDialog>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class LookTableDlg;
class QCheckBox;
class QGridLayout;
class QLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollArea;

/// The simulation window of one analysis of one effect: its settings, one progress bar per
/// thread, and the result. A run belongs to a SimulationRun over the engine pool; the window
/// starts it, then polls it from a timer, so that the window stays responsive (abort by
/// button, Escape or closing) while the workers run. Closing the window during a run aborts
/// it and waits for the workers, so the engines are the caller's again when the window is
/// gone. A completed run that recorded its looks opens "Look by look" (LookTableDlg) beside
/// the window; the next start closes it.
///
/// The fields are read and checked by SimulationFields; the window only passes their texts
/// and shows the refusal. While a run is in progress "Start simulation" and "Edit matrices"
/// are disabled, so nothing else touches the engines.
class SimulationDlg : public QDialog {
    Q_OBJECT

public:
    /// How often the window looks at the run, in milliseconds.
    static constexpr int POLL_INTERVAL_MS = 50;
    /// The steps of a progress bar from the start of a run to its end, over both phases of
    /// a calibration.
    static constexpr int PROGRESS_STEPS = 10000;

    /// engines is the engine pool (one worker per engine), parameters the main window's
    /// record, which the window writes; design is handed to the matrices editor; every run
    /// draws its seed from seeds. The file dialogs and the clipboard serve the look table.
    /// None of them is owned, and all outlive the window.
    SimulationDlg(std::vector<Anova*> engines, SimulationParameters& parameters,
                  const Design& design, const Preferences& preferences, SeedSource& seeds,
                  MessageSink& messages, FileDialogs& fileDialogs, Clipboard& clipboard,
                  DecimalSeparator separator, QWidget* parent = nullptr);
    ~SimulationDlg() override;

    /// The heading "Simulation of effect " and the name.
    void setEffectName(const std::string& name);
    bool isRunning() const { return run.isRunning(); }
    int threadCount() const { return static_cast<int>(engines.size()); }
    /// The result of the last run that ended.
    const SimulationResult& lastResult() const { return run.result(); }
    /// "Look by look" of the last completed run that recorded its looks; nullptr before one,
    /// and from the start of the next run.
    LookTableDlg* lookTableWindow() const { return lookTable.get(); }

public slots:
    /// "Start simulation": reads the fields and starts the run; the result follows when the
    /// workers have finished.
    void startSimulation();
    /// "Abort simulation", Escape and closing: every worker stops before its next pass.
    void abortSimulation();
    /// "Edit matrices": the population estimated with the settings of the fields, edited in
    /// the custom matrices editor; OK makes the engines use the edited matrices, Cancel the
    /// estimated ones. Fields that cannot be read are reported and open no editor.
    void editMatrices();
    /// Aborts a run in progress and waits for its workers before the window closes.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLayout* createFields();
    /// "Record every look", "Calibrate alpha" and "Target power" from row on, each with a
    /// line that says what it does.
    void addPlanningFields(QGridLayout* layout, int row);
    void addExplanation(QGridLayout* layout, int row, const QString& text);
    /// A calibration or a target power records the looks, so the box is ticked and fixed.
    void showImpliedRecording();
    QLayout* createProgressArea();
    QLayout* createResultArea();
    QLayout* createButtons();
    QLineEdit* addField(QGridLayout* layout, int row, const char* name, const QString& label,
                        const std::string& text);
    /// A pair of radio buttons "Yes" and "No" after a label, exclusive among themselves.
    void addYesNo(QGridLayout* layout, int row, const QString& label, const char* name,
                  QRadioButton*& yes, QRadioButton*& no);
    SimulationFields readFieldTexts() const;
    /// Reads the fields into the parameters; a refusal is shown, its field focused.
    bool readParameters();
    QLineEdit* fieldOf(SimulationFields::Field field) const;
    void showPerGroupField();
    /// The timer's look at the run: the bars follow it, and its end shows the result.
    void pollRun();
    void showProgressBars();
    /// Every bar at its thread's share of the whole run, the null run of a calibration
    /// included; the heading names the phase.
    void showProgress();
    void showRunning(bool running);
    void showResult();
    /// The run has ended: its result is shown and the window is idle again.
    void endRun();

    std::vector<Anova*> engines;
    SimulationParameters& parameters;
    const Design& design;
    const Preferences& preferences;
    SeedSource& seeds;
    MessageSink& messages;
    DecimalSeparator separator;
    SimulationRun run;
    QTimer pollTimer;
    /// The workspace of the matrices handed to the editor.
    LapackWorkspace lapack;
    FileDialogs& fileDialogs;
    Clipboard& clipboard;
    /// The target power of the fields last read.
    std::optional<double> targetPower;
    std::unique_ptr<LookTableDlg> lookTable;

    QLabel* heading = nullptr;
    QLineEdit* passesEdit = nullptr;
    QLineEdit* alphaEdit = nullptr;
    QRadioButton* alphaRadio = nullptr;
    QRadioButton* powerRadio = nullptr;
    QLineEdit* inspectionsEdit = nullptr;
    QLineEdit* perInspectionEdit = nullptr;
    QRadioButton* homogeneityYes = nullptr;
    QRadioButton* homogeneityNo = nullptr;
    QRadioButton* replaceYes = nullptr;
    QRadioButton* replaceNo = nullptr;
    QLabel* perGroupLabel = nullptr;
    QLineEdit* perGroupEdit = nullptr;
    QCheckBox* recordLooksBox = nullptr;
    QCheckBox* calibrateBox = nullptr;
    QLineEdit* targetPowerEdit = nullptr;
    QLabel* threadHeading = nullptr;
    QScrollArea* progressArea = nullptr;
    std::vector<QLabel*> progressLabels;
    std::vector<QProgressBar*> progressBars;
    QLabel* passesHeading = nullptr;
    QLineEdit* passesResult = nullptr;
    QLabel* resultHeading = nullptr;
    QLineEdit* probabilityResult = nullptr;
    /// Says that every pass counted because the kept observed sample is significant.
    QLabel* observedNote = nullptr;
    QPushButton* startButton = nullptr;
    QPushButton* abortButton = nullptr;
    QPushButton* matricesButton = nullptr;
};
