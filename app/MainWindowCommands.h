#pragma once

#include "app/CellStatistics.h"
#include "app/DesignValidation.h"
#include "app/ResultsTable.h"
#include "data/GeneralGridCtrl.h"
#include "data/UserGridCtrl.h"
#include "data/WithinGridCtrl.h"
#include "design/Design.h"
#include "numeric/DecimalSeparator.h"
#include "numeric/GeneralMatrix.h"
#include "platform/MessageSink.h"
#include "stats/Anova.h"
#include "stats/SimulationParameters.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct DesignVariables;

/// How the commands treat participants who have an empty cell.
enum class IncompleteParticipants {
    /// Every command that reads the data table asks once whether to leave them out; "No"
    /// refuses the first empty cell (the desktop program).
    Ask,
    /// They are left out without a question (the command line's --drop-incomplete).
    LeaveOut,
};

/// The main window without its widgets: the three tables, the Design, the engine pool, the
/// effect table of the last compute run and the simulation parameters, with every command
/// the window offers on them. The desktop window owns one and forwards the user's clicks,
/// keys and edits; the command-line front end and the tests drive it directly. Messages go
/// to the message sink, numbers are read and written with the decimal separator, both given
/// at construction.
///
/// Everything here runs on the user-interface thread. The engines are handed to the
/// simulation's worker threads only after setUpSimulation, while no command runs.
class MainWindowCommands {
public:
    static constexpr int INITIAL_PARTICIPANT_ROWS = 32;
    static constexpr int INITIAL_DATA_COLUMNS = 17;

    /// Sets up the tables as "Reset grids" does and creates max(threadCount, 1) engines,
    /// engine i with thread index i. messages must outlive the commands.
    MainWindowCommands(MessageSink& messages, DecimalSeparator separator, int threadCount);
    /// The data table calls back into this object, so it stays where it was made.
    MainWindowCommands(const MainWindowCommands&) = delete;
    MainWindowCommands& operator=(const MainWindowCommands&) = delete;

    // "Compute statistics" and "Simulation window".

    /// checkWithinVariables, checkColumnAssignment, then computeAllEffects. Returns whether
    /// every effect was computed.
    bool computeStatistics();
    /// Empties the results table, reads the design, makes the effect table of its variables
    /// (without the effects of variables with a single level) and, for each effect in its
    /// order, computes every engine and appends the effect's block; after the last, the
    /// cells' statistics of the design. Returns false when the
    /// data table cannot be read (it has shown its message), when no effect is left
    /// (NO_EFFECT_MESSAGE), or at the first effect the engine cannot compute, with the
    /// message of its cause; the blocks of the effects before it stay. An analysis that is
    /// not available is no failure: its row shows "-" and the reason.
    bool computeAllEffects();
    /// The cells' participants, means and SDs of the last computeAllEffects that computed
    /// every effect; empty before one and after a failed one.
    const std::vector<CellStatistics>& getCellStatistics() const { return cells; }
    /// Appends the block of engine 0's current effect to the results table, then hands
    /// engine 0 to the effect listener.
    void showEffectResults();
    /// Called with engine 0 after each effect's block is appended, while the engine still
    /// holds that effect's results; the command-line front end takes the numbers at full
    /// precision from there. An empty listener removes it.
    void setEffectListener(std::function<void(const Anova&)> listener);
    /// The one ticked analysis of the results table; without one, or with several, the
    /// message says so and there is no choice.
    std::optional<AnalysisChoice> chooseAnalysis();
    /// Prepares every engine for simulating the ticked analysis: the design read from the
    /// tables as they are now, with the chosen effect and its variable positions; the
    /// analysis index goes to the simulation parameters. False, with a message, when no
    /// single analysis is ticked, a check of the tables fails, the tables no longer have
    /// the effects of the last compute run, or the data table cannot be read.
    bool setUpSimulation();

    // Design validation and reading.

