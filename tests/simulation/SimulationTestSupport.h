#pragma once

#include "EngineTestSupport.h"
#include "app/platform/MessageSink.h"
#include "app/platform/SettingsStore.h"
#include "numeric/RealMatrix.h"
#include "stats/SimulationParameters.h"
#include "stats/Anova.h"
#include "stats/Preferences.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

/// Settings kept in memory, keyed by section and key.
class MemorySettingsStore : public SettingsStore {
public:
    int readInt(const std::string& section, const std::string& key,
                int defaultValue) const override;
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override;
    void writeInt(const std::string& section, const std::string& key, int value) override;
    void writeString(const std::string& section, const std::string& key,
                     const std::string& value) override;

    std::map<std::pair<std::string, std::string>, int> integers;
    std::map<std::pair<std::string, std::string>, std::string> strings;
};

/// Keeps every message, in order.
class RecordingMessages : public MessageSink {
public:
    struct Message {
        std::string title;
        std::string text;
        MessageIcon icon;
    };

    void showMessage(const std::string& title, const std::string& text, MessageIcon icon) override
    {
        messages.push_back({title, text, icon});
    }

    std::vector<Message> messages;
};

/// A file in the temporary directory with the given text, removed again at the end of
/// its scope.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& text);
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    std::string path() const { return location.string(); }

private:
    std::filesystem::path location;
};

/// Builds the table into design, forms the effect of the flagged variables and gives the
/// engine the design and the effect with its variable positions, as the simulation set-up
/// does. Returns false when the design rejects the table.
bool loadSimulationEffect(const DataTable& table, const std::vector<int>& betweenFlags,
                          const std::vector<int>& withinFlags, Design& design, Anova& engine);

/// Preferences of the file mode with the given paths joined by ";".
Preferences filePreferences(const std::vector<std::string>& paths);

/// A matrix from rows written as they read on paper.
RealMatrix matrixOf(const std::vector<std::vector<double>>& rows);

/// Parameters of a run that replaces the sample by `perGroup` participants per group and
/// makes no further inspection.
SimulationParameters replacingParameters(std::int32_t perGroup, std::int32_t passes,
                                         std::int32_t analysisIndex);

/// Same shape and exactly the same elements; reports the first difference.
::testing::AssertionResult sameMatrix(const RealMatrix& actual, const RealMatrix& expected);

/// The binomial standard error of a proportion p over n passes.
double binomialSigma(double p, std::int64_t n);
