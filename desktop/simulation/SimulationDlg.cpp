#include "desktop/simulation/SimulationDlg.h"

#include "desktop/simulation/LookTableDlg.h"
#include "desktop/simulation/MatricesDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <utility>

namespace {

/// The size of the heading, the result headings and the result fields.
QFont largeFont()
{
    QFont font("Arial");
    font.setPointSize(18);
    return font;
}

/// The label of thread i (from 0) beside its progress bar; the ninth has kept the leading
/// blank it always had.
QString threadLabel(int i)
{
    return i == 8 ? QString(" #9") : QString("#%1").arg(i + 1);
}

QLineEdit* makeResultField(QWidget* parent, const char* name)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignCenter);
    field->setFont(largeFont());
    field->hide();
    return field;
}

} // namespace

SimulationDlg::SimulationDlg(std::vector<Anova*> pool, SimulationParameters& simulationParameters,
                             const Design& shownDesign, const Preferences& simulationPreferences,
                             SeedSource& seedSource, MessageSink& messageSink, FileDialogs& dialogs,
                             Clipboard& userClipboard, DecimalSeparator userSeparator,
                             QWidget* parent)
    : QDialog(parent), engines(std::move(pool)), parameters(simulationParameters),
      design(shownDesign), preferences(simulationPreferences), seeds(seedSource),
      messages(messageSink), separator(userSeparator), run(engines, messageSink, userSeparator),
      fileDialogs(dialogs), clipboard(userClipboard)
{
    setWindowTitle("Simulation");
    heading = new QLabel("Simulation of effect ", this);
    heading->setObjectName("effectHeading");
    heading->setFont(largeFont());

    auto* upper = new QHBoxLayout;
    upper->addLayout(createFields(), 3);
    upper->addSpacing(24);
    upper->addLayout(createProgressArea(), 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addSpacing(8);
    layout->addLayout(upper, 1);
    layout->addSpacing(8);
    layout->addLayout(createResultArea());
    layout->addSpacing(8);
    layout->addLayout(createButtons());
    showPerGroupField();

    pollTimer.setInterval(POLL_INTERVAL_MS);
    connect(&pollTimer, &QTimer::timeout, this, &SimulationDlg::pollRun);
    resize(905, 680);
}

SimulationDlg::~SimulationDlg()
{
    pollTimer.stop();
}

QLineEdit* SimulationDlg::addField(QGridLayout* layout, int row, const char* name,
                                   const QString& label, const std::string& text)
{
    auto* edit = new QLineEdit(QString::fromStdString(text), this);
    edit->setObjectName(name);
    auto* caption = new QLabel(label, this);
    caption->setBuddy(edit);
    layout->addWidget(caption, row, 0);
    layout->addWidget(edit, row, 1, 1, 2);
    return edit;
}

void SimulationDlg::addYesNo(QGridLayout* layout, int row, const QString& label, const char* name,
                             QRadioButton*& yes, QRadioButton*& no)
{
    auto* group = new QButtonGroup(this);
    yes = new QRadioButton("Yes", this);
    yes->setObjectName(QString(name) + "Yes");
    no = new QRadioButton("No", this);
    no->setObjectName(QString(name) + "No");
    group->addButton(yes);
    group->addButton(no);
    no->setChecked(true);
    layout->addWidget(new QLabel(label, this), row, 0);
    layout->addWidget(yes, row, 1);
    layout->addWidget(no, row, 2);
}

QLayout* SimulationDlg::createFields()
{
    const SimulationFields defaults;
    auto* layout = new QGridLayout;
    passesEdit = addField(layout, 0, "passesEdit", "Number of simulation passes", defaults.passes);
    alphaEdit = addField(layout, 1, "alphaEdit", "Critical alpha", defaults.criticalAlpha);

    auto* kind = new QButtonGroup(this);
    alphaRadio = new QRadioButton("Simulate alpha error probability", this);
    alphaRadio->setObjectName("alphaRadio");
    powerRadio = new QRadioButton("Simulate power (1 - beta error prob.)", this);
    powerRadio->setObjectName("powerRadio");
    kind->addButton(alphaRadio);
    kind->addButton(powerRadio);
    alphaRadio->setChecked(true);
    layout->addWidget(alphaRadio, 2, 0, 1, 3);
    layout->addWidget(powerRadio, 3, 0, 1, 3);

    inspectionsEdit =
        addField(layout, 4, "inspectionsEdit", "Max. number of additional inspections",
                 defaults.maxAdditionalInspections);
    perInspectionEdit =
        addField(layout, 5, "perInspectionEdit", "Number of participants added per inspection",
                 defaults.participantsPerInspection);
    addYesNo(layout, 6, "Assume homogeneity of variances", "homogeneity", homogeneityYes,
             homogeneityNo);
    addYesNo(layout, 7, "Replace original matrix", "replace", replaceYes, replaceNo);
    connect(replaceYes, &QRadioButton::toggled, this, &SimulationDlg::showPerGroupField);

    perGroupEdit = new QLineEdit(QString::fromStdString(defaults.participantsPerGroup), this);
    perGroupEdit->setObjectName("perGroupEdit");
    perGroupLabel = new QLabel("Number of participants per group", this);
    perGroupLabel->setObjectName("perGroupLabel");
    layout->addWidget(perGroupLabel, 8, 0);
    layout->addWidget(perGroupEdit, 8, 1, 1, 2);
    addPlanningFields(layout, 9);
    layout->setRowStretch(15, 1);
    layout->setColumnStretch(0, 1);
    return layout;
}

void SimulationDlg::addExplanation(QGridLayout* layout, int row, const QString& text)
{
    auto* label = new QLabel(text, this);
    label->setWordWrap(true);
    label->setIndent(20);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    label->setPalette(palette);
    layout->addWidget(label, row, 0, 1, 3);
}

void SimulationDlg::addPlanningFields(QGridLayout* layout, int row)
{
    recordLooksBox = new QCheckBox("Record every look", this);
    recordLooksBox->setObjectName("recordLooksBox");
    layout->addWidget(recordLooksBox, row, 0, 1, 3);
    addExplanation(layout, row + 1,
                   "Every pass runs all its looks; the table shows each look's share of "
                   "significant passes.");
    calibrateBox = new QCheckBox("Calibrate alpha", this);
    calibrateBox->setObjectName("calibrateBox");
    layout->addWidget(calibrateBox, row + 2, 0, 1, 3);
    addExplanation(layout, row + 3,
                   "Finds the one critical alpha of every look that keeps the overall alpha at "
                   "the critical alpha (Pocock), by a null simulation first.");
    targetPowerEdit = addField(layout, row + 4, "targetPowerEdit", "Target power", "");
    targetPowerEdit->setPlaceholderText("none");
    addExplanation(layout, row + 5,
                   "With power simulated: the first look whose power reaches this is the sample "
                   "size you need.");
    connect(calibrateBox, &QCheckBox::toggled, this, &SimulationDlg::showImpliedRecording);
    connect(targetPowerEdit, &QLineEdit::textChanged, this, &SimulationDlg::showImpliedRecording);
}

void SimulationDlg::showImpliedRecording()
{
    const bool implied = calibrateBox->isChecked() || !targetPowerEdit->text().trimmed().isEmpty();
    if (implied)
        recordLooksBox->setChecked(true);
    recordLooksBox->setEnabled(!implied);
}

QLayout* SimulationDlg::createProgressArea()
{
    threadHeading = new QLabel("Thread", this);
    threadHeading->setObjectName("threadHeading");
    threadHeading->hide();

    // One bar per engine; beyond what fits, the area scrolls, so that every thread of a
    // large pool shows its progress.
    auto* bars = new QWidget;
    auto* grid = new QGridLayout(bars);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < threadCount(); ++i) {
        auto* label = new QLabel(threadLabel(i), bars);
        label->setObjectName(QString("threadLabel%1").arg(i + 1));
        label->hide();
        auto* bar = new QProgressBar(bars);
        bar->setObjectName(QString("progressBar%1").arg(i + 1));
        bar->setTextVisible(false);
        bar->setRange(0, 1);
        bar->setValue(0);
        bar->hide();
        grid->addWidget(label, i, 0);
        grid->addWidget(bar, i, 1);
        progressLabels.push_back(label);
        progressBars.push_back(bar);
    }
    grid->setRowStretch(threadCount(), 1);
    progressArea = new QScrollArea(this);
    progressArea->setObjectName("progressArea");
    progressArea->setWidget(bars);
    progressArea->setWidgetResizable(true);
    progressArea->setFrameShape(QFrame::NoFrame);
    progressArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* layout = new QVBoxLayout;
    layout->addWidget(threadHeading);
    layout->addWidget(progressArea, 1);
    return layout;
}

