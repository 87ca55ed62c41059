#pragma once

#include "app/MainWindowCommands.h"
#include "app/MainWindowLayout.h"
#include "app/ProjectCommands.h"
#include "data/ImportOptions.h"
#include "desktop/app/DesktopServices.h"
#include "stats/Preferences.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class GridView;
class QAction;
class QCheckBox;
class QLabel;
class QPushButton;

/// The main window: the data table, the within-variables table and the results table, the
/// command buttons, the text-import controls and the menu. It owns the main window's state
/// through MainWindowCommands (tables, Design, engine pool, effect table, simulation
/// parameters) and ProjectCommands (project path, title, import mode), and the Preferences
/// record; every click, key and menu command is handed to one of their operations, and the
/// widgets then show what those hold.
///
/// Controls are placed by MainWindowLayout from the window's whole size and the screen's
/// logical pixels per inch. Within the window Enter moves like the Down key and Tab like
/// the Right key; Escape does nothing.
///
/// Everything runs on the user-interface thread; the engines go to worker threads only
/// inside the modal simulation window.
class CVeltmarkDlg : public QMainWindow {
    Q_OBJECT

public:
    /// The services must outlive the window. Loads the Preferences from the settings store
    /// (the processor count as the default thread count) and creates one engine per thread.
    explicit CVeltmarkDlg(const DesktopServices& services, QWidget* parent = nullptr);
    /// Saves the Preferences to the settings store.
    ~CVeltmarkDlg() override;

    /// The first command-line argument, when it ends in ".vlt": the title shows it while
    /// the project is read; a project that cannot be read leaves its message and an empty
    /// window titled "Tamsel".
    void openCommandLineArguments(const QStringList& arguments);

    MainWindowCommands& getCommands() { return *commands; }
    ProjectCommands& getProjectCommands() { return *projectCommands; }
    Preferences& getPreferences() { return preferences; }
    int getProcessorCount() const { return processorCount; }
    /// The scale of the layout: logical pixels per inch / 96.
    double getScale() const { return scale; }

public slots:
    // The menu.
    void openProject();
    void saveProject();
    void saveProjectAs();
    void importTextFile();
    void editPreferences();
    void insertRow();
    void deleteRows();
    void insertColumn();
    void deleteColumns();
    void showDescriptives();
    void showAbout();
    void openUserManual();
    // The buttons.
    void computeStatistics();
    void openSimulationWindow();
    void resetGrids();
    void insertVariableRow();
    void deleteVariableRows();
    void finishTextImport();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createTables();
    void createButtons();
    void createImportControls();
    void createMenus();
    QAction* addMenuAction(QMenu* menu, const QString& text, void (CVeltmarkDlg::*slot)(),
                           const QKeySequence& shortcut = QKeySequence());
    /// Places every control for the window's present size and scale.
    void applyLayout();
    /// The whole window's size, frame included, as the layout measures it.
    QSize getWholeWindowSize() const;
    void updateMinimumSize();
    void readScale();
    /// The window moved to another screen.
    void screenChanged();
    /// The controls of fixed size that show a text.
    std::vector<QWidget*> getFixedTextControls() const;
    /// The largest font, from the desktop's own down, in which every fixed control's text
    /// fits its place.
    QFont getFittingControlFont() const;
    bool textsFit(const QFont& font) const;
    void fitControlFont();
    /// The six small check boxes of the import delimiters.
    bool isOptionBox(const QWidget* control) const;
    void widenOptionBoxes();
    /// The states of the seven import check boxes.
    ImportOptions readImportOptions() const;
    /// A check box of the import options was clicked.
    void importOptionChanged();
    /// Enables the ten import controls exactly in import mode.
    void showImportMode();
    void showTitle();
    void showDeleteVariableRowsButton();
    /// Whether Enter and Tab keep their own meaning in the widget: the tables and their
    /// in-place editors move and grow themselves.
    bool handlesOwnKeys(const QWidget* widget) const;

    DesktopServices services;
    int processorCount = 1;
    Preferences preferences;
    std::unique_ptr<MainWindowCommands> commands;
    std::unique_ptr<ProjectCommands> projectCommands;
    double scale = 1.0;
    bool shownBefore = false;
    /// The scale the controls' font was last fitted for; none yet.
    double fittedScale = -1.0;

    QWidget* client = nullptr;
    GridView* dataView = nullptr;
    GridView* withinView = nullptr;
    GridView* resultsView = nullptr;
    QPushButton* computeButton = nullptr;
    QPushButton* simulationButton = nullptr;
    QPushButton* resetButton = nullptr;
    QPushButton* insertRowButton = nullptr;
    QPushButton* deleteRowButton = nullptr;
    QLabel* defineWithinLabel = nullptr;
    QPushButton* insertVariableButton = nullptr;
    QPushButton* deleteVariableButton = nullptr;
    QCheckBox* firstRowNamesBox = nullptr;
    QLabel* verticalLabel = nullptr;
    QCheckBox* carriageReturnBox = nullptr;
    QCheckBox* lineFeedBox = nullptr;
    QCheckBox* verticalTabBox = nullptr;
    QCheckBox* formFeedBox = nullptr;
    QLabel* horizontalLabel = nullptr;
    QCheckBox* tabBox = nullptr;
    QCheckBox* spacesBox = nullptr;
    QPushButton* importDoneButton = nullptr;
};
