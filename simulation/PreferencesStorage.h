#pragma once

#include "platform/SettingsStore.h"
#include "stats/Preferences.h"

#include <cstdint>

// The preferences in the settings store: section "Preferences" with the integer keys
// "Use Mersenne Twister", "Number of threads" and "Sampler" (0 rows, 1 summary) and the
// string key "Pathes to random numbers files". The main window loads them once when it is created
// and saves them once when it is destroyed.

/// The stored preferences; a missing key gives the value of a new record, except the
/// thread count, which defaults to processorCount.
Preferences loadPreferences(const SettingsStore& store, std::int32_t processorCount);

/// Writes the four values under their keys.
void savePreferences(const Preferences& preferences, SettingsStore& store);
