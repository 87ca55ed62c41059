#pragma once

#include <string>

/// The per-user settings store: named sections holding named integer and string values.
/// The desktop implements it on the platform's settings, the tests keep it in memory.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    /// The integer stored under section and key, or defaultValue when there is none.
    virtual int readInt(const std::string& section, const std::string& key,
                        int defaultValue) const = 0;
    /// The string stored under section and key, or defaultValue when there is none.
    virtual std::string readString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue) const = 0;
    virtual void writeInt(const std::string& section, const std::string& key, int value) = 0;
    virtual void writeString(const std::string& section, const std::string& key,
                             const std::string& value) = 0;
};
