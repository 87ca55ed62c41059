#pragma once

#include "EngineTestSupport.h"
#include "numeric/RealMatrix.h"
#include "stats/Anova.h"
#include "stats/Preferences.h"
#include "stats/SimulationParameters.h"
#include "tests/files/TemporaryDirectory.h"
#include "tests/tables/RecordingMessageSink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
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

/// A design and the engine of one thread, which hold a table and one effect.
struct LoadedEngine {
    explicit LoadedEngine(std::int32_t threadIndex = 0) : engine(threadIndex) {}
    /// Builds the table into the design, forms the effect of the flags and hands both to
    /// the engine, as the simulation set-up does; false when the design rejects the table.
    bool load(const DataTable& table, const std::vector<int>& betweenFlags,
              const std::vector<int>& withinFlags);

    Design design;
    Anova engine;
};

/// Preferences of the file mode, one thread per path.
Preferences filePreferences(const std::vector<std::string>& paths);

/// A matrix from rows written as they read on paper.
RealMatrix matrixOf(const std::vector<std::vector<double>>& rows);

/// A run that replaces the sample by `perGroup` participants per group and looks once.
SimulationParameters replacingParameters(std::int32_t perGroup, std::int32_t passes,
                                         std::int32_t analysisIndex);

/// Same shape and exactly the same elements; reports the first difference.
::testing::AssertionResult sameMatrix(const RealMatrix& actual, const RealMatrix& expected);

/// The binomial standard error of a proportion p over n passes.
inline double binomialSigma(double p, std::int64_t n)
{
    return std::sqrt(p * (1.0 - p) / static_cast<double>(n));
}
