#pragma once

#include "platform/SettingsStore.h"

#include <QSettings>

#include <string>

/// The per-user settings of the program in the platform's native store (an INI file under
/// the user's configuration folder on Linux, the registry on Windows), under the
/// organisation and application name "Tamsel". A section is a settings group.
class QtSettingsStore : public SettingsStore {
public:
    static constexpr const char* ORGANISATION = "Tamsel";
    static constexpr const char* APPLICATION = "Tamsel";

    QtSettingsStore();

    /// A stored value that is not an integer reads as defaultValue.
    int readInt(const std::string& section, const std::string& key,
                int defaultValue) const override;
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override;
    /// Each write reaches the store at once, so that another store object reads it.
    void writeInt(const std::string& section, const std::string& key, int value) override;
    void writeString(const std::string& section, const std::string& key,
                     const std::string& value) override;

    /// Where the values are kept: a file path or a registry path.
    std::string location() const;

private:
    QSettings settings;
};