QLayout* SimulationDlg::createResultArea()
{
    passesHeading = new QLabel("Actual number of simulation passes", this);
    passesHeading->setObjectName("passesHeading");
    resultHeading = new QLabel("Propability in simulations", this);
    resultHeading->setObjectName("resultHeading");
    for (QLabel* label : {passesHeading, resultHeading}) {
        label->setFont(largeFont());
        label->setAlignment(Qt::AlignCenter);
        label->hide();
    }
    passesResult = makeResultField(this, "passesResult");
    probabilityResult = makeResultField(this, "probabilityResult");
    observedNote = new QLabel(OBSERVED_SIGNIFICANT_NOTE, this);
    observedNote->setObjectName("observedNote");
    observedNote->setWordWrap(true);
    observedNote->setAlignment(Qt::AlignCenter);
    observedNote->hide();

    auto* layout = new QGridLayout;
    layout->addWidget(passesHeading, 0, 0);
    layout->addWidget(resultHeading, 0, 1);
    layout->addWidget(passesResult, 1, 0);
    layout->addWidget(probabilityResult, 1, 1);
    layout->addWidget(observedNote, 2, 0, 1, 2);
    return layout;
}

QLayout* SimulationDlg::createButtons()
{
    startButton = new QPushButton("Start simulation", this);
    startButton->setObjectName("startButton");
    startButton->setDefault(true);
    abortButton = new QPushButton("Abort simulation", this);
    abortButton->setObjectName("abortButton");
    abortButton->setEnabled(false);
    abortButton->setAutoDefault(false);
    matricesButton = new QPushButton("Edit matrices", this);
    matricesButton->setObjectName("matricesButton");
    matricesButton->setAutoDefault(false);
    connect(startButton, &QPushButton::clicked, this, &SimulationDlg::startSimulation);
    connect(abortButton, &QPushButton::clicked, this, &SimulationDlg::abortSimulation);
    connect(matricesButton, &QPushButton::clicked, this, &SimulationDlg::editMatrices);

    auto* layout = new QHBoxLayout;
    layout->addWidget(startButton);
    layout->addWidget(abortButton);
    layout->addStretch(1);
    layout->addWidget(matricesButton);
    return layout;
}

