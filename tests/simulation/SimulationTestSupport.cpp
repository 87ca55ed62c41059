#include "SimulationTestSupport.h"

#include <atomic>
#include <cmath>
#include <fstream>
#include <unistd.h>

int MemorySettingsStore::readInt(const std::string& section, const std::string& key,
                                 int defaultValue) const
{
    const auto found = integers.find({section, key});
    return found == integers.end() ? defaultValue : found->second;
}

std::string MemorySettingsStore::readString(const std::string& section, const std::string& key,
                                            const std::string& defaultValue) const
{
    const auto found = strings.find({section, key});
    return found == strings.end() ? defaultValue : found->second;
}

void MemorySettingsStore::writeInt(const std::string& section, const std::string& key, int value)
{
    integers[{section, key}] = value;
}

void MemorySettingsStore::writeString(const std::string& section, const std::string& key,
                                      const std::string& value)
{
    strings[{section, key}] = value;
}

TemporaryFile::TemporaryFile(const std::string& text)
{
    // Unique within the process by the counter and among processes (ctest runs tests in
    // parallel) by the process id.
    static std::atomic<int> counter{0};
    const std::string name = "tamsel-random-" + std::to_string(::getpid()) + "-" +
                             std::to_string(counter.fetch_add(1)) + ".txt";
    location = std::filesystem::temp_directory_path() / name;
    std::ofstream out(location);
    out << text;
}

TemporaryFile::~TemporaryFile()
{
    std::error_code ignored;
    std::filesystem::remove(location, ignored);
}

bool loadSimulationEffect(const DataTable& table, const std::vector<int>& betweenFlags,
                          const std::vector<int>& withinFlags, Design& design, Anova& engine)
{
    if (!buildDesign(table, design)) {
        return false;
    }
    design.setEffect(betweenFlags, withinFlags);
    std::vector<int> betweenIndices;
    std::vector<int> withinIndices;
    for (std::size_t k = 0; k < betweenFlags.size(); ++k) {
        if (betweenFlags[k] == 1) {
            betweenIndices.push_back(static_cast<int>(k));
        }
    }
    for (std::size_t k = 0; k < withinFlags.size(); ++k) {
        if (withinFlags[k] == 1) {
            withinIndices.push_back(static_cast<int>(k));
        }
    }
    loadIntoEngine(design, engine);
    engine.setEffect(design.getC(), design.getM(), withinIndices, betweenIndices);
    return true;
}

Preferences filePreferences(const std::vector<std::string>& paths)
{
    Preferences preferences;
    preferences.useMersenneTwister = 0;
    preferences.numberOfThreads = static_cast<std::int32_t>(paths.size());
    for (std::size_t k = 0; k < paths.size(); ++k) {
        preferences.randomNumbersFiles += (k == 0 ? "" : ";") + paths[k];
    }
    return preferences;
}

RealMatrix matrixOf(const std::vector<std::vector<double>>& rows)
{
    const auto rowCount = static_cast<std::int32_t>(rows.size());
    const auto colCount = rowCount == 0 ? 0 : static_cast<std::int32_t>(rows.front().size());
    RealMatrix result(rowCount, colCount, nullptr);
    for (std::int32_t i = 0; i < rowCount; ++i) {
        for (std::int32_t j = 0; j < colCount; ++j) {
            result.set(i, j, rows[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
        }
    }
    return result;
}

SimulationParameters replacingParameters(std::int32_t perGroup, std::int32_t passes,
                                         std::int32_t analysisIndex)
{
    SimulationParameters parameters;
    parameters.analysisIndex = analysisIndex;
    parameters.replaceOriginalMatrix = 1;
    parameters.participantsPerGroup = perGroup;
    parameters.numberOfPasses = passes;
    parameters.criticalAlpha = 0.05;
    parameters.maxAdditionalInspections = 0;
    return parameters;
}

double binomialSigma(double p, std::int64_t n)
{
    return std::sqrt(p * (1.0 - p) / static_cast<double>(n));
}

::testing::AssertionResult sameMatrix(const RealMatrix& actual, const RealMatrix& expected)
{
    if (actual.getRows() != expected.getRows() || actual.getCols() != expected.getCols()) {
        return ::testing::AssertionFailure()
               << "shape " << actual.getRows() << "x" << actual.getCols() << ", expected "
               << expected.getRows() << "x" << expected.getCols();
    }
    for (std::int32_t k = 0; k < expected.getSize(); ++k) {
        if (actual.dataPointer()[k] != expected.dataPointer()[k]) {
            return ::testing::AssertionFailure() << "element " << k << " is "
                                                 << actual.dataPointer()[k] << ", expected "
                                                 << expected.dataPointer()[k];
        }
    }
    return ::testing::AssertionSuccess();
}
