// The preferences record and its place in the settings store.

#include "stats/Preferences.h"
#include "simulation/PreferencesStorage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::NiceMock;
using ::testing::Return;
using ::testing::StrictMock;

namespace {

struct MockSettingsStore : SettingsStore {
    MOCK_METHOD(int, readInt, (const std::string&, const std::string&, int), (const, override));
    MOCK_METHOD(std::string, readString,
                (const std::string&, const std::string&, const std::string&), (const, override));
    MOCK_METHOD(void, writeInt, (const std::string&, const std::string&, int), (override));
    MOCK_METHOD(void, writeString, (const std::string&, const std::string&, const std::string&),
                (override));
};

} // namespace

TEST(PreferencesPaths, SplitAtEverySemicolonKeepingBlanksAndEmptyEntries)
{
    // An empty list counts as one empty path; an index past the end gives "".
    const struct {
        std::string list;
        std::vector<std::string> paths;
    } cases[] = {{"A;B;C", {"A", "B", "C"}},
                 {"", {""}},
                 {"/tmp/a b.txt;;C:\\r.txt", {"/tmp/a b.txt", "", "C:\\r.txt"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        Preferences preferences;
        preferences.randomNumbersFiles = c.list;
        ASSERT_EQ(preferences.pathCount(), static_cast<std::int32_t>(c.paths.size()));
        for (std::size_t k = 0; k < c.paths.size(); ++k) {
            EXPECT_EQ(preferences.pathAt(static_cast<std::int32_t>(k)), c.paths[k]);
        }
        EXPECT_EQ(preferences.pathAt(preferences.pathCount()), "");
    }
}

// The key names are those of existing settings files, typo included.

TEST(PreferencesStorage, SavesTheFourValuesUnderTheKeysOfItsSection)
{
    StrictMock<MockSettingsStore> store;
    EXPECT_CALL(store, writeInt("Preferences", "Use Mersenne Twister", 0));
    EXPECT_CALL(store, writeInt("Preferences", "Number of threads", 3));
    EXPECT_CALL(store, writeString("Preferences", "Pathes to random numbers files", "a.txt;b.txt"));
    EXPECT_CALL(store, writeInt("Preferences", "Sampler", 0));
    savePreferences(Preferences{0, 3, "a.txt;b.txt", SamplerRows}, store);
}

TEST(PreferencesStorage, LoadsWithTheDefaultsOfANewRecordAndTheProcessorCount)
{
    StrictMock<MockSettingsStore> store;
    EXPECT_CALL(store, readInt("Preferences", "Use Mersenne Twister", 1)).WillOnce(Return(0));
    EXPECT_CALL(store, readInt("Preferences", "Number of threads", 6)).WillOnce(Return(3));
    EXPECT_CALL(store, readString("Preferences", "Pathes to random numbers files", ""))
        .WillOnce(Return("a.txt;b.txt"));
    EXPECT_CALL(store, readInt("Preferences", "Sampler", SamplerSummary))
        .WillOnce(Return(SamplerRows));
    const Preferences loaded = loadPreferences(store, 6);
    EXPECT_EQ(loaded.useMersenneTwister, 0);
    EXPECT_EQ(loaded.numberOfThreads, 3);
    EXPECT_EQ(loaded.randomNumbersFiles, "a.txt;b.txt");
    EXPECT_EQ(loaded.sampler, SamplerRows);
}

TEST(PreferencesStorage, AnUnknownSamplerLoadsAsTheSummarySampler)
{
    NiceMock<MockSettingsStore> store;
    ON_CALL(store, readInt("Preferences", "Sampler", SamplerSummary)).WillByDefault(Return(7));
    EXPECT_EQ(loadPreferences(store, 2).sampler, SamplerSummary);
}
