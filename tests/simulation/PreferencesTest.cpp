// The preferences record and its place in the settings store.

#include "SimulationTestSupport.h"
#include "simulation/PreferencesStorage.h"

#include <gtest/gtest.h>

TEST(PreferencesPaths, ThreePathsAreFoundByIndex)
{
    Preferences preferences;
    preferences.randomNumbersFiles = "A;B;C";
    EXPECT_EQ(preferences.pathAt(0), "A");
    EXPECT_EQ(preferences.pathAt(1), "B");
    EXPECT_EQ(preferences.pathAt(2), "C");
    EXPECT_EQ(preferences.pathAt(3), "");
    EXPECT_EQ(preferences.pathCount(), 3);
}

TEST(PreferencesPaths, AnEmptyListCountsAsOnePath)
{
    const Preferences preferences;
    EXPECT_EQ(preferences.pathCount(), 1);
    EXPECT_EQ(preferences.pathAt(0), "");
    EXPECT_EQ(preferences.pathAt(1), "");
}

TEST(PreferencesPaths, PathsKeepTheirBlanksAndEmptyEntries)
{
    Preferences preferences;
    preferences.randomNumbersFiles = "/tmp/a b.txt;;C:\\r.txt";
    EXPECT_EQ(preferences.pathCount(), 3);
    EXPECT_EQ(preferences.pathAt(0), "/tmp/a b.txt");
    EXPECT_EQ(preferences.pathAt(1), "");
    EXPECT_EQ(preferences.pathAt(2), "C:\\r.txt");
}

TEST(PreferencesStorage, AnEmptyStoreGivesTheDefaultsWithTheProcessorCount)
{
    const MemorySettingsStore store;
    const Preferences loaded = loadPreferences(store, 6);
    EXPECT_EQ(loaded.useMersenneTwister, 1);
    EXPECT_EQ(loaded.numberOfThreads, 6);
    EXPECT_EQ(loaded.randomNumbersFiles, "");
}

TEST(PreferencesStorage, SavesUnderTheThreeKeysOfItsSection)
{
    Preferences preferences;
    preferences.useMersenneTwister = 0;
    preferences.numberOfThreads = 3;
    preferences.randomNumbersFiles = "a.txt;b.txt;c.txt";
    MemorySettingsStore store;
    savePreferences(preferences, store);

    const auto integer = [&store](const char* key) {
        return store.integers.at({"Preferences", key});
    };
    EXPECT_EQ(integer("Use Mersenne Twister"), 0);
    EXPECT_EQ(integer("Number of threads"), 3);
    EXPECT_EQ(store.strings.at({"Preferences", "Pathes to random numbers files"}),
              "a.txt;b.txt;c.txt");
    EXPECT_EQ(store.integers.size(), 2u);
    EXPECT_EQ(store.strings.size(), 1u);

    const Preferences loaded = loadPreferences(store, 8);
    EXPECT_EQ(loaded.useMersenneTwister, 0);
    EXPECT_EQ(loaded.numberOfThreads, 3);
    EXPECT_EQ(loaded.randomNumbersFiles, "a.txt;b.txt;c.txt");
}
