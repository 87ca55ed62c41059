#include "simulation/PreferencesStorage.h"

namespace {

const char* const SECTION = "Preferences";
const char* const MERSENNE_TWISTER_KEY = "Use Mersenne Twister";
const char* const THREADS_KEY = "Number of threads";
const char* const SAMPLER_KEY = "Sampler";
// The key is spelt as it has always been stored, so that existing settings are found.
const char* const FILES_KEY = "Pathes to random numbers files";

} // namespace

Preferences loadPreferences(const SettingsStore& store, std::int32_t processorCount)
{
    Preferences preferences;
    preferences.useMersenneTwister =
        store.readInt(SECTION, MERSENNE_TWISTER_KEY, preferences.useMersenneTwister);
    preferences.numberOfThreads = store.readInt(SECTION, THREADS_KEY, processorCount);
    preferences.randomNumbersFiles =
        store.readString(SECTION, FILES_KEY, preferences.randomNumbersFiles);
    // Anything but a known kind (a hand-edited store) is the default.
    const std::int32_t sampler = store.readInt(SECTION, SAMPLER_KEY, preferences.sampler);
    if (sampler == SamplerRows || sampler == SamplerSummary)
        preferences.sampler = sampler;
    return preferences;
}

void savePreferences(const Preferences& preferences, SettingsStore& store)
{
    store.writeInt(SECTION, MERSENNE_TWISTER_KEY, preferences.useMersenneTwister);
    store.writeInt(SECTION, THREADS_KEY, preferences.numberOfThreads);
    store.writeString(SECTION, FILES_KEY, preferences.randomNumbersFiles);
    store.writeInt(SECTION, SAMPLER_KEY, preferences.sampler);
}
