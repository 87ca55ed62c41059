// The main window's construction: its state, its controls and its menu.
#include "desktop/app/CVeltmarkDlg.h"

#include "desktop/app/DesktopResources.h"
#include "desktop/grid/GridView.h"
#include "simulation/PreferencesStorage.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

#include <algorithm>

namespace {

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& text)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    // The layout rule puts a label's top a few pixels below its neighbours' tops, so that
    // text drawn from the top stands on the line of their centred texts.
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    // A main window has no default button: Enter moves like the Down key here.
    button->setAutoDefault(false);
    return button;
}

} // namespace

CVeltmarkDlg::CVeltmarkDlg(const DesktopServices& desktopServices, QWidget* parent)
    : QMainWindow(parent), services(desktopServices)
{
    initDesktopResources();
    setWindowTitle(ProjectCommands::INITIAL_TITLE);
    setWindowIcon(QIcon(":/tamsel/tamsel.png"));
    // Without an engine neither the computation nor a simulation could run, so the
    // processor count and the stored thread count are both taken as at least 1.
    processorCount = std::max(services.processors.count(), 1);
    preferences = loadPreferences(services.settings, processorCount);
    commands = std::make_unique<MainWindowCommands>(services.messages, services.separator,
                                                    std::max(preferences.numberOfThreads, 1));
    projectCommands =
        std::make_unique<ProjectCommands>(*commands, services.fileDialogs, services.messages);

    client = new QWidget(this);
    client->setObjectName("client");
    setCentralWidget(client);
    createTables();
    createButtons();
    createImportControls();
    createMenus();
    showImportMode();
    showDeleteVariableRowsButton();

    readScale();
    resize(MainWindowLayout::minimumWidth(scale), MainWindowLayout::minimumHeight(scale));
    updateMinimumSize();
    applyLayout();
    qApp->installEventFilter(this);
}

CVeltmarkDlg::~CVeltmarkDlg()
{
    qApp->removeEventFilter(this);
    // The table views refer to the tables of the commands, which go before the base class
    // would delete its child widgets; so the views go first.
    delete takeCentralWidget();
    savePreferences(preferences, services.settings);
}

void CVeltmarkDlg::createTables()
{
    dataView = new GridView(commands->getDataTable(), client);
    dataView->setObjectName("dataTable");
    withinView = new GridView(commands->getWithinTable(), client);
    withinView->setObjectName("withinTable");
    resultsView = new GridView(commands->getResultsTable(), client);
    resultsView->setObjectName("resultsTable");
}

void CVeltmarkDlg::createButtons()
{
    computeButton = makeButton(client, "computeButton", "Compute statistics");
    connect(computeButton, &QPushButton::clicked, this, &CVeltmarkDlg::computeStatistics);
    simulationButton = makeButton(client, "simulationButton", "Simulation window");
    connect(simulationButton, &QPushButton::clicked, this, &CVeltmarkDlg::openSimulationWindow);
    resetButton = makeButton(client, "resetButton", "Reset grids");
    connect(resetButton, &QPushButton::clicked, this, &CVeltmarkDlg::resetGrids);
    insertRowButton = makeButton(client, "insertRowButton", "+");
    connect(insertRowButton, &QPushButton::clicked, this, &CVeltmarkDlg::insertRow);
    deleteRowButton = makeButton(client, "deleteRowButton", "-");
    connect(deleteRowButton, &QPushButton::clicked, this, &CVeltmarkDlg::deleteRows);
    defineWithinLabel = makeLabel(client, "defineWithinLabel", "Define within variables");
    deleteVariableButton = makeButton(client, "deleteVariableButton", "-");
    connect(deleteVariableButton, &QPushButton::clicked, this, &CVeltmarkDlg::deleteVariableRows);
    insertVariableButton = makeButton(client, "insertVariableButton", "+");
    connect(insertVariableButton, &QPushButton::clicked, this, &CVeltmarkDlg::insertVariableRow);
}

