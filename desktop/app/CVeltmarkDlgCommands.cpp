// The main window's menu commands and buttons: each hands over to one operation of the
// commands it owns and then shows what changed.
#include "desktop/app/CVeltmarkDlg.h"

#include "app/UserManual.h"
#include "desktop/app/CAboutDlg.h"
#include "desktop/app/DescriptivesDlg.h"
#include "desktop/grid/GridView.h"
#include "desktop/simulation/PreferencesDialog.h"
#include "desktop/simulation/SimulationDlg.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include <array>
#include <vector>

void CVeltmarkDlg::openCommandLineArguments(const QStringList& arguments)
{
    if (arguments.size() < 2)
        return;
    const std::string argument = arguments.at(1).toStdString();
    if (!ProjectCommands::isProjectArgument(argument))
        return;
    setWindowTitle(arguments.at(1));
    projectCommands->openCommandLineProject(argument);
    showTitle();
}

void CVeltmarkDlg::openProject()
{
    projectCommands->open();
    showTitle();
    showImportMode();
}

void CVeltmarkDlg::saveProject()
{
    projectCommands->save();
    showTitle();
}

void CVeltmarkDlg::saveProjectAs()
{
    projectCommands->saveAs();
    showTitle();
}

void CVeltmarkDlg::importTextFile()
{
    projectCommands->importTextFile();
    showImportMode();
}

void CVeltmarkDlg::importOptionChanged()
{
    if (!projectCommands->isImportMode())
        return;
    projectCommands->reimport(readImportOptions());
}

void CVeltmarkDlg::finishTextImport()
{
    projectCommands->finishImport();
    showImportMode();
}

ImportOptions CVeltmarkDlg::readImportOptions() const
{
    ImportOptions options;
    options.firstRowNames = firstRowNamesBox->isChecked();
    options.recordCR = carriageReturnBox->isChecked();
    options.recordLF = lineFeedBox->isChecked();
    options.recordVT = verticalTabBox->isChecked();
    options.recordFF = formFeedBox->isChecked();
    options.fieldTab = tabBox->isChecked();
    options.fieldSpace = spacesBox->isChecked();
    return options;
}

void CVeltmarkDlg::showImportMode()
{
    const bool enabled = projectCommands->isImportMode();
    const std::array<QWidget*, 10> controls = {firstRowNamesBox, verticalLabel,  carriageReturnBox,
                                               lineFeedBox,      verticalTabBox, formFeedBox,
                                               horizontalLabel,  tabBox,         spacesBox,
                                               importDoneButton};
    for (QWidget* control : controls) {
        control->setEnabled(enabled);
    }
}

void CVeltmarkDlg::showTitle()
{
    setWindowTitle(QString::fromStdString(projectCommands->getTitle()));
}

void CVeltmarkDlg::showDeleteVariableRowsButton()
{
    deleteVariableButton->setEnabled(commands->isDeleteVariableRowsEnabled());
}

void CVeltmarkDlg::editPreferences()
{
    PreferencesDialog dialog(preferences, processorCount, services.messages, services.fileDialogs,
                             this);
    dialog.exec();
}

void CVeltmarkDlg::insertRow()
{
    commands->insertRow();
}

void CVeltmarkDlg::deleteRows()
{
    commands->deleteRows();
}

void CVeltmarkDlg::insertColumn()
{
    commands->insertColumn();
}

void CVeltmarkDlg::deleteColumns()
{
    commands->deleteColumns();
}

void CVeltmarkDlg::insertVariableRow()
{
    commands->insertVariableRow();
    showDeleteVariableRowsButton();
}

void CVeltmarkDlg::deleteVariableRows()
{
    commands->deleteVariableRows();
    showDeleteVariableRowsButton();
}

void CVeltmarkDlg::showDescriptives()
{
    const std::vector<CellStatistics>& cells = commands->getCellStatistics();
    if (cells.empty()) {
        services.messages.showMessage("Descriptive statistics",
                                      "The descriptive statistics are shown after \"Compute "
                                      "statistics\" has computed every effect.",
                                      MessageIcon::Information);
        return;
    }
    const std::string table =
        formatCellStatisticsText(cells, commands->getResultsTable().getDecimalSeparator());
    DescriptivesDlg dialog(QString::fromStdString(table), this);
    dialog.exec();
}

void CVeltmarkDlg::showAbout()
{
    CAboutDlg about(this);
    about.exec();
}

void CVeltmarkDlg::openUserManual()
{
    ::openUserManual(QCoreApplication::applicationDirPath().toStdString(), services.documents,
                     services.messages);
}

void CVeltmarkDlg::computeStatistics()
{
    commands->computeStatistics();
}

void CVeltmarkDlg::resetGrids()
{
    projectCommands->resetGrids();
    showImportMode();
}

void CVeltmarkDlg::openSimulationWindow()
{
    std::vector<Anova*> engines;
    for (int i = 0; i < commands->getEngineCount(); ++i)
        engines.push_back(&commands->getEngine(i));
    SimulationDlg window(engines, commands->getSimulationParameters(), commands->getDesign(),
                         preferences, services.seeds, services.messages, services.fileDialogs,
                         services.clipboard, services.separator, this);
    if (!commands->setUpSimulation())
        return;
    window.setEffectName(commands->getSimulatedEffectName());
    window.exec();
    // Custom matrices belong to the opening of the window they were edited in.
    commands->getSimulationParameters().useCustomMatrices = 0;
}