void SimulationDlg::setEffectName(const std::string& name)
{
    heading->setText("Simulation of effect " + QString::fromStdString(name));
}

void SimulationDlg::showPerGroupField()
{
    const bool shown = replaceYes->isChecked();
    perGroupLabel->setVisible(shown);
    perGroupEdit->setVisible(shown);
}

SimulationFields SimulationDlg::readFieldTexts() const
{
    SimulationFields fields;
    fields.passes = passesEdit->text().toStdString();
    fields.criticalAlpha = alphaEdit->text().toStdString();
    fields.maxAdditionalInspections = inspectionsEdit->text().toStdString();
    fields.participantsPerInspection = perInspectionEdit->text().toStdString();
    fields.participantsPerGroup = perGroupEdit->text().toStdString();
    fields.simulateAlpha = alphaRadio->isChecked();
    fields.assumeHomogeneity = homogeneityYes->isChecked();
    fields.replaceOriginalMatrix = replaceYes->isChecked();
    fields.targetPower = targetPowerEdit->text().toStdString();
    fields.recordLooks = recordLooksBox->isChecked();
    fields.calibrateAlpha = calibrateBox->isChecked();
    return fields;
}

QLineEdit* SimulationDlg::fieldOf(SimulationFields::Field field) const
{
    switch (field) {
    case SimulationFields::Field::Passes: return passesEdit;
    case SimulationFields::Field::CriticalAlpha: return alphaEdit;
    case SimulationFields::Field::MaxInspections: return inspectionsEdit;
    case SimulationFields::Field::PerInspection: return perInspectionEdit;
    case SimulationFields::Field::PerGroup: return perGroupEdit;
    case SimulationFields::Field::TargetPower: return targetPowerEdit;
    }
    return passesEdit;
}

bool SimulationDlg::readParameters()
{
    const SimulationFields fields = readFieldTexts();
    const std::optional<SimulationFields::Refusal> refusal = fields.readInto(parameters, separator);
    if (!refusal) {
        targetPower = fields.targetPowerValue(separator);
        return true;
    }
    messages.showMessage(refusal->title, refusal->text, refusal->icon);
    QLineEdit* field = fieldOf(refusal->field);
    field->setFocus();
    field->selectAll();
    return false;
}

void SimulationDlg::showRunning(bool running)
{
    startButton->setEnabled(!running);
    abortButton->setEnabled(running);
    matricesButton->setEnabled(!running);
}

void SimulationDlg::showProgressBars()
{
    threadHeading->setText("Thread");
    threadHeading->show();
    for (std::size_t i = 0; i < progressBars.size(); ++i) {
        progressLabels[i]->show();
        progressBars[i]->setValue(0);
        progressBars[i]->show();
    }
}