    bool checkWithinVariables() { return validation.checkWithinVariables(); }
    bool checkColumnAssignment() { return validation.checkColumnAssignment(); }
    /// Tidies and reads the tables into the Design; false when the data table cannot be
    /// read (it has shown its message). Participants with an empty cell are left out when
    /// the rule says so or the user answers "Yes" (asked once per command); otherwise
    /// their first empty cell is refused.
    bool readDesign();
    void setIncompleteParticipants(IncompleteParticipants rule) { incompleteRule = rule; }
    /// The data rows (0 …, numbered as after the removal of the empty rows) that the last
    /// reading of the design left out, ascending.
    const std::vector<int>& getLeftOutRows() const { return leftOutRows; }

    // Table editing. The data table commands leave its three header rows alone.

    /// Returns false when the selection spans several rows (with a message).
    bool insertRow();
    void deleteRows();
    /// Returns false when the selection spans several columns (with a message).
    bool insertColumn();
    void deleteColumns();
    /// Returns false when the selection spans several rows (with a message).
    bool insertVariableRow();
    void deleteVariableRows();
    /// Whether the "-" button of the within-variables table is enabled: disabled at start,
    /// then enabled whenever a within-variable row command leaves at least two rows.
    bool isDeleteVariableRowsEnabled() const { return deleteVariableRowsEnabled; }
    /// A new data table of 32 participant rows and 17 data columns, a new within-variables
    /// table of 20 rows and an empty results table. The effect table, the parameters and
    /// the engines stay.
    void resetGrids();

    // State.

    UserGridCtrl& getDataTable() { return dataTable; }
    WithinGridCtrl& getWithinTable() { return withinTable; }
    GeneralGridCtrl& getResultsTable() { return resultsTable; }
    const Design& getDesign() const { return design; }
    int getEngineCount() const { return static_cast<int>(engines.size()); }
    /// 0 <= i < getEngineCount().
    Anova& getEngine(int i);
    /// The 0/1 rows of the effects of the last compute run (existingEffects).
    const GeneralMatrix<int>& getEffectTable() const { return effectTable; }
    SimulationParameters& getSimulationParameters() { return simulationParameters; }
    const SimulationParameters& getSimulationParameters() const { return simulationParameters; }
    /// The name of the effect the last successful setUpSimulation prepared.
    const std::string& getSimulatedEffectName() const { return simulatedEffectName; }

private:
    /// setDesign and setEffect of every engine from the Design as it stands.
    void loadEngines(const std::vector<int>& withinIndices, const std::vector<int>& betweenIndices);
    /// Whether every engine computed.
    bool computeEngines();
    /// The level count of each variable of the Design in effect-table order.
    std::vector<int> variableLevels(const DesignVariables& variables) const;
    /// Whether the current tables have the effects of the last compute run, and effect e
    /// among them is still the one named chosenName.
    bool tablesMatchLastCompute(const DesignVariables& variables, int e,
                                const std::string& chosenName) const;
    void updateDeleteVariableRowsButton();
    /// A command that reads the data table begins: no question answered, nobody left out.
    void beginReading();
    /// Whether the count participants with an empty cell are left out.
    bool leaveOutIncomplete(std::size_t count);

    MessageSink& messages;
    UserGridCtrl dataTable;
    WithinGridCtrl withinTable;
    GeneralGridCtrl resultsTable;
    DesignValidation validation;
    Design design;
    /// One engine per simulation thread; every engine holds the same design and effect.
    std::vector<std::unique_ptr<Anova>> engines;
    GeneralMatrix<int> effectTable;
    SimulationParameters simulationParameters;
    std::string simulatedEffectName;
    std::function<void(const Anova&)> effectListener;
    bool deleteVariableRowsEnabled = false;
    IncompleteParticipants incompleteRule = IncompleteParticipants::Ask;
    /// The user's answer to this command's question about empty cells.
    std::optional<bool> leaveOutAnswer;
    std::vector<int> leftOutRows;
    std::vector<CellStatistics> cells;
};