void CVeltmarkDlg::createImportControls()
{
    firstRowNamesBox =
        makeCheckBox(client, "firstRowNamesBox", "First row contains variable names");
    verticalLabel = makeLabel(client, "verticalLabel", "Vertical delimiters:");
    carriageReturnBox = makeCheckBox(client, "carriageReturnBox", "\\ r");
    lineFeedBox = makeCheckBox(client, "lineFeedBox", "\\ n");
    verticalTabBox = makeCheckBox(client, "verticalTabBox", "\\ v");
    formFeedBox = makeCheckBox(client, "formFeedBox", "\\ f");
    horizontalLabel = makeLabel(client, "horizontalLabel", "Horizontal delimiters:");
    tabBox = makeCheckBox(client, "tabBox", "\\t");
    spacesBox = makeCheckBox(client, "spacesBox", "spaces");
    importDoneButton = makeButton(client, "importDoneButton", "Text import done");
    connect(importDoneButton, &QPushButton::clicked, this, &CVeltmarkDlg::finishTextImport);

    for (QCheckBox* box : {firstRowNamesBox, carriageReturnBox, lineFeedBox, tabBox})
        box->setChecked(true);
    // Only the user's clicks re-import; the program's own changes of the boxes do not.
    for (QCheckBox* box : {firstRowNamesBox, carriageReturnBox, lineFeedBox, verticalTabBox,
                           formFeedBox, tabBox, spacesBox}) {
        connect(box, &QCheckBox::clicked, this, &CVeltmarkDlg::importOptionChanged);
    }
}

QAction* CVeltmarkDlg::addMenuAction(QMenu* menu, const QString& text, void (CVeltmarkDlg::*slot)(),
                                     const QKeySequence& shortcut)
{
    QAction* action = menu->addAction(text);
    action->setShortcut(shortcut);
    // The shortcuts work wherever the focus is in the window, before the widget with the
    // focus sees the key.
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void CVeltmarkDlg::createMenus()
{
    QMenu* file = menuBar()->addMenu("File");
    addMenuAction(file, "Open ...", &CVeltmarkDlg::openProject, QKeySequence("Ctrl+O"));
    addMenuAction(file, "Save", &CVeltmarkDlg::saveProject, QKeySequence("Ctrl+S"));
    addMenuAction(file, "Save as ...", &CVeltmarkDlg::saveProjectAs, QKeySequence("Ctrl+Shift+S"));
    addMenuAction(file, "Import text file ...", &CVeltmarkDlg::importTextFile);
    file->addSeparator();
    addMenuAction(file, "Preferences", &CVeltmarkDlg::editPreferences);

    QMenu* view = menuBar()->addMenu("View");
    addMenuAction(view, "Insert row", &CVeltmarkDlg::insertRow, QKeySequence("Alt+I"));
    addMenuAction(view, "Delete row(s)", &CVeltmarkDlg::deleteRows, QKeySequence("Alt+D"));
    addMenuAction(view, "Insert column", &CVeltmarkDlg::insertColumn, QKeySequence("Alt+C"));
    addMenuAction(view, "Delete column(s)", &CVeltmarkDlg::deleteColumns, QKeySequence("Alt+X"));
    view->addSeparator();
    addMenuAction(view, "Descriptive statistics", &CVeltmarkDlg::showDescriptives);

    QMenu* help = menuBar()->addMenu("?");
    addMenuAction(help, "Info", &CVeltmarkDlg::showAbout);
    addMenuAction(help, "Tamsel user manual", &CVeltmarkDlg::openUserManual);

    // The window menu of the title bar belongs to the window manager, and Qt cannot add to
    // it. The about entry that would go there is offered in the window's own context menu
    // (a right click on the window's free area), after a separator as it would stand there;
    // on macOS its role moves it into the application menu.
    auto* separator = new QAction(client);
    separator->setSeparator(true);
    auto* about = new QAction(QString::fromUtf8("&Info über Veltmark..."), client);
    about->setObjectName("systemMenuAbout");
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, &CVeltmarkDlg::showAbout);
    client->addAction(separator);
    client->addAction(about);
    client->setContextMenuPolicy(Qt::ActionsContextMenu);
#ifdef Q_OS_MACOS
    help->addAction(about);
#endif
}
