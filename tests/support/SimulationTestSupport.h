#pragma once

#include "simulation/SimulationRun.h"
#include "stats/Preferences.h"
#include "stats/SimulationParameters.h"
#include "tests/support/EngineTestSupport.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TemporaryDirectory.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

/// A random-numbers file with the given text, removed at the end of its scope.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& text) : location(folder.write("random.txt", text)) {}
    const std::string& path() const { return location; }

private:
    TemporaryDirectory folder;
    std::string location;
};

/// A design and the engine of one thread; load() hands both the table and effect as the
/// simulation set-up does, false when the design rejects the table.
struct LoadedEngine {
    explicit LoadedEngine(std::int32_t threadIndex = 0) : engine(threadIndex) {}
    bool load(const DataTable& table, const std::vector<int>& betweenFlags,
              const std::vector<int>& withinFlags);

    Design design;
    Anova engine;
};

/// Three participants, one group, two within cells whose residuals are correlated but not
/// perfectly, so that the estimated population can be simulated.
DataTable pairedTable();

/// Preferences of the file mode, one thread per path.
Preferences filePreferences(const std::vector<std::string>& paths);

/// Rows as they read on paper.
RealMatrix matrixOf(const std::vector<std::vector<double>>& rows);

/// Replaces the sample by `perGroup` participants per group and looks once at alpha 0.05.
SimulationParameters replacingParameters(std::int32_t perGroup, std::int32_t passes,
                                         std::int32_t analysisIndex);

/// The elements, for comparing an engine's matrices before and after.
std::vector<double> valuesOf(const RealMatrix& matrix);

/// Engines and one run over them whose messages are recorded.
struct EnginePool {
    explicit EnginePool(std::int32_t count);

    /// Loads every engine.
    void load(const DataTable& table, const std::vector<int>& betweenFlags,
              const std::vector<int>& withinFlags);
    /// Every engine simulates these matrices instead of the estimated ones.
    void importPopulation(const RealMatrix& means, const RealMatrix& sds,
                          const RealMatrix& correlations);

    std::deque<LoadedEngine> engines;
    RecordingMessageSink messages;
    // Last, so that it is destroyed before the engines and the messages it refers to.
    SimulationRun run;
};