void SimulationDlg::startSimulation()
{
    if (run.isRunning())
        return;
    if (!readParameters())
        return;
    passesResult->hide();
    probabilityResult->hide();
    observedNote->hide();
    lookTable.reset();
    showProgressBars();
    // A new seed for every run, so that two runs draw different passes.
    parameters.seed = seeds.nextSeed();
    if (!run.start(parameters, preferences))
        return;
    for (QProgressBar* bar : progressBars)
        bar->setRange(0, PROGRESS_STEPS);
    showRunning(true);
    pollTimer.start();
}

void SimulationDlg::pollRun()
{
    // Stopped while the run is looked at: the end of a run may show a message box, whose
    // event loop must not poll the ended run a second time.
    pollTimer.stop();
    showProgress();
    if (!run.poll()) {
        pollTimer.start();
        return;
    }
    endRun();
}

void SimulationDlg::showProgress()
{
    const bool calibrates = parameters.calibrateAlpha != 0;
    const std::int64_t share = std::max(run.evenShareOfPasses(), 1);
    const std::int64_t whole = calibrates ? 2 * share : share;
    // A thread has run its share of the null run once the run proper has started. A thread
    // that took more than its even share of the blocks shows a full bar.
    const std::int64_t before = calibrates && !run.isCalibrating() ? share : 0;
    for (std::size_t i = 0; i < progressBars.size(); ++i) {
        const std::int64_t done =
            before + std::min<std::int64_t>(run.progressOf(static_cast<std::int32_t>(i)), share);
        progressBars[i]->setValue(static_cast<int>(done * PROGRESS_STEPS / whole));
    }
    if (calibrates) {
        threadHeading->setText(run.isCalibrating() ? "Thread: null run that calibrates alpha"
                                                   : "Thread: run with the calibrated alpha");
    }
}

void SimulationDlg::endRun()
{
    showResult();
    showRunning(false);
}

void SimulationDlg::showResult()
{
    for (QProgressBar* bar : progressBars)
        bar->setValue(0);
    const SimulationResult& result = run.result();
    const bool shown = result.outcome != SimulationOutcome::Aborted;
    const std::array<QWidget*, 4> resultArea = {passesHeading, resultHeading, passesResult,
                                                probabilityResult};
    for (QWidget* widget : resultArea)
        widget->setVisible(shown);
    observedNote->setVisible(result.observedSampleSignificant);
    if (!shown)
        return;
    passesHeading->setText("Actual number of simulation passes");
    resultHeading->setText("Simulation result");
    passesResult->setText(QString::fromStdString(SimulationFields::actualPassesText(result)));
    probabilityResult->setText(
        QString::fromStdString(SimulationFields::probabilityText(result, separator)));
    if (result.hasProbability() && !result.lookCounts.empty()) {
        lookTable = std::make_unique<LookTableDlg>(result, parameters, targetPower, fileDialogs,
                                                   clipboard, messages, separator, this);
        lookTable->show();
    }
}

void SimulationDlg::abortSimulation()
{
    run.abort();
    abortButton->setEnabled(false);
}

void SimulationDlg::keyPressEvent(QKeyEvent* event)
{
    // Escape aborts a run and never closes the window.
    if (event->key() == Qt::Key_Escape) {
        abortSimulation();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SimulationDlg::done(int result)
{
    if (run.isRunning()) {
        pollTimer.stop();
        run.abort();
        // Each worker stops before its next pass; the pass in progress is short, so the
        // window waits for it rather than leave the engines in the workers' hands.
        while (!run.poll())
            QThread::msleep(1);
        endRun();
    }
    QDialog::done(result);
}

void SimulationDlg::editMatrices()
{
    if (run.isRunning())
        return;
    if (!readParameters())
        return;
    for (Anova* engine : engines) {
        if (!engine->prepareSimulation(parameters)) {
            messages.showMessage("Error",
                                 "A combination of the group variables has no participants. "
                                 "Every group combination needs participants for a simulation.",
                                 MessageIcon::Error);
            return;
        }
    }
    RealMatrix means(&lapack);
    RealMatrix sds(&lapack);
    RealMatrix correlations(&lapack);
    engines.front()->exportSimulationMatrices(means, sds, correlations);
    MatricesDlg editor(means, sds, correlations, design, separator, this);
    if (editor.exec() != QDialog::Accepted) {
        parameters.useCustomMatrices = 0;
        return;
    }
    parameters.useCustomMatrices = 1;
    for (Anova* engine : engines)
        engine->importSimulationMatrices(means, sds, correlations);
}
